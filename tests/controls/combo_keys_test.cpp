// The owner-drawn combo box under the keyboard, the wheel and focus changes,
// and its two typing aids: auto-append and the suggestion list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CComboDropWnd.h"
#include "CDrawnComboBox.h"
#include "CommCtrl.h"
#include "FramePump.h"
#include "TestKit.h"

namespace {

const int kComboId = 78;
// The two hooks, logged among the CBN_ codes.
const int kComplete = -1;
const int kCancel = -2;

class HookedCombo : public CDrawnComboBox {
 public:
  HookedCombo(CWnd* parent, std::vector<int>* log) : CDrawnComboBox(0, parent), log_(log) {}
  void OnComboComplete() override { log_->push_back(kComplete); }
  void OnComboCancel() override { log_->push_back(kCancel); }

 private:
  std::vector<int>* log_;
};

class Page : public CWnd {
 public:
  explicit Page(std::vector<int>* log) : log_(log) {}
  BOOL OnCommand(WPARAM wParam, LPARAM) override {
    if (LOWORD(wParam) == kComboId) log_->push_back(HIWORD(wParam));
    return TRUE;
  }

 private:
  std::vector<int>* log_;
};

class ComboKeysTest : public ::testing::Test {
 protected:
  void SetUp() override { InitCommonControls(); }
  void TearDown() override {
    if (combo.m_hWnd) combo.DestroyWindow();
    if (page.m_hWnd) page.DestroyWindow();
    testkit::ResetWindows();
  }
  void Make(DWORD kind = CBS_DROPDOWNLIST) {
    ASSERT_TRUE(page.CreateEx(0, AfxRegisterWndClass(0), "page", WS_POPUP | WS_VISIBLE, CRect(100, 100, 400, 300),
                              nullptr, 0));
    ASSERT_TRUE(
        combo.CreateEx(0, "SuperComboBox", "", WS_CHILD | WS_VISIBLE | kind, CRect(10, 10, 160, 31), &page, kComboId));
  }
  // Items named by `names`; a name starting with '-' is a disabled item.
  void Fill(const std::vector<std::string>& names) {
    for (const std::string& name : names) {
      bool disabled = name[0] == '-';
      int at = combo.AddString(disabled ? name.substr(1).c_str() : name.c_str());
      combo.SetItemDisabled(at, disabled);
    }
  }
  void Press(UINT vk) {
    testkit::PressKey(vk);
    PumpWithPreTranslate();
  }
  CString Text() {
    CString text;
    combo.GetWindowText(text);
    return text;
  }

  std::vector<int> log;
  Page page{&log};
  HookedCombo combo{&page, &log};
};

struct KeyCase {
  const char* name;
  std::vector<std::string> items;
  int current;  // before the key
  bool open;    // drop-down opened (with F4) before the key
  UINT key;
  int expectedIndex;
  std::vector<int> expectedLog;
};

TEST_F(ComboKeysTest, KeyTable) {
  const std::vector<std::string> four = {"one", "-two", "-three", "four"};
  std::vector<std::string> fifteen;
  for (int i = 0; i < 15; ++i) fifteen.push_back("item " + std::to_string(i));
  const std::vector<int> selected = {CBN_SELENDOK, CBN_SELCHANGE};
  const KeyCase cases[] = {
      {"down skips disabled items", four, 0, false, VK_DOWN, 3, selected},
      {"up skips disabled items", four, 3, false, VK_UP, 0, selected},
      {"up from the first item sends nothing", four, 0, false, VK_UP, 0, {}},
      {"down from the last item sends nothing", four, 3, false, VK_DOWN, 3, {}},
      {"down with no current item takes the first", four, -1, false, VK_DOWN, 0, selected},
      {"up with no current item takes the last enabled one", {"a", "b", "-c"}, -1, false, VK_UP, 1, selected},
      {"down on an empty list", {}, -1, false, VK_DOWN, -1, {}},
      {"up on an empty list", {}, -1, false, VK_UP, -1, {}},
      {"page down moves ten", fifteen, -1, false, VK_NEXT, 10, selected},
      {"page down stops at the last", fifteen, 12, false, VK_NEXT, 14, selected},
      {"page up moves ten back", fifteen, 12, false, VK_PRIOR, 2, selected},
      {"page up at the first sends nothing", fifteen, 0, false, VK_PRIOR, 0, {}},
      {"page down on an empty list", {}, -1, false, VK_NEXT, -1, {}},
      {"escape while closed cancels at the key and at its character", four, 0, false, VK_ESCAPE, 0,
       {kCancel, kCancel}},
      {"enter while closed completes", four, 0, false, VK_RETURN, 0, {kComplete}},
      {"escape while open only closes", four, 0, true, VK_ESCAPE, 0, {CBN_SELENDCANCEL, CBN_CLOSEUP}},
      {"enter while open picks, then completes", four, 3, true, VK_RETURN, 3,
       {CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE, kComplete}},
      {"f4 opens", four, 0, false, VK_F4, 0, {CBN_DROPDOWN}},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.name);
    Make();
    Fill(c.items);
    combo.SetCurSel(c.current);
    combo.SetFocus();
    if (c.open) Press(VK_F4);
    ASSERT_EQ(combo.GetDropWnd() != nullptr, c.open);
    log.clear();
    Press(c.key);
    EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), c.expectedIndex);
    if (c.expectedIndex >= 0) {
      EXPECT_STREQ(Text(), c.items[c.expectedIndex].c_str() + (c.items[c.expectedIndex][0] == '-'));
    }
    EXPECT_EQ(log, c.expectedLog);
    EXPECT_EQ(combo.GetDropWnd() != nullptr, c.key == VK_F4);
    combo.DestroyWindow();
    combo.ResetContent();
    page.DestroyWindow();
  }
}

TEST_F(ComboKeysTest, ArrowsInTheOpenListMoveOnlyItsRow) {
  Make();
  Fill({"one", "-two", "three"});
  combo.SetCurSel(0);
  combo.SetFocus();
  Press(VK_F4);
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  log.clear();
  Press(VK_DOWN);
  EXPECT_EQ(combo.GetDropWnd()->GetListBox()->GetCurSel(), 2);
  Press(VK_UP);
  EXPECT_EQ(combo.GetDropWnd()->GetListBox()->GetCurSel(), 0);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 0);
  EXPECT_TRUE(log.empty());
}

TEST_F(ComboKeysTest, TheWheelStepsOncePerTurnOfAWholeNotch) {
  Make();
  Fill({"a", "b", "c", "d"});
  combo.SetCurSel(0);
  auto wheel = [&](short delta) { combo.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, delta), 0); };
  wheel(-240);  // a large turn is still one step
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 1);
  wheel(-60);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 1);
  wheel(-60);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 2);
  wheel(120);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), 1);
  EXPECT_EQ(log, (std::vector<int>{CBN_SELENDOK, CBN_SELCHANGE, CBN_SELENDOK, CBN_SELCHANGE, CBN_SELENDOK,
                                   CBN_SELCHANGE}));
}

TEST_F(ComboKeysTest, TheWheelScrollsTheOpenListThreeRowsAtATime) {
  Make();
  std::vector<std::string> many;
  for (int i = 0; i < 30; ++i) many.push_back("row " + std::to_string(i));
  Fill(many);
  combo.SetDropItemLimit(8);
  combo.ShowDropDown(TRUE);
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  log.clear();
  combo.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
  EXPECT_EQ(combo.SendMessage(CB_GETTOPINDEX), 3);
  combo.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  combo.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(combo.SendMessage(CB_GETTOPINDEX), 0);
  EXPECT_TRUE(log.empty());
}

TEST_F(ComboKeysTest, WheelOnAnEmptyListChangesNothing) {
  Make();
  combo.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, -120), 0);
  combo.SendMessage(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(combo.SendMessage(CB_GETCURSEL), -1);
  EXPECT_TRUE(log.empty());
}

TEST_F(ComboKeysTest, TheListStyleDrawsItsFocusOnlyWhileFocused) {
  Make();
  Fill({"a", "b"});
  combo.SetCurSel(0);
  auto textBack = [&] {
    combo.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return testkit::WindowPixel(combo.m_hWnd, 4, 4);
  };
  auto rgb = [](int index) {
    COLORREF c = ::GetSysColor(index);
    return static_cast<uint32_t>((GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
  };
  combo.SetFocus();
  EXPECT_TRUE(combo.GetFocusDrawn());
  EXPECT_EQ(textBack(), rgb(COLOR_HIGHLIGHT));
  EXPECT_EQ(log, (std::vector<int>{CBN_SETFOCUS}));
  log.clear();
  page.SetFocus();
  EXPECT_FALSE(combo.GetFocusDrawn());
  EXPECT_EQ(textBack(), rgb(COLOR_WINDOW));
  EXPECT_EQ(log, (std::vector<int>{kCancel}));
}

// ---------------------------------------------------------------- typing aids

class TypingTest : public ComboKeysTest {
 protected:
  void MakeEditable(DWORD options, const std::vector<std::string>& items) {
    Make(CBS_DROPDOWN);
    ASSERT_NE(combo.GetEdit(), nullptr);
    combo.ModifyOptions(0, options);
    Fill(items);
    combo.GetEdit()->SetFocus();
    testkit::PumpPending();
    log.clear();
  }
  CString EditText() {
    CString text;
    combo.GetEdit()->GetWindowText(text);
    return text;
  }
  void Type(const char* text) {
    testkit::TypeText(text);
    PumpWithPreTranslate();
  }
};

TEST_F(TypingTest, AutoAppendCompletesWithTheFirstMatchAndSelectsTheAddedPart) {
  MakeEditable(CBO_AUTO_APPEND, {"abc", "abd", "x"});
  Type("ab");
  EXPECT_STREQ(EditText(), "abc");
  EXPECT_EQ(combo.GetEditSel(), static_cast<DWORD>(MAKELONG(2, 3)));
  // The current item stays: only the edit was completed.
  EXPECT_EQ(combo.GetCurSel(), 0);
  Press(VK_BACK);
  EXPECT_STREQ(EditText(), "ab");
  Type("z");
  EXPECT_STREQ(EditText(), "abz");
  EXPECT_EQ(combo.GetDropWnd(), nullptr);
}

TEST_F(TypingTest, RightArrowAtTheEndCompletesAgain) {
  MakeEditable(CBO_AUTO_APPEND, {"abc"});
  Type("ab");
  Press(VK_BACK);
  ASSERT_STREQ(EditText(), "ab");
  Press(VK_RIGHT);
  EXPECT_STREQ(EditText(), "abc");
}

TEST_F(TypingTest, SuggestionsListTheOtherItemsThatBeginWithTheText) {
  MakeEditable(CBO_SUGGEST, {"abc", "abd", "x"});
  Type("a");
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  const ComboItemList& shown = combo.GetDropWnd()->GetItemList();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_STREQ(shown[0].text, "abc");
  EXPECT_STREQ(shown[1].text, "abd");
  EXPECT_EQ(log, (std::vector<int>{CBN_DROPDOWN}));
  Type("bc");  // only abc begins with abc, and it is the typed text itself
  EXPECT_EQ(combo.GetDropWnd(), nullptr);
  Type("q");  // matches nothing: nothing opens
  EXPECT_EQ(combo.GetDropWnd(), nullptr);
  EXPECT_STREQ(EditText(), "abcq");
}

TEST_F(TypingTest, EmptyingTheEditClosesTheSuggestions) {
  MakeEditable(CBO_SUGGEST, {"abc", "abd"});
  Type("a");
  ASSERT_NE(combo.GetDropWnd(), nullptr);
  Press(VK_BACK);
  EXPECT_STREQ(EditText(), "");
  EXPECT_EQ(combo.GetDropWnd(), nullptr);
}

TEST_F(TypingTest, TypingWithoutAidsReportsTheEditChanges) {
  MakeEditable(0, {"abc"});
  Type("a");
  EXPECT_STREQ(EditText(), "a");
  EXPECT_EQ(log, (std::vector<int>{CBN_EDITUPDATE, CBN_EDITCHANGE}));
}

}  // namespace
