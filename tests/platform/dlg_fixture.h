// A dialog made from a template with a procedure that records what its
// controls tell it, and a pump that runs the dialog manager's keyboard
// handling as a modeless dialog's message loop does.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "Controls.h"
#include "Dialog.h"
#include "TestKit.h"
#include "WindowText.h"

class DialogTest : public ::testing::Test {
 protected:
  struct Command {
    int id;
    int code;
  };
  static std::vector<Command>& Commands() {
    static std::vector<Command> c;
    return c;
  }
  // Extra handling for one test: return TRUE when the message was handled.
  static std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>& Hook() {
    static std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> h;
    return h;
  }

  static INT_PTR CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (Hook()) {
      INT_PTR r = Hook()(hwnd, msg, wParam, lParam);
      if (r) return r;
    }
    switch (msg) {
      case WM_INITDIALOG:
        return TRUE;
      case WM_COMMAND:
        Commands().push_back(Command{LOWORD(wParam), HIWORD(wParam)});
        if ((LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) && HIWORD(wParam) == BN_CLICKED)
          EndDialog(hwnd, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
  }

  void SetUp() override { PlatformDialogClass(nullptr); }  // registers the dialog and control classes
  void TearDown() override {
    testkit::ResetWindows();
    Commands().clear();
    Hook() = nullptr;
  }

  HWND Open(const DialogTemplate& tpl) {
    DialogTemplate shown = tpl;
    shown.style |= WS_VISIBLE;
    HWND dlg = CreateDialogIndirectParamA(nullptr, &shown, nullptr, Proc, 0);
    EXPECT_NE(dlg, nullptr);
    dialog_ = dlg;
    Pump();
    return dlg;
  }

  void Pump() {
    MSG msg;
    for (int n = 0; n < 10000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
      if (dialog_ && IsDialogMessageA(dialog_, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void Press(UINT vk) {
    testkit::PressKey(vk);
    Pump();
  }
  void Type(const std::string& text) {
    testkit::TypeText(text);
    Pump();
  }
  void ClickItem(int id, POINT at = POINT{3, 3}) {
    testkit::Click(GetDlgItem(dialog_, id), at);
    Pump();
  }

  int Count(int id, int code) const {
    int n = 0;
    for (const Command& c : Commands()) n += c.id == id && c.code == code;
    return n;
  }
  std::vector<int> CodesOf(int id) const {
    std::vector<int> out;
    for (const Command& c : Commands())
      if (c.id == id) out.push_back(c.code);
    return out;
  }

  static RECT ChildRect(HWND dialog, int id) {
    RECT rc;
    GetWindowRect(GetDlgItem(dialog, id), &rc);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rc), 2);
    return rc;
  }

  HWND dialog_ = nullptr;
};

inline DialogTemplate Template(std::vector<DialogItemTemplate> items, int cx = 200, int cy = 120) {
  DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
  t.x = 10;
  t.y = 10;
  t.cx = cx;
  t.cy = cy;
  t.caption = "Test";
  t.fontFace = "MS Sans Serif";
  t.pointSize = 8;
  t.items = std::move(items);
  return t;
}
