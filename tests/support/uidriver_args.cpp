#include "uidriver_args.h"

namespace testsupport {

const wchar_t kDriverUsage[] =
    L"usage: uidriver screenshot <file.bmp>\n"
    L"       uidriver answer-box [--timeout seconds] [--button ok|yes|no|cancel]\n"
    L"       uidriver wait-window --title <title> [--timeout seconds]\n";

namespace {
DriverArguments Failure(std::wstring error) { return {std::nullopt, std::move(error)}; }

std::optional<DWORD> ParseSeconds(const std::wstring& text) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of(L"0123456789") != std::wstring::npos)
        return std::nullopt;
    DWORD seconds = static_cast<DWORD>(std::stoul(text));
    if (seconds > kMaxDriverTimeoutSeconds) return std::nullopt;
    return seconds * 1000;
}

std::optional<int> ParseButton(const std::wstring& name) {
    if (name == L"ok") return IDOK;
    if (name == L"yes") return IDYES;
    if (name == L"no") return IDNO;
    if (name == L"cancel") return IDCANCEL;
    return std::nullopt;
}
}  // namespace

DriverArguments ParseDriverArguments(const std::vector<std::wstring>& args) {
    if (args.empty()) return Failure(L"no command given");
    DriverCommand command;
    const std::wstring& verb = args[0];
    size_t next = 1;
    if (verb == L"screenshot") {
        if (args.size() != 2 || args[1].empty()) return Failure(L"screenshot needs one file name");
        command.action = DriverAction::Screenshot;
        command.file = args[1];
        return {command, {}};
    }
    if (verb == L"answer-box")
        command.action = DriverAction::AnswerBox;
    else if (verb == L"wait-window")
        command.action = DriverAction::WaitWindow;
    else
        return Failure(L"unknown command \"" + verb + L"\"");

    bool haveTitle = false;
    for (; next < args.size(); next += 2) {
        const std::wstring& option = args[next];
        if (next + 1 >= args.size()) return Failure(option + L" needs a value");
        const std::wstring& value = args[next + 1];
        if (option == L"--timeout") {
            std::optional<DWORD> timeout = ParseSeconds(value);
            if (!timeout)
                return Failure(L"--timeout takes whole seconds from 0 to " + std::to_wstring(kMaxDriverTimeoutSeconds));
            command.timeoutMs = *timeout;
        } else if (option == L"--button" && command.action == DriverAction::AnswerBox) {
            command.button = ParseButton(value);
            if (!command.button) return Failure(L"--button takes ok, yes, no or cancel");
        } else if (option == L"--title" && command.action == DriverAction::WaitWindow) {
            command.title = value;
            haveTitle = true;
        } else {
            return Failure(L"unknown option " + option + L" for " + verb);
        }
    }
    if (command.action == DriverAction::WaitWindow && !haveTitle) return Failure(L"wait-window needs --title");
    return {command, {}};
}

}  // namespace testsupport
