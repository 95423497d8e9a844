#include "Settings.h"

#include <cstdarg>
#include <cstdio>

namespace apsim {

Settings g_settings;

void Log(const char* format, ...) {
  if (g_settings.quiet) return;
  va_list args;
  va_start(args, format);
  vprintf(format, args);
  va_end(args);
  printf("\n");
  fflush(stdout);
}

Clock::duration DeviceTime(int ms) {
  return std::chrono::duration_cast<Clock::duration>(
      std::chrono::duration<double, std::milli>(ms / g_settings.timeScale));
}

bool Lost(const char* what, const std::string& mac, bool sent) {
  const double percent = sent ? g_settings.lossOut : g_settings.lossIn;
  if (percent <= 0) return false;
  if (std::uniform_real_distribution<double>(0, 100)(g_settings.lossRandom) >= percent) return false;
  Log("lose %s %s", what, mac.c_str());
  return true;
}

}  // namespace apsim
