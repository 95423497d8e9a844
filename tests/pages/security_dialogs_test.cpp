// The security dialogs, each a child of a skinned host as the wireless page
// holds it, with their controls bound to real variable lists: validation as
// tables of input and message, loading and storing through the carriers, the
// show, hide and enable rules, the layout fix-up of the enterprise dialogs,
// and a picture of each (written to security-screens/ in the test's folder).

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "CRadiusSecurityDlg.h"
#include "CWepKeyDlg.h"
#include "CWirelessPage.h"
#include "CWizardApp.h"
#include "CWpaPersonalDlg.h"
#include "MibTables.h"
#include "RTSkin.h"
#include "SecurityRes.h"
#include "SecurityTestKit.h"
#include "SnmpControlVarList.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace fs = std::filesystem;

CWizardApp theApp;

namespace {

// A variable list of one of the device tables, owned by the test as the page owns its lists.
struct BoundList {
  BoundList(CWnd* owner, const SnmpVarItem* table, int itemType = 1, int keyCount = 0) : list(owner) {
    list.m_Request.m_VarList = SnmpVarList(table, itemType, keyCount);
  }
  void Set(int row, const char* value) { *list.m_Request.m_VarList.GetItem(row)->value = value; }
  std::string Value(int row) { return std::string(*list.m_Request.m_VarList.GetItem(row)->value); }
  // As a write collects them: every value emptied, then taken from the controls.
  void Collect() { list.CollectValues(); }
  SnmpControlVarList list;
};

class SecurityDialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static TempDir dir;
    UseLanguageFolder(dir, theApp);
    static CRTSkin skin;
    skin.LoadSkin((SourceDir() + "/res/Skin/vAdev/skin.ini").c_str());
    skin.EnableSkin(1);
  }

  void SetUp() override {
    RecordSkinMessages(messages);
    ASSERT_TRUE(OpenEmptyHost(host, 520, 560));
  }
  void TearDown() override {
    for (CDialog* dialog : dialogs) {
      dialog->DestroyWindow();
      delete dialog;
    }
    host.DestroyWindow();
    RegisterSkinMessage(nullptr);
    testkit::ResetWindows();
  }

  template <class Dialog>
  Dialog* Make() {
    auto* dialog = new Dialog(&host);
    dialogs.push_back(dialog);
    EXPECT_TRUE(dialog->Create(Dialog::IDD_TEMPLATE, &host));
    dialog->SetWindowPos(nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    dialog->ShowWindow(SW_SHOW);
    return dialog;
  }

  std::string LangText(const char* key) { return std::string(theApp.Text(key)); }
  // The one message shown since the last call, and where the focus went.
  std::string TakeMessage() {
    std::string text = messages.size() == 1 ? messages[0] : messages.empty() ? "" : "(several)";
    messages.clear();
    return text;
  }
  int FocusId() {
    HWND focus = ::GetFocus();
    return focus ? ::GetDlgCtrlID(focus) : 0;
  }
  void SaveScreen(CWnd* dialog, const std::string& name) {
    testkit::PumpPending();
    fs::create_directories("security-screens");
    EXPECT_TRUE(testkit::CaptureWindowPng(dialog->m_hWnd, "security-screens/" + name + ".png"));
  }

  CRTDialog host;
  std::vector<CDialog*> dialogs;
  std::vector<std::string> messages;
};

void SetText(CWnd* dialog, int id, const char* text) { dialog->GetDlgItem(id)->SetWindowText(text); }
bool Visible(CWnd* dialog, int id) { return dialog->GetDlgItem(id)->IsWindowVisible() != FALSE; }
bool Enabled(CWnd* dialog, int id) { return dialog->GetDlgItem(id)->IsWindowEnabled() != FALSE; }

}  // namespace

// The dialogs give their template ids under one name for Make<>.
struct WpaPersonal : CWpaPersonalDlg {
  using CWpaPersonalDlg::CWpaPersonalDlg;
  static const UINT IDD_TEMPLATE = IDD_WPA_PERSONAL;
};
struct WepKey : CWepKeyDlg {
  using CWepKeyDlg::CWepKeyDlg;
  static const UINT IDD_TEMPLATE = IDD_WEP_KEY;
};
struct Dot1x : CDot1xSecurityDlg {
  using CDot1xSecurityDlg::CDot1xSecurityDlg;
  static const UINT IDD_TEMPLATE = IDD_DOT1X_SECURITY;
};
struct WpaEnterprise : CWpaEnterpriseDlg {
  using CWpaEnterpriseDlg::CWpaEnterpriseDlg;
  static const UINT IDD_TEMPLATE = IDD_WPA_ENTERPRISE;
};

// ---------------------------------------------------------------- WPA-Personal

const std::string k63(63, 'p');
const std::string k64Hex = std::string(32, 'a') + std::string(32, '9');

TEST_F(SecurityDialogs, WpaPersonalValidatesManualKeysAndTheInterval) {
  auto* dlg = Make<WpaPersonal>();
  const struct {
    const char* name;
    std::string key, confirm, interval;
    const char* message;  // nullptr: accepted
    int focus;
  } cases[] = {
      {"8 characters", "abcdefgh", "abcdefgh", "3600", nullptr, 0},
      {"63 characters", k63, k63, "3600", nullptr, 0},
      {"7 characters", "abcdefg", "abcdefg", "3600", "IDS_MSG_PSK_KEYLEN", IDC_WPAP_KEY},
      {"64 hex digits", k64Hex, k64Hex, "3600", nullptr, 0},
      {"64 with a g", "g" + k64Hex.substr(1), "g" + k64Hex.substr(1), "3600", "IDS_MSG_PSK_KEYLEN", IDC_WPAP_KEY},
      {"differs from confirmation", "abcdefgh", "abcdefgX", "3600", "IDS_MSG_PSK_KEYINVALID", IDC_WPAP_KEY},
      {"empty", "", "", "3600", "IDS_MSG_PSK_KEYINVALID", IDC_WPAP_KEY},
      {"byte above 127", "abcdefg\xE9", "abcdefg\xE9", "3600", "IDS_MSG_PSK_KEYINVALID", IDC_WPAP_KEY},
      {"leading blank", " abcdefgh", "abcdefgh", "3600", "IDS_MSG_WEP_KEY_BLANK", IDC_WPAP_KEY},
      {"trailing blank", "abcdefg ", "abcdefg ", "3600", "IDS_MSG_WEP_KEY_BLANK", IDC_WPAP_KEY},
      {"interval 299", "abcdefgh", "abcdefgh", "299", "IDS_MSG_PSK_GKUI", IDC_WPAP_GKUI},
      {"interval 300", "abcdefgh", "abcdefgh", "300", nullptr, 0},
      {"interval 9999999", "abcdefgh", "abcdefgh", "9999999", nullptr, 0},
      {"interval with a letter", "abcdefgh", "abcdefgh", "300a", "IDS_MSG_PSK_GKUI", IDC_WPAP_GKUI},
      {"interval empty", "abcdefgh", "abcdefgh", "", "IDS_MSG_PSK_GKUI", IDC_WPAP_GKUI},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dlg->m_nKeyMode = CWpaPersonalDlg::kManual;
    dlg->UpdateData(FALSE);
    SetText(dlg, IDC_WPAP_KEY, c.key.c_str());
    SetText(dlg, IDC_WPAP_KEYCOM, c.confirm.c_str());
    SetText(dlg, IDC_WPAP_GKUI, c.interval.c_str());
    host.SetFocus();
    EXPECT_EQ(dlg->Validate(), c.message ? 0 : 1);
    EXPECT_EQ(TakeMessage(), c.message ? LangText(c.message) : "");
    if (c.message) {
      EXPECT_EQ(FocusId(), c.focus);
    }
  }
}

TEST_F(SecurityDialogs, WpaPersonalPeriodicalModeChecksTheHoursAndNotThePassPhrase) {
  auto* dlg = Make<WpaPersonal>();
  const struct {
    const char* hours;
    bool accepted;
  } cases[] = {{"0", false}, {"1", true}, {"168", true}, {"169", false}, {"1a", false}, {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hours);
    dlg->m_nKeyMode = CWpaPersonalDlg::kPeriodical;
    dlg->UpdateData(FALSE);
    SetText(dlg, IDC_WPAP_KEY, "bad");
    SetText(dlg, IDC_WPAP_KEYCOM, "other");
    SetText(dlg, IDC_WPAP_INTERVAL, c.hours);
    SetText(dlg, IDC_WPAP_GKUI, "300");
    EXPECT_EQ(dlg->Validate(), c.accepted ? 1 : 0);
    EXPECT_EQ(TakeMessage(), c.accepted ? "" : LangText("IDS_MSG_PSK_TIMEINTERVAL"));
    if (!c.accepted) {
      EXPECT_EQ(FocusId(), IDC_WPAP_INTERVAL);
    }
  }
}

TEST_F(SecurityDialogs, WpaPersonalKeyModeShowsOneOfTheTwoPassPhrases) {
  auto* dlg = Make<WpaPersonal>();
  BoundList passPhrase(&host, g_mibPassPhrase), keyChange(&host, g_mibAutoRekey);
  dlg->BindLists(passPhrase.list, keyChange.list);
  const struct {
    const char* control;  // dot11AutoRekeyControl
    bool periodical;
  } cases[] = {{"0", false}, {"1", true}, {"7", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control);
    keyChange.Set(0, c.control);
    keyChange.list.ValuesToControls();
    dlg->LoadFromBound();
    EXPECT_EQ(Visible(dlg, IDC_WPAP_AUTO_KEY), c.periodical);
    for (int id : {IDC_WPAP_KEY, IDC_WPAP_KEYCOM, IDC_WPAP_KEYCOM_LABEL}) EXPECT_EQ(Visible(dlg, id), !c.periodical);
    for (int id : {IDC_WPAP_WEEKDAY, IDC_WPAP_HOUR, IDC_WPAP_MINUTE, IDC_WPAP_INTERVAL})
      EXPECT_EQ(Enabled(dlg, id), c.periodical) << id;
    EXPECT_EQ(dlg->m_nKeyMode, c.periodical ? 1 : 0);
  }
}

TEST_F(SecurityDialogs, WpaPersonalLoadsAndStoresThroughItsLists) {
  auto* dlg = Make<WpaPersonal>();
  BoundList passPhrase(&host, g_mibPassPhrase), keyChange(&host, g_mibAutoRekey);
  dlg->BindLists(passPhrase.list, keyChange.list);
  passPhrase.Set(0, "correct horse");
  passPhrase.Set(1, "3");  // TKIP
  passPhrase.Set(2, "3600");
  keyChange.Set(0, "1");
  keyChange.Set(1, "3");  // Wed
  keyChange.Set(2, "07:05");
  keyChange.Set(3, "24");
  keyChange.Set(4, "device-made key");
  passPhrase.list.ValuesToControls();
  keyChange.list.ValuesToControls();
  dlg->LoadFromBound();

  EXPECT_EQ(dlg->m_cbCipher.GetCurSel(), 2);
  EXPECT_EQ(dlg->m_cbWeekday.GetCurSel(), 3);
  EXPECT_EQ(dlg->m_cbHour.GetCurSel(), 7);
  EXPECT_EQ(dlg->m_cbMinute.GetCurSel(), 5);
  EXPECT_EQ(WindowText(dlg->m_edKeyConfirm), "correct horse");
  EXPECT_EQ(WindowText(dlg->m_edAutoKey), "device-made key");
  EXPECT_EQ(WindowText(dlg->m_cbCipher), LangText("IDS_UI_WPA_KEYTYPE_TKIP"));
  EXPECT_EQ(WindowText(dlg->m_cbWeekday), LangText("IDS_UI_WPA_WED"));

  dlg->m_cbCipher.SetCurSel(1);  // AES
  dlg->m_cbMinute.SetCurSel(30);
  EXPECT_EQ(dlg->StoreToBound(), 1);
  passPhrase.Collect();
  keyChange.Collect();
  // Values of option lists are held as their texts.
  EXPECT_EQ(passPhrase.Value(1), "AES");
  EXPECT_EQ(keyChange.Value(0), "Enable");
  EXPECT_EQ(keyChange.Value(1), "Wed");
  EXPECT_EQ(keyChange.Value(2), "07:30");
  EXPECT_TRUE(messages.empty());
}

TEST_F(SecurityDialogs, WpaPersonalKeepsAMalformedStartTimeInRange) {
  auto* dlg = Make<WpaPersonal>();
  BoundList passPhrase(&host, g_mibPassPhrase), keyChange(&host, g_mibAutoRekey);
  dlg->BindLists(passPhrase.list, keyChange.list);
  const struct {
    const char* time;
    const char* week;
    const char* written;
    int weekday;
    const char* weekdayText;
  } cases[] = {
      {"07:05", "6", "07:05", 6, "Sat"}, {"-1:-1", "3", "00:00", 3, "Wed"}, {"99:99", "3", "23:59", 3, "Wed"},
      {"ab:cd", "9", "00:00", 0, "Sun"}, {"", "", "00:00", 0, "Sun"},       {"7", "-4", "07:07", 0, "Sun"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.time);
    keyChange.Set(0, "1");
    keyChange.Set(1, c.week);
    keyChange.Set(2, c.time);
    keyChange.list.ValuesToControls();
    dlg->LoadFromBound();
    EXPECT_EQ(dlg->m_cbWeekday.GetCurSel(), c.weekday);
    EXPECT_GE(dlg->m_cbHour.GetCurSel(), 0);
    EXPECT_GE(dlg->m_cbMinute.GetCurSel(), 0);
    dlg->StoreToBound();
    keyChange.Collect();
    EXPECT_EQ(keyChange.Value(2), c.written);
    EXPECT_EQ(keyChange.Value(1), c.weekdayText);
  }
}

TEST_F(SecurityDialogs, WpaPersonalWriteAfterAFailedReadSendsAStartTimeInRange) {
  // The page loads nothing when its read fails: the carriers stay empty and
  // the time combo boxes show no selection.
  auto* dlg = Make<WpaPersonal>();
  BoundList passPhrase(&host, g_mibPassPhrase), keyChange(&host, g_mibAutoRekey);
  dlg->BindLists(passPhrase.list, keyChange.list);
  dlg->StoreToBound();
  keyChange.Collect();
  EXPECT_EQ(keyChange.Value(0), "Disable");  // manual
  EXPECT_EQ(keyChange.Value(1), "Sun");
  EXPECT_EQ(keyChange.Value(2), "00:00");
}

TEST_F(SecurityDialogs, WpaPersonalStoreReportsAMismatchWithItsOwnText) {
  auto* dlg = Make<WpaPersonal>();
  SetText(dlg, IDC_WPAP_KEY, "abcdefgh");
  SetText(dlg, IDC_WPAP_KEYCOM, "abcdefgX");
  EXPECT_EQ(dlg->StoreToBound(), 0);
  EXPECT_EQ(TakeMessage(), "The PassPhrase and Confirm PassPhrase are not matched.");
}

TEST_F(SecurityDialogs, WpaPersonalShowsItsLanguageTextsAndLimits) {
  auto* dlg = Make<WpaPersonal>();
  EXPECT_EQ(WindowText(*dlg->GetDlgItem(IDC_SEC_HEADING)), "PassPhrase Settings");
  EXPECT_EQ(WindowText(*dlg->GetDlgItem(IDC_WPAP_PERIODICAL)), "Periodical Key Change");
  EXPECT_EQ(dlg->m_cbWpaMode.GetCount(), 3);
  EXPECT_EQ(dlg->m_cbHour.GetCount(), 24);
  EXPECT_EQ(dlg->m_cbMinute.GetCount(), 60);
  EXPECT_EQ(dlg->m_edKey.GetLimitText(), 64u);
  EXPECT_EQ(dlg->m_edInterval.GetLimitText(), 7u);
  dlg->SetWpaMode(1);
  EXPECT_EQ(WindowText(dlg->m_cbWpaMode), LangText("IDS_UI_WPA_MODE_WPA2"));
}

// ---------------------------------------------------------------- WEP

namespace {

// The device's four keys as a read of the key table leaves them in the list.
void FillKeyTable(BoundList& table, const std::vector<std::pair<const char*, std::string>>& keys) {
  table.list.BeforeGet();
  int index = 1;
  for (const auto& [method, key] : keys) {
    SnmpVarList row(table.list.m_Request.m_VarList);
    *row.GetItem(0)->value = "1";
    *row.GetItem(1)->value = std::to_string(index++).c_str();
    *row.GetItem(2)->value = method;
    *row.GetItem(3)->value = key.c_str();
    table.list.OnItemReceived(&row);
  }
  table.list.AfterGet();
}

}  // namespace

TEST_F(SecurityDialogs, WepValidatesByTypeSizeAndConfirmation) {
  auto* dlg = Make<WepKey>();
  const struct {
    const char* name;
    int encryption, type, size;
    std::string key, confirm;
    bool typed;  // the operator typed the key (modified)
    const char* message;
  } cases[] = {
      {"off: anything", 0, 1, 0, "x", "y", true, nullptr},
      {"hex 64 bits", 1, 1, 0, "0123456789", "0123456789", true, nullptr},
      {"hex 64 bits, 9 digits", 1, 1, 0, "012345678", "012345678", true, "IDS_MSG_WEP_KEY"},
      {"hex typed g", 1, 1, 0, "012345678g", "012345678g", true, "IDS_MSG_WEP_KEY_CHAR"},
      {"hex from the device, unchanged", 1, 1, 0, "012345678g", "012345678g", false, nullptr},
      {"hex 128 bits", 1, 1, 1, std::string(26, 'F'), std::string(26, 'F'), true, nullptr},
      {"ascii 128 bits", 1, 0, 1, "abcdefghijklm", "abcdefghijklm", true, nullptr},
      {"ascii leading blank", 1, 0, 1, " bcdefghijklm", " bcdefghijklm", true, "IDS_MSG_WEP_KEY_BLANK"},
      {"ascii confirmation differs", 1, 0, 1, "abcdefghijklm", "abcdefghijklX", true, "IDS_MSG_WEP_KEY_NOSAME"},
      {"ascii 64 bits", 1, 0, 0, "abcde", "abcde", true, nullptr},
      {"ascii 64 bits too long", 1, 0, 0, "abcdef", "abcdef", true, "IDS_MSG_WEP_KEY"},
      {"no type: ascii", 1, -1, 0, "abcde", "abcde", true, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dlg->m_nEncryption = c.encryption;
    dlg->UpdateData(FALSE);
    dlg->m_cbKeyType.SetCurSel(c.type);
    dlg->m_cbKeySize.SetCurSel(c.size);
    dlg->m_edKey.SetWindowText(c.key.c_str());
    dlg->m_edKey.SetModify(c.typed);
    dlg->m_edKeyConfirm.SetWindowText(c.confirm.c_str());
    host.SetFocus();
    EXPECT_EQ(dlg->Validate(), c.message ? 0 : 1);
    EXPECT_EQ(TakeMessage(), c.message ? LangText(c.message) : "");
    if (c.message) {
      EXPECT_EQ(FocusId(), IDC_WEP_KEY);
    }
  }
}

TEST_F(SecurityDialogs, WepLoadsA26DigitHexKeyAsHex128Bits) {
  auto* dlg = Make<WepKey>();
  BoundList table(&host, g_mibWepKeyTable, 3, 2), options(&host, g_mibWep);
  dlg->BindLists(table.list, options.list);
  const std::string hex26 = "0123456789ABCDEF0123456789";
  FillKeyTable(table, {{"ascii", "abcde"}, {"hex", " " + hex26 + " "}, {"ascii", ""}, {"ascii", ""}});
  options.Set(0, "1");  // enabled
  options.Set(1, "2");  // second key
  options.list.ValuesToControls();
  dlg->LoadFromBound();

  EXPECT_EQ(dlg->m_cbKeyIndex.GetCurSel(), 1);
  EXPECT_EQ(WindowText(dlg->m_cbKeyType), "HEX");
  EXPECT_EQ(dlg->m_cbTypeCarrier.GetCurSel(), 1);
  EXPECT_EQ(dlg->m_cbKeySize.GetCurSel(), 1);
  EXPECT_EQ(WindowText(dlg->m_edKey), hex26);
  EXPECT_EQ(WindowText(dlg->m_edKeyConfirm), hex26);
  EXPECT_EQ(dlg->m_edKey.GetLimitText(), 26u);
  EXPECT_EQ(WindowText(dlg->m_stKeyIndex), "2");
  EXPECT_EQ(dlg->m_nEncryption, 1);
  EXPECT_TRUE(Enabled(dlg, IDC_WEP_KEY));
  EXPECT_EQ(dlg->Validate(), 1);

  // Another key index shows that row's key.
  dlg->m_cbKeyIndex.SetCurSel(0);
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WEP_INDEX, CBN_SELCHANGE), (LPARAM)dlg->m_cbKeyIndex.m_hWnd);
  EXPECT_EQ(WindowText(dlg->m_edKey), "abcde");
  EXPECT_EQ(WindowText(dlg->m_cbKeyType), "ASCII");

  dlg->StoreToBound();
  options.Collect();
  EXPECT_EQ(options.Value(0), "enabled");
  EXPECT_EQ(options.Value(1), "first");
}

TEST_F(SecurityDialogs, WepA16CharacterKeyKeepsSizeTwoForLimitAndCheck) {
  auto* dlg = Make<WepKey>();
  BoundList table(&host, g_mibWepKeyTable, 3, 2), options(&host, g_mibWep);
  dlg->BindLists(table.list, options.list);
  FillKeyTable(table, {{"ascii", "sixteen-chars-ok"}, {"ascii", ""}, {"ascii", ""}, {"ascii", ""}});
  options.Set(0, "1");
  options.Set(1, "1");
  options.list.ValuesToControls();
  dlg->LoadFromBound();

  EXPECT_EQ(dlg->m_cbKeySize.GetCurSel(), CB_ERR);
  EXPECT_EQ(dlg->EffectiveSize(), 2);
  EXPECT_EQ(dlg->m_edKey.GetLimitText(), 16u);
  EXPECT_EQ(dlg->m_edKeyConfirm.GetLimitText(), 16u);
  EXPECT_EQ(dlg->Validate(), 1);
  dlg->m_edKey.SetWindowText("fifteen-chars-x");
  dlg->m_edKeyConfirm.SetWindowText("fifteen-chars-x");
  EXPECT_EQ(dlg->Validate(), 0);
  EXPECT_EQ(TakeMessage(), LangText("IDS_MSG_WEP_KEY"));

  // As HEX the same size asks for 32 digits.
  dlg->m_cbKeyType.SetCurSel(1);
  dlg->ApplyKeyLimit();
  EXPECT_EQ(dlg->m_edKey.GetLimitText(), 32u);
}

TEST_F(SecurityDialogs, WepSizeFollowsTheKeyLength) {
  auto* dlg = Make<WepKey>();
  const struct {
    int type;  // -1 none
    int length;
    int before;  // size selected before
    int selected;
    int effective;
  } cases[] = {
      {1, 10, -1, 0, 0}, {1, 26, -1, 1, 1}, {1, 32, 0, CB_ERR, 2}, {1, 7, -1, 0, 0}, {1, 7, 1, 1, 1},
      {0, 5, 1, 0, 0},   {0, 13, -1, 1, 1}, {0, 16, -1, CB_ERR, 2}, {-1, 13, -1, 1, 1}, {-1, 26, -1, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "type " << c.type << " length " << c.length);
    dlg->m_cbKeyType.SetCurSel(c.type);
    dlg->m_cbKeySize.SetCurSel(c.before);
    dlg->SelectSizeForKeyLength(c.length);
    EXPECT_EQ(dlg->m_cbKeySize.GetCurSel(), c.selected);
    EXPECT_EQ(dlg->EffectiveSize(), c.effective);
  }
}

TEST_F(SecurityDialogs, WepEnableRules) {
  auto* dlg = Make<WepKey>();
  const int fields[] = {IDC_WEP_SIZE, IDC_WEP_TYPE, IDC_WEP_INDEX, IDC_WEP_KEY, IDC_WEP_KEYCOM};
  const struct {
    const char* name;
    int encryption;
    BOOL allowDisable;
    bool disableButton, fieldsEnabled;
    int switchAfter;
  } cases[] = {
      {"open system, off", 0, TRUE, true, false, 0},
      {"open system, on", 1, TRUE, true, true, 1},
      {"shared key forces on", 0, FALSE, false, true, 1},
      {"back to open system keeps on", 1, TRUE, true, true, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dlg->m_nEncryption = c.encryption;
    dlg->UpdateData(FALSE);
    dlg->AllowDisable(c.allowDisable);
    EXPECT_EQ(Enabled(dlg, IDC_WEP_DISABLE), c.disableButton);
    for (int id : fields) EXPECT_EQ(Enabled(dlg, id), c.fieldsEnabled) << id;
    EXPECT_EQ(dlg->m_nEncryption, c.switchAfter);
  }
  // A click on Disable turns the fields off.
  dlg->CheckRadioButton(IDC_WEP_DISABLE, IDC_WEP_ENABLE, IDC_WEP_DISABLE);
  dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WEP_DISABLE, BN_CLICKED), 0);
  for (int id : fields) EXPECT_FALSE(Enabled(dlg, id)) << id;
}

TEST_F(SecurityDialogs, WepKeyFieldEmptiesOnFocusAndKeepsTheConfirmation) {
  auto* dlg = Make<WepKey>();
  dlg->m_nEncryption = 1;
  dlg->UpdateData(FALSE);
  dlg->AllowDisable(TRUE);
  dlg->m_edKey.SetWindowText("abcde");
  dlg->m_edKeyConfirm.SetWindowText("abcde");
  dlg->m_edKey.SetFocus();
  EXPECT_EQ(WindowText(dlg->m_edKey), "");
  EXPECT_EQ(WindowText(dlg->m_edKeyConfirm), "abcde");
}

// ---------------------------------------------------------------- 802.1X and WPA-Enterprise

namespace {

template <class Dialog>
void ValidateRadius(Dialog* dlg, std::vector<std::string>& messages, const std::string& intervalMessage,
                    const std::function<std::string(const char*)>& text) {
  const struct {
    const char* name;
    const char *interval, *port, *server, *secret;
    const char* message;  // nullptr: accepted; "interval": the dialog's own
    int focus;
  } cases[] = {
      {"all good", "300", "1812", "10.250.0.5", "s3cret", nullptr, 0},
      {"interval 9999999, port 1", "9999999", "1", "10.250.0.5", "s", nullptr, 0},
      {"port 65535", "300", "65535", "10.250.0.5", "s", nullptr, 0},
      {"interval 299", "299", "1812", "10.250.0.5", "s", "interval", IDC_EAP_GKUI},
      {"interval 10000000", "10000000", "1812", "10.250.0.5", "s", "interval", IDC_EAP_GKUI},
      {"interval with a letter", "300a", "1812", "10.250.0.5", "s", "interval", IDC_EAP_GKUI},
      {"port 0", "300", "0", "10.250.0.5", "s", "IDS_MSG_EAP_PRP", IDC_EAP_PRI_PORT},
      {"port 65536", "300", "65536", "10.250.0.5", "s", "IDS_MSG_EAP_PRP", IDC_EAP_PRI_PORT},
      {"port empty", "300", "", "10.250.0.5", "s", "IDS_MSG_EAP_PRP", IDC_EAP_PRI_PORT},
      {"server empty", "300", "1812", "", "s", "IDS_MSG_EAP_SERVERIP", IDC_EAP_PRI_SERVER},
      {"server 127.0.0.1", "300", "1812", "127.0.0.1", "s", "IDS_MSG_EAP_SERVERIP", IDC_EAP_PRI_SERVER},
      {"secret empty", "300", "1812", "10.250.0.5", "", "IDS_MSG_EAP_SERVERSEC", IDC_EAP_PRI_SECRET},
      {"secret of blanks", "300", "1812", "10.250.0.5", "   ", "IDS_MSG_EAP_SERVERINV", IDC_EAP_PRI_SECRET},
      {"secret above 127", "300", "1812", "10.250.0.5", "s\xF6", "IDS_MSG_EAP_SERVERINV", IDC_EAP_PRI_SECRET},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    dlg->m_edInterval.SetWindowText(c.interval);
    dlg->m_edPrimaryPort.SetWindowText(c.port);
    dlg->m_ipPrimary.SetWindowText(c.server);
    dlg->m_edPrimarySecret.SetWindowText(c.secret);
    messages.clear();
    EXPECT_EQ(dlg->Validate(), c.message ? FALSE : TRUE);
    std::string expected = !c.message ? "" : std::string(c.message) == "interval" ? intervalMessage : text(c.message);
    ASSERT_LE(messages.size(), 1u);
    EXPECT_EQ(messages.empty() ? "" : messages[0], expected);
    if (c.message) {
      EXPECT_EQ(::GetDlgCtrlID(::GetFocus()), c.focus);
    }
  }
  messages.clear();
}

}  // namespace

TEST_F(SecurityDialogs, RadiusDialogsValidateTheirPrimaryServer) {
  auto text = [this](const char* key) { return LangText(key); };
  ValidateRadius(Make<Dot1x>(), messages, LangText("IDS_MSG_802_KUI"), text);
  ValidateRadius(Make<WpaEnterprise>(), messages, LangText("IDS_MSG_PSK_GKUI"), text);
}

TEST_F(SecurityDialogs, WpaEnterpriseLoadsAndStoresThroughItsList) {
  auto* dlg = Make<WpaEnterprise>();
  BoundList list(&host, g_mibRadiusWpa);
  dlg->BindList(list.list);
  EXPECT_EQ(list.list.m_Request.m_VarList.GetCount(), 17);
  const char* values[17] = {"600", "1", "2", "10.250.0.5", "1812", "secret", "10.250.0.6", "1813", "b",
                            "0", "10.250.0.7", "1814", "c", "10.250.0.8", "1815", "d", "2"};
  for (int row = 0; row < 17; ++row) list.Set(row, values[row]);
  list.list.ValuesToControls();
  dlg->LoadFromBound();

  EXPECT_EQ(dlg->m_nNap, 1);
  EXPECT_EQ(dlg->IsDlgButtonChecked(IDC_EAP_NAP_ENABLE), BST_CHECKED);
  EXPECT_EQ(WindowText(dlg->m_cbCipher), LangText("IDS_UI_WPA_KEYTYPE_AES"));
  EXPECT_EQ(WindowText(dlg->m_ipPrimary), "10.250.0.5");
  EXPECT_EQ(WindowText(dlg->m_edPrimaryPort), "1812");
  // Left out of reads: the backup server and the accounting stay empty.
  EXPECT_EQ(WindowText(dlg->m_edBackupPort), "");
  // The RADIUS fields are on whatever the device's RADIUS source.
  EXPECT_EQ(dlg->m_nRadiusMode, CRadiusSecurityDlg::kExternal);
  for (int id : {IDC_EAP_PRI_SERVER, IDC_EAP_PRI_PORT, IDC_EAP_PRI_SECRET, IDC_EAP_ACC_MODE})
    EXPECT_TRUE(Enabled(dlg, id)) << id;

  dlg->CheckRadioButton(IDC_EAP_NAP_DISABLE, IDC_EAP_NAP_ENABLE, IDC_EAP_NAP_DISABLE);
  dlg->m_cbCipher.SetCurSel(2);
  EXPECT_EQ(dlg->StoreToBound(), TRUE);
  list.Collect();
  EXPECT_EQ(list.Value(1), "disable");
  EXPECT_EQ(list.Value(16), "TKIP");
  EXPECT_EQ(list.Value(3), "10.250.0.5");
  EXPECT_EQ(list.Value(2), "");  // the RADIUS source is never sent
}

TEST_F(SecurityDialogs, Dot1xWriteAfterAFailedReadLeavesNetworkAccessProtectionUnselected) {
  auto* dlg = Make<Dot1x>();
  BoundList list(&host, g_mibRadius);
  dlg->BindList(list.list);
  EXPECT_EQ(list.list.m_Request.m_VarList.GetCount(), 16);
  dlg->StoreToBound();
  EXPECT_EQ(dlg->m_nNap, -1);
  EXPECT_EQ(dlg->m_cbNapCarrier.GetCurSel(), CB_ERR);

  // A read brings the device's value, which goes back unchanged.
  list.Set(1, "1");
  list.list.ValuesToControls();
  dlg->LoadFromBound();
  dlg->StoreToBound();
  list.Collect();
  EXPECT_EQ(list.Value(1), "enable");
}

TEST_F(SecurityDialogs, RadiusAccountingModeAndServerModeRules) {
  const int accounting[] = {IDC_EAP_ACC_SERVER,  IDC_EAP_ACC_PORT,  IDC_EAP_ACC_SECRET,
                            IDC_EAP_ACC2_SERVER, IDC_EAP_ACC2_PORT, IDC_EAP_ACC2_SECRET};
  const int radius[] = {IDC_EAP_SEC_SERVER, IDC_EAP_SEC_PORT,   IDC_EAP_SEC_SECRET, IDC_EAP_PRI_SECRET,
                        IDC_EAP_PRI_PORT,   IDC_EAP_PRI_SERVER, IDC_EAP_ACC_MODE};
  for (CRadiusSecurityDlg* dlg : {static_cast<CRadiusSecurityDlg*>(Make<Dot1x>()),
                                  static_cast<CRadiusSecurityDlg*>(Make<WpaEnterprise>())}) {
    const struct {
      const char* name;
      UINT mode;
      int accountingMode;  // index in the sorted combo: 0 Disable, 1 Enable
      bool radiusOn, accountingOn;
    } cases[] = {
        {"external, accounting off", IDC_EAP_EXTERNAL, 0, true, false},
        {"external, accounting on", IDC_EAP_EXTERNAL, 1, true, true},
        {"internal", IDC_EAP_INTERNAL, 1, false, false},
        {"another id changes nothing", IDOK, 1, false, false},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(c.name);
      EXPECT_EQ(WindowText(dlg->m_cbAccountingMode), WindowText(dlg->m_cbAccountingMode));
      dlg->m_cbAccountingMode.SetCurSel(c.accountingMode);
      dlg->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_EAP_ACC_MODE, CBN_SELCHANGE), 0);
      dlg->OnRadiusMode(c.mode);
      for (int id : radius) EXPECT_EQ(Enabled(dlg, id), c.radiusOn) << id;
      for (int id : accounting) EXPECT_EQ(Enabled(dlg, id), c.accountingOn) << id;
    }
    dlg->m_cbAccountingMode.SetCurSel(0);
    CString first;
    dlg->m_cbAccountingMode.GetLBText(0, first);
    EXPECT_EQ(std::string(first), "Disable");
  }
}

TEST_F(SecurityDialogs, RadiusLayoutClosesTheServerModeGapWithinTheShownHeight) {
  const struct {
    CRadiusSecurityDlg* dlg;
    int shown, outer, modeFrame, primaryFrame;
  } cases[] = {
      {Make<Dot1x>(), CDot1xSecurityDlg::kShownHeight, IDC_D1X_FRAME_OUTER, IDC_D1X_FRAME_MODE, IDC_D1X_FRAME_PRI},
      {Make<WpaEnterprise>(), CWpaEnterpriseDlg::kShownHeight, IDC_WPAE_FRAME_OUTER, IDC_WPAE_FRAME_MODE,
       IDC_WPAE_FRAME_PRI},
  };
  for (const auto& c : cases) {
    auto rectOf = [&](int id) {
      CRect r;
      c.dlg->GetDlgItem(id)->GetWindowRect(&r);
      c.dlg->ScreenToClient(&r);
      return r;
    };
    for (int id : {c.modeFrame, IDC_EAP_EXTERNAL, IDC_EAP_INTERNAL}) EXPECT_FALSE(Visible(c.dlg, id)) << id;
    EXPECT_EQ(rectOf(IDC_EAP_PRI_SERVER).Size(), CSize(120, 20));
    EXPECT_EQ(rectOf(IDC_EAP_PRI_PORT).Size(), CSize(80, 20));
    EXPECT_EQ(rectOf(IDC_EAP_PRI_SECRET).Size(), CSize(300, 20));
    const CRect mode = rectOf(c.modeFrame), primary = rectOf(c.primaryFrame), outer = rectOf(c.outer);
    // The primary group starts where the hidden row started, and every field ends inside what the page shows.
    EXPECT_LE(std::abs(primary.top - mode.top), 2);
    EXPECT_LT(rectOf(IDC_EAP_PRI_SECRET).bottom, primary.bottom);
    EXPECT_LT(rectOf(IDC_EAP_PRI_PORT).bottom, rectOf(IDC_EAP_PRI_SECRET).top);
    EXPECT_LE(outer.bottom, c.shown);
    EXPECT_GT(outer.bottom, primary.bottom);
  }
}

// ---------------------------------------------------------------- pictures

TEST_F(SecurityDialogs, Pictures) {
  auto* wpa = Make<WpaPersonal>();
  wpa->SetWpaMode(0);
  wpa->m_cbCipher.SetCurSel(0);
  SetText(wpa, IDC_WPAP_GKUI, "3600");
  SetText(wpa, IDC_WPAP_KEY, "correct horse");
  SetText(wpa, IDC_WPAP_KEYCOM, "correct horse");
  SaveScreen(wpa, "144-wpa-personal");
  wpa->ShowWindow(SW_HIDE);

  auto* wep = Make<WepKey>();
  wep->AllowDisable(FALSE);
  wep->m_cbKeyType.SetCurSel(1);
  wep->m_cbKeySize.SetCurSel(1);
  wep->m_cbKeyIndex.SetCurSel(0);
  wep->m_edKey.SetWindowText("0123456789ABCDEF0123456789");
  wep->m_edKeyConfirm.SetWindowText("0123456789ABCDEF0123456789");
  SaveScreen(wep, "145-wep-key");
  wep->ShowWindow(SW_HIDE);

  auto* dot1x = Make<Dot1x>();
  dot1x->SetWindowPos(nullptr, 0, 0, 435, CDot1xSecurityDlg::kShownHeight, SWP_NOZORDER);
  SetText(dot1x, IDC_EAP_GKUI, "3600");
  dot1x->m_ipPrimary.SetWindowText("10.250.0.5");
  SetText(dot1x, IDC_EAP_PRI_PORT, "1812");
  SetText(dot1x, IDC_EAP_PRI_SECRET, "secret");
  SaveScreen(dot1x, "146-dot1x");
  dot1x->ShowWindow(SW_HIDE);

  auto* wpae = Make<WpaEnterprise>();
  wpae->SetWindowPos(nullptr, 0, 0, 435, CWpaEnterpriseDlg::kShownHeight, SWP_NOZORDER);
  wpae->SetWpaMode(1);
  wpae->m_cbCipher.SetCurSel(1);
  wpae->CheckRadioButton(IDC_EAP_NAP_DISABLE, IDC_EAP_NAP_ENABLE, IDC_EAP_NAP_DISABLE);
  SaveScreen(wpae, "143-wpa-enterprise");
}

// ---------------------------------------------------------------- the wireless page's authentication texts

TEST_F(SecurityDialogs, AuthenticationItemsAreKnownByTheirTexts) {
  using Page = CWirelessPage;
  const struct {
    const char* text;
    Page::AuthKind kind;
  } cases[] = {
      {"Open System", Page::kOpenSystem},
      {"\xBF\xAA\xB7\xC5\xCF\xB5\xCD\xB3", Page::kOpenSystem},
      {"Shared Key", Page::kSharedKey},
      {"\xB9\xB2\xCF\xED\xC3\xDC\xD4\xBF", Page::kSharedKey},
      {"WPA-Personal", Page::kWpaPersonal},
      {"WPA-\xB8\xF6\xC8\xCB\xD3\xC3\xBB\xA7", Page::kWpaPersonal},
      {"WPA-Enterprise", Page::kWpaEnterprise},
      {"WPA-\xC6\xF3\xD2\xB5\xD3\xC3\xBB\xA7", Page::kWpaEnterprise},
      {"802.1x", Page::kDot1x},
      {"802.1X", Page::kNoAuth},
      {"WPA2-Personal", Page::kNoAuth},
      {"open system", Page::kNoAuth},
      {"", Page::kNoAuth},
  };
  for (const auto& c : cases) EXPECT_EQ(Page::AuthKindOfText(c.text), c.kind) << c.text;

  // The language file's five items are exactly those texts.
  const struct {
    const char* key;
    Page::AuthKind kind;
  } items[] = {{"IDS_UI_AUTH_WEP", Page::kOpenSystem},
               {"IDS_UI_AUTH_SHKEY", Page::kSharedKey},
               {"IDS_UI_AUTH_PSK", Page::kWpaPersonal},
               {"IDS_UI_AUTH_EAP", Page::kWpaEnterprise},
               {"IDS_UI_AUTH_802", Page::kDot1x}};
  for (const auto& item : items) EXPECT_EQ(Page::AuthKindOfText(theApp.Text(item.key)), item.kind) << item.key;
}
