// CRTFrameWnd: the skinned frame window (offered, not constructed by the wizard).
//
// The skin loader (CRTSkin) fills the class-wide state once after reading the
// skin description and CRTSkin::EnableSkin sets the switches; every frame
// reads it at paint time. The images are borrowed from the skin store, which
// outlives every window; a null image is an element left undrawn.
//
// The frame draws its frame rings, caption and menu-bar row like the skinned
// dialog (CRTCaption), sized for a resizable frame and titled with the
// frame's title string rather than its window text; its menus (menu bar,
// pop-ups, system menu) are owner-drawn by CRTMenuSkin; and a tool bar that
// notifies it gives its host's window class the frame's light background.
#pragma once

#include <cstdint>

#include "AfxFrame.h"
#include "RTCaption.h"
#include "SkinImageSet.h"

class CRTFrameWnd : public CFrameWnd, public SkinCaptionImages<CRTFrameWnd> {
  DECLARE_DYNCREATE(CRTFrameWnd)

 public:
  CRTFrameWnd();
  ~CRTFrameWnd() override;

  BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                 CWnd* pParentWnd = nullptr, CCreateContext* pContext = nullptr) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // The class-wide look of the non-client area, read afresh at each step.
  static SkinCaptionLook CaptionLook();
  const SkinCaptionState& CaptionState() const { return m_caption.State(); }
  // The light background given to tool-bar hosts: one brush for all frames,
  // as the window classes given it keep it after any one frame is gone.
  static HBRUSH BackgroundBrush();

  static void SetSkinFlags(int enabled, int border, int caption) {
    s_skinEnabled = enabled;
    s_borderEnabled = border;
    s_captionEnabled = caption;
  }

  static inline int s_skinEnabled = 0;
  static inline int s_borderEnabled = 0;
  static inline int s_captionEnabled = 0;

  // Back to no skin: switches off, no images, the default border colours.
  static void ResetSkin() {
    SetSkinFlags(0, 0, 0);
    ResetCaptionImages();
  }

 protected:
  LRESULT CallDefault(UINT message, WPARAM wParam, LPARAM lParam) {
    return CFrameWnd::WindowProc(message, wParam, lParam);
  }
  LRESULT MenuStep(UINT message, WPARAM wParam, LPARAM lParam, bool* handled);
  LRESULT CaptionStep(UINT message, WPARAM wParam, LPARAM lParam);
  void BackgroundBrushStep(HWND sender);

  CRTCaption m_caption;
};
