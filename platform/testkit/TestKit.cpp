#include "TestKit.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "Clock.h"
#include "Files.h"
#include "GdiInternal.h"
#include "ListBoxInternal.h"

namespace testkit {

void SetClockScale(double scale) { PlatformClockSetScale(scale); }
void AdvanceClock(ULONGLONG milliseconds) { PlatformClockAdvance(milliseconds); }

int PumpPending() {
  int n = 0;
  MSG msg;
  // A bound, so that a window that never validates cannot hang a test.
  while (n < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
    ++n;
  }
  return n;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  ULONGLONG deadline = GetTickCount64() + timeoutMs;
  for (;;) {
    PumpPending();
    if (done()) return true;
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return false;
    // Short slices: the condition may be made true by another thread without any message.
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 10)),
                              QS_ALLINPUT);
  }
}

void PumpFor(DWORD milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

ModalHandler::ModalHandler(std::function<void(HWND)> handler) { PlatformSetModalHook(std::move(handler)); }
ModalHandler::~ModalHandler() { PlatformSetModalHook(nullptr); }

void Answer(HWND modal, int id) { PostMessageA(modal, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

std::string MessageBoxText(HWND box) { return PlatformMessageBoxText(box); }

void SetProgramPath(const std::string& path) { PlatformSetProgramPath(path.c_str()); }

MessageBoxLog::MessageBoxLog() {
  PlatformSetMessageBoxObserver([this](const PlatformMessageBoxRecord& r) { records.push_back(r); });
}
MessageBoxLog::~MessageBoxLog() { PlatformSetMessageBoxObserver(nullptr); }

MessageSpy::MessageSpy() {
  PlatformSetMessageSpy([this](HWND h, UINT m, WPARAM w, LPARAM l) { messages.push_back(SpiedMessage{h, m, w, l}); });
}
MessageSpy::~MessageSpy() { PlatformSetMessageSpy(nullptr); }

std::vector<UINT> MessageSpy::Of(HWND hwnd, const std::vector<UINT>& only) const {
  std::vector<UINT> out;
  for (const SpiedMessage& m : messages) {
    if (m.hwnd != hwnd) continue;
    bool wanted = only.empty();
    for (UINT o : only) wanted = wanted || o == m.msg;
    if (wanted) out.push_back(m.msg);
  }
  return out;
}

void MouseMove(POINT screen) { PlatformInjectMouse(WM_MOUSEMOVE, screen); }
void MouseDown(POINT screen, UINT button) { PlatformInjectMouse(button, screen); }
void MouseUp(POINT screen, UINT button) { PlatformInjectMouse(button, screen); }

void Click(HWND hwnd, POINT client) {
  ClientToScreen(hwnd, &client);
  MouseMove(client);
  MouseDown(client);
  MouseUp(client);
}

void KeyDown(UINT vk) { PlatformInjectKey(vk, TRUE); }
void KeyUp(UINT vk) { PlatformInjectKey(vk, FALSE); }
void PressKey(UINT vk) {
  KeyDown(vk);
  KeyUp(vk);
}

void TypeText(const std::string& text) {
  static const char kShifted[] = ")!@#$%^&*(";
  for (char c : text) {
    UINT vk = 0;
    bool shift = false;
    if (std::isalpha(static_cast<unsigned char>(c))) {
      vk = static_cast<UINT>(std::toupper(static_cast<unsigned char>(c)));
      shift = std::isupper(static_cast<unsigned char>(c)) != 0;
    } else if (std::isdigit(static_cast<unsigned char>(c))) {
      vk = static_cast<UINT>(c);
    } else if (const char* p = strchr(kShifted, c); p && c) {
      vk = static_cast<UINT>('0' + (p - kShifted));
      shift = true;
    } else {
      switch (c) {
        case ' ': vk = VK_SPACE; break;
        case '.': vk = VK_OEM_PERIOD; break;
        case ',': vk = VK_OEM_COMMA; break;
        case '-': vk = VK_OEM_MINUS; break;
        case '_': vk = VK_OEM_MINUS; shift = true; break;
        case '=': vk = VK_OEM_PLUS; break;
        case '+': vk = VK_OEM_PLUS; shift = true; break;
        case ';': vk = VK_OEM_1; break;
        case ':': vk = VK_OEM_1; shift = true; break;
        case '/': vk = VK_OEM_2; break;
        case '?': vk = VK_OEM_2; shift = true; break;
        case '\r': case '\n': vk = VK_RETURN; break;
        case '\t': vk = VK_TAB; break;
        default: continue;
      }
    }
    if (shift) KeyDown(VK_SHIFT);
    PressKey(vk);
    if (shift) KeyUp(VK_SHIFT);
  }
}

bool CaptureWindowPng(HWND hwnd, const std::string& path) {
  POINT origin;
  PlatformSurface* surface = PlatformGetWindowSurface(hwnd, &origin);
  RECT rc;
  if (!surface || !GetWindowRect(hwnd, &rc)) return false;
  PlatformSurface cut;
  cut.Resize(rc.right - rc.left, rc.bottom - rc.top);
  for (int y = 0; y < cut.height; ++y) {
    for (int x = 0; x < cut.width; ++x) {
      int sx = origin.x + x, sy = origin.y + y;
      if (sx >= 0 && sy >= 0 && sx < surface->width && sy < surface->height) cut.Row(y)[x] = surface->Row(sy)[sx];
    }
  }
  return PlatformWritePng(cut, path.c_str()) != FALSE;
}

uint32_t WindowPixel(HWND hwnd, int x, int y) {
  POINT origin;
  PlatformSurface* surface = PlatformGetWindowSurface(hwnd, &origin);
  if (!surface) return 0;
  int sx = origin.x + x, sy = origin.y + y;
  if (sx < 0 || sy < 0 || sx >= surface->width || sy >= surface->height) return 0;
  return surface->Row(sy)[sx];
}

static BOOL CALLBACK DestroyEach(HWND hwnd, LPARAM) {
  if (GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId()) DestroyWindow(hwnd);
  return TRUE;
}

int LiveGdiObjects() { return PlatformLiveGdiObjects(); }

int BeepCount() { return PlatformBeepCount(); }

void SetListBoxCapacity(int items) { PlatformSetListBoxCapacity(items); }

void ResetWindows() {
  PlatformSetListBoxCapacity(0);
  EnumWindows(DestroyEach, 0);
  PlatformResetInputState();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace testkit
