#pragma once
// Late-bound access to the visual-styles library. The library is loaded by name
// and every function is looked up by name on each call, so the launcher runs
// where the library or one of its functions is missing: such a call does
// nothing and returns 0.
#include <windows.h>
#include <uxtheme.h>

#include <utility>

#include "framework/unique_resource.h"

namespace launcher {

inline constexpr wchar_t kThemeLibrary[] = L"UxTheme.dll";

// Open theme data, closed on destruction. It holds its own reference to the
// library that opened it, so it may outlive or be moved apart from its COSTheme.
class CThemeData {
public:
    CThemeData() = default;
    CThemeData(fw::UniqueModule library, HTHEME theme) noexcept
        : m_library(std::move(library)), m_theme(theme) {}
    ~CThemeData() { reset(); }
    CThemeData(CThemeData&& other) noexcept
        : m_library(std::move(other.m_library)), m_theme(std::exchange(other.m_theme, nullptr)) {}
    CThemeData& operator=(CThemeData&& other) noexcept;

    HTHEME get() const noexcept { return m_theme; }
    explicit operator bool() const noexcept { return m_theme != nullptr; }
    void reset() noexcept;

private:
    fw::UniqueModule m_library;  // released after the theme data is closed
    HTHEME m_theme = nullptr;
};

class COSTheme {
public:
    // `library` is the file name to load; tests give one that does not exist.
    explicit COSTheme(const wchar_t* library = kThemeLibrary) noexcept;

    // Empty when the library, the function or the theme is not available.
    CThemeData OpenThemeData(HWND window, LPCWSTR classList) const;
    HRESULT DrawThemeBackground(HTHEME theme, HDC dc, int part, int state, const RECT& rect) const;
    HRESULT DrawThemeParentBackground(HWND child, HDC dc, const RECT& rect) const;

private:
    fw::UniqueModule m_library;
};

}  // namespace launcher
