// The security dialogs (WPA-Enterprise 143, WPA-Personal 144, WEP key 145,
// 802.1X 146), child dialogs without caption that the wireless settings pages
// show in their security area (about 290 x 139 units). Hidden combo boxes,
// edits and statics are the carriers that the pages bind to device variables.

#include <cstdio>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "Controls.h"
#include "Resource.h"
#include "SecurityRes.h"

namespace {

using namespace rc;

const DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL;
const DWORD kCarrier = CBS_DROPDOWNLIST | WS_VSCROLL;
const DWORD kPassword = ES_PASSWORD | ES_AUTOHSCROLL;

std::vector<std::string> Numbers(int count) {
  std::vector<std::string> items;
  char text[4];
  for (int i = 0; i < count; ++i) {
    std::snprintf(text, sizeof text, "%02d", i);
    items.push_back(text);
  }
  return items;
}

DialogTemplate ChildDialog(int cx, int cy, std::vector<DialogItemTemplate> items) {
  return DialogTemplate{WS_CHILD | DS_CONTROL | DS_SETFONT, 0, 0, 0, cx, cy, "", "MS Sans Serif", 8, "",
                        std::move(items)};
}

const DialogTemplate kWpaPersonal = ChildDialog(
    290, 130,
    {
        LText("PassPhrase Settings", IDC_SEC_HEADING, 4, 0, 200, 14),
        LText("WPA Mode", IDC_WPAP_MODE_LABEL, 4, 20, 50, 10),
        ComboBox(IDC_WPAP_MODE, 56, 18, 90, 80, kDropList, {"Auto(WPA or WPA2)", "WPA2 Only", "WPA Only"}),
        LText("Cipher Type", IDC_WPAP_CIPHER_LABEL, 152, 20, 62, 10),
        ComboBox(IDC_WPAP_CIPHER, 214, 18, 70, 80, kDropList, {"Auto", "AES", "TKIP"}),
        Hidden(ComboBox(IDC_WPAP_CIPHER_CARRIER, 250, 0, 30, 60, kCarrier)),
        LText("Group Key Update Interval", IDC_WPAP_GKUI_LABEL, 4, 36, 124, 10),
        EditText(IDC_WPAP_GKUI, 130, 34, 50, 12, ES_AUTOHSCROLL),
        LText("(Second)", IDC_WPAP_GKUI_UNIT, 184, 36, 60, 10),
        AutoRadioButton("Manual", IDC_WPAP_MANUAL, 4, 50, 60, 12, WS_GROUP | WS_TABSTOP),
        AutoRadioButton("Periodical Key Change", IDC_WPAP_PERIODICAL, 70, 50, 120, 12),
        Hidden(ComboBox(IDC_WPAP_REKEY_CARRIER, 250, 48, 30, 60, kCarrier | WS_GROUP)),
        LText("PassPhrase", IDC_WPAP_KEY_LABEL, 4, 68, 124, 10),
        EditText(IDC_WPAP_KEY, 130, 66, 150, 12, kPassword),
        Hidden(EditText(IDC_WPAP_AUTO_KEY, 130, 66, 150, 12, ES_AUTOHSCROLL | WS_DISABLED)),
        LText("Confirm PassPhrase", IDC_WPAP_KEYCOM_LABEL, 4, 84, 124, 10),
        EditText(IDC_WPAP_KEYCOM, 130, 82, 150, 12, kPassword),
        LText("Activated From", IDC_WPAP_START_LABEL, 4, 100, 124, 10),
        ComboBox(IDC_WPAP_WEEKDAY, 130, 98, 40, 80, kDropList, {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}),
        LText(":", IDC_WPAP_SEPARATOR2, 172, 100, 5, 10),
        ComboBox(IDC_WPAP_HOUR, 178, 98, 30, 80, kDropList, Numbers(24)),
        LText(":", IDC_WPAP_SEPARATOR1, 210, 100, 5, 10),
        ComboBox(IDC_WPAP_MINUTE, 216, 98, 30, 80, kDropList, Numbers(60)),
        Hidden(ComboBox(IDC_WPAP_WEEKDAY_CARRIER, 250, 96, 30, 60, kCarrier)),
        Hidden(EditText(IDC_WPAP_START_CARRIER, 250, 110, 30, 12)),
        LText("Time Interval", IDC_WPAP_INTERVAL_LABEL, 4, 116, 124, 10),
        EditText(IDC_WPAP_INTERVAL, 130, 114, 40, 12, ES_AUTOHSCROLL),
        LText("(1~168)hour(s)", IDC_WPAP_INTERVAL_UNIT, 174, 116, 80, 10),
    });

const DialogTemplate kWepKey = ChildDialog(
    290, 114,
    {
        LText("Key Setting", IDC_SEC_HEADING, 4, 0, 200, 14),
        LText("Encryption", IDC_WEP_ENCRY_LABEL, 4, 20, 80, 10),
        AutoRadioButton("Disable", IDC_WEP_DISABLE, 90, 18, 50, 12, WS_GROUP | WS_TABSTOP),
        AutoRadioButton("Enable", IDC_WEP_ENABLE, 145, 18, 50, 12),
        Hidden(ComboBox(IDC_WEP_ENCRY_CARRIER, 250, 0, 30, 60, kCarrier | WS_GROUP)),
        LText("Key Type", IDC_WEP_TYPE_LABEL, 4, 36, 80, 10),
        ComboBox(IDC_WEP_TYPE, 90, 34, 70, 60, kDropList, {"ASCII", "HEX"}),
        Hidden(ComboBox(IDC_WEP_TYPE_CARRIER, 250, 16, 30, 60, kCarrier)),
        LText("Key Size", IDC_WEP_SIZE_LABEL, 4, 52, 80, 10),
        ComboBox(IDC_WEP_SIZE, 90, 50, 70, 60, kDropList, {"64 bits", "128 bits"}),
        LText("Key Index(1~4)", IDC_WEP_INDEX_LABEL, 4, 68, 80, 10),
        ComboBox(IDC_WEP_INDEX, 90, 66, 70, 80, kDropList, {"First", "Second", "Third", "Fourth"}),
        Hidden(ComboBox(IDC_WEP_INDEX_CARRIER, 250, 32, 30, 60, kCarrier)),
        LText("Network Key", IDC_WEP_KEY_LABEL, 4, 84, 80, 10),
        EditText(IDC_WEP_KEY, 90, 82, 180, 12, kPassword),
        LText("Confirm Key", IDC_WEP_KEYCOM_LABEL, 4, 100, 80, 10),
        EditText(IDC_WEP_KEYCOM, 90, 98, 180, 12, kPassword),
        Hidden(Control("", IDC_WEP_TABLE, WC_LISTVIEW, LVS_REPORT | WS_BORDER, 200, 50, 80, 40)),
        Hidden(LText("", IDC_WEP_ROW_IFINDEX, 250, 66, 18, 10)),
        Hidden(LText("", IDC_WEP_ROW_KEYINDEX, 270, 66, 18, 10)),
    });

// The enterprise dialogs are laid out in pixels: the page shows only their
// top 150 (802.1X) or 200 (WPA-Enterprise) pixels, and their start-up moves
// the primary RADIUS group up by pixels into the gap of the hidden server-mode
// row (50 for the title, frame, server and port, 40 for the secret, which is
// why the secret row sits 10 pixels closer to the port row here than after).
int UnitsX(int px) { return (px * 2 + 1) / 3; }
int UnitsY(int px) { return (px * 8 + 6) / 13; }
#define PX(x, y, w, h) UnitsX(x), UnitsY(y), UnitsX((x) + (w)) - UnitsX(x), UnitsY((y) + (h)) - UnitsY(y)

// Columns of the server rows: label, server (and secret) field, port label, port field.
const int kLabelWidth = 94, kFieldX = 112, kPortLabelX = 242, kPortX = 332;

DialogItemTemplate Frame(int id, int x, int y, int w, int h) {
  return Control("", id, "Button", BS_GROUPBOX, PX(x, y, w, h));
}
DialogItemTemplate Label(const char* text, int id, int x, int y, int w) { return LText(text, id, PX(x, y, w, 16)); }
DialogItemTemplate Field(int id, int x, int y, int w, DWORD style = ES_AUTOHSCROLL) {
  return EditText(id, PX(x, y, w, 20), style);
}
DialogItemTemplate IpField(int id, int x, int y) {
  return Control("", id, WC_IPADDRESS, WS_TABSTOP, PX(x, y, 120, 20), WS_EX_CLIENTEDGE);
}
DialogItemTemplate Radio(const char* text, int id, int x, int y, DWORD style = 0) {
  return AutoRadioButton(text, id, PX(x, y, 74, 18), style);
}
DialogItemTemplate Carrier(int id, int y) { return Hidden(ComboBox(id, PX(400, y, 30, 80), kCarrier | WS_GROUP)); }

// A server group below what the page shows: its title, server, port and
// secret, with the frame around them.
void AddServerGroup(std::vector<DialogItemTemplate>& items, int frameId, int titleId, const char* title, int top,
                    int serverId, int portId, int secretId, const char* what) {
  items.push_back(Frame(frameId, 8, top, 418, 76));
  items.push_back(Label(title, titleId, 16, top + 2, 330));
  items.push_back(Label((std::string(what) + " Server ").c_str(), -1, 16, top + 23, kLabelWidth));
  items.push_back(IpField(serverId, kFieldX, top + 20));
  items.push_back(Label((std::string(what) + " Port ").c_str(), -1, kPortLabelX, top + 23, kLabelWidth));
  items.push_back(Field(portId, kPortX, top + 20, 80));
  items.push_back(Label((std::string(what) + " Secret ").c_str(), -1, 16, top + 43, kLabelWidth));
  items.push_back(Field(secretId, kFieldX, top + 40, 300, kPassword));
}

struct EnterpriseIds {
  int title, modeTitle, priTitle, secTitle, accTitle, acc2Title;
  int modeLabel, priServerLabel, priPortLabel, priSecretLabel, accModeLabel;
  int outer, napFrame, modeFrame, priFrame, secFrame, accFrame, acc2Frame;
};

// The rows from the server-mode group down, which both dialogs share; `top`
// is where the server-mode group starts.
void AddRadiusRows(std::vector<DialogItemTemplate>& items, const EnterpriseIds& ids, int top) {
  items.push_back(Frame(ids.modeFrame, 8, top, 418, 46));
  items.push_back(Label("RADIUS Server Mode", ids.modeTitle, 16, top + 2, 200));
  items.push_back(Label("RADIUS Server", ids.modeLabel, 16, top + 24, 120));
  items.push_back(Radio("External", IDC_EAP_EXTERNAL, 186, top + 22, WS_GROUP | WS_TABSTOP));
  items.push_back(Radio("Internal", IDC_EAP_INTERNAL, 262, top + 22));
  items.push_back(Carrier(IDC_EAP_SOURCE_CARRIER, top));

  const int primary = top + 50;
  items.push_back(Frame(ids.priFrame, 8, primary, 418, 76));
  items.push_back(Label("Primary RADIUS Server Setting", ids.priTitle, 16, primary + 2, 330));
  items.push_back(Label("RADIUS Server ", ids.priServerLabel, 16, primary + 23, kLabelWidth));
  items.push_back(IpField(IDC_EAP_PRI_SERVER, kFieldX, primary + 20));
  items.push_back(Label("RADIUS Port ", ids.priPortLabel, kPortLabelX, primary + 23, kLabelWidth));
  items.push_back(Field(IDC_EAP_PRI_PORT, kPortX, primary + 20, 80));
  items.push_back(Label("RADIUS Secret ", ids.priSecretLabel, 16, primary + 43, kLabelWidth));
  items.push_back(Field(IDC_EAP_PRI_SECRET, kFieldX, primary + 40, 300, kPassword));

  const int backup = primary + 88;
  AddServerGroup(items, ids.secFrame, ids.secTitle, "Backup RADIUS Server Setting (Optional)", backup,
                 IDC_EAP_SEC_SERVER, IDC_EAP_SEC_PORT, IDC_EAP_SEC_SECRET, "RADIUS");

  const int accounting = backup + 84;
  items.push_back(Frame(ids.accFrame, 8, accounting, 418, 100));
  items.push_back(Label("Primary Accounting Server Setting (Optional)", ids.accTitle, 16, accounting + 2, 330));
  items.push_back(Label("Accounting Mode", ids.accModeLabel, 16, accounting + 23, kLabelWidth));
  items.push_back(ComboBox(IDC_EAP_ACC_MODE, PX(kFieldX, accounting + 20, 100, 80), kDropList | CBS_SORT,
                           {"Disable", "Enable"}));
  items.push_back(Carrier(IDC_EAP_ACC_CARRIER, accounting));
  items.push_back(Label("Accounting Server ", -1, 16, accounting + 47, kLabelWidth));
  items.push_back(IpField(IDC_EAP_ACC_SERVER, kFieldX, accounting + 44));
  items.push_back(Label("Accounting Port ", -1, kPortLabelX, accounting + 47, kLabelWidth));
  items.push_back(Field(IDC_EAP_ACC_PORT, kPortX, accounting + 44, 80));
  items.push_back(Label("Accounting Secret ", -1, 16, accounting + 71, kLabelWidth));
  items.push_back(Field(IDC_EAP_ACC_SECRET, kFieldX, accounting + 68, 300, kPassword));

  AddServerGroup(items, ids.acc2Frame, ids.acc2Title, "Backup Accounting Server Setting (Optional)",
                 accounting + 108, IDC_EAP_ACC2_SERVER, IDC_EAP_ACC2_PORT, IDC_EAP_ACC2_SECRET, "Accounting");
}

const EnterpriseIds kDot1xIds = {IDC_D1X_TITLE,         IDC_D1X_MODE_TITLE,       IDC_D1X_PRI_TITLE,
                                 IDC_D1X_SEC_TITLE,     IDC_D1X_ACC_TITLE,        IDC_D1X_ACC2_TITLE,
                                 IDC_D1X_MODE_LABEL,    IDC_D1X_PRI_SERVER_LABEL, IDC_D1X_PRI_PORT_LABEL,
                                 IDC_D1X_PRI_SECRET_LABEL, IDC_D1X_ACC_MODE_LABEL, IDC_D1X_FRAME_OUTER,
                                 IDC_D1X_FRAME_NAP,     IDC_D1X_FRAME_MODE,       IDC_D1X_FRAME_PRI,
                                 IDC_D1X_FRAME_SEC,     IDC_D1X_FRAME_ACC,        IDC_D1X_FRAME_ACC2};
const EnterpriseIds kWpaIds = {IDC_WPAE_TITLE,         IDC_WPAE_MODE_TITLE,       IDC_WPAE_PRI_TITLE,
                               IDC_WPAE_SEC_TITLE,     IDC_WPAE_ACC_TITLE,        IDC_WPAE_ACC2_TITLE,
                               IDC_WPAE_MODE_LABEL,    IDC_WPAE_PRI_SERVER_LABEL, IDC_WPAE_PRI_PORT_LABEL,
                               IDC_WPAE_PRI_SECRET_LABEL, IDC_WPAE_ACC_MODE_LABEL, IDC_WPAE_FRAME_OUTER,
                               IDC_WPAE_FRAME_NAP,     IDC_WPAE_FRAME_MODE,       IDC_WPAE_FRAME_PRI,
                               IDC_WPAE_FRAME_SEC,     IDC_WPAE_FRAME_ACC,        IDC_WPAE_FRAME_ACC2};

// 802.1X: the network-access-protection row is there but hidden, so the
// server-mode group follows the key interval directly.
DialogTemplate Dot1xTemplate() {
  const EnterpriseIds& ids = kDot1xIds;
  std::vector<DialogItemTemplate> items = {
      LText("RADIUS Server Settings", ids.title, PX(6, 0, 300, 22)),
      Frame(ids.outer, 0, 20, 434, 440),
      Label("Group Key Update Interval ", IDC_EAP_GKUI_LABEL, 12, 29, 166),
      Field(IDC_EAP_GKUI, 180, 26, 70),
      Label("(Second)", IDC_EAP_GKUI_UNIT, 256, 29, 70),
      Hidden(Frame(ids.napFrame, 8, 52, 418, 46)),
      Hidden(Label("Network Access Protection ", IDC_EAP_NAP_LABEL, 16, 76, 160)),
      Hidden(Radio("Disable", IDC_EAP_NAP_DISABLE, 186, 74, WS_GROUP | WS_TABSTOP)),
      Hidden(Radio("Enable", IDC_EAP_NAP_ENABLE, 262, 74)),
      Carrier(IDC_EAP_NAP_CARRIER, 52),
  };
  AddRadiusRows(items, ids, 52);
  items.push_back(Hidden(PushButton("OK", IDOK, PX(340, 0, 40, 18))));
  items.push_back(Hidden(PushButton("Cancel", IDCANCEL, PX(386, 0, 40, 18))));
  return ChildDialog(290, 285, std::move(items));
}

// WPA-Enterprise: WPA mode and cipher, the key interval, then the
// network-access-protection group with its own title (which also names the
// row, so its second label stays hidden).
DialogTemplate WpaEnterpriseTemplate() {
  const EnterpriseIds& ids = kWpaIds;
  std::vector<DialogItemTemplate> items = {
      LText("RADIUS Server Settings", ids.title, PX(6, 0, 300, 22)),
      Frame(ids.outer, 0, 20, 434, 480),
      Label("WPA Mode", IDC_EAP_WPA_MODE_LABEL, 12, 29, 72),
      ComboBox(IDC_EAP_WPA_MODE, PX(86, 26, 140, 80), kDropList, {"Auto (WPA or WPA2)", "WPA2 Only", "WPA Only"}),
      Label("Cipher Type ", IDC_EAP_CIPHER_LABEL, 236, 29, 80),
      ComboBox(IDC_EAP_CIPHER, PX(318, 26, 100, 80), kDropList, {"Auto", "AES", "TKIP"}),
      Carrier(IDC_EAP_CIPHER_CARRIER, 0),
      Carrier(IDC_EAP_UNUSED_COMBO, 20),
      Label("Group Key\rUpdate  \rInterval ", IDC_EAP_GKUI_LABEL, 12, 53, 170),
      Field(IDC_EAP_GKUI, 186, 50, 70),
      Label("(Second)", IDC_EAP_GKUI_UNIT, 262, 53, 70),
      Frame(ids.napFrame, 8, 74, 418, 26),
      Label("Network Access Protection", IDC_EAP_NAP_TITLE, 16, 80, 210),
      Hidden(Label("Network Access Protection ", IDC_EAP_NAP_LABEL, 16, 80, 210)),
      Radio("Disable", IDC_EAP_NAP_DISABLE, 232, 78, WS_GROUP | WS_TABSTOP),
      Radio("Enable", IDC_EAP_NAP_ENABLE, 310, 78),
      Carrier(IDC_EAP_NAP_CARRIER, 40),
  };
  AddRadiusRows(items, ids, 104);
  return ChildDialog(290, 313, std::move(items));
}

const DialogTemplate kDot1x = Dot1xTemplate();
const DialogTemplate kWpaEnterprise = WpaEnterpriseTemplate();

const ResourceRegistrar kRegistrar([] {
  PlatformAddDialog(MAKEINTRESOURCE(IDD_WPA_PERSONAL), &kWpaPersonal);
  PlatformAddDialog(MAKEINTRESOURCE(IDD_WEP_KEY), &kWepKey);
  PlatformAddDialog(MAKEINTRESOURCE(IDD_DOT1X_SECURITY), &kDot1x);
  PlatformAddDialog(MAKEINTRESOURCE(IDD_WPA_ENTERPRISE), &kWpaEnterprise);
});

}  // namespace
