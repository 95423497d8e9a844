// The scan pages (130 create, 135 modify, 138 status) and the status list
// page (139). All four fill the frame's page area (312 x 212 units); the
// titles below are the templates' own and are replaced by the language
// file's texts when a page starts.

#include "CommCtrl.h"
#include "Controls.h"
#include "Resource.h"
#include "ScanPagesRes.h"
#include "WizardRes.h"

namespace {

using namespace rc;

const DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_SETFONT;

// A scan page: the title, the bar's placeholder and the result line below it,
// which has room for two lines of the bold status font (the page makes it
// taller when it lists the answers the scan set aside).
DialogTemplate ScanPage(const char* title, int statusId, std::vector<DialogItemTemplate> extra = {}) {
  DialogTemplate page{kPageStyle, 0, 0, 0, 312, 212, "", "MS Sans Serif", 8, "", {
      LText(title, IDC_SCAN_TITLE, 12, 36, 288, 16, SS_NOPREFIX),
      Control("", IDC_SCAN_PROGRESS, PROGRESS_CLASS, 0, 12, 84, 288, 12),
      LText("", statusId, 12, 108, 288, 28, SS_NOPREFIX),
  }};
  for (DialogItemTemplate& item : extra) page.items.push_back(item);
  return page;
}

const DialogTemplate kScanNewAp =
    ScanPage("Scanning Unconfigured AP in LAN...", IDC_SCAN_NEW_STATUS,
             {Hidden(EditText(IDC_SCAN_NEW_SPARE, 12, 170, 100, 12, ES_AUTOHSCROLL))});
const DialogTemplate kModifyScan = ScanPage("Scanning existing AP Vezovi in LAN...", IDC_MODIFY_SCAN_STATUS);
const DialogTemplate kStatusScan = ScanPage("Scanning existing AP Vezovi in Lan... ...", IDC_STATUS_SCAN_STATUS);

// The status list: a band across the top framing the title, the list below.
const DialogTemplate kStatusList = {
    kPageStyle, 0, 0, 0, 312, 212, "", "MS Sans Serif", 8, "", {
        LText("AP Status", IDC_STATUS_LIST_TITLE, 10, 9, 200, 12, SS_NOPREFIX),
        GroupBox("", IDC_STATUS_LIST_FRAME, 0, 0, 312, 28),
        Control("", IDC_STATUS_LIST, WC_LISTVIEW, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP,
                0, 32, 312, 180),
    }};

const ResourceRegistrar kRegister([] {
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_SCAN_NEW_AP), &kScanNewAp);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_MODIFY_SCAN), &kModifyScan);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_STATUS_SCAN), &kStatusScan);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_STATUS_LIST), &kStatusList);
});

}  // namespace
