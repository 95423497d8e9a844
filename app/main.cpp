// The program Trellian: the one application object, built among the static
// initialisers, and the class library's entry.
#include <cstdio>
#include <string>

#include "CWizardApp.h"
#include "Module.h"
#include "X11Display.h"

CWizardApp theApp;

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  // Without its windows the program would hold its ports invisibly, and the
  // next start would find them taken: say why and stop before taking any.
  std::string unopened;
  if (!PlatformChooseDisplay(&unopened)) {
    if (unopened.empty())
      std::fprintf(stderr, "Trellian: no X display: DISPLAY is not set\n");
    else
      std::fprintf(stderr, "Trellian: cannot open the X display \"%s\"\n", unopened.c_str());
    return 1;
  }
  return AfxWinMain(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
}
