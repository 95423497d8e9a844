// Text in the stand-ins for the Windows faces: metrics, the widths the
// layouts were drawn for, extents, rendering without anti-aliasing,
// DrawText's formats, tabs and rotated fonts.
#include <cstring>

#include "Dialog.h"
#include "gdi_fixture.h"

namespace {

const COLORREF K = RGB(0, 0, 0), W = RGB(255, 255, 255);

struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, count = 0;
};

Ink FindInk(const MemCanvas& c, COLORREF ink) {
  Ink r;
  for (int y = 0; y < c.height; ++y)
    for (int x = 0; x < c.width; ++x)
      if (c.At(x, y) == ink) {
        r.left = std::min(r.left, x), r.right = std::max(r.right, x + 1);
        r.top = std::min(r.top, y), r.bottom = std::max(r.bottom, y + 1);
        ++r.count;
      }
  return r;
}

struct WithFont {
  HDC dc;
  HFONT font;
  HGDIOBJ old;
  WithFont(HDC d, int height, int weight = FW_NORMAL, const char* face = "MS Sans Serif", int escapement = 0) : dc(d) {
    font = CreateFontA(height, 0, escapement, escapement, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
    old = SelectObject(dc, font);
  }
  ~WithFont() {
    SelectObject(dc, old);
    DeleteObject(font);
  }
};

SIZE Extent(HDC dc, const char* s) {
  SIZE sz{-1, -1};
  EXPECT_TRUE(GetTextExtentPoint32A(dc, s, static_cast<int>(std::strlen(s)), &sz));
  return sz;
}

TEST(GdiText, MetricsFollowTheWindowsHeightRules) {
  MemCanvas cv(8, 8);
  struct {
    int height;
    int tmHeight, ascent, descent, internalLeading;
    const char* face;
  } cases[] = {
      {-11, 13, 11, 2, 2, "MS Sans Serif"},  // character height 11: the classic 8-point dialog font
      {16, 16, 13, 3, 3, "MS Sans Serif"},   // cell height 16
      {-20, 22, 18, 4, 2, "Arial"},
  };
  for (const auto& c : cases) {
    WithFont f(cv.dc, c.height, FW_NORMAL, c.face);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(cv.dc, &tm));
    EXPECT_EQ(tm.tmHeight, c.tmHeight) << c.height;
    EXPECT_EQ(tm.tmAscent, c.ascent) << c.height;
    EXPECT_EQ(tm.tmDescent, c.descent) << c.height;
    EXPECT_EQ(tm.tmInternalLeading, c.internalLeading) << c.height;
    EXPECT_GT(tm.tmAveCharWidth, 0);
    EXPECT_EQ(Extent(cv.dc, "").cy, c.tmHeight);
  }
  char face[LF_FACESIZE];
  WithFont f(cv.dc, -11, FW_NORMAL, "Tahoma");
  EXPECT_EQ(GetTextFaceA(cv.dc, sizeof face, face), 6);
  EXPECT_STREQ(face, "Tahoma");
}

// The raster faces come in fixed cells, the smallest the 8-point cell of 13
// pixels; outline faces scale to any height.
TEST(GdiText, RasterFacesSnapToTheirLegibleCells) {
  MemCanvas cv(8, 8);
  struct {
    const char* face;
    int height, weight;
    int tmHeight;
  } cases[] = {
      {"MS Sans Serif", 6, FW_NORMAL, 13},   {"MS Sans Serif", 8, FW_BOLD, 13},
      {"MS Sans Serif", 10, FW_NORMAL, 13},  {"MS Sans Serif", -6, FW_NORMAL, 13},
      {"ms sans serif", -8, FW_BOLD, 13},    {"MS Sans Serif", 14, FW_NORMAL, 13},
      {"MS Sans Serif", 15, FW_NORMAL, 16},  {"MS Sans Serif", -13, FW_NORMAL, 16},
      {"MS Sans Serif", 18, FW_NORMAL, 16},  // halfway: the smaller cell
      {"MS Sans Serif", 19, FW_NORMAL, 20},  {"MS Sans Serif", -20, FW_NORMAL, 24},
      {"MS Sans Serif", 33, FW_NORMAL, 29},  {"MS Sans Serif", 60, FW_NORMAL, 60},  // beyond the cells: scaled
      {"System", 0, FW_BOLD, 16},            {"System", 7, FW_NORMAL, 13},
      {"Courier", 9, FW_NORMAL, 13},         {"Courier", -10, FW_NORMAL, 13},
      {"Tahoma", 8, FW_NORMAL, 8},           {"Courier New", 9, FW_NORMAL, 9},
  };
  for (const auto& c : cases) {
    WithFont f(cv.dc, c.height, c.weight, c.face);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(cv.dc, &tm));
    EXPECT_EQ(tm.tmHeight, c.tmHeight) << c.face << " " << c.height;
    EXPECT_EQ(Extent(cv.dc, "Ag").cy, c.tmHeight) << c.face << " " << c.height;
  }
}

// lfWidth is the average character width: outline faces stretch to it, the
// raster faces keep their own.
TEST(GdiText, WidthStretchesOutlineFacesOnly) {
  MemCanvas cv(8, 8);
  struct {
    const char* face;
    int width;
    bool stretched;
  } cases[] = {{"Tahoma", 12, true}, {"Arial", 3, true}, {"Courier New", 14, true},
               {"MS Sans Serif", 12, false}, {"Courier", 3, false}};
  const char* text = "Wizard settings";
  for (const auto& c : cases) {
    SIZE natural, asked;
    TEXTMETRICA tmNatural, tmAsked;
    {
      WithFont f(cv.dc, -11, FW_NORMAL, c.face);
      natural = Extent(cv.dc, text);
      GetTextMetricsA(cv.dc, &tmNatural);
    }
    HFONT font = CreateFontA(-11, c.width, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, c.face);
    HGDIOBJ old = SelectObject(cv.dc, font);
    asked = Extent(cv.dc, text);
    GetTextMetricsA(cv.dc, &tmAsked);
    SelectObject(cv.dc, old);
    DeleteObject(font);
    EXPECT_EQ(asked.cy, natural.cy) << c.face;  // heights never change with the width
    if (c.stretched) {
      EXPECT_NEAR(tmAsked.tmAveCharWidth, c.width, 1) << c.face;
      double ratio = double(asked.cx) / natural.cx, expected = double(c.width) / tmNatural.tmAveCharWidth;
      EXPECT_NEAR(ratio, expected, expected * 0.15) << c.face;
    } else {
      EXPECT_EQ(asked.cx, natural.cx) << c.face;
      EXPECT_EQ(tmAsked.tmAveCharWidth, tmNatural.tmAveCharWidth) << c.face;
    }
  }
}

// The layouts (in pixels, and in dialog units of the 8-point "MS Sans Serif")
// were drawn for the widths of the Windows dialog faces: the average of the
// 52 letters gives the dialog unit's base, 6 x 13 for that face; digits are
// all as wide. A wider stand-in cuts the texts the layouts were drawn for.
TEST(GdiText, DialogFacesKeepTheWidthsTheLayoutsWereDrawnFor) {
  MemCanvas cv(8, 8);
  const struct {
    const char* face;
    int height, width, weight;
    int cell, average, base, digit;
  } cases[] = {
      {"MS Sans Serif", 8, 0, FW_NORMAL, 13, 5, 6, 6},  // the dialogs' face
      {"MS Sans Serif", -11, 0, FW_NORMAL, 13, 5, 6, 6},
      {"MS Shell Dlg", -11, 0, FW_NORMAL, 13, 5, 6, 6},
      {"MS Sans Serif", 6, 6, FW_BOLD, 13, 6, 7, 7},     // bold: each character a pixel wider
      {"MS Sans Serif", 18, 9, FW_BOLD, 16, 8, 9, 8},    // the scan pages' status
      {"MS Sans Serif", 20, 8, FW_NORMAL, 20, 8, 9, 9},  // the status list
      {"Tahoma", -11, 0, FW_NORMAL, 13, 7, 6, 6},        // captions, menus, message boxes
      {"Arial", -11, 0, FW_NORMAL, 12, 6, 6, 6},
      {"Courier New", -13, 0, FW_NORMAL, 15, 8, 8, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
    HFONT font = CreateFontA(c.height, c.width, 0, 0, c.weight, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, c.face);
    HGDIOBJ old = SelectObject(cv.dc, font);
    TEXTMETRICA tm{};
    GetTextMetricsA(cv.dc, &tm);
    EXPECT_EQ(tm.tmHeight, c.cell);
    EXPECT_EQ(tm.tmAveCharWidth, c.average);
    const int letters = Extent(cv.dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").cx;
    EXPECT_EQ((letters / 26 + 1) / 2, c.base);
    for (char d = '0'; d <= '9'; ++d) EXPECT_EQ(Extent(cv.dc, std::string(1, d).c_str()).cx, c.digit) << d;
    SelectObject(cv.dc, old);
    DeleteObject(font);
  }
  // Dialog units are those of the dialogs' face.
  HFONT dialogFace = CreateFontA(8, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
  HGDIOBJ old = SelectObject(cv.dc, dialogFace);
  const int letters = Extent(cv.dc, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz").cx;
  EXPECT_EQ(LOWORD(GetDialogBaseUnits()), (letters / 26 + 1) / 2);
  EXPECT_EQ(HIWORD(GetDialogBaseUnits()), Extent(cv.dc, "Ag").cy);
  SelectObject(cv.dc, old);
  DeleteObject(dialogFace);
}

TEST(GdiText, ExtentsAddUpAndFollowWeightAndPitch) {
  MemCanvas cv(8, 8);
  WithFont f(cv.dc, -11);
  EXPECT_EQ(Extent(cv.dc, "").cx, 0);
  EXPECT_EQ(Extent(cv.dc, "Wizard").cx, Extent(cv.dc, "Wiz").cx + Extent(cv.dc, "ard").cx);
  EXPECT_GT(Extent(cv.dc, "W").cx, Extent(cv.dc, "i").cx);
  int normal = Extent(cv.dc, "Members").cx;
  {
    WithFont bold(cv.dc, -11, FW_BOLD);
    EXPECT_GT(Extent(cv.dc, "Members").cx, normal);
  }
  {
    WithFont mono(cv.dc, -11, FW_NORMAL, "Courier New");
    EXPECT_EQ(Extent(cv.dc, "i").cx, Extent(cv.dc, "W").cx);
  }
  int fit = -1;
  INT dx[3];
  SIZE sz;
  ASSERT_TRUE(GetTextExtentExPointA(cv.dc, "abc", 3, Extent(cv.dc, "ab").cx, &fit, dx, &sz));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(dx[2], sz.cx);
  INT widths[2];
  ASSERT_TRUE(GetCharWidth32A(cv.dc, 'a', 'b', widths));
  EXPECT_EQ(widths[0], Extent(cv.dc, "a").cx);
}

TEST(GdiText, TextIsDrawnInTheTextColourOnlyWithoutAntiAliasing) {
  MemCanvas cv(40, 16);
  WithFont f(cv.dc, -11);
  SetBkMode(cv.dc, TRANSPARENT);
  SetTextColor(cv.dc, RGB(0, 0, 200));
  ASSERT_TRUE(TextOutA(cv.dc, 2, 1, "I", 1));
  Ink ink = FindInk(cv, RGB(0, 0, 200));
  EXPECT_EQ(ink.count + cv.Count(W), 40 * 16);  // two colours only
  // A capital I is a bar as high as the capitals (9 of 11 pixels), standing
  // on the baseline (ascent 11 below the top).
  EXPECT_EQ(ink.bottom, 1 + 11);
  EXPECT_EQ(ink.bottom - ink.top, 9);
  EXPECT_LE(ink.right - ink.left, 2);
  EXPECT_EQ(ink.count, (ink.right - ink.left) * 9);
  // The same text always gives the same pixels.
  MemCanvas again(40, 16);
  WithFont g(again.dc, -11);
  SetBkMode(again.dc, TRANSPARENT);
  SetTextColor(again.dc, RGB(0, 0, 200));
  TextOutA(again.dc, 2, 1, "I", 1);
  EXPECT_EQ(again.Rows(RGB(0, 0, 200)), cv.Rows(RGB(0, 0, 200)));
}

TEST(GdiText, OpaqueBackgroundsFillTheCell) {
  MemCanvas cv(60, 20);
  WithFont f(cv.dc, -11);
  SetBkColor(cv.dc, RGB(255, 255, 0));
  TextOutA(cv.dc, 5, 3, "ab", 2);  // OPAQUE is the default mode
  SIZE sz = Extent(cv.dc, "ab");
  int yellow = cv.Count(RGB(255, 255, 0));
  EXPECT_EQ(yellow + FindInk(cv, K).count, sz.cx * sz.cy);
  RECT box{0, 0, 60, 2};
  ExtTextOutA(cv.dc, 0, 0, ETO_OPAQUE, &box, nullptr, 0, nullptr);
  EXPECT_EQ(cv.At(59, 1), RGB(255, 255, 0));
  // ETO_CLIPPED keeps the text inside the rectangle.
  MemCanvas clip(60, 20);
  WithFont g(clip.dc, -11);
  RECT half{0, 0, 60, 6};
  ExtTextOutA(clip.dc, 0, 0, ETO_CLIPPED, &half, "Hello", 5, nullptr);
  EXPECT_LE(FindInk(clip, K).bottom, 6);
}

TEST(GdiText, DrawTextAlignsAndMeasures) {
  MemCanvas cv(100, 40);
  WithFont f(cv.dc, -11);
  SetBkMode(cv.dc, TRANSPARENT);
  SIZE sz = Extent(cv.dc, "Next");
  RECT calc{10, 5, 10, 5};
  EXPECT_EQ(DrawTextA(cv.dc, "Next", -1, &calc, DT_SINGLELINE | DT_CALCRECT), 13);
  EXPECT_EQ(calc.right, 10 + sz.cx);
  EXPECT_EQ(calc.bottom, 5 + 13);
  EXPECT_EQ(cv.Count(W), 100 * 40);  // measuring draws nothing

  RECT r{0, 0, 100, 40};
  int h = DrawTextA(cv.dc, "Next", -1, &r, DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  EXPECT_EQ(h, (40 - 13) / 2 + 13);
  Ink ink = FindInk(cv, K);
  EXPECT_GE(ink.top, (40 - 13) / 2);
  EXPECT_LE(ink.bottom, (40 - 13) / 2 + 13);
  EXPECT_LE(std::abs(ink.left - (100 - ink.right)), 2);

  cv.Fill(W);
  DrawTextA(cv.dc, "Next", -1, &r, DT_SINGLELINE | DT_BOTTOM | DT_RIGHT);
  ink = FindInk(cv, K);
  EXPECT_GE(ink.left, 100 - sz.cx);
  EXPECT_GE(ink.top, 40 - 13);
}

TEST(GdiText, DrawTextBreaksWordsAndShortensWithAnEllipsis) {
  MemCanvas cv(200, 60);
  WithFont f(cv.dc, -11);
  int word = Extent(cv.dc, "alpha beta").cx;
  RECT r{0, 0, word + 2, 0};
  EXPECT_EQ(DrawTextA(cv.dc, "alpha beta alpha beta", -1, &r, DT_WORDBREAK | DT_CALCRECT), 2 * 13);
  EXPECT_LE(r.right, word + 2);
  RECT lines{0, 0, 200, 0};
  EXPECT_EQ(DrawTextA(cv.dc, "one\r\ntwo\nthree", -1, &lines, DT_CALCRECT), 3 * 13);

  // An ellipsis keeps a long caption inside its rectangle.
  SetBkMode(cv.dc, TRANSPARENT);
  RECT narrow{0, 0, 60, 20};
  DrawTextA(cv.dc, "A caption far too long to fit", -1, &narrow, DT_SINGLELINE | DT_END_ELLIPSIS);
  Ink ink = FindInk(cv, K);
  EXPECT_LE(ink.right, 60);
  EXPECT_GT(ink.right, 60 - Extent(cv.dc, "...").cx - 8);
  // Without DT_NOCLIP text stops at the rectangle; with it, it runs on.
  cv.Fill(W);
  RECT small{0, 0, 20, 20};
  DrawTextA(cv.dc, "Clipped text", -1, &small, DT_SINGLELINE);
  EXPECT_LE(FindInk(cv, K).right, 20);
  cv.Fill(W);
  DrawTextA(cv.dc, "Clipped text", -1, &small, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_GT(FindInk(cv, K).right, 20);
}

TEST(GdiText, PrefixCharactersUnderlineOrDouble) {
  auto render = [](const char* s, UINT fmt) {
    MemCanvas* cv = new MemCanvas(80, 20);
    WithFont f(cv->dc, -11);
    RECT r{0, 0, 80, 20};
    DrawTextA(cv->dc, s, -1, &r, DT_SINGLELINE | fmt);
    return std::unique_ptr<MemCanvas>(cv);
  };
  auto plain = render("File", 0);
  auto prefixed = render("&File", 0);
  auto hidden = render("&File", DT_HIDEPREFIX);
  Ink a = FindInk(*plain, K), b = FindInk(*prefixed, K);
  EXPECT_GT(b.count, a.count);  // the underline under F
  EXPECT_GT(b.bottom, a.bottom);
  EXPECT_EQ(hidden->Rows(K), plain->Rows(K));
  EXPECT_EQ(render("A&&B", 0)->Rows(K), render("A&B", DT_NOPREFIX)->Rows(K));
}

TEST(GdiText, TabbedTextOutStopsAtTheTabPositions) {
  MemCanvas cv(200, 20);
  WithFont f(cv.dc, -11);
  INT tabs[2] = {50, 120};
  LONG r = TabbedTextOutA(cv.dc, 10, 0, "a\tb\tc", 5, 2, tabs, 10);
  EXPECT_EQ(LOWORD(r), 120 + Extent(cv.dc, "c").cx);
  EXPECT_EQ(HIWORD(r), 13);
  INT every = 40;
  EXPECT_EQ(LOWORD(GetTabbedTextExtentA(cv.dc, "a\tb", 3, 1, &every)), 40 + Extent(cv.dc, "b").cx);
}

TEST(GdiText, EscapementNineHundredReadsUpwards) {
  MemCanvas cv(40, 120);
  WithFont f(cv.dc, -14, FW_NORMAL, "Arial", 900);
  SetBkMode(cv.dc, TRANSPARENT);
  SIZE sz = Extent(cv.dc, "Vertical");
  TextOutA(cv.dc, 10, 110, "Vertical", 8);
  Ink ink = FindInk(cv, K);
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + sz.cy);
  EXPECT_LE(ink.bottom, 110);
  EXPECT_GE(ink.top, 110 - sz.cx);
  EXPECT_GT(ink.bottom - ink.top, 3 * (ink.right - ink.left));
}

}  // namespace

// An underscore belongs to its line: it lies on the row where the font
// underlines (as an underlined blank, or a prefix character, is underlined),
// below the baseline and off the cell's last row, which touches the next
// line. In wrapped text it is nearer its own line's letters than the next's.
TEST(GdiText, AnUnderscoreSitsInItsLineOnTheUnderlineRow) {
  const struct {
    const char* face;
    int height;
  } cases[] = {{"MS Sans Serif", 8}, {"MS Sans Serif", -13}, {"Tahoma", -11}, {"Tahoma", -13},
               {"Arial", -16},       {"Arial", -20},         {"Courier New", -12}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.face) + " " + std::to_string(c.height));
    MemCanvas underscore(40, 40), underlined(40, 40);
    TEXTMETRICA tm{};
    {
      WithFont f(underscore.dc, c.height, FW_NORMAL, c.face);
      GetTextMetricsA(underscore.dc, &tm);
      TextOutA(underscore.dc, 2, 0, "_", 1);
    }
    {
      HFONT font = CreateFontA(c.height, 0, 0, 0, FW_NORMAL, FALSE, TRUE, 0, ANSI_CHARSET, 0, 0, 0, 0, c.face);
      HGDIOBJ old = SelectObject(underlined.dc, font);
      TextOutA(underlined.dc, 2, 0, " ", 1);
      SelectObject(underlined.dc, old);
      DeleteObject(font);
    }
    const Ink bar = FindInk(underscore, K), line = FindInk(underlined, K);
    ASSERT_GT(bar.count, 0);
    EXPECT_EQ(line.top, bar.top);
    EXPECT_GE(bar.top, tm.tmAscent);
    EXPECT_LT(bar.bottom, tm.tmHeight);
  }

  // Multi-line text, as a static draws it: the underscore, last on the middle
  // line, is what differs from the same text without it.
  auto wrapped = [](const char* text) {
    auto canvas = std::make_unique<MemCanvas>(200, 60);
    WithFont f(canvas->dc, 8, FW_THIN, "MS Sans Serif");
    RECT r{0, 0, 150, 60};
    DrawTextA(canvas->dc, text, -1, &r, DT_WORDBREAK | DT_EXPANDTABS);
    return canvas;
  };
  auto with = wrapped("Enter the name.\r\nIt may hold digits and _\r\nThe device password");
  auto without = wrapped("Enter the name.\r\nIt may hold digits and \r\nThe device password");
  TEXTMETRICA tm{};
  {
    WithFont f(with->dc, 8, FW_THIN, "MS Sans Serif");
    GetTextMetricsA(with->dc, &tm);
  }
  int top = 1 << 30, bottom = -1;
  for (int y = 0; y < with->height; ++y)
    for (int x = 0; x < with->width; ++x)
      if (with->At(x, y) != without->At(x, y)) top = std::min(top, y), bottom = std::max(bottom, y + 1);
  ASSERT_GT(bottom, 0) << "no underscore drawn";
  const int cell = top / tm.tmHeight * tm.tmHeight;  // the top of its line's cell
  ASSERT_GE(cell, tm.tmHeight) << "the underscore should fall on a line after the first";
  EXPECT_GE(top, cell + tm.tmAscent);
  EXPECT_LT(bottom, cell + tm.tmHeight);  // off the last row, which touches the next line
}
