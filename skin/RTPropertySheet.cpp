#include "RTPropertySheet.h"

IMPLEMENT_DYNAMIC(CRTPropertySheet, CPropertySheet)

BEGIN_MESSAGE_MAP(CRTPropertySheet, CPropertySheet)
  ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const UINT kApplyButtonId = 0x3021;
const UINT kTabControlId = 0x3020;

// How the sheet's non-client handling differs from the skinned dialog's.
CaptionRules SheetRules() {
  CaptionRules rules;
  rules.activeLook = CaptionRules::ActiveLook::kFromActivation;
  rules.menuBar = false;
  rules.rightButton = false;
  rules.clientMouseMove = false;
  // The sheet never draws the maximize and minimize buttons, so their places
  // are caption like the rest.
  rules.closeButtonOnly = true;
  return rules;
}

}  // namespace

CRTPropertySheet::CRTPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(nIDCaption, pParentWnd, iSelectPage),
      m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 1, SheetRules()) {}

CRTPropertySheet::CRTPropertySheet(LPCTSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
    : CPropertySheet(pszCaption, pParentWnd, iSelectPage),
      m_caption(this, [this](UINT m, WPARAM w, LPARAM l) { return CallDefault(m, w, l); }, 1, SheetRules()) {}

BOOL CRTPropertySheet::OnInitDialog() {
  const BOOL result = CPropertySheet::OnInitDialog();
  m_ok.SubclassDlgItem(IDOK, this);
  m_cancel.SubclassDlgItem(IDCANCEL, this);
  m_apply.SubclassDlgItem(kApplyButtonId, this);
  m_tabs.SubclassDlgItem(kTabControlId, this);
  return result;
}

SkinCaptionLook CRTPropertySheet::CaptionLook() {
  SkinCaptionLook look = SkinCaptionLook::Of<CRTPropertySheet>();
  look.frameX = ::GetSystemMetrics(SM_CXDLGFRAME);
  look.frameY = ::GetSystemMetrics(SM_CYDLGFRAME);
  look.captionHeight = ::GetSystemMetrics(SM_CYCAPTION);
  look.captionRightInset = ::GetSystemMetrics(SM_CYDLGFRAME);
  look.iconLeft = 1;
  look.textLeftWithIcon = look.captionHeight;
  look.systemTextColors = true;
  return look;
}

LRESULT CRTPropertySheet::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  return m_caption.WindowProc(CaptionLook(), message, wParam, lParam);
}

BOOL CRTPropertySheet::OnEraseBkgnd(CDC* pDC) {
  CBitmap* image = s_back.images[0];
  if (!image) return CPropertySheet::OnEraseBkgnd(pDC);
  CRect client;
  GetClientRect(&client);
  BITMAP info{};
  image->GetBitmap(&info);
  CDC mem;
  mem.CreateCompatibleDC(pDC);
  CBitmap* old = mem.SelectObject(image);
  pDC->StretchBlt(0, 0, client.Width(), client.Height(), &mem, 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
  mem.SelectObject(old);
  return TRUE;
}
