#pragma once
// Resource and control numbers of the boxer test program, shared with the tests that drive it.
#define IDD_BOXER 100
#define IDC_BOXER_NOTE 1001
#define IDC_BOXER_FOLDER 1002
#define IDC_BOXER_DONE 1003
