// Control bars: the tool bar control's wrapper, the tool bar and the status
// bar of a frame window.

#include "AfxCtrlBar.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CToolBarCtrl, CWnd)
IMPLEMENT_DYNAMIC(CControlBar, CWnd)
IMPLEMENT_DYNAMIC(CToolBar, CControlBar)
IMPLEMENT_DYNAMIC(CStatusBar, CControlBar)

BOOL CToolBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  PlatformRegisterCommonControls();
  return CWnd::Create(TOOLBARCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

CImageList* CToolBarCtrl::SetImageList(CImageList* pImageList) {
  auto old = reinterpret_cast<HIMAGELIST>(
      Send(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList ? pImageList->m_hImageList : nullptr)));
  return old ? CImageList::FromHandle(old) : nullptr;
}

CImageList* CToolBarCtrl::GetImageList() const {
  auto h = reinterpret_cast<HIMAGELIST>(Send(TB_GETIMAGELIST));
  return h ? CImageList::FromHandle(h) : nullptr;
}

// ---------------------------------------------------------------- control bar

CSize CControlBar::CalcFixedLayout(BOOL, BOOL) {
  CRect rc;
  GetWindowRect(&rc);
  return CSize(rc.Width(), rc.Height());
}

CSize CControlBar::CalcDynamicLayout(int, DWORD nMode) {
  return CalcFixedLayout((nMode & LM_STRETCH) != 0, (nMode & LM_HORZ) != 0);
}

// ---------------------------------------------------------------- tool bar

BEGIN_MESSAGE_MAP(CToolBar, CControlBar)
END_MESSAGE_MAP()

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  return CreateEx(pParentWnd, TBSTYLE_FLAT, dwStyle, CRect(0, 0, 0, 0), nID);
}

BOOL CToolBar::CreateEx(CWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect, UINT nID) {
  PlatformRegisterCommonControls();
  m_dwStyle = dwStyle & CBRS_ALIGN_ANY;
  DWORD style = (dwStyle & ~CBRS_ALIGN_ANY) | dwCtrlStyle | WS_CHILD;
  return CWnd::Create(TOOLBARCLASSNAME, nullptr, style, CRect(0, 0, 0, 0), pParentWnd, nID);
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
  ToolBarTemplate tpl;
  if (!m_hWnd || !PlatformFindToolBar(MAKEINTRESOURCE(nIDResource), &tpl)) return FALSE;
  if (tpl.imageWidth <= 0 || tpl.imageHeight <= 0) return FALSE;
  if (!LoadImageStrip(nIDResource, CSize(tpl.imageWidth, tpl.imageHeight))) return FALSE;
  return SetButtons(tpl.buttons.data(), static_cast<int>(tpl.buttons.size()));
}

BOOL CToolBar::LoadBitmap(UINT nIDResource) {
  HBITMAP bmp = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
  if (!bmp) return FALSE;
  BITMAP bm{};
  ::GetObjectA(bmp, sizeof bm, &bm);
  ::DeleteObject(bmp);
  return LoadImageStrip(nIDResource, CSize(bm.bmHeight, bm.bmHeight));
}

// The bitmap is loaded again by the image list; a strip narrower or lower
// than one image holds no image and fails.
BOOL CToolBar::LoadImageStrip(UINT nIDResource, CSize image) {
  HBITMAP bmp = ::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource));
  if (!bmp) return FALSE;
  BITMAP bm{};
  ::GetObjectA(bmp, sizeof bm, &bm);
  ::DeleteObject(bmp);
  if (image.cx <= 0 || image.cy <= 0 || bm.bmWidth < image.cx || bm.bmHeight < image.cy) return FALSE;
  m_images.DeleteImageList();
  if (!m_images.Create(nIDResource, image.cx, 0, RGB(192, 192, 192))) return FALSE;
  GetToolBarCtrl().SetBitmapSize(image);
  GetToolBarCtrl().SetImageList(&m_images);
  return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* lpIDArray, int nIDCount) {
  CToolBarCtrl& ctrl = GetToolBarCtrl();
  while (ctrl.GetButtonCount() > 0) ctrl.DeleteButton(0);
  int image = 0;
  for (int i = 0; i < nIDCount; ++i) {
    TBBUTTON b{};
    if (!lpIDArray || lpIDArray[i] == ID_SEPARATOR) {
      b.fsStyle = TBSTYLE_SEP;
    } else {
      b.idCommand = static_cast<int>(lpIDArray[i]);
      b.iBitmap = image++;
      b.fsState = TBSTATE_ENABLED;
    }
    if (!ctrl.AddButtons(1, &b)) return FALSE;
  }
  m_bDelayedButtonLayout = TRUE;
  return TRUE;
}

UINT CToolBar::GetItemID(int nIndex) const {
  TBBUTTON b{};
  return GetToolBarCtrl().GetButton(nIndex, &b) ? static_cast<UINT>(b.idCommand) : 0;
}

void CToolBar::Layout() {
  m_bDelayedButtonLayout = FALSE;
  GetToolBarCtrl().AutoSize();
}

// The size is summed over the buttons the control reports, asked through the
// window's procedure so that a subclass may change what it answers.
CSize CToolBar::CalcFixedLayout(BOOL, BOOL bHorz) {
  CToolBarCtrl& ctrl = GetToolBarCtrl();
  CSize button = ctrl.GetButtonSize();
  bool arrows = (ctrl.GetExtendedStyle() & TBSTYLE_EX_DRAWDDARROWS) != 0;
  int length = 0;
  int n = static_cast<int>(SendMessage(TB_BUTTONCOUNT));
  for (int i = 0; i < n; ++i) {
    TBBUTTON b{};
    if (!SendMessage(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&b)) || (b.fsState & TBSTATE_HIDDEN)) continue;
    if (b.fsStyle & TBSTYLE_SEP) length += bHorz ? (b.iBitmap > 0 ? b.iBitmap : 8) : 8;
    else length += bHorz ? button.cx + ((b.fsStyle & TBSTYLE_DROPDOWN) && arrows ? 14 : 0) : button.cy;
  }
  const int border = 2;
  return bHorz ? CSize(length + 2 * border, button.cy + 2 * border) : CSize(button.cx + 2 * border, length + 2 * border);
}

CSize CToolBar::CalcDynamicLayout(int nLength, DWORD nMode) {
  CSize size = CControlBar::CalcDynamicLayout(nLength, nMode);
  if ((nMode & LM_COMMIT) && m_bDelayedButtonLayout) Layout();
  return size;
}

// ---------------------------------------------------------------- status bar

BEGIN_MESSAGE_MAP(CStatusBar, CControlBar)
  ON_WM_SIZE()
END_MESSAGE_MAP()

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
  PlatformRegisterCommonControls();
  m_dwStyle = dwStyle & CBRS_ALIGN_ANY;
  return CWnd::Create(STATUSCLASSNAME, nullptr, (dwStyle & ~CBRS_ALIGN_ANY) | WS_CHILD, CRect(0, 0, 0, 0), pParentWnd,
                      nID);
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
  if (nIDCount < 0 || (nIDCount > 0 && !lpIDArray) || !m_hWnd) return FALSE;
  m_panes.clear();
  CClientDC dc(this);
  CFont* old = dc.SelectObject(GetFont());
  for (int i = 0; i < nIDCount; ++i) {
    Pane p{lpIDArray[i], SBPS_NORMAL, 0, CString()};
    if (p.id != ID_SEPARATOR) {
      // The indicator's string gives its text and its width.
      if (!p.text.LoadString(p.id)) return FALSE;
      p.cx = dc.GetTextExtent(p.text).cx;
    } else if (i == 0) {
      p.style = SBPS_NOBORDERS | SBPS_STRETCH;
    }
    m_panes.push_back(p);
  }
  if (old) dc.SelectObject(old);
  UpdateParts();
  return TRUE;
}

int CStatusBar::CommandToIndex(UINT nIDFind) const {
  for (size_t i = 0; i < m_panes.size(); ++i)
    if (m_panes[i].id == nIDFind) return static_cast<int>(i);
  return -1;
}

UINT CStatusBar::GetItemID(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].id : 0;
}

void CStatusBar::GetItemRect(int nIndex, LPRECT lpRect) const {
  if (!lpRect) return;
  if (!GetStatusBarCtrl().GetRect(nIndex, lpRect)) ::SetRectEmpty(lpRect);
}

void CStatusBar::GetPaneInfo(int nIndex, UINT& nID, UINT& nStyle, int& cxWidth) const {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  const Pane& p = m_panes[static_cast<size_t>(nIndex)];
  nID = p.id;
  nStyle = p.style;
  cxWidth = p.cx;
}

void CStatusBar::SetPaneInfo(int nIndex, UINT nID, UINT nStyle, int cxWidth) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  Pane& p = m_panes[static_cast<size_t>(nIndex)];
  p.id = nID;
  p.style = nStyle;
  p.cx = cxWidth;
  UpdateParts();
}

UINT CStatusBar::GetPaneStyle(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].style : 0;
}

void CStatusBar::SetPaneStyle(int nIndex, UINT nStyle) {
  if (nIndex < 0 || nIndex >= GetCount()) return;
  m_panes[static_cast<size_t>(nIndex)].style = nStyle;
  UpdateParts();
}

CString CStatusBar::GetPaneText(int nIndex) const {
  return nIndex >= 0 && nIndex < GetCount() ? m_panes[static_cast<size_t>(nIndex)].text : CString();
}

BOOL CStatusBar::SetPaneText(int nIndex, LPCTSTR lpszNewText, BOOL bUpdate) {
  if (nIndex < 0 || nIndex >= GetCount()) return FALSE;
  m_panes[static_cast<size_t>(nIndex)].text = lpszNewText ? lpszNewText : "";
  UINT borders = m_panes[static_cast<size_t>(nIndex)].style & (SBPS_NOBORDERS | SBPS_POPOUT);
  GetStatusBarCtrl().SetText(GetPaneText(nIndex), nIndex, static_cast<int>(borders));
  if (bUpdate) Invalidate();
  return TRUE;
}

// Each pane is its width plus a margin on each side; a stretching pane takes
// what the others leave.
void CStatusBar::UpdateParts() {
  if (!m_hWnd || m_panes.empty()) return;
  const int margin = 6;
  CRect client;
  GetClientRect(&client);
  int fixed = 0;
  for (const Pane& p : m_panes)
    if (!(p.style & SBPS_STRETCH)) fixed += p.cx + 2 * margin;
  int spare = std::max(0, client.Width() - fixed);
  std::vector<int> rights;
  int x = 0;
  for (const Pane& p : m_panes) {
    x += (p.style & SBPS_STRETCH) ? spare : p.cx + 2 * margin;
    rights.push_back(x);
  }
  rights.back() = -1;  // the last pane reaches the end
  GetStatusBarCtrl().SetParts(static_cast<int>(rights.size()), rights.data());
  for (size_t i = 0; i < m_panes.size(); ++i)
    GetStatusBarCtrl().SetText(m_panes[i].text, static_cast<int>(i),
                               static_cast<int>(m_panes[i].style & (SBPS_NOBORDERS | SBPS_POPOUT)));
}

CSize CStatusBar::CalcFixedLayout(BOOL, BOOL) {
  CRect rc;
  GetWindowRect(&rc);
  CWnd* parent = GetParent();
  CRect pc;
  if (parent) parent->GetClientRect(&pc);
  return CSize(pc.Width(), rc.Height());
}

void CStatusBar::OnSize(UINT nType, int cx, int cy) {
  CControlBar::OnSize(nType, cx, cy);
  UpdateParts();
}
