// The pages' registrations with the wizard core (WizardUi.h): a factory per
// page template, and the two dialogs the apply engine shows. The program, and
// every test or benchmark that runs the wizard with its real pages, calls
// RegisterWizardPages() once before the first frame opens; the call names
// every page file's registration, so a page file left out of the link fails
// the link instead of leaving its frame a blank page.
#pragma once

// Registers everything below. Only the first call does: a test that
// registered a stand-in after it keeps it.
void RegisterWizardPages();

// One per page file, beside its classes.
void RegisterGroupNamePage();
void RegisterScanPages();
void RegisterMemberPage();
void RegisterModifyMembersPage();
void RegisterWirelessPages();
void RegisterCompletionPages();
void RegisterStatusListPage();
void RegisterSkinMessageBox();
void RegisterDevicePasswordDlg();
