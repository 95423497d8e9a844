// CRTListBox: a list box whose scroll bars are the skinned bars of a
// CRTScrollControlContainer; every paint first brings them in step with the
// rows. It has no images and no switch of its own.
#pragma once

#include "RTScrollControlContainer.h"
#include "afxwin.h"

class CRTListBox : public CListBox {
  DECLARE_DYNAMIC(CRTListBox)

 public:
  CRTListBox() = default;
  ~CRTListBox() override;

  CRTScrollControlContainer& GetContainer() { return m_container; }

  void PreSubclassWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  afx_msg void OnPaint();
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnStyleChanging(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void SyncBars();

  CRTScrollControlContainer m_container;
  bool m_creating = false;  // created in code: WM_CREATE attaches, not the subclass step
  bool m_horizontal = false;  // made with WS_HSCROLL: a horizontal bar may show
};
