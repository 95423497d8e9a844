// A full-window paint of a 640 x 480 dialog background, the way the skin
// draws it: the background image stretched over the client area, or cut into
// nine parts with corners copied and edges and centre tiled, composed off
// screen and copied to the window's surface in one block.
#include <benchmark/benchmark.h>

#include "Gdi.h"
#include "Surface.h"

namespace {

const int kW = 640, kH = 480;

struct Scene {
  PlatformSurface surface;
  HDC window;
  HDC image;
  HBITMAP bitmap;
  HGDIOBJ oldImage;
  HDC back;
  HBITMAP backBitmap;
  HGDIOBJ oldBack;

  Scene(int iw, int ih) {
    surface.Resize(kW, kH);
    window = PlatformCreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, kW, kH}, nullptr);
    image = CreateCompatibleDC(window);
    bitmap = CreateCompatibleBitmap(window, iw, ih);
    oldImage = SelectObject(image, bitmap);
    for (int y = 0; y < ih; ++y)
      for (int x = 0; x < iw; ++x) SetPixel(image, x, y, RGB(x * 255 / iw, y * 255 / ih, (x ^ y) & 0xFF));
    back = CreateCompatibleDC(window);
    backBitmap = CreateCompatibleBitmap(window, kW, kH);
    oldBack = SelectObject(back, backBitmap);
  }
  ~Scene() {
    SelectObject(image, oldImage);
    SelectObject(back, oldBack);
    DeleteObject(bitmap);
    DeleteObject(backBitmap);
    DeleteDC(image);
    DeleteDC(back);
    DeleteDC(window);
  }
};

void Stretch(benchmark::State& state, int mode) {
  Scene s(200, 150);
  SetStretchBltMode(s.back, mode);
  for (auto _ : state) {
    StretchBlt(s.back, 0, 0, kW, kH, s.image, 0, 0, 200, 150, SRCCOPY);
    BitBlt(s.window, 0, 0, kW, kH, s.back, 0, 0, SRCCOPY);
    benchmark::DoNotOptimize(s.surface.pixels.data());
  }
}

void StretchDefaultMode(benchmark::State& state) { Stretch(state, BLACKONWHITE); }
void StretchHalftone(benchmark::State& state) { Stretch(state, HALFTONE); }

// Corners copied, edges and centre tiled with whole cells; later pieces
// cover earlier ones.
void NinePart(benchmark::State& state) {
  const int iw = static_cast<int>(state.range(0));
  Scene s(iw, iw);
  const int cw = iw / 3, ch = iw / 3;
  const int L = 0, T = 0, R = kW, B = kH;
  for (auto _ : state) {
    for (int x = L + cw; x + cw < R; x += cw)
      for (int y = T + ch; y + ch < B; y += ch) BitBlt(s.back, x, y, cw, ch, s.image, cw, ch, SRCCOPY);
    BitBlt(s.back, L, T, cw, ch, s.image, 0, 0, SRCCOPY);
    for (int x = L + cw; x + cw < R; x += cw) BitBlt(s.back, x, T, cw, ch, s.image, cw, 0, SRCCOPY);
    BitBlt(s.back, R - cw, T, cw, ch, s.image, 2 * cw, 0, SRCCOPY);
    for (int y = T + ch; y + ch < B; y += ch) {
      BitBlt(s.back, L, y, cw, ch, s.image, 0, ch, SRCCOPY);
      BitBlt(s.back, R - cw, y, cw, ch, s.image, 2 * cw, ch, SRCCOPY);
    }
    BitBlt(s.back, L, B - ch, cw, ch, s.image, 0, 2 * ch, SRCCOPY);
    for (int x = L + cw; x + cw < R; x += cw) BitBlt(s.back, x, B - ch, cw, ch, s.image, cw, 2 * ch, SRCCOPY);
    BitBlt(s.back, R - cw, B - ch, cw, ch, s.image, 2 * cw, 2 * ch, SRCCOPY);
    BitBlt(s.window, 0, 0, kW, kH, s.back, 0, 0, SRCCOPY);
    benchmark::DoNotOptimize(s.surface.pixels.data());
  }
}

}  // namespace

BENCHMARK(StretchDefaultMode)->Unit(benchmark::kMicrosecond);
BENCHMARK(StretchHalftone)->Unit(benchmark::kMicrosecond);
BENCHMARK(NinePart)->Arg(30)->Arg(90)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
