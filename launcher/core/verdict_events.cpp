#include "verdict_events.h"

#include <cwchar>

#include "framework/unique_resource.h"
#include "result_writer.h"

namespace launcher {

EventReport VerdictEvent(std::wstring_view test, int resultIndex, const std::vector<SubResult>& subResults,
                         std::wstring_view modelName, std::wstring_view resultFile, std::wstring_view reportFile) {
    EventReport report;
    switch (resultIndex) {
    case kResultPass: report = {EVENTLOG_INFORMATION_TYPE, kEventPass, {}}; break;
    case kResultStopped: report = {EVENTLOG_WARNING_TYPE, kEventStopped, {}}; break;
    default: report = {EVENTLOG_ERROR_TYPE, kEventFail, {}}; break;
    }
    std::wstring lines;
    for (const SubResult& sub : subResults) {
        if (!lines.empty()) lines += L"\r\n";
        lines += L"Test " + std::to_wstring(sub.number) + L": " + ResultText(sub.resultIndex);
    }
    report.strings = {std::wstring(test), ResultText(resultIndex), lines.empty() ? L"(none)" : lines,
                      std::wstring(modelName), resultFile.empty() ? L"(not written)" : std::wstring(resultFile),
                      reportFile.empty() ? L"(not written)" : std::wstring(reportFile)};
    return report;
}

EventReport StartFailureEvent(std::wstring_view libraryPath) {
    return {EVENTLOG_ERROR_TYPE, kEventCannotStart, {std::wstring(libraryPath)}};
}

EventReport FolderRefusedEvent(std::wstring_view folder, std::wstring_view reason) {
    return {EVENTLOG_WARNING_TYPE, kEventFolderRefused, {std::wstring(folder), std::wstring(reason)}};
}

EventReport ResultFileSetAsideEvent(std::wstring_view resultFile, std::wstring_view setAside) {
    return {EVENTLOG_WARNING_TYPE, kEventResultFileSetAside, {std::wstring(resultFile), std::wstring(setAside)}};
}

EventReport BurnInStartEvent(std::wstring_view switches, const std::vector<std::wstring>& tests) {
    std::wstring lines;
    for (const std::wstring& test : tests) lines += (lines.empty() ? L"" : L"\r\n") + test;
    return {EVENTLOG_INFORMATION_TYPE, kEventBurnInStarted, {std::wstring(switches), lines}};
}

EventReport BurnInEndEvent(WORD type, std::wstring_view summary) {
    return {type, kEventBurnInEnded, {std::wstring(summary)}};
}

namespace {

template <typename MakeReport>
void ReportToEventLog(MakeReport makeReport) noexcept {
    DWORD id = 0;
    try {
        EventReport report = makeReport();
        id = report.id;
        // Without a registered source (a run from the zip) the platform still
        // logs the event, only without the message table's wording.
        fw::UniqueEventSource source(::RegisterEventSourceW(nullptr, kEventSource));
        std::vector<const wchar_t*> strings;
        for (const std::wstring& text : report.strings) strings.push_back(text.c_str());
        if (source && ::ReportEventW(source.get(), report.type, 0, report.id, nullptr,
                                     static_cast<WORD>(strings.size()), 0, strings.data(), nullptr))
            return;
    } catch (...) {
    }
    wchar_t text[96];
    std::swprintf(text, 96, L"testdeck: event %lu not reported, error %lu\n", static_cast<unsigned long>(id),
                  static_cast<unsigned long>(::GetLastError()));
    ::OutputDebugStringW(text);
}

}  // namespace

void ReportStartFailure(std::wstring_view libraryPath) noexcept {
    ReportToEventLog([&] { return StartFailureEvent(libraryPath); });
}

void ReportEvent(const EventReport& report) noexcept {
    ReportToEventLog([&] { return report; });
}

void EventLogSink::ReportVerdict(std::wstring_view test, int resultIndex, const std::vector<SubResult>& subResults,
                                 std::wstring_view resultFile) noexcept {
    if (resultIndex == kResultPass && !m_reportPasses) return;
    ReportToEventLog([&] { return VerdictEvent(test, resultIndex, subResults, m_modelName, resultFile, m_reportFile); });
}

}  // namespace launcher
