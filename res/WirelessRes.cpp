// The wireless settings pages: 133 in the create flow, 136 in the modify flow.
// Child dialogs without caption that fill the frame's page area (312 x 212
// units): the band, SSID, channel and authentication rows on top, the
// security area (1008, hidden) below them where the page shows its security
// dialog, and the hidden carriers that the page binds to device variables.

#include "Controls.h"
#include "Resource.h"
#include "SecurityRes.h"
#include "WizardRes.h"

namespace {

using namespace rc;

const DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL;

// Where the two pages differ: the rows sit a few units apart, and the
// modify page's security area is a little lower and shorter.
struct PageRows {
  int band, ssid, channel, auth;
  int areaTop, areaHeight;
};

DialogTemplate WirelessPage(const PageRows& r) {
  return DialogTemplate{
      WS_CHILD | DS_CONTROL | DS_SETFONT,
      0,
      0, 0, 312, 212,
      "",
      "MS Sans Serif", 8,
      "",
      {
          LText("Wireless Band", IDC_WL_BAND_LABEL, 6, r.band + 2, 134, 10),
          ComboBox(IDC_WL_BAND, 140, r.band, 150, 80, kDropList | WS_DISABLED, {"2.4GHz", "5GHz"}),
          LText("Wireless Network Name(SSID)", IDC_WL_SSID_LABEL, 6, r.ssid + 2, 134, 10),
          EditText(IDC_WL_SSID, 140, r.ssid, 150, 12, ES_AUTOHSCROLL),
          LText("Channel", IDC_WL_CHANNEL_LABEL, 6, r.channel + 2, 54, 10),
          ComboBox(IDC_WL_CHANNEL, 140, r.channel, 50, 120, kDropList),
          AutoCheckBox("Auto Channel Scan", IDC_WL_AUTO_CHANNEL, 196, r.channel, 100, 12),
          LText("Authentication", IDC_WL_AUTH_LABEL, 6, r.auth + 2, 134, 10),
          ComboBox(IDC_WL_AUTH, 140, r.auth, 150, 80, kDropList),
          Hidden(GroupBox("", IDC_WL_SECURITY_AREA, 0, r.areaTop, 290, r.areaHeight)),
          Hidden(ScrollBar(IDC_WL_SECURITY_SCROLL, 294, r.areaTop + 2, 10, r.areaHeight - 4, SBS_VERT)),
          Hidden(EditText(IDC_WL_CHANNEL_CARRIER, 290, 0, 20, 12)),
          Hidden(EditText(IDC_WL_CHANNELS24_CARRIER, 290, 14, 20, 12)),
          Hidden(EditText(IDC_WL_CHANNELS5_CARRIER, 290, 28, 20, 12)),
          Hidden(ComboBox(IDC_WL_AUTH_CARRIER, 290, 42, 20, 80, kDropList)),
          Hidden(ComboBox(IDC_WL_BAND_CARRIER, 290, 56, 20, 80, kDropList)),
          Hidden(ComboBox(IDC_WL_MSSID_CARRIER, 290, 70, 20, 80, kDropList)),
          Hidden(EditText(IDC_WL_COUNTRY_CARRIER, 290, 84, 20, 12)),
      },
  };
}

const DialogTemplate kWireless = WirelessPage({2, 20, 38, 56, 73, 137});
const DialogTemplate kModifyWireless = WirelessPage({1, 19, 37, 55, 77, 133});

const ResourceRegistrar kRegistrar([] {
  PlatformAddDialog(MAKEINTRESOURCE(IDD_PAGE_WIRELESS), &kWireless);
  PlatformAddDialog(MAKEINTRESOURCE(IDD_PAGE_MODIFY_WIRELESS), &kModifyWireless);
});

}  // namespace
