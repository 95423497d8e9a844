// The meeting point of the window manager and GDI: windows paint into 32-bit
// surfaces in memory (0x00RRGGBB per pixel, rows top-down), and the display
// backends copy them to a screen.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "Types.h"

// Memory for pixels, handed out zeroed by calloc. A large block is fresh
// memory that the system has already cleared, so a new buffer of black
// pixels costs no second pass that writes zeros over it; a buffer that must
// hold something else is written once, with that.
template <class T>
struct ZeroedAllocator {
  using value_type = T;
  ZeroedAllocator() = default;
  template <class U>
  ZeroedAllocator(const ZeroedAllocator<U>&) {}
  T* allocate(size_t n) {
    void* p = std::calloc(n ? n : 1, sizeof(T));
    if (!p) throw std::bad_alloc();
    return static_cast<T*>(p);
  }
  void deallocate(T* p, size_t) { std::free(p); }
  // An element made without a value is zero already: calloc cleared it. Only
  // sound for memory fresh from allocate, so buffers are made anew, never
  // grown after shrinking.
  template <class U>
  void construct(U*) noexcept {}
  template <class U, class... A>
  void construct(U* p, A&&... a) {
    ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
  }
  template <class U>
  bool operator==(const ZeroedAllocator<U>&) const { return true; }
  template <class U>
  bool operator!=(const ZeroedAllocator<U>&) const { return false; }
};

// Black pixels: a new PixelBuffer(n) holds n zeros.
using PixelBuffer = std::vector<uint32_t, ZeroedAllocator<uint32_t>>;

struct PlatformSurface {
  int width = 0;
  int height = 0;
  PixelBuffer pixels;  // width * height, row-major, top row first

  void Resize(int w, int h) {
    width = w > 0 ? w : 0;
    height = h > 0 ? h : 0;
    pixels = PixelBuffer(static_cast<size_t>(width) * static_cast<size_t>(height));
  }
  uint32_t* Row(int y) { return pixels.data() + static_cast<size_t>(y) * static_cast<size_t>(width); }
};

// A device context that draws into `surface` with (0,0) at `origin` of the
// surface, clipped to `clip` (surface coordinates). `hwnd` is the window the
// context belongs to (NULL for memory contexts); ReleaseDC/EndPaint free it.
// Implemented by GDI; the window manager calls it for window, client and
// paint contexts.
PLATFORM_API HDC PlatformCreateSurfaceDC(PlatformSurface* surface, POINT origin, RECT clip, HWND hwnd);

// Narrows the clipping of a surface context to `region` (surface coordinates),
// within the clip rectangle it was made with: window contexts leave out
// children (WS_CLIPCHILDREN), paint contexts keep to the update region.
// GDI copies the region; the caller keeps it.
PLATFORM_API BOOL PlatformSetSurfaceDCRegion(HDC hdc, HRGN region);

// GetDC(NULL): a context over the screen, a surface as large as the desktop
// that nothing shows. Measuring text and making compatible bitmaps need it.
// Freed with DeleteDC (ReleaseDC does that).
PLATFORM_API HDC PlatformScreenDC();

// The surface a context draws into (the selected bitmap's pixels for memory
// contexts are not a PlatformSurface: NULL then).
PLATFORM_API PlatformSurface* PlatformDCSurface(HDC hdc);

// PNG export for the test kit and reviewers (8-bit RGB).
PLATFORM_API BOOL PlatformWritePng(const PlatformSurface& surface, const char* path);
PLATFORM_API BOOL PlatformWriteBitmapPng(HBITMAP bitmap, const char* path);
