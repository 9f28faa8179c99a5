// The window-free parts of the test helpers: command lines, environment blocks
// and BMP files.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>
#include <cstring>

#include "bmp_file.h"
#include "framework/unique_resource.h"
#include "launch_text.h"

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

}  // namespace
}  // namespace testsupport
