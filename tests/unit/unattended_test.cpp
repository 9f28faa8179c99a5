// The rules of a launch nobody watches, as tables.
#include <gtest/gtest.h>

#include "unattended.h"

using namespace launcher;

TEST(Unattended, ABoxIsAnsweredWithItsDefaultButton) {
    const std::pair<UINT, int> table[] = {
        {MB_OK, IDOK}, {MB_OKCANCEL, IDOK}, {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDYES},
        {MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2, IDNO}, {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON2, IDRETRY}, {MB_RETRYCANCEL, IDRETRY},
        {MB_CANCELTRYCONTINUE | MB_DEFBUTTON3, IDCONTINUE},
        {MB_YESNO | MB_DEFBUTTON3, IDYES},        // no third button: the first
        {MB_OK | MB_HELP | MB_DEFBUTTON2, IDOK},  // Help closes nothing
        {0xF, IDOK},                              // no such button set
    };
    for (auto [style, answer] : table) EXPECT_EQ(DefaultButton(style), answer) << std::hex << style;
}

TEST(Unattended, ExitCodeFollowsTheWorstVerdict) {
    const std::pair<RunOutcome, int> table[] = {
        {{}, -1}, {{.nothingToRun = true}, 3}, {{.failed = 1}, 1}, {{.stopped = 2}, 2},
        {{.failed = 1, .stopped = 1}, 1}, {{.stopped = 1, .broken = true}, 1},
    };
    for (auto [outcome, code] : table) EXPECT_EQ(ExitCodeFor(outcome), code) << outcome.failed << outcome.stopped;
}
