#include "resources.h"

#include <atomic>

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace fw {

namespace {
std::atomic<HMODULE> g_currentResourceModule{nullptr};
}

HMODULE OwnModule() noexcept { return reinterpret_cast<HMODULE>(&__ImageBase); }

HMODULE CurrentResourceModule() noexcept {
    HMODULE current = g_currentResourceModule.load();
    return current ? current : OwnModule();
}

void SetCurrentResourceModule(HMODULE module) noexcept { g_currentResourceModule.store(module); }

std::wstring LoadStrFrom(HMODULE module, UINT id) {
    // With a zero buffer size LoadStringW hands back a pointer into the
    // resource itself, so strings of any length load whole.
    const wchar_t* text = nullptr;
    int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text) return {};
    return std::wstring(text, static_cast<size_t>(length));
}

std::wstring LoadStr(UINT id) {
    HMODULE current = CurrentResourceModule();
    std::wstring text = LoadStrFrom(current, id);
    if (text.empty() && current != OwnModule()) text = LoadStrFrom(OwnModule(), id);
    return text;
}

HMODULE FindResourceModule(LPCWSTR name, LPCWSTR type) noexcept {
    HMODULE current = CurrentResourceModule();
    if (::FindResourceW(current, name, type)) return current;
    if (current != OwnModule() && ::FindResourceW(OwnModule(), name, type)) return OwnModule();
    return nullptr;
}

}  // namespace fw
