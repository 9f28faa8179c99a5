#pragma once
// The runner's telemetry: one event per test through the statistics client.
#include <functional>
#include <string>

#include "telemetry/telemetry_client.h"

namespace launcher {

// RunnerSettings::reportTelemetry for `client`: open, submit ("Diag", category,
// verdict), close; the client's results are ignored, a missing agent is a no-op.
std::function<void(const std::wstring&, const std::wstring&)> ReportTelemetryTo(telemetry::TelemetryClient& client);

}  // namespace launcher
