#include "report_html.h"

#include <algorithm>
#include <cstdio>

#include "framework/resources.h"
#include "string_ids.h"

namespace launcher {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Number(long long value) { return std::to_string(value); }

std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Colour(UINT32 rgb) {
    char text[16];
    std::snprintf(text, sizeof text, "#%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
    return text;
}

std::string Duration(long long seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", seconds / 3600, seconds / 60 % 60, seconds % 60);
    return text;
}

// `format` with its one %d replaced by `value`.
std::string WithNumber(const std::wstring& format, long long value) {
    std::wstring text = format;
    if (size_t at = text.find(L"%d"); at != std::wstring::npos) text.replace(at, 2, std::to_wstring(value));
    return HtmlText(text);
}

const std::wstring& ResultWord(const ReportTexts& t, int resultIndex) {
    return resultIndex == 1 ? t.resultPass : resultIndex == 2 ? t.resultStopped : t.resultFail;
}

std::string ResultCell(const ReportTexts& t, int resultIndex) {
    const char* kind = resultIndex == 1 ? "pass" : resultIndex == 2 ? "stopped" : "fail";
    return std::string("<td class=\"r ") + kind + "\">" + HtmlText(ResultWord(t, resultIndex)) + "</td>";
}

constexpr char kStyle[] = R"(
body{font:14px/1.4 "Segoe UI",Meiryo,Arial,sans-serif;color:#222;margin:24px auto;max-width:960px;padding:0 16px}
h1{margin:0;font-size:30px;letter-spacing:2px}
h2{font-size:17px;margin:22px 0 6px;border-bottom:1px solid #ccc;padding-bottom:2px}
.verdict{padding:14px 20px;border-radius:6px;color:#fff}
.verdict p{margin:4px 0 0}
.v-pass{background:#1e7b34}.v-fail{background:#b3261e}.v-stopped{background:#a15c00}.v-incomplete{background:#5b5b5b}
table{border-collapse:collapse;width:100%}
th,td{text-align:left;vertical-align:top;padding:3px 8px;border-bottom:1px solid #e2e2e2}
table.facts th{width:28%;font-weight:600}
td.r{font-weight:600}.pass{color:#1e7b34}.fail{color:#b3261e}.stopped{color:#a15c00}
pre{background:#f6f6f6;border:1px solid #ddd;padding:8px;white-space:pre-wrap;word-break:break-all;font:12px/1.35 Consolas,monospace;margin:0}
svg{display:block;margin:6px 0;max-width:100%;height:auto}
svg .screen{fill:#f4f6fa;stroke:#555;stroke-width:1}
svg .fp{fill:#d11;fill-opacity:.8}
.sw{display:inline-block;width:10px;height:10px;border:1px solid #888;margin-right:5px;vertical-align:-1px}
table.points{width:auto}
.note{color:#666}
@page{margin:12mm}
@media print{body{margin:0;max-width:none;font-size:10pt;padding:0}
.verdict{-webkit-print-color-adjust:exact;print-color-adjust:exact}
h2{margin-top:12px}section{break-inside:avoid}tr{break-inside:avoid}pre{font-size:8pt}}
)";

class Page {
public:
    explicit Page(const ReportTexts& texts) : t(texts) {}
    std::string Build(const RunReport& report);

private:
    void Fact(const std::wstring& label, const std::wstring& value);
    void Tests(const RunReport& report);
    void Cycles(const RunReport& report);
    void Log(const ReportTest& test);
    void Picture(const ReportTest& test, const FaultPicture& picture);

    const ReportTexts& t;
    std::string out;
};

void Page::Fact(const std::wstring& label, const std::wstring& value) {
    out += "<tr><th>" + HtmlText(label) + "</th><td>" + HtmlText(value.empty() ? t.none : value) + "</td></tr>\n";
}

void Page::Tests(const RunReport& report) {
    out += "<section><h2>" + HtmlText(t.tests) + "</h2>\n";
    if (report.tests.empty()) {
        out += "<p>" + HtmlText(t.noTests) + "</p></section>\n";
        return;
    }
    const bool cycles = std::any_of(report.tests.begin(), report.tests.end(), [](const ReportTest& r) { return r.cycle > 0; });
    out += "<table class=\"tests\"><thead><tr>";
    if (cycles) out += "<th>" + HtmlText(t.cycle) + "</th>";
    for (const std::wstring* head : {&t.test, &t.result, &t.time, &t.duration, &t.subResults})
        out += "<th>" + HtmlText(*head) + "</th>";
    out += "</tr></thead><tbody>\n";
    for (const ReportTest& test : report.tests) {
        out += "<tr>";
        if (cycles) out += "<td>" + (test.cycle > 0 ? Number(test.cycle) : std::string()) + "</td>";
        out += "<td class=\"name\">" + HtmlText(test.name) + "</td>" + ResultCell(t, test.resultIndex) + "<td>" +
               HtmlText(test.started) + "</td><td>" + Duration(test.seconds) + "</td><td class=\"subs\">";
        for (size_t i = 0; i < test.subResults.size(); ++i) {
            const SubResult& sub = test.subResults[i];
            const int index = sub.resultIndex;
            if (i) out += "<br>";
            out += HtmlText(t.test) + " " + Number(sub.number) + ": <span class=\"" +
                   (index == 1 ? "pass" : index == 2 ? "stopped" : "fail") + "\">" + HtmlText(ResultWord(t, index)) +
                   "</span>";
        }
        out += "</td></tr>\n";
    }
    out += "</tbody></table></section>\n";
}

void Page::Cycles(const RunReport& report) {
    if (report.cycles.empty()) return;
    out += "<section><h2>" + HtmlText(t.cycles) + "</h2><table class=\"cycles\"><thead><tr>";
    for (const std::wstring* head : {&t.cycle, &t.resultPass, &t.resultFail, &t.resultStopped})
        out += "<th>" + HtmlText(*head) + "</th>";
    out += "</tr></thead><tbody>\n";
    for (const CycleSummary& c : report.cycles)
        out += "<tr><td>" + Number(c.cycle) + "</td><td>" + Number(c.passed) + "</td><td>" + Number(c.failed) +
               "</td><td>" + Number(c.stopped) + "</td></tr>\n";
    out += "</tbody></table></section>\n";
}

void Page::Log(const ReportTest& test) {
    out += "<section class=\"log\"><h2>" + HtmlText(t.log) + ": " + HtmlText(test.name) + "</h2>\n";
    if (test.logLinesLeftOut) out += "<p class=\"note\">" + WithNumber(t.linesLeftOut, static_cast<long long>(test.logLinesLeftOut)) + "</p>\n";
    out += "<pre>";
    for (const std::wstring& line : test.logLines) out += HtmlText(line) + "\n";
    if (test.logLines.empty()) out += HtmlText(t.none);
    out += "</pre></section>\n";
}

void Page::Picture(const ReportTest& test, const FaultPicture& picture) {
    const double scale = PictureScale(picture.width, picture.height);
    const std::string w = Decimal(picture.width * scale), h = Decimal(picture.height * scale);
    out += "<section class=\"faults\"><h2>" + HtmlText(t.faults) + ": " + HtmlText(test.name) + ", " +
           HtmlText(t.test) + " " + Number(picture.subTest) + "</h2>\n<p>" + HtmlText(t.picture) + ": " +
           Number(picture.width) + " &#215; " + Number(picture.height) + " &#183; " + HtmlText(t.points) + ": " +
           Number(static_cast<long long>(picture.points.size())) + "</p>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" class=\"map\" width=\"" + w + "\" height=\"" + h +
           "\" viewBox=\"0 0 " + w + " " + h + "\"><rect class=\"screen\" x=\"0\" y=\"0\" width=\"" + w +
           "\" height=\"" + h + "\"/>";
    for (const hostlink::FaultPoint& p : picture.points)
        out += "<circle class=\"fp\" cx=\"" + Decimal((p.x + 0.5) * scale) + "\" cy=\"" + Decimal((p.y + 0.5) * scale) +
               "\" r=\"2.5\"/>";
    out += "</svg>\n<table class=\"points\"><caption>" +
           WithNumber(t.firstPoints, static_cast<long long>(std::min(kPointRowsShown, picture.points.size()))) +
           "</caption><thead><tr>";
    for (const std::wstring* head : {&t.x, &t.y, &t.expected, &t.read}) out += "<th>" + HtmlText(*head) + "</th>";
    out += "</tr></thead><tbody>\n";
    for (size_t i = 0; i < picture.points.size() && i < kPointRowsShown; ++i) {
        const hostlink::FaultPoint& p = picture.points[i];
        out += "<tr><td>" + Number(p.x) + "</td><td>" + Number(p.y) + "</td>";
        for (UINT32 colour : {p.expected, p.read})
            out += "<td><span class=\"sw\" style=\"background:" + Colour(colour) + "\"></span>" + Colour(colour) + "</td>";
        out += "</tr>\n";
    }
    out += "</tbody></table></section>\n";
}

std::string Page::Build(const RunReport& report) {
    const std::wstring* verdict = &t.incomplete;
    const char* kind = "incomplete";
    switch (report.verdict) {
    case TRunVerdict::Pass: verdict = &t.pass, kind = "pass"; break;
    case TRunVerdict::Fail: verdict = &t.fail, kind = "fail"; break;
    case TRunVerdict::Stopped: verdict = &t.stopped, kind = "stopped"; break;
    case TRunVerdict::Incomplete: break;
    }
    out = "<!DOCTYPE html>\n<html lang=\"" + HtmlText(t.htmlLanguage) + "\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
          HtmlText(t.title) + " - " + HtmlText(report.modelName) + " - " + HtmlText(*verdict) + "</title>\n<style>" +
          kStyle + "</style>\n</head>\n<body>\n";
    out += std::string("<header class=\"verdict v-") + kind + "\"><h1>" + HtmlText(*verdict) + "</h1><p>" +
           HtmlText(t.title) + " &#183; " + HtmlText(report.modelName) + " &#183; " + HtmlText(report.started) +
           "</p></header>\n";
    out += "<section><h2>" + HtmlText(t.computer) + "</h2>\n<table class=\"facts\">\n";
    Fact(t.model, report.modelName);
    Fact(t.computerName, report.computerName);
    Fact(t.windows, report.windowsVersion);
    Fact(t.version, report.launcherVersion);
    Fact(t.commandLine, report.commandLine);
    Fact(t.started, report.started);
    Fact(t.ended, report.ended);
    out += "</table></section>\n";
    Tests(report);
    Cycles(report);
    for (const ReportTest& test : report.tests)
        if (test.resultIndex != 1) Log(test);
    for (const ReportTest& test : report.tests)
        for (const FaultPicture& picture : test.faults) Picture(test, picture);
    out += "<section><h2>" + HtmlText(t.files) + "</h2>\n<table class=\"facts\">\n";
    Fact(t.resultFile, report.resultFile);
    Fact(t.logFile, report.logFile);
    out += "</table></section>\n</body>\n</html>\n";
    return std::move(out);
}

}  // namespace

std::string HtmlText(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        } else if ((c >= 0xD800 && c <= 0xDFFF) || (c < 0x20 && c != L'\t') || c == 0x7F) {
            c = 0xFFFD;
        }
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: AppendUtf8(out, c);
        }
    }
    return out;
}

double PictureScale(int width, int height) {
    if (width <= 0 || height <= 0) return 1;
    return std::min(kPictureMaxWidth / width, kPictureMaxHeight / height);
}

std::string BuildReportHtml(const RunReport& report, const ReportTexts& texts) { return Page(texts).Build(report); }

ReportTexts LoadReportTexts(const std::wstring& languageCode) {
    auto s = [](unsigned id) { return fw::LoadStr(id); };
    ReportTexts t;
    t.htmlLanguage = languageCode == L"DEU" ? L"de" : languageCode == L"JPN" ? L"ja" : L"en";
    t.title = s(ids::kReportTitle);
    t.pass = s(ids::kReportVerdictPass);
    t.fail = s(ids::kReportVerdictFail);
    t.stopped = s(ids::kReportVerdictStopped);
    t.incomplete = s(ids::kReportVerdictIncomplete);
    t.computer = s(ids::kReportComputer);
    t.model = s(ids::kReportModel);
    t.computerName = s(ids::kReportComputerName);
    t.windows = s(ids::kReportWindows);
    t.version = s(ids::kReportVersion);
    t.commandLine = s(ids::kReportCommandLine);
    t.started = s(ids::kReportStarted);
    t.ended = s(ids::kReportEnded);
    t.tests = s(ids::kReportTests);
    t.test = s(ids::kReportTest);
    t.result = s(ids::kReportResult);
    t.time = s(ids::kReportTime);
    t.duration = s(ids::kReportDuration);
    t.subResults = s(ids::kReportSubResults);
    t.cycle = s(ids::kReportCycle);
    t.cycles = s(ids::kReportCycles);
    t.resultPass = s(ids::kReportPass);
    t.resultFail = s(ids::kReportFail);
    t.resultStopped = s(ids::kReportStopped);
    t.log = s(ids::kReportLog);
    t.linesLeftOut = s(ids::kReportLinesLeftOut);
    t.faults = s(ids::kReportFaults);
    t.picture = s(ids::kReportPicture);
    t.points = s(ids::kReportPoints);
    t.firstPoints = s(ids::kReportFirstPoints);
    t.x = s(ids::kReportX);
    t.y = s(ids::kReportY);
    t.expected = s(ids::kReportExpected);
    t.read = s(ids::kReportRead);
    t.files = s(ids::kReportFiles);
    t.resultFile = s(ids::kReportResultFile);
    t.logFile = s(ids::kReportLogFile);
    t.none = s(ids::kReportNone);
    t.noTests = s(ids::kReportNoTests);
    return t;
}

}  // namespace launcher
