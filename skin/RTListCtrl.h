// CRTListCtrl: a list view whose scroll bars are the skinned bars of a
// CRTScrollControlContainer, whose header is a CRTHeaderCtrl, and whose
// background is light grey ruled with a line under every row (whatever the
// switch, as the rows of a half-filled list still show the ruling).
//
// Attaching (subclassing a template's control, or creating one in code) wraps
// the list into its container; every paint first brings the container's bars
// in step with the list's own scroll state. The bars' arrows and page areas
// get the list view's own line and page steps; thumb positions put that row
// (or pixel column) first.
//
// Class-wide: the skinning switch (set by CRTSkin::EnableSkin) and the
// "ListCtrl" image set, which the loader hands over and this class keeps
// without drawing it. The images are borrowed from the skin store, which
// outlives every window.
#pragma once

#include <cstdint>

#include "RTHeaderCtrl.h"
#include "RTScrollControlContainer.h"
#include "SkinImageSet.h"
#include "afxcmn.h"

class CRTListCtrl : public CListCtrl {
  DECLARE_DYNAMIC(CRTListCtrl)

 public:
  static constexpr COLORREF kBackground = 0x00E6E6E6;
  static constexpr COLORREF kRowLine = 0x00B5B5B5;

  CRTListCtrl() = default;
  ~CRTListCtrl() override;

  static void SetSkinImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinEnabled(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // the "ListCtrl" set, stored and not drawn

  CRTScrollControlContainer& GetContainer() { return m_container; }
  CRTHeaderCtrl& GetSkinHeader() { return m_header; }

  void PreSubclassWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  afx_msg void OnPaint();
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  afx_msg LRESULT OnStyleChanging(WPARAM wParam, LPARAM lParam);
  afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  DECLARE_MESSAGE_MAP()

 private:
  void AttachParts();
  void SyncBars();
  int RowHeight() const;
  // The top of row i in client coordinates; rows past the last one continue
  // below it in steps of the row height. False for an empty list.
  bool RowTop(int row, int* y) const;

  CRTScrollControlContainer m_container;
  CRTHeaderCtrl m_header;
  bool m_creating = false;  // created in code: WM_CREATE attaches, not the subclass step
};

// The scroll limit and position of one of a window's own bars, for the
// skinned bars that stand in for them.
struct WindowBarState {
  int limit = 0;
  int pos = 0;
};
WindowBarState WindowScrollState(HWND hwnd, int bar);
