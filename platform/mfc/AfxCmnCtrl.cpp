// The common-control wrappers of the class layer, and the drag image of
// CImageList.

#include "AfxCmnCtrl.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

IMPLEMENT_DYNAMIC(CHeaderCtrl, CWnd)
IMPLEMENT_DYNAMIC(CListCtrl, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)

// ---------------------------------------------------------------- CHeaderCtrl

BOOL CHeaderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  PlatformRegisterCommonControls();
  return CWnd::Create(WC_HEADER, nullptr, dwStyle, rect, pParentWnd, nID);
}

CImageList* CHeaderCtrl::SetImageList(CImageList* pImageList) {
  auto old = reinterpret_cast<HIMAGELIST>(
      Send(HDM_SETIMAGELIST, 0, pImageList ? pImageList->GetSafeHandle() : nullptr));
  return old ? CImageList::FromHandle(old) : nullptr;
}

CImageList* CHeaderCtrl::GetImageList() const {
  auto list = reinterpret_cast<HIMAGELIST>(Send(HDM_GETIMAGELIST, 0, nullptr));
  return list ? CImageList::FromHandle(list) : nullptr;
}

void CHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

BOOL CHeaderCtrl::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  if (message == WM_DRAWITEM) {
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (pResult) *pResult = TRUE;
    return TRUE;
  }
  return CWnd::OnChildNotify(message, wParam, lParam, pResult);
}

// ---------------------------------------------------------------- CListCtrl

BOOL CListCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  PlatformRegisterCommonControls();
  return CWnd::Create(WC_LISTVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

int CListCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, UINT nState, UINT nStateMask, int nImage,
                          LPARAM lParam) {
  LVITEM item{};
  item.mask = nMask;
  item.iItem = nItem;
  item.pszText = const_cast<LPSTR>(lpszItem);
  item.state = nState;
  item.stateMask = nStateMask;
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(&item);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem) {
  return InsertItem(LVIF_TEXT, nItem, lpszItem, 0, 0, 0, 0);
}

int CListCtrl::InsertItem(int nItem, LPCTSTR lpszItem, int nImage) {
  return InsertItem(LVIF_TEXT | LVIF_IMAGE, nItem, lpszItem, 0, 0, nImage, 0);
}

BOOL CListCtrl::SetItem(int nItem, int nSubItem, UINT nMask, LPCTSTR lpszItem, int nImage, UINT nState,
                        UINT nStateMask, LPARAM lParam) {
  LVITEM item{};
  item.mask = nMask;
  item.iItem = nItem;
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPSTR>(lpszItem);
  item.iImage = nImage;
  item.state = nState;
  item.stateMask = nStateMask;
  item.lParam = lParam;
  return SetItem(&item);
}

CString CListCtrl::GetItemText(int nItem, int nSubItem) const {
  // Grows the buffer until the text fits.
  for (int size = 256;; size *= 2) {
    std::vector<char> buf(static_cast<size_t>(size));
    int n = GetItemText(nItem, nSubItem, buf.data(), size);
    if (n < size - 1 || size >= (1 << 20)) return CString(buf.data());
  }
}

int CListCtrl::GetItemText(int nItem, int nSubItem, LPTSTR lpszText, int nLen) const {
  if (!lpszText || nLen <= 0) return 0;
  lpszText[0] = 0;
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = lpszText;
  item.cchTextMax = nLen;
  return static_cast<int>(Send(LVM_GETITEMTEXTA, static_cast<WPARAM>(nItem), P(&item)));
}

BOOL CListCtrl::SetItemText(int nItem, int nSubItem, LPCTSTR lpszText) {
  LVITEM item{};
  item.iSubItem = nSubItem;
  item.pszText = const_cast<LPSTR>(lpszText);
  return static_cast<BOOL>(Send(LVM_SETITEMTEXTA, static_cast<WPARAM>(nItem), P(&item)));
}

DWORD_PTR CListCtrl::GetItemData(int nItem) const {
  LVITEM item{};
  item.mask = LVIF_PARAM;
  item.iItem = nItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CListCtrl::SetItemData(int nItem, DWORD_PTR dwData) {
  return SetItem(nItem, 0, LVIF_PARAM, nullptr, 0, 0, 0, static_cast<LPARAM>(dwData));
}

BOOL CListCtrl::SetItemState(int nItem, UINT nState, UINT nMask) {
  LVITEM item{};
  item.state = nState;
  item.stateMask = nMask;
  return SetItemState(nItem, &item);
}

POSITION CListCtrl::GetFirstSelectedItemPosition() const {
  int i = GetNextItem(-1, LVNI_SELECTED);
  return i < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<INT_PTR>(i) + 1);
}

int CListCtrl::GetNextSelectedItem(POSITION& pos) const {
  int i = static_cast<int>(reinterpret_cast<INT_PTR>(pos)) - 1;
  int next = GetNextItem(i, LVNI_SELECTED);
  pos = next < 0 ? nullptr : reinterpret_cast<POSITION>(static_cast<INT_PTR>(next) + 1);
  return i;
}

int CListCtrl::InsertColumn(int nCol, LPCTSTR lpszColumnHeading, int nFormat, int nWidth, int nSubItem) {
  LVCOLUMN col{};
  col.mask = LVCF_TEXT | LVCF_FMT;
  col.pszText = const_cast<LPSTR>(lpszColumnHeading);
  col.fmt = nFormat;
  if (nWidth != -1) {
    col.mask |= LVCF_WIDTH;
    col.cx = nWidth;
  }
  if (nSubItem != -1) {
    col.mask |= LVCF_SUBITEM;
    col.iSubItem = nSubItem;
  }
  return InsertColumn(nCol, &col);
}

BOOL CListCtrl::GetColumnOrderArray(LPINT piArray, int iCount) {
  if (iCount == -1) {
    CHeaderCtrl* header = GetHeaderCtrl();
    iCount = header ? header->GetItemCount() : 0;
  }
  return static_cast<BOOL>(Send(LVM_GETCOLUMNORDERARRAY, static_cast<WPARAM>(iCount), P(piArray)));
}

namespace {

// A header that no CHeaderCtrl object has taken gets a wrapper of the right
// class that lives as long as its window; it stays out of the handle map so
// that a class can still subclass the header later.
CHeaderCtrl* HeaderWrapper(HWND header) {
  // Never destroyed: wrappers of windows still open at exit must not act then.
  static auto* lock = new std::mutex;
  static auto* map = new std::map<HWND, std::unique_ptr<CHeaderCtrl>>;
  auto& wrappers = *map;
  std::lock_guard<std::mutex> g(*lock);
  for (auto it = wrappers.begin(); it != wrappers.end();) {
    if (::IsWindow(it->first)) {
      ++it;
      continue;
    }
    it->second->m_hWnd = nullptr;  // the window is gone; nothing to destroy
    it = wrappers.erase(it);
  }
  auto& slot = wrappers[header];
  if (!slot) {
    slot = std::make_unique<CHeaderCtrl>();
    slot->m_hWnd = header;
  }
  return slot.get();
}

}  // namespace

CHeaderCtrl* CListCtrl::GetHeaderCtrl() const {
  auto header = reinterpret_cast<HWND>(Send(LVM_GETHEADER, 0, 0));
  if (!header) return nullptr;
  if (auto* own = dynamic_cast<CHeaderCtrl*>(CWnd::FromHandlePermanent(header))) return own;
  return HeaderWrapper(header);
}

CImageList* CListCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  auto old = reinterpret_cast<HIMAGELIST>(Send(LVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                                               reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle()
                                                                                   : nullptr)));
  return old ? CImageList::FromHandle(old) : nullptr;
}

CImageList* CListCtrl::GetImageList(int nImageList) const {
  auto list = reinterpret_cast<HIMAGELIST>(Send(LVM_GETIMAGELIST, static_cast<WPARAM>(nImageList), 0));
  return list ? CImageList::FromHandle(list) : nullptr;
}

BOOL CListCtrl::GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const {
  if (!lpRect) return FALSE;
  lpRect->left = static_cast<LONG>(nCode);
  return static_cast<BOOL>(Send(LVM_GETITEMRECT, static_cast<WPARAM>(nItem), P(lpRect)));
}

BOOL CListCtrl::GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref) {
  RECT rc{nArea, iSubItem, 0, 0};
  BOOL ok = static_cast<BOOL>(Send(LVM_GETSUBITEMRECT, static_cast<WPARAM>(iItem), P(&rc)));
  if (ok) ref = rc;
  return ok;
}

int CListCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  LVHITTESTINFO info{};
  info.pt = pt;
  int i = HitTest(&info);
  if (pFlags) *pFlags = info.flags;
  return i;
}

CImageList* CListCtrl::CreateDragImage(int nItem, LPPOINT lpPoint) {
  auto list = reinterpret_cast<HIMAGELIST>(Send(LVM_CREATEDRAGIMAGE, static_cast<WPARAM>(nItem), P(lpPoint)));
  if (!list) return nullptr;
  auto* image = new CImageList;
  image->Attach(list);
  return image;
}

// ---------------------------------------------------------------- CToolTipCtrl

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  PlatformRegisterCommonControls();
  return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | dwStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                  CW_USEDEFAULT, CW_USEDEFAULT, AfxSafeHwnd(pParentWnd), nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFO& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
  ti = TOOLINFO{};
  ti.cbSize = sizeof(ti);
  HWND hwnd = AfxSafeHwnd(pWnd);
  if (nIDTool == 0) {
    // The whole window is the tool, held by its parent.
    ti.hwnd = ::GetParent(hwnd);
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(hwnd);
  } else {
    ti.hwnd = hwnd;
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (!pWnd) return FALSE;
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool) ti.rect = *lpRectTool;
  else if (nIDTool != 0) pWnd->GetClientRect(&ti.rect);
  ti.lpszText = const_cast<LPSTR>(lpszText);
  return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  return AddTool(pWnd, MAKEINTRESOURCE(nIDText), lpRectTool, nIDTool);
}

void CToolTipCtrl::DelTool(CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ::SendMessageA(m_hWnd, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPSTR>(lpszText);
  ::SendMessageA(m_hWnd, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&ti));
}

BOOL CToolTipCtrl::GetToolInfo(TOOLINFO& ToolInfo, CWnd* pWnd, UINT_PTR nIDTool) const {
  FillInToolInfo(ToolInfo, pWnd, nIDTool);
  return static_cast<BOOL>(::SendMessageA(m_hWnd, TTM_GETTOOLINFOA, 0, reinterpret_cast<LPARAM>(&ToolInfo)));
}

void CToolTipCtrl::SetToolRect(CWnd* pWnd, UINT_PTR nIDTool, LPCRECT lpRect) {
  TOOLINFO ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRect) ti.rect = *lpRect;
  ::SendMessageA(m_hWnd, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&ti));
}

// ---------------------------------------------------------------- CImageList drag

BOOL CImageList::BeginDrag(int nImage, CPoint ptHotSpot) {
  return ImageList_BeginDrag(m_hImageList, nImage, ptHotSpot.x, ptHotSpot.y);
}
BOOL PASCAL CImageList::DragEnter(CWnd* pWndLock, CPoint point) {
  return ImageList_DragEnter(AfxSafeHwnd(pWndLock), point.x, point.y);
}
BOOL PASCAL CImageList::DragMove(CPoint pt) { return ImageList_DragMove(pt.x, pt.y); }
BOOL PASCAL CImageList::DragShowNolock(BOOL bShow) { return ImageList_DragShowNolock(bShow); }
BOOL PASCAL CImageList::DragLeave(CWnd* pWndLock) { return ImageList_DragLeave(AfxSafeHwnd(pWndLock)); }
void PASCAL CImageList::EndDrag() { ImageList_EndDrag(); }

// ---------------------------------------------------------------- CTabCtrl, CStatusBarCtrl

IMPLEMENT_DYNAMIC(CTabCtrl, CWnd)
IMPLEMENT_DYNAMIC(CStatusBarCtrl, CWnd)

BOOL CTabCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  PlatformRegisterCommonControls();
  return CWnd::Create(WC_TABCONTROL, nullptr, dwStyle, rect, pParentWnd, nID);
}

LONG CTabCtrl::InsertItem(UINT nMask, int nItem, LPCTSTR lpszItem, int nImage, LPARAM lParam) {
  TCITEM item{};
  item.mask = nMask;
  item.pszText = const_cast<LPSTR>(lpszItem);
  item.iImage = nImage;
  item.lParam = lParam;
  return InsertItem(nItem, &item);
}

LONG CTabCtrl::InsertItem(int nItem, LPCTSTR lpszItem) { return InsertItem(TCIF_TEXT, nItem, lpszItem, 0, 0); }

CImageList* CTabCtrl::SetImageList(CImageList* pImageList) {
  auto old = reinterpret_cast<HIMAGELIST>(::SendMessageA(
      m_hWnd, TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle() : nullptr)));
  return old ? CImageList::FromHandle(old) : nullptr;
}

CImageList* CTabCtrl::GetImageList() const {
  auto list = reinterpret_cast<HIMAGELIST>(::SendMessageA(m_hWnd, TCM_GETIMAGELIST, 0, 0));
  return list ? CImageList::FromHandle(list) : nullptr;
}

BOOL CStatusBarCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  PlatformRegisterCommonControls();
  return CWnd::Create(STATUSCLASSNAME, nullptr, dwStyle, rect, pParentWnd, nID);
}

CString CStatusBarCtrl::GetText(int nPane, int* pType) const {
  LRESULT info = ::SendMessageA(m_hWnd, SB_GETTEXTLENGTHA, nPane, 0);
  std::vector<char> buf(static_cast<size_t>(LOWORD(info)) + 1, '\0');
  ::SendMessageA(m_hWnd, SB_GETTEXTA, nPane, reinterpret_cast<LPARAM>(buf.data()));
  if (pType) *pType = HIWORD(info);
  return CString(buf.data());
}

// ---------------------------------------------------------------- CTreeCtrl

IMPLEMENT_DYNAMIC(CTreeCtrl, CWnd)

BOOL CTreeCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  PlatformRegisterCommonControls();
  return CWnd::Create(WC_TREEVIEW, nullptr, dwStyle, rect, pParentWnd, nID);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, int nImage, int nSelectedImage, HTREEITEM hParent,
                                HTREEITEM hInsertAfter) {
  TVINSERTSTRUCT tvi{};
  tvi.hParent = hParent;
  tvi.hInsertAfter = hInsertAfter;
  tvi.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  tvi.item.pszText = const_cast<LPSTR>(lpszItem);
  tvi.item.iImage = nImage;
  tvi.item.iSelectedImage = nSelectedImage;
  return InsertItem(&tvi);
}

HTREEITEM CTreeCtrl::InsertItem(LPCTSTR lpszItem, HTREEITEM hParent, HTREEITEM hInsertAfter) {
  return InsertItem(lpszItem, 0, 0, hParent, hInsertAfter);
}

CString CTreeCtrl::GetItemText(HTREEITEM hItem) const {
  char buf[1024] = {0};
  TVITEM item{};
  item.mask = TVIF_TEXT;
  item.hItem = hItem;
  item.pszText = buf;
  item.cchTextMax = sizeof(buf);
  GetItem(&item);
  return CString(buf);
}

BOOL CTreeCtrl::SetItemText(HTREEITEM hItem, LPCTSTR lpszItem) {
  TVITEM item{};
  item.mask = TVIF_TEXT;
  item.hItem = hItem;
  item.pszText = const_cast<LPSTR>(lpszItem);
  return SetItem(&item);
}

DWORD_PTR CTreeCtrl::GetItemData(HTREEITEM hItem) const {
  TVITEM item{};
  item.mask = TVIF_PARAM;
  item.hItem = hItem;
  return GetItem(&item) ? static_cast<DWORD_PTR>(item.lParam) : 0;
}

BOOL CTreeCtrl::SetItemData(HTREEITEM hItem, DWORD_PTR dwData) {
  TVITEM item{};
  item.mask = TVIF_PARAM;
  item.hItem = hItem;
  item.lParam = static_cast<LPARAM>(dwData);
  return SetItem(&item);
}

UINT CTreeCtrl::GetItemState(HTREEITEM hItem, UINT nStateMask) const {
  TVITEM item{};
  item.mask = TVIF_STATE;
  item.hItem = hItem;
  item.stateMask = nStateMask;
  return GetItem(&item) ? (item.state & nStateMask) : 0;
}

BOOL CTreeCtrl::GetItemRect(HTREEITEM hItem, LPRECT lpRect, BOOL bTextOnly) const {
  if (!lpRect) return FALSE;
  *reinterpret_cast<HTREEITEM*>(lpRect) = hItem;
  return static_cast<BOOL>(Send(TVM_GETITEMRECT, bTextOnly, reinterpret_cast<LPARAM>(lpRect)));
}

HTREEITEM CTreeCtrl::HitTest(CPoint pt, UINT* pFlags) const {
  TVHITTESTINFO info{};
  info.pt = pt;
  auto h = reinterpret_cast<HTREEITEM>(Send(TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)));
  if (pFlags) *pFlags = info.flags;
  return h;
}

CImageList* CTreeCtrl::SetImageList(CImageList* pImageList, int nImageListType) {
  auto old = reinterpret_cast<HIMAGELIST>(Send(TVM_SETIMAGELIST, static_cast<WPARAM>(nImageListType),
                                               reinterpret_cast<LPARAM>(pImageList ? pImageList->GetSafeHandle()
                                                                                   : nullptr)));
  return old ? CImageList::FromHandle(old) : nullptr;
}

// ---------------------------------------------------------------- tooltips of windows

namespace {

// One tooltip control per thread serves every window that enabled tooltips;
// it holds at most the one tool under the mouse.
struct ThreadToolTip {
  HWND tip = nullptr;
  HWND owner = nullptr;  // the window whose hit test named the tool
  INT_PTR hit = -1;
  TOOLINFOA tool{};
};
thread_local ThreadToolTip tToolTip;

HWND ToolTipWindow() {
  if (!::IsWindow(tToolTip.tip)) {
    PlatformRegisterCommonControls();
    tToolTip.tip = ::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0,
                                     nullptr, nullptr, nullptr, nullptr);
    tToolTip.hit = -1;
  }
  return tToolTip.tip;
}

void DropTool() {
  if (tToolTip.hit != -1 && ::IsWindow(tToolTip.tip))
    ::SendMessageA(tToolTip.tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tToolTip.tool));
  tToolTip.hit = -1;
  tToolTip.owner = nullptr;
}

}  // namespace

BOOL CWnd::EnableToolTips(BOOL bEnable) {
  if (!bEnable) {
    m_nFlags &= ~WF_TOOLTIPS;
    if (tToolTip.owner == m_hWnd) DropTool();
    return TRUE;
  }
  m_nFlags |= WF_TOOLTIPS;
  return ToolTipWindow() != nullptr;
}

// The child control under the point is the tool, its text asked for by TTN_NEEDTEXT.
INT_PTR CWnd::OnToolHitTest(CPoint point, TOOLINFOA* pTI) const {
  HWND child = ::ChildWindowFromPoint(m_hWnd, point);
  if (!child || child == m_hWnd || !pTI) return -1;
  pTI->hwnd = m_hWnd;
  pTI->uId = reinterpret_cast<UINT_PTR>(child);
  pTI->uFlags |= TTF_IDISHWND;
  pTI->lpszText = LPSTR_TEXTCALLBACK;
  return ::GetDlgCtrlID(child);
}

void PASCAL CWnd::FilterToolTipMessage(MSG* pMsg) {
  if (!pMsg || pMsg->message < WM_MOUSEFIRST || pMsg->message > WM_MOUSELAST) return;
  CWnd* owner = nullptr;
  for (HWND h = pMsg->hwnd; h && !owner; h = ::GetParent(h)) {
    CWnd* w = FromHandlePermanent(h);
    if (w && (w->m_nFlags & WF_TOOLTIPS)) owner = w;
  }
  if (!owner) {
    if (tToolTip.hit != -1) DropTool();
    return;
  }
  HWND tip = ToolTipWindow();
  if (!tip) return;
  CPoint pt(pMsg->pt);
  owner->ScreenToClient(&pt);
  TOOLINFOA ti{};
  ti.cbSize = sizeof ti;
  INT_PTR hit = owner->OnToolHitTest(pt, &ti);
  if (hit != tToolTip.hit || owner->m_hWnd != tToolTip.owner) {
    DropTool();
    if (hit != -1) {
      if (!(ti.uFlags & TTF_IDISHWND) && ::IsRectEmpty(&ti.rect)) ::GetClientRect(ti.hwnd, &ti.rect);
      ::SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti));
      tToolTip.tool = ti;
      tToolTip.hit = hit;
      tToolTip.owner = owner->m_hWnd;
    }
  }
  if (hit == -1) return;
  // The tool's own window and coordinates, as the tooltip matches them.
  MSG relay = *pMsg;
  HWND toolWnd = (ti.uFlags & TTF_IDISHWND) ? reinterpret_cast<HWND>(ti.uId) : ti.hwnd;
  CPoint local(pMsg->pt);
  ::ScreenToClient(toolWnd, &local);
  relay.hwnd = toolWnd;
  relay.lParam = MAKELPARAM(local.x, local.y);
  ::SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
}
