#include "RTSkin.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "RTButton.h"
#include "RTCheckBox.h"
#include "RTComboBox.h"
#include "RTDialog.h"
#include "RTFrameWnd.h"
#include "RTHeaderCtrl.h"
#include "RTListCtrl.h"
#include "RTMarkupDoc.h"
#include "RTMenuSkin.h"
#include "RTPropertyPage.h"
#include "RTPropertySheet.h"
#include "RTRadioButton.h"
#include "RTScrollBar.h"
#include "RTStatic.h"
#include "RTStatusBar.h"
#include "RTTabCtrl.h"
#include "RTToolBar.h"
#include "RTTreeCtrl.h"
#include "RTView.h"

namespace {

struct SectionKeys {
  const char* name;
  const char* images[SkinImageSet::kSlots];  // null: no key fills the slot
  const char* modes[SkinImageSet::kSlots];
};

#define FIVE_IMAGES {"Back", "Normal", "Focus", "Down", "Disable"}
#define FIVE_MODES {"BackDrawMode", "NormalDrawMode", "FocusDrawMode", "DownDrawMode", "DisableDrawMode"}
#define BUTTON_IMAGES {nullptr, "Normal", "Focus", "Down", "Disable"}
#define BUTTON_MODES {nullptr, "NormalDrawMode", "FocusDrawMode", "DownDrawMode", "DisableDrawMode"}
#define BACK_ONLY {"Back"}, {"BackDrawMode"}

// Indexed by CRTSkin::Section.
const SectionKeys kSections[CRTSkin::kSectionCount] = {
    {"ToolBar", FIVE_IMAGES, FIVE_MODES},
    {"TitleBar", {"Back", "Active", "InActive"}, {"BackDrawMode", "ActiveDrawMode", "InActiveDrawMode"}},
    {"ExitButton", BUTTON_IMAGES, BUTTON_MODES},
    {"RestoreButton", BUTTON_IMAGES, BUTTON_MODES},
    {"MaximizeButton", BUTTON_IMAGES, BUTTON_MODES},
    {"MinimizeButton", BUTTON_IMAGES, BUTTON_MODES},
    {"MenuBar", FIVE_IMAGES, FIVE_MODES},
    {"MenuItem",
     {"Back", "Normal", "Focus", "Slider", "Disable"},
     {"BackDrawMode", "NormalDrawMode", "FocusDrawMode", "SliderDrawMode", "DisableDrawMode"}},
    {"StatusBar", BACK_ONLY},
    {"Button", BUTTON_IMAGES, BUTTON_MODES},
    {"ListCtrl", BACK_ONLY},
    {"HeaderCtrl", FIVE_IMAGES, FIVE_MODES},
    {"ScrollBarHorizontal", FIVE_IMAGES, FIVE_MODES},
    {"ScrollBarVertical", FIVE_IMAGES, FIVE_MODES},
    {"ScrollBarLeftArrow", FIVE_IMAGES, FIVE_MODES},
    {"ScrollBarRightArrow", FIVE_IMAGES, FIVE_MODES},
    {"ScrollBarUpArrow", FIVE_IMAGES, FIVE_MODES},
    {"ScrollBarDownArrow", FIVE_IMAGES, FIVE_MODES},
    {"TreeCtrl", BACK_ONLY},
    {"Dialog", BACK_ONLY},
    {"StaticCtrl", BACK_ONLY},
    {"SheetCtrl", BACK_ONLY},
    // "Nornal" is how the shipped skin descriptions spell it.
    {"TabCtrl", {"Back", "tabnormal", "tabsel"}, {"BackDrawMode", "NornalDrawMode", "FocusDrawMode"}},
    {"ComboboxCtrl", {"Back", "Arrow", "Focus"}, {"BackDrawMode", "ArrowDrawMode", "FocusDrawMode"}},
};

#undef FIVE_IMAGES
#undef FIVE_MODES
#undef BUTTON_IMAGES
#undef BUTTON_MODES
#undef BACK_ONLY

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

uint32_t ParseHexColor(const char* text) {
  if (!text || text[0] != '0' || text[1] != 'x') return 0;
  const char* p = text + 2;
  uint32_t result = 0;
  for (int byte = 0; byte < 3; ++byte) {
    const int low = HexDigit(*p);
    if (low < 0) break;
    const int high = HexDigit(p[1]);
    result |= static_cast<uint32_t>(low | (high < 0 ? 0 : high << 4)) << (8 * byte);
    if (high < 0) break;
    p += 2;
  }
  return result;
}

CString GetFolderPart(const char* path) {
  if (!path) return CString();
  const char* last = nullptr;
  for (const char* p = path; *p; ++p)
    if (IsSeparator(*p)) last = p;
  return last ? CString(path, static_cast<int>(last - path + 1)) : CString();
}

CRTSkin::~CRTSkin() {
  FreeImages();
  if (s_distributor == this) {
    Distribute();  // empty slots in place of the freed bitmaps
    EnableSkin(0);
    s_distributor = nullptr;
  }
}

int CRTSkin::LoadSkin(const char* path) {
  CRTMarkupDoc doc;
  if (!doc.LoadFile(path)) return 0;
  // The folder and every image path built on it must fit the program's
  // path limit; a longer one is refused rather than cut into another name.
  if (std::strlen(path) > static_cast<size_t>(kMaxSkinPath)) return 0;
  CString folder = GetFolderPart(path);
  if (folder.IsEmpty()) return 0;
  m_folder = folder;
  ApplySections(doc);
  return 1;
}

void CRTSkin::EnableSkin(int flag) {
  CRTFrameWnd::SetSkinFlags(flag, 1, 1);
  CRTDialog::SetSkinFlags(flag, 1, 1, 1);
  CRTToolBar::SetSkinFlag(flag);
  CRTMenuSkin::SetSkinEnabled(flag);
  CRTButton::SetSkinEnabled(flag);
  CRTTabCtrl::SetSkinFlag(flag);
  CRTListCtrl::SetSkinEnabled(flag);
  CRTHeaderCtrl::SetSkinEnabled(flag);
  CRTScrollBar::SetSkinEnabled(flag);
  CRTTreeCtrl::SetSkinFlag(flag);
  CRTCheckBox::SetSkinFlags(flag, 0);
  CRTRadioButton::SetSkinFlag(flag);
  CRTStatusBar::SetSkinFlag(flag);
  CRTStatic::SetSkinEnabled(flag, 1);
  CRTView::SetSkinFlag(flag);
  CRTPropertySheet::SetSkinFlags(flag, 1, 1, 1);
  CRTPropertyPage::SetSkinFlag(flag);
}

void CRTSkin::FreeImages() {
  for (SkinImageSet& set : m_sets) std::fill(std::begin(set.images), std::end(set.images), nullptr);
  std::fill(std::begin(m_strips), std::end(m_strips), nullptr);
  // The platform's Create attaches a new list without freeing a live one.
  for (CImageList& list : m_stripLists) list.DeleteImageList();
  m_owned.clear();
}

CBitmap* CRTSkin::Own(HBITMAP bitmap) {
  if (!bitmap) return nullptr;
  auto owned = std::make_unique<CBitmap>();
  owned->Attach(bitmap);
  m_owned.push_back(std::move(owned));
  return m_owned.back().get();
}

CBitmap* CRTSkin::LoadBitmapFile(const char* fileName) {
  if (!fileName || !*fileName) return nullptr;
  CString path = m_folder + fileName;
  if (path.GetLength() > kMaxSkinPath) return nullptr;
  path.Replace('\\', '/');
  return Own(static_cast<HBITMAP>(::LoadImageA(nullptr, path, IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
}

int32_t CRTSkin::ParseValue(const char* value) {
  if (!value) return 0;
  if (value[0] == '0' && value[1] == 'x') return static_cast<int32_t>(ParseHexColor(value));
  // As atol reads it, saturating instead of overflowing.
  const char* p = value;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  const bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t n = 0;
  for (; *p >= '0' && *p <= '9'; ++p) n = std::min<int64_t>(n * 10 + (*p - '0'), int64_t{INT32_MAX} + 1);
  n = negative ? -n : std::min<int64_t>(n, INT32_MAX);
  return static_cast<int32_t>(n);
}

CBitmap* CRTSkin::ExtractImage(CImageList& list, int index) {
  IMAGEINFO info{};
  if (!list.GetImageInfo(index, &info)) return nullptr;
  const int w = info.rcImage.right - info.rcImage.left, h = info.rcImage.bottom - info.rcImage.top;
  HDC screen = ::GetDC(nullptr);
  HDC mem = ::CreateCompatibleDC(screen);
  HBITMAP frame = ::CreateCompatibleBitmap(screen, w, h);
  if (frame) {
    HGDIOBJ old = ::SelectObject(mem, frame);
    RECT r{0, 0, w, h};
    HBRUSH white = ::CreateSolidBrush(RGB(255, 255, 255));
    ::FillRect(mem, &r, white);
    ::DeleteObject(white);
    ::ImageList_Draw(list.GetSafeHandle(), index, mem, 0, 0, ILD_TRANSPARENT);
    ::SelectObject(mem, old);
  }
  ::DeleteDC(mem);
  ::ReleaseDC(nullptr, screen);
  return Own(frame);
}

void CRTSkin::ReadSection(const CRTMarkupElement& element, Section section) {
  const SectionKeys& keys = kSections[section];
  SkinImageSet& set = m_sets[section];
  for (int i = 0; i < SkinImageSet::kSlots; ++i) {
    if (keys.images[i]) set.images[i] = LoadBitmapFile(element.GetValue(keys.images[i]));
    if (keys.modes[i]) set.modes[i] = ParseValue(element.GetValue(keys.modes[i]));
  }
}

// A horizontal strip of square frames as high as the bitmap; the first five
// frames fill the slots, and then the button's image keys are not read.
void CRTSkin::ReadButtonStrip(const CRTMarkupElement& element, Section section, int strip) {
  m_strips[strip] = LoadBitmapFile(element.GetValue("list"));
  m_stripMasks[strip] = static_cast<COLORREF>(ParseValue(element.GetValue("mask")));
  CBitmap* bitmap = m_strips[strip];
  if (!bitmap) {
    ReadSection(element, section);
    return;
  }
  BITMAP bm{};
  bitmap->GetBitmap(&bm);
  const int frames = bm.bmHeight > 0 ? bm.bmWidth / bm.bmHeight : 0;
  CImageList& list = m_stripLists[strip];
  if (frames > 0 && list.Create(bm.bmHeight, bm.bmHeight, ILC_COLOR, 0, 1)) {
    list.Add(bitmap, m_stripMasks[strip]);
    for (int i = 0; i < std::min(frames, SkinImageSet::kSlots); ++i) m_sets[section].images[i] = ExtractImage(list, i);
  }
  // The draw modes are read either way; the strip already filled the images.
  const SectionKeys& keys = kSections[section];
  for (int i = 0; i < SkinImageSet::kSlots; ++i)
    if (keys.modes[i]) m_sets[section].modes[i] = ParseValue(element.GetValue(keys.modes[i]));
}

void CRTSkin::ApplySections(const CRTMarkupDoc& doc) {
  FreeImages();
  for (int s = 0; s < kSectionCount; ++s) {
    const Section section = static_cast<Section>(s);
    if (section == kExitButton) {
      // The border colours are read between the title bar and the buttons.
      if (const CRTMarkupElement* colors = doc.FindElement("BorderColor")) {
        static const char* const kColorKeys[4] = {"Color0", "Color1", "Color2", "Color3"};
        for (int i = 0; i < 4; ++i) m_borderColors[i] = static_cast<COLORREF>(ParseValue(colors->GetValue(kColorKeys[i])));
      }
    }
    const CRTMarkupElement* element = doc.FindElement(kSections[s].name);
    if (!element) continue;
    if (section == kMaximizeButton || section == kMinimizeButton)
      ReadButtonStrip(*element, section, section == kMaximizeButton ? 0 : 1);
    else
      ReadSection(*element, section);
  }
  Distribute();
}

void CRTSkin::Distribute() {
  s_distributor = this;
  auto images = [this](Section s) { return m_sets[s].images; };
  auto modes = [this](Section s) { return m_sets[s].modes; };

  CRTFrameWnd::SetExitButtonImages(images(kExitButton), modes(kExitButton));
  CRTDialog::SetExitButtonImages(images(kExitButton), modes(kExitButton));
  CRTPropertySheet::SetExitButtonImages(images(kExitButton), modes(kExitButton));
  CRTFrameWnd::SetRestoreButtonImages(images(kRestoreButton), modes(kRestoreButton));
  CRTDialog::SetRestoreButtonImages(images(kRestoreButton), modes(kRestoreButton));
  CRTFrameWnd::SetMaximizeButtonImages(images(kMaximizeButton), modes(kMaximizeButton));
  CRTDialog::SetMaximizeButtonImages(images(kMaximizeButton), modes(kMaximizeButton));
  CRTFrameWnd::SetMinimizeButtonImages(images(kMinimizeButton), modes(kMinimizeButton));
  CRTDialog::SetMinimizeButtonImages(images(kMinimizeButton), modes(kMinimizeButton));
  CRTFrameWnd::SetTitleBarImages(images(kTitleBar), modes(kTitleBar));
  CRTDialog::SetTitleBarImages(images(kTitleBar), modes(kTitleBar));
  CRTPropertySheet::SetTitleBarImages(images(kTitleBar), modes(kTitleBar));
  CRTFrameWnd::SetMenuBarImages(images(kMenuBar), modes(kMenuBar));
  CRTDialog::SetMenuBarImages(images(kMenuBar), modes(kMenuBar));
  CRTCheckBox::SetImages(images(kMenuBar), modes(kMenuBar));
  CRTRadioButton::SetImages(images(kMenuBar), modes(kMenuBar));
  CRTMenuSkin::SetMenuBarImages(images(kMenuBar), modes(kMenuBar));
  CRTFrameWnd::SetBorderColors(m_borderColors);
  CRTDialog::SetBorderColors(m_borderColors);
  CRTDialog::SetBackImage(images(kDialog)[0], modes(kDialog)[0]);
  CRTView::SetImages(images(kDialog), modes(kDialog));
  CRTTabCtrl::SetImages(images(kTabCtrl), modes(kTabCtrl));
  CRTPropertyPage::SetImages(images(kTabCtrl), modes(kTabCtrl));
  CRTStatusBar::SetImages(images(kStatusBar), modes(kStatusBar));
  CRTToolBar::SetImages(images(kToolBar), modes(kToolBar));
  CRTMenuSkin::SetMenuItemImages(images(kMenuItem), modes(kMenuItem));
  CRTButton::SetImages(images(kButton), modes(kButton));
  CRTListCtrl::SetSkinImages(images(kListCtrl), modes(kListCtrl));
  CRTHeaderCtrl::SetSkinImages(images(kHeaderCtrl), modes(kHeaderCtrl));
  CRTTreeCtrl::SetImages(images(kTreeCtrl), modes(kTreeCtrl));
  // By name: the six sections and the six setters are listed in different orders.
  CRTScrollBar::SetVerticalImages(images(kScrollBarVertical), modes(kScrollBarVertical));
  CRTScrollBar::SetHorizontalImages(images(kScrollBarHorizontal), modes(kScrollBarHorizontal));
  CRTScrollBar::SetLeftArrowImages(images(kScrollBarLeftArrow), modes(kScrollBarLeftArrow));
  CRTScrollBar::SetRightArrowImages(images(kScrollBarRightArrow), modes(kScrollBarRightArrow));
  CRTScrollBar::SetDownArrowImages(images(kScrollBarDownArrow), modes(kScrollBarDownArrow));
  CRTScrollBar::SetUpArrowImages(images(kScrollBarUpArrow), modes(kScrollBarUpArrow));
  CRTStatic::SetBackImage(images(kStaticCtrl)[0], modes(kStaticCtrl)[0]);
  CRTPropertySheet::SetBackImage(images(kStaticCtrl)[0], modes(kStaticCtrl)[0]);
  CRTComboBox::SetImages(images(kComboboxCtrl), modes(kComboboxCtrl));
}
