// What the GDI sources share: the object records behind the handles, regions
// as rectangle bands, pixel views and the clipped drawing target of a context.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "Gdi.h"
#include "Surface.h"

class ByteCursor;

namespace gdi {

// COLORREF is 0x00BBGGRR, a pixel 0x00RRGGBB: the same swap both ways.
inline uint32_t ToPixel(COLORREF c) { return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu); }
inline COLORREF ToColor(uint32_t p) { return ToPixel(p); }
// Nearest of black and white, for monochrome bitmaps.
inline uint32_t ToMono(uint32_t p) {
  unsigned lum = ((p >> 16) & 0xFF) * 30 + ((p >> 8) & 0xFF) * 59 + (p & 0xFF) * 11;
  return lum >= 128 * 100 ? 0xFFFFFFu : 0u;
}

inline RECT MakeRect(int l, int t, int r, int b) { return RECT{l, t, r, b}; }
inline bool IsEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }
inline RECT Intersect(const RECT& a, const RECT& b) {
  RECT r{a.left > b.left ? a.left : b.left, a.top > b.top ? a.top : b.top, a.right < b.right ? a.right : b.right,
         a.bottom < b.bottom ? a.bottom : b.bottom};
  if (IsEmpty(r)) r = RECT{0, 0, 0, 0};
  return r;
}
inline RECT Normalized(int l, int t, int r, int b) {
  if (l > r) std::swap(l, r);
  if (t > b) std::swap(t, b);
  return RECT{l, t, r, b};
}

// A region: rectangles that do not overlap, sorted in bands by top then left;
// rectangles of one band share top and bottom.
class RectSet {
 public:
  std::vector<RECT> rects;

  static RectSet FromRect(const RECT& r);
  // Any rectangles, overlapping or not, in any order.
  static RectSet FromRects(std::vector<RECT> rects);
  // One horizontal run [x0, x1) per row, starting at row `top`.
  static RectSet FromRows(int top, const std::vector<std::pair<int, int>>& rows);
  static RectSet Combine(const RectSet& a, const RectSet& b, int mode);

  bool empty() const { return rects.empty(); }
  RECT bounds() const;
  int complexity() const { return rects.empty() ? NULLREGION : rects.size() == 1 ? SIMPLEREGION : COMPLEXREGION; }
  void offset(int dx, int dy);
  bool contains(int x, int y) const;
  bool intersects(const RECT& r) const;
  bool operator==(const RectSet& o) const;
};

// Row-addressed pixels; a bottom-up DIB runs with a negative stride.
struct PixelView {
  uint32_t* row0 = nullptr;
  ptrdiff_t stride = 0;
  int width = 0;
  int height = 0;
  bool mono = false;
  uint32_t* row(int y) const { return row0 + y * stride; }
  uint32_t& at(int x, int y) const { return row0[y * stride + x]; }
};

enum : DWORD { kTypeIcon = 100, kTypeImageList = 101 };

struct Object {
  DWORD type = 0;
  bool stock = false;
  int selected = 0;            // contexts that have it selected
  bool deletePending = false;  // DeleteObject while selected: freed at deselection
  virtual ~Object() = default;
};

struct Pen : Object {
  UINT style = PS_SOLID;
  int width = 1;
  COLORREF color = 0;
};

struct Bitmap;
struct Brush : Object {
  UINT style = BS_SOLID;
  COLORREF color = 0;
  int hatch = 0;
  int sysColor = -1;  // system-colour brushes follow GetSysColor
  int pw = 0, ph = 0;
  bool patternMono = false;
  std::vector<uint32_t> pattern;  // pixels of a pattern brush, copied at creation
};

struct Font : Object {
  LOGFONTA lf{};
};

struct Dc;
struct Bitmap : Object {
  int width = 0;
  int height = 0;
  int bpp = 32;  // reported depth: 1 for monochrome bitmaps, else 32
  bool dib = false;
  bool bottomUp = false;
  Dc* selectedIn = nullptr;
  PixelBuffer pixels;  // DIB layout for DIB sections, else top-down
  PixelView view() {
    PixelView v;
    v.width = width;
    v.height = height;
    v.mono = bpp == 1;
    if (pixels.empty()) return v;
    if (bottomUp) {
      v.row0 = pixels.data() + static_cast<ptrdiff_t>(height - 1) * width;
      v.stride = -static_cast<ptrdiff_t>(width);
    } else {
      v.row0 = pixels.data();
      v.stride = width;
    }
    return v;
  }
};

struct Region : Object {
  RectSet set;
};

struct Icon : Object {
  BOOL isIcon = TRUE;
  DWORD hotX = 0, hotY = 0;
  int width = 0, height = 0;
  std::vector<uint32_t> color;  // top-down
  std::vector<uint8_t> mask;    // 1 = transparent (screen shows through)
};

struct DcState {
  HGDIOBJ pen = nullptr;
  HGDIOBJ brush = nullptr;
  HGDIOBJ font = nullptr;
  HGDIOBJ bitmap = nullptr;
  COLORREF text = 0;
  COLORREF bk = 0xFFFFFF;
  int bkMode = OPAQUE;
  int rop2 = R2_COPYPEN;
  int stretchMode = BLACKONWHITE;
  UINT textAlign = 0;
  int polyFill = ALTERNATE;
  int charExtra = 0;
  int mapMode = MM_TEXT;
  POINT winOrg{0, 0};
  POINT vpOrg{0, 0};
  POINT brushOrg{0, 0};
  POINT cur{0, 0};
  COLORREF dcBrush = 0xFFFFFF;
  COLORREF dcPen = 0;
  bool hasClip = false;
  RectSet clip;  // device coordinates
};

// Where a drawing call lands: the pixels and the clip, in surface
// coordinates, and the shift from logical to surface coordinates.
// The clip rectangles of a target: the context's cached list, or a list of
// its own when narrowed further.
class ClipList {
 public:
  ClipList& operator=(const std::vector<RECT>& shared) {
    shared_ = &shared;
    return *this;
  }
  void swap(std::vector<RECT>& own) {
    own_.swap(own);
    shared_ = nullptr;
  }
  const std::vector<RECT>& get() const { return shared_ ? *shared_ : own_; }
  std::vector<RECT>::const_iterator begin() const { return get().begin(); }
  std::vector<RECT>::const_iterator end() const { return get().end(); }
  size_t size() const { return get().size(); }
  bool empty() const { return get().empty(); }
  const RECT& front() const { return get().front(); }

 private:
  const std::vector<RECT>* shared_ = nullptr;
  std::vector<RECT> own_;
};

struct Target {
  PixelView v;
  ClipList clip;
  int dx = 0;
  int dy = 0;
  bool ok() const { return v.row0 != nullptr && !clip.empty(); }
};

struct Dc : Object {
  bool memory = false;
  PlatformSurface* surface = nullptr;
  HWND hwnd = nullptr;
  POINT origin{0, 0};
  RECT clipRect{0, 0, 0, 0};
  bool hasSysRgn = false;
  RectSet sysRgn;  // surface coordinates
  DcState s;
  std::vector<DcState> saved;
  unsigned generation = 0;  // bumped on every change of the clip or the pixels' owner

  Bitmap* bitmap() const;
  // The drawing target, with an extra clip rectangle in logical coordinates.
  bool target(Target& t, const RECT* extraClip = nullptr);
  RECT visibleBox() const;  // device coordinates of what can be drawn

 private:
  std::vector<RECT> cache_;
  unsigned cacheGen_ = ~0u;
  int cacheW_ = -1, cacheH_ = -1;
  const void* cacheOwner_ = nullptr;
};

// Handle table: every handle given out is checked before use. One recursive
// lock serialises GDI calls; worker threads rarely draw.
std::recursive_mutex& Lock();
#define GDI_LOCK std::lock_guard<std::recursive_mutex> gdi_lock_(::gdi::Lock())
HGDIOBJ Register(Object* o);
Object* Find(HGDIOBJ h);
template <class T>
T* As(HGDIOBJ h, DWORD type) {
  Object* o = Find(h);
  return o && o->type == type ? static_cast<T*>(o) : nullptr;
}
Dc* AsDc(HDC h);
void Destroy(Object* o);  // unregisters and frees
// Told of every handle that goes away, so that the class layer can drop the
// wrappers it made for it.
extern void (*g_destroyHook)(void* handle);
Bitmap* NewBitmap(int w, int h, int bpp);
HGDIOBJ SelectInto(Dc* dc, HGDIOBJ h);
// Points of a context's state: origins and the current position.
BOOL SetPoint(HDC hdc, POINT DcState::*member, int x, int y, bool relative, LPPOINT old);
BOOL GetPoint(HDC hdc, POINT DcState::*member, LPPOINT out);  // selection with the holds counted
void ReleaseAll(Dc* dc);

// Brushes and pens as colours for the drawing helpers.
struct Paint {
  uint32_t solid = 0;
  const Brush* pattern = nullptr;  // pattern/hatch brushes
  POINT brushOrg{0, 0};            // surface coordinates
  uint32_t patFg = 0, patBg = 0;   // for monochrome patterns and hatches
  bool hatchTransparent = false;
};
bool BrushPaint(Dc* dc, HBRUSH h, const Target& t, Paint& p);  // false for the null brush
uint32_t PaintAt(const Paint& p, int x, int y);

// Primitive writers in surface coordinates, clipped to the target.
void FillSpan(const Target& t, int y, int x0, int x1, const Paint& p, int rop2);
void FillRectPx(const Target& t, const RECT& r, const Paint& p, int rop2);
void PutPixel(const Target& t, int x, int y, uint32_t px, int rop2);
uint32_t ApplyRop2(int rop2, uint32_t pen, uint32_t dst);
uint32_t ApplyRop3(DWORD rop, uint32_t pat, uint32_t src, uint32_t dst);
bool InClip(const Target& t, int x, int y);
RECT ClipBounds(const Target& t);  // the box around the clip, surface coordinates

COLORREF SysColor(int index);
HGDIOBJ StockDefault(DWORD type);

// Shapes as rows of runs.
std::vector<std::pair<int, int>> ShapeRows(int l, int t, int r, int b, int ew, int eh, int& first, int y0, int y1);
RectSet PolygonSet(const POINT* pts, int count, int fillMode);
void PolygonSpans(const POINT* pts, int count, int fillMode, int yLo, int yHi,
                  const std::function<void(int, int, int)>& emit);

// DIB formats, read through a bounded cursor (files and callers' memory).
struct DibFormat {
  int width = 0;
  int height = 0;  // rows, always positive
  bool topDown = false;
  int bpp = 0;
  DWORD compression = BI_RGB;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<uint32_t> palette;  // pixels
};
bool ReadDibInfo(ByteCursor& c, DibFormat& f);
size_t DibStride(const DibFormat& f);
// Reads `rows` rows in stored order into pixels (row k of the output is the
// k-th stored row).
bool ReadDibPixels(ByteCursor& c, const DibFormat& f, int rows, PixelBuffer& out);
size_t DibInfoSize(const BITMAPINFO* info);  // header, masks and palette of a caller's info

}  // namespace gdi

// A test seam: the GDI objects made and not yet deleted (contexts, bitmaps,
// pens, brushes, fonts, regions, icons, image lists); stock objects never count.
PLATFORM_API int PlatformLiveGdiObjects();
