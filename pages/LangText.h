// The language text of a key through the application object, and a window
// labelled with it. No application object (a window made outside the
// program) reads as the language file's missing key: an empty text.
#pragma once

#include "afxwin.h"

class CWizardApp;

CString LangText(CWizardApp* app, LPCTSTR key);
void SetLangText(CWnd& window, CWizardApp* app, LPCTSTR key);
