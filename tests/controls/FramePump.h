// Pumps the thread's messages as the program's own message loop does: each
// message first walks the pre-translate tree of its window and its parents,
// where controls take their keys.
#pragma once

#include "afxwin.h"

inline void PumpWithPreTranslate() {
  MSG msg;
  int n = 0;
  while (n++ < 100000 && ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (CWnd::WalkPreTranslateTree(nullptr, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
}
