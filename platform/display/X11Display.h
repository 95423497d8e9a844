// The X11 backend: each visible top-level window is an undecorated X window
// (pop-ups are override-redirect), painted surfaces are copied to it, and X
// input comes back as window messages.
#pragma once

#include "Display.h"

// Connects to `displayName` (null: $DISPLAY). Returns a backend to install
// with PlatformSetDisplay, or null when the display cannot be opened. The
// backend stays for the life of the process.
PLATFORM_API PlatformDisplayBackend* PlatformOpenX11Display(const char* displayName);

// The backend the environment asks for, or null for headless: X11 when
// DISPLAY is set, unless TRELLIAN_DISPLAY is "headless" (as the tests set it).
PlatformDisplayBackend* PlatformDisplayFromEnvironment();

// For a program that is nothing without its windows: chooses the display now,
// before the program takes any other resource, and installs it. The X display
// DISPLAY names, or headless when TRELLIAN_DISPLAY is "headless". FALSE when
// X was asked for and cannot be had: `*unopened` then holds the display name
// tried (empty when DISPLAY is not set), and nothing is installed.
PLATFORM_API BOOL PlatformChooseDisplay(std::string* unopened);

// The X window that shows a top-level window under the installed X11 backend (0 if none).
PLATFORM_API unsigned long PlatformX11WindowOf(HWND hwnd);

// Writes a PNG of what the X server shows: the whole screen, or only the part
// that `xwindow` covers when it is not 0.
PLATFORM_API BOOL PlatformX11ScreenshotPng(const char* displayName, unsigned long xwindow, const char* path);
