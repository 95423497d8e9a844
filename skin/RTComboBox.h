// CRTComboBox: a drop-down combo box of a dialog template drawn from the
// "ComboboxCtrl" images: the background with "Back", the drop button with
// "Arrow", the selected text over them with a dotted outline while the box
// has the focus, and, for owner-drawn lists, each item on "Back" with "Focus"
// over the focused one. Enter and Escape on its open list are its own.
//
// The images are class-wide: the skin loader (CRTSkin) fills them once and
// every instance reads them at paint time. They are borrowed from the skin
// store, which outlives every window; a null image is an element left
// undrawn. There is no skinning switch: the control always draws with what
// it has, so without images it shows only the selected text.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxwin.h"

class CRTComboBox : public CComboBox {
  DECLARE_DYNAMIC(CRTComboBox)

 public:
  enum Slot { kBack = 0, kArrow = 1, kFocus = 2 };

  CRTComboBox() = default;
  ~CRTComboBox() override = default;

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }

  static inline SkinImageSet s_images;  // 0 Back, 1 Arrow, 2 Focus

  // The dropped-down list's rectangle (CB_GETDROPPEDCONTROLRECT), in screen
  // coordinates.
  CRect GetDroppedRect() const;

  void PreSubclassWindow() override;
  BOOL PreTranslateMessage(MSG* pMsg) override;
  void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnPaint();
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  DECLARE_MESSAGE_MAP()

 private:
  BOOL m_bFocused = FALSE;
};
