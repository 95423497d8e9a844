// Device contexts: memory contexts, surface contexts of the window manager,
// the screen context, saved states, origins, clipping and capabilities.
#include <algorithm>

#include "GdiInternal.h"

namespace gdi {

namespace {

// The same screen as the documented system metrics of the window manager.
const int kScreenWidth = 1280;
const int kScreenHeight = 1024;

PlatformSurface& ScreenSurface() {
  static PlatformSurface* s = [] {
    auto* p = new PlatformSurface;
    p->Resize(kScreenWidth, kScreenHeight);
    return p;
  }();
  return *s;
}

Dc* NewDc(bool memory) {
  Dc* dc = new Dc;
  dc->type = memory ? OBJ_MEMDC : OBJ_DC;
  dc->memory = memory;
  SelectInto(dc, StockDefault(OBJ_PEN));
  SelectInto(dc, StockDefault(OBJ_BRUSH));
  SelectInto(dc, StockDefault(OBJ_FONT));
  if (memory) SelectInto(dc, StockDefault(OBJ_BITMAP));
  return dc;
}

}  // namespace

Bitmap* Dc::bitmap() const { return memory ? As<Bitmap>(s.bitmap, OBJ_BITMAP) : nullptr; }

bool Dc::target(Target& t, const RECT* extraClip) {
  const void* owner = nullptr;
  RECT base{0, 0, 0, 0};
  if (memory) {
    Bitmap* bm = bitmap();
    if (!bm) return false;
    t.v = bm->view();
    owner = bm;
    base = RECT{0, 0, bm->width, bm->height};
  } else {
    if (!surface) return false;
    t.v = PixelView{};
    t.v.width = surface->width;
    t.v.height = surface->height;
    if (!surface->pixels.empty() &&
        surface->pixels.size() >= static_cast<size_t>(surface->width) * static_cast<size_t>(surface->height)) {
      t.v.row0 = surface->pixels.data();
      t.v.stride = surface->width;
    }
    owner = surface;
    base = Intersect(clipRect, RECT{0, 0, surface->width, surface->height});
  }
  t.dx = s.vpOrg.x - s.winOrg.x + origin.x;
  t.dy = s.vpOrg.y - s.winOrg.y + origin.y;
  if (cacheGen_ != generation || cacheOwner_ != owner || cacheW_ != t.v.width || cacheH_ != t.v.height) {
    RectSet set = RectSet::FromRect(base);
    if (hasSysRgn) set = RectSet::Combine(set, sysRgn, RGN_AND);
    if (s.hasClip) {
      RectSet user = s.clip;
      user.offset(origin.x, origin.y);
      set = RectSet::Combine(set, user, RGN_AND);
    }
    cache_ = std::move(set.rects);
    cacheGen_ = generation;
    cacheOwner_ = owner;
    cacheW_ = t.v.width;
    cacheH_ = t.v.height;
  }
  t.clip = cache_;
  if (extraClip) {
    RECT e =
        Normalized(extraClip->left + t.dx, extraClip->top + t.dy, extraClip->right + t.dx, extraClip->bottom + t.dy);
    std::vector<RECT> out;
    for (const RECT& r : t.clip) {
      RECT i = Intersect(r, e);
      if (!IsEmpty(i)) out.push_back(i);
    }
    t.clip.swap(out);
  }
  return t.v.row0 != nullptr;
}

// The context's whole area in device coordinates, the start of a clip region
// that is narrowed by ExcludeClipRect and IntersectClipRect.
RectSet DeviceArea(Dc* dc) {
  if (dc->memory) {
    Bitmap* bm = dc->bitmap();
    return RectSet::FromRect(RECT{0, 0, bm ? bm->width : 0, bm ? bm->height : 0});
  }
  RECT r = dc->clipRect;
  return RectSet::FromRect(
      RECT{r.left - dc->origin.x, r.top - dc->origin.y, r.right - dc->origin.x, r.bottom - dc->origin.y});
}

}  // namespace gdi

using namespace gdi;

HDC PlatformCreateSurfaceDC(PlatformSurface* surface, POINT origin, RECT clip, HWND hwnd) {
  if (!surface) return nullptr;
  GDI_LOCK;
  Dc* dc = NewDc(false);
  dc->surface = surface;
  dc->origin = origin;
  dc->clipRect = clip;
  dc->hwnd = hwnd;
  return static_cast<HDC>(Register(dc));
}

BOOL PlatformSetSurfaceDCRegion(HDC hdc, HRGN region) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || dc->memory) return FALSE;
  if (!region) {
    dc->hasSysRgn = false;
  } else {
    Region* r = As<Region>(region, OBJ_REGION);
    if (!r) return FALSE;
    dc->hasSysRgn = true;
    dc->sysRgn = r->set;
  }
  ++dc->generation;
  return TRUE;
}

HDC PlatformScreenDC() {
  GDI_LOCK;
  PlatformSurface& s = ScreenSurface();
  return PlatformCreateSurfaceDC(&s, POINT{0, 0}, RECT{0, 0, s.width, s.height}, nullptr);
}

PlatformSurface* PlatformDCSurface(HDC hdc) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  return dc && !dc->memory ? dc->surface : nullptr;
}

HDC CreateCompatibleDC(HDC) {
  GDI_LOCK;
  return static_cast<HDC>(Register(NewDc(true)));
}

BOOL DeleteDC(HDC hdc) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  ReleaseAll(dc);
  Destroy(dc);
  return TRUE;
}

HWND WindowFromDC(HDC hdc) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  return dc ? dc->hwnd : nullptr;
}

int SaveDC(HDC hdc) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return 0;
  dc->saved.push_back(dc->s);
  return static_cast<int>(dc->saved.size());
}

BOOL RestoreDC(HDC hdc, int saved) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  int n = static_cast<int>(dc->saved.size());
  int index = saved > 0 ? saved : n + saved + 1;
  if (index < 1 || index > n) return FALSE;
  DcState st = dc->saved[static_cast<size_t>(index - 1)];
  dc->saved.resize(static_cast<size_t>(index - 1));
  // Objects deleted since the save fall back to the defaults.
  HGDIOBJ objs[4] = {st.pen, st.brush, st.font, st.bitmap};
  DWORD types[4] = {OBJ_PEN, OBJ_BRUSH, OBJ_FONT, OBJ_BITMAP};
  HGDIOBJ current[4] = {dc->s.pen, dc->s.brush, dc->s.font, dc->s.bitmap};
  st.pen = current[0], st.brush = current[1], st.font = current[2], st.bitmap = current[3];
  dc->s = st;
  for (int i = 0; i < 4; ++i) {
    if (i == 3 && !dc->memory) continue;
    Object* o = Find(objs[i]);
    HGDIOBJ h = o && o->type == types[i] && !o->deletePending ? objs[i] : StockDefault(types[i]);
    if (!SelectInto(dc, h)) SelectInto(dc, StockDefault(types[i]));
  }
  ++dc->generation;
  return TRUE;
}

int GetDeviceCaps(HDC hdc, int index) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return 0;
  switch (index) {
    case DRIVERVERSION:
      return 0x4000;
    case TECHNOLOGY:
      return DT_RASDISPLAY;
    case HORZRES:
      return kScreenWidth;
    case VERTRES:
      return kScreenHeight;
    case HORZSIZE:
      return kScreenWidth * 254 / 960;
    case VERTSIZE:
      return kScreenHeight * 254 / 960;
    case BITSPIXEL:
      return 32;
    case PLANES:
      return 1;
    case NUMBRUSHES:
    case NUMPENS:
    case NUMCOLORS:
      return -1;
    case NUMFONTS:
      return 0;
    case RASTERCAPS:
      return RC_BITBLT | RC_STRETCHBLT | RC_DI_BITMAP | RC_DIBTODEV;
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case SIZEPALETTE:
      return 0;
    case COLORRES:
      return 24;
  }
  return 0;
}

namespace gdi {
BOOL SetPoint(HDC hdc, POINT DcState::*member, int x, int y, bool relative, LPPOINT old) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  POINT& p = dc->s.*member;
  if (old) *old = p;
  if (relative)
    p.x += x, p.y += y;
  else
    p = POINT{x, y};
  return TRUE;
}

BOOL GetPoint(HDC hdc, POINT DcState::*member, LPPOINT out) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !out) return FALSE;
  *out = dc->s.*member;
  return TRUE;
}
}  // namespace gdi

BOOL SetWindowOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetPoint(hdc, &DcState::winOrg, x, y, false, old); }
BOOL SetViewportOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetPoint(hdc, &DcState::vpOrg, x, y, false, old); }
BOOL OffsetWindowOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  return SetPoint(hdc, &DcState::winOrg, dx, dy, true, old);
}
BOOL OffsetViewportOrgEx(HDC hdc, int dx, int dy, LPPOINT old) {
  return SetPoint(hdc, &DcState::vpOrg, dx, dy, true, old);
}
BOOL SetBrushOrgEx(HDC hdc, int x, int y, LPPOINT old) { return SetPoint(hdc, &DcState::brushOrg, x, y, false, old); }
BOOL GetWindowOrgEx(HDC hdc, LPPOINT org) { return GetPoint(hdc, &DcState::winOrg, org); }
BOOL GetViewportOrgEx(HDC hdc, LPPOINT org) { return GetPoint(hdc, &DcState::vpOrg, org); }

int SetMapMode(HDC hdc, int mode) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  // Only the text mode (one logical unit = one pixel) exists here.
  if (!dc || mode != MM_TEXT) return 0;
  return MM_TEXT;
}
int GetMapMode(HDC hdc) { return AsDc(hdc) ? MM_TEXT : 0; }

BOOL LPtoDP(HDC hdc, LPPOINT pts, int count) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || (!pts && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) {
    pts[i].x += dc->s.vpOrg.x - dc->s.winOrg.x;
    pts[i].y += dc->s.vpOrg.y - dc->s.winOrg.y;
  }
  return TRUE;
}

BOOL DPtoLP(HDC hdc, LPPOINT pts, int count) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || (!pts && count > 0)) return FALSE;
  for (int i = 0; i < count; ++i) {
    pts[i].x -= dc->s.vpOrg.x - dc->s.winOrg.x;
    pts[i].y -= dc->s.vpOrg.y - dc->s.winOrg.y;
  }
  return TRUE;
}

// ---------------------------------------------------------------- clipping

namespace {

int ClipResult(Dc* dc) {
  Target t;
  dc->target(t);
  return t.clip.empty() ? NULLREGION : t.clip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

RECT LogicalToDevice(Dc* dc, int l, int t, int r, int b) {
  int dx = dc->s.vpOrg.x - dc->s.winOrg.x, dy = dc->s.vpOrg.y - dc->s.winOrg.y;
  return Normalized(l + dx, t + dy, r + dx, b + dy);
}

}  // namespace

int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || mode < RGN_AND || mode > RGN_COPY) return ERROR;
  if (!rgn) {
    if (mode != RGN_COPY) return ERROR;
    dc->s.hasClip = false;
    dc->s.clip = RectSet();
  } else {
    Region* r = As<Region>(rgn, OBJ_REGION);
    if (!r) return ERROR;
    if (mode == RGN_COPY) {
      dc->s.clip = r->set;
    } else {
      RectSet cur = dc->s.hasClip ? dc->s.clip : DeviceArea(dc);
      dc->s.clip = RectSet::Combine(cur, r->set, mode);
    }
    dc->s.hasClip = true;
  }
  ++dc->generation;
  return ClipResult(dc);
}

static int NarrowClip(HDC hdc, int l, int t, int r, int b, int mode) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return ERROR;
  RectSet cur = dc->s.hasClip ? dc->s.clip : DeviceArea(dc);
  dc->s.clip = RectSet::Combine(cur, RectSet::FromRect(LogicalToDevice(dc, l, t, r, b)), mode);
  dc->s.hasClip = true;
  ++dc->generation;
  return ClipResult(dc);
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) { return NarrowClip(hdc, l, t, r, b, RGN_DIFF); }
int IntersectClipRect(HDC hdc, int l, int t, int r, int b) { return NarrowClip(hdc, l, t, r, b, RGN_AND); }

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return ERROR;
  if (dc->s.hasClip) {
    dc->s.clip.offset(dx, dy);
    ++dc->generation;
  }
  return ClipResult(dc);
}

int GetClipBox(HDC hdc, LPRECT box) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !box) return ERROR;
  Target t;
  dc->target(t);
  if (t.clip.empty()) {
    *box = RECT{0, 0, 0, 0};
    return NULLREGION;
  }
  RECT b = t.clip.front();
  for (const RECT& r : t.clip) {
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  *box = RECT{b.left - t.dx, b.top - t.dy, b.right - t.dx, b.bottom - t.dy};
  return t.clip.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  Region* r = As<Region>(rgn, OBJ_REGION);
  if (!dc || !r) return -1;
  if (!dc->s.hasClip) return 0;
  r->set = dc->s.clip;
  return 1;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  Target t;
  dc->target(t);
  return InClip(t, x + t.dx, y + t.dy);
}

BOOL RectVisible(HDC hdc, const RECT* rc) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !rc) return FALSE;
  Target t;
  dc->target(t);
  RECT r = Normalized(rc->left + t.dx, rc->top + t.dy, rc->right + t.dx, rc->bottom + t.dy);
  for (const RECT& c : t.clip)
    if (!IsEmpty(Intersect(c, r))) return TRUE;
  return FALSE;
}

// ---------------------------------------------------------------- attributes

namespace {

template <class T>
T SetAttribute(HDC hdc, T DcState::*field, T value, T bad, bool valid = true) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !valid) return bad;
  T old = dc->s.*field;
  dc->s.*field = value;
  return old;
}

template <class T>
T GetAttribute(HDC hdc, T DcState::*field, T bad) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  return dc ? dc->s.*field : bad;
}

}  // namespace

COLORREF SetTextColor(HDC hdc, COLORREF c) { return SetAttribute(hdc, &DcState::text, c, CLR_INVALID); }
COLORREF GetTextColor(HDC hdc) { return GetAttribute(hdc, &DcState::text, CLR_INVALID); }
COLORREF SetBkColor(HDC hdc, COLORREF c) { return SetAttribute(hdc, &DcState::bk, c, CLR_INVALID); }
COLORREF GetBkColor(HDC hdc) { return GetAttribute(hdc, &DcState::bk, CLR_INVALID); }
UINT SetTextAlign(HDC hdc, UINT a) { return SetAttribute(hdc, &DcState::textAlign, a, 0xFFFFFFFFu); }
UINT GetTextAlign(HDC hdc) { return GetAttribute(hdc, &DcState::textAlign, 0xFFFFFFFFu); }
int SetBkMode(HDC hdc, int mode) {
  return SetAttribute(hdc, &DcState::bkMode, mode, 0, mode == TRANSPARENT || mode == OPAQUE);
}
int GetBkMode(HDC hdc) { return GetAttribute(hdc, &DcState::bkMode, 0); }
int SetROP2(HDC hdc, int rop2) {
  return SetAttribute(hdc, &DcState::rop2, rop2, 0, rop2 >= R2_BLACK && rop2 <= R2_WHITE);
}
int GetROP2(HDC hdc) { return GetAttribute(hdc, &DcState::rop2, 0); }
int SetStretchBltMode(HDC hdc, int mode) {
  return SetAttribute(hdc, &DcState::stretchMode, mode, 0, mode >= BLACKONWHITE && mode <= HALFTONE);
}
int GetStretchBltMode(HDC hdc) { return GetAttribute(hdc, &DcState::stretchMode, 0); }
int SetPolyFillMode(HDC hdc, int mode) {
  return SetAttribute(hdc, &DcState::polyFill, mode, 0, mode == ALTERNATE || mode == WINDING);
}
int SetTextCharacterExtra(HDC hdc, int extra) {
  return SetAttribute(hdc, &DcState::charExtra, extra, static_cast<int>(0x80000000u));
}
