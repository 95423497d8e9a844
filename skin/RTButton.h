// CRTButton: the skinned push button.
//
// The dialogs subclass a push button of their template with it. The face is
// one of the "Button" section's state images with the window text on top;
// the button follows hover and press itself and reports a click to its parent
// as BN_CLICKED, sent (not posted), only when the left button comes up
// inside. A missing image leaves a plain raised or sunken edge instead. The
// focused button and the dialog's default one rest with the "Focus" image, and
// the focused one also carries a dotted keyboard-focus outline, as a plain
// button does, so a keyboard user sees where Tab went even with the mouse
// over another button.
//
// Class-wide: the skinning switch (on until the loader says otherwise,
// unlike the other skinned classes) and the four state images with their
// draw modes, filled once by the skin loader (CRTSkin) and switched by
// CRTSkin::EnableSkin; every instance reads them at paint time. The images
// are borrowed from the skin store, which outlives every window. Per window:
// the state shown. With the switch off the button is a plain button.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxwin.h"

class CRTButton : public CButton {
 public:
  enum State : int32_t { kNormal = 0, kPressed = 1, kHot = 2, kDisabled = 3 };

  CRTButton() = default;
  ~CRTButton() override = default;

  State GetSkinState() const { return m_state; }

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) { s_images.Assign(images, modes); }
  static void SetSkinEnabled(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 1;  // on until the loader switches it, unlike the others
  static inline SkinImageSet s_images;  // 1 Normal, 2 Focus, 3 Down, 4 Disable

 protected:
  void DrawButton(CDC* pDC);

  afx_msg void OnPaint();
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
  afx_msg void OnCaptureChanged(CWnd* pWnd);
  // Kept beside the map, not in it: the button learns of leaving from its
  // own capture, not from hover tracking.
  afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  struct Look {
    State state = kNormal;      // what GetSkinState reports
    State face = kNormal;       // whose image is drawn
    bool focusOutline = false;  // the keyboard focus is here
    bool defaultFrame = false;  // the default button, in a skin without a "Focus" image
  };
  static const int kFocusInset = 4;  // the outline's distance from the edge, as on a plain button

  State UpdateState();
  Look DecideLook();
  static void DrawFocusOutline(CDC* pDC, CRect rect);
  void DrawNow();
  bool Contains(CPoint point) const;
  UINT TextFormat() const;
  void DrawLabel(CDC* pDC, CRect rect, const CString& text, UINT format, int colorIndex);

  State m_state = kNormal;
};
