// Control ids of the apply page (template IDD_PAGE_APPLY). The value controls
// are hidden: the page fills them itself before each write, and its variable
// lists carry them to and from the devices.
#pragma once

#define IDC_APPLY_LOG 1030
#define IDC_APPLY_STORE 1104
#define IDC_APPLY_USERS_NAME 1011
#define IDC_APPLY_USERS_PASSWORD 1012
#define IDC_APPLY_GROUP_NAME 1021
#define IDC_APPLY_GROUP_STATUS 1022
#define IDC_APPLY_MODE_SELECT 1023
#define IDC_APPLY_GROUP_PASSWORD 1024
#define IDC_APPLY_SETTING_APPLY 1025
#define IDC_APPLY_RESTART 1026
#define IDC_APPLY_AP_MODE 1027
#define IDC_APPLY_VERSION 1045
#define IDC_APPLY_SYNC_SSID 1105
#define IDC_APPLY_SYNC_SSIDVISI 1106
#define IDC_APPLY_SYNC_AUTOCHANNEL 1107
#define IDC_APPLY_SYNC_SECURITY 1108
#define IDC_APPLY_SYNC_LOGIN 1109
