// Image lists: rows of equal-sized images with optional masks, drawn
// transparently, over a background colour, or blended for selection.
#include <algorithm>

#include "GdiInternal.h"

namespace gdi {
namespace {

struct ImageList : Object {
  int cx = 0, cy = 0;
  UINT flags = 0;
  int grow = 0;
  COLORREF bk = CLR_NONE;
  std::vector<std::vector<uint32_t>> images;
  std::vector<std::vector<uint8_t>> masks;  // 1 = transparent
};

ImageList* List(HIMAGELIST h) { return As<ImageList>(h, kTypeImageList); }

// Copies image `i` of a strip (images side by side) into list format.
void Cut(ImageList* il, Bitmap* image, Bitmap* mask, int i, std::vector<uint32_t>& px, std::vector<uint8_t>& mk,
         bool keyed, uint32_t key) {
  px.assign(static_cast<size_t>(il->cx) * il->cy, 0);
  mk.assign(px.size(), 0);
  PixelView v = image->view();
  PixelView mv = mask ? mask->view() : PixelView{};
  for (int y = 0; y < il->cy; ++y)
    for (int x = 0; x < il->cx; ++x) {
      int sx = i * il->cx + x;
      if (sx >= v.width || y >= v.height) continue;
      size_t k = static_cast<size_t>(y) * il->cx + x;
      px[k] = v.at(sx, y) & 0xFFFFFF;
      if (keyed) {
        mk[k] = px[k] == key ? 1 : 0;
        if (mk[k]) px[k] = 0;  // masked pixels become black, as on Windows
      } else if (mask && sx < mv.width && y < mv.height) {
        mk[k] = (mv.at(sx, y) & 0xFFFFFF) ? 1 : 0;
      }
    }
}

int AddStrip(ImageList* il, HBITMAP image, HBITMAP mask, bool keyed, COLORREF key) {
  Bitmap* b = As<Bitmap>(image, OBJ_BITMAP);
  if (!b) return -1;
  Bitmap* m = As<Bitmap>(mask, OBJ_BITMAP);
  int n = std::max(1, b->width / il->cx);
  int first = static_cast<int>(il->images.size());
  for (int i = 0; i < n; ++i) {
    std::vector<uint32_t> px;
    std::vector<uint8_t> mk;
    Cut(il, b, m, i, px, mk, keyed, ToPixel(key));
    il->images.push_back(std::move(px));
    il->masks.push_back(std::move(mk));
  }
  return first;
}

uint32_t Blend(uint32_t a, uint32_t b, int percentB) {
  uint32_t out = 0;
  for (int s = 0; s < 24; s += 8) {
    uint32_t ca = (a >> s) & 0xFF, cb = (b >> s) & 0xFF;
    out |= ((ca * (100 - percentB) + cb * percentB) / 100) << s;
  }
  return out;
}

}  // namespace
}  // namespace gdi

using namespace gdi;

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int, int grow) {
  if (cx <= 0 || cy <= 0 || int64_t(cx) * cy > (1 << 24)) return nullptr;
  ImageList* il = new ImageList;
  il->type = kTypeImageList;
  il->cx = cx;
  il->cy = cy;
  il->flags = flags;
  il->grow = grow;
  return static_cast<HIMAGELIST>(Register(il));
}

BOOL ImageList_Destroy(HIMAGELIST list) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il) return FALSE;
  Destroy(il);
  return TRUE;
}

int ImageList_GetImageCount(HIMAGELIST list) {
  GDI_LOCK;
  ImageList* il = List(list);
  return il ? static_cast<int>(il->images.size()) : 0;
}

BOOL ImageList_SetImageCount(HIMAGELIST list, UINT count) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il || count > 100000) return FALSE;
  il->images.resize(count, std::vector<uint32_t>(static_cast<size_t>(il->cx) * il->cy, 0));
  il->masks.resize(count, std::vector<uint8_t>(static_cast<size_t>(il->cx) * il->cy, 0));
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il) return -1;
  return AddStrip(il, image, (il->flags & ILC_MASK) ? mask : nullptr, false, 0);
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF mask) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il) return -1;
  return AddStrip(il, image, nullptr, (il->flags & ILC_MASK) != 0, mask & 0xFFFFFF);
}

BOOL ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask) {
  GDI_LOCK;
  ImageList* il = List(list);
  Bitmap* b = As<Bitmap>(image, OBJ_BITMAP);
  if (!il || !b || index < 0 || index >= static_cast<int>(il->images.size())) return FALSE;
  Cut(il, b, (il->flags & ILC_MASK) ? As<Bitmap>(mask, OBJ_BITMAP) : nullptr, 0, il->images[index], il->masks[index],
      false, 0);
  return TRUE;
}

int ImageList_ReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  GDI_LOCK;
  ImageList* il = List(list);
  Icon* ic = As<Icon>(icon, kTypeIcon);
  if (!il || !ic || index < -1 || index >= static_cast<int>(il->images.size())) return -1;
  std::vector<uint32_t> px(static_cast<size_t>(il->cx) * il->cy);
  std::vector<uint8_t> mk(px.size());
  for (int y = 0; y < il->cy; ++y)
    for (int x = 0; x < il->cx; ++x) {
      size_t s = static_cast<size_t>(y * ic->height / il->cy) * ic->width + x * ic->width / il->cx;
      size_t d = static_cast<size_t>(y) * il->cx + x;
      px[d] = ic->color[s];
      mk[d] = ic->mask[s];
    }
  if (index == -1) {
    il->images.push_back(std::move(px));
    il->masks.push_back(std::move(mk));
    return static_cast<int>(il->images.size()) - 1;
  }
  il->images[index] = std::move(px);
  il->masks[index] = std::move(mk);
  return index;
}

BOOL ImageList_Remove(HIMAGELIST list, int index) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il) return FALSE;
  if (index == -1) {
    il->images.clear();
    il->masks.clear();
    return TRUE;
  }
  if (index < 0 || index >= static_cast<int>(il->images.size())) return FALSE;
  il->images.erase(il->images.begin() + index);
  il->masks.erase(il->masks.begin() + index);
  return TRUE;
}

BOOL ImageList_DrawEx(HIMAGELIST list, int index, HDC hdc, int x, int y, int dx, int dy, COLORREF bk, COLORREF fg,
                      UINT style) {
  GDI_LOCK;
  ImageList* il = List(list);
  Dc* dc = AsDc(hdc);
  if (!il || !dc || index < 0 || index >= static_cast<int>(il->images.size())) return FALSE;
  Target t;
  if (!dc->target(t)) return TRUE;
  int w = dx > 0 ? std::min(dx, il->cx) : il->cx;
  int h = dy > 0 ? std::min(dy, il->cy) : il->cy;
  if (bk == CLR_DEFAULT) bk = il->bk;
  bool masked = (il->flags & ILC_MASK) != 0;
  bool transparent = masked && ((style & ILD_TRANSPARENT) || bk == CLR_NONE);
  int blend = (style & ILD_BLEND50) ? 50 : (style & ILD_BLEND25) ? 25 : 0;
  uint32_t blendPx = ToPixel(fg == CLR_DEFAULT || fg == CLR_NONE ? SysColor(COLOR_HIGHLIGHT) : fg);
  const auto& px = il->images[index];
  const auto& mk = il->masks[index];
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      int X = x + i + t.dx, Y = y + j + t.dy;
      if (!InClip(t, X, Y)) continue;
      size_t k = static_cast<size_t>(j) * il->cx + i;
      bool clear = masked && mk[k];
      uint32_t v;
      if (style & ILD_MASK) {
        v = clear ? 0xFFFFFF : 0;
      } else if (clear) {
        if (transparent) continue;
        v = ToPixel(bk);
      } else {
        v = blend ? Blend(px[k], blendPx, blend) : px[k];
      }
      t.v.at(X, Y) = t.v.mono ? ToMono(v) : v;
    }
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int index, HDC hdc, int x, int y, UINT style) {
  return ImageList_DrawEx(list, index, hdc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, style);
}

HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il || index < 0 || index >= static_cast<int>(il->images.size())) return nullptr;
  Icon* ic = new Icon;
  ic->type = kTypeIcon;
  ic->width = il->cx;
  ic->height = il->cy;
  ic->color = il->images[index];
  ic->mask = il->masks[index];
  if (!(il->flags & ILC_MASK)) std::fill(ic->mask.begin(), ic->mask.end(), 0);
  return static_cast<HICON>(Register(ic));
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il || !cx || !cy) return FALSE;
  *cx = il->cx;
  *cy = il->cy;
  return TRUE;
}

BOOL ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il || !info || index < 0 || index >= static_cast<int>(il->images.size())) return FALSE;
  // The images live inside the list, not in bitmaps of their own.
  info->hbmImage = nullptr;
  info->hbmMask = nullptr;
  info->rcImage = RECT{index * il->cx, 0, (index + 1) * il->cx, il->cy};
  return TRUE;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
  GDI_LOCK;
  ImageList* il = List(list);
  if (!il) return CLR_NONE;
  COLORREF old = il->bk;
  il->bk = color;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) {
  GDI_LOCK;
  ImageList* il = List(list);
  return il ? il->bk : CLR_NONE;
}
