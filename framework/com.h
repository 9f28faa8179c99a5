#pragma once
// COM building blocks: one exception type that carries the failing HRESULT,
// a checked-call helper and a scoped apartment.
#include <windows.h>
#include <objbase.h>
#include <wrl/client.h>
#include <stdexcept>
#include <string>

namespace fw {

template <typename T>
using ComPtr = Microsoft::WRL::ComPtr<T>;

class HResultError : public std::runtime_error {
public:
    HResultError(HRESULT hr, const char* what);
    HRESULT code() const noexcept { return m_hr; }

private:
    HRESULT m_hr;
};

// Throws HResultError naming the failed call unless hr succeeded.
inline void ThrowIfFailed(HRESULT hr, const char* call) {
    if (FAILED(hr)) throw HResultError(hr, call);
}

// CoInitialize for the current thread; only a successful call is paired with CoUninitialize.
class ComApartment {
public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : m_hr(::CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_hr)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    bool ok() const noexcept { return SUCCEEDED(m_hr); }
    HRESULT result() const noexcept { return m_hr; }

private:
    HRESULT m_hr;
};

}  // namespace fw
