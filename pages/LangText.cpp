#include "LangText.h"

#include "CWizardApp.h"

CString LangText(CWizardApp* app, LPCTSTR key) { return app ? app->Text(key) : CString(); }

void SetLangText(CWnd& window, CWizardApp* app, LPCTSTR key) { window.SetWindowText(LangText(app, key)); }
