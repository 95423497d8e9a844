// What the tests of the message box, the password dialogs, the group name
// page and the completion pages share: the application object with the
// program's language file, the program's skin, and window helpers.
#pragma once

#include <functional>
#include <string>

#include "CWizardApp.h"
#include "afxwin.h"

extern CWizardApp theApp;

namespace dialogtest {

// The language text of `key`, as the windows read it.
std::string Text(const char* key);
// The window text of a control of `dialog`.
std::string ItemText(HWND dialog, int id);
bool ItemVisible(HWND dialog, int id);
// Paints what is pending, then writes <binary dir>/screens/<name>.png.
void Capture(HWND window, const std::string& name);
// Client coordinates of `window` to the window coordinates WindowPixel takes.
POINT ClientToWindow(HWND window, POINT client);
// Runs `modal` (a DoModal) while `handler` sees each modal window that
// opens; the handler must answer the window it is given.
INT_PTR RunModal(const std::function<INT_PTR()>& modal, const std::function<void(HWND)>& handler);

}  // namespace dialogtest
