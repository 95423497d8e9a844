// Window classes, the window tree, geometry, state, texts and properties.

#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <unordered_map>

#include "Display.h"
#include "UiPlatform.h"
#include "WindowManager.h"

namespace wm {

std::recursive_mutex& Lock() {
  static std::recursive_mutex* lock = new std::recursive_mutex;  // outlives static destructors
  return *lock;
}

namespace {

struct Registry {
  std::vector<std::unique_ptr<WindowClass>> classes;
  std::unordered_map<HWND, Window*> windows;
  uintptr_t nextHandle = 0x10010;
  ATOM nextAtom = 0xC000;
  Window* desktop = nullptr;
  std::vector<PlatformCreateHook> createHooks;  // in the order they were added
  std::vector<PlatformDestroyHook> destroyHooks;
  PlatformMessageSpy spy;
};

Registry& Reg() {
  static Registry* r = new Registry;
  return *r;
}

bool SameName(const std::string& a, LPCSTR b) { return strcasecmp(a.c_str(), b) == 0; }

WindowClass* FindClass(LPCSTR name) {
  Registry& r = Reg();
  for (auto& c : r.classes) {
    if (IS_INTRESOURCE(name) ? c->atom == (ATOM)(ULONG_PTR)name : SameName(c->name, name)) return c.get();
  }
  return nullptr;
}

HWND NewHandle() {
  Registry& r = Reg();
  HWND h = reinterpret_cast<HWND>(r.nextHandle);
  r.nextHandle += 4;
  return h;
}

void Unlink(Window* w) {
  if (!w->parent) return;
  auto& v = w->parent->children;
  v.erase(std::remove(v.begin(), v.end(), w), v.end());
}

// New children go below their siblings (so the first control created comes first
// in z-order and tab order); new top-level windows go on top.
void Link(Window* w, Window* parent) {
  w->parent = parent;
  if (parent == Desktop())
    StackTopLevel(w, HWND_TOP);
  else
    parent->children.push_back(w);
}

bool OnOwnerThread(Window* w) { return w->threadId == GetCurrentThreadId(); }

}  // namespace

// Top-level windows with WS_EX_TOPMOST form a band in front of the others;
// whatever is asked, a window stays within its own band.
void StackTopLevel(Window* w, HWND insertAfter) {
  auto& v = Desktop()->children;
  bool wasTopmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  bool listed = std::find(v.begin(), v.end(), w) != v.end();
  if (insertAfter == HWND_NOTOPMOST && !wasTopmost && listed) return;  // already where it belongs
  v.erase(std::remove(v.begin(), v.end(), w), v.end());
  if (insertAfter == HWND_TOPMOST) w->exStyle |= WS_EX_TOPMOST;
  if (insertAfter == HWND_NOTOPMOST || insertAfter == HWND_BOTTOM) w->exStyle &= ~WS_EX_TOPMOST;
  bool topmost = (w->exStyle & WS_EX_TOPMOST) != 0;
  size_t bandEnd = static_cast<size_t>(
      std::find_if(v.begin(), v.end(), [](Window* c) { return !(c->exStyle & WS_EX_TOPMOST); }) - v.begin());
  size_t first = topmost ? 0 : bandEnd, last = topmost ? bandEnd : v.size();
  size_t pos = first;
  if (insertAfter == HWND_BOTTOM) {
    pos = last;
  } else if (insertAfter != HWND_TOP && insertAfter != HWND_TOPMOST && insertAfter != HWND_NOTOPMOST) {
    auto it = std::find(v.begin(), v.end(), Find(insertAfter));
    if (it != v.end()) pos = std::min(std::max(static_cast<size_t>(it - v.begin()) + 1, first), last);
  }
  v.insert(v.begin() + static_cast<std::ptrdiff_t>(pos), w);
  // A window raised to the top brings the pop-ups it owns along in front of
  // it, as on the system: an owner activated by a click must not hide them.
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST) {
    std::vector<Window*> owned;
    for (auto it = v.rbegin(); it != v.rend() && *it != w; ++it)
      if ((*it)->owner == w) owned.push_back(*it);
    for (Window* o : owned) StackTopLevel(o, HWND_TOP);
  }
}

Window* Find(HWND hwnd) {
  if (!hwnd) return nullptr;
  Registry& r = Reg();
  auto it = r.windows.find(hwnd);
  return it == r.windows.end() ? nullptr : it->second;
}

Window* Desktop() {
  Registry& r = Reg();
  if (!r.desktop) {
    Window* d = new Window;
    d->hwnd = NewHandle();
    d->style = WS_VISIBLE | WS_CLIPCHILDREN;
    d->rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    d->client = d->rect;
    r.windows[d->hwnd] = d;
    r.desktop = d;
  }
  return r.desktop;
}

bool IsTopLevel(const Window* w) { return w->parent == Desktop() || w->parent == nullptr; }

Window* TopLevelOf(Window* w) {
  while (w && !IsTopLevel(w)) w = w->parent;
  return w;
}

bool ReallyVisible(const Window* w) {
  for (; w && w != Desktop(); w = w->parent) {
    if (!(w->style & WS_VISIBLE)) return false;
  }
  return w != nullptr;
}

POINT WindowOriginOnScreen(const Window* w) {
  POINT p{w->rect.left, w->rect.top};
  if (!IsTopLevel(w)) {
    POINT o = ClientOriginOnScreen(w->parent);
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

POINT ClientOriginOnScreen(const Window* w) {
  if (w == Desktop()) return POINT{0, 0};
  POINT p = WindowOriginOnScreen(w);
  p.x += w->client.left;
  p.y += w->client.top;
  return p;
}

POINT WindowOriginOnSurface(const Window* w) {
  const Window* top = TopLevelOf(const_cast<Window*>(w));
  POINT a = WindowOriginOnScreen(w), b = WindowOriginOnScreen(top);
  return POINT{a.x - b.x, a.y - b.y};
}

RECT ScreenRectOf(const Window* w) {
  POINT o = WindowOriginOnScreen(w);
  return RECT{o.x, o.y, o.x + (w->rect.right - w->rect.left), o.y + (w->rect.bottom - w->rect.top)};
}

LRESULT CallProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc;
  PlatformMessageSpy spy;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w || !w->proc) return 0;
    proc = w->proc;
    spy = Reg().spy;
  }
  if (spy) spy(hwnd, msg, wParam, lParam);
  return proc(hwnd, msg, wParam, lParam);
}

}  // namespace wm

using namespace wm;

void PlatformSetMessageSpy(PlatformMessageSpy spy) {
  Guard g(Lock());
  Reg().spy = std::move(spy);
}
PlatformWindowPart* PlatformWindowPartOf(HWND hwnd, const char* kind, PlatformWindowPart* (*make)()) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || w == Desktop()) return nullptr;
  if (!make) {
    auto it = w->parts.find(kind);
    return it == w->parts.end() ? nullptr : it->second.get();
  }
  std::unique_ptr<PlatformWindowPart>& part = w->parts[kind];
  if (!part) part.reset(make());
  return part.get();
}

void PlatformAddCreateHook(PlatformCreateHook hook) {
  Guard g(Lock());
  Reg().createHooks.push_back(hook);
}
void PlatformAddDestroyHook(PlatformDestroyHook hook) {
  Guard g(Lock());
  Reg().destroyHooks.push_back(hook);
}

HWND PlatformGetCreationParent(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return w ? w->creationParent : nullptr;
}

PlatformSurface* PlatformGetWindowSurface(HWND hwnd, POINT* origin) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || w == Desktop()) return nullptr;
  if (origin) *origin = WindowOriginOnSurface(w);
  return TopLevelOf(w)->surface.get();
}

// ---------------------------------------------------------------- classes

static ATOM RegisterClassCommon(const WNDCLASSEXA& wc) {
  if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !wc.lpfnWndProc || wc.cbClsExtra < 0 ||
      wc.cbWndExtra < 0 || wc.cbClsExtra > 40000 || wc.cbWndExtra > 40000) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  Guard g(Lock());
  if (FindClass(wc.lpszClassName)) {
    SetLastError(ERROR_CLASS_ALREADY_EXISTS);
    return 0;
  }
  auto c = std::make_unique<WindowClass>();
  c->name = wc.lpszClassName;
  c->atom = Reg().nextAtom++;
  c->style = wc.style;
  c->proc = wc.lpfnWndProc;
  c->clsExtra = wc.cbClsExtra;
  c->wndExtra = wc.cbWndExtra;
  c->instance = wc.hInstance;
  c->icon = wc.hIcon;
  c->iconSmall = wc.hIconSm;
  c->cursor = wc.hCursor;
  c->background = wc.hbrBackground;
  if (wc.lpszMenuName && !IS_INTRESOURCE(wc.lpszMenuName)) c->menuName = wc.lpszMenuName;
  c->extra.assign(static_cast<size_t>(wc.cbClsExtra), 0);
  ATOM atom = c->atom;
  Reg().classes.push_back(std::move(c));
  return atom;
}

ATOM RegisterClassA(const WNDCLASSA* wc) {
  if (!wc) return 0;
  WNDCLASSEXA ex{sizeof(WNDCLASSEXA), wc->style, wc->lpfnWndProc, wc->cbClsExtra, wc->cbWndExtra, wc->hInstance,
                 wc->hIcon, wc->hCursor, wc->hbrBackground, wc->lpszMenuName, wc->lpszClassName, nullptr};
  return RegisterClassCommon(ex);
}

ATOM RegisterClassExA(const WNDCLASSEXA* wc) { return wc ? RegisterClassCommon(*wc) : 0; }

BOOL UnregisterClassA(LPCSTR name, HINSTANCE) {
  if (!name) return FALSE;
  Guard g(Lock());
  WindowClass* c = FindClass(name);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  for (auto& kv : Reg().windows) {
    if (kv.second->cls == c) return FALSE;  // still in use
  }
  auto& v = Reg().classes;
  v.erase(std::remove_if(v.begin(), v.end(), [c](const std::unique_ptr<WindowClass>& p) { return p.get() == c; }),
          v.end());
  return TRUE;
}

BOOL GetClassInfoExA(HINSTANCE, LPCSTR name, WNDCLASSEXA* wc) {
  if (!name || !wc) return FALSE;
  Guard g(Lock());
  WindowClass* c = FindClass(name);
  if (!c) {
    SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
    return FALSE;
  }
  wc->style = c->style;
  wc->lpfnWndProc = c->proc;
  wc->cbClsExtra = c->clsExtra;
  wc->cbWndExtra = c->wndExtra;
  wc->hInstance = c->instance;
  wc->hIcon = c->icon;
  wc->hCursor = c->cursor;
  wc->hbrBackground = c->background;
  wc->lpszMenuName = c->menuName.empty() ? nullptr : c->menuName.c_str();
  wc->lpszClassName = c->name.c_str();
  wc->hIconSm = c->iconSmall;
  return c->atom;
}

BOOL GetClassInfoA(HINSTANCE instance, LPCSTR name, WNDCLASSA* wc) {
  if (!wc) return FALSE;
  WNDCLASSEXA ex{};
  if (!GetClassInfoExA(instance, name, &ex)) return FALSE;
  *wc = WNDCLASSA{ex.style,   ex.lpfnWndProc, ex.cbClsExtra,    ex.cbWndExtra,   ex.hInstance,
                  ex.hIcon,   ex.hCursor,     ex.hbrBackground, ex.lpszMenuName, ex.lpszClassName};
  return TRUE;
}

int GetClassNameA(HWND hwnd, LPSTR name, int size) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !w->cls || !name || size <= 0) return 0;
  int n = std::min<int>(static_cast<int>(w->cls->name.size()), size - 1);
  memcpy(name, w->cls->name.data(), static_cast<size_t>(n));
  name[n] = 0;
  return n;
}

static ULONG_PTR ClassLong(HWND hwnd, int index, const LONG_PTR* value) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !w->cls) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WindowClass* c = w->cls;
  ULONG_PTR old = 0;
  auto swap = [&](auto& field) {
    old = (ULONG_PTR)field;
    if (value) field = (std::remove_reference_t<decltype(field)>)(*value);
  };
  switch (index) {
    case GCLP_HBRBACKGROUND: swap(c->background); break;
    case GCLP_HCURSOR: swap(c->cursor); break;
    case GCLP_HICON: swap(c->icon); break;
    case GCLP_HICONSM: swap(c->iconSmall); break;
    case GCLP_HMODULE: swap(c->instance); break;
    case GCLP_WNDPROC: swap(c->proc); break;
    case GCL_STYLE: swap(c->style); break;
    case GCL_CBWNDEXTRA: old = static_cast<ULONG_PTR>(c->wndExtra); break;
    case GCL_CBCLSEXTRA: old = static_cast<ULONG_PTR>(c->clsExtra); break;
    case GCW_ATOM: old = c->atom; break;
    default:
      if (index >= 0 && static_cast<size_t>(index) + sizeof(ULONG_PTR) <= c->extra.size()) {
        memcpy(&old, &c->extra[static_cast<size_t>(index)], sizeof old);
        if (value) memcpy(&c->extra[static_cast<size_t>(index)], value, sizeof *value);
      } else {
        SetLastError(ERROR_INVALID_PARAMETER);
      }
  }
  return old;
}

ULONG_PTR GetClassLongPtrA(HWND hwnd, int index) { return ClassLong(hwnd, index, nullptr); }
ULONG_PTR SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value) { return ClassLong(hwnd, index, &value); }

// ---------------------------------------------------------------- creation and destruction

static void SendSizeAndMove(HWND hwnd) {
  RECT rc{}, cl{};
  UINT kind = SIZE_RESTORED;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return;
    w->sizeSent = true;
    rc = w->rect;
    cl = w->client;
    if (w->style & WS_MINIMIZE) kind = SIZE_MINIMIZED;
    if (w->style & WS_MAXIMIZE) kind = SIZE_MAXIMIZED;
  }
  SendMessageA(hwnd, WM_SIZE, kind, MAKELPARAM(cl.right - cl.left, cl.bottom - cl.top));
  SendMessageA(hwnd, WM_MOVE, 0, MAKELPARAM(rc.left + cl.left, rc.top + cl.top));
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  if (!className) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  HWND hwnd;
  std::vector<PlatformCreateHook> hooks;
  CREATESTRUCTA cs{};
  {
    Guard g(Lock());
    WindowClass* cls = FindClass(className);
    if (!cls) {
      SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
      return nullptr;
    }
    Window* parentWindow = nullptr;
    Window* owner = nullptr;
    if (parent == HWND_MESSAGE) parent = nullptr;
    if (style & WS_CHILD) {
      // A child of the desktop is a top-level window that stays out of the owner chain.
      parentWindow = parent && parent == Desktop()->hwnd ? Desktop() : Find(parent);
      if (!parentWindow) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
      }
    } else {
      if (parent) {
        owner = TopLevelOf(Find(parent));
        if (!owner) {
          SetLastError(ERROR_INVALID_WINDOW_HANDLE);
          return nullptr;
        }
      }
      parentWindow = Desktop();
    }
    if (!(style & WS_CHILD)) {
      // Overlapped windows always have a caption; default positions cascade from a fixed corner.
      if (!(style & WS_POPUP)) style |= WS_CAPTION | WS_CLIPSIBLINGS;
      if (x == CW_USEDEFAULT) x = y = 40;
      if (width == CW_USEDEFAULT) {
        width = 640;
        height = 480;
      }
    } else {
      if (x == CW_USEDEFAULT) x = y = 0;
      if (width == CW_USEDEFAULT) width = height = 0;
    }
    Window* w = new Window;
    w->hwnd = NewHandle();
    w->cls = cls;
    w->proc = cls->proc;
    w->style = style & ~WS_VISIBLE;
    w->exStyle = exStyle;
    w->owner = owner;
    w->creationParent = parent;
    w->instance = instance;
    w->id = reinterpret_cast<UINT_PTR>(menu);
    w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
    w->queue = CurrentQueue();
    w->threadId = GetCurrentThreadId();
    w->rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
    w->client = {0, 0, w->rect.right - w->rect.left, w->rect.bottom - w->rect.top};
    if (parentWindow == Desktop()) {
      w->surface = std::make_unique<PlatformSurface>();
      w->surface->Resize(width, height);
    }
    Link(w, parentWindow);
    Reg().windows[w->hwnd] = w;
    hwnd = w->hwnd;
    hooks = Reg().createHooks;
    cs = CREATESTRUCTA{param, instance, menu, parent, height, width, y, x, static_cast<LONG>(style),
                       windowName, className, exStyle};
  }
  for (PlatformCreateHook hook : hooks) hook(hwnd, &cs);

  MINMAXINFO mmi{};
  if (!(style & WS_CHILD)) SendMessageA(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
  if (!SendMessageA(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  RECT rc;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    rc = w->rect;
  }
  SendMessageA(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return nullptr;
    // The answer is the client area in the parent's coordinates; keep it relative to the window.
    RECT client{rc.left - w->rect.left, rc.top - w->rect.top, rc.right - w->rect.left, rc.bottom - w->rect.top};
    if (client.right < client.left) client.right = client.left;
    if (client.bottom < client.top) client.bottom = client.top;
    w->client = client;
  }
  if (SendMessageA(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  if (!IsWindow(hwnd)) return nullptr;
  SendSizeAndMove(hwnd);
  if (style & WS_VISIBLE) {
    int cmd = SW_SHOW;
    if (style & WS_MAXIMIZE) cmd = SW_SHOWMAXIMIZED;
    if (style & WS_MINIMIZE) cmd = SW_SHOWMINIMIZED;
    if (style & WS_CHILD) cmd = SW_SHOWNOACTIVATE;
    ShowWindow(hwnd, cmd);
  }
  return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL IsWindow(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return w && w != Desktop();
}

static void CollectSubtree(Window* w, std::vector<HWND>* out) {
  out->push_back(w->hwnd);
  for (Window* c : w->children) CollectSubtree(c, out);
}

static void FreeWindow(HWND hwnd) {
  std::vector<PlatformDestroyHook> hooks;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return;
    for (Window* c : w->children) c->parent = nullptr;  // already freed children unlink themselves first
    Unlink(w);
    // Owned windows outliving their owner (never normally) lose it.
    for (auto& kv : Reg().windows) {
      if (kv.second->owner == w) kv.second->owner = nullptr;
    }
    DropTimersOf(hwnd);
    DropSocketsOf(hwnd);
    DropPostedFor(hwnd);
    ForgetWindowPaint(w);
    Reg().windows.erase(hwnd);
    delete w;
    hooks = Reg().destroyHooks;
  }
  PlatformDisplay()->WindowDestroyed(hwnd);
  for (PlatformDestroyHook hook : hooks) hook(hwnd);
}

BOOL DestroyWindow(HWND hwnd) {
  std::vector<HWND> owned;
  bool wasVisible;
  HWND parentHwnd = nullptr;
  RECT oldRect{};
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w || w == Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    if (!OnOwnerThread(w)) {
      SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
      return FALSE;
    }
    // A window already marked as part of an ancestor's destruction is still
    // destroyed at once when asked (a parent's WM_DESTROY handler destroying
    // and deleting its children, say); a second call for the same window is
    // a no-op.
    if (w->destroyCalled) return TRUE;
    w->destroyCalled = true;
    w->destroying = true;
    for (auto& kv : Reg().windows) {
      if (kv.second->owner == w && !kv.second->destroying) owned.push_back(kv.first);
    }
    wasVisible = (w->style & WS_VISIBLE) != 0;
    if (!IsTopLevel(w)) {
      parentHwnd = w->parent->hwnd;
      oldRect = w->rect;
    }
  }
  // Owned pop-ups go first, as on the system.
  for (HWND o : owned) DestroyWindow(o);

  if (wasVisible) {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (w) {
      w->style &= ~WS_VISIBLE;
      Window* p = Find(parentHwnd);
      // A child's rectangle is in its parent's client coordinates already.
      if (p) InvalidateLocked(p, &oldRect, true, true);
    }
  }
  if (wasVisible && !parentHwnd) PlatformDisplay()->WindowHidden(hwnd);
  // Activation passes to the owner, when it can take it.
  if (!parentHwnd && GetActiveWindow() == hwnd) {
    HWND owner = GetWindow(hwnd, GW_OWNER);
    SetActiveWindow(owner && IsWindowVisible(owner) && IsWindowEnabled(owner) ? owner : nullptr);
  }
  InputForgetWindow(hwnd);

  std::vector<HWND> subtree;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return TRUE;
    CollectSubtree(w, &subtree);
    for (HWND h : subtree) {
      if (Window* x = Find(h)) x->destroying = true;
    }
  }
  // WM_DESTROY goes to the window first and then down to its children, while
  // they all still exist; WM_NCDESTROY goes to the children first.
  for (HWND h : subtree) {
    {
      Guard g(Lock());
      Window* x = Find(h);
      if (!x || x->destroyMessageSent) continue;
      x->destroyMessageSent = true;
    }
    SendMessageA(h, WM_DESTROY, 0, 0);
  }
  for (auto it = subtree.rbegin(); it != subtree.rend(); ++it) {
    if (IsWindow(*it)) {
      InputForgetWindow(*it);
      SendMessageA(*it, WM_NCDESTROY, 0, 0);
      FreeWindow(*it);
    }
  }
  return TRUE;
}

// ---------------------------------------------------------------- window data

static LONG_PTR WindowLong(HWND hwnd, int index, const LONG_PTR* value) {
  DWORD oldStyle = 0, newStyle = 0;
  bool styleChange = false;
  LONG_PTR old = 0;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w || w == Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return 0;
    }
    switch (index) {
      case GWLP_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(w->proc);
        if (value && *value) w->proc = reinterpret_cast<WNDPROC>(*value);
        return old;
      case GWLP_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(w->instance);
        if (value) w->instance = reinterpret_cast<HINSTANCE>(*value);
        return old;
      case GWLP_HWNDPARENT:
        if (IsTopLevel(w)) {
          old = reinterpret_cast<LONG_PTR>(w->owner ? w->owner->hwnd : nullptr);
          if (value) w->owner = TopLevelOf(Find(reinterpret_cast<HWND>(*value)));
        } else {
          old = reinterpret_cast<LONG_PTR>(w->parent->hwnd);
        }
        return old;
      case GWLP_ID:
        old = static_cast<LONG_PTR>(w->id);
        if (value) w->id = static_cast<UINT_PTR>(*value);
        return old;
      case GWLP_USERDATA:
        old = w->userData;
        if (value) w->userData = *value;
        return old;
      case GWL_STYLE:
      case GWL_EXSTYLE:
        old = static_cast<LONG_PTR>(index == GWL_STYLE ? w->style : w->exStyle);
        if (!value) return old;
        oldStyle = static_cast<DWORD>(old);
        newStyle = static_cast<DWORD>(*value);
        styleChange = true;
        break;
      default:
        if (index >= 0 && static_cast<size_t>(index) + sizeof(LONG_PTR) <= w->extra.size()) {
          memcpy(&old, &w->extra[static_cast<size_t>(index)], sizeof old);
          if (value) memcpy(&w->extra[static_cast<size_t>(index)], value, sizeof *value);
        } else {
          SetLastError(ERROR_INVALID_PARAMETER);
        }
        return old;
    }
  }
  if (styleChange) {
    STYLESTRUCT ss{oldStyle, newStyle};
    SendMessageA(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
    {
      Guard g(Lock());
      Window* w = Find(hwnd);
      if (!w) return old;
      if (index == GWL_STYLE)
        w->style = ss.styleNew;
      else
        w->exStyle = ss.styleNew;
    }
    SendMessageA(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  }
  return old;
}

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index) { return WindowLong(hwnd, index, nullptr); }
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value) { return WindowLong(hwnd, index, &value); }
LONG GetWindowLongA(HWND hwnd, int index) { return static_cast<LONG>(WindowLong(hwnd, index, nullptr)); }
LONG SetWindowLongA(HWND hwnd, int index, LONG value) {
  LONG_PTR v = (index == GWL_STYLE || index == GWL_EXSTYLE) ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                             : static_cast<LONG_PTR>(value);
  return static_cast<LONG>(WindowLong(hwnd, index, &v));
}

DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w) return 0;
  if (processId) *processId = static_cast<DWORD>(getpid());
  return w->threadId;
}

// ---------------------------------------------------------------- the tree

HWND GetDesktopWindow() {
  Guard g(Lock());
  return Desktop()->hwnd;
}

HWND GetParent(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || w == Desktop()) return nullptr;
  if (w->style & WS_CHILD) return w->parent && w->parent != Desktop() ? w->parent->hwnd : nullptr;
  if ((w->style & WS_POPUP) && w->owner) return w->owner->hwnd;
  return nullptr;
}

HWND GetAncestor(HWND hwnd, UINT flags) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || w == Desktop()) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent ? w->parent->hwnd : nullptr;
    case GA_ROOT: return TopLevelOf(w)->hwnd;
    case GA_ROOTOWNER: {
      Window* t = TopLevelOf(w);
      while (t->owner) t = t->owner;
      return t->hwnd;
    }
  }
  return nullptr;
}

HWND SetParent(HWND hwnd, HWND newParent) {
  HWND old;
  bool visible;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    Window* p = newParent ? Find(newParent) : Desktop();
    if (!w || !p || w == Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return nullptr;
    }
    for (Window* a = p; a; a = a->parent) {
      if (a == w) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
      }
    }
    old = w->parent ? w->parent->hwnd : nullptr;
    visible = (w->style & WS_VISIBLE) != 0;
    if (visible && w->parent && w->parent != Desktop()) InvalidateLocked(w->parent, &w->rect, true, true);
    Unlink(w);
    // The window keeps its coordinates, now in the new parent's client area.
    if (p == Desktop()) {
      w->parent = p;
      StackTopLevel(w, HWND_TOP);
      if (!w->surface) {
        w->surface = std::make_unique<PlatformSurface>();
        w->surface->Resize(w->rect.right - w->rect.left, w->rect.bottom - w->rect.top);
      }
    } else {
      p->children.insert(p->children.begin(), w);
      w->parent = p;
      w->surface.reset();
    }
    if (visible) InvalidateLocked(w, nullptr, true, true), w->ncPaint = true;
    if (old == Desktop()->hwnd) old = nullptr;
  }
  return old ? old : GetDesktopWindow();
}

BOOL IsChild(HWND parent, HWND hwnd) {
  Guard g(Lock());
  Window* p = Find(parent);
  Window* w = Find(hwnd);
  if (!p || !w) return FALSE;
  while (w && (w->style & WS_CHILD)) {
    w = w->parent;
    if (w == p) return TRUE;
  }
  return FALSE;
}

HWND GetWindow(HWND hwnd, UINT cmd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->hwnd;
  if (cmd == GW_OWNER) return w->owner ? w->owner->hwnd : nullptr;
  if (cmd == GW_ENABLEDPOPUP) return nullptr;
  if (!w->parent) return nullptr;
  auto& sib = w->parent->children;
  auto it = std::find(sib.begin(), sib.end(), w);
  switch (cmd) {
    case GW_HWNDFIRST: return sib.front()->hwnd;
    case GW_HWNDLAST: return sib.back()->hwnd;
    case GW_HWNDNEXT: return (it != sib.end() && it + 1 != sib.end()) ? (*(it + 1))->hwnd : nullptr;
    case GW_HWNDPREV: return (it != sib.begin() && it != sib.end()) ? (*(it - 1))->hwnd : nullptr;
  }
  return nullptr;
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }
HWND GetNextWindow(HWND hwnd, UINT cmd) { return GetWindow(hwnd, cmd); }

HWND GetDlgItem(HWND dialog, int id) {
  Guard g(Lock());
  Window* w = Find(dialog);
  if (!w) return nullptr;
  for (Window* c : w->children) {
    if (static_cast<int>(c->id) == id && (c->style & WS_CHILD)) return c->hwnd;
  }
  return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return (w && (w->style & WS_CHILD)) ? static_cast<int>(w->id) : 0;
}

LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam) {
  HWND item = GetDlgItem(dialog, id);
  return item ? SendMessageA(item, msg, wParam, lParam) : 0;
}

static std::vector<HWND> Snapshot(Window* w, bool recursive) {
  std::vector<HWND> out;
  for (Window* c : w->children) {
    if (recursive)
      CollectSubtree(c, &out);
    else
      out.push_back(c->hwnd);
  }
  return out;
}

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> list;
  {
    Guard g(Lock());
    Window* w = parent ? Find(parent) : Desktop();
    if (!w || !proc) return FALSE;
    list = Snapshot(w, true);
  }
  for (HWND h : list) {
    if (IsWindow(h) && !proc(h, lParam)) break;
  }
  return TRUE;
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> list;
  {
    Guard g(Lock());
    if (!proc) return FALSE;
    list = Snapshot(Desktop(), false);
  }
  for (HWND h : list) {
    if (IsWindow(h) && !proc(h, lParam)) return FALSE;
  }
  return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> list;
  {
    Guard g(Lock());
    if (!proc) return FALSE;
    for (Window* c : Desktop()->children) {
      if (c->threadId == threadId) list.push_back(c->hwnd);
    }
  }
  for (HWND h : list) {
    if (IsWindow(h) && !proc(h, lParam)) return FALSE;
  }
  return TRUE;
}

HWND FindWindowA(LPCSTR className, LPCSTR windowName) {
  Guard g(Lock());
  for (Window* c : Desktop()->children) {
    if (className && !(IS_INTRESOURCE(className) ? c->cls->atom == (ATOM)(ULONG_PTR)className
                                                 : SameName(c->cls->name, className)))
      continue;
    if (windowName && c->text != windowName) continue;
    return c->hwnd;
  }
  return nullptr;
}

HWND GetLastActivePopup(HWND hwnd) { return hwnd; }

// ---------------------------------------------------------------- geometry

BOOL GetWindowRect(HWND hwnd, LPRECT rc) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !rc) return FALSE;
  *rc = ScreenRectOf(w);
  return TRUE;
}

BOOL GetClientRect(HWND hwnd, LPRECT rc) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !rc) return FALSE;
  *rc = RECT{0, 0, w->client.right - w->client.left, w->client.bottom - w->client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hwnd, LPPOINT pt) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !pt) return FALSE;
  POINT o = ClientOriginOnScreen(w);
  pt->x += o.x;
  pt->y += o.y;
  return TRUE;
}

BOOL ScreenToClient(HWND hwnd, LPPOINT pt) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !pt) return FALSE;
  POINT o = ClientOriginOnScreen(w);
  pt->x -= o.x;
  pt->y -= o.y;
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, LPPOINT pts, UINT count) {
  Guard g(Lock());
  Window* a = from ? Find(from) : Desktop();
  Window* b = to ? Find(to) : Desktop();
  if (!a || !b || (!pts && count)) return 0;
  POINT oa = ClientOriginOnScreen(a), ob = ClientOriginOnScreen(b);
  int dx = oa.x - ob.x, dy = oa.y - ob.y;
  for (UINT i = 0; i < count; ++i) {
    pts[i].x += dx;
    pts[i].y += dy;
  }
  return MAKELONG(static_cast<WORD>(static_cast<SHORT>(dx)), static_cast<WORD>(static_cast<SHORT>(dy)));
}

BOOL AdjustWindowRectEx(LPRECT rc, DWORD style, BOOL menu, DWORD exStyle) {
  if (!rc) return FALSE;
  RECT probe{0, 0, 1000, 1000};
  RECT client = DefaultClientRect(style, exStyle, probe);
  rc->left -= client.left;
  rc->top -= client.top;
  // One row of menu bar and the line under it.
  if (menu && !(style & WS_CHILD)) rc->top -= GetSystemMetrics(SM_CYMENU) + 1;
  rc->right += probe.right - client.right;
  rc->bottom += probe.bottom - client.bottom;
  return TRUE;
}

BOOL AdjustWindowRect(LPRECT rc, DWORD style, BOOL menu) { return AdjustWindowRectEx(rc, style, menu, 0); }

static void Restack(Window* w, HWND insertAfter) {
  Window* p = w->parent;
  if (!p) return;
  if (p == Desktop()) return StackTopLevel(w, insertAfter);
  auto& v = p->children;
  v.erase(std::remove(v.begin(), v.end(), w), v.end());
  if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    v.insert(v.begin(), w);
  } else if (insertAfter == HWND_BOTTOM) {
    v.push_back(w);
  } else {
    Window* after = Find(insertAfter);
    auto it = std::find(v.begin(), v.end(), after);
    if (it == v.end())
      v.insert(v.begin(), w);
    else
      v.insert(it + 1, w);
  }
}

BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
  WINDOWPOS wp{hwnd, insertAfter, x, y, cx, cy, flags};
  RECT old;
  bool wasVisible, topLevel;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w || w == Desktop()) {
      SetLastError(ERROR_INVALID_WINDOW_HANDLE);
      return FALSE;
    }
    old = w->rect;
    if (flags & SWP_NOMOVE) wp.x = old.left, wp.y = old.top;
    if (flags & SWP_NOSIZE) wp.cx = old.right - old.left, wp.cy = old.bottom - old.top;
    wasVisible = (w->style & WS_VISIBLE) != 0;
    topLevel = IsTopLevel(w);
  }
  if (wp.cx < 0) wp.cx = 0;
  if (wp.cy < 0) wp.cy = 0;
  if (!(flags & SWP_NOSENDCHANGING)) SendMessageA(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  flags = wp.flags;
  RECT newRect{wp.x, wp.y, wp.x + std::max(wp.cx, 0), wp.y + std::max(wp.cy, 0)};
  bool geometry = !EqualRect(&newRect, &old) || (flags & SWP_FRAMECHANGED);
  if (geometry) {
    {
      Guard g(Lock());
      Window* w = Find(hwnd);
      if (!w) return FALSE;
      w->rect = newRect;
    }
    NCCALCSIZE_PARAMS ncp{};
    ncp.rgrc[0] = newRect;
    ncp.rgrc[1] = old;
    ncp.lppos = &wp;
    SendMessageA(hwnd, WM_NCCALCSIZE, TRUE, reinterpret_cast<LPARAM>(&ncp));
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    RECT c = ncp.rgrc[0];
    w->client = RECT{c.left - newRect.left, c.top - newRect.top, std::max(c.right, c.left) - newRect.left,
                     std::max(c.bottom, c.top) - newRect.top};
    if (w->surface) {
      int width = newRect.right - newRect.left, height = newRect.bottom - newRect.top;
      if (width != w->surface->width || height != w->surface->height) w->surface->Resize(width, height);
    }
  }
  bool show = (flags & SWP_SHOWWINDOW) && !wasVisible;
  bool hide = (flags & SWP_HIDEWINDOW) && wasVisible;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    if (!(flags & SWP_NOZORDER)) Restack(w, wp.hwndInsertAfter);
    if (show) w->style |= WS_VISIBLE;
    if (hide) w->style &= ~WS_VISIBLE;
    bool redraw = !(flags & SWP_NOREDRAW);
    // A child's rectangle is in its parent's client coordinates already.
    if ((geometry || hide) && redraw && wasVisible && !topLevel) InvalidateLocked(w->parent, &old, true, true);
    if ((geometry || show) && (w->style & WS_VISIBLE) && redraw) {
      w->ncPaint = true;
      InvalidateLocked(w, nullptr, true, true);
    }
  }
  if (topLevel) {
    if (show) PlatformDisplay()->WindowShown(hwnd);
    if (hide) PlatformDisplay()->WindowHidden(hwnd);
    if (geometry) PlatformDisplay()->WindowMoved(hwnd);
    if (!(flags & SWP_NOZORDER)) PlatformDisplay()->WindowRestacked(hwnd);
  }
  if (geometry || show || hide || !(flags & SWP_NOZORDER)) {
    wp.x = newRect.left;
    wp.y = newRect.top;
    wp.cx = newRect.right - newRect.left;
    wp.cy = newRect.bottom - newRect.top;
    if (!geometry) wp.flags |= SWP_NOMOVE | SWP_NOSIZE;
    SendMessageA(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  }
  // Controls made visible or placed by their creator finish their set-up here.
  if ((geometry || show) && (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) && IsWindow(hwnd))
    SendMessageA(hwnd, WM_CHILDACTIVATE, 0, 0);
  if (show && topLevel && !(flags & SWP_NOACTIVATE)) SetActiveWindow(hwnd);
  if (hide && GetActiveWindow() == hwnd) {
    HWND owner = GetWindow(hwnd, GW_OWNER);
    SetActiveWindow(owner && IsWindowVisible(owner) ? owner : nullptr);
  }
  return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hwnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hwnd) { return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

// ---------------------------------------------------------------- state

BOOL ShowWindow(HWND hwnd, int cmd) {
  bool wasVisible, child;
  DWORD style;
  RECT restore, workArea{};
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w || w == Desktop()) return FALSE;
    wasVisible = (w->style & WS_VISIBLE) != 0;
    child = (w->style & WS_CHILD) != 0;
    style = w->style;
    restore = w->restoreRect;
    if (child) {
      workArea = RECT{0, 0, w->parent->client.right - w->parent->client.left,
                      w->parent->client.bottom - w->parent->client.top};
    }
  }
  if (!child) SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  bool minimize = cmd == SW_MINIMIZE || cmd == SW_SHOWMINIMIZED || cmd == SW_SHOWMINNOACTIVE;
  if (minimize && !child && !(style & WS_MINIMIZE) && !PlatformDisplay()->CanMinimize()) {
    // Nothing could give the window back: it stays as it is, only shown.
    if (wasVisible) return wasVisible;
    cmd = cmd == SW_SHOWMINIMIZED ? SW_SHOW : SW_SHOWNA;
  }
  bool show = cmd != SW_HIDE;
  if (show != wasVisible) {
    SendMessageA(hwnd, WM_SHOWWINDOW, show, 0);
    if (!IsWindow(hwnd)) return wasVisible;
  }
  UINT flags = SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
  bool activate = !child && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWNA && cmd != SW_SHOWMINNOACTIVE &&
                  cmd != SW_HIDE && cmd != SW_MINIMIZE;
  if (!activate) flags |= SWP_NOACTIVATE;
  flags |= show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
  RECT target{};
  bool sizeChange = false;
  DWORD newStyle = style;
  switch (cmd) {
    case SW_MAXIMIZE:
      if (!(style & WS_MAXIMIZE)) {
        if (!(style & WS_MINIMIZE)) GetWindowRect(hwnd, &restore);
        newStyle = (style | WS_MAXIMIZE) & ~WS_MINIMIZE;
        target = workArea;
        sizeChange = true;
      }
      break;
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
      if (!(style & WS_MINIMIZE)) {
        newStyle = style | WS_MINIMIZE;
        if (!(style & WS_MAXIMIZE)) {
          Guard g(Lock());
          if (Window* w = Find(hwnd)) restore = w->rect;
        }
      }
      break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
    case SW_SHOWDEFAULT:
      if (style & (WS_MAXIMIZE | WS_MINIMIZE)) {
        newStyle = style & ~(WS_MAXIMIZE | WS_MINIMIZE);
        if (style & WS_MAXIMIZE) {
          target = restore;
          sizeChange = true;
        }
      }
      break;
  }
  if (newStyle != style) {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return wasVisible;
    w->style = newStyle;
    if (cmd == SW_MAXIMIZE || (newStyle & WS_MINIMIZE)) w->restoreRect = restore;
  }
  if (sizeChange) {
    flags &= ~(SWP_NOMOVE | SWP_NOSIZE);
    flags |= SWP_FRAMECHANGED;
  }
  SetWindowPos(hwnd, nullptr, target.left, target.top, target.right - target.left, target.bottom - target.top, flags);
  bool needSize;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    needSize = w && (!w->sizeSent || newStyle != style);
  }
  if (needSize) SendSizeAndMove(hwnd);
  if (!child && ((newStyle ^ style) & WS_MINIMIZE) && IsWindow(hwnd)) PlatformDisplay()->WindowStateChanged(hwnd);
  return wasVisible;
}

BOOL IsWindowVisible(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return w && ReallyVisible(w);
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  bool wasDisabled;
  {
    Guard g(Lock());
    Window* w = Find(hwnd);
    if (!w) return FALSE;
    wasDisabled = (w->style & WS_DISABLED) != 0;
    if (wasDisabled == !enable) return wasDisabled;
    if (enable)
      w->style &= ~WS_DISABLED;
    else
      w->style |= WS_DISABLED;
  }
  if (!enable) {
    if (GetCapture() == hwnd) ReleaseCapture();
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(nullptr);
  }
  SendMessageA(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL IsWindowEnabled(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return w && !(w->style & WS_DISABLED);
}

BOOL IsIconic(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return w && (w->style & WS_MINIMIZE);
}

BOOL IsZoomed(HWND hwnd) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  return w && (w->style & WS_MAXIMIZE);
}

// ---------------------------------------------------------------- texts and properties

BOOL SetWindowTextA(HWND hwnd, LPCSTR text) {
  if (!IsWindow(hwnd)) return FALSE;
  return SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND hwnd, LPSTR text, int size) {
  if (!text || size <= 0) return 0;
  text[0] = 0;
  if (!IsWindow(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXT, static_cast<WPARAM>(size), reinterpret_cast<LPARAM>(text)));
}

int GetWindowTextLengthA(HWND hwnd) {
  if (!IsWindow(hwnd)) return 0;
  return static_cast<int>(SendMessageA(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

static std::string PropKey(LPCSTR name) {
  if (IS_INTRESOURCE(name)) return "#" + std::to_string((ULONG_PTR)name);
  return name;
}

BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE data) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !name) return FALSE;
  std::string key = PropKey(name);
  for (auto& p : w->props) {
    if (strcasecmp(p.first.c_str(), key.c_str()) == 0) {
      p.second = data;
      return TRUE;
    }
  }
  w->props.emplace_back(key, data);
  return TRUE;
}

HANDLE GetPropA(HWND hwnd, LPCSTR name) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !name) return nullptr;
  std::string key = PropKey(name);
  for (auto& p : w->props) {
    if (strcasecmp(p.first.c_str(), key.c_str()) == 0) return p.second;
  }
  return nullptr;
}

HANDLE RemovePropA(HWND hwnd, LPCSTR name) {
  Guard g(Lock());
  Window* w = Find(hwnd);
  if (!w || !name) return nullptr;
  std::string key = PropKey(name);
  for (auto it = w->props.begin(); it != w->props.end(); ++it) {
    if (strcasecmp(it->first.c_str(), key.c_str()) == 0) {
      HANDLE h = it->second;
      w->props.erase(it);
      return h;
    }
  }
  return nullptr;
}
