// CMemberPage: the create flow's member page. The scan's unconfigured access
// points stand in the upper list; the operator drags them into the member
// list, gives each member its role and decides how it is addressed (keep its
// address, take one from the automatic plan, or one typed in CManualIpDlg).
// Next checks the plan and turns every row of both lists into a
// CDeviceRecord of the page's group list, which the apply page works through.
//
// Records: the page owns the records of its group list (it builds them and
// frees them at the next build and when its window goes); the device list
// holds the scan page's records, which it only reads. The modify flow's page
// (CModifyMembersPage) is this page with the group choice added; it owns
// only the records it appends.
//
// Drag and drop runs only from the unconfigured list to the member list, with
// the page holding the mouse capture: the drop highlight is shown only in the
// member list, and a release anywhere else moves nothing.
#pragma once

#include "CRTListCtrlEx.h"
#include "CWizardPage.h"
#include "MemberStore.h"
#include "RTGroupBox.h"
#include "RTStatic.h"
#include "afxcmn.h"

class CDeviceRecord;

// The unconfigured list's columns (3 to 7 are hidden).
enum UnconfiguredListColumn {
  kUnconfiguredModel = 0,
  kUnconfiguredIp = 1,
  kUnconfiguredMac = 2,
  kUnconfiguredLocation = 3,
  kUnconfiguredSnmp = 4,
  kUnconfiguredMask = 8,
  kUnconfiguredColumnCount = 9
};

class CMemberPage : public CWizardPage {
 public:
  CMemberPage();
  ~CMemberPage() override;

  static constexpr int kMaxMembers = 32;
  enum { kMaster, kBackupMaster, kSlave };

  void SetGroupList(CPtrList* groups) override;
  void SetDeviceList(CPtrList* devices) override;
  void OnEnterPage() override;
  int OnNextPage() override;
  int OnBackPage() override;

  virtual BOOL UpdateAutoIpState();
  // Every manual row's typed address against the other rows, the
  // unconfigured list and IsHeldOutsideTheLists; IDS_MSG_IP_EXIST and FALSE
  // when one is taken.
  BOOL CheckManualAddresses();
  // TRUE when a device that stands in neither list stays on the LAN at `ip`.
  // The create flow shows every device it found; the modify page has more.
  virtual BOOL IsHeldOutsideTheLists(const CString& ip);
  virtual BOOL CheckOneMaster();
  BOOL CheckIpPlan();
  virtual BOOL BuildRecordList();
  void DropRows(CRTListCtrlEx* source, CRTListCtrlEx* target);
  BOOL ReturnRowToUnconfigured(CRTListCtrlEx* members, CRTListCtrlEx* unconfigured, int row);
  static int RoleIndex(const CString& role);
  int FindMemberRowByMac(const CString& mac);
  // Offered beside BuildRecordList; the create flow does not call it.
  virtual void UpdateRecordsFromRows();

  CRTStatic m_unconfiguredCaption;
  CRTListCtrlEx m_listUnconfigured;
  CRTStatic m_memberCaption;
  CRTListCtrlEx m_listMembers;
  CRTGroupBox m_autoFrame;
  CRTStatic m_autoCaption;
  CRTStatic m_ipFromLabel;
  CRTStatic m_maskLabel;
  CRTStatic m_gatewayLabel;
  CIPAddressCtrl m_ipFrom;
  CIPAddressCtrl m_ipMask;
  CIPAddressCtrl m_ipGateway;
  CButton m_chkAutoIp;
  BOOL m_bAutoIp = FALSE;
  CRTGroupBox m_unconfiguredFrame;
  CRTGroupBox m_memberFrame;

  CStringArray m_roleNames;
  CImageList m_imageList;
  CFont m_captionFont;  // 10 x 10 bold
  CFont m_labelFont;    // 6 x 6 bold
  CFont m_listFont;     // 14 x 8
  CFont m_spareFont;    // 14 x 6 bold, made and not used

  // The drag.
  CImageList* m_pDragImage = nullptr;
  BOOL m_bDragging = FALSE;
  int m_nDragIndex = -1;
  CRTListCtrlEx* m_pDragList = nullptr;
  CRTListCtrlEx* m_pDropList = nullptr;
  CWnd* m_pDropWnd = nullptr;  // the page's list under the pointer, or null
  int m_nDropIndex = -1;       // the member row shown drop-highlighted

 protected:
  // For the modify page: its own template.
  explicit CMemberPage(UINT templateId);

  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override {}
  void OnCancel() override {}

  // What the two member pages share of their set-up: image list, columns,
  // role names, fonts and the hand-cursor columns.
  void SetUpLists(DWORD memberExStyle, int unconfiguredResizable);
  void CreateImageList(CImageList& images);
  void CreateFonts();
  void InsertColumns(DWORD memberExStyle, int unconfiguredResizable);

  // A member row at the end of the list; returns its index.
  struct MemberRowTexts {
    CString text, role, ip, mac, location, mask, isAdded;
    BOOL snmpEnabled = FALSE;
  };
  int AppendMemberRow(const MemberRowTexts& row, int roleIndex);
  int AppendRecordRow(const CDeviceRecord& record, const CString& text);
  void AppendUnconfiguredRow(CRTListCtrlEx& list, const CDeviceRecord& device);
  void MoveRowToMembers(CRTListCtrlEx* source, int row);
  void FillRecordFromMemberRow(CDeviceRecord& record, int row);
  void FillRecordFromExistingRow(CDeviceRecord& record, int row);
  // Records of the member rows not yet kRowRecorded and of every unconfigured
  // row, appended to `records`; each record gets the group name and
  // password `nameAndPassword` gives at that moment.
  void AppendNewRecords(CPtrList& records);
  virtual void ReadGroupNameAndPassword(CString& name, CString& password);
  // The records this page made and must free.
  virtual void FreeOwnRecords();
  void ShowMessage(LPCTSTR key);
  bool Confirm(LPCTSTR key);
  CString Text(LPCTSTR key) const;

  void StopDragging();
  void ClearDropHighlight();
  void HighlightDropRow(CPoint screen);

  afx_msg void OnAutoIpClicked();
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  afx_msg void OnDestroy();
  afx_msg void OnBeginDrag(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnListCellClicked(WPARAM column, LPARAM row);
  DECLARE_MESSAGE_MAP()
};
