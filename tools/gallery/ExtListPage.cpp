// The gallery's extended-list page: a list laid out like the apply page's
// member store, with progress cells at several positions, a disabled row, a
// bold cell and a column of check boxes with a check box in its header,
// written as extlist.png.
#include <string>

#include "CExtListCtrl.h"
#include "CommCtrl.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

enum Column { kIndex, kRole, kIpAddress, kMacAddress, kLocation, kReboot, kAction, kStatus };

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace

bool ExtLists(const std::string& out) {
  PlatformRegisterCommonControls();
  CWnd page;
  page.CreateEx(0, nullptr, "apply", WS_POPUP | WS_VISIBLE, 40, 40, 680, 150, nullptr, nullptr);
  CClickListCtrl list;
  list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(0, 0, 680, 150), &page, 1104);
  list.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const struct {
    const char* title;
    int width;
  } columns[] = {{"Index", 0},        {"Role", 90},   {"IPAddress", 100}, {"MacAddress", 100},
                 {"Location", 80},    {"Reboot", 70}, {"Action", 120},    {"Status", 110}};
  for (int i = 0; i < 8; ++i) list.InsertColumn(i, columns[i].title, LVCFMT_LEFT, columns[i].width);
  const char* rows[][5] = {{"Master", "10.250.0.11", "0011223344AA", "Hall", " OK!"},
                           {"Backup Master", "10.250.0.12", "0011223344BB", "Office", "Setting IP..."},
                           {"Slave", "10.250.0.13", "0011223344CC", "Lab", "Setting IP..."},
                           {"Slave", "10.250.0.14", "0011223344DD", "Store", "Waiting"},
                           {"Slave", "10.250.0.15", "0011223344EE", "Garage", " Error!"}};
  const int progress[] = {100, 37, 0, -1, -1};
  for (int r = 0; r < 5; ++r) {
    list.InsertItem(r, std::to_string(r).c_str());
    const int cells[] = {kRole, kIpAddress, kMacAddress, kLocation, kStatus};
    for (int c = 0; c < 5; ++c) list.SetItemText(r, cells[c], rows[r][c]);
    list.SetCheckbox(r, kReboot, r < 3 ? 1 : 0);
    if (progress[r] >= 0) {
      list.SetProgress(r, kAction, TRUE, nullptr, TRUE);
      list.UpdateProgress(r, kAction, progress[r]);
    }
  }
  list.SetHeaderCheckedState(kReboot, 1);
  list.SetBold(0, kStatus, TRUE);
  list.SetEnabled(3, FALSE);
  list.SetCurSel(4, FALSE);
  page.UpdateWindow();
  Pump();
  bool ok = SaveWindowPng(page.m_hWnd, out + "/extlist.png");
  page.DestroyWindow();
  return ok;
}
