// Resources: the string table (also behind CString::LoadString), bitmaps,
// the system's icons and cursors, and menus made from menu resources.

#include <gtest/gtest.h>

#include <string>

#include "CString.h"
#include "Menu.h"
#include "Resource.h"

namespace {

TEST(Resources, StringTableLoadsWithTheBufferLimit) {
  PlatformAddString(31500, "Group name");
  char buf[16];
  struct Case {
    int size;
    int length;
    const char* text;
  } cases[] = {{16, 10, "Group name"}, {6, 5, "Group"}, {1, 0, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(LoadString(nullptr, 31500, buf, c.size), c.length);
    EXPECT_STREQ(buf, c.text);
  }
  EXPECT_EQ(LoadString(nullptr, 31501, buf, sizeof buf), 0);
  EXPECT_STREQ(buf, "");
  CString s;
  EXPECT_TRUE(s.LoadString(31500));
  EXPECT_STREQ(s, "Group name");
  EXPECT_FALSE(s.LoadString(31501));
}

TEST(Resources, BitmapsAreMadeAnewForEachLoad) {
  PlatformAddBitmap(MAKEINTRESOURCEA(31600), [] { return CreateBitmap(7, 5, 1, 32, nullptr); });
  HBITMAP a = LoadBitmap(nullptr, MAKEINTRESOURCEA(31600));
  HBITMAP b = LoadBitmap(nullptr, MAKEINTRESOURCEA(31600));
  ASSERT_NE(a, nullptr);
  EXPECT_NE(a, b);  // each caller deletes its own
  BITMAP bm{};
  GetObjectA(a, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 7);
  EXPECT_EQ(bm.bmHeight, 5);
  DeleteObject(a);
  DeleteObject(b);
  EXPECT_EQ(LoadBitmap(nullptr, MAKEINTRESOURCEA(31601)), nullptr);
}

TEST(Resources, SystemIconsAndCursorsAreShared) {
  for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK}) {
    HICON icon = LoadIcon(nullptr, id);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIcon(nullptr, id), icon);
  }
  HCURSOR arrow = LoadCursor(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(LoadCursor(nullptr, IDC_ARROW), arrow);
  EXPECT_NE(LoadCursor(nullptr, IDC_WAIT), arrow);
  EXPECT_EQ(LoadIcon(nullptr, MAKEINTRESOURCEA(5)), nullptr);
}

TEST(Resources, MenuResourcesBecomeMenus) {
  PlatformAddMenu(MAKEINTRESOURCEA(31700), {{100, "&Open"}, {0, ""}, {101, "E&xit"}});
  HMENU menu = LoadMenu(nullptr, MAKEINTRESOURCEA(31700));
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetMenuItemID(menu, 2), 101u);
  char text[16];
  EXPECT_EQ(GetMenuString(menu, 100, text, sizeof text, MF_BYCOMMAND), 5);
  EXPECT_STREQ(text, "&Open");
  EXPECT_TRUE(DestroyMenu(menu));
  EXPECT_EQ(LoadMenu(nullptr, MAKEINTRESOURCEA(31701)), nullptr);
}

}  // namespace
