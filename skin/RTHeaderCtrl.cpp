#include "RTHeaderCtrl.h"

#include "SkinSlot.h"

IMPLEMENT_DYNAMIC(CRTHeaderCtrl, CHeaderCtrl)

BEGIN_MESSAGE_MAP(CRTHeaderCtrl, CHeaderCtrl)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_NOTIFY_REFLECT(HDN_TRACKA, OnTrack)
ON_NOTIFY_REFLECT(HDN_ENDTRACKA, OnTrack)
ON_MESSAGE(HDM_LAYOUT, OnLayout)
END_MESSAGE_MAP()

namespace {

// The image of a column by its sort mark: sorted up wins over sorted down.
int SlotOfFormat(int format) {
  if (format & HDF_SORTUP) return SkinImageSet::kFocus;
  if (format & HDF_SORTDOWN) return SkinImageSet::kDown;
  return SkinImageSet::kNormal;
}

}  // namespace

void CRTHeaderCtrl::PreSubclassWindow() {
  // Columns resize when the divider is released; only the line moves before.
  ModifyStyle(HDS_FULLDRAG, 0);
  CHeaderCtrl::PreSubclassWindow();
}

BOOL CRTHeaderCtrl::OnEraseBkgnd(CDC* pDC) {
  if (s_skinEnabled) return FALSE;  // the paint covers everything
  return CHeaderCtrl::OnEraseBkgnd(pDC);
}

void CRTHeaderCtrl::DrawItemFace(CDC* dc, int index) {
  char text[256] = {};
  HDITEM item{};
  item.mask = HDI_TEXT | HDI_FORMAT | HDI_ORDER;
  item.pszText = text;
  item.cchTextMax = sizeof text - 1;
  if (!GetItem(index, &item)) return;
  CRect rect;
  if (!GetItemRect(index, &rect)) return;
  const int slot = SlotOfFormat(item.fmt);
  DrawSkinSlot(dc, rect, s_images, slot);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (item.fmt & HDF_RIGHT) {
    rect.right -= kTextInset;
    format |= DT_RIGHT;
  } else if (item.fmt & HDF_CENTER) {
    format |= DT_CENTER;
  } else {
    rect.left += kTextInset;
  }
  dc->DrawText(text, -1, &rect, format);
}

void CRTHeaderCtrl::OnPaint() {
  if (!s_skinEnabled) {
    Default();
    return;
  }
  PAINTSTRUCT ps;
  CDC* target = BeginPaint(&ps);
  CRect client;
  GetClientRect(&client);
  {
    CRTMemDC dc(target, client);
    DrawSkinSlot(&dc, client, s_images, SkinImageSet::kBack);
    dc.SetBkMode(TRANSPARENT);
    CRTControlFontSelector font(&dc, this);
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) DrawItemFace(&dc, i);
  }
  EndPaint(&ps);
}

// A divider moves or was released: the list goes back to its first row and
// one step left; its next paint brings the skinned bars along.
void CRTHeaderCtrl::OnTrack(NMHDR*, LRESULT* pResult) {
  *pResult = 0;
  CWnd* list = GetParent();
  if (!list) return;
  HWND self = m_hWnd;
  list->SendMessage(WM_VSCROLL, SB_TOP, 0);
  if (::IsWindow(self) && ::IsWindow(list->m_hWnd)) list->SendMessage(WM_HSCROLL, SB_LINELEFT, 0);
}

// One and a half times the default height, and the rows begin below it.
LRESULT CRTHeaderCtrl::OnLayout(WPARAM, LPARAM lParam) {
  const LRESULT result = Default();
  auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
  if (result && layout && layout->pwpos && layout->prc) {
    layout->pwpos->cy = layout->pwpos->cy * 3 / 2;
    layout->prc->top = layout->pwpos->y + layout->pwpos->cy;
  }
  return result;
}
