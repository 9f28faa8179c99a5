#pragma once
// Helpers for the launcher's own files: UTF-16 little-endian text, opened
// without sharing so that no other program sees a half-written file, or
// shared for reading where every write leaves a whole file.
#include <windows.h>
#include <string_view>

#include "framework/unique_resource.h"

namespace launcher {

constexpr std::wstring_view kByteOrderMark = L"\xFEFF";  // stored as FF FE

// CreateFileW with no sharing; `disposition` is CREATE_ALWAYS, OPEN_ALWAYS, ...
// A link is opened as itself, never followed, and anything but a plain disk
// file (a link, a device, a pipe) is refused: the handle is then empty.
fw::UniqueFile OpenExclusive(const std::wstring& path, DWORD access, DWORD disposition);
// The same, others may read meanwhile.
fw::UniqueFile OpenSharedForReading(const std::wstring& path, DWORD access, DWORD disposition);

// Writes the text's code units at the file's current position.
bool WriteUtf16(HANDLE file, std::wstring_view text);

}  // namespace launcher
