#include "RTFrameWnd.h"

#include <cstring>

#include "AfxCtrlBar.h"
#include "RTMenuSkin.h"

IMPLEMENT_DYNCREATE(CRTFrameWnd, CFrameWnd)

namespace {

// How the frame window's non-client handling differs from the skinned
// dialog's.
CaptionRules FrameRules() {
  CaptionRules rules;
  rules.activeLook = CaptionRules::ActiveLook::kFromActivation;
  rules.ownNcActivate = false;
  rules.rightButton = false;
  rules.ncMouseMoveToDefault = true;
  rules.repaintOnSysClose = false;
  return rules;
}

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
    : m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 0, FrameRules()) {
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

// A notification first runs the background brush step, whatever the caption
// switches say, and with the caption skinned repaints the caption and
// answers 0. Everything else is the skinned dialog's handling under the
// frame's rules.
LRESULT CRTFrameWnd::CaptionStep(UINT message, WPARAM wParam, LPARAM lParam) {
  const SkinCaptionLook look = CaptionLook();
  if (message != WM_NOTIFY) return m_caption.WindowProc(look, message, wParam, lParam);
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && ::IsWindow(header->hwndFrom)) BackgroundBrushStep(header->hwndFrom);
  const LRESULT result = CallDefault(message, wParam, lParam);
  if (!look.CaptionSkinned() || !::IsWindow(m_hWnd)) return result;
  m_caption.RepaintCaption(look);
  return 0;
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
