// The seam between the window manager and whatever shows top-level windows.
// Headless keeps surfaces in memory only; an X11 backend puts each visible
// top-level window on the screen and turns X input into window messages.
#pragma once

#include <string>

#include "Types.h"

class PlatformDisplayBackend {
 public:
  virtual ~PlatformDisplayBackend() = default;
  // A top-level window became visible, was hidden, moved or resized, or is gone.
  virtual void WindowShown(HWND) {}
  virtual void WindowHidden(HWND) {}
  virtual void WindowMoved(HWND) {}
  virtual void WindowDestroyed(HWND) {}
  // A top-level window changed its place in the z-order (SetWindowPos without SWP_NOZORDER).
  virtual void WindowRestacked(HWND) {}
  // A visible top-level window was minimised or restored (IsIconic tells which).
  virtual void WindowStateChanged(HWND) {}
  // Whether the display can keep a minimised window and give it back (an X
  // server with no window manager has nowhere to keep it: minimising would
  // only lose the window).
  virtual bool CanMinimize() { return true; }
  // The program made a top-level window the active one (null: none is). With
  // no window manager to do it, the display gives that window the keyboard.
  virtual void WindowActivated(HWND) {}
  // MessageBeep: the display's bell, if it has one.
  virtual void Beep() {}
  // The mouse capture went to a window (its top-level window takes the pointer) or was released (null).
  virtual void CaptureChanged(HWND) {}
  // SetCursor chose another cursor (null hides it).
  virtual void CursorChanged(HCURSOR) {}
  // Painting into a top-level window's surface has finished (`dirty` in surface coordinates).
  virtual void SurfacePainted(HWND, const RECT& /*dirty*/) {}
  // A descriptor the GUI thread's wait polls (or -1), and what to do when it is readable:
  // turn pending events into input (PlatformInjectMouse/Key) and repaints.
  virtual int WaitDescriptor() { return -1; }
  virtual void DescriptorReady() {}
  // Before a wait on the descriptor: takes in the events the display already holds, which
  // the descriptor would not show.
  virtual void TakeQueuedEvents() {}
  // The clipboard's text changed (empty when it was emptied): offer it to other programs.
  virtual void ClipboardTextChanged(const std::string&) {}
  // When another program holds the clipboard: true, with its text as the clipboard keeps text
  // (PlatformClipboardTextFromSelection), empty when it offers none. False when the clipboard is
  // ours or nobody's.
  virtual bool ForeignClipboardText(std::string&) { return false; }
};

// The backend in use. At first use the environment chooses (X11 when DISPLAY is
// set and TRELLIAN_DISPLAY is not "headless"), unless one was installed before.
PLATFORM_API PlatformDisplayBackend* PlatformDisplay();
// Installs a backend (the caller keeps ownership); null goes back to headless.
PLATFORM_API void PlatformSetDisplay(PlatformDisplayBackend* backend);
