// The gallery's log-list page: the apply engine's log with its grey
// line-number gutter, the default black-on-white lines and a few coloured
// ones, a selected line, a plain line without colour bytes and a line wider
// than the list, which brings up the horizontal bar, written as loglist.png.
#include <string>

#include "CLogListBox.h"
#include "GalleryPages.h"

bool SaveWindowPng(HWND hwnd, const std::string& path);  // DialogPage.cpp

namespace {

bool WriteLogList(const std::string& out) {
  CWnd page;
  page.CreateEx(0, nullptr, "log", WS_POPUP | WS_VISIBLE, 40, 40, 420, 200, nullptr, nullptr);
  CLogListBox log;
  log.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_EXTENDEDSEL | LBS_NOTIFY,
             CRect(0, 0, 420, 200), &page, 1030);
  log.SetFont(CFont::FromHandle(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))), FALSE);
  log.SetShowLineNumbers(TRUE);
  log.SetLineNumberDigits(5);
  log.SetLineNumberTextColor(RGB(255, 255, 255));
  log.SetLineNumberBackColor(RGB(128, 128, 128));
  const struct {
    unsigned text;
    int back;
    const char* line;
  } lines[] = {
      {0, 1, "Applying settings to 4 access points"},
      {0, 1, "0011223344AA: Set IP 10.250.0.11 ... OK!"},
      {3, 1, "0011223344BB: Set IP 10.250.0.12 ... OK!"},
      {10, 1, "0011223344CC: no answer after 3 tries (Error!)"},
      {1, 9, "0011223344DD:\tskipped\t(reboot pending)"},
      {12, 5, "Yellow on navy"},
      {0, 11, "Black on green"},
      {0, 1, "000D88A00001: The group settings are being written to every member. This takes a while."},
  };
  for (const auto& l : lines) log.AddLine(l.text, l.back, l.line);
  log.AddString("a plain line added without colour bytes");
  log.AddLine("Done.");
  log.SetSel(2, TRUE);
  log.SetTopIndex(0);
  page.UpdateWindow();
  log.UpdateWindow();
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
  const bool ok = SaveWindowPng(page.m_hWnd, out + "/loglist.png");
  page.DestroyWindow();
  return ok;
}

GalleryPage page("loglist", WriteLogList);

}  // namespace
