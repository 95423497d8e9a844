// PNG export of surfaces and bitmaps, for the test kit and for reviewers.
#include <png.h>

#include "GdiInternal.h"

namespace {

BOOL WriteRgb(const gdi::PixelView& v, const char* path) {
  if (!path || v.width <= 0 || v.height <= 0 || !v.row0) return FALSE;
  std::vector<uint8_t> rgb(static_cast<size_t>(v.width) * v.height * 3);
  for (int y = 0; y < v.height; ++y)
    for (int x = 0; x < v.width; ++x) {
      uint32_t p = v.at(x, y);
      uint8_t* q = &rgb[(static_cast<size_t>(y) * v.width + x) * 3];
      q[0] = (p >> 16) & 0xFF, q[1] = (p >> 8) & 0xFF, q[2] = p & 0xFF;
    }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(v.width);
  image.height = static_cast<png_uint_32>(v.height);
  image.format = PNG_FORMAT_RGB;
  int ok = png_image_write_to_file(&image, path, 0, rgb.data(), 0, nullptr);
  png_image_free(&image);
  return ok ? TRUE : FALSE;
}

}  // namespace

BOOL PlatformWritePng(const PlatformSurface& surface, const char* path) {
  if (surface.pixels.size() < static_cast<size_t>(surface.width) * static_cast<size_t>(surface.height)) return FALSE;
  gdi::PixelView v;
  v.row0 = const_cast<uint32_t*>(surface.pixels.data());
  v.stride = surface.width;
  v.width = surface.width;
  v.height = surface.height;
  return WriteRgb(v, path);
}

BOOL PlatformWriteBitmapPng(HBITMAP bitmap, const char* path) {
  GDI_LOCK;
  gdi::Bitmap* b = gdi::As<gdi::Bitmap>(bitmap, OBJ_BITMAP);
  if (!b) return FALSE;
  return WriteRgb(b->view(), path);
}
