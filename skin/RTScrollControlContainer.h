// CRTScrollControlContainer: gives any control skinned scroll bars. Attach
// puts the control into a container window on the control's own rectangle
// (the border styles move to the container), hides the control's own bars
// and places a vertical and a horizontal CRTScrollBar beside it. The bars'
// messages go on to the control; every message above WM_USER that reaches
// the container goes first to the container's parent, so a page still hears
// what it would have heard from the control's old place.
//
// The container borrows the control (its owner keeps it) and owns the two
// bars. Notifications of the control keep reaching the page it was created
// on. The container is a control parent (WS_EX_CONTROLPARENT), so the dialog
// manager's Tab walk reaches the control inside it.
#pragma once

#include "RTScrollBar.h"
#include "afxwin.h"

class CRTScrollControlContainer : public CWnd {
  DECLARE_DYNAMIC(CRTScrollControlContainer)

 public:
  static constexpr UINT kContainerId = 0xFFFF;

  CRTScrollControlContainer() = default;
  ~CRTScrollControlContainer() override;

  // Returns 0 in every case, as its callers expect; whether it worked shows
  // in the container's window.
  BOOL Attach(CWnd* pControl);
  void SetVScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  void SetHScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
  void SetVScrollPos(int nPos, BOOL bRedraw = TRUE);
  void SetHScrollPos(int nPos, BOOL bRedraw = TRUE);
  void RecalcLayout();

  // For the hosted control's WM_STYLECHANGING: once it is hosted, its own
  // bars stay hidden whatever shows them (the skinned ones stand in).
  void KeepOwnBarsHidden(WPARAM which, LPARAM style) const;

  CRTScrollBar& VerticalBar() { return m_vertical; }
  CRTScrollBar& HorizontalBar() { return m_horizontal; }
  CWnd* GetControl() const { return m_control; }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  // Whether the control asks for the bar: it has the bar's style, or its own
  // scroll information holds more than one page.
  bool ControlWantsBar(int bar) const;
  // Shows or hides `bar`, keeping the vertical bar's corner square in step
  // with the horizontal bar; relays out on a change.
  void ShowBar(CRTScrollBar& bar, bool show);

  CRTScrollBar m_vertical;
  CRTScrollBar m_horizontal;
  CWnd* m_control = nullptr;
};
