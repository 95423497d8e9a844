// The program Trellian: the one application object, built among the static
// initialisers, and the class library's entry.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "CWizardApp.h"
#include "Clock.h"
#include "Module.h"
#include "PageRegistry.h"
#include "X11Display.h"

CWizardApp theApp;

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  // For tests only: the end-to-end tests run the program against simulated
  // devices whose time passes N times faster (apsim --time-scale N), and the
  // program's clock must keep pace with theirs, or its 40 s scans and its
  // waits for rebooting devices would take real minutes.
  if (const char* scale = std::getenv("TRELLIAN_TIME_SCALE")) PlatformClockSetScale(std::atof(scale));
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
  RegisterWizardPages();
  return AfxWinMain(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
}
