// The skin framework's drawing toolkit: the nine bitmap draw modes every
// skinned class paints its images with, colour arithmetic in hue/luminance/
// saturation, scoped GDI selectors, the clipped off-screen context, vertical
// text, a screen grab and a bitmap-to-region conversion.
//
// Everything here is stateless apart from the objects a caller creates; the
// bitmaps handed to DrawSkinBitmap stay the caller's (the skin store's).
#pragma once

#include <cstdint>

#include "afxwin.h"

// The draw-mode numbers of the skin description (0 to 8); any other value
// draws nothing.
enum SkinDrawMode : int32_t {
  kSkinTile = 0,            // tiled at its own size from the top-left corner
  kSkinStackRows = 1,       // stretched to the width, stacked downwards
  kSkinSideBySide = 2,      // stretched to the height, placed side by side
  kSkinStretch = 3,         // stretched to the whole rectangle
  kSkinNineGrid = 4,        // corners copied, edges and centre tiled
  kSkinAtOrigin = 5,        // own size at the top-left corner, not clipped
  kSkinMiddleRepeat = 6,    // middle third repeated, stretched to the height
  kSkinThreeThirds = 7,     // left third, middle repeated, right third
  kSkinStretchKeyWhite = 8  // stretched, white transparent
};

// Fits `bitmap` into `rect` of `dc` in the given mode. Returns 0 for a null
// context or bitmap or a bitmap narrower or lower than 9 pixels, else 1 (also
// for an unknown mode or an empty rectangle, which draw nothing).
int DrawSkinBitmap(CDC* dc, const CRect& rect, CBitmap* bitmap, int mode);

// Packed HLS: lowest byte hue (0-255 for 0-360 degrees), then luminance, then
// saturation.
uint32_t ColorToHLS(COLORREF color);
COLORREF HLSToColor(uint32_t hls);
int HLSComponent(float m1, float m2, float hue);
// Lightens (positive) or darkens (negative) luminance and saturation by a
// percentage of the way to 255 or 0; -100 to 100.
COLORREF AdjustColorHLS(COLORREF color, int luminancePercent, int saturationPercent);

// A solid pen of width 1 selected for the selector's lifetime.
class CRTPenSelector {
 public:
  CRTPenSelector(CDC* dc, COLORREF color);
  ~CRTPenSelector();
  CRTPenSelector(const CRTPenSelector&) = delete;
  CRTPenSelector& operator=(const CRTPenSelector&) = delete;
  void SetColor(COLORREF color);
  COLORREF GetColor() const { return m_color; }

 private:
  CDC* m_dc;
  CPen m_pen;
  HGDIOBJ m_old;
  COLORREF m_color;
};

// A solid brush, or the stock hollow brush for the colour 0xFFFFFFFF.
class CRTBrushSelector {
 public:
  static constexpr COLORREF kHollow = 0xFFFFFFFF;
  CRTBrushSelector(CDC* dc, COLORREF color);
  ~CRTBrushSelector();
  CRTBrushSelector(const CRTBrushSelector&) = delete;
  CRTBrushSelector& operator=(const CRTBrushSelector&) = delete;
  void SetColor(COLORREF color);
  COLORREF GetColor() const { return m_color; }

 private:
  void Select(COLORREF color);
  CDC* m_dc;
  CBrush m_brush;
  HGDIOBJ m_old;
  COLORREF m_color;
};

// A font by face name, stock id or handle (the selector then owns the
// handle), and optionally a text colour; both are restored at the end.
class CRTFontSelector {
 public:
  static constexpr COLORREF kKeepTextColor = 0xFF000000;
  CRTFontSelector(CDC* dc, LPCTSTR faceName, COLORREF textColor = kKeepTextColor);
  CRTFontSelector(CDC* dc, int stockFontId, COLORREF textColor = kKeepTextColor);
  CRTFontSelector(CDC* dc, HFONT font, COLORREF textColor = kKeepTextColor);
  ~CRTFontSelector();
  CRTFontSelector(const CRTFontSelector&) = delete;
  CRTFontSelector& operator=(const CRTFontSelector&) = delete;

  void SetFaceName(LPCTSTR faceName);
  void SetStockFont(int stockFontId);
  void SetFont(HFONT font);
  void SetTextColor(COLORREF color);
  CString GetFaceName() const;
  COLORREF GetTextColor() const;

 private:
  void RestoreFont();
  CDC* m_dc;
  CFont m_font;             // the font this selector made or was given
  HGDIOBJ m_old = nullptr;  // the font selected before, while one of ours is in
  COLORREF m_oldTextColor = 0xFFFFFFFF;  // -1 until the text colour changed
};

// The current font made bold (weight 700) or normal (400) while it lives;
// does nothing when the font already has that weight.
class CRTBoldFontSelector {
 public:
  CRTBoldFontSelector(CDC* dc, BOOL bold);
  ~CRTBoldFontSelector();
  CRTBoldFontSelector(const CRTBoldFontSelector&) = delete;
  CRTBoldFontSelector& operator=(const CRTBoldFontSelector&) = delete;

 private:
  CDC* m_dc;
  CFont m_font;
  HGDIOBJ m_old = nullptr;
};

// An off-screen copy of a rectangle of `target` in the target's own
// coordinates; the destructor copies the rectangle back. With no target it is
// compatible with the screen and copies nothing back.
class CRTMemDC : public CDC {
 public:
  CRTMemDC(CDC* target, const CRect& rect);
  ~CRTMemDC() override;
  const CRect& GetRect() const { return m_rect; }

 protected:
  CBitmap m_bitmap;
  HGDIOBJ m_oldBitmap = nullptr;
  CDC* m_target;
  CRect m_rect;
};

// As CRTMemDC, for a rectangle that defaults to the target's clip box, with
// the bands above and left of the rectangle excluded from drawing.
class CRTClipMemDC : public CRTMemDC {
 public:
  CRTClipMemDC(CDC* target, const CRect& rect);
};

// Draws text reading upwards (a font turned by 90 degrees), or, when it holds
// double-byte characters, one character per line downwards. `format` is not
// used. Returns 1.
int DrawVerticalText(CDC* dc, const CRect& rect, LPCTSTR text, int length, UINT format, const LOGFONT& font);

// A new bitmap (the caller's) with the screen area of `rect`, or null.
HBITMAP CaptureScreenRect(const CRect& rect);

// The region of the bitmap's pixels outside the transparent colour range
// (each channel from the colour's byte to that plus the tolerance's byte), or
// null when the bitmap cannot be read.
HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance);
