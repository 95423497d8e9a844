// The class layer's dialogs: CDialog modal and modeless, data exchange and
// validation, and the control wrappers attached with DDX_Control.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestKit.h"
#include "afxwin.h"
#include "dlg_fixture.h"

namespace {

enum { kName = 100, kCount = 101, kEnable = 102, kModeA = 103, kModeB = 104, kBand = 105, kIp = 106, kSsid = 107 };

const DialogTemplate& SettingsTemplate() {
  static const DialogTemplate t = Template({
      rc::EditText(kName, 5, 5, 100, 14),
      rc::EditText(kCount, 5, 22, 40, 14),
      rc::AutoCheckBox("Enable", kEnable, 5, 40, 60, 10),
      rc::AutoRadioButton("A", kModeA, 5, 54, 40, 10, WS_GROUP | WS_TABSTOP),
      rc::AutoRadioButton("B", kModeB, 50, 54, 40, 10),
      rc::ComboBox(kBand, 5, 68, 80, 60, CBS_DROPDOWNLIST | WS_GROUP, {"b", "g", "n"}),
      rc::Control("", kIp, WC_IPADDRESS, WS_TABSTOP, 5, 84, 80, 13),
      rc::ComboBox(kSsid, 100, 68, 80, 60, CBS_DROPDOWN, {"home", "office"}),
      rc::DefPushButton("OK", IDOK, 86, 99, 50, 14, WS_GROUP),
      rc::PushButton("Cancel", IDCANCEL, 143, 99, 50, 14),
  });
  return t;
}

class SettingsDialog : public CDialog {
 public:
  SettingsDialog() { InitModalIndirect(&SettingsTemplate()); }
  CString m_name = "ap-1";
  int m_count = 3;
  int m_enable = 1;
  int m_mode = 1;
  int m_band = 2;
  DWORD m_ip = MAKEIPADDRESS(10, 0, 0, 1);
  CString m_ssid = "cafe";
  CEdit m_nameEdit;
  CComboBox m_bandCombo;
  int initCalls = 0;
  int focusAtCancel = 0;
  std::vector<int> clicks;

 protected:
  void DoDataExchange(CDataExchange* pDX) override {
    DDX_Control(pDX, kName, m_nameEdit);
    DDX_Control(pDX, kBand, m_bandCombo);
    DDX_Text(pDX, kName, m_name);
    DDV_MaxChars(pDX, m_name, 8);
    DDX_Text(pDX, kCount, m_count);
    DDX_Check(pDX, kEnable, m_enable);
    DDX_Radio(pDX, kModeA, m_mode);
    DDX_CBIndex(pDX, kBand, m_band);
    DDX_IPAddress(pDX, kIp, m_ip);
    DDX_CBString(pDX, kSsid, m_ssid);
  }
  BOOL OnInitDialog() override {
    ++initCalls;
    return CDialog::OnInitDialog();
  }
  void OnCancel() override {
    focusAtCancel = ::GetDlgCtrlID(::GetFocus());
    CDialog::OnCancel();
  }
  void OnEnable() { clicks.push_back(kEnable); }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SettingsDialog, CDialog)
  ON_BN_CLICKED(kEnable, OnEnable)
END_MESSAGE_MAP()

class DialogClasses : public ::testing::Test {
 protected:
  void SetUp() override { PlatformDialogClass(nullptr); }
  void TearDown() override { testkit::ResetWindows(); }
  static std::string Text(HWND dlg, int id) {
    char buf[128] = {0};
    GetDlgItemTextA(dlg, id, buf, sizeof buf);
    return buf;
  }
};

TEST_F(DialogClasses, DoModalLoadsTheMembersAndSavesThemOnOk) {
  SettingsDialog dlg;
  std::string nameShown, ssidShown;
  int checked = -1, radioB = -1, band = -1;
  testkit::ModalHandler answer([&](HWND hwnd) {
    nameShown = Text(hwnd, kName);
    ssidShown = Text(hwnd, kSsid);
    checked = static_cast<int>(IsDlgButtonChecked(hwnd, kEnable));
    radioB = static_cast<int>(IsDlgButtonChecked(hwnd, kModeB));
    band = static_cast<int>(SendDlgItemMessageA(hwnd, kBand, CB_GETCURSEL, 0, 0));
    // The user's answers.
    SetDlgItemTextA(hwnd, kName, "ap-2");
    SetDlgItemTextA(hwnd, kCount, " 12 ");
    SendDlgItemMessageA(hwnd, kEnable, BM_CLICK, 0, 0);
    SendDlgItemMessageA(hwnd, kModeA, BM_CLICK, 0, 0);
    SendDlgItemMessageA(hwnd, kBand, CB_SETCURSEL, 0, 0);
    SetDlgItemTextA(hwnd, kIp, "192.168.0.9");
    SetDlgItemTextA(hwnd, kSsid, "lab");
    testkit::Answer(hwnd, IDOK);
  });
  EXPECT_EQ(dlg.DoModal(), IDOK);
  EXPECT_EQ(dlg.initCalls, 1);
  EXPECT_EQ(nameShown, "ap-1");
  EXPECT_EQ(ssidShown, "cafe");  // no item begins with it: the editable combo shows the text
  EXPECT_EQ(checked, BST_CHECKED);
  EXPECT_EQ(radioB, BST_CHECKED);
  EXPECT_EQ(band, 2);
  EXPECT_STREQ(dlg.m_name, "ap-2");
  EXPECT_EQ(dlg.m_count, 12);
  EXPECT_EQ(dlg.m_enable, 0);
  EXPECT_EQ(dlg.m_mode, 0);
  EXPECT_EQ(dlg.m_band, 0);
  EXPECT_EQ(dlg.m_ip, static_cast<DWORD>(MAKEIPADDRESS(192, 168, 0, 9)));
  EXPECT_STREQ(dlg.m_ssid, "lab");
  EXPECT_EQ(dlg.clicks, std::vector<int>{kEnable});
  EXPECT_EQ(dlg.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_nameEdit.m_hWnd, nullptr);  // the wrappers let go with the window
}

TEST_F(DialogClasses, CancelAndCloseLeaveTheMembersAlone) {
  for (UINT how : {static_cast<UINT>(IDCANCEL), static_cast<UINT>(WM_CLOSE)}) {
    SettingsDialog dlg;
    testkit::ModalHandler answer([&](HWND hwnd) {
      SetDlgItemTextA(hwnd, kName, "changed");
      if (how == WM_CLOSE)
        PostMessageA(hwnd, WM_CLOSE, 0, 0);
      else
        testkit::Answer(hwnd, IDCANCEL);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_STREQ(dlg.m_name, "ap-1");
  }
}

TEST_F(DialogClasses, FailedValidationTellsTheUserAndKeepsTheDialogOpen) {
  struct Case {
    const char* name;
    const char* count;
    const char* message;
    int focus;
  } cases[] = {
      {"ap", "12x", "Please enter an integer.", kCount},
      {"ap", "99999999999", "Please enter an integer.", kCount},
      {"much-too-long", "1", "Enter no more than 8 characters.", kName},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    SettingsDialog dlg;
    testkit::MessageBoxLog log;
    HWND dialog = nullptr;
    testkit::ModalHandler answer([&](HWND hwnd) {
      if (!testkit::MessageBoxText(hwnd).empty()) {
        testkit::Answer(hwnd, IDOK);
        // The dialog is still open after the failed OK; the user cancels it.
        testkit::Answer(dialog, IDCANCEL);
        return;
      }
      dialog = hwnd;
      SetDlgItemTextA(hwnd, kName, c.name);
      SetDlgItemTextA(hwnd, kCount, c.count);
      testkit::Answer(hwnd, IDOK);
    });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    ASSERT_EQ(log.records.size(), 1u);
    EXPECT_EQ(log.records[0].text, c.message);
    EXPECT_EQ(dlg.focusAtCancel, c.focus);  // the control that failed got the focus back
    // The exchange stopped at the failing control: what comes after it is untouched.
    EXPECT_EQ(dlg.m_count, 3);
  }
}

TEST_F(DialogClasses, ComboStringSelectsTheFirstItemBeginningWithTheValue) {
  SettingsDialog dlg;
  dlg.m_ssid = "off";
  std::string shown;
  testkit::ModalHandler answer([&](HWND hwnd) {
    shown = Text(hwnd, kSsid);
    testkit::Answer(hwnd, IDCANCEL);
  });
  dlg.DoModal();
  EXPECT_EQ(shown, "office");
}

TEST_F(DialogClasses, ModelessDialogIsAChildPageOfItsParent) {
  DialogTemplate page = SettingsTemplate();
  page.style = WS_CHILD | DS_CONTROL | WS_VISIBLE;
  HWND frame = CreateWindowExA(0, DIALOG_CLASS_NAME, "frame", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                               nullptr, nullptr, nullptr);
  CWnd* parent = CWnd::FromHandle(frame);
  SettingsDialog dlg;
  ASSERT_TRUE(dlg.CreateIndirect(&page, parent));
  EXPECT_EQ(dlg.initCalls, 1);
  EXPECT_EQ(::GetParent(dlg.m_hWnd), frame);
  EXPECT_TRUE(dlg.GetExStyle() & WS_EX_CONTROLPARENT);
  EXPECT_EQ(Text(dlg.m_hWnd, kName), "ap-1");
  EXPECT_NE(dlg.m_bandCombo.m_hWnd, nullptr);
  EXPECT_EQ(dlg.m_bandCombo.GetCurSel(), 2);
  dlg.m_nameEdit.SetWindowText("typed");
  EXPECT_TRUE(dlg.UpdateData(TRUE));
  EXPECT_STREQ(dlg.m_name, "typed");
  dlg.DestroyWindow();
  EXPECT_EQ(dlg.m_hWnd, nullptr);
}

}  // namespace
