#include "RTButton.h"

#include "SkinDraw.h"

namespace {

// The look of each state: which image, and the edge drawn when it is missing.
struct Face {
  int slot;
  UINT edge;
};
const Face kFaceOfState[] = {
    /*kNormal*/ {SkinImageSet::kNormal, BDR_RAISEDINNER},
    /*kPressed*/ {SkinImageSet::kDown, BDR_SUNKENOUTER},
    /*kHot*/ {SkinImageSet::kFocus, BDR_RAISEDINNER},
    /*kDisabled*/ {SkinImageSet::kDisable, BDR_RAISEDINNER},
};

}  // namespace

BEGIN_MESSAGE_MAP(CRTButton, CButton)
  ON_WM_PAINT()
  ON_WM_KILLFOCUS()
  ON_WM_MOUSEMOVE()
  ON_WM_LBUTTONDOWN()
  ON_WM_LBUTTONUP()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

// Alignment from the style's bit pairs: BS_TOP wins over BS_BOTTOM and
// BS_LEFT over BS_RIGHT, so BS_VCENTER and BS_CENTER (both bits) align top
// and left.
UINT CRTButton::TextFormat() const {
  const DWORD style = GetStyle();
  UINT format = DT_END_ELLIPSIS;
  if (!(style & BS_MULTILINE)) format |= DT_SINGLELINE;
  if (style & BS_TOP) {
    format |= DT_TOP;
  } else if (style & BS_BOTTOM) {
    format |= DT_BOTTOM;
  } else {
    format |= DT_VCENTER | DT_SINGLELINE;
  }
  if (style & BS_LEFT) {
    format |= DT_LEFT;
  } else if (style & BS_RIGHT) {
    format |= DT_RIGHT;
  } else {
    format |= DT_CENTER;
  }
  return format;
}

void CRTButton::DrawLabel(CDC* pDC, CRect rect, const CString& text, UINT format, int colorIndex) {
  pDC->SetTextColor(::GetSysColor(colorIndex));
  pDC->DrawText(text, &rect, format);
}

// The state to show: a disabled window looks disabled, and one enabled again
// no longer does; then a resting button with the focus looks hot (a press
// keeps its pressed look although it takes the focus). In this order, so that
// a button enabled again while it holds the focus shows it at once.
CRTButton::State CRTButton::UpdateState() {
  if (!IsWindowEnabled()) return m_state = kDisabled;
  if (m_state == kDisabled) m_state = kNormal;
  if (m_state == kNormal && SendMessage(BM_GETSTATE) == BST_FOCUS) m_state = kHot;
  return m_state;
}

// The look, decided once per draw: the face of the state, where the default
// button (the one Enter presses while the focus is on a control that is not a
// button) rests with the face of the focused one; and the keyboard-focus
// outline on the button that has the focus, which tells it apart from one the
// mouse is over, since both show the "Focus" image. Without a "Focus" image the
// default button gets the classic dark frame.
CRTButton::Look CRTButton::DecideLook() {
  Look look;
  look.state = UpdateState();
  const bool enabled = look.state != kDisabled;
  const bool isDefault = (GetStyle() & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  look.face = look.state == kNormal && isDefault ? kHot : look.state;
  look.focusOutline = enabled && (SendMessage(BM_GETSTATE) & BST_FOCUS) != 0;
  look.defaultFrame = enabled && isDefault && !s_images.images[SkinImageSet::kFocus];
  return look;
}

// Drawn with a dotted pen rather than inverted, so that drawing the button
// again over a face that was not repainted (no image) leaves it as it is.
void CRTButton::DrawFocusOutline(CDC* pDC, CRect rect) {
  rect.DeflateRect(kFocusInset, kFocusInset);
  CPen pen(PS_DOT, 1, ::GetSysColor(COLOR_BTNTEXT));
  CPen* oldPen = pDC->SelectObject(&pen);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  POINT corners[] = {{rect.left, rect.top},
                     {rect.right - 1, rect.top},
                     {rect.right - 1, rect.bottom - 1},
                     {rect.left, rect.bottom - 1},
                     {rect.left, rect.top}};
  pDC->Polyline(corners, 5);
  pDC->SetBkMode(oldMode);
  pDC->SelectObject(oldPen);
}

void CRTButton::DrawButton(CDC* pDC) {
  CRect client;
  GetClientRect(&client);
  CString text;
  GetWindowText(text);
  const int oldMode = pDC->SetBkMode(TRANSPARENT);
  const COLORREF oldColor = pDC->GetTextColor();
  HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = font ? pDC->SelectObject(static_cast<HGDIOBJ>(font)) : nullptr;

  const Look look = DecideLook();
  const Face& face = kFaceOfState[look.face];
  if (!DrawSkinBitmap(pDC, client, s_images.images[face.slot], s_images.modes[face.slot]))
    pDC->DrawEdge(&client, face.edge, BF_RECT);
  if (look.defaultFrame) pDC->FrameRect(&client, CBrush::FromHandle(::GetSysColorBrush(COLOR_WINDOWFRAME)));
  const UINT format = TextFormat();
  DrawLabel(pDC, client, text, format, COLOR_BTNTEXT);
  if (look.state == kDisabled) {
    CRect shadow = client;
    shadow.OffsetRect(1, 1);
    DrawLabel(pDC, shadow, text, format, COLOR_BTNSHADOW);
  }
  if (look.focusOutline) DrawFocusOutline(pDC, client);

  if (oldFont) pDC->SelectObject(oldFont);
  pDC->SetBkMode(oldMode);
  pDC->SetTextColor(oldColor);
}

void CRTButton::DrawNow() {
  CClientDC dc(this);
  DrawButton(&dc);
}

bool CRTButton::Contains(CPoint point) const {
  CRect window;
  GetWindowRect(&window);
  return CRect(0, 0, window.Width(), window.Height()).PtInRect(point) != FALSE;
}

void CRTButton::OnPaint() {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  CPaintDC dc(this);
  DrawButton(&dc);
}

void CRTButton::OnKillFocus(CWnd* pNewWnd) {
  CButton::OnKillFocus(pNewWnd);
  if (s_skinEnabled) m_state = kNormal;
}

// With the left button alone held the button shows pressed while the mouse
// is over it; otherwise it shows hot, and holds the capture to see the mouse leave.
void CRTButton::OnMouseMove(UINT nFlags, CPoint point) {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  const bool inside = Contains(point);
  if (nFlags == MK_LBUTTON) {
    if (inside && m_state != kPressed) {
      m_state = kPressed;
      DrawNow();
    } else if (!inside && m_state == kPressed) {
      m_state = kNormal;
      DrawNow();
    }
    return;
  }
  if (inside && m_state != kHot) {
    SetCapture();
    m_state = kHot;
    DrawNow();
  } else if (!inside && m_state == kHot) {
    m_state = kNormal;
    DrawNow();
    ReleaseCapture();
  }
}

void CRTButton::OnLButtonDown(UINT /*nFlags*/, CPoint /*point*/) {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  // Usually held since the hover; a press with none before it (a window that
  // appeared under a still mouse) takes it here, so the release is seen wherever it happens.
  if (GetCapture() != this) SetCapture();
  m_state = kPressed;
  SetFocus();
  DrawNow();
}

void CRTButton::OnLButtonUp(UINT /*nFlags*/, CPoint point) {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  ReleaseCapture();
  m_state = kNormal;
  DrawNow();
  HWND parent = ::GetParent(m_hWnd);
  if (Contains(point) && parent)
    ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(m_hWnd));
}

void CRTButton::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/) {
  if (!s_skinEnabled) Default();
}

// Whoever takes the capture away (a message box, another window) also takes
// the hot or pressed look.
void CRTButton::OnCaptureChanged(CWnd* pWnd) {
  CButton::OnCaptureChanged(pWnd);
  if (!s_skinEnabled || m_state == kNormal || m_state == kDisabled) return;
  m_state = kNormal;
  Invalidate(FALSE);
}

LRESULT CRTButton::OnMouseLeave(WPARAM /*wParam*/, LPARAM /*lParam*/) { return s_skinEnabled ? 0 : Default(); }
