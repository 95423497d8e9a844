// The program Trellian: the one application object, built among the static
// initialisers, and the class library's entry.
#include "CWizardApp.h"
#include "Module.h"

CWizardApp theApp;

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  return AfxWinMain(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
}
