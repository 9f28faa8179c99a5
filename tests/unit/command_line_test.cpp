#include <gtest/gtest.h>

#include "command_line.h"

using namespace launcher;

namespace {

TestCatalogue Catalogue(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> rows) {
    TestCatalogue catalogue;
    for (auto [file, name] : rows) {
        catalogue.rows[catalogue.count].testFile = file;
        catalogue.rows[catalogue.count].displayName = name;
        ++catalogue.count;
    }
    return catalogue;
}

std::vector<std::wstring> Files(const RunList& list) {
    std::vector<std::wstring> files;
    for (int i = 0; i < list.count; ++i) files.push_back(list.rows[i].moduleFile);
    return files;
}

}  // namespace

TEST(CommandLine, MemoryIsIgnoredInAnyCaseButMemoryDllIsKept) {
    CommandLine line = ParseCommandLineTokens({L"testdeck.exe", L"/MEMORY", L"/memory", L"/memory.dll", L"/Memory"});
    EXPECT_EQ(line.moduleArguments, std::vector<std::wstring>{L"memory.dll"});
}

TEST(CommandLine, HoldSwitchNeedsLowerCaseH) {
    EXPECT_TRUE(ParseCommandLineTokens({L"x", L"-h"}).keepOpen);
    EXPECT_TRUE(ParseCommandLineTokens({L"x", L"-hold"}).keepOpen);
    EXPECT_FALSE(ParseCommandLineTokens({L"x", L"-H"}).keepOpen);
    EXPECT_FALSE(ParseCommandLineTokens({L"x", L"h", L"/"}).keepOpen);
}

TEST(CommandLine, SlashAloneAndOtherTokensAreIgnored) {
    CommandLine line = ParseCommandLineTokens({L"/", L"video", L"-x", L"/video"});
    EXPECT_EQ(line.moduleArguments, std::vector<std::wstring>{L"video"});
}

TEST(CommandLine, AtMost64ModuleArguments) {
    std::vector<std::wstring> tokens{L"testdeck.exe"};
    for (int i = 0; i < 100; ++i) tokens.push_back(L"/m" + std::to_wstring(i));
    CommandLine line = ParseCommandLineTokens(tokens);
    ASSERT_EQ(line.moduleArguments.size(), 64u);
    EXPECT_EQ(line.moduleArguments.back(), L"m63");
}

TEST(CommandLine, PlatformSplitterHonoursQuotes) {
    CommandLine line = ParseCommandLine(L"\"C:\\Program Files\\x\\testdeck.exe\" \"/video\" -h");
    EXPECT_EQ(line.moduleArguments, std::vector<std::wstring>{L"video"});
    EXPECT_TRUE(line.keepOpen);
}

TEST(CommandLine, UnattendedAndTimeoutSwitchesGiveTheTimeLimit) {
    const std::tuple<std::vector<std::wstring>, bool, unsigned> table[] = {
        {{L"x"}, false, 0}, {{L"-unattended"}, true, 3600}, {{L"-unattended", L"-timeout:10"}, true, 10},
        {{L"-timeout:0", L"-unattended"}, true, 0}, {{L"-timeout:30"}, false, 30},
        {{L"-Unattended", L"-timeout:ten", L"-timeout:", L"-timeout:1234567890"}, false, 0},
    };
    for (const auto& [tokens, unattended, limit] : table) {
        CommandLine line = ParseCommandLineTokens(tokens);
        EXPECT_EQ(line.unattended, unattended) << tokens.back();
        EXPECT_EQ(TimeLimitSeconds(line), limit) << tokens.back();
    }
}

TEST(RunListBuilder, ArgumentIsLowerCasedAndMatchedAsPrefix) {
    TestCatalogue catalogue = Catalogue({{L"Video.dll", L"Upper"}, {L"video.dll", L"Video"}});
    RunList list = BuildRunList({L"Video"}, catalogue, {});
    ASSERT_EQ(list.count, 1);
    EXPECT_EQ(list.rows[0].moduleFile, L"video.dll");
    EXPECT_EQ(list.rows[0].displayName, L"Video");
    EXPECT_EQ(list.rows[0].quick, 0);
}

TEST(RunListBuilder, QuickThenVideoKeepsOrderAndAllowsRepeats) {
    TestCatalogue catalogue = Catalogue({{L"hdd.dll", L"HDD"}, {L"video.dll", L"Video"}, {L"lan.dll", L"LAN"}});
    FastCheckList fast;
    fast.names[0] = L"video.dll";
    fast.names[1] = L"missing.dll";  // no row: adds nothing
    fast.names[2] = L"hdd.dll";
    fast.count = 3;
    RunList list = BuildRunList({L"quick", L"video"}, catalogue, fast);
    EXPECT_EQ(Files(list), (std::vector<std::wstring>{L"video.dll", L"hdd.dll", L"video.dll"}));
    EXPECT_EQ(list.rows[0].quick, 1);
    EXPECT_EQ(list.rows[1].quick, 1);
    EXPECT_EQ(list.rows[2].quick, 0);
}

TEST(RunListBuilder, QuickMatchesFileNamesExactly) {
    TestCatalogue catalogue = Catalogue({{L"video.dll.bak", L"A"}, {L"Video.dll", L"B"}});
    FastCheckList fast;
    fast.names[0] = L"video.dll";
    fast.count = 1;
    EXPECT_EQ(BuildRunList({L"QUICK"}, catalogue, fast).count, 0);
}

TEST(RunListBuilder, UnknownModuleGivesEmptyList) {
    EXPECT_EQ(BuildRunList({L"nothing"}, Catalogue({{L"video.dll", L"Video"}}), {}).count, 0);
}

TEST(RunListBuilder, AtMost40Rows) {
    std::vector<std::wstring> arguments(64, L"video");
    RunList list = BuildRunList(arguments, Catalogue({{L"video.dll", L"Video"}}), {});
    EXPECT_EQ(list.count, kMaxRunRows);
}

TEST(CommandLine, BurnInSwitchesTakeWholeNumbersInRangeAndIgnoreTheRest) {
    const std::tuple<std::vector<std::wstring>, std::optional<unsigned>, std::optional<unsigned>, bool> table[] = {
        {{L"/video"}, std::nullopt, std::nullopt, false},
        {{L"-cycles:3", L"-for:100000", L"-stoponfail"}, 3u, 100000u, true},
        {{L"-cycles:0", L"-for:100001", L"-cycles:x", L"-for:", L"-StopOnFail"}, std::nullopt, std::nullopt, false},
        {{L"-cycles:100000", L"-cycles:-1", L"-for:1"}, 100000u, 1u, false},
    };
    for (const auto& [tokens, cycles, minutes, stopOnFail] : table) {
        BurnInPlan plan = ParseCommandLineTokens(tokens).burnIn;
        EXPECT_EQ(plan.cycles, cycles) << tokens[0];
        EXPECT_EQ(plan.minutes, minutes) << tokens[0];
        EXPECT_EQ(plan.stopOnFail, stopOnFail) << tokens[0];
        EXPECT_EQ(plan.Active(), cycles || minutes) << tokens[0];
    }
}
