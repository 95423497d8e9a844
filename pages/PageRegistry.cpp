#include "PageRegistry.h"

void RegisterWizardPages() {
  static const bool registered = [] {
    RegisterGroupNamePage();
    RegisterScanPages();
    RegisterMemberPage();
    RegisterModifyMembersPage();
    RegisterWirelessPages();
    RegisterCompletionPages();
    RegisterStatusListPage();
    RegisterSkinMessageBox();
    RegisterDevicePasswordDlg();
    return true;
  }();
  (void)registered;
}
