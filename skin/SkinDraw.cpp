#include "SkinDraw.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// A memory context over the skin bitmap, the source of every copy of one draw.
class SourceDC {
 public:
  SourceDC(CDC* target, CBitmap* bitmap) {
    m_dc.CreateCompatibleDC(target);
    m_old = m_dc.SelectObject(static_cast<HGDIOBJ>(bitmap->GetSafeHandle()));
  }
  ~SourceDC() {
    m_dc.SelectObject(m_old);
    m_dc.DeleteDC();
  }
  CDC* get() { return &m_dc; }

 private:
  CDC m_dc;
  HGDIOBJ m_old;
};

void DrawTiled(CDC* dc, CDC* src, int L, int T, int R, int B, int W, int H) {
  int x = L, y = T;
  while (x < R) {
    if (R - x > W) {
      dc->BitBlt(x, y, W, std::min(H, B - y), src, 0, 0, SRCCOPY);
      x += W;
    } else if (B - y <= H) {
      dc->BitBlt(x, y, R - x, B - y, src, 0, 0, SRCCOPY);
      break;
    } else {
      dc->BitBlt(x, y, R - x, H, src, 0, 0, SRCCOPY);
      y += H;
      x = L;
    }
  }
}

void DrawStackedRows(CDC* dc, CDC* src, int L, int T, int R, int B, int W, int H) {
  int y = T;
  for (; B - y >= H; y += H) dc->StretchBlt(L, y, R - L, H, src, 0, 0, W, H, SRCCOPY);
  if (B > y) dc->StretchBlt(L, y, R - L, B - y, src, 0, 0, W, B - y, SRCCOPY);
}

void DrawSideBySide(CDC* dc, CDC* src, int L, int T, int R, int B, int W, int H) {
  int x = L;
  for (; R - x >= W; x += W) dc->StretchBlt(x, T, W, B - T, src, 0, 0, W, H, SRCCOPY);
  if (R > x) dc->StretchBlt(x, T, R - x, B - T, src, 0, 0, R - x, H, SRCCOPY);
}

// Corners copied once, edges and centre tiled; later pieces cover earlier
// ones, so with a small rectangle the corners and edges end on top.
void DrawNineGrid(CDC* dc, CDC* src, int L, int T, int R, int B, int W, int H) {
  const int cw = W / 3, ch = H / 3;
  auto cell = [&](int x, int y, int i, int j) { dc->BitBlt(x, y, cw, ch, src, i * cw, j * ch, SRCCOPY); };
  for (int x = L + cw; x + cw < R; x += cw)
    for (int y = T + ch; y + ch < B; y += ch) cell(x, y, 1, 1);
  cell(L, T, 0, 0);
  for (int x = L + cw; x + cw < R; x += cw) cell(x, T, 1, 0);
  cell(R - cw, T, 2, 0);
  for (int y = T + ch; y + ch < B; y += ch) cell(L, y, 0, 1);
  for (int y = T + ch; y + ch < B; y += ch) cell(R - cw, y, 2, 1);
  cell(L, B - ch, 0, 2);
  for (int x = L + cw; x + cw < R; x += cw) cell(x, B - ch, 1, 2);
  cell(R - cw, B - ch, 2, 2);
}

void DrawMiddleRepeated(CDC* dc, CDC* src, int L, int T, int R, int B, int W, int H, bool withEnds) {
  const int tw = W / 3;
  auto third = [&](int x, int i) { dc->StretchBlt(x, T, tw, B - T, src, i * tw, 0, tw, H, SRCCOPY); };
  if (withEnds) third(L, 0);
  for (int x = withEnds ? L + tw : L; x + tw < R; x += tw) third(x, 1);
  third(R - tw, withEnds ? 2 : 1);
}

}  // namespace

int DrawSkinBitmap(CDC* dc, const CRect& rect, CBitmap* bitmap, int mode) {
  if (!dc || !bitmap || !bitmap->GetSafeHandle()) return 0;
  BITMAP bm{};
  if (!bitmap->GetBitmap(&bm)) return 0;
  const int W = bm.bmWidth, H = bm.bmHeight;
  if (W < 9 || H < 9) return 0;
  const int L = rect.left, T = rect.top, R = rect.right, B = rect.bottom;
  // An inverted rectangle would make the stretching modes mirror pixels
  // outside it; it draws nothing, like an empty one.
  if (R <= L || B <= T) return 1;

  SourceDC source(dc, bitmap);
  CDC* src = source.get();
  switch (mode) {
    case kSkinTile: DrawTiled(dc, src, L, T, R, B, W, H); break;
    case kSkinStackRows: DrawStackedRows(dc, src, L, T, R, B, W, H); break;
    case kSkinSideBySide: DrawSideBySide(dc, src, L, T, R, B, W, H); break;
    case kSkinStretch: dc->StretchBlt(L, T, R - L, B - T, src, 0, 0, W, H, SRCCOPY); break;
    case kSkinNineGrid: DrawNineGrid(dc, src, L, T, R, B, W, H); break;
    case kSkinAtOrigin: dc->BitBlt(L, T, W, H, src, 0, 0, SRCCOPY); break;
    case kSkinMiddleRepeat: DrawMiddleRepeated(dc, src, L, T, R, B, W, H, false); break;
    case kSkinThreeThirds: DrawMiddleRepeated(dc, src, L, T, R, B, W, H, true); break;
    case kSkinStretchKeyWhite: dc->TransparentBlt(L, T, R - L, B - T, src, 0, 0, W, H, RGB(255, 255, 255)); break;
    default: break;
  }
  return 1;
}

// ---- Colours -------------------------------------------------------------

uint32_t ColorToHLS(COLORREF color) {
  const float r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  const float mx = std::max({r, g, b}), mn = std::min({r, g, b});
  const float d = mx - mn, s = mx + mn;
  const float l = s / 510.0f;
  float hue = 0, sat = 0;
  if (d != 0) {
    sat = l <= 0.5f ? d / s : d / (510.0f - s);
    const float rr = (mx - r) / d, gg = (mx - g) / d, bb = (mx - b) / d;
    // Blue wins over green over red when several share the maximum.
    if (r == mx) hue = (bb + 6.0f - gg) * 60.0f;
    if (g == mx) hue = (rr + 2.0f - bb) * 60.0f;
    if (b == mx) hue = (gg + 4.0f - rr) * 60.0f;
    if (hue > 360.0f) hue -= 360.0f;
  }
  const uint32_t h8 = static_cast<uint32_t>(hue * 255.0f / 360.0f);
  const uint32_t l8 = static_cast<uint32_t>(l * 255.0f);
  const uint32_t s8 = static_cast<uint32_t>(sat * 255.0f);
  return (h8 & 0xFF) | (l8 & 0xFF) << 8 | (s8 & 0xFF) << 16;
}

int HLSComponent(float m1, float m2, float hue) {
  if (hue > 360.0f) hue -= 360.0f;
  if (hue < 0.0f) hue += 360.0f;
  float v;
  if (hue < 60.0f)
    v = m1 + (m2 - m1) * hue / 60.0f;
  else if (hue < 180.0f)
    v = m2;
  else if (hue < 240.0f)
    v = m1 + (m2 - m1) * (240.0f - hue) / 60.0f;
  else
    v = m1;
  return std::clamp(static_cast<int>(v * 255.0f), 0, 255);
}

COLORREF HLSToColor(uint32_t hls) {
  const int h8 = hls & 0xFF, l8 = (hls >> 8) & 0xFF, s8 = (hls >> 16) & 0xFF;
  if (s8 == 0) return RGB(l8, l8, l8);
  const float h = h8 * 360.0f / 255.0f, l = l8 / 255.0f, s = s8 / 255.0f;
  const float m2 = l <= 0.5f ? l * (1.0f + s) : l + s - l * s;
  const float m1 = 2.0f * l - m2;
  return RGB(HLSComponent(m1, m2, h + 120.0f), HLSComponent(m1, m2, h), HLSComponent(m1, m2, h - 120.0f));
}

namespace {
int AdjustByte(int v, int percent) {
  if (percent > 0) return v + (255 - v) * percent / 100;
  if (percent < 0) return v * (percent + 100) / 100;
  return v;
}
}  // namespace

COLORREF AdjustColorHLS(COLORREF color, int luminancePercent, int saturationPercent) {
  luminancePercent = std::clamp(luminancePercent, -100, 100);
  saturationPercent = std::clamp(saturationPercent, -100, 100);
  const uint32_t hls = ColorToHLS(color);
  const int l = AdjustByte((hls >> 8) & 0xFF, luminancePercent);
  const int s = AdjustByte((hls >> 16) & 0xFF, saturationPercent);
  return HLSToColor((hls & 0xFF) | static_cast<uint32_t>(l) << 8 | static_cast<uint32_t>(s) << 16);
}

// ---- Selectors -----------------------------------------------------------

CRTPenSelector::CRTPenSelector(CDC* dc, COLORREF color) : m_dc(dc), m_color(color) {
  m_pen.CreatePen(PS_SOLID, 1, color);
  m_old = m_dc->SelectObject(static_cast<HGDIOBJ>(m_pen.GetSafeHandle()));
}

CRTPenSelector::~CRTPenSelector() {
  m_dc->SelectObject(m_old);
  m_pen.DeleteObject();
}

void CRTPenSelector::SetColor(COLORREF color) {
  m_dc->SelectObject(m_old);
  m_pen.DeleteObject();
  m_pen.CreatePen(PS_SOLID, 1, color);
  m_dc->SelectObject(static_cast<HGDIOBJ>(m_pen.GetSafeHandle()));
  m_color = color;
}

CRTBrushSelector::CRTBrushSelector(CDC* dc, COLORREF color) : m_dc(dc), m_old(nullptr), m_color(color) {
  Select(color);
}

CRTBrushSelector::~CRTBrushSelector() {
  m_dc->SelectObject(m_old);
  m_brush.DeleteObject();  // does nothing for the stock hollow brush
}

void CRTBrushSelector::Select(COLORREF color) {
  if (color == kHollow)
    m_brush.CreateStockObject(NULL_BRUSH);
  else
    m_brush.CreateSolidBrush(color);
  HGDIOBJ previous = m_dc->SelectObject(static_cast<HGDIOBJ>(m_brush.GetSafeHandle()));
  if (!m_old) m_old = previous;
  m_color = color;
}

void CRTBrushSelector::SetColor(COLORREF color) {
  m_dc->SelectObject(m_old);
  m_brush.DeleteObject();
  Select(color);
}

CRTFontSelector::CRTFontSelector(CDC* dc, LPCTSTR faceName, COLORREF textColor) : m_dc(dc) {
  SetFaceName(faceName);
  if (textColor != kKeepTextColor) SetTextColor(textColor);
}

CRTFontSelector::CRTFontSelector(CDC* dc, int stockFontId, COLORREF textColor) : m_dc(dc) {
  SetStockFont(stockFontId);
  if (textColor != kKeepTextColor) SetTextColor(textColor);
}

CRTFontSelector::CRTFontSelector(CDC* dc, HFONT font, COLORREF textColor) : m_dc(dc) {
  SetFont(font);
  if (textColor != kKeepTextColor) SetTextColor(textColor);
}

CRTFontSelector::~CRTFontSelector() {
  RestoreFont();
  if (m_oldTextColor != 0xFFFFFFFF) m_dc->SetTextColor(m_oldTextColor);
}

void CRTFontSelector::RestoreFont() {
  if (m_old) m_dc->SelectObject(m_old);
  m_old = nullptr;
  m_font.DeleteObject();
}

void CRTFontSelector::SetFaceName(LPCTSTR faceName) {
  if (!faceName) return;
  LOGFONT lf{};
  ::GetObject(::GetCurrentObject(m_dc->GetSafeHdc(), OBJ_FONT), sizeof lf, &lf);
  if (CString(lf.lfFaceName).CompareNoCase(faceName) == 0) return;
  RestoreFont();
  std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  if (m_font.CreateFontIndirect(&lf)) m_old = m_dc->SelectObject(static_cast<HGDIOBJ>(m_font.GetSafeHandle()));
}

void CRTFontSelector::SetStockFont(int stockFontId) {
  RestoreFont();
  m_old = m_dc->SelectObject(::GetStockObject(stockFontId & 0xFF));
}

void CRTFontSelector::SetFont(HFONT font) {
  RestoreFont();
  if (!font) return;
  m_font.Attach(font);
  m_old = m_dc->SelectObject(static_cast<HGDIOBJ>(font));
}

void CRTFontSelector::SetTextColor(COLORREF color) {
  COLORREF previous = m_dc->SetTextColor(color);
  if (m_oldTextColor == 0xFFFFFFFF) m_oldTextColor = previous;
}

CString CRTFontSelector::GetFaceName() const {
  LOGFONT lf{};
  ::GetObject(::GetCurrentObject(m_dc->GetSafeHdc(), OBJ_FONT), sizeof lf, &lf);
  return CString(lf.lfFaceName);
}

COLORREF CRTFontSelector::GetTextColor() const { return m_dc->GetTextColor(); }

CRTBoldFontSelector::CRTBoldFontSelector(CDC* dc, BOOL bold) : m_dc(dc) {
  LOGFONT lf{};
  ::GetObject(::GetCurrentObject(m_dc->GetSafeHdc(), OBJ_FONT), sizeof lf, &lf);
  const bool isBold = lf.lfWeight == FW_BOLD;
  if (bold ? isBold : !isBold) return;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  if (m_font.CreateFontIndirect(&lf)) m_old = m_dc->SelectObject(static_cast<HGDIOBJ>(m_font.GetSafeHandle()));
}

CRTBoldFontSelector::~CRTBoldFontSelector() {
  if (m_old) m_dc->SelectObject(m_old);
  m_font.DeleteObject();
}

// ---- Off-screen contexts --------------------------------------------------

CRTMemDC::CRTMemDC(CDC* target, const CRect& rect) : m_target(target), m_rect(rect) {
  CreateCompatibleDC(target);
  HDC screen = target ? nullptr : ::GetDC(nullptr);
  HDC like = target ? target->GetSafeHdc() : screen;
  // Right and bottom edge as the size, so drawing uses the target's coordinates.
  m_bitmap.Attach(::CreateCompatibleBitmap(like, std::max<int>(rect.right, 1), std::max<int>(rect.bottom, 1)));
  if (screen) ::ReleaseDC(nullptr, screen);
  m_oldBitmap = SelectObject(static_cast<HGDIOBJ>(m_bitmap.GetSafeHandle()));
}

CRTMemDC::~CRTMemDC() {
  if (m_target && !m_rect.IsRectEmpty())
    m_target->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                     SRCCOPY);
  SelectObject(m_oldBitmap);
  m_bitmap.DeleteObject();
  DeleteDC();
}

namespace {
CRect ClipRectOf(CDC* target, const CRect& rect) {
  CRect r = rect;
  if (r.IsRectEmpty() && target) target->GetClipBox(&r);
  return r;
}
}  // namespace

CRTClipMemDC::CRTClipMemDC(CDC* target, const CRect& rect) : CRTMemDC(target, ClipRectOf(target, rect)) {
  if (m_rect.top > 0 && m_rect.right > 0) ExcludeClipRect(0, 0, m_rect.right, m_rect.top);
  if (m_rect.left > 0 && m_rect.bottom > m_rect.top) ExcludeClipRect(0, m_rect.top, m_rect.left, m_rect.bottom);
}

// ---- Text, screen and regions --------------------------------------------

int DrawVerticalText(CDC* dc, const CRect& rect, LPCTSTR text, int length, UINT /*format*/, const LOGFONT& font) {
  if (!dc || !text) return 1;
  const int n = length < 0 ? static_cast<int>(std::strlen(text)) : length;
  const bool doubleByte =
      std::any_of(text, text + n, [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; });
  LOGFONT lf = font;
  lf.lfEscapement = lf.lfOrientation = doubleByte ? 0 : 900;
  CFont f;
  if (!f.CreateFontIndirect(&lf)) return 1;
  HGDIOBJ old = dc->SelectObject(static_cast<HGDIOBJ>(f.GetSafeHandle()));
  if (doubleByte) {
    int y = rect.top;
    for (int i = 0; i < n;) {
      // A lead byte pairs with the next one, but never with what lies past the text.
      const int len = (static_cast<unsigned char>(text[i]) & 0x80) && i + 1 < n ? 2 : 1;
      CSize ext = dc->GetTextExtent(text + i, len);
      dc->TextOut(rect.left + (rect.Width() - ext.cx) / 2, y, text + i, len);
      y += ext.cy;
      i += len;
    }
  } else {
    CSize ext = dc->GetTextExtent(text, n);
    dc->TextOut(rect.left + (rect.Width() - ext.cy) / 2, rect.top + ext.cx, text, n);
  }
  dc->SelectObject(old);
  f.DeleteObject();
  return 1;
}

HBITMAP CaptureScreenRect(const CRect& rect) {
  HDC screen = ::GetDC(nullptr);
  if (!screen) return nullptr;
  HBITMAP result = nullptr;
  HDC mem = ::CreateCompatibleDC(screen);
  if (mem) {
    result = ::CreateCompatibleBitmap(screen, rect.Width(), rect.Height());
    if (result) {
      HGDIOBJ old = ::SelectObject(mem, result);
      ::BitBlt(mem, 0, 0, rect.Width(), rect.Height(), screen, rect.left, rect.top, SRCCOPY);
      ::SelectObject(mem, old);
    }
    ::DeleteDC(mem);
  }
  ::ReleaseDC(nullptr, screen);
  return result;
}

namespace {
// Collects one-pixel-high rectangles and merges them into the result in
// batches, so a busy bitmap never needs one huge region-data block.
class RegionBuilder {
 public:
  void Add(int left, int top, int right) {
    m_rects.push_back(RECT{left, top, right, top + 1});
    if (m_rects.size() == kBatch) Flush();
  }
  HRGN Finish() {
    Flush();
    return m_result;
  }

 private:
  static constexpr size_t kBatch = 2000;
  void Flush() {
    if (m_rects.empty()) return;
    std::vector<uint8_t> block(sizeof(RGNDATAHEADER) + m_rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(block.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(m_rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(m_rects.size() * sizeof(RECT));
    std::memcpy(data->Buffer, m_rects.data(), m_rects.size() * sizeof(RECT));
    HRGN part = ::ExtCreateRegion(nullptr, static_cast<DWORD>(block.size()), data);
    if (part) {
      if (m_result) {
        ::CombineRgn(m_result, m_result, part, RGN_OR);
        ::DeleteObject(part);
      } else {
        m_result = part;
      }
    }
    m_rects.clear();
  }
  std::vector<RECT> m_rects;
  HRGN m_result = nullptr;
};
}  // namespace

HRGN CreateRegionFromBitmap(HBITMAP bitmap, COLORREF transparent, COLORREF tolerance) {
  BITMAP bm{};
  if (!bitmap || !::GetObject(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return nullptr;
  const int w = bm.bmWidth, h = bm.bmHeight;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down: region rows equal bitmap rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> px(static_cast<size_t>(w) * h);
  HDC screen = ::CreateCompatibleDC(nullptr);
  const int rows = ::GetDIBits(screen, bitmap, 0, h, px.data(), &info, DIB_RGB_COLORS);
  ::DeleteDC(screen);
  if (rows != h) return nullptr;

  // Each channel compared with the same channel of the key colour.
  auto upper = [](int lo, int tol) { return std::min(255, lo + tol); };
  const int rLo = GetRValue(transparent), gLo = GetGValue(transparent), bLo = GetBValue(transparent);
  const int rHi = upper(rLo, GetRValue(tolerance)), gHi = upper(gLo, GetGValue(tolerance)),
            bHi = upper(bLo, GetBValue(tolerance));
  auto isTransparent = [&](uint32_t p) {  // 0x00RRGGBB in memory order blue, green, red
    const int b = p & 0xFF, g = (p >> 8) & 0xFF, r = (p >> 16) & 0xFF;
    return r >= rLo && r <= rHi && g >= gLo && g <= gHi && b >= bLo && b <= bHi;
  };

  RegionBuilder builder;
  for (int y = 0; y < h; ++y) {
    const uint32_t* row = &px[static_cast<size_t>(y) * w];
    for (int x = 0; x < w;) {
      while (x < w && isTransparent(row[x])) ++x;
      const int start = x;
      while (x < w && !isTransparent(row[x])) ++x;
      if (x > start) builder.Add(start, y, x);
    }
  }
  HRGN result = builder.Finish();
  if (!result) result = ::CreateRectRgn(0, 0, 0, 0);
  return result;
}
