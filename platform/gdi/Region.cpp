// Regions as sorted rectangle bands, and the region calls.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>

#include "GdiInternal.h"

namespace gdi {

namespace {

// Curved and polygonal regions are made row by row within these rows.
const int kRegionLimit = 1 << 18;

typedef std::vector<std::pair<int, int>> Runs;

// The x runs of `s` in the band [y0, y1); the band never straddles a band of
// `s` because the caller cuts at every edge of both operands.
Runs RunsIn(const RectSet& s, int y0, int y1) {
  Runs out;
  for (const RECT& r : s.rects) {
    if (r.top > y0) break;
    if (r.top <= y0 && r.bottom >= y1) out.push_back({r.left, r.right});
  }
  return out;
}

Runs CombineRuns(const Runs& a, const Runs& b, int mode) {
  // Sweep the x edges; inside-ness of each operand flips at its edges.
  std::vector<int> xs;
  for (auto& p : a) xs.push_back(p.first), xs.push_back(p.second);
  for (auto& p : b) xs.push_back(p.first), xs.push_back(p.second);
  std::sort(xs.begin(), xs.end());
  xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
  auto inside = [](const Runs& rs, int x) {
    for (auto& p : rs)
      if (x >= p.first && x < p.second) return true;
    return false;
  };
  Runs out;
  for (size_t i = 0; i + 1 < xs.size(); ++i) {
    bool ia = inside(a, xs[i]), ib = inside(b, xs[i]);
    bool in = false;
    switch (mode) {
      case RGN_AND:
        in = ia && ib;
        break;
      case RGN_OR:
        in = ia || ib;
        break;
      case RGN_XOR:
        in = ia != ib;
        break;
      case RGN_DIFF:
        in = ia && !ib;
        break;
      default:
        in = ia;
        break;
    }
    if (!in) continue;
    if (!out.empty() && out.back().second == xs[i])
      out.back().second = xs[i + 1];
    else
      out.push_back({xs[i], xs[i + 1]});
  }
  return out;
}

// Appends a band, merging it into the previous one when the runs match and
// the bands touch, so equal regions have equal rectangle lists.
void AddBand(std::vector<RECT>& out, size_t& lastBandStart, int y0, int y1, const Runs& runs) {
  if (runs.empty()) return;
  if (lastBandStart < out.size() && out[lastBandStart].bottom == y0 && out.size() - lastBandStart == runs.size()) {
    bool same = true;
    for (size_t i = 0; i < runs.size(); ++i)
      if (out[lastBandStart + i].left != runs[i].first || out[lastBandStart + i].right != runs[i].second) same = false;
    if (same) {
      for (size_t i = lastBandStart; i < out.size(); ++i) out[i].bottom = y1;
      return;
    }
  }
  lastBandStart = out.size();
  for (auto& p : runs) out.push_back(RECT{p.first, y0, p.second, y1});
}

}  // namespace

RectSet RectSet::FromRect(const RECT& r) {
  RectSet s;
  RECT n = Normalized(r.left, r.top, r.right, r.bottom);
  if (!IsEmpty(n)) s.rects.push_back(n);
  return s;
}

RectSet RectSet::FromRects(std::vector<RECT> rects) {
  RectSet raw;
  for (const RECT& r : rects) {
    RECT n = Normalized(r.left, r.top, r.right, r.bottom);
    if (!IsEmpty(n)) raw.rects.push_back(n);
  }
  // Sorted by top, the raw list is read band by band like a region and the
  // union with nothing merges what overlaps.
  std::sort(raw.rects.begin(), raw.rects.end(), [](const RECT& a, const RECT& b) { return a.top < b.top; });
  return Combine(raw, RectSet(), RGN_OR);
}

RectSet RectSet::FromRows(int top, const std::vector<std::pair<int, int>>& rows) {
  RectSet s;
  size_t last = SIZE_MAX;
  for (size_t i = 0; i < rows.size(); ++i) {
    Runs runs;
    if (rows[i].second > rows[i].first) runs.push_back(rows[i]);
    AddBand(s.rects, last, top + static_cast<int>(i), top + static_cast<int>(i) + 1, runs);
  }
  return s;
}

RectSet RectSet::Combine(const RectSet& a, const RectSet& b, int mode) {
  if (mode == RGN_COPY) return a;
  std::vector<int> ys;
  for (auto& r : a.rects) ys.push_back(r.top), ys.push_back(r.bottom);
  for (auto& r : b.rects) ys.push_back(r.top), ys.push_back(r.bottom);
  std::sort(ys.begin(), ys.end());
  ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
  RectSet out;
  size_t last = SIZE_MAX;
  for (size_t i = 0; i + 1 < ys.size(); ++i) {
    Runs runs = CombineRuns(RunsIn(a, ys[i], ys[i + 1]), RunsIn(b, ys[i], ys[i + 1]), mode);
    AddBand(out.rects, last, ys[i], ys[i + 1], runs);
  }
  return out;
}

RECT RectSet::bounds() const {
  if (rects.empty()) return RECT{0, 0, 0, 0};
  RECT b = rects.front();
  for (auto& r : rects) {
    b.left = std::min(b.left, r.left);
    b.right = std::max(b.right, r.right);
    b.top = std::min(b.top, r.top);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

void RectSet::offset(int dx, int dy) {
  for (auto& r : rects) {
    r.left += dx, r.right += dx;
    r.top += dy, r.bottom += dy;
  }
}

bool RectSet::contains(int x, int y) const {
  for (auto& r : rects)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

bool RectSet::intersects(const RECT& q) const {
  for (auto& r : rects)
    if (!IsEmpty(Intersect(r, q))) return true;
  return false;
}

bool RectSet::operator==(const RectSet& o) const {
  if (rects.size() != o.rects.size()) return false;
  for (size_t i = 0; i < rects.size(); ++i)
    if (std::memcmp(&rects[i], &o.rects[i], sizeof(RECT)) != 0) return false;
  return true;
}

// Rows of the rounded rectangle (l, t, r, b) with corner ellipses ew x eh,
// as Windows rounds them: the right and bottom edges are outside. Only rows
// in [y0, y1) are made; `first` receives the first row's y.
std::vector<std::pair<int, int>> ShapeRows(int l, int t, int r, int b, int ew, int eh, int& first, int y0, int y1) {
  std::vector<std::pair<int, int>> rows;
  int64_t w = int64_t(r) - l, h = int64_t(b) - t;
  first = std::max(t, y0);
  int last = std::min(b, y1);
  if (w <= 0 || h <= 0 || first >= last) return rows;
  double a = std::min<double>(std::max(ew, 0), double(w)) / 2.0;
  double c = std::min<double>(std::max(eh, 0), double(h)) / 2.0;
  rows.reserve(static_cast<size_t>(last - first));
  for (int y = first; y < last; ++y) {
    int inset = 0;
    if (a > 0 && c > 0) {
      double yc = double(y) - t + 0.5;
      double dy = 0;
      if (yc < c)
        dy = c - yc;
      else if (yc > h - c)
        dy = yc - (h - c);
      if (dy > 0) {
        double q = 1.0 - (dy * dy) / (c * c);
        double dx = q > 0 ? a * std::sqrt(q) : 0;
        inset = static_cast<int>(a - dx + 0.5);
      }
    }
    rows.push_back({l + inset, r - inset});
  }
  return rows;
}

// Scanline fill of a polygon at pixel centres; calls `emit(y, x0, x1)`.
template <class F>
void ScanPolygon(const POINT* pts, int count, int fillMode, int yLo, int yHi, F emit) {
  if (count < 3) return;
  int ymin = INT_MAX, ymax = INT_MIN;
  for (int i = 0; i < count; ++i) ymin = std::min<int>(ymin, pts[i].y), ymax = std::max<int>(ymax, pts[i].y);
  ymin = std::max(ymin, yLo);
  ymax = std::min(ymax, yHi);
  struct X {
    double x;
    int dir;
  };
  std::vector<X> xs;
  for (int y = ymin; y < ymax; ++y) {
    double yc = y + 0.5;
    xs.clear();
    for (int i = 0; i < count; ++i) {
      const POINT& p = pts[i];
      const POINT& q = pts[(i + 1) % count];
      if (p.y == q.y) continue;
      bool up = q.y > p.y;
      double y0 = up ? p.y : q.y, y1 = up ? q.y : p.y;
      if (yc < y0 || yc >= y1) continue;
      double x = p.x + (yc - p.y) * double(q.x - p.x) / double(q.y - p.y);
      xs.push_back({x, up ? 1 : -1});
    }
    std::sort(xs.begin(), xs.end(), [](const X& a, const X& b) { return a.x < b.x; });
    int wind = 0;
    for (size_t i = 0; i + 1 < xs.size(); ++i) {
      wind += xs[i].dir;
      bool in = fillMode == WINDING ? wind != 0 : (i % 2) == 0;
      if (!in) continue;
      int x0 = static_cast<int>(std::ceil(xs[i].x - 0.5));
      int x1 = static_cast<int>(std::ceil(xs[i + 1].x - 0.5));
      if (x1 > x0) emit(y, x0, x1);
    }
  }
}

RectSet PolygonSet(const POINT* pts, int count, int fillMode) {
  std::vector<RECT> runs;
  ScanPolygon(pts, count, fillMode, -kRegionLimit, kRegionLimit, [&](int y, int x0, int x1) {
    runs.push_back(RECT{x0, y, x1, y + 1});
  });
  return RectSet::FromRects(std::move(runs));
}

void PolygonSpans(const POINT* pts, int count, int fillMode, int yLo, int yHi,
                  const std::function<void(int, int, int)>& emit) {
  ScanPolygon(pts, count, fillMode, yLo, yHi, emit);
}

}  // namespace gdi

using namespace gdi;

namespace {
Region* Rgn(HRGN h) { return As<Region>(h, OBJ_REGION); }
HRGN NewRgn(RectSet s) {
  Region* r = new Region;
  r->type = OBJ_REGION;
  r->set = std::move(s);
  return static_cast<HRGN>(Register(r));
}
}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return NewRgn(RectSet::FromRect(RECT{left, top, right, bottom}));
}

HRGN CreateRectRgnIndirect(const RECT* rc) {
  if (!rc) return nullptr;
  return CreateRectRgn(rc->left, rc->top, rc->right, rc->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int w, int h) {
  RECT n = Normalized(left, top, right, bottom);
  int first;
  auto rows = ShapeRows(n.left, n.top, n.right, n.bottom, w, h, first, -kRegionLimit, kRegionLimit);
  return NewRgn(RectSet::FromRows(first, rows));
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  RECT n = Normalized(left, top, right, bottom);
  return CreateRoundRectRgn(n.left, n.top, n.right, n.bottom, n.right - n.left, n.bottom - n.top);
}

HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
  if (!pts || count < 0) return nullptr;
  return NewRgn(PolygonSet(pts, count, fillMode));
}

HRGN ExtCreateRegion(const XFORM* xform, DWORD size, const RGNDATA* data) {
  // Only the identity transform (or none) is needed.
  if (xform && (xform->eM11 != 1 || xform->eM22 != 1 || xform->eM12 != 0 || xform->eM21 != 0)) return nullptr;
  if (!data || size < sizeof(RGNDATAHEADER) || data->rdh.dwSize < sizeof(RGNDATAHEADER) ||
      data->rdh.iType != RDH_RECTANGLES)
    return nullptr;
  uint64_t need = uint64_t(data->rdh.dwSize) + uint64_t(data->rdh.nCount) * sizeof(RECT);
  if (need > size) return nullptr;
  const uint8_t* p = reinterpret_cast<const uint8_t*>(data) + data->rdh.dwSize;
  std::vector<RECT> rects(data->rdh.nCount);
  if (!rects.empty()) std::memcpy(rects.data(), p, rects.size() * sizeof(RECT));
  RectSet s = RectSet::FromRects(std::move(rects));
  if (xform) s.offset(static_cast<int>(xform->eDx), static_cast<int>(xform->eDy));
  return NewRgn(std::move(s));
}

DWORD GetRegionData(HRGN rgn, DWORD size, LPRGNDATA data) {
  GDI_LOCK;
  Region* r = Rgn(rgn);
  if (!r) return 0;
  DWORD need = DWORD(sizeof(RGNDATAHEADER) + r->set.rects.size() * sizeof(RECT));
  if (!data) return need;
  if (size < need) return 0;
  data->rdh.dwSize = sizeof(RGNDATAHEADER);
  data->rdh.iType = RDH_RECTANGLES;
  data->rdh.nCount = DWORD(r->set.rects.size());
  data->rdh.nRgnSize = DWORD(r->set.rects.size() * sizeof(RECT));
  data->rdh.rcBound = r->set.bounds();
  if (!r->set.rects.empty())
    std::memcpy(reinterpret_cast<uint8_t*>(data) + sizeof(RGNDATAHEADER), r->set.rects.data(),
                r->set.rects.size() * sizeof(RECT));
  return need;
}

int CombineRgn(HRGN dest, HRGN src1, HRGN src2, int mode) {
  GDI_LOCK;
  Region* d = Rgn(dest);
  Region* a = Rgn(src1);
  if (!d || !a || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (mode == RGN_COPY) {
    d->set = a->set;
    return d->set.complexity();
  }
  Region* b = Rgn(src2);
  if (!b) return ERROR;
  d->set = RectSet::Combine(a->set, b->set, mode);
  return d->set.complexity();
}

BOOL SetRectRgn(HRGN rgn, int left, int top, int right, int bottom) {
  GDI_LOCK;
  Region* r = Rgn(rgn);
  if (!r) return FALSE;
  r->set = RectSet::FromRect(RECT{left, top, right, bottom});
  return TRUE;
}

int OffsetRgn(HRGN rgn, int dx, int dy) {
  GDI_LOCK;
  Region* r = Rgn(rgn);
  if (!r) return ERROR;
  r->set.offset(dx, dy);
  return r->set.complexity();
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  GDI_LOCK;
  Region* r = Rgn(rgn);
  return r && r->set.contains(x, y);
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
  GDI_LOCK;
  Region* r = Rgn(rgn);
  if (!r || !rc) return FALSE;
  return r->set.intersects(Normalized(rc->left, rc->top, rc->right, rc->bottom));
}

int GetRgnBox(HRGN rgn, LPRECT box) {
  GDI_LOCK;
  Region* r = Rgn(rgn);
  if (!r || !box) return ERROR;
  *box = r->set.bounds();
  return r->set.complexity();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  GDI_LOCK;
  Region* ra = Rgn(a);
  Region* rb = Rgn(b);
  return ra && rb && ra->set == rb->set;
}
