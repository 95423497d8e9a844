// Lines, shapes, fills, pixels and the framed elements of the user interface
// (edges, focus rectangles, frame controls, icons, DrawState).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "GdiInternal.h"

namespace gdi {

namespace {

struct PenInfo {
  bool null = true;
  int style = PS_SOLID;
  int width = 1;
  uint32_t px = 0;
};

PenInfo CurrentPen(Dc* dc) {
  PenInfo pi;
  const Pen* p = As<Pen>(dc->s.pen, OBJ_PEN);
  if (!p || p->style == PS_NULL) return pi;
  pi.null = false;
  pi.style = static_cast<int>(p->style);
  pi.width = p->width < 1 ? 1 : p->width;
  pi.px = ToPixel(p->width == -2 ? dc->s.dcPen : p->color);
  if (p->width == -2) pi.width = 1;
  return pi;
}

// On/off run lengths of the styled cosmetic pens.
const int* DashPattern(int style, int& n) {
  static const int dash[] = {18, 6};
  static const int dot[] = {3, 3};
  static const int dashdot[] = {9, 6, 3, 6};
  static const int dashdotdot[] = {9, 3, 3, 3, 3, 3};
  switch (style) {
    case PS_DASH:
      n = 2;
      return dash;
    case PS_DOT:
      n = 2;
      return dot;
    case PS_DASHDOT:
      n = 4;
      return dashdot;
    case PS_DASHDOTDOT:
      n = 6;
      return dashdotdot;
  }
  n = 0;
  return nullptr;
}

// Bresenham from (x0, y0) towards (x1, y1), surface coordinates, the end
// point left out.
void DrawLinePx(Dc* dc, const Target& t, const PenInfo& pen, int x0, int y0, int x1, int y1) {
  if (std::max(std::abs(int64_t(x1) - x0), std::abs(int64_t(y1) - y0)) > 4096) {
    // A long line is first cut to the part that can show (dash phases may
    // shift; nothing shows of what is cut).
    RECT b = ClipBounds(t);
    double m = pen.width + 1;
    double lo = 0, hi = 1, dxf = double(x1) - x0, dyf = double(y1) - y0;
    const double p[4] = {-dxf, dxf, -dyf, dyf};
    const double q[4] = {x0 - (b.left - m), (b.right + m) - x0, y0 - (b.top - m), (b.bottom + m) - y0};
    for (int i = 0; i < 4; ++i) {
      if (p[i] == 0) {
        if (q[i] < 0) return;
        continue;
      }
      double r = q[i] / p[i];
      if (p[i] < 0)
        lo = std::max(lo, r);
      else
        hi = std::min(hi, r);
    }
    if (lo > hi) return;
    int nx0 = static_cast<int>(std::lround(x0 + lo * dxf)), ny0 = static_cast<int>(std::lround(y0 + lo * dyf));
    if (hi < 1) {
      // The real end lies beyond the box: keep the last visible pixel.
      x1 = static_cast<int>(std::lround(x0 + hi * dxf)) + (dxf > 0 ? 1 : dxf < 0 ? -1 : 0);
      y1 = static_cast<int>(std::lround(y0 + hi * dyf)) + (dyf > 0 ? 1 : dyf < 0 ? -1 : 0);
    }
    x0 = nx0, y0 = ny0;
  }
  int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  int n = 0;
  const int* dashes = pen.width == 1 ? DashPattern(pen.style, n) : nullptr;
  int dashIndex = 0, dashLeft = dashes ? dashes[0] : 0;
  uint32_t bk = ToPixel(dc->s.bk);
  int half = (pen.width - 1) / 2;
  while (x0 != x1 || y0 != y1) {
    bool on = true;
    if (dashes) {
      on = (dashIndex % 2) == 0;
      if (--dashLeft == 0) {
        dashIndex = (dashIndex + 1) % n;
        dashLeft = dashes[dashIndex];
      }
    }
    if (on || dc->s.bkMode == OPAQUE) {
      uint32_t c = on ? pen.px : bk;
      if (pen.width == 1) {
        PutPixel(t, x0, y0, c, dc->s.rop2);
      } else {
        Paint p;
        p.solid = c;
        FillRectPx(t, RECT{x0 - half, y0 - half, x0 - half + pen.width, y0 - half + pen.width}, p, dc->s.rop2);
      }
    }
    int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

typedef std::vector<std::pair<int, int>> Rows;

// Rows without their boundary pixels: a pixel stays when its left, right,
// upper and lower neighbours are all inside.
Rows Erode(const Rows& rows) {
  Rows out(rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i == 0 || i + 1 == rows.size()) {
      out[i] = {0, 0};
      continue;
    }
    int l = std::max({rows[i].first + 1, rows[i - 1].first, rows[i + 1].first});
    int r = std::min({rows[i].second - 1, rows[i - 1].second, rows[i + 1].second});
    out[i] = l < r ? std::make_pair(l, r) : std::make_pair(0, 0);
  }
  return out;
}

// Draws a filled, outlined shape given as rows in logical coordinates.
void DrawShape(Dc* dc, const Target& t, int top, const Rows& outer, const PenInfo& pen, const Paint* fill) {
  Rows inner = outer;
  if (!pen.null)
    for (int i = 0; i < pen.width; ++i) inner = Erode(inner);
  Paint pp;
  pp.solid = pen.px;
  for (size_t i = 0; i < outer.size(); ++i) {
    int y = top + static_cast<int>(i) + t.dy;
    const auto& o = outer[i];
    const auto& in = inner[i];
    if (fill && in.second > in.first) FillSpan(t, y, in.first + t.dx, in.second + t.dx, *fill, dc->s.rop2);
    if (pen.null || o.second <= o.first) continue;
    if (in.second <= in.first) {
      FillSpan(t, y, o.first + t.dx, o.second + t.dx, pp, dc->s.rop2);
    } else {
      FillSpan(t, y, o.first + t.dx, in.first + t.dx, pp, dc->s.rop2);
      FillSpan(t, y, in.second + t.dx, o.second + t.dx, pp, dc->s.rop2);
    }
  }
}

BOOL Shape(HDC hdc, int l, int tp, int r, int b, int ew, int eh) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  Target t;
  if (!dc->target(t)) return TRUE;
  RECT n = Normalized(l, tp, r, b);
  PenInfo pen = CurrentPen(dc);
  Paint fill;
  bool hasFill = BrushPaint(dc, static_cast<HBRUSH>(dc->s.brush), t, fill);
  // Without a pen the filled area loses its right column and bottom row.
  if (pen.null) n.right -= 1, n.bottom -= 1;
  if (n.right <= n.left || n.bottom <= n.top) return TRUE;
  // Rows are made only where they can show, with a margin for the outline.
  RECT vis = ClipBounds(t);
  int margin = (pen.null ? 0 : pen.width) + 2;
  int first;
  auto rows =
      ShapeRows(n.left, n.top, n.right, n.bottom, ew, eh, first, vis.top - t.dy - margin, vis.bottom - t.dy + margin);
  DrawShape(dc, t, first, rows, pen, hasFill ? &fill : nullptr);
  return TRUE;
}

}  // namespace

}  // namespace gdi

using namespace gdi;

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) { return Shape(hdc, left, top, right, bottom, 0, 0); }

BOOL RoundRect(HDC hdc, int left, int top, int right, int bottom, int w, int h) {
  return Shape(hdc, left, top, right, bottom, w, h);
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
  return Shape(hdc, left, top, right, bottom, std::abs(right - left), std::abs(bottom - top));
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !pts || count < 2) return FALSE;
  Target t;
  if (!dc->target(t)) return TRUE;
  Paint fill;
  if (BrushPaint(dc, static_cast<HBRUSH>(dc->s.brush), t, fill)) {
    std::vector<POINT> moved(pts, pts + count);
    for (POINT& p : moved) p.x += t.dx, p.y += t.dy;
    RECT b = ClipBounds(t);
    PolygonSpans(moved.data(), count, dc->s.polyFill, b.top, b.bottom,
                 [&](int y, int x0, int x1) { FillSpan(t, y, x0, x1, fill, dc->s.rop2); });
  }
  PenInfo pen = CurrentPen(dc);
  if (!pen.null)
    for (int i = 0; i < count; ++i) {
      const POINT& a = pts[i];
      const POINT& b = pts[(i + 1) % count];
      DrawLinePx(dc, t, pen, a.x + t.dx, a.y + t.dy, b.x + t.dx, b.y + t.dy);
    }
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !pts || count < 2) return FALSE;
  Target t;
  if (!dc->target(t)) return TRUE;
  PenInfo pen = CurrentPen(dc);
  if (pen.null) return TRUE;
  for (int i = 0; i + 1 < count; ++i)
    DrawLinePx(dc, t, pen, pts[i].x + t.dx, pts[i].y + t.dy, pts[i + 1].x + t.dx, pts[i + 1].y + t.dy);
  return TRUE;
}

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) { return SetPoint(hdc, &DcState::cur, x, y, false, old); }

BOOL GetCurrentPositionEx(HDC hdc, LPPOINT pt) { return GetPoint(hdc, &DcState::cur, pt); }

BOOL LineTo(HDC hdc, int x, int y) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  Target t;
  POINT from = dc->s.cur;
  dc->s.cur = POINT{x, y};
  if (!dc->target(t)) return TRUE;
  PenInfo pen = CurrentPen(dc);
  if (!pen.null) DrawLinePx(dc, t, pen, from.x + t.dx, from.y + t.dy, x + t.dx, y + t.dy);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return CLR_INVALID;
  Target t;
  if (!dc->target(t) || !InClip(t, x + t.dx, y + t.dy)) return CLR_INVALID;
  uint32_t& d = t.v.at(x + t.dx, y + t.dy);
  d = t.v.mono ? ToMono(ToPixel(color)) : ToPixel(color);
  return ToColor(d);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) { return SetPixel(hdc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC hdc, int x, int y) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return CLR_INVALID;
  Target t;
  if (!dc->target(t) || !InClip(t, x + t.dx, y + t.dy)) return CLR_INVALID;
  return ToColor(t.v.at(x + t.dx, y + t.dy) & 0xFFFFFF);
}

int FillRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !rc) return FALSE;
  Target t;
  if (!dc->target(t)) return TRUE;
  Paint p;
  if (!BrushPaint(dc, brush, t, p)) return TRUE;
  FillRectPx(t, RECT{rc->left + t.dx, rc->top + t.dy, rc->right + t.dx, rc->bottom + t.dy}, p, R2_COPYPEN);
  return TRUE;
}

int FrameRect(HDC hdc, const RECT* rc, HBRUSH brush) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !rc) return FALSE;
  if (rc->right <= rc->left || rc->bottom <= rc->top) return TRUE;
  Target t;
  if (!dc->target(t)) return TRUE;
  Paint p;
  if (!BrushPaint(dc, brush, t, p)) return TRUE;
  int l = rc->left + t.dx, tp = rc->top + t.dy, r = rc->right + t.dx, b = rc->bottom + t.dy;
  FillRectPx(t, RECT{l, tp, r, tp + 1}, p, R2_COPYPEN);
  FillRectPx(t, RECT{l, b - 1, r, b}, p, R2_COPYPEN);
  FillRectPx(t, RECT{l, tp, l + 1, b}, p, R2_COPYPEN);
  FillRectPx(t, RECT{r - 1, tp, r, b}, p, R2_COPYPEN);
  return TRUE;
}

BOOL InvertRect(HDC hdc, const RECT* rc) {
  if (!rc) return FALSE;
  return PatBlt(hdc, rc->left, rc->top, rc->right - rc->left, rc->bottom - rc->top, DSTINVERT);
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH brush) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  Region* r = As<Region>(rgn, OBJ_REGION);
  if (!dc || !r) return FALSE;
  for (const RECT& rc : r->set.rects) FillRect(hdc, &rc, brush);
  return TRUE;
}

BOOL PaintRgn(HDC hdc, HRGN rgn) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  return FillRgn(hdc, rgn, static_cast<HBRUSH>(dc->s.brush));
}

BOOL InvertRgn(HDC hdc, HRGN rgn) {
  GDI_LOCK;
  Region* r = As<Region>(rgn, OBJ_REGION);
  if (!AsDc(hdc) || !r) return FALSE;
  for (const RECT& rc : r->set.rects) InvertRect(hdc, &rc);
  return TRUE;
}

BOOL FrameRgn(HDC hdc, HRGN rgn, HBRUSH brush, int w, int h) {
  GDI_LOCK;
  Region* r = As<Region>(rgn, OBJ_REGION);
  if (!AsDc(hdc) || !r || w < 1 || h < 1) return FALSE;
  // The frame is the region less the region shrunk by w and h from each side.
  RectSet inner = r->set;
  for (int dx : {-w, w}) {
    RectSet s = r->set;
    s.offset(dx, 0);
    inner = RectSet::Combine(inner, s, RGN_AND);
  }
  for (int dy : {-h, h}) {
    RectSet s = r->set;
    s.offset(0, dy);
    inner = RectSet::Combine(inner, s, RGN_AND);
  }
  RectSet frame = RectSet::Combine(r->set, inner, RGN_DIFF);
  for (const RECT& rc : frame.rects) FillRect(hdc, &rc, brush);
  return TRUE;
}

// ---------------------------------------------------------------- user interface elements

namespace {

void HLine(HDC hdc, int x0, int x1, int y, COLORREF c) {
  RECT r{x0, y, x1, y + 1};
  HBRUSH b = CreateSolidBrush(c);
  FillRect(hdc, &r, b);
  DeleteObject(b);
}

void VLine(HDC hdc, int x, int y0, int y1, COLORREF c) {
  RECT r{x, y0, x + 1, y1};
  HBRUSH b = CreateSolidBrush(c);
  FillRect(hdc, &r, b);
  DeleteObject(b);
}

// One ring of an edge: top and left in `lt`, bottom and right in `rb`; the
// bottom and right lines own the corners they share with the others.
void EdgeRing(HDC hdc, RECT& r, UINT flags, COLORREF lt, COLORREF rb) {
  if (r.right <= r.left || r.bottom <= r.top) return;
  if (flags & BF_TOP) HLine(hdc, r.left, r.right - 1, r.top, lt);
  if (flags & BF_LEFT) VLine(hdc, r.left, r.top, r.bottom - 1, lt);
  if (flags & BF_BOTTOM) HLine(hdc, r.left, r.right, r.bottom - 1, rb);
  if (flags & BF_RIGHT) VLine(hdc, r.right - 1, r.top, r.bottom, rb);
  if (flags & BF_LEFT) ++r.left;
  if (flags & BF_TOP) ++r.top;
  if (flags & BF_RIGHT) --r.right;
  if (flags & BF_BOTTOM) --r.bottom;
}

}  // namespace

BOOL DrawEdge(HDC hdc, LPRECT rc, UINT edge, UINT flags) {
  GDI_LOCK;
  if (!AsDc(hdc) || !rc) return FALSE;
  RECT r = *rc;
  // System colours of each ring: flat, mono, raised top-left and
  // bottom-right, sunken top-left and bottom-right.
  struct Ring {
    UINT bits, raised;
    int mono, flat, raisedLt, raisedRb, sunkenLt, sunkenRb;
  };
  const Ring rings[2] = {
      {BDR_OUTER, BDR_RAISEDOUTER, COLOR_WINDOWFRAME, COLOR_BTNSHADOW, COLOR_3DLIGHT, COLOR_3DDKSHADOW, COLOR_BTNSHADOW,
       COLOR_BTNHIGHLIGHT},
      {BDR_INNER, BDR_RAISEDINNER, COLOR_WINDOW, COLOR_BTNFACE, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW, COLOR_3DDKSHADOW,
       COLOR_3DLIGHT},
  };
  for (const Ring& g : rings) {
    if (!(edge & g.bits)) continue;
    int lt, rb;
    if (flags & (BF_MONO | BF_FLAT))
      lt = rb = (flags & BF_MONO) ? g.mono : g.flat;
    else if (edge & g.raised)
      lt = g.raisedLt, rb = g.raisedRb;
    else
      lt = g.sunkenLt, rb = g.sunkenRb;
    EdgeRing(hdc, r, flags, SysColor(lt), SysColor(rb));
  }
  if (flags & BF_MIDDLE) {
    HBRUSH b = GetSysColorBrush((flags & BF_MONO) ? COLOR_WINDOW : COLOR_BTNFACE);
    FillRect(hdc, &r, b);
  }
  if (flags & BF_ADJUST) *rc = r;
  return TRUE;
}

BOOL DrawFocusRect(HDC hdc, const RECT* rc) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !rc) return FALSE;
  Target t;
  if (!dc->target(t)) return TRUE;
  // Every other pixel of the outline, inverted, so a second call removes it.
  int l = rc->left + t.dx, tp = rc->top + t.dy, r = rc->right + t.dx, b = rc->bottom + t.dy;
  if (r <= l || b <= tp) return TRUE;
  auto dot = [&](int x, int y) {
    if (((x + y) & 1) == 0) PutPixel(t, x, y, 0xFFFFFF, R2_XORPEN);
  };
  for (int x = l; x < r; ++x) {
    dot(x, tp);
    if (b - 1 != tp) dot(x, b - 1);
  }
  for (int y = tp + 1; y < b - 1; ++y) {
    dot(l, y);
    if (r - 1 != l) dot(r - 1, y);
  }
  return TRUE;
}

namespace {

// A filled triangle pointing `dir` (0 up, 1 down, 2 left, 3 right) centred
// in r.
void Arrow(HDC hdc, const RECT& r, int dir, COLORREF c, int shift) {
  int w = r.right - r.left, h = r.bottom - r.top;
  int n = std::max(2, std::min(w, h) / 4);
  int cx = r.left + w / 2 + shift, cy = r.top + h / 2 + shift;
  for (int k = 0; k < n; ++k) {
    int half = (dir == 0 || dir == 2) ? k : n - 1 - k;
    if (dir <= 1)
      HLine(hdc, cx - half, cx + half + 1, cy - n / 2 + k, c);
    else
      VLine(hdc, cx - n / 2 + k, cy - half, cy + half + 1, c);
  }
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, LPRECT rc, UINT type, UINT state) {
  GDI_LOCK;
  if (!AsDc(hdc) || !rc) return FALSE;
  RECT r = *rc;
  bool pushed = (state & DFCS_PUSHED) != 0;
  bool flat = (state & DFCS_FLAT) != 0;
  if (type == DFC_SCROLL) {
    UINT kind = state & 0xFF;
    if (kind == DFCS_SCROLLSIZEGRIP) {
      FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
      // Three diagonal grooves, highlight above two shadow lines.
      for (int i = 0; i < 3; ++i) {
        int o = 4 + 4 * i;
        for (int k = 0; k < o; ++k) {
          int px = r.right - o + k, py = r.bottom - 1 - k;
          SetPixel(hdc, px, py, SysColor(COLOR_BTNHIGHLIGHT));
          SetPixel(hdc, px + 1, py, SysColor(COLOR_BTNSHADOW));
          SetPixel(hdc, px + 2, py, SysColor(COLOR_BTNSHADOW));
        }
      }
      return TRUE;
    }
    FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT e = r;
    if (flat || pushed)
      DrawEdge(hdc, &e, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    else
      DrawEdge(hdc, &e, EDGE_RAISED, BF_RECT);
    int dir = kind == DFCS_SCROLLUP ? 0 : kind == DFCS_SCROLLLEFT ? 2 : kind == DFCS_SCROLLRIGHT ? 3 : 1;
    if (state & DFCS_INACTIVE) {
      Arrow(hdc, r, dir, SysColor(COLOR_BTNHIGHLIGHT), 1);
      Arrow(hdc, r, dir, SysColor(COLOR_BTNSHADOW), 0);
    } else {
      Arrow(hdc, r, dir, SysColor(COLOR_BTNTEXT), pushed ? 1 : 0);
    }
    return TRUE;
  }
  if (type == DFC_BUTTON) {
    UINT kind = state & 0x1F;
    if (kind == DFCS_BUTTONPUSH) {
      FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
      DrawEdge(hdc, &r, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | (flat ? BF_FLAT : 0));
      return TRUE;
    }
    // Check box (radio buttons drawn as boxes too: nothing here draws them).
    FillRect(hdc, &r, GetSysColorBrush((state & DFCS_INACTIVE) || pushed ? COLOR_BTNFACE : COLOR_WINDOW));
    RECT e = r;
    DrawEdge(hdc, &e, EDGE_SUNKEN, BF_RECT | (flat ? BF_FLAT : 0));
    if (state & DFCS_CHECKED) {
      COLORREF c = SysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
      int x = r.left + (r.right - r.left) / 2 - 3, y = r.top + (r.bottom - r.top) / 2 - 1;
      for (int k = 0; k < 7; ++k) {
        int yy = k < 3 ? y + k : y + 4 - k;
        VLine(hdc, x + k, yy, yy + 3, c);
      }
    }
    return TRUE;
  }
  if (type == DFC_MENU) {
    // Menu glyphs come as masks: black on white, for the caller to blit in its colours.
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    FillRect(hdc, &r, white);
    COLORREF black = RGB(0, 0, 0);
    int w = r.right - r.left, h = r.bottom - r.top;
    switch (state & 0xFF) {
      case DFCS_MENUCHECK: {
        int x = r.left + w / 2 - 3, y = r.top + h / 2 - 1;
        for (int k = 0; k < 7; ++k) {
          int yy = k < 3 ? y + k : y + 4 - k;
          VLine(hdc, x + k, yy, yy + 3, black);
        }
        break;
      }
      case DFCS_MENUBULLET: {
        int d = std::max(2, std::min(w, h) / 3);
        int x = r.left + (w - d) / 2, y = r.top + (h - d) / 2;
        HGDIOBJ oldBrush = SelectObject(hdc, GetStockObject(BLACK_BRUSH));
        HGDIOBJ oldPen = SelectObject(hdc, GetStockObject(BLACK_PEN));
        Ellipse(hdc, x, y, x + d, y + d);
        SelectObject(hdc, oldBrush);
        SelectObject(hdc, oldPen);
        break;
      }
      case DFCS_MENUARROWRIGHT:
        Arrow(hdc, r, 2, black, 0);
        break;
      default:
        Arrow(hdc, r, 3, black, 0);
    }
    return TRUE;
  }
  if (type == DFC_CAPTION) {
    FillRect(hdc, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT e = r;
    DrawEdge(hdc, &e, pushed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    COLORREF c = SysColor((state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
    int s = pushed ? 1 : 0;
    int w = r.right - r.left, h = r.bottom - r.top;
    int m = std::min(w, h) / 4;
    switch (state & 0xF) {
      case DFCS_CAPTIONCLOSE:
        for (int k = 0; k < std::min(w, h) - 2 * m - 1; ++k) {
          SetPixel(hdc, r.left + m + k + s, r.top + m + k + s, c);
          SetPixel(hdc, r.right - m - 2 - k + s, r.top + m + k + s, c);
        }
        break;
      case DFCS_CAPTIONMIN:
        HLine(hdc, r.left + m + s, r.right - m + s, r.bottom - m - 2 + s, c);
        break;
      default: {
        RECT box{r.left + m + s, r.top + m + s, r.right - m + s, r.bottom - m + s};
        HBRUSH b = CreateSolidBrush(c);
        FrameRect(hdc, &box, b);
        DeleteObject(b);
        HLine(hdc, box.left, box.right, box.top + 1, c);
      }
    }
    return TRUE;
  }
  return FALSE;
}

// ---------------------------------------------------------------- icons

namespace {

Icon* IconOf(HICON h) { return As<Icon>(h, kTypeIcon); }

}  // namespace

HICON CreateIconIndirect(PICONINFO info) {
  GDI_LOCK;
  if (!info) return nullptr;
  Bitmap* mask = As<Bitmap>(info->hbmMask, OBJ_BITMAP);
  Bitmap* color = As<Bitmap>(info->hbmColor, OBJ_BITMAP);
  if (!mask || mask->width <= 0) return nullptr;
  int w = mask->width;
  int h = color ? color->height : mask->height / 2;
  if (color && color->width != w) return nullptr;
  if (h <= 0 || (color ? mask->height < h : mask->height < 2 * h)) return nullptr;
  Icon* ic = new Icon;
  ic->type = kTypeIcon;
  ic->isIcon = info->fIcon;
  ic->hotX = info->xHotspot;
  ic->hotY = info->yHotspot;
  ic->width = w;
  ic->height = h;
  ic->color.resize(static_cast<size_t>(w) * h);
  ic->mask.resize(static_cast<size_t>(w) * h);
  PixelView mv = mask->view();
  PixelView cv = color ? color->view() : mv;
  int colorTop = color ? 0 : h;  // a monochrome icon keeps its image under the mask
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      size_t i = static_cast<size_t>(y) * w + x;
      ic->mask[i] = (mv.at(x, y) & 0xFFFFFF) ? 1 : 0;
      ic->color[i] = cv.at(x, y + colorTop) & 0xFFFFFF;
    }
  return static_cast<HICON>(Register(ic));
}

BOOL GetIconInfo(HICON icon, PICONINFO info) {
  GDI_LOCK;
  Icon* ic = IconOf(icon);
  if (!ic || !info) return FALSE;
  Bitmap* color = NewBitmap(ic->width, ic->height, 32);
  Bitmap* mask = NewBitmap(ic->width, ic->height, 1);
  color->pixels.assign(ic->color.begin(), ic->color.end());
  for (size_t i = 0; i < ic->mask.size(); ++i) mask->pixels[i] = ic->mask[i] ? 0xFFFFFF : 0;
  info->fIcon = ic->isIcon;
  info->xHotspot = ic->hotX;
  info->yHotspot = ic->hotY;
  info->hbmColor = static_cast<HBITMAP>(Register(color));
  info->hbmMask = static_cast<HBITMAP>(Register(mask));
  return TRUE;
}

HICON CopyIcon(HICON icon) {
  GDI_LOCK;
  Icon* ic = IconOf(icon);
  if (!ic) return nullptr;
  Icon* copy = new Icon(*ic);
  copy->selected = 0;
  copy->stock = false;
  return static_cast<HICON>(Register(copy));
}

BOOL DestroyIcon(HICON icon) {
  GDI_LOCK;
  Icon* ic = IconOf(icon);
  if (!ic) return FALSE;
  if (!ic->stock) Destroy(ic);
  return TRUE;
}

BOOL DestroyCursor(HCURSOR cursor) { return DestroyIcon(cursor); }

BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int cx, int cy, UINT, HBRUSH flicker, UINT flags) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  Icon* ic = IconOf(icon);
  if (!dc || !ic) return FALSE;
  if (cx <= 0) cx = ic->width;
  if (cy <= 0) cy = ic->height;
  if (flicker) {
    RECT r{x, y, x + cx, y + cy};
    FillRect(hdc, &r, flicker);
  }
  Target t;
  if (!dc->target(t)) return TRUE;
  if (!(flags & DI_NORMAL)) flags |= DI_NORMAL;
  for (int j = 0; j < cy; ++j) {
    int sy = static_cast<int>((static_cast<int64_t>(j) * ic->height) / cy);
    for (int i = 0; i < cx; ++i) {
      int sx = static_cast<int>((static_cast<int64_t>(i) * ic->width) / cx);
      int X = x + i + t.dx, Y = y + j + t.dy;
      if (!InClip(t, X, Y)) continue;
      size_t k = static_cast<size_t>(sy) * ic->width + sx;
      uint32_t& d = t.v.at(X, Y);
      uint32_t m = ic->mask[k] ? 0xFFFFFF : 0;
      uint32_t v = d;
      if ((flags & DI_NORMAL) == DI_NORMAL)
        v = (d & m) ^ ic->color[k];
      else if (flags & DI_MASK)
        v = d & m;
      else
        v = ic->color[k];
      d = t.v.mono ? ToMono(v) : v;
    }
  }
  return TRUE;
}

BOOL DrawIcon(HDC hdc, int x, int y, HICON icon) { return DrawIconEx(hdc, x, y, icon, 0, 0, 0, nullptr, DI_NORMAL); }

BOOL DrawStateA(HDC hdc, HBRUSH brush, DRAWSTATEPROC proc, LPARAM data, WPARAM wdata, int x, int y, int cx, int cy,
                UINT flags) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  UINT kind = flags & 0xF;
  UINT effect = flags & (DSS_UNION | DSS_DISABLED | DSS_MONO);
  // Natural size of the content when none is given.
  if (cx == 0 || cy == 0) {
    if (kind == DST_ICON) {
      Icon* ic = IconOf(reinterpret_cast<HICON>(data));
      if (!ic) return FALSE;
      if (!cx) cx = ic->width;
      if (!cy) cy = ic->height;
    } else if (kind == DST_BITMAP) {
      Bitmap* bm = As<Bitmap>(reinterpret_cast<HBITMAP>(data), OBJ_BITMAP);
      if (!bm) return FALSE;
      if (!cx) cx = bm->width;
      if (!cy) cy = bm->height;
    } else if (kind == DST_TEXT || kind == DST_PREFIXTEXT) {
      const char* s = reinterpret_cast<const char*>(data);
      int n = wdata ? static_cast<int>(wdata) : (s ? static_cast<int>(std::strlen(s)) : 0);
      SIZE sz{0, 0};
      GetTextExtentPoint32A(hdc, s, n, &sz);
      if (!cx) cx = sz.cx;
      if (!cy) cy = sz.cy;
    }
  }
  if (cx <= 0 || cy <= 0) return TRUE;
  // The content is drawn into white memory first; its shape is every pixel
  // the content changed.
  auto render = [&](HDC mem) -> BOOL {
    switch (kind) {
      case DST_ICON:
        return DrawIconEx(mem, 0, 0, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_NORMAL);
      case DST_BITMAP: {
        HDC src = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(src, reinterpret_cast<HBITMAP>(data));
        BOOL ok = BitBlt(mem, 0, 0, cx, cy, src, 0, 0, SRCCOPY);
        SelectObject(src, old);
        DeleteDC(src);
        return ok;
      }
      case DST_TEXT:
      case DST_PREFIXTEXT: {
        const char* s = reinterpret_cast<const char*>(data);
        int n = wdata ? static_cast<int>(wdata) : (s ? static_cast<int>(std::strlen(s)) : 0);
        SelectObject(mem, dc->s.font);
        SetTextColor(mem, effect ? RGB(0, 0, 0) : dc->s.text);
        SetBkMode(mem, TRANSPARENT);
        RECT r{0, 0, cx, cy};
        DrawTextA(mem, s, n, &r, DT_SINGLELINE | DT_NOCLIP | (kind == DST_TEXT ? DT_NOPREFIX : 0));
        return TRUE;
      }
      case DST_COMPLEX:
        return proc ? proc(mem, data, wdata, cx, cy) : FALSE;
    }
    return FALSE;
  };
  HDC mem = CreateCompatibleDC(hdc);
  HBITMAP bm = CreateBitmap(cx, cy, 1, 32, nullptr);
  HGDIOBJ oldBm = SelectObject(mem, bm);
  RECT all{0, 0, cx, cy};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HDC probe = nullptr;
  HBITMAP probeBm = nullptr;
  BOOL ok = render(mem);
  if (effect && kind == DST_ICON) {
    // Icons may draw white: find their shape from the mask instead.
    probe = CreateCompatibleDC(hdc);
    probeBm = CreateBitmap(cx, cy, 1, 32, nullptr);
    SelectObject(probe, probeBm);
    FillRect(probe, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawIconEx(probe, 0, 0, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_MASK);
  }
  if (!effect) {
    if (kind == DST_ICON) {
      DrawIconEx(hdc, x, y, reinterpret_cast<HICON>(data), cx, cy, 0, nullptr, DI_NORMAL);
    } else {
      TransparentBlt(hdc, x, y, cx, cy, mem, 0, 0, cx, cy, RGB(255, 255, 255));
    }
  } else {
    Bitmap* shapeBm = As<Bitmap>(probeBm ? probeBm : bm, OBJ_BITMAP);
    auto inShape = [&](int i, int j) {
      uint32_t v = shapeBm->pixels[static_cast<size_t>(j) * cx + i];
      return probeBm ? v == 0 : v != 0xFFFFFF;
    };
    auto stamp = [&](int ox, int oy, COLORREF c) {
      HBRUSH b = CreateSolidBrush(c);
      for (int j = 0; j < cy; ++j)
        for (int i = 0; i < cx; ++i)
          if (inShape(i, j)) {
            RECT r{x + i + ox, y + j + oy, x + i + ox + 1, y + j + oy + 1};
            FillRect(hdc, &r, b);
          }
      DeleteObject(b);
    };
    if (effect & DSS_DISABLED) {
      stamp(1, 1, SysColor(COLOR_BTNHIGHLIGHT));
      stamp(0, 0, SysColor(COLOR_BTNSHADOW));
    } else {
      COLORREF c = SysColor(COLOR_WINDOWTEXT);
      const Brush* b = As<Brush>(brush, OBJ_BRUSH);
      if (b) c = b->sysColor >= 0 ? SysColor(b->sysColor) : b->color;
      stamp(0, 0, c);
    }
  }
  if (probe) DeleteDC(probe);
  if (probeBm) DeleteObject(probeBm);
  SelectObject(mem, oldBm);
  DeleteObject(bm);
  DeleteDC(mem);
  return ok;
}
