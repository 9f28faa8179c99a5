#pragma once
// The run's report as one self-contained HTML page: UTF-8, its style and its
// fault pictures (SVG) inline, no script, nothing fetched.
#include <string>
#include <string_view>

#include "run_report.h"

namespace launcher {

// The page's words in the launcher's language.
struct ReportTexts {
    std::wstring htmlLanguage = L"en";  // the lang attribute
    std::wstring title, pass, fail, stopped, incomplete;
    std::wstring computer, model, computerName, windows, version, commandLine, started, ended;
    std::wstring tests, test, result, time, duration, subResults, cycle, cycles;
    std::wstring resultPass, resultFail, resultStopped;
    std::wstring log, linesLeftOut;  // linesLeftOut holds one %d
    std::wstring faults, picture, points, firstPoints;  // firstPoints holds one %d
    std::wstring x, y, expected, read;
    std::wstring files, resultFile, logFile, none, noTests;
};

// From the language library (string ids 320 to 358); the lang attribute from the language code.
ReportTexts LoadReportTexts(const std::wstring& languageCode);

// `text` as UTF-8 with the markup characters escaped; control characters and
// lone surrogates become U+FFFD.
std::string HtmlText(std::wstring_view text);

// Fault pictures are drawn at most this large (CSS pixels).
constexpr double kPictureMaxWidth = 640;
constexpr double kPictureMaxHeight = 400;
constexpr size_t kPointRowsShown = 20;
// How much a picture of width x height is scaled down (or up) to be drawn.
double PictureScale(int width, int height);

std::string BuildReportHtml(const RunReport& report, const ReportTexts& texts);

}  // namespace launcher
