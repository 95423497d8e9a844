// BMP files and DIB pixel formats: reading through a bounded cursor, writing
// 24 and 32 bits, and LoadImage for bitmap files.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "ByteCursor.h"
#include "Files.h"
#include "GdiInternal.h"

namespace gdi {

namespace {

const int kMaxSide = 32768;
const int64_t kMaxPixels = int64_t(1) << 26;

struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

Channel MakeChannel(uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (!mask) return c;
  while (!((mask >> c.shift) & 1)) ++c.shift;
  uint32_t m = mask >> c.shift;
  while (m & 1) ++c.bits, m >>= 1;
  return c;
}

uint32_t Extract(const Channel& c, uint32_t v) {
  if (!c.bits) return 0;
  uint32_t x = (v & c.mask) >> c.shift;
  if (c.bits >= 8) return (x >> (c.bits - 8)) & 0xFF;
  // Narrow channels widen by repeating their bits: 5-bit 31 becomes 255.
  uint32_t r = x << (8 - c.bits);
  for (int have = c.bits; have < 8; have += c.bits) r |= r >> c.bits;
  return r & 0xFF;
}

}  // namespace

bool ReadDibInfo(ByteCursor& c, DibFormat& f) {
  ByteCursor start = c;
  uint32_t size;
  if (!c.get_le32(size)) return false;
  uint32_t compression = BI_RGB, clrUsed = 0;
  int64_t width, height;
  uint16_t planes, bpp;
  bool core = size == 12;
  if (core) {
    uint16_t w, h;
    if (!c.get_le16(w) || !c.get_le16(h) || !c.get_le16(planes) || !c.get_le16(bpp)) return c = start, false;
    width = w, height = h;
  } else {
    if (size < 40) return c = start, false;
    uint32_t w, h, skip;
    if (!c.get_le32(w) || !c.get_le32(h) || !c.get_le16(planes) || !c.get_le16(bpp) || !c.get_le32(compression) ||
        !c.get_le32(skip) || !c.get_le32(skip) || !c.get_le32(skip) || !c.get_le32(clrUsed) || !c.get_le32(skip))
      return c = start, false;
    width = static_cast<int32_t>(w);
    height = static_cast<int32_t>(h);
  }
  bool maskInHeader = !core && size >= 52;
  uint32_t masks[3] = {0, 0, 0};
  if (maskInHeader) {
    if (!c.get_le32(masks[0]) || !c.get_le32(masks[1]) || !c.get_le32(masks[2])) return c = start, false;
    if (!c.skip(size - 52)) return c = start, false;
  } else if (!core && !c.skip(size - 40)) {
    return c = start, false;
  }
  if (planes != 1) return c = start, false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return c = start, false;
  if (compression != BI_RGB && !(compression == BI_BITFIELDS && (bpp == 16 || bpp == 32))) return c = start, false;
  f.topDown = height < 0;
  if (height < 0) height = -height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels)
    return c = start, false;
  if (compression == BI_BITFIELDS && !maskInHeader)
    if (!c.get_le32(masks[0]) || !c.get_le32(masks[1]) || !c.get_le32(masks[2])) return c = start, false;
  if (compression == BI_RGB) {
    if (bpp == 16)
      masks[0] = 0x7C00, masks[1] = 0x03E0, masks[2] = 0x001F;
    else if (bpp == 32)
      masks[0] = 0xFF0000, masks[1] = 0xFF00, masks[2] = 0xFF;
  }
  f.width = static_cast<int>(width);
  f.height = static_cast<int>(height);
  f.bpp = bpp;
  f.compression = compression;
  std::memcpy(f.masks, masks, sizeof masks);
  f.palette.clear();
  if (bpp <= 8) {
    uint32_t n = clrUsed ? std::min<uint32_t>(clrUsed, 1u << bpp) : (1u << bpp);
    for (uint32_t i = 0; i < n; ++i) {
      uint8_t b, g, r, x;
      if (!c.get_u8(b) || !c.get_u8(g) || !c.get_u8(r) || (!core && !c.get_u8(x))) return c = start, false;
      f.palette.push_back(uint32_t(r) << 16 | uint32_t(g) << 8 | b);
    }
  }
  return true;
}

size_t DibStride(const DibFormat& f) { return ((static_cast<size_t>(f.width) * f.bpp + 31) / 32) * 4; }

bool ReadDibPixels(ByteCursor& c, const DibFormat& f, int rows, PixelBuffer& out) {
  size_t stride = DibStride(f);
  if (rows < 0 || c.remaining() / stride < static_cast<size_t>(rows)) return false;
  // Made zeroed by its allocation; every pixel is written below.
  out = PixelBuffer(static_cast<size_t>(f.width) * static_cast<size_t>(rows));
  Channel ch[3] = {MakeChannel(f.masks[0]), MakeChannel(f.masks[1]), MakeChannel(f.masks[2])};
  auto pal = [&](uint32_t i) { return i < f.palette.size() ? f.palette[i] : 0u; };
  for (int y = 0; y < rows; ++y) {
    const uint8_t* row;
    if (!c.get_view(row, stride)) return false;
    uint32_t* o = out.data() + static_cast<size_t>(y) * f.width;
    for (int x = 0; x < f.width; ++x) {
      switch (f.bpp) {
        case 1:
          o[x] = pal((row[x / 8] >> (7 - x % 8)) & 1);
          break;
        case 4:
          o[x] = pal((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
          break;
        case 8:
          o[x] = pal(row[x]);
          break;
        case 16: {
          uint32_t v = uint32_t(row[2 * x]) | uint32_t(row[2 * x + 1]) << 8;
          o[x] = Extract(ch[0], v) << 16 | Extract(ch[1], v) << 8 | Extract(ch[2], v);
          break;
        }
        case 24:
          o[x] = uint32_t(row[3 * x]) | uint32_t(row[3 * x + 1]) << 8 | uint32_t(row[3 * x + 2]) << 16;
          break;
        case 32: {
          const uint8_t* p = row + 4 * x;
          uint32_t v = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
          o[x] = Extract(ch[0], v) << 16 | Extract(ch[1], v) << 8 | Extract(ch[2], v);
          break;
        }
      }
    }
  }
  return true;
}

size_t DibInfoSize(const BITMAPINFO* info) {
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biSize == 12) {
    const uint8_t* p = reinterpret_cast<const uint8_t*>(info);
    uint16_t bpp = static_cast<uint16_t>(p[10] | p[11] << 8);
    return 12 + (bpp <= 8 ? (size_t(1) << bpp) * 3 : 0);
  }
  if (h.biSize < 40 || h.biSize > 4096) return 0;
  size_t n = h.biSize;
  if (h.biCompression == BI_BITFIELDS && h.biSize == 40) n += 12;
  if (h.biBitCount <= 8)
    n += 4 * (h.biClrUsed ? std::min<size_t>(h.biClrUsed, size_t(1) << h.biBitCount) : size_t(1) << h.biBitCount);
  return n;
}

}  // namespace gdi

using namespace gdi;

HBITMAP PlatformReadBmp(const void* data, size_t size) {
  ByteCursor c(data, size);
  uint16_t magic, reserved;
  uint32_t fileSize, offBits;
  if (!c.get_le16(magic) || magic != 0x4D42 || !c.get_le32(fileSize) || !c.get_le16(reserved) ||
      !c.get_le16(reserved) || !c.get_le32(offBits))
    return nullptr;
  // The headers and the palette lie before the pixels, which start at offBits.
  ByteCursor headers;
  if (offBits < c.offset() || !c.child(offBits - c.offset(), headers)) return nullptr;
  DibFormat f;
  if (!ReadDibInfo(headers, f)) return nullptr;
  ByteCursor& pixels = c;
  PixelBuffer px;
  if (!ReadDibPixels(pixels, f, f.height, px)) return nullptr;
  // The rows as read become the bitmap's, turned top-down in place.
  if (!f.topDown) {
    for (int top = 0, bottom = f.height - 1; top < bottom; ++top, --bottom)
      std::swap_ranges(px.begin() + static_cast<ptrdiff_t>(top) * f.width,
                       px.begin() + static_cast<ptrdiff_t>(top + 1) * f.width,
                       px.begin() + static_cast<ptrdiff_t>(bottom) * f.width);
  }
  GDI_LOCK;
  Bitmap* b = NewBitmap(0, 0, 32);
  b->width = f.width;
  b->height = f.height;
  b->pixels = std::move(px);
  return static_cast<HBITMAP>(Register(b));
}

HBITMAP PlatformLoadBmpFile(const char* path) {
  if (!path) return nullptr;
  // Larger files than the biggest bitmap we accept are refused unread, and so is a FIFO in a
  // bitmap's place, which would otherwise keep the program waiting.
  const size_t kMaxFile = (size_t(1) << 28);
  std::string bytes;
  if (PlatformReadFile(path, kMaxFile, bytes) != 0) return nullptr;
  return PlatformReadBmp(bytes.data(), bytes.size());
}

BOOL PlatformWriteBmpFile(HBITMAP bitmap, int bitsPerPixel, const char* path) {
  if (!path || (bitsPerPixel != 24 && bitsPerPixel != 32)) return FALSE;
  std::vector<uint8_t> out;
  {
    GDI_LOCK;
    Bitmap* b = As<Bitmap>(bitmap, OBJ_BITMAP);
    if (!b) return FALSE;
    size_t stride = ((static_cast<size_t>(b->width) * bitsPerPixel + 31) / 32) * 4;
    size_t image = stride * b->height;
    uint32_t off = 14 + 40;
    out.assign(off + image, 0);
    auto put16 = [&](size_t at, uint32_t v) { out[at] = v & 0xFF, out[at + 1] = (v >> 8) & 0xFF; };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    put16(0, 0x4D42);
    put32(2, static_cast<uint32_t>(out.size()));
    put32(10, off);
    put32(14, 40);
    put32(18, static_cast<uint32_t>(b->width));
    put32(22, static_cast<uint32_t>(b->height));
    put16(26, 1);
    put16(28, static_cast<uint32_t>(bitsPerPixel));
    put32(34, static_cast<uint32_t>(image));
    put32(38, 3780);  // 96 dpi
    put32(42, 3780);
    PixelView v = b->view();
    for (int y = 0; y < b->height; ++y) {
      uint8_t* row = out.data() + off + stride * static_cast<size_t>(b->height - 1 - y);
      for (int x = 0; x < b->width; ++x) {
        uint32_t p = v.at(x, y);
        uint8_t* q = row + x * (bitsPerPixel / 8);
        q[0] = p & 0xFF, q[1] = (p >> 8) & 0xFF, q[2] = (p >> 16) & 0xFF;
      }
    }
  }
  FILE* fp = std::fopen(path, "wb");
  if (!fp) return FALSE;
  bool ok = std::fwrite(out.data(), 1, out.size(), fp) == out.size();
  ok = std::fclose(fp) == 0 && ok;
  return ok ? TRUE : FALSE;
}

namespace {
HANDLE (*g_resourceLoader)(HINSTANCE, LPCSTR, UINT, int, int, UINT) = nullptr;
}

void PlatformSetResourceImageLoader(HANDLE (*loader)(HINSTANCE, LPCSTR, UINT, int, int, UINT)) {
  g_resourceLoader = loader;
}

HANDLE LoadImageA(HINSTANCE instance, LPCSTR name, UINT type, int cx, int cy, UINT flags) {
  if (!(flags & LR_LOADFROMFILE))
    return g_resourceLoader ? g_resourceLoader(instance, name, type, cx, cy, flags) : nullptr;
  if (type != IMAGE_BITMAP || !name) return nullptr;
  HBITMAP bm = PlatformLoadBmpFile(name);
  if (!bm && std::strchr(name, '\\')) {
    // The program writes its paths with backslashes.
    std::string p(name);
    std::replace(p.begin(), p.end(), '\\', '/');
    bm = PlatformLoadBmpFile(p.c_str());
  }
  if (!bm) return nullptr;
  GDI_LOCK;
  Bitmap* b = As<Bitmap>(bm, OBJ_BITMAP);
  if ((cx > 0 && cx != b->width) || (cy > 0 && cy != b->height)) {
    int w = cx > 0 ? cx : b->width, h = cy > 0 ? cy : b->height;
    HBITMAP scaled = CreateBitmap(w, h, 1, 32, nullptr);
    HDC src = CreateCompatibleDC(nullptr), dst = CreateCompatibleDC(nullptr);
    HGDIOBJ o1 = SelectObject(src, bm), o2 = SelectObject(dst, scaled);
    SetStretchBltMode(dst, COLORONCOLOR);
    StretchBlt(dst, 0, 0, w, h, src, 0, 0, b->width, b->height, SRCCOPY);
    SelectObject(src, o1), SelectObject(dst, o2);
    DeleteDC(src), DeleteDC(dst);
    DeleteObject(bm);
    bm = scaled;
    b = As<Bitmap>(bm, OBJ_BITMAP);
  }
  if (flags & LR_CREATEDIBSECTION) b->dib = true;
  return bm;
}
