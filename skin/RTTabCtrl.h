// CRTTabCtrl: the skinned tab control (offered, not constructed by the wizard).
//
// It hosts one page window per tab (kept in the tab's item parameter): the
// page at the selection is shown, the others hidden, and every page follows
// the page rectangle when the control is resized. The tabs and the page
// frame are drawn with flat edges over the skin's tab background; with the
// custom-paint flag off only a plain raised frame is drawn. Notifications
// the control receives are passed on to its parent as well.
//
// Class-wide: the skin loader (CRTSkin) fills the images once after reading
// the skin description and CRTSkin::EnableSkin sets the switch; every
// instance reads them at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxcmn.h"

class CRTTabCtrl : public CTabCtrl {
 public:
  CRTTabCtrl() = default;
  ~CRTTabCtrl() override = default;

  // Inserts a tab whose page window (may be null) becomes the control's
  // child, shown when the new tab is the selection. The new index, or -1.
  int InsertTab(int index, LPCTSTR text, int image, CWnd* page);
  void SetCustomPaint(BOOL on) { m_customPaint = on; }
  // The area the page windows fill: the client area less the tabs and frame.
  void GetPageRect(CRect* rect) const;

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // Back, tabnormal, tabsel; only Back is drawn

 protected:
  BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSize(UINT nType, int cx, int cy);
  DECLARE_MESSAGE_MAP()

 private:
  enum class Layout { kTop, kBottom, kSide };
  Layout GetLayout() const;
  CWnd* PageOf(int index) const;
  bool DrawsTabs() const { return m_customPaint && GetItemCount() > 0; }
  void DrawTabEdges(CDC* dc, const CRect& r, bool selected, bool nextSelected, Layout layout) const;
  void DrawTabLabel(CDC* dc, const CRect& r, int image, const CString& text, Layout layout) const;

  int m_lastSelection = -1;
  BOOL m_customPaint = TRUE;
};
