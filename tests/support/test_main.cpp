// Entry point of every test program (they are built as Unicode console programs).
#include <gtest/gtest.h>
#include <windows.h>

int wmain(int argc, wchar_t** argv) {
    // No crash dialog may stop an unattended test run.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    // Join the bench's desktop for the whole run: Wine closes a desktop when its
    // last user leaves, and a program started right then finds it gone.
    ::GetDesktopWindow();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
