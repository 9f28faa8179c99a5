#pragma once
// What the stand-in visual-styles library recorded; read by the tests through
// its FakeThemeLog export.
#include <windows.h>

struct FakeThemeRecord {
    LONG opened;             // OpenThemeData calls that returned theme data
    LONG closed;             // CloseThemeData calls
    LONG parentBackgrounds;  // DrawThemeParentBackground calls
    LONG backgrounds;        // DrawThemeBackground calls
    int lastPart;
    int lastState;
    wchar_t lastClass[32];
};

using FakeThemeLogFunction = FakeThemeRecord*(WINAPI*)();

// The stand-in fills a background with a colour that tells the state.
inline COLORREF FakeThemeColour(int state) { return RGB(40 * state, 20, 30); }
