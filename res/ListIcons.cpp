// The member list's icons, 16 x 16: 142 "Manually" (a pencil over a line, the
// row's address is entered by hand) and 143 "Delete" (a red cross). Drawn as
// tables of characters, one colour each; '.' is transparent.

#include "Gdi.h"
#include "Resource.h"

namespace {

const int kManualIcon = 142;
const int kDeleteIcon = 143;
const int kSize = 16;

struct Ink {
  char key;
  COLORREF color;
};

const Ink kInks[] = {
    {'#', RGB(40, 40, 40)},    {'y', RGB(245, 200, 60)}, {'o', RGB(200, 120, 40)}, {'p', RGB(230, 140, 150)},
    {'s', RGB(170, 170, 180)}, {'b', RGB(40, 80, 160)},  {'r', RGB(200, 30, 30)},  {'R', RGB(130, 10, 10)},
    {'w', RGB(255, 255, 255)},
};

const char* const kManual[kSize] = {
    "................",
    "...........##...",
    "..........#pp#..",
    ".........#ssp#..",
    "........#yys#...",
    ".......#yyy#....",
    "......#yyy#.....",
    ".....#yyy#......",
    "....#yyy#.......",
    "...#oyy#........",
    "...#oo#.........",
    "..#o##..........",
    "..##............",
    "................",
    ".bbbbbbbbbbbbbb.",
    "................",
};

const char* const kDelete[kSize] = {
    "................",
    "..RR........RR..",
    ".RrrR......RrrR.",
    ".RrrrR....RrrrR.",
    "..RrrrR..RrrrR..",
    "...RrrrRRrrrR...",
    "....RrrrrrrR....",
    ".....RrrrrR.....",
    ".....RrrrrR.....",
    "....RrrrrrrR....",
    "...RrrrRRrrrR...",
    "..RrrrR..RrrrR..",
    ".RrrrR....RrrrR.",
    ".RrrR......RrrR.",
    "..RR........RR..",
    "................",
};

COLORREF InkOf(char key) {
  for (const Ink& ink : kInks)
    if (ink.key == key) return ink.color;
  return RGB(0, 0, 0);
}

HICON MakeIcon(const char* const rows[kSize]) {
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, kSize, kSize);
  HBITMAP mask = CreateCompatibleBitmap(screen, kSize, kSize);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, mask);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) SetPixel(dc, x, y, rows[y][x] == '.' ? RGB(255, 255, 255) : RGB(0, 0, 0));
  SelectObject(dc, image);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) SetPixel(dc, x, y, rows[y][x] == '.' ? RGB(0, 0, 0) : InkOf(rows[y][x]));
  SelectObject(dc, old);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmColor = image;
  info.hbmMask = mask;
  HICON icon = CreateIconIndirect(&info);
  DeleteObject(image);
  DeleteObject(mask);
  return icon;
}

const ResourceRegistrar kRegister([] {
  PlatformAddIcon(MAKEINTRESOURCEA(kManualIcon), [] { return MakeIcon(kManual); });
  PlatformAddIcon(MAKEINTRESOURCEA(kDeleteIcon), [] { return MakeIcon(kDelete); });
});

}  // namespace
