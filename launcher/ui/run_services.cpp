#include "run_services.h"

#include <windows.h>

#include "framework/resources.h"
#include "string_ids.h"

namespace launcher {

void LogService::SetSusResLog(const char* ansiFolder) {
    int chars = ::MultiByteToWideChar(CP_ACP, 0, ansiFolder, -1, nullptr, 0);
    if (chars <= 0) return;
    std::wstring folder(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, ansiFolder, -1, folder.data(), chars);
    folder.resize(static_cast<size_t>(chars - 1));
    m_log.SetSusResLog(folder);
}

void LogService::CloseAndWriteHistory(bool userStopped, int runResult) {
    unsigned id = userStopped ? ids::kHistoryStopped : runResult != 0 ? ids::kHistoryFailed : ids::kHistoryPassed;
    m_log.CloseAndWriteHistory(fw::LoadStr(id));
}

}  // namespace launcher
