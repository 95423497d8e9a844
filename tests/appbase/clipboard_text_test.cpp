// The clipboard text services, read back by an edit control's paste and by
// each other, and their answers when the clipboard is busy or empty.

#include <cstring>
#include <string>

#include "ClipboardText.h"
#include "platform/dlg_fixture.h"

class ClipboardTextTest : public DialogTest {};

TEST_F(ClipboardTextTest, SetTextIsWhatAnEditPastes) {
  Open(Template({rc::EditText(220, 5, 5, 100, 14)}));
  ASSERT_TRUE(SetClipboardText("line from the log"));
  HWND edit = GetDlgItem(dialog_, 220);
  SendMessageA(edit, WM_PASTE, 0, 0);
  EXPECT_EQ(WindowText(edit), "line from the log");
  EXPECT_STREQ(GetClipboardText(), "line from the log");
  EXPECT_EQ(GetClipboardTextSize(), strlen("line from the log") + 1);
}

TEST_F(ClipboardTextTest, BufferFormCutsAndAlwaysEndsInANul) {
  ASSERT_TRUE(SetClipboardText("abcdef"));
  struct Case {
    unsigned length;
    const char* expected;
  } cases[] = {{1, ""}, {2, "a"}, {6, "abcde"}, {7, "abcdef"}, {32, "abcdef"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    char buffer[32];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(GetClipboardText(buffer, c.length));
    EXPECT_STREQ(buffer, c.expected);
    if (c.length < sizeof buffer) {
      EXPECT_EQ(buffer[c.length], 'x');  // nothing past the length
    }
  }
  EXPECT_FALSE(GetClipboardText(nullptr, 5));
  char one = 'x';
  EXPECT_FALSE(GetClipboardText(&one, 0));
  EXPECT_EQ(one, 'x');
}

TEST_F(ClipboardTextTest, BusyOrEmptyClipboardGivesNothing) {
  ASSERT_TRUE(SetClipboardText("kept"));
  ASSERT_TRUE(OpenClipboard(nullptr));  // another window holds it open
  EXPECT_FALSE(SetClipboardText("lost"));
  EXPECT_STREQ(GetClipboardText(), "");
  EXPECT_EQ(GetClipboardTextSize(), 0u);
  char buffer[8] = "xxxxxxx";
  EXPECT_FALSE(GetClipboardText(buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "");
  EmptyClipboard();
  CloseClipboard();
  EXPECT_STREQ(GetClipboardText(), "");
  EXPECT_EQ(GetClipboardTextSize(), 0u);
  EXPECT_FALSE(GetClipboardText(buffer, sizeof buffer));
  EXPECT_TRUE(SetClipboardText(""));
  EXPECT_EQ(GetClipboardTextSize(), 1u);
}
