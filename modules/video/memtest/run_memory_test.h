#pragma once
class CVideoModule;

// Video Test #2: 0 passed, 1 failed, 2 cancelled.
int RunMemoryTest(CVideoModule& module);
