#include "CExtHeaderCtrl.h"

#include <algorithm>

namespace {

const COLORREF kCheckFrame = 0x996633;
const int kCheckBoxSide = 13;
enum HeaderCheck { kNoCheckBox = 0, kCheckClear = 1, kCheckTicked = 2 };
const int kTextBuffer = 80;

void VerticalLine(HDC dc, int x, int top, int bottom) {
  MoveToEx(dc, x, top, nullptr);
  LineTo(dc, x, bottom);
}

}  // namespace

void DrawListCheckBox(HDC dc, const RECT& box, bool ticked, COLORREF tick) {
  FillRect(dc, &box, GetSysColorBrush(COLOR_WINDOW));
  HBRUSH frame = CreateSolidBrush(kCheckFrame);
  FrameRect(dc, &box, frame);
  DeleteObject(frame);
  if (!ticked) return;
  HPEN pen = CreatePen(PS_SOLID, 1, tick);
  HGDIOBJ old = SelectObject(dc, pen);
  int x = box.left + 9, y = box.top + 3;
  for (int i = 0; i < 4; ++i, --x, ++y) VerticalLine(dc, x, y, y + 3);
  for (int i = 0; i < 3; ++i, --x, --y) VerticalLine(dc, x, y, y + 3);
  SelectObject(dc, old);
  DeleteObject(pen);
}

IMPLEMENT_DYNCREATE(CExtHeaderCtrl, CHeaderCtrl)

BEGIN_MESSAGE_MAP(CExtHeaderCtrl, CHeaderCtrl)
  ON_WM_PAINT()
  ON_WM_ERASEBKGND()
  ON_WM_LBUTTONDBLCLK()
  ON_WM_SYSCOLORCHANGE()
  ON_MESSAGE(HDM_SETIMAGELIST, OnSetImageList)
  ON_MESSAGE(HDM_LAYOUT, OnLayout)
END_MESSAGE_MAP()

CExtHeaderCtrl::CExtHeaderCtrl() : m_crText(::GetSysColor(COLOR_BTNTEXT)) { ReadColors(); }

CExtHeaderCtrl::~CExtHeaderCtrl() = default;

void CExtHeaderCtrl::ReadColors() {
  m_crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
  m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
  m_crFace = ::GetSysColor(COLOR_BTNFACE);
  m_crButtonText = ::GetSysColor(COLOR_BTNTEXT);
}

BOOL CExtHeaderCtrl::SetStyleValue(int kind, int value) {
  switch (kind) {
    case kSpacing: m_nSpacing = value; break;
    case kLayoutBorder: m_bLayoutBorder = value; break;
    case kUnused2:
    case kUnused4: break;
    default: return FALSE;
  }
  if (m_hWnd) Invalidate();
  return TRUE;
}

void CExtHeaderCtrl::DrawItem(LPDRAWITEMSTRUCT) {}

void CExtHeaderCtrl::OnPaint() {
  PAINTSTRUCT ps;
  HDC screen = ::BeginPaint(m_hWnd, &ps);
  const RECT& area = ps.rcPaint;
  if (!m_bDoubleBuffer || area.right <= area.left || area.bottom <= area.top) {
    PaintItems(screen);
    ::EndPaint(m_hWnd, &ps);
    return;
  }
  int w = area.right - area.left, h = area.bottom - area.top;
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ oldBmp = SelectObject(mem, bmp);
  SetWindowOrgEx(mem, area.left, area.top, nullptr);
  IntersectClipRect(mem, area.left, area.top, area.right, area.bottom);
  PaintItems(mem);
  SetWindowOrgEx(mem, 0, 0, nullptr);
  BitBlt(screen, area.left, area.top, w, h, mem, 0, 0, SRCCOPY);
  SelectObject(mem, oldBmp);
  DeleteObject(bmp);
  DeleteDC(mem);
  ::EndPaint(m_hWnd, &ps);
}

void CExtHeaderCtrl::PaintItems(HDC dc) {
  RECT clip;
  GetClipBox(dc, &clip);
  HBRUSH face = CreateSolidBrush(m_crFace);
  FillRect(dc, &clip, face);
  DeleteObject(face);
  auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SetBkColor(dc, m_crFace);
  SetTextColor(dc, m_crButtonText);

  int count = GetItemCount(), total = 0;
  for (int order = 0; order < count; ++order) {
    int index = OrderToIndex(order);
    char text[kTextBuffer] = "";
    HDITEM item{};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_BITMAP | HDI_IMAGE;
    item.pszText = text;
    item.cchTextMax = kTextBuffer;
    GetItem(index, &item);
    RECT rc;
    GetItemRect(index, &rc);
    total += item.cxy;
    if (item.fmt & HDF_OWNERDRAW) {
      DRAWITEMSTRUCT dis{};
      dis.CtlType = ODT_HEADER;
      dis.CtlID = static_cast<UINT>(GetDlgCtrlID());
      dis.itemID = static_cast<UINT>(index);
      dis.itemAction = ODA_DRAWENTIRE;
      dis.hwndItem = m_hWnd;
      dis.hDC = dc;
      dis.rcItem = rc;
      DrawItem(&dis);
    } else {
      CDC* pDC = CDC::FromHandle(dc);
      DrawItem(pDC, rc.left + m_nSpacing, rc.top, rc.right - m_nSpacing, rc.bottom, &item);
    }
    if (m_bDividers && order < count - 1) DrawDivider(dc, rc);
  }
  if (total > 0) {
    CRect client;
    GetClientRect(&client);
    client.right = client.left + total;
    CDC::FromHandle(dc)->Draw3dRect(&client, m_crHighlight, m_crShadow);
  }
  SelectObject(dc, oldFont);
}

void CExtHeaderCtrl::DrawDivider(HDC dc, const RECT& item) {
  HPEN shadow = CreatePen(PS_SOLID, 1, m_crShadow);
  HPEN light = CreatePen(PS_SOLID, 1, m_crHighlight);
  HGDIOBJ old = SelectObject(dc, shadow);
  VerticalLine(dc, item.right - 1, item.top + 2, item.bottom - 2);
  SelectObject(dc, light);
  VerticalLine(dc, item.right, item.top + 2, item.bottom - 2);
  SelectObject(dc, old);
  DeleteObject(shadow);
  DeleteObject(light);
}

void CExtHeaderCtrl::DrawItem(CDC* pDC, int left, int top, int right, int bottom, HDITEM* item) {
  HDC dc = pDC->GetSafeHdc();
  RECT rc{left, top, right, bottom};
  int used = DrawImage(dc, rc, *item);
  if (used) rc.left += used + m_nSpacing;
  if ((item->fmt & HDF_BITMAP) && item->hbm) {
    used = DrawBitmap(dc, rc, *item);
    if (used) rc.right -= used + m_nSpacing;
  }
  if (item->pszText && (item->fmt & HDF_STRING) && rc.right > rc.left) DrawText(dc, rc, *item);
}

int CExtHeaderCtrl::DrawImage(HDC dc, const RECT& rc, const HDITEM& item) {
  int width = rc.right - rc.left;
  if (item.iImage == kNoCheckBox || width <= 0) return 0;
  auto images = reinterpret_cast<HIMAGELIST>(SendMessage(HDM_GETIMAGELIST, 0, 0));
  if (images) {
    int top = (rc.top + rc.bottom) / 2 - (m_nImageHeight + 1) / 2;
    COLORREF oldBk = ImageList_SetBkColor(images, GetBkColor(dc));
    ImageList_DrawEx(images, item.iImage, dc, rc.left, top, std::min(m_nImageWidth, width), m_nImageHeight,
                     CLR_DEFAULT, CLR_DEFAULT, ILD_NORMAL);
    ImageList_SetBkColor(images, oldBk);
    return m_nImageWidth;
  }
  RECT box;
  box.left = rc.left;
  box.top = rc.top + (rc.bottom - rc.top - kCheckBoxSide) / 2;
  box.right = box.left + kCheckBoxSide;
  box.bottom = box.top + kCheckBoxSide;
  DrawListCheckBox(dc, box, item.iImage == kCheckTicked, RGB(51, 153, 51));
  return kCheckBoxSide;
}

int CExtHeaderCtrl::DrawBitmap(HDC dc, const RECT& rc, const HDITEM& item) {
  BITMAP bm{};
  if (!GetObject(item.hbm, sizeof(bm), &bm) || bm.bmWidth > rc.right - rc.left) return 0;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, item.hbm);
  BitBlt(dc, rc.right - bm.bmWidth, rc.top + (rc.bottom - rc.top - bm.bmHeight) / 2, bm.bmWidth, bm.bmHeight, mem, 0,
         0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
  return bm.bmWidth;
}

int CExtHeaderCtrl::DrawText(HDC dc, const RECT& rc, const HDITEM& item) {
  int align = m_nTextAlign >= 0 ? m_nTextAlign : item.fmt & HDF_JUSTIFYMASK;
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
  format |= align == HDF_CENTER ? DT_CENTER : align == HDF_RIGHT ? DT_RIGHT : DT_LEFT;
  COLORREF old = SetTextColor(dc, m_crText);
  RECT box = rc;
  ::DrawTextA(dc, item.pszText, -1, &box, format);
  SetTextColor(dc, old);
  SIZE size{};
  GetTextExtentPoint32A(dc, item.pszText, static_cast<int>(strlen(item.pszText)), &size);
  return std::min(static_cast<int>(size.cx), static_cast<int>(rc.right - rc.left));
}

BOOL CExtHeaderCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

// A double click acts as a second press, so a divider double click never
// auto-sizes a column.
void CExtHeaderCtrl::OnLButtonDblClk(UINT nFlags, CPoint point) {
  SendMessage(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
}

void CExtHeaderCtrl::OnSysColorChange() {
  Default();
  ReadColors();
}

LRESULT CExtHeaderCtrl::OnSetImageList(WPARAM, LPARAM lParam) {
  auto images = reinterpret_cast<HIMAGELIST>(lParam);
  IMAGEINFO info{};
  if (images && ImageList_GetImageInfo(images, 0, &info)) {
    m_nImageWidth = info.rcImage.right - info.rcImage.left;
    m_nImageHeight = info.rcImage.bottom - info.rcImage.top;
  }
  return Default();
}

LRESULT CExtHeaderCtrl::OnLayout(WPARAM, LPARAM lParam) {
  auto* layout = reinterpret_cast<HDLAYOUT*>(lParam);
  if (m_bLayoutBorder && layout && layout->prc) layout->prc->right += 2 * ::GetSystemMetrics(SM_CXBORDER);
  return Default();
}
