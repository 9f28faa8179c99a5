#pragma once
// A folder of its own for one test, removed with everything in it afterwards.
#include <string>

namespace testsupport {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder, ending with a backslash.
    const std::wstring& path() const { return m_path; }
    // Creates a subfolder (and its parents); returns its path with a backslash.
    std::wstring MakeFolder(const std::wstring& relative) const;
    // Writes `text` as UTF-8 (or UTF-16 LE with a byte-order mark), creating folders on the way.
    std::wstring WriteUtf8(const std::wstring& relative, const std::wstring& text) const;
    std::wstring WriteUtf16(const std::wstring& relative, const std::wstring& text) const;
    std::wstring WriteBytes(const std::wstring& relative, const std::string& bytes) const;

private:
    std::wstring m_path;
};

// Reads a whole file as bytes; empty when it cannot be opened.
std::string ReadBytes(const std::wstring& path);

std::string ToUtf8(const std::wstring& text);

// The launcher's files are UTF-16 LE with the byte-order mark FF FE.
inline const std::string kUtf16Mark("\xFF\xFE", 2);
// The UTF-16 LE bytes of `text` (no mark).
std::string Utf16Bytes(const std::wstring& text);
// The text of UTF-16 LE file bytes after their byte-order mark.
std::wstring TextAfterMark(const std::string& bytes);

}  // namespace testsupport
