#include "DelayPumpMessages.h"

#include <atomic>
#include <chrono>

#include "afxwin.h"

namespace {

std::atomic<DelayObserver> g_observer{nullptr};

clock_t Wait(int n) {
  const clock_t start = clock();
  const clock_t length = clock_t(n) * 10;
  for (;;) {
    const clock_t now = clock();
    const clock_t passed = now - start;
    if (passed >= length) return now;
    MSG msg;
    if (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (msg.message == WM_QUIT) return clock();
      AfxPumpMessage();
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(length - passed), QS_ALLINPUT);
    }
  }
}

}  // namespace

void SetDelayObserver(DelayObserver observer) { g_observer = observer; }

clock_t DelayPumpMessages(int n) {
  const DelayObserver observer = g_observer;
  if (!observer) return Wait(n);
  const auto begin = std::chrono::steady_clock::now();
  const clock_t last = Wait(n);
  observer(n, std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - begin).count());
  return last;
}
