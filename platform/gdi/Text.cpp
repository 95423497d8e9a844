// Text with FreeType, in stand-ins for the Windows faces (the bitmap faces of
// fonts-wine, the Liberation faces, DejaVu for the rest), drawn without
// anti-aliasing so that output is the same on every machine and colour-keyed
// copies of text leave no fringes.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H
#include FT_WINFONTS_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <unordered_map>

#include "GdiInternal.h"

namespace gdi {

namespace {

const char* const kDejaVuDir = "/usr/share/fonts/truetype/dejavu/";
const char* const kLiberationDir = "/usr/share/fonts/truetype/liberation2/";
const char* const kWineDir = "/usr/share/wine/fonts/";

struct Glyph {
  int left = 0, top = 0, width = 0, rows = 0, advance = 0;
  std::vector<uint8_t> bits;  // one byte per pixel, 1 = ink
};

// One face file at one pixel size, with Windows-style metrics.
struct FontFace {
  FT_Face face = nullptr;
  // This pixel size's own scaling and hinting state: switching the face's
  // size for every glyph would run the font's set-up program each time.
  FT_Size size = nullptr;
  int ppem = 0;
  int xppem = 0;  // horizontal size; differs from ppem when a width was asked for
  int ascent = 0, descent = 0, height = 0, internalLeading = 0, aveWidth = 0, maxWidth = 0;
  int underlinePos = 0, underlineThick = 1, strikePos = 0;
  bool fixed = false;
  bool bitmap = false;  // a strike of a bitmap face, addressed by the 8-bit code itself
  bool embolden = false;  // a bold weight the strike lacks, overstruck one pixel to the right
  std::unordered_map<uint32_t, Glyph> glyphs;
};

struct FontSystem {
  FT_Library lib = nullptr;
  bool failed = false;
  std::map<std::string, FT_Face> faces;  // by file and face index
  // By file, em, horizontal em and cell (0: the face's own; -1: an overstruck strike).
  std::map<std::tuple<std::string, int, int, int>, std::unique_ptr<FontFace>> sized;
};

// Never destroyed, with the GDI lock: fonts a program's static objects hold
// may be freed at exit, after the other statics are gone.
FontSystem& Fonts() {
  static auto* fs = new FontSystem;
  if (!fs->lib && !fs->failed && FT_Init_FreeType(&fs->lib) != 0) fs->failed = true;
  return *fs;
}

// Stand-ins for the faces programs ask for, chosen for widths that match the
// originals, since layouts are drawn to those widths: the bitmap faces made to
// the metrics of the Windows raster faces, the Liberation faces metric
// compatible with the Windows outline faces. `strikes` are bitmap faces in
// files holding one cell height per face index; `outline` is the family for
// every other height (its "-Bold", "-Italic" and "-BoldItalic" files beside
// the regular one).
struct Strike {
  const char* file;
  int index;
};

struct StandIn {
  const char* faces[4];
  Strike strikes[3];
  const char* outline;
  bool fixed;
};

const StandIn kStandIns[] = {
    {{"ms sans serif", "ms shell dlg", "ms shell dlg 2", "microsoft sans serif"},
     {{"sserife.fon", 0}, {"sserife.fon", 1}, {"sserife.fon", 2}},
     "LiberationSans",
     false},
    {{"arial", "helvetica"}, {}, "LiberationSans", false},
    {{"tahoma"}, {}, "tahoma", false},
    {{"courier"}, {{"coure.fon", 0}}, "LiberationMono", true},
    {{"courier new"}, {}, "LiberationMono", true},
    {{"fixedsys"}, {{"vgafix.fon", 0}}, "DejaVuSansMono", true},
    {{"system"}, {{"vgasys.fon", 0}}, "DejaVuSans", false},
    {{"times new roman", "times"}, {}, "LiberationSerif", false},
};

const StandIn* StandInFor(const char* face) {
  for (const StandIn& s : kStandIns)
    for (const char* f : s.faces)
      if (f && strcasecmp(face, f) == 0) return &s;
  return nullptr;
}

bool IsFixedFace(const char* face) {
  static const char* const fixed[] = {"terminal", "lucida console", "consolas", "dejavu sans mono", "monospace"};
  if (const StandIn* s = StandInFor(face)) return s->fixed;
  for (const char* f : fixed)
    if (strcasecmp(face, f) == 0) return true;
  return false;
}

// Outline font files for a description, best first, ending with DejaVu,
// which stands in for every other face and for stand-ins not installed. An
// italic request falls back to the upright face.
std::vector<std::string> FilesFor(const LOGFONTA& lf) {
  bool known = lf.lfFaceName[0] != 0;
  bool mono = IsFixedFace(lf.lfFaceName) || (!known && (lf.lfPitchAndFamily & 3) == FIXED_PITCH);
  bool bold = lf.lfWeight >= FW_SEMIBOLD;
  std::vector<std::string> files;
  const StandIn* s = StandInFor(lf.lfFaceName);
  std::string family = s ? s->outline : "";
  if (family == "tahoma") {
    // Tahoma comes as two files, regular and bold, with no italics.
    files.push_back(std::string(kWineDir) + (bold ? "tahomabd.ttf" : "tahoma.ttf"));
  } else if (family.rfind("Liberation", 0) == 0) {
    std::string base = kLiberationDir + family;
    if (lf.lfItalic) files.push_back(base + (bold ? "-BoldItalic" : "-Italic") + ".ttf");
    files.push_back(base + (bold ? "-Bold" : "-Regular") + ".ttf");
  }
  std::string base = std::string(kDejaVuDir) + (mono ? "DejaVuSansMono" : "DejaVuSans");
  if (lf.lfItalic) files.push_back(base + (bold ? "-BoldOblique" : "-Oblique") + ".ttf");
  files.push_back(base + (bold ? "-Bold" : "") + ".ttf");
  files.push_back(base + ".ttf");
  return files;
}

int Round(double v) { return static_cast<int>(std::floor(v + 0.5)); }

// These faces are bitmap fonts where we stand in: they come in a few cell
// heights (8 to 24 points at 96 dpi) and ignore lfWidth. Pages ask for them
// at heights 6 to 10, which an outline font would render unreadable, so a
// request takes the nearest of those cells; larger ones are scaled as asked.
const int kRasterCells[] = {13, 16, 20, 24, 29, 37};

bool IsRasterFace(const char* face) {
  static const char* const raster[] = {"ms sans serif", "system", "courier"};
  for (const char* f : raster)
    if (strcasecmp(face, f) == 0) return true;
  return false;
}

int64_t SnapRasterCell(int64_t cell) {
  if (cell > kRasterCells[std::size(kRasterCells) - 1]) return cell;
  int best = kRasterCells[0];
  for (int c : kRasterCells)
    if (std::llabs(cell - c) < std::llabs(cell - best)) best = c;
  return best;
}

// A face of a file, loaded once; null when the file is missing or unreadable.
FT_Face LoadFace(FontSystem& fs, const std::string& file, int index) {
  std::string key = file + "#" + std::to_string(index);
  auto it = fs.faces.find(key);
  if (it == fs.faces.end()) {
    FT_Face loaded = nullptr;
    if (FT_New_Face(fs.lib, file.c_str(), index, &loaded) != 0) loaded = nullptr;
    // Bitmap faces map the 8-bit codes of their character set to glyphs
    // through a table FreeType leaves unselected.
    if (loaded && !loaded->charmap && loaded->num_charmaps > 0) FT_Set_Charmap(loaded, loaded->charmaps[0]);
    it = fs.faces.emplace(key, loaded).first;
  }
  return it->second;
}

// The strike of a stand-in's bitmap faces with exactly this cell height or,
// for an `em` above 0, this character height, if installed and no italic is
// asked for (the strikes are upright only).
FontFace* ResolveStrike(FontSystem& fs, const LOGFONTA& lf, int64_t cell, int64_t em = 0) {
  const StandIn* s = StandInFor(lf.lfFaceName);
  if (!s || lf.lfItalic) return nullptr;
  for (const Strike& strike : s->strikes) {
    if (!strike.file) break;
    std::string file = std::string(kWineDir) + strike.file;
    FT_Face face = LoadFace(fs, file, strike.index);
    FT_WinFNT_HeaderRec hdr;
    if (!face || face->num_fixed_sizes < 1 || FT_Get_WinFNT_Header(face, &hdr) != 0) continue;
    if (em > 0 ? hdr.pixel_height - hdr.internal_leading != em : hdr.pixel_height != cell) continue;
    bool embolden = lf.lfWeight >= FW_SEMIBOLD && hdr.weight < FW_SEMIBOLD;
    auto key = std::make_tuple(file + "#" + std::to_string(strike.index), static_cast<int>(hdr.pixel_height), 0,
                               embolden ? -1 : 0);
    auto& slot = fs.sized[key];
    if (!slot) {
      slot.reset(new FontFace);
      FontFace& f = *slot;
      f.face = face;
      f.bitmap = true;
      f.embolden = embolden;
      f.height = hdr.pixel_height;
      f.ascent = hdr.ascent;
      f.descent = f.height - f.ascent;
      f.internalLeading = hdr.internal_leading;
      f.ppem = f.xppem = f.height - f.internalLeading;
      f.aveWidth = hdr.avg_width + (embolden ? 1 : 0);
      f.maxWidth = hdr.max_width + (embolden ? 1 : 0);
      f.underlinePos = 1;
      f.strikePos = std::max(1, (f.ascent - f.internalLeading) / 2);
      f.fixed = (hdr.pitch_and_family & 1) == 0;
    }
    return slot.get();
  }
  return nullptr;
}

FontFace* Resolve(const LOGFONTA& lf) {
  FontSystem& fs = Fonts();
  if (fs.failed) return nullptr;
  std::string file;
  FT_Face face = nullptr;
  for (const std::string& candidate : FilesFor(lf)) {
    face = LoadFace(fs, candidate, 0);
    if (face) {
      file = candidate;
      break;
    }
  }
  if (!face) return nullptr;
  double upem = face->units_per_EM ? face->units_per_EM : 2048;
  const TT_OS2* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  double winA = os2 ? os2->usWinAscent : face->ascender;
  double winD = os2 ? os2->usWinDescent : -face->descender;
  if (winA + winD <= 0) winA = upem * 0.8, winD = upem * 0.2;
  // Windows heights: negative asks for the character (em) height, positive
  // for the cell height; 0 for the default, a 16-pixel cell.
  int64_t height = lf.lfHeight;
  auto cellOf = [&](int64_t em) { return Round(winA * em / upem) + Round(winD * em / upem); };
  int64_t ppem, rasterCell = 0;
  if (IsRasterFace(lf.lfFaceName)) {
    // Their cells are about a fifth taller than their characters (13 for
    // 11, 16 for 13, 20 for 16, 24 for 20).
    int64_t cell = height == 0 ? 16 : height > 0 ? height : (std::min<int64_t>(-height, 512) * 6 + 2) / 5;
    cell = SnapRasterCell(std::min<int64_t>(cell, 600));
    if (FontFace* strike = ResolveStrike(fs, lf, cell)) return strike;
    // The largest em whose cell fits; the cell itself stays as snapped.
    ppem = Round(cell * upem / (winA + winD)) + 1;
    while (ppem > 1 && cellOf(ppem) > cell) --ppem;
    rasterCell = cell;
  } else if (height < 0) {
    if (FontFace* strike = ResolveStrike(fs, lf, 0, -height)) return strike;
    ppem = -height;
  } else {
    if (FontFace* strike = ResolveStrike(fs, lf, height == 0 ? 16 : height)) return strike;
    ppem = Round((height == 0 ? 16 : height) * upem / (winA + winD));
  }
  ppem = std::max<int64_t>(1, std::min<int64_t>(ppem, 512));
  // lfWidth asks for an average character width: outline faces stretch or
  // squeeze horizontally to meet it.
  double avgUnits = os2 && os2->xAvgCharWidth > 0 ? os2->xAvgCharWidth : upem / 2;
  int64_t xppem = ppem;
  if (lf.lfWidth > 0 && !IsRasterFace(lf.lfFaceName))
    xppem = std::max<int64_t>(1, std::min<int64_t>(Round(lf.lfWidth * upem / avgUnits), 512));
  auto key = std::make_tuple(file, static_cast<int>(ppem), static_cast<int>(xppem), static_cast<int>(rasterCell));
  auto& slot = fs.sized[key];
  if (!slot) {
    slot.reset(new FontFace);
    FontFace& f = *slot;
    f.face = face;
    f.ppem = static_cast<int>(ppem);
    f.xppem = static_cast<int>(xppem);
    f.ascent = Round(winA * ppem / upem);
    f.descent = Round(winD * ppem / upem);
    if (rasterCell > f.ascent + f.descent) f.descent = static_cast<int>(rasterCell) - f.ascent;
    f.height = f.ascent + f.descent;
    f.internalLeading = std::max(0, f.height - f.ppem);
    f.aveWidth = std::max(1, Round(avgUnits * xppem / upem));
    f.maxWidth = std::max(1, Round(face->max_advance_width * xppem / upem));
    f.underlinePos = std::max(1, Round(-face->underline_position * ppem / upem));
    f.underlineThick = std::max(1, Round(face->underline_thickness * ppem / upem));
    f.strikePos = std::max(1, Round((os2 ? os2->yStrikeoutPosition : upem / 4) * ppem / upem));
    f.fixed = FT_IS_FIXED_WIDTH(face) != 0;
    if (FT_New_Size(face, &f.size) != 0) f.size = nullptr;
    if (f.size && (FT_Activate_Size(f.size) != 0 ||
                   FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(f.xppem), static_cast<FT_UInt>(f.ppem)) != 0)) {
      FT_Done_Size(f.size);
      f.size = nullptr;
    }
  }
  return slot.get();
}

// The program's texts are 8-bit Windows-1252.
uint32_t CodePoint(unsigned char c) {
  static const uint16_t high[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
  if (c >= 0x80 && c < 0xA0) return high[c - 0x80] ? high[c - 0x80] : c;
  return c;
}

// The row where a line of `rows` under the text goes (an underline, an
// underscore): the face's underline position, kept off the cell's last row,
// which touches the next line, where the descent allows, and never above the
// baseline.
int UnderlineRow(int ascent, int height, int pos, int rows) {
  int top = std::min(ascent + pos, height - 1 - rows);
  top = std::max(top, ascent);
  return std::min(top, height - rows);
}

// DejaVu puts its underscore at the very bottom of the descent, which at the
// small sizes of dialogs is the last row of the line's cell, three rows under
// the baseline: it reads as an overline of the next line, and whatever covers
// or draws on the row that meets the next line (a window's edge, a control
// placed under the text) takes it. The faces we stand in for draw it where
// they underline, just below the
// baseline; so does this, on the row of the underline (that of lfUnderline and
// of a prefix character), kept off the cell's last row where the descent
// allows, and never above the baseline.
void PlaceUnderscore(const FontFace& f, Glyph& g) {
  // Bitmap faces give every glyph the whole cell: only the inked rows count.
  auto inked = [&](int y) {
    return std::any_of(g.bits.begin() + static_cast<ptrdiff_t>(y) * g.width,
                       g.bits.begin() + static_cast<ptrdiff_t>(y + 1) * g.width, [](uint8_t b) { return b != 0; });
  };
  int first = 0, last = g.rows;
  while (first < last && !inked(first)) ++first;
  while (last > first && !inked(last - 1)) --last;
  g.bits.erase(g.bits.begin() + static_cast<ptrdiff_t>(last) * g.width, g.bits.end());
  g.bits.erase(g.bits.begin(), g.bits.begin() + static_cast<ptrdiff_t>(first) * g.width);
  g.rows = last - first;
  if (g.rows <= 0) return;
  g.top = f.ascent - UnderlineRow(f.ascent, f.height, f.underlinePos, g.rows);
}

const Glyph& GlyphOf(FontFace& f, unsigned char ch) {
  auto it = f.glyphs.find(ch);
  if (it != f.glyphs.end()) return it->second;
  Glyph& g = f.glyphs[ch];
  if (ch < 0x20) return g;  // control characters take no room
  if (f.bitmap)
    FT_Select_Size(f.face, 0);
  else if (f.size)
    FT_Activate_Size(f.size);
  else
    FT_Set_Pixel_Sizes(f.face, static_cast<FT_UInt>(f.xppem), static_cast<FT_UInt>(f.ppem));
  if (FT_Load_Char(f.face, f.bitmap ? ch : CodePoint(ch), FT_LOAD_RENDER | FT_LOAD_TARGET_MONO) != 0) return g;
  FT_GlyphSlot s = f.face->glyph;
  g.advance = static_cast<int>((s->advance.x + 32) >> 6);
  g.left = s->bitmap_left;
  g.top = s->bitmap_top;
  g.width = static_cast<int>(s->bitmap.width);
  g.rows = static_cast<int>(s->bitmap.rows);
  int grow = f.embolden && g.width > 0 ? 1 : 0;
  g.bits.assign(static_cast<size_t>(g.width + grow) * g.rows, 0);
  for (int y = 0; y < g.rows; ++y) {
    const unsigned char* row = s->bitmap.buffer + static_cast<ptrdiff_t>(y) * s->bitmap.pitch;
    uint8_t* out = g.bits.data() + static_cast<size_t>(y) * (g.width + grow);
    for (int x = 0; x < g.width; ++x) {
      bool on = s->bitmap.pixel_mode == FT_PIXEL_MODE_MONO ? (row[x >> 3] >> (7 - (x & 7))) & 1 : row[x] >= 128;
      // A bold weight the strike lacks: each pixel also inks its right neighbour.
      if (on) out[x] = out[x + grow] = 1;
    }
  }
  g.width += grow;
  if (f.embolden) ++g.advance;
  if (ch == '_') PlaceUnderscore(f, g);
  return g;
}

// Metrics for a context's font, also when no font file can be found (then
// every character is a blank half an em wide).
struct Metrics {
  FontFace* face = nullptr;
  LOGFONTA lf{};
  int ppem = 12, ascent = 10, descent = 3, height = 13, internalLeading = 1, aveWidth = 6, maxWidth = 12;
  int advance(unsigned char ch) {
    if (!face) return ch < 0x20 ? 0 : ppem / 2;
    return GlyphOf(*face, ch).advance;
  }
};

Metrics MetricsOf(Dc* dc) {
  Metrics m;
  const Font* font = As<Font>(dc->s.font, OBJ_FONT);
  if (!font) font = As<Font>(StockDefault(OBJ_FONT), OBJ_FONT);
  if (font) m.lf = font->lf;
  m.face = Resolve(m.lf);
  if (m.face) {
    m.ppem = m.face->ppem;
    m.ascent = m.face->ascent;
    m.descent = m.face->descent;
    m.height = m.face->height;
    m.internalLeading = m.face->internalLeading;
    m.aveWidth = m.face->aveWidth;
    m.maxWidth = m.face->maxWidth;
  }
  return m;
}

int Quadrant(const LOGFONTA& lf) {
  int e = ((lf.lfEscapement % 3600) + 3600) % 3600;
  return ((e + 450) / 900) % 4;
}

// Pen position of each character of a run.
struct Run {
  std::vector<int> x;  // start of character i; x[n] is the width
};

Run Layout(Metrics& m, const char* s, int n, int extra, const INT* dx) {
  Run r;
  r.x.resize(static_cast<size_t>(n) + 1, 0);
  int pos = 0;
  for (int i = 0; i < n; ++i) {
    r.x[i] = pos;
    pos += dx ? dx[i] : m.advance(static_cast<unsigned char>(s[i])) + extra;
  }
  r.x[n] = pos;
  return r;
}

// Maps a point of the run's own frame (u along the text, v down) to the
// surface, for text turned by 0, 90, 180 or 270 degrees.
struct Frame {
  int ox, oy, q;
  void map(int u, int v, int& X, int& Y) const {
    switch (q) {
      case 0:
        X = ox + u, Y = oy + v;
        break;
      case 1:
        X = ox + v, Y = oy - 1 - u;
        break;
      case 2:
        X = ox - 1 - u, Y = oy - 1 - v;
        break;
      default:
        X = ox - 1 - v, Y = oy + u;
        break;
    }
  }
  RECT mapRect(int u0, int v0, int u1, int v1) const {
    int ax, ay, bx, by;
    map(u0, v0, ax, ay);
    map(u1 - 1, v1 - 1, bx, by);
    return RECT{std::min(ax, bx), std::min(ay, by), std::max(ax, bx) + 1, std::max(ay, by) + 1};
  }
};

// Draws a run with its top-left cell corner at frame origin (u, v) = (0, 0);
// `underlineFrom/To` draws an extra underline (prefix characters).
void DrawRun(Dc* dc, const Target& t, const Frame& fr, Metrics& m, const char* s, int n, const Run& run, bool opaque,
             int ulFrom = -1, int ulTo = -1) {
  uint32_t ink = ToPixel(dc->s.text);
  if (t.v.mono) ink = ToMono(ink);
  if (opaque) {
    Paint bg;
    bg.solid = ToPixel(dc->s.bk);
    FillRectPx(t, fr.mapRect(0, 0, run.x[n], m.height), bg, R2_COPYPEN);
  }
  auto plot = [&](int u, int v) {
    int X, Y;
    fr.map(u, v, X, Y);
    if (X >= 0 && Y >= 0 && X < t.v.width && Y < t.v.height && InClip(t, X, Y)) t.v.at(X, Y) = ink;
  };
  if (m.face) {
    for (int i = 0; i < n; ++i) {
      const Glyph& g = GlyphOf(*m.face, static_cast<unsigned char>(s[i]));
      int gx = run.x[i] + g.left, gy = m.ascent - g.top;
      for (int y = 0; y < g.rows; ++y)
        for (int x = 0; x < g.width; ++x)
          if (g.bits[static_cast<size_t>(y) * g.width + x]) plot(gx + x, gy + y);
    }
  }
  Paint line;
  line.solid = ink;
  int thick = m.face ? m.face->underlineThick : 1;
  auto bar = [&](int u0, int u1, int v) {
    if (u1 > u0) FillRectPx(t, fr.mapRect(u0, v, u1, v + thick), line, R2_COPYPEN);
  };
  int ul = UnderlineRow(m.ascent, m.height, m.face ? m.face->underlinePos : 1, thick);
  if (m.lf.lfUnderline) bar(0, run.x[n], ul);
  if (m.lf.lfStrikeOut) bar(0, run.x[n], m.ascent - (m.face ? m.face->strikePos : m.ppem / 3));
  if (ulFrom >= 0 && ulTo > ulFrom) bar(run.x[ulFrom], run.x[ulTo], ul);
}

// Where a run's frame starts for the context's text alignment.
Frame PlaceRun(Dc* dc, const Target& t, Metrics& m, int x, int y, int width, UINT align) {
  int u0 = 0, v0 = 0;
  if ((align & TA_CENTER) == TA_CENTER)
    u0 = -width / 2;
  else if (align & TA_RIGHT)
    u0 = -width;
  if ((align & TA_BASELINE) == TA_BASELINE)
    v0 = -m.ascent;
  else if (align & TA_BOTTOM)
    v0 = -m.height;
  Frame fr{x + t.dx, y + t.dy, Quadrant(m.lf)};
  // Shift the origin so that frame (0, 0) is the cell's top-left corner.
  int X, Y;
  fr.map(u0, v0, X, Y);
  Frame out = fr;
  int X0, Y0;
  fr.map(0, 0, X0, Y0);
  out.ox += X - X0;
  out.oy += Y - Y0;
  (void)dc;
  return out;
}

}  // namespace

}  // namespace gdi

using namespace gdi;

BOOL ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rc, LPCSTR text, UINT count, const INT* dx) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return FALSE;
  if (!text) count = 0;
  Target t;
  if (!dc->target(t, (options & ETO_CLIPPED) && rc ? rc : nullptr)) return TRUE;
  if ((options & ETO_OPAQUE) && rc) {
    // Rectangles given right to left or bottom to top fill all the same.
    Paint bg;
    bg.solid = ToPixel(dc->s.bk);
    FillRectPx(t, Normalized(rc->left + t.dx, rc->top + t.dy, rc->right + t.dx, rc->bottom + t.dy), bg, R2_COPYPEN);
  }
  if (count == 0) return TRUE;
  Metrics m = MetricsOf(dc);
  int n = static_cast<int>(count);
  Run run = Layout(m, text, n, dc->s.charExtra, dx);
  bool updateCp = (dc->s.textAlign & TA_UPDATECP) != 0;
  if (updateCp) x = dc->s.cur.x, y = dc->s.cur.y;
  Frame fr = PlaceRun(dc, t, m, x, y, run.x[n], dc->s.textAlign);
  DrawRun(dc, t, fr, m, text, n, run, dc->s.bkMode == OPAQUE);
  if (updateCp) dc->s.cur.x += run.x[n];
  return TRUE;
}

BOOL TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutA(hdc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

BOOL GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !size || count < 0 || (!text && count > 0)) return FALSE;
  Metrics m = MetricsOf(dc);
  Run run = Layout(m, text, count, dc->s.charExtra, nullptr);
  size->cx = run.x[count];
  size->cy = m.height;
  return TRUE;
}

BOOL GetTextExtentExPointA(HDC hdc, LPCSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || count < 0 || (!text && count > 0)) return FALSE;
  Metrics m = MetricsOf(dc);
  Run run = Layout(m, text, count, dc->s.charExtra, nullptr);
  int n = 0;
  for (int i = 0; i < count; ++i) {
    if (dx) dx[i] = run.x[i + 1];
    if (run.x[i + 1] <= maxExtent) n = i + 1;
  }
  if (fit) *fit = n;
  if (size) *size = SIZE{run.x[count], m.height};
  return TRUE;
}

BOOL GetTextMetricsA(HDC hdc, LPTEXTMETRIC tm) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !tm) return FALSE;
  Metrics m = MetricsOf(dc);
  std::memset(tm, 0, sizeof *tm);
  tm->tmHeight = m.height;
  tm->tmAscent = m.ascent;
  tm->tmDescent = m.descent;
  tm->tmInternalLeading = m.internalLeading;
  tm->tmExternalLeading = 0;
  tm->tmAveCharWidth = m.aveWidth;
  tm->tmMaxCharWidth = m.maxWidth;
  tm->tmWeight = m.lf.lfWeight ? m.lf.lfWeight : FW_NORMAL;
  tm->tmDigitizedAspectX = 96;
  tm->tmDigitizedAspectY = 96;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = 0xFF;
  tm->tmDefaultChar = 0x1F;
  tm->tmBreakChar = 0x20;
  tm->tmItalic = m.lf.lfItalic;
  tm->tmUnderlined = m.lf.lfUnderline;
  tm->tmStruckOut = m.lf.lfStrikeOut;
  bool fixed = m.face ? m.face->fixed : false;
  // As on Windows, the low bit set means a variable pitch; 4 = TrueType.
  tm->tmPitchAndFamily = static_cast<BYTE>((fixed ? 0 : 1) | 2 | 4 | (fixed ? FF_MODERN : FF_SWISS));
  tm->tmCharSet = m.lf.lfCharSet;
  return TRUE;
}

int GetTextFaceA(HDC hdc, int size, LPSTR face) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc) return 0;
  Metrics m = MetricsOf(dc);
  int len = static_cast<int>(std::strlen(m.lf.lfFaceName));
  if (!face) return len + 1;
  if (size <= 0) return 0;
  int n = std::min(len, size - 1);
  std::memcpy(face, m.lf.lfFaceName, static_cast<size_t>(n));
  face[n] = 0;
  return n;
}

BOOL GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT widths) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !widths || last < first || last > 0xFF) return FALSE;
  Metrics m = MetricsOf(dc);
  for (UINT c = first; c <= last; ++c) widths[c - first] = m.advance(static_cast<unsigned char>(c));
  return TRUE;
}

// ---------------------------------------------------------------- tabbed text

namespace {

// Width of a tabbed run; draws it when `draw`.
LONG Tabbed(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabs, int tabOrigin, bool draw) {
  Dc* dc = AsDc(hdc);
  if (!dc || count < 0 || (!text && count > 0)) return 0;
  Metrics m = MetricsOf(dc);
  Target t;
  bool canDraw = draw && dc->target(t);
  int pos = x;
  int i = 0;
  while (i <= count) {
    int j = i;
    while (j < count && text[j] != '\t') ++j;
    Run run = Layout(m, text + i, j - i, dc->s.charExtra, nullptr);
    if (canDraw && j > i) {
      Frame fr = PlaceRun(dc, t, m, pos, y, run.x[j - i], TA_LEFT | TA_TOP);
      DrawRun(dc, t, fr, m, text + i, j - i, run, dc->s.bkMode == OPAQUE);
    }
    pos += run.x[j - i];
    if (j >= count) break;
    // Next tab stop after pos.
    int next = pos;
    if (tabCount <= 1 || !tabs) {
      int step = (tabCount == 1 && tabs && tabs[0] > 0) ? tabs[0] : 8 * m.aveWidth;
      next = tabOrigin + ((pos - tabOrigin) / step + 1) * step;
    } else {
      for (int k = 0; k < tabCount; ++k) {
        int stop = tabOrigin + std::abs(tabs[k]);
        if (stop > pos) {
          next = stop;
          break;
        }
      }
    }
    if (canDraw && dc->s.bkMode == OPAQUE && next > pos) {
      Paint bg;
      bg.solid = ToPixel(dc->s.bk);
      FillRectPx(t, RECT{pos + t.dx, y + t.dy, next + t.dx, y + m.height + t.dy}, bg, R2_COPYPEN);
    }
    pos = next;
    i = j + 1;
  }
  return MAKELONG(pos - x, m.height);
}

}  // namespace

LONG TabbedTextOutA(HDC hdc, int x, int y, LPCSTR text, int count, int tabCount, const INT* tabs, int tabOrigin) {
  GDI_LOCK;
  return Tabbed(hdc, x, y, text, count, tabCount, tabs, tabOrigin, true);
}

DWORD GetTabbedTextExtentA(HDC hdc, LPCSTR text, int count, int tabCount, const INT* tabs) {
  GDI_LOCK;
  return static_cast<DWORD>(Tabbed(hdc, 0, 0, text, count, tabCount, tabs, 0, false));
}

// ---------------------------------------------------------------- DrawText

namespace {

struct Line {
  std::string text;
  int underline = -1;  // index of the prefixed character in `text`
};

int Width(Metrics& m, const std::string& s, int extra, int tabWidth) {
  int w = 0;
  for (unsigned char c : s) {
    if (c == '\t' && tabWidth > 0)
      w = (w / tabWidth + 1) * tabWidth;
    else
      w += m.advance(c) + extra;
  }
  return w;
}

// Removes prefix marks: "&x" underlines x, "&&" is one "&".
Line StripPrefix(const std::string& s, bool process) {
  Line l;
  if (!process) {
    l.text = s;
    return l;
  }
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '&') {
      if (i + 1 < s.size() && s[i + 1] == '&') {
        l.text += '&';
        ++i;
      } else if (i + 1 < s.size()) {
        l.underline = static_cast<int>(l.text.size());
      }
      continue;
    }
    l.text += s[i];
  }
  return l;
}

// Breaks one paragraph into lines no wider than `width` at blanks; a word
// wider than the line stays whole.
std::vector<Line> WrapLine(Metrics& m, const Line& para, int width, int extra, int tabWidth) {
  std::vector<Line> out;
  const std::string& s = para.text;
  auto emit = [&](size_t a, size_t b) {
    Line l;
    l.text = s.substr(a, b - a);
    if (para.underline >= static_cast<int>(a) && para.underline < static_cast<int>(b))
      l.underline = para.underline - static_cast<int>(a);
    out.push_back(l);
  };
  size_t start = 0;
  while (true) {
    // The longest run from `start` that fits, and the last blank in it;
    // blanks at the break may overhang the edge.
    int w = 0;
    size_t i = start, lastBlank = std::string::npos;
    while (i < s.size()) {
      unsigned char c = static_cast<unsigned char>(s[i]);
      int next = (c == '\t' && tabWidth > 0) ? (w / tabWidth + 1) * tabWidth : w + m.advance(c) + extra;
      if (c == ' ')
        lastBlank = i;
      else if (next > width)
        break;
      w = next;
      ++i;
    }
    if (i >= s.size()) {
      emit(start, s.size());
      break;
    }
    size_t cut = lastBlank;
    if (cut == std::string::npos || cut <= start) {
      cut = s.find(' ', i);  // a word wider than the line stays whole
      if (cut == std::string::npos) cut = s.size();
    }
    emit(start, cut);
    start = cut;
    while (start < s.size() && s[start] == ' ') ++start;
    if (start >= s.size()) break;
  }
  return out;
}

void Ellipsize(Metrics& m, Line& l, int width, int extra, int tabWidth) {
  if (Width(m, l.text, extra, tabWidth) <= width) return;
  int room = width - Width(m, "...", extra, tabWidth);
  // Keep the longest start of the text that leaves room for the dots.
  size_t keep = 0;
  int w = 0;
  for (size_t i = 0; i < l.text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(l.text[i]);
    w = (c == '\t' && tabWidth > 0) ? (w / tabWidth + 1) * tabWidth : w + m.advance(c) + extra;
    if (w > room) break;
    keep = i + 1;
  }
  l.text = l.text.substr(0, keep) + "...";
  if (l.underline >= static_cast<int>(keep)) l.underline = -1;
}

}  // namespace

int DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rc, UINT format) {
  GDI_LOCK;
  Dc* dc = AsDc(hdc);
  if (!dc || !rc) return 0;
  if (!text) count = 0;
  if (count < 0) count = static_cast<int>(std::strlen(text));
  std::string s(text ? text : "", static_cast<size_t>(count));
  Metrics m = MetricsOf(dc);
  int extra = dc->s.charExtra;
  int tabWidth = 0;
  if (format & DT_EXPANDTABS) tabWidth = ((format & DT_TABSTOP) ? ((format >> 8) & 0xFF) : 8) * m.aveWidth;
  int width = rc->right - rc->left;
  bool prefix = !(format & DT_NOPREFIX);

  std::vector<Line> lines;
  if (format & DT_SINGLELINE) {
    lines.push_back(StripPrefix(s, prefix));
  } else {
    size_t i = 0;
    while (true) {
      size_t j = s.find_first_of("\r\n", i);
      std::string para = s.substr(i, j == std::string::npos ? std::string::npos : j - i);
      Line l = StripPrefix(para, prefix);
      if (format & DT_WORDBREAK) {
        for (Line& w : WrapLine(m, l, width, extra, tabWidth)) lines.push_back(w);
      } else {
        lines.push_back(l);
      }
      if (j == std::string::npos) break;
      i = j + ((s[j] == '\r' && j + 1 < s.size() && s[j + 1] == '\n') ? 2 : 1);
      if (i >= s.size()) break;
    }
  }
  if (s.empty()) lines.clear();
  if (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS))
    if (!(format & DT_CALCRECT))
      for (Line& l : lines) Ellipsize(m, l, width, extra, tabWidth);

  int lineHeight = m.height;
  int total = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    int maxw = 0;
    for (Line& l : lines) maxw = std::max(maxw, Width(m, l.text, extra, tabWidth));
    if (!lines.empty() || !(format & DT_SINGLELINE)) rc->right = rc->left + maxw;
    rc->bottom = rc->top + total;
    return total;
  }
  int y = rc->top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = rc->top + ((rc->bottom - rc->top) - total) / 2;
    else if (format & DT_BOTTOM)
      y = rc->bottom - total;
  }
  int result = (format & DT_SINGLELINE) && (format & (DT_VCENTER | DT_BOTTOM)) ? y - rc->top + total : total;
  if (lines.empty()) return result;
  Target t;
  if (!dc->target(t, (format & DT_NOCLIP) ? nullptr : rc)) return result;
  bool opaque = dc->s.bkMode == OPAQUE;
  for (Line& l : lines) {
    int w = Width(m, l.text, extra, tabWidth);
    int x = rc->left;
    if (format & DT_CENTER)
      x = rc->left + (width - w) / 2;
    else if (format & DT_RIGHT)
      x = rc->right - w;
    int n = static_cast<int>(l.text.size());
    Run run;
    run.x.resize(static_cast<size_t>(n) + 1, 0);
    int pos = 0;
    for (int i = 0; i < n; ++i) {
      run.x[i] = pos;
      unsigned char c = static_cast<unsigned char>(l.text[i]);
      pos = (c == '\t' && tabWidth > 0) ? (pos / tabWidth + 1) * tabWidth : pos + m.advance(c) + extra;
    }
    run.x[n] = pos;
    Frame fr{x + t.dx, y + t.dy, 0};
    bool showPrefix = l.underline >= 0 && !(format & DT_HIDEPREFIX);
    if (format & DT_PREFIXONLY) {
      if (showPrefix) {
        Paint line;
        line.solid = ToPixel(dc->s.text);
        int ul = UnderlineRow(m.ascent, m.height, m.face ? m.face->underlinePos : 1, 1);
        FillRectPx(t, fr.mapRect(run.x[l.underline], ul, run.x[l.underline + 1], ul + 1), line, R2_COPYPEN);
      }
    } else {
      DrawRun(dc, t, fr, m, l.text.data(), n, run, opaque, showPrefix ? l.underline : -1,
              showPrefix ? l.underline + 1 : -1);
    }
    y += lineHeight;
  }
  return result;
}
