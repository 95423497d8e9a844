#include <atomic>
#include <mutex>

#include "Display.h"
#include "X11Display.h"

namespace {
PlatformDisplayBackend headless;
std::atomic<PlatformDisplayBackend*> current{&headless};
std::once_flag chosen;
}  // namespace

// The environment decides at first use, unless a backend was installed before.
PlatformDisplayBackend* PlatformDisplay() {
  std::call_once(chosen, [] {
    if (PlatformDisplayBackend* b = PlatformDisplayFromEnvironment()) current.store(b);
  });
  return current.load();
}

void PlatformSetDisplay(PlatformDisplayBackend* backend) {
  std::call_once(chosen, [] {});
  current.store(backend ? backend : &headless);
}
