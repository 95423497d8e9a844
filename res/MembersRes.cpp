// The member pages' templates (132 create, 140 modify), the manual IP dialog
// (141) and the pictures a drag of unconfigured access points shows (148 one
// row, 149 several rows). Sizes are in dialog units; texts the language file
// supplies are left empty.

#include "CommCtrl.h"
#include "Controls.h"
#include "Gdi.h"
#include "MembersRes.h"
#include "Resource.h"
#include "WizardRes.h"

namespace {

using namespace rc;

const DWORD kPageStyle = WS_CHILD | DS_CONTROL | DS_SETFONT;
// The unconfigured list lets several rows be chosen for one drag.
const DWORD kSourceListStyle = LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;
const DWORD kMemberListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;

DialogItemTemplate List(int id, DWORD style, int x, int y, int cx, int cy) {
  return Control("", id, WC_LISTVIEW, style, x, y, cx, cy);
}
DialogItemTemplate IpField(int id, int x, int y, int cx) {
  return Control("", id, WC_IPADDRESS, WS_TABSTOP, x, y, cx, 12, WS_EX_CLIENTEDGE);
}

// The create flow's member page: the unconfigured access points on top, the
// members below them, the automatic address plan at the foot.
const DialogTemplate kMemberPage = {
    kPageStyle, 0, 0, 0, 312, 212, "", "MS Sans Serif", 8, "",
    {
        LText("", IDC_MEM_UNCONFIG_CAPTION, 8, 5, 200, 9),
        List(IDC_MEM_UNCONFIG_LIST, kSourceListStyle, 6, 15, 300, 49),
        LText("", IDC_MEM_MEMBER_CAPTION, 8, 73, 200, 9),
        List(IDC_MEM_MEMBER_LIST, kMemberListStyle, 6, 83, 300, 67),
        LText("", IDC_MEM_AUTO_CAPTION, 8, 158, 200, 9),
        LText("", IDC_MEM_IP_FROM_LABEL, 10, 172, 92, 8),
        LText("", IDC_MEM_MASK_LABEL, 110, 172, 92, 8),
        LText("", IDC_MEM_GATEWAY_LABEL, 210, 172, 92, 8),
        IpField(IDC_MEM_IP_FROM, 10, 184, 92),
        IpField(IDC_MEM_MASK, 110, 184, 92),
        IpField(IDC_MEM_GATEWAY, 210, 184, 92),
        Hidden(AutoCheckBox("", IDC_MEM_AUTO_CHECK, 280, 158, 10, 8, WS_DISABLED)),
        Hidden(DefPushButton("OK", IDOK, 200, 196, 40, 12)),
        Hidden(PushButton("Cancel", IDCANCEL, 250, 196, 40, 12)),
        // The frames lie below what they surround: they fill their background.
        GroupBox("", IDC_MEM_UNCONFIG_FRAME, 2, 2, 308, 66),
        GroupBox("", IDC_MEM_MEMBER_FRAME, 2, 70, 308, 84),
        GroupBox("", IDC_MEM_AUTO_FRAME, 2, 156, 308, 54),
    },
};

// The modify flow's member page: the groups found and the chosen group's
// name and password beside the automatic address plan, then the members
// and the unconfigured access points.
const DialogTemplate kModifyMembersPage = {
    kPageStyle, 0, 0, 0, 312, 212, "", "MS Sans Serif", 8, "",
    {
        LText("", IDC_MOD_GROUP_CAPTION, 8, 4, 120, 9),
        ListBox(IDC_MOD_GROUP_LIST, 6, 14, 136, 34,
                LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY | WS_VSCROLL | WS_HSCROLL |
                    WS_BORDER | WS_TABSTOP),
        LText("", IDC_MOD_NAME_LABEL, 6, 53, 78, 8),
        EditText(IDC_MOD_GROUP_NAME, 84, 51, 58, 12, ES_AUTOHSCROLL | WS_TABSTOP),
        LText("", IDC_MOD_PASSWORD_LABEL, 6, 67, 78, 8),
        EditText(IDC_MOD_GROUP_PASSWORD, 84, 65, 58, 12, ES_PASSWORD | ES_AUTOHSCROLL | WS_TABSTOP),
        LText("", IDC_MOD_AUTO_CAPTION, 156, 4, 140, 9),
        LText("", IDC_MOD_IP_FROM_LABEL, 156, 20, 82, 8),
        IpField(IDC_MEM_IP_FROM, 238, 18, 68),
        LText("", IDC_MEM_MASK_LABEL, 156, 40, 82, 8),
        IpField(IDC_MEM_MASK, 238, 38, 68),
        LText("", IDC_MEM_GATEWAY_LABEL, 156, 60, 82, 8),
        IpField(IDC_MEM_GATEWAY, 238, 58, 68),
        LText("", IDC_MOD_MEMBER_CAPTION, 8, 85, 200, 9),
        List(IDC_MOD_MEMBER_LIST, kMemberListStyle, 6, 95, 300, 55),
        LText("", IDC_MOD_UNCONFIG_CAPTION, 8, 157, 200, 9),
        List(IDC_MOD_UNCONFIG_LIST, kSourceListStyle, 6, 167, 300, 39),
        Hidden(List(IDC_MOD_UNUSED_LIST, LVS_REPORT, 6, 167, 20, 10)),
        Hidden(DefPushButton("OK", IDOK, 200, 196, 40, 12)),
        Hidden(PushButton("Cancel", IDCANCEL, 250, 196, 40, 12)),
        // The frames lie below what they surround: they fill their background.
        GroupBox("", IDC_MOD_GROUP_FRAME, 2, 2, 144, 78),
        GroupBox("", IDC_MOD_AUTO_FRAME, 150, 2, 160, 78),
        GroupBox("", IDC_MOD_MEMBER_FRAME, 2, 82, 308, 72),
        GroupBox("", IDC_MOD_UNCONFIG_FRAME, 2, 154, 308, 56),
    },
};

const DialogTemplate kManualIp = {
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT, 0, 0, 0, 190, 86,
    "Manually Set IP", "MS Sans Serif", 8, "",
    {
        LText("IP Address", IDC_MAN_IP_LABEL, 10, 12, 70, 8),
        IpField(IDC_MAN_IP, 84, 10, 96),
        LText("Subnet Mask", IDC_MAN_MASK_LABEL, 10, 30, 70, 8),
        IpField(IDC_MAN_MASK, 84, 28, 96),
        LText("Gateway", IDC_MAN_GATEWAY_LABEL, 10, 48, 70, 8),
        IpField(IDC_MAN_GATEWAY, 84, 46, 96),
        DefPushButton("OK", IDOK, 43, 66, 48, 14, WS_TABSTOP),
        PushButton("Cancel", IDCANCEL, 99, 66, 48, 14, WS_TABSTOP),
    },
};

// ---------------------------------------------------------------- drag pictures

const int kCardWidth = 96, kCardHeight = 16;
const COLORREF kCardFill = RGB(0xDC, 0xE8, 0xF6);
const COLORREF kCardEdge = RGB(0x2C, 0x5A, 0x96);
const COLORREF kPostColor = RGB(0x30, 0x30, 0x30);
const COLORREF kWaveColor = RGB(0xF0, 0x90, 0x20);
const COLORREF kLineColor = RGB(0x80, 0x94, 0xB0);

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
  RECT r{left, top, right, bottom};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &r, brush);
  DeleteObject(brush);
}

// One access point as a card of `width` x `height`: a framed strip with a
// small post and radio waves at its left and two grey lines standing for
// its texts.
void DrawCard(HDC dc, int x, int y, int width, int height) {
  FillBox(dc, x, y, x + width, y + height, kCardEdge);
  FillBox(dc, x + 1, y + 1, x + width - 1, y + height - 1, kCardFill);
  const int bottom = y + height - 2, middle = y + height / 2;
  FillBox(dc, x + 7, middle - 2, x + 9, bottom, kPostColor);
  FillBox(dc, x + 5, bottom - 1, x + 11, bottom, kPostColor);
  FillBox(dc, x + 4, middle - 5, x + 5, middle - 2, kWaveColor);
  FillBox(dc, x + 11, middle - 5, x + 12, middle - 2, kWaveColor);
  FillBox(dc, x + 2, middle - 6, x + 3, middle - 1, kWaveColor);
  FillBox(dc, x + 13, middle - 6, x + 14, middle - 1, kWaveColor);
  FillBox(dc, x + 18, middle - 3, x + width - 26, middle - 1, kLineColor);
  FillBox(dc, x + 18, middle + 1, x + width - 44, middle + 3, kLineColor);
}

// The picture fills one list row (the drag image is that big): one card,
// or `cards` smaller cards stacked, each a little lower and further right.
HBITMAP MakeDragPicture(int cards) {
  const int step = 2;
  HBITMAP picture = CreateBitmap(kCardWidth, kCardHeight, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, picture);
  FillBox(dc, 0, 0, kCardWidth, kCardHeight, RGB(0xFF, 0xFF, 0xFF));
  const int width = kCardWidth - step * (cards - 1), height = kCardHeight - step * (cards - 1);
  for (int i = 0; i < cards; ++i) DrawCard(dc, i * step, i * step, width, height);
  SelectObject(dc, old);
  DeleteDC(dc);
  return picture;
}

const ResourceRegistrar kRegister([] {
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_MEMBER), &kMemberPage);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_MODIFY_MEMBERS), &kModifyMembersPage);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_MANUAL_IP), &kManualIp);
  PlatformAddBitmap(MAKEINTRESOURCEA(IDB_DRAG_ONE_ROW), [] { return MakeDragPicture(1); });
  PlatformAddBitmap(MAKEINTRESOURCEA(IDB_DRAG_ROWS), [] { return MakeDragPicture(3); });
});

}  // namespace
