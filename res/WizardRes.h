// Resource ids of the wizard: dialog templates, strings, the icon and the
// controls of the main dialog and the frames.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_MAIN_DIALOG 102
#define IDD_WIZARD_FRAME 129
#define IDD_PAGE_SCAN_NEW_AP 130
#define IDD_PAGE_GROUP_NAME 131
#define IDD_PAGE_MEMBER 132
#define IDD_PAGE_WIRELESS 133
#define IDD_PAGE_APPLY 134
#define IDD_PAGE_MODIFY_SCAN 135
#define IDD_PAGE_MODIFY_WIRELESS 136
#define IDD_PAGE_MODIFY_DONE 137
#define IDD_PAGE_STATUS_SCAN 138
#define IDD_PAGE_STATUS_LIST 139
#define IDD_PAGE_MODIFY_MEMBERS 140
#define IDD_PAGE_CREATE_DONE 147

// Strings and the program icon.
#define IDS_ABOUTBOX 101
#define IDR_MAINFRAME 128

// The system menu's About command.
#define IDM_ABOUTBOX 0x0010

// Controls of the main dialog.
#define IDC_MAIN_CREATE 1000
#define IDC_MAIN_MODIFY 1001
#define IDC_MAIN_STATUS 1002
#define IDC_MAIN_FRAME_AREA 1003
#define IDC_MAIN_WELCOME 1005
#define IDC_MAIN_SIDE_PANEL 1106
#define IDC_MAIN_TITLE 1132
#define IDC_MAIN_PICTURE 1133

// Controls of the About box.
#define IDC_ABOUT_NAME 1010
#define IDC_ABOUT_PURPOSE 1011

// Controls of a wizard frame.
#define IDC_WIZ_BACK 1004
#define IDC_WIZ_NEXT 1005
#define IDC_WIZ_CANCEL 1006
#define IDC_WIZ_FINISH 1007
#define IDC_WIZ_PAGE_AREA 1008
#define IDC_WIZ_TITLE 1209
