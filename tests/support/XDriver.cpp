#include "XDriver.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "X11Display.h"

namespace {

void Nap(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

// Pixel components of any true-colour visual as 8 bits.
struct Channel {
  explicit Channel(unsigned long mask) : mask(mask) {
    while (mask && !(mask & 1)) mask >>= 1, ++shift;
    max = mask;
  }
  uint32_t To8(unsigned long pixel) const {
    return max ? static_cast<uint32_t>(((pixel & mask) >> shift) * 255 / max) : 0;
  }
  unsigned long mask;
  int shift = 0;
  unsigned long max = 0;
};

}  // namespace

XDriver::XDriver(const std::string& display) : name_(display) {
  dpy_ = XOpenDisplay(display.c_str());
  if (!dpy_) return;
  int event, error, major, minor;
  if (!XTestQueryExtension(dpy_, &event, &error, &major, &minor)) {
    XCloseDisplay(dpy_);
    dpy_ = nullptr;
    return;
  }
  // The server tells every client that asks when any client rings the bell.
  int opcode, xkbMajor = XkbMajorVersion, xkbMinor = XkbMinorVersion;
  if (XkbQueryExtension(dpy_, &opcode, &xkbEvent_, &error, &xkbMajor, &xkbMinor))
    XkbSelectEvents(dpy_, XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask);
  else
    xkbEvent_ = -1;
}

int XDriver::Bells() {
  if (xkbEvent_ < 0) return -1;
  XSync(dpy_, False);
  while (XPending(dpy_) > 0) {
    XEvent ev;
    XNextEvent(dpy_, &ev);
    if (ev.type == xkbEvent_ && reinterpret_cast<XkbAnyEvent*>(&ev)->xkb_type == XkbBellNotify) ++bells_;
  }
  return bells_;
}

XDriver::~XDriver() {
  if (dpy_) XCloseDisplay(dpy_);
}

unsigned long XDriver::Search(unsigned long window, const std::string& title, int depth) {
  char* name = nullptr;
  if (XFetchName(dpy_, window, &name) && name) {
    const bool match = title == name;
    XFree(name);
    if (match && IsMapped(window)) return window;
  }
  if (depth == 0) return 0;
  ::Window root, parent, *children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(dpy_, window, &root, &parent, &children, &count)) return 0;
  unsigned long found = 0;
  // Topmost first: a window of that name stacked over another wins.
  for (unsigned i = count; i-- > 0 && !found;) found = Search(children[i], title, depth - 1);
  if (children) XFree(children);
  return found;
}

unsigned long XDriver::WindowTitled(const std::string& title) {
  if (!dpy_) return 0;
  // A window manager puts each client into a frame, and openbox a frame
  // into a few more windows: a depth of four reaches any of them.
  return Search(DefaultRootWindow(dpy_), title, 4);
}

unsigned long XDriver::WaitForWindow(const std::string& title, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (unsigned long w = WindowTitled(title)) return w;
    if (std::chrono::steady_clock::now() >= deadline) return 0;
    Nap(20);
  }
}

bool XDriver::WaitWindowGone(const std::string& title, int ms) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  for (;;) {
    if (!WindowTitled(title)) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    Nap(20);
  }
}

bool XDriver::IsMapped(unsigned long window) {
  XWindowAttributes wa{};
  return dpy_ && XGetWindowAttributes(dpy_, window, &wa) && wa.map_state == IsViewable;
}

XDriver::Box XDriver::Geometry(unsigned long window) {
  XWindowAttributes wa{};
  ::Window child;
  int x = 0, y = 0;
  if (!dpy_ || !XGetWindowAttributes(dpy_, window, &wa) ||
      !XTranslateCoordinates(dpy_, window, DefaultRootWindow(dpy_), 0, 0, &x, &y, &child))
    return {};
  return Box{x, y, wa.width, wa.height};
}

bool XDriver::HasWindowManager() {
  // The manager of screen 0 holds the WM_S0 selection (ICCCM).
  Atom selection = XInternAtom(dpy_, "WM_S0", False);
  return XGetSelectionOwner(dpy_, selection) != None;
}

void XDriver::Iconify(unsigned long window) {
  XIconifyWindow(dpy_, window, DefaultScreen(dpy_));
  Settle();
}

void XDriver::Restore(unsigned long window) {
  // What a task bar does: map it again and ask the manager to activate it.
  XMapRaised(dpy_, window);
  XEvent ev{};
  ev.xclient.type = ClientMessage;
  ev.xclient.window = window;
  ev.xclient.message_type = XInternAtom(dpy_, "_NET_ACTIVE_WINDOW", False);
  ev.xclient.format = 32;
  ev.xclient.data.l[0] = 2;  // from a pager
  ev.xclient.data.l[1] = CurrentTime;
  XSendEvent(dpy_, DefaultRootWindow(dpy_), False, SubstructureRedirectMask | SubstructureNotifyMask, &ev);
  Settle();
}

void XDriver::MoveTo(Point at) {
  XTestFakeMotionEvent(dpy_, DefaultScreen(dpy_), at.x, at.y, 0);
  XFlush(dpy_);
}

void XDriver::Press(int button) {
  XTestFakeButtonEvent(dpy_, button, True, 0);
  XFlush(dpy_);
}

void XDriver::Release(int button) {
  XTestFakeButtonEvent(dpy_, button, False, 0);
  XFlush(dpy_);
}

void XDriver::Click(Point at, int button) {
  MoveTo(at);
  Settle(30);
  Press(button);
  Settle(30);
  Release(button);
  Settle();
}

void XDriver::DoubleClick(Point at) {
  MoveTo(at);
  Settle(30);
  for (int i = 0; i < 2; ++i) {
    Press(1);
    Release(1);
  }
  Settle();
}

void XDriver::Drag(Point from, Point to, int steps) {
  MoveTo(from);
  Settle(30);
  Press(1);
  Settle(30);
  for (int i = 1; i <= steps; ++i) {
    MoveTo(Point{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    Settle(20);
  }
  Settle(60);
  Release(1);
  Settle();
}

void XDriver::Wheel(Point at, int notches) {
  MoveTo(at);
  Settle(30);
  const int button = notches > 0 ? 4 : 5;
  for (int i = 0; i < std::abs(notches); ++i) {
    Press(button);
    Release(button);
  }
  Settle();
}

void XDriver::KeyEvent(unsigned long keysym, bool down) {
  KeyCode code = XKeysymToKeycode(dpy_, keysym);
  if (!code) return;
  XTestFakeKeyEvent(dpy_, code, down ? True : False, 0);
  XFlush(dpy_);
}

void XDriver::Key(const std::string& chord) {
  std::vector<KeySym> held;
  size_t start = 0;
  for (;;) {
    size_t plus = chord.find('+', start);
    std::string part = chord.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
    if (plus == std::string::npos || part.empty()) {
      if (part.empty()) part = "plus";
      KeySym key = XStringToKeysym(part.c_str());
      for (KeySym m : held) KeyEvent(m, true);
      KeyEvent(key, true);
      KeyEvent(key, false);
      for (auto m = held.rbegin(); m != held.rend(); ++m) KeyEvent(*m, false);
      break;
    }
    if (part == "shift")
      held.push_back(XK_Shift_L);
    else if (part == "ctrl")
      held.push_back(XK_Control_L);
    else if (part == "alt")
      held.push_back(XK_Alt_L);
    start = plus + 1;
  }
  Settle(40);
}

void XDriver::Type(const std::string& text) {
  for (unsigned char c : text) {
    KeySym key = c == ' ' ? XK_space : static_cast<KeySym>(c);  // Latin-1 keysyms are the characters
    KeyCode code = XKeysymToKeycode(dpy_, key);
    if (!code) continue;
    // Shift when the character is the key's second symbol.
    const bool shift = XkbKeycodeToKeysym(dpy_, code, 0, 0) != key;
    if (shift) KeyEvent(XK_Shift_L, true);
    XTestFakeKeyEvent(dpy_, code, True, 0);
    XTestFakeKeyEvent(dpy_, code, False, 0);
    if (shift) KeyEvent(XK_Shift_L, false);
    XFlush(dpy_);
    Settle(10);
  }
  Settle();
}

XDriver::Image XDriver::Grab(Box box) {
  Image image;
  XImage* img = XGetImage(dpy_, DefaultRootWindow(dpy_), box.x, box.y, box.width, box.height, AllPlanes, ZPixmap);
  if (!img) return image;
  image.box = box;
  image.pixels.resize(static_cast<size_t>(box.width) * box.height);
  Channel r(img->red_mask), g(img->green_mask), b(img->blue_mask);
  for (int y = 0; y < box.height; ++y)
    for (int x = 0; x < box.width; ++x) {
      unsigned long p = XGetPixel(img, x, y);
      image.pixels[static_cast<size_t>(y) * box.width + x] = (r.To8(p) << 16) | (g.To8(p) << 8) | b.To8(p);
    }
  XDestroyImage(img);
  return image;
}

uint32_t XDriver::Pixel(Point at) {
  Image one = Grab(Box{at.x, at.y, 1, 1});
  return one.pixels.empty() ? 0 : one.pixels[0];
}

bool XDriver::SavePng(const std::string& path) {
  XSync(dpy_, False);
  return PlatformX11ScreenshotPng(name_.c_str(), 0, path.c_str());
}

void XDriver::Settle(int ms) {
  XSync(dpy_, False);
  Nap(ms);
}
