#include "RTFrameWnd.h"

#include <cstring>

#include "AfxCtrlBar.h"
#include "RTMenuSkin.h"

IMPLEMENT_DYNCREATE(CRTFrameWnd, CFrameWnd)

namespace {

bool IsSizingBorderHit(UINT hit) { return hit >= HTLEFT && hit <= HTBORDER; }

CString ClassNameOf(HWND hwnd) {
  char name[201] = {};
  ::GetClassNameA(hwnd, name, 200);
  return CString(name);
}

bool IsControlBar(HWND hwnd) {
  CWnd* wnd = CWnd::FromHandlePermanent(hwnd);
  return wnd && wnd->IsKindOf(RUNTIME_CLASS(CControlBar));
}

}  // namespace

CRTFrameWnd::CRTFrameWnd()
    : m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 0) {
  m_caption.SetTitleSource([this] { return GetTitle(); });
  // Through the system command, so that handlers of SC_CLOSE run.
  m_caption.SetCloseAction([this](LPARAM point) { SendMessage(WM_SYSCOMMAND, SC_CLOSE, point); });
}

CRTFrameWnd::~CRTFrameWnd() = default;

HBRUSH CRTFrameWnd::BackgroundBrush() {
  static const HBRUSH brush = ::CreateSolidBrush(RGB(230, 244, 253));
  return brush;
}

SkinCaptionLook CRTFrameWnd::CaptionLook() {
  SkinCaptionLook look = SkinCaptionLook::Of<CRTFrameWnd>();
  look.frameX = ::GetSystemMetrics(SM_CXFRAME);
  look.frameY = ::GetSystemMetrics(SM_CYFRAME);
  look.captionHeight = ::GetSystemMetrics(SM_CYSIZE);
  look.captionRightInset = ::GetSystemMetrics(SM_CXFRAME);
  look.iconLeft = 1;
  look.textLeftWithIcon = look.captionHeight;
  look.systemTextColors = true;
  return look;
}

BOOL CRTFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext) {
  if (!CFrameWnd::LoadFrame(nIDResource, dwDefaultStyle, pParentWnd, pContext)) return 0;
  if (CRTMenuSkin::HasWindowProperty(m_hWnd)) {
    CRTMenuSkin::PrepareMenu(this, ::GetMenu(m_hWnd), TRUE, TRUE);
    // The items' widths changed: the bar is laid out again.
    ::DrawMenuBar(m_hWnd);
  }
  return 1;
}

LRESULT CRTFrameWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  const LRESULT result = MenuStep(message, wParam, lParam, &handled);
  if (handled) return result;
  return CaptionStep(message, wParam, lParam);
}

// The menu skinning's part, whatever the caption switches say.
LRESULT CRTFrameWnd::MenuStep(UINT message, WPARAM wParam, LPARAM lParam, bool* handled) {
  *handled = true;
  switch (message) {
    case WM_CREATE: {
      if (CallDefault(message, wParam, lParam) == -1) return -1;
      CRTMenuSkin::SetWindowProperty(m_hWnd, TRUE);
      CRTMenuSkin::PrepareMenu(this, ::GetSystemMenu(m_hWnd, FALSE), TRUE, FALSE);
      return 0;
    }
    case WM_INITMENUPOPUP: {
      if (CaptionLook().CaptionSkinned()) m_caption.RepaintCaption(CaptionLook());
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (::IsWindow(m_hWnd))
        CRTMenuSkin::PrepareMenu(this, reinterpret_cast<HMENU>(wParam), CRTMenuSkin::HasWindowProperty(m_hWnd), FALSE);
      return result;
    }
    case WM_MEASUREITEM: {
      auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (!mis || mis->CtlType != ODT_MENU) break;
      CRTMenuSkin::MeasureItem(mis);
      return TRUE;
    }
    case WM_DRAWITEM:
      if (CRTMenuSkin::DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam), this)) return TRUE;
      break;
    case WM_MENUCHAR: {
      HMENU menu = reinterpret_cast<HMENU>(lParam);
      if (!CRTMenuSkin::IsOwnerDrawnMenu(menu)) break;
      return CRTMenuSkin::OnMenuChar(menu, LOWORD(wParam), HIWORD(wParam));
    }
  }
  *handled = false;
  return 0;
}

LRESULT CRTFrameWnd::CaptionStep(UINT message, WPARAM wParam, LPARAM lParam) {
  const SkinCaptionLook look = CaptionLook();
  if (message == WM_NCPAINT && look.skinEnabled) {
    m_caption.PaintNonClient(look, reinterpret_cast<HRGN>(wParam));
    return 0;
  }
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header && ::IsWindow(header->hwndFrom)) BackgroundBrushStep(header->hwndFrom);
    const LRESULT result = CallDefault(message, wParam, lParam);
    if (!look.CaptionSkinned() || !::IsWindow(m_hWnd)) return result;
    m_caption.RepaintCaption(look);
    return 0;
  }
  if (!look.CaptionSkinned()) return CallDefault(message, wParam, lParam);

  const HWND self = m_hWnd;
  switch (message) {
    case WM_ACTIVATE: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (::IsWindow(self)) {
        // The low word alone: a minimized window has the high word set.
        m_caption.State().active = LOWORD(wParam) != WA_INACTIVE;
        m_caption.PaintNonClient(look, nullptr);
      }
      return result;
    }
    case WM_ACTIVATEAPP:
      CallDefault(message, wParam, lParam);
      m_caption.State().active = wParam ? 1 : 0;
      return 0;
    case WM_SETTEXT:
    case WM_SETICON: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (::IsWindow(self)) m_caption.RepaintCaption(look);
      return result;
    }
    case WM_SETCURSOR: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (::IsWindow(self) && IsSizingBorderHit(LOWORD(lParam))) m_caption.RepaintCaption(look);
      return result;
    }
    case WM_NCMOUSEMOVE:
      m_caption.Hover(look, wParam);
      // The menu bar's hot item follows the mouse in the default handling.
      return CallDefault(message, wParam, lParam);
    case WM_NCLBUTTONDOWN:
      return m_caption.PressStep(look, wParam, lParam);
    case WM_NCLBUTTONUP:
      m_caption.ReleaseStep(look, wParam, lParam);
      if (!::IsWindow(self)) return 0;
      return m_caption.LButtonUpStep(look, wParam, lParam);
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_CLOSE) m_caption.RepaintCaption(look);
      return CallDefault(message, wParam, lParam);
    case WM_MOUSEMOVE:
      return m_caption.MouseMoveStep(look, wParam, lParam);
    case WM_LBUTTONUP:
      return m_caption.LButtonUpStep(look, wParam, lParam);
    case WM_CAPTURECHANGED:
      m_caption.CaptureLost(look);
      return CallDefault(message, wParam, lParam);
  }
  return CallDefault(message, wParam, lParam);
}

// A tool bar sitting in a control bar, or straight in the frame, gives its
// host's window class the frame's light background; so does a sender of a
// class the class layer registered ("Afx:" names).
void CRTFrameWnd::BackgroundBrushStep(HWND sender) {
  const LONG_PTR brush = reinterpret_cast<LONG_PTR>(BackgroundBrush());
  const CString senderClass = ClassNameOf(sender);
  if (senderClass.Find("ToolbarWindow32") >= 0) {
    HWND parent = ::GetParent(sender);
    if (parent && (parent == m_hWnd || IsControlBar(parent))) ::SetClassLong(parent, GCL_HBRBACKGROUND, brush);
  }
  if (senderClass.Left(4) == "Afx:") ::SetClassLong(sender, GCL_HBRBACKGROUND, brush);
}
