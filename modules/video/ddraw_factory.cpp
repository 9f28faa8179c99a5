#include "ddraw_factory.h"

#include "framework/library_loading.h"

namespace video {

namespace {

using DirectDrawCreateExProc = HRESULT(WINAPI*)(GUID*, void**, REFIID, IUnknown*);

class SystemFactory final : public IDirectDrawFactory {
public:
    HRESULT Create(fw::ComPtr<IDirectDraw7>& out) override {
        // Not imported: loaded from the system folder, and kept for the life of the process.
        static const HMODULE library = fw::LoadSystemLibrary(L"ddraw.dll");
        const auto create =
            library ? reinterpret_cast<DirectDrawCreateExProc>(::GetProcAddress(library, "DirectDrawCreateEx")) : nullptr;
        if (!create) return DDERR_NODIRECTDRAWSUPPORT;
        // The created object's reference goes to `out` as it is (mingw's ComPtr::Attach would add one).
        return create(nullptr, reinterpret_cast<void**>(out.ReleaseAndGetAddressOf()), IID_IDirectDraw7, nullptr);
    }
};

}  // namespace

IDirectDrawFactory& SystemDirectDrawFactory() {
    static SystemFactory factory;
    return factory;
}

}  // namespace video
