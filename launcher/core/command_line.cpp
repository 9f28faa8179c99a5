#include "command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <iterator>

#include "framework/unique_resource.h"
#include "text_util.h"

namespace launcher {

constexpr wchar_t kTimeoutSwitch[] = L"-timeout:";
constexpr wchar_t kCyclesSwitch[] = L"-cycles:";
constexpr wchar_t kForSwitch[] = L"-for:";

// At most nine decimal digits; nothing for anything else.
static std::optional<unsigned> WholeNumber(const std::wstring& digits) {
    if (digits.empty() || digits.size() > 9) return std::nullopt;
    unsigned value = 0;
    for (wchar_t c : digits) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    return value;
}

// The value after the switch's `prefixLength` characters when it is a whole number from 1 to `maximum`.
static std::optional<unsigned> Count(const std::wstring& token, size_t prefixLength, unsigned maximum) {
    std::optional<unsigned> value = WholeNumber(token.substr(prefixLength));
    if (!value || *value < 1 || *value > maximum) return std::nullopt;
    return value;
}

CommandLine ParseCommandLineTokens(const std::vector<std::wstring>& tokens) {
    CommandLine result;
    for (const std::wstring& token : tokens) {
        if (token.size() >= 2 && token[0] == L'/') {
            std::wstring name = token.substr(1);
            if (EqualsIgnoringCase(name, L"memory")) continue;  // run only through the 64-bit host
            if (result.moduleArguments.size() < static_cast<size_t>(kMaxModuleArguments))
                result.moduleArguments.push_back(name);
        } else if (token.compare(0, 2, L"-h") == 0) {
            result.keepOpen = true;
        } else if (token == L"-unattended") {
            result.unattended = true;
        } else if (token.rfind(kTimeoutSwitch, 0) == 0) {
            // A value that is no number leaves the limit of the run mode.
            if (std::optional<unsigned> seconds = WholeNumber(token.substr(std::size(kTimeoutSwitch) - 1)))
                result.timeoutSeconds = seconds;
        } else if (token.rfind(kCyclesSwitch, 0) == 0) {
            // A bad value is ignored like a bad time limit.
            if (std::optional<unsigned> cycles = Count(token, std::size(kCyclesSwitch) - 1, kMaxBurnInCycles))
                result.burnIn.cycles = cycles;
        } else if (token.rfind(kForSwitch, 0) == 0) {
            if (std::optional<unsigned> minutes = Count(token, std::size(kForSwitch) - 1, kMaxBurnInMinutes))
                result.burnIn.minutes = minutes;
        } else if (token == L"-stoponfail") {
            result.burnIn.stopOnFail = true;
        }
    }
    return result;
}

unsigned TimeLimitSeconds(const CommandLine& line) {
    return line.timeoutSeconds.value_or(line.unattended ? kUnattendedTimeLimit : 0);
}

CommandLine ParseCommandLine(const wchar_t* commandLine) {
    int count = 0;
    LPWSTR* argv = ::CommandLineToArgvW(commandLine, &count);
    fw::UniqueLocal owner(reinterpret_cast<HLOCAL>(argv));
    std::vector<std::wstring> tokens;
    for (int i = 0; argv && i < count; ++i) tokens.emplace_back(argv[i]);
    return ParseCommandLineTokens(tokens);
}

static void Append(RunList& list, const TestEntry& row, int quick) {
    if (list.count >= kMaxRunRows) return;
    list.rows[list.count++] = RunRow{row.testFile, row.displayName, quick};
}

static const TestEntry* FindRow(const TestCatalogue& catalogue, bool (*matches)(const std::wstring&,
                                                                                  const std::wstring&),
                                const std::wstring& key) {
    for (int i = 0; i < catalogue.count; ++i)
        if (matches(catalogue.rows[i].testFile, key)) return &catalogue.rows[i];
    return nullptr;
}

RunList BuildRunList(const std::vector<std::wstring>& moduleArguments, const TestCatalogue& catalogue,
                     const FastCheckList& fastCheck) {
    auto equals = [](const std::wstring& file, const std::wstring& key) { return file == key; };
    auto startsWith = [](const std::wstring& file, const std::wstring& key) { return file.compare(0, key.size(), key) == 0; };

    RunList list;
    for (const std::wstring& argument : moduleArguments) {
        if (argument.empty()) break;
        std::wstring key = ToLower(argument);
        if (key == L"quick") {
            for (int i = 0; i < fastCheck.count; ++i)
                if (const TestEntry* row = FindRow(catalogue, equals, fastCheck.names[i])) Append(list, *row, 1);
        } else if (const TestEntry* row = FindRow(catalogue, startsWith, key)) {
            Append(list, *row, 0);
        }
    }
    return list;
}

}  // namespace launcher
