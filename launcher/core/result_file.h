#pragma once
// qdx_result.xml: one UTF-16 document of every run's verdicts. Each record
// replaces the closing line and is followed by it again, so the file is a
// complete document after every record, not only between runs. The last
// record may stay open (the test under way): the next write replaces it.
#include <string>
#include <string_view>

#include <windows.h>

#include "framework/unique_resource.h"
#include "secure_folder.h"

namespace launcher {

constexpr wchar_t kResultFileName[] = L"qdx_result.xml";
constexpr wchar_t kResultClosing[] = L"</QDX>\r\n\r\n";  // the root's end and an empty line
constexpr wchar_t kSetAsideSuffix[] = L".bad";
// A larger result file is not read: it is set aside and a new one started.
constexpr LONGLONG kResultFileLimit = 64LL * 1024 * 1024;

// The folder of the result file under `programData` (its levels Quenby
// Corporation, Orlix Hardware Diagnostics and QDXlog), each made safe (secure_folder.h).
SecureFolder ResultFolderUnder(const std::wstring& programData);
// The same under the platform's ProgramData folder.
SecureFolder ResultFolder();

enum class TResultOpen { Failed, Opened, SetAside };

class ResultFile {
public:
    // Opens `path` for writing, others may read it; creates it when missing;
    // writes the root start into a new or tiny file, cuts the file at its
    // first closing line and writes the closing line again at once: from here
    // on the file is a complete document whenever the launcher stops, even
    // when it is killed. A file over kResultFileLimit is first renamed to
    // `path` + ".bad" (replacing an older one) and a new file started.
    TResultOpen Open(const std::wstring& path);
    bool IsOpen() const { return static_cast<bool>(m_file); }
    // Writes `record` in place of the open record (or of the closing line),
    // the closing line after it, and flushes both to the disk. An open record
    // is replaced by the next write; an appended one stays.
    bool WriteOpenRecord(std::wstring_view record) { return WriteTail(record, false); }
    bool AppendRecord(std::wstring_view record) { return WriteTail(record, true); }
    void Close() { m_file.reset(); }

private:
    LONGLONG ClosingLineOffset();
    bool WriteTail(std::wstring_view record, bool keep);
    fw::UniqueFile m_file;
    LONGLONG m_tailOffset = 0;  // where the open record or the closing line starts: the next record's place
};

// Records a stopped run at start-up (the launcher's language library is missing);
// `setAside` tells whether an oversized file had to be set aside first.
bool WriteStoppedRecord(const std::wstring& folder, bool* setAside = nullptr);

}  // namespace launcher
