#pragma once
// Identifiers of the video module's texts. Plain macros, because the resource
// compiler reads this header as well as the module's C++ code. The same ids
// are used in langpack.dll, whose texts take precedence when it is present.

// Run frame and verdicts
#define IDS_VIDEO_ABORT 4
#define IDS_VIDEO_START 97
#define IDS_VIDEO_NO_ERRORS 108
#define IDS_VIDEO_ERRORS 109
#define IDS_VIDEO_OK 111
#define IDS_VIDEO_FAILED 112
#define IDS_VIDEO_PASS_HEADER 168
#define IDS_VIDEO_ERROR_BANNER 169
#define IDS_VIDEO_ERRORS_ACCELERATION 198
#define IDS_VIDEO_CANCELLED 205
#define IDS_VIDEO_PORTRAIT_SCREEN 228
#define IDS_VIDEO_NOTE_CAPTION 275
#define IDS_VIDEO_NOTE_TEXT 276

// Sub-test titles, running labels and resolution lines
#define IDS_VIDEO_TEST1_TITLE 113
#define IDS_VIDEO_TEST2_TITLE 114
#define IDS_VIDEO_TEST3_TITLE 110
#define IDS_VIDEO_TEST1_RUNNING 98
#define IDS_VIDEO_TEST2_RUNNING 100
#define IDS_VIDEO_TEST3_RUNNING 99
#define IDS_VIDEO_2D_RESOLUTION 103
#define IDS_VIDEO_3D_RESOLUTION 101

// Set-up and pattern failures
#define IDS_VIDEO_2D_INIT_FAILED 102
#define IDS_VIDEO_WINDOW_INIT_FAILED 104
#define IDS_VIDEO_D3D_INIT_FAILED 105
#define IDS_VIDEO_DDRAW_INIT_FAILED 106
#define IDS_VIDEO_PATTERN1_FAILED 115
#define IDS_VIDEO_PATTERN2_FAILED 116
#define IDS_VIDEO_PATTERN3_FAILED 117
#define IDS_VIDEO_NO_TEXTURE 152

// Video memory test details and progress line
#define IDS_VIDEO_MEM_SECTION 126
#define IDS_VIDEO_MEM_SECTION_SIZE 127
#define IDS_VIDEO_MEM_OFFSET 128
#define IDS_VIDEO_MEM_WRITE 129
#define IDS_VIDEO_MEM_READ 130
#define IDS_VIDEO_MEM_LOCAL 131
#define IDS_VIDEO_MEM_EMPTY_CELL 133
#define IDS_VIDEO_MEM_TESTED 134

// A display taken by another window during a sub-test
#define IDS_VIDEO_DISPLAY_BACK 410
#define IDS_VIDEO_DISPLAY_NOT_BACK 411
// Faulty pixels of one check, in the log (400 to 409)
#define IDS_VIDEO_FAULTY_PIXELS 400
