// The gallery's in-cell combo page: a role column of the extended list with
// its combo box open over a cell and the drop-down showing the choices,
// written as cellcombo_open.png.
#include <algorithm>
#include <string>

#include "CComboDropWnd.h"
#include "CExtCellCombo.h"
#include "CExtListCtrl.h"
#include "CommCtrl.h"
#include "GalleryPages.h"

namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

bool WriteCellCombo(const std::string& out) {
  InitCommonControls();
  CWnd host;
  LPCTSTR cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  if (!host.CreateEx(0, cls, "cell combo", WS_POPUP | WS_VISIBLE, 40, 40, 400, 170, nullptr, nullptr)) return false;
  CFont font;
  font.CreatePointFont(80, "MS Sans Serif");
  host.SetFont(&font, FALSE);
  CExtListCtrl list;
  if (!list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(10, 10, 390, 160), &host,
                   1)) {
    host.DestroyWindow();
    return false;
  }
  list.SetFont(&font, FALSE);
  const char* columns[] = {"Device", "Role", "IP address"};
  const int widths[] = {110, 120, 140};
  for (int i = 0; i < 3; ++i) list.InsertColumn(i, columns[i], LVCFMT_LEFT, widths[i]);
  CStringArray roles;
  roles.Add("Master");
  roles.Add("Backup Master");
  roles.Add("Slave");
  const char* names[] = {"RIZ-4410 hall", "RIZ-4410 lab", "RIZ-4410 store"};
  const char* addresses[] = {"192.168.10.2", "192.168.10.3", "192.168.10.4"};
  const int role[] = {0, 2, 2};
  for (int row = 0; row < 3; ++row) {
    list.InsertItem(row, names[row]);
    list.SetItemText(row, 2, addresses[row]);
    list.SetComboBox(row, 1, TRUE, &roles, 5, role[row], FALSE);
  }
  host.UpdateWindow();
  Pump();
  list.DrawComboBox(1, 1);
  CExtCellCombo* combo = list.GetCellCombo();
  bool ok = combo != nullptr;
  if (ok) {
    combo->ShowDropDown(TRUE);
    Pump();
    CComboDropWnd* drop = combo->GetDropWnd();
    ok = drop != nullptr;
    if (ok) {
      CComboDropList* rows = drop->GetListBox();
      rows->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(30, rows->RowHeight() + 4));  // track the second row
      Pump();
      list.UpdateWindow();
      combo->UpdateWindow();
      drop->UpdateWindow();
      rows->UpdateWindow();
      CRect hostRect, dropRect;
      host.GetWindowRect(&hostRect);
      drop->GetWindowRect(&dropRect);
      RECT area{hostRect.left, hostRect.top, std::max(hostRect.right, dropRect.right) + 10,
                std::max(hostRect.bottom, dropRect.bottom) + 10};
      ok = SaveScreenPng(area, {host.m_hWnd, combo->m_hWnd, drop->m_hWnd}, out + "/cellcombo_open.png");
    }
  }
  list.DestroyWindow();
  host.DestroyWindow();
  return ok;
}

GalleryPage page("cellcombo", WriteCellCombo);

}  // namespace
