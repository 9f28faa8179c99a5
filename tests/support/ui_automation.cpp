#include "ui_automation.h"

#include <algorithm>
#include <functional>
#include <iterator>

namespace testsupport {

namespace {
constexpr int kMessageBoxTextId = 0xFFFF;
constexpr wchar_t kDialogClass[] = L"#32770";

bool MatchesTop(HWND window, const WindowQuery& query) {
    if (query.visibleOnly && !::IsWindowVisible(window)) return false;
    if (query.pid && ProcessOf(window) != query.pid) return false;
    if (query.className && ClassOf(window) != *query.className) return false;
    return !query.title || TitleOf(window) == *query.title;
}

bool MatchesControl(HWND window, const ControlQuery& query) {
    if (query.visibleOnly && !IsShown(window)) return false;
    if (query.id && ::GetDlgCtrlID(window) != *query.id) return false;
    if (query.className && ClassOf(window) != *query.className) return false;
    return !query.text || ReadText(window) == *query.text;
}

using WindowVisitor = std::function<bool(HWND)>;  // false stops the walk

BOOL CALLBACK VisitOne(HWND window, LPARAM visitor) {
    return (*reinterpret_cast<WindowVisitor*>(visitor))(window) ? TRUE : FALSE;
}

void ForEachTopWindow(WindowVisitor visitor) { ::EnumWindows(&VisitOne, reinterpret_cast<LPARAM>(&visitor)); }

void ForEachDescendant(HWND ancestor, WindowVisitor visitor) {
    ::EnumChildWindows(ancestor, &VisitOne, reinterpret_cast<LPARAM>(&visitor));
}

// Posts what a key press and release produce. Alt turns them into system keys,
// which the default window procedure turns into commands (Alt+F4: SC_CLOSE).
void PostKeyStroke(HWND window, UINT virtualKey, bool withAlt) {
    const UINT scan = ::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    const LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16) | (withAlt ? (1 << 29) : 0);
    const LPARAM up = down | (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    ::PostMessageW(window, withAlt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, down);
    ::PostMessageW(window, withAlt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, up);
}
}  // namespace

std::vector<HWND> FindTopWindows(const WindowQuery& query) {
    std::vector<HWND> found;
    ForEachTopWindow([&](HWND window) {
        if (MatchesTop(window, query)) found.push_back(window);
        return true;
    });
    return found;
}

HWND FindTopWindow(const WindowQuery& query) {
    HWND found = nullptr;
    ForEachTopWindow([&](HWND window) {
        if (MatchesTop(window, query)) found = window;
        return found == nullptr;
    });
    return found;
}

HWND WaitTopWindow(const WindowQuery& query, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return FindTopWindow(query); });
}

HWND FindControl(HWND ancestor, const ControlQuery& query) {
    HWND found = nullptr;
    ForEachDescendant(ancestor, [&](HWND window) {
        if (MatchesControl(window, query)) found = window;
        return found == nullptr;
    });
    return found;
}

HWND WaitControl(HWND ancestor, const ControlQuery& query, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return ::IsWindow(ancestor) ? FindControl(ancestor, query) : nullptr; });
}

std::optional<std::wstring> ReadText(HWND window) {
    DWORD_PTR length = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &length))
        return std::nullopt;
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                               SMTO_ABORTIFHUNG, kMessageTimeoutMs, &copied))
        return std::nullopt;
    text.resize(std::min<size_t>(copied, length));
    return text;
}

std::wstring TitleOf(HWND window) {
    int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    title.resize(static_cast<size_t>(std::max(::GetWindowTextW(window, title.data(), length + 1), 0)));
    return title;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[256] = {};
    int length = ::GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, static_cast<size_t>(length > 0 ? length : 0));
}

DWORD ProcessOf(HWND window) {
    DWORD pid = 0;
    ::GetWindowThreadProcessId(window, &pid);
    return pid;
}

RECT WindowRect(HWND window) {
    RECT rect{};
    if (!::GetWindowRect(window, &rect)) rect = RECT{};
    return rect;
}

bool IsShown(HWND window) { return ::IsWindowVisible(window) != FALSE; }

bool IsEnabled(HWND window) { return ::IsWindowEnabled(window) != FALSE; }

bool WaitForeground(HWND window, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return ::GetForegroundWindow() == window; });
}

bool WaitGone(HWND window, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
}

void ClickButton(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

void CommandParent(HWND control) {
    ::PostMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), BN_CLICKED),
                   reinterpret_cast<LPARAM>(control));
}

void PressAltF4(HWND window) { PostKeyStroke(window, VK_F4, true); }

void PostSysCommandClose(HWND window) { ::PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

void PostCloseMessage(HWND window) { ::PostMessageW(window, WM_CLOSE, 0, 0); }

void PressKey(HWND window, UINT virtualKey, bool withAlt) { PostKeyStroke(window, virtualKey, withAlt); }

bool IsMessageBox(HWND window) {
    if (ClassOf(window) != kDialogClass) return false;
    HWND text = ::GetDlgItem(window, kMessageBoxTextId);
    return text && ClassOf(text) == L"Static";
}

HWND FindMessageBox(const MessageBoxQuery& query) {
    WindowQuery top;
    top.title = query.caption;
    top.className = kDialogClass;
    top.pid = query.pid;
    for (HWND window : FindTopWindows(top))
        if (IsMessageBox(window)) return window;
    return nullptr;
}

HWND WaitMessageBox(const MessageBoxQuery& query, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return FindMessageBox(query); });
}

std::wstring MessageBoxText(HWND box) {
    return ReadText(::GetDlgItem(box, kMessageBoxTextId)).value_or(std::wstring());
}

int DefaultButtonOf(HWND box) {
    int found = 0;
    ForEachDescendant(box, [&](HWND window) {
        if (ClassOf(window) == L"Button" && (::GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            found = ::GetDlgCtrlID(window);
        return found == 0;
    });
    return found ? found : IDOK;
}

bool PressMessageBoxButton(HWND box, int buttonId) {
    HWND button = ::GetDlgItem(box, buttonId);
    if (!button || ClassOf(button) != L"Button") return false;
    ClickButton(button);
    return true;
}

BoxAnswer AnswerMessageBox(const MessageBoxQuery& query, std::optional<int> buttonId, DWORD timeoutMs) {
    BoxAnswer answer;
    HWND box = WaitMessageBox(query, timeoutMs);
    if (!box) return answer;
    answer.caption = TitleOf(box);
    answer.text = MessageBoxText(box);
    answer.button = buttonId.value_or(DefaultButtonOf(box));
    if (!PressMessageBoxButton(box, answer.button))
        answer.outcome = BoxOutcome::NoSuchButton;
    else
        answer.outcome = WaitGone(box, kMessageTimeoutMs) ? BoxOutcome::Answered : BoxOutcome::StayedOpen;
    return answer;
}

}  // namespace testsupport
