#include "runner_telemetry.h"

namespace launcher {

std::function<void(const std::wstring&, const std::wstring&)> ReportTelemetryTo(telemetry::TelemetryClient& client) {
    return [&client](const std::wstring& category, const std::wstring& verdict) {
        const wchar_t* const texts[3] = {L"Diag", category.c_str(), verdict.c_str()};
        client.Open();
        client.SubmitEvent(texts);
        client.Close();
    };
}

}  // namespace launcher
