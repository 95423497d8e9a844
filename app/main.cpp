// The program Trellian: the one application object, built among the static
// initialisers, and the class library's entry.
#include <cstdlib>

#include "CWizardApp.h"
#include "Clock.h"
#include "Module.h"

CWizardApp theApp;

int main(int argc, char** argv) {
  (void)argc;
  (void)argv;
  // For tests only: the end-to-end tests run the program against simulated
  // devices whose time passes N times faster (apsim --time-scale N), and the
  // program's clock must keep pace with theirs, or its 40 s scans and its
  // waits for rebooting devices would take real minutes.
  if (const char* scale = std::getenv("TRELLIAN_TIME_SCALE")) PlatformClockSetScale(std::atof(scale));
  return AfxWinMain(::GetModuleHandle(nullptr), nullptr, const_cast<LPTSTR>(""), SW_SHOWNORMAL);
}
