#pragma once
// The one place where the video module gets its DirectDraw 7 object.
//
//   class IDirectDrawFactory {
//       virtual HRESULT Create(fw::ComPtr<IDirectDraw7>& out) = 0;
//   };
//   IDirectDrawFactory& SystemDirectDrawFactory();  // DirectDrawCreateEx of the system's ddraw.dll
//
// Production code asks CVideoModule::DirectDraw() for the factory and calls
// Create; on failure `out` stays null and the HRESULT is the platform's (or the
// fake's). Tests construct CVideoModule with a fake factory
// (tests/doubles/fake_ddraw) whose objects can refuse modes, fail creation,
// lose surfaces and corrupt what is read back.
#include <windows.h>
#include <ddraw.h>

#include "framework/com.h"

namespace video {

class IDirectDrawFactory {
public:
    virtual ~IDirectDrawFactory() = default;
    // A new DirectDraw 7 object for the default display device.
    virtual HRESULT Create(fw::ComPtr<IDirectDraw7>& out) = 0;
};

IDirectDrawFactory& SystemDirectDrawFactory();

}  // namespace video
