// What the apply page's tests share: the page in a plain host window with the
// program's language texts, member records as the member page hands them on,
// and the page's log and store read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "CApplyPage.h"
#include "CDeviceRecord.h"
#include "CVHException.h"
#include "CWizardApp.h"
#include "DialogPagesRes.h"
#include "QUAVError.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardRes.h"

// The apply page, counting how often it was made busy and released and how
// often the SNMP phase was asked for the next device; with `stop_at_snmp`
// the run ends where the QUAV phase hands over. The device tasks of the MACs
// in `no_task_for` cannot be made, as when their client gets no socket.
class TestApplyPage : public CApplyPage {
 public:
  std::set<std::string> no_task_for;

  void SetBusy(BOOL busy) override {
    CApplyPage::SetBusy(busy);
    (busy ? made_busy : released)++;
  }
  int made_busy = 0;
  int released = 0;
  int next_device = 0;
  bool stop_at_snmp = false;

 protected:
  CCommunityTask* NewCommunityTask(int row, const CString& password) override {
    if (no_task_for.count(Cell(row, kColMac).GetString())) NoSocket();
    return CApplyPage::NewCommunityTask(row, password);
  }
  CSetIpTask* NewSetIpTask(int row, const CString& newIp) override {
    if (no_task_for.count(Cell(row, kColMac).GetString())) NoSocket();
    return CApplyPage::NewSetIpTask(row, newIp);
  }
  static void NoSocket() { throw new CVHException(QUAVErrorText(QUAV_WINSOCK_FAILED), QUAV_WINSOCK_FAILED); }
  LRESULT OnNextDeviceSpy(WPARAM wParam, LPARAM lParam) {
    ++next_device;
    return stop_at_snmp ? 0 : OnNextDevice(wParam, lParam);
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(TestApplyPage, CApplyPage)
  ON_MESSAGE(WM_APPLY_NEXTDEVICE, OnNextDeviceSpy)
END_MESSAGE_MAP()

// The status of a step settled by asking the device, its answers lost.
inline const std::string kOkAnswerLost =
    "OK! (its answer was lost; asked again, the access point holds what was written)";

// A planned member as the member page makes it.
struct Member {
  const char* mac;
  const char* ip;
  const char* role;  // "Master", "Backup Master", "Slave"
  int autoIp = 1;
  int membership = 0;
  const char* newIp = "10.250.0.21";
  const char* password = "";
  int manualIp = 0;
  const char* snmpStatus = "";
};

inline CDeviceRecord* MakeRecord(const Member& m) {
  auto* r = new CDeviceRecord;
  r->m_strModel = "RIZ-4410";
  r->m_strMac = m.mac;
  r->m_strIp = m.ip;
  r->m_strNetmask = "255.255.255.0";
  r->m_strRole = m.role;
  r->m_nAutoIp = m.autoIp;
  r->m_nManualIp = m.manualIp;
  r->m_nMembership = m.membership;
  r->m_strNewIp = m.newIp;
  r->m_strNewNetmask = "255.255.255.0";
  r->m_strNewGateway = "10.250.0.1";
  r->m_strDevicePassword = m.password;
  r->m_strSnmpStatus = m.snmpStatus;
  r->m_strGroupName = "Lobby";
  r->m_strGroupPassword = "grouppass";
  return r;
}

// Points the program folder at the build's bin folder, where the language
// file lies beside the program.
inline void UseProgramLanguage(CWizardApp& app) {
  const char* bin = std::getenv("TRELLIAN_BINARY_DIR");
  testkit::SetProgramPath(std::string(bin ? bin : ".") + "/bin/Trellian");
  app.SetupLanguage();
}

// The page inside a host window, as a frame holds it; the records are the
// test's and are freed at the end.
class ApplyHost {
 public:
  explicit ApplyHost(const std::vector<Member>& members, int secondRun = 0, int modifyFlow = 0) {
    EXPECT_TRUE(host.CreateEx(0, nullptr, "apply", WS_POPUP, 0, 0, 640, 440, nullptr, nullptr));
    page.m_nSecondRun = secondRun;
    page.m_nModifyFlow = modifyFlow;
    EXPECT_TRUE(page.Create(IDD_PAGE_APPLY, &host));
    SetMembers(members);
    page.m_strGroupName = "Lobby";
    page.m_strGroupPassword = "grouppass";
  }
  ~ApplyHost() {
    if (page.GetSafeHwnd()) page.DestroyWindow();
    host.DestroyWindow();
    CWizardPage::FreeRecordList(&page.m_groupList);
  }
  void SetMembers(const std::vector<Member>& members) {
    CWizardPage::FreeRecordList(&page.m_groupList);
    for (const Member& m : members) page.m_groupList.AddTail(MakeRecord(m));
  }
  CDeviceRecord* Record(int index) {
    POSITION pos = page.m_groupList.FindIndex(index);
    return pos ? static_cast<CDeviceRecord*>(page.m_groupList.GetAt(pos)) : nullptr;
  }
  std::vector<std::string> Log() {
    std::vector<std::string> lines;
    for (int i = 0; i < page.m_log.GetCount(); ++i) {
      CString text;
      page.m_log.GetLineText(i, text);
      lines.push_back(text.GetString());
    }
    return lines;
  }
  std::string Cell(const char* mac, int column) {
    int row = page.FindRowByMac(mac);
    return row < 0 ? "(no row)" : page.Cell(row, column).GetString();
  }

  CWnd host;
  TestApplyPage page;
};

// For a person to look at the page after a run: a picture where the
// environment variable names it.
inline void ShowForAPerson(ApplyHost& h, const char* variable) {
  const char* png = std::getenv(variable);
  if (!png) return;
  h.host.ShowWindow(SW_SHOW);
  h.page.ShowWindow(SW_SHOW);
  h.host.UpdateWindow();
  testkit::PumpPending();
  EXPECT_TRUE(testkit::CaptureWindowPng(h.host.m_hWnd, png));
}

// Answers the modal windows of a run as an operator would: the device
// password dialog with `password` typed (Cancel when it is empty), any other
// box (the skinned message box, a plain one) with OK.
class OperatorAnswers {
 public:
  explicit OperatorAnswers(std::string password)
      : password_(std::move(password)), handler_([this](HWND modal) { Answer(modal); }) {}

  std::vector<std::string> asked;  // "IP MAC" as each password dialog showed them
  std::vector<std::string> boxes;  // the texts of the other boxes

 private:
  void Answer(HWND modal) {
    HWND edit = ::GetDlgItem(modal, IDC_DEVPASS_PASSWORD);
    HWND ip = ::GetDlgItem(modal, IDC_DEVPASS_IP);
    if (edit && ip) {
      asked.push_back(WindowText(ip) + " " + WindowText(::GetDlgItem(modal, IDC_DEVPASS_MAC)));
      ::SetWindowTextA(edit, password_.c_str());
      testkit::Answer(modal, password_.empty() ? IDCANCEL : IDOK);
    } else if (HWND text = ::GetDlgItem(modal, IDC_MSGBOX_TEXT)) {
      boxes.push_back(WindowText(text));
      testkit::Answer(modal, IDC_MSGBOX_SINGLE_OK);
    } else {
      boxes.push_back(testkit::MessageBoxText(modal));
      testkit::Answer(modal, IDOK);
    }
  }

  std::string password_;
  testkit::ModalHandler handler_;
};
