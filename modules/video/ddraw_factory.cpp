#include "ddraw_factory.h"

namespace video {

namespace {

class SystemFactory final : public IDirectDrawFactory {
public:
    HRESULT Create(fw::ComPtr<IDirectDraw7>& out) override {
        out.Reset();
        void* object = nullptr;
        HRESULT hr = ::DirectDrawCreateEx(nullptr, &object, IID_IDirectDraw7, nullptr);
        // Taken over as it is: mingw's ComPtr::Attach would add a reference and leak the object.
        if (SUCCEEDED(hr)) *out.ReleaseAndGetAddressOf() = static_cast<IDirectDraw7*>(object);
        return hr;
    }
};

}  // namespace

IDirectDrawFactory& SystemDirectDrawFactory() {
    static SystemFactory factory;
    return factory;
}

}  // namespace video
