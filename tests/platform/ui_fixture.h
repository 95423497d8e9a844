// Windows whose procedure a test sets per window, for the window manager's tests.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

#include "TestKit.h"
#include "WinUser.h"

// What a handler returns to leave the message to DefWindowProc.
const LRESULT kDefault = -12345;

struct Handler {
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> fn;
};

inline LRESULT CALLBACK HandlerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto* h = reinterpret_cast<Handler*>(GetPropA(hwnd, "handler"));
  if (h && h->fn) {
    LRESULT r = h->fn(hwnd, msg, wParam, lParam);
    if (r != kDefault) return r;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

class UiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA wc{};
    wc.lpfnWndProc = HandlerProc;
    wc.lpszClassName = "UiTestHandler";
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassA(&wc);  // the first test registers it; later ones find it
  }
  // Handlers outlive the test body and are silenced before the windows left
  // over are destroyed (their lambdas refer to the body's locals).
  void TearDown() override {
    for (auto& h : handlers) h->fn = nullptr;
    testkit::ResetWindows();
    testkit::SetClockScale(1.0);
  }
  HWND Make(DWORD style, RECT r = RECT{0, 0, 100, 100}, HWND parent = nullptr, int id = 0) {
    handlers.push_back(std::make_unique<Handler>());
    HWND w = CreateWindowExA(0, "UiTestHandler", "", style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    SetPropA(w, "handler", handlers.back().get());
    return w;
  }
  static Handler& Of(HWND w) { return *reinterpret_cast<Handler*>(GetPropA(w, "handler")); }
  std::vector<std::unique_ptr<Handler>> handlers;
};
