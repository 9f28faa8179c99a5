#pragma once
// Resource and control numbers of the checker, shared by the code and discprobe.rc.
#define IDD_DISCPROBE 102
#define IDI_APPLICATION_ICON 132
#define IDI_DRIVE_ICON 134

#define IDC_DRIVE_LIST 1000
#define IDC_OK 1002
#define IDC_SUPPORTED_MEDIA 1004
#define IDC_HEADING 1005
#define IDC_CHECK_MEDIA_IN 1006
#define IDC_STATUS_LINE 1007
#define IDC_BOTTOM_BAND 1008
#define IDC_NEXT 1015
#define IDC_CANCEL 1016
#define IDC_MEDIA_LIST 1025
#define IDC_DRIVE_INFO_LIST 1026
#define IDC_INFO_HEADING 1027
#define IDC_DRIVE_INFO_LABEL -1
