// Global memory blocks and the text clipboard: who owns a block, what each call
// needs, and that the edit control copies and pastes through the same store.

#include <cstring>
#include <string>

#include "dlg_fixture.h"
#include "windows_sys.h"

namespace {

HGLOBAL TextBlock(const char* text) {
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, strlen(text) + 1);
  char* p = static_cast<char*>(GlobalLock(mem));
  strcpy(p, text);
  GlobalUnlock(mem);
  return mem;
}

// Puts text on the clipboard the way a program does.
bool PutText(const char* text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  bool ok = SetClipboardData(CF_TEXT, TextBlock(text)) != nullptr;
  CloseClipboard();
  return ok;
}

}  // namespace

TEST(GlobalMemory, BlocksFollowTheirFlagsAndLockCounts) {
  HGLOBAL zeroed = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 16);
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(GlobalSize(zeroed), 16u);
  auto* p = static_cast<BYTE*>(GlobalLock(zeroed));
  ASSERT_NE(p, nullptr);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(p[i], 0) << i;
  EXPECT_NE(static_cast<void*>(p), zeroed);  // a moveable handle is not the address
  EXPECT_EQ(GlobalLock(zeroed), p);          // a second lock, same place
  EXPECT_TRUE(GlobalUnlock(zeroed));         // still locked once
  EXPECT_FALSE(GlobalUnlock(zeroed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  EXPECT_FALSE(GlobalUnlock(zeroed));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_LOCKED));
  EXPECT_EQ(GlobalFree(zeroed), nullptr);

  HGLOBAL fixed = GlobalAlloc(GMEM_FIXED, 4);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(GlobalLock(fixed), fixed);  // a fixed block's handle is its address
  EXPECT_EQ(GlobalFree(fixed), nullptr);
}

TEST(GlobalMemory, StaleAndMadeUpHandlesFailWithoutTouchingMemory) {
  HGLOBAL mem = GlobalAlloc(GHND, 8);
  GlobalFree(mem);
  int local = 0;
  HGLOBAL bogus[] = {mem, &local, reinterpret_cast<HGLOBAL>(0x7), nullptr};
  for (HGLOBAL h : bogus) {
    SetLastError(0);
    EXPECT_EQ(GlobalLock(h), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(GlobalSize(h), 0u);
    EXPECT_FALSE(GlobalUnlock(h));
    EXPECT_EQ(GlobalFree(h), h);
  }
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(-1) / 2), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_ENOUGH_MEMORY));
}

TEST(Clipboard, CallsNeedTheClipboardOpenAndOneOpenerAtATime) {
  struct Case {
    const char* what;
    bool open;
    UINT format;
    bool expectSet;
  } cases[] = {
      {"closed", false, CF_TEXT, false},
      {"open, text", true, CF_TEXT, true},
      {"open, another format", true, 2, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.open) {
      ASSERT_TRUE(OpenClipboard(nullptr));
    }
    HGLOBAL mem = TextBlock("abc");
    HANDLE set = SetClipboardData(c.format, mem);
    EXPECT_EQ(set != nullptr, c.expectSet);
    if (!set) GlobalFree(mem);  // still the caller's
    EXPECT_EQ(GetClipboardData(c.format) != nullptr, c.expectSet);
    if (c.open) {
      EXPECT_TRUE(EmptyClipboard());
      EXPECT_TRUE(CloseClipboard());
    } else {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
      EXPECT_FALSE(EmptyClipboard());
      EXPECT_FALSE(CloseClipboard());
    }
  }
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_FALSE(OpenClipboard(nullptr));
  EXPECT_TRUE(CloseClipboard());
}

TEST(Clipboard, DataBelongsToTheClipboardUntilEmptied) {
  ASSERT_TRUE(PutText("first"));
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_FALSE(IsClipboardFormatAvailable(2));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE held = GetClipboardData(CF_TEXT);
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(GlobalSize(held), 6u);
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(held)), "first");
  GlobalUnlock(held);
  // Replacing the data frees the block it held.
  HGLOBAL second = TextBlock("second");
  EXPECT_EQ(SetClipboardData(CF_TEXT, second), second);
  EXPECT_EQ(GlobalSize(held), 0u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), second);
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(GlobalSize(second), 0u);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
}

class ClipboardEditTest : public DialogTest {};

TEST_F(ClipboardEditTest, EditCopiesAndPastesThroughTheClipboardData) {
  Open(Template({rc::EditText(220, 5, 5, 100, 14)}));
  HWND edit = GetDlgItem(dialog_, 220);
  ASSERT_TRUE(PutText("pasted"));
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(WindowText(edit), "pasted");
  SendMessageA(edit, EM_SETSEL, 0, 3);
  SendMessageA(edit, WM_COPY, 0, 0);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE mem = GetClipboardData(CF_TEXT);
  ASSERT_NE(mem, nullptr);
  EXPECT_EQ(GlobalSize(mem), 4u);  // the text and its NUL
  EXPECT_STREQ(static_cast<const char*>(GlobalLock(mem)), "pas");
  GlobalUnlock(mem);
  CloseClipboard();
}
