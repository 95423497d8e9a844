// Saves what an X server shows as a PNG, for reviewers and test scripts:
//   screenshot [-display :N] [-window ID] file.png
// Without -window the whole screen; ID is an X window id (decimal or 0x...).

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "X11Display.h"

int main(int argc, char** argv) {
  const char* display = nullptr;
  unsigned long window = 0;
  const char* path = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (strcmp(argv[i], "-display") == 0 && i + 1 < argc) {
      display = argv[++i];
    } else if (strcmp(argv[i], "-window") == 0 && i + 1 < argc) {
      char* end = nullptr;
      window = strtoul(argv[++i], &end, 0);
      if (!end || *end || !window) {
        fprintf(stderr, "screenshot: \"%s\" is not a window id\n", argv[i]);
        return 2;
      }
    } else if (!path && argv[i][0] != '-') {
      path = argv[i];
    } else {
      path = nullptr;
      break;
    }
  }
  if (!path) {
    fprintf(stderr, "usage: screenshot [-display :N] [-window ID] file.png\n");
    return 2;
  }
  if (!PlatformX11ScreenshotPng(display, window, path)) {
    fprintf(stderr, "screenshot: cannot capture %s of display %s into %s\n", window ? "the window" : "the screen",
            display ? display : "$DISPLAY", path);
    return 1;
  }
  return 0;
}
