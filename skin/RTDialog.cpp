#include "RTDialog.h"

#include "SkinDraw.h"

namespace {

// The sizing borders, over which the platform may redraw the frame.
bool IsSizingBorderHit(UINT hit) { return hit >= HTLEFT && hit <= HTBORDER; }

}  // namespace

BEGIN_MESSAGE_MAP(CRTDialog, CDialog)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CRTDialog::CRTDialog()
    : m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 1) {}

CRTDialog::CRTDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd),
      m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 1) {
  m_brush.CreateStockObject(NULL_BRUSH);
}

CRTDialog::CRTDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : CDialog(lpszTemplateName, pParentWnd),
      m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 1) {
  m_brush.CreateStockObject(NULL_BRUSH);
}

CRTDialog::~CRTDialog() { m_brush.DeleteObject(); }

void CRTDialog::DoDataExchange(CDataExchange*) {}

SkinCaptionLook CRTDialog::CaptionLook() {
  SkinCaptionLook look;
  look.skinEnabled = s_skinEnabled;
  look.borderEnabled = s_borderEnabled;
  look.captionEnabled = s_captionEnabled;
  look.titleBar = &s_titleBar;
  look.exitButton = &s_exitButton;
  look.maximizeButton = &s_maximizeButton;
  look.restoreButton = &s_restoreButton;
  look.minimizeButton = &s_minimizeButton;
  look.borderColors = s_borderColors;
  look.frameX = ::GetSystemMetrics(SM_CXDLGFRAME);
  look.frameY = ::GetSystemMetrics(SM_CYDLGFRAME);
  look.captionHeight = ::GetSystemMetrics(SM_CYCAPTION);
  look.captionRightInset = ::GetSystemMetrics(SM_CYDLGFRAME);
  look.iconLeft = 12;
  look.textLeftWithIcon = look.captionHeight + 14;
  look.systemTextColors = false;
  return look;
}

LRESULT CRTDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  const SkinCaptionLook look = CaptionLook();
  if (message == WM_NCPAINT && look.skinEnabled) return OnNcPaint(reinterpret_cast<HRGN>(wParam));
  if (!look.CaptionSkinned()) return CallDefault(message, wParam, lParam);

  const HWND self = m_hWnd;
  switch (message) {
    case WM_NCACTIVATE:
      m_caption.State().active = static_cast<int32_t>(wParam);
      m_caption.RepaintCaption(look);
      return 1;
    case WM_ACTIVATE: {
      const LRESULT result = CallDefault(message, wParam, lParam);
      if (::IsWindow(self)) OnNcPaint(reinterpret_cast<HRGN>(1));
      return result;
    }
    case WM_ACTIVATEAPP:
      CallDefault(message, wParam, lParam);
      return 0;
    case WM_SETTEXT:
    case WM_SETICON:
    case WM_NOTIFY: {
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
      return 0;
    case WM_NCLBUTTONDOWN:
      return OnNcLButtonDown(wParam, lParam);
    case WM_NCLBUTTONUP:
      OnNcLButtonUp(wParam, lParam);
      if (!::IsWindow(self)) return 0;
      return OnLButtonUpStep(wParam, lParam);
    case WM_NCRBUTTONDOWN:
      return 0;
    case WM_NCRBUTTONUP:
    case WM_SYSCOMMAND:
    case WM_INITMENUPOPUP:
      m_caption.RepaintCaption(look);
      return CallDefault(message, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMoveStep(wParam, lParam);
    case WM_LBUTTONUP:
      return OnLButtonUpStep(wParam, lParam);
    case WM_CAPTURECHANGED:
      m_caption.CaptureLost(look);
      return CallDefault(message, wParam, lParam);
  }
  return CallDefault(message, wParam, lParam);
}

// The frame, caption and menu bar; `update` (screen coordinates) stays the
// sender's, and 1 means the whole area.
LRESULT CRTDialog::OnNcPaint(HRGN update) {
  m_caption.PaintNonClient(CaptionLook(), update, true);
  return 0;
}

LRESULT CRTDialog::OnNcLButtonDown(WPARAM hit, LPARAM point) {
  const SkinCaptionLook look = CaptionLook();
  const HWND self = m_hWnd;
  LRESULT result = 0;
  if (!m_caption.Press(look, hit)) result = CallDefault(WM_NCLBUTTONDOWN, hit, point);
  if (::IsWindow(self)) m_caption.RepaintCaption(look);
  return result;
}

LRESULT CRTDialog::OnNcLButtonUp(WPARAM hit, LPARAM point) {
  if (!m_caption.State().tracking) return CallDefault(WM_NCLBUTTONUP, hit, point);
  bool elsewhere = false;
  switch (m_caption.Release(CaptionLook(), hit, &elsewhere)) {
    case kCloseButton:
      SendMessage(WM_CLOSE);
      return 0;
    case kMaximizeButton:
      SendMessage(WM_SYSCOMMAND, IsZoomed() ? SC_RESTORE : SC_MAXIMIZE, point);
      return 0;
    case kMinimizeButton:
      SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, point);
      return 0;
    default:
      return elsewhere ? CallDefault(WM_NCLBUTTONUP, hit, point) : 0;
  }
}

LRESULT CRTDialog::OnMouseMoveStep(WPARAM flags, LPARAM point) {
  if (m_caption.State().tracking) {
    LPARAM screen = 0;
    m_caption.Hover(CaptionLook(), m_caption.HitAtClientPoint(point, &screen));
    return 0;
  }
  m_caption.ClearButtonStates(CaptionLook());
  return CallDefault(WM_MOUSEMOVE, flags, point);
}

LRESULT CRTDialog::OnLButtonUpStep(WPARAM flags, LPARAM point) {
  if (!m_caption.State().tracking) return CallDefault(WM_LBUTTONUP, flags, point);
  LPARAM screen = 0;
  const WPARAM hit = m_caption.HitAtClientPoint(point, &screen);
  return OnNcLButtonUp(hit, screen);
}

BOOL CRTDialog::OnEraseBkgnd(CDC* pDC) {
  CBitmap* image = s_back.images[0];
  if (s_skinEnabled && s_backgroundEnabled && image) {
    CRect client;
    GetClientRect(&client);
    DrawSkinBitmap(pDC, client, image, s_back.modes[0]);
    return TRUE;
  }
  return CDialog::OnEraseBkgnd(pDC);
}
