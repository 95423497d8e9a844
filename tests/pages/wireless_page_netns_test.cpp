// The wireless settings pages against one simulated Master: what the page
// shows after reading the device (authentication kinds, multiple SSIDs,
// bands and channels, Auto Channel Scan), what Next writes and what it leaves
// alone (unchanged ports and keys, the fixed pass phrase with periodic key
// change, the channel under Auto Channel Scan), and the failures that leave
// the page usable. Runs inside a private network namespace (tools/netns-run).

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "ApsimHarness.h"
#include "CRadiusSecurityDlg.h"
#include "CWepKeyDlg.h"
#include "CWirelessPage.h"
#include "CWizardApp.h"
#include "CWpaPersonalDlg.h"
#include "RTSkin.h"
#include "SecurityRes.h"
#include "SecurityTestKit.h"
#include "SnmpControlVarList.h"
#include "SnmpSession.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardFlows.h"
#include "WizardRes.h"
#include "WizardUi.h"

namespace fs = std::filesystem;

CWizardApp theApp;

namespace {

const char kMac[] = "000D88D00001";
const char kIp[] = "10.250.0.51";
const int kTimeScale = 10;

std::string Device(const std::string& extra) {
  return std::string("[device]\nmac = ") + kMac + "\nip = " + kIp + "\nsnmp_status = 1\n" + extra;
}

std::vector<std::string> ItemsOf(CComboBox& combo) {
  std::vector<std::string> items;
  for (int i = 0; i < combo.GetCount(); ++i) {
    CString text;
    combo.GetLBText(i, text);
    items.push_back(std::string(text));
  }
  return items;
}

class WirelessPageTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    static TempDir dir;
    UseLanguageFolder(dir, theApp);
  }

  void SetUp() override {
    ASSERT_STREQ(std::getenv("TRELLIAN_NETNS"), "inside") << "run through tools/netns-run";
    testkit::SetClockScale(kTimeScale);
    // The session's event window goes with the test's windows, so each test has its own.
    fs::create_directories(dir.path() + "/session");
    ASSERT_TRUE(SnmpSessionInit((dir.path() + "/session").c_str(), ""));
    RecordSkinMessages(messages);
    ASSERT_TRUE(OpenEmptyHost(host, 480, 360));
  }
  void TearDown() override {
    if (page) {
      page->DestroyWindow();
      delete page;
    }
    host.DestroyWindow();
    RegisterSkinMessage(nullptr);
    SnmpSessionExit();
    testkit::ResetWindows();
    testkit::SetClockScale(1);
  }

  // Starts the Master with `extra` scenario lines and opens the page on it.
  void Open(const std::string& extra, bool modify = false, bool waitForRead = true) {
    sim.reset();  // one Master at a time on the address
    sim = std::make_unique<ApsimHarness>(dir, Device(extra), std::vector<std::string>{"--time-scale", "10"});
    ASSERT_TRUE(sim->Ready()) << sim->Log() << sim->Errors();
    page = modify ? new CModifyWirelessPage : new CWirelessPage;
    ASSERT_TRUE(page->Create(modify ? IDD_PAGE_MODIFY_WIRELESS : IDD_PAGE_WIRELESS, &host));
    page->SetWindowPos(nullptr, 0, 0, 468, 344, SWP_NOZORDER | SWP_SHOWWINDOW);
    page->m_strAgentIp = kIp;
    page->m_strReadCommunity = "public";
    page->m_strWriteCommunity = "private";
    page->OnEnterPage();
    if (waitForRead) {
      ASSERT_TRUE(WaitForRead()) << sim->Log();
    }
  }
  // The band read has come back and the settings were read.
  bool WaitForRead() {
    return testkit::PumpUntil([this] { return page->m_pDot1xList->GetBindingCount() > 0 && Loaded(); }, 20000);
  }
  bool Loaded() { return !WindowText(page->m_edSsid).empty(); }

  // The device's value as the simulator last wrote it down.
  std::string DeviceValue(const std::string& name) { return sim->State(kMac)[name]; }
  // Waits (in real time) for the simulator's state file to show `value`.
  bool DeviceHas(const std::string& name, const std::string& value) {
    for (int i = 0; i < 100; ++i) {
      if (DeviceValue(name) == value) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }
  void ChooseAuth(const char* text) {
    int index = page->m_cbAuth.FindStringExact(-1, text);
    ASSERT_GE(index, 0) << text;
    page->m_cbAuth.SetCurSel(index);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WL_AUTH, CBN_SELCHANGE), (LPARAM)page->m_cbAuth.m_hWnd);
  }
  // Types into an edit as the operator does, so that it counts as changed.
  void Type(CEdit& edit, const char* text) {
    edit.SetWindowText(text);
    edit.SetModify(TRUE);
  }

  TempDir dir;
  std::unique_ptr<ApsimHarness> sim;
  CRTDialog host;
  CWirelessPage* page = nullptr;
  std::vector<std::string> messages;
};

TEST_F(WirelessPageTest, ShowsWhatTheDeviceHolds) {
  const struct {
    const char* name;
    std::string scenario;
    const char* auth;          // the item shown
    int wpaMode;               // both WPA dialogs
    int authItems;
    std::vector<std::string> channels;
    const char* channel;
    bool channelEnabled;
    int shown;                 // which security dialog: 0 WEP, 1 WPA-Personal, 2 WPA-Enterprise, 3 802.1X
  } cases[] = {
      {"WPA2-Personal", "dot11Authentication = 6\ndot11AutoChannelScan = 0\ndot11Channel = 3\n", "WPA-Personal", 1, 5,
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "3", true, 1},
      {"WPA-Auto-Enterprise", "dot11Authentication = 9\ndot11AutoChannelScan = 0\n", "WPA-Enterprise", 0, 5,
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "6", true, 2},
      {"WPA-Personal, multiple SSIDs", "dot11Authentication = 4\ndot11Mssid = 1\ndot11AutoChannelScan = 0\n",
       "WPA-Personal", 2, 4, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "6", true, 1},
      {"5 GHz", "dot11Band = 1\ndot11Channel = 40\ndot11AutoChannelScan = 0\n", "Open System", 0, 5,
       {"36", "40", "44", "48"}, "40", true, 0},
      {"Auto Channel Scan", "dot11AutoChannelScan = 1\ndot11Channel = 2\n", "Open System", 0, 5,
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "6", false, 0},
      {"802.1x", "dot11Authentication = 10\n", "802.1x", 0, 5,
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "6", false, 3},
      {"Shared Key", "dot11Authentication = 2\ndot11Encryption = 0\n", "Shared Key", 0, 5,
       {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}, "6", false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Open(c.scenario);
    EXPECT_EQ(WindowText(page->m_edSsid), "RIZ-4410");
    EXPECT_EQ(WindowText(page->m_cbAuth), c.auth);
    EXPECT_EQ(page->m_cbAuth.GetCount(), c.authItems);
    if (c.authItems == 4) {
      EXPECT_EQ(page->m_cbAuth.FindStringExact(-1, "Shared Key"), CB_ERR);
    }
    EXPECT_EQ(page->m_pWpaPersonalDlg->m_cbWpaMode.GetCurSel(), c.wpaMode);
    EXPECT_EQ(page->m_pWpaEnterpriseDlg->m_cbWpaMode.GetCurSel(), c.wpaMode);
    EXPECT_EQ(ItemsOf(page->m_cbChannel), c.channels);
    EXPECT_EQ(WindowText(page->m_cbChannel), c.channel);
    EXPECT_EQ(page->m_cbChannel.IsWindowEnabled() != FALSE, c.channelEnabled);
    CDialog* dialogs[] = {page->m_pWepDlg, page->m_pWpaPersonalDlg, page->m_pWpaEnterpriseDlg, page->m_pDot1xDlg};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dialogs[i]->IsWindowVisible() != FALSE, i == c.shown) << i;
    EXPECT_EQ(page->m_pCurrentDlg, dialogs[c.shown]);
    // The security area's scroll bar stays hidden: every dialog is shorter than the area.
    EXPECT_FALSE(page->m_securityScroll.IsWindowVisible());
    if (std::string(c.auth) == "Shared Key") {
      EXPECT_FALSE(page->m_pWepDlg->GetDlgItem(IDC_WEP_DISABLE)->IsWindowEnabled());
      EXPECT_EQ(page->m_pWepDlg->m_nEncryption, CWepKeyDlg::kEnable);
    }
    EXPECT_TRUE(messages.empty());
    page->DestroyWindow();
    delete page;
    page = nullptr;
  }
}

TEST_F(WirelessPageTest, NextWritesTheAuthenticationOfTheChosenKindAndMode) {
  const struct {
    const char* name;
    const char* auth;
    int mode;
    const char* written;
  } cases[] = {
      {"WPA-Enterprise, WPA", "WPA-Enterprise", 2, "5"},
      {"WPA-Enterprise, Auto", "WPA-Enterprise", 0, "9"},
      {"WPA-Enterprise, WPA2", "WPA-Enterprise", 1, "7"},
      {"WPA-Personal, WPA2", "WPA-Personal", 1, "6"},
      {"WPA-Personal, Auto", "WPA-Personal", 0, "8"},
      {"802.1x", "802.1x", 0, "10"},
  };
  Open("dot11PrimaryRadiusServer = 10.250.0.5\ndot11PrimaryRadiusSecret = radius\n"
       "dot11RadiusKeyUpdateInterval = 3600\ndot11PassPhrase = correct horse\n");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChooseAuth(c.auth);
    page->m_pWpaEnterpriseDlg->SetWpaMode(c.mode);
    page->m_pWpaPersonalDlg->SetWpaMode(c.mode);
    EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
    EXPECT_TRUE(DeviceHas("dot11Authentication", c.written)) << DeviceValue("dot11Authentication");
  }
  EXPECT_TRUE(messages.empty()) << messages[0];
}

TEST_F(WirelessPageTest, UnchangedPortsAndKeysAreNotWritten) {
  Open("dot11Authentication = 7\ndot11PrimaryRadiusServer = 10.250.0.5\ndot11PrimaryRadiusSecret = radius\n"
       "dot11PrimaryRadiusPort = 1812\ndot11SecondaryRadiusPort = 1813\n");
  CWpaEnterpriseDlg* eap = page->m_pWpaEnterpriseDlg;
  EXPECT_EQ(WindowText(eap->m_edPrimaryPort), "1812");
  // A text that the operator did not type is not sent.
  eap->m_edPrimaryPort.SetWindowText("1645");
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_EQ(page->m_pWpaEnterpriseList->m_Request.m_VarList.GetItem(CRadiusSecurityDlg::kPrimaryPortRow)->access,
            SVA_INVALID);
  EXPECT_EQ(DeviceValue("dot11PrimaryRadiusPort"), "1812");
  // Typed, it is.
  Type(eap->m_edPrimaryPort, "1645");
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_TRUE(DeviceHas("dot11PrimaryRadiusPort", "1645"));
  EXPECT_EQ(DeviceValue("dot11SecondaryRadiusPort"), "1813");

  // The WEP key likewise.
  ChooseAuth("Open System");
  CWepKeyDlg* wep = page->m_pWepDlg;
  wep->m_nEncryption = CWepKeyDlg::kEnable;
  wep->UpdateData(FALSE);
  wep->m_cbKeyType.SetCurSel(CWepKeyDlg::kAscii);
  wep->m_cbKeySize.SetCurSel(0);
  wep->m_edKey.SetWindowText("abcde");
  wep->m_edKeyConfirm.SetWindowText("abcde");
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_TRUE(DeviceHas("dot11Encryption", "1"));
  EXPECT_EQ(DeviceValue("dot11WepKey.1"), "");
  Type(wep->m_edKey, "abcde");
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_TRUE(DeviceHas("dot11WepKey.1", "abcde"));
  EXPECT_TRUE(messages.empty());
}

TEST_F(WirelessPageTest, PeriodicKeyChangeLeavesTheFixedPassPhrase) {
  Open("dot11Authentication = 6\ndot11PassPhrase = fixed phrase\ndot11AutoRekeyControl = 1\n"
       "dot11AutoRekeyStartTime = 07:05\ndot11AutoRekeyTimeInterval = 24\n");
  CWpaPersonalDlg* wpa = page->m_pWpaPersonalDlg;
  EXPECT_EQ(wpa->m_nKeyMode, CWpaPersonalDlg::kPeriodical);
  EXPECT_EQ(wpa->m_cbHour.GetCurSel(), 7);
  Type(wpa->m_edKey, "another phrase");
  wpa->m_edKeyConfirm.SetWindowText("another phrase");
  wpa->m_cbMinute.SetCurSel(30);
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_TRUE(DeviceHas("dot11AutoRekeyStartTime", "07:30"));
  EXPECT_EQ(DeviceValue("dot11PassPhrase"), "fixed phrase");

  // Manual: the typed pass phrase goes out, the key change settings stay.
  wpa->CheckRadioButton(IDC_WPAP_MANUAL, IDC_WPAP_PERIODICAL, IDC_WPAP_MANUAL);
  wpa->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WPAP_MANUAL, BN_CLICKED), 0);
  wpa->m_cbMinute.SetCurSel(45);
  Type(wpa->m_edKey, "another phrase");
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_TRUE(DeviceHas("dot11PassPhrase", "another phrase"));
  EXPECT_EQ(DeviceValue("dot11AutoRekeyControl"), "0");
  EXPECT_EQ(DeviceValue("dot11AutoRekeyStartTime"), "07:30");
}

TEST_F(WirelessPageTest, AutoChannelScanLeavesTheChannel) {
  Open("dot11AutoChannelScan = 0\ndot11Channel = 3\n");
  page->m_cbChannel.SetCurSel(8);  // "9"
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_TRUE(DeviceHas("dot11Channel", "9"));
  page->m_chkAutoChannel.SetCheck(BST_CHECKED);
  page->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_WL_AUTO_CHANNEL, BN_CLICKED), (LPARAM)page->m_chkAutoChannel.m_hWnd);
  EXPECT_FALSE(page->m_cbChannel.IsWindowEnabled());
  EXPECT_EQ(WindowText(page->m_cbChannel), "6");
  EXPECT_EQ(page->OnNextPage(), kCreateSecondApply);
  EXPECT_TRUE(DeviceHas("dot11AutoChannelScan", "1"));
  EXPECT_EQ(DeviceValue("dot11Channel"), "9");
}

TEST_F(WirelessPageTest, AnInvalidSsidIsRefusedAndNothingIsWritten) {
  Open("dot11Authentication = 1\n");
  const char* bad[] = {" leading", "trailing ", "", "caf\xE9"};
  for (const char* ssid : bad) {
    SCOPED_TRACE(ssid);
    page->m_edSsid.SetWindowText(ssid);
    ChooseAuth("WPA-Personal");
    EXPECT_EQ(page->OnNextPage(), CWizardPage::kStayOnPage);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], std::string(theApp.Text("IDS_MSG_SSID_INV")));
    EXPECT_EQ(::GetFocus(), page->m_edSsid.m_hWnd);
    messages.clear();
    EXPECT_EQ(DeviceValue("dot11Ssid"), "RIZ-4410");
    EXPECT_EQ(DeviceValue("dot11Authentication"), "1");
  }
}

TEST_F(WirelessPageTest, ARefusedSecurityDialogKeepsThePage) {
  Open("dot11Authentication = 1\n");
  ChooseAuth("WPA-Personal");
  page->m_pWpaPersonalDlg->m_edKey.SetWindowText("short");
  page->m_pWpaPersonalDlg->m_edKeyConfirm.SetWindowText("short");
  page->m_pWpaPersonalDlg->m_edInterval.SetWindowText("3600");
  EXPECT_EQ(page->OnNextPage(), CWizardPage::kStayOnPage);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], std::string(theApp.Text("IDS_MSG_PSK_KEYLEN")));
  EXPECT_EQ(DeviceValue("dot11PassPhrase"), "");
}

TEST_F(WirelessPageTest, AFailedMultipleSsidReadLeavesThePageUsable) {
  Open("faults = snmp_error=dot11Mssid:5\n", false, false);
  // The band read comes back, the multiple-SSID read fails inside its callback.
  EXPECT_FALSE(testkit::PumpUntil([this] { return Loaded(); }, 3000));
  EXPECT_TRUE(::IsWindow(page->m_hWnd));
  EXPECT_EQ(page->m_cbAuth.GetCount(), 5);
  EXPECT_TRUE(page->m_edSsid.IsWindowEnabled());
  page->m_edSsid.SetWindowText("Lobby");
  // Nothing was read, so nothing can be written: the page stays.
  EXPECT_EQ(page->OnNextPage(), CWizardPage::kStayOnPage);
  EXPECT_TRUE(::IsWindow(page->m_hWnd));
  EXPECT_EQ(DeviceValue("dot11Ssid"), "RIZ-4410");
}

TEST_F(WirelessPageTest, AFailedBandReadIsReportedAndThePageStays) {
  testkit::MessageBoxLog boxes;
  testkit::ModalHandler answer([](HWND box) { testkit::Answer(box, IDOK); });
  Open("faults = snmp_error=dot11Band:5\n", false, false);
  EXPECT_TRUE(testkit::PumpUntil([&] { return !boxes.records.empty(); }, 3000));
  ASSERT_EQ(boxes.records.size(), 1u);
  EXPECT_FALSE(Loaded());
  EXPECT_TRUE(page->m_edSsid.IsWindowEnabled());
}

TEST_F(WirelessPageTest, TheModifyPageReadsOnEntryAndLeadsToItsOwnPages) {
  Open("dot11Authentication = 6\n", true);
  EXPECT_EQ(WindowText(page->m_cbAuth), "WPA-Personal");
  EXPECT_EQ(page->OnBackPage(), kModifyScan);
  page->m_pWpaPersonalDlg->m_edInterval.SetWindowText("3600");
  Type(page->m_pWpaPersonalDlg->m_edKey, "correct horse");
  page->m_pWpaPersonalDlg->m_edKeyConfirm.SetWindowText("correct horse");
  EXPECT_EQ(page->OnNextPage(), kModifySecondApply);
  EXPECT_TRUE(DeviceHas("dot11PassPhrase", "correct horse"));
}

TEST_F(WirelessPageTest, TheSecurityAreaScrollsTheEnterpriseDialogWithinItsLimits) {
  Open("dot11Authentication = 7\n");
  CRect area;
  page->m_securityArea.GetClientRect(&area);
  EXPECT_EQ(page->m_scrollTotal.cy, area.Height());
  EXPECT_EQ(page->m_scrollPage.cy, 200);
  const int spare = area.Height() - 200;  // what lies below the shown part
  CWnd* title = page->m_pWpaEnterpriseDlg->GetDlgItem(IDC_WPAE_TITLE);
  auto titleTop = [&] {
    CRect r;
    title->GetWindowRect(&r);
    page->m_pWpaEnterpriseDlg->ScreenToClient(&r);
    return r.top;
  };
  const int top = titleTop();
  const struct {
    UINT code;
    int thumb;
    int position;
  } steps[] = {
      {SB_LINEDOWN, 0, 10}, {SB_LINEUP, 0, 0}, {SB_LINEUP, 0, 0}, {SB_PAGEDOWN, 0, spare - 5},
      {SB_THUMBTRACK, 0, 0}, {SB_ENDSCROLL, 0, 0},
  };
  for (const auto& s : steps) {
    SCOPED_TRACE(::testing::Message() << "code " << s.code);
    page->OnSecurityScroll(s.code, s.thumb);
    EXPECT_EQ(page->m_scrollPos.cy, s.position);
    EXPECT_EQ(titleTop(), top - s.position);
  }
}

TEST_F(WirelessPageTest, TheCreatePageGoesBackToTheScanPage) {
  static CRTSkin skin;  // the skinned classes keep its images
  skin.LoadSkin((SourceDir() + "/res/Skin/vAdev/skin.ini").c_str());
  skin.EnableSkin(1);
  Open("dot11Authentication = 1\ndot11Encryption = 1\ndot11KeyIndex = 2\ndot11WepKeyEntryMethod.2 = 2\n"
       "dot11WepKey.2 = 0123456789ABCDEF0123456789\n");
  EXPECT_EQ(page->OnBackPage(), kCreateScan);
  fs::create_directories("wireless-screens");
  testkit::PumpPending();
  EXPECT_TRUE(testkit::CaptureWindowPng(page->m_hWnd, "wireless-screens/133-open-system.png"));
  ChooseAuth("WPA-Enterprise");
  testkit::PumpPending();
  EXPECT_TRUE(testkit::CaptureWindowPng(page->m_hWnd, "wireless-screens/133-wpa-enterprise.png"));
  ChooseAuth("WPA-Personal");
  testkit::PumpPending();
  EXPECT_TRUE(testkit::CaptureWindowPng(page->m_hWnd, "wireless-screens/133-wpa-personal.png"));
  ChooseAuth("802.1x");
  testkit::PumpPending();
  EXPECT_TRUE(testkit::CaptureWindowPng(page->m_hWnd, "wireless-screens/133-dot1x.png"));
}

}  // namespace
