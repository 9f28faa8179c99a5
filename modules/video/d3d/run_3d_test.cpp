#include "run_3d_test.h"

// Not yet built: reports nothing and passes.
int Run3DTest(CVideoModule&) { return 0; }
