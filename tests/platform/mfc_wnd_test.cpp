// The class layer's windows: message maps, command and notification routing,
// reflection, pre-translation, subclassing, the handle map and the
// application object.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestKit.h"
#include "afxwin.h"

namespace {

std::vector<std::string> g_log;

class CBase : public CWnd {
 public:
  BOOL Make(CWnd* parent, int id, RECT r = RECT{0, 0, 50, 20}) {
    return CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, r, parent, static_cast<UINT>(id));
  }
  BOOL MakeTop() { return CreateEx(0, nullptr, "top", WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr); }

 protected:
  afx_msg void OnTimer(UINT_PTR id) { g_log.push_back("base timer " + std::to_string(id)); }
  afx_msg LRESULT OnPrivate(WPARAM w, LPARAM) {
    g_log.push_back("base private " + std::to_string(w));
    return 7;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CBase, CWnd)
  ON_WM_TIMER()
  ON_MESSAGE(WM_USER + 1, OnPrivate)
END_MESSAGE_MAP()

UINT g_registered = RegisterWindowMessageA("MfcTest.Registered");

class CDerived : public CBase {
 public:
  int sized = 0;
  CPoint lastDown;

 protected:
  afx_msg void OnSize(UINT, int cx, int cy) {
    sized = cx * 1000 + cy;
    CBase::OnSize(0, cx, cy);
  }
  afx_msg void OnLButtonDown(UINT, CPoint p) { lastDown = p; }
  afx_msg LRESULT OnPrivate2(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w + l); }
  afx_msg LRESULT OnRegistered(WPARAM, LPARAM) { return 99; }
  afx_msg void OnOk() { g_log.push_back("ok"); }
  afx_msg void OnRange(UINT id) { g_log.push_back("range " + std::to_string(id)); }
  afx_msg void OnChange() { g_log.push_back("parent change"); }
  afx_msg void OnNotifyClick(NMHDR* nm, LRESULT* result) {
    g_log.push_back("parent click " + std::to_string(nm->idFrom));
    *result = 5;
  }
  afx_msg BOOL OnNotifyFirst(UINT id, NMHDR*, LRESULT*) {
    g_log.push_back("first " + std::to_string(id));
    return FALSE;  // let the next entry have it
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CDerived, CBase)
  ON_WM_SIZE()
  ON_WM_LBUTTONDOWN()
  ON_MESSAGE(WM_USER + 2, OnPrivate2)
  ON_REGISTERED_MESSAGE(g_registered, OnRegistered)
  ON_BN_CLICKED(IDOK, OnOk)
  ON_CONTROL_RANGE(BN_CLICKED, 100, 109, OnRange)
  ON_EN_CHANGE(200, OnChange)
  ON_NOTIFY_EX_RANGE(NM_CLICK, 300, 310, OnNotifyFirst)
  ON_NOTIFY(NM_CLICK, 301, OnNotifyClick)
  ON_NOTIFY(NM_DBLCLK, 301, OnNotifyClick)
END_MESSAGE_MAP()

// A control that handles its own notifications.
class CReflecting : public CBase {
 public:
  BOOL letParentHaveChange = FALSE;
  int drawn = 0;
  void DrawItem(LPDRAWITEMSTRUCT) { ++drawn; }

 protected:
  afx_msg BOOL OnChangeReflect() {
    g_log.push_back("child change");
    return !letParentHaveChange;
  }
  afx_msg void OnClickReflect(NMHDR*, LRESULT* result) {
    g_log.push_back("child click");
    *result = 3;
  }
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CReflecting, CBase)
  ON_CONTROL_REFLECT_EX(EN_CHANGE, OnChangeReflect)
  ON_NOTIFY_REFLECT(NM_CLICK, OnClickReflect)
  ON_WM_DRAWITEM_REFLECT()
END_MESSAGE_MAP()

class MfcWnd : public ::testing::Test {
 protected:
  void SetUp() override { g_log.clear(); }
  void TearDown() override { testkit::ResetWindows(); }
  static LRESULT Command(CWnd& parent, CWnd& child, int code) {
    return parent.SendMessage(WM_COMMAND, MAKEWPARAM(child.GetDlgCtrlID(), code),
                              reinterpret_cast<LPARAM>(child.m_hWnd));
  }
  static LRESULT Notify(CWnd& parent, CWnd& child, UINT code) {
    NMHDR nm{child.m_hWnd, static_cast<UINT_PTR>(child.GetDlgCtrlID()), code};
    return parent.SendMessage(WM_NOTIFY, nm.idFrom, reinterpret_cast<LPARAM>(&nm));
  }
};

TEST_F(MfcWnd, MessageMapsChainFromDerivedToBase) {
  CDerived w;
  ASSERT_TRUE(w.MakeTop());
  EXPECT_EQ(CWnd::FromHandlePermanent(w.m_hWnd), &w);
  w.MoveWindow(0, 0, 120, 80);
  EXPECT_EQ(w.sized, 120080);
  EXPECT_EQ(w.SendMessage(WM_USER + 2, 3, 4), 7);   // the derived entry
  EXPECT_EQ(w.SendMessage(WM_USER + 1, 5, 0), 7);   // the base's entry
  EXPECT_EQ(w.SendMessage(g_registered, 0, 0), 99);
  EXPECT_EQ(w.SendMessage(WM_USER + 3, 0, 0), 0);   // unmapped: the window's default
  w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-5), 6));
  EXPECT_EQ(w.lastDown, CPoint(-5, 6));
  w.SendMessage(WM_TIMER, 4, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"base private 5", "base timer 4"}));
  // The text of CreateEx reached the window through its default handling.
  CString text;
  w.GetWindowText(text);
  EXPECT_STREQ(text, "top");
}

TEST_F(MfcWnd, CommandsAndNotificationsReachTheParentsEntries) {
  CDerived parent;
  ASSERT_TRUE(parent.MakeTop());
  CBase ok, ranged, edit, list;
  ok.Make(&parent, IDOK);
  ranged.Make(&parent, 105);
  edit.Make(&parent, 200);
  list.Make(&parent, 301);
  Command(parent, ok, BN_CLICKED);
  Command(parent, ranged, BN_CLICKED);
  Command(parent, ranged, BN_DOUBLECLICKED);  // no entry
  Command(parent, edit, EN_CHANGE);
  EXPECT_EQ(Notify(parent, list, NM_CLICK), 5);
  EXPECT_EQ(g_log, (std::vector<std::string>{"ok", "range 105", "parent change", "first 301", "parent click 301"}));
}

TEST_F(MfcWnd, ReflectionIsConsumedUnlessTheControlDeclines) {
  CDerived parent;
  ASSERT_TRUE(parent.MakeTop());
  CReflecting edit, list;
  edit.Make(&parent, 200);
  list.Make(&parent, 301);

  Command(parent, edit, EN_CHANGE);
  EXPECT_EQ(g_log, (std::vector<std::string>{"child change"}));
  g_log.clear();
  edit.letParentHaveChange = TRUE;
  Command(parent, edit, EN_CHANGE);
  EXPECT_EQ(g_log, (std::vector<std::string>{"child change", "parent change"}));

  g_log.clear();
  EXPECT_EQ(Notify(parent, list, NM_CLICK), 3);  // the plain reflect entry consumes it
  EXPECT_EQ(g_log, (std::vector<std::string>{"child click"}));
  g_log.clear();
  EXPECT_EQ(Notify(parent, list, NM_DBLCLK), 5);  // not reflected: the parent's entry
  EXPECT_EQ(g_log, (std::vector<std::string>{"parent click 301"}));

  // Owner drawing goes to the control when the parent has no handler of its own.
  DRAWITEMSTRUCT dis{ODT_BUTTON, 301, 0, 0, 0, list.m_hWnd, nullptr, {}, 0};
  EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 301, reinterpret_cast<LPARAM>(&dis)), TRUE);
  EXPECT_EQ(list.drawn, 1);
}

// A control that picks its own colours, or leaves them to its parent.
class CColoured : public CBase {
 public:
  HBRUSH brush = nullptr;
  UINT kind = 99;
  HBRUSH CtlColor(CDC*, UINT nCtlColor) {
    kind = nCtlColor;
    return brush;
  }

 protected:
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColoured, CBase)
  ON_WM_CTLCOLOR_REFLECT()
END_MESSAGE_MAP()

class CColourParent : public CBase {
 public:
  int asked = 0;

 protected:
  afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
    ++asked;
    return CBase::OnCtlColor(pDC, pWnd, nCtlColor);  // the base lets the control answer
  }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CColourParent, CBase)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST_F(MfcWnd, ControlColoursAreReflectedToTheControl) {
  CBase plain;
  CColourParent mapped;
  ASSERT_TRUE(plain.MakeTop());
  ASSERT_TRUE(mapped.MakeTop());
  HBRUSH own = CreateSolidBrush(RGB(1, 2, 3));
  for (CWnd* parent : {static_cast<CWnd*>(&plain), static_cast<CWnd*>(&mapped)}) {
    CColoured child;
    child.Make(parent, 7);
    HDC hdc = ::GetDC(child.m_hWnd);
    child.brush = own;
    EXPECT_EQ(reinterpret_cast<HBRUSH>(parent->SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(hdc),
                                                           reinterpret_cast<LPARAM>(child.m_hWnd))),
              own);
    EXPECT_EQ(child.kind, static_cast<UINT>(CTLCOLOR_STATIC));
    child.brush = nullptr;  // no answer: the parent's default colours
    EXPECT_EQ(reinterpret_cast<HBRUSH>(parent->SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(hdc),
                                                           reinterpret_cast<LPARAM>(child.m_hWnd))),
              GetSysColorBrush(COLOR_WINDOW));
    EXPECT_EQ(child.kind, static_cast<UINT>(CTLCOLOR_EDIT));
    ::ReleaseDC(child.m_hWnd, hdc);
  }
  EXPECT_EQ(mapped.asked, 2);
  DeleteObject(own);
}

// Pre-translation from the target up through its parents.
class CTranslating : public CBase {
 public:
  std::string name;
  bool eat = false;
  BOOL PreTranslateMessage(MSG* pMsg) override {
    if (pMsg->message == WM_KEYDOWN) g_log.push_back(name);
    return eat;
  }
};

TEST_F(MfcWnd, PreTranslateWalksTheParentChain) {
  CTranslating top, middle, leaf;
  top.name = "top";
  middle.name = "middle";
  leaf.name = "leaf";
  ASSERT_TRUE(top.MakeTop());
  middle.Make(&top, 1, RECT{0, 0, 100, 100});
  leaf.Make(&middle, 2);
  MSG msg{leaf.m_hWnd, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_FALSE(CWnd::WalkPreTranslateTree(top.m_hWnd, &msg));
  EXPECT_EQ(g_log, (std::vector<std::string>{"leaf", "middle", "top"}));
  g_log.clear();
  middle.eat = true;
  EXPECT_TRUE(CWnd::WalkPreTranslateTree(top.m_hWnd, &msg));
  EXPECT_EQ(g_log, (std::vector<std::string>{"leaf", "middle"}));
  g_log.clear();
  MSG toTop{top.m_hWnd, WM_KEYDOWN, 0, 0, 0, {}};
  EXPECT_FALSE(CWnd::WalkPreTranslateTree(middle.m_hWnd, &toTop));
  EXPECT_EQ(g_log, (std::vector<std::string>{"top"}));
}

// Run-time class names of subclassed controls.
class CNamedEdit : public CWnd {
  DECLARE_DYNAMIC(CNamedEdit)
};
IMPLEMENT_DYNAMIC(CNamedEdit, CWnd)
class CUnnamedEdit : public CNamedEdit {};  // no record of its own

TEST_F(MfcWnd, SubclassedControlsReportTheirRunTimeClass) {
  CBase parent;
  ASSERT_TRUE(parent.MakeTop());
  HWND a = ::CreateWindowExA(0, AfxRegisterWndClass(0), "", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                             reinterpret_cast<HMENU>(1133), nullptr, nullptr);
  HWND b = ::CreateWindowExA(0, AfxRegisterWndClass(0), "", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                             reinterpret_cast<HMENU>(1134), nullptr, nullptr);
  CWnd* temp = CWnd::FromHandle(a);
  EXPECT_STREQ(temp->GetRuntimeClass()->m_lpszClassName, "CWnd");
  CNamedEdit named;
  CUnnamedEdit unnamed;
  EXPECT_TRUE(named.SubclassDlgItem(1133, &parent));
  EXPECT_TRUE(unnamed.SubclassDlgItem(1134, &parent));
  EXPECT_FALSE(named.SubclassDlgItem(1135, &parent));  // no such control
  EXPECT_EQ(CWnd::FromHandle(a), &named);  // the permanent object wins over the temporary one
  EXPECT_STREQ(CWnd::FromHandle(a)->GetRuntimeClass()->m_lpszClassName, "CNamedEdit");
  EXPECT_STREQ(CWnd::FromHandle(b)->GetRuntimeClass()->m_lpszClassName, "CNamedEdit");
  EXPECT_TRUE(CWnd::FromHandle(b)->IsKindOf(RUNTIME_CLASS(CWnd)));
  // Messages reach the object and then the window's own procedure.
  named.SetWindowText("subclassed");
  char text[32];
  ::GetWindowTextA(a, text, sizeof text);
  EXPECT_STREQ(text, "subclassed");
  EXPECT_EQ(named.UnsubclassWindow(), a);
  EXPECT_EQ(CWnd::FromHandlePermanent(a), nullptr);
}

// An object that deletes itself after its window is gone, destroyed from
// inside its own handler while the message loop dispatches.
class CSelfDeleting : public CBase {
 public:
  static int alive;
  CSelfDeleting() { ++alive; }
  ~CSelfDeleting() override { --alive; }

 protected:
  afx_msg void OnLButtonDown(UINT, CPoint) {
    PostMessage(WM_USER + 1);  // arrives after the window is gone
    DestroyWindow();
  }
  afx_msg void OnDestroy() {
    g_log.push_back("destroy");
    CBase::OnDestroy();
  }
  void PostNcDestroy() override { delete this; }
  DECLARE_MESSAGE_MAP()
};
int CSelfDeleting::alive = 0;

BEGIN_MESSAGE_MAP(CSelfDeleting, CBase)
  ON_WM_LBUTTONDOWN()
  ON_WM_DESTROY()
END_MESSAGE_MAP()

TEST_F(MfcWnd, ObjectDestroyedInsideItsOwnHandlerIsSurvived) {
  auto* w = new CSelfDeleting;
  ASSERT_TRUE(w->MakeTop());
  HWND h = w->m_hWnd;
  CWnd* temp = CWnd::FromHandle(::GetDesktopWindow());
  (void)temp;
  testkit::Click(h, POINT{5, 5});
  testkit::PumpPending();
  EXPECT_FALSE(::IsWindow(h));
  EXPECT_EQ(CSelfDeleting::alive, 0);
  EXPECT_EQ(g_log, (std::vector<std::string>{"destroy"}));
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
}

TEST_F(MfcWnd, TemporaryObjectsGoWithTheirWindows) {
  HWND h = ::CreateWindowExA(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  CWnd* temp = CWnd::FromHandle(h);
  ASSERT_NE(temp, nullptr);
  EXPECT_EQ(CWnd::FromHandle(h), temp);
  EXPECT_EQ(CWnd::FromHandlePermanent(h), nullptr);
  ::DestroyWindow(h);  // frees the temporary object (ASan checks it is not leaked or used)
  EXPECT_EQ(CWnd::FromHandle(h), nullptr);
  EXPECT_STREQ(AfxRegisterWndClass(CS_DBLCLKS), AfxRegisterWndClass(CS_DBLCLKS));
  EXPECT_STRNE(AfxRegisterWndClass(CS_DBLCLKS), AfxRegisterWndClass(0));
}

class CTestApp : public CWinApp {
 public:
  CTestApp() : CWinApp("TestApp") {}
  std::vector<std::string> steps;
  CBase main;
  int shown = 0;
  BOOL InitApplication() override {
    steps.push_back("application");
    return CWinApp::InitApplication();
  }
  BOOL InitInstance() override {
    steps.push_back("instance");
    main.MakeTop();
    m_pMainWnd = &main;
    bool disabled = false;
    testkit::ModalHandler modal([&](HWND box) {
      disabled = !main.IsWindowEnabled();
      testkit::Answer(box, IDYES);
    });
    shown = AfxMessageBox("Proceed?", MB_YESNO);
    steps.push_back(disabled ? "owner disabled" : "owner enabled");
    steps.push_back(main.IsWindowEnabled() ? "owner enabled after" : "owner disabled after");
    return FALSE;  // no message loop: the program ends here
  }
  int ExitInstance() override {
    steps.push_back("exit");
    return 0;
  }
};

TEST_F(MfcWnd, ApplicationStartsUpAndMessageBoxesAreOwnedByTheMainWindow) {
  CTestApp app;
  testkit::MessageBoxLog log;
  EXPECT_EQ(AfxGetApp(), &app);
  EXPECT_EQ(AfxWinMain(nullptr, nullptr, nullptr, SW_SHOW), 0);
  EXPECT_EQ(app.shown, IDYES);
  EXPECT_EQ(app.steps, (std::vector<std::string>{"application", "instance", "owner disabled", "owner enabled after",
                                                 "exit"}));
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(log.records[0].caption, "TestApp");
  EXPECT_EQ(AfxGetMainWnd(), &app.main);
}

}  // namespace
