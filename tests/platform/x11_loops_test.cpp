// Every loop that waits for input, driven by the X server: while a 20 ms
// timer runs (as the SNMP session's does) and a posted message the loop does
// not take waits in the queue, each loop must end when the real X release or
// key arrives, and must sleep rather than spin while it waits.

#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <thread>

#include "CommCtrl.h"
#include "DelayPumpMessages.h"
#include "Controls.h"
#include "Menu.h"
#include "x11_fixture.h"

namespace {

// What the user does at each tick of the timer, and the tick count so far.
std::function<void(int)> gUser;
int gTicks = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  ++gTicks;
  if (gUser) gUser(gTicks);
}

double ThreadCpuMs() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return (u.ru_utime.tv_sec + u.ru_stime.tv_sec) * 1000.0 + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1000.0;
}

// The host of every case: a captioned, sizable top-level window that records
// what reaches it and does what the case asks on a press.
struct Scene {
  HWND host = nullptr;
  HWND child = nullptr;
  bool up = false;           // WM_LBUTTONUP reached the host
  int detected = -1;         // what DragDetect answered
  bool clicked = false;      // NM_CLICK from the list
  bool dragStarted = false;  // LVN_BEGINDRAG from the list
  bool dropped = false;      // the release that ends the host's own drag
  bool endScroll = false;
  bool closedUp = false;
  bool closeAsked = false;
  bool sizeMoveEnded = false;
  bool menuEnded = false;
  INT_PTR result = -1;
};
Scene* gScene = nullptr;

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!gScene) return DefWindowProcA(hwnd, msg, wParam, lParam);
  Scene& s = *gScene;
  switch (msg) {
    case WM_LBUTTONDOWN:
      if (s.detected == -2) {
        // A notice the detection leaves for the caller's loop, as a socket's would be.
        PostMessageA(hwnd, WM_USER + 7, 0, 0);
        s.detected = DragDetect(hwnd, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      }
      return 0;
    case WM_LBUTTONUP:
      s.up = true;
      if (s.dragStarted) {
        s.dropped = true;
        ReleaseCapture();
      }
      return 0;
    case WM_NOTIFY: {
      auto* h = reinterpret_cast<NMHDR*>(lParam);
      if (h->code == NM_CLICK) s.clicked = true;
      if (h->code == LVN_BEGINDRAG) {
        // The member lists drag as this does: the parent takes the mouse until the release.
        s.dragStarted = true;
        SetCapture(hwnd);
      }
      return 0;
    }
    case WM_VSCROLL:
      if (LOWORD(wParam) == SB_THUMBPOSITION) SetScrollPos(reinterpret_cast<HWND>(lParam), SB_CTL, HIWORD(wParam), TRUE);
      if (LOWORD(wParam) == SB_ENDSCROLL) s.endScroll = true;
      return 0;
    case WM_COMMAND:
      if (HIWORD(wParam) == CBN_CLOSEUP) s.closedUp = true;
      return 0;
    case WM_CLOSE:
      s.closeAsked = true;
      return 0;
    case WM_EXITSIZEMOVE:
      s.sizeMoveEnded = true;
      return 0;
    case WM_EXITMENULOOP:
      s.menuEnded = true;
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

INT_PTR CALLBACK CancelProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
  if (msg == WM_INITDIALOG) return TRUE;
  if (msg == WM_COMMAND && LOWORD(wParam) == IDCANCEL) EndDialog(hwnd, IDCANCEL);
  return FALSE;
}

void Dispatch(MSG* m) {
  TranslateMessage(m);
  DispatchMessageA(m);
}

// The program's own loop, until `done`.
void GetMessageLoop(const std::function<bool()>& done) {
  MSG m;
  while (!done() && GetMessageA(&m, nullptr, 0, 0)) Dispatch(&m);
}

// A loop that takes timers and mouse messages only, and waits in `wait`
// between looks; it leaves the posted notice in the queue.
void MouseOnlyLoop(const std::function<void()>& wait) {
  PostMessageA(gScene->host, WM_USER + 7, 0, 0);
  while (!gScene->up) {
    wait();
    MSG m;
    while (PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageA(&m);
    while (PeekMessageA(&m, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) DispatchMessageA(&m);
  }
}

}  // namespace

class X11Loops : public X11Test {
 public:
  void SetUp() override {
    X11Test::SetUp();
    PlatformRegisterControls();
    WNDCLASSA wc{};
    wc.lpfnWndProc = HostProc;
    wc.lpszClassName = "X11LoopHost";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_3DFACE + 1);
    RegisterClassA(&wc);  // the first call registers it
    gScene = &scene_;
    scene_.host = CreateWindowExA(0, "X11LoopHost", "Loops",
                                  WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_VISIBLE,
                                  100, 100, 360, 260, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(scene_.host, nullptr);
  }
  void TearDown() override {
    gUser = nullptr;
    gScene = nullptr;
    X11Test::TearDown();
  }

  void Show() {
    SetActiveWindow(scene_.host);
    ASSERT_TRUE(Wait([&] { return Viewable(scene_.host) && (!scene_.child || Viewable(scene_.host)); }));
    XSetInputFocus(x_, X(scene_.host), RevertToParent, CurrentTime);
    XSync(x_, False);
    Pump();
  }

  // A point of the host's frame with the hit code `hit`, scanning from `from` along `step`.
  POINT Find(int hit, POINT from, POINT step) {
    POINT p = from;
    for (int i = 0; i < 400; ++i, p.x += step.x, p.y += step.y) {
      if (SendMessageA(scene_.host, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)) == hit) return p;
    }
    ADD_FAILURE() << "no point with hit code " << hit;
    return from;
  }
  POINT CaptionPoint() {
    RECT r = WinRect(scene_.host);
    return Find(HTCAPTION, POINT{(r.left + r.right) / 2, r.top}, POINT{0, 1});
  }
  POINT CloseBoxPoint() {
    RECT r = WinRect(scene_.host);
    POINT caption = CaptionPoint();
    return Find(HTCLOSE, POINT{r.right - 1, caption.y}, POINT{-1, 0});
  }
  POINT ClientPoint(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
  }
  void KeyTo(HWND window, KeySym ks) {
    XSetInputFocus(x_, X(GetAncestor(window, GA_ROOT)), RevertToParent, CurrentTime);
    Key(ks, true);
    Key(ks, false);
  }

  HWND MakeList() {
    HWND list = CreateWindowExA(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | WS_BORDER | LVS_REPORT, 10, 10, 200, 150,
                                scene_.host, reinterpret_cast<HMENU>(300), nullptr, nullptr);
    LVCOLUMNA col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 180;
    col.pszText = const_cast<char*>("Device");
    SendMessageA(list, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&col));
    for (int i = 0; i < 3; ++i) {
      char text[16];
      snprintf(text, sizeof text, "AP %d", i + 1);
      LVITEMA item{};
      item.mask = LVIF_TEXT;
      item.iItem = i;
      item.pszText = text;
      SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    return list;
  }
  POINT RowPoint(HWND list, int row) {
    RECT r{LVIR_BOUNDS, 0, 0, 0};
    SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
    return ClientPoint(list, r.left + 20, (r.top + r.bottom) / 2);
  }

  Scene scene_;
};

// Each case: what the window holds, the loop it enters, what the user does at
// each timer tick (through the X server), and what shows the input arrived.
struct LoopCase {
  const char* name;
  std::function<void(X11Loops*, Scene&)> build;
  std::function<void(X11Loops*, Scene&)> run;
  std::function<void(X11Loops*, Scene&, int tick)> user;
  std::function<bool(X11Loops*, Scene&)> ended;
};

TEST_F(X11Loops, EveryLoopEndsOnTheRealInputWhileATimerRunsAndSleepsMeanwhile) {
  // Ticks 3 and later: the press comes once the loop (or the loop before it) runs.
  const int kPress = 3, kMove = 6, kRelease = 10;
  static POINT start{};
  static RECT before{};
  const LoopCase cases[] = {
      {"GetMessage", nullptr, [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.up; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kRelease) t->ClickAt(t->ClientPoint(s.host, 50, 50));
       },
       [](X11Loops*, Scene& s) { return s.up; }},
      {"DelayPumpMessages", nullptr,
       [](X11Loops*, Scene& s) {
         // The wizard's wait: its length, in 10 ms units, while the input is handled inside it.
         while (!s.up) DelayPumpMessages(5);
       },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kRelease) t->ClickAt(t->ClientPoint(s.host, 50, 50));
       },
       [](X11Loops*, Scene& s) { return s.up; }},
      {"WaitMessage, mouse taken only", nullptr,
       [](X11Loops*, Scene&) { MouseOnlyLoop([] { WaitMessage(); }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kRelease) t->ClickAt(t->ClientPoint(s.host, 50, 50));
       },
       [](X11Loops*, Scene& s) { return s.up; }},
      {"MsgWaitForMultipleObjects, mouse taken only", nullptr,
       [](X11Loops*, Scene&) {
         MouseOnlyLoop([] { MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT); });
       },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kRelease) t->ClickAt(t->ClientPoint(s.host, 50, 50));
       },
       [](X11Loops*, Scene& s) { return s.up; }},
      {"DragDetect, released", [](X11Loops*, Scene& s) { s.detected = -2; },
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.detected >= 0; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) t->MoveTo(t->ClientPoint(s.host, 50, 50)), t->Button(1, true);
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) { return s.detected == FALSE; }},
      {"DragDetect, moved", [](X11Loops*, Scene& s) { s.detected = -2; },
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.detected >= 0; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) t->MoveTo(t->ClientPoint(s.host, 50, 50)), t->Button(1, true);
         if (tick == kRelease) t->MoveTo(t->ClientPoint(s.host, 80, 50));
       },
       [](X11Loops*, Scene& s) { return s.detected == TRUE; }},
      {"DragDetect, Escape", [](X11Loops*, Scene& s) { s.detected = -2; },
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.detected >= 0; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) t->MoveTo(t->ClientPoint(s.host, 50, 50)), t->Button(1, true);
         if (tick == kRelease) t->KeyTo(s.host, XK_Escape);
       },
       [](X11Loops*, Scene& s) { return s.detected == FALSE; }},
      {"list view row click", [](X11Loops* t, Scene& s) { s.child = t->MakeList(); },
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.clicked; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) t->MoveTo(t->RowPoint(s.child, 1)), t->Button(1, true);
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) {
         return SendMessageA(s.child, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED) == 1;
       }},
      {"list view row drag", [](X11Loops* t, Scene& s) { s.child = t->MakeList(); },
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.dropped; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) start = t->RowPoint(s.child, 0), t->MoveTo(start), t->Button(1, true);
         if (tick == kMove) t->MoveTo(POINT{start.x + 40, start.y + 30});
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) { return s.dragStarted && GetCapture() == nullptr; }},
      {"scroll-bar thumb",
       [](X11Loops*, Scene& s) {
         s.child = CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | SBS_VERT, 250, 10, 16, 180, s.host,
                                   reinterpret_cast<HMENU>(301), nullptr, nullptr);
         SetScrollRange(s.child, SB_CTL, 0, 100, FALSE);
         SCROLLINFO si{sizeof si, SIF_PAGE, 0, 0, 20, 0, 0};
         SetScrollInfo(s.child, SB_CTL, &si, TRUE);
       },
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.endScroll; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) {
           start = t->ClientPoint(s.child, 8, GetSystemMetrics(SM_CYVSCROLL) + 6);
           t->MoveTo(start), t->Button(1, true);
         }
         if (tick == kMove) t->MoveTo(POINT{start.x, start.y + 40});
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) { return GetScrollPos(s.child, SB_CTL) > 0 && GetCapture() == nullptr; }},
      {"a list box's own scroll-bar thumb",
       [](X11Loops*, Scene& s) {
         s.child = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 10, 10,
                                   200, 180, s.host, reinterpret_cast<HMENU>(303), nullptr, nullptr);
         for (int i = 0; i < 60; ++i)
           SendMessageA(s.child, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("row " + std::to_string(i)).c_str()));
       },
       [](X11Loops*, Scene& s) {
         GetMessageLoop([&] { return GetCapture() == nullptr && SendMessageA(s.child, LB_GETTOPINDEX, 0, 0) > 0; });
       },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) {
           RECT c;
           GetClientRect(s.child, &c);
           start = t->ClientPoint(s.child, c.right + 8, GetSystemMetrics(SM_CYVSCROLL) + 4);
           t->MoveTo(start), t->Button(1, true);
         }
         if (tick == kMove) t->MoveTo(POINT{start.x, start.y + 40});
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) {
         return SendMessageA(s.child, LB_GETTOPINDEX, 0, 0) > 0 && GetCapture() == nullptr;
       }},
      {"combo drop list",
       [](X11Loops*, Scene& s) {
         s.child = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, 10, 10, 150, 120,
                                   s.host, reinterpret_cast<HMENU>(302), nullptr, nullptr);
         for (const char* item : {"Master", "Slave", "Standby"})
           SendMessageA(s.child, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
         SendMessageA(s.child, CB_SETCURSEL, 0, 0);
       },
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.closedUp; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) t->ClickAt(t->ClientPoint(s.child, 20, 8));
         if (tick == kRelease) {
           COMBOBOXINFO info{};
           info.cbSize = sizeof info;
           GetComboBoxInfo(s.child, &info);
           RECT item{};
           SendMessageA(info.hwndList, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
           t->ClickAt(t->ClientPoint(info.hwndList, item.left + 10, (item.top + item.bottom) / 2));
         }
       },
       [](X11Loops*, Scene& s) { return SendMessageA(s.child, CB_GETCURSEL, 0, 0) == 2; }},
      {"move loop", nullptr,
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.sizeMoveEnded; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) before = WinRect(s.host), start = t->CaptionPoint(), t->MoveTo(start), t->Button(1, true);
         if (tick == kMove) t->MoveTo(POINT{start.x + 30, start.y + 20});
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) {
         RECT now = WinRect(s.host);
         return now.left == before.left + 30 && now.top == before.top + 20;
       }},
      {"size loop", nullptr,
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.sizeMoveEnded; }); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) {
           before = WinRect(s.host);
           start = t->Find(HTBOTTOMRIGHT, POINT{before.right - 1, before.bottom - 1}, POINT{-1, -1});
           t->MoveTo(start), t->Button(1, true);
         }
         if (tick == kMove) t->MoveTo(POINT{start.x + 25, start.y + 15});
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) {
         RECT now = WinRect(s.host);
         return now.right == before.right + 25 && now.bottom == before.bottom + 15;
       }},
      {"caption close box", nullptr,
       [](X11Loops*, Scene& s) { GetMessageLoop([&] { return s.closeAsked; }); },
       [](X11Loops* t, Scene&, int tick) {
         if (tick == kPress) t->MoveTo(t->CloseBoxPoint()), t->Button(1, true);
         if (tick == kRelease) t->Button(1, false);
       },
       [](X11Loops*, Scene& s) { return s.closeAsked; }},
      {"dialog box",
       nullptr,
       [](X11Loops*, Scene& s) {
         DialogTemplate tpl = Template({rc::PushButton("Cancel", IDCANCEL, 10, 10, 60, 14)});
         s.result = DialogBoxIndirectParamA(nullptr, &tpl, s.host, CancelProc, 0);
       },
       [](X11Loops* t, Scene&, int tick) {
         if (tick == kRelease) t->KeyTo(GetActiveWindow(), XK_Escape);
       },
       [](X11Loops*, Scene& s) { return s.result == IDCANCEL; }},
      {"message box", nullptr,
       [](X11Loops*, Scene& s) { s.result = MessageBoxA(s.host, "Stop the scan?", "Trellian", MB_OKCANCEL); },
       [](X11Loops* t, Scene&, int tick) {
         if (tick == kRelease) t->KeyTo(GetActiveWindow(), XK_Escape);
       },
       [](X11Loops*, Scene& s) { return s.result == IDCANCEL; }},
      {"menu tracking", nullptr,
       [](X11Loops*, Scene& s) {
         HMENU menu = CreatePopupMenu();
         AppendMenuA(menu, MF_STRING, 41, "&Add");
         AppendMenuA(menu, MF_STRING, 42, "&Remove");
         POINT at{};
         ClientToScreen(s.host, &at);
         s.result = TrackPopupMenu(menu, TPM_RETURNCMD, at.x + 20, at.y + 20, 0, s.host, nullptr);
         DestroyMenu(menu);
       },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kPress) t->KeyTo(s.host, XK_Down);
         if (tick == kRelease) t->KeyTo(s.host, XK_Return);
       },
       [](X11Loops*, Scene& s) { return s.result == 41; }},
      {"system menu", nullptr,
       [](X11Loops*, Scene& s) { SendMessageA(s.host, WM_SYSCOMMAND, SC_KEYMENU, ' '); },
       [](X11Loops* t, Scene& s, int tick) {
         if (tick == kRelease) t->KeyTo(s.host, XK_Escape);
       },
       [](X11Loops*, Scene& s) { return s.menuEnded; }},
  };
  for (const LoopCase& c : cases) {
    SCOPED_TRACE(c.name);
    scene_ = Scene{scene_.host};
    if (c.build) c.build(this, scene_);
    Show();
    gTicks = 0;
    gUser = [&](int tick) { c.user(this, scene_, tick); };
    UINT_PTR timer = SetTimer(nullptr, 0, 20, Tick);
    double cpu = ThreadCpuMs();
    auto began = std::chrono::steady_clock::now();
    {
      x11test::Watchdog watchdog(c.name);
      c.run(this, scene_);
    }
    double wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - began).count();
    cpu = ThreadCpuMs() - cpu;
    gUser = nullptr;
    KillTimer(nullptr, timer);
    EXPECT_TRUE(c.ended(this, scene_));
    EXPECT_GE(gTicks, kRelease) << "the loop ended before the input came";
    // Waiting with nothing to do costs next to no processor time; a loop
    // that spins spends all of it.
    EXPECT_LT(cpu, wallMs / 2) << "cpu " << cpu << " ms in " << wallMs << " ms";
    // Whatever the user left pressed comes up before the next case.
    Button(1, false);
    Wait([] { return GetCapture() == nullptr; });
    if (scene_.child) DestroyWindow(scene_.child);
    if (IsWindow(scene_.host)) SetWindowPos(scene_.host, nullptr, 100, 100, 360, 260, SWP_NOZORDER);
    Pump();
  }
}
