#pragma once
// qdx_result.xml: one UTF-16 document of every run's verdicts, kept complete
// between runs by cutting its closing tag off before new elements are added.
#include <string>
#include <string_view>

#include "framework/unique_resource.h"

namespace launcher {

constexpr wchar_t kResultFileName[] = L"qdx_result.xml";
constexpr wchar_t kResultClosing[] = L"</QDX>\r\n\r\n";  // the root's end and an empty line

// The folder of the result file (ending in "\"), created when missing; empty
// when it cannot be made.
std::wstring ResultFolder();

class ResultFile {
public:
    // Opens `path` without sharing, creating it when missing; writes the root
    // start into a new or tiny file and cuts the file at its first closing line.
    bool Open(const std::wstring& path);
    bool IsOpen() const { return static_cast<bool>(m_file); }
    bool Write(std::wstring_view text);
    void Close() { m_file.reset(); }

private:
    bool CutAtClosingLine();
    fw::UniqueFile m_file;
};

// Records a stopped run at start-up (the launcher's language library is missing).
bool WriteStoppedRecord(const std::wstring& folder);

}  // namespace launcher
