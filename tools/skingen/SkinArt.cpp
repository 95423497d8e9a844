// The images of the vAdev skin. A calm blue-grey theme: light chrome (caption,
// buttons, headers, menus) for black text, a slate dialog background for the
// pages' white static text, one blue accent for hot and pressed looks.
//
// Everything is integer arithmetic (anti-aliasing by 4 x 4 sub-samples), so
// the files come out byte for byte the same on every machine and compiler.
//
// Sizes follow the rectangles the receiving classes draw into, so that most
// images are drawn 1:1: caption 19 rows high, caption buttons 17 x 15, scroll
// bars 16 thick with 30-pixel thumbs, header rows 25 high (1.5 x 17), menu
// rows 20 high with a 22-pixel icon column. Images of controls whose size
// varies use the nine-part grid (mode 4) with a face that is uniform in its
// middle third, or a horizontally uniform band stretched across (mode 1).
#include "SkinArt.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Gdi.h"

namespace skinart {

namespace {

struct Rgb {
  int r, g, b;
};

constexpr Rgb Hex(uint32_t v) { return Rgb{int(v >> 16 & 255), int(v >> 8 & 255), int(v & 255)}; }

// a + (b - a) * num / den, rounded; num is clamped to 0..den.
Rgb Lerp(Rgb a, Rgb b, int num, int den) {
  if (den <= 0 || num >= den) return den <= 0 ? a : b;
  if (num <= 0) return a;
  auto mix = [&](int x, int y) { return (x * (den - num) + y * num + den / 2) / den; };
  return Rgb{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

class Canvas {
 public:
  Canvas(int w, int h, Rgb fill) : width(w), height(h), px(static_cast<size_t>(w) * h) { Fill(0, 0, w, h, fill); }

  const int width, height;

  Rgb At(int x, int y) const { return Hex(px[Index(x, y)]); }
  void Set(int x, int y, Rgb c) {
    if (x >= 0 && y >= 0 && x < width && y < height) px[Index(x, y)] = uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b;
  }
  // Blends c over the pixel with coverage n of 16.
  void Cover(int x, int y, Rgb c, int n) {
    if (x >= 0 && y >= 0 && x < width && y < height && n > 0) Set(x, y, Lerp(At(x, y), c, n, 16));
  }
  void Fill(int x0, int y0, int x1, int y1, Rgb c) {
    for (int y = y0; y < y1; ++y)
      for (int x = x0; x < x1; ++x) Set(x, y, c);
  }
  // Rows y0..y1-1 shade from `top` to `bottom`.
  void VGradient(int x0, int y0, int x1, int y1, Rgb top, Rgb bottom) {
    for (int y = y0; y < y1; ++y) Fill(x0, y, x1, y + 1, Lerp(top, bottom, y - y0, y1 - y0 - 1));
  }
  // Paints every pixel whose sub-samples (in 1/8 pixel units, at odd
  // eighths) satisfy `inside`, with the colour of its row.
  template <class Inside, class RowColour>
  void Shape(Inside inside, RowColour colour) {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) {
        int n = 0;
        for (int j = 0; j < 4; ++j)
          for (int i = 0; i < 4; ++i) n += inside(8 * x + 2 * i + 1, 8 * y + 2 * j + 1) ? 1 : 0;
        Cover(x, y, colour(y), n);
      }
  }

  HBITMAP ToBitmap() const { return CreateBitmap(width, height, 1, 32, px.data()); }

  // Drops one column or row: the nine-part grid shows the middle cell once
  // more than a symmetric picture needs when the thickness is odd one over.
  Canvas WithoutColumn(int col) const {
    Canvas c(width - 1, height, Rgb{0, 0, 0});
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < c.width; ++x) c.Set(x, y, At(x < col ? x : x + 1, y));
    return c;
  }
  Canvas WithoutRow(int row) const {
    Canvas c(width, height - 1, Rgb{0, 0, 0});
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < width; ++x) c.Set(x, y, At(x, y < row ? y : y + 1));
    return c;
  }

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width + x; }
  std::vector<uint32_t> px;
};

// Inside test of a rounded rectangle (pixel edges x0..x1, y0..y1, radius r).
auto RoundRect(int x0, int y0, int x1, int y1, int r) {
  return [=](int sx, int sy) {
    int X0 = 8 * x0, Y0 = 8 * y0, X1 = 8 * x1, Y1 = 8 * y1, R = 8 * r;
    if (sx < X0 || sx >= X1 || sy < Y0 || sy >= Y1) return false;
    int cx = sx < X0 + R ? X0 + R : (sx > X1 - R ? X1 - R : sx);
    int cy = sy < Y0 + R ? Y0 + R : (sy > Y1 - R ? Y1 - R : sy);
    int dx = sx - cx, dy = sy - cy;
    return dx * dx + dy * dy <= R * R;
  };
}

// A stroked polyline; points in half pixels (pixel centre of column 3 is 7),
// width in eighths of a pixel.
void Stroke(Canvas& c, std::initializer_list<std::pair<int, int>> points, int width, Rgb colour) {
  std::vector<std::pair<int, int>> p(points);
  auto inside = [&](int sx, int sy) {
    for (size_t k = 0; k + 1 < p.size(); ++k) {
      int64_t ax = 4 * p[k].first, ay = 4 * p[k].second, bx = 4 * p[k + 1].first, by = 4 * p[k + 1].second;
      int64_t vx = bx - ax, vy = by - ay, wx = sx - ax, wy = sy - ay;
      int64_t len2 = vx * vx + vy * vy, t = wx * vx + wy * vy, half = width / 2;
      int64_t d2num, d2den = 1;
      if (t <= 0) {
        d2num = wx * wx + wy * wy;
      } else if (t >= len2) {
        d2num = (sx - bx) * (sx - bx) + (sy - by) * (sy - by);
      } else {
        int64_t cross = wx * vy - wy * vx;
        d2num = cross * cross;
        d2den = len2;
      }
      if (d2num <= half * half * d2den) return true;
    }
    return false;
  };
  c.Shape(inside, [&](int) { return colour; });
}

// ---------------------------------------------------------------- palette

const Rgb kDialog = Hex(0x2C3947);       // slate page background, white text on it
const Rgb kInk = Hex(0x2F3A48);          // glyphs on light chrome
const Rgb kWhite = Hex(0xFFFFFF);
const Rgb kTrack = Hex(0x4A596B);        // scroll bar track
const Rgb kTrackEdge = Hex(0x425063);
const Rgb kPanel = Hex(0xEEF2F6);        // light page of tab controls and property pages
const Rgb kMenuFace = Hex(0xFBFCFD);

// A face of the nine-part grid: border, then a top band shading into the
// middle colour, a uniform middle third, a bottom band shading away.
struct Face {
  Rgb border, top, mid, bottom;
};

const Face kButtonNormal{Hex(0x7D8DA1), Hex(0xFFFFFF), Hex(0xEEF2F6), Hex(0xDAE2EA)};
const Face kButtonHot{Hex(0x3F7FC4), Hex(0xFAFDFF), Hex(0xE3EEFB), Hex(0xCDE0F5)};
const Face kButtonDown{Hex(0x2B5788), Hex(0x9DB3CC), Hex(0xB0C3D8), Hex(0xBDCDDF)};
const Face kButtonDisabled{Hex(0x6C7786), Hex(0xA3AEBA), Hex(0x9DA8B5), Hex(0x97A3B0)};
const Face kHighlight{Hex(0x86AEDD), Hex(0xF1F7FE), Hex(0xDFECFA), Hex(0xD3E5F8)};
const Face kSunken{Hex(0x7F95AE), Hex(0xD6DFE9), Hex(0xE0E7EF), Hex(0xE9EEF3)};
const Face kFlat{Hex(0xD9E0E8), Hex(0xF3F6F9), Hex(0xF3F6F9), Hex(0xF3F6F9)};
const Face kFlatDisabled{Hex(0xD3D7DC), Hex(0xECEEF0), Hex(0xECEEF0), Hex(0xECEEF0)};
const Face kField{Hex(0x8191A5), Hex(0xE6EAF0), Hex(0xFFFFFF), Hex(0xFFFFFF)};
const Face kFieldFocus{Hex(0x6E9DD4), Hex(0xE4EFFB), Hex(0xD6E7F8), Hex(0xCCE0F5)};

// A 24 x 24 nine-part image: cells of 8, rows 0-7 the top band, 8-15 uniform.
void NineFace(Canvas& c, const Face& f, int radius) {
  auto row = [&](int y) {
    if (y < 8) return Lerp(f.top, f.mid, y - 1, 6);
    if (y < 16) return f.mid;
    return Lerp(f.mid, f.bottom, y - 16, 6);
  };
  c.Shape(RoundRect(0, 0, c.width, c.height, radius), [&](int) { return f.border; });
  c.Shape(RoundRect(1, 1, c.width - 1, c.height - 1, radius > 0 ? radius - 1 : 0), row);
}

// ---------------------------------------------------------------- caption

struct Caption {
  Rgb top, bottom, line;
};
const Caption kActive{Hex(0xF7FAFD), Hex(0xD3DFEC), Hex(0xA4B3C5)};
const Caption kInactive{Hex(0xF5F6F8), Hex(0xE1E4E9), Hex(0xBEC4CC)};
const int kCaptionHeight = 19;

Rgb CaptionRow(const Caption& k, int y) {
  if (y == 0) return kWhite;
  if (y == kCaptionHeight - 1) return k.line;
  return Lerp(k.top, k.bottom, y - 1, kCaptionHeight - 3);
}

void PaintCaption(Canvas& c, const Caption& k) {
  for (int y = 0; y < c.height; ++y) c.Fill(0, y, c.width, y + 1, CaptionRow(k, y));
}

// Caption buttons are drawn over caption rows 2..16, stretched to 17 x 15.
enum class Glyph { Close, Maximize, Restore, Minimize };
enum class Look { Normal, Hot, Down, Disabled };

void PaintGlyph(Canvas& c, Glyph g, Rgb ink) {
  switch (g) {
    case Glyph::Close:
      Stroke(c, {{11, 9}, {23, 21}}, 13, ink);
      Stroke(c, {{23, 9}, {11, 21}}, 13, ink);
      break;
    case Glyph::Maximize:
      c.Fill(5, 4, 12, 6, ink);
      c.Fill(5, 6, 6, 11, ink);
      c.Fill(11, 6, 12, 11, ink);
      c.Fill(5, 10, 12, 11, ink);
      break;
    case Glyph::Restore:
      c.Fill(7, 3, 13, 5, ink);    // back window: top bar,
      c.Fill(12, 5, 13, 9, ink);   // right side,
      c.Fill(7, 5, 8, 6, ink);     // the bit of its left side above the front window,
      c.Fill(10, 8, 12, 9, ink);   // the bit of its bottom right of it
      c.Fill(4, 6, 10, 8, ink);    // front window
      c.Fill(4, 8, 5, 12, ink);
      c.Fill(9, 8, 10, 12, ink);
      c.Fill(4, 11, 10, 12, ink);
      break;
    case Glyph::Minimize:
      c.Fill(5, 9, 12, 11, ink);
      break;
  }
}

void PaintCaptionButton(Canvas& c, Glyph g, Look look) {
  for (int y = 0; y < c.height; ++y) c.Fill(0, y, c.width, y + 1, CaptionRow(kActive, y + 2));
  bool close = g == Glyph::Close;
  Rgb ink = kInk;
  auto box = [&](Rgb border, Rgb top, Rgb bottom) {
    c.Shape(RoundRect(0, 0, c.width, c.height, 3), [&](int) { return border; });
    c.Shape(RoundRect(1, 1, c.width - 1, c.height - 1, 2), [&](int y) { return Lerp(top, bottom, y - 1, c.height - 3); });
  };
  switch (look) {
    case Look::Normal:
      break;
    case Look::Hot:
      if (close) {
        box(Hex(0xB3322D), Hex(0xE4605A), Hex(0xC83F3A));
        ink = kWhite;
      } else {
        box(Hex(0x8FAACA), Hex(0xFFFFFF), Hex(0xE4EEF9));
      }
      break;
    case Look::Down:
      if (close) {
        box(Hex(0x85221F), Hex(0xA02B27), Hex(0xB7403B));
        ink = kWhite;
      } else {
        box(Hex(0x6A86A6), Hex(0xBACADC), Hex(0xCFDBE8));
      }
      break;
    case Look::Disabled:
      ink = Hex(0xAAB5C2);
      break;
  }
  PaintGlyph(c, g, ink);
}

// ---------------------------------------------------------------- scroll bars

// Track across the bar: darker one-pixel edges along both long sides.
Rgb TrackAt(int across, int thickness) { return across == 0 || across == thickness - 1 ? kTrackEdge : kTrack; }

void PaintTrack(Canvas& c, bool vertical) {
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x) c.Set(x, y, vertical ? TrackAt(x, c.width) : TrackAt(y, c.height));
}

Rgb ThumbColour(Look look) {
  switch (look) {
    case Look::Hot: return Hex(0xBDCAD9);
    case Look::Down: return Hex(0x7EADE2);
    case Look::Disabled: return Hex(0x5B6A7C);
    default: return Hex(0xA0B0C2);
  }
}

// A pill 10 wide in the 16-pixel bar, 30 long, drawn by the nine-part grid:
// painted 16 across, then the one column (row) that the grid repeats dropped.
Canvas Thumb(bool vertical, Look look) {
  Canvas c(vertical ? 16 : 30, vertical ? 30 : 16, kTrack);
  PaintTrack(c, vertical);
  Rgb fill = ThumbColour(look);
  if (vertical)
    c.Shape(RoundRect(3, 1, 13, 29, 5), [&](int) { return fill; });
  else
    c.Shape(RoundRect(1, 3, 29, 13, 5), [&](int) { return fill; });
  return vertical ? c.WithoutColumn(10) : c.WithoutRow(10);
}

enum class Arrow { Left, Right, Up, Down };

void PaintArrow(Canvas& c, Arrow a, Look look, bool back) {
  PaintTrack(c, a == Arrow::Up || a == Arrow::Down);
  if (back) return;
  Rgb face = Hex(0x56677C), ink = Hex(0xE2E8EF);
  if (look == Look::Hot) face = Hex(0x66798F), ink = kWhite;
  if (look == Look::Down) face = Hex(0x3A78C2), ink = kWhite;
  if (look == Look::Disabled) face = Hex(0x4E5E71), ink = Hex(0x7D8B9B);
  c.Shape(RoundRect(1, 1, 15, 15, 3), [&](int) { return face; });
  const int w = 14;  // 1.75 pixels
  switch (a) {
    case Arrow::Up: Stroke(c, {{10, 19}, {16, 13}, {22, 19}}, w, ink); break;
    case Arrow::Down: Stroke(c, {{10, 13}, {16, 19}, {22, 13}}, w, ink); break;
    case Arrow::Left: Stroke(c, {{19, 10}, {13, 16}, {19, 22}}, w, ink); break;
    case Arrow::Right: Stroke(c, {{13, 10}, {19, 16}, {13, 22}}, w, ink); break;
  }
}

// ---------------------------------------------------------------- header

struct HeaderLook {
  Rgb top, bottom, line;
  int sortArrow;  // 0 none, 1 up, -1 down
};

void PaintHeader(Canvas& c, const HeaderLook& k, bool divider) {
  const int h = c.height;
  c.VGradient(0, 0, c.width, h - 1, k.top, k.bottom);
  c.Fill(0, h - 1, c.width, h, k.line);
  if (!divider) return;
  c.Fill(0, 0, 1, h - 1, Lerp(k.top, kWhite, 1, 2));               // light edge after the previous divider
  c.Fill(c.width - 1, 5, c.width, h - 5, Hex(0xBAC5D2));           // divider
  if (k.sortArrow == 0) return;
  Rgb ink = Hex(0x4F74A0);
  int cx = c.width - 5, top = h / 2 - 1;  // centred in the right third
  for (int i = 0; i < 3; ++i) {
    int y = k.sortArrow > 0 ? top + i : top + 2 - i;
    c.Fill(cx - i - 1, y, cx + i, y + 1, ink);
  }
}

// ---------------------------------------------------------------- the table

struct Art {
  SkinImage image;
  int width, height;
  void (*paint)(Canvas&);
  Canvas (*make)();  // for images whose size comes out of the drawing
};

// Light bands stretched across (mode 1).
void Band(Canvas& c, Rgb top, Rgb bottom) { c.VGradient(0, 0, c.width, c.height, top, bottom); }

#define PAINT(body) [](Canvas& c) { body; }

const std::vector<Art>& Arts() {
  static const std::vector<Art> arts = {
      // Tool bar (dormant): light band, hot and pressed boxes.
      {{"ToolBar", "Back", "BackDrawMode", 1, "toolbar_back.bmp", 400, 28, "tool bar"}, 32, 28,
       PAINT(Band(c, Hex(0xF8FAFC), Hex(0xE3E9EF)); c.Fill(0, 27, c.width, 28, Hex(0xC3CCD7))), nullptr},
      {{"ToolBar", "Normal", "NormalDrawMode", 4, "toolbar_normal.bmp", 23, 22, "button (not drawn)"}, 24, 24,
       PAINT(NineFace(c, kFlat, 3)), nullptr},
      {{"ToolBar", "Focus", "FocusDrawMode", 4, "toolbar_hot.bmp", 23, 22, "hot button"}, 24, 24,
       PAINT(NineFace(c, kHighlight, 3)), nullptr},
      {{"ToolBar", "Down", "DownDrawMode", 4, "toolbar_down.bmp", 23, 22, "pressed button"}, 24, 24,
       PAINT(NineFace(c, kSunken, 3)), nullptr},
      {{"ToolBar", "Disable", "DisableDrawMode", 4, "toolbar_disabled.bmp", 23, 22, "(not taken)"}, 24, 24,
       PAINT(NineFace(c, kFlatDisabled, 3)), nullptr},

      // Caption band of dialogs, frames and property sheets.
      {{"TitleBar", "Back", "BackDrawMode", 1, "title_back.bmp", 494, 19, "(not drawn)"}, 48, 19,
       PAINT(PaintCaption(c, kActive)), nullptr},
      {{"TitleBar", "Active", "ActiveDrawMode", 1, "title_active.bmp", 494, 19, "active caption"}, 48, 19,
       PAINT(PaintCaption(c, kActive)), nullptr},
      {{"TitleBar", "InActive", "InActiveDrawMode", 1, "title_inactive.bmp", 494, 19, "inactive caption"}, 48, 19,
       PAINT(PaintCaption(c, kInactive)), nullptr},

      // Caption buttons: 17 x 15, always stretched (mode 3).
      {{"ExitButton", "Normal", "NormalDrawMode", 3, "close_normal.bmp", 17, 15, "close"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Close, Look::Normal)), nullptr},
      {{"ExitButton", "Focus", "FocusDrawMode", 3, "close_hot.bmp", 17, 15, "close, hot"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Close, Look::Hot)), nullptr},
      {{"ExitButton", "Down", "DownDrawMode", 3, "close_down.bmp", 17, 15, "close, pressed"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Close, Look::Down)), nullptr},
      {{"ExitButton", "Disable", "DisableDrawMode", 3, "close_disabled.bmp", 17, 15, "close, disabled"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Close, Look::Disabled)), nullptr},
      {{"RestoreButton", "Normal", "NormalDrawMode", 3, "restore_normal.bmp", 17, 15, "restore"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Restore, Look::Normal)), nullptr},
      {{"RestoreButton", "Focus", "FocusDrawMode", 3, "restore_hot.bmp", 17, 15, "restore, hot"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Restore, Look::Hot)), nullptr},
      {{"RestoreButton", "Down", "DownDrawMode", 3, "restore_down.bmp", 17, 15, "restore, pressed"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Restore, Look::Down)), nullptr},
      {{"RestoreButton", "Disable", "DisableDrawMode", 3, "restore_disabled.bmp", 17, 15, "restore, disabled"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Restore, Look::Disabled)), nullptr},
      {{"MaximizeButton", "Normal", "NormalDrawMode", 3, "maximize_normal.bmp", 17, 15, "maximize"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Maximize, Look::Normal)), nullptr},
      {{"MaximizeButton", "Focus", "FocusDrawMode", 3, "maximize_hot.bmp", 17, 15, "maximize, hot"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Maximize, Look::Hot)), nullptr},
      {{"MaximizeButton", "Down", "DownDrawMode", 3, "maximize_down.bmp", 17, 15, "maximize, pressed"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Maximize, Look::Down)), nullptr},
      {{"MaximizeButton", "Disable", "DisableDrawMode", 3, "maximize_disabled.bmp", 17, 15, "maximize, disabled"},
       17, 15, PAINT(PaintCaptionButton(c, Glyph::Maximize, Look::Disabled)), nullptr},
      {{"MinimizeButton", "Normal", "NormalDrawMode", 3, "minimize_normal.bmp", 17, 15, "minimize"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Minimize, Look::Normal)), nullptr},
      {{"MinimizeButton", "Focus", "FocusDrawMode", 3, "minimize_hot.bmp", 17, 15, "minimize, hot"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Minimize, Look::Hot)), nullptr},
      {{"MinimizeButton", "Down", "DownDrawMode", 3, "minimize_down.bmp", 17, 15, "minimize, pressed"}, 17, 15,
       PAINT(PaintCaptionButton(c, Glyph::Minimize, Look::Down)), nullptr},
      {{"MinimizeButton", "Disable", "DisableDrawMode", 3, "minimize_disabled.bmp", 17, 15, "minimize, disabled"},
       17, 15, PAINT(PaintCaptionButton(c, Glyph::Minimize, Look::Disabled)), nullptr},

      // Menu bar row; its Back is also the background of skinned check boxes and radio buttons.
      {{"MenuBar", "Back", "BackDrawMode", 1, "menubar_back.bmp", 400, 19, "menu bar row"}, 32, 19,
       PAINT(Band(c, Hex(0xF7F9FB), Hex(0xE6EBF1))), nullptr},
      {{"MenuBar", "Normal", "NormalDrawMode", 1, "menubar_normal.bmp", 40, 19, "menu bar item"}, 32, 19,
       PAINT(Band(c, Hex(0xF7F9FB), Hex(0xE6EBF1))), nullptr},
      {{"MenuBar", "Focus", "FocusDrawMode", 4, "menubar_hot.bmp", 40, 19, "hot item"}, 24, 24,
       PAINT(NineFace(c, kHighlight, 3)), nullptr},
      {{"MenuBar", "Down", "DownDrawMode", 4, "menubar_open.bmp", 40, 19, "open item"}, 24, 24,
       PAINT(NineFace(c, kSunken, 3)), nullptr},
      {{"MenuBar", "Disable", "DisableDrawMode", 1, "menubar_disabled.bmp", 40, 19, "(stored only)"}, 32, 19,
       PAINT(Band(c, Hex(0xF2F4F6), Hex(0xE8EBEE))), nullptr},

      // Pop-up menu items: 20 rows high, icon column 22 wide.
      {{"MenuItem", "Back", "BackDrawMode", 3, "menuitem_back.bmp", 160, 20, "(stored only)"}, 32, 20,
       PAINT(c.Fill(0, 0, c.width, c.height, kMenuFace)), nullptr},
      {{"MenuItem", "Normal", "NormalDrawMode", 3, "menuitem_normal.bmp", 138, 20, "text area"}, 32, 20,
       PAINT(c.Fill(0, 0, c.width, c.height, kMenuFace)), nullptr},
      {{"MenuItem", "Focus", "FocusDrawMode", 4, "menuitem_hot.bmp", 138, 20, "selected item"}, 24, 24,
       PAINT(NineFace(c, kHighlight, 2)), nullptr},
      {{"MenuItem", "Slider", "SliderDrawMode", 3, "menuitem_icons.bmp", 22, 20, "icon column"}, 22, 20,
       PAINT(c.Fill(0, 0, 21, c.height, Hex(0xE8EDF3)); c.Fill(21, 0, 22, c.height, Hex(0xD3DBE5))), nullptr},
      {{"MenuItem", "Disable", "DisableDrawMode", 3, "menuitem_disabled.bmp", 138, 20, "(stored only)"}, 32, 20,
       PAINT(c.Fill(0, 0, c.width, c.height, kMenuFace)), nullptr},

      {{"StatusBar", "Back", "BackDrawMode", 1, "statusbar_back.bmp", 160, 18, "status pane"}, 32, 22,
       PAINT(Band(c, Hex(0xF3F6F9), Hex(0xE0E6ED))), nullptr},

      // Push buttons (75 x 23 in the wizard): nine-part grid.
      {{"Button", "Normal", "NormalDrawMode", 4, "button_normal.bmp", 75, 23, "button"}, 24, 24,
       PAINT(NineFace(c, kButtonNormal, 3)), nullptr},
      {{"Button", "Focus", "FocusDrawMode", 4, "button_hot.bmp", 75, 23, "hot or focused"}, 24, 24,
       PAINT(NineFace(c, kButtonHot, 3)), nullptr},
      {{"Button", "Down", "DownDrawMode", 4, "button_down.bmp", 75, 23, "pressed"}, 24, 24,
       PAINT(NineFace(c, kButtonDown, 3)), nullptr},
      {{"Button", "Disable", "DisableDrawMode", 4, "button_disabled.bmp", 75, 23, "disabled"}, 24, 24,
       PAINT(NineFace(c, kButtonDisabled, 3)), nullptr},

      {{"ListCtrl", "Back", "BackDrawMode", 0, "list_back.bmp", 200, 80, "(stored only)"}, 32, 32,
       PAINT(c.Fill(0, 0, c.width, c.height, Hex(0xF2F4F7))), nullptr},

      // Column header: 25 rows (1.5 x 17); left, middle and right thirds (mode 7).
      {{"HeaderCtrl", "Back", "BackDrawMode", 7, "header_back.bmp", 300, 25, "empty header"}, 24, 25,
       PAINT(PaintHeader(c, {Hex(0xFBFCFD), Hex(0xE4E9EF), Hex(0xA3B1C1), 0}, false)), nullptr},
      {{"HeaderCtrl", "Normal", "NormalDrawMode", 7, "header_normal.bmp", 100, 25, "column"}, 24, 25,
       PAINT(PaintHeader(c, {Hex(0xFBFCFD), Hex(0xE4E9EF), Hex(0xA3B1C1), 0}, true)), nullptr},
      {{"HeaderCtrl", "Focus", "FocusDrawMode", 7, "header_sortup.bmp", 100, 25, "sorted up"}, 24, 25,
       PAINT(PaintHeader(c, {Hex(0xF2F7FD), Hex(0xD8E5F4), Hex(0x6F98C8), 1}, true)), nullptr},
      {{"HeaderCtrl", "Down", "DownDrawMode", 7, "header_sortdown.bmp", 100, 25, "sorted down"}, 24, 25,
       PAINT(PaintHeader(c, {Hex(0xF2F7FD), Hex(0xD8E5F4), Hex(0x6F98C8), -1}, true)), nullptr},
      {{"HeaderCtrl", "Disable", "DisableDrawMode", 7, "header_disabled.bmp", 100, 25, "(not drawn)"}, 24, 25,
       PAINT(PaintHeader(c, {Hex(0xF4F5F7), Hex(0xE6E8EB), Hex(0xBFC5CC), 0}, true)), nullptr},

      // Scroll bars, 16 thick: track tiles (mode 0), thumbs on the grid, arrows 16 x 16.
      {{"ScrollBarHorizontal", "Back", "BackDrawMode", 0, "hscroll_track.bmp", 200, 16, "track"}, 32, 16,
       PAINT(PaintTrack(c, false)), nullptr},
      {{"ScrollBarHorizontal", "Normal", "NormalDrawMode", 4, "hscroll_thumb.bmp", 30, 16, "thumb"}, 0, 0, nullptr,
       [] { return Thumb(false, Look::Normal); }},
      {{"ScrollBarHorizontal", "Focus", "FocusDrawMode", 4, "hscroll_thumb_hot.bmp", 30, 16, "(not drawn)"}, 0, 0,
       nullptr, [] { return Thumb(false, Look::Hot); }},
      {{"ScrollBarHorizontal", "Down", "DownDrawMode", 4, "hscroll_thumb_down.bmp", 30, 16, "dragged thumb"}, 0, 0,
       nullptr, [] { return Thumb(false, Look::Down); }},
      {{"ScrollBarHorizontal", "Disable", "DisableDrawMode", 4, "hscroll_thumb_disabled.bmp", 30, 16, "disabled"},
       0, 0, nullptr, [] { return Thumb(false, Look::Disabled); }},
      {{"ScrollBarVertical", "Back", "BackDrawMode", 0, "vscroll_track.bmp", 16, 120, "track"}, 16, 32,
       PAINT(PaintTrack(c, true)), nullptr},
      {{"ScrollBarVertical", "Normal", "NormalDrawMode", 4, "vscroll_thumb.bmp", 16, 30, "thumb"}, 0, 0, nullptr,
       [] { return Thumb(true, Look::Normal); }},
      {{"ScrollBarVertical", "Focus", "FocusDrawMode", 4, "vscroll_thumb_hot.bmp", 16, 30, "(not drawn)"}, 0, 0,
       nullptr, [] { return Thumb(true, Look::Hot); }},
      {{"ScrollBarVertical", "Down", "DownDrawMode", 4, "vscroll_thumb_down.bmp", 16, 30, "dragged thumb"}, 0, 0,
       nullptr, [] { return Thumb(true, Look::Down); }},
      {{"ScrollBarVertical", "Disable", "DisableDrawMode", 4, "vscroll_thumb_disabled.bmp", 16, 30, "disabled"}, 0,
       0, nullptr, [] { return Thumb(true, Look::Disabled); }},
#define ARROW(section, name, dir)                                                                                  \
  {{section, "Back", "BackDrawMode", 3, name "_back.bmp", 16, 16, "(not drawn)"}, 16, 16,                          \
   PAINT(PaintArrow(c, dir, Look::Normal, true)), nullptr},                                                        \
      {{section, "Normal", "NormalDrawMode", 3, name ".bmp", 16, 16, "arrow"}, 16, 16,                             \
       PAINT(PaintArrow(c, dir, Look::Normal, false)), nullptr},                                                   \
      {{section, "Focus", "FocusDrawMode", 3, name "_hot.bmp", 16, 16, "(not drawn)"}, 16, 16,                     \
       PAINT(PaintArrow(c, dir, Look::Hot, false)), nullptr},                                                      \
      {{section, "Down", "DownDrawMode", 3, name "_down.bmp", 16, 16, "pressed"}, 16, 16,                          \
       PAINT(PaintArrow(c, dir, Look::Down, false)), nullptr},                                                     \
      {{section, "Disable", "DisableDrawMode", 3, name "_disabled.bmp", 16, 16, "disabled"}, 16, 16,               \
       PAINT(PaintArrow(c, dir, Look::Disabled, false)), nullptr}
      ARROW("ScrollBarLeftArrow", "arrow_left", Arrow::Left),
      ARROW("ScrollBarRightArrow", "arrow_right", Arrow::Right),
      ARROW("ScrollBarUpArrow", "arrow_up", Arrow::Up),
      ARROW("ScrollBarDownArrow", "arrow_down", Arrow::Down),
#undef ARROW

      {{"TreeCtrl", "Back", "BackDrawMode", 0, "tree_back.bmp", 200, 120, "tree background"}, 32, 32,
       PAINT(c.Fill(0, 0, c.width, c.height, Hex(0xF7F9FB))), nullptr},

      // Slate background of every dialog and page, and of non-transparent statics.
      {{"Dialog", "Back", "BackDrawMode", 0, "dialog_back.bmp", 300, 120, "dialog background"}, 32, 32,
       PAINT(c.Fill(0, 0, c.width, c.height, kDialog)), nullptr},
      {{"StaticCtrl", "Back", "BackDrawMode", 0, "static_back.bmp", 200, 20, "static background"}, 32, 32,
       PAINT(c.Fill(0, 0, c.width, c.height, kDialog)), nullptr},
      {{"SheetCtrl", "Back", "BackDrawMode", 0, "sheet_back.bmp", 200, 40, "(held only)"}, 32, 32,
       PAINT(c.Fill(0, 0, c.width, c.height, kDialog)), nullptr},

      // Tab control and property pages: a light page.
      {{"TabCtrl", "Back", "BackDrawMode", 0, "tab_back.bmp", 300, 120, "tab page"}, 32, 32,
       PAINT(c.Fill(0, 0, c.width, c.height, kPanel)), nullptr},
      {{"TabCtrl", "tabnormal", "NornalDrawMode", 4, "tab_normal.bmp", 70, 21, "(not drawn)"}, 24, 24,
       PAINT(NineFace(c, kFlat, 3)), nullptr},
      {{"TabCtrl", "tabsel", "FocusDrawMode", 4, "tab_selected.bmp", 70, 21, "(not drawn)"}, 24, 24,
       PAINT(NineFace(c, kField, 3)), nullptr},

      // Combo box: field, drop button (16 x 17), selected list item.
      {{"ComboboxCtrl", "Back", "BackDrawMode", 4, "combo_back.bmp", 150, 21, "field, list item"}, 24, 24,
       PAINT(NineFace(c, kField, 2)), nullptr},
      {{"ComboboxCtrl", "Arrow", "ArrowDrawMode", 3, "combo_arrow.bmp", 16, 17, "drop button"}, 16, 17,
       PAINT(c.VGradient(0, 0, 16, 17, Hex(0xF8FAFC), Hex(0xE2E8EF)); c.Fill(0, 1, 1, 16, Hex(0xC6CFDA));
             Stroke(c, {{11, 14}, {17, 20}, {23, 14}}, 13, kInk)),
       nullptr},
      {{"ComboboxCtrl", "Focus", "FocusDrawMode", 4, "combo_focus.bmp", 150, 16, "focused item"}, 24, 24,
       PAINT(NineFace(c, kFieldFocus, 2)), nullptr},
  };
  return arts;
}

#undef PAINT

Canvas Draw(const Art& a) {
  if (a.make) return a.make();
  Canvas c(a.width, a.height, kWhite);
  a.paint(c);
  return c;
}

uint32_t ColorRef(Rgb c) { return uint32_t(c.r) | uint32_t(c.g) << 8 | uint32_t(c.b) << 16; }

// The window frame rings, outside in: a crisp outline, then two rings of the
// caption's light chrome.
const Rgb kBorder[4] = {Hex(0x4F6074), Hex(0xC9D4E1), Hex(0xE6ECF3), Hex(0xE6ECF3)};

}  // namespace

const std::vector<SkinImage>& SkinImages() {
  static const std::vector<SkinImage> images = [] {
    std::vector<SkinImage> v;
    for (const Art& a : Arts()) v.push_back(a.image);
    return v;
  }();
  return images;
}

unsigned BorderColor(int ring) { return ColorRef(kBorder[ring < 0 ? 0 : ring > 3 ? 3 : ring]); }

std::string SkinIniText() {
  std::string out =
      "vAdev skin of Trellian, drawn by tools/skingen; do not edit by hand.\n"
      "Draw modes: 0 tile, 1 bands stretched across, 3 stretched, 4 nine-part grid, 7 thirds.\n"
      "Colours are decimal COLORREF values (blue * 65536 + green * 256 + red).\n";
  const char* open = nullptr;
  std::string modes;
  auto close = [&] {
    if (!open) return;
    out += modes + ">\n";
    modes.clear();
  };
  for (const SkinImage& s : SkinImages()) {
    if (!open || std::string(open) != s.section) {
      close();
      out += std::string("\n<") + s.section + "\n";
      open = s.section;
    }
    out += std::string("  ") + s.key + "=" + s.file + "\n";
    modes += std::string("  ") + s.modeKey + "=" + std::to_string(s.mode) + "\n";
  }
  close();
  out += "\n<BorderColor\n";
  for (int i = 0; i < 4; ++i) out += "  Color" + std::to_string(i) + "=" + std::to_string(BorderColor(i)) + "\n";
  out += ">\n";
  return out;
}

bool WriteSkin(const std::string& folder, std::string* error) {
  auto fail = [&](const std::string& path) {
    if (error) *error = path;
    return false;
  };
  for (const Art& a : Arts()) {
    Canvas c = Draw(a);
    HBITMAP bm = c.ToBitmap();
    std::string path = folder + "/" + a.image.file;
    bool ok = bm && PlatformWriteBmpFile(bm, 24, path.c_str());
    if (bm) DeleteObject(bm);
    if (!ok) return fail(path);
  }
  std::string path = folder + "/skin.ini";
  FILE* fp = std::fopen(path.c_str(), "wb");
  if (!fp) return fail(path);
  std::string text = SkinIniText();
  bool ok = std::fwrite(text.data(), 1, text.size(), fp) == text.size();
  ok = std::fclose(fp) == 0 && ok;
  return ok ? true : fail(path);
}

}  // namespace skinart
