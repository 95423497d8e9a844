// Seams for tests of the program and of the platform: drive the clock, pump
// messages until a condition holds, answer modal loops, inject input, record
// message boxes and window messages, and capture windows as PNG files.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "UiPlatform.h"

namespace testkit {

// The platform clock: speed it up, or push it forward at once.
void SetClockScale(double scale);
void AdvanceClock(ULONGLONG milliseconds);

// Dispatches everything the calling thread has ready now (due timers and
// paints included), without waiting. Returns the number of messages dispatched.
int PumpPending();
// Pumps the calling thread's messages until `done` holds or `timeoutMs` of
// platform time has passed; true when `done` held.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Pumps for `milliseconds` of platform time.
void PumpFor(DWORD milliseconds);

// Called with the modal window each time a modal loop (message box, dialog)
// starts; the handler reads it and may answer it. Removed when the object goes.
class ModalHandler {
 public:
  explicit ModalHandler(std::function<void(HWND)> handler);
  ~ModalHandler();
  ModalHandler(const ModalHandler&) = delete;
  ModalHandler& operator=(const ModalHandler&) = delete;
};
// Presses a button of a modal window (IDOK, IDCANCEL, IDYES...).
void Answer(HWND modal, int id);
// The text a message box shows.
std::string MessageBoxText(HWND box);

// Every message box shown while it lives, in order.
class MessageBoxLog {
 public:
  MessageBoxLog();
  ~MessageBoxLog();
  std::vector<PlatformMessageBoxRecord> records;
};

// Every call of a window procedure while it lives.
struct SpiedMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
};
class MessageSpy {
 public:
  MessageSpy();
  ~MessageSpy();
  std::vector<SpiedMessage> messages;
  // The messages of one window, in order, optionally only those in `only`.
  std::vector<UINT> Of(HWND hwnd, const std::vector<UINT>& only = {}) const;
  void Clear() { messages.clear(); }
};

// Input, routed as a display would deliver it. Points are screen coordinates
// unless the name says client.
void MouseMove(POINT screen);
void MouseDown(POINT screen, UINT button = WM_LBUTTONDOWN);
void MouseUp(POINT screen, UINT button = WM_LBUTTONUP);
void Click(HWND hwnd, POINT client);
void KeyDown(UINT vk);
void KeyUp(UINT vk);
void PressKey(UINT vk);
// Types printable text key by key (shift where the character needs it).
void TypeText(const std::string& text);

// How many times MessageBeep has been called in this process.
int BeepCount();

// Writes the window's pixels (its top-level surface, cut to the window) as PNG.
bool CaptureWindowPng(HWND hwnd, const std::string& path);
// One pixel of a window, in window coordinates, as 0x00RRGGBB.
uint32_t WindowPixel(HWND hwnd, int x, int y);

// The GDI objects alive now, stock objects left out. A freed handle's value
// comes back for the next object, so a test that wants to see something
// released compares counts rather than handles.
int LiveGdiObjects();

// List boxes (and combo boxes' lists) take at most `items` items and answer
// LB_ERRSPACE beyond; 0 lifts the limit. ResetWindows lifts it too.
void SetListBoxCapacity(int items);

// The program path GetModuleFileName(NULL) answers (in a test it is the test
// binary): a test lays out a program folder and points here into it. An
// empty path goes back to the running file.
void SetProgramPath(const std::string& path);

// Destroys every window that is left and resets focus, capture and keys, so
// that the next test starts clean.
void ResetWindows();

}  // namespace testkit
