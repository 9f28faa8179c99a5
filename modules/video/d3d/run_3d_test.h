#pragma once
#include "d3d_test.h"

class CVideoModule;

// Video Test #3: 0 passed, 1 failed, 2 cancelled.
int Run3DTest(CVideoModule& module);
// The same on a Direct3D and texture library of the caller's choice.
int Run3DTestWith(CVideoModule& module, const video3d::D3DTestPlatform& platform);

// The system's Direct3D 8, the module's texts and the program folder's artpack.dll.
video3d::D3DTestPlatform SystemD3DTestPlatform();
