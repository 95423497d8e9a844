// Message queues: posted, sent (also across threads), quit, timers, modal
// loops and socket notices.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "ui_fixture.h"
// Last: it names its own fd_set.
#include "Clock.h"
#include "Winsock.h"

namespace {

class UiQueue : public UiFixture {
 protected:
  // A hidden pop-up with its handler.
  HWND MakeWindow(Handler* h, DWORD style = WS_POPUP) {
    HWND w = Make(style);
    SetPropA(w, "handler", h);
    return w;
  }
  Handler& NewHandler() {
    handlers.push_back(std::make_unique<Handler>());
    return *handlers.back();
  }
};

TEST_F(UiQueue, TimersFireInDueOrderAndCoalesceMissedPeriods) {
  Handler& h = NewHandler();
  std::vector<UINT_PTR> fired;
  h.fn = [&](HWND, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_TIMER) fired.push_back(wParam);
    return kDefault;
  };
  HWND w = MakeWindow(&h);
  SetTimer(w, 1, 3000, nullptr);
  SetTimer(w, 2, 5000, nullptr);
  SetTimer(w, 3, 3000, nullptr);  // due with timer 1; made later, so fires after it
  testkit::AdvanceClock(20000);   // many periods missed
  testkit::PumpPending();
  EXPECT_EQ(fired, (std::vector<UINT_PTR>{1, 3, 2}));  // one message each, not one per period

  // Setting an existing id restarts it; killing one also drops the message it had due.
  fired.clear();
  testkit::AdvanceClock(2000);
  SetTimer(w, 1, 3000, nullptr);
  testkit::AdvanceClock(1500);
  testkit::PumpPending();
  EXPECT_EQ(fired, (std::vector<UINT_PTR>{3}));
  testkit::AdvanceClock(5000);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
  EXPECT_TRUE(KillTimer(w, msg.wParam));
  EXPECT_FALSE(KillTimer(w, msg.wParam));
  fired.clear();
  testkit::PumpPending();
  EXPECT_EQ(fired.size(), 2u);
  for (UINT_PTR id : fired) EXPECT_NE(id, msg.wParam);
}

TEST_F(UiQueue, TimersAndPaintWaitUntilPostedMessagesAreDone) {
  Handler& h = NewHandler();
  std::vector<UINT> order;
  h.fn = [&](HWND hwnd, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_TIMER || msg == WM_USER || msg == WM_PAINT) order.push_back(msg);
    if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    return msg == WM_PAINT ? 0 : kDefault;
  };
  HWND w = MakeWindow(&h, WS_POPUP | WS_VISIBLE);
  testkit::PumpPending();
  order.clear();
  SetTimer(w, 1, 100, nullptr);
  testkit::AdvanceClock(200);
  InvalidateRect(w, nullptr, FALSE);
  PostMessageA(w, WM_USER, 0, 0);
  testkit::PumpPending();
  EXPECT_EQ(order, (std::vector<UINT>{WM_USER, WM_PAINT, WM_TIMER}));
}

TEST_F(UiQueue, WindowTimerWithIdZeroCanBeKilledByTheReturnedId) {
  Handler& h = NewHandler();
  HWND w = MakeWindow(&h);
  UINT_PTR id = SetTimer(w, 0, 20, nullptr);
  ASSERT_NE(id, 0u);
  EXPECT_TRUE(KillTimer(w, id));
  testkit::AdvanceClock(100);
  MSG msg;
  EXPECT_FALSE(PeekMessageA(&msg, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

std::vector<UINT_PTR> g_threadTimerTicks;
void CALLBACK ThreadTimerProc(HWND hwnd, UINT msg, UINT_PTR id, DWORD) {
  EXPECT_EQ(hwnd, nullptr);
  EXPECT_EQ(msg, static_cast<UINT>(WM_TIMER));
  g_threadTimerTicks.push_back(id);
}

TEST_F(UiQueue, ThreadTimersCallTheirProcedureAndForgedTimerMessagesCallNothing) {
  g_threadTimerTicks.clear();
  UINT_PTR id = SetTimer(nullptr, 0, 100, ThreadTimerProc);
  ASSERT_NE(id, 0u);
  testkit::AdvanceClock(150);
  testkit::PumpPending();
  EXPECT_EQ(g_threadTimerTicks, (std::vector<UINT_PTR>{id}));
  // A WM_TIMER that no live timer made names a procedure that is never called.
  PostThreadMessageA(GetCurrentThreadId(), WM_TIMER, id + 1, reinterpret_cast<LPARAM>(ThreadTimerProc));
  EXPECT_TRUE(KillTimer(nullptr, id));
  PostThreadMessageA(GetCurrentThreadId(), WM_TIMER, id, reinterpret_cast<LPARAM>(ThreadTimerProc));
  testkit::AdvanceClock(150);
  testkit::PumpPending();
  EXPECT_EQ(g_threadTimerTicks.size(), 1u);
}

TEST_F(UiQueue, QuitComesAfterPostedMessagesAndThreadMessagesHaveNoWindow) {
  PostThreadMessageA(GetCurrentThreadId(), WM_USER + 5, 1, 2);
  PostQuitMessage(3);
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 5));
  EXPECT_EQ(msg.hwnd, nullptr);
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(msg.wParam, 3u);
  EXPECT_EQ(RegisterWindowMessageA("UiTest.Message"), RegisterWindowMessageA("uitest.message"));
  EXPECT_GE(RegisterWindowMessageA("UiTest.Other"), 0xC000u);
}

TEST_F(UiQueue, CrossThreadSendRunsOnTheOwnerWhileItPumps) {
  Handler& h = NewHandler();
  DWORD ranOn = 0;
  h.fn = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
    if (msg != WM_USER) return kDefault;
    ranOn = GetCurrentThreadId();
    return static_cast<LRESULT>(wParam * 2);
  };
  HWND w = MakeWindow(&h);
  std::atomic<LRESULT> result{0};
  std::atomic<bool> done{false};
  std::thread worker([&] {
    result = SendMessageA(w, WM_USER, 21, 0);
    done = true;
  });
  EXPECT_TRUE(testkit::PumpUntil([&] { return done.load(); }));
  worker.join();
  EXPECT_EQ(result.load(), 42);
  EXPECT_EQ(ranOn, GetCurrentThreadId());
}

TEST_F(UiQueue, ThreadWaitingInItsOwnSendStillAnswersSendsToIt) {
  Handler& mine = NewHandler();
  mine.fn = [](HWND, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
    return msg == WM_USER + 1 ? static_cast<LRESULT>(wParam + 100) : kDefault;
  };
  HWND guiWindow = MakeWindow(&mine);

  std::atomic<HWND> workerWindow{nullptr};
  DWORD workerThread = 0;
  Handler& theirs = NewHandler();
  theirs.fn = [&](HWND, UINT msg, WPARAM wParam, LPARAM) -> LRESULT {
    // Sends back to the GUI thread, which is blocked in its own SendMessage to us.
    if (msg == WM_USER) return SendMessageA(guiWindow, WM_USER + 1, wParam, 0) + 1;
    return kDefault;
  };
  std::thread worker([&] {
    workerThread = GetCurrentThreadId();
    HWND v = MakeWindow(&theirs);
    workerWindow = v;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) DispatchMessageA(&msg);
    DestroyWindow(v);
  });
  ASSERT_TRUE(testkit::PumpUntil([&] { return workerWindow.load() != nullptr; }));
  EXPECT_EQ(SendMessageA(workerWindow, WM_USER, 5, 0), 106);
  PostThreadMessageA(workerThread, WM_QUIT, 0, 0);
  worker.join();
}

// A second GUI thread that stops reading its queue keeps its own input
// waiting, and holds nobody else's: clicks on this thread's window arrive,
// in order, while the other thread's click waits for it.
TEST_F(UiQueue, InputThatAnotherThreadLeavesUnreadHoldsNoInputOfThisThread) {
  Handler& mine = NewHandler();
  std::vector<std::pair<UINT, POINT>> seen;
  mine.fn = [&](HWND, UINT msg, WPARAM, LPARAM lParam) -> LRESULT {
    if (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST)
      seen.emplace_back(msg, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    return kDefault;
  };
  HWND here = Make(WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
  SetPropA(here, "handler", &mine);

  Handler& theirs = NewHandler();
  std::atomic<HWND> there{nullptr};
  std::atomic<bool> read{false}, stop{false};
  std::atomic<int> clicks{0};
  theirs.fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_LBUTTONDOWN) ++clicks;
    return kDefault;
  };
  std::thread other([&] {
    // Shown without taking the activation, which would be sent back across.
    HWND v = Make(WS_POPUP, RECT{300, 0, 400, 100});
    SetPropA(v, "handler", &theirs);
    ShowWindow(v, SW_SHOWNA);
    there = v;
    // Busy elsewhere: reads nothing until told.
    while (!read) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    MSG msg;
    while (!stop) {
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    DestroyWindow(v);
  });
  ASSERT_TRUE(testkit::PumpUntil([&] { return there.load() != nullptr; }));
  testkit::MouseDown(POINT{350, 50});  // the other thread's window
  testkit::MouseUp(POINT{350, 50});
  testkit::MouseDown(POINT{10, 20});
  testkit::MouseUp(POINT{10, 20});
  testkit::MouseDown(POINT{30, 40});
  EXPECT_TRUE(testkit::PumpUntil([&] { return seen.size() == 3; }, 1000));
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[0].first, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(seen[1].first, static_cast<UINT>(WM_LBUTTONUP));
  EXPECT_EQ(seen[2].first, static_cast<UINT>(WM_LBUTTONDOWN));
  EXPECT_EQ(seen[2].second.x, 30);
  EXPECT_EQ(clicks.load(), 0);
  read = true;
  EXPECT_TRUE(testkit::PumpUntil([&] { return clicks.load() == 1; }, 1000));
  stop = true;
  other.join();
}

TEST_F(UiQueue, SendToAWindowOfAFinishedThreadReturnsAtOnce) {
  Handler& h = NewHandler();
  HWND orphan = nullptr;
  std::thread([&] { orphan = MakeWindow(&h); }).join();
  EXPECT_EQ(SendMessageA(orphan, WM_USER, 0, 0), 0);
  EXPECT_FALSE(PostMessageA(orphan, WM_USER, 0, 0));
}

TEST_F(UiQueue, MessageBoxKeepsOtherTimersRunningAndIsAnsweredByTheHook) {
  testkit::MessageBoxLog log;
  HWND box = nullptr;
  std::string shown;
  bool ownerDisabledWhileShown = false;
  Handler& owner = NewHandler();
  HWND ownerWindow = MakeWindow(&owner, WS_POPUP | WS_VISIBLE);
  testkit::ModalHandler modal([&](HWND w) {
    box = w;
    shown = testkit::MessageBoxText(w);
    ownerDisabledWhileShown = !IsWindowEnabled(ownerWindow);
  });
  Handler& ticking = NewHandler();
  int ticks = 0;
  ticking.fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg != WM_TIMER) return kDefault;
    if (++ticks == 3) testkit::Answer(box, IDCANCEL);
    return 0;
  };
  HWND other = MakeWindow(&ticking);
  SetTimer(other, 7, 100, nullptr);
  testkit::SetClockScale(20.0);
  int result = MessageBoxA(ownerWindow, "Cannot create the session!", "Trellian", MB_OKCANCEL | MB_ICONSTOP);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(shown, "Cannot create the session!");
  EXPECT_TRUE(ownerDisabledWhileShown);
  EXPECT_TRUE(IsWindowEnabled(ownerWindow));
  EXPECT_FALSE(IsWindow(box));
  ASSERT_EQ(log.records.size(), 1u);
  EXPECT_EQ(log.records[0].caption, "Trellian");
  EXPECT_EQ(log.records[0].text, "Cannot create the session!");
}

TEST_F(UiQueue, MessageBoxKeysAnswerWithTheDefaultOrCancel) {
  struct Case {
    UINT type;
    UINT key;
    int result;
  };
  const Case cases[] = {
      {MB_OK, VK_RETURN, IDOK},          {MB_OK, VK_ESCAPE, IDOK},
      {MB_YESNO, VK_RETURN, IDYES},      {MB_YESNO | MB_DEFBUTTON2, VK_RETURN, IDNO},
      {MB_OKCANCEL, VK_ESCAPE, IDCANCEL},
  };
  for (const Case& k : cases) {
    testkit::ModalHandler modal([&](HWND) { testkit::PressKey(k.key); });
    EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, k.type), k.result) << k.type << " " << k.key;
  }
  // Escape does nothing where there is no way to cancel; a button press ends it.
  HWND box = nullptr;
  testkit::ModalHandler modal([&](HWND w) {
    box = w;
    testkit::PressKey(VK_ESCAPE);
    testkit::Answer(w, IDNO);
  });
  EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, MB_YESNO), IDNO);
}

TEST_F(UiQueue, QuitInsideAModalLoopEndsItAndStaysPosted) {
  testkit::ModalHandler modal([](HWND) { PostQuitMessage(9); });
  EXPECT_EQ(MessageBoxA(nullptr, "text", nullptr, MB_OK), 0);
  MSG msg;
  EXPECT_FALSE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.wParam, 9u);
}

class UiSockets : public UiQueue {
 protected:
  void SetUp() override {
    UiQueue::SetUp();
    WSADATA data;
    ASSERT_EQ(WSAStartup(MAKEWORD(1, 1), &data), 0);
    receiver = socket(AF_INET, SOCK_DGRAM, 0);
    sender = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = inet_addr("127.0.0.1");
    ASSERT_EQ(bind(receiver, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    int len = sizeof to;
    ASSERT_EQ(getsockname(receiver, reinterpret_cast<sockaddr*>(&to), &len), 0);
  }
  void TearDown() override {
    closesocket(receiver);
    closesocket(sender);
    WSACleanup();
    UiQueue::TearDown();
  }
  void Send(const char* text) {
    sendto(sender, text, static_cast<int>(strlen(text)), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
  }
  SOCKET receiver = INVALID_SOCKET, sender = INVALID_SOCKET;
  sockaddr_in to{};
};

TEST_F(UiSockets, ReadNoticeArrivesAndReArmsAfterEachReceive) {
  const UINT kNotice = 0x819B;
  Handler& h = NewHandler();
  std::vector<std::string> received;
  int notices = 0;
  bool read = true;
  h.fn = [&](HWND, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (msg != kNotice) return kDefault;
    EXPECT_EQ(static_cast<SOCKET>(wParam), receiver);
    EXPECT_EQ(WSAGETSELECTEVENT(lParam), FD_READ);
    ++notices;
    if (read) {
      char buf[64];
      int n = recvfrom(receiver, buf, sizeof buf, 0, nullptr, nullptr);
      if (n > 0) received.emplace_back(buf, static_cast<size_t>(n));
    }
    return 0;
  };
  HWND w = MakeWindow(&h);
  ASSERT_EQ(WSAAsyncSelect(receiver, w, kNotice, FD_READ), 0);
  Send("one");
  Send("two");
  Send("three");
  EXPECT_TRUE(testkit::PumpUntil([&] { return received.size() == 3; }));
  EXPECT_EQ(received, (std::vector<std::string>{"one", "two", "three"}));
  EXPECT_EQ(notices, 3);

  // Without a receive, no second notice comes, however much is waiting.
  read = false;
  notices = 0;
  Send("four");
  Send("five");
  EXPECT_TRUE(testkit::PumpUntil([&] { return notices == 1; }));
  testkit::PumpFor(100);
  EXPECT_EQ(notices, 1);
  read = true;
  char buf[64];
  EXPECT_EQ(recvfrom(receiver, buf, sizeof buf, 0, nullptr, nullptr), 4);  // re-arms
  EXPECT_TRUE(testkit::PumpUntil([&] { return received.size() == 4; }));
  EXPECT_EQ(received.back(), "five");
  // The socket became non-blocking: an empty read fails at once.
  EXPECT_EQ(recvfrom(receiver, buf, sizeof buf, 0, nullptr, nullptr), SOCKET_ERROR);
  EXPECT_EQ(WSAGetLastError(), WSAEWOULDBLOCK);
}

// A notice is posted input: it comes before a timer message even when the
// thread never waits because its timer is always due again.
TEST_F(UiSockets, ReadNoticeComesWhileATimerIsAlwaysDue) {
  const UINT kNotice = 0x819B;
  Handler& h = NewHandler();
  int notices = 0, ticks = 0;
  h.fn = [&](HWND, UINT msg, WPARAM, LPARAM) -> LRESULT {
    if (msg == WM_TIMER) {
      ++ticks;
      Sleep(3);  // longer than the period: the timer is due again at once
      return 0;
    }
    if (msg != kNotice) return kDefault;
    ++notices;
    char buf[64];
    recvfrom(receiver, buf, sizeof buf, 0, nullptr, nullptr);
    return 0;
  };
  HWND w = MakeWindow(&h);
  ASSERT_EQ(WSAAsyncSelect(receiver, w, kNotice, FD_READ), 0);
  SetTimer(w, 1, 1, nullptr);
  // Peeks only, never waits, for at most half a second.
  auto peekWhile = [](const std::function<bool()>& going) {
    for (DWORD start = GetTickCount(); going() && GetTickCount() - start < 500;) {
      MSG msg;
      if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
    }
  };
  peekWhile([&] { return ticks < 3; });
  ASSERT_EQ(ticks, 3);
  Send("busy");
  peekWhile([&] { return notices == 0; });
  KillTimer(w, 1);
  EXPECT_EQ(notices, 1);
}

}  // namespace
