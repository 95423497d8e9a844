#include "BackdropDialog.h"

#include "DialogPagesRes.h"
#include "SkinDraw.h"

BEGIN_MESSAGE_MAP(CBackdropDialog, CRTDialog)
  ON_WM_ERASEBKGND()
  ON_WM_PAINT()
END_MESSAGE_MAP()

BOOL CBackdropDialog::OnEraseBkgnd(CDC*) { return TRUE; }

void CBackdropDialog::OnPaint() {
  CPaintDC dc(this);
  CRect client;
  GetClientRect(&client);
  CBitmap backdrop;
  if (!backdrop.LoadBitmap(IDB_DIALOG_BACKDROP)) return;
  // Averaged, so that the shrunk picture keeps its smooth shading; the
  // default mode would AND the rows it drops into streaks.
  const int oldMode = dc.SetStretchBltMode(HALFTONE);
  DrawSkinBitmap(&dc, client, &backdrop, kSkinStretch);
  dc.SetStretchBltMode(oldMode);
}
