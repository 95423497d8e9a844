// CCmdTarget and CWnd: the handle map, subclassing, dispatch through message
// maps, command and notification routing, reflection and pre-translation.
//
// Dispatch never touches an object after calling one of its handlers: a
// handler may destroy its window, and the object with it.

#include <algorithm>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "afxwin.h"

namespace {

struct HandleMaps {
  std::recursive_mutex lock;
  std::unordered_map<HWND, CWnd*> permanent;
  std::unordered_map<HWND, CWnd*> temporary;
};

HandleMaps& Maps() {
  static auto* m = new HandleMaps;
  return *m;
}

struct ThreadState {
  CWnd* pWndInit = nullptr;  // the object whose window CreateEx is making
  MSG lastSent{};            // the message being handled now
};
thread_local ThreadState tls;

// After the window's handle has become invalid: temporary objects go, and a
// permanent object that was never detached forgets its handle.
void WindowGone(HWND hWnd) {
  CWnd* temp = nullptr;
  {
    HandleMaps& m = Maps();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    auto t = m.temporary.find(hWnd);
    if (t != m.temporary.end()) {
      temp = t->second;
      m.temporary.erase(t);
    }
    auto p = m.permanent.find(hWnd);
    if (p != m.permanent.end()) {
      p->second->m_hWnd = nullptr;
      m.permanent.erase(p);
    }
  }
  if (temp) {
    temp->m_hWnd = nullptr;
    delete temp;
  }
}

// The object being created takes its window before the window's first message.
void WindowCreated(HWND hWnd, CREATESTRUCTA*) {
  CWnd* pWnd = tls.pWndInit;
  if (!pWnd) return;
  tls.pWndInit = nullptr;
  pWnd->Attach(hWnd);
  pWnd->PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (old != AfxWndProc) pWnd->m_pfnSuper = old;
}

void InstallHooks() {
  static std::once_flag once;
  std::call_once(once, [] {
    PlatformAddCreateHook(WindowCreated);
    PlatformAddDestroyHook(WindowGone);
  });
}

bool IsReflectable(UINT message) {
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_PARENTNOTIFY:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
      return true;
  }
  return message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC;
}

// The control a reflectable message is about.
HWND ReflectionTarget(HWND hWndParent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DRAWITEM: {
      auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      return dis && dis->CtlType != ODT_MENU ? dis->hwndItem : nullptr;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      return mis && mis->CtlType != ODT_MENU ? ::GetDlgItem(hWndParent, static_cast<int>(mis->CtlID)) : nullptr;
    }
    case WM_DELETEITEM: {
      auto* d = reinterpret_cast<DELETEITEMSTRUCT*>(lParam);
      return d ? d->hwndItem : nullptr;
    }
    case WM_COMPAREITEM: {
      auto* d = reinterpret_cast<COMPAREITEMSTRUCT*>(lParam);
      return d ? d->hwndItem : nullptr;
    }
    case WM_PARENTNOTIFY:
      return LOWORD(wParam) == WM_CREATE || LOWORD(wParam) == WM_DESTROY ? reinterpret_cast<HWND>(lParam) : nullptr;
  }
  return reinterpret_cast<HWND>(lParam);  // scroll bars, list boxes, WM_CTLCOLOR*
}

}  // namespace

// ---------------------------------------------------------------- CCmdTarget

const CRuntimeClass CCmdTarget::classCCmdTarget = {"CCmdTarget", (int)sizeof(CCmdTarget), 0xFFFF, nullptr,
                                                   RUNTIME_CLASS(CObject)};
static const AFX_CLASSINIT _init_CCmdTarget(RUNTIME_CLASS(CCmdTarget));
CRuntimeClass* CCmdTarget::GetRuntimeClass() const { return RUNTIME_CLASS(CCmdTarget); }

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}
const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

BOOL CCmdTarget::DispatchEntry(UINT message, UINT nCode, UINT nID, AFX_CALL& call) {
  for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
    for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
      bool match;
      if (e->pRegistered)
        match = *e->pRegistered != 0 && *e->pRegistered == message;
      else
        match = e->nMessage == message && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID;
      if (!match) continue;
      call.nID = nID;
      // An _EX handler that declines lets later entries try.
      if (e->pfn(this, call)) return TRUE;
    }
  }
  return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) {
  LRESULT result = 0;
  auto* pResult = pHandlerInfo ? static_cast<LRESULT*>(pHandlerInfo) : &result;
  AFX_CALL call{WM_COMMAND, MAKEWPARAM(nID, nCode), 0, nID, pResult};
  if (pExtra) {
    call.message = WM_NOTIFY;
    call.wParam = nID;
    call.lParam = reinterpret_cast<LPARAM>(pExtra);
    return DispatchEntry(WM_NOTIFY, static_cast<UINT>(nCode), nID, call);
  }
  return DispatchEntry(WM_COMMAND, static_cast<UINT>(nCode), nID, call);
}

// ---------------------------------------------------------------- CWnd: objects and handles

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
  ON_WM_NCDESTROY()
END_MESSAGE_MAP()

CWnd::CWnd() { InstallHooks(); }

CWnd::~CWnd() {
  // An object that still owns its window takes the window with it.
  if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
    HWND h = m_hWnd;
    if (::IsWindow(h) && GetWindowThreadProcessId(h, nullptr) == GetCurrentThreadId()) {
      ::DestroyWindow(h);
    }
    if (m_hWnd) Detach();
  }
}

HWND CWnd::GetSafeHwnd() const {
  const CWnd* self = this;
  // The program calls this through possibly null pointers; keep the check.
  __asm__("" : "+r"(self));
  return self ? self->m_hWnd : nullptr;
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
  if (!hWnd) return nullptr;
  HandleMaps& m = Maps();
  std::lock_guard<std::recursive_mutex> g(m.lock);
  auto it = m.permanent.find(hWnd);
  return it == m.permanent.end() ? nullptr : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
  if (!hWnd || !::IsWindow(hWnd)) return nullptr;
  InstallHooks();
  HandleMaps& m = Maps();
  std::lock_guard<std::recursive_mutex> g(m.lock);
  auto it = m.permanent.find(hWnd);
  if (it != m.permanent.end()) return it->second;
  auto t = m.temporary.find(hWnd);
  if (t != m.temporary.end()) return t->second;
  CWnd* temp = new CWnd;
  temp->m_hWnd = hWnd;
  m.temporary[hWnd] = temp;
  return temp;
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew || m_hWnd) return FALSE;
  HandleMaps& m = Maps();
  std::lock_guard<std::recursive_mutex> g(m.lock);
  if (m.permanent.count(hWndNew)) return FALSE;
  m.permanent[hWndNew] = this;
  m_hWnd = hWndNew;
  return TRUE;
}

HWND CWnd::Detach() {
  HWND h = m_hWnd;
  if (h) {
    HandleMaps& m = Maps();
    std::lock_guard<std::recursive_mutex> g(m.lock);
    auto it = m.permanent.find(h);
    if (it != m.permanent.end() && it->second == this) m.permanent.erase(it);
  }
  m_hWnd = nullptr;
  return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!::IsWindow(hWnd) || !Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
  if (old != AfxWndProc) m_pfnSuper = old;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  HWND hWndControl = ::GetDlgItem(AfxSafeHwnd(pParent), static_cast<int>(nID));
  return hWndControl ? SubclassWindow(hWndControl) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper && m_hWnd) SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

// ---------------------------------------------------------------- CWnd: creation

BOOL CWnd::PreCreateWindow(CREATESTRUCT& cs) {
  if (!cs.lpszClass) cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS);
  return TRUE;
}

void CWnd::PreSubclassWindow() {}
void CWnd::PostNcDestroy() {}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  CREATESTRUCT cs{lpParam, AfxGetInstanceHandle(), nIDorHMenu, hWndParent, nHeight, nWidth, y, x,
                  static_cast<LONG>(dwStyle), lpszWindowName, lpszClassName, dwExStyle};
  if (!PreCreateWindow(cs)) {
    PostNcDestroy();
    return FALSE;
  }
  InstallHooks();
  tls.pWndInit = this;
  HWND hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
  if (tls.pWndInit == this) tls.pWndInit = nullptr;
  return hWnd != nullptr;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam) {
  return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                  rect.bottom - rect.top, AfxSafeHwnd(pParentWnd),
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, void*) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  return ::DestroyWindow(m_hWnd);
}

// ---------------------------------------------------------------- CWnd: dispatch

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
  if (!pWnd) return ::DefWindowProcA(hWnd, nMsg, wParam, lParam);
  return AfxCallWndProc(pWnd, hWnd, nMsg, wParam, lParam);
}

LRESULT AFXAPI AfxCallWndProc(CWnd* pWnd, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  MSG saved = tls.lastSent;
  tls.lastSent = MSG{hWnd, nMsg, wParam, lParam, 0, {}};
  LRESULT result = pWnd->WindowProc(nMsg, wParam, lParam);
  tls.lastSent = saved;
  return result;
}

const MSG* AFXAPI AfxGetCurrentMessage() { return &tls.lastSent; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT lResult = 0;
  if (!OnWndMsg(message, wParam, lParam, &lResult)) lResult = DefWindowProc(message, wParam, lParam);
  return lResult;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = tls.lastSent;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm || !nm->hwndFrom || !OnNotify(wParam, lParam, &lResult)) return FALSE;
    *pResult = lResult;
    return TRUE;
  }
  // Every WM_CTLCOLOR* message is mapped under WM_CTLCOLOR.
  UINT mapped = (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) ? WM_CTLCOLOR : message;
  AFX_CALL call{message, wParam, lParam, 0, &lResult};
  HWND self = m_hWnd;
  if (DispatchEntry(message, 0, 0, call) || (mapped != message && DispatchEntry(mapped, 0, 0, call))) {
    *pResult = lResult;  // `this` may be gone now
    return TRUE;
  }
  // Unmapped notifications about a control go to the control first.
  if (IsReflectable(message)) {
    HWND child = ReflectionTarget(self, message, wParam, lParam);
    if (child && child != self && ReflectLastMsg(child, &lResult)) {
      *pResult = lResult;
      return TRUE;
    }
  }
  return FALSE;
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult) {
  CWnd* pWnd = FromHandlePermanent(hWndChild);
  if (!pWnd) return FALSE;
  const MSG& m = tls.lastSent;
  LRESULT ignored = 0;
  return pWnd->OnChildNotify(m.message, m.wParam, m.lParam, pResult ? pResult : &ignored);
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT lResult = 0;
  if (message == WM_COMMAND) {
    AFX_CALL call{WM_REFLECT_BASE + WM_COMMAND, wParam, lParam, 0, &lResult};
    if (!DispatchEntry(WM_REFLECT_BASE + WM_COMMAND, HIWORD(wParam), 0, call)) return FALSE;
    if (pResult) *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (!nm) return FALSE;
    AFX_CALL call{WM_REFLECT_BASE + WM_NOTIFY, wParam, lParam, 0, &lResult};
    if (!DispatchEntry(WM_REFLECT_BASE + WM_NOTIFY, nm->code, 0, call)) return FALSE;
    if (pResult) *pResult = lResult;
    return TRUE;
  }
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) {
    // The control answers with a brush, or leaves the colours to its parent.
    AFX_CALL call{WM_REFLECT_BASE + WM_CTLCOLOR, wParam, static_cast<LPARAM>(message - WM_CTLCOLORMSGBOX), 0,
                  &lResult};
    if (!DispatchEntry(WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, call)) return FALSE;
    if (pResult) *pResult = lResult;
    return TRUE;
  }
  if (IsReflectable(message)) {
    AFX_CALL call{WM_REFLECT_BASE + message, wParam, lParam, 0, &lResult};
    if (!DispatchEntry(WM_REFLECT_BASE + message, 0, 0, call)) return FALSE;
    if (pResult) *pResult = lResult;
    return TRUE;
  }
  return FALSE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT nID = LOWORD(wParam);
  HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
  int nCode = HIWORD(wParam);
  if (hWndCtrl) {
    // The control may handle its own notification (reflection).
    if (ReflectLastMsg(hWndCtrl)) return TRUE;
    if (nID == 0) return FALSE;
  } else {
    nCode = 0;  // menus and accelerators
  }
  return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* nm = reinterpret_cast<NMHDR*>(lParam);
  HWND hWndCtrl = nm->hwndFrom;
  UINT nID = static_cast<UINT>(::GetDlgCtrlID(hWndCtrl));
  if (!nID) nID = static_cast<UINT>(nm->idFrom);
  if (ReflectLastMsg(hWndCtrl, pResult)) return TRUE;
  return OnCmdMsg(nID, static_cast<int>(nm->code), nm, pResult);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  FilterToolTipMessage(pMsg);
  for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
    CWnd* pWnd = FromHandlePermanent(hWnd);
    if (pWnd && pWnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hWnd == hWndStop) break;
  }
  return FALSE;
}

void CWnd::OnNcDestroy() {
  HWND h = m_hWnd;
  WNDPROC super = m_pfnSuper;
  LRESULT r = Default();
  (void)r;
  // Give the window its own procedure back for whatever follows.
  if (super && ::IsWindow(h) &&
      reinterpret_cast<WNDPROC>(GetWindowLongPtrA(h, GWLP_WNDPROC)) == AfxWndProc)
    SetWindowLongPtrA(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
  m_pfnSuper = nullptr;
  Detach();
  PostNcDestroy();  // may delete this
}

// ---------------------------------------------------------------- CWnd: modal loops and owners

BOOL CWnd::ContinueModal() { return (m_nFlags & WF_CONTINUEMODAL) != 0; }

void CWnd::EndModalLoop(int nResult) {
  m_nModalResult = nResult;
  m_nFlags &= ~WF_CONTINUEMODAL;
  if (m_hWnd) ::PostMessageA(m_hWnd, WM_NULL, 0, 0);  // wakes the loop
}

int CWnd::RunModalLoop(DWORD) {
  m_nFlags |= WF_CONTINUEMODAL | WF_MODALLOOP;
  HWND self = m_hWnd;
  PlatformRunModalLoop(
      self, [&] { return !::IsWindow(self) || !ContinueModal(); },
      [](MSG* msg) {
        CWinThread* thread = AfxGetThread();
        return thread ? thread->PreTranslateMessage(msg) != FALSE : WalkPreTranslateTree(nullptr, msg) != FALSE;
      });
  if (::IsWindow(self)) m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
  return m_nModalResult;
}

CWnd* PASCAL CWnd::GetSafeOwner(CWnd* pParent, HWND* pWndTop) {
  HWND hWnd = AfxSafeHwnd(pParent);
  if (!hWnd) {
    CWnd* main = AfxGetMainWnd();
    hWnd = AfxSafeHwnd(main);
  }
  HWND top = hWnd;
  while (top && (::GetWindowLongA(top, GWL_STYLE) & WS_CHILD)) top = ::GetParent(top);
  if (pWndTop) *pWndTop = top && ::IsWindowEnabled(top) ? top : nullptr;
  return FromHandle(top);
}

int CWnd::MessageBox(LPCTSTR lpszText, LPCTSTR lpszCaption, UINT nType) {
  if (!lpszCaption) lpszCaption = AfxGetAppName();
  return ::MessageBoxA(m_hWnd, lpszText, lpszCaption, nType);
}

// ---------------------------------------------------------------- CWnd: operations

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendMessageA(m_hWnd, message, wParam, lParam);
}
BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::PostMessageA(m_hWnd, message, wParam, lParam);
}
LRESULT CWnd::SendDlgItemMessage(int nID, UINT message, WPARAM wParam, LPARAM lParam) const {
  return ::SendDlgItemMessageA(m_hWnd, nID, message, wParam, lParam);
}
void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam, BOOL bDeep) {
  for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    ::SendMessageA(child, message, wParam, lParam);
    if (bDeep && ::GetWindow(child, GW_CHILD)) FromHandle(child)->SendMessageToDescendants(message, wParam, lParam, TRUE);
  }
}
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongA(m_hWnd, GWL_EXSTYLE)); }

static BOOL ModifyStyleOf(HWND hWnd, int index, DWORD remove, DWORD add, UINT flags) {
  DWORD style = static_cast<DWORD>(::GetWindowLongA(hWnd, index));
  DWORD next = (style & ~remove) | add;
  if (style == next) return FALSE;
  ::SetWindowLongA(hWnd, index, static_cast<LONG>(next));
  if (flags) ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
  return TRUE;
}
BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleOf(m_hWnd, GWL_STYLE, dwRemove, dwAdd, nFlags);
}
BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags) {
  return ModifyStyleOf(m_hWnd, GWL_EXSTYLE, dwRemove, dwAdd, nFlags);
}
CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::SetParent(CWnd* pWndNewParent) { return FromHandle(::SetParent(m_hWnd, AfxSafeHwnd(pWndNewParent))); }
CWnd* CWnd::GetOwner() const { return FromHandle(::GetWindow(m_hWnd, GW_OWNER)); }
CWnd* CWnd::GetTopLevelParent() const { return FromHandle(::GetAncestor(m_hWnd, GA_ROOT)); }
CWnd* CWnd::GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
void CWnd::GetDlgItem(int nID, HWND* phWnd) const { *phWnd = ::GetDlgItem(m_hWnd, nID); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
int CWnd::SetDlgCtrlID(int nID) { return static_cast<int>(::SetWindowLongPtrA(m_hWnd, GWLP_ID, nID)); }
CWnd* CWnd::GetWindow(UINT nCmd) const { return FromHandle(::GetWindow(m_hWnd, nCmd)); }
CWnd* CWnd::GetNextWindow(UINT nFlag) const { return FromHandle(::GetWindow(m_hWnd, nFlag)); }
BOOL CWnd::IsChild(const CWnd* pWnd) const { return ::IsChild(m_hWnd, AfxSafeHwnd(pWnd)); }
void CWnd::SetWindowText(LPCTSTR lpszString) { ::SetWindowTextA(m_hWnd, lpszString); }
int CWnd::GetWindowText(LPTSTR lpszStringBuf, int nMaxCount) const {
  return ::GetWindowTextA(m_hWnd, lpszStringBuf, nMaxCount);
}
void CWnd::GetWindowText(CString& rString) const {
  int n = ::GetWindowTextLengthA(m_hWnd);
  std::vector<char> buf(static_cast<size_t>(n) + 1, 0);
  ::GetWindowTextA(m_hWnd, buf.data(), n + 1);
  rString = buf.data();
}
int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }
void CWnd::SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetWindowTextA(::GetDlgItem(m_hWnd, nID), lpszString); }
int CWnd::GetDlgItemText(int nID, CString& rString) const {
  CWnd* item = GetDlgItem(nID);
  rString = "";
  if (item) item->GetWindowText(rString);
  return rString.GetLength();
}
BOOL CWnd::ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL bEnable) { return ::EnableWindow(m_hWnd, bEnable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::IsIconic() const { return ::IsIconic(m_hWnd); }
BOOL CWnd::IsZoomed() const { return ::IsZoomed(m_hWnd); }
void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
  ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
}
void CWnd::MoveWindow(LPCRECT lpRect, BOOL bRepaint) {
  ::MoveWindow(m_hWnd, lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               bRepaint);
}
BOOL CWnd::SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
  // The special insert-after values (wndTop, wndBottom...) are handles in disguise.
  auto after = reinterpret_cast<HWND>(const_cast<CWnd*>(pWndInsertAfter));
  uintptr_t v = reinterpret_cast<uintptr_t>(pWndInsertAfter);
  if (pWndInsertAfter && v > 2 && v < static_cast<uintptr_t>(-3)) after = pWndInsertAfter->m_hWnd;
  return ::SetWindowPos(m_hWnd, after, x, y, cx, cy, nFlags);
}
void CWnd::GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
void CWnd::GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
void CWnd::ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
void CWnd::ClientToScreen(LPRECT lpRect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CWnd::ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
void CWnd::ScreenToClient(LPRECT lpRect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2); }
void CWnd::MapWindowPoints(CWnd* pwndTo, LPPOINT lpPoint, UINT nCount) const {
  ::MapWindowPoints(m_hWnd, AfxSafeHwnd(pwndTo), lpPoint, nCount);
}
void CWnd::MapWindowPoints(CWnd* pwndTo, LPRECT lpRect) const {
  ::MapWindowPoints(m_hWnd, AfxSafeHwnd(pwndTo), reinterpret_cast<LPPOINT>(lpRect), 2);
}
void CWnd::CenterWindow(CWnd* pAlternateOwner) {
  RECT area, rc;
  HWND center = pAlternateOwner ? pAlternateOwner->m_hWnd : ::GetWindow(m_hWnd, GW_OWNER);
  bool child = (GetStyle() & WS_CHILD) != 0;
  if (child) {
    ::GetClientRect(::GetParent(m_hWnd), &area);
  } else if (center && ::IsWindowVisible(center) && !::IsIconic(center)) {
    ::GetWindowRect(center, &area);
  } else {
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  }
  ::GetWindowRect(m_hWnd, &rc);
  int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = (area.left + area.right - w) / 2, y = (area.top + area.bottom - h) / 2;
  ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
void CWnd::Invalidate(BOOL bErase) { ::InvalidateRect(m_hWnd, nullptr, bErase); }
void CWnd::InvalidateRect(LPCRECT lpRect, BOOL bErase) { ::InvalidateRect(m_hWnd, lpRect, bErase); }
void CWnd::ValidateRect(LPCRECT lpRect) { ::ValidateRect(m_hWnd, lpRect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(LPCRECT lpRectUpdate, CRgn* prgnUpdate, UINT flags) {
  return ::RedrawWindow(m_hWnd, lpRectUpdate, prgnUpdate ? static_cast<HRGN>(prgnUpdate->GetSafeHandle()) : nullptr,
                        flags);
}
CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* PASCAL CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* PASCAL CWnd::GetCapture() { return FromHandle(::GetCapture()); }
CWnd* CWnd::SetActiveWindow() { return FromHandle(::SetActiveWindow(m_hWnd)); }
CWnd* PASCAL CWnd::GetActiveWindow() { return FromHandle(::GetActiveWindow()); }
BOOL CWnd::SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
CWnd* PASCAL CWnd::GetDesktopWindow() { return FromHandle(::GetDesktopWindow()); }
CWnd* PASCAL CWnd::WindowFromPoint(POINT point) { return FromHandle(::WindowFromPoint(point)); }
UINT_PTR CWnd::SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer) {
  return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
}
BOOL CWnd::KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
HICON CWnd::SetIcon(HICON hIcon, BOOL bBigIcon) {
  return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bBigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(hIcon)));
}
HICON CWnd::GetIcon(BOOL bBigIcon) const {
  return reinterpret_cast<HICON>(SendMessage(WM_GETICON, bBigIcon ? ICON_BIG : ICON_SMALL, 0));
}
void CWnd::SetRedraw(BOOL bRedraw) { SendMessage(WM_SETREDRAW, bRedraw, 0); }

void CWnd::ScrollWindow(int xAmount, int yAmount, LPCRECT lpRect, LPCRECT lpClipRect) {
  ::ScrollWindow(m_hWnd, xAmount, yAmount, lpRect, lpClipRect);
}
int CWnd::ScrollWindowEx(int dx, int dy, LPCRECT lpRectScroll, LPCRECT lpRectClip, CRgn* prgnUpdate,
                         LPRECT lpRectUpdate, UINT flags) {
  HRGN update = prgnUpdate ? static_cast<HRGN>(prgnUpdate->GetSafeHandle()) : nullptr;
  return ::ScrollWindowEx(m_hWnd, dx, dy, lpRectScroll, lpRectClip, update, lpRectUpdate, flags);
}

// A window that scrolls with a sibling scroll bar control names it here; the
// calls below then go to that control instead of the window's own bar.
CScrollBar* CWnd::GetScrollBarCtrl(int) const { return nullptr; }

namespace {
HWND ScrollTarget(const CWnd* wnd, int* nBar) {
  if (CScrollBar* bar = wnd->GetScrollBarCtrl(*nBar)) {
    *nBar = SB_CTL;
    return bar->m_hWnd;
  }
  return wnd->m_hWnd;
}
}  // namespace

int CWnd::GetScrollPos(int nBar) const {
  HWND target = ScrollTarget(this, &nBar);
  return ::GetScrollPos(target, nBar);
}
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw) {
  HWND target = ScrollTarget(this, &nBar);
  return ::SetScrollPos(target, nBar, nPos, bRedraw);
}
BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask) {
  if (!lpScrollInfo) return FALSE;
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  lpScrollInfo->fMask = nMask;
  HWND target = ScrollTarget(this, &nBar);
  return ::GetScrollInfo(target, nBar, lpScrollInfo);
}
BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw) {
  if (!lpScrollInfo) return FALSE;
  lpScrollInfo->cbSize = sizeof(SCROLLINFO);
  HWND target = ScrollTarget(this, &nBar);
  ::SetScrollInfo(target, nBar, lpScrollInfo, bRedraw);
  return TRUE;
}
// The largest position the thumb can reach: the range less the last page.
int CWnd::GetScrollLimit(int nBar) {
  SCROLLINFO si{};
  if (!GetScrollInfo(nBar, &si, SIF_RANGE | SIF_PAGE)) return 0;
  return si.nMax - std::max<int>(static_cast<int>(si.nPage) - 1, 0);
}
void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

// ---------------------------------------------------------------- CWnd: default handlers

int CWnd::OnCreate(LPCREATESTRUCT) { return static_cast<int>(Default()); }
BOOL CWnd::OnNcCreate(LPCREATESTRUCT) { return static_cast<BOOL>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
HBRUSH CWnd::OnCtlColor(CDC*, CWnd* pWnd, UINT) {
  LRESULT r = 0;
  if (pWnd && pWnd->m_hWnd != m_hWnd && ReflectLastMsg(pWnd->m_hWnd, &r)) return reinterpret_cast<HBRUSH>(r);
  return reinterpret_cast<HBRUSH>(Default());
}
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnMButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnMButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnMouseHover(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
BOOL CWnd::OnMouseWheel(UINT, short, CPoint) { return static_cast<BOOL>(Default()); }
void CWnd::OnNcMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnNcLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnNcRButtonUp(UINT, CPoint) { Default(); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS*) { Default(); }
BOOL CWnd::OnNcActivate(BOOL) { return static_cast<BOOL>(Default()); }
void CWnd::OnActivate(UINT, CWnd*, BOOL) { Default(); }
void CWnd::OnActivateApp(BOOL, DWORD) { Default(); }
int CWnd::OnMouseActivate(CWnd*, UINT, UINT) { return static_cast<int>(Default()); }
void CWnd::OnChildActivate() { Default(); }
void CWnd::OnSetFocus(CWnd*) { Default(); }
void CWnd::OnKillFocus(CWnd*) { Default(); }
void CWnd::OnCaptureChanged(CWnd*) { Default(); }
BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT) { return static_cast<BOOL>(Default()); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
void CWnd::OnSysChar(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnHScroll(UINT, UINT, CScrollBar*) {
  const MSG& m = tls.lastSent;
  if (m.lParam && ReflectLastMsg(reinterpret_cast<HWND>(m.lParam))) return;
  Default();
}
void CWnd::OnVScroll(UINT, UINT, CScrollBar*) {
  const MSG& m = tls.lastSent;
  if (m.lParam && ReflectLastMsg(reinterpret_cast<HWND>(m.lParam))) return;
  Default();
}
void CWnd::OnDrawItem(int, LPDRAWITEMSTRUCT lpDrawItemStruct) {
  if (lpDrawItemStruct && lpDrawItemStruct->CtlType != ODT_MENU && ReflectLastMsg(lpDrawItemStruct->hwndItem)) return;
  Default();
}
void CWnd::OnMeasureItem(int, LPMEASUREITEMSTRUCT lpMeasureItemStruct) {
  if (lpMeasureItemStruct && lpMeasureItemStruct->CtlType != ODT_MENU) {
    HWND item = ::GetDlgItem(m_hWnd, static_cast<int>(lpMeasureItemStruct->CtlID));
    if (item && ReflectLastMsg(item)) return;
  }
  Default();
}
void CWnd::OnDeleteItem(int, LPDELETEITEMSTRUCT lpDeleteItemStruct) {
  if (lpDeleteItemStruct && ReflectLastMsg(lpDeleteItemStruct->hwndItem)) return;
  Default();
}
int CWnd::OnCompareItem(int, LPCOMPAREITEMSTRUCT lpCompareItemStruct) {
  LRESULT r = 0;
  if (lpCompareItemStruct && ReflectLastMsg(lpCompareItemStruct->hwndItem, &r)) return static_cast<int>(r);
  return static_cast<int>(Default());
}
void CWnd::OnSysCommand(UINT, LPARAM) { Default(); }
void CWnd::OnGetMinMaxInfo(MINMAXINFO*) { Default(); }
void CWnd::OnWindowPosChanging(WINDOWPOS*) { Default(); }
void CWnd::OnWindowPosChanged(WINDOWPOS*) { Default(); }
void CWnd::OnStyleChanged(int, LPSTYLESTRUCT) { Default(); }
HCURSOR CWnd::OnQueryDragIcon() { return reinterpret_cast<HCURSOR>(Default()); }
void CWnd::OnContextMenu(CWnd*, CPoint) { Default(); }
void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) { Default(); }
LRESULT CWnd::OnMenuChar(UINT, UINT, CMenu*) { return Default(); }
void CWnd::OnParentNotify(UINT, LPARAM) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
void CWnd::OnCancelMode() { Default(); }
void CWnd::OnSettingChange(UINT, LPCTSTR) { Default(); }

// ---------------------------------------------------------------- window classes

LPCTSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
  static std::mutex lock;
  static auto* names = new std::deque<std::string>;  // stable addresses
  char name[96];
  snprintf(name, sizeof name, "Afx:%x:%lx:%lx:%lx", nClassStyle, static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hCursor)),
           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hbrBackground)),
           static_cast<unsigned long>(reinterpret_cast<uintptr_t>(hIcon)));
  std::lock_guard<std::mutex> g(lock);
  for (const std::string& n : *names) {
    if (n == name) return n.c_str();
  }
  WNDCLASSA wc{};
  wc.style = nClassStyle;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hIcon = hIcon;
  wc.hCursor = hCursor;
  wc.hbrBackground = hbrBackground;
  wc.lpszClassName = name;
  WNDCLASSA existing;
  if (!::GetClassInfoA(wc.hInstance, name, &existing) && !::RegisterClassA(&wc)) return nullptr;
  names->push_back(name);
  return names->back().c_str();
}
