// The list view in report mode with its header: items and pointer-sized item
// data, custom-draw stages, hit tests, clicks, header layout and tracking,
// scrolling, and a drag between two lists with the drag image.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "cc_fixture.h"

namespace {

using CcListView = CcFixture;

// An image list of `count` blank 16 x 16 images: geometry needs no pictures.
HIMAGELIST MakeImages(int count) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, count, 0);
  ImageList_SetImageCount(list, static_cast<UINT>(count));
  return list;
}

TEST_F(CcListView, InsertSetTextItemDataAndDeleteAll) {
  HWND list = MakeList();
  AddColumns(list, {80, 80, 80});
  // Item data is pointer-sized: a value above 32 bits survives.
  const LPARAM big = static_cast<LPARAM>(0x123456789ABCLL);
  EXPECT_EQ(0, AddRow(list, {"a", "a1", "a2"}, big));
  EXPECT_EQ(1, AddRow(list, {"b", "b1"}, 7));
  LVITEMA first{};
  first.mask = LVIF_TEXT;
  first.iItem = 0;
  first.pszText = const_cast<char*>("z");
  EXPECT_EQ(0, SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&first)));  // rows move down
  EXPECT_EQ(3, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ("a1", Text(list, 1, 1));
  EXPECT_EQ("", Text(list, 2, 2));
  SetText(list, 2, 2, "b2");
  EXPECT_EQ("b2", Text(list, 2, 2));

  LVITEMA get{};
  get.mask = LVIF_PARAM;
  get.iItem = 1;
  ASSERT_TRUE(SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&get)));
  EXPECT_EQ(big, get.lParam);

  // Bad rows and columns are refused without effect.
  LVITEMA bad{};
  bad.iSubItem = 9;
  bad.pszText = const_cast<char*>("x");
  EXPECT_FALSE(SendMessageA(list, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&bad)));
  bad.iSubItem = 0;
  EXPECT_FALSE(SendMessageA(list, LVM_SETITEMTEXTA, 3, reinterpret_cast<LPARAM>(&bad)));
  first.iItem = -1;
  EXPECT_EQ(-1, SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&first)));

  // Every row announces its going with its item data, so owners free what it holds.
  notices.clear();
  EXPECT_TRUE(SendMessageA(list, LVM_DELETEALLITEMS, 0, 0));
  EXPECT_EQ(0, SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  std::vector<LPARAM> freed;
  for (const Notice& n : notices)
    if (n.code == LVN_DELETEITEM) freed.push_back(n.lParam);
  EXPECT_EQ((std::vector<LPARAM>{0, big, 7}), freed);

  // So does a list that is destroyed with rows in it.
  AddRow(list, {"c"}, 42);
  notices.clear();
  DestroyWindow(list);
  ASSERT_EQ(1, CountOf(LVN_DELETEITEM));
}

TEST_F(CcListView, StatesSelectionAndNotifications) {
  HWND list = MakeList(LVS_REPORT | LVS_SINGLESEL);
  AddColumns(list, {100});
  for (int i = 0; i < 3; ++i) AddRow(list, {"row"});
  LVITEMA st{};
  st.state = st.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&st));
  SendMessageA(list, LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&st));
  // Single selection: selecting row 2 clears row 1; one focused row.
  EXPECT_EQ(0u, SendMessageA(list, LVM_GETITEMSTATE, 1, LVIS_SELECTED | LVIS_FOCUSED));
  EXPECT_EQ(2, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  EXPECT_EQ(2, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  EXPECT_EQ(1, SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
  EXPECT_GT(CountOf(LVN_ITEMCHANGED), 0);

  // A parent that refuses LVN_ITEMCHANGING keeps the state as it was.
  onNotify = [](NMHDR* h) -> LRESULT { return h->code == LVN_ITEMCHANGING; };
  st.state = st.stateMask = LVIS_DROPHILITED;
  SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&st));
  EXPECT_EQ(0u, SendMessageA(list, LVM_GETITEMSTATE, 0, LVIS_DROPHILITED));
}

TEST_F(CcListView, CustomDrawStagesReachTheParentAndSkipDefaultLeavesCellsToIt) {
  HWND list = MakeList();
  AddColumns(list, {60, 60});
  AddRow(list, {"r0", "c"});
  AddRow(list, {"r1", "c"});
  struct Stage {
    DWORD stage;
    DWORD_PTR item;
    int sub;
  };
  std::vector<Stage> stages;
  onNotify = [&](NMHDR* h) -> LRESULT {
    if (h->code != NM_CUSTOMDRAW) return 0;
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(h);
    stages.push_back({cd->nmcd.dwDrawStage, cd->nmcd.dwItemSpec, cd->iSubItem});
    switch (cd->nmcd.dwDrawStage) {
      case CDDS_PREPAINT: return CDRF_NOTIFYITEMDRAW;
      case CDDS_ITEMPREPAINT: return CDRF_NOTIFYSUBITEMDRAW;
      case CDDS_ITEMPREPAINT | CDDS_SUBITEM: {
        // The parent paints the cell itself: a red fill where the text would be.
        HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
        FillRect(cd->nmcd.hdc, &cd->nmcd.rc, red);
        DeleteObject(red);
        return CDRF_SKIPDEFAULT;
      }
    }
    return CDRF_DODEFAULT;
  };
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const DWORD sub = CDDS_ITEMPREPAINT | CDDS_SUBITEM;
  std::vector<Stage> want = {{CDDS_PREPAINT, 0, 0}, {CDDS_ITEMPREPAINT, 0, 0}, {sub, 0, 0}, {sub, 0, 1},
                             {CDDS_ITEMPREPAINT, 1, 0}, {sub, 1, 0}, {sub, 1, 1}};
  ASSERT_EQ(want.size(), stages.size());
  for (size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(want[i].stage, stages[i].stage) << i;
    EXPECT_EQ(want[i].item, stages[i].item) << i;
    EXPECT_EQ(want[i].sub, stages[i].sub) << i;
  }
  RECT cell = SubItemRect(list, 1, 1, LVIR_BOUNDS);
  EXPECT_EQ(0xFF0000u, testkit::WindowPixel(list, cell.left + 5, (cell.top + cell.bottom) / 2));
}

TEST_F(CcListView, SubItemHitTestsFindIconsOnlyWithSubItemImages) {
  HWND list = MakeList();
  AddColumns(list, {60, 60, 60});
  HIMAGELIST images = MakeImages(2);
  SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(images));
  AddRow(list, {"r0", "x", "y"});
  AddRow(list, {"r1", "x", "y"});
  LVITEMA img{};
  img.mask = LVIF_IMAGE;
  img.iItem = 1;
  img.iSubItem = 2;
  img.iImage = 1;
  SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&img));

  RECT cell = SubItemRect(list, 1, 2, LVIR_BOUNDS);
  RECT row0 = SubItemRect(list, 0, 0, LVIR_BOUNDS);
  int y = (cell.top + cell.bottom) / 2;
  struct Case {
    DWORD ex;
    POINT pt;
    int item, sub;
    UINT flags;
  };
  const Case cases[] = {
      {0, {cell.left + 4, y}, 1, 2, LVHT_ONITEMLABEL},  // no image area without the style
      {LVS_EX_SUBITEMIMAGES, {cell.left + 4, y}, 1, 2, LVHT_ONITEMICON},   // a 2-pixel inset, then 16 wide
      {LVS_EX_SUBITEMIMAGES, {cell.left + 25, y}, 1, 2, LVHT_ONITEMLABEL},
      {LVS_EX_SUBITEMIMAGES, {5, y}, 1, 0, LVHT_ONITEMICON},  // column 0's icon comes after a 2-pixel inset
      {LVS_EX_SUBITEMIMAGES, {250, y}, 1, -1, LVHT_NOWHERE},  // beside the columns
      {LVS_EX_SUBITEMIMAGES, {70, 150}, -1, 1, LVHT_NOWHERE}, // below the last row
      // A sub-item without an image has no image area: its text starts at the edge.
      {LVS_EX_SUBITEMIMAGES, {cell.left + 4, (row0.top + row0.bottom) / 2}, 0, 2, LVHT_ONITEMLABEL},
  };
  for (const Case& c : cases) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_SUBITEMIMAGES, c.ex);
    LVHITTESTINFO info{};
    info.pt = c.pt;
    SendMessageA(list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(c.item, info.iItem) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(c.sub, info.iSubItem) << c.pt.x << "," << c.pt.y;
    EXPECT_EQ(c.flags, info.flags) << c.pt.x << "," << c.pt.y;
  }
  // The plain hit test finds rows only on column 0 unless the whole row selects.
  LVHITTESTINFO plain{};
  plain.pt = POINT{cell.left + 20, y};
  EXPECT_EQ(-1, SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&plain)));
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  EXPECT_EQ(1, SendMessageA(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&plain)));
  DestroyWindow(list);
  ImageList_Destroy(images);
}

TEST_F(CcListView, ClickSelectsTheRowAndSendsNmClickWithTheCell) {
  HWND list = MakeList(LVS_REPORT, RECT{10, 10, 310, 210}, 101);
  SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
  AddColumns(list, {60, 60});
  AddRow(list, {"r0", "a"});
  AddRow(list, {"r1", "b"});
  RECT cell = SubItemRect(list, 1, 1, LVIR_BOUNDS);
  testkit::Click(list, POINT{cell.left + 10, (cell.top + cell.bottom) / 2});
  testkit::PumpPending();
  EXPECT_EQ(list, GetFocus());
  EXPECT_EQ(1, SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
  ASSERT_EQ(1, CountOf(NM_CLICK));
  for (const Notice& n : notices)
    if (n.code == NM_CLICK) {
      EXPECT_EQ(1, n.item);
      EXPECT_EQ(1, n.subItem);
    }
  EXPECT_EQ(0, CountOf(LVN_BEGINDRAG));

  // A click below the rows still tells the parent, with row -1, and clears the selection.
  notices.clear();
  testkit::Click(list, POINT{20, 180});
  testkit::PumpPending();
  ASSERT_EQ(1, CountOf(NM_CLICK));
  EXPECT_EQ(-1, notices.back().item);
  EXPECT_EQ(0, SendMessageA(list, LVM_GETSELECTEDCOUNT, 0, 0));
}

// The header a skinned list uses: its own answer to HDM_LAYOUT is one and a
// half times the default height.
WNDPROC gHeaderProc = nullptr;
LRESULT CALLBACK TallHeaderProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT r = CallWindowProcA(gHeaderProc, h, msg, wp, lp);
  if (msg == HDM_LAYOUT) {
    auto* layout = reinterpret_cast<HDLAYOUT*>(lp);
    layout->pwpos->cy = layout->pwpos->cy * 3 / 2;
    layout->prc->top = layout->pwpos->cy;
  }
  return r;
}

TEST_F(CcListView, RowsBeginWhereTheHeadersOwnLayoutSays) {
  HWND list = MakeList();
  AddColumns(list, {60});
  AddRow(list, {"r0"});
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT hr;
  GetClientRect(header, &hr);
  RECT row{LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(hr.bottom, row.top);
  int plain = hr.bottom;

  gHeaderProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(header, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TallHeaderProc)));
  SetWindowPos(list, nullptr, 0, 0, 300, 201, SWP_NOMOVE | SWP_NOZORDER);  // the list lays out again
  GetClientRect(header, &hr);
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
  EXPECT_EQ(plain * 3 / 2, hr.bottom);
  EXPECT_EQ(hr.bottom, row.top);
}

std::vector<std::pair<UINT, int>> gTrack;
bool gRefuseTracking = false;
WNDPROC gListProc = nullptr;
LRESULT CALLBACK TrackRecorderProc(HWND h, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NOTIFY) {
    auto* nm = reinterpret_cast<NMHEADERA*>(lp);
    UINT code = nm->hdr.code;
    if (code == HDN_BEGINTRACKA || code == HDN_TRACKA || code == HDN_ENDTRACKA) {
      gTrack.emplace_back(code, nm->pitem ? nm->pitem->cxy : -1);
      if (code == HDN_BEGINTRACKA && gRefuseTracking) return TRUE;
    }
  }
  return CallWindowProcA(gListProc, h, msg, wp, lp);
}

TEST_F(CcListView, DraggingAHeaderDividerTracksAndResizesTheColumn) {
  HWND list = MakeList();
  AddColumns(list, {60, 80});
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  SetWindowLongA(header, GWL_STYLE, GetWindowLongA(header, GWL_STYLE) & ~HDS_FULLDRAG);
  // The list is the header's parent: a subclass of the list records what the header tells it.
  gTrack.clear();
  gListProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TrackRecorderProc)));
  RECT hr;
  GetClientRect(header, &hr);
  auto drag = [&](int dx) {
    RECT item0{};
    SendMessageA(header, HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&item0));
    POINT divider{item0.right, hr.bottom / 2};
    ClientToScreen(header, &divider);
    testkit::MouseMove(divider);
    testkit::MouseDown(divider);
    testkit::MouseMove(POINT{divider.x + dx / 2, divider.y});
    testkit::MouseMove(POINT{divider.x + dx, divider.y});
    testkit::MouseUp(POINT{divider.x + dx, divider.y});
    testkit::PumpPending();
  };
  drag(25);
  std::vector<std::pair<UINT, int>> want = {
      {HDN_BEGINTRACKA, 60}, {HDN_TRACKA, 72}, {HDN_TRACKA, 85}, {HDN_ENDTRACKA, 85}};
  EXPECT_EQ(want, gTrack);
  EXPECT_EQ(85, SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
  RECT item1{};
  SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item1));
  EXPECT_EQ(85, item1.left);

  // A list that refuses the tracking (as a list with fixed columns does) keeps the width.
  gTrack.clear();
  gRefuseTracking = true;
  drag(30);
  gRefuseTracking = false;
  EXPECT_EQ((std::vector<std::pair<UINT, int>>{{HDN_BEGINTRACKA, 85}}), gTrack);
  EXPECT_EQ(85, SendMessageA(list, LVM_GETCOLUMNWIDTH, 0, 0));
}

TEST_F(CcListView, ReportViewShowsBarsOnlyWhenRowsOrColumnsExceedTheView) {
  struct Case {
    const char* what;
    DWORD style;
    int rows, columnWidth;
    DWORD bars;
  } cases[] = {
      {"fifty rows", 0, 50, 100, WS_VSCROLL},
      {"two rows", 0, 2, 100, 0},
      {"two wide rows", 0, 2, 500, WS_HSCROLL},
      {"fifty wide rows", 0, 50, 500, WS_VSCROLL | WS_HSCROLL},
      {"fifty rows, no scrolling", LVS_NOSCROLL, 50, 500, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND list = MakeList(LVS_REPORT | c.style, RECT{10, 10, 310, 130});
    AddColumns(list, {c.columnWidth});
    for (int i = 0; i < c.rows; ++i) AddRow(list, {"row"});
    EXPECT_EQ(GetWindowLongA(list, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL), c.bars);
    // The scroll state is there for skinned bars either way.
    SCROLLINFO si{sizeof si, SIF_RANGE, 0, 0, 0, 0, 0};
    GetScrollInfo(list, SB_VERT, &si);
    EXPECT_EQ(si.nMax, c.rows - 1);
    DestroyWindow(list);
  }
}

// An empty list with the keyboard shows it: the dotted outline of the row
// an item would take, gone again with the focus.
TEST_F(CcListView, AnEmptyListWithTheFocusOutlinesItsFirstRow) {
  HWND list = MakeList(LVS_REPORT, RECT{10, 10, 310, 130});
  AddColumns(list, {100, 100});
  RECT wr;
  GetWindowRect(list, &wr);
  auto pixels = [&] {
    UpdateWindow(parent);
    UpdateWindow(list);
    std::vector<uint32_t> out;
    for (int y = 0; y < wr.bottom - wr.top; ++y)
      for (int x = 0; x < wr.right - wr.left; ++x) out.push_back(testkit::WindowPixel(list, x, y));
    return out;
  };
  SetFocus(parent);
  const std::vector<uint32_t> idle = pixels();
  SetFocus(list);
  const std::vector<uint32_t> focused = pixels();
  HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
  RECT head;
  GetWindowRect(header, &head);
  const int rowTop = head.bottom - wr.top;
  int changed = 0, outside = 0;
  const int width = wr.right - wr.left;
  for (size_t i = 0; i < idle.size(); ++i) {
    if (idle[i] == focused[i]) continue;
    ++changed;
    const int y = static_cast<int>(i) / width;
    if (y < rowTop || y >= rowTop + 20) ++outside;
  }
  EXPECT_GT(changed, 100);  // a dotted rectangle across the list
  EXPECT_EQ(outside, 0);
  SetFocus(parent);
  EXPECT_EQ(pixels(), idle);
  DestroyWindow(list);
}

TEST_F(CcListView, ScrollingByRowsAndPositionsOfRowsPastTheEnd) {
  HWND list = MakeList(LVS_REPORT, RECT{10, 10, 310, 130});
  AddColumns(list, {100});
  for (int i = 0; i < 20; ++i) AddRow(list, {"row " + std::to_string(i)});
  int page = static_cast<int>(SendMessageA(list, LVM_GETCOUNTPERPAGE, 0, 0));
  ASSERT_GT(page, 2);
  ASSERT_LT(page, 20);
  RECT r0{LVIR_BOUNDS, 0, 0, 0};
  SendMessageA(list, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&r0));
  int h = r0.bottom - r0.top;
  SendMessageA(list, LVM_SCROLL, 0, 3 * h);
  EXPECT_EQ(3, SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  // The scroll state follows, even without visible bars (skinned bars read it).
  EXPECT_EQ(3, GetScrollPos(list, SB_VERT));
  int low = -1, high = -1;
  GetScrollRange(list, SB_VERT, &low, &high);
  EXPECT_EQ(19, high);
  SendMessageA(list, LVM_SCROLL, 0, 1000 * h);  // stops at the last full page
  EXPECT_EQ(20 - page, SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  SendMessageA(list, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(0, SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  // Rows past the last one have a position one row further down each.
  POINT p20{}, p21{};
  EXPECT_FALSE(SendMessageA(list, LVM_GETITEMPOSITION, 20, reinterpret_cast<LPARAM>(&p20)));
  SendMessageA(list, LVM_GETITEMPOSITION, 21, reinterpret_cast<LPARAM>(&p21));
  EXPECT_EQ(h, p21.y - p20.y);
  EXPECT_TRUE(SendMessageA(list, LVM_ENSUREVISIBLE, 15, FALSE));
  int top = static_cast<int>(SendMessageA(list, LVM_GETTOPINDEX, 0, 0));
  EXPECT_TRUE(15 >= top && 15 < top + page);
}

TEST_F(CcListView, ARowDraggedToAnotherListWithTheDragImage) {
  HWND from = MakeList(LVS_REPORT, RECT{10, 10, 190, 200}, 201);
  HWND to = MakeList(LVS_REPORT, RECT{210, 10, 390, 200}, 202);
  for (HWND l : {from, to}) AddColumns(l, {150});
  AddRow(from, {"moving"}, 11);
  AddRow(to, {"t0"});
  AddRow(to, {"t1"});

  // The page's part: start the drag image on LVN_BEGINDRAG, follow the mouse,
  // highlight the row under it, drop on release.
  bool dragging = false;
  int dropIndex = -1;
  onNotify = [&](NMHDR* h) -> LRESULT {
    if (h->code != LVN_BEGINDRAG) return 0;
    auto* nm = reinterpret_cast<NMLISTVIEW*>(h);
    POINT at{};
    HIMAGELIST image = reinterpret_cast<HIMAGELIST>(
        SendMessageA(h->hwndFrom, LVM_CREATEDRAGIMAGE, nm->iItem, reinterpret_cast<LPARAM>(&at)));
    EXPECT_NE(nullptr, image);
    EXPECT_TRUE(ImageList_BeginDrag(image, 0, -10, -14));
    ImageList_Destroy(image);  // the drag keeps its own copy
    POINT screen = nm->ptAction;
    ClientToScreen(h->hwndFrom, &screen);
    EXPECT_TRUE(ImageList_DragEnter(GetDesktopWindow(), screen.x, screen.y));
    dragging = true;
    SetCapture(parent);
    return 0;
  };
  Of(parent).fn = [&, prev = Of(parent).fn](HWND hw, UINT msg, WPARAM wp, LPARAM lp) -> LRESULT {
    if (dragging && (msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP)) {
      POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      ClientToScreen(hw, &pt);
      ImageList_DragMove(pt.x, pt.y);
      HWND under = WindowFromPoint(pt);
      if (msg == WM_MOUSEMOVE && under == to) {
        ImageList_DragShowNolock(FALSE);
        LVHITTESTINFO info{};
        info.pt = pt;
        ScreenToClient(to, &info.pt);
        dropIndex = static_cast<int>(SendMessageA(to, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
        LVITEMA st{};
        st.state = st.stateMask = LVIS_DROPHILITED;
        if (dropIndex >= 0) SendMessageA(to, LVM_SETITEMSTATE, dropIndex, reinterpret_cast<LPARAM>(&st));
        ImageList_DragShowNolock(TRUE);
      }
      if (msg == WM_LBUTTONUP) {
        ReleaseCapture();
        dragging = false;
        ImageList_DragLeave(GetDesktopWindow());
        ImageList_EndDrag();
        if (under == to) {
          AddRow(to, {Text(from, 0, 0)});
          SendMessageA(from, LVM_DELETEITEM, 0, 0);
        }
      }
      return 0;
    }
    return prev(hw, msg, wp, lp);
  };

  RECT src = SubItemRect(from, 0, 0, LVIR_LABEL);
  POINT start{src.left + 10, (src.top + src.bottom) / 2};
  ClientToScreen(from, &start);
  RECT dst = SubItemRect(to, 1, 0, LVIR_LABEL);
  POINT over{dst.left + 10, (dst.top + dst.bottom) / 2};
  ClientToScreen(to, &over);

  testkit::MouseMove(start);
  testkit::MouseDown(start);
  testkit::MouseMove(POINT{start.x + 20, start.y});  // far enough to be a drag
  testkit::PumpPending();
  ASSERT_TRUE(dragging);
  EXPECT_EQ(1, CountOf(LVN_BEGINDRAG));
  testkit::MouseMove(over);
  testkit::PumpPending();
  HWND image = PlatformDragImageWindow();
  ASSERT_NE(nullptr, image);
  RECT ir;
  GetWindowRect(image, &ir);
  EXPECT_EQ(over.x + 10, ir.left);  // placed by its hot spot
  EXPECT_EQ(over.y + 14, ir.top);
  // The image never hides what lies under it from the mouse.
  EXPECT_EQ(to, WindowFromPoint(POINT{ir.left + 2, ir.top + 2}));
  EXPECT_EQ(1, dropIndex);
  EXPECT_EQ(static_cast<LRESULT>(LVIS_DROPHILITED), SendMessageA(to, LVM_GETITEMSTATE, 1, LVIS_DROPHILITED));

  testkit::MouseUp(over);
  testkit::PumpPending();
  EXPECT_EQ(nullptr, PlatformDragImageWindow());
  EXPECT_EQ(0, SendMessageA(from, LVM_GETITEMCOUNT, 0, 0));
  ASSERT_EQ(3, SendMessageA(to, LVM_GETITEMCOUNT, 0, 0));
  EXPECT_EQ("moving", Text(to, 2, 0));
  EXPECT_EQ(0, CountOf(NM_CLICK));  // a drag is not a click
}

}  // namespace
