// discsim.dll: an in-process server of the recorder service's disc master,
// recorder and data-format classes for simulated drives (scenario.h). Once
// loaded it also answers the simulated drives' pass-through requests and
// announces drives that come and go (volume_notices.h).
#include <windows.h>

#include "pass_through_sim.h"
#include "scenario.h"
#include "sim_objects.h"
#include "volume_notices.h"

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    if (!discsim::ScenarioConfigured()) {
        if (object) *object = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    // The redirected imports point into this library: it must stay loaded.
    HMODULE self = nullptr;
    ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCWSTR>(&DllGetClassObject), &self);
    discsim::InstallPassThroughRedirection();
    discsim::StartVolumeNotices();
    return discsim::GetClassObject(clsid, iid, object);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() { return S_FALSE; }
