// Small helpers the skinned controls share when they paint: one slot of an
// image set drawn with its own mode, and a control's own font selected into
// a context for a scope (the font stays the control's).
#pragma once

#include "SkinDraw.h"
#include "SkinImageSet.h"

inline int DrawSkinSlot(CDC* dc, const CRect& rect, const SkinImageSet& set, int slot) {
  return DrawSkinBitmap(dc, rect, set.images[slot], set.modes[slot]);
}

class CRTControlFontSelector {
 public:
  CRTControlFontSelector(CDC* dc, const CWnd* control) : m_dc(dc) {
    HFONT font = reinterpret_cast<HFONT>(control->SendMessage(WM_GETFONT));
    if (font) m_old = ::SelectObject(dc->GetSafeHdc(), font);
  }
  ~CRTControlFontSelector() {
    if (m_old) ::SelectObject(m_dc->GetSafeHdc(), m_old);
  }
  CRTControlFontSelector(const CRTControlFontSelector&) = delete;
  CRTControlFontSelector& operator=(const CRTControlFontSelector&) = delete;

 private:
  CDC* m_dc;
  HGDIOBJ m_old = nullptr;
};
