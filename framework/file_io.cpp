#include "file_io.h"

#include <windows.h>

#include "unique_resource.h"

namespace fw {

std::optional<std::string> ReadFileBytes(const std::wstring& path) {
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string bytes;
    char chunk[64 * 1024];
    DWORD read = 0;
    for (;;) {
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) return std::nullopt;
        if (read == 0) return bytes;
        bytes.append(chunk, read);
    }
}

}  // namespace fw
