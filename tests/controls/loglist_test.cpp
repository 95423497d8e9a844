// The coloured log list: stored colour bytes and their limits, lines as
// drawn with the gutter, reading back, searching, the full list, the log
// file, the context commands and a list whose window is gone.
#include <gtest/gtest.h>

#include <vector>

#include "ClipboardText.h"
#include "LogListFixture.h"
#include "TempDir.h"
#include "afxres.h"

namespace {

using LogListTest = LogListFixture;

struct ColorCase {
  unsigned text;
  int back;
  BOOL colorsEnabled;
  int wantText, wantBack;
};

TEST_F(LogListTest, ColourIndexesAreKeptOrFallBackToTheDefaultPair) {
  const ColorCase cases[] = {
      {2, 3, TRUE, 2, 3},       {15, 15, TRUE, 15, 15}, {0, 0, TRUE, 0, 0},
      {16, 4, TRUE, 0, 4},      {unsigned(-1), 5, TRUE, 0, 5},
      {3, 16, TRUE, 3, 1},      {3, -1, TRUE, 3, 1},    {3, 255, TRUE, 3, 1},
      {9, 12, TRUE, 9, 12},     {12, 9, TRUE, 12, 9},  // colour bytes 10 and 13 are not line breaks
      {7, 8, FALSE, 0, 1},
  };
  for (const ColorCase& c : cases) {
    list.EnableColors(c.colorsEnabled);
    const int line = list.AddLine(c.text, c.back, "text");
    ASSERT_GE(line, 0);
    EXPECT_EQ(list.GetTextColorIndex(line), c.wantText) << c.text << "/" << c.back;
    EXPECT_EQ(list.GetBackColorIndex(line), c.wantBack) << c.text << "/" << c.back;
    CString text;
    list.GetLineText(line, text);
    EXPECT_EQ(text, "text") << "no colour byte may end the stored string";
  }
}

TEST_F(LogListTest, LineBreaksBecomeBlanksOneForOne) {
  const int line = list.AddLine("first\r\nsecond\n");
  CString text;
  list.GetLineText(line, text);
  EXPECT_EQ(text, "first  second ");
  EXPECT_EQ(list.GetCount(), 1);
  EXPECT_EQ(Raw(line), CString("\x01\x02") + "first  second ");
}

// Each line's background fills its row to the right edge; its text is drawn
// in its own colour; the gutter shows the line number in its own colours.
TEST_F(LogListTest, LinesAreDrawnInTheirColoursBesideTheGutter) {
  list.SetShowLineNumbers(TRUE);
  list.SetLineNumberDigits(5);
  list.SetLineNumberTextColor(RGB(255, 255, 255));
  list.SetLineNumberBackColor(RGB(128, 128, 128));
  struct {
    unsigned text;
    int back;
  } lines[] = {{0, 1}, {10, 0}, {1, 13}, {12, 3}};
  for (auto& l : lines) list.AddLine(l.text, l.back, "WWWW MMMM");
  list.AddString("x");       // a plain line shorter than the colour bytes
  list.AddString("plain");   // a plain line whose first bytes are text
  list.SetTopIndex(0);
  Paint();

  CClientDC dc(&list);
  dc.SelectObject(list.GetFont());
  const int gutter = dc.GetTextExtent("99999").cx + 6;
  const int rowHeight = list.GetItemHeight(0);
  ASSERT_GT(rowHeight, 0);
  CRect client;
  list.GetClientRect(&client);
  auto countInRow = [&](int row, int fromX, uint32_t colour) {
    int n = 0;
    for (int y = row * rowHeight; y < (row + 1) * rowHeight; ++y)
      for (int x = fromX; x < fromX + 80; ++x) n += testkit::WindowPixel(list.m_hWnd, x, y) == colour;
    return n;
  };
  const int rows = static_cast<int>(sizeof lines / sizeof lines[0]);
  for (int row = 0; row < rows + 2; ++row) {
    const int text = row < rows ? static_cast<int>(lines[row].text) : CLogListBox::kDefaultTextColor;
    const int back = row < rows ? lines[row].back : CLogListBox::kDefaultBackColor;
    const int midY = row * rowHeight + rowHeight / 2;
    EXPECT_EQ(testkit::WindowPixel(list.m_hWnd, 1, row * rowHeight), 0x808080u) << "gutter of row " << row;
    EXPECT_EQ(testkit::WindowPixel(list.m_hWnd, gutter + 1, midY), PalettePixel(back)) << "row " << row;
    EXPECT_EQ(testkit::WindowPixel(list.m_hWnd, client.right - 3, midY), PalettePixel(back)) << "row " << row;
    EXPECT_GT(countInRow(row, gutter, PalettePixel(text)), 5) << "text of row " << row;
    EXPECT_GT(countInRow(row, 0, 0xFFFFFFu), 3) << "line number of row " << row;
  }
  // Below the last line the gutter runs on, drawn by the background erase.
  EXPECT_EQ(testkit::WindowPixel(list.m_hWnd, 1, client.bottom - 2), 0x808080u);
  EXPECT_EQ(testkit::WindowPixel(list.m_hWnd, gutter, client.bottom - 2), PixelOf(GetSysColor(COLOR_WINDOW)));
}

TEST_F(LogListTest, TheNewestLineIsScrolledIntoViewAndSelectionDropped) {
  for (int i = 0; i < 40; ++i) list.AddLine(("line " + std::to_string(i)).c_str());
  Paint();
  EXPECT_GT(list.GetTopIndex(), 0);
  CRect item, client;
  list.GetItemRect(39, &item);
  list.GetClientRect(&client);
  EXPECT_LE(item.bottom, client.bottom);
  EXPECT_GE(item.top, 0);
}

// A line wider than the list can be read to its end: once it has been
// painted, the horizontal bar shows (the apply page's list has one, behind
// its line-number gutter), and scrolled to the right the line's last
// characters stand inside the list, tabs expanded. Clearing the log takes
// the bar away again.
TEST_F(LogListTest, ALineWiderThanTheListCanBeScrolledToItsEnd) {
  // Subclassed from a list box of a template, as the apply page's is.
  list.DestroyWindow();
  HWND made = ::CreateWindowExA(0, "LISTBOX", "", kStyle | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 300, 180,
                                page.m_hWnd, reinterpret_cast<HMENU>(1030), nullptr, nullptr);
  ASSERT_TRUE(list.SubclassWindow(made));
  list.SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))), FALSE);
  list.SetShowLineNumbers(TRUE);
  list.SetLineNumberDigits(5);
  CRTScrollBar& bar = list.GetContainer().HorizontalBar();
  auto barShown = [&] { return (bar.GetStyle() & WS_VISIBLE) != 0; };
  // The rightmost column of the list's client area where row `row` has text ink.
  auto lastInk = [&](int row) {
    CRect client;
    list.GetClientRect(&client);
    const int h = list.GetItemHeight(0);
    int last = -1;
    for (int y = row * h; y < (row + 1) * h; ++y)
      for (int x = 0; x < client.right; ++x)
        if (testkit::WindowPixel(list.m_hWnd, x, y) == PalettePixel(0)) last = std::max(last, x);
    return last;
  };
  // A line that runs just past the edge, by less than the gutter is wide.
  CString justPast = "000D88A00001: ";
  {
    CClientDC dc(&list);
    dc.SelectObject(list.GetFont());
    CRect client;
    list.GetClientRect(&client);
    const int textLeft = dc.GetTextExtent("99999").cx + 6 + 2;
    while (textLeft + dc.GetTextExtent(justPast).cx <= client.right + 6) justPast += 'W';
  }
  const struct {
    const char* name;
    CString line;
  } cases[] = {
      {"just past the edge", justPast},
      {"plain", "000D88A00001: The group settings are being written. This takes a while. " + CString('W', 12)},
      {"tabs", "000D88A00001:\tSet IP\t\tThis takes a while " + CString('W', 12)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    list.ClearAll();
    list.AddLine("Applying the settings");
    Paint();
    EXPECT_FALSE(barShown());
    list.AddLine(c.line);
    Paint();
    EXPECT_TRUE(barShown());
    CRect client;
    list.GetClientRect(&client);
    EXPECT_GE(lastInk(1), client.right - 8) << "the line should run past the list's edge";
    list.SendMessage(WM_HSCROLL, SB_RIGHT);
    Paint();
    const int end = lastInk(1);
    EXPECT_GT(end, client.right / 2);
    EXPECT_LT(end, client.right - 2) << "the line's end should stand inside the list";
    list.SendMessage(WM_HSCROLL, SB_LEFT);
  }
  list.ClearAll();
  Paint();
  EXPECT_EQ(list.GetHorizontalExtent(), 0);
  EXPECT_EQ(list.GetCount(), 0);
  EXPECT_FALSE(barShown());
}

TEST_F(LogListTest, BufferFormCopiesOnlyTheLinesOwnText) {
  const int line = list.AddLine(3, 4, "abcdef");
  const int length = list.GetLineTextLength(line);
  ASSERT_EQ(length, 6);
  std::vector<char> buffer(static_cast<size_t>(length) + 1 + 4, '#');
  EXPECT_EQ(list.GetLineText(line, buffer.data()), 8) << "the stored length, colour bytes included";
  EXPECT_STREQ(buffer.data(), "abcdef");
  EXPECT_EQ(std::string(buffer.end() - 4, buffer.end()), "####") << "nothing written past the text";

  const int empty = list.AddLine("");
  char small[1] = {'#'};
  EXPECT_EQ(list.GetLineText(empty, small), 2);
  EXPECT_EQ(small[0], '\0');
  CString text = "stale";
  list.GetLineText(empty, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(list.GetLineText(99, small), LB_ERR);
  EXPECT_EQ(list.GetLineText(line, nullptr), LB_ERR);
}

TEST_F(LogListTest, RecolouringKeepsItemDataAndSelection) {
  for (int i = 0; i < 3; ++i) {
    const int line = list.AddLine(("group " + std::to_string(i)).c_str());
    list.SetItemData(line, 0x1000 + static_cast<DWORD_PTR>(i));
  }
  list.SetSel(1, TRUE);
  list.SetTextColorIndex(1, 10);
  list.SetBackColorIndex(1, 14);
  EXPECT_EQ(list.GetItemData(1), 0x1001u);
  EXPECT_GT(list.GetSel(1), 0);
  EXPECT_EQ(list.GetTextColorIndex(1), 10);
  EXPECT_EQ(list.GetBackColorIndex(1), 14);
  list.SetTextColorIndex(1, 16);
  list.SetBackColorIndex(1, -3);
  EXPECT_EQ(list.GetTextColorIndex(1), 0);
  EXPECT_EQ(list.GetBackColorIndex(1), 1);
  CString text;
  list.GetLineText(1, text);
  EXPECT_EQ(text, "group 1");
  EXPECT_EQ(list.GetItemData(0), 0x1000u);
  EXPECT_EQ(list.GetItemData(2), 0x1002u);
}

TEST_F(LogListTest, RecolouringASingleSelectionListKeepsTheCurrentLine) {
  MakeList(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY);
  list.AddLine("a");
  list.AddLine("b");
  list.SetCurSel(0);
  list.SetTextColorIndex(0, 5);
  EXPECT_EQ(list.GetCurSel(), 0);
}

TEST_F(LogListTest, FindsLinesIgnoringCaseFromAfterTheStart) {
  for (const char* t : {"Alpha one", "beta", "ALPHA two", "alpha"}) list.AddLine(t);
  struct {
    int start;
    const char* text;
    BOOL exact;
    int want;
  } cases[] = {
      {-1, "alpha", FALSE, 0}, {0, "alpha", FALSE, 2}, {2, "alpha", FALSE, 3}, {3, "alpha", FALSE, 0},
      {-1, "alpha", TRUE, 3},  {-1, "BETA", TRUE, 1},  {-1, "gamma", FALSE, LB_ERR}, {1, "beta", TRUE, 1},
  };
  for (auto& c : cases) EXPECT_EQ(list.FindLine(c.start, c.text, c.exact), c.want) << c.start << " " << c.text;
  EXPECT_EQ(list.FindStringExact(-1, "alpha two"), 2);
}

TEST_F(LogListTest, SelectStringMakesTheFoundLineCurrent) {
  MakeList(WS_CHILD | WS_VISIBLE | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY);
  for (const char* t : {"Alpha", "beta"}) list.AddLine(t);
  EXPECT_EQ(list.SelectString(-1, "BE"), 1);
  EXPECT_EQ(list.GetCurSel(), 1);
  EXPECT_EQ(list.SelectString(-1, "gamma"), LB_ERR);
  EXPECT_EQ(list.GetCurSel(), 1);
}

TEST_F(LogListTest, FormatFillsTheLineFromItsFormatOrAMissingResource) {
  const int a = list.AddLineFormat(2, 3, 0, "%s: %d", "devices", 4);
  CString text;
  list.GetLineText(a, text);
  EXPECT_EQ(text, "devices: 4");
  EXPECT_EQ(list.GetTextColorIndex(a), 2);
  const int b = list.AddLineFormat(0, 1, 64999, "unused %s", "x");
  list.GetLineText(b, text);
  EXPECT_EQ(text, "Failed to load string resource 64999");
  const int c = list.AddLineFormat(0, 1, 0, "%s", std::string(5000, 'z').c_str());
  EXPECT_EQ(list.GetLineTextLength(c), 2047);
}

// Full lists: the oldest lines give way (20 at most) and the line is added
// once more; with a single line there is nothing to give.
TEST_F(LogListTest, AFullListDropsItsOldestLinesOnce) {
  struct {
    int lines;
    int wantIndex;
    int wantCount;
  } cases[] = {{1, LB_ERR, 1}, {5, 1, 2}, {300, 280, 281}};
  for (auto& c : cases) {
    list.ClearAll();
    testkit::SetListBoxCapacity(0);
    for (int i = 0; i < c.lines; ++i) list.AddLine(("old " + std::to_string(i)).c_str());
    testkit::SetListBoxCapacity(c.lines);
    testkit::MessageSpy spy;
    EXPECT_EQ(list.AddLine("new"), c.wantIndex) << c.lines;
    EXPECT_EQ(list.GetCount(), c.wantCount) << c.lines;
    if (c.wantIndex < 0) continue;
    CString text;
    list.GetLineText(c.wantIndex, text);
    EXPECT_EQ(text, "new");
    list.GetLineText(0, text);
    EXPECT_EQ(text, ("old " + std::to_string(c.lines - c.wantIndex)).c_str());
    EXPECT_EQ(spy.Of(list.m_hWnd, {WM_SETREDRAW}).size(), 2u) << "redraw off, then on";
  }
  testkit::SetListBoxCapacity(0);
}

TEST_F(LogListTest, ALineForTheLogFileHasItsFixedShape) {
  SYSTEMTIME t = {};
  t.wYear = 2024;
  t.wMonth = 1;
  t.wDay = 31;
  t.wHour = 8;
  t.wMinute = 5;
  t.wSecond = 9;
  SYSTEMTIME late = t;
  late.wYear = 1999;
  late.wMonth = 12;
  late.wHour = 23;
  late.wMinute = 59;
  late.wSecond = 59;
  struct {
    const SYSTEMTIME* time;
    const char* name;
    const char* text;
    const char* want;
  } cases[] = {
      {&t, "PCNAME", "abc", "2024-01-31 08:05:09 [PCNAME] abc\r\n"},
      {&late, "AP-LAB", "Set IP: OK", "1999-12-31 23:59:59 [AP-LAB] Set IP: OK\r\n"},
      {&t, "", "no name", "2024-01-31 08:05:09 [] no name\r\n"},
      {&t, "PCNAME", "100% done", "2024-01-31 08:05:09 [PCNAME] 100% done\r\n"},
  };
  for (auto& c : cases) EXPECT_EQ(FormatLogFileLine(*c.time, c.name, c.text), c.want);
}

TEST_F(LogListTest, LinesAreAppendedToTheLogFile) {
  TempDir dir;
  const std::string path = dir.file("wizard.log");
  { std::ofstream(path, std::ios::binary) << "kept\r\n"; }
  list.SetLogFilePath(path.c_str());
  list.AddLine(10, 1, "first\r\nline");
  list.AddLine("");
  list.AddLine(0, 1, "second");
  std::istringstream file(ReadFile(path));
  std::vector<std::string> rows;
  for (std::string row; std::getline(file, row);) rows.push_back(row);
  ASSERT_EQ(rows.size(), 3u) << ReadFile(path);
  EXPECT_EQ(rows[0], "kept\r");
  const std::string want[] = {"first  line\r", "second\r"};
  for (int i = 0; i < 2; ++i) {
    std::string text;
    EXPECT_TRUE(TextOfStampedRow(rows[i + 1], ComputerName(), &text)) << rows[i + 1];
    EXPECT_EQ(text, want[i]);
  }
  EXPECT_EQ(list.GetCount(), 3) << "the empty line reaches the list, not the file";
}

TEST_F(LogListTest, AnUnwritableLogFileStillLetsTheLineThrough) {
  TempDir dir;
  list.SetLogFilePath(dir.path().c_str());  // a folder cannot be opened for writing
  EXPECT_EQ(list.AddLine("kept"), 0);
  list.SetLogFilePath((dir.path() + "/missing/wizard.log").c_str());
  EXPECT_EQ(list.AddLine("kept too"), 1);
}

TEST_F(LogListTest, CopyPutsTheSelectedTextsOnTheClipboard) {
  for (const char* t : {"one\tcolumn", "skipped", "", "three"}) list.AddLine(t);
  for (int line : {0, 2, 3}) list.SetSel(line, TRUE);
  SetClipboardText("before");
  list.SendMessage(WM_COMMAND, ID_EDIT_COPY);
  EXPECT_EQ(GetClipboardText(), "one column\nthree\n");

  list.SetSel(-1, FALSE);
  list.SendMessage(WM_COMMAND, ID_EDIT_COPY);
  EXPECT_EQ(GetClipboardText(), "one column\nthree\n") << "nothing selected leaves the clipboard alone";
}

TEST_F(LogListTest, SelectAllAndClearCommands) {
  testkit::MessageSpy spy;
  list.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL);
  bool sawEmptyRange = false;
  for (const testkit::SpiedMessage& m : spy.messages)
    sawEmptyRange |= m.hwnd == list.m_hWnd && m.msg == LB_SELITEMRANGEEX && m.wParam == 0 && m.lParam == -1;
  EXPECT_TRUE(sawEmptyRange);

  for (int i = 0; i < 4; ++i) list.AddLine("line");
  list.SendMessage(WM_COMMAND, ID_EDIT_SELECT_ALL);
  EXPECT_EQ(list.GetSelCount(), 4);
  list.SendMessage(WM_COMMAND, ID_EDIT_CLEAR);
  EXPECT_EQ(list.GetCount(), 0);
  list.AddLine("again");
  list.Clear();
  EXPECT_EQ(list.GetCount(), 0);
}

TEST_F(LogListTest, WithoutAMenuRightClickShowsNothing) {
  list.AddLine("line");
  testkit::MessageSpy spy;
  list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), MAKELPARAM(30, 30));
  list.SetContextMenuId(64998);  // no such menu
  list.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(list.m_hWnd), MAKELPARAM(30, 30));
  for (const testkit::SpiedMessage& m : spy.messages) EXPECT_NE(m.msg, WM_INITMENUPOPUP);
}

TEST_F(LogListTest, EveryOperationFailsQuietlyOnceTheWindowIsGone) {
  list.AddLine("line");
  list.DestroyWindow();
  char buffer[8] = "x";
  CString text = "stale";
  EXPECT_EQ(list.AddLine(2, 3, "late"), LB_ERR);
  EXPECT_EQ(list.InsertLine(0, "late", 0, 1), LB_ERR);
  EXPECT_EQ(list.AddLineFormat(0, 1, 0, "%d", 1), LB_ERR);
  list.GetLineText(0, text);
  EXPECT_TRUE(text.IsEmpty());
  EXPECT_EQ(list.GetLineText(0, buffer), LB_ERR);
  EXPECT_EQ(list.GetLineTextLength(0), LB_ERR);
  EXPECT_EQ(list.GetTextColorIndex(0), 0);
  EXPECT_EQ(list.GetBackColorIndex(0), 1);
  EXPECT_EQ(list.FindLine(-1, "line", FALSE), LB_ERR);
  EXPECT_EQ(list.SetTabSize(4), 0);
  EXPECT_EQ(list.GetVisibleLineCount(), 0);
  list.SetTextColorIndex(0, 3);
  list.ClearAll();
  list.SetFont(nullptr);
}

TEST_F(LogListTest, InsertLineBuildsTheLineAsAddLineDoes) {
  list.AddLine("b");
  EXPECT_EQ(list.InsertLine(0, "a\r", 20, 40), 0);
  EXPECT_EQ(Raw(0), CString("\x01\x02") + "a ");
  EXPECT_EQ(list.GetCount(), 2);
}

}  // namespace
