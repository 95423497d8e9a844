// CRTDialog: the skinned dialog base of every dialog and wizard page.
//
// The skin is class-wide: the skin loader (CRTSkin) fills the images, modes
// and colours through the static setters (the caption's come from
// SkinCaptionImages) once after reading the skin description, and
// CRTSkin::EnableSkin sets the switches; every dialog reads
// them at paint time, so a dialog that exists before a skin loads shows it at
// its next repaint. The images are borrowed from the skin store, which
// outlives every window; a null image is an element left undrawn. Per dialog
// there is only the caption state (active look, the three buttons' looks,
// tracking, the pressed button) and a brush that nothing paints with.
//
// With the skin on, the dialog draws its frame as colour rings, its caption
// (title image, small icon, text, caption buttons) and its background with
// the "Dialog" image, and runs the caption buttons' press, track and release
// itself (CRTCaption). With the skin off every message takes the plain
// dialog's handling.
#pragma once

#include <cstdint>

#include "RTCaption.h"
#include "SkinImageSet.h"
#include "afxwin.h"

class CRTDialog : public CDialog, public SkinCaptionImages<CRTDialog> {
 public:
  CRTDialog();
  explicit CRTDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CRTDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  ~CRTDialog() override;

  void DoDataExchange(CDataExchange* pDX) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The class-wide look of the non-client area, read afresh at each step.
  static SkinCaptionLook CaptionLook();
  const SkinCaptionState& CaptionState() const { return m_caption.State(); }

  // Skinning switches, set together by CRTSkin::EnableSkin.
  static void SetSkinFlags(int enabled, int border, int background, int caption) {
    s_skinEnabled = enabled;
    s_borderEnabled = border;
    s_backgroundEnabled = background;
    s_captionEnabled = caption;
  }
  static void SetBackImage(CBitmap* image, int32_t mode) {
    s_back.images[0] = image;
    s_back.modes[0] = mode;
  }
  // Back to no skin: switches off, no images, the default border colours
  // (for whoever made the images and is about to free them).
  static void ResetSkin() {
    SetSkinFlags(0, 0, 0, 0);
    ResetCaptionImages();
    s_back = SkinImageSet();
  }

  // Class-wide skin state: one copy for all dialogs.
  static inline int s_skinEnabled = 0;
  static inline int s_borderEnabled = 0;
  static inline int s_backgroundEnabled = 0;
  static inline int s_captionEnabled = 0;
  static inline SkinImageSet s_back;  // slot 0: the "Dialog" background

 protected:
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) { return CDialog::WindowProc(message, wParam, lParam); }

  CRTCaption m_caption;
  CBrush m_brush;  // no handle after the default constructor, else the stock hollow brush

  DECLARE_MESSAGE_MAP()
};
