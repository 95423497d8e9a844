// The handle table, stock objects, pens, brushes, fonts, system colours,
// selection and deletion, and the pixel writers every drawing call ends in.
#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "GdiInternal.h"

namespace gdi {

// Never destroyed, like the window manager's tables: a program's static GDI
// object may be freed after the other statics are gone.
std::recursive_mutex& Lock() {
  static auto* m = new std::recursive_mutex;
  return *m;
}

namespace {

std::unordered_set<Object*>& Live() {
  static auto* live = new std::unordered_set<Object*>;
  return *live;
}

// The classic Windows scheme; the tests of the layer name these values.
const COLORREF kSysColors[31] = {
    RGB(212, 208, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(10, 36, 106),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(212, 208, 200),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(10, 36, 106),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(212, 208, 200),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(212, 208, 200),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(212, 208, 200),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(181, 181, 181),  // 25, unused
    RGB(0, 0, 128),      // COLOR_HOTLIGHT
    RGB(166, 202, 240),  // COLOR_GRADIENTACTIVECAPTION
    RGB(192, 192, 192),  // COLOR_GRADIENTINACTIVECAPTION
    RGB(49, 106, 197),   // COLOR_MENUHILIGHT
    RGB(212, 208, 200),  // COLOR_MENUBAR
};

struct Stock {
  HGDIOBJ objects[20] = {};
  HGDIOBJ sysBrushes[31] = {};
  HGDIOBJ bitmap = nullptr;  // the 1 x 1 monochrome bitmap of a new memory context
};

HGDIOBJ MakeStock(Object* o) {
  o->stock = true;
  return Register(o);
}

HGDIOBJ StockBrush(COLORREF c, UINT style = BS_SOLID) {
  Brush* b = new Brush;
  b->type = OBJ_BRUSH;
  b->style = style;
  b->color = c;
  return MakeStock(b);
}

HGDIOBJ StockPen(COLORREF c, UINT style = PS_SOLID) {
  Pen* p = new Pen;
  p->type = OBJ_PEN;
  p->style = style;
  p->color = c;
  return MakeStock(p);
}

HGDIOBJ StockFont(const char* face, int height, int weight, int pitch) {
  Font* f = new Font;
  f->type = OBJ_FONT;
  f->lf.lfHeight = height;
  f->lf.lfWeight = weight;
  f->lf.lfPitchAndFamily = static_cast<BYTE>(pitch);
  std::strncpy(f->lf.lfFaceName, face, LF_FACESIZE - 1);
  return MakeStock(f);
}

Stock& Stocks() {
  static Stock* s = [] {
    GDI_LOCK;
    Stock* st = new Stock;
    st->objects[WHITE_BRUSH] = StockBrush(RGB(255, 255, 255));
    st->objects[LTGRAY_BRUSH] = StockBrush(RGB(192, 192, 192));
    st->objects[GRAY_BRUSH] = StockBrush(RGB(128, 128, 128));
    st->objects[DKGRAY_BRUSH] = StockBrush(RGB(64, 64, 64));
    st->objects[BLACK_BRUSH] = StockBrush(RGB(0, 0, 0));
    st->objects[NULL_BRUSH] = StockBrush(0, BS_NULL);
    st->objects[WHITE_PEN] = StockPen(RGB(255, 255, 255));
    st->objects[BLACK_PEN] = StockPen(RGB(0, 0, 0));
    st->objects[NULL_PEN] = StockPen(0, PS_NULL);
    st->objects[OEM_FIXED_FONT] = StockFont("Terminal", 12, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    st->objects[ANSI_FIXED_FONT] = StockFont("Courier", 13, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    st->objects[ANSI_VAR_FONT] = StockFont("MS Sans Serif", 13, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    st->objects[SYSTEM_FONT] = StockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    st->objects[DEVICE_DEFAULT_FONT] = StockFont("System", 16, FW_BOLD, VARIABLE_PITCH | FF_SWISS);
    st->objects[SYSTEM_FIXED_FONT] = StockFont("Fixedsys", 15, FW_NORMAL, FIXED_PITCH | FF_MODERN);
    st->objects[DEFAULT_GUI_FONT] = StockFont("MS Shell Dlg", -11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS);
    Brush* dcBrush = new Brush;
    dcBrush->type = OBJ_BRUSH;
    dcBrush->sysColor = -2;  // the context's DC brush colour
    st->objects[DC_BRUSH] = MakeStock(dcBrush);
    Pen* dcPen = new Pen;
    dcPen->type = OBJ_PEN;
    dcPen->width = -2;  // the context's DC pen colour
    st->objects[DC_PEN] = MakeStock(dcPen);
    for (int i = 0; i < 31; ++i) {
      Brush* b = new Brush;
      b->type = OBJ_BRUSH;
      b->sysColor = i;
      b->color = kSysColors[i];
      st->sysBrushes[i] = MakeStock(b);
    }
    Bitmap* bm = NewBitmap(1, 1, 1);
    bm->pixels[0] = 0;
    st->bitmap = MakeStock(bm);
    return st;
  }();
  return *s;
}

}  // namespace

HGDIOBJ Register(Object* o) {
  GDI_LOCK;
  Live().insert(o);
  return static_cast<HGDIOBJ>(o);
}

Object* Find(HGDIOBJ h) {
  if (!h) return nullptr;
  GDI_LOCK;
  auto& live = Live();
  auto it = live.find(static_cast<Object*>(h));
  return it == live.end() ? nullptr : *it;
}

Dc* AsDc(HDC h) {
  Object* o = Find(h);
  return o && (o->type == OBJ_DC || o->type == OBJ_MEMDC) ? static_cast<Dc*>(o) : nullptr;
}

void (*g_destroyHook)(void* handle) = nullptr;

void Destroy(Object* o) {
  GDI_LOCK;
  if (g_destroyHook) g_destroyHook(o);
  Live().erase(o);
  delete o;
}

Bitmap* NewBitmap(int w, int h, int bpp) {
  Bitmap* b = new Bitmap;
  b->type = OBJ_BITMAP;
  b->width = w;
  b->height = h;
  b->bpp = bpp == 1 ? 1 : 32;
  b->pixels = PixelBuffer(static_cast<size_t>(w) * static_cast<size_t>(h));
  return b;
}

COLORREF SysColor(int index) { return index >= 0 && index < 31 ? kSysColors[index] : 0; }

HGDIOBJ StockDefault(DWORD type) {
  switch (type) {
    case OBJ_PEN:
      return Stocks().objects[BLACK_PEN];
    case OBJ_BRUSH:
      return Stocks().objects[WHITE_BRUSH];
    case OBJ_FONT:
      return Stocks().objects[SYSTEM_FONT];
    case OBJ_BITMAP:
      return Stocks().bitmap;
  }
  return nullptr;
}

uint32_t ApplyRop2(int rop2, uint32_t p, uint32_t d) {
  unsigned code = static_cast<unsigned>(rop2 - 1) & 15;
  uint32_t r = 0;
  if (code & 1) r |= ~p & ~d;
  if (code & 2) r |= ~p & d;
  if (code & 4) r |= p & ~d;
  if (code & 8) r |= p & d;
  return r & 0xFFFFFFu;
}

uint32_t ApplyRop3(DWORD rop, uint32_t p, uint32_t s, uint32_t d) {
  unsigned code = (rop >> 16) & 0xFF;
  switch (code) {
    case 0xCC:
      return s;
    case 0xF0:
      return p;
    case 0x00:
      return 0;
    case 0xFF:
      return 0xFFFFFF;
  }
  uint32_t r = 0;
  for (int i = 0; i < 8; ++i) {
    if (!(code & (1u << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & 0xFFFFFFu;
}

bool InClip(const Target& t, int x, int y) {
  for (const RECT& r : t.clip)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

RECT ClipBounds(const Target& t) {
  RECT b{0, 0, 0, 0};
  bool any = false;
  for (const RECT& r : t.clip) {
    if (!any)
      b = r, any = true;
    else
      b = RECT{std::min(b.left, r.left), std::min(b.top, r.top), std::max(b.right, r.right),
               std::max(b.bottom, r.bottom)};
  }
  return b;
}

uint32_t PaintAt(const Paint& p, int x, int y) {
  if (!p.pattern) return p.solid;
  const Brush* b = p.pattern;
  int px = (x - p.brushOrg.x) % b->pw;
  int py = (y - p.brushOrg.y) % b->ph;
  if (px < 0) px += b->pw;
  if (py < 0) py += b->ph;
  uint32_t v = b->pattern[static_cast<size_t>(py) * b->pw + px];
  if (b->patternMono) return v ? p.patBg : p.patFg;
  return v;
}

void FillSpan(const Target& t, int y, int x0, int x1, const Paint& p, int rop2) {
  if (y < 0 || y >= t.v.height) return;
  uint32_t* row = t.v.row(y);
  for (const RECT& r : t.clip) {
    if (y < r.top || y >= r.bottom) continue;
    int a = std::max(x0, static_cast<int>(r.left)), b = std::min(x1, static_cast<int>(r.right));
    if (a >= b) continue;
    if (!p.pattern && rop2 == R2_COPYPEN) {
      uint32_t c = t.v.mono ? ToMono(p.solid) : p.solid;
      std::fill(row + a, row + b, c);
      continue;
    }
    for (int x = a; x < b; ++x) {
      uint32_t v = ApplyRop2(rop2, PaintAt(p, x, y), row[x]);
      row[x] = t.v.mono ? ToMono(v) : v;
    }
  }
}

void FillRectPx(const Target& t, const RECT& rc, const Paint& p, int rop2) {
  for (const RECT& c : t.clip) {
    RECT r = Intersect(rc, c);
    if (IsEmpty(r)) continue;
    for (int y = r.top; y < r.bottom; ++y) {
      uint32_t* row = t.v.row(y);
      if (!p.pattern && rop2 == R2_COPYPEN) {
        std::fill(row + r.left, row + r.right, t.v.mono ? ToMono(p.solid) : p.solid);
      } else {
        for (int x = r.left; x < r.right; ++x) {
          uint32_t v = ApplyRop2(rop2, PaintAt(p, x, y), row[x]);
          row[x] = t.v.mono ? ToMono(v) : v;
        }
      }
    }
  }
}

void PutPixel(const Target& t, int x, int y, uint32_t px, int rop2) {
  if (!InClip(t, x, y)) return;
  uint32_t& d = t.v.at(x, y);
  uint32_t v = rop2 == R2_COPYPEN ? px : ApplyRop2(rop2, px, d);
  d = t.v.mono ? ToMono(v) : v;
}

namespace {
// Hatch patterns, 8 x 8, 1 = line.
bool HatchBit(int hatch, int x, int y) {
  switch (hatch) {
    case HS_HORIZONTAL:
      return y == 4;
    case HS_VERTICAL:
      return x == 4;
    case HS_FDIAGONAL:
      return x == y;
    case HS_BDIAGONAL:
      return x == 7 - y;
    case HS_CROSS:
      return x == 4 || y == 4;
    case HS_DIAGCROSS:
      return x == y || x == 7 - y;
  }
  return false;
}
}  // namespace

bool BrushPaint(Dc* dc, HBRUSH h, const Target& t, Paint& p) {
  const Brush* b = nullptr;
  uintptr_t raw = reinterpret_cast<uintptr_t>(h);
  if (raw > 0 && raw <= 31) {
    // FillRect and friends take a system colour index + 1 in place of a brush.
    p.solid = ToPixel(SysColor(static_cast<int>(raw) - 1));
    return true;
  }
  b = As<Brush>(h, OBJ_BRUSH);
  if (!b || b->style == BS_NULL) return false;
  p.brushOrg = POINT{dc ? dc->s.brushOrg.x + t.dx : 0, dc ? dc->s.brushOrg.y + t.dy : 0};
  if (b->sysColor == -2) {
    p.solid = ToPixel(dc ? dc->s.dcBrush : 0);
  } else if (b->sysColor >= 0) {
    p.solid = ToPixel(SysColor(b->sysColor));
  } else if (b->style == BS_PATTERN || b->style == BS_HATCHED) {
    p.pattern = b;
    p.patFg = ToPixel(b->style == BS_HATCHED ? b->color : (dc ? dc->s.text : 0));
    p.patBg = ToPixel(dc ? dc->s.bk : 0xFFFFFF);
  } else {
    p.solid = ToPixel(b->color);
  }
  return true;
}

}  // namespace gdi

using namespace gdi;

int PlatformLiveGdiObjects() {
  GDI_LOCK;
  const auto& live = Live();
  return static_cast<int>(std::count_if(live.begin(), live.end(), [](const Object* o) { return !o->stock; }));
}

HGDIOBJ GetStockObject(int index) {
  if (index < 0 || index >= 20 || index == 9 || index == DEFAULT_PALETTE) return nullptr;
  return Stocks().objects[index];
}

COLORREF GetSysColor(int index) { return SysColor(index); }

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= 31) return nullptr;
  return static_cast<HBRUSH>(Stocks().sysBrushes[index]);
}

HPEN CreatePen(int style, int width, COLORREF color) {
  Pen* p = new Pen;
  p->type = OBJ_PEN;
  p->style = static_cast<UINT>(style) & PS_STYLE_MASK;
  if (p->style > PS_INSIDEFRAME) p->style = PS_SOLID;
  p->width = width < 1 ? 1 : width;
  p->color = color & 0xFFFFFF;
  return static_cast<HPEN>(Register(p));
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  if (!lp) return nullptr;
  return CreatePen(static_cast<int>(lp->lopnStyle), lp->lopnWidth.x, lp->lopnColor);
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* lb, DWORD, const DWORD*) {
  if (!lb) return nullptr;
  return CreatePen(static_cast<int>(style & PS_STYLE_MASK), static_cast<int>(width), lb->lbColor);
}

HBRUSH CreateSolidBrush(COLORREF color) {
  Brush* b = new Brush;
  b->type = OBJ_BRUSH;
  b->color = color & 0xFFFFFF;
  return static_cast<HBRUSH>(Register(b));
}

HBRUSH CreateHatchBrush(int hatch, COLORREF color) {
  if (hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return nullptr;
  Brush* b = new Brush;
  b->type = OBJ_BRUSH;
  b->style = BS_HATCHED;
  b->hatch = hatch;
  b->color = color & 0xFFFFFF;
  b->pw = b->ph = 8;
  b->patternMono = true;
  b->pattern.resize(64);
  // In a monochrome pattern 0 takes the foreground (the hatch colour here).
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) b->pattern[y * 8 + x] = HatchBit(hatch, x, y) ? 0 : 1;
  return static_cast<HBRUSH>(Register(b));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  GDI_LOCK;
  Bitmap* bm = As<Bitmap>(bitmap, OBJ_BITMAP);
  if (!bm || bm->width <= 0 || bm->height <= 0) return nullptr;
  Brush* b = new Brush;
  b->type = OBJ_BRUSH;
  b->style = BS_PATTERN;
  b->pw = bm->width;
  b->ph = bm->height;
  b->patternMono = bm->bpp == 1;
  PixelView v = bm->view();
  b->pattern.resize(static_cast<size_t>(b->pw) * b->ph);
  for (int y = 0; y < b->ph; ++y)
    for (int x = 0; x < b->pw; ++x) b->pattern[static_cast<size_t>(y) * b->pw + x] = v.at(x, y) & 0xFFFFFF;
  return static_cast<HBRUSH>(Register(b));
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  if (!lb) return nullptr;
  switch (lb->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(lb->lbColor);
    case BS_NULL:
      return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    case BS_HATCHED:
      return CreateHatchBrush(static_cast<int>(lb->lbHatch), lb->lbColor);
    case BS_PATTERN:
      return CreatePatternBrush(reinterpret_cast<HBITMAP>(lb->lbHatch));
  }
  return nullptr;
}

HFONT CreateFontIndirectA(const LOGFONTA* lf) {
  if (!lf) return nullptr;
  Font* f = new Font;
  f->type = OBJ_FONT;
  f->lf = *lf;
  f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
  return static_cast<HFONT>(Register(f));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR faceName) {
  LOGFONTA lf{};
  lf.lfHeight = height;
  lf.lfWidth = width;
  lf.lfEscapement = escapement;
  lf.lfOrientation = orientation;
  lf.lfWeight = weight;
  lf.lfItalic = static_cast<BYTE>(italic);
  lf.lfUnderline = static_cast<BYTE>(underline);
  lf.lfStrikeOut = static_cast<BYTE>(strikeOut);
  lf.lfCharSet = static_cast<BYTE>(charSet);
  lf.lfOutPrecision = static_cast<BYTE>(outPrecision);
  lf.lfClipPrecision = static_cast<BYTE>(clipPrecision);
  lf.lfQuality = static_cast<BYTE>(quality);
  lf.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
  if (faceName) std::strncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirectA(&lf);
}

namespace {

// Drops one context's hold on an object; frees it once the last hold goes
// after a DeleteObject.
void Release(HGDIOBJ h, Dc* dc) {
  Object* o = Find(h);
  if (!o || o->stock) return;
  if (o->selected > 0) --o->selected;
  if (o->type == OBJ_BITMAP && static_cast<Bitmap*>(o)->selectedIn == dc) static_cast<Bitmap*>(o)->selectedIn = nullptr;
  if (o->selected == 0 && o->deletePending) Destroy(o);
}

void Hold(HGDIOBJ h, Dc* dc) {
  Object* o = Find(h);
  if (!o || o->stock) return;
  ++o->selected;
  if (o->type == OBJ_BITMAP) static_cast<Bitmap*>(o)->selectedIn = dc;
}

}  // namespace

namespace gdi {
// Used by RestoreDC and DeleteDC: puts `h` in the slot of its type.
HGDIOBJ SelectInto(Dc* dc, HGDIOBJ h) {
  Object* o = Find(h);
  if (!o) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (o->type) {
    case OBJ_PEN:
      slot = &dc->s.pen;
      break;
    case OBJ_BRUSH:
      slot = &dc->s.brush;
      break;
    case OBJ_FONT:
      slot = &dc->s.font;
      break;
    case OBJ_BITMAP: {
      if (!dc->memory) return nullptr;
      Bitmap* bm = static_cast<Bitmap*>(o);
      // A bitmap lives in one context at a time.
      if (!bm->stock && bm->selectedIn && bm->selectedIn != dc) return nullptr;
      slot = &dc->s.bitmap;
      ++dc->generation;
      break;
    }
    default:
      return nullptr;
  }
  HGDIOBJ old = *slot;
  if (old == h) return old;
  Hold(h, dc);
  *slot = h;
  Release(old, dc);
  return old;
}

void ReleaseAll(Dc* dc) {
  HGDIOBJ held[4] = {dc->s.pen, dc->s.brush, dc->s.font, dc->s.bitmap};
  dc->s.pen = dc->s.brush = dc->s.font = dc->s.bitmap = nullptr;
  for (HGDIOBJ h : held) Release(h, dc);
}
}  // namespace gdi

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ obj) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  Object* o = Find(obj);
  if (!dc || !o) return nullptr;
  if (o->type == OBJ_REGION) {
    int r = SelectClipRgn(hdc, static_cast<HRGN>(obj));
    return reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(r));
  }
  return SelectInto(dc, obj);
}

BOOL DeleteObject(HGDIOBJ obj) {
  GDI_LOCK;
  Object* o = Find(obj);
  if (!o) return FALSE;
  if (o->stock) return TRUE;
  if (o->type == OBJ_DC || o->type == OBJ_MEMDC || o->type == kTypeIcon || o->type == kTypeImageList) return FALSE;
  if (o->selected > 0) {
    o->deletePending = true;
    return TRUE;
  }
  Destroy(o);
  return TRUE;
}

DWORD GetObjectType(HGDIOBJ obj) {
  GDI_LOCK;
  Object* o = Find(obj);
  if (!o || o->type == kTypeIcon || o->type == kTypeImageList) return 0;
  return o->type;
}

int GetObjectA(HGDIOBJ obj, int size, LPVOID out) {
  GDI_LOCK;
  Object* o = Find(obj);
  if (!o || size < 0) return 0;
  auto give = [&](const void* data, int full) {
    if (!out) return full;
    int n = std::min(size, full);
    std::memcpy(out, data, static_cast<size_t>(n));
    return n;
  };
  switch (o->type) {
    case OBJ_PEN: {
      const Pen* p = static_cast<const Pen*>(o);
      LOGPEN lp{p->style, POINT{p->width < 1 ? 1 : p->width, 0}, p->color};
      return give(&lp, sizeof lp);
    }
    case OBJ_BRUSH: {
      const Brush* b = static_cast<const Brush*>(o);
      LOGBRUSH lb{b->style, b->sysColor >= 0 ? SysColor(b->sysColor) : b->color, static_cast<ULONG_PTR>(b->hatch)};
      return give(&lb, sizeof lb);
    }
    case OBJ_FONT:
      return give(&static_cast<const Font*>(o)->lf, sizeof(LOGFONTA));
    case OBJ_BITMAP: {
      Bitmap* b = static_cast<Bitmap*>(o);
      DIBSECTION ds{};
      ds.dsBm.bmWidth = b->width;
      ds.dsBm.bmHeight = b->height;
      ds.dsBm.bmPlanes = 1;
      ds.dsBm.bmBitsPixel = static_cast<WORD>(b->bpp);
      ds.dsBm.bmWidthBytes = b->bpp == 1 ? ((b->width + 15) / 16) * 2 : b->width * 4;
      ds.dsBm.bmBits = b->dib ? b->pixels.data() : nullptr;
      if (b->dib && size >= static_cast<int>(sizeof(DIBSECTION))) {
        ds.dsBmih.biSize = sizeof(BITMAPINFOHEADER);
        ds.dsBmih.biWidth = b->width;
        ds.dsBmih.biHeight = b->bottomUp ? b->height : -b->height;
        ds.dsBmih.biPlanes = 1;
        ds.dsBmih.biBitCount = 32;
        ds.dsBmih.biSizeImage = static_cast<DWORD>(b->width * 4 * b->height);
        return give(&ds, sizeof ds);
      }
      return give(&ds.dsBm, sizeof(BITMAP));
    }
  }
  return 0;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN:
      return dc->s.pen;
    case OBJ_BRUSH:
      return dc->s.brush;
    case OBJ_FONT:
      return dc->s.font;
    case OBJ_BITMAP:
      return dc->s.bitmap;
  }
  return nullptr;
}

COLORREF SetDCBrushColor(HDC hdc, COLORREF color) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->s.dcBrush;
  dc->s.dcBrush = color & 0xFFFFFF;
  return old;
}

COLORREF SetDCPenColor(HDC hdc, COLORREF color) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return CLR_INVALID;
  COLORREF old = dc->s.dcPen;
  dc->s.dcPen = color & 0xFFFFFF;
  return old;
}
