#pragma once
class CVideoModule;

// Video Test #1: 0 passed, 1 failed, 2 cancelled, 3 screen not in landscape.
int Run2DTest(CVideoModule& module);
