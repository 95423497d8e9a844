// The class layer over the common controls, as the member lists use it: a
// list subclassed by a CListCtrl class handles its own custom drawing and
// clicks by reflection, and its header's tracking reaches the header class.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxCmnCtrl.h"
#include "AfxMenu.h"
#include "TestKit.h"
#include "afxwin.h"

namespace {

std::vector<std::string> g_seen;

class CTrackingHeader : public CHeaderCtrl {
 protected:
  afx_msg void OnTrack(NMHDR* nm, LRESULT* result) {
    g_seen.push_back("header track " + std::to_string(reinterpret_cast<NMHEADERA*>(nm)->pitem->cxy));
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTrackingHeader, CHeaderCtrl)
  ON_NOTIFY_REFLECT(HDN_TRACKA, OnTrack)
END_MESSAGE_MAP()

class CCellList : public CListCtrl {
 public:
  CTrackingHeader m_header;
  int painted = 0;

 protected:
  void PreSubclassWindow() override {
    if (CHeaderCtrl* h = GetHeaderCtrl()) m_header.SubclassWindow(h->m_hWnd);
    CListCtrl::PreSubclassWindow();
  }
  afx_msg void OnCustomDraw(NMHDR* nm, LRESULT* result) {
    auto* cd = reinterpret_cast<NMLVCUSTOMDRAW*>(nm);
    switch (cd->nmcd.dwDrawStage) {
      case CDDS_PREPAINT: *result = CDRF_NOTIFYITEMDRAW; return;
      case CDDS_ITEMPREPAINT: *result = CDRF_NOTIFYSUBITEMDRAW; return;
      case CDDS_ITEMPREPAINT | CDDS_SUBITEM: ++painted; *result = CDRF_SKIPDEFAULT; return;
    }
    *result = CDRF_DODEFAULT;
  }
  afx_msg void OnClick(NMHDR*, LRESULT* result) {
    CPoint pt(static_cast<int>(GET_X_LPARAM(GetMessagePos())), static_cast<int>(GET_Y_LPARAM(GetMessagePos())));
    ScreenToClient(&pt);
    LVHITTESTINFO info{};
    info.pt = pt;
    SubItemHitTest(&info);
    g_seen.push_back("cell " + std::to_string(info.iItem) + "," + std::to_string(info.iSubItem));
    *result = 0;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CCellList, CListCtrl)
  ON_NOTIFY_REFLECT(NM_CUSTOMDRAW, OnCustomDraw)
  ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
END_MESSAGE_MAP()

class CPage : public CWnd {
 public:
  BOOL Make() { return CreateEx(0, nullptr, "page", WS_POPUP | WS_VISIBLE, 40, 40, 400, 300, nullptr, nullptr); }

 protected:
  afx_msg void OnListNotify(NMHDR* nm, LRESULT*) { g_seen.push_back("page saw " + std::to_string(nm->code)); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CPage, CWnd)
  ON_NOTIFY(NM_CUSTOMDRAW, 300, OnListNotify)
  ON_NOTIFY(NM_CLICK, 300, OnListNotify)
END_MESSAGE_MAP()

TEST(CcClasses, AListClassDrawsItsOwnCellsAndHearsItsClicksAndHeaderByReflection) {
  g_seen.clear();
  InitCommonControls();  // as the program does once at start
  CPage page;
  ASSERT_TRUE(page.Make());
  HWND raw = CreateWindowExA(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 10, 300, 200, page.m_hWnd,
                             reinterpret_cast<HMENU>(300), nullptr, nullptr);
  ASSERT_NE(nullptr, raw);
  CCellList list;
  ASSERT_TRUE(list.SubclassWindow(raw));
  list.InsertColumn(0, "Model", LVCFMT_LEFT, 80);
  list.InsertColumn(1, "Role", LVCFMT_LEFT, 80);
  list.InsertItem(0, "RIZ-4410");
  list.SetItemText(0, 1, "Master");
  EXPECT_EQ(CString("Master"), list.GetItemText(0, 1));

  list.RedrawWindow();
  EXPECT_EQ(2, list.painted);

  CRect cell;
  ASSERT_TRUE(list.GetSubItemRect(0, 1, LVIR_BOUNDS, cell));
  testkit::Click(list.m_hWnd, POINT{cell.left + 5, cell.CenterPoint().y});
  testkit::PumpPending();

  // The header's divider, dragged 10 pixels.
  CRect item;
  list.m_header.GetItemRect(0, &item);
  POINT divider{item.right, item.CenterPoint().y};
  ::ClientToScreen(list.m_header.m_hWnd, &divider);
  testkit::MouseMove(divider);
  testkit::MouseDown(divider);
  testkit::MouseMove(POINT{divider.x + 10, divider.y});
  testkit::MouseUp(POINT{divider.x + 10, divider.y});
  testkit::PumpPending();

  // The page itself never saw what the list handled by reflection.
  EXPECT_EQ((std::vector<std::string>{"cell 0,1", "header track 90"}), g_seen);
  EXPECT_EQ(90, list.GetColumnWidth(0));
  page.DestroyWindow();
}

TEST(CcClasses, MenusThroughTheHandleMap) {
  CMenu menu;
  ASSERT_TRUE(menu.CreatePopupMenu());
  CMenu sub;
  ASSERT_TRUE(sub.CreatePopupMenu());
  sub.AppendMenu(MF_STRING, 5, "&Five");
  menu.AppendMenu(MF_POPUP, reinterpret_cast<UINT_PTR>(sub.Detach()), "&Sub");
  EXPECT_EQ(&menu, CMenu::FromHandle(menu.m_hMenu));
  CMenu* temp = menu.GetSubMenu(0);
  ASSERT_NE(nullptr, temp);
  CString text;
  temp->GetMenuString(0, text, MF_BYPOSITION);
  EXPECT_EQ(CString("&Five"), text);
  HMENU h = menu.m_hMenu;
  EXPECT_TRUE(menu.DestroyMenu());  // the sub-menu goes with it
  EXPECT_FALSE(::IsMenu(h));
}

}  // namespace
