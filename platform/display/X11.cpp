// The X11 backend. Top-level windows get an X window when they are first
// shown; the program draws its own frames and captions, so the window manager
// is asked for none. Surfaces are copied with MIT-SHM when the server shares
// memory with us (a local server), with plain XPutImage otherwise.

#include <poll.h>
#include <sys/ipc.h>
#include <sys/shm.h>

#include <algorithm>
#include <ctime>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "CRect.h"
#include "Clipboard.h"
#include "CommCtrl.h"
#include "UiPlatform.h"
#include "WindowManager.h"
#include "X11Display.h"

// Xlib last: its macros (None, True, Status...) would clash with the names above.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/cursorfont.h>
#include <X11/extensions/XShm.h>
#include <X11/keysym.h>

namespace {

// An X error (a window destroyed under us, shared memory refused by a remote
// server) must never end the program, as Xlib's default handler would.
std::atomic<unsigned> xErrors{0};
int CountXError(::Display*, XErrorEvent*) {
  ++xErrors;
  return 0;
}

// How one colour channel sits in an X pixel.
struct Channel {
  int shift = 0;
  int bits = 0;
  explicit Channel(unsigned long mask) {
    if (!mask) return;
    while (!(mask & 1)) mask >>= 1, ++shift;
    while (mask & 1) mask >>= 1, ++bits;
  }
  unsigned long From8(uint32_t v) const {
    return bits >= 8 ? static_cast<unsigned long>(v) << (shift + bits - 8)
                     : static_cast<unsigned long>(v >> (8 - bits)) << shift;
  }
  uint32_t To8(unsigned long pixel) const {
    if (!bits) return 0;
    unsigned long v = (pixel >> shift) & ((1ul << bits) - 1);
    return static_cast<uint32_t>(bits >= 8 ? v >> (bits - 8) : (v * 255) / ((1ul << bits) - 1));
  }
};

// Virtual keys and values without a name in our headers.
const UINT kVkOem4 = 0xDB;  // [ {
const UINT kVkOem5 = 0xDC;  // backslash |
const UINT kVkOem6 = 0xDD;  // ] }
const UINT kVkOem7 = 0xDE;  // ' "

// The virtual key of an unshifted keysym, 0 for keys the program never sees.
UINT VkFromKeysym(KeySym ks) {
  if (ks >= XK_a && ks <= XK_z) return static_cast<UINT>('A' + (ks - XK_a));
  if (ks >= XK_A && ks <= XK_Z) return static_cast<UINT>(ks);
  if (ks >= XK_0 && ks <= XK_9) return static_cast<UINT>(ks);
  if (ks >= XK_F1 && ks <= XK_F24) return static_cast<UINT>(VK_F1 + (ks - XK_F1));
  if (ks >= XK_KP_0 && ks <= XK_KP_9) return static_cast<UINT>(VK_NUMPAD0 + (ks - XK_KP_0));
  static const struct {
    KeySym ks;
    UINT vk;
  } table[] = {
      {XK_BackSpace, VK_BACK},
      {XK_Tab, VK_TAB},
      {XK_ISO_Left_Tab, VK_TAB},
      {XK_Return, VK_RETURN},
      {XK_KP_Enter, VK_RETURN},
      {XK_Escape, VK_ESCAPE},
      {XK_space, VK_SPACE},
      {XK_Delete, VK_DELETE},
      {XK_KP_Delete, VK_DELETE},
      {XK_Insert, VK_INSERT},
      {XK_KP_Insert, VK_INSERT},
      {XK_Home, VK_HOME},
      {XK_KP_Home, VK_HOME},
      {XK_End, VK_END},
      {XK_KP_End, VK_END},
      {XK_Prior, VK_PRIOR},
      {XK_KP_Prior, VK_PRIOR},
      {XK_Next, VK_NEXT},
      {XK_KP_Next, VK_NEXT},
      {XK_Left, VK_LEFT},
      {XK_KP_Left, VK_LEFT},
      {XK_Right, VK_RIGHT},
      {XK_KP_Right, VK_RIGHT},
      {XK_Up, VK_UP},
      {XK_KP_Up, VK_UP},
      {XK_Down, VK_DOWN},
      {XK_KP_Down, VK_DOWN},
      {XK_Shift_L, VK_SHIFT},
      {XK_Shift_R, VK_SHIFT},
      {XK_Control_L, VK_CONTROL},
      {XK_Control_R, VK_CONTROL},
      {XK_Alt_L, VK_MENU},
      {XK_Alt_R, VK_MENU},
      {XK_Meta_L, VK_MENU},
      {XK_Meta_R, VK_MENU},
      {XK_Caps_Lock, VK_CAPITAL},
      {XK_Num_Lock, VK_NUMLOCK},
      {XK_Scroll_Lock, VK_SCROLL},
      {XK_Pause, VK_PAUSE},
      {XK_Print, VK_SNAPSHOT},
      {XK_KP_Multiply, VK_MULTIPLY},
      {XK_KP_Add, VK_ADD},
      {XK_KP_Subtract, VK_SUBTRACT},
      {XK_KP_Decimal, VK_DECIMAL},
      {XK_KP_Divide, VK_DIVIDE},
      {XK_semicolon, VK_OEM_1},
      {XK_equal, VK_OEM_PLUS},
      {XK_comma, VK_OEM_COMMA},
      {XK_minus, VK_OEM_MINUS},
      {XK_period, VK_OEM_PERIOD},
      {XK_slash, VK_OEM_2},
      {XK_grave, VK_OEM_3},
      {XK_bracketleft, kVkOem4},
      {XK_backslash, kVkOem5},
      {XK_bracketright, kVkOem6},
      {XK_apostrophe, kVkOem7},
  };
  for (const auto& e : table) {
    if (e.ks == ks) return e.vk;
  }
  return 0;
}

// The modifiers of an event's state field as the input routing counts them.
int HeldOf(unsigned int state) {
  return ((state & ShiftMask) ? kHeldShift : 0) | ((state & ControlMask) ? kHeldControl : 0) |
         ((state & Mod1Mask) ? kHeldAlt : 0);
}

// What the X events of one batch become, carried out once the backend's lock is released.
struct Action {
  enum Kind { kMouse, kKey, kHeld, kActivate, kDeactivate, kClose, kExpose, kIconified, kRestored } kind;
  HWND hwnd = nullptr;
  UINT code = 0;  // mouse message or virtual key
  POINT pt{};
  int wheel = 0;
  BOOL down = FALSE;
  int held = -1;  // the modifiers held before the event (kHeld... bits)
  RECT rect{};
};

class X11Backend : public PlatformDisplayBackend {
 public:
  explicit X11Backend(::Display* dpy) : dpy_(dpy) {
    screen_ = DefaultScreen(dpy_);
    root_ = RootWindow(dpy_, screen_);
    XVisualInfo vi{};
    if (XMatchVisualInfo(dpy_, screen_, 24, TrueColor, &vi)) {
      visual_ = vi.visual;
      depth_ = 24;
      colormap_ = XCreateColormap(dpy_, root_, visual_, AllocNone);
    } else {
      visual_ = DefaultVisual(dpy_, screen_);
      depth_ = DefaultDepth(dpy_, screen_);
      colormap_ = DefaultColormap(dpy_, screen_);
    }
    red_ = Channel(visual_->red_mask);
    green_ = Channel(visual_->green_mask);
    blue_ = Channel(visual_->blue_mask);
    int major, minor;
    Bool pixmaps;
    shm_ = XShmQueryVersion(dpy_, &major, &minor, &pixmaps);
    wmProtocols_ = XInternAtom(dpy_, "WM_PROTOCOLS", False);
    wmDelete_ = XInternAtom(dpy_, "WM_DELETE_WINDOW", False);
    wmState_ = XInternAtom(dpy_, "WM_STATE", False);
    wmCheck_ = XInternAtom(dpy_, "_NET_SUPPORTING_WM_CHECK", False);
    char selection[32];
    snprintf(selection, sizeof selection, "WM_S%d", screen_);
    wmSelection_ = XInternAtom(dpy_, selection, False);
    motifHints_ = XInternAtom(dpy_, "_MOTIF_WM_HINTS", False);
    clipboard_ = XInternAtom(dpy_, "CLIPBOARD", False);
    targets_ = XInternAtom(dpy_, "TARGETS", False);
    utf8_ = XInternAtom(dpy_, "UTF8_STRING", False);
    textAtom_ = XInternAtom(dpy_, "TEXT", False);
    const struct {
      KeySym ks;
      int held;
    } modifiers[] = {{XK_Shift_L, kHeldShift},   {XK_Shift_R, kHeldShift}, {XK_Control_L, kHeldControl},
                     {XK_Control_R, kHeldControl}, {XK_Alt_L, kHeldAlt},   {XK_Alt_R, kHeldAlt},
                     {XK_Meta_L, kHeldAlt},        {XK_Meta_R, kHeldAlt}};
    for (const auto& m : modifiers)
      if (KeyCode code = XKeysymToKeycode(dpy_, m.ks)) modifierKeys_.push_back({code, m.held});
    // Held keys repeat as presses only, as keys repeat on the program's home platform.
    XkbSetDetectableAutoRepeat(dpy_, True, nullptr);
    XFlush(dpy_);
  }

  ::Display* display() const { return dpy_; }

  unsigned long WindowOf(HWND hwnd) {
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? 0 : it->second.xw;
  }

  void WindowShown(HWND hwnd) override {
    {
      std::lock_guard<std::mutex> g(mutex_);
      Shown* s = Ensure(hwnd);
      if (!s) return;
      char title[256] = "";
      GetWindowTextA(hwnd, title, sizeof title);
      XStoreName(dpy_, s->xw, title);
      XMapWindow(dpy_, s->xw);
      s->mapped = true;
      RestackLocked();
      // Activated before it had an X window to show in (made active, then shown).
      if (hwnd == GetActiveWindow() && !WindowManagerRunsLocked()) FocusLocked(*s);
      XFlush(dpy_);
    }
  }

  // With a window manager the keyboard is its business: it gives it to the
  // window it raises or the user picks. With none, the server gives the keys
  // to whatever lies under the pointer (or to nobody, over the bare screen),
  // so the program hands them to the window it activates itself: a box that
  // comes up takes Enter and Escape wherever the pointer is, and the owner
  // gets them back when the box goes.
  void WindowActivated(HWND hwnd) override {
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end() || !it->second.mapped || WindowManagerRunsLocked()) return;
    FocusLocked(it->second);
    XFlush(dpy_);
  }

  void Beep() override {
    std::lock_guard<std::mutex> g(mutex_);
    XBell(dpy_, 0);
    XFlush(dpy_);
  }

  void WindowRestacked(HWND) override {
    std::lock_guard<std::mutex> g(mutex_);
    RestackLocked();
    XFlush(dpy_);
  }

  // A captured mouse keeps reporting to the program outside its windows, so a
  // drag goes on over the rest of the screen as it does where we stand in.
  void CaptureChanged(HWND capture) override {
    HWND top = capture ? GetAncestor(capture, GA_ROOT) : nullptr;
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(top);
    if (it != windows_.end() && it->second.mapped) {
      XGrabPointer(dpy_, it->second.xw, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                   GrabModeAsync, 0, cursor_, CurrentTime);
    } else {
      XUngrabPointer(dpy_, CurrentTime);
    }
    XFlush(dpy_);
  }

  void CursorChanged(HCURSOR cursor) override {
    std::lock_guard<std::mutex> g(mutex_);
    cursor_ = XCursorLocked(cursor);
    for (auto& w : windows_) XDefineCursor(dpy_, w.second.xw, cursor_);
    XChangeActivePointerGrab(dpy_, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, cursor_, CurrentTime);
    XFlush(dpy_);
  }

  // Minimising hands the window to the window manager, which unmaps it and
  // maps it again when the user asks for it back.
  void WindowStateChanged(HWND hwnd) override {
    bool iconic = IsIconic(hwnd) != FALSE;
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end() || !it->second.mapped || it->second.popup || it->second.iconic == iconic) return;
    it->second.iconic = iconic;
    if (iconic)
      XIconifyWindow(dpy_, it->second.xw, screen_);
    else
      XMapRaised(dpy_, it->second.xw);
    XFlush(dpy_);
  }

  bool CanMinimize() override {
    std::lock_guard<std::mutex> g(mutex_);
    return WindowManagerRunsLocked();
  }

  void WindowHidden(HWND hwnd) override {
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end() || !it->second.mapped) return;
    XUnmapWindow(dpy_, it->second.xw);
    it->second.mapped = false;
    it->second.iconic = false;
    XFlush(dpy_);
  }

  void WindowMoved(HWND hwnd) override {
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return;
    XMoveResizeWindow(dpy_, it->second.xw, r.left, r.top, std::max<int>(1, r.right - r.left),
                      std::max<int>(1, r.bottom - r.top));
    XFlush(dpy_);
  }

  void WindowDestroyed(HWND hwnd) override {
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    FreeImage(&it->second);
    XFreeGC(dpy_, it->second.gc);
    XDestroyWindow(dpy_, it->second.xw);
    byX_.erase(it->second.xw);
    windows_.erase(it);
    stacking_.clear();
    XFlush(dpy_);
  }

  void SurfacePainted(HWND hwnd, const RECT& dirty) override {
    std::lock_guard<std::mutex> g(mutex_);
    auto it = windows_.find(hwnd);
    if (it == windows_.end() || !it->second.mapped) return;
    // Activation repaints the captions, so this is where a new z-order shows.
    RestackLocked();
    CopyLocked(hwnd, &it->second, dirty);
    XFlush(dpy_);
  }

  int WaitDescriptor() override { return ConnectionNumber(dpy_); }

  // A reply read on another path may have brought events along into Xlib's
  // queue; the descriptor would not show them.
  void TakeQueuedEvents() override {
    bool queued;
    {
      std::lock_guard<std::mutex> g(mutex_);
      queued = XEventsQueued(dpy_, QueuedAlready) > 0;
    }
    if (queued) DescriptorReady();
  }

  void DescriptorReady() override {
    // Carrying an action may ask the server something (the focus), and the
    // reply can bring events along into Xlib's queue: take those too, or they
    // would wait unseen behind a descriptor that shows nothing.
    for (;;) {
      std::vector<Action> actions;
      {
        std::lock_guard<std::mutex> g(mutex_);
        while (XPending(dpy_) > 0) {
          XEvent ev;
          XNextEvent(dpy_, &ev);
          if (ev.type == SelectionRequest) {
            AnswerSelectionLocked(ev.xselectionrequest);
            continue;
          }
          Translate(ev, &actions);
        }
      }
      if (actions.empty()) return;
      for (const Action& a : actions) Carry(a);
      std::lock_guard<std::mutex> g(mutex_);
      if (XEventsQueued(dpy_, QueuedAlready) == 0) return;
    }
  }

  // Asks the program that holds the CLIPBOARD selection for its text, as UTF-8 or else as a
  // plain string, and waits a little for the answer: a program that does not answer leaves the
  // clipboard without text, it does not hang ours.
  bool ForeignClipboardText(std::string& text) override {
    std::lock_guard<std::mutex> g(mutex_);
    text.clear();
    ::Window owner = XGetSelectionOwner(dpy_, clipboard_);
    if (!owner || owner == clipOwner_) return false;
    if (!pasteWindow_) {
      pasteWindow_ = XCreateSimpleWindow(dpy_, root_, 0, 0, 1, 1, 0, 0, 0);
      pasteProperty_ = XInternAtom(dpy_, "TRELLIAN_PASTE", False);
    }
    for (Atom target : {utf8_, static_cast<Atom>(XA_STRING)}) {
      XDeleteProperty(dpy_, pasteWindow_, pasteProperty_);
      XConvertSelection(dpy_, clipboard_, target, pasteProperty_, pasteWindow_, CurrentTime);
      XFlush(dpy_);
      XEvent ev{};
      if (!AwaitSelectionLocked(&ev)) return true;
      if (ev.xselection.property == 0) continue;  // refused in this form
      Atom type = 0;
      int format = 0;
      unsigned long count = 0, after = 0;
      unsigned char* data = nullptr;
      // Text beyond the bound, or sent in pieces (INCR), is more than a field of ours takes.
      if (XGetWindowProperty(dpy_, pasteWindow_, pasteProperty_, 0, kLongestPaste / 4, True, AnyPropertyType, &type,
                             &format, &count, &after, &data) == Success &&
          data && format == 8 && (type == utf8_ || type == XA_STRING || type == textAtom_))
        text = PlatformClipboardTextFromSelection(data, count, type == utf8_);
      if (data) XFree(data);
      return true;
    }
    return true;
  }

  void ClipboardTextChanged(const std::string& text) override {
    std::lock_guard<std::mutex> g(mutex_);
    clipText_ = text;
    if (!clipOwner_) clipOwner_ = XCreateSimpleWindow(dpy_, root_, 0, 0, 1, 1, 0, 0, 0);
    // An emptied clipboard gives the selection up, so other programs paste nothing from us.
    XSetSelectionOwner(dpy_, clipboard_, text.empty() ? 0 : clipOwner_, CurrentTime);
    XFlush(dpy_);
  }

 private:
  static const long kLongestPaste = 1 << 20;
  static const int kPasteWaitMs = 1000;

  // The answer to our XConvertSelection, or false when none came in time.
  bool AwaitSelectionLocked(XEvent* ev) {
    timespec start;
    clock_gettime(CLOCK_MONOTONIC, &start);
    for (;;) {
      if (XCheckTypedWindowEvent(dpy_, pasteWindow_, SelectionNotify, ev)) return true;
      timespec now;
      clock_gettime(CLOCK_MONOTONIC, &now);
      const long elapsed = (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
      if (elapsed >= kPasteWaitMs) return false;
      pollfd p{ConnectionNumber(dpy_), POLLIN, 0};
      poll(&p, 1, static_cast<int>(kPasteWaitMs - elapsed));
      // Reads what arrived into Xlib's queue; other events wait there for the GUI thread.
      XEventsQueued(dpy_, QueuedAfterReading);
    }
  }

  struct Shown {
    ::Window xw = 0;
    GC gc = nullptr;
    bool popup = false;
    bool mapped = false;  // as the program wants it
    bool iconic = false;  // in the window manager's keeping
    XImage* image = nullptr;
    bool usesShm = false;
    XShmSegmentInfo shmInfo{};
  };

  // The X cursor for a cursor handle: the system's cursors are the server's
  // own shapes, the program's are made from their bitmaps (dark pixels drawn
  // black, light ones white, the mask's transparent ones left out).
  ::Cursor XCursorLocked(HCURSOR cursor) {
    if (!cursor) {
      if (!blank_) {
        char zero = 0;
        Pixmap empty = XCreateBitmapFromData(dpy_, root_, &zero, 1, 1);
        XColor black{};
        blank_ = XCreatePixmapCursor(dpy_, empty, empty, &black, &black, 0, 0);
        XFreePixmap(dpy_, empty);
      }
      return blank_;
    }
    auto known = cursors_.find(cursor);
    if (known != cursors_.end()) return known->second;
    static const struct {
      LPCSTR id;
      unsigned shape;
    } system[] = {
        {IDC_ARROW, XC_left_ptr},          {IDC_IBEAM, XC_xterm},         {IDC_WAIT, XC_watch},
        {IDC_CROSS, XC_crosshair},         {IDC_UPARROW, XC_center_ptr},  {IDC_SIZENWSE, XC_bottom_right_corner},
        {IDC_SIZENESW, XC_bottom_left_corner}, {IDC_SIZEWE, XC_sb_h_double_arrow}, {IDC_SIZENS, XC_sb_v_double_arrow},
        {IDC_SIZEALL, XC_fleur},           {IDC_NO, XC_circle},           {IDC_HAND, XC_hand2},
        {IDC_APPSTARTING, XC_watch},
    };
    ::Cursor made = 0;
    for (const auto& c : system)
      if (LoadCursorA(nullptr, c.id) == cursor) made = XCreateFontCursor(dpy_, c.shape);
    if (!made) made = BitmapCursorLocked(cursor);
    if (!made) made = XCreateFontCursor(dpy_, XC_left_ptr);
    cursors_[cursor] = made;
    return made;
  }

  ::Cursor BitmapCursorLocked(HCURSOR cursor) {
    ICONINFO info{};
    if (!GetIconInfo(cursor, &info)) return 0;
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    int width = bm.bmWidth, height = bm.bmHeight;
    std::vector<uint32_t> color(static_cast<size_t>(width) * height), mask(color.size());
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;  // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    HDC dc = CreateCompatibleDC(nullptr);
    bool read = width > 0 && height > 0 &&
                GetDIBits(dc, info.hbmColor, 0, height, color.data(), &bi, DIB_RGB_COLORS) == height &&
                GetDIBits(dc, info.hbmMask, 0, height, mask.data(), &bi, DIB_RGB_COLORS) == height;
    DeleteDC(dc);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    if (!read) return 0;
    int stride = (width + 7) / 8;
    std::vector<char> ink(static_cast<size_t>(stride) * height), shape(ink.size());
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        size_t i = static_cast<size_t>(y) * width + x;
        uint32_t p = color[i];
        int light = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
        char bit = static_cast<char>(1 << (x & 7));  // XBM rows start with the lowest bit
        if ((mask[i] & 0xFFFFFF) == 0) shape[static_cast<size_t>(y) * stride + x / 8] |= bit;
        if (light < 3 * 128) ink[static_cast<size_t>(y) * stride + x / 8] |= bit;
      }
    }
    Pixmap source = XCreateBitmapFromData(dpy_, root_, ink.data(), width, height);
    Pixmap opaque = XCreateBitmapFromData(dpy_, root_, shape.data(), width, height);
    XColor black{}, white{};
    white.red = white.green = white.blue = 0xFFFF;
    ::Cursor made = XCreatePixmapCursor(dpy_, source, opaque, &black, &white, std::min<unsigned>(info.xHotspot, width - 1),
                                        std::min<unsigned>(info.yHotspot, height - 1));
    XFreePixmap(dpy_, source);
    XFreePixmap(dpy_, opaque);
    return made;
  }

  // Drop-down lists, menus, tooltips and drag images stay out of the window
  // manager's hands: no focus, no placement, no taskbar entry. They are the
  // caption-less pop-ups, and the children of the desktop (a combo box's
  // drop-down window), which a window manager could not place sensibly.
  static bool IsPopup(HWND hwnd) {
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    if (style & WS_CHILD) return true;
    return (style & WS_POPUP) && (style & WS_CAPTION) != WS_CAPTION;
  }

  Shown* Ensure(HWND hwnd) {
    auto it = windows_.find(hwnd);
    if (it != windows_.end()) return &it->second;
    RECT r;
    if (!GetWindowRect(hwnd, &r)) return nullptr;
    Shown s;
    s.popup = IsPopup(hwnd);
    XSetWindowAttributes a{};
    a.override_redirect = s.popup ? True : False;
    a.colormap = colormap_;
    a.border_pixel = 0;
    a.background_pixmap = 0;  // no background: the surface covers every pixel
    a.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                   KeyReleaseMask | FocusChangeMask | StructureNotifyMask | KeymapStateMask;
    s.xw = XCreateWindow(dpy_, root_, r.left, r.top, std::max<int>(1, r.right - r.left),
                         std::max<int>(1, r.bottom - r.top), 0, depth_, InputOutput, visual_,
                         CWOverrideRedirect | CWColormap | CWBorderPixel | CWBackPixmap | CWEventMask, &a);
    s.gc = XCreateGC(dpy_, s.xw, 0, nullptr);
    if (cursor_) XDefineCursor(dpy_, s.xw, cursor_);
    if (!s.popup) {
      XSetWMProtocols(dpy_, s.xw, &wmDelete_, 1);
      // Motif hints, understood by every common window manager: no decorations.
      long motif[5] = {2 /* decorations given */, 0, 0, 0, 0};
      XChangeProperty(dpy_, s.xw, motifHints_, motifHints_, 32, PropModeReplace,
                      reinterpret_cast<unsigned char*>(motif), 5);
      XSizeHints size{};
      size.flags = USPosition | USSize | PPosition | PSize;
      size.x = r.left;
      size.y = r.top;
      size.width = r.right - r.left;
      size.height = r.bottom - r.top;
      XSetWMNormalHints(dpy_, s.xw, &size);
      XWMHints hints{};
      hints.flags = InputHint | StateHint;
      hints.input = True;
      hints.initial_state = NormalState;
      XSetWMHints(dpy_, s.xw, &hints);
      HWND owner = GetWindow(hwnd, GW_OWNER);
      auto o = windows_.find(owner);
      if (owner && o != windows_.end()) XSetTransientForHint(dpy_, s.xw, o->second.xw);
    }
    byX_[s.xw] = hwnd;
    return &windows_.emplace(hwnd, s).first->second;
  }

  void FreeImage(Shown* s) {
    if (!s->image) return;
    if (s->usesShm) {
      XShmDetach(dpy_, &s->shmInfo);
      XSync(dpy_, False);  // the server lets go of the segment before we do
      shmdt(s->shmInfo.shmaddr);
      s->image->data = nullptr;
    }
    XDestroyImage(s->image);
    s->image = nullptr;
    s->usesShm = false;
  }

  bool MakeImage(Shown* s, int width, int height) {
    FreeImage(s);
    if (shm_) {
      s->shmInfo = XShmSegmentInfo{};
      XImage* img = XShmCreateImage(dpy_, visual_, depth_, ZPixmap, nullptr, &s->shmInfo, width, height);
      if (img) {
        s->shmInfo.shmid = shmget(IPC_PRIVATE, static_cast<size_t>(img->bytes_per_line) * height, IPC_CREAT | 0600);
        void* addr = s->shmInfo.shmid >= 0 ? shmat(s->shmInfo.shmid, nullptr, 0) : reinterpret_cast<void*>(-1);
        if (addr != reinterpret_cast<void*>(-1)) {
          s->shmInfo.shmaddr = img->data = static_cast<char*>(addr);
          s->shmInfo.readOnly = False;
          unsigned before = xErrors;
          XShmAttach(dpy_, &s->shmInfo);
          XSync(dpy_, False);
          shmctl(s->shmInfo.shmid, IPC_RMID, nullptr);  // gone once both sides detach
          if (xErrors == before) {
            s->image = img;
            s->usesShm = true;
            return true;
          }
          // A server on another machine cannot share our memory; never ask again.
          shm_ = false;
          shmdt(addr);
        } else if (s->shmInfo.shmid >= 0) {
          shmctl(s->shmInfo.shmid, IPC_RMID, nullptr);
        }
        img->data = nullptr;
        XDestroyImage(img);
      }
    }
    char* data = static_cast<char*>(calloc(static_cast<size_t>(width) * height, 4));
    if (!data) return false;
    s->image = XCreateImage(dpy_, visual_, depth_, ZPixmap, 0, data, width, height, 32, 0);
    if (!s->image) {
      free(data);
      return false;
    }
    return true;
  }

  // Copies `dirty` (window coordinates) of the window's surface to its X window.
  void CopyLocked(HWND hwnd, Shown* s, RECT dirty) {
    wm::Guard wmGuard(wm::Lock());  // the surface is not resized while we read it
    POINT origin{};
    PlatformSurface* surface = PlatformGetWindowSurface(hwnd, &origin);
    if (!surface || surface->width <= 0 || surface->height <= 0) return;
    if (!s->image || s->image->width != surface->width || s->image->height != surface->height) {
      if (!MakeImage(s, surface->width, surface->height)) return;
      dirty = RECT{0, 0, surface->width, surface->height};
    }
    RECT all{0, 0, surface->width, surface->height};
    if (!IntersectRect(&dirty, &dirty, &all)) return;
    XImage* img = s->image;
    bool direct = img->bits_per_pixel == 32 && img->byte_order == LSBFirst && visual_->red_mask == 0xFF0000 &&
                  visual_->green_mask == 0xFF00 && visual_->blue_mask == 0xFF;
    for (int y = dirty.top; y < dirty.bottom; ++y) {
      const uint32_t* src = surface->Row(y);
      if (direct) {
        memcpy(img->data + static_cast<size_t>(y) * img->bytes_per_line + dirty.left * 4, src + dirty.left,
               static_cast<size_t>(dirty.right - dirty.left) * 4);
        continue;
      }
      for (int x = dirty.left; x < dirty.right; ++x) {
        uint32_t p = src[x];
        XPutPixel(img, x, y, red_.From8((p >> 16) & 0xFF) | green_.From8((p >> 8) & 0xFF) | blue_.From8(p & 0xFF));
      }
    }
    int w = dirty.right - dirty.left, h = dirty.bottom - dirty.top;
    if (s->usesShm)
      XShmPutImage(dpy_, s->xw, s->gc, img, dirty.left, dirty.top, dirty.left, dirty.top, w, h, False);
    else
      XPutImage(dpy_, s->xw, s->gc, img, dirty.left, dirty.top, dirty.left, dirty.top, w, h);
  }

  // Puts the X windows in the window manager's z-order, each owned window
  // right above its owner, topmost windows above all.
  void RestackLocked() {
    std::vector<::Window> order;
    {
      wm::Guard wmGuard(wm::Lock());
      std::vector<wm::Window*> tops = wm::Desktop()->children;
      std::stable_partition(tops.begin(), tops.end(), [](wm::Window* w) { return (w->exStyle & WS_EX_TOPMOST) != 0; });
      std::vector<wm::Window*> placed;
      std::function<void(wm::Window*)> place = [&](wm::Window* w) {
        if (std::find(placed.begin(), placed.end(), w) != placed.end()) return;
        placed.push_back(w);
        for (wm::Window* o : tops) {
          if (o->owner == w) place(o);
        }
        auto it = windows_.find(w->hwnd);
        if (it != windows_.end() && it->second.mapped) order.push_back(it->second.xw);
      };
      // Owned windows come first so that they land above their owners.
      for (wm::Window* t : tops) place(t);
    }
    if (order == stacking_) return;
    stacking_ = order;
    if (!order.empty()) XRestackWindows(dpy_, order.data(), static_cast<int>(order.size()));
  }

  // Whether the server stacks our windows in the order last asked for.
  bool StackedAsWantedLocked() {
    ::Window rootOut, parent, *children = nullptr;
    unsigned n = 0;
    if (!XQueryTree(dpy_, root_, &rootOut, &parent, &children, &n)) return true;
    std::vector<::Window> topDown;
    for (unsigned i = n; i-- > 0;)
      if (std::find(stacking_.begin(), stacking_.end(), children[i]) != stacking_.end()) topDown.push_back(children[i]);
    if (children) XFree(children);
    return topDown == stacking_;
  }

  // The first 32-bit item of a window's property of `type`; false when it has none.
  bool FirstItemLocked(::Window xw, Atom property, Atom type, long* value) {
    Atom actual = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    bool found = XGetWindowProperty(dpy_, xw, property, 0, 1, False, type, &actual, &format, &count, &after, &data) ==
                     Success &&
                 actual == type && format == 32 && count >= 1;
    if (found) *value = reinterpret_cast<const long*>(data)[0];
    if (data) XFree(data);
    return found;
  }

  // Whether a window manager runs on the screen: it owns the screen's
  // manager selection, or (older ones) names a check window on the root that
  // names itself. A manager that has ended leaves its name on the root behind
  // a window that is gone.
  bool WindowManagerRunsLocked() {
    if (XGetSelectionOwner(dpy_, wmSelection_) != 0) return true;
    long check = 0, self = 0;
    return FirstItemLocked(root_, wmCheck_, XA_WINDOW, &check) && check &&
           FirstItemLocked(static_cast<::Window>(check), wmCheck_, XA_WINDOW, &self) && self == check;
  }

  // Gives the window the keyboard. Focus events the server made before this
  // request are stale from now on: acting on them would take the activation
  // back to a window the program has already left.
  void FocusLocked(const Shown& s) {
    focusSerial_ = NextRequest(dpy_);
    // Should the window go, the keys follow the pointer again, as with no program of ours.
    XSetInputFocus(dpy_, s.xw, RevertToPointerRoot, CurrentTime);
  }

  // Whether the window manager keeps the window as an icon (ICCCM WM_STATE).
  bool IconicLocked(::Window xw) {
    long state = 0;
    return FirstItemLocked(xw, wmState_, wmState_, &state) && state == IconicState;
  }

  HWND HwndOf(::Window xw) const {
    auto it = byX_.find(xw);
    return it == byX_.end() ? nullptr : it->second;
  }

  // Another program asks for the CLIPBOARD selection: the list of forms we
  // offer, or the text itself. Anything else is refused with no property.
  void AnswerSelectionLocked(const XSelectionRequestEvent& req) {
    XSelectionEvent reply{};
    reply.type = SelectionNotify;
    reply.display = req.display;
    reply.requestor = req.requestor;
    reply.selection = req.selection;
    reply.target = req.target;
    reply.time = req.time;
    reply.property = 0;
    // Clients of the oldest convention name no property: the target serves.
    Atom property = req.property ? req.property : req.target;
    if (req.selection == clipboard_ && req.owner == clipOwner_ && clipOwner_) {
      if (req.target == targets_) {
        Atom offered[] = {targets_, utf8_, XA_STRING, textAtom_};
        XChangeProperty(dpy_, req.requestor, property, XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<unsigned char*>(offered), 4);
        reply.property = property;
      } else if (req.target == utf8_ || req.target == XA_STRING || req.target == textAtom_) {
        Atom type = req.target == textAtom_ ? XA_STRING : req.target;
        XChangeProperty(dpy_, req.requestor, property, type, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(clipText_.data()), static_cast<int>(clipText_.size()));
        reply.property = property;
      }
    }
    XSendEvent(dpy_, req.requestor, False, 0, reinterpret_cast<XEvent*>(&reply));
    XFlush(dpy_);
  }

  // The modifiers held in a key vector: the server's answer on the program's
  // getting the focus back.
  int HeldIn(const char keys[32]) const {
    int held = 0;
    for (const ModifierKey& m : modifierKeys_)
      if (keys[m.code / 8] & (1 << (m.code % 8))) held |= m.held;
    return held;
  }

  void Translate(XEvent& ev, std::vector<Action>* out) {
    if (ev.type == KeymapNotify) {
      // It names no window: it follows the FocusIn of one of ours.
      Action a{};
      a.kind = Action::kHeld;
      a.held = HeldIn(ev.xkeymap.key_vector);
      out->push_back(a);
      return;
    }
    HWND hwnd = HwndOf(ev.xany.window);
    if (!hwnd) return;
    Action a{};
    a.hwnd = hwnd;
    switch (ev.type) {
      case MotionNotify:
        a.kind = Action::kMouse;
        a.code = WM_MOUSEMOVE;
        a.pt = POINT{ev.xmotion.x_root, ev.xmotion.y_root};
        a.held = HeldOf(ev.xmotion.state);
        // Only the latest position of a run of moves matters.
        if (!out->empty() && out->back().kind == Action::kMouse && out->back().code == WM_MOUSEMOVE) {
          out->back().pt = a.pt;
          out->back().held = a.held;
          return;
        }
        break;
      case ButtonPress:
      case ButtonRelease: {
        bool press = ev.type == ButtonPress;
        a.kind = Action::kMouse;
        a.pt = POINT{ev.xbutton.x_root, ev.xbutton.y_root};
        a.held = HeldOf(ev.xbutton.state);
        switch (ev.xbutton.button) {
          case Button1:
            a.code = press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
          case Button2:
            a.code = press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
          case Button3:
            a.code = press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
          case Button4:
          case Button5:
            if (!press) return;
            a.code = WM_MOUSEWHEEL;
            a.wheel = ev.xbutton.button == Button4 ? WHEEL_DELTA : -WHEEL_DELTA;
            break;
          default:
            return;
        }
        break;
      }
      case KeyPress:
      case KeyRelease: {
        KeySym ks = XLookupKeysym(&ev.xkey, 0);
        // The keypad gives digits only with Num Lock on.
        if ((ev.xkey.state & Mod2Mask)) {
          KeySym shifted = XLookupKeysym(&ev.xkey, 1);
          if ((shifted >= XK_KP_0 && shifted <= XK_KP_9) || shifted == XK_KP_Decimal) ks = shifted;
        }
        a.kind = Action::kKey;
        a.code = VkFromKeysym(ks);
        a.down = ev.type == KeyPress;
        a.held = HeldOf(ev.xkey.state);
        if (!a.code) return;
        break;
      }
      case FocusIn:
      case FocusOut:
        if (ev.xfocus.mode != NotifyNormal || ev.xfocus.detail == NotifyInferior || ev.xfocus.detail == NotifyPointer)
          return;
        if (ev.type == FocusIn && ev.xfocus.serial < focusSerial_) return;
        a.kind = ev.type == FocusIn ? Action::kActivate : Action::kDeactivate;
        break;
      case ClientMessage:
        if (ev.xclient.message_type != wmProtocols_ || static_cast<Atom>(ev.xclient.data.l[0]) != wmDelete_) return;
        a.kind = Action::kClose;
        break;
      case UnmapNotify: {
        // The window manager iconified a window the program still shows (its
        // minimise, or a request of its own, or another program's).
        auto it = windows_.find(hwnd);
        if (it == windows_.end() || !it->second.mapped || it->second.iconic || !IconicLocked(it->second.xw)) return;
        it->second.iconic = true;
        a.kind = Action::kIconified;
        break;
      }
      case MapNotify: {
        auto it = windows_.find(hwnd);
        if (it == windows_.end() || !it->second.iconic) return;
        it->second.iconic = false;
        a.kind = Action::kRestored;
        break;
      }
      case ConfigureNotify:
        // Someone else (a window manager raising a clicked window) may have
        // put an ordinary window over a topmost one.
        if (!StackedAsWantedLocked()) {
          stacking_.clear();
          RestackLocked();
        }
        return;
      case Expose:
        a.kind = Action::kExpose;
        a.rect = RECT{ev.xexpose.x, ev.xexpose.y, ev.xexpose.x + ev.xexpose.width, ev.xexpose.y + ev.xexpose.height};
        break;
      default:
        return;
    }
    out->push_back(a);
  }

  void Carry(const Action& a) {
    switch (a.kind) {
      case Action::kMouse:
        PlatformInjectMouse(a.code, a.pt, a.wheel, a.held);
        break;
      case Action::kKey:
        PlatformInjectKey(a.code, a.down, a.held);
        break;
      case Action::kHeld:
        PlatformInjectHeldModifiers(a.held);
        break;
      case Action::kActivate: {
        // The window manager gave one of our windows the focus (a click on it,
        // a keyboard switch). A window disabled by a modal loop hands it on to
        // the window that keeps it disabled, as the system does.
        if (!IsWindow(a.hwnd) || IsPopup(a.hwnd)) break;
        HWND target = IsWindowEnabled(a.hwnd) ? a.hwnd : wm::EnabledOwnedWindow(a.hwnd);
        if (!target || GetActiveWindow() == target) break;
        SetActiveWindow(target);
        if (target != a.hwnd) {
          std::lock_guard<std::mutex> g(mutex_);
          auto it = windows_.find(target);
          if (it != windows_.end() && it->second.mapped) {
            FocusLocked(it->second);
            XFlush(dpy_);
          }
        }
        break;
      }
      case Action::kDeactivate: {
        // Another program took the focus: our windows go inactive. Focus
        // moving between our own windows, or back to the root when no window
        // manager runs, changes nothing here.
        ::Window focus = 0;
        int revert = 0;
        XGetInputFocus(dpy_, &focus, &revert);
        bool ours;
        {
          std::lock_guard<std::mutex> g(mutex_);
          ours = byX_.count(focus) != 0;
        }
        if (!ours && focus != PointerRoot && focus != 0 && focus != root_ && GetActiveWindow())
          SetActiveWindow(nullptr);
        break;
      }
      case Action::kClose:
        if (IsWindow(a.hwnd) && IsWindowEnabled(a.hwnd)) PostMessageA(a.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        break;
      case Action::kIconified:
        if (IsWindow(a.hwnd) && !IsIconic(a.hwnd)) ShowWindow(a.hwnd, SW_SHOWMINNOACTIVE);
        break;
      case Action::kRestored:
        // Back from the window manager: the program's state and input as they were.
        if (IsWindow(a.hwnd) && IsIconic(a.hwnd)) ShowWindow(a.hwnd, SW_RESTORE);
        break;
      case Action::kExpose: {
        // The surface still holds the pixels; the program need not paint again.
        std::lock_guard<std::mutex> g(mutex_);
        auto it = windows_.find(a.hwnd);
        if (it == windows_.end()) break;
        CopyLocked(a.hwnd, &it->second, a.rect);
        XFlush(dpy_);
        break;
      }
    }
  }

  ::Display* dpy_;
  int screen_ = 0;
  ::Window root_ = 0;
  Visual* visual_ = nullptr;
  int depth_ = 0;
  Colormap colormap_ = 0;
  Channel red_{0}, green_{0}, blue_{0};
  bool shm_ = false;
  Atom wmProtocols_ = 0, wmDelete_ = 0, motifHints_ = 0, wmState_ = 0, wmCheck_ = 0, wmSelection_ = 0;
  Atom clipboard_ = 0, targets_ = 0, utf8_ = 0, textAtom_ = 0;
  ::Window clipOwner_ = 0;  // unmapped; owns the CLIPBOARD selection while we hold text
  ::Window pasteWindow_ = 0;  // unmapped; receives the text other programs hold
  Atom pasteProperty_ = 0;
  std::string clipText_;
  std::mutex mutex_;
  std::map<HWND, Shown> windows_;
  std::map<::Window, HWND> byX_;
  std::vector<::Window> stacking_;
  unsigned long focusSerial_ = 0;  // of our last XSetInputFocus
  struct ModifierKey {
    KeyCode code;
    int held;
  };
  std::vector<ModifierKey> modifierKeys_;
  ::Cursor cursor_ = 0, blank_ = 0;
  std::map<HCURSOR, ::Cursor> cursors_;
};

}  // namespace

PlatformDisplayBackend* PlatformOpenX11Display(const char* displayName) {
  static std::once_flag threads;
  std::call_once(threads, [] {
    XInitThreads();  // every GUI thread's wait may read the connection
    XSetErrorHandler(CountXError);
  });
  ::Display* dpy = XOpenDisplay(displayName);
  if (!dpy) return nullptr;
  return new X11Backend(dpy);
}

BOOL PlatformChooseDisplay(std::string* unopened) {
  const char* choice = getenv("TRELLIAN_DISPLAY");
  if (choice && strcmp(choice, "headless") == 0) {
    PlatformSetDisplay(nullptr);
    return TRUE;
  }
  const char* display = getenv("DISPLAY");
  PlatformDisplayBackend* backend = display && *display ? PlatformOpenX11Display(display) : nullptr;
  if (!backend) {
    if (unopened) *unopened = display ? display : "";
    return FALSE;
  }
  PlatformSetDisplay(backend);
  return TRUE;
}

PlatformDisplayBackend* PlatformDisplayFromEnvironment() {
  const char* choice = getenv("TRELLIAN_DISPLAY");
  if (choice && strcmp(choice, "headless") == 0) return nullptr;
  const char* display = getenv("DISPLAY");
  if (!display || !*display) return nullptr;
  PlatformDisplayBackend* backend = PlatformOpenX11Display(display);
  if (!backend) fprintf(stderr, "Cannot open the X display \"%s\"; windows stay in memory.\n", display);
  return backend;
}

unsigned long PlatformX11WindowOf(HWND hwnd) {
  auto* x11 = dynamic_cast<X11Backend*>(PlatformDisplay());
  return x11 ? x11->WindowOf(hwnd) : 0;
}

BOOL PlatformX11ScreenshotPng(const char* displayName, unsigned long xwindow, const char* path) {
  static std::once_flag handler;
  std::call_once(handler, [] { XSetErrorHandler(CountXError); });
  ::Display* dpy = XOpenDisplay(displayName);
  if (!dpy) return FALSE;
  int screen = DefaultScreen(dpy);
  ::Window root = RootWindow(dpy, screen);
  RECT area{0, 0, DisplayWidth(dpy, screen), DisplayHeight(dpy, screen)};
  BOOL ok = FALSE;
  if (xwindow) {
    // The window as it shows on the screen, with whatever lies over it.
    XWindowAttributes wa{};
    ::Window child;
    int x = 0, y = 0;
    if (!XGetWindowAttributes(dpy, xwindow, &wa) || !XTranslateCoordinates(dpy, xwindow, root, 0, 0, &x, &y, &child)) {
      XCloseDisplay(dpy);
      return FALSE;
    }
    RECT win{x, y, x + wa.width, y + wa.height};
    if (!IntersectRect(&area, &area, &win)) {
      XCloseDisplay(dpy);
      return FALSE;
    }
  }
  int width = area.right - area.left, height = area.bottom - area.top;
  XImage* img = XGetImage(dpy, root, area.left, area.top, width, height, AllPlanes, ZPixmap);
  if (img) {
    Channel r(img->red_mask), g(img->green_mask), b(img->blue_mask);
    PlatformSurface s;
    s.Resize(width, height);
    for (int y = 0; y < height; ++y) {
      uint32_t* row = s.Row(y);
      for (int x = 0; x < width; ++x) {
        unsigned long p = XGetPixel(img, x, y);
        row[x] = (r.To8(p) << 16) | (g.To8(p) << 8) | b.To8(p);
      }
    }
    XDestroyImage(img);
    ok = PlatformWritePng(s, path);
  }
  XCloseDisplay(dpy);
  return ok;
}
