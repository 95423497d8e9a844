// The apply page (134): the member store above, the log below, and the
// hidden value controls that the page's variable lists are bound to.
#include "ApplyRes.h"

#include "CommCtrl.h"
#include "Controls.h"
#include "Resource.h"
#include "WizardRes.h"

namespace {

using namespace rc;

const DWORD kListBox = LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                       WS_VSCROLL | WS_HSCROLL;
const DWORD kStore = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP;
const DWORD kDropList = CBS_DROPDOWNLIST | WS_VSCROLL;

const DialogTemplate kApplyPage = {
    WS_CHILD | DS_CONTROL | DS_SETFONT,
    0,
    0, 0, 312, 212,
    "",
    "MS Sans Serif", 8,
    "",
    {
        Control("", IDC_APPLY_STORE, WC_LISTVIEW, kStore, 4, 4, 304, 92),
        ListBox(IDC_APPLY_LOG, 4, 100, 304, 108, kListBox),
        Hidden(ComboBox(IDC_APPLY_AP_MODE, 4, 4, 60, 60, kDropList)),
        Hidden(ComboBox(IDC_APPLY_GROUP_STATUS, 4, 4, 60, 60, kDropList)),
        Hidden(ComboBox(IDC_APPLY_MODE_SELECT, 4, 4, 60, 60, kDropList)),
        Hidden(EditText(IDC_APPLY_GROUP_NAME, 4, 4, 60, 12, ES_AUTOHSCROLL)),
        Hidden(EditText(IDC_APPLY_GROUP_PASSWORD, 4, 4, 60, 12, ES_AUTOHSCROLL)),
        Hidden(ComboBox(IDC_APPLY_SETTING_APPLY, 4, 4, 60, 60, kDropList)),
        Hidden(EditText(IDC_APPLY_VERSION, 4, 4, 60, 12, ES_AUTOHSCROLL)),
        Hidden(ComboBox(IDC_APPLY_RESTART, 4, 4, 60, 60, kDropList)),
        Hidden(EditText(IDC_APPLY_USERS_NAME, 4, 4, 60, 12, ES_AUTOHSCROLL)),
        Hidden(EditText(IDC_APPLY_USERS_PASSWORD, 4, 4, 60, 12, ES_AUTOHSCROLL)),
        Hidden(AutoCheckBox("SSID", IDC_APPLY_SYNC_SSID, 4, 4, 60, 10)),
        Hidden(AutoCheckBox("SSIDVISI", IDC_APPLY_SYNC_SSIDVISI, 4, 4, 60, 10)),
        Hidden(AutoCheckBox("AUTOCHANNEL", IDC_APPLY_SYNC_AUTOCHANNEL, 4, 4, 60, 10)),
        Hidden(AutoCheckBox("Security", IDC_APPLY_SYNC_SECURITY, 4, 4, 60, 10)),
        Hidden(AutoCheckBox("login", IDC_APPLY_SYNC_LOGIN, 4, 4, 60, 10)),
    },
};

const ResourceRegistrar kRegister([] { PlatformAddDialog(MAKEINTRESOURCEA(IDD_PAGE_APPLY), &kApplyPage); });

}  // namespace
