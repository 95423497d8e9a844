// Tooltips: relayed mouse moves, the delay before showing, texts asked for
// with TTN_NEEDTEXT (the 80-character buffer or the handler's own text),
// wrapping at the maximum width, and hiding on a press.

#include <gtest/gtest.h>

#include <string>

#include "WindowText.h"
#include "cc_fixture.h"

namespace {

using CcToolTip = CcFixture;

TEST_F(CcToolTip, CallbackTextsShowAfterTheDelayAndHideOnAPress) {
  HWND tip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASS, nullptr, WS_POPUP, 0, 0, 0, 0, parent, nullptr, nullptr,
                             nullptr);
  ASSERT_NE(nullptr, tip);
  TOOLINFOA ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = parent;
  ti.uId = 7;
  ti.rect = RECT{0, 0, 100, 100};
  ti.lpszText = LPSTR_TEXTCALLBACK;
  ASSERT_TRUE(SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&ti)));
  EXPECT_EQ(1, SendMessageA(tip, TTM_GETTOOLCOUNT, 0, 0));

  // Longer than the notification's own buffer, in words that can wrap.
  std::string kLong;
  for (int i = 0; i < 30; ++i) kLong += "word ";
  kLong.pop_back();
  std::string answer;
  bool own = false;
  onNotify = [&](NMHDR* h) -> LRESULT {
    if (h->code != TTN_NEEDTEXTA) return 0;
    auto* di = reinterpret_cast<NMTTDISPINFOA*>(h);
    EXPECT_EQ(7u, h->idFrom);
    if (own) {
      di->lpszText = const_cast<char*>(kLong.c_str());
    } else {
      size_t n = std::min(answer.size(), sizeof(di->szText) - 1);
      answer.copy(di->szText, n);
      di->szText[n] = 0;
    }
    return 0;
  };
  auto hover = [&](POINT client) {
    MSG m{};
    m.hwnd = parent;
    m.message = WM_MOUSEMOVE;
    m.lParam = MAKELPARAM(client.x, client.y);
    SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&m));
  };
  struct Case {
    const char* name;
    std::string answer;
    bool own;
    std::string shown;
  };
  const Case cases[] = {
      {"short text in the buffer", "Unconfigured access point", false, "Unconfigured access point"},
      {"79 characters fill the buffer", std::string(79, 'x'), false, std::string(79, 'x')},
      {"the handler's own longer text", "", true, kLong},
  };
  for (const Case& c : cases) {
    answer = c.answer;
    own = c.own;
    hover(POINT{150, 150});  // off the tool: whatever was shown goes
    hover(POINT{20, 20});
    testkit::PumpPending();
    EXPECT_FALSE(IsWindowVisible(tip)) << c.name;  // not before the delay
    testkit::AdvanceClock(600);
    testkit::PumpPending();
    EXPECT_TRUE(IsWindowVisible(tip)) << c.name;
    EXPECT_EQ(c.shown, WindowText(tip)) << c.name;
  }

  // A press hides the tip.
  MSG press{};
  press.hwnd = parent;
  press.message = WM_LBUTTONDOWN;
  SendMessageA(tip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&press));
  EXPECT_FALSE(IsWindowVisible(tip));

  // A maximum width makes the long text wrap into a narrower, taller tip.
  RECT wide;
  GetWindowRect(tip, &wide);
  SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, 100);
  hover(POINT{150, 150});
  hover(POINT{20, 20});
  testkit::AdvanceClock(600);
  testkit::PumpPending();
  RECT narrow;
  GetWindowRect(tip, &narrow);
  EXPECT_LE(narrow.right - narrow.left, 110);
  EXPECT_GT(narrow.bottom - narrow.top, wide.bottom - wide.top);
}

}  // namespace
