// The start-up bench's baseline: the least a program can do to show a window
// on X. It opens the display named by DISPLAY, creates one top-level window
// of the given size (WIDTHxHEIGHT, the main dialog's) centred on the screen,
// maps it and fills it with one colour at its first Expose, then waits for
// the bench to stop it. Nothing but libX11 is linked, so exec and dynamic
// linking cost what they cost any Xlib program.
#include <X11/Xlib.h>

#include <cstdio>

int main(int argc, char** argv) {
  unsigned width = 0, height = 0;
  if (argc != 2 || std::sscanf(argv[1], "%ux%u", &width, &height) != 2 || !width || !height) {
    std::fprintf(stderr, "usage: %s WIDTHxHEIGHT\n", argv[0]);
    return 2;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (!dpy) {
    std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
    return 1;
  }
  const int screen = DefaultScreen(dpy);
  const int x = (DisplayWidth(dpy, screen) - static_cast<int>(width)) / 2;
  const int y = (DisplayHeight(dpy, screen) - static_cast<int>(height)) / 2;
  // No background: the server leaves the area alone at the map, and the
  // program's own fill is the paint, as the dialog paints itself.
  XSetWindowAttributes attributes{};
  attributes.background_pixmap = None;
  attributes.event_mask = ExposureMask;
  const Window window = XCreateWindow(dpy, RootWindow(dpy, screen), x, y, width, height, 0, CopyFromParent,
                                      InputOutput, CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
  GC gc = XCreateGC(dpy, window, 0, nullptr);
  XSetForeground(dpy, gc, 0xD4D0C8);  // the dialog face's grey
  XMapWindow(dpy, window);
  for (;;) {
    XEvent ev;
    XNextEvent(dpy, &ev);
    if (ev.type != Expose || ev.xexpose.count != 0) continue;
    XFillRectangle(dpy, window, gc, 0, 0, width, height);
    XFlush(dpy);
  }
}
