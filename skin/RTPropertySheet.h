// CRTPropertySheet: the skinned property sheet (offered, not constructed by the wizard).
//
// The sheet paints its client area with one skin image, skins its frame and
// caption as the skinned dialog does (CRTCaption) with only the close button
// drawn, and swaps its OK, Cancel and Apply buttons and its tab control for
// skinned ones when it initialises. Since the maximize and minimize buttons
// are never drawn, their places act as plain caption: a press there does
// nothing, whatever the style's boxes.
//
// Class-wide: the skin loader (CRTSkin) fills the images once after reading
// the skin description and CRTSkin::EnableSkin sets the switches; every
// sheet reads them at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "AfxPropSheet.h"
#include "RTButton.h"
#include "RTCaption.h"
#include "RTTabCtrl.h"
#include "SkinImageSet.h"
#include "afxwin.h"

class CRTPropertySheet : public CPropertySheet {
  DECLARE_DYNAMIC(CRTPropertySheet)

 public:
  explicit CRTPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  explicit CRTPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
  ~CRTPropertySheet() override = default;

  BOOL OnInitDialog() override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The class-wide look of the non-client area, read afresh at each step.
  static SkinCaptionLook CaptionLook();
  const SkinCaptionState& CaptionState() const { return m_caption.State(); }
  CRTTabCtrl& SkinnedTabs() { return m_tabs; }

  static void SetSkinFlags(int enabled, int border, int background, int caption) {
    s_skinEnabled = enabled;
    s_borderEnabled = border;
    s_backgroundEnabled = background;
    s_captionEnabled = caption;
  }
  static int SetTitleBarImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_titleBar.Assign(images, modes);
    return 1;
  }
  static int SetExitButtonImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_exitButton.Assign(images, modes);
    return 1;
  }
  static void SetBackImage(CBitmap* image, int32_t mode) {
    s_back.images[0] = image;
    s_back.modes[0] = mode;
  }

  static inline int s_skinEnabled = 0;
  static inline int s_borderEnabled = 0;
  static inline int s_backgroundEnabled = 0;  // stored, not read
  static inline int s_captionEnabled = 0;
  static inline SkinImageSet s_titleBar;
  static inline SkinImageSet s_exitButton;
  // No setter fills these, so the sheet never draws those caption buttons.
  static inline SkinImageSet s_maximizeButton;
  static inline SkinImageSet s_restoreButton;
  static inline SkinImageSet s_minimizeButton;
  // The sheet's border colours are fixed.
  static inline const COLORREF s_borderColors[4] = {kDefaultBorderColors[0], kDefaultBorderColors[1],
                                              kDefaultBorderColors[2], kDefaultBorderColors[3]};
  static inline SkinImageSet s_back;  // slot 0: the "StaticCtrl" background; its mode is not used

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return CPropertySheet::WindowProc(message, wParam, lParam);
  }

  DECLARE_MESSAGE_MAP()

 private:
  CRTTabCtrl m_tabs;
  CRTButton m_ok;
  CRTButton m_cancel;
  CRTButton m_apply;
  CRTCaption m_caption;
};
