// CRTToolBar: the skinned tool bar (offered, not constructed by the wizard).
// Flat, owner-painted buttons over the skin background: hot and checked
// buttons get a tinted fill (or the skin's Focus and Down images), a hot icon
// lifts over its own shadow, separators are thin lines, and child controls
// (a combo box, say) sit on separator slots that vanish when the bar docks
// vertically.
//
// The class-wide state is filled by the skin loader (CRTSkin) and switched by
// CRTSkin::EnableSkin; every instance reads it at paint time. Constructing a
// tool bar switches skinning off for every tool bar until the skin is
// enabled again. The images are borrowed from the skin store, which outlives
// every window; a null image is an element left undrawn.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "AfxCtrlBar.h"
#include "afxwin.h"

class CRTToolBar : public CToolBar {
 public:
  CRTToolBar() { s_skinEnabled = 0; }
  ~CRTToolBar() override;

  // The bar's own loading; with the skin on, drop-down buttons get their
  // arrow part.
  BOOL LoadToolBar(UINT nIDResource);
  // A separator as wide as `pControl`, whose command id is the control's id,
  // at `nIndex` (at the end when out of range); the control is placed on it
  // at the next layout.
  BOOL InsertControl(int nIndex, CWnd* pControl);

  CSize CalcDynamicLayout(int nLength, DWORD nMode) override;

  // Takes the first four images and modes (Back, Normal, Focus, Down).
  static int SetImages(CBitmap* const images[4], const int32_t modes[4]) {
    s_images.Assign(images, modes, 4);
    return 1;
  }
  // Returns the previous switch.
  static int SetSkinFlag(int enabled) {
    const int previous = s_skinEnabled;
    s_skinEnabled = enabled;
    return previous;
  }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // slot 4 stays empty

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  DECLARE_MESSAGE_MAP()

 private:
  enum LayoutMode { kNoLayout = 0, kVerticalDock = 1, kOtherLayout = 2 };
  // Places (or, docked vertically, hides) the controls on their slots.
  void PlaceControls(bool vertical);
  void PaintButton(CDC* dc, int index, const TBBUTTON& button, CRect rect, int hot, CImageList* images,
                   CPoint cursor);

  int m_layoutMode = kNoLayout;
};
