// A person at the scroll bars a window draws in its own frame (a list box's
// WS_VSCROLL and WS_HSCROLL bars), through the X server: the held thumb takes
// the list along to where the pointer goes, and a held arrow or a press in
// the track steps again and again until let go.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "Clock.h"
#include "Controls.h"
#include "x11_fixture.h"

namespace {

// What reaches the list: each scroll step with its code, its bar and when it came (platform ms).
struct Step {
  UINT msg;
  UINT code;
  ULONGLONG at;
};
std::vector<Step>* gSteps = nullptr;
WNDPROC gListProc = nullptr;

LRESULT CALLBACK RecordingList(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (gSteps && (msg == WM_VSCROLL || msg == WM_HSCROLL))
    gSteps->push_back(Step{msg, LOWORD(wParam), GetTickCount64()});
  return CallWindowProcA(gListProc, hwnd, msg, wParam, lParam);
}

// The person's moves, one for each tick of a 20 ms timer, while the test's
// thread sits in the bar's loop.
std::vector<std::function<bool()>>* gScript = nullptr;
size_t gNext = 0;
void CALLBACK PlayNext(HWND, UINT, UINT_PTR, DWORD) {
  // A move answers whether it is done; one that waits for something comes again.
  if (gScript && gNext < gScript->size() && (*gScript)[gNext]()) ++gNext;
}

}  // namespace

class X11Scroll : public X11Test {
 public:
  void SetUp() override {
    X11Test::SetUp();
    PlatformRegisterControls();
    host_ = MakePopup(0, WS_POPUP | WS_CAPTION | WS_SYSMENU, nullptr, RECT{100, 100, 420, 360});
    list_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTBOX, "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, 10, 10, 220, 200,
                            host_, reinterpret_cast<HMENU>(600), nullptr, nullptr);
    for (int i = 0; i < kRows; ++i)
      SendMessageA(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("row " + std::to_string(i)).c_str()));
    SendMessageA(list_, LB_SETHORIZONTALEXTENT, kExtent, 0);
    gListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(list_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingList)));
    gSteps = &steps_;
    ASSERT_TRUE(Wait([&] { return Viewable(host_); }));
    SetActiveWindow(host_);
    Pump();
  }
  void TearDown() override {
    gSteps = nullptr;
    gScript = nullptr;
    if (IsWindow(host_)) DestroyWindow(host_);
    Pump();
    X11Test::TearDown();
  }

  // The bar on the screen: beside (below) the client area, as wide as the system's bars.
  RECT BarRect(int bar) {
    RECT c;
    GetClientRect(list_, &c);
    MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&c), 2);
    return bar == SB_VERT ? RECT{c.right, c.top, c.right + GetSystemMetrics(SM_CXVSCROLL), c.bottom}
                          : RECT{c.left, c.bottom, c.right, c.bottom + GetSystemMetrics(SM_CYHSCROLL)};
  }
  // The thumb as it is drawn: along the bar's middle line between its square
  // arrow buttons, a run of plain button face (the track is dithered) inside
  // two edge lines at either end. Screen coordinates along the bar: [first, last].
  std::pair<int, int> Thumb(int bar) {
    RECT r = BarRect(bar), window = WinRect(list_);
    bool vertical = bar == SB_VERT;
    int breadth = vertical ? r.right - r.left : r.bottom - r.top;
    int from = (vertical ? r.top : r.left) + breadth, to = (vertical ? r.bottom : r.right) - breadth;
    int middle = vertical ? (r.left + r.right) / 2 : (r.top + r.bottom) / 2;
    uint32_t face = GetSysColor(COLOR_BTNFACE);
    face = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    std::pair<int, int> best{0, -1}, run{0, -1};
    for (int at = from; at < to; ++at) {
      int x = vertical ? middle : at, y = vertical ? at : middle;
      if (testkit::WindowPixel(list_, x - window.left, y - window.top) != face) continue;
      run = run.second == at - 1 ? std::make_pair(run.first, at) : std::make_pair(at, at);
      if (run.second - run.first > best.second - best.first) best = run;
    }
    return std::make_pair(best.first - 2, best.second + 2);
  }
  POINT OnBar(int bar, int along) {
    RECT r = BarRect(bar);
    return bar == SB_VERT ? POINT{(r.left + r.right) / 2, along} : POINT{along, (r.top + r.bottom) / 2};
  }
  int Top() { return static_cast<int>(SendMessageA(list_, LB_GETTOPINDEX, 0, 0)); }
  int Left() { return GetScrollPos(list_, SB_HORZ); }
  // The furthest the list scrolls: the last page's first row, or the last pixel column's.
  int LastPos(int bar) {
    SCROLLINFO si{sizeof si, SIF_RANGE | SIF_PAGE, 0, 0, 0, 0, 0};
    GetScrollInfo(list_, bar, &si);
    return si.nMax - static_cast<int>(si.nPage) + 1;
  }
  std::vector<UINT> Codes(UINT msg) {
    std::vector<UINT> out;
    for (const Step& s : steps_)
      if (s.msg == msg) out.push_back(s.code);
    return out;
  }

  // Plays the moves, one a tick, while the thread runs its own loop; ends
  // once the bar has let go of the mouse after the last move.
  void Play(std::vector<std::function<bool()>> script) {
    gScript = &script;
    gNext = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, PlayNext);
    {
      x11test::Watchdog watchdog("scroll bar's");
      MSG m;
      while ((gNext < script.size() || GetCapture()) && GetMessageA(&m, nullptr, 0, 0)) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
      }
    }
    KillTimer(nullptr, timer);
    gScript = nullptr;
  }
  // A move that happens at once.
  static std::function<bool()> Now(std::function<void()> act) {
    return [act] {
      act();
      return true;
    };
  }

  static const int kRows = 60, kExtent = 900;
  HWND host_ = nullptr, list_ = nullptr;
  std::vector<Step> steps_;
};

TEST_F(X11Scroll, TheHeldThumbTakesTheListToWhereThePointerWent) {
  struct Case {
    const char* what;
    int bar;
    // Where the pointer takes the thumb's grip: a fraction of the free track, or past an end.
    double to;
  } cases[] = {
      {"down to the end and beyond", SB_VERT, 1.5},
      {"back up halfway", SB_VERT, 0.5},
      {"up past the top", SB_VERT, -0.5},
      {"right to the end", SB_HORZ, 1.2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const bool vertical = c.bar == SB_VERT;
    const UINT msg = vertical ? WM_VSCROLL : WM_HSCROLL;
    const RECT r = BarRect(c.bar);
    const int breadth = vertical ? r.right - r.left : r.bottom - r.top;
    const int start = vertical ? r.top : r.left, length = vertical ? r.bottom - r.top : r.right - r.left;
    const auto thumb = Thumb(c.bar);
    ASSERT_GE(thumb.second - thumb.first, 7) << "no thumb drawn";
    const int thumbLength = thumb.second - thumb.first + 1;
    const int free = length - 2 * breadth - thumbLength;
    const int grip = (thumb.first + thumb.second) / 2;
    const int gripInThumb = grip - thumb.first;
    const int target = start + breadth + static_cast<int>(c.to * free) + gripInThumb;
    steps_.clear();
    int held = -1;
    Play({Now([&] { MoveTo(OnBar(c.bar, grip)), Button(1, true); }),
          Now([&] { MoveTo(OnBar(c.bar, (grip + target) / 2)); }),
          Now([&] { MoveTo(OnBar(c.bar, target)); }),
          [&] {
            // Held still: the list has gone along already.
            held = vertical ? Top() : Left();
            return true;
          },
          Now([&] { Button(1, false); })});
    const int last = LastPos(c.bar);
    const int now = vertical ? Top() : Left();
    if (c.to >= 1) {
      EXPECT_EQ(now, last);
    } else if (c.to <= 0) {
      EXPECT_EQ(now, 0);
    } else {
      EXPECT_NEAR(now, last * c.to, 1.0 + static_cast<double>(last) / free);
    }
    EXPECT_EQ(held, now) << "the list did not follow the thumb while it was held";
    std::vector<UINT> codes = Codes(msg);
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), static_cast<UINT>(SB_THUMBTRACK));
    EXPECT_EQ(codes[codes.size() - 2], static_cast<UINT>(SB_THUMBPOSITION));
    EXPECT_EQ(codes.back(), static_cast<UINT>(SB_ENDSCROLL));
    EXPECT_EQ(GetCapture(), nullptr);
    // The thumb is drawn where it was let go.
    Pump();
    const auto after = Thumb(c.bar);
    const int expectedFirst = std::clamp(target - gripInThumb, start + breadth, start + length - breadth - thumbLength);
    EXPECT_NEAR(after.first, expectedFirst, 1 + static_cast<double>(free) / std::max(1, last));
  }
}

TEST_F(X11Scroll, AHeldArrowOrTrackPressStepsAgainUntilLetGo) {
  // The down arrow, held: a step at once, the next after a pause, then steadily.
  const RECT r = BarRect(SB_VERT);
  const int breadth = r.right - r.left;
  steps_.clear();
  Play({Now([&] { MoveTo(OnBar(SB_VERT, r.bottom - breadth / 2)), Button(1, true); }),
        [&] { return Codes(WM_VSCROLL).size() >= 5; }, Now([&] { Button(1, false); })});
  std::vector<UINT> codes = Codes(WM_VSCROLL);
  ASSERT_GE(codes.size(), 6u);
  EXPECT_EQ(codes.back(), static_cast<UINT>(SB_ENDSCROLL));
  codes.pop_back();
  EXPECT_EQ(codes, std::vector<UINT>(codes.size(), SB_LINEDOWN));
  EXPECT_EQ(Top(), static_cast<int>(codes.size()));
  EXPECT_GE(steps_[1].at - steps_[0].at, 400u);
  for (size_t i = 2; i < codes.size(); ++i) EXPECT_GE(steps_[i].at - steps_[i - 1].at, 90u) << i;

  // A press in the track below the thumb pages down until the thumb has come
  // under the pointer, and goes no further while held there.
  const int aim = r.top + (r.bottom - r.top) * 3 / 4;
  steps_.clear();
  size_t pages = 0;
  ULONGLONG quietSince = 0;
  Play({Now([&] { MoveTo(OnBar(SB_VERT, aim)), Button(1, true); }),
        [&] {
          // Held until no step has come for a while.
          if (Codes(WM_VSCROLL).size() != pages) pages = Codes(WM_VSCROLL).size(), quietSince = GetTickCount64();
          return pages >= 2 && GetTickCount64() - quietSince > 600;
        },
        Now([&] { Button(1, false); })});
  codes = Codes(WM_VSCROLL);
  ASSERT_GE(codes.size(), 3u);
  EXPECT_EQ(codes.back(), static_cast<UINT>(SB_ENDSCROLL));
  codes.pop_back();
  EXPECT_EQ(codes, std::vector<UINT>(codes.size(), SB_PAGEDOWN));
  Pump();
  const auto thumb = Thumb(SB_VERT);
  EXPECT_LE(thumb.first, aim);
  EXPECT_GE(thumb.second, aim);
  EXPECT_LT(Top(), LastPos(SB_VERT));
}
