// The manual IP dialog: the address, mask and gateway checks in their order,
// and the address-in-use check over the page's two lists, where every other
// member row counts wherever it stands, however it is to be addressed.

#include <gtest/gtest.h>

#include <string>

#include "CManualIpDlg.h"
#include "CMemberPage.h"
#include "MemberPageFixture.h"
#include "WindowText.h"
#include "WizardRes.h"

namespace {

using namespace members_test;

class ManualIpDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { UseProgramLook(); }

  void SetUp() override {
    ASSERT_TRUE(MakeHost(host));
    ASSERT_TRUE(page.Create(IDD_PAGE_MEMBER, &host));
    // Members 10.0.0.1 (automatic), 10.0.0.2 (manual), 10.0.0.1 again
    // further down (manual), 10.0.0.3 (kept); one candidate 192.168.1.10.
    const char* ips[] = {"10.0.0.1", "10.0.0.2", "10.0.0.1", "10.0.0.3"};
    for (int i = 0; i < 4; ++i) members.AddTail(MakeDevice(ips[i], "00000000AA0" + std::to_string(i)));
    page.SetGroupList(&members);
    page.m_listMembers.SetCheckbox(0, kColAuto, 1);
    // Row 1 was given its address by hand; it is at 10.0.0.52 until it moves.
    page.m_listMembers.SetItemText(1, kColIsManual, "YES");
    page.m_listMembers.SetItemText(1, kColNewIp, "10.0.0.52");
    devices.AddTail(MakeDevice("192.168.1.10", "000000000000"));
    page.SetDeviceList(&devices);
  }
  void TearDown() override {
    page.DestroyWindow();
    host.DestroyWindow();
    CWizardPage::FreeRecordList(&devices);
    CWizardPage::FreeRecordList(&members);
    testkit::ResetWindows();
  }
  int Run(CManualIpDlg& dialog) {
    dialog.m_pMemberList = &page.m_listMembers;
    dialog.m_pCandidateList = &page.m_listUnconfigured;
    return static_cast<int>(dialog.DoModal());
  }

  CWnd host;
  CMemberPage page;
  CPtrList devices;
  CPtrList members;
};

TEST_F(ManualIpDlgTest, ChecksInOrder) {
  const struct {
    const char* name;
    ManualEntry entry;
    const char* message;  // null: accepted
  } cases[] = {
      {"blank", {"", "", ""}, "IDS_MSG_IP_ERROR"},
      {"a fresh address", {"10.0.0.9", "255.255.255.0", "10.0.0.254"}, nullptr},
      {"a gateway in another subnet", {"10.0.0.9", "255.255.255.0", "172.16.0.1"}, nullptr},
      {"loopback", {"127.0.0.9", "255.0.0.0", "10.0.0.254"}, "IDS_MSG_IP_ERROR"},
      {"not a netmask", {"10.0.0.9", "255.0.255.0", "10.0.0.254"}, "IDS_MSG_IP_ERROR"},
      {"a bad gateway", {"10.0.0.9", "255.255.255.0", "10.0.0.0"}, "IDS_MSG_IP_ERROR"},
      {"the network address", {"10.0.0.0", "255.255.255.0", "10.0.0.254"}, "IDS_MSG_IP_ERROR"},
      {"the broadcast address", {"10.0.1.255", "255.255.254.0", "10.0.0.254"}, "IDS_MSG_IP_ERROR"},
      {"a manual member's address", {"10.0.0.2", "255.255.255.0", "10.0.0.254"}, "IDS_MSG_IP_EXIST"},
      {"a kept member's address", {"10.0.0.3", "255.255.255.0", "10.0.0.254"}, "IDS_MSG_IP_EXIST"},
      // The first row with it is automatic; the manual one further down still counts.
      {"an address held by hand further down", {"10.0.0.1", "255.255.255.0", "10.0.0.254"}, "IDS_MSG_IP_EXIST"},
      {"a manual member's present address", {"10.0.0.52", "255.255.255.0", "10.0.0.254"}, "IDS_MSG_IP_EXIST"},
      {"a candidate's address", {"192.168.1.10", "255.255.255.0", "192.168.1.1"}, "IDS_MSG_IP_EXIST"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ModalAnswers answers;
    answers.entry = c.entry;
    CManualIpDlg dialog;
    const int result = Run(dialog);
    EXPECT_EQ(answers.dialogs, 1);
    if (c.message) {
      EXPECT_EQ(result, IDCANCEL);
      EXPECT_EQ(answers.messages, Texts({c.message}));
    } else {
      EXPECT_EQ(result, IDOK);
      EXPECT_TRUE(answers.messages.empty());
      EXPECT_EQ(dialog.m_strIp, c.entry.ip.c_str());
      EXPECT_EQ(dialog.m_strMask, c.entry.mask.c_str());
      EXPECT_EQ(dialog.m_strGateway, c.entry.gateway.c_str());
    }
  }
}

// A member that is to take an automatic address keeps its present one when
// its move fails, so that address is no free choice either; only the row the
// address is for may keep its own.
TEST_F(ManualIpDlgTest, AnAutomaticRowsAddressIsTakenButTheRowsOwnIsFree) {
  page.m_listMembers.SetCheckbox(2, kColAuto, 1);
  const struct {
    int row;  // the row the dialog is for
    const char* ip;
    bool taken;
  } cases[] = {{-1, "10.0.0.1", true}, {1, "10.0.0.2", false}, {1, "10.0.0.1", true}, {3, "10.0.0.3", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.row) + " " + c.ip);
    ModalAnswers answers;
    answers.entry = {c.ip, "255.255.255.0", "10.0.0.254"};
    CManualIpDlg dialog;
    dialog.m_nRow = c.row;
    EXPECT_EQ(Run(dialog), c.taken ? IDCANCEL : IDOK);
    EXPECT_EQ(answers.messages, c.taken ? Texts({"IDS_MSG_IP_EXIST"}) : Texts({}));
  }
}

TEST_F(ManualIpDlgTest, TextsComeFromTheLanguageFile) {
  bool shot = false;
  std::string caption, ipLabel, okText;
  testkit::ModalHandler handler([&](HWND modal) {
    caption = WindowText(modal);
    char buffer[128];
    ::GetDlgItemText(modal, IDC_MAN_IP_LABEL, buffer, sizeof buffer);
    ipLabel = buffer;
    ::GetDlgItemText(modal, IDOK, buffer, sizeof buffer);
    okText = buffer;
    ::SetDlgItemText(modal, IDC_MAN_IP, "10.0.0.9");
    ::SetDlgItemText(modal, IDC_MAN_MASK, "255.255.255.0");
    shot = Shoot(modal, ShotPath("manual_ip_dialog"));
    testkit::Answer(modal, IDCANCEL);
  });
  CManualIpDlg dialog;
  EXPECT_EQ(Run(dialog), IDCANCEL);
  EXPECT_TRUE(shot);
  EXPECT_EQ(caption, Lang("IDS_STR_TITLE_MAN_DLG").GetString());
  EXPECT_EQ(ipLabel, Lang("IDS_UI_LIST_IP").GetString());
  EXPECT_EQ(okText, Lang("IDS_UI_BTN_OK").GetString());
}

}  // namespace
