// The MAC-address edit: overwriting input, protected colons, the colon form,
// and its binding as a control kind of its own.
#include <gtest/gtest.h>

#include <string>

#include "CMacEdit.h"
#include "CommCtrl.h"
#include "SnmpControlVarList.h"
#include "TestKit.h"
#include "WindowText.h"

namespace {

class MacEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();  // registers the control classes, as the program does at start
    ASSERT_TRUE(parent.CreateEx(0, nullptr, "page", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr));
    ASSERT_TRUE(edit.Create("EDIT", "", WS_CHILD | WS_VISIBLE, CRect(5, 5, 200, 25), &parent, 100));
  }
  void TearDown() override {
    parent.DestroyWindow();
    testkit::ResetWindows();
  }
  std::string Text() const { return WindowText(edit); }
  int Caret() const {
    int start = 0, end = 0;
    edit.GetSel(start, end);
    return start;
  }
  void Char(char c) { edit.SendMessage(WM_CHAR, static_cast<BYTE>(c), 1); }
  void Key(UINT vk) { edit.SendMessage(WM_KEYDOWN, vk, 1); }

  CWnd parent;
  CMacEdit edit;
};

TEST_F(MacEditTest, CreationGivesTheEmptyColonForm) {
  EXPECT_EQ(Text(), "00:00:00:00:00:00");
  EXPECT_EQ(edit.GetLimitText(), 17u);
  EXPECT_TRUE(edit.GetStyle() & ES_UPPERCASE);
  CRect r;
  edit.GetWindowRect(&r);
  EXPECT_EQ(r.Width(), 110);
  EXPECT_EQ(r.Height(), 20);
  EXPECT_STREQ(edit.GetRuntimeClass()->m_lpszClassName, "CMacEdit");
}

TEST_F(MacEditTest, TypingOverwritesDigitsAndSkipsColons) {
  struct Step {
    int caret;  // -1: where the last step left it
    char typed;
    const char* text;
    int caretAfter;
  } steps[] = {
      {0, 'a', "A0:00:00:00:00:00", 1},
      {-1, 'b', "AB:00:00:00:00:00", 3},
      {2, '7', "AB:70:00:00:00:00", 4},
      {-1, ':', "AB:70:00:00:00:00", 4},
      {-1, 'g', "AB:70:00:00:00:00", 4},
      {-1, ' ', "AB:70:00:00:00:00", 4},
      {-1, 0x16, "AB:70:00:00:00:00", 4},  // Ctrl+V's character
      {17, '5', "AB:70:00:00:00:00", 17},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(1, s.typed));
    if (s.caret >= 0) edit.SetSel(s.caret, s.caret);
    Char(s.typed);
    EXPECT_EQ(Text(), s.text);
    EXPECT_EQ(Caret(), s.caretAfter);
  }
}

TEST_F(MacEditTest, DeleteAndBackspaceTurnDigitsIntoZeros) {
  edit.SetMacText("001122AABBCC");
  struct Step {
    int start, end;
    UINT key;
    const char* text;
    int caretAfter;
  } steps[] = {
      {3, 3, VK_BACK, "00:11:22:AA:BB:CC", 2},    // just after a colon
      {2, 2, VK_DELETE, "00:11:22:AA:BB:CC", 3},  // just before a colon
      {4, 4, VK_BACK, "00:01:22:AA:BB:CC", 3},
      {6, 6, VK_DELETE, "00:01:02:AA:BB:CC", 7},
      {17, 17, VK_DELETE, "00:01:02:AA:BB:CC", 17},
      {0, 0, VK_BACK, "00:01:02:AA:BB:CC", 0},
      {0, 17, VK_DELETE, "00:00:00:00:00:00", 0},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.start);
    edit.SetSel(s.start, s.end);
    Key(s.key);
    EXPECT_EQ(Text(), s.text);
    EXPECT_EQ(Caret(), s.caretAfter);
  }
}

TEST_F(MacEditTest, ColonFormInAndOut) {
  edit.SetMacText("001122AABBCC");
  EXPECT_EQ(Text(), "00:11:22:AA:BB:CC");
  CString digits;
  edit.GetMacText(digits);
  EXPECT_EQ(std::string(digits), "001122AABBCC");
  edit.SetWindowText(":12:34");
  edit.GetMacText(digits);
  EXPECT_EQ(std::string(digits), "1234");  // every colon goes, a leading one too
}

TEST(IntPowerTest, Powers) {
  EXPECT_EQ(IntPower(2, 0), 1);
  EXPECT_EQ(IntPower(2, 7), 128);
  EXPECT_EQ(IntPower(3, 4), 81);
  EXPECT_EQ(IntPower(2, 31), static_cast<int>(0x80000000u));  // wraps instead of overflowing
  EXPECT_EQ(IntPower(2, 32), 0);
}

TEST_F(MacEditTest, BoundAsAMacEditNotAnEdit) {
  SnmpControlVarList bound(&parent);
  bound.m_Request.m_VarList.Add("1.3.6.1.2.1.2.2.1.6.2", "ifPhysAddress", SVS_MACADDRESS, SVA_READWRITE);
  *bound.m_Request.m_VarList.GetItem(0)->value = "0011223344AB";
  bound.BindControl(0, static_cast<CEdit*>(&edit));
  EXPECT_EQ(bound.GetBinding(0).nKind, SCK_MACEDIT);
  bound.ValuesToControls();
  EXPECT_EQ(Text(), "00:11:22:33:44:AB");
  edit.SetSel(0, 0);
  Char('f');
  bound.ControlsToValues();
  EXPECT_EQ(std::string(*bound.m_Request.m_VarList.GetItem(0)->value), "F011223344AB");
}

}  // namespace
