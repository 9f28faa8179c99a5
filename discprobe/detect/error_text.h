#pragma once
// Last-error texts of the recorder holders: the failed call, then " - Error:0x%08x".
#include <windows.h>

#include <string>

namespace discprobe {

std::wstring ErrorText(const std::wstring& call, HRESULT hr);

}  // namespace discprobe
