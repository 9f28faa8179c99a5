#pragma once
class CVideoModule;

// Video Test #3: 0 passed, 1 failed, 2 cancelled.
int Run3DTest(CVideoModule& module);
