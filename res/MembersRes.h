// Resource ids of the member pages (templates 132 and 140) and the manual IP
// dialog (template 141): their controls and the two drag pictures.
#pragma once

// Templates beyond the page ids of WizardRes.h.
#define IDD_MANUAL_IP 141

// The drag pictures: one row, several rows.
#define IDB_DRAG_ONE_ROW 148
#define IDB_DRAG_ROWS 149

// Controls shared by the templates.
#define IDC_MEM_IP_FROM 1017
#define IDC_MEM_MASK 1018
#define IDC_MEM_GATEWAY 1019
#define IDC_MEM_MASK_LABEL 1038
#define IDC_MEM_GATEWAY_LABEL 1112

// The member page (132).
#define IDC_MEM_UNCONFIG_CAPTION 1012
#define IDC_MEM_UNCONFIG_LIST 1013
#define IDC_MEM_MEMBER_CAPTION 1014
#define IDC_MEM_MEMBER_LIST 1015
#define IDC_MEM_AUTO_CHECK 1016
#define IDC_MEM_UNCONFIG_FRAME 1109
#define IDC_MEM_MEMBER_FRAME 1110
#define IDC_MEM_IP_FROM_LABEL 1111
#define IDC_MEM_AUTO_FRAME 1114
#define IDC_MEM_AUTO_CAPTION 1115

// The modify member page (140).
#define IDC_MOD_GROUP_LIST 1030
#define IDC_MOD_MEMBER_LIST 1031
#define IDC_MOD_UNCONFIG_LIST 1032
#define IDC_MOD_MEMBER_CAPTION 1033
#define IDC_MOD_UNCONFIG_CAPTION 1034
#define IDC_MOD_UNUSED_LIST 1035
#define IDC_MOD_IP_FROM_LABEL 1036
#define IDC_MOD_GROUP_NAME 1041
#define IDC_MOD_GROUP_PASSWORD 1012
#define IDC_MOD_NAME_LABEL 1129
#define IDC_MOD_PASSWORD_LABEL 1130
#define IDC_MOD_MEMBER_FRAME 1131
#define IDC_MOD_UNCONFIG_FRAME 1132
#define IDC_MOD_AUTO_FRAME 1172
#define IDC_MOD_GROUP_FRAME 1173
#define IDC_MOD_GROUP_CAPTION 1205
#define IDC_MOD_AUTO_CAPTION 1206

// The manual IP dialog (141).
#define IDC_MAN_IP 1017
#define IDC_MAN_MASK 1047
#define IDC_MAN_GATEWAY 1048
#define IDC_MAN_MASK_LABEL 1038
#define IDC_MAN_IP_LABEL 1111
#define IDC_MAN_GATEWAY_LABEL 1112
