// CRTTreeCtrl: the skinned tree control (offered, not constructed by the wizard).
// Its scroll bars are the skinned bars of a CRTScrollControlContainer, which
// every paint first brings in step with the tree; with the skin on, the
// system-drawn tree is laid over the skin's tree background (the window
// colour left out).
//
// The class-wide state is filled by the skin loader (CRTSkin) and switched by
// CRTSkin::EnableSkin; every instance reads it at paint time. The images are
// borrowed from the skin store, which outlives every window; without the
// slot-0 image the tree keeps the system's look.
#pragma once

#include <cstdint>

#include "RTScrollControlContainer.h"
#include "SkinImageSet.h"
#include "afxcmn.h"

class CRTTreeCtrl : public CTreeCtrl {
 public:
  CRTTreeCtrl() = default;
  ~CRTTreeCtrl() override;

  CRTScrollControlContainer& GetContainer() { return m_container; }

  void PreSubclassWindow() override;
  BOOL PreCreateWindow(CREATESTRUCT& cs) override;
  // The skinned bars belong to the container, not to the tree.
  CScrollBar* GetScrollBarCtrl(int nBar) const override;

  static void SetImages(CBitmap* const images[5], const int32_t modes[5]) {
    s_images.Assign(images, modes);
  }
  static void SetSkinFlag(int enabled) { s_skinEnabled = enabled; }

  static inline int s_skinEnabled = 0;
  static inline SkinImageSet s_images;  // slot 0: the "TreeCtrl" background

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
  // Mapped, so that every paint brings the container's bars in step: the
  // tree's own bars are hidden once it is hosted.
  afx_msg void OnPaint();
  afx_msg BOOL OnEraseBkgnd(CDC* pDC);
  afx_msg LRESULT OnStyleChanging(WPARAM wParam, LPARAM lParam);
  DECLARE_MESSAGE_MAP()

 private:
  void SyncBars();
  static bool Skinned() { return s_skinEnabled && s_images.images[SkinImageSet::kBack]; }

  CRTScrollControlContainer m_container;
  bool m_creating = false;  // created in code: WM_CREATE attaches, not the subclass step
  bool m_horizontal = false;  // made with WS_HSCROLL: a horizontal bar may show
};
