#include "result_writer.h"

#include <algorithm>
#include <cwchar>
#include <iterator>

namespace launcher {

namespace {
// The three texts are all there is: anything else is taken for a failure.
int NormalResultIndex(int resultIndex) {
    return resultIndex >= kResultPass && resultIndex <= kResultFail ? resultIndex : kResultFail;
}

// A module's test name may hold any character; the document must stay readable.
std::wstring AttributeText(std::wstring_view text) {
    std::wstring escaped;
    escaped.reserve(text.size());
    for (wchar_t c : text) {
        switch (c) {
        case L'&': escaped += L"&amp;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        case L'"': escaped += L"&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}
}  // namespace

std::optional<SYSTEMTIME> CurrentLocalTime() {
    FILETIME utc{}, local{};
    SYSTEMTIME time{};
    ::GetSystemTimeAsFileTime(&utc);
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &time)) return std::nullopt;
    return time;
}

std::wstring FormatResultDateTime(const std::optional<SYSTEMTIME>& time) {
    int fields[6] = {0, 0, 0, -1, -1, -1};
    if (time) {
        int known[6] = {time->wYear, time->wMonth, time->wDay, time->wHour, time->wMinute, time->wSecond};
        std::copy(std::begin(known), std::end(known), fields);
    }
    wchar_t text[64];
    std::swprintf(text, 64, L"%4d/%02d/%02d %02d:%02d:%02d", fields[0], fields[1], fields[2], fields[3], fields[4],
                  fields[5]);
    return text;
}

const wchar_t* ResultText(int resultIndex) {
    static const wchar_t* const texts[] = {L"Pass", L"Stopped", L"Fail"};
    return texts[NormalResultIndex(resultIndex) - 1];
}

std::wstring RefusalReason(const SecureFolder& folder) {
    if (folder.check == TFolderCheck::Link) return L"it is a link to another place";
    return L"it is owned by " + folder.owner + L", not by Administrators, SYSTEM or the launcher's account";
}

std::wstring RefusalNote(const SecureFolder& folder, std::wstring linkText, std::wstring ownerText) {
    std::wstring note = folder.check == TFolderCheck::Link ? std::move(linkText) : std::move(ownerText);
    for (auto [mark, value] : {std::pair{L"%1", folder.refusedLevel}, std::pair{L"%2", folder.owner}})
        if (size_t at = note.find(mark); at != std::wstring::npos) note.replace(at, 2, value);
    return note + L"\r\n";
}

void RecordStoppedStart() {
    SecureFolder folder = ResultFolder();
    if (folder.Refused()) ReportEvent(FolderRefusedEvent(folder.refusedLevel, RefusalReason(folder)));
    bool setAside = false;
    WriteStoppedRecord(folder.path, &setAside);
    const std::wstring path = folder.path + kResultFileName;
    if (setAside) ReportEvent(ResultFileSetAsideEvent(path, path + kSetAsideSuffix));
}

void ResultXmlWriter::OpenResultFile(LogFolder& logFolder) {
    m_folder = {};
    logFolder.SetRefused(false);
    if (!logFolder.Usable()) return;
    m_folder = m_folders();
    if (m_folder.Refused()) {
        logFolder.SetRefused(true);
        m_verdicts.ReportNotice(FolderRefusedEvent(m_folder.refusedLevel, RefusalReason(m_folder)));
        return;
    }
    if (m_folder.check != TFolderCheck::Usable) return;
    logFolder.Set(m_folder.path);
    m_path = m_folder.path + kResultFileName;
    if (m_file.Open(m_path) == TResultOpen::SetAside)
        m_verdicts.ReportNotice(ResultFileSetAsideEvent(m_path, m_path + kSetAsideSuffix));
}

std::wstring ResultXmlWriter::Record(std::wstring_view name, const std::wstring& when, int resultIndex) const {
    std::wstring element = L"\t<Test name=\"";
    element += AttributeText(name);
    element += L"\" DateTimeRan=\"" + when + L"\" OverallResult=\"" + ResultText(resultIndex) + L"\"";
    if (m_cycle) element += L" Cycle=\"" + std::to_wstring(*m_cycle) + L"\"";
    element += L">\r\n";
    for (const SubResult& sub : m_pendingSubTests)
        element += L"\t\t<SubTest name=\"Test " + std::to_wstring(sub.number) + L"\" DateTimeRan=\"" + sub.when +
                   L"\" Result=\"" + ResultText(sub.resultIndex) + L"\" />\r\n";
    element += L"\t</Test>\r\n";
    return element;
}

void ResultXmlWriter::WriteXml(std::wstring_view name, int resultIndex) {
    if (m_file.IsOpen()) m_file.AppendRecord(Record(name, FormatResultDateTime(m_clock()), resultIndex));
    m_verdicts.ReportVerdict(name, NormalResultIndex(resultIndex), m_pendingSubTests, m_file.IsOpen() ? m_path : L"");
    m_pendingSubTests.clear();
    m_subTestCount = 0;
}

void ResultXmlWriter::WriteXmlSub(int number, int resultIndex) {
    // Kept even without a file: the verdict's event names them.
    if (m_pendingSubTests.size() < kMaxPendingSubTests) {
        if (number == 0) number = static_cast<int>(m_pendingSubTests.size()) + 1;
        m_pendingSubTests.push_back({number, NormalResultIndex(resultIndex), FormatResultDateTime(m_clock())});
        // Dated like its latest sub-result: that is when this element is written.
        if (m_file.IsOpen()) m_file.WriteOpenRecord(Record(m_testName, m_pendingSubTests.back().when, kResultFail));
    }
    ++m_subTestCount;
    m_worstSubTestResult = std::max(m_worstSubTestResult, NormalResultIndex(resultIndex));
}

void ResultXmlWriter::CloseResultFile() {
    m_file.Close();
    m_folder.held.clear();
    // A test left open stays in the file as failed; the next run starts afresh.
    m_pendingSubTests.clear();
}

}  // namespace launcher
