// The contact sheet of the skin: the images as the skinned classes put them
// on screen (a wizard dialog, a message box, a frame with menus, tool bar,
// tabs and status bar), then every image alone, 1:1 and drawn in its mode at
// the size it really gets. The geometry follows the classes' paint steps and
// the platform's system metrics.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "Gdi.h"
#include "SkinArt.h"
#include "Surface.h"
#include "WinUser.h"

namespace skinart {

namespace {

// Fits a skin image into a rectangle in one of the nine draw modes. Stands in
// for the skin library's DrawSkinBitmap until this tool links it: replace the
// body by a call to it.
int DrawImage(HDC dc, RECT rc, HBITMAP bm, int mode) {
  BITMAP info{};
  if (!dc || !bm || !GetObjectA(bm, sizeof info, &info) || info.bmWidth < 9 || info.bmHeight < 9) return 0;
  const int W = info.bmWidth, H = info.bmHeight, L = rc.left, T = rc.top, R = rc.right, B = rc.bottom;
  if (R <= L || B <= T) return 1;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bm);
  auto copy = [&](int x, int y, int w, int h, int sx, int sy) { BitBlt(dc, x, y, w, h, mem, sx, sy, SRCCOPY); };
  auto stretch = [&](int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
    StretchBlt(dc, x, y, w, h, mem, sx, sy, sw, sh, SRCCOPY);
  };
  const int cw = W / 3, ch = H / 3;
  switch (mode) {
    case 0:
      for (int x = L, y = T; x < R && y < B;) {
        if (R - x > W) {
          copy(x, y, W, std::min(H, B - y), 0, 0);
          x += W;
        } else if (B - y <= H) {
          copy(x, y, R - x, B - y, 0, 0);
          break;
        } else {
          copy(x, y, R - x, H, 0, 0);
          y += H;
          x = L;
        }
      }
      break;
    case 1: {
      int y = T;
      for (; B - y >= H; y += H) stretch(L, y, R - L, H, 0, 0, W, H);
      if (B > y) stretch(L, y, R - L, B - y, 0, 0, W, B - y);
      break;
    }
    case 2: {
      int x = L;
      for (; R - x >= W; x += W) stretch(x, T, W, B - T, 0, 0, W, H);
      if (R > x) stretch(x, T, R - x, B - T, 0, 0, R - x, H);
      break;
    }
    case 3:
      stretch(L, T, R - L, B - T, 0, 0, W, H);
      break;
    case 4:
      for (int x = L + cw; x + cw < R; x += cw)
        for (int y = T + ch; y + ch < B; y += ch) copy(x, y, cw, ch, cw, ch);
      copy(L, T, cw, ch, 0, 0);
      for (int x = L + cw; x + cw < R; x += cw) copy(x, T, cw, ch, cw, 0);
      copy(R - cw, T, cw, ch, 2 * cw, 0);
      for (int y = T + ch; y + ch < B; y += ch) {
        copy(L, y, cw, ch, 0, ch);
        copy(R - cw, y, cw, ch, 2 * cw, ch);
      }
      copy(L, B - ch, cw, ch, 0, 2 * ch);
      for (int x = L + cw; x + cw < R; x += cw) copy(x, B - ch, cw, ch, cw, 2 * ch);
      copy(R - cw, B - ch, cw, ch, 2 * cw, 2 * ch);
      break;
    case 5:
      copy(L, T, W, H, 0, 0);
      break;
    case 6:
      for (int x = L; x + cw < R; x += cw) stretch(x, T, cw, B - T, cw, 0, cw, H);
      stretch(R - cw, T, cw, B - T, cw, 0, cw, H);
      break;
    case 7:
      stretch(L, T, cw, B - T, 0, 0, cw, H);
      for (int x = L + cw; x + cw < R; x += cw) stretch(x, T, cw, B - T, cw, 0, cw, H);
      stretch(R - cw, T, cw, B - T, 2 * cw, 0, cw, H);
      break;
    case 8:
      TransparentBlt(dc, L, T, R - L, B - T, mem, 0, 0, W, H, 0xFFFFFF);
      break;
    default:
      break;
  }
  SelectObject(mem, old);
  DeleteDC(mem);
  return 1;
}

class Skin {
 public:
  explicit Skin(const std::string& folder) {
    for (const SkinImage& s : SkinImages()) {
      HBITMAP bm = PlatformLoadBmpFile((folder + "/" + s.file).c_str());
      if (!bm) missing_ = s.file;
      images_[Key(s.section, s.key)] = {bm, s.mode};
    }
  }
  ~Skin() {
    for (auto& e : images_)
      if (e.second.first) DeleteObject(e.second.first);
  }
  const std::string& Missing() const { return missing_; }
  HBITMAP Bitmap(const char* section, const char* key) const { return Find(section, key).first; }
  void Draw(HDC dc, RECT rc, const char* section, const char* key) const {
    auto e = Find(section, key);
    DrawImage(dc, rc, e.first, e.second);
  }

 private:
  static std::string Key(const char* section, const char* key) { return std::string(section) + "/" + key; }
  std::pair<HBITMAP, int> Find(const char* section, const char* key) const {
    auto it = images_.find(Key(section, key));
    return it == images_.end() ? std::pair<HBITMAP, int>{nullptr, 0} : it->second;
  }
  std::map<std::string, std::pair<HBITMAP, int>> images_;
  std::string missing_;
};

// ---------------------------------------------------------------- text

HFONT UiFont(int weight = FW_NORMAL) {
  return CreateFontA(-11, 0, 0, 0, weight, 0, 0, 0, ANSI_CHARSET, 0, 0, NONANTIALIASED_QUALITY, 0, "MS Sans Serif");
}

void Text(HDC dc, RECT rc, const char* text, COLORREF colour, UINT format, int weight = FW_NORMAL) {
  HFONT f = UiFont(weight);
  HGDIOBJ old = SelectObject(dc, f);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextA(dc, text, -1, &rc, format);
  SelectObject(dc, old);
  DeleteObject(f);
}

void Label(HDC dc, int x, int y, const char* text, COLORREF colour = RGB(0x30, 0x30, 0x30)) {
  Text(dc, RECT{x, y, x + 1220, y + 14}, text, colour, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void Fill(HDC dc, RECT rc, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  FillRect(dc, &rc, b);
  DeleteObject(b);
}

void Frame(HDC dc, RECT rc, COLORREF colour) {
  HBRUSH b = CreateSolidBrush(colour);
  FrameRect(dc, &rc, b);
  DeleteObject(b);
}

RECT Offset(RECT r, int dx, int dy) { return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }

// ---------------------------------------------------------------- windows

enum ButtonState { kNormal, kHot, kPressed, kDisabled };
const char* const kSlotOfState[] = {/*kNormal*/ "Normal", /*kHot*/ "Focus",
                                    /*kPressed*/ "Down",
                                    /*kDisabled*/ "Disable"};

// Border rings, caption image, caption text and the three caption buttons of
// a skinned dialog (frame 3, caption 19) or frame window (frame 4, caption 18).
struct Chrome {
  int frame, caption;
  COLORREF textColour;
  int textLeft;  // from the caption's left edge, no icon
};
const Chrome kDialogChrome{3, 19, RGB(0, 0, 0), 1};
const Chrome kFrameChrome{4, 18, RGB(255, 255, 255), 0};

RECT DrawWindow(HDC dc, const Skin& skin, RECT win, const Chrome& k, bool active, const char* title,
                const ButtonState buttons[3], int buttonCount = 3) {
  const int W = win.right - win.left;
  for (int i = 0; i < k.frame; ++i)
    Frame(dc, RECT{win.left + i, win.top + i, win.right - i, win.bottom - i}, BorderColor(std::min(i, 3)));
  RECT cap{win.left + k.frame, win.top + k.frame, win.right - k.frame, win.top + k.frame + k.caption};
  skin.Draw(dc, cap, "TitleBar", active ? "Active" : "InActive");
  NONCLIENTMETRICSA m{};
  m.cbSize = sizeof m;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  HFONT f = CreateFontIndirectA(&m.lfCaptionFont);
  HGDIOBJ old = SelectObject(dc, f);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, k.textColour);
  RECT text{cap.left + k.textLeft, cap.top + 1 + (k.caption - 13) / 2, cap.right - 60, cap.bottom};
  DrawTextA(dc, title, -1, &text, DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(f);
  const char* sections[3] = {"ExitButton", "MaximizeButton", "MinimizeButton"};
  int right = win.left + W - k.frame, c = k.caption, top = cap.top + 2, bottom = cap.bottom - 2;
  RECT close{right - c, top, right - 2, bottom};
  RECT max{close.left - c, top, close.left - 2, bottom};
  RECT min{max.left - c + 2, top, max.left, bottom};
  const RECT where[3] = {close, max, min};
  for (int i = 0; i < buttonCount; ++i) skin.Draw(dc, where[i], sections[i], kSlotOfState[buttons[i]]);
  return RECT{win.left + k.frame, cap.bottom, win.right - k.frame, win.bottom - k.frame};
}

void DrawButton(HDC dc, const Skin& skin, RECT rc, const char* text, ButtonState state) {
  skin.Draw(dc, rc, "Button", kSlotOfState[state]);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_END_ELLIPSIS;
  Text(dc, rc, text, RGB(0, 0, 0), format);
  if (state == kDisabled) Text(dc, Offset(rc, 1, 1), text, GetSysColor(COLOR_BTNSHADOW), format);
}

void DrawCombo(HDC dc, const Skin& skin, RECT rc, const char* text) {
  skin.Draw(dc, rc, "ComboboxCtrl", "Back");
  skin.Draw(dc, RECT{rc.right - 18, rc.top + 3, rc.right - 2, rc.bottom - 1}, "ComboboxCtrl", "Arrow");
  Text(dc, RECT{rc.left + 3, rc.top + 3, rc.right - 19, rc.bottom - 3}, text, RGB(0, 0, 0), 0);
}

// A scroll bar painted the way the skinned bar does: into a fresh memory
// bitmap (so the one-pixel gaps between arrows and track keep its black),
// arrows, track, thumb at `fraction` percent.
void DrawScrollBar(HDC dc, const Skin& skin, RECT rc, bool vertical, int fraction, ButtonState first,
                   ButtonState second, ButtonState thumb, bool cornerAtEnd) {
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  HDC mem = CreateCompatibleDC(dc);
  HBITMAP bm = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old = SelectObject(mem, bm);
  const char* bar = vertical ? "ScrollBarVertical" : "ScrollBarHorizontal";
  const int len = vertical ? h : w, s = vertical ? w : h;
  auto box = [&](int a, int b) { return vertical ? RECT{0, a, s, b} : RECT{a, 0, b, s}; };
  RECT firstArrow = box(0, s), secondArrow = box(len - s, len);
  if (cornerAtEnd) {
    skin.Draw(mem, secondArrow, bar, "Back");
    secondArrow = box(len - 2 * s - 1, len - s - 1);
  }
  skin.Draw(mem, firstArrow, vertical ? "ScrollBarUpArrow" : "ScrollBarLeftArrow", kSlotOfState[first]);
  skin.Draw(mem, secondArrow, vertical ? "ScrollBarDownArrow" : "ScrollBarRightArrow", kSlotOfState[second]);
  int t0 = s + 1, t1 = (vertical ? secondArrow.top : secondArrow.left) - 1;
  skin.Draw(mem, box(t0, t1), bar, "Back");
  int track = t1 - t0, t = track >= 30 ? 30 : track / 2;
  int offset = (track - t) * fraction / 100;
  skin.Draw(mem, box(t0 + offset, t0 + offset + t), bar, kSlotOfState[thumb]);
  BitBlt(dc, rc.left, rc.top, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteObject(bm);
  DeleteDC(mem);
}

// The member list: skinned header, the list's grey rows, the container's bars.
// A labelled piece of a row (column header, menu bar item) and the image slot it shows.
struct Strip {
  const char* text;
  int width;
  const char* slot;
};

void DrawList(HDC dc, const Skin& skin, RECT rc) {
  const int bar = 16, headerHeight = 25, row = 17;
  RECT list{rc.left, rc.top, rc.right - bar, rc.bottom - bar};
  RECT header{list.left, list.top, list.right, list.top + headerHeight};
  skin.Draw(dc, header, "HeaderCtrl", "Back");
  const Strip columns[] = {{"MAC Address", 110, "Normal"}, {"IP Address", 95, "Focus"}, {"Role", 70, "Down"}};
  int x = header.left;
  for (const Strip& c : columns) {
    RECT item{x, header.top, x + c.width, header.bottom};
    skin.Draw(dc, item, "HeaderCtrl", c.slot);
    Text(dc, RECT{item.left + 6, item.top, item.right, item.bottom}, c.text, RGB(0, 0, 0),
         DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    x += c.width;
  }
  RECT body{list.left, header.bottom, list.right, list.bottom};
  Fill(dc, body, RGB(230, 230, 230));
  const char* rows[][3] = {{"0011223344AA", "10.250.0.11", "Master"},
                           {"0011223344BB", "10.250.0.12", "Backup Master"},
                           {"0011223344CC", "10.250.0.13", "Slave"},
                           {"0011223344DD", "10.250.0.14", "Slave"}};
  for (int i = 0; i <= 5; ++i) {
    int y = body.top + i * row;
    if (y >= body.bottom) break;
    Fill(dc, RECT{body.left, y, body.right, y + 1}, RGB(181, 181, 181));
    if (i >= 4) continue;
    int cx = body.left;
    for (int c = 0; c < 3; ++c) {
      Text(dc, RECT{cx + 6, y + 1, cx + columns[c].width, y + row}, rows[i][c], RGB(0, 0, 0),
           DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
      cx += columns[c].width;
    }
  }
  DrawScrollBar(dc, skin, RECT{rc.right - bar, rc.top, rc.right, rc.bottom}, true, 35, kNormal, kPressed, kNormal,
                true);
  DrawScrollBar(dc, skin, RECT{rc.left, rc.bottom - bar, rc.right - bar, rc.bottom}, false, 60, kDisabled, kNormal,
                kPressed, false);
}

// The group box draws with its own fixed blue, not from the skin; shown here
// to judge it against the dialog background.
void DrawGroupBox(HDC dc, RECT rc, const char* caption) {
  const COLORREF blue = RGB(0x40, 0x80, 0xB9);
  SIZE sz{};
  HFONT f = UiFont();
  HGDIOBJ old = SelectObject(dc, f);
  GetTextExtentPoint32A(dc, caption, static_cast<int>(std::strlen(caption)), &sz);
  SelectObject(dc, old);
  DeleteObject(f);
  HPEN pen = CreatePen(PS_SOLID, 1, blue);
  HGDIOBJ oldPen = SelectObject(dc, pen), oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  int saved = SaveDC(dc);
  ExcludeClipRect(dc, rc.left + 11, rc.top, rc.left + 11 + sz.cx, rc.top + 14);
  RoundRect(dc, rc.left + 1, rc.top + 7, rc.right - 1, rc.bottom - 1, 10, 10);
  RestoreDC(dc, saved);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  Text(dc, RECT{rc.left + 11, rc.top, rc.left + 11 + sz.cx, rc.top + 14}, caption, blue,
       DT_SINGLELINE | DT_VCENTER | DT_NOCLIP);
}

void WizardDialog(HDC dc, const Skin& skin, int x0, int y0) {
  const ButtonState caption[3] = {kNormal, kDisabled, kNormal};
  RECT client = DrawWindow(dc, skin, RECT{x0, y0, x0 + 560, y0 + 360}, kDialogChrome, true,
                           "AP Vezovi Tool - Create a group", caption);
  skin.Draw(dc, client, "Dialog", "Back");
  int x = client.left, y = client.top;
  const COLORREF white = RGB(255, 255, 255);
  Text(dc, RECT{x + 16, y + 12, x + 500, y + 28}, "Choose the security of the group and its members.", white,
       DT_SINGLELINE, FW_BOLD);
  Label(dc, x + 16, y + 44, "Authentication:", white);
  DrawCombo(dc, skin, RECT{x + 120, y + 40, x + 300, y + 61}, "WPA2-Personal");
  // The owner-drawn list of a dropped combo: items on Back, the focused one on Focus.
  const char* items[] = {"WPA-Personal", "WPA2-Personal", "WPA-Auto-Personal"};
  for (int i = 0; i < 3; ++i) {
    RECT item{x + 120, y + 61 + 16 * i, x + 300, y + 77 + 16 * i};
    skin.Draw(dc, item, "ComboboxCtrl", "Back");
    if (i == 1) skin.Draw(dc, item, "ComboboxCtrl", "Focus");
    Text(dc, Offset(item, 3, 1), items[i], RGB(0, 0, 0), 0);
  }
  Label(dc, x + 330, y + 44, "Static on its own background:", white);
  RECT st{x + 330, y + 62, x + 540, y + 82};
  skin.Draw(dc, st, "StaticCtrl", "Back");
  Text(dc, Offset(st, 2, 3), "Group: Vezovi-1", white, DT_SINGLELINE);
  DrawGroupBox(dc, RECT{x + 10, y + 118, x + 544, y + 296}, " Members ");
  DrawList(dc, skin, RECT{x + 20, y + 138, x + 380, y + 286});
  Label(dc, x + 392, y + 140, "Right bar: thumb at 35 %,", white);
  Label(dc, x + 392, y + 156, "down arrow held.", white);
  Label(dc, x + 392, y + 172, "Lower bar: thumb dragged,", white);
  Label(dc, x + 392, y + 188, "left arrow disabled.", white);
  Label(dc, x + 392, y + 212, "Columns: plain, sorted", white);
  Label(dc, x + 392, y + 228, "up, sorted down.", white);
  const char* labels[4] = {"< Back", "Next >", "Cancel", "Scan"};
  const ButtonState states[4] = {kDisabled, kHot, kNormal, kPressed};
  for (int i = 0; i < 4; ++i) {
    RECT b{x + 200 + 85 * i, client.bottom - 33, x + 275 + 85 * i, client.bottom - 10};
    DrawButton(dc, skin, b, labels[i], states[i]);
  }
  Label(dc, x + 16, client.bottom - 29, "Buttons: disabled, hot,", RGB(0xB8, 0xC4, 0xD2));
  Label(dc, x + 16, client.bottom - 15, "normal, pressed", RGB(0xB8, 0xC4, 0xD2));
}

void MessageBox(HDC dc, const Skin& skin, int x0, int y0) {
  const ButtonState caption[3] = {kHot, kNormal, kNormal};
  RECT win{x0, y0, x0 + 364, y0 + 150};
  // A message box has only a close button; the hot look is shown on it.
  RECT client = DrawWindow(dc, skin, win, kDialogChrome, false, "AP Vezovi Tool", caption, 1);
  skin.Draw(dc, client, "Dialog", "Back");
  Text(dc, RECT{client.left + 12, client.top + 20, client.right - 12, client.top + 70},
       "The device did not answer. Check that it is switched on and connected, "
       "then try again.",
       RGB(255, 255, 255), DT_WORDBREAK);
  DrawButton(dc, skin, RECT{client.left + 140, client.bottom - 35, client.left + 215, client.bottom - 12}, "OK", kHot);
}

// Dormant classes: frame window with menu bar, pop-up menu, tool bar, tab
// page with a check box, view background and status bar.
void FrameWindow(HDC dc, const Skin& skin, int x0, int y0) {
  const ButtonState caption[3] = {kNormal, kHot, kNormal};
  RECT win{x0, y0, x0 + 560, y0 + 330};
  RECT client =
      DrawWindow(dc, skin, win, kFrameChrome, true, "Frame window (caption text in COLOR_CAPTIONTEXT)", caption);
  int x = client.left, y = client.top;
  // Menu bar row.
  RECT row{x, y, client.right, y + 19};
  skin.Draw(dc, row, "MenuBar", "Back");
  const Strip menu[] = {{"File", 34, "Normal"}, {"Settings", 58, "Focus"}, {"View", 40, "Down"}};
  int mx = x, viewLeft = 0;
  for (const Strip& it : menu) {
    RECT r{mx, y, mx + it.width, y + 19};
    skin.Draw(dc, r, "MenuBar", it.slot);
    Text(dc, RECT{r.left, r.top, r.right - 4, r.bottom}, it.text, RGB(0, 0, 0), DT_CENTER | DT_SINGLELINE | DT_VCENTER);
    if (std::strcmp(it.text, "View") == 0) viewLeft = mx;
    mx += it.width;
  }
  // Tool bar.
  RECT tb{x, y + 20, client.right, y + 48};
  skin.Draw(dc, tb, "ToolBar", "Back");
  const char* tbSlots[] = {nullptr, "Focus", "Down", nullptr};
  for (int i = 0; i < 4; ++i) {
    RECT b{x + 4 + 24 * i, tb.top + 3, x + 27 + 24 * i, tb.top + 25};
    if (tbSlots[i]) skin.Draw(dc, b, "ToolBar", tbSlots[i]);
    RECT icon{b.left + 4, b.top + 3, b.left + 19, b.top + 18};  // stand-in for the tool bar's own icons
    Fill(dc, icon, i == 3 ? RGB(0xB0, 0xB0, 0xB0) : RGB(0x3A, 0x78, 0xC2));
    Fill(dc, RECT{icon.left + 3, icon.top + 3, icon.right - 3, icon.bottom - 3}, RGB(0xF0, 0xF4, 0xF8));
  }
  // View background, then a tab control with its light page.
  RECT view{x, tb.bottom, client.right, client.bottom - 20};
  skin.Draw(dc, view, "Dialog", "Back");
  RECT tab{x + 230, view.top + 12, client.right - 12, view.bottom - 12};
  skin.Draw(dc, tab, "TabCtrl", "Back");
  RECT t1{tab.left + 2, tab.top + 2, tab.left + 72, tab.top + 22},
      t2{t1.right, tab.top + 4, t1.right + 70, tab.top + 22};
  RECT page{tab.left + 2, t1.bottom, tab.right - 2, tab.bottom - 2};
  DrawEdge(dc, &page, BDR_RAISEDINNER, BF_LEFT | BF_RIGHT | BF_BOTTOM);
  DrawEdge(dc, &t1, BDR_RAISEDINNER, BF_TOP | BF_LEFT | BF_RIGHT);
  DrawEdge(dc, &t2, BDR_RAISEDINNER, BF_TOP | BF_RIGHT);
  Text(dc, t1, "General", RGB(0, 0, 0), DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  Text(dc, t2, "Security", RGB(0, 0, 0), DT_CENTER | DT_SINGLELINE | DT_VCENTER);
  RECT check{page.left + 110, page.top + 90, page.right - 14, page.top + 106};
  // The check box's background comes from the menu bar image.
  skin.Draw(dc, check, "MenuBar", "Back");
  RECT box{check.left, check.top + 1, check.left + 13, check.top + 14};
  DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  Text(dc, RECT{box.right + 4, check.top, check.right, check.bottom}, "Check box on MenuBar Back", RGB(0, 0, 0),
       DT_SINGLELINE | DT_VCENTER);
  Text(dc, RECT{page.left + 14, page.top + 44, page.right - 8, page.top + 90},
       "Property page text is black on the tab page image.", RGB(0, 0, 0), DT_WORDBREAK);
  // Status bar: three panes, teal outline, pane background.
  RECT sb{x, client.bottom - 20, client.right, client.bottom};
  skin.Draw(dc, sb, "StatusBar", "Back");
  const char* panes[] = {"Ready", "3 access points", "10.250.0.1"};
  const int widths[] = {220, 150, 0};
  int px = sb.left;
  for (int i = 0; i < 3; ++i) {
    RECT p{px, sb.top + 1, widths[i] ? px + widths[i] : sb.right, sb.bottom};
    Frame(dc, p, RGB(0, 200, 200));
    RECT in{p.left + 1, p.top + 1, p.right - 1, p.bottom - 1};
    skin.Draw(dc, in, "StatusBar", "Back");
    Text(dc, RECT{in.left + 2, in.top + 2, in.right, in.bottom}, panes[i], RGB(0, 0, 0), DT_SINGLELINE);
    px = p.right + 2;
  }
  // The "View" pop-up: icon column, text area, selected item, separator, check, disabled.
  RECT pop{viewLeft, y + 19, viewLeft + 180, y + 19 + 4 * 20 + 8 + 2};
  Frame(dc, pop, RGB(0x8A, 0x99, 0xAB));
  struct PopItem {
    const char* text;
    int height;
    bool selected, checked, disabled;
  };
  const PopItem pops[] = {{"Refresh\tF5", 20, false, false, false},
                          {"Details", 20, true, false, false},
                          {nullptr, 8, false, false, false},
                          {"Large icons", 20, false, true, false},
                          {"Export...", 20, false, false, true}};
  int py = pop.top + 1;
  for (const PopItem& p : pops) {
    RECT r{pop.left + 1, py, pop.right - 1, py + p.height};
    RECT icons{r.left, r.top, r.left + 22, r.bottom}, rest{r.left + 22, r.top, r.right, r.bottom};
    skin.Draw(dc, icons, "MenuItem", "Slider");
    skin.Draw(dc, rest, "MenuItem", p.selected ? "Focus" : "Normal");
    if (!p.text) {
      Fill(dc, RECT{r.left + 30, (r.top + r.bottom) / 2, r.right - 1, (r.top + r.bottom) / 2 + 1},
           RGB(0xAD, 0xA9, 0xA1));
    } else {
      std::string t(p.text);
      size_t tab = t.find('\t');
      COLORREF ink = p.disabled ? RGB(0xAD, 0xA9, 0xA1) : RGB(0, 0, 0);
      Text(dc, RECT{r.left + 30, r.top, r.right, r.bottom}, t.substr(0, tab).c_str(), ink, DT_SINGLELINE | DT_VCENTER);
      if (tab != std::string::npos)
        Text(dc, RECT{r.left, r.top, r.right - 12, r.bottom}, t.substr(tab + 1).c_str(), ink,
             DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
      if (p.checked) {
        RECT cb{r.left + 1, r.top + 1, r.left + 20, r.bottom - 1};
        Fill(dc, cb, RGB(0xC9, 0xDC, 0xF2));
        Frame(dc, cb, GetSysColor(COLOR_HIGHLIGHT));
        HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        for (int k = 0; k < 2; ++k) {  // the system's check mark, two pixels thick
          MoveToEx(dc, r.left + 6, r.top + 9 + k, nullptr);
          LineTo(dc, r.left + 9, r.top + 12 + k);
          LineTo(dc, r.left + 15, r.top + 6 + k);
        }
        SelectObject(dc, oldPen);
        DeleteObject(pen);
      }
    }
    py += p.height;
  }
}

// Every image alone: name, 1:1 pixels, and drawn in its mode at its real size;
// in two columns, the second starting halfway down the list.
int ImageGrid(HDC dc, const Skin& skin, int x0, int y0, int columnWidth) {
  const std::vector<SkinImage>& images = SkinImages();
  std::vector<int> heights;
  int total = 0;
  for (const SkinImage& s : images) {
    BITMAP info{};
    if (HBITMAP bm = skin.Bitmap(s.section, s.key)) GetObjectA(bm, sizeof info, &info);
    heights.push_back(16 + std::max<int>(s.shownHeight, info.bmHeight) + 12);
    total += heights.back();
  }
  int x = x0, y = y0, bottom = y0;
  for (size_t i = 0; i < images.size(); ++i) {
    const SkinImage& s = images[i];
    if (x == x0 && y - y0 >= total / 2) x += columnWidth, y = y0;
    HBITMAP bm = skin.Bitmap(s.section, s.key);
    BITMAP info{};
    if (bm) GetObjectA(bm, sizeof info, &info);
    int shownW = std::min(s.shownWidth, columnWidth - 80), shownH = s.shownHeight;
    if (dc) {
      char text[200];
      std::snprintf(text, sizeof text, "%s %s = %s  (%ld x %ld, mode %d, shown %d x %d: %s)", s.section, s.key, s.file,
                    static_cast<long>(info.bmWidth), static_cast<long>(info.bmHeight), s.mode, shownW, shownH, s.use);
      Label(dc, x, y, text);
      if (bm) {
        HDC mem = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(mem, bm);
        BitBlt(dc, x, y + 16, info.bmWidth, info.bmHeight, mem, 0, 0, SRCCOPY);
        SelectObject(mem, old);
        DeleteDC(mem);
      }
      RECT shown{x + 64, y + 16, x + 64 + shownW, y + 16 + shownH};
      Frame(dc, RECT{shown.left - 1, shown.top - 1, shown.right + 1, shown.bottom + 1}, RGB(0xFF, 0x00, 0xFF));
      skin.Draw(dc, shown, s.section, s.key);
    }
    y += heights[i];
    bottom = std::max(bottom, y);
  }
  return bottom;
}

}  // namespace

bool WriteContactSheet(const std::string& skinFolder, const std::string& pngPath, std::string* error) {
  Skin skin(skinFolder);
  if (!skin.Missing().empty()) {
    if (error) *error = skinFolder + "/" + skin.Missing();
    return false;
  }
  const int width = 1240, gridTop = 540, columnWidth = 610;
  const int height = ImageGrid(nullptr, skin, 10, gridTop, columnWidth) + 10;
  PlatformSurface surface;
  surface.Resize(width, height);
  HDC dc = PlatformCreateSurfaceDC(&surface, POINT{0, 0}, RECT{0, 0, width, height}, nullptr);
  Fill(dc, RECT{0, 0, width, height}, RGB(0xFF, 0xFF, 0xFF));
  Label(dc, 10, 6,
        "vAdev skin: composed as the skinned classes draw it (wizard dialog, "
        "message box; dormant frame "
        "window below), then every image: 1:1 on the left, drawn in its mode "
        "at its real size in the "
        "magenta box.");
  WizardDialog(dc, skin, 10, 26);
  MessageBox(dc, skin, 600, 26);
  FrameWindow(dc, skin, 600, 200);
  Label(dc, 10, 400,
        "Caption buttons in every state (normal, hot, pressed, disabled) on "
        "the active caption:");
  const char* sections[] = {"ExitButton", "MaximizeButton", "RestoreButton", "MinimizeButton"};
  for (int i = 0; i < 4; ++i) {
    RECT cap{10, 420 + 24 * i, 200, 439 + 24 * i};
    skin.Draw(dc, cap, "TitleBar", "Active");
    for (int s = 0; s < 4; ++s)
      skin.Draw(dc, RECT{20 + 22 * s, cap.top + 2, 37 + 22 * s, cap.bottom - 2}, sections[i], kSlotOfState[s]);
    Label(dc, 115, cap.top + 3, sections[i]);
  }
  ImageGrid(dc, skin, 10, gridTop, columnWidth);
  DeleteDC(dc);
  if (!PlatformWritePng(surface, pngPath.c_str())) {
    if (error) *error = pngPath;
    return false;
  }
  return true;
}

}  // namespace skinart
