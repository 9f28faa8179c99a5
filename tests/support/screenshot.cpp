#include "screenshot.h"

#include <windows.h>
#include <filesystem>
#include <fstream>

#include "framework/module_path.h"
#include "framework/unique_resource.h"

namespace testsupport {

namespace {
struct ScreenDcTraits {
    using Value = HDC;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::ReleaseDC(nullptr, v); }
};
struct MemoryDcTraits {
    using Value = HDC;
    static Value invalid() noexcept { return nullptr; }
    static void close(Value v) noexcept { ::DeleteDC(v); }
};
using UniqueScreenDc = fw::UniqueResource<ScreenDcTraits>;
using UniqueMemoryDc = fw::UniqueResource<MemoryDcTraits>;

// Keeps a GDI object selected into a DC for the life of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(::SelectObject(dc, object)) {}
    ~SelectedObject() { ::SelectObject(m_dc, m_old); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};
}  // namespace

std::optional<Image24> CaptureScreen() {
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    Image24 image;
    image.width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN);
    image.height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (image.width <= 0 || image.height <= 0) return std::nullopt;

    UniqueScreenDc screen(::GetDC(nullptr));
    if (!screen) return std::nullopt;
    UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
    if (!memory) return std::nullopt;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = image.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    fw::UniqueBitmap dib(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return std::nullopt;
    {
        SelectedObject selected(memory.get(), dib.get());
        if (!::BitBlt(memory.get(), 0, 0, image.width, image.height, screen.get(), left, top, SRCCOPY))
            return std::nullopt;
    }
    ::GdiFlush();
    const auto* first = static_cast<const uint8_t*>(bits);
    image.rows.assign(first, first + Image24::StrideFor(image.width) * static_cast<size_t>(image.height));
    return image;
}

bool SaveScreenshot(const std::wstring& path) {
    std::optional<Image24> image = CaptureScreen();
    if (!image) return false;
    std::string bytes = EncodeBmp(*image);
    if (bytes.empty()) return false;
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(fw::FolderOf(path)), ignored);
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(file.flush());
}

std::wstring SaveNamedScreenshot(const std::wstring& name) {
    std::wstring path = std::wstring(SUITE_SCREENS_DIR) + name + L".bmp";
    return SaveScreenshot(path) ? path : std::wstring();
}

}  // namespace testsupport
