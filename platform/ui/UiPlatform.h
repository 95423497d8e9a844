// Seams of the window manager for the layers above it (class layer, dialog
// manager, display backends) and for the test kit. The program itself never
// calls these.
#pragma once

#include <functional>
#include <string>

#include "Surface.h"
#include "WinUser.h"

// Sees every call of a window procedure (sent or dispatched), before it runs.
typedef std::function<void(HWND, UINT, WPARAM, LPARAM)> PlatformMessageSpy;
PLATFORM_API void PlatformSetMessageSpy(PlatformMessageSpy spy);

// Called right after a window's record exists and before its first message;
// the class layer attaches the C++ object being created here. Hooks form a
// chain, called in the order they were added, so that one added later (a
// test, another layer) cannot take the class layer's place.
typedef void (*PlatformCreateHook)(HWND hwnd, CREATESTRUCTA* cs);
PLATFORM_API void PlatformAddCreateHook(PlatformCreateHook hook);
// Called once the window's handle has become invalid (after WM_NCDESTROY).
typedef void (*PlatformDestroyHook)(HWND hwnd);
PLATFORM_API void PlatformAddDestroyHook(PlatformDestroyHook hook);

// Modal loops. The loop runs until `done` says so or WM_QUIT arrives (which it
// posts again and returns FALSE). `filter` may take a message before it is
// dispatched (the dialog manager's keyboard handling); it returns TRUE when it
// took the message. The modal hook is called with the modal window once the
// loop starts, so that a test can read the window and answer it.
PLATFORM_API BOOL PlatformRunModalLoop(HWND modal, const std::function<bool()>& done,
                                       const std::function<bool(MSG*)>& filter);
typedef std::function<void(HWND)> PlatformModalHook;
PLATFORM_API void PlatformSetModalHook(PlatformModalHook hook);

// The platform's own per-window data (window scroll bars, dialog state) lives
// in one slot of the window record, a part per kind, and goes with the record
// right after WM_NCDESTROY. A part is made by `make` on first use (no `make`:
// only an existing part is returned); NULL for a window that is gone. The
// pointer stays valid while the window lives; guarding its contents across
// threads is the part's business.
struct PlatformWindowPart {
  virtual ~PlatformWindowPart() = default;
};
PLATFORM_API PlatformWindowPart* PlatformWindowPartOf(HWND hwnd, const char* kind, PlatformWindowPart* (*make)());
template <typename Part>
Part* PlatformPartOf(HWND hwnd, bool create = true) {
  PlatformWindowPart* (*make)() = [] { return static_cast<PlatformWindowPart*>(new Part); };
  return static_cast<Part*>(PlatformWindowPartOf(hwnd, Part::kKind, create ? make : nullptr));
}

// The parent a window was created with (controls keep notifying it after SetParent).
PLATFORM_API HWND PlatformGetCreationParent(HWND hwnd);

// The surface a window paints into (its top-level's) and where the window's
// top-left corner lies on it.
PLATFORM_API PlatformSurface* PlatformGetWindowSurface(HWND hwnd, POINT* windowOrigin);

// Input as a display (or a test) delivers it: routed through capture, hit
// testing and focus, and queued for the owning thread like real input.
// `msg` is one of WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_RBUTTONDOWN/UP,
// WM_MBUTTONDOWN/UP, WM_MOUSEWHEEL (with `wheel`); `pt` is in screen coordinates.
// A display that reports which modifiers were held before each event passes
// them in `held` (kHeld... bits): the key states then follow what the user
// holds, also when a key-up went elsewhere (the window manager kept Alt+F4,
// the window under the key went). -1: only key-downs and key-ups count.
enum { kHeldShift = 1, kHeldControl = 2, kHeldAlt = 4 };
PLATFORM_API void PlatformInjectMouse(UINT msg, POINT pt, int wheel = 0, int held = -1);
PLATFORM_API void PlatformInjectKey(UINT vk, BOOL down, int held = -1);
// The modifiers held, as the display learnt when the program got the
// keyboard back (the keys pressed meanwhile went to other programs).
PLATFORM_API void PlatformInjectHeldModifiers(int held);

// The text a message box shows (empty for other windows).
PLATFORM_API std::string PlatformMessageBoxText(HWND hwnd);
// Message boxes record what they showed: caption and text, in order.
struct PlatformMessageBoxRecord {
  std::string caption;
  std::string text;
  UINT type;
};
typedef std::function<void(const PlatformMessageBoxRecord&)> PlatformMessageBoxObserver;
PLATFORM_API void PlatformSetMessageBoxObserver(PlatformMessageBoxObserver observer);

// How many times MessageBeep was called in this process (the display rings
// its bell, if it has one, each time).
PLATFORM_API int PlatformBeepCount();

// Resets the per-process input state (focus, capture, active window, cursor
// position, key states); for tests that run one after another in one process.
PLATFORM_API void PlatformResetInputState();
