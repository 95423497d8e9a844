#include "WizardUi.h"

#include <map>

#include "CWizardApp.h"
#include "CWizardPage.h"
#include "DeviceTask.h"
#include "FormatLangText.h"
#include "QUAVError.h"

namespace {

// Function-local, so that a registration made by another file's static
// initialiser (a test's stand-in) finds them built whatever the order.
std::map<UINT, WizardPageFactory>& Pages() {
  static std::map<UINT, WizardPageFactory> pages;
  return pages;
}
SkinMessageHandler& SkinMessage() {
  static SkinMessageHandler handler;
  return handler;
}
DevicePasswordHandler& DevicePassword() {
  static DevicePasswordHandler handler;
  return handler;
}

// A socket failure means the network cannot be used at all (no route, no
// address): the operator learns that, and what the library said. Any other
// failure is shown as the library words it.
void ShowQUAVFailureBox(int code, const CString& text) {
  const bool network = code == QUAV_SOCKET_NOT_READY || code == QUAV_SOCKET_ERROR || code == QUAV_WINSOCK_FAILED;
  auto* app = dynamic_cast<CWizardApp*>(::AfxGetApp());
  const CString format = network && app ? app->Text("IDS_MSG_NETWORK_FAIL") : CString();
  ShowSkinMessage(format.IsEmpty() ? text : FormatLangText(format, {text}), FALSE);
}

// The core's own use of the seam, in place wherever the core is linked.
[[maybe_unused]] const bool kShowFailuresInMessageBox = (SetQUAVFailureShower(ShowQUAVFailureBox), true);

}  // namespace

void RegisterWizardPage(UINT templateId, WizardPageFactory factory) { Pages()[templateId] = std::move(factory); }
void RegisterSkinMessage(SkinMessageHandler handler) { SkinMessage() = std::move(handler); }
void RegisterDevicePassword(DevicePasswordHandler handler) { DevicePassword() = std::move(handler); }

CWizardPage* MakeWizardPage(UINT templateId, const WizardPageFactory& fallback) {
  auto it = Pages().find(templateId);
  if (it != Pages().end() && it->second) return it->second();
  if (fallback) return fallback();
  return new CWizardPage(templateId, nullptr);
}

int ShowSkinMessage(const CString& text, BOOL okCancel) {
  if (SkinMessage()) return SkinMessage()(text, okCancel);
  return ::MessageBox(nullptr, text, "", okCancel ? MB_OKCANCEL : MB_OK);
}

int AskDevicePassword(const CString& ip, const CString& mac, CString& password) {
  if (DevicePassword()) return DevicePassword()(ip, mac, password);
  return IDCANCEL;
}
