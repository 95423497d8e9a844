// A person at an X display, for tests of a program that runs as its own
// process: pointer and keys go in through the XTEST extension, so they take
// the path real input takes (the server, then the program's X connection);
// windows are found by name and read back as pixels.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct _XDisplay;

class XDriver {
 public:
  struct Point {
    int x = 0, y = 0;
  };
  struct Box {
    int x = 0, y = 0, width = 0, height = 0;
    Point Center() const { return {x + width / 2, y + height / 2}; }
    bool Empty() const { return width <= 0 || height <= 0; }
  };
  // The pixels of a part of the screen, 0xRRGGBB, row by row.
  struct Image {
    Box box;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y - box.y) * box.width + (x - box.x)]; }
    bool operator==(const Image& other) const {
      return box.width == other.box.width && box.height == other.box.height && pixels == other.pixels;
    }
  };

  explicit XDriver(const std::string& display);
  ~XDriver();
  XDriver(const XDriver&) = delete;
  XDriver& operator=(const XDriver&) = delete;

  // False when the display could not be opened or has no XTEST.
  bool Ready() const { return dpy_ != nullptr; }
  const std::string& display() const { return name_; }

  // The top-level window whose title is `title` (under a window manager, the
  // client window inside its frame); 0 when there is none mapped.
  unsigned long WindowTitled(const std::string& title);
  // Waits (real time) until such a window is mapped.
  unsigned long WaitForWindow(const std::string& title, int ms);
  // Waits (real time) until no window of that title is mapped.
  bool WaitWindowGone(const std::string& title, int ms);
  // The window's rectangle on the screen; empty when it is gone.
  Box Geometry(unsigned long window);
  bool IsMapped(unsigned long window);
  // Asks the window manager (or, with none, the server) to iconify the
  // window, and to map and raise it again.
  void Iconify(unsigned long window);
  void Restore(unsigned long window);
  // Whether a window manager holds the root window's redirection.
  bool HasWindowManager();

  void MoveTo(Point at);
  void Press(int button = 1);
  void Release(int button = 1);
  // A click (press and release) at `at`, after the pointer has gone there.
  void Click(Point at, int button = 1);
  void DoubleClick(Point at);
  // Press at `from`, moves in `steps` steps to `to`, release there.
  void Drag(Point from, Point to, int steps = 12);
  // Wheel notches at `at`: positive away from the user (button 4).
  void Wheel(Point at, int notches);

  // A key by its X name ("Tab", "Return", "Escape", "F4", "a", ...) with
  // modifiers before it: "shift+Tab", "alt+F4", "ctrl+a".
  void Key(const std::string& chord);
  // Types printable ASCII text key by key, with Shift where the keyboard
  // needs it.
  void Type(const std::string& text);

  Image Grab(Box box);
  uint32_t Pixel(Point at);
  // The whole screen as a PNG.
  bool SavePng(const std::string& path);

  // How many times a client of the server rang its bell since the driver
  // connected (XKB's bell notices); -1 when the server cannot tell.
  int Bells();

  // Everything sent has reached the server, and a little real time passed
  // for the program to take it.
  void Settle(int ms = 60);

 private:
  void KeyEvent(unsigned long keysym, bool down);
  unsigned long Search(unsigned long window, const std::string& title, int depth);

  _XDisplay* dpy_ = nullptr;
  std::string name_;
  int xkbEvent_ = -1;
  int bells_ = 0;
};
