#include "RTDialog.h"

#include "SkinDraw.h"

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
  SkinCaptionLook look = SkinCaptionLook::Of<CRTDialog>();
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
  return m_caption.WindowProc(CaptionLook(), message, wParam, lParam);
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
