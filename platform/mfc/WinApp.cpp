// The application object, the message pump and the class library's entry.

#include "afxwin.h"

namespace {
CWinApp* theApp = nullptr;
}  // namespace

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

CWinThread::CWinThread() { m_nThreadID = GetCurrentThreadId(); }

BOOL CWinThread::InitInstance() { return FALSE; }

CWnd* CWinThread::GetMainWnd() { return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd; }

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
  CWnd* main = GetMainWnd();
  return CWnd::WalkPreTranslateTree(AfxSafeHwnd(main), pMsg);
}

BOOL CWinThread::PumpMessage() {
  if (!::GetMessageA(&m_msgCur, nullptr, 0, 0)) return FALSE;
  if (!PreTranslateMessage(&m_msgCur)) {
    ::TranslateMessage(&m_msgCur);
    ::DispatchMessageA(&m_msgCur);
  }
  return TRUE;
}

BOOL CWinThread::OnIdle(LONG) { return FALSE; }

BOOL CWinThread::IsIdleMessage(MSG* pMsg) {
  return pMsg->message != WM_PAINT && pMsg->message != WM_TIMER && pMsg->message != WM_MOUSEMOVE &&
         pMsg->message != WM_NCMOUSEMOVE;
}

int CWinThread::Run() {
  LONG idleCount = 0;
  for (;;) {
    MSG msg;
    while (!::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE) && OnIdle(idleCount++)) {
    }
    if (!PumpMessage()) return ExitInstance();
    if (IsIdleMessage(&m_msgCur)) idleCount = 0;
  }
}

int CWinThread::ExitInstance() { return static_cast<int>(m_msgCur.wParam); }

CWinApp::CWinApp(LPCTSTR lpszAppName) {
  m_pszAppName = lpszAppName;
  theApp = this;
}

CWinApp::~CWinApp() {
  if (theApp == this) theApp = nullptr;
}

BOOL CWinApp::InitApplication() { return TRUE; }

int CWinApp::DoMessageBox(LPCTSTR lpszPrompt, UINT nType, UINT) {
  // Owned by the main window (which it disables while it is up), as the class library does.
  HWND top = nullptr;
  CWnd::GetSafeOwner(nullptr, &top);
  HWND owner = top;
  if (!owner) {
    CWnd* main = AfxGetMainWnd();
    owner = AfxSafeHwnd(main);
  }
  return ::MessageBoxA(owner, lpszPrompt, AfxGetAppName(), nType);
}

CWinApp* AFXAPI AfxGetApp() { return theApp; }
CWinThread* AFXAPI AfxGetThread() { return theApp; }
CWnd* AFXAPI AfxGetMainWnd() { return theApp ? theApp->GetMainWnd() : nullptr; }
HINSTANCE AFXAPI AfxGetInstanceHandle() { return theApp ? theApp->m_hInstance : nullptr; }
HINSTANCE AFXAPI AfxGetResourceHandle() { return AfxGetInstanceHandle(); }
LPCTSTR AFXAPI AfxGetAppName() {
  if (theApp && theApp->m_pszAppName) return theApp->m_pszAppName;
  if (theApp && theApp->m_pszExeName) return theApp->m_pszExeName;
  return "";
}

BOOL AFXAPI AfxPumpMessage() {
  CWinThread* thread = AfxGetThread();
  if (thread) return thread->PumpMessage();
  MSG msg;
  if (!::GetMessageA(&msg, nullptr, 0, 0)) return FALSE;
  if (!CWnd::WalkPreTranslateTree(nullptr, &msg)) {
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  return TRUE;
}

void AFXAPI AfxEnableControlContainer() {}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  if (theApp) return theApp->DoMessageBox(lpszText, nType, nIDHelp);
  return ::MessageBoxA(nullptr, lpszText, "", nType);
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow) {
  CWinApp* app = AfxGetApp();
  if (!app) return -1;
  app->m_hInstance = hInstance;
  app->m_hPrevInstance = hPrevInstance;
  app->m_lpCmdLine = lpCmdLine;
  app->m_nCmdShow = nCmdShow;
  if (!app->InitApplication()) return -1;  // nothing was started, so nothing to end
  if (!app->InitInstance()) {
    // The main window, if any, is gone by now; nothing is left to run.
    if (app->m_pMainWnd && AfxSafeHwnd(app->m_pMainWnd)) app->m_pMainWnd->DestroyWindow();
    return app->ExitInstance();
  }
  return app->Run();
}
