// Control ids of the scan pages (templates 130, 135, 138) and of the status
// list page (139).
#pragma once

// The three scan pages.
#define IDC_SCAN_PROGRESS 1025  // placeholder of the skinned progress bar
#define IDC_SCAN_TITLE 1027
// The result line: each scan page has its own id.
#define IDC_SCAN_NEW_STATUS 1026
#define IDC_MODIFY_SCAN_STATUS 1076
#define IDC_STATUS_SCAN_STATUS 1127
// The create page's hidden edit.
#define IDC_SCAN_NEW_SPARE 1042

// The status list page.
#define IDC_STATUS_LIST 1024
#define IDC_STATUS_LIST_TITLE 1029
#define IDC_STATUS_LIST_FRAME 1128
