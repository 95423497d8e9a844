// Where the wizard's core meets its pages and dialogs. The pages library
// registers a factory per page template id and the two dialogs the apply
// engine shows when the program calls RegisterWizardPages()
// (pages/PageRegistry.h); the frames and the engine reach them only through
// the calls below, so the core includes no page header.
//
// Until something is registered, a frame gets a plain CWizardPage on the
// template (no page class is faked; the apply page, template 134, is the
// core's own CApplyPage), ShowSkinMessage shows a plain message
// box and AskDevicePassword answers Cancel.
#pragma once

#include <functional>

#include "afxwin.h"

class CWizardPage;

// A new page object for the template id, not yet created as a window.
using WizardPageFactory = std::function<CWizardPage*()>;
// Shows `text` modally; IDOK or IDCANCEL.
using SkinMessageHandler = std::function<int(const CString& text, BOOL okCancel)>;
// Asks for the password of the device at ip/mac; IDCANCEL when the operator
// cancels, otherwise `password` holds what was typed.
using DevicePasswordHandler = std::function<int(const CString& ip, const CString& mac, CString& password)>;

void RegisterWizardPage(UINT templateId, WizardPageFactory factory);
void RegisterSkinMessage(SkinMessageHandler handler);
void RegisterDevicePassword(DevicePasswordHandler handler);

// The registered page for the template; without one, what `fallback` makes,
// else a plain CWizardPage. A test's scripted page thus stands in even for a
// page the core makes itself.
CWizardPage* MakeWizardPage(UINT templateId, const WizardPageFactory& fallback = nullptr);
int ShowSkinMessage(const CString& text, BOOL okCancel);
int AskDevicePassword(const CString& ip, const CString& mac, CString& password);
