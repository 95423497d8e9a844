#include "DelayPumpMessages.h"

#include <atomic>
#include <chrono>

#include "afxwin.h"

namespace {

std::atomic<DelayObserver> g_observer{nullptr};

clock_t Wait(int n) {
  const clock_t start = clock();
  const clock_t length = clock_t(n) * 10;
  // A quit belongs to the loop that owns the thread, and callers wait on in
  // loops of their own (until their tasks end), so it must neither end the
  // wait early nor be eaten by it. It is held aside meanwhile, since it would
  // hide the timers and paints behind it, and posted again at the end.
  bool quit = false;
  WPARAM quitCode = 0;
  clock_t now;
  for (;;) {
    now = clock();
    const clock_t passed = now - start;
    if (passed >= length) break;
    MSG msg;
    if (::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (msg.message == WM_QUIT) {
        ::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
        quit = true;
        quitCode = msg.wParam;
        continue;
      }
      AfxPumpMessage();
    } else {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(length - passed), QS_ALLINPUT);
    }
  }
  if (quit) ::PostQuitMessage(static_cast<int>(quitCode));
  return now;
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
