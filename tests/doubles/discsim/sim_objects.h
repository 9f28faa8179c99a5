#pragma once
// The simulated disc master, recorders and data-format objects.
#include <windows.h>

namespace discsim {

// Class object for one of the three simulated classes; CLASS_E_CLASSNOTAVAILABLE
// for any other class, or when no scenario is configured.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);

// Simulated objects alive in this process (to check that callers release them all).
long LiveObjectCount();

}  // namespace discsim
