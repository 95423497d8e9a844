// CRTHeaderCtrl: the column header of the skinned list, painted from the
// "HeaderCtrl" images (slots Back, Normal, Focus for a column sorted up, Down
// for one sorted down; Disable is not drawn), one and a half times the
// default height, resizing its columns only when a divider is released and
// bringing the list back to its first row and one step left while a divider
// moves or is released, so the list's bars follow at its next paint.
//
// The images and the switch are class-wide: the skin loader (CRTSkin) fills
// them once and CRTSkin::EnableSkin sets the switch; every instance reads
// them at paint time. The images are borrowed from the skin store, which
// outlives every window; a null image is an element left undrawn. With the
// switch off the header paints as the platform's own.
#pragma once

#include <cstdint>

#include "SkinImageSet.h"
#include "afxcmn.h"

class CRTHeaderCtrl : public CHeaderCtrl {
  DECLARE_DYNAMIC(CRTHeaderCtrl)

 public:
  static constexpr int kTextInset = 6;

  CRTHeaderCtrl() = default;
  ~CRTHeaderCtrl() override = default;

  static void SetSkinImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinEnabled(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;

  void PreSubclassWindow() override;

 protected:
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg void OnTrack(NMHDR* pNMHDR, LRESULT* pResult);
  afx_msg LRESULT OnLayout(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void DrawItemFace(CDC* dc, int index);
};
