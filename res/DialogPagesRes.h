// Resource ids of the wizard's message box, the two password dialogs, the
// group name page and the two completion pages, with their shared background
// picture. The page template ids themselves are in WizardRes.h.
#pragma once

// Dialog templates.
#define IDD_SKIN_MESSAGE_BOX 149
#define IDD_DEVICE_PASSWORD 148
#define IDD_GROUP_PASSWORD 142

// The picture behind the message box and the password dialogs.
#define IDB_DIALOG_BACKDROP 159
#define IDB_DIALOG_BACKDROP_WIDTH 373
#define IDB_DIALOG_BACKDROP_HEIGHT 207

// Message box (149); IDOK and IDCANCEL are the two-button form's pair.
#define IDC_MSGBOX_SINGLE_OK 3
#define IDC_MSGBOX_TEXT 1208

// Device password dialog (148).
#define IDC_DEVPASS_PASSWORD 1045
#define IDC_DEVPASS_IP_LABEL 1111
#define IDC_DEVPASS_IP 1150
#define IDC_DEVPASS_MAC 1151
#define IDC_DEVPASS_PASSWORD_LABEL 1175
#define IDC_DEVPASS_MAC_LABEL 1201

// Group password dialog (142).
#define IDC_GRPPASS_PASSWORD 1022
#define IDC_GRPPASS_NAME 1047
#define IDC_GRPPASS_NAME_LABEL 1174
#define IDC_GRPPASS_PASSWORD_LABEL 1175

// Group name page (131).
#define IDC_GROUPNAME_NAME 1011
#define IDC_GROUPNAME_PASSWORD 1012
#define IDC_GROUPNAME_NAME_LABEL 1107
#define IDC_GROUPNAME_PASSWORD_LABEL 1108
#define IDC_GROUPNAME_NOTICE 1210

// Completion pages (147, 137).
#define IDC_DONE_MESSAGE 1026
#define IDC_DONE_NOTICE 1027
#define IDC_DONE_TITLE 1126
