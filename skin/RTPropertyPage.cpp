#include "RTPropertyPage.h"

#include "SkinDraw.h"

IMPLEMENT_DYNCREATE(CRTPropertyPage, CPropertyPage)

BEGIN_MESSAGE_MAP(CRTPropertyPage, CPropertyPage)
  ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

CRTPropertyPage::~CRTPropertyPage() { m_brush.DeleteObject(); }

void CRTPropertyPage::DoDataExchange(CDataExchange*) {}

LRESULT CRTPropertyPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND && s_skinEnabled && s_images.images[0]) {
    CRect client;
    GetClientRect(&client);
    DrawSkinBitmap(CDC::FromHandle(reinterpret_cast<HDC>(wParam)), client, s_images.images[0], s_images.modes[0]);
    return 1;
  }
  return CPropertyPage::WindowProc(message, wParam, lParam);
}

BOOL CRTPropertyPage::OnInitDialog() {
  CPropertyPage::OnInitDialog();
  m_brush.DeleteObject();
  m_brush.CreateStockObject(NULL_BRUSH);
  return TRUE;
}

HBRUSH CRTPropertyPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor) {
  CPropertyPage::OnCtlColor(pDC, pWnd, nCtlColor);
  pDC->SetBkMode(TRANSPARENT);
  return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}
