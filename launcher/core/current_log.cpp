#include "current_log.h"

#include <windows.h>
#include <cwchar>

#include "utf16_file.h"

namespace launcher {

std::wstring LogGenerationPath(const std::wstring& folder, int generation) {
    wchar_t number[16];
    std::swprintf(number, 16, L"%02d", generation);
    return folder + L"hwck_log" + number + L".txt";
}

std::wstring FormatLogHeader(const LogHeader& header) {
    return L"[" + header.runTitle + L"]\r\n" + header.runDate + L"\r\n" + header.modelName + L"\r\n\r\n";
}

void CurrentLog::SetSusResLog() {
    // Only a run's end closes its log: an open log is this run's.
    if (m_file) return;
    if (!m_folder.Usable()) return;
    const std::wstring& folder = m_folder.Path();
    ::CreateDirectoryW(folder.c_str(), nullptr);
    m_logPath = LogGenerationPath(folder, 0);
    m_historyPath = folder + kHistoryFileName;
    RunHistory(m_historyPath).CreateIfMissing();

    // A missing generation fails to copy and leaves the next one as it is.
    for (int n = kLogGenerations - 2; n >= 0; --n)
        ::CopyFileW(LogGenerationPath(folder, n).c_str(), LogGenerationPath(folder, n + 1).c_str(), FALSE);

    m_file = OpenExclusive(m_logPath, GENERIC_WRITE, CREATE_ALWAYS);
    if (m_file) WriteUtf16(m_file.get(), std::wstring(kByteOrderMark) + (m_headerGiven ? FormatLogHeader(m_header) : L""));
    WriteWaiting();
}

bool CurrentLog::SetSusResLog(std::wstring_view folder) {
    if (!m_folder.Set(folder)) return false;
    m_folder.SetFlag(1);
    m_logPath = LogGenerationPath(m_folder.Path(), 0);
    if (!m_file && m_folder.Usable()) {
        ReopenForAppend();
        WriteWaiting();
    }
    return true;
}

void CurrentLog::WriteLog(std::wstring_view text) {
    if (m_file) WriteUtf16(m_file.get(), text);
}

void CurrentLog::WriteLogWhenOpen(std::wstring_view text) {
    if (m_file)
        WriteUtf16(m_file.get(), text);
    else
        m_waiting = text;
}

void CurrentLog::WriteWaiting() {
    if (m_file && !m_waiting.empty()) WriteUtf16(m_file.get(), m_waiting);
    m_waiting.clear();
}

void CurrentLog::ClearCurrentLog(int flag) {
    if (flag != 1) return;
    m_ready = 0;
    if (m_file) {
        m_file.reset();
        m_file = OpenExclusive(m_logPath, GENERIC_WRITE, CREATE_ALWAYS);
        if (m_file) WriteUtf16(m_file.get(), std::wstring(kByteOrderMark) + FormatLogHeader(m_header));
    }
    m_ready = 1;
}

void CurrentLog::SaveCurrentLog() {
    if (!m_file) return;
    m_file.reset();
    ReopenForAppend();
}

void CurrentLog::WriteHeader(const LogHeader& header) {
    m_header = header;
    m_headerGiven = true;
    if (m_file) WriteUtf16(m_file.get(), FormatLogHeader(m_header));
}

void CurrentLog::CloseAndWriteHistory(const std::wstring& resultText) {
    m_waiting.clear();
    if (!m_file) return;
    m_file.reset();
    // Only a prepared log has a history beside it.
    if (!m_historyPath.empty()) RunHistory(m_historyPath).Add(m_header.runDate, m_header.runTitle, resultText);
}

void CurrentLog::ReopenForAppend() {
    m_file = OpenExclusive(m_logPath, GENERIC_WRITE, OPEN_ALWAYS);
    if (m_file) ::SetFilePointer(m_file.get(), 0, nullptr, FILE_END);
}

}  // namespace launcher
