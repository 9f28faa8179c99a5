#pragma once
// IUnknown for our fakes of platform interfaces: reference counting only (the
// code under test asks them for no other interface); deleted at count 0.
#include <windows.h>

template <typename Interface>
class ComFake : public Interface {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --m_references;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

protected:
    virtual ~ComFake() = default;

private:
    long m_references = 1;
};

// A method the code under test never calls.
#define FAKE_NOT_IMPLEMENTED(method, ...) \
    STDMETHOD(method)(__VA_ARGS__) override { return E_NOTIMPL; }
