// Draws a few panels with the platform's GDI and writes each as a PNG file,
// so that a reviewer can see shapes, text, blits and image lists.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "GalleryPages.h"
#include "Gdi.h"
#include "Surface.h"

namespace {

struct Panel {
  PlatformSurface surface;
  HDC dc;
  Panel(int w, int h) {
    surface.Resize(w, h);
    dc = PlatformCreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, w, h}, nullptr);
    RECT all{0, 0, w, h};
    FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  }
  ~Panel() { DeleteDC(dc); }
  bool Save(const std::string& folder, const char* name) {
    std::string path = folder + "/" + name;
    bool ok = PlatformWritePng(surface, path.c_str());
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", path.c_str());
    return ok;
  }
};

HFONT Font(int height, int weight, const char* face, int escapement = 0, bool underline = false) {
  return CreateFontA(height, 0, escapement, escapement, weight, 0, underline, 0, ANSI_CHARSET, 0, 0,
                     NONANTIALIASED_QUALITY, 0, face);
}

void Label(HDC dc, int x, int y, const char* text) {
  HFONT f = Font(-11, FW_NORMAL, "MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, f);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  TextOutA(dc, x, y, text, static_cast<int>(std::string(text).size()));
  SelectObject(dc, old);
  DeleteObject(f);
}

bool Shapes(const std::string& out) {
  Panel p(480, 320);
  HDC dc = p.dc;
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 128));
  HPEN wide = CreatePen(PS_SOLID, 3, RGB(200, 0, 0));
  HPEN dot = CreatePen(PS_DOT, 1, RGB(0, 0, 0));
  HBRUSH fill = CreateSolidBrush(RGB(0x61, 0xA6, 0xF2));
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 128, 0));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, fill);
  Rectangle(dc, 10, 10, 90, 60);
  RoundRect(dc, 100, 10, 180, 60, 20, 20);
  Ellipse(dc, 190, 10, 270, 60);
  SelectObject(dc, wide);
  SelectObject(dc, hatch);
  POINT star[5] = {{320, 10}, {340, 60}, {290, 28}, {350, 28}, {300, 60}};
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, star, 5);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, 370, 10, 470, 60, 10, 10);
  SelectObject(dc, dot);
  SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < 5; ++i) {
    MoveToEx(dc, 10, 80 + i * 8, nullptr);
    LineTo(dc, 200, 70 + i * 14);
  }
  SelectObject(dc, pen);
  for (int a = 0; a < 12; ++a) {
    MoveToEx(dc, 300, 110, nullptr);
    static const int dx[12] = {60, 52, 30, 0, -30, -52, -60, -52, -30, 0, 30, 52};
    static const int dy[12] = {0, 30, 52, 60, 52, 30, 0, -30, -52, -60, -52, -30};
    LineTo(dc, 300 + dx[a] / 2, 110 + dy[a] / 2);
  }
  Label(dc, 10, 130, "DrawEdge: raised, sunken, etched, bump; focus rect; frame controls");
  UINT edges[4] = {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP};
  for (int i = 0; i < 4; ++i) {
    RECT r{10 + i * 60, 150, 60 + i * 60, 190};
    DrawEdge(dc, &r, edges[i], BF_RECT);
  }
  RECT focus{250, 150, 320, 190};
  DrawFocusRect(dc, &focus);
  UINT kinds[6] = {DFCS_SCROLLUP,
                   DFCS_SCROLLDOWN,
                   DFCS_SCROLLLEFT,
                   DFCS_SCROLLRIGHT,
                   DFCS_SCROLLCOMBOBOX | DFCS_PUSHED,
                   DFCS_SCROLLCOMBOBOX | DFCS_INACTIVE};
  for (int i = 0; i < 6; ++i) {
    RECT r{10 + i * 22, 200, 26 + i * 22, 216};
    DrawFrameControl(dc, &r, DFC_SCROLL, kinds[i]);
  }
  RECT grip{150, 200, 166, 216};
  DrawFrameControl(dc, &grip, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  RECT check{180, 200, 193, 213};
  DrawFrameControl(dc, &check, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  RECT push{200, 200, 260, 222};
  DrawFrameControl(dc, &push, DFC_BUTTON, DFCS_BUTTONPUSH);
  // Clipping: a clip region with a hole, then a big fill.
  Label(dc, 10, 235, "clip region: rectangle minus ellipse");
  HRGN outer = CreateRectRgn(10, 250, 200, 310);
  HRGN hole = CreateEllipticRgn(60, 255, 150, 305);
  CombineRgn(outer, outer, hole, RGN_DIFF);
  SelectClipRgn(dc, outer);
  RECT big{0, 240, 480, 320};
  HBRUSH red = CreateSolidBrush(RGB(200, 40, 40));
  FillRect(dc, &big, red);
  SelectClipRgn(dc, nullptr);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  for (HGDIOBJ o : {static_cast<HGDIOBJ>(pen), static_cast<HGDIOBJ>(wide), static_cast<HGDIOBJ>(dot),
                    static_cast<HGDIOBJ>(fill), static_cast<HGDIOBJ>(hatch), static_cast<HGDIOBJ>(outer),
                    static_cast<HGDIOBJ>(hole), static_cast<HGDIOBJ>(red)})
    DeleteObject(o);
  return p.Save(out, "shapes.png");
}

bool Text(const std::string& out) {
  Panel p(480, 360);
  HDC dc = p.dc;
  SetBkMode(dc, TRANSPARENT);
  int y = 8;
  struct {
    int h;
    int w;
    const char* face;
    const char* sample;
  } fonts[] = {{-11, FW_NORMAL, "MS Sans Serif", "MS Sans Serif -11: The quick brown fox 0123456789"},
               {-11, FW_BOLD, "Tahoma", "Tahoma bold -11: The quick brown fox"},
               {16, FW_NORMAL, "Arial", "Arial cell 16: Jumps over the lazy dog"},
               {-13, FW_NORMAL, "Courier New", "Courier New -13: fixed pitch iiii WWWW"},
               {-20, FW_NORMAL, "Verdana", "Verdana -20: Hamburgefonstiv"}};
  for (auto& f : fonts) {
    HFONT font = Font(f.h, f.w, f.face);
    HGDIOBJ old = SelectObject(dc, font);
    TextOutA(dc, 10, y, f.sample, static_cast<int>(std::string(f.sample).size()));
    TEXTMETRICA tm;
    GetTextMetricsA(dc, &tm);
    y += tm.tmHeight + 4;
    SelectObject(dc, old);
    DeleteObject(font);
  }
  HFONT ui = Font(-11, FW_NORMAL, "MS Sans Serif");
  HGDIOBJ old = SelectObject(dc, ui);
  struct {
    UINT fmt;
    const char* text;
  } boxes[] = {{DT_SINGLELINE | DT_VCENTER | DT_CENTER, "&Centred"},
               {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, "Right && bottom"},
               {DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS, "A text far too long for its box"},
               {DT_WORDBREAK, "Word break keeps words whole across lines"}};
  for (int i = 0; i < 4; ++i) {
    RECT r{10 + i * 115, 150, 115 + i * 115, 200};
    HBRUSH frame = CreateSolidBrush(RGB(0x40, 0x80, 0xB9));
    FrameRect(dc, &r, frame);
    DeleteObject(frame);
    DrawTextA(dc, boxes[i].text, -1, &r, boxes[i].fmt);
  }
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 255, 225));
  RECT opaque{10, 215, 200, 235};
  ExtTextOutA(dc, 14, 218, ETO_OPAQUE, &opaque, "ExtTextOut with ETO_OPAQUE", 26, nullptr);
  SetBkMode(dc, TRANSPARENT);
  INT tabs[2] = {60, 140};
  TabbedTextOutA(dc, 10, 245, "Tabbed\tcolumns\there", 20, 2, tabs, 10);
  SelectObject(dc, old);
  DeleteObject(ui);
  HFONT up = Font(-14, FW_NORMAL, "Arial", 900);
  old = SelectObject(dc, up);
  SetTextColor(dc, RGB(128, 0, 0));
  TextOutA(dc, 440, 350, "Escapement 900", 14);
  SelectObject(dc, old);
  DeleteObject(up);
  HFONT ul = Font(-12, FW_NORMAL, "Tahoma", 0, true);
  old = SelectObject(dc, ul);
  SetTextColor(dc, RGB(0, 0, 160));
  TextOutA(dc, 10, 270, "Underlined link text", 20);
  SelectObject(dc, old);
  DeleteObject(ul);
  return p.Save(out, "text.png");
}

HBITMAP Checker(int w, int h, int cell) {
  HBITMAP bm = CreateBitmap(w, h, 1, 32, nullptr);
  HDC mem = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(mem, bm);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bool a = ((x / cell) + (y / cell)) % 2;
      SetPixel(mem, x, y, a ? RGB(x * 255 / w, 80, y * 255 / h) : RGB(255, 255, 255));
    }
  SelectObject(mem, old);
  DeleteDC(mem);
  return bm;
}

// The dialog pages ask for "MS Sans Serif" at heights 6 to 10 with explicit
// widths: each row must stay readable, regular and bold.
bool SmallFonts(const std::string& out) {
  Panel p(560, 40 + 9 * 2 * 18);
  HDC dc = p.dc;
  SetBkMode(dc, TRANSPARENT);
  Label(dc, 10, 6, "MS Sans Serif at heights 6 to 14 (width height/2), regular and bold; Tahoma width 5 and 9");
  int y = 26;
  char line[160];
  for (int h = 6; h <= 14; ++h) {
    for (int weight : {FW_NORMAL, FW_BOLD}) {
      HFONT font = CreateFontA(h, h / 2, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                               "MS Sans Serif");
      HGDIOBJ old = SelectObject(dc, font);
      TEXTMETRICA tm;
      GetTextMetricsA(dc, &tm);
      int n = std::snprintf(line, sizeof line, "%d %s (cell %d): Community name, 192.168.1.254 - Apply", h,
                            weight == FW_BOLD ? "bold" : "regular", static_cast<int>(tm.tmHeight));
      TextOutA(dc, 10, y, line, n);
      SelectObject(dc, old);
      DeleteObject(font);
      y += 18;
    }
  }
  int x = 440;
  for (int width : {5, 9}) {
    HFONT font = CreateFontA(-11, width, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0,
                             "Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    int n = std::snprintf(line, sizeof line, "Tahoma w%d", width);
    TextOutA(dc, x, 26 + (width == 5 ? 0 : 18), line, n);
    SelectObject(dc, old);
    DeleteObject(font);
  }
  return p.Save(out, "fonts.png");
}

bool Blits(const std::string& out) {
  Panel p(480, 300);
  HDC dc = p.dc;
  HBITMAP src = Checker(12, 12, 3);
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, src);
  const char* names[4] = {"BLACKONWHITE", "WHITEONBLACK", "COLORONCOLOR", "HALFTONE"};
  for (int m = 0; m < 4; ++m) {
    SetStretchBltMode(dc, m + 1);
    StretchBlt(dc, 10 + m * 115, 10, 96, 96, mem, 0, 0, 12, 12, SRCCOPY);
    StretchBlt(dc, 10 + m * 115, 110, 8, 8, mem, 0, 0, 12, 12, SRCCOPY);
    Label(dc, 10 + m * 115, 122, names[m]);
  }
  Label(dc, 10, 145, "TransparentBlt with white as the key, over a gradient");
  for (int x = 0; x < 200; ++x) {
    RECT r{10 + x, 160, 11 + x, 230};
    HBRUSH b = CreateSolidBrush(RGB(x, 255 - x, 128));
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  SetStretchBltMode(dc, COLORONCOLOR);
  TransparentBlt(dc, 20, 165, 60, 60, mem, 0, 0, 12, 12, RGB(255, 255, 255));
  BitBlt(dc, 100, 180, 12, 12, mem, 0, 0, SRCCOPY);
  BitBlt(dc, 120, 180, 12, 12, mem, 0, 0, NOTSRCCOPY);
  // An image list with a masked strip.
  HIMAGELIST il = ImageList_Create(12, 12, ILC_COLOR32 | ILC_MASK, 2, 0);
  ImageList_AddMasked(il, src, RGB(255, 255, 255));
  ImageList_Draw(il, 0, dc, 150, 180, ILD_TRANSPARENT);
  ImageList_Draw(il, 0, dc, 170, 180, ILD_SELECTED | ILD_TRANSPARENT);
  ImageList_Destroy(il);
  SelectObject(mem, old);
  DeleteDC(mem);
  DeleteObject(src);
  return p.Save(out, "blits.png");
}

}  // namespace

bool Dialogs(const std::string& out);    // DialogPage.cpp
bool ListViews(const std::string& out);  // ListViewPage.cpp
bool Frames(const std::string& out);     // FramePage.cpp
bool Combos(const std::string& out);     // ComboPage.cpp
bool SkinDialogs(const std::string& out);  // SkinDialogPage.cpp
bool ExtLists(const std::string& out);   // ExtListPage.cpp
bool SkinnedLists(const std::string& out);  // ScrollPage.cpp

int ShowDialog();                        // DialogPage.cpp

// gallery [folder]   writes the PNG files into the folder (default "gallery")
// gallery --show     shows the dialog page on the display for a person to use
int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--show") return ShowDialog();
  std::string out = argc > 1 ? argv[1] : "gallery";
  mkdir(out.c_str(), 0755);
  bool ok = Shapes(out) & Text(out) & SmallFonts(out) & Blits(out) & Dialogs(out) & ListViews(out) & Frames(out) &
            Combos(out) & SkinDialogs(out) & ExtLists(out) & SkinnedLists(out);
  for (const GalleryPage& page : GalleryPages()) ok &= page.write(out);
  return ok ? 0 : 1;
}
