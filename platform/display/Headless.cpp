#include <atomic>

#include "Display.h"

namespace {
PlatformDisplayBackend headless;
std::atomic<PlatformDisplayBackend*> current{&headless};
}  // namespace

PlatformDisplayBackend* PlatformDisplay() { return current.load(); }

void PlatformSetDisplay(PlatformDisplayBackend* backend) { current.store(backend ? backend : &headless); }
