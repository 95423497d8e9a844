// The scroll container and the skinned lists: layout and borders, the
// notifications of a hosted control, Tab order, the list driven by its
// skinned bars, the header's height, tracking and images, the ruled
// background, and the combo box's item drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "RTListBox.h"
#include "scroll_fixture.h"

using namespace skintest;

namespace {

const int kListId = 100;
const COLORREF kFill = CRTListCtrl::kBackground;
const COLORREF kLine = CRTListCtrl::kRowLine;

class ListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    ASSERT_TRUE(page.Make());
  }
  void TearDown() override {
    list.DestroyWindow();
    box.DestroyWindow();
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  // A report list of the template kind at `rect` of the page, subclassed.
  void MakeList(int rows, CRect rect = CRect(20, 20, 320, 220), DWORD exStyle = WS_EX_CLIENTEDGE) {
    HWND hwnd = ::CreateWindowExA(exStyle, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT, rect.left,
                                  rect.top, rect.Width(), rect.Height(), page.m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)), nullptr, nullptr);
    ASSERT_TRUE(hwnd);
    ASSERT_TRUE(list.SubclassWindow(hwnd));
    list.InsertColumn(0, "Name", LVCFMT_LEFT, 90);
    list.InsertColumn(1, "Address", LVCFMT_LEFT, 90);
    list.InsertColumn(2, "State", LVCFMT_LEFT, 90);
    for (int i = 0; i < rows; ++i) list.InsertItem(i, ("Row " + std::to_string(i)).c_str());
    Settle();
  }
  void Settle() {
    testkit::PumpPending();
    page.UpdateWindow();
    if (list.m_hWnd) list.UpdateWindow();
    testkit::PumpPending();
  }
  int RowHeight() {
    CRect r;
    list.GetItemRect(0, &r, LVIR_BOUNDS);
    return r.Height();
  }
  // A click on a part of the list's vertical bar.
  void ClickBar(CPoint client) {
    CRTScrollBar& bar = list.GetContainer().VerticalBar();
    Press(bar, client);
    Release(bar, client);
    Settle();
  }

  ScrollSkin skin;
  RecordingPage page;
  CRTListCtrl list;
  CRTListBox box;
};

TEST_F(ListTest, ContainerTakesTheControlsPlaceAndBorder) {
  MakeList(3, CRect(20, 20, 320, 220), WS_EX_CLIENTEDGE);
  CRTScrollControlContainer& container = list.GetContainer();
  ASSERT_TRUE(container.m_hWnd);
  EXPECT_EQ(list.GetParent(), &container);
  EXPECT_EQ(container.GetParent(), &page);
  EXPECT_EQ(container.GetDlgCtrlID(), 0xFFFF);
  CRect rect;
  container.GetWindowRect(&rect);
  page.ScreenToClient(&rect);
  EXPECT_EQ(rect, CRect(20, 20, 320, 220));
  EXPECT_TRUE(container.GetExStyle() & WS_EX_CLIENTEDGE) << "the sunken edge is the container's";
  EXPECT_TRUE(container.GetExStyle() & WS_EX_CONTROLPARENT);
  EXPECT_FALSE(list.GetExStyle() & WS_EX_CLIENTEDGE);
  EXPECT_FALSE(list.GetStyle() & (WS_VSCROLL | WS_HSCROLL)) << "the list's own bars are hidden";
  // And stay hidden, whoever shows them: the skinned bars stand in.
  ::ShowScrollBar(list.m_hWnd, SB_BOTH, TRUE);
  EXPECT_FALSE(list.GetStyle() & (WS_VSCROLL | WS_HSCROLL));
  EXPECT_FALSE(list.GetSkinHeader().GetStyle() & HDS_FULLDRAG);
  EXPECT_EQ(list.GetSkinHeader().m_hWnd, reinterpret_cast<HWND>(list.SendMessage(LVM_GETHEADER)));
}

TEST_F(ListTest, BarsBesideTheControl) {
  MakeList(3);
  CRTScrollControlContainer& container = list.GetContainer();
  CRTScrollBar& v = container.VerticalBar();
  CRTScrollBar& h = container.HorizontalBar();
  CRect client;
  container.GetClientRect(&client);
  const int cx = ::GetSystemMetrics(SM_CXVSCROLL), cy = ::GetSystemMetrics(SM_CYHSCROLL);
  auto rectIn = [&](CWnd& w) {
    CRect r;
    w.GetWindowRect(&r);
    container.ScreenToClient(&r);
    return r;
  };
  EXPECT_FALSE(v.IsWindowVisible()) << "three rows need no bar";
  EXPECT_EQ(rectIn(list), client);

  container.SetVScrollRange(0, 10);
  container.SetHScrollRange(0, 10);
  ASSERT_TRUE(v.IsWindowVisible());
  ASSERT_TRUE(h.IsWindowVisible());
  EXPECT_EQ(rectIn(v), CRect(client.right - cx, 0, client.right, client.bottom)) << "the full height";
  EXPECT_EQ(rectIn(h), CRect(0, client.bottom - cy, client.right - cx, client.bottom));
  EXPECT_EQ(rectIn(list), CRect(0, 0, client.right - cx, client.bottom - cy));
  EXPECT_EQ(v.GetArrowPlacement(), CRTScrollBar::kCornerAtEnd);
  v.UpdateWindow();
  EXPECT_EQ(PixelLetter(v, cx / 2, client.bottom - 3), 'A') << "the corner square shows the track";

  container.SetHScrollRange(0, 0);
  EXPECT_FALSE(h.IsWindowVisible());
  EXPECT_EQ(v.GetArrowPlacement(), CRTScrollBar::kNoCorner);
  EXPECT_EQ(rectIn(list), CRect(0, 0, client.right - cx, client.bottom));

  container.MoveWindow(20, 20, 200, 150);
  container.GetClientRect(&client);
  EXPECT_EQ(rectIn(v), CRect(client.right - cx, 0, client.right, client.bottom)) << "resizing lays out again";
}

// A wizard page fills its list while it is hidden: the bars shown then keep
// their room once the page shows.
TEST_F(ListTest, BarsShownWhileThePageIsHiddenKeepTheirRoom) {
  MakeList(3);
  page.ShowWindow(SW_HIDE);
  CRTScrollControlContainer& container = list.GetContainer();
  container.SetVScrollRange(0, 10);
  container.SetHScrollRange(0, 10);
  container.SetHScrollRange(0, 10);
  page.ShowWindow(SW_SHOW);
  CRect client, h;
  container.GetClientRect(&client);
  container.HorizontalBar().GetWindowRect(&h);
  EXPECT_TRUE(container.HorizontalBar().IsWindowVisible());
  EXPECT_EQ(h.Height(), ::GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(h.Width(), client.Width() - ::GetSystemMetrics(SM_CXVSCROLL));
}

TEST_F(ListTest, HostedControlsStillNotifyThePage) {
  MakeList(5);
  CRect row;
  list.GetItemRect(1, &row, LVIR_LABEL);
  // Press and release queued together: the list waits inside the press to
  // see whether it becomes a drag.
  testkit::Click(list, CPoint(row.left + 10, row.CenterPoint().y));
  testkit::PumpPending();
  EXPECT_EQ(std::count(page.notifications.begin(), page.notifications.end(), static_cast<UINT>(NM_CLICK)), 1);

  list.GetItemRect(2, &row, LVIR_LABEL);
  const CPoint from(row.left + 10, row.CenterPoint().y);
  testkit::MouseMove(OnScreen(list, from));
  testkit::MouseDown(OnScreen(list, from));
  testkit::MouseMove(OnScreen(list, from + CPoint(20, 0)));
  testkit::PumpPending();
  testkit::MouseUp(OnScreen(list, from + CPoint(20, 0)));
  testkit::PumpPending();
  EXPECT_EQ(std::count(page.notifications.begin(), page.notifications.end(), static_cast<UINT>(LVN_BEGINDRAG)), 1);

  HWND lb = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY, 20, 240, 200, 100,
                              page.m_hWnd, reinterpret_cast<HMENU>(101), nullptr, nullptr);
  ASSERT_TRUE(box.SubclassWindow(lb));
  box.AddString("one");
  box.AddString("two");
  ASSERT_EQ(box.GetParent(), &box.GetContainer());
  box.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 3));
  box.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 3));
  box.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 3));
  EXPECT_EQ(std::count(page.commands.begin(), page.commands.end(), static_cast<UINT>(LBN_DBLCLK)), 1);

  // What reaches the container above WM_USER is the page's too.
  list.GetContainer().SendMessage(WM_USER + 7, 0, 0);
  EXPECT_EQ(std::count(page.userMessages.begin(), page.userMessages.end(), static_cast<UINT>(WM_USER + 7)), 1);
}

TEST_F(ListTest, TabReachesTheHostedControlInItsPlace) {
  auto edit = [&](int y, int id) {
    return ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 330, y, 60, 20, page.m_hWnd,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
  };
  HWND first = edit(20, 1);
  MakeList(3);
  HWND last = edit(60, 2);
  EXPECT_EQ(::GetNextDlgTabItem(page.m_hWnd, first, FALSE), list.m_hWnd);
  EXPECT_EQ(::GetNextDlgTabItem(page.m_hWnd, list.m_hWnd, FALSE), last);
  EXPECT_EQ(::GetNextDlgTabItem(page.m_hWnd, last, TRUE), list.m_hWnd);
}

// Fifty rows driven by the skinned bar: arrows and page areas step from
// where the list is, the thumb puts its row at the top.
TEST_F(ListTest, FiftyRowsFollowArrowsPagesAndThumb) {
  MakeList(50);
  CRTScrollBar& bar = list.GetContainer().VerticalBar();
  ASSERT_TRUE(bar.IsWindowVisible());
  const int page = list.GetCountPerPage();
  ASSERT_GT(page, 2);
  CRect client;
  bar.GetClientRect(&client);
  const CPoint downArrow(8, bar.GetParts().secondArrow.CenterPoint().y);
  const CPoint upArrow(8, 8);

  ClickBar(downArrow);
  EXPECT_EQ(list.GetTopIndex(), 1);
  ClickBar(downArrow);
  EXPECT_EQ(list.GetTopIndex(), 2);
  EXPECT_EQ(bar.GetScrollPos(), 2) << "the bar follows the list at its next paint";

  // Drag the thumb down to the middle of the track.
  CRTScrollBar::Parts parts = bar.GetParts();
  const CPoint grab(8, parts.thumb.top + 5);
  Press(bar, grab);
  Drag(bar, CPoint(8, parts.track.CenterPoint().y));
  Settle();
  const int dragged = list.GetTopIndex();
  EXPECT_GT(dragged, 10);
  Release(bar, CPoint(8, parts.track.CenterPoint().y));
  Settle();
  EXPECT_EQ(list.GetTopIndex(), dragged);
  EXPECT_EQ(bar.GetScrollPos(), dragged);

  ClickBar(upArrow);
  EXPECT_EQ(list.GetTopIndex(), dragged - 1) << "one row up, not to the top";
  parts = bar.GetParts();
  ClickBar(CPoint(8, parts.thumb.top - 3));
  EXPECT_EQ(list.GetTopIndex(), dragged - 1 - page) << "one page up";
  parts = bar.GetParts();
  ClickBar(CPoint(8, parts.thumb.bottom + 3));
  EXPECT_EQ(list.GetTopIndex(), dragged - 1);

  // Thumb to the end: the last page.
  parts = bar.GetParts();
  Press(bar, CPoint(8, parts.thumb.top + 5));
  Drag(bar, CPoint(8, client.bottom + 50));
  Release(bar, CPoint(8, client.bottom + 50));
  Settle();
  EXPECT_EQ(list.GetTopIndex(), 50 - page);
}

TEST_F(ListTest, HeaderIsOneAndAHalfTimesTheDefaultAndRowsBeginBelowIt) {
  HWND plain = ::CreateWindowExA(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 20, 240, 200, 100, page.m_hWnd,
                                 nullptr, nullptr, nullptr);
  LVCOLUMNA col{};
  col.mask = LVCF_TEXT | LVCF_WIDTH;
  col.cx = 80;
  col.pszText = const_cast<char*>("x");
  ::SendMessageA(plain, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
  CRect plainHeader;
  ::GetWindowRect(reinterpret_cast<HWND>(::SendMessageA(plain, LVM_GETHEADER, 0, 0)), &plainHeader);
  MakeList(3);
  CRect header;
  list.GetSkinHeader().GetWindowRect(&header);
  ASSERT_GT(plainHeader.Height(), 0);
  EXPECT_EQ(header.Height(), plainHeader.Height() * 3 / 2);
  POINT first{};
  list.GetItemPosition(0, &first);
  EXPECT_EQ(first.y, header.Height());
  ::DestroyWindow(plain);
}

TEST_F(ListTest, HeaderFaceFollowsTheSortMarks) {
  MakeList(3);
  CRTHeaderCtrl& header = list.GetSkinHeader();
  const int formats[3] = {0, HDF_SORTUP | HDF_SORTDOWN, HDF_SORTDOWN};
  const char expected[3] = {'B', 'F', 'C'};
  for (int i = 0; i < 3; ++i) {
    HDITEM item{};
    item.mask = HDI_FORMAT;
    item.fmt = HDF_STRING | formats[i];
    header.SetItem(i, &item);
  }
  header.UpdateWindow();
  for (int i = 0; i < 3; ++i) {
    CRect r;
    header.GetItemRect(i, &r);
    EXPECT_EQ(PixelLetter(header, r.left + 2, 2), expected[i]) << i;
  }
}

TEST_F(ListTest, ReleasingAColumnDividerBringsTheFirstRowBack) {
  MakeList(50);
  list.EnsureVisible(30, FALSE);
  ASSERT_GT(list.GetTopIndex(), 0);
  CRTHeaderCtrl& header = list.GetSkinHeader();
  for (UINT code : {static_cast<UINT>(HDN_TRACKA), static_cast<UINT>(HDN_ENDTRACKA)}) {
    list.EnsureVisible(30, FALSE);
    NMHEADERA nm{};
    nm.hdr.hwndFrom = header.m_hWnd;
    nm.hdr.idFrom = static_cast<UINT_PTR>(header.GetDlgCtrlID());
    nm.hdr.code = code;
    const LRESULT result = list.SendMessage(WM_NOTIFY, nm.hdr.idFrom, reinterpret_cast<LPARAM>(&nm));
    EXPECT_EQ(result, 0);
    EXPECT_EQ(list.GetTopIndex(), 0) << code;
  }
}

// The ruled background, painted into a canvas of the list's size.
class RowLines {
 public:
  explicit RowLines(CRTListCtrl& list) {
    list.GetClientRect(&m_client);
    m_canvas = std::make_unique<Canvas>(m_client.Width(), m_client.Height());
    list.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(m_canvas->dc()->GetSafeHdc()));
  }
  // The rows of column x = 5 that are ruled.
  std::vector<int> Lines() const {
    std::vector<int> ys;
    for (int y = 0; y < m_client.Height(); ++y)
      if (Pixel(y) == kLine) ys.push_back(y);
    return ys;
  }
  bool OnlyFill() const {
    for (int y = 0; y < m_client.Height(); ++y)
      if (Pixel(y) != kFill) return false;
    return true;
  }

 private:
  COLORREF Pixel(int y) const { return ::GetPixel(m_canvas->dc()->GetSafeHdc(), 5, y); }
  CRect m_client;
  std::unique_ptr<Canvas> m_canvas;
};

TEST_F(ListTest, ShortListIsRuledOnDownThePage) {
  MakeList(3);
  const int top = list.GetSkinHeader().m_hWnd ? [&] {
    POINT p{};
    list.GetItemPosition(0, &p);
    return static_cast<int>(p.y);
  }() : 0;
  const int h = RowHeight();
  std::vector<int> expected;
  for (int i = 0; i <= list.GetCountPerPage() + 1; ++i) {
    const int y = top + i * h;
    CRect client;
    list.GetClientRect(&client);
    if (y < client.bottom) expected.push_back(y);
  }
  for (int skinned : {1, 0}) {
    CRTListCtrl::SetSkinEnabled(skinned);
    EXPECT_EQ(RowLines(list).Lines(), expected) << "skinned " << skinned;
  }
}

TEST_F(ListTest, EmptyListIsOnlyTheFill) {
  MakeList(0);
  EXPECT_TRUE(RowLines(list).OnlyFill());
}

TEST_F(ListTest, ScrolledListIsRuledWhereItsRowsAre) {
  MakeList(50);
  list.EnsureVisible(40, FALSE);
  const std::vector<int> lines = RowLines(list).Lines();
  ASSERT_FALSE(lines.empty());
  POINT p{};
  list.GetItemPosition(list.GetTopIndex(), &p);
  EXPECT_EQ(lines.front(), p.y);
  EXPECT_EQ(lines[1] - lines[0], RowHeight());
}

TEST_F(ListTest, ListBoxBarFollowsItsRows) {
  HWND lb = ::CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL, 20, 20, 200, 100,
                              page.m_hWnd, reinterpret_cast<HMENU>(101), nullptr, nullptr);
  ASSERT_TRUE(box.SubclassWindow(lb));
  box.UpdateWindow();
  ::ShowScrollBar(box.m_hWnd, SB_VERT, TRUE);
  EXPECT_FALSE(box.GetStyle() & WS_VSCROLL) << "the list box's own bar stays hidden";
  CRTScrollBar& bar = box.GetContainer().VerticalBar();
  EXPECT_FALSE(bar.IsWindowVisible());
  for (int i = 0; i < 40; ++i) box.AddString(("line " + std::to_string(i)).c_str());
  box.UpdateWindow();
  ASSERT_TRUE(bar.IsWindowVisible());
  Press(bar, CPoint(8, bar.GetParts().secondArrow.CenterPoint().y));
  Release(bar, CPoint(8, bar.GetParts().secondArrow.CenterPoint().y));
  box.UpdateWindow();
  EXPECT_EQ(box.GetTopIndex(), 1);
  EXPECT_EQ(bar.GetScrollPos(), 1);
  Press(bar, CPoint(8, 8));
  Release(bar, CPoint(8, 8));
  EXPECT_EQ(box.GetTopIndex(), 0);
}

// A template's list box made with a horizontal bar has already hidden it (and
// dropped WS_HSCROLL) for want of width when it is subclassed; its skinned bar
// still comes once its extent is wider than the list, and drives it. One made
// without the bar ignores an extent, as list boxes do; so do lists made in code.
TEST_F(ListTest, ListBoxHorizontalBarFollowsItsExtent) {
  const struct {
    const char* name;
    DWORD bars;
    bool subclassed;
    bool shown;
  } cases[] = {
      {"template, both bars", WS_VSCROLL | WS_HSCROLL, true, true},
      {"template, vertical bar only", WS_VSCROLL, true, false},
      {"made in code, both bars", WS_VSCROLL | WS_HSCROLL, false, true},
      {"made in code, vertical bar only", WS_VSCROLL, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CRTListBox lb;
    const DWORD style = WS_CHILD | WS_VISIBLE | LBS_NOINTEGRALHEIGHT | c.bars;
    if (c.subclassed) {
      HWND hwnd = ::CreateWindowExA(0, "LISTBOX", "", style, 20, 20, 200, 100, page.m_hWnd,
                                    reinterpret_cast<HMENU>(101), nullptr, nullptr);
      ASSERT_FALSE(::GetWindowLongA(hwnd, GWL_STYLE) & WS_HSCROLL) << "hidden while the rows fit";
      ASSERT_TRUE(lb.SubclassWindow(hwnd));
    } else {
      ASSERT_TRUE(lb.Create(style, CRect(20, 20, 220, 120), &page, 101));
    }
    CRTScrollBar& bar = lb.GetContainer().HorizontalBar();
    lb.AddString("a line");
    lb.UpdateWindow();
    EXPECT_FALSE(bar.IsWindowVisible());
    lb.SetHorizontalExtent(600);
    lb.Invalidate();
    lb.UpdateWindow();
    EXPECT_EQ(c.shown, bar.IsWindowVisible() != FALSE);
    if (c.shown) {
      Press(bar, CPoint(bar.GetParts().secondArrow.CenterPoint().x, 8));
      Release(bar, CPoint(bar.GetParts().secondArrow.CenterPoint().x, 8));
      lb.UpdateWindow();
      EXPECT_GT(lb.GetScrollPos(SB_HORZ), 0) << "the skinned bar scrolls the list";
    }
    lb.DestroyWindow();
  }
}

TEST_F(ListTest, ListsMadeInCodeAreWrappedToo) {
  CRTListCtrl made;
  ASSERT_TRUE(made.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(10, 10, 200, 150), &page, 7));
  EXPECT_EQ(made.GetParent(), &made.GetContainer());
  EXPECT_EQ(made.GetSkinHeader().m_hWnd, reinterpret_cast<HWND>(made.SendMessage(LVM_GETHEADER)));
  CRTListBox madeBox;
  ASSERT_TRUE(madeBox.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(10, 160, 200, 250), &page, 8));
  EXPECT_EQ(madeBox.GetParent(), &madeBox.GetContainer());
}

// Owner-drawn items: the whole item or a selection change draws Back, a
// focus change only Focus (here a mode that draws nothing, so Back shows).
TEST_F(ListTest, ComboItemDrawingByAction) {
  SolidSet set("ADBWW");
  int32_t modes[5] = {kSkinStretch, kSkinStretch, 99, kSkinStretch, kSkinStretch};
  CRTComboBox::SetImages(set.images(), modes);
  CRTComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS,
                           CRect(10, 250, 150, 400), &page, 9));
  combo.AddString("i");
  struct Case {
    UINT action;
    char pixel;
  } cases[] = {{ODA_DRAWENTIRE, 'A'}, {ODA_SELECT, 'A'}, {ODA_FOCUS, '.'}, {ODA_DRAWENTIRE | ODA_FOCUS, 'A'}};
  for (const Case& c : cases) {
    Canvas canvas(60, 16);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = ODT_COMBOBOX;
    dis.itemID = 0;
    dis.itemAction = c.action;
    dis.hDC = canvas.dc()->GetSafeHdc();
    dis.rcItem = RECT{0, 0, 60, 16};
    combo.DrawItem(&dis);
    EXPECT_EQ(canvas.At(58, 14), c.pixel) << c.action;
  }
  modes[2] = kSkinStretch;
  CRTComboBox::SetImages(set.images(), modes);
  Canvas canvas(60, 16);
  DRAWITEMSTRUCT dis{};
  dis.itemAction = ODA_FOCUS;
  dis.hDC = canvas.dc()->GetSafeHdc();
  dis.rcItem = RECT{0, 0, 60, 16};
  dis.itemID = static_cast<UINT>(-1);
  combo.DrawItem(&dis);
  EXPECT_EQ(canvas.At(58, 14), 'B');
}

// The background and button come from the images alone: without them the
// control paints nothing of its own but the selected text, and the dotted
// outline while it has the focus.
TEST_F(ListTest, ComboPaintsBackArrowAndTheSelectedText) {
  CRTComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_HASSTRINGS, CRect(10, 250, 150, 400), &page,
                           9));
  combo.AddString("Channel 6");
  // The letters of the pixels the combo shows now; `letters` paints it first.
  auto seen = [&] {
    CRect r;
    combo.GetClientRect(&r);
    std::string found;
    for (int y = 0; y < r.Height(); ++y)
      for (int x = 0; x < r.Width(); ++x) {
        const uint32_t rgb = testkit::WindowPixel(combo, x, y);
        const char c = rgb == 0 ? 'k' : PixelLetter(combo, x, y);
        if (found.find(c) == std::string::npos) found += c;
      }
    std::sort(found.begin(), found.end());
    return found;
  };
  auto letters = [&] {
    combo.Invalidate();
    combo.UpdateWindow();
    return seen();
  };
  const std::string bare = letters();
  EXPECT_EQ(bare.size(), 1u) << "no images, no selection: nothing drawn";
  SolidSet set("ADBWW");
  const int32_t modes[5] = {kSkinStretch, kSkinStretch, kSkinStretch, kSkinStretch, kSkinStretch};
  CRTComboBox::SetImages(set.images(), modes);
  EXPECT_EQ(letters(), "AD");
  combo.SetCurSel(0);
  EXPECT_EQ(letters(), "ADk") << "the selected text in black";
  combo.SetFocus();
  EXPECT_NE(letters(), "ADk") << "the field with the focus wears the dotted outline";
  // A dialog that has its combo boxes painted at once when they report the
  // focus lost (the WEP and WPA dialogs do) sees it gone already.
  page.onCommand = [](UINT code, HWND from) {
    if (code == CBN_KILLFOCUS) ::UpdateWindow(from);
  };
  page.SetFocus();
  page.onCommand = nullptr;
  EXPECT_EQ(seen(), "ADk") << "and loses it with the focus";
  EXPECT_EQ(letters(), "ADk");
  combo.EnableWindow(FALSE);
  const std::string disabled = letters();
  EXPECT_EQ(disabled.find('k'), std::string::npos) << "a disabled combo's text is not black: " << disabled;
  EXPECT_NE(disabled, "AD") << "but it is still drawn";
  combo.EnableWindow(TRUE);
  EXPECT_EQ(combo.GetDroppedRect().Width(), 140);
}

// Escape and Enter on an open list reach the combo box before any window
// around it (a dialog would take them for its cancel and default buttons):
// Escape closes the list and keeps the choice, Enter takes the item shown.
TEST_F(ListTest, EscapeAndEnterOnAnOpenListAreTheCombosOwn) {
  CRTComboBox combo;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST | CBS_HASSTRINGS, CRect(10, 250, 150, 400), &page,
                           9));
  for (const char* role : {"Master", "Backup Master", "Slave"}) combo.AddString(role);
  combo.SetCurSel(2);
  combo.SetFocus();
  auto key = [&](UINT vk) {
    MSG msg{combo.m_hWnd, WM_KEYDOWN, vk, 0, 0, {0, 0}};
    return CWnd::WalkPreTranslateTree(nullptr, &msg);
  };
  EXPECT_FALSE(key(VK_ESCAPE)) << "a closed combo leaves Escape to its dialog";
  combo.ShowDropDown(TRUE);
  ASSERT_TRUE(combo.GetDroppedState());
  combo.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_TRUE(key(VK_ESCAPE));
  EXPECT_FALSE(combo.GetDroppedState());
  EXPECT_EQ(combo.GetCurSel(), 2);
  combo.ShowDropDown(TRUE);
  combo.SendMessage(WM_KEYDOWN, VK_UP, 0);
  EXPECT_TRUE(key(VK_RETURN));
  EXPECT_FALSE(combo.GetDroppedState());
  EXPECT_EQ(combo.GetCurSel(), 1);
}

}  // namespace
