#pragma once
// Ids shared by the controls test program and its dialog template.
#define IDD_CONTROLS_TEST 100
#define IDC_TAB_FRAME 1000
#define IDC_CLOSE_BUTTON 1022
#define IDC_PLAIN_STATIC 1035
#define IDC_INSTRUCTION 1047
#define IDC_PICTURE_BUTTON 1048
#define IDC_OUTPUT_PANE 1056
