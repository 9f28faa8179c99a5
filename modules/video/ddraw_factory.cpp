#include "ddraw_factory.h"

namespace video {

namespace {

class SystemFactory final : public IDirectDrawFactory {
public:
    HRESULT Create(fw::ComPtr<IDirectDraw7>& out) override {
        // The created object's reference goes to `out` as it is (mingw's ComPtr::Attach would add one).
        return ::DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()), IID_IDirectDraw7,
                                    nullptr);
    }
};

}  // namespace

IDirectDrawFactory& SystemDirectDrawFactory() {
    static SystemFactory factory;
    return factory;
}

}  // namespace video
