// The wizard's resources: the main dialog (102), the About box (100), the
// wizard frame (129), the About item's text (101), the program icon (128) and
// one child template per wizard page, which the pages fill with their
// controls. Sizes are in dialog units; texts that the language file supplies
// are left empty here.

#include <cstring>

#include "Controls.h"
#include "Gdi.h"
#include "Resource.h"
#include "WizardRes.h"

namespace {

using namespace rc;

// The main dialog: the side panel (160 pixels, about 107 units) with the four
// flow buttons on the left; the title panel and the frame area on the right.
// The frame area's rectangle places the frames; the frame template below is
// its size.
const DialogTemplate kMainDialog = {
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_CENTER | DS_SETFONT,
    0,
    0, 0, 440, 290,
    "",
    "MS Sans Serif", 8,
    "",
    {
        Control("", IDC_MAIN_SIDE_PANEL, "Static", SS_LEFT, 0, 0, 107, 290),
        PushButton("", IDC_MAIN_CREATE, 8, 60, 92, 26, BS_MULTILINE | WS_TABSTOP),
        PushButton("", IDC_MAIN_MODIFY, 8, 94, 92, 26, BS_MULTILINE | WS_TABSTOP),
        PushButton("", IDC_MAIN_STATUS, 8, 128, 92, 26, BS_MULTILINE | WS_TABSTOP),
        PushButton("", IDCANCEL, 8, 250, 92, 18, WS_TABSTOP),
        LText("", IDC_MAIN_TITLE, 118, 8, 314, 14),
        Control("#128", IDC_MAIN_PICTURE, "Static", SS_ICON | SS_CENTERIMAGE, 118, 50, 314, 50),
        LText("", IDC_MAIN_WELCOME, 130, 110, 290, 120),
        Control("", IDC_MAIN_FRAME_AREA, "Button", BS_GROUPBOX, 112, 26, 322, 258),
    },
};

// The icon beside two lines wide enough for their texts, the OK button
// centred below them.
const DialogTemplate kAboutBox = {
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT,
    0,
    0, 0, 250, 74,
    "About Trellian",
    "MS Sans Serif", 8,
    "",
    {
        Icon(IDR_MAINFRAME, -1, 11, 12, 20, 20),
        LText("Trellian: RIZ-4410 AP Vezovi Setup Tool v1.10", IDC_ABOUT_NAME, 40, 10, 202, 12, SS_NOPREFIX),
        LText("Sets up RIZ-4410 access points as an AP Vezovi.", IDC_ABOUT_PURPOSE, 40, 26, 202, 12),
        DefPushButton("OK", IDOK, 100, 50, 50, 14, WS_GROUP | WS_TABSTOP),
    },
};

// A frame sits in the main dialog's frame area; its pages sit in the page
// area above the button row.
const DialogTemplate kWizardFrame = {
    WS_CHILD | DS_CONTROL | DS_SETFONT,
    0,
    0, 0, 320, 255,
    "",
    "MS Sans Serif", 8,
    "",
    {
        LText("", IDC_WIZ_TITLE, 6, 6, 300, 2),
        Hidden(Control("", IDC_WIZ_PAGE_AREA, "Static", SS_LEFT, 2, 12, 312, 212)),
        PushButton("", IDC_WIZ_BACK, 104, 232, 50, 16, WS_TABSTOP),
        PushButton("", IDC_WIZ_NEXT, 158, 232, 50, 16, WS_TABSTOP),
        Hidden(PushButton("", IDC_WIZ_FINISH, 158, 232, 50, 16, WS_TABSTOP)),
        PushButton("", IDC_WIZ_CANCEL, 262, 232, 50, 16, WS_TABSTOP),
    },
};

// The program icon, 32 x 32: three access points (a post with a dot and
// radio arcs) on a dark blue tile, drawn as a table of characters
// ('#' tile, 'w' white, 'o' orange, '.' transparent).
const char* const kIcon[32] = {
    "................................",
    "..############################..",
    ".##############################.",
    ".##############################.",
    ".######w################w######.",
    ".#####w##w##############w##w#####",
    ".####w##w##w##########w##w##w###.",
    ".####w##w##ooo########w##w##w###.",
    ".####w##w#ooooo#######w##w##w###.",
    ".#####w##w#ooo#########w##w#####.",
    ".######w####w###########w#######.",
    ".###########w##################.",
    ".###########w##################.",
    ".###########w##################.",
    ".##########www#################.",
    ".##############################.",
    ".#################w############.",
    ".###############w##w###########.",
    ".##############w##w##w#########.",
    ".##############w##w#ooo########.",
    ".##############w##woooooo######.",
    ".###############w##wooo########.",
    ".#################w##w#########.",
    ".####################w#########.",
    ".####################w#########.",
    ".###################www########.",
    ".##############################.",
    ".##############################.",
    ".##############################.",
    ".##############################.",
    "..############################..",
    "................................",
};

HICON MakeProgramIcon() {
  const int size = 32;
  HDC screen = GetDC(nullptr);
  HBITMAP image = CreateCompatibleBitmap(screen, size, size);
  HBITMAP mask = CreateCompatibleBitmap(screen, size, size);
  HDC dc = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(dc, mask);
  auto at = [](int x, int y) { return x < static_cast<int>(std::strlen(kIcon[y])) ? kIcon[y][x] : '.'; };
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) SetPixel(dc, x, y, at(x, y) == '.' ? RGB(255, 255, 255) : RGB(0, 0, 0));
  SelectObject(dc, image);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      COLORREF c = RGB(0, 0, 0);
      switch (at(x, y)) {
        case '#': c = RGB(0x1E, 0x3C, 0x78); break;
        case 'w': c = RGB(0xFF, 0xFF, 0xFF); break;
        case 'o': c = RGB(0xF0, 0x90, 0x20); break;
      }
      SetPixel(dc, x, y, c);
    }
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
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_MAIN_DIALOG), &kMainDialog);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_ABOUTBOX), &kAboutBox);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_WIZARD_FRAME), &kWizardFrame);
  PlatformAddString(IDS_ABOUTBOX, "&About Trellian...");
  PlatformAddIcon(MAKEINTRESOURCEA(IDR_MAINFRAME), MakeProgramIcon);
});

}  // namespace
