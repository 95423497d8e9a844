// Block transfers: BitBlt, StretchBlt in every stretch mode, TransparentBlt,
// PatBlt, and the bitmap calls (creation, DIB sections, DIB bits).
#include <algorithm>
#include <cstring>

#include "ByteCursor.h"
#include "GdiInternal.h"

namespace gdi {

namespace {

bool UsesSource(DWORD rop) { return (((rop >> 2) ^ rop) & 0x330000u) != 0; }
bool UsesPattern(DWORD rop) { return (((rop >> 4) ^ rop) & 0x0F0000u) != 0; }

// How source pixels become destination colours: between monochrome and
// colour the text and background colours decide, as in Windows.
struct Convert {
  int kind = 0;  // 0 none, 1 mono to colour, 2 colour to mono
  uint32_t fg = 0, bg = 0, srcBk = 0;
  uint32_t operator()(uint32_t p) const {
    p &= 0xFFFFFF;
    if (kind == 1) return p ? bg : fg;
    if (kind == 2) return p == srcBk ? 0xFFFFFF : 0;
    return p;
  }
};

Convert MakeConvert(Dc* dest, const PixelView& dv, Dc* src, const PixelView& sv) {
  Convert c;
  if (sv.mono && !dv.mono) {
    c.kind = 1;
    c.fg = ToPixel(dest->s.text);
    c.bg = ToPixel(dest->s.bk);
  } else if (!sv.mono && dv.mono) {
    c.kind = 2;
    c.srcBk = ToPixel(src->s.bk);
  }
  return c;
}

// Per destination column (or row): the source pixels that feed it and their
// weights (16.16 fixed point, summing to 65536).
struct Taps {
  std::vector<int> start;  // index into idx/weight
  std::vector<int> idx;
  std::vector<int> weight;
};

// Maps destination indices [0, n) onto source indices [0, ns); `flip`
// mirrors. Modes: COLORONCOLOR nearest; HALFTONE area average; the two
// others keep every source pixel that folds onto a destination pixel (the
// caller ANDs or ORs them).
// Only destination indices [from, to) are made (entry k is index from + k),
// and only source indices in [validLo, validHi) are listed where several fold
// together, so enormous rectangles cost what shows.
Taps MakeTaps(int n, int ns, bool flip, int mode, int from, int to, int validLo, int validHi) {
  Taps t;
  t.start.reserve(static_cast<size_t>(to - from) + 1);
  // The valid range before mirroring.
  int64_t kLo = flip ? int64_t(ns) - validHi : validLo;
  int64_t kHi = flip ? int64_t(ns) - validLo : validHi;
  auto add = [&](int64_t k, int weight) {
    t.idx.push_back(static_cast<int>(flip ? ns - 1 - k : k));
    t.weight.push_back(weight);
  };
  for (int i = from; i < to; ++i) {
    t.start.push_back(static_cast<int>(t.idx.size()));
    if (mode == HALFTONE) {
      double a = double(i) * ns / n, b = double(i + 1) * ns / n;
      int64_t first = std::max<int64_t>(kLo, static_cast<int64_t>(a));
      int64_t last = std::min<int64_t>({int64_t(ns) - 1, kHi - 1, static_cast<int64_t>(b - 1e-9)});
      for (int64_t k = first; k <= last; ++k) {
        double lo = std::max(a, double(k)), hi = std::min(b, double(k + 1));
        add(k, std::max(1, static_cast<int>((hi - lo) / (b - a) * 65536.0 + 0.5)));
      }
    } else if (mode == COLORONCOLOR || ns <= n) {
      add((int64_t(2) * i + 1) * ns / (int64_t(2) * n), 65536);
    } else {
      int64_t first = int64_t(i) * ns / n, last = int64_t(i + 1) * ns / n;
      if (last <= first) last = first + 1;
      for (int64_t k = std::max(first, kLo); k < std::min(last, kHi); ++k) add(k, 65536);
    }
  }
  t.start.push_back(static_cast<int>(t.idx.size()));
  return t;
}

// Source pixels folding onto one destination pixel: their weighted average
// (HALFTONE) or their AND or OR.
struct Mix {
  uint64_t acc[3] = {0, 0, 0};
  uint64_t weights = 0;
  uint32_t andv = 0xFFFFFF, orv = 0;
  bool used = false;
  void Add(uint32_t p, uint64_t w) {
    acc[0] += ((p >> 16) & 0xFF) * w;
    acc[1] += ((p >> 8) & 0xFF) * w;
    acc[2] += (p & 0xFF) * w;
    weights += w;
    andv &= p, orv |= p, used = true;
  }
  uint32_t Result(int mode) const {
    if (mode == WHITEONBLACK) return orv;
    if (mode != HALFTONE) return andv;
    uint64_t w = weights ? weights : 1;
    auto ch = [&](int c) { return std::min<uint64_t>(255, (acc[c] + w / 2) / w); };
    return uint32_t(ch(0) << 16 | ch(1) << 8 | ch(2));
  }
};

struct SourceView {
  PixelView v;
  std::vector<uint32_t> copy;  // when source and destination share pixels
};

BOOL Transfer(Dc* dest, int x, int y, int w, int h, Dc* src, int xs, int ys, int ws, int hs, DWORD rop, bool keyed,
              COLORREF key) {
  Target t;
  if (!dest->target(t)) return TRUE;
  bool needSrc = keyed || UsesSource(rop);
  bool needPat = !keyed && UsesPattern(rop);
  bool flipX = false, flipY = false;
  // A negative extent runs from x back to x + w + 1, mirroring.
  if (w < 0) x += w + 1, w = -w, flipX = !flipX;
  if (h < 0) y += h + 1, h = -h, flipY = !flipY;
  if (w == 0 || h == 0) return TRUE;
  Paint pat;
  if (needPat && !BrushPaint(dest, static_cast<HBRUSH>(dest->s.brush), t, pat)) pat.solid = 0;

  int X0 = x + t.dx, Y0 = y + t.dy;
  if (!needSrc) {
    for (const RECT& c : t.clip) {
      RECT r = Intersect(c, RECT{X0, Y0, X0 + w, Y0 + h});
      for (int Y = r.top; Y < r.bottom; ++Y) {
        uint32_t* d = t.v.row(Y);
        for (int X = r.left; X < r.right; ++X) {
          uint32_t v = ApplyRop3(rop, PaintAt(pat, X, Y), 0, d[X]);
          d[X] = t.v.mono ? ToMono(v) : v;
        }
      }
    }
    return TRUE;
  }

  if (!src) return FALSE;
  Target st;
  if (!src->target(st)) return TRUE;
  if (ws < 0) xs += ws + 1, ws = -ws, flipX = !flipX;
  if (hs < 0) ys += hs + 1, hs = -hs, flipY = !flipY;
  if (ws == 0 || hs == 0) return TRUE;
  int SX = xs + st.dx, SY = ys + st.dy;  // source rectangle in the source's pixels

  SourceView sv;
  sv.v = st.v;
  if (st.v.row0 == t.v.row0) {
    // Overlapping copies within one surface read the pixels as they were.
    sv.copy.resize(static_cast<size_t>(st.v.width) * static_cast<size_t>(st.v.height));
    for (int y = 0; y < st.v.height; ++y)
      std::memcpy(sv.copy.data() + static_cast<size_t>(y) * st.v.width, st.v.row(y),
                  static_cast<size_t>(st.v.width) * sizeof(uint32_t));
    sv.v.row0 = sv.copy.data();
    sv.v.stride = st.v.width;
  }
  Convert conv = MakeConvert(dest, t.v, src, sv.v);
  uint32_t keyPx = ToPixel(key);
  // Writes source pixel s at (X, Y): keyed copies skip the key colour,
  // others combine through the raster operation.
  auto put = [&](uint32_t* d, int X, int Y, uint32_t s) {
    if (keyed) {
      if (s == keyPx) return;
    } else {
      s = ApplyRop3(rop, PaintAt(pat, X, Y), s, d[X]);
    }
    d[X] = t.v.mono ? ToMono(s) : s;
  };

  if (ws == w && hs == h && !flipX && !flipY) {
    // Same size: row by row, limited to where the source has pixels.
    RECT dr =
        Intersect(RECT{X0, Y0, X0 + w, Y0 + h}, RECT{X0 - SX, Y0 - SY, X0 - SX + sv.v.width, Y0 - SY + sv.v.height});
    bool copy = !keyed && rop == SRCCOPY && conv.kind == 0 && !t.v.mono;
    for (const RECT& c : t.clip) {
      RECT r = Intersect(c, dr);
      if (IsEmpty(r)) continue;
      for (int Y = r.top; Y < r.bottom; ++Y) {
        uint32_t* d = t.v.row(Y);
        const uint32_t* srow = sv.v.row(Y - Y0 + SY) + (SX - X0);
        if (copy) {
          std::memcpy(d + r.left, srow + r.left, static_cast<size_t>(r.right - r.left) * sizeof(uint32_t));
          continue;
        }
        for (int X = r.left; X < r.right; ++X) put(d, X, Y, conv(srow[X]));
      }
    }
    return TRUE;
  }

  int mode = (ws == w && hs == h) ? COLORONCOLOR : (keyed ? COLORONCOLOR : dest->s.stretchMode);
  // Taps only for the columns and rows that can show.
  RECT vis = Intersect(ClipBounds(t), RECT{X0, Y0, X0 + w, Y0 + h});
  if (IsEmpty(vis)) return TRUE;
  int sxLo = static_cast<int>(std::max<int64_t>(0, -int64_t(SX)));
  int sxHi = static_cast<int>(std::min<int64_t>(ws, int64_t(sv.v.width) - SX));
  int syLo = static_cast<int>(std::max<int64_t>(0, -int64_t(SY)));
  int syHi = static_cast<int>(std::min<int64_t>(hs, int64_t(sv.v.height) - SY));
  if (sxLo >= sxHi || syLo >= syHi) return TRUE;  // nothing of the source exists
  Taps tx = MakeTaps(w, ws, flipX, mode, vis.left - X0, vis.right - X0, sxLo, sxHi);
  Taps ty = MakeTaps(h, hs, flipY, mode, vis.top - Y0, vis.bottom - Y0, syLo, syHi);
  bool srccopy = !keyed && rop == SRCCOPY && conv.kind == 0;

  for (const RECT& c : t.clip) {
    RECT r = Intersect(c, RECT{X0, Y0, X0 + w, Y0 + h});
    for (int Y = r.top; Y < r.bottom; ++Y) {
      int j = Y - vis.top;
      uint32_t* d = t.v.row(Y);
      int j0 = ty.start[j], j1 = ty.start[j + 1];
      if (j1 - j0 == 1) {
        int sy = SY + ty.idx[j0];
        if (sy < 0 || sy >= sv.v.height) continue;
        const uint32_t* srow = sv.v.row(sy);
        for (int X = r.left; X < r.right; ++X) {
          int i = X - vis.left;
          int i0 = tx.start[i], i1 = tx.start[i + 1];
          uint32_t s;
          if (i1 - i0 == 1) {
            int sx = SX + tx.idx[i0];
            if (sx < 0 || sx >= sv.v.width) continue;
            s = srow[sx];
            if (srccopy) {
              d[X] = t.v.mono ? ToMono(s) : (s & 0xFFFFFF);
              continue;
            }
          } else {
            // Several source columns fold onto this pixel.
            Mix mix;
            for (int k = i0; k < i1; ++k) {
              int sx = SX + tx.idx[k];
              if (sx < 0 || sx >= sv.v.width) continue;
              mix.Add(conv(srow[sx]), tx.weight[k]);
            }
            if (mix.used) put(d, X, Y, mix.Result(mode));
            continue;
          }
          put(d, X, Y, conv(s));
        }
      } else {
        // Several source rows fold onto this destination row.
        for (int X = r.left; X < r.right; ++X) {
          int i = X - vis.left;
          Mix mix;
          for (int jj = j0; jj < j1; ++jj) {
            int sy = SY + ty.idx[jj];
            if (sy < 0 || sy >= sv.v.height) continue;
            const uint32_t* srow = sv.v.row(sy);
            for (int k = tx.start[i]; k < tx.start[i + 1]; ++k) {
              int sx = SX + tx.idx[k];
              if (sx < 0 || sx >= sv.v.width) continue;
              mix.Add(conv(srow[sx]), uint64_t(tx.weight[k]) * ty.weight[jj] >> 16);
            }
          }
          if (mix.used) put(d, X, Y, mix.Result(mode));
        }
      }
    }
  }
  return TRUE;
}

}  // namespace

}  // namespace gdi

using namespace gdi;

BOOL BitBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, DWORD rop) {
  GDI_LOCK;
  Dc* d = AsDc(dest);
  if (!d) return FALSE;
  Dc* s = AsDc(src);
  if (UsesSource(rop) && !s) return FALSE;
  return Transfer(d, x, y, w, h, s, xSrc, ySrc, w, h, rop, false, 0);
}

BOOL StretchBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc, DWORD rop) {
  GDI_LOCK;
  Dc* d = AsDc(dest);
  if (!d) return FALSE;
  Dc* s = AsDc(src);
  if (UsesSource(rop) && !s) return FALSE;
  return Transfer(d, x, y, w, h, s, xSrc, ySrc, wSrc, hSrc, rop, false, 0);
}

BOOL TransparentBlt(HDC dest, int x, int y, int w, int h, HDC src, int xSrc, int ySrc, int wSrc, int hSrc,
                    UINT transparent) {
  GDI_LOCK;
  Dc* d = AsDc(dest);
  Dc* s = AsDc(src);
  if (!d || !s || w < 0 || h < 0 || wSrc < 0 || hSrc < 0) return FALSE;
  return Transfer(d, x, y, w, h, s, xSrc, ySrc, wSrc, hSrc, SRCCOPY, true, transparent & 0xFFFFFF);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  GDI_LOCK;
  Dc* d = AsDc(hdc);
  if (!d || UsesSource(rop)) return FALSE;
  RECT r = Normalized(x, y, x + w, y + h);
  return Transfer(d, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr, 0, 0, 0, 0, rop, false, 0);
}

// ---------------------------------------------------------------- bitmaps

namespace {

const int64_t kMaxPixels = int64_t(1) << 26;

bool SizeOk(int w, int h) { return w > 0 && h > 0 && int64_t(w) * h <= kMaxPixels; }

}  // namespace

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits) {
  if (width == 0 || height == 0) return static_cast<HBITMAP>(Register(NewBitmap(1, 1, 1)));
  if (!SizeOk(width, height) || planes != 1) return nullptr;
  if (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32) return nullptr;
  Bitmap* b = NewBitmap(width, height, static_cast<int>(bitsPerPixel));
  if (bits) {
    // Device-dependent rows are padded to 16 bits.
    size_t stride = ((static_cast<size_t>(width) * bitsPerPixel + 15) / 16) * 2;
    const uint8_t* p = static_cast<const uint8_t*>(bits);
    for (int y = 0; y < height; ++y) {
      const uint8_t* row = p + stride * static_cast<size_t>(y);
      for (int x = 0; x < width; ++x) {
        uint32_t v;
        if (bitsPerPixel == 1)
          v = (row[x / 8] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0;
        else if (bitsPerPixel == 24)
          v = uint32_t(row[x * 3]) | uint32_t(row[x * 3 + 1]) << 8 | uint32_t(row[x * 3 + 2]) << 16;
        else
          v = (uint32_t(row[x * 4]) | uint32_t(row[x * 4 + 1]) << 8 | uint32_t(row[x * 4 + 2]) << 16);
        b->pixels[static_cast<size_t>(y) * width + x] = v;
      }
    }
  }
  return static_cast<HBITMAP>(Register(b));
}

HBITMAP CreateBitmapIndirect(const BITMAP* bm) {
  if (!bm) return nullptr;
  return CreateBitmap(bm->bmWidth, bm->bmHeight, bm->bmPlanes, bm->bmBitsPixel, bm->bmBits);
}

HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return nullptr;
  if (width == 0 || height == 0) return static_cast<HBITMAP>(Register(NewBitmap(1, 1, 1)));
  if (!SizeOk(width, height)) return nullptr;
  // Compatible with a memory context means the format of its bitmap: the
  // 1 x 1 default makes monochrome bitmaps, as on Windows.
  Bitmap* cur = dc->bitmap();
  int bpp = dc->memory && cur && cur->bpp == 1 ? 1 : 32;
  return static_cast<HBITMAP>(Register(NewBitmap(width, height, bpp)));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT, void** bits, HANDLE, DWORD) {
  if (bits) *bits = nullptr;
  if (!info) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize < sizeof(BITMAPINFOHEADER) || h.biPlanes != 1 || h.biBitCount != 32) return nullptr;
  if (h.biCompression != BI_RGB && h.biCompression != BI_BITFIELDS) return nullptr;
  int64_t height = h.biHeight;
  bool bottomUp = height > 0;
  if (height < 0) height = -height;
  if (!SizeOk(h.biWidth, static_cast<int>(std::min<int64_t>(height, INT32_MAX)))) return nullptr;
  GDI_LOCK;
  Bitmap* b = NewBitmap(h.biWidth, static_cast<int>(height), 32);
  b->dib = true;
  b->bottomUp = bottomUp;
  if (bits) *bits = b->pixels.data();
  return static_cast<HBITMAP>(Register(b));
}

int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO info, UINT) {
  GDI_LOCK;
  Bitmap* b = As<Bitmap>(bitmap, OBJ_BITMAP);
  if (!AsDc(hdc) || !b || !info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  if (!bits) {
    // Describe the bitmap.
    if (h.biBitCount == 0) {
      h.biWidth = b->width;
      h.biHeight = b->height;
      h.biPlanes = 1;
      h.biBitCount = static_cast<WORD>(b->bpp);
      h.biCompression = BI_RGB;
      h.biSizeImage = static_cast<DWORD>(((b->width * b->bpp + 31) / 32) * 4 * b->height);
      return 1;
    }
    return b->height;
  }
  if (h.biBitCount != 32 && h.biBitCount != 24) return 0;
  if (h.biWidth != b->width) return 0;
  bool topDown = h.biHeight < 0;
  int rows = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(b->height)));
  if (start >= static_cast<UINT>(b->height)) return 0;
  rows = std::min(rows, b->height - static_cast<int>(start));
  size_t stride = ((static_cast<size_t>(b->width) * h.biBitCount + 31) / 32) * 4;
  PixelView v = b->view();
  uint8_t* out = static_cast<uint8_t*>(bits);
  for (int k = 0; k < rows; ++k) {
    int scan = static_cast<int>(start) + k;         // scan lines count from the DIB's first row
    int y = topDown ? scan : b->height - 1 - scan;  // bitmap row
    uint8_t* row = out + stride * static_cast<size_t>(k);
    for (int x = 0; x < b->width; ++x) {
      uint32_t p = v.at(x, y);
      uint8_t* q = row + x * (h.biBitCount / 8);
      q[0] = p & 0xFF, q[1] = (p >> 8) & 0xFF, q[2] = (p >> 16) & 0xFF;
      if (h.biBitCount == 32) q[3] = 0;
    }
  }
  return rows;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
  GDI_LOCK;
  Bitmap* b = As<Bitmap>(bitmap, OBJ_BITMAP);
  if (!b || !bits || !info) return 0;
  DibFormat f;
  size_t infoSize = DibInfoSize(info);
  ByteCursor ic(info, infoSize);
  if (!infoSize || !ReadDibInfo(ic, f) || f.width != b->width) return 0;
  if (start >= static_cast<UINT>(f.height)) return 0;
  int rows = static_cast<int>(std::min<UINT>(lines, static_cast<UINT>(f.height) - start));
  ByteCursor pc(bits, DibStride(f) * static_cast<size_t>(rows));
  PixelBuffer px;
  if (!ReadDibPixels(pc, f, rows, px)) return 0;
  PixelView v = b->view();
  for (int k = 0; k < rows; ++k) {
    int scan = static_cast<int>(start) + k;
    int y = f.topDown ? scan : f.height - 1 - scan;
    if (y < 0 || y >= b->height) continue;
    for (int x = 0; x < b->width; ++x) {
      uint32_t p = px[static_cast<size_t>(k) * f.width + x];
      v.at(x, y) = v.mono ? ToMono(p) : p;
    }
  }
  return rows;
}

HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header) return nullptr;
  int h = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  HBITMAP bm = CreateBitmap(header->biWidth, h, 1, 32, nullptr);
  if (bm && (init & CBM_INIT) && bits && info) SetDIBits(hdc, bm, 0, static_cast<UINT>(h), bits, info, usage);
  return bm;
}

int StretchDIBits(HDC hdc, int xDest, int yDest, int wDest, int hDest, int xSrc, int ySrc, int wSrc, int hSrc,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  if (!info || !bits) return 0;
  int h = info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight : info->bmiHeader.biHeight;
  HBITMAP bm = CreateBitmap(info->bmiHeader.biWidth, h, 1, 32, nullptr);
  if (!bm) return 0;
  int rows = SetDIBits(hdc, bm, 0, static_cast<UINT>(h), bits, info, usage);
  HDC mem = CreateCompatibleDC(hdc);
  HGDIOBJ old = SelectObject(mem, bm);
  // DIB source coordinates count from the bottom for bottom-up images.
  int sy = info->bmiHeader.biHeight > 0 ? h - ySrc - hSrc : ySrc;
  StretchBlt(hdc, xDest, yDest, wDest, hDest, mem, xSrc, sy, wSrc, hSrc, rop);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(bm);
  return rows;
}

LONG GetBitmapBits(HBITMAP bitmap, LONG size, LPVOID bits) {
  GDI_LOCK;
  Bitmap* b = As<Bitmap>(bitmap, OBJ_BITMAP);
  if (!b || !bits || size <= 0) return 0;
  size_t stride = b->bpp == 1 ? ((b->width + 15) / 16) * 2 : static_cast<size_t>(b->width) * 4;
  uint8_t* out = static_cast<uint8_t*>(bits);
  size_t total = std::min(static_cast<size_t>(size), stride * b->height);
  std::memset(out, 0, total);
  PixelView v = b->view();
  for (size_t i = 0; i < total; ++i) {
    int y = static_cast<int>(i / stride);
    size_t off = i % stride;
    if (b->bpp == 1) {
      for (int bit = 0; bit < 8; ++bit) {
        int x = static_cast<int>(off * 8) + bit;
        if (x < b->width && (v.at(x, y) & 0xFFFFFF)) out[i] |= static_cast<uint8_t>(0x80 >> bit);
      }
    } else {
      uint32_t p = v.at(static_cast<int>(off / 4), y);
      out[i] = static_cast<uint8_t>(off % 4 == 3 ? 0 : (p >> (8 * (off % 4))) & 0xFF);
    }
  }
  return static_cast<LONG>(total);
}

LONG SetBitmapBits(HBITMAP bitmap, DWORD size, const void* bits) {
  GDI_LOCK;
  Bitmap* b = As<Bitmap>(bitmap, OBJ_BITMAP);
  if (!b || !bits) return 0;
  size_t stride = b->bpp == 1 ? ((b->width + 15) / 16) * 2 : static_cast<size_t>(b->width) * 4;
  size_t total = std::min(static_cast<size_t>(size), stride * b->height);
  const uint8_t* in = static_cast<const uint8_t*>(bits);
  PixelView v = b->view();
  for (int y = 0; y < b->height; ++y)
    for (int x = 0; x < b->width; ++x) {
      if (b->bpp == 1) {
        size_t i = stride * y + x / 8;
        if (i >= total) return static_cast<LONG>(total);
        v.at(x, y) = (in[i] & (0x80 >> (x % 8))) ? 0xFFFFFF : 0;
      } else {
        size_t i = stride * y + static_cast<size_t>(x) * 4;
        if (i + 3 >= total + 1) return static_cast<LONG>(total);
        v.at(x, y) = uint32_t(in[i]) | uint32_t(in[i + 1]) << 8 | uint32_t(in[i + 2]) << 16;
      }
    }
  return static_cast<LONG>(total);
}

BOOL GetBitmapDimensionEx(HBITMAP bitmap, LPSIZE size) {
  if (!As<Bitmap>(bitmap, OBJ_BITMAP) || !size) return FALSE;
  *size = SIZE{0, 0};
  return TRUE;
}
