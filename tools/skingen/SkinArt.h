// The program's own skin "vAdev", drawn from code: every image of every
// section the skin loader reads, and the skin.ini that names them. The
// committed files under res/Skin/vAdev are exactly what WriteSkin produces,
// so a change of look is a change here followed by `skingen res/Skin/vAdev`.
#pragma once

#include <string>
#include <vector>

namespace skinart {

// One image of the skin: where skin.ini names it, how the receiving class
// draws it, and the size it really gets on screen (for the contact sheet).
struct SkinImage {
  const char* section;
  const char* key;      // image key in the section
  const char* modeKey;  // draw-mode key in the section
  int mode;             // the draw mode written for modeKey
  const char* file;     // file name in the skin folder (no blanks)
  int shownWidth;       // a typical rectangle the image is drawn into
  int shownHeight;
  const char* use;  // what the image is for, as a caption on the contact sheet
};

const std::vector<SkinImage>& SkinImages();

// The four frame ring colours of section "BorderColor" (COLORREF), outside in.
unsigned BorderColor(int ring);

// The text of skin.ini: one element per section, colours in decimal.
std::string SkinIniText();

// Draws every image and writes it (24-bit BMP) together with skin.ini into
// `folder`, which must exist. False, with the failing path in `error`, when
// a file cannot be written.
bool WriteSkin(const std::string& folder, std::string* error);

// A PNG of the skin for a person to judge: a composed dialog, a composed
// frame (menus, tool bar, tabs, status bar), and every image drawn in its
// mode at the size it really gets, beside its 1:1 pixels. Reads the BMP
// files from `skinFolder`.
bool WriteContactSheet(const std::string& skinFolder, const std::string& pngPath, std::string* error);

}  // namespace skinart
