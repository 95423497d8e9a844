// The skinned message box: its two forms, the results of every way out, the
// texts it shows, the picture behind it and the seam that shows it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "CIniFile.h"
#include "DialogPagesRes.h"
#include "FormatLangText.h"
#include "DialogTestEnv.h"
#include "SkinMessageBox.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardUi.h"

using namespace dialogtest;

namespace {

class SkinMessageBoxTest : public ::testing::Test {
 protected:
  void TearDown() override { testkit::ResetWindows(); }
};

// A click in the middle of a control, as the operator makes it.
void ClickItem(HWND dialog, int id) {
  HWND item = ::GetDlgItem(dialog, id);
  RECT rc{};
  ::GetClientRect(item, &rc);
  testkit::Click(item, POINT{rc.right / 2, rc.bottom / 2});
}

// The ways out of the box and the result each gives, in both forms.
struct Exit {
  const char* name;
  int okCancel;
  std::function<void(HWND)> act;
  INT_PTR result;
};

TEST_F(SkinMessageBoxTest, EveryWayOutGivesItsResult) {
  const auto press = [](int id) { return [id](HWND box) { ClickItem(box, id); }; };
  const auto key = [](UINT vk) { return [vk](HWND) { testkit::PressKey(vk); }; };
  const auto closeBox = [](HWND box) { ::PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); };
  const Exit exits[] = {
      {"single OK", 0, press(IDC_MSGBOX_SINGLE_OK), IDOK},
      {"single Enter", 0, key(VK_RETURN), IDOK},
      {"single Escape", 0, key(VK_ESCAPE), IDCANCEL},
      {"single caption close", 0, closeBox, IDCANCEL},
      {"pair OK", 1, press(IDOK), IDOK},
      {"pair Cancel", 1, press(IDCANCEL), IDCANCEL},
      {"pair Enter", 1, key(VK_RETURN), IDOK},
      {"pair Escape", 1, key(VK_ESCAPE), IDCANCEL},
      {"pair caption close", 1, closeBox, IDCANCEL},
  };
  for (const Exit& exit : exits) {
    CSkinMessageBox box;
    box.SetMessage("Are you sure?");
    EXPECT_EQ(box.SetOkCancel(exit.okCancel), exit.okCancel);
    bool seen = false;
    const INT_PTR result = RunModal([&] { return box.DoModal(); }, [&](HWND w) {
      seen = true;
      exit.act(w);
    });
    EXPECT_TRUE(seen) << exit.name;
    EXPECT_EQ(result, exit.result) << exit.name;
  }
}

TEST_F(SkinMessageBoxTest, SingleFormShowsOneOkButtonUnderTheMessage) {
  ASSERT_FALSE(Text("IDS_UI_BTN_OK").empty());
  CSkinMessageBox box;
  box.SetMessage("Please enter the AP Vezovi name.");
  RunModal([&] { return box.DoModal(); }, [&](HWND w) {
    EXPECT_TRUE(ItemVisible(w, IDC_MSGBOX_SINGLE_OK));
    EXPECT_FALSE(ItemVisible(w, IDOK));
    EXPECT_FALSE(ItemVisible(w, IDCANCEL));
    EXPECT_EQ(ItemText(w, IDC_MSGBOX_SINGLE_OK), Text("IDS_UI_BTN_OK"));
    EXPECT_EQ(ItemText(w, IDC_MSGBOX_TEXT), "Please enter the AP Vezovi name.");
    EXPECT_EQ(WindowText(w), "AP Vezovi Tool");
    Capture(w, "message_box_single");
    testkit::Answer(w, IDC_MSGBOX_SINGLE_OK);
  });
}

TEST_F(SkinMessageBoxTest, PairFormShowsOkAndCancelInsteadOfTheSingleOk) {
  CSkinMessageBox box;
  box.SetMessage("Do you want to remove the selected member from the AP Vezovi?");
  box.SetOkCancel(1);
  RunModal([&] { return box.DoModal(); }, [&](HWND w) {
    EXPECT_FALSE(ItemVisible(w, IDC_MSGBOX_SINGLE_OK));
    EXPECT_TRUE(ItemVisible(w, IDOK));
    EXPECT_TRUE(ItemVisible(w, IDCANCEL));
    EXPECT_EQ(ItemText(w, IDOK), Text("IDS_UI_BTN_OK"));
    EXPECT_EQ(ItemText(w, IDCANCEL), Text("IDS_UI_CANCEL"));
    Capture(w, "message_box_pair");
    testkit::Answer(w, IDCANCEL);
  });
}

TEST_F(SkinMessageBoxTest, MessageSetWhileShownDoesNotChangeTheText) {
  CSkinMessageBox box;
  box.SetMessage("first");
  RunModal([&] { return box.DoModal(); }, [&](HWND w) {
    box.SetMessage("second");
    testkit::PumpPending();
    EXPECT_EQ(ItemText(w, IDC_MSGBOX_TEXT), "first");
    testkit::Answer(w, IDOK);
  });
  // A new box starts in the single-button form again.
  CSkinMessageBox next;
  RunModal([&] { return next.DoModal(); }, [&](HWND w) {
    EXPECT_TRUE(ItemVisible(w, IDC_MSGBOX_SINGLE_OK));
    EXPECT_FALSE(ItemVisible(w, IDCANCEL));
    testkit::Answer(w, IDOK);
  });
}

TEST_F(SkinMessageBoxTest, MissingLanguageKeysLeaveEmptyLabelsAndTheBoxStillWorks) {
  const CString path = theApp.m_iniFile.GetPath();
  theApp.m_iniFile.SetPath("/nonexistent/Lang.MLS");
  CSkinMessageBox box;
  box.SetOkCancel(1);
  const INT_PTR result = RunModal([&] { return box.DoModal(); }, [&](HWND w) {
    EXPECT_EQ(ItemText(w, IDOK), "");
    EXPECT_EQ(ItemText(w, IDCANCEL), "");
    EXPECT_EQ(ItemText(w, IDC_MSGBOX_TEXT), "");
    ClickItem(w, IDOK);
  });
  theApp.m_iniFile.SetPath(path);
  EXPECT_EQ(result, IDOK);
}

// The picture is stretched, not tiled: whatever the size of the client
// area, its top rows show the picture's accent line and its bottom corner
// the picture's bottom corner, and nothing of the skin's dialog colour.
TEST_F(SkinMessageBoxTest, BackgroundPictureFillsAnyClientSize) {
  CBitmap picture;
  ASSERT_TRUE(picture.LoadBitmap(IDB_DIALOG_BACKDROP));
  BITMAP info{};
  picture.GetBitmap(&info);
  EXPECT_EQ(info.bmWidth, 373);
  EXPECT_EQ(info.bmHeight, 207);
  CDC mem;
  mem.CreateCompatibleDC(nullptr);
  CBitmap* old = mem.SelectObject(&picture);
  const COLORREF topLeft = mem.GetPixel(0, 0), bottomLeft = mem.GetPixel(0, 206), centre = mem.GetPixel(186, 103);
  mem.SelectObject(old);
  // The picture is averaged when stretched: a shade may move by a step or two.
  const auto near = [](uint32_t pixel, COLORREF c) {
    const int got[] = {int(pixel >> 16 & 255), int(pixel >> 8 & 255), int(pixel & 255)};
    const int want[] = {GetRValue(c), GetGValue(c), GetBValue(c)};
    for (int i = 0; i < 3; ++i)
      if (std::abs(got[i] - want[i]) > 3) return false;
    return true;
  };

  const SIZE sizes[] = {{200, 90}, {373, 207}, {640, 480}, {900, 140}};
  for (SIZE size : sizes) {
    CSkinMessageBox box;
    RunModal([&] { return box.DoModal(); }, [&](HWND w) {
      RECT frame{}, client{};
      ::GetWindowRect(w, &frame);
      ::GetClientRect(w, &client);
      const int extraX = (frame.right - frame.left) - client.right, extraY = (frame.bottom - frame.top) - client.bottom;
      ::SetWindowPos(w, nullptr, 0, 0, size.cx + extraX, size.cy + extraY, SWP_NOMOVE | SWP_NOZORDER);
      ::RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
      testkit::PumpPending();
      ::GetClientRect(w, &client);
      ASSERT_EQ(client.right, size.cx);
      const auto at = [&](int x, int y) {
        POINT p = ClientToWindow(w, POINT{x, y});
        return testkit::WindowPixel(w, p.x, p.y);
      };
      EXPECT_PRED2(near, at(1, 0), topLeft) << size.cx;
      EXPECT_PRED2(near, at(size.cx - 1, 0), topLeft) << size.cx;
      EXPECT_PRED2(near, at(0, size.cy - 1), bottomLeft) << size.cx;
      EXPECT_PRED2(near, at(size.cx / 2, size.cy / 2), centre) << size.cx;
      testkit::Answer(w, IDOK);
    });
  }
}

TEST_F(SkinMessageBoxTest, EraseIsSuppressed) {
  CSkinMessageBox box;
  RunModal([&] { return box.DoModal(); }, [&](HWND w) {
    CClientDC dc(CWnd::FromHandle(w));
    EXPECT_EQ(::SendMessageA(w, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0), TRUE);
    testkit::Answer(w, IDOK);
  });
}

// The seam shows the box in the form asked for and hands back its result.
TEST_F(SkinMessageBoxTest, ShowSkinMessageShowsTheBox) {
  for (BOOL okCancel : {FALSE, TRUE}) {
    const auto answer = [&](HWND w) {
      EXPECT_EQ(ItemText(w, IDC_MSGBOX_TEXT), "The password is not correct.");
      EXPECT_EQ(ItemVisible(w, IDCANCEL), bool(okCancel));
      EXPECT_EQ(ItemVisible(w, IDC_MSGBOX_SINGLE_OK), !okCancel);
      testkit::Answer(w, okCancel ? IDCANCEL : IDOK);
    };
    const INT_PTR result = RunModal([&] { return ShowSkinMessage("The password is not correct.", okCancel); }, answer);
    EXPECT_EQ(result, okCancel ? IDCANCEL : IDOK);
  }
}

// Every message of the language file fits the box whole: word-wrapped in
// the message's font, no line falls below the message's area. The network
// message is shown with the longest failure text a socket gives.
TEST_F(SkinMessageBoxTest, EveryMessageOfTheLanguageFileFitsTheBox) {
  // Room for every key name at once.
  CIniFile lang(theApp.m_iniFile.GetPath(), 64 * 1024);
  CStringList names;
  lang.GetKeyNames(theApp.m_strLangSection, names);
  std::vector<std::string> messages;
  for (POSITION p = names.GetHeadPosition(); p;) {
    const CString key = names.GetNext(p);
    if (key.Find("IDS_MSG_") != 0) continue;
    CString text = theApp.Text(key);
    if (key == "IDS_MSG_NETWORK_FAIL")
      text = FormatLangText(text, {"Socket not ready!Please check if the network is ready."});
    messages.push_back(std::string(text));
  }
  ASSERT_GT(messages.size(), 20u);
  std::vector<std::string> cut;
  for (const std::string& message : messages) {
    CSkinMessageBox box;
    box.SetMessage(message.c_str());
    RunModal([&] { return box.DoModal(); }, [&](HWND w) {
      HWND text = ::GetDlgItem(w, IDC_MSGBOX_TEXT);
      RECT area{};
      ::GetClientRect(text, &area);
      RECT needed = area;
      HDC dc = ::GetDC(text);
      HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(::SendMessageA(text, WM_GETFONT, 0, 0)));
      ::DrawTextA(dc, message.c_str(), -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
      ::SelectObject(dc, old);
      ::ReleaseDC(text, dc);
      if (needed.bottom > area.bottom || needed.right > area.right) cut.push_back(message);
      testkit::Answer(w, IDC_MSGBOX_SINGLE_OK);
    });
  }
  EXPECT_TRUE(cut.empty()) << ::testing::PrintToString(cut);
}

}  // namespace
