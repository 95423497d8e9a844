// Property sheets: pages made from their templates behind a tab control,
// switching by tab click, a page that refuses to be left, Apply, OK and
// Cancel on the modal sheet, and the modeless sheet.

#include <gtest/gtest.h>

#include <vector>

#include "AfxPropSheet.h"
#include "ui_fixture.h"

namespace {

std::vector<CString> g_calls;

class CTestPage : public CPropertyPage {
 public:
  CTestPage(UINT id, const char* name) : CPropertyPage(id), m_name(name) {}
  BOOL OnSetActive() override {
    g_calls.push_back(m_name + ":active");
    return TRUE;
  }
  BOOL OnKillActive() override {
    g_calls.push_back(m_name + ":leave");
    return !m_stay;
  }
  BOOL OnApply() override {
    g_calls.push_back(m_name + ":apply");
    return TRUE;
  }
  CString m_name;
  bool m_stay = false;
};

class CcPropSheet : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    g_calls.clear();
    static DialogTemplate first, second;
    first.style = WS_POPUP | WS_CAPTION;
    first.cx = 120;
    first.cy = 60;
    first.caption = "General";
    first.items = {rc::LText("Name", 1001, 5, 5, 40, 8)};
    second = first;
    second.cx = 150;
    second.caption = "Security";
    second.items = {rc::Control("", 1002, "Edit", WS_BORDER, 5, 5, 60, 12)};
    PlatformAddDialog(MAKEINTRESOURCEA(32001), &first);
    PlatformAddDialog(MAKEINTRESOURCEA(32002), &second);
  }
};

void ClickTab(CTabCtrl* tab, int index) {
  CRect rc;
  tab->GetItemRect(index, &rc);
  testkit::Click(tab->m_hWnd, rc.CenterPoint());
  testkit::PumpPending();
}

TEST_F(CcPropSheet, ModalSheetSwitchesPagesAndAppliesThemOnOk) {
  CTestPage a(32001, "a"), b(32002, "b");
  CPropertySheet sheet("Settings");
  sheet.AddPage(&a);
  sheet.AddPage(&b);
  bool checked = false;
  testkit::ModalHandler handler([&](HWND w) {
    checked = true;
    CTabCtrl* tab = sheet.GetTabControl();
    ASSERT_NE(nullptr, tab);
    EXPECT_EQ(2, tab->GetItemCount());
    EXPECT_TRUE(a.IsWindowVisible());
    EXPECT_FALSE(b.IsWindowVisible());
    EXPECT_EQ(&sheet, a.GetParent());
    EXPECT_TRUE(a.GetStyle() & WS_CHILD);
    // The page sits inside the tab control's display area.
    CRect tabRect, pageRect;
    tab->GetWindowRect(&tabRect);
    a.GetWindowRect(&pageRect);
    EXPECT_TRUE(tabRect.PtInRect(pageRect.TopLeft()));
    EXPECT_TRUE(tabRect.PtInRect(CPoint(pageRect.right - 1, pageRect.bottom - 1)));

    ClickTab(tab, 1);
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_FALSE(a.IsWindowVisible());
    EXPECT_TRUE(b.IsWindowVisible());
    // A page that refuses to be left keeps the tab.
    b.m_stay = true;
    ClickTab(tab, 0);
    EXPECT_EQ(1, sheet.GetActiveIndex());
    EXPECT_EQ(1, tab->GetCurSel());
    b.m_stay = false;

    CWnd* apply = sheet.GetDlgItem(ID_APPLY_NOW);
    ASSERT_NE(nullptr, apply);
    EXPECT_FALSE(apply->IsWindowEnabled());
    b.SetModified();
    EXPECT_TRUE(apply->IsWindowEnabled());
    testkit::Answer(w, IDOK);
  });
  EXPECT_EQ(IDOK, sheet.DoModal());
  EXPECT_TRUE(checked);
  EXPECT_EQ((std::vector<CString>{"a:active", "a:leave", "b:active", "b:leave", "b:leave", "a:apply", "b:apply"}),
            g_calls);
  EXPECT_EQ(nullptr, a.m_hWnd);  // the pages went with the sheet
}

TEST_F(CcPropSheet, CancelAndTheModelessSheet) {
  CTestPage a(32001, "a"), b(32002, "b");
  {
    CPropertySheet sheet("Settings", nullptr, 1);
    sheet.AddPage(&a);
    sheet.AddPage(&b);
    testkit::ModalHandler handler([&](HWND w) { testkit::Answer(w, IDCANCEL); });
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ((std::vector<CString>{"b:active"}), g_calls);  // the start page given; nothing applied
  }
  g_calls.clear();
  CPropertySheet modeless("Modeless");
  modeless.AddPage(&a);
  modeless.AddPage(&b);
  ASSERT_TRUE(modeless.Create());
  EXPECT_TRUE(modeless.IsWindowVisible());
  EXPECT_EQ(CString("General"), [&] {
    TCITEMA item{};
    char text[32] = {0};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    modeless.GetTabControl()->GetItem(0, &item);
    return CString(text);
  }());
  EXPECT_TRUE(modeless.SetActivePage(&b));
  EXPECT_TRUE(b.IsWindowVisible());
  modeless.SendMessage(WM_COMMAND, MAKEWPARAM(ID_APPLY_NOW, BN_CLICKED), 0);
  EXPECT_EQ((std::vector<CString>{"a:active", "b:active", "b:leave", "a:apply", "b:apply"}), g_calls);
  modeless.SendMessage(WM_COMMAND, IDOK, 0);
  EXPECT_EQ(nullptr, modeless.m_hWnd);
}

}  // namespace
