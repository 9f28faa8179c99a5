#include "hostlink/comm_func.h"

#include "framework/module_path.h"
#include "language/language_choice.h"

#include <algorithm>
#include <cstring>
#include <vector>

using namespace hostlink;

namespace {

// No exception may cross the library's exports: a call that runs out of memory
// sends nothing and reports 0.
template <typename Body>
int Guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (...) {
        return 0;
    }
}

HMODULE ModuleAt(void* address) {
    HMODULE module = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCWSTR>(address), &module);
    return module;
}

LPARAM TextParam(const std::wstring& text) { return reinterpret_cast<LPARAM>(text.c_str()); }

std::wstring FromSystemCodePage(const char* text) {
    if (!text) return {};
    int chars = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (chars <= 1) return {};
    std::wstring wide(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), chars);
    wide.resize(static_cast<size_t>(chars) - 1);
    return wide;
}

}  // namespace

CCommFunc::CCommFunc() = default;
CCommFunc::CCommFunc(const CCommFunc& other) = default;
CCommFunc& CCommFunc::operator=(const CCommFunc& other) = default;
CCommFunc::~CCommFunc() = default;

int CCommFunc::Initialize(int divisor) {
    m_progress.Initialize(divisor);
    return 0;
}

int CCommFunc::SetParentDlg(HWND hostWindow) {
    m_hostWindow = hostWindow;
    return 0;
}

HMODULE CCommFunc::LoadLanguageModule(std::wstring folder) {
    try {
        std::wstring searchFolder = folder + lang::kLanguageFolderName;
        std::wstring path = searchFolder + lang::ChooseLanguageCode(searchFolder) + L"\\langpack.dll";
        if (!fw::PathExists(path)) return nullptr;
        // Never freed: texts taken from it may be in use until the process ends.
        HMODULE language = ::LoadLibraryW(path.c_str());
        if (language) m_resourceModule = language;
        return language;
    } catch (...) {
        return nullptr;
    }
}

std::wstring CCommFunc::StringOf(UINT id, void* callerAddress) const {
    std::wstring text;
    if (m_resourceModule) text = fw::LoadStrFrom(m_resourceModule, id);
    HMODULE caller = ModuleAt(callerAddress);
    if (text.empty() && caller) text = fw::LoadStrFrom(caller, id);
    if (text.empty() && caller != fw::OwnModule()) text = fw::LoadStrFrom(fw::OwnModule(), id);
    return text;
}

LRESULT CCommFunc::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hostWindow, message, wParam, lParam);
}

int CCommFunc::PrintText(std::wstring text) {
    Send(msg::kPrintText, 0, TextParam(text));
    return 0;
}

// The caller's module is found from this function's own return address, so it
// must be taken here and not in a helper that could be inlined elsewhere.
int CCommFunc::PrintText(UINT id) {
    void* caller = __builtin_return_address(0);
    return Guarded([&] { return PrintText(StringOf(id, caller)); });
}

int CCommFunc::WriteLog(std::wstring text) {
    Send(msg::kWriteLog, 0, TextParam(text));
    return 0;
}

int CCommFunc::WriteLog(UINT id) {
    void* caller = __builtin_return_address(0);
    return Guarded([&] { return WriteLog(StringOf(id, caller)); });
}

int CCommFunc::PrintColorText(UINT id, DWORD colour) {
    void* caller = __builtin_return_address(0);
    return Guarded([&] {
        std::wstring text = StringOf(id, caller);
        Send(msg::kPrintColorText, reinterpret_cast<WPARAM>(text.c_str()), colour);
        return 0;
    });
}

int CCommFunc::PrintColorText(const char* text, DWORD colour) {
    // The dialog reads UTF-16; handing it the 8-bit text itself would make it
    // read past the end of a short string.
    return Guarded([&] {
        std::wstring wide = FromSystemCodePage(text);
        Send(msg::kPrintColorText, reinterpret_cast<WPARAM>(wide.c_str()), colour);
        return 0;
    });
}

int CCommFunc::Progress(int value) {
    if (std::optional<int> scaled = m_progress.Accept(value)) Send(msg::kProgress, 0, *scaled);
    return 0;
}

int CCommFunc::GetAbort() { return static_cast<int>(Send(msg::kGetAbort)); }

int CCommFunc::ExitTest() {
    Send(msg::kExitTest);
    return 0;
}

int CCommFunc::SetAbort() {
    Send(msg::kSetAbort);
    return 0;
}

int CCommFunc::EnableStopBut(int enable) {
    Send(msg::kEnableStopBut, static_cast<WPARAM>(enable), kStopButton);
    return 0;
}

int CCommFunc::ClearCurrentLog() {
    Send(msg::kClearCurrentLog);
    return 0;
}

int CCommFunc::GetLogReady() { return static_cast<int>(Send(msg::kGetLogReady)); }

int CCommFunc::SetRepeatAbort() {
    Send(msg::kSetRepeatAbort);
    return 0;
}

int CCommFunc::ClearUIText() {
    Send(msg::kClearUIText);
    return 0;
}

int CCommFunc::SaveCurrentLog() {
    Send(msg::kSaveCurrentLog);
    return 0;
}

int CCommFunc::SetSusResLog(int folderGiven, const char* folder) {
    Send(msg::kSetSusResLog, static_cast<WPARAM>(folderGiven), reinterpret_cast<LPARAM>(folder));
    return 0;
}

int CCommFunc::SetEditBoxBKColor(DWORD colour, int noError) {
    Send(msg::kSetEditBoxBKColor, static_cast<WPARAM>(noError), colour);
    return 0;
}

int CCommFunc::WriteXml(const wchar_t* testName, DWORD resultCode) {
    Send(msg::kWriteXml, reinterpret_cast<WPARAM>(testName), resultCode);
    return 0;
}

int CCommFunc::WriteXmlSub(DWORD number, DWORD resultCode) {
    Send(msg::kWriteXmlSub, number, resultCode);
    return 0;
}

int CCommFunc::ShowMyMessageBox(std::wstring text, std::wstring caption, UINT style) {
    Send(msg::kEnableStopBut, kDisable, kStopButton);
    MessageBoxRecord record{text.c_str(), caption.c_str(), style};
    LRESULT button = Send(msg::kShowMyMessageBox, 0, reinterpret_cast<LPARAM>(&record));
    Send(msg::kEnableStopBut, kEnable, kStopButton);
    return static_cast<int>(button);
}

int CCommFunc::PrintEstimateTestTime(int estimate) {
    Send(msg::kPrintEstimateTestTime, 0, estimate);
    return 0;
}

int CCommFunc::ReportFaultPoints(DWORD number, int width, int height, const FaultPoint* points, int count) {
    return Guarded([&] {
        const int sent = points ? std::clamp(count, 0, static_cast<int>(kMaxFaultPoints)) : 0;
        // INT32 storage keeps the points aligned after the 12-byte header.
        std::vector<INT32> buffer((sizeof(FaultPointsRecord) + sent * sizeof(FaultPoint)) / sizeof(INT32));
        FaultPointsRecord header{width, height, sent};
        std::memcpy(buffer.data(), &header, sizeof header);
        if (sent > 0) std::memcpy(buffer.data() + sizeof header / sizeof(INT32), points, sent * sizeof(FaultPoint));
        return static_cast<int>(Send(msg::kReportFaultPoints, number, reinterpret_cast<LPARAM>(buffer.data())));
    });
}

void CCommFunc::HoldWindow() { Send(msg::kHoldWindow); }
