#include "DelayPumpMessages.h"

#include "afxwin.h"

clock_t DelayPumpMessages(int n) {
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
