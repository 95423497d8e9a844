#include "CDrawnComboBox.h"

#include <algorithm>

#include "CComboDropWnd.h"
#include "CUxTheme.h"

namespace {

const char kClassName[] = "SuperComboBox";
const UINT_PTR kHoverTimer = 1;
const UINT kHoverMs = 50;
const UINT kEditId = 108;
const UINT kDropWndId = 6;
// The drop window's style carries these two low bits besides WS_CHILD.
const DWORD kDropWndStyle = WS_CHILD | 0x1000 | 0x1;

// Theme parts, states and properties of the "COMBOBOX" class.
const int kDropDownButtonPart = 1;
enum { kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4 };
const int kBorderColorProp = 3801;
const int kFillColorProp = 3802;

}  // namespace

IMPLEMENT_DYNAMIC(CDrawnComboBox, CWnd)

BEGIN_MESSAGE_MAP(CDrawnComboBox, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_CHILDACTIVATE()
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_TIMER()
ON_WM_ENABLE()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_WM_MOUSEWHEEL()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_EN_SETFOCUS(kEditId, OnEditSetFocus)
ON_EN_KILLFOCUS(kEditId, OnEditKillFocus)
ON_EN_CHANGE(kEditId, OnEditChange)
ON_EN_UPDATE(kEditId, OnEditUpdate)
ON_MESSAGE(CB_ADDSTRING, OnAddString)
ON_MESSAGE(CB_SETCURSEL, OnSetCurSel)
ON_MESSAGE(CB_GETCURSEL, OnGetCurSel)
ON_MESSAGE(CB_SELECTSTRING, OnSelectString)
ON_MESSAGE(CB_GETCOUNT, OnGetCount)
ON_MESSAGE(CB_RESETCONTENT, OnResetContent)
ON_MESSAGE(CB_GETLBTEXT, OnGetLBText)
ON_MESSAGE(CB_GETLBTEXTLEN, OnGetLBTextLen)
ON_MESSAGE(CB_GETTOPINDEX, OnGetTopIndex)
ON_MESSAGE(CB_SETTOPINDEX, OnSetTopIndex)
ON_MESSAGE(WM_ACB_SELECTITEM, OnSelectItem)
ON_MESSAGE(WM_ACB_CLOSEDROPDOWN, OnCloseDropDown)
ON_MESSAGE(WM_ACB_TOGGLEDROPDOWN, OnToggleDropDown)
ON_MESSAGE(WM_ACB_SETCAPTURE, OnSetCapture)
ON_MESSAGE(WM_ACB_RELEASECAPTURE, OnReleaseCapture)
END_MESSAGE_MAP()

CDrawnComboBox::CDrawnComboBox(int reserved, CWnd* pNotifyParent)
    : m_nReserved(reserved), m_pNotifyParent(pNotifyParent) {
  WNDCLASSA wc{};
  if (::GetClassInfoA(AfxGetInstanceHandle(), kClassName, &wc)) return;
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = ::DefWindowProcA;
  wc.hInstance = AfxGetInstanceHandle();
  wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
  wc.lpszClassName = kClassName;
  if (!::RegisterClassA(&wc)) AfxThrowResourceException();
}

CDrawnComboBox::~CDrawnComboBox() {
  delete m_pFont;
  m_pFont = nullptr;
  DiscardDropWindow();
  if (m_pEdit) {
    m_pEdit->DestroyWindow();
    delete m_pEdit;
    m_pEdit = nullptr;
  }
  m_items.clear();
}

BOOL CDrawnComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  m_rcCreate = rect;
  m_bCreatedByCreate = 1;
  m_dwOptions |= CBO_INSET;
  if (!m_pNotifyParent) m_pNotifyParent = pParentWnd;
  if (!CWnd::Create(nullptr, "", dwStyle, rect, pParentWnd, nID)) return FALSE;
  LoadItemsFromResource(nID);
  return TRUE;
}

// ---------------------------------------------------------------- set-up

void CDrawnComboBox::PreSubclassWindow() {
  CWnd::PreSubclassWindow();
  if (!m_pNotifyParent) m_pNotifyParent = GetParent();
  LoadItemsFromResource(GetDlgCtrlID());
  EnsureFont();
  if (IsEditable() && !m_pEdit && !m_bCreatedByCreate) CreateEdit();
}

int CDrawnComboBox::OnCreate(LPCREATESTRUCT lpCreateStruct) {
  if (CWnd::OnCreate(lpCreateStruct) == -1) return -1;
  EnsureFont();
  return 0;
}

// A control made by Create is only complete once its creator has shown or
// placed it: only then do its parent's font and its size hold.
void CDrawnComboBox::OnChildActivate() {
  CWnd::OnChildActivate();
  if (!m_bCreatedByCreate) return;
  EnsureFont();
  if (IsEditable() && !m_pEdit) CreateEdit();
}

void CDrawnComboBox::LoadItemsFromResource(UINT id) {
  CString all;
  if (id == 0 || !all.LoadString(id)) return;
  m_items.clear();
  int start = 0;
  while (start <= all.GetLength()) {
    int end = all.Find('\n', start);
    if (end < 0) end = all.GetLength();
    if (end > start) AddString(all.Mid(start, end - start));
    start = end + 1;
  }
}

void CDrawnComboBox::EnsureFont() {
  if (m_pFont) return;
  LOGFONT lf{};
  CFont* parentFont = m_pNotifyParent ? m_pNotifyParent->CWnd::GetFont() : nullptr;
  // A parent without a font lends the system's GUI font instead.
  if (!parentFont || !parentFont->GetSafeHandle() || !parentFont->GetLogFont(&lf))
    ::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  m_pFont = new CFont;
  m_pFont->CreateFontIndirect(&lf);
  CWnd::SetFont(m_pFont, FALSE);
}

void CDrawnComboBox::CreateEdit() {
  CRect rc;
  GetClientRect(&rc);
  rc.right -= ::GetSystemMetrics(SM_CXHSCROLL);
  if (m_dwOptions & CBO_INSET) {
    rc.DeflateRect(2, 2);
    rc.left += 1;
    rc.top += 2;
  }
  DWORD style = WS_CHILD | WS_VISIBLE;
  if (GetStyle() & CBS_AUTOHSCROLL) style |= ES_AUTOHSCROLL;
  m_pEdit = new CComboEdit;
  if (!m_pEdit->Create(style, rc, this, kEditId)) {
    delete m_pEdit;
    m_pEdit = nullptr;
    return;
  }
  m_pEdit->CWnd::SetFont(GetFont(), FALSE);
  m_pEdit->CWnd::SetWindowText(m_strText);
}

// ---------------------------------------------------------------- items

int CDrawnComboBox::AddString(LPCTSTR text) {
  ComboItem item;
  item.text = text ? text : "";
  m_items.push_back(item);
  return GetCount() - 1;
}

int CDrawnComboBox::InsertString(int index, LPCTSTR text) {
  // An index at the count appends, as for any other list.
  if (index < 0 || index >= GetCount()) return AddString(text);
  ComboItem item;
  item.text = text ? text : "";
  m_items.insert(m_items.begin() + index, item);
  if (m_nCurSel != -1 && index <= m_nCurSel) ++m_nCurSel;
  return index;
}

// The current index keeps naming the same item: it moves down with the items
// after a deleted one, and a deleted current item leaves no selection (the
// text stays as shown).
int CDrawnComboBox::DeleteString(int index) {
  if (!IsValidIndex(index)) return CB_ERR;
  m_items.erase(m_items.begin() + index);
  if (index < m_nCurSel)
    --m_nCurSel;
  else if (index == m_nCurSel)
    m_nCurSel = -1;
  return GetCount();
}

void CDrawnComboBox::ResetContent() {
  m_items.clear();
  m_strText.Empty();
  m_nCurSel = -1;
  if (m_hWnd) CWnd::SetWindowText("");
  if (m_pEdit && m_pEdit->m_hWnd) m_pEdit->CWnd::SetWindowText("");
  if (m_hWnd) Invalidate();
}

int CDrawnComboBox::GetCurSel() const {
  CString text;
  GetWindowText(text);
  return FindStringExact(0, text);
}

int CDrawnComboBox::SetCurSel(int index) {
  if (index == -1) {
    m_nCurSel = -1;
    m_strText.Empty();
    if (m_hWnd) Invalidate();
    return CB_ERR;
  }
  if (m_items.empty()) {
    // Kept: the text follows at the next paint once the items are there.
    m_nCurSel = index;
    return CB_ERR;
  }
  if (!IsValidIndex(index)) return CB_ERR;
  m_nCurSel = index;
  m_strText = m_items[index].text;
  if (m_hWnd) Invalidate();
  return index;
}

int CDrawnComboBox::FindStringExact(int nIndexStart, LPCTSTR text) const {
  CString wanted = text ? text : "";
  for (int i = std::max(nIndexStart, 0); i < GetCount(); ++i) {
    if (m_items[i].text == wanted) return i;
  }
  return CB_ERR;
}

int CDrawnComboBox::FindString(int start, LPCTSTR text) const {
  CString prefix = text ? text : "";
  for (int i = std::max(start, 0); i < GetCount(); ++i) {
    if (m_items[i].text.Left(prefix.GetLength()) == prefix) return i;
  }
  return CB_ERR;
}

int CDrawnComboBox::SelectStringExact(int start, LPCTSTR text) {
  int found = FindStringExact(start, text);
  if (found != CB_ERR) {
    m_nCurSel = found;
    m_strText = m_items[found].text;
    if (m_hWnd) Invalidate();
  }
  return found;
}

int CDrawnComboBox::GetLBText(int index, LPTSTR buffer) const {
  if (!IsValidIndex(index)) return CB_ERR;
  const CString& text = m_items[index].text;
  if (buffer) memcpy(buffer, static_cast<LPCTSTR>(text), text.GetLength() + 1);
  return text.GetLength() + 1;
}

void CDrawnComboBox::GetLBText(int index, CString& text) const {
  text = IsValidIndex(index) ? m_items[index].text : CString();
}

int CDrawnComboBox::GetLBTextLen(int index) const {
  return IsValidIndex(index) ? m_items[index].text.GetLength() + 1 : CB_ERR;
}

int CDrawnComboBox::GetItemDisabled(int index) const { return IsValidIndex(index) ? m_items[index].disabled : -1; }
void CDrawnComboBox::SetItemDisabled(int index, int disabled) {
  if (IsValidIndex(index)) m_items[index].disabled = disabled;
}
int CDrawnComboBox::GetItemData(int index) const { return IsValidIndex(index) ? m_items[index].data : -1; }
void CDrawnComboBox::SetItemData(int index, int data) {
  if (IsValidIndex(index)) m_items[index].data = data;
}
int CDrawnComboBox::GetItemState(int index) const { return IsValidIndex(index) ? m_items[index].state : -1; }
void CDrawnComboBox::SetItemState(int index, int state) {
  if (IsValidIndex(index)) m_items[index].state = state;
}

// ---------------------------------------------------------------- text and edit

int CDrawnComboBox::GetWindowText(LPTSTR buffer, int size) const {
  CString text;
  GetWindowText(text);
  if (!buffer || size <= 0) return 0;
  int n = std::min(text.GetLength(), size - 1);
  memcpy(buffer, static_cast<LPCTSTR>(text), n);
  buffer[n] = 0;
  return n;
}

void CDrawnComboBox::GetWindowText(CString& text) const {
  if (m_pEdit && m_pEdit->m_hWnd)
    m_pEdit->CWnd::GetWindowText(text);
  else
    text = m_strText;
}

void CDrawnComboBox::SetWindowText(LPCTSTR text) {
  m_strText = text ? text : "";
  if (m_hWnd) CWnd::SetWindowText(m_strText);
  if (m_pEdit && m_pEdit->m_hWnd) m_pEdit->CWnd::SetWindowText(m_strText);
}

DWORD CDrawnComboBox::GetEditSel() const {
  if (!IsEditable() || !m_pEdit) return static_cast<DWORD>(CB_ERR);
  return static_cast<DWORD>(m_pEdit->SendMessage(EM_GETSEL, 0, 0));
}

BOOL CDrawnComboBox::SetEditSel(int start, int end) {
  if (!IsEditable() || !m_pEdit) return CB_ERR;
  m_pEdit->SetSel(start, end, TRUE);
  return TRUE;
}

BOOL CDrawnComboBox::LimitText(int chars) {
  if (!m_pEdit) return CB_ERR;
  m_pEdit->SendMessage(EM_LIMITTEXT, chars == 0 ? 65535 : chars, 0);
  return TRUE;
}

// ---------------------------------------------------------------- options and sizes

int CDrawnComboBox::SetItemHeight(int index, UINT height) {
  if (index != -1 || height < 10 || height > 50) return CB_ERR;
  m_rcButton = ButtonRect();
  return 0;
}

void CDrawnComboBox::ModifyOptions(DWORD remove, DWORD add) {
  m_dwOptions = add | (m_dwOptions & ~remove);
  if (add & CBO_PLAIN)
    m_dwOptions &= ~CBO_INSET;
  else if (add & CBO_INSET)
    m_dwOptions &= ~CBO_PLAIN;
  if (m_hWnd) Invalidate();
}

int CDrawnComboBox::GetWidestItemWidth() {
  CClientDC dc(this);
  CFont* old = dc.SelectObject(GetFont());
  TEXTMETRIC tm{};
  dc.GetTextMetrics(&tm);
  int widest = 0;
  for (const ComboItem& item : m_items)
    widest = std::max(widest, static_cast<int>(dc.GetTextExtent(item.text).cx + tm.tmAveCharWidth));
  dc.SelectObject(old);
  return widest + ::GetSystemMetrics(SM_CXVSCROLL) + 2 * ::GetSystemMetrics(SM_CXEDGE) + 5;
}

BOOL CDrawnComboBox::PointInWindow(int x, int y) const {
  CRect rc;
  GetWindowRect(&rc);
  return rc.PtInRect(CPoint(x, y));
}

CRect CDrawnComboBox::ButtonRect() const {
  CRect rc;
  GetClientRect(&rc);
  rc.left = rc.right - ::GetSystemMetrics(SM_CXHSCROLL);
  return rc;
}

CRect CDrawnComboBox::TrackedRect() const {
  if (IsEditable()) return ButtonRect();
  CRect rc;
  GetClientRect(&rc);
  return rc;
}

// ---------------------------------------------------------------- messages

LRESULT CDrawnComboBox::OnAddString(WPARAM, LPARAM lParam) { return AddString(reinterpret_cast<LPCTSTR>(lParam)); }
LRESULT CDrawnComboBox::OnSetCurSel(WPARAM wParam, LPARAM) { return SetCurSel(static_cast<int>(wParam)); }
LRESULT CDrawnComboBox::OnGetCurSel(WPARAM, LPARAM) { return GetCurSel(); }
LRESULT CDrawnComboBox::OnSelectString(WPARAM wParam, LPARAM lParam) {
  int found = FindStringExact(static_cast<int>(wParam), reinterpret_cast<LPCTSTR>(lParam));
  SetCurSel(found);
  return found;
}
LRESULT CDrawnComboBox::OnGetCount(WPARAM, LPARAM) { return GetCount(); }
LRESULT CDrawnComboBox::OnResetContent(WPARAM, LPARAM) {
  ResetContent();
  return 0;
}
LRESULT CDrawnComboBox::OnGetLBText(WPARAM wParam, LPARAM lParam) {
  return GetLBText(static_cast<int>(wParam), reinterpret_cast<LPTSTR>(lParam));
}
LRESULT CDrawnComboBox::OnGetLBTextLen(WPARAM wParam, LPARAM) { return GetLBTextLen(static_cast<int>(wParam)); }
LRESULT CDrawnComboBox::OnGetTopIndex(WPARAM, LPARAM) {
  return m_pDropWnd ? m_pDropWnd->GetListBox()->GetTopIndex() : CB_ERR;
}
LRESULT CDrawnComboBox::OnSetTopIndex(WPARAM wParam, LPARAM) {
  return m_pDropWnd ? m_pDropWnd->GetListBox()->SendMessage(LB_SETTOPINDEX, wParam, 0) : CB_ERR;
}
LRESULT AcbTakeCapture(HWND hwnd) {
  ::SetCapture(hwnd);
  return 0;
}
LRESULT AcbReleaseCapture(HWND hwnd) {
  if (::GetCapture() == hwnd) ::ReleaseCapture();
  return 0;
}
LRESULT CDrawnComboBox::OnSetCapture(WPARAM, LPARAM) { return AcbTakeCapture(m_hWnd); }
LRESULT CDrawnComboBox::OnReleaseCapture(WPARAM, LPARAM) { return AcbReleaseCapture(m_hWnd); }

void CDrawnComboBox::Notify(int code) {
  if (!m_pNotifyParent || !m_hWnd) return;
  m_pNotifyParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(m_hWnd));
}

// ---------------------------------------------------------------- drop-down

void CDrawnComboBox::ShowDropDown(BOOL show) {
  if (show && !m_bDropped)
    SendMessage(WM_ACB_TOGGLEDROPDOWN);
  else if (!show && m_bDropped)
    SendMessage(WM_ACB_CLOSEDROPDOWN);
  Invalidate();
}

void CDrawnComboBox::GetDroppedControlRect(LPRECT rect) const {
  if (!rect) return;
  if (m_pDropWnd && m_pDropWnd->m_hWnd)
    m_pDropWnd->GetWindowRect(rect);
  else
    ::SetRectEmpty(rect);
}

LRESULT CDrawnComboBox::OnToggleDropDown(WPARAM, LPARAM) {
  if (m_bDropped) return OnCloseDropDown(0, 0);
  if (!m_pDropWnd) CreateDropWindow(m_items);
  if (!m_pDropWnd) return 1;
  m_pDropWnd->ShowWindow(SW_SHOWNA);
  m_bDropped = 1;
  return 1;
}

void CDrawnComboBox::CreateDropWindow(const ComboItemList& items) {
  CRect combo, work;
  GetWindowRect(&combo);
  ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  CRect start(combo.left, combo.bottom, combo.right, std::min(combo.bottom, work.bottom));
  m_pDropWnd = new CComboDropWnd(this, items, m_dwOptions);
  LPCTSTR cls = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorA(nullptr, IDC_ARROW),
                                    reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!m_pDropWnd->CreateEx(0, cls, "", kDropWndStyle, start.left, start.top, start.Width(), start.Height(),
                            ::GetDesktopWindow(), reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kDropWndId)))) {
    // No list, no drop-down: the combo box stays closed.
    delete m_pDropWnd;
    m_pDropWnd = nullptr;
    return;
  }
  if (m_nCurSel > static_cast<int>(items.size()) - 1) m_nCurSel = 0;
  m_pDropWnd->GetListBox()->SetCurSel(m_nCurSel);
  m_pDropWnd->CWnd::SetFont(GetFont(), FALSE);
  Notify(CBN_DROPDOWN);
}

void CDrawnComboBox::DiscardDropWindow() {
  if (!m_pDropWnd) return;
  // The list took the activation with the focus; it goes back to the combo
  // box's window rather than nowhere, which would read as leaving the program.
  HWND top = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
  if (top && ::GetActiveWindow() == m_pDropWnd->m_hWnd) ::SetActiveWindow(top);
  m_pDropWnd->ShowWindow(SW_HIDE);
  m_bDropped = 0;
  m_pDropWnd->DestroyWindow();
  delete m_pDropWnd;
  m_pDropWnd = nullptr;
}

// A combo box that goes away while open takes its drop-down with it, unannounced.
void CDrawnComboBox::OnDestroy() {
  DiscardDropWindow();
  CWnd::OnDestroy();
}

LRESULT CDrawnComboBox::OnCloseDropDown(WPARAM, LPARAM) {
  if (!m_pDropWnd) {
    OnComboComplete();
    return 1;
  }
  DiscardDropWindow();
  InvalidateRect(ButtonRect());
  HWND self = m_hWnd;
  if (m_bPickMade)
    m_bPickMade = 0;
  else
    Notify(CBN_SELENDCANCEL);
  if (::IsWindow(self)) Notify(CBN_CLOSEUP);
  return 1;
}

LRESULT CDrawnComboBox::OnSelectItem(WPARAM wParam, LPARAM) {
  if (!m_pDropWnd) return 0;
  const ComboItemList& shown = m_pDropWnd->GetItemList();
  int row = static_cast<int>(wParam);
  if (row < 0 || row >= static_cast<int>(shown.size())) return 0;
  CString text = shown[row].text;
  // A row of a suggestion list maps back to the full list; equal texts give the first.
  m_nCurSel = FindStringExact(0, text);
  SetWindowText(text);
  if (IsEditable() && m_pEdit) {
    m_pEdit->SetFocus();
    m_pEdit->SetSel(0, -1);
  }
  HWND self = m_hWnd;
  m_bPickMade = 1;
  Notify(CBN_SELENDOK);
  if (!::IsWindow(self)) return 1;
  Invalidate();
  OnCloseDropDown(0, 0);
  if (!::IsWindow(self)) return 1;
  InvalidateRect(ButtonRect());
  Notify(CBN_SELCHANGE);
  return 1;
}

// ---------------------------------------------------------------- mouse

void CDrawnComboBox::OnLButtonDown(UINT nFlags, CPoint point) {
  if (::GetFocus() != m_hWnd && !(m_pEdit && ::GetFocus() == m_pEdit->m_hWnd)) SetFocus();
  CRect hit;
  if (IsEditable())
    hit = ButtonRect();
  else
    GetClientRect(&hit);
  if (hit.PtInRect(point)) {
    SendMessage(WM_ACB_TOGGLEDROPDOWN);
    Invalidate();
  }
  CWnd::OnLButtonDown(nFlags, point);
}

void CDrawnComboBox::OnMouseMove(UINT nFlags, CPoint point) {
  BYTE hot = TrackedRect().PtInRect(point) ? 1 : 0;
  if (hot != m_bHot) {
    m_bHot = hot;
    if (!m_bHoverTimer) {
      SetTimer(kHoverTimer, kHoverMs, nullptr);
      m_bHoverTimer = 1;
    }
    InvalidateRect(ButtonRect());
  }
  CWnd::OnMouseMove(nFlags, point);
}

void CDrawnComboBox::OnTimer(UINT_PTR nIDEvent) {
  if (nIDEvent != kHoverTimer) return CWnd::OnTimer(nIDEvent);
  CPoint cursor;
  ::GetCursorPos(&cursor);
  ScreenToClient(&cursor);
  if (TrackedRect().PtInRect(cursor)) return;
  KillTimer(kHoverTimer);
  m_bHoverTimer = 0;
  m_bHot = 0;
  InvalidateRect(ButtonRect());
}

void CDrawnComboBox::OnEnable(BOOL bEnable) {
  Invalidate();
  if (m_pEdit && m_pEdit->m_hWnd) m_pEdit->EnableWindow(bEnable);
}

// ---------------------------------------------------------------- keyboard, wheel and focus

namespace {
// Keeps the text change of auto-append from running the edit-update routine
// again. One flag for every combo box: only one edit changes at a time.
bool gEditUpdateBusy = false;
const int kWheelStep = 120;
const int kWheelRows = 3;
const int kPageItems = 10;
}  // namespace

BOOL CDrawnComboBox::PreTranslateMessage(MSG* pMsg) {
  if (pMsg->message == WM_SYSKEYDOWN && (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN)) {
    SendMessage(WM_ACB_TOGGLEDROPDOWN);
    Invalidate();
    return FALSE;
  }
  if (pMsg->message != WM_KEYDOWN) return CWnd::PreTranslateMessage(pMsg);
  m_bTyping = 1;
  HWND self = m_hWnd;
  switch (pMsg->wParam) {
    case VK_RETURN: {
      if (!m_pDropWnd) return FALSE;
      int row = m_pDropWnd->GetListBox()->GetCurSel();
      if (row >= 0) SendMessage(WM_ACB_SELECTITEM, static_cast<WPARAM>(row));
      // After a pick the list is closed already and this completes.
      if (::IsWindow(self)) OnCloseDropDown(0, 0);
      return TRUE;
    }
    case VK_ESCAPE:
      if (!m_pDropWnd) {
        OnComboCancel();
        return FALSE;
      }
      OnCloseDropDown(0, 0);
      if (::IsWindow(self)) Invalidate();
      return TRUE;
    case VK_F4:
      SendMessage(WM_ACB_TOGGLEDROPDOWN);
      Invalidate();
      return TRUE;
    case VK_UP:
      SelectPrevItem();
      return TRUE;
    case VK_DOWN:
      SelectNextItem();
      return TRUE;
    case VK_PRIOR:
      PageUp();
      return TRUE;
    case VK_NEXT:
      PageDown();
      return TRUE;
    case VK_DELETE:
    case VK_BACK:
      m_bTyping = 0;
      return FALSE;
    case VK_RIGHT: {
      if (!(m_dwOptions & CBO_AUTO_APPEND)) return FALSE;
      if (!m_pEdit || !m_pEdit->m_hWnd) return TRUE;
      int start = 0, end = 0;
      m_pEdit->GetSel(start, end);
      if (start != end || end != m_pEdit->GetWindowTextLength()) return FALSE;
      OnEditUpdate();
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void CDrawnComboBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  switch (nChar) {
    case VK_DOWN: return SelectNextItem();
    case VK_UP: return SelectPrevItem();
    case VK_NEXT: return PageDown();
    case VK_PRIOR: return PageUp();
    default: CWnd::OnKeyDown(nChar, nRepCnt, nFlags);
  }
}

void CDrawnComboBox::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags) {
  if (m_pNotifyParent && nChar == VK_ESCAPE) return OnComboCancel();
  if (m_pNotifyParent && nChar == VK_RETURN) return OnComboComplete();
  CWnd::OnChar(nChar, nRepCnt, nFlags);
}

// A fast wheel sends large deltas; still one step per message, so the
// selection never jumps past an item the user could have stopped on.
BOOL CDrawnComboBox::OnMouseWheel(UINT, short zDelta, CPoint) {
  m_nWheelDelta += zDelta;
  int step = 0;
  if (m_nWheelDelta >= kWheelStep)
    step = -1;
  else if (m_nWheelDelta <= -kWheelStep)
    step = 1;
  if (step == 0) return TRUE;
  m_nWheelDelta = 0;
  if (m_pDropWnd) {
    CComboDropList* list = m_pDropWnd->GetListBox();
    int top = list->GetTopIndex() + step * kWheelRows;
    list->SetTopIndex(std::min(std::max(top, 0), list->GetCount()), TRUE);
  } else if (step < 0) {
    SelectPrevItem();
  } else {
    SelectNextItem();
  }
  return TRUE;
}

void CDrawnComboBox::MoveCurrentTo(int index) {
  int before = m_nCurSel;
  m_nCurSel = index;
  SetWindowText(m_items[index].text);
  Invalidate();
  if (index == before) return;
  HWND self = m_hWnd;
  Notify(CBN_SELENDOK);
  if (::IsWindow(self)) Notify(CBN_SELCHANGE);
}

void CDrawnComboBox::SelectNextItem() {
  if (m_pDropWnd) {
    CComboDropList* list = m_pDropWnd->GetListBox();
    list->SetCurSel(list->GetCurSel() + 1);
    return;
  }
  for (int i = std::max(m_nCurSel + 1, 0); i < GetCount(); ++i) {
    if (!m_items[i].disabled) return MoveCurrentTo(i);
  }
}

// With no current item the walk starts at the last item, and the item found
// becomes current under its own index.
void CDrawnComboBox::SelectPrevItem() {
  if (m_pDropWnd) {
    CComboDropList* list = m_pDropWnd->GetListBox();
    int row = list->GetCurSel();
    if (row > 0) list->SetCurSel(row - 1);
    return;
  }
  int from = IsValidIndex(m_nCurSel) ? m_nCurSel - 1 : GetCount() - 1;
  for (int i = from; i >= 0; --i) {
    if (!m_items[i].disabled) return MoveCurrentTo(i);
  }
}

void CDrawnComboBox::ShowDropRow(int row) {
  CComboDropList* list = m_pDropWnd->GetListBox();
  list->SetCurSel(row);
  const ComboItem* item = list->ItemOfRow(row);
  if (item) SetWindowText(item->text);
}

void CDrawnComboBox::PageDown() {
  if (m_pDropWnd) {
    CComboDropList* list = m_pDropWnd->GetListBox();
    int r = list->GetCurSel(), n = list->GetCount(), v = list->GetVisibleCount(), t = list->GetTopIndex();
    if (n <= 0) return;
    int row = r;
    if (r < 0)
      row = 0;
    else if (r != n - 1)
      row = r < t + v - 1 ? t + v - 1 : t + 2 * v - 2;
    ShowDropRow(std::min(row, n - 1));
    return;
  }
  if (m_items.empty()) return;
  int from = IsValidIndex(m_nCurSel) ? m_nCurSel : 0;
  int to = std::min(from + kPageItems, GetCount() - 1);
  if (to != m_nCurSel) MoveCurrentTo(to);
}

void CDrawnComboBox::PageUp() {
  if (m_pDropWnd) {
    CComboDropList* list = m_pDropWnd->GetListBox();
    int r = list->GetCurSel(), v = list->GetVisibleCount(), t = list->GetTopIndex();
    if (r <= 0) return;
    ShowDropRow(r == t ? std::max(t + 1 - v, 0) : t);
    return;
  }
  if (m_items.empty()) return;
  int from = IsValidIndex(m_nCurSel) ? m_nCurSel : 0;
  int to = std::max(from - kPageItems, 0);
  if (to != m_nCurSel) MoveCurrentTo(to);
}

void CDrawnComboBox::OnSetFocus(CWnd* pOldWnd) {
  CWnd::OnSetFocus(pOldWnd);
  m_bFocusDrawn = 1;
  Invalidate();
  if (IsEditable() && m_pEdit && m_pEdit->m_hWnd)
    m_pEdit->SetFocus();
  else if (!IsEditable())
    Notify(CBN_SETFOCUS);
}

// The highlight goes with the focus: a list-style box that lost it must not
// go on looking focused.
void CDrawnComboBox::OnKillFocus(CWnd* pNewWnd) {
  CWnd::OnKillFocus(pNewWnd);
  m_bFocusDrawn = 0;
  Invalidate();
  OnComboCancel();
}

void CDrawnComboBox::OnEditSetFocus() {
  m_bFocusDrawn = 0;
  m_pEdit->PostMessage(EM_SETSEL, 0, -1);
  if (m_bSetFocusSent) return;
  m_bSetFocusSent = 1;
  Notify(CBN_SETFOCUS);
}

void CDrawnComboBox::OnEditKillFocus() {
  m_bFocusDrawn = 0;
  Invalidate();
  if (m_pDropWnd) {
    OnCloseDropDown(0, 0);
    return;
  }
  if (::GetFocus() == m_hWnd) return;
  HWND self = m_hWnd;
  Notify(CBN_SELENDCANCEL);
  if (!::IsWindow(self)) return;
  Notify(CBN_KILLFOCUS);
  if (!::IsWindow(self)) return;
  m_bSetFocusSent = 0;
  if (m_pEdit && m_pEdit->m_hWnd) m_pEdit->SetSel(0, 0);
}

void CDrawnComboBox::OnEditChange() {
  if (!m_pDropWnd) Notify(CBN_EDITCHANGE);
}

// Fills in the rest of the first item that begins with the typed text and
// selects the added part, so that typing on replaces it. Only the edit
// changes; the current item stays until the user picks one.
bool CDrawnComboBox::CompleteTypedText(const CString& typed) {
  if (typed.IsEmpty()) return false;
  int found = FindString(0, typed);
  if (found == CB_ERR) return true;
  gEditUpdateBusy = true;
  const CString& full = m_items[found].text;
  m_pEdit->CWnd::SetWindowText(full);
  m_pEdit->SetSel(typed.GetLength(), full.GetLength(), TRUE);
  gEditUpdateBusy = false;
  return true;
}

void CDrawnComboBox::SuggestFor(const CString& typed) {
  ComboItemList matches;
  for (const ComboItem& item : m_items) {
    if (item.text != typed && item.text.Left(typed.GetLength()) == typed) matches.push_back(item);
  }
  HWND self = m_hWnd;
  if (m_pDropWnd) SendMessage(WM_ACB_CLOSEDROPDOWN);
  if (!::IsWindow(self) || matches.size() < 2) return;
  m_nCurSel = 0;
  CreateDropWindow(matches);
  if (m_pDropWnd) m_pDropWnd->ShowWindow(SW_SHOWNA);
}

void CDrawnComboBox::OnEditUpdate() {
  CString typed;
  if (m_pEdit && m_pEdit->m_hWnd) m_pEdit->CWnd::GetWindowText(typed);
  bool focused = m_pEdit && ::GetFocus() == m_pEdit->m_hWnd;
  if (focused && (m_dwOptions & CBO_AUTO_APPEND) && m_bTyping && !gEditUpdateBusy) {
    if (!CompleteTypedText(typed)) return;
  }
  if (focused && (m_dwOptions & CBO_SUGGEST) && !gEditUpdateBusy) {
    if (typed.IsEmpty()) {
      if (m_pDropWnd) SendMessage(WM_ACB_CLOSEDROPDOWN);
      return;
    }
    HWND self = m_hWnd;
    SuggestFor(typed);
    if (!::IsWindow(self)) return;
  }
  if (!m_pDropWnd) Notify(CBN_EDITUPDATE);
}

// ---------------------------------------------------------------- painting

void CDrawnComboBox::OnPaint() {
  CPaintDC dc(this);
  if (IsValidIndex(m_nCurSel)) {
    m_strText = m_items[m_nCurSel].text;
    if (m_bFirstPaint && m_pEdit) {
      m_pEdit->CWnd::SetWindowText(m_strText);
      m_pEdit->EnableWindow(IsWindowEnabled());
    }
  }
  // Only the very first paint hands the selection to the edit: a later one
  // (after the suggestions moved the index) must not overwrite typed text.
  if (m_pEdit) m_bFirstPaint = 0;
  bool enabled = IsWindowEnabled() != FALSE;
  CRect client;
  GetClientRect(&client);
  dc.FillSolidRect(&client, ::GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  CRect button = ButtonRect();
  CRect text = client;
  text.right = button.left - 1;
  if (gUxTheme.ShouldDrawThemed())
    DrawThemedFrame(dc, button);
  else
    DrawClassicFrame(dc, button);
  m_rcButton = button;
  DrawCurrentText(dc, text);
}

void CDrawnComboBox::DrawThemedFrame(CDC& dc, CRect& button) {
  bool enabled = IsWindowEnabled() != FALSE;
  int state = m_bDropped ? kStatePressed : !enabled ? kStateDisabled : m_bHot ? kStateHot : kStateNormal;
  HTHEME theme = gUxTheme.OpenThemeData(m_hWnd, L"COMBOBOX");
  COLORREF border = RGB(0, 0, 0);
  if (gUxTheme.GetThemeColor(theme, kDropDownButtonPart, enabled ? kStateNormal : kStateDisabled, kBorderColorProp,
                             &border) != S_OK)
    border = RGB(0, 0, 0);
  CRect client;
  GetClientRect(&client);
  CPen pen(PS_SOLID, 1, border);
  CPen* oldPen = dc.SelectObject(&pen);
  CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
  dc.Rectangle(&client);
  button.DeflateRect(0, 1);
  button.OffsetRect(-1, 0);
  if (!enabled) {
    COLORREF fill = RGB(255, 255, 255);
    if (gUxTheme.GetThemeColor(theme, kDropDownButtonPart, kStateDisabled, kFillColorProp, &fill) != S_OK)
      fill = RGB(255, 255, 255);
    CRect inner = client;
    inner.DeflateRect(1, 1);
    inner.right = button.left;
    CPen innerPen(PS_SOLID, 1, fill);
    dc.SelectObject(&innerPen);
    CBrush face(::GetSysColor(COLOR_BTNFACE));
    dc.SelectObject(&face);
    dc.Rectangle(&inner);
    dc.SelectObject(&pen);
    dc.SelectObject(oldBrush);
  }
  gUxTheme.DrawThemeBackground(theme, dc.m_hDC, kDropDownButtonPart, state, &button, nullptr);
  dc.SelectObject(oldPen);
  dc.SelectObject(oldBrush);
  gUxTheme.CloseThemeData(theme);
}

void CDrawnComboBox::DrawClassicFrame(CDC& dc, CRect& button) {
  CRect client;
  GetClientRect(&client);
  dc.Draw3dRect(&client, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
  client.DeflateRect(1, 1);
  dc.Draw3dRect(&client, ::GetSysColor(COLOR_3DDKSHADOW), ::GetSysColor(COLOR_3DLIGHT));
  button.DeflateRect(0, 2);
  button.OffsetRect(-2, 0);
  UINT state = DFCS_SCROLLCOMBOBOX;
  if (!IsWindowEnabled()) state |= DFCS_INACTIVE;
  if (m_bDropped) state |= DFCS_PUSHED | DFCS_FLAT;
  dc.DrawFrameControl(&button, DFC_SCROLL, state);
}

void CDrawnComboBox::DrawCurrentText(CDC& dc, CRect rc) {
  rc.left += 4, rc.top += 3, rc.right -= 2, rc.bottom -= 3;
  if (IsEditable()) {
    if (m_pEdit) m_pEdit->CWnd::SetFont(GetFont(), FALSE);
    return;
  }
  rc.left -= 2, rc.top -= 2, rc.bottom += 2, rc.right += 1;
  bool enabled = IsWindowEnabled() != FALSE;
  bool highlighted = m_bFocusDrawn && !m_bDropped;
  int fill = !enabled ? COLOR_BTNFACE : highlighted ? COLOR_HIGHLIGHT : COLOR_WINDOW;
  int ink = !enabled ? COLOR_GRAYTEXT : highlighted ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT;
  dc.FillSolidRect(&rc, ::GetSysColor(fill));
  CFont* old = dc.SelectObject(GetFont());
  dc.SetBkMode(TRANSPARENT);
  dc.SetTextColor(::GetSysColor(ink));
  dc.DrawText(m_strText, &rc, DT_SINGLELINE | DT_VCENTER);
  dc.SelectObject(old);
}

// ---------------------------------------------------------------- data exchange

namespace {
CDrawnComboBox* ComboOf(CDataExchange* pDX, int nIDC) {
  HWND hwnd = pDX->PrepareCtrl(nIDC);
  return dynamic_cast<CDrawnComboBox*>(CWnd::FromHandlePermanent(hwnd));
}
}  // namespace

void AFXAPI DDX_DrawnComboIndex(CDataExchange* pDX, int nIDC, int& index) {
  CDrawnComboBox* combo = ComboOf(pDX, nIDC);
  if (!combo) return;
  if (pDX->m_bSaveAndValidate)
    index = combo->GetCurSel();
  else
    combo->SetCurSel(index);
}

void AFXAPI DDX_DrawnComboText(CDataExchange* pDX, int nIDC, CString& text) {
  CDrawnComboBox* combo = ComboOf(pDX, nIDC);
  if (!combo) return;
  if (pDX->m_bSaveAndValidate)
    combo->GetWindowText(text);
  else
    combo->SetWindowText(text);
}
