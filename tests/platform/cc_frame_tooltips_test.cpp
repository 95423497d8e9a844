// Tooltips of class-layer windows: the tool a window names in OnToolHitTest
// is shown by the thread's tooltip after the delay, with the text its
// TTN_NEEDTEXT handler gives; another tool restarts it; disabling drops it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AfxCmnCtrl.h"
#include "WindowText.h"
#include "ui_fixture.h"

namespace {

class CTipHost : public CWnd {
 public:
  std::vector<UINT_PTR> asked;

  INT_PTR OnToolHitTest(CPoint point, TOOLINFOA* pTI) const override {
    CRect rc;
    GetClientRect(&rc);
    INT_PTR id = point.x < rc.Width() / 2 ? 1 : 2;
    pTI->hwnd = m_hWnd;
    pTI->uId = static_cast<UINT_PTR>(id);
    pTI->lpszText = LPSTR_TEXTCALLBACK;
    pTI->rect = rc;
    return id;
  }

 protected:
  afx_msg BOOL OnToolTipText(UINT, NMHDR* pNMHDR, LRESULT* pResult) {
    auto* di = reinterpret_cast<NMTTDISPINFOA*>(pNMHDR);
    asked.push_back(pNMHDR->idFrom);
    std::string text = "tool " + std::to_string(pNMHDR->idFrom);
    text.copy(di->szText, sizeof di->szText - 1);
    *pResult = 0;
    return TRUE;
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTipHost, CWnd)
  ON_NOTIFY_EX_RANGE(TTN_NEEDTEXTA, 0, 0xFFFF, OnToolTipText)
END_MESSAGE_MAP()

using CcFrameToolTips = UiFixture;

TEST_F(CcFrameToolTips, HitTestedToolsShowTheirTexts) {
  CTipHost host;
  ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP | WS_VISIBLE, 100, 100, 200, 100, nullptr, nullptr));
  ASSERT_TRUE(host.EnableToolTips());
  HWND tip = FindWindowA(TOOLTIPS_CLASS, nullptr);
  ASSERT_NE(nullptr, tip);
  auto move = [&](int x, int y) {
    MSG m{};
    m.hwnd = host.m_hWnd;
    m.message = WM_MOUSEMOVE;
    m.lParam = MAKELPARAM(x, y);
    m.pt = POINT{100 + x, 100 + y};
    CWnd::WalkPreTranslateTree(nullptr, &m);  // as the message pumps do
  };
  auto text = [&] { return WindowText(tip); };
  const struct {
    int x;
    const char* shown;
  } cases[] = {{20, "tool 1"}, {150, "tool 2"}, {30, "tool 1"}};
  for (const auto& c : cases) {
    move(c.x, 50);
    testkit::AdvanceClock(600);
    testkit::PumpPending();
    EXPECT_TRUE(IsWindowVisible(tip)) << c.shown;
    EXPECT_EQ(c.shown, text());
  }
  EXPECT_EQ((std::vector<UINT_PTR>{1, 2, 1}), std::vector<UINT_PTR>(host.asked.begin(), host.asked.end()));

  host.EnableToolTips(FALSE);
  EXPECT_FALSE(IsWindowVisible(tip));
  move(150, 50);
  testkit::AdvanceClock(600);
  testkit::PumpPending();
  EXPECT_FALSE(IsWindowVisible(tip));
  host.DestroyWindow();
}

}  // namespace
