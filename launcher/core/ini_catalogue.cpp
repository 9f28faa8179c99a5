#include "ini_catalogue.h"

#include <windows.h>
#include <algorithm>
#include <cwctype>
#include <vector>

#include "framework/file_io.h"
#include "framework/module_path.h"
#include "text_util.h"

namespace launcher {

namespace {

constexpr DWORD kValueChars = 50;    // 49 usable
constexpr DWORD kTestDocChars = 512;  // 511 usable

class IniFile {
public:
    explicit IniFile(std::wstring path) : m_path(std::move(path)) {}

    std::wstring Text(const std::wstring& section, const std::wstring& key, DWORD chars = kValueChars) const {
        std::vector<wchar_t> buffer(chars, L'\0');
        DWORD length = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(), chars,
                                                  m_path.c_str());
        return std::wstring(buffer.data(), std::min<DWORD>(length, chars - 1));
    }

    // A count key: negative values mean none, and no table here holds more than `limit`.
    int Count(const std::wstring& section, int limit) const {
        int value = static_cast<int>(::GetPrivateProfileIntW(section.c_str(), L"NUM", 0, m_path.c_str()));
        return std::clamp(value, 0, limit);
    }

    // The full count (for loops that may skip entries), never negative.
    long long RawCount(const std::wstring& section) const {
        int value = static_cast<int>(::GetPrivateProfileIntW(section.c_str(), L"NUM", 0, m_path.c_str()));
        return std::max(value, 0);
    }

private:
    std::wstring m_path;
};

std::wstring Indexed(const wchar_t* prefix, long long i) { return prefix + std::to_wstring(i); }

bool Contains(const std::wstring& text, const wchar_t* part) { return text.find(part) != std::wstring::npos; }

int IsProgramFile(const std::wstring& testFile) { return Contains(ToUpper(testFile), L".DLL") ? 0 : 1; }

// The fields every kind of row reads from its own section.
void ReadRowDetails(const IniFile& ini, const std::wstring& languageDir, const std::wstring& section,
                    TestEntry& row) {
    row.testSubdir = ini.Text(section, L"TESTFILE_SUBDIR");
    row.logOption = ini.Text(section, L"LOG_OPTION");
    ApplyWindowType(ToUpper(ini.Text(section, L"WINDOW_TYPE")), row.windowType);
    row.repeatText = ini.Text(section, L"REPEAT_ENABLE");
    row.repeatDefault = LeadingDecimal(row.repeatText);
    row.manualText = LoadManualText(languageDir, ini.Text(section, L"TESTMANUAL"));
}

void ReadModeFlags(const IniFile& ini, unsigned& modeFlags) {
    std::wstring type = ToUpper(ini.Text(L"TYPE", L"TYPE"));
    if (!Contains(type, L"BUNDLE") && Contains(type, L"RECOVERY")) {
        modeFlags |= mode::kRecovery;
        if (Contains(type, L"DIVRECOVERY")) modeFlags |= mode::kDividedRecovery;
    }
    if (Contains(ToUpper(ini.Text(L"TYPE", L"SUBTYPE")), L"FULLTEST")) modeFlags |= mode::kFullTest;
    if (Contains(ToUpper(ini.Text(L"TYPE", L"CONSTRUCTION")), L"PLUGIN"))
        modeFlags &= ~mode::kStandalone;
    else
        modeFlags |= mode::kStandalone;
}

void ReadFastCheck(const IniFile& ini, const std::wstring& languageDir, bool recovery, bool showPcCard,
                   CatalogueResult& result) {
    if (recovery) {
        // Recovery names are counted but not listed: the fast-check list stays empty.
        result.fastCheckCount = ini.Count(L"RECOVERYCHECK", kMaxCatalogueRows);
        result.fastCheckManual = LoadManualText(languageDir, ini.Text(L"RECOVERYCHECK", L"TESTMANUAL"));
        return;
    }
    FastCheckList& list = result.fastCheck;
    long long n = ini.RawCount(L"FASTCHECK");
    for (long long i = 0; i < n && list.count < kMaxCatalogueRows; ++i) {
        std::wstring name = ini.Text(L"FASTCHECK", Indexed(L"TEST_", i));
        if (!showPcCard && Contains(name, L"pcmcia")) continue;
        list.names[list.count++] = name;
    }
    result.fastCheckCount = list.count;
    result.fastCheckManual = LoadManualText(languageDir, ini.Text(L"FASTCHECK", L"TESTMANUAL"));
}

void ReadComponentTests(const IniFile& ini, const std::wstring& languageDir, bool showPcCard,
                        TestCatalogue& catalogue) {
    long long n = ini.RawCount(L"COMPONUM");
    for (long long i = 0; i < n && !catalogue.full(); ++i) {
        std::wstring section = ini.Text(L"COMPOSECTION", Indexed(L"SECT_NAME_", i));
        std::wstring testFile = ini.Text(section, L"TESTFILE");
        if (!showPcCard && Contains(testFile, L"pcmcia")) continue;
        TestEntry& row = catalogue.rows[catalogue.count];
        row.testDoc = ini.Text(section, L"TESTDOC", kTestDocChars);
        row.testFile = testFile;
        row.isProgram = IsProgramFile(testFile);
        row.displayName = DisplayNameFromTestFile(testFile);
        ReadRowDetails(ini, languageDir, section, row);
        ++catalogue.count;
    }
}

void ReadDividedRecovery(const IniFile& ini, const std::wstring& languageDir, TestCatalogue& catalogue) {
    catalogue = TestCatalogue{};
    catalogue.count = ini.Count(L"RECDIVINUM", kMaxCatalogueRows);
    for (int i = 0; i < catalogue.count; ++i) {
        std::wstring section = Indexed(L"RECMODULE_", i);
        TestEntry& row = catalogue.rows[i];
        row.displayName = ini.Text(section, L"TESTNAME");
        row.testDoc = ini.Text(section, L"TESTDOC", kTestDocChars);
        row.testFile = ini.Text(section, L"TESTFILE");
        row.isProgram = IsProgramFile(row.testFile);
        ReadRowDetails(ini, languageDir, section, row);
    }
}

std::wstring DecodeText(const std::string& bytes) {
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text((bytes.size() - 2) / 2, L'\0');
        std::copy_n(bytes.data() + 2, text.size() * 2, reinterpret_cast<char*>(text.data()));
        return text;
    }
    size_t skip = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    const char* data = bytes.data() + skip;
    int size = static_cast<int>(bytes.size() - skip);
    if (size == 0) return {};
    UINT codePage = CP_UTF8;
    int chars = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, data, size, nullptr, 0);
    if (chars == 0) {
        codePage = CP_ACP;  // not UTF-8: an older file in the system's code page
        chars = ::MultiByteToWideChar(CP_ACP, 0, data, size, nullptr, 0);
    }
    std::wstring text(static_cast<size_t>(chars), L'\0');
    ::MultiByteToWideChar(codePage, 0, data, size, text.data(), chars);
    return text;
}

}  // namespace

void ApplyWindowType(const std::wstring& text, int& windowType) {
    if (Contains(text, L"DEFAULT"))
        windowType = kWindowDefault;
    else if (Contains(text, L"PROMPT"))
        windowType = kWindowPrompt;
    else if (Contains(text, L"DIALOG"))
        windowType = kWindowDialog;
}

std::wstring DisplayNameFromTestFile(const std::wstring& testFile) {
    std::wstring name = ToUpper(testFile);
    size_t dot = name.find(L'.');
    if (dot != std::wstring::npos && dot > 0) name.resize(dot);
    if (EqualsIgnoringCase(name, L"SD")) return L"SD";
    if (EqualsIgnoringCase(name, L"MemoryStick")) return L"MemoryStick";
    if (name.size() == 3 || Contains(name, L"ROM")) return name;
    name = ToLower(name);
    // Only a letter gets a capital; a leading dot or digit stays as it is.
    if (!name.empty()) name[0] = ToUpper(name.substr(0, 1))[0];
    return name;
}

std::wstring LoadManualText(const std::wstring& languageDir, const std::wstring& name) {
    if (name.empty()) return {};
    std::optional<std::string> bytes = fw::ReadFileBytes(languageDir + name);
    if (!bytes) return {};
    std::wstring text = DecodeText(*bytes);

    std::wstring result;
    result.reserve(text.size() + text.size() / 16);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L'\n', start);
        size_t next = end == std::wstring::npos ? text.size() : end + 1;
        size_t lineEnd = end == std::wstring::npos ? text.size() : end;
        if (lineEnd > start && text[lineEnd - 1] == L'\r') --lineEnd;
        result.append(text, start, lineEnd - start).append(L"\r\n");
        start = next;
    }
    return result;
}

void LoadIniCatalogue(const std::wstring& languageDir, int pcCardSwitch, const CatalogueAppender& appendMore,
                      CatalogueResult& result, unsigned& modeFlags) {
    std::wstring path = languageDir + L"initest.ini";
    if (!fw::PathExists(path)) return;
    IniFile ini(path);
    bool showPcCard = pcCardSwitch != 0;

    ReadModeFlags(ini, modeFlags);
    bool recovery = (modeFlags & mode::kRecovery) != 0;
    ReadFastCheck(ini, languageDir, recovery, showPcCard, result);
    if (!recovery) {
        ReadComponentTests(ini, languageDir, showPcCard, result.catalogue);
        if (appendMore) appendMore(result.catalogue);
    }
    if (modeFlags & mode::kDividedRecovery) ReadDividedRecovery(ini, languageDir, result.catalogue);
}

}  // namespace launcher
