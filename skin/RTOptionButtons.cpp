// The skinned radio button and check box: the system's drawing of the button,
// made off screen on the button-face colour, laid over the skin image.

#include "RTCheckBox.h"
#include "RTRadioButton.h"
#include "SkinDraw.h"

namespace {

// The system's drawing of `button` into a memory context of the client size,
// on the button-face colour; the caller copies it on with that colour left
// out.
class SystemDrawing {
 public:
  SystemDrawing(CButton* button, CDC* like, const CRect& client) {
    m_dc.CreateCompatibleDC(like);
    m_bitmap.CreateCompatibleBitmap(like, client.Width(), client.Height());
    m_old = m_dc.SelectObject(static_cast<HGDIOBJ>(m_bitmap.GetSafeHandle()));
    m_dc.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
    const WPARAM hdc = reinterpret_cast<WPARAM>(m_dc.GetSafeHdc());
    button->DefWindowProc(WM_ERASEBKGND, hdc, 0);
    button->DefWindowProc(WM_PAINT, hdc, 0);
  }
  ~SystemDrawing() { m_dc.SelectObject(m_old); }
  SystemDrawing(const SystemDrawing&) = delete;
  SystemDrawing& operator=(const SystemDrawing&) = delete;

  // Copies the drawing onto `dest` with the button face transparent.
  void LayOver(CDC* dest, const CRect& client) {
    dest->TransparentBlt(client.left, client.top, client.Width(), client.Height(), &m_dc, 0, 0, client.Width(),
                         client.Height(), ::GetSysColor(COLOR_BTNFACE));
  }

 private:
  CDC m_dc;
  CBitmap m_bitmap;
  HGDIOBJ m_old = nullptr;
};

// Skinned painting needs the switch, a button type the class takes over and
// the image to lay the button on; otherwise the system paints.
bool Skinned(const CButton& button, int enabled, bool takesOver, const SkinImageSet& images) {
  return enabled && takesOver && images.images[SkinImageSet::kBack] && button.m_hWnd;
}

// The system's drawing of `button` laid over the slot-0 image (unless
// `noBackground`); `oneCopy` puts the two together off screen first.
void PaintOverSkin(CButton* button, const SkinImageSet& images, int noBackground, bool oneCopy) {
  CPaintDC dc(button);
  CRect client;
  button->GetClientRect(&client);
  if (client.IsRectEmpty()) return;
  SystemDrawing drawing(button, &dc, client);
  if (!oneCopy) {
    if (!noBackground) DrawSkinBitmap(&dc, client, images.images[0], images.modes[0]);
    drawing.LayOver(&dc, client);
    return;
  }
  CDC whole;
  whole.CreateCompatibleDC(&dc);
  CBitmap bitmap;
  bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height());
  HGDIOBJ old = whole.SelectObject(static_cast<HGDIOBJ>(bitmap.GetSafeHandle()));
  if (!noBackground) DrawSkinBitmap(&whole, client, images.images[0], images.modes[0]);
  drawing.LayOver(&whole, client);
  dc.BitBlt(client.left, client.top, client.Width(), client.Height(), &whole, 0, 0, SRCCOPY);
  whole.SelectObject(old);
}

}  // namespace

// ---------------------------------------------------------------- radio button

BEGIN_MESSAGE_MAP(CRTRadioButton, CButton)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

bool CRTRadioButton::Skinned() const { return ::Skinned(*this, s_skinEnabled, TakesOver(GetStyle()), s_images); }

void CRTRadioButton::OnPaint() {
  if (Skinned()) PaintOverSkin(this, s_images, s_noBackground, false);
  else Default();
}

// The paint covers the whole button; erasing first would only flicker.
BOOL CRTRadioButton::OnEraseBkgnd(CDC*) {
  if (Skinned()) return TRUE;
  return static_cast<BOOL>(Default());
}

// ---------------------------------------------------------------- check box

BEGIN_MESSAGE_MAP(CRTCheckBox, CButton)
ON_WM_PAINT()
ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

void CRTCheckBox::OnPaint() {
  if (Skinned(*this, s_skinEnabled, TakesOver(GetStyle()), s_images)) PaintOverSkin(this, s_images, s_noBackground, true);
  else Default();
}

BOOL CRTCheckBox::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
