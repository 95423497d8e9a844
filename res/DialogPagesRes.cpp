// The message box (149), the device and group password dialogs (148, 142),
// the group name page (131), the completion pages (147, 137) and the picture
// behind the three dialogs (159). Sizes are in dialog units; texts that the
// language file supplies at initialisation are the templates' defaults.

#include <cstdint>
#include <utility>
#include <vector>

#include "Controls.h"
#include "DialogPagesRes.h"
#include "Gdi.h"
#include "Resource.h"
#include "WizardRes.h"

namespace {

using namespace rc;

const DWORD kPopupDialog = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;

// The single "OK" (3) stands centred under the message; the OK and Cancel
// pair (1, 2) replaces it in the two-button form.
const DialogTemplate kMessageBox = {
    kPopupDialog,
    0,
    0, 0, 239, 95,
    "AP Vezovi Tool",
    "MS Sans Serif", 8,
    "",
    {
        // Room for five lines: a message that says what failed and what to do.
        LText("", IDC_MSGBOX_TEXT, 7, 20, 225, 46),
        Hidden(DefPushButton("OK", IDOK, 60, 74, 50, 14)),
        Hidden(DefPushButton("cancel", IDCANCEL, 130, 74, 50, 14)),
        DefPushButton("OK", IDC_MSGBOX_SINGLE_OK, 95, 74, 50, 14),
    },
};

// Labels on the left, values and edits in one column on the right, the
// OK and Cancel pair centred below.
const DialogTemplate kDevicePassword = {
    kPopupDialog,
    0,
    0, 0, 200, 92,
    "Password",
    "MS Sans Serif", 8,
    "",
    {
        LText("IP Address:", IDC_DEVPASS_IP_LABEL, 12, 12, 60, 10),
        LText("", IDC_DEVPASS_IP, 76, 12, 112, 10, SS_NOPREFIX),
        LText("Mac Address:", IDC_DEVPASS_MAC_LABEL, 12, 28, 60, 10),
        LText("", IDC_DEVPASS_MAC, 76, 28, 112, 10, SS_NOPREFIX),
        LText("Password:", IDC_DEVPASS_PASSWORD_LABEL, 12, 46, 60, 10),
        EditText(IDC_DEVPASS_PASSWORD, 76, 44, 112, 13, ES_PASSWORD | ES_AUTOHSCROLL),
        DefPushButton("OK", IDOK, 44, 70, 50, 14),
        PushButton("Cancel", IDCANCEL, 106, 70, 50, 14),
    },
};

const DialogTemplate kGroupPassword = {
    kPopupDialog,
    0,
    0, 0, 200, 78,
    "Please Enter Password",
    "MS Sans Serif", 8,
    "",
    {
        LText("AP Vezovi Name", IDC_GRPPASS_NAME_LABEL, 12, 14, 64, 10),
        EditText(IDC_GRPPASS_NAME, 80, 12, 108, 13, ES_AUTOHSCROLL),
        LText("Password", IDC_GRPPASS_PASSWORD_LABEL, 12, 32, 64, 10),
        EditText(IDC_GRPPASS_PASSWORD, 80, 30, 108, 13, ES_PASSWORD | ES_AUTOHSCROLL),
        DefPushButton("OK", IDOK, 44, 56, 50, 14),
        PushButton("Cancel", IDCANCEL, 106, 56, 50, 14),
    },
};

// The pages fill their frame's page area (312 x 212, as the placeholders);
// their texts are white on the skin's dark page background. The group name
// page's OK and Cancel are never shown: Enter and Escape do nothing there.
DialogTemplate Page(std::vector<DialogItemTemplate> items) {
  return DialogTemplate{WS_CHILD | DS_CONTROL | DS_SETFONT, 0, 0, 0, 312, 212, "", "MS Sans Serif", 8, "",
                        std::move(items)};
}

const DialogTemplate kGroupNamePage = Page({
    LText("The device password of all AP Vezovi members will be synchronized as the same as AP Vezovi password.",
          IDC_GROUPNAME_NOTICE, 24, 24, 264, 40),
    LText("AP Vezovi Name:", IDC_GROUPNAME_NAME_LABEL, 48, 84, 64, 10),
    EditText(IDC_GROUPNAME_NAME, 116, 82, 148, 13, ES_AUTOHSCROLL),
    LText("Password:", IDC_GROUPNAME_PASSWORD_LABEL, 48, 106, 64, 10),
    EditText(IDC_GROUPNAME_PASSWORD, 116, 104, 148, 13, ES_PASSWORD | ES_AUTOHSCROLL),
    Hidden(DefPushButton("OK", IDOK, 196, 190, 50, 14)),
    Hidden(PushButton("Cancel", IDCANCEL, 252, 190, 50, 14)),
});

const char* const kNoticeText =
    "Notice: The SNMP has been disabled.  Please enable SNMP through web configuration if a third party SNMP "
    "management software is used.";

DialogTemplate CompletionPage(const char* message) {
  return Page({
      LText("Completed", IDC_DONE_TITLE, 24, 24, 264, 20, SS_NOPREFIX),
      LText(message, IDC_DONE_MESSAGE, 24, 60, 264, 30, SS_NOPREFIX),
      LText(kNoticeText, IDC_DONE_NOTICE, 24, 100, 264, 48, SS_NOPREFIX),
  });
}

const DialogTemplate kCreateDonePage =
    CompletionPage("Congratulations! Succeed in creating new AP Vezovi Group.");
const DialogTemplate kModifyDonePage =
    CompletionPage("Congratulations! You have succeeded in modifying the selected AP Vezovi Group.");

// ---------------------------------------------------------------- picture 159

// A light blue-grey sheet for black text, under a thin accent line in the
// skin's hot blue, with faint radio rings spreading from the lower right
// corner. Integer arithmetic only, so every build draws the same pixels.
struct Rgb {
  int r, g, b;
};

Rgb Mix(Rgb a, Rgb b, int num, int den) {
  auto mix = [&](int x, int y) { return (x * (den - num) + y * num + den / 2) / den; };
  return Rgb{mix(a.r, b.r), mix(a.g, b.g), mix(a.b, b.b)};
}

const Rgb kSheetTop{0xF5, 0xF8, 0xFB};
const Rgb kSheetBottom{0xDA, 0xE3, 0xEC};
const Rgb kAccent{0x3F, 0x7F, 0xC4};
const Rgb kAccentSoft{0x86, 0xAE, 0xDD};
const Rgb kRing{0xB8, 0xC7, 0xD8};
const int kRingRadii[] = {34, 62, 90, 118};
const int kRingHalfWidth8 = 7;  // in eighths of a pixel
const int kAccentRows = 3;

// How many of the pixel's 4 x 4 sub-samples lie on a ring around the lower
// right corner (0..16).
int RingCoverage(int x, int y, int width, int height) {
  int covered = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx) {
      const int64_t dx = int64_t(width) * 8 - (x * 8 + sx * 2 + 1);
      const int64_t dy = int64_t(height) * 8 - (y * 8 + sy * 2 + 1);
      const int64_t d2 = dx * dx + dy * dy;
      for (int r : kRingRadii) {
        const int64_t inner = r * 8 - kRingHalfWidth8, outer = r * 8 + kRingHalfWidth8;
        if (d2 >= inner * inner && d2 <= outer * outer) {
          ++covered;
          break;
        }
      }
    }
  return covered;
}

Rgb BackdropPixel(int x, int y, int width, int height) {
  if (y < kAccentRows) return kAccent;
  if (y == kAccentRows) return kAccentSoft;
  const Rgb sheet = Mix(kSheetTop, kSheetBottom, y, height - 1);
  return Mix(sheet, kRing, RingCoverage(x, y, width, height), 16);
}

const int kBackdropWidth = IDB_DIALOG_BACKDROP_WIDTH, kBackdropHeight = IDB_DIALOG_BACKDROP_HEIGHT;

// Device-dependent rows of 24-bit pixels (blue, green, red), padded to 16 bits.
std::vector<uint8_t> DrawDialogBackdrop() {
  const size_t stride = ((size_t(kBackdropWidth) * 24 + 15) / 16) * 2;
  std::vector<uint8_t> bits(stride * kBackdropHeight);
  for (int y = 0; y < kBackdropHeight; ++y)
    for (int x = 0; x < kBackdropWidth; ++x) {
      const Rgb c = BackdropPixel(x, y, kBackdropWidth, kBackdropHeight);
      uint8_t* p = &bits[stride * y + size_t(x) * 3];
      p[0] = uint8_t(c.b), p[1] = uint8_t(c.g), p[2] = uint8_t(c.r);
    }
  return bits;
}

// The dialogs load the picture at every paint: its pixels are drawn once.
HBITMAP MakeDialogBackdrop() {
  static const std::vector<uint8_t> bits = DrawDialogBackdrop();
  return CreateBitmap(kBackdropWidth, kBackdropHeight, 1, 24, bits.data());
}

const ResourceRegistrar kRegister([] {
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_SKIN_MESSAGE_BOX), &kMessageBox);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_DEVICE_PASSWORD), &kDevicePassword);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_GROUP_PASSWORD), &kGroupPassword);
  // These replace the frames' placeholder pages.
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_GROUP_NAME), &kGroupNamePage);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_CREATE_DONE), &kCreateDonePage);
  PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_MODIFY_DONE), &kModifyDonePage);
  PlatformAddBitmap(MAKEINTRESOURCEA(IDB_DIALOG_BACKDROP), MakeDialogBackdrop);
});

}  // namespace
