// scripted.dll: a test module whose StartTest replays the script beside it
// (<own name>.txt, e.g. scripted.txt) through CCommFunc and returns the code
// the script chose. It writes what StartTest received into <own name>.received.txt:
// "flags N", "count N", "folder TEXT", then "box N" for every box answered.
#define HOSTLINK_TEST_MODULE
#include <windows.h>

#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "hostlink/comm_func.h"
#include "hostlink/protocol.h"
#include "script.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {

constexpr DWORD kAbortPollInterval = 10;
int* volatile g_nowhere = nullptr;  // volatile: the write is not optimised away

std::wstring OwnPathWithoutExtension() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = ::GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH);
    std::wstring own(path, length);
    size_t dot = own.find_last_of(L'.');
    return dot == std::wstring::npos ? own : own.substr(0, dot);
}

std::string Encode(const std::wstring& text, UINT codePage) {
    int size = ::WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                     nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0)
        ::WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                              nullptr);
    return bytes;
}

// The script as UTF-8 bytes; nothing when it cannot be read.
std::optional<std::string> ReadScript(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD read = 0;
    while (::ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
    ::CloseHandle(file);
    return bytes;
}

std::wstring DecodeUtf8(const std::string& bytes) {
    int size = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), size);
    return text;
}

// Appends one UTF-8 line to the file of received arguments.
class Receipt {
public:
    explicit Receipt(std::wstring path) : m_path(std::move(path)) { ::DeleteFileW(m_path.c_str()); }
    void Add(const std::wstring& line) const {
        HANDLE file = ::CreateFileW(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return;
        std::string bytes = Encode(line + L"\r\n", CP_UTF8);
        DWORD written = 0;
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        ::CloseHandle(file);
    }

private:
    std::wstring m_path;
};

void ReportFaults(CCommFunc& link, int count, int width, int height) {
    std::vector<hostlink::FaultPoint> points;
    for (int i = 0; i < count && width > 0 && height > 0; ++i)
        points.push_back({97 * i % width, 61 * i % height, 0xFFFFFF, static_cast<UINT32>(i)});
    link.ReportFaultPoints(0, width, height, points.data(), static_cast<int>(points.size()));
}

bool AbortSeenWithin(CCommFunc& link, long long milliseconds) {
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds > 0 ? milliseconds : 0);
    for (;;) {
        if (link.GetAbort() == hostlink::kAbortRequested) return true;
        if (::GetTickCount64() >= deadline) return false;
        ::Sleep(kAbortPollInterval);
    }
}

// The calls of StartTest so far in this process, this one included. The
// library is freed after each call, so the count lives in the environment.
long long CallNumber(const std::wstring& base) {
    std::wstring name = L"SCRIPTED_CALLS_" + base.substr(base.find_last_of(L'\\') + 1);
    wchar_t value[32] = {};
    ::GetEnvironmentVariableW(name.c_str(), value, 32);
    const long long calls = std::wcstoll(value, nullptr, 10) + 1;
    ::SetEnvironmentVariableW(name.c_str(), std::to_wstring(calls).c_str());
    return calls;
}

int Replay(const std::vector<scripted::Command>& script, CCommFunc& link, const Receipt& receipt, long long call) {
    using scripted::Op;
    for (const scripted::Command& c : script) {
        const int first = static_cast<int>(c.first);
        switch (c.op) {
        case Op::kText: link.PrintText(c.text); break;
        case Op::kLog: link.WriteLog(c.text); break;
        case Op::kBox:
            receipt.Add(L"box " + std::to_wstring(link.ShowMyMessageBox(c.text, L"scripted", MB_YESNO)));
            break;
        case Op::kProgress: link.Progress(first); break;
        case Op::kInit: link.Initialize(first); break;
        case Op::kEstimate: link.PrintEstimateTestTime(first); break;
        case Op::kSub: link.WriteXmlSub(static_cast<DWORD>(c.first), static_cast<DWORD>(c.second)); break;
        case Op::kXml: link.WriteXml(c.text.c_str(), static_cast<DWORD>(c.first)); break;
        case Op::kColor: link.PrintColorText(Encode(c.text, CP_ACP).c_str(), static_cast<DWORD>(c.first)); break;
        case Op::kSetLog: link.SetSusResLog(static_cast<int>(hostlink::kLogFolderFromSettings), nullptr); break;
        case Op::kSetLogDir:
            link.SetSusResLog(static_cast<int>(hostlink::kLogFolderGiven), Encode(c.text, CP_ACP).c_str());
            break;
        case Op::kClearLog: link.ClearCurrentLog(); break;
        case Op::kSaveLog: link.SaveCurrentLog(); break;
        case Op::kHold: link.HoldWindow(); break;
        case Op::kAbortPoll:
            if (AbortSeenWithin(link, c.first)) return hostlink::kModuleStopped;
            break;
        case Op::kSleep: ::Sleep(static_cast<DWORD>(c.first > 0 ? c.first : 0)); break;
        case Op::kReturn: return first;
        case Op::kAsk: {
            const int answer = link.ShowMyMessageBox(c.text, L"scripted", static_cast<UINT>(c.first));
            receipt.Add(L"box " + std::to_wstring(answer));
            return answer == IDYES || answer == IDOK ? hostlink::kModulePassed : hostlink::kModuleFailed;
        }
        case Op::kHang: ::Sleep(INFINITE); break;
        case Op::kCrash: *g_nowhere = 1; break;
        case Op::kFaults:
            ReportFaults(link, first, static_cast<int>(c.second), static_cast<int>(c.third));
            break;
        case Op::kOnCall:
            if (c.first == call) return static_cast<int>(c.second);
            break;
        case Op::kRepeatAbort: link.SetRepeatAbort(); break;
        case Op::kUnknown: link.PrintText(L"scripted: unknown line: " + c.text + L"\r\n"); break;
        }
    }
    return hostlink::kModulePassed;
}

}  // namespace

extern "C" __declspec(dllexport) int __cdecl StartTest(HWND hostWindow, unsigned modeFlags, int count,
                                                       hostlink::ModuleFolder folder) {
    hostlink::ScopedModuleFolder programDir(folder);
    const std::wstring base = OwnPathWithoutExtension();
    Receipt receipt(base + L".received.txt");
    receipt.Add(L"flags " + std::to_wstring(modeFlags));
    receipt.Add(L"count " + std::to_wstring(count));
    receipt.Add(L"folder " + programDir.text());

    CCommFunc link;
    link.SetParentDlg(hostWindow);
    std::optional<std::string> script = ReadScript(base + L".txt");
    if (!script) {
        link.PrintText(L"scripted: no script at " + base + L".txt\r\n");
        return hostlink::kModuleFailed;
    }
    return Replay(scripted::ParseScript(DecodeUtf8(*script)), link, receipt, CallNumber(base));
}
