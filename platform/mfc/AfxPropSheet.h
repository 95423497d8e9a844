// Property sheets: a dialog with a tab control, one page per tab (each a
// child dialog made from its own template), and OK, Cancel and Apply buttons.
#pragma once

#include <vector>

#include "AfxCmnCtrl.h"
#include "AfxDialog.h"

#define AFX_IDC_TAB_CONTROL 0x3020
#define ID_APPLY_NOW 0x3021

class PLATFORM_API CPropertyPage : public CDialog {
  DECLARE_DYNAMIC(CPropertyPage)
 public:
  CPropertyPage() = default;
  explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

  virtual BOOL OnSetActive() { return TRUE; }
  // Leaving the page takes its data; a refusal keeps it.
  virtual BOOL OnKillActive() { return UpdateData(TRUE); }
  virtual BOOL OnApply();
  // Turns the sheet's Apply button on.
  void SetModified(BOOL bChanged = TRUE);

  UINT m_nIDTemplate = 0;
  CString m_strCaption;

 protected:
  // Pages take no part in ending the sheet's dialog.
  void OnOK() override {}
  void OnCancel() override {}

 private:
  DialogTemplate m_childTemplate;  // the page's template as a child of the sheet
  friend class CPropertySheet;
};

class PLATFORM_API CPropertySheet : public CDialog {
  DECLARE_DYNAMIC(CPropertySheet)
 public:
  CPropertySheet() = default;
  explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

  void AddPage(CPropertyPage* pPage);
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  CPropertyPage* GetPage(int nPage) const;
  CPropertyPage* GetActivePage() const { return GetPage(m_nCurPage); }
  int GetActiveIndex() const { return m_nCurPage; }
  BOOL SetActivePage(int nPage);
  BOOL SetActivePage(CPropertyPage* pPage);
  CTabCtrl* GetTabControl() const;
  void SetTitle(LPCTSTR lpszText, UINT nStyle = 0);

  INT_PTR DoModal() override;
  // The modeless sheet.
  BOOL Create(CWnd* pParentWnd = nullptr, DWORD dwStyle = static_cast<DWORD>(-1), DWORD dwExStyle = 0);
  BOOL OnInitDialog() override;

 protected:
  void OnOK() override;
  void OnCancel() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

 private:
  void BuildTemplate(DWORD style);
  BOOL ApplyPages();
  void Finish(int nResult);

  CString m_strCaption;
  std::vector<CPropertyPage*> m_pages;
  int m_nCurPage = 0;
  bool m_bModeless = false;
  DialogTemplate m_sheetTemplate;
  mutable CTabCtrl m_tabWrapper;
};
