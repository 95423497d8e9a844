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
#include <functional>
#include <memory>
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

const Rgb kDialog = Hex(0x2C3947);  // slate page background, white text on it
const Rgb kInk = Hex(0x2F3A48);     // glyphs on light chrome
const Rgb kWhite = Hex(0xFFFFFF);
const Rgb kTrack = Hex(0x4A596B);  // scroll bar track
const Rgb kTrackEdge = Hex(0x425063);
const Rgb kPanel = Hex(0xEEF2F6);  // light page of tab controls and property pages
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
      c.Fill(7, 3, 13, 5, ink);   // back window: top bar,
      c.Fill(12, 5, 13, 9, ink);  // right side,
      c.Fill(7, 5, 8, 6, ink);    // the bit of its left side above the front window,
      c.Fill(10, 8, 12, 9, ink);  // the bit of its bottom right of it
      c.Fill(4, 6, 10, 8, ink);   // front window
      c.Fill(4, 8, 5, 12, ink);
      c.Fill(9, 8, 10, 12, ink);
      c.Fill(4, 11, 10, 12, ink);
      break;
    case Glyph::Minimize:
      c.Fill(5, 9, 12, 11, ink);
      break;
  }
}

// Boxes behind the glyph of a hot and a pressed caption button: [0] the
// plain buttons, [1] the close button, which turns red with a white cross.
struct CaptionBox {
  Rgb border, top, bottom;
};
const CaptionBox kHotBox[2] = {{Hex(0x8FAACA), Hex(0xFFFFFF), Hex(0xE4EEF9)},
                               {Hex(0xB3322D), Hex(0xE4605A), Hex(0xC83F3A)}};
const CaptionBox kDownBox[2] = {{Hex(0x6A86A6), Hex(0xBACADC), Hex(0xCFDBE8)},
                                {Hex(0x85221F), Hex(0xA02B27), Hex(0xB7403B)}};

void PaintCaptionButton(Canvas& c, Glyph g, Look look) {
  for (int y = 0; y < c.height; ++y) c.Fill(0, y, c.width, y + 1, CaptionRow(kActive, y + 2));
  const int close = g == Glyph::Close ? 1 : 0;
  Rgb ink = look == Look::Disabled ? Hex(0xAAB5C2) : kInk;
  if (look == Look::Hot || look == Look::Down) {
    const CaptionBox& b = (look == Look::Hot ? kHotBox : kDownBox)[close];
    c.Shape(RoundRect(0, 0, c.width, c.height, 3), [&](int) { return b.border; });
    c.Shape(RoundRect(1, 1, c.width - 1, c.height - 1, 2),
            [&](int y) { return Lerp(b.top, b.bottom, y - 1, c.height - 3); });
    if (close) ink = kWhite;
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
    case Look::Hot:
      return Hex(0xBDCAD9);
    case Look::Down:
      return Hex(0x7EADE2);
    case Look::Disabled:
      return Hex(0x5B6A7C);
    default:
      return Hex(0xA0B0C2);
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
    case Arrow::Up:
      Stroke(c, {{10, 19}, {16, 13}, {22, 19}}, w, ink);
      break;
    case Arrow::Down:
      Stroke(c, {{10, 13}, {16, 19}, {22, 13}}, w, ink);
      break;
    case Arrow::Left:
      Stroke(c, {{19, 10}, {13, 16}, {19, 22}}, w, ink);
      break;
    case Arrow::Right:
      Stroke(c, {{13, 10}, {19, 16}, {13, 22}}, w, ink);
      break;
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
  c.Fill(0, 0, 1, h - 1, Lerp(k.top, kWhite, 1, 2));      // light edge after the previous divider
  c.Fill(c.width - 1, 5, c.width, h - 5, Hex(0xBAC5D2));  // divider
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
  std::function<Canvas()> draw;
};

// An image of a fixed size painted by `paint`.
std::function<Canvas()> Sized(int w, int h, std::function<void(Canvas&)> paint) {
  return [=] {
    Canvas c(w, h, kWhite);
    paint(c);
    return c;
  };
}

// Light bands stretched across (mode 1).
std::function<Canvas()> Band(int w, int h, Rgb top, Rgb bottom) {
  return Sized(w, h, [=](Canvas& c) { c.VGradient(0, 0, w, h, top, bottom); });
}
std::function<Canvas()> Solid(Rgb colour) {
  return Sized(32, 32, [=](Canvas& c) { c.Fill(0, 0, 32, 32, colour); });
}
std::function<Canvas()> Nine(const Face& face, int radius) {
  return Sized(24, 24, [=](Canvas& c) { NineFace(c, face, radius); });
}

struct State {
  const char* key;
  const char* suffix;
  Look look;
};
const State kStates[] = {{"Normal", "", Look::Normal},
                         {"Focus", "_hot", Look::Hot},
                         {"Down", "_down", Look::Down},
                         {"Disable", "_disabled", Look::Disabled}};

// The file names outlive the table: kept in one list that only grows at start.
const char* Name(const std::string& name) {
  static std::vector<std::unique_ptr<std::string>> names;
  names.push_back(std::make_unique<std::string>(name));
  return names.back()->c_str();
}

const char* ModeKey(const char* key) { return Name(std::string(key) + "DrawMode"); }

std::vector<Art> MakeArts() {
  std::vector<Art> a;
  auto add = [&](const char* section, const char* key, int mode, const char* file, int shownW, int shownH,
                 const char* use, std::function<Canvas()> draw) {
    a.push_back({{section, key, ModeKey(key), mode, file, shownW, shownH, use}, std::move(draw)});
  };
  const HeaderLook headerPlain{Hex(0xFBFCFD), Hex(0xE4E9EF), Hex(0xA3B1C1), 0};
  auto header = [](HeaderLook k, bool divider) {
    return Sized(24, 25, [=](Canvas& c) { PaintHeader(c, k, divider); });
  };

  // Tool bar (dormant): light band, hot and pressed boxes.
  add("ToolBar", "Back", 1, "toolbar_back.bmp", 400, 28, "tool bar", Sized(32, 28, [](Canvas& c) {
        c.VGradient(0, 0, 32, 27, Hex(0xF8FAFC), Hex(0xE3E9EF));
        c.Fill(0, 27, 32, 28, Hex(0xC3CCD7));
      }));
  add("ToolBar", "Normal", 4, "toolbar_normal.bmp", 23, 22, "button (not drawn)", Nine(kFlat, 3));
  add("ToolBar", "Focus", 4, "toolbar_hot.bmp", 23, 22, "hot button", Nine(kHighlight, 3));
  add("ToolBar", "Down", 4, "toolbar_down.bmp", 23, 22, "pressed button", Nine(kSunken, 3));
  add("ToolBar", "Disable", 4, "toolbar_disabled.bmp", 23, 22, "(not taken)", Nine(kFlatDisabled, 3));

  // Caption band of dialogs, frames and property sheets.
  auto caption = [](const Caption& k) { return Sized(48, 19, [&k](Canvas& c) { PaintCaption(c, k); }); };
  add("TitleBar", "Back", 1, "title_back.bmp", 494, 19, "(not drawn)", caption(kActive));
  add("TitleBar", "Active", 1, "title_active.bmp", 494, 19, "active caption", caption(kActive));
  add("TitleBar", "InActive", 1, "title_inactive.bmp", 494, 19, "inactive caption", caption(kInactive));

  // Caption buttons: 17 x 15, always stretched (mode 3).
  struct CaptionButton {
    const char* section;
    const char* name;
    Glyph glyph;
  };
  const CaptionButton buttons[] = {{"ExitButton", "close", Glyph::Close},
                                   {"RestoreButton", "restore", Glyph::Restore},
                                   {"MaximizeButton", "maximize", Glyph::Maximize},
                                   {"MinimizeButton", "minimize", Glyph::Minimize}};
  for (const CaptionButton& b : buttons)
    for (const State& st : kStates) {
      std::string file = std::string(b.name) + (st.suffix[0] ? st.suffix : "_normal") + ".bmp";
      Glyph g = b.glyph;
      Look look = st.look;
      add(b.section, st.key, 3, Name(file), 17, 15, "caption button",
          Sized(17, 15, [=](Canvas& c) { PaintCaptionButton(c, g, look); }));
    }

  // Menu bar row; its Back is also the background of skinned check boxes and radio buttons.
  add("MenuBar", "Back", 1, "menubar_back.bmp", 400, 19, "menu bar row", Band(32, 19, Hex(0xF7F9FB), Hex(0xE6EBF1)));
  add("MenuBar", "Normal", 1, "menubar_normal.bmp", 40, 19, "menu bar item",
      Band(32, 19, Hex(0xF7F9FB), Hex(0xE6EBF1)));
  add("MenuBar", "Focus", 4, "menubar_hot.bmp", 40, 19, "hot item", Nine(kHighlight, 3));
  add("MenuBar", "Down", 4, "menubar_open.bmp", 40, 19, "open item", Nine(kSunken, 3));
  add("MenuBar", "Disable", 1, "menubar_disabled.bmp", 40, 19, "(stored only)",
      Band(32, 19, Hex(0xF2F4F6), Hex(0xE8EBEE)));

  // Pop-up menu items: 20 rows high, icon column 22 wide.
  auto menuFace = Sized(32, 20, [](Canvas& c) { c.Fill(0, 0, 32, 20, kMenuFace); });
  add("MenuItem", "Back", 3, "menuitem_back.bmp", 160, 20, "(stored only)", menuFace);
  add("MenuItem", "Normal", 3, "menuitem_normal.bmp", 138, 20, "text area", menuFace);
  add("MenuItem", "Focus", 4, "menuitem_hot.bmp", 138, 20, "selected item", Nine(kHighlight, 2));
  add("MenuItem", "Slider", 3, "menuitem_icons.bmp", 22, 20, "icon column", Sized(22, 20, [](Canvas& c) {
        c.Fill(0, 0, 21, 20, Hex(0xE8EDF3));
        c.Fill(21, 0, 22, 20, Hex(0xD3DBE5));
      }));
  add("MenuItem", "Disable", 3, "menuitem_disabled.bmp", 138, 20, "(stored only)", menuFace);

  add("StatusBar", "Back", 1, "statusbar_back.bmp", 160, 18, "status pane", Band(32, 22, Hex(0xF3F6F9), Hex(0xE0E6ED)));

  // Push buttons (75 x 23 in the wizard): nine-part grid.
  const Face* faces[] = {&kButtonNormal, &kButtonHot, &kButtonDown, &kButtonDisabled};
  for (int i = 0; i < 4; ++i)
    add("Button", kStates[i].key, 4, Name(std::string("button") + (i ? kStates[i].suffix : "_normal") + ".bmp"), 75, 23,
        "push button", Nine(*faces[i], 3));

  add("ListCtrl", "Back", 0, "list_back.bmp", 200, 80, "(stored only)", Solid(Hex(0xF2F4F7)));

  // Column header: 25 rows (1.5 x 17); left, middle and right thirds (mode 7).
  add("HeaderCtrl", "Back", 7, "header_back.bmp", 300, 25, "empty header", header(headerPlain, false));
  add("HeaderCtrl", "Normal", 7, "header_normal.bmp", 100, 25, "column", header(headerPlain, true));
  add("HeaderCtrl", "Focus", 7, "header_sortup.bmp", 100, 25, "sorted up",
      header({Hex(0xF2F7FD), Hex(0xD8E5F4), Hex(0x6F98C8), 1}, true));
  add("HeaderCtrl", "Down", 7, "header_sortdown.bmp", 100, 25, "sorted down",
      header({Hex(0xF2F7FD), Hex(0xD8E5F4), Hex(0x6F98C8), -1}, true));
  add("HeaderCtrl", "Disable", 7, "header_disabled.bmp", 100, 25, "(not drawn)",
      header({Hex(0xF4F5F7), Hex(0xE6E8EB), Hex(0xBFC5CC), 0}, true));

  // Scroll bars, 16 thick: track tiles (mode 0), thumbs on the grid, arrows 16 x 16 (the
  // Focus images and the arrows' Back are not drawn by the scroll bar).
  for (bool vertical : {false, true}) {
    const char* section = vertical ? "ScrollBarVertical" : "ScrollBarHorizontal";
    std::string name = vertical ? "vscroll" : "hscroll";
    add(section, "Back", 0, Name(name + "_track.bmp"), vertical ? 16 : 200, vertical ? 120 : 16, "track",
        Sized(vertical ? 16 : 32, vertical ? 32 : 16, [=](Canvas& c) { PaintTrack(c, vertical); }));
    for (const State& st : kStates) {
      Look look = st.look;
      add(section, st.key, 4, Name(name + "_thumb" + st.suffix + ".bmp"), vertical ? 16 : 30, vertical ? 30 : 16,
          "thumb", [=] { return Thumb(vertical, look); });
    }
  }
  struct ArrowSection {
    const char* section;
    const char* name;
    Arrow arrow;
  };
  const ArrowSection arrows[] = {{"ScrollBarLeftArrow", "arrow_left", Arrow::Left},
                                 {"ScrollBarRightArrow", "arrow_right", Arrow::Right},
                                 {"ScrollBarUpArrow", "arrow_up", Arrow::Up},
                                 {"ScrollBarDownArrow", "arrow_down", Arrow::Down}};
  for (const ArrowSection& s : arrows) {
    Arrow dir = s.arrow;
    add(s.section, "Back", 3, Name(std::string(s.name) + "_back.bmp"), 16, 16, "(not drawn)",
        Sized(16, 16, [=](Canvas& c) { PaintArrow(c, dir, Look::Normal, true); }));
    for (const State& st : kStates) {
      Look look = st.look;
      add(s.section, st.key, 3, Name(std::string(s.name) + st.suffix + ".bmp"), 16, 16, "arrow",
          Sized(16, 16, [=](Canvas& c) { PaintArrow(c, dir, look, false); }));
    }
  }

  add("TreeCtrl", "Back", 0, "tree_back.bmp", 200, 120, "tree background", Solid(Hex(0xF7F9FB)));

  // Slate background of every dialog and page, and of non-transparent statics.
  add("Dialog", "Back", 0, "dialog_back.bmp", 300, 120, "dialog background", Solid(kDialog));
  add("StaticCtrl", "Back", 0, "static_back.bmp", 200, 20, "static background", Solid(kDialog));
  add("SheetCtrl", "Back", 0, "sheet_back.bmp", 200, 40, "(held only)", Solid(kDialog));

  // Tab control and property pages: a light page; the tab images are stored only.
  add("TabCtrl", "Back", 0, "tab_back.bmp", 300, 120, "tab page", Solid(kPanel));
  add("TabCtrl", "tabnormal", 4, "tab_normal.bmp", 70, 21, "(not drawn)", Nine(kFlat, 3));
  a.back().image.modeKey = "NornalDrawMode";  // so spelled by the loader
  add("TabCtrl", "tabsel", 4, "tab_selected.bmp", 70, 21, "(not drawn)", Nine(kField, 3));
  a.back().image.modeKey = "FocusDrawMode";

  // Combo box: field, drop button (16 x 17), selected list item.
  add("ComboboxCtrl", "Back", 4, "combo_back.bmp", 150, 21, "field, list item", Nine(kField, 2));
  add("ComboboxCtrl", "Arrow", 3, "combo_arrow.bmp", 16, 17, "drop button", Sized(16, 17, [](Canvas& c) {
        c.VGradient(0, 0, 16, 17, Hex(0xF8FAFC), Hex(0xE2E8EF));
        c.Fill(0, 1, 1, 16, Hex(0xC6CFDA));
        Stroke(c, {{11, 14}, {17, 20}, {23, 14}}, 13, kInk);
      }));
  add("ComboboxCtrl", "Focus", 4, "combo_focus.bmp", 150, 16, "focused item", Nine(kFieldFocus, 2));
  return a;
}

const std::vector<Art>& Arts() {
  static const std::vector<Art> arts = MakeArts();
  return arts;
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
      "Draw modes: 0 tile, 1 bands stretched across, 3 stretched, 4 nine-part "
      "grid, 7 thirds.\n"
      "Colours are decimal COLORREF values (blue * 65536 + green * 256 + "
      "red).\n";
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
    Canvas c = a.draw();
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
