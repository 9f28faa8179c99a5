// The script language of the scripted.dll test module.
#include <gtest/gtest.h>

#include "script.h"

using namespace scripted;

TEST(ScriptedScript, EveryCommandParses) {
    struct Case {
        const wchar_t* line;
        Command command;
    };
    const Case cases[] = {
        {L"text hello  world ", {Op::kText, L"hello  world", 0, 0}},
        {L"text", {Op::kText, L"", 0, 0}},
        {L"log a line", {Op::kLog, L"a line", 0, 0}},
        {L"box Go on?", {Op::kBox, L"Go on?", 0, 0}},
        {L"progress -1", {Op::kProgress, L"", -1, 0}},
        {L"init 3", {Op::kInit, L"", 3, 0}},
        {L"estimate 12", {Op::kEstimate, L"", 12, 0}},
        {L"sub 0 3", {Op::kSub, L"", 0, 3}},
        {L"xml Video Test 2", {Op::kXml, L"Video Test", 2, 0}},
        {L"color dark red 0x000080", {Op::kColor, L"dark red", 0x80, 0}},
        {L"setlog", {Op::kSetLog, L"", 0, 0}},
        {L"setlogdir C:\\My Logs\\", {Op::kSetLogDir, L"C:\\My Logs\\", 0, 0}},
        {L"clearlog", {Op::kClearLog, L"", 0, 0}},
        {L"savelog", {Op::kSaveLog, L"", 0, 0}},
        {L"hold", {Op::kHold, L"", 0, 0}},
        {L"abortpoll", {Op::kAbortPoll, L"", kAbortPollDefaultMs, 0}},
        {L"abortpoll 250", {Op::kAbortPoll, L"", 250, 0}},
        {L"sleep 100", {Op::kSleep, L"", 100, 0}},
        {L"  return 4\r", {Op::kReturn, L"", 4, 0}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseLine(c.line), c.command) << c.line;
}

TEST(ScriptedScript, MalformedLinesAreUnknownAndKeepTheirText) {
    for (const wchar_t* line : {L"progress", L"progress ten", L"progress 5x", L"sub 1", L"sub 1 2 3", L"xml 1",
                                L"color 0xFF", L"hold on", L"Text capitalised", L"frobnicate 3", L"return"}) {
        Command command = ParseLine(line);
        EXPECT_EQ(command.op, Op::kUnknown) << line;
        EXPECT_EQ(command.text, line);
    }
}

TEST(ScriptedScript, ScriptSkipsBlankLinesAndTheByteOrderMark) {
    std::vector<Command> script = ParseScript(L"\xFEFFtext one\r\n\r\n   \n\tlog two\nreturn 1");
    std::vector<Command> expected = {{Op::kText, L"one", 0, 0}, {Op::kLog, L"two", 0, 0}, {Op::kReturn, L"", 1, 0}};
    EXPECT_EQ(script, expected);
    EXPECT_TRUE(ParseScript(L"").empty());
}

TEST(ScriptedScript, TextsCarryLineEnds) {
    EXPECT_EQ(ParseLine(L"text one\\ntwo\\\\n").text, L"one\r\ntwo\\n");
    EXPECT_EQ(ParseLine(L"log a\\x").text, L"a\\x");
    EXPECT_EQ(ParseLine(L"setlogdir C:\\new\\logs").text, L"C:\\new\\logs");  // folders are taken as written
}
