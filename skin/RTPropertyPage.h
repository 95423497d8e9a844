// CRTPropertyPage: the skinned property page (offered, not constructed by the wizard).
//
// The page paints its background with the skin's tab image and hands its
// controls a hollow brush in transparent mode, so their text lies on that
// background without an opaque box.
//
// Class-wide: the skin loader (CRTSkin) fills the images once after reading
// the skin description and CRTSkin::EnableSkin sets the switch; every
// instance reads them at paint time. The images are borrowed from the
// skin store, which outlives every window; a null image is an element left
// undrawn.
#pragma once

#include <cstdint>

#include "AfxPropSheet.h"
#include "SkinImageSet.h"
#include "afxwin.h"

class CRTPropertyPage : public CPropertyPage {
  DECLARE_DYNCREATE(CRTPropertyPage)

 public:
  CRTPropertyPage() = default;
  explicit CRTPropertyPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}
  ~CRTPropertyPage() override;

  void DoDataExchange(CDataExchange* pDX) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // "TabCtrl" set; slot 0 is drawn

 protected:
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
  DECLARE_MESSAGE_MAP()

 private:
  CBrush m_brush;  // no handle until the dialog initialisation, then the stock hollow brush
};
