// The scan pages that open the three flows: CScanNewApPage (create, template
// 130), CModifyScanPage (modify, 135) and CStatusScanPage (status, 138).
//
// A scan runs the main dialog's two discovery tasks for 100 ticks of a 400 ms
// timer: the listening task reports group members (the group list), the
// broadcasting task every RIZ-4410 that answers (the device list). The last
// tick merges the two lists and writes the result line. While a scan runs the
// frame's and the main dialog's buttons are disabled and the main dialog
// shows the wait cursor; ticks that come while no scan runs change nothing,
// so a list is merged once per scan and a record that comes after the merge
// stays where it arrived.
//
// Ownership: a page owns the records of its two lists; the frame hands the
// later pages copies of the pointers. The create and status pages free both
// lists when a new scan starts and when they are destroyed. The modify page
// keeps the group records of its earlier scans (the later pages of its flow
// point at them and change them in place) and frees them only when it is
// destroyed. The discovery tasks are borrowed from the main dialog; a page
// that goes while a task still runs is forgotten by the task.
#pragma once

#include "CWizardPage.h"
#include "RTStatic.h"
#include "afxcmn.h"

class CDeviceRecord;
class CRTProgressBar;

// What the three scan pages share.
class CScanPage : public CWizardPage {
 public:
  // What sets one scan page apart.
  struct Design {
    UINT templateId;
    UINT timerId;
    int statusId;         // the result line
    BOOL skinnedStatus;   // the result line is a transparent CRTStatic
    LPCTSTR titleKey;
    BOOL keepsSnmpStatus; // the answers' SNMP status is copied into the records
    int foundPage;        // where Next goes after a successful scan
  };
  static constexpr int kTicksPerScan = 100;
  static constexpr UINT kTickMs = 400;

  explicit CScanPage(const Design& design);
  ~CScanPage() override;

  void StartScan();
  // Discovery callbacks (owner = the page): announcements of group members,
  // and answers to the broadcast.
  static int OnGroupFound(int status, CDeviceRecord* record, void* page);
  static int OnDeviceFound(int status, CDeviceRecord* record, void* page);

  void OnEnterPage() override;
  void OnReturnToPage() override;
  int OnNextPage() override;

  // The device list's record with exactly this MAC, or null.
  POSITION FindCandidateByMac(const CString& mac);
  // Rebuilds the page's list of group names from the group list (each name
  // once, the latest first); returns the number of names.
  int CollectGroupNames();

  BOOL IsScanning() const { return m_nScanning; }
  int Ticks() const { return m_nTicks; }
  CString StatusText();

  int m_nTicks = 0;
  int m_nNoResult = 0;
  int m_nScanning = 0;
  CBrush m_statusBrush;
  CRTStatic m_title;
  CRTStatic m_status;  // bound only where the design says so
  CProgressCtrl m_progressPlaceholder;
  CFont m_titleFont;
  CFont m_statusFont;
  CRTProgressBar* m_pProgress = nullptr;

 protected:
  // The records of the previous scan go (the modify page keeps its group records).
  virtual void ForgetPreviousScan();
  virtual void DeviceAdded() {}
  // Joins the two lists at the end of a scan. Here: a group record whose
  // device also answered the broadcast takes over what TakeOver says and is
  // confirmed, and the device record goes; the other group records go.
  virtual void Merge();
  virtual void TakeOver(const CDeviceRecord& device, CDeviceRecord& member);
  // Sets the no-result flag and returns the result line.
  virtual CString ResultLine();
  // The answers the discovery tasks set aside during this scan, a line each
  // under a heading; empty when there were none.
  CString SetAsideText() const;
  // The result line as the template has it, or reaching down to just above
  // the frame's buttons, room for the set-aside answers.
  void SetStatusText(const CString& text, BOOL tall);

  void CopyAnswer(const CDeviceRecord& from, CDeviceRecord& to) const;
  void EndScan();

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  // Enter and Escape in the page: the flow goes on only by its buttons.
  void OnOK() override {}
  void OnCancel() override {}
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()

  const Design m_design;
  // How many answers each discovery task had set aside when the scan began.
  INT_PTR m_nAsideBeforeA = 0;
  INT_PTR m_nAsideBeforeB = 0;
};

class CScanNewApPage : public CScanPage {
 public:
  CScanNewApPage();

  int OnNextPage() override;
  int OnBackPage() override;

  int m_nCandidates = 0;
  int m_nExists = 0;  // a group found bears the new group's name
  CString m_strSpare;

 protected:
  void ForgetPreviousScan() override;
  void DeviceAdded() override { ++m_nCandidates; }
  void Merge() override;
  CString ResultLine() override;
  void DoDataExchange(CDataExchange* pDX) override;
};

class CModifyScanPage : public CScanPage {
 public:
  CModifyScanPage();

  int OnBackPage() override;

  // Group records of earlier scans that later pages may still point at.
  CPtrList m_keptGroupRecords{10};

 protected:
  void ForgetPreviousScan() override;
  void TakeOver(const CDeviceRecord& device, CDeviceRecord& member) override;
  afx_msg void OnDestroy();
  DECLARE_MESSAGE_MAP()
};

class CStatusScanPage : public CScanPage {
 public:
  CStatusScanPage();
};
