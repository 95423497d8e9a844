// The skin store: reads the skin description (skin.ini), loads every bitmap
// it names from the file's folder, owns them for its whole life, and hands
// images, draw modes and colours to the class-wide setters of every skinned
// class; EnableSkin switches skinning in all of them at once.
//
// The receiving classes keep borrowed pointers only, so the store must
// outlive every window that draws (the main dialog owns it for the run);
// when the store that handed out the images goes, it takes them back and
// switches skinning off, so that a later window draws plainly. A
// second LoadSkin releases the old bitmaps, strips and image lists before it
// builds new ones. A missing section, key, or unreadable image leaves its
// slot empty; a missing draw mode or colour is 0.
//
// Paths: the skin file's folder is cut at its last '/' or '\'; image names
// may use either separator. A folder plus file name longer than
// kMaxSkinPath is refused, never cut short into another name.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "SkinImageSet.h"
#include "afxwin.h"

class CRTMarkupDoc;
class CRTMarkupElement;

// "0x" followed by up to three bytes, each written as two hexadecimal digits
// LOW digit first ("0x214365" is RGB(0x12, 0x34, 0x56)); the first byte is
// the lowest of the result. Reading stops at the first character that is not
// a hexadecimal digit; a lone last digit makes a byte with that low nibble.
// Text not starting with "0x" gives 0.
uint32_t ParseHexColor(const char* text);
// The path up to and including its last '/' or '\'; empty when it has none.
CString GetFolderPart(const char* path);

class CRTSkin {
 public:
  static constexpr int kMaxSkinPath = 259;

  // The sections with an image set, in the order they are read.
  enum Section {
    kToolBar, kTitleBar, kExitButton, kRestoreButton, kMaximizeButton, kMinimizeButton, kMenuBar,
    kMenuItem, kStatusBar, kButton, kListCtrl, kHeaderCtrl, kScrollBarHorizontal, kScrollBarVertical,
    kScrollBarLeftArrow, kScrollBarRightArrow, kScrollBarUpArrow, kScrollBarDownArrow, kTreeCtrl,
    kDialog, kStaticCtrl, kSheetCtrl, kTabCtrl, kComboboxCtrl, kSectionCount
  };

  CRTSkin() = default;
  virtual ~CRTSkin();
  CRTSkin(const CRTSkin&) = delete;
  CRTSkin& operator=(const CRTSkin&) = delete;

  // 1 when the file was read and applied; 0 leaves the store and every class
  // as they were.
  int LoadSkin(const char* path);
  void EnableSkin(int flag);

  const SkinImageSet& GetImageSet(Section section) const { return m_sets[section]; }
  COLORREF GetBorderColor(int i) const { return m_borderColors[i]; }
  const CString& GetImageFolder() const { return m_folder; }
  // The image list of the maximize (0) or minimize (1) button strip.
  HIMAGELIST GetStripImageList(int strip) const { return m_stripLists[strip].GetSafeHandle(); }

 protected:
  void ApplySections(const CRTMarkupDoc& doc);
  CBitmap* LoadBitmapFile(const char* fileName);
  static int32_t ParseValue(const char* value);
  CBitmap* ExtractImage(CImageList& list, int index);
  void FreeImages();

 private:
  void ReadSection(const CRTMarkupElement& element, Section section);
  void ReadButtonStrip(const CRTMarkupElement& element, Section section, int strip);
  void Distribute();
  CBitmap* Own(HBITMAP bitmap);

  // The store whose images the classes hold now, if any.
  static inline CRTSkin* s_distributor = nullptr;

  CString m_folder;  // ends in a separator
  SkinImageSet m_sets[kSectionCount];
  COLORREF m_borderColors[4] = {};
  // The "list" strips of the maximize and minimize buttons.
  CBitmap* m_strips[2] = {};
  COLORREF m_stripMasks[2] = {};
  CImageList m_stripLists[2];
  std::vector<std::unique_ptr<CBitmap>> m_owned;  // every bitmap the slots and strips point at
};
