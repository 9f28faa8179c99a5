// A stand-in for the visual-styles library: hands out theme data, fills
// backgrounds with a colour per state and records every call.
#include <windows.h>

#include <cwchar>

#include "fake_theme.h"

namespace {
FakeThemeRecord g_record;
int g_theme;  // its address is the only theme handle handed out
}  // namespace

extern "C" {

__declspec(dllexport) FakeThemeRecord* WINAPI FakeThemeLog() { return &g_record; }

__declspec(dllexport) HANDLE WINAPI OpenThemeData(HWND, LPCWSTR classList) {
    ++g_record.opened;
    std::wcsncpy(g_record.lastClass, classList ? classList : L"", 31);
    return &g_theme;
}

__declspec(dllexport) HRESULT WINAPI CloseThemeData(HANDLE theme) {
    if (theme != &g_theme) return E_HANDLE;
    ++g_record.closed;
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI DrawThemeBackground(HANDLE theme, HDC dc, int part, int state, const RECT* rect,
                                                         const RECT*) {
    if (theme != &g_theme || !rect) return E_INVALIDARG;
    ++g_record.backgrounds;
    g_record.lastPart = part;
    g_record.lastState = state;
    ::SetDCBrushColor(dc, FakeThemeColour(state));
    ::FillRect(dc, rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    return S_OK;
}

__declspec(dllexport) HRESULT WINAPI DrawThemeParentBackground(HWND, HDC, const RECT*) {
    ++g_record.parentBackgrounds;
    return S_OK;
}

}  // extern "C"
