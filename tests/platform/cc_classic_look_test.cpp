// The classic look of the common controls, pixel by pixel: dithered scroll
// tracks and checked tool-bar buttons, framed progress blocks, sunken status
// panes with a size grip on sizable frames.

#include <set>

#include "Dialog.h"
#include "cc_fixture.h"

namespace {

uint32_t Sys(int index) {
  COLORREF c = GetSysColor(index);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

class CcClassicLook : public CcFixture {
 protected:
  void SetUp() override {
    CcFixture::SetUp();
    PlatformDialogClass(nullptr);  // registers the standard controls
  }
  HWND Child(const char* cls, DWORD style, RECT r, HWND owner = nullptr) {
    HWND w = CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, owner ? owner : parent, nullptr, nullptr, nullptr);
    EXPECT_NE(w, nullptr);
    return w;
  }
  static uint32_t At(HWND w, int x, int y) {
    UpdateWindow(GetParent(w));
    UpdateWindow(w);
    return testkit::WindowPixel(w, x, y);
  }
  static bool Dithered(HWND w, int x, int y) {
    std::set<uint32_t> seen{At(w, x, y), At(w, x + 1, y)};
    return seen == std::set<uint32_t>{Sys(COLOR_3DHILIGHT), Sys(COLOR_3DFACE)} && At(w, x, y) == At(w, x + 1, y + 1);
  }
};

TEST_F(CcClassicLook, ScrollBarTrackIsDithered) {
  HWND bar = Child(WC_SCROLLBAR, SBS_HORZ, RECT{0, 0, 200, 17});
  SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE | SIF_POS, 0, 100, 10, 90, 0};
  SetScrollInfo(bar, SB_CTL, &si, TRUE);
  EXPECT_TRUE(Dithered(bar, 40, 8));
}

TEST_F(CcClassicLook, ProgressBarIsFramedWithClassicBlocks) {
  HWND bar = Child(PROGRESS_CLASS, 0, RECT{0, 0, 200, 20});
  SendMessageA(bar, PBM_SETPOS, 50, 0);
  struct Case {
    POINT at;
    int colour;
  } cases[] = {
      {{0, 0}, COLOR_3DSHADOW},      // the sunken frame
      {{199, 19}, COLOR_3DHILIGHT},
      {{1, 10}, COLOR_3DFACE},       // a pixel of face inside it
      {{2, 10}, COLOR_HIGHLIGHT},    // the first block, two thirds as wide as it is high
      {{11, 10}, COLOR_HIGHLIGHT},
      {{12, 10}, COLOR_3DFACE},      // the gap
      {{14, 10}, COLOR_HIGHLIGHT},   // the next block
      {{150, 10}, COLOR_3DFACE},     // beyond the position
  };
  for (const Case& c : cases) EXPECT_EQ(At(bar, c.at.x, c.at.y), Sys(c.colour)) << c.at.x << "," << c.at.y;
}

TEST_F(CcClassicLook, StatusPanesAreSunkenWithAGripOnSizableFrames) {
  struct Case {
    const char* what;
    DWORD frame, style;
    bool grip;
  } cases[] = {
      {"sizable frame", WS_THICKFRAME, 0, true},
      {"fixed frame", WS_DLGFRAME, 0, false},
      {"asked for", WS_DLGFRAME, SBARS_SIZEGRIP, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    HWND frame = Make(WS_POPUP | WS_VISIBLE | c.frame, RECT{0, 0, 300, 200});
    HWND bar = Child(STATUSCLASSNAME, c.style, RECT{0, 0, 0, 0}, frame);
    int parts[] = {100, -1};
    SendMessageA(bar, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    RECT rc;
    GetClientRect(bar, &rc);
    EXPECT_EQ(At(bar, 0, 1), Sys(COLOR_3DFACE));     // two pixels above the panes
    EXPECT_EQ(At(bar, 0, 2), Sys(COLOR_3DSHADOW));   // the sunken pane
    EXPECT_EQ(At(bar, 101, 5), Sys(COLOR_3DFACE));   // two pixels between panes
    EXPECT_EQ(At(bar, 102, 5), Sys(COLOR_3DSHADOW));
    // The grip's lowest groove: a highlight then shadow along the bottom row.
    EXPECT_EQ(At(bar, rc.right - 4, rc.bottom - 1) == Sys(COLOR_3DHILIGHT) &&
                  At(bar, rc.right - 3, rc.bottom - 1) == Sys(COLOR_3DSHADOW),
              c.grip);
    DestroyWindow(frame);
  }
}

TEST_F(CcClassicLook, CheckedToolBarButtonsAreDithered) {
  HWND bar = Child(TOOLBARCLASSNAME, 0, RECT{0, 0, 300, 30});
  SendMessageA(bar, TB_SETBUTTONSIZE, 0, MAKELONG(24, 22));
  TBBUTTON b[] = {{-1, 11, TBSTATE_ENABLED | TBSTATE_CHECKED, TBSTYLE_CHECK, {}, 0, 0},
                  {-1, 12, TBSTATE_ENABLED, TBSTYLE_CHECK, {}, 0, 0}};
  SendMessageA(bar, TB_ADDBUTTONS, 2, reinterpret_cast<LPARAM>(b));
  RECT checked, plain;
  SendMessageA(bar, TB_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&checked));
  SendMessageA(bar, TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&plain));
  EXPECT_TRUE(Dithered(bar, checked.left + 8, checked.top + 8));
  EXPECT_FALSE(Dithered(bar, plain.left + 8, plain.top + 8));
}

}  // namespace
