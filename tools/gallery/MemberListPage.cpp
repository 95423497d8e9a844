// The gallery's member-list page: the member page's list drawn with our own
// skin (Skin/vAdev beside the program): roles, addresses, the "Set IP" check
// boxes, the "Manually" and "Delete" icons, a selected row and the role combo
// open on the first row with its choices dropped down; written as memberlist.png.

#include <algorithm>
#include <cstdio>
#include <string>

#include "CRTListCtrlEx.h"
#include "CommCtrl.h"
#include "GalleryPages.h"
#include "RTSkin.h"


namespace {

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

bool WriteMemberList(const std::string& out) {
  const std::string skinFile = OurSkinFile();
  CRTSkin skin;
  if (!skin.LoadSkin(skinFile.c_str())) {
    std::printf("FAILED to load %s\n", skinFile.c_str());
    return false;
  }
  skin.EnableSkin(1);
  PlatformRegisterCommonControls();

  CWnd page;
  LPCTSTR cls = AfxRegisterWndClass(0, nullptr, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  page.CreateEx(0, cls, "members", WS_POPUP | WS_VISIBLE, 40, 40, 600, 190, nullptr, nullptr);
  CFont font;
  font.CreatePointFont(80, "MS Sans Serif");
  CRTListCtrlEx list;
  list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS, CRect(10, 10, 590, 180), &page, 1104);
  list.SetFont(&font, FALSE);
  list.SetExtendedStyle(LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  const struct {
    const char* title;
    int width;
  } columns[] = {{"Index", 0},      {"Role", 80},     {"IP Address", 95}, {"MAC Address", 100},
                 {"Location", 80},  {"Auto IP", 100}, {"Manually", 65},   {"Delete", 55}};
  for (int i = 0; i < 8; ++i) list.InsertColumn(i, columns[i].title, LVCFMT_LEFT, columns[i].width);
  list.SetHandCursorColumns(CRTListCtrlEx::kManualColumn, CRTListCtrlEx::kDeleteColumn);

  CStringArray roles;
  for (const char* role : {"Master", "Backup Master", "Slave"}) roles.Add(role);
  const struct {
    int role;
    const char *ip, *mac, *location;
    int autoIp;
  } members[] = {{0, "10.250.0.11", "0011223344AA", "Hall", 0},
                 {1, "10.250.0.12", "0011223344BB", "Office", 1},
                 {2, "10.250.0.13", "0011223344CC", "Lab", 1},
                 {2, "10.250.0.14", "0011223344DD", "Store", 0},
                 {2, "10.250.0.15", "0011223344EE", "Garage", 0}};
  int row = 0;
  for (const auto& m : members) {
    list.InsertItem(row, std::to_string(row + 1).c_str());
    list.SetComboBox(row, CRTListCtrlEx::kRoleColumn, TRUE, &roles, 5, m.role, FALSE);
    list.SetItemText(row, 2, m.ip);
    list.SetItemText(row, 3, m.mac);
    list.SetItemText(row, 4, m.location);
    list.SetItemText(row, CRTListCtrlEx::kCheckColumn, "Set IP");
    list.SetCheckbox(row, CRTListCtrlEx::kCheckColumn, m.autoIp);
    ++row;
  }
  list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  list.SetFocus();
  list.DrawComboBox(0, CRTListCtrlEx::kRoleColumn);
  bool ok = false;
  if (CRTCellCombo* combo = list.GetCellCombo()) {
    combo->ShowDropDown(TRUE);
    Pump();
    page.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    combo->GetComboBoxInfo(&info);
    RECT pageRect, dropRect{};
    page.GetWindowRect(&pageRect);
    if (info.hwndList) ::GetWindowRect(info.hwndList, &dropRect);
    RECT area{pageRect.left, pageRect.top, std::max(pageRect.right, dropRect.right),
              std::max(pageRect.bottom, dropRect.bottom)};
    ok = SaveScreenPng(area, {page.m_hWnd, info.hwndList}, out + "/memberlist.png");
    combo->ShowDropDown(FALSE);
  } else {
    std::printf("FAILED to open the role combo\n");
  }
  page.DestroyWindow();
  skin.EnableSkin(0);
  return ok;
}

GalleryPage page("memberlist", WriteMemberList);

}  // namespace
