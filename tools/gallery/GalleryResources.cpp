// The gallery's dialog: one of every control kind, in dialog units as a
// resource script would give it.

#include "Controls.h"
#include "GalleryRes.h"
#include "Resource.h"

namespace {

using namespace rc;

const DialogTemplate kGallery = {
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    0,
    0, 0, 330, 200,
    "Controls",
    "MS Sans Serif", 8,
    "",
    {
        GroupBox("Statics", IDC_GAL_GROUP, 5, 3, 100, 92),
        LText("Left text that wraps onto a second line", IDC_GAL_TEXT, 10, 14, 90, 18),
        Control("", IDC_GAL_FRAME, "Static", SS_BLACKFRAME, 10, 36, 24, 16),
        Control("", IDC_GAL_ETCHED, "Static", SS_ETCHEDFRAME, 38, 36, 24, 16),
        Control("#9001", IDC_GAL_BITMAP, "Static", SS_BITMAP, 66, 36, 24, 16),
        Icon(32516, IDC_GAL_ICON, 10, 58, 21, 20),
        CText("centred", -1, 38, 62, 60, 8),

        PushButton("Push", IDC_GAL_PUSH, 5, 100, 48, 14),
        DefPushButton("Default", IDOK, 57, 100, 48, 14),
        AutoCheckBox("Check box", IDC_GAL_CHECK, 5, 120, 60, 10),
        AutoRadioButton("Radio one", IDC_GAL_RADIO1, 5, 133, 60, 10, WS_GROUP | WS_TABSTOP),
        AutoRadioButton("Radio two", IDC_GAL_RADIO2, 5, 146, 60, 10),
        Control("Owner", IDC_GAL_OWNERBUTTON, "Button", BS_OWNERDRAW | WS_TABSTOP, 5, 160, 48, 14, 0),
        PushButton("Cancel", IDCANCEL, 57, 160, 48, 14, WS_GROUP),

        EditText(IDC_GAL_EDIT, 112, 5, 100, 13, ES_AUTOHSCROLL | ES_UPPERCASE),
        EditText(IDC_GAL_PASSWORD, 112, 22, 100, 13, ES_PASSWORD),
        EditText(IDC_GAL_READONLY, 112, 39, 100, 13, ES_READONLY),
        ListBox(IDC_GAL_LIST, 112, 57, 100, 44, WS_VSCROLL | LBS_NOINTEGRALHEIGHT),
        ListBox(IDC_GAL_OWNERLIST, 112, 105, 100, 44, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT),
        ComboBox(IDC_GAL_DROPLIST, 220, 5, 100, 60, CBS_DROPDOWNLIST | WS_VSCROLL, {"802.11b", "802.11g", "802.11n"}),
        ComboBox(IDC_GAL_DROPDOWN, 220, 22, 100, 60, CBS_DROPDOWN | WS_VSCROLL, {"public", "private"}),
        ScrollBar(IDC_GAL_HSCROLL, 220, 42, 100, 10, SBS_HORZ),
        ScrollBar(IDC_GAL_VSCROLL, 310, 57, 10, 60, SBS_VERT),
        Control("", IDC_GAL_PROGRESS, PROGRESS_CLASS, 0, 220, 57, 85, 10),
        Control("", IDC_GAL_SMOOTH, PROGRESS_CLASS, PBS_SMOOTH, 220, 71, 85, 10),
        Control("", IDC_GAL_IP, WC_IPADDRESS, WS_TABSTOP, 220, 88, 85, 13, WS_EX_CLIENTEDGE),
    },
};

// A small swatch of colour bars for the bitmap static.
HBITMAP Swatch() {
  const int w = 36, h = 26;
  HBITMAP bm = CreateBitmap(w, h, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bm);
  const COLORREF colors[] = {RGB(0xC0, 0x30, 0x30), RGB(0x30, 0xA0, 0x30), RGB(0x30, 0x50, 0xC0)};
  for (int i = 0; i < 3; ++i) {
    RECT r{i * w / 3, 0, (i + 1) * w / 3, h};
    HBRUSH b = CreateSolidBrush(colors[i]);
    FillRect(dc, &r, b);
    DeleteObject(b);
  }
  SelectObject(dc, old);
  DeleteDC(dc);
  return bm;
}

const ResourceRegistrar kRegister([] {
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_GALLERY), &kGallery);
  PlatformAddBitmap(MAKEINTRESOURCEA(IDB_GALLERY_SWATCH), Swatch);
  PlatformAddString(IDS_GALLERY_CAPTION, "Every control kind");
});

}  // namespace
