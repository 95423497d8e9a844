// The X11 backend against a private Xvfb, with a second X connection that
// plays the user through XTest, and a dialog to aim at.
#pragma once

#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Resource.h"
#include "TempDir.h"
#include "Xvfb.h"
#include "X11Display.h"
#include "dlg_fixture.h"

// Xlib last: its macros (None, Status, True...) clash with names above.
#include <X11/Xlib.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>

namespace x11test {

struct Image {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB
};

inline Image ReadPngFile(const std::string& path) {
  Image out;
  png_image img{};
  img.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&img, path.c_str())) return out;
  img.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(img));
  if (!png_image_finish_read(&img, nullptr, rgb.data(), 0, nullptr)) return out;
  out.width = static_cast<int>(img.width);
  out.height = static_cast<int>(img.height);
  for (size_t i = 0; i + 2 < rgb.size(); i += 3) out.pixels.push_back((rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2]);
  return out;
}

// A loop that never ends would hang the test run: it ends it instead, naming the loop.
class Watchdog {
 public:
  explicit Watchdog(std::string name) : name_(std::move(name)), thread_([this] {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!cv_.wait_for(lock, std::chrono::seconds(20), [this] { return done_; })) {
      fprintf(stderr, "the %s loop never ended: its input from the X server never arrived\n", name_.c_str());
      _exit(3);
    }
  }) {}
  ~Watchdog() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      done_ = true;
    }
    cv_.notify_all();
    thread_.join();
  }

 private:
  std::string name_;
  std::mutex mutex_;
  std::condition_variable cv_;
  bool done_ = false;
  std::thread thread_;
};

}  // namespace x11test

// Public, so that the tables of cases can play the user through it.
class X11Test : public DialogTest {
 public:
  // One server and one backend for every suite of the program: the backend
  // stays for the life of the process, as in the program.
  static void SetUpTestSuite() {
    if (server_) return;
    static std::unique_ptr<Xvfb> keeper(new Xvfb);
    server_ = keeper.get();
    if (server_->name().empty()) return;
    x_ = XOpenDisplay(server_->name().c_str());
    backend_ = PlatformOpenX11Display(server_->name().c_str());
    PlatformSetDisplay(backend_);
  }
  void SetUp() override {
    ASSERT_NE(x_, nullptr) << "Xvfb did not start";
    ASSERT_NE(backend_, nullptr);
  }

  // Pumps as a modeless dialog's loop does until `done` holds (real time: the X server runs on its own).
  bool Wait(const std::function<bool()>& done, int ms = 5000) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
      Pump();
      XSync(x_, False);
      if (done()) return true;
      if (std::chrono::steady_clock::now() > deadline) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
  }

  static ::Window X(HWND hwnd) { return PlatformX11WindowOf(hwnd); }
  bool Viewable(HWND hwnd) {
    XWindowAttributes a{};
    return X(hwnd) && XGetWindowAttributes(x_, X(hwnd), &a) && a.map_state == IsViewable;
  }
  RECT XRect(HWND hwnd) {
    XWindowAttributes a{};
    ::Window child;
    int x = 0, y = 0;
    if (!X(hwnd) || !XGetWindowAttributes(x_, X(hwnd), &a)) return RECT{};
    XTranslateCoordinates(x_, X(hwnd), DefaultRootWindow(x_), 0, 0, &x, &y, &child);
    return RECT{x, y, x + a.width, y + a.height};
  }
  static RECT WinRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
  }
  // Bottom to top, as the server stacks them.
  std::vector<::Window> Stacking() {
    ::Window rootOut, parent, *children = nullptr;
    unsigned n = 0;
    XQueryTree(x_, DefaultRootWindow(x_), &rootOut, &parent, &children, &n);
    std::vector<::Window> v(children, children + n);
    if (children) XFree(children);
    return v;
  }
  bool IsStackedAbove(HWND upper, HWND lower) {
    auto v = Stacking();
    auto u = std::find(v.begin(), v.end(), X(upper)), l = std::find(v.begin(), v.end(), X(lower));
    return u != v.end() && l != v.end() && u > l;
  }

  void MoveTo(POINT screen) {
    XTestFakeMotionEvent(x_, 0, screen.x, screen.y, 0);
    XFlush(x_);
  }
  void Button(unsigned button, bool down) {
    XTestFakeButtonEvent(x_, button, down ? True : False, 0);
    XFlush(x_);
  }
  void ClickAt(POINT screen) {
    MoveTo(screen);
    Button(1, true);
    Button(1, false);
  }
  void Key(KeySym ks, bool down) {
    XTestFakeKeyEvent(x_, XKeysymToKeycode(x_, ks), down ? True : False, 0);
    XFlush(x_);
  }
  // The window manager's close: WM_DELETE_WINDOW, as the server delivers it.
  static void SendDeleteWindow(HWND hwnd) {
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = X(hwnd);
    ev.xclient.message_type = XInternAtom(x_, "WM_PROTOCOLS", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = static_cast<long>(XInternAtom(x_, "WM_DELETE_WINDOW", False));
    ev.xclient.data.l[1] = CurrentTime;
    XSendEvent(x_, X(hwnd), False, NoEventMask, &ev);
    XFlush(x_);
  }
  static POINT CenterOf(HWND hwnd) {
    RECT r = WinRect(hwnd);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }

  // The screen, cut to the window, equals its surface.
  bool ScreenShowsSurface(HWND hwnd) {
    TempDir tmp;
    std::string path = tmp.file("shot.png");
    if (!PlatformX11ScreenshotPng(server_->name().c_str(), X(hwnd), path.c_str())) return false;
    x11test::Image shot = x11test::ReadPngFile(path);
    RECT r = WinRect(hwnd);
    if (shot.width != r.right - r.left || shot.height != r.bottom - r.top) return false;
    for (int y = 0; y < shot.height; ++y) {
      for (int x = 0; x < shot.width; ++x) {
        if (shot.pixels[static_cast<size_t>(y) * shot.width + x] != testkit::WindowPixel(hwnd, x, y)) return false;
      }
    }
    return true;
  }

  HWND OpenDialog(int x = 40, int y = 40) {
    DialogTemplate t = Template({rc::PushButton("Press", 100, 10, 10, 60, 14), rc::EditText(200, 10, 40, 100, 14)});
    t.x = x;
    t.y = y;
    HWND dlg = Open(t);
    EXPECT_TRUE(Wait([&] { return Viewable(dlg); }));
    return dlg;
  }

  static HWND MakePopup(DWORD exStyle, DWORD style, HWND owner, RECT r) {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "X11TestWindow";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);  // the first call registers it
    return CreateWindowExA(exStyle, "X11TestWindow", "", style | WS_VISIBLE, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, owner, nullptr, nullptr, nullptr);
  }

  inline static Xvfb* server_ = nullptr;
  inline static ::Display* x_ = nullptr;  // the second connection: the user's side
  inline static PlatformDisplayBackend* backend_ = nullptr;
};

