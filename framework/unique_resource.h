#pragma once
// Move-only owners for platform handles. Each alias names the value that means
// "nothing held" and the call that releases it.
#include <windows.h>
#include <utility>

namespace fw {

template <typename Traits>
class UniqueResource {
public:
    using Value = typename Traits::Value;

    UniqueResource() noexcept = default;
    explicit UniqueResource(Value value) noexcept : m_value(value) {}
    ~UniqueResource() { reset(); }

    UniqueResource(const UniqueResource&) = delete;
    UniqueResource& operator=(const UniqueResource&) = delete;
    UniqueResource(UniqueResource&& other) noexcept : m_value(other.release()) {}
    UniqueResource& operator=(UniqueResource&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }

    Value get() const noexcept { return m_value; }
    explicit operator bool() const noexcept { return m_value != Traits::invalid(); }

    Value release() noexcept { return std::exchange(m_value, Traits::invalid()); }
    void reset(Value value = Traits::invalid()) noexcept {
        Value old = std::exchange(m_value, value);
        if (old != Traits::invalid()) Traits::close(old);
    }

private:
    Value m_value = Traits::invalid();
};

struct HandleTraits {
    using Value = HANDLE;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::CloseHandle(v); }
};
struct FileTraits {
    using Value = HANDLE;
    static Value invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Value v) noexcept { ::CloseHandle(v); }
};
struct ModuleTraits {
    using Value = HMODULE;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::FreeLibrary(v); }
};
template <typename T>
struct GdiObjectTraits {
    using Value = T;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::DeleteObject(v); }
};
struct DcTraits {
    using Value = HDC;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::DeleteDC(v); }
};
struct IconTraits {
    using Value = HICON;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::DestroyIcon(v); }
};
struct MenuTraits {
    using Value = HMENU;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::DestroyMenu(v); }
};
struct EventSourceTraits {
    using Value = HANDLE;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::DeregisterEventSource(v); }
};
struct LocalMemTraits {
    using Value = HLOCAL;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::LocalFree(v); }
};

using UniqueHandle = UniqueResource<HandleTraits>;   // events, threads, mutexes, processes
using UniqueFile = UniqueResource<FileTraits>;       // CreateFileW results
using UniqueModule = UniqueResource<ModuleTraits>;   // LoadLibraryW results
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueDc = UniqueResource<DcTraits>;         // CreateCompatibleDC results (memory DCs)
using UniqueIcon = UniqueResource<IconTraits>;
using UniqueMenu = UniqueResource<MenuTraits>;
using UniqueLocal = UniqueResource<LocalMemTraits>;  // LocalAlloc, CommandLineToArgvW
using UniqueEventSource = UniqueResource<EventSourceTraits>;  // RegisterEventSourceW results

}  // namespace fw
