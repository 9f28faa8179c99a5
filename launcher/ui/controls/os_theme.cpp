#include "os_theme.h"

#include <cwchar>

#include "framework/library_loading.h"

namespace launcher {

namespace {

// Looks `name` up in `library` now and calls it; 0 when either is missing.
template <typename Result, typename... Args>
Result CallByName(HMODULE library, const char* name, Args... args) {
    FARPROC address = library ? ::GetProcAddress(library, name) : nullptr;
    if (!address) return Result{};
    return reinterpret_cast<Result(WINAPI*)(Args...)>(address)(args...);
}

// A further reference to an already loaded library.
fw::UniqueModule AddReference(HMODULE library) {
    HMODULE added = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(library), &added);
    return fw::UniqueModule(added);
}

}  // namespace

CThemeData& CThemeData::operator=(CThemeData&& other) noexcept {
    if (this != &other) {
        reset();
        m_library = std::move(other.m_library);
        m_theme = std::exchange(other.m_theme, nullptr);
    }
    return *this;
}

void CThemeData::reset() noexcept {
    if (m_theme) CallByName<HRESULT, HTHEME>(m_library.get(), "CloseThemeData", std::exchange(m_theme, nullptr));
    m_library.reset();
}

// A bare name is the platform's library, from the system folder.
COSTheme::COSTheme(const wchar_t* library) noexcept
    : m_library(std::wcschr(library, L'\\') ? ::LoadLibraryW(library) : fw::LoadSystemLibrary(library)) {}

CThemeData COSTheme::OpenThemeData(HWND window, LPCWSTR classList) const {
    HTHEME theme = CallByName<HTHEME, HWND, LPCWSTR>(m_library.get(), "OpenThemeData", window, classList);
    if (!theme) return {};
    return CThemeData(AddReference(m_library.get()), theme);
}

HRESULT COSTheme::DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect) const {
    return CallByName<HRESULT, HTHEME, HDC, int, int, const RECT*, const RECT*>(
        m_library.get(), "DrawThemeBackground", theme, dc, part, state, &rect, nullptr);
}

HRESULT COSTheme::DrawThemeParentBackground(HWND child, HDC dc, const RECT& rect) const {
    return CallByName<HRESULT, HWND, HDC, const RECT*>(m_library.get(), "DrawThemeParentBackground", child, dc,
                                                       &rect);
}

}  // namespace launcher
