#pragma once
// The catalogue of tests the launcher knows, the fast-check group and the rows
// of a run. All tables are fixed-size; nothing is ever added past their limits.
#include <array>
#include <string>

#include "hostlink/protocol.h"

namespace launcher {

constexpr int kMaxCatalogueRows = 40;
constexpr int kMaxRunRows = 40;
constexpr int kMaxModuleArguments = 64;

// Run-mode bits handed to every StartTest.
namespace mode = hostlink::mode;

enum WindowType { kWindowDefault = 0, kWindowPrompt = 1, kWindowDialog = 2 };

// Sets `windowType` from a text holding DEFAULT, PROMPT or DIALOG (tested in
// that order, case-sensitively); any other text leaves it as it was.
void ApplyWindowType(const std::wstring& text, int& windowType);

struct TestEntry {
    int isProgram = 0;
    int windowType = kWindowDefault;
    std::wstring logOption;
    std::wstring testFile;
    std::wstring testSubdir;
    std::wstring displayName;
    std::wstring repeatText;
    int repeatDefault = 0;
    std::wstring manualText;
    std::wstring testDoc;
};

struct TestCatalogue {
    std::array<TestEntry, kMaxCatalogueRows> rows{};
    int count = 0;

    bool full() const { return count >= kMaxCatalogueRows; }
};

struct FastCheckList {
    std::array<std::wstring, kMaxCatalogueRows> names{};
    int count = 0;
};

struct RunRow {
    std::wstring moduleFile;
    std::wstring displayName;
    int quick = 0;
};

struct RunList {
    std::array<RunRow, kMaxRunRows> rows{};
    int count = 0;
};

// What reading the catalogue files yields.
struct CatalogueResult {
    TestCatalogue catalogue;
    FastCheckList fastCheck;
    int fastCheckCount = 0;  // in a recovery catalogue the RECOVERYCHECK count; FastCheckList stays empty
    std::wstring fastCheckManual;
};

}  // namespace launcher
