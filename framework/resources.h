#pragma once
// Where this binary looks up its resources. Every binary links its own copy of
// the framework, so each has its own current resource module: the launcher's
// uistrings.dll does not leak into a test module, whose langpack.dll is its own.
#include <windows.h>
#include <string>

namespace fw {

// The binary (exe or dll) this code is linked into.
HMODULE OwnModule() noexcept;

// The module searched first for strings, dialogs, menus and icons; the own module
// when none was set.
HMODULE CurrentResourceModule() noexcept;
void SetCurrentResourceModule(HMODULE module) noexcept;

// Loads string `id` from the current resource module, then from the own module.
// A missing id gives an empty text.
std::wstring LoadStr(UINT id);

// Loads string `id` from one module only.
std::wstring LoadStrFrom(HMODULE module, UINT id);

// The first of (current resource module, own module) that holds the resource.
HMODULE FindResourceModule(LPCWSTR name, LPCWSTR type) noexcept;

// Makes a module the current resource module for the lifetime of this object.
class ScopedResourceModule {
public:
    explicit ScopedResourceModule(HMODULE module) noexcept : m_previous(CurrentResourceModule()) {
        SetCurrentResourceModule(module);
    }
    ~ScopedResourceModule() { SetCurrentResourceModule(m_previous); }
    ScopedResourceModule(const ScopedResourceModule&) = delete;
    ScopedResourceModule& operator=(const ScopedResourceModule&) = delete;

private:
    HMODULE m_previous;
};

}  // namespace fw
