#include "script.h"

#include <cwchar>
#include <cwctype>
#include <optional>
#include <utility>

namespace scripted {

namespace {

std::wstring_view Trim(std::wstring_view text) {
    while (!text.empty() && std::iswspace(text.front())) text.remove_prefix(1);
    while (!text.empty() && std::iswspace(text.back())) text.remove_suffix(1);
    return text;
}

// The first word and the trimmed rest.
std::pair<std::wstring_view, std::wstring_view> SplitFirst(std::wstring_view text) {
    size_t space = 0;
    while (space < text.size() && !std::iswspace(text[space])) ++space;
    return {text.substr(0, space), Trim(text.substr(space))};
}

// Everything before the last word, and the last word.
std::pair<std::wstring_view, std::wstring_view> SplitLast(std::wstring_view text) {
    size_t space = text.size();
    while (space > 0 && !std::iswspace(text[space - 1])) --space;
    return {Trim(text.substr(0, space)), text.substr(space)};
}

std::optional<long long> Number(std::wstring_view word) {
    if (word.empty()) return std::nullopt;
    std::wstring text(word);
    wchar_t* end = nullptr;
    long long value = std::wcstoll(text.c_str(), &end, 0);
    if (end != text.c_str() + text.size()) return std::nullopt;
    return value;
}

// Texts may carry line ends: \n gives CR LF (what modules send), \\ a backslash.
std::wstring Unescape(std::wstring_view text) {
    std::wstring result;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\\' && i + 1 < text.size() && (text[i + 1] == L'n' || text[i + 1] == L'\\')) {
            result += text[++i] == L'n' ? L"\r\n" : L"\\";
        } else {
            result += text[i];
        }
    }
    return result;
}

struct Syntax {
    const wchar_t* word;
    Op op;
    enum Shape { kBare, kText, kNumber, kOptionalNumber, kTwoNumbers, kThreeNumbers, kTextNumber } shape;
};

constexpr Syntax kSyntax[] = {
    {L"text", Op::kText, Syntax::kText},          {L"log", Op::kLog, Syntax::kText},
    {L"box", Op::kBox, Syntax::kText},            {L"setlogdir", Op::kSetLogDir, Syntax::kText},
    {L"progress", Op::kProgress, Syntax::kNumber}, {L"init", Op::kInit, Syntax::kNumber},
    {L"estimate", Op::kEstimate, Syntax::kNumber}, {L"sleep", Op::kSleep, Syntax::kNumber},
    {L"return", Op::kReturn, Syntax::kNumber},     {L"abortpoll", Op::kAbortPoll, Syntax::kOptionalNumber},
    {L"sub", Op::kSub, Syntax::kTwoNumbers},       {L"xml", Op::kXml, Syntax::kTextNumber},
    {L"color", Op::kColor, Syntax::kTextNumber},   {L"setlog", Op::kSetLog, Syntax::kBare},
    {L"clearlog", Op::kClearLog, Syntax::kBare},   {L"savelog", Op::kSaveLog, Syntax::kBare},
    {L"hold", Op::kHold, Syntax::kBare},           {L"ask", Op::kAsk, Syntax::kTextNumber},
    {L"hang", Op::kHang, Syntax::kBare},           {L"crash", Op::kCrash, Syntax::kBare},
    {L"faults", Op::kFaults, Syntax::kThreeNumbers},
    {L"hang", Op::kHang, Syntax::kBare},           {L"oncall", Op::kOnCall, Syntax::kTwoNumbers},
    {L"repeatabort", Op::kRepeatAbort, Syntax::kBare},
};

std::optional<Command> Parse(const Syntax& syntax, std::wstring_view rest) {
    Command command{syntax.op, {}, 0, 0};
    switch (syntax.shape) {
    case Syntax::kBare:
        if (!rest.empty()) return std::nullopt;
        return command;
    case Syntax::kText:
        command.text = syntax.op == Op::kSetLogDir ? std::wstring(rest) : Unescape(rest);
        return command;
    case Syntax::kOptionalNumber:
        if (rest.empty()) {
            command.first = kAbortPollDefaultMs;
            return command;
        }
        [[fallthrough]];
    case Syntax::kNumber: {
        std::optional<long long> value = Number(rest);
        if (!value) return std::nullopt;
        command.first = *value;
        return command;
    }
    case Syntax::kTwoNumbers: {
        auto [firstWord, secondWord] = SplitFirst(rest);
        std::optional<long long> first = Number(firstWord), second = Number(secondWord);
        if (!first || !second) return std::nullopt;
        command.first = *first;
        command.second = *second;
        return command;
    }
    case Syntax::kThreeNumbers: {
        auto [firstWord, more] = SplitFirst(rest);
        auto [secondWord, thirdWord] = SplitFirst(more);
        std::optional<long long> first = Number(firstWord), second = Number(secondWord), third = Number(thirdWord);
        if (!first || !second || !third) return std::nullopt;
        command.first = *first;
        command.second = *second;
        command.third = *third;
        return command;
    }
    case Syntax::kTextNumber: {
        auto [text, last] = SplitLast(rest);
        std::optional<long long> value = Number(last);
        if (text.empty() || !value) return std::nullopt;
        command.text = text;
        command.first = *value;
        return command;
    }
    }
    return std::nullopt;
}

}  // namespace

Command ParseLine(std::wstring_view line) {
    std::wstring_view trimmed = Trim(line);
    auto [word, rest] = SplitFirst(trimmed);
    for (const Syntax& syntax : kSyntax)
        if (word == syntax.word) {
            if (std::optional<Command> command = Parse(syntax, rest)) return *command;
            break;
        }
    return Command{Op::kUnknown, std::wstring(trimmed), 0, 0};
}

std::vector<Command> ParseScript(std::wstring_view script) {
    if (!script.empty() && script.front() == L'\xFEFF') script.remove_prefix(1);
    std::vector<Command> commands;
    while (!script.empty()) {
        size_t end = script.find(L'\n');
        std::wstring_view line = script.substr(0, end);
        script.remove_prefix(end == std::wstring_view::npos ? script.size() : end + 1);
        if (!Trim(line).empty()) commands.push_back(ParseLine(line));
    }
    return commands;
}

}  // namespace scripted
