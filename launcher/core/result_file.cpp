#include "result_file.h"

#include <windows.h>
#include <knownfolders.h>
#include <vector>

#include "framework/module_path.h"
#include "text_util.h"
#include "utf16_file.h"

namespace launcher {

namespace {

constexpr wchar_t kRootStart[] = L"\xFEFF<QDX>\r\n";  // the mark is written as FF FE
constexpr LONGLONG kNewFileLimit = 16;               // "<QDX>\r\n" plus the mark, in bytes

}  // namespace

SecureFolder ResultFolderUnder(const std::wstring& programData) {
    return MakeSecureFolder(programData, {L"Quenby Corporation", L"Orlix Hardware Diagnostics", L"QDXlog"});
}

SecureFolder ResultFolder() { return ResultFolderUnder(fw::KnownFolder(FOLDERID_ProgramData)); }

TResultOpen ResultFile::Open(const std::wstring& path) {
    m_file.reset();  // a handle still held (a run that never ended) would lock the file against itself
    // Readers (a collector, a person) always find a whole document: every write leaves one.
    m_file = OpenSharedForReading(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
    if (!m_file) return TResultOpen::Failed;
    LARGE_INTEGER size{};
    bool opened = ::GetFileSizeEx(m_file.get(), &size);
    bool setAside = opened && size.QuadPart > kResultFileLimit;
    if (setAside) {
        // Too large to read (planted, or grown over years): kept for whoever wants it, out of the way.
        m_file.reset();
        if (!::MoveFileExW(path.c_str(), (path + kSetAsideSuffix).c_str(), MOVEFILE_REPLACE_EXISTING))
            return TResultOpen::Failed;
        m_file = OpenSharedForReading(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
        opened = m_file && ::GetFileSizeEx(m_file.get(), &size);
    }
    if (opened && size.QuadPart <= kNewFileLimit) opened = WriteUtf16(m_file.get(), kRootStart);
    if (opened) {
        m_tailOffset = ClosingLineOffset();
        opened = AppendRecord({});
    }
    if (!opened) m_file.reset();  // every request of the run is then ignored
    return !opened ? TResultOpen::Failed : setAside ? TResultOpen::SetAside : TResultOpen::Opened;
}

// The byte offset of the first closing line, or the file's end when it has none.
LONGLONG ResultFile::ClosingLineOffset() {
    ::SetFilePointer(m_file.get(), 0, nullptr, FILE_BEGIN);
    std::vector<char> bytes;
    char piece[510];
    DWORD read = 0;
    while (::ReadFile(m_file.get(), piece, sizeof piece, &read, nullptr) && read > 0)
        bytes.insert(bytes.end(), piece, piece + read);
    std::wstring text(bytes.size() / 2, L'\0');
    if (!text.empty()) memcpy(text.data(), bytes.data(), text.size() * 2);

    // The byte-order mark counts as the first character of the first line.
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find(L"\r\n", start);
        size_t lineEnd = end == std::wstring::npos ? text.size() : end;
        if (ToUpper(text.substr(start, lineEnd - start)).find(L"</QDX>") != std::wstring::npos) {
            return static_cast<LONGLONG>(start) * 2;
        }
        if (end == std::wstring::npos) break;
        start = end + 2;
    }
    return static_cast<LONGLONG>(bytes.size());
}

bool ResultFile::WriteTail(std::wstring_view record, bool keep) {
    if (!m_file) return false;
    LARGE_INTEGER offset{};
    offset.QuadPart = m_tailOffset;
    std::wstring text(record);
    text += kResultClosing;
    // One write: a record never stands in the file without the closing line
    // after it. The end is set anew: a final record may be shorter than the open one.
    if (!::SetFilePointerEx(m_file.get(), offset, nullptr, FILE_BEGIN) || !WriteUtf16(m_file.get(), text) ||
        !::SetEndOfFile(m_file.get()))
        return false;
    if (keep) m_tailOffset += static_cast<LONGLONG>(record.size() * sizeof(wchar_t));
    return ::FlushFileBuffers(m_file.get()) != FALSE;
}

bool WriteStoppedRecord(const std::wstring& folder, bool* setAside) {
    if (folder.empty()) return false;
    ResultFile file;
    TResultOpen opened = file.Open(folder + kResultFileName);
    if (setAside) *setAside = opened == TResultOpen::SetAside;
    if (opened == TResultOpen::Failed) return false;
    return file.AppendRecord(L"\t<Test OverallResult=\"Stopped\">\r\n\t</Test>\r\n");
}

}  // namespace launcher
