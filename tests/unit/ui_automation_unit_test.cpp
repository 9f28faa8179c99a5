// The window-free parts of the test helpers: command lines, environment blocks,
// BMP files and uidriver's arguments.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <cstring>

#include "bmp_file.h"
#include "framework/unique_resource.h"
#include "launch_text.h"
#include "uidriver_args.h"

namespace testsupport {
namespace {

std::vector<std::wstring> SplitThePlatformsWay(const std::wstring& arguments) {
    int count = 0;
    fw::UniqueLocal argv(reinterpret_cast<HLOCAL>(::CommandLineToArgvW((L"prog.exe " + arguments).c_str(), &count)));
    auto* first = reinterpret_cast<wchar_t**>(argv.get());
    return std::vector<std::wstring>(first + 1, first + count);
}

TEST(LaunchText, ArgumentsSurviveThePlatformsSplitting) {
    const std::vector<std::wstring> arguments = {
        L"plain", L"two words", L"", L"say \"hi\"", L"C:\\Program Files\\", L"a\\\\b", L"tail\\\"", L"\t"};
    EXPECT_EQ(SplitThePlatformsWay(JoinArguments(arguments)), arguments);
}

TEST(LaunchText, PlainArgumentsStayUnquoted) {
    EXPECT_EQ(QuoteArgument(L"/video"), L"/video");
    EXPECT_EQ(QuoteArgument(L"C:\\dir\\x.exe"), L"C:\\dir\\x.exe");
    EXPECT_EQ(QuoteArgument(L""), L"\"\"");
}

std::vector<std::wstring> EntriesOf(const std::wstring& block) {
    std::vector<std::wstring> entries;
    for (size_t start = 0; start < block.size() && block[start]; start = block.find(L'\0', start) + 1)
        entries.push_back(block.c_str() + start);
    return entries;
}

TEST(LaunchText, EnvironmentOverridesReplaceWithoutCaseAndAddTheRest) {
    const std::vector<std::wstring> inherited = {L"=C:=C:\\work", L"Path=C:\\windows", L"ProgramData=C:\\ProgramData"};
    std::wstring block =
        MakeEnvironmentBlock(inherited, {{L"PROGRAMDATA", L"C:\\temp\\pd"}, {L"SUITE_NOTE", L"hello world"}});
    ASSERT_GE(block.size(), 2u);
    EXPECT_EQ(block.substr(block.size() - 2), std::wstring(2, L'\0'));
    EXPECT_EQ(EntriesOf(block), (std::vector<std::wstring>{L"=C:=C:\\work", L"Path=C:\\windows",
                                                           L"PROGRAMDATA=C:\\temp\\pd", L"SUITE_NOTE=hello world"}));
}

TEST(LaunchText, EmptyEnvironmentIsTwoNuls) { EXPECT_EQ(MakeEnvironmentBlock({}, {}), std::wstring(2, L'\0')); }

TEST(BmpFile, HeadersDescribeTheRowsThatFollow) {
    Image24 image;
    image.width = 3;  // 9 bytes of pixels, padded to 12
    image.height = 2;
    image.rows.assign(Image24::StrideFor(3) * 2, 0);
    image.rows[0] = 0x11;  // blue of the bottom-left pixel
    std::string bytes = EncodeBmp(image);
    ASSERT_EQ(bytes.size(), 14u + 40u + 24u);

    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    std::memcpy(&file, bytes.data(), sizeof(file));
    std::memcpy(&info, bytes.data() + sizeof(file), sizeof(info));
    EXPECT_EQ(file.bfType, 0x4D42);
    EXPECT_EQ(file.bfSize, bytes.size());
    EXPECT_EQ(file.bfOffBits, 54u);
    EXPECT_EQ(info.biSize, 40u);
    EXPECT_EQ(info.biWidth, 3);
    EXPECT_EQ(info.biHeight, 2);
    EXPECT_EQ(info.biBitCount, 24);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(info.biSizeImage, 24u);
    EXPECT_EQ(static_cast<uint8_t>(bytes[54]), 0x11);
}

TEST(BmpFile, InconsistentImagesGiveNoFile) {
    Image24 empty;
    EXPECT_TRUE(EncodeBmp(empty).empty());
    Image24 shortRows;
    shortRows.width = 3;
    shortRows.height = 2;
    shortRows.rows.assign(18, 0);  // rows without their padding
    EXPECT_TRUE(EncodeBmp(shortRows).empty());
}

TEST(DriverArguments, ReadsEachCommand) {
    DriverArguments shot = ParseDriverArguments({L"screenshot", L"C:\\s\\a.bmp"});
    ASSERT_TRUE(shot.command);
    EXPECT_EQ(shot.command->action, DriverAction::Screenshot);
    EXPECT_EQ(shot.command->file, L"C:\\s\\a.bmp");

    DriverArguments box = ParseDriverArguments({L"answer-box", L"--button", L"no", L"--timeout", L"5"});
    ASSERT_TRUE(box.command);
    EXPECT_EQ(box.command->action, DriverAction::AnswerBox);
    EXPECT_EQ(box.command->button, IDNO);
    EXPECT_EQ(box.command->timeoutMs, 5000u);

    DriverArguments plainBox = ParseDriverArguments({L"answer-box"});
    ASSERT_TRUE(plainBox.command);
    EXPECT_FALSE(plainBox.command->button);  // the box's own default
    EXPECT_EQ(plainBox.command->timeoutMs, 30000u);

    DriverArguments wait = ParseDriverArguments({L"wait-window", L"--timeout", L"0", L"--title", L"Main window"});
    ASSERT_TRUE(wait.command);
    EXPECT_EQ(wait.command->action, DriverAction::WaitWindow);
    EXPECT_EQ(wait.command->title, L"Main window");
    EXPECT_EQ(wait.command->timeoutMs, 0u);
}

TEST(DriverArguments, RejectsBadCommandLinesWithAReason) {
    const std::vector<std::vector<std::wstring>> bad = {
        {},
        {L"click"},
        {L"screenshot"},
        {L"screenshot", L"a.bmp", L"b.bmp"},
        {L"answer-box", L"--button", L"maybe"},
        {L"answer-box", L"--button"},
        {L"answer-box", L"--title", L"x"},
        {L"answer-box", L"--timeout", L"-1"},
        {L"answer-box", L"--timeout", L"1.5"},
        {L"answer-box", L"--timeout", L"99999999999999999999"},
        {L"answer-box", L"--timeout", L"3601"},
        {L"wait-window"},
        {L"wait-window", L"--timeout", L"3"},
        {L"wait-window", L"--title", L"x", L"--button", L"ok"},
    };
    for (const auto& args : bad) {
        DriverArguments parsed = ParseDriverArguments(args);
        std::wstring line;
        for (const auto& a : args) line += a + L" ";
        EXPECT_FALSE(parsed.command) << "accepted: " << testing::PrintToString(line);
        EXPECT_FALSE(parsed.error.empty());
    }
}

}  // namespace
}  // namespace testsupport
