// The frame and view classes: a frame created with a menu and a view from
// its creation context, tool bar and status bar along its edges, the view in
// the rest; painting through OnDraw; commands tried on the view first.

#include <gtest/gtest.h>

#include <vector>

#include "AfxFrame.h"
#include "AfxView.h"
#include "ui_fixture.h"

namespace {

std::vector<CString> g_log;

class CTestView : public CView {
  DECLARE_DYNCREATE(CTestView)
 public:
  int draws = 0;

 protected:
  void OnDraw(CDC* pDC) override {
    ++draws;
    CRect rc;
    GetClientRect(&rc);
    pDC->FillSolidRect(&rc, RGB(10, 200, 30));
  }
  afx_msg void OnViewCommand() { g_log.push_back("view"); }
  DECLARE_MESSAGE_MAP()
};
IMPLEMENT_DYNCREATE(CTestView, CView)
BEGIN_MESSAGE_MAP(CTestView, CView)
  ON_COMMAND(501, OnViewCommand)
END_MESSAGE_MAP()

const UINT kIndicators[] = {ID_SEPARATOR, 7001};

class CTestFrame : public CFrameWnd {
 public:
  CToolBar m_toolBar;
  CStatusBar m_statusBar;

 protected:
  afx_msg int OnCreate(LPCREATESTRUCT cs) {
    if (CFrameWnd::OnCreate(cs) == -1) return -1;
    const UINT buttons[] = {501, ID_SEPARATOR, 502};
    if (!m_toolBar.Create(this) || !m_toolBar.SetButtons(buttons, 3)) return -1;
    if (!m_statusBar.Create(this) || !m_statusBar.SetIndicators(kIndicators, 2)) return -1;
    return 0;
  }
  afx_msg void OnFrameCommand() { g_log.push_back("frame"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestFrame, CFrameWnd)
  ON_WM_CREATE()
  ON_COMMAND(501, OnFrameCommand)
  ON_COMMAND(502, OnFrameCommand)
END_MESSAGE_MAP()

class CcFrameClasses : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    g_log.clear();
    PlatformAddString(7001, "CAP");
    PlatformAddMenu("CC_FRAME_MENU", {{501, "&View command"}, {502, "&Frame command"}});
  }
};

CRect ChildRect(CWnd* parent, CWnd* child) {
  CRect r;
  child->GetWindowRect(&r);
  parent->ScreenToClient(&r);
  return r;
}

TEST_F(CcFrameClasses, BarsAlongTheEdgesAndTheViewInTheRest) {
  auto* frame = new CTestFrame;
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
  ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 410, 310), nullptr,
                            "CC_FRAME_MENU", 0, &context));
  ASSERT_NE(nullptr, frame->GetMenu());
  EXPECT_EQ(2u, frame->GetMenu()->GetMenuItemCount());
  EXPECT_EQ(CString("Frame"), frame->GetTitle());
  auto* view = dynamic_cast<CTestView*>(frame->GetActiveView());
  ASSERT_NE(nullptr, view);
  EXPECT_EQ(view, frame->GetDlgItem(AFX_IDW_PANE_FIRST));
  EXPECT_EQ(frame, view->GetParentFrame());

  CRect client, tool = ChildRect(frame, &frame->m_toolBar), status = ChildRect(frame, &frame->m_statusBar),
                place = ChildRect(frame, view);
  frame->GetClientRect(&client);
  EXPECT_EQ(0, tool.top);
  EXPECT_EQ(client.Width(), tool.Width());
  EXPECT_GT(tool.Height(), 0);
  EXPECT_EQ(client.bottom, status.bottom);
  EXPECT_EQ(tool.bottom, place.top);
  EXPECT_EQ(status.top, place.bottom);
  EXPECT_EQ(client.Width(), place.Width());

  // Resizing the frame lays it out again.
  frame->SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
  frame->GetClientRect(&client);
  EXPECT_EQ(client.bottom, ChildRect(frame, &frame->m_statusBar).bottom);
  EXPECT_EQ(client.Width(), ChildRect(frame, view).Width());

  // The status bar: a stretching first pane, the indicator's text at the end.
  EXPECT_EQ(2, frame->m_statusBar.GetCount());
  EXPECT_EQ(CString("CAP"), frame->m_statusBar.GetPaneText(1));
  EXPECT_TRUE(frame->m_statusBar.SetPaneText(0, "Ready"));
  EXPECT_EQ(CString("Ready"), frame->m_statusBar.GetStatusBarCtrl().GetText(0));
  CRect pane1;
  frame->m_statusBar.GetItemRect(1, &pane1);
  EXPECT_EQ(client.Width(), pane1.right);
  EXPECT_FALSE(frame->m_statusBar.SetPaneText(5, "x"));

  // The view paints through OnDraw.
  view->Invalidate();
  view->UpdateWindow();
  EXPECT_GT(view->draws, 0);
  frame->DestroyWindow();  // frame and view delete themselves
}

TEST_F(CcFrameClasses, CommandsReachTheViewFirst) {
  auto* frame = new CTestFrame;
  CCreateContext context;
  context.m_pNewViewClass = RUNTIME_CLASS(CTestView);
  ASSERT_TRUE(frame->Create(nullptr, "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(10, 10, 410, 310), nullptr,
                            "CC_FRAME_MENU", 0, &context));
  frame->SendMessage(WM_COMMAND, 501);
  frame->SendMessage(WM_COMMAND, 502);
  EXPECT_EQ((std::vector<CString>{"view", "frame"}), g_log);
  // A tool bar click is a command of the frame as well.
  g_log.clear();
  CRect rc;
  frame->m_toolBar.GetItemRect(2, &rc);
  testkit::Click(frame->m_toolBar.m_hWnd, rc.CenterPoint());
  testkit::PumpPending();
  EXPECT_EQ((std::vector<CString>{"frame"}), g_log);
  // Without a menu name or a view the frame is still a frame.
  frame->DestroyWindow();
  auto* bare = new CFrameWnd;
  ASSERT_TRUE(bare->Create(nullptr, "Bare"));
  EXPECT_EQ(nullptr, bare->GetMenu());
  EXPECT_EQ(nullptr, bare->GetActiveView());
  auto* failed = new CFrameWnd;  // never had a window, so it is still ours to delete
  EXPECT_FALSE(failed->Create(nullptr, "No such menu", WS_OVERLAPPEDWINDOW, CFrameWnd::rectDefault, nullptr,
                              "NO_SUCH_MENU"));
  delete failed;
  bare->DestroyWindow();
}

}  // namespace
