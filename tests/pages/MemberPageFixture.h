// What the member pages' tests share: the language file, a visible host for
// the page, device records, the answers given to modal windows (message
// boxes and the manual IP dialog) and a drag with the mouse.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "CDeviceRecord.h"
#include "CWizardApp.h"
#include "CWizardPage.h"
#include "CommCtrl.h"
#include "MembersRes.h"
#include "RTSkin.h"
#include "TestKit.h"
#include "WindowText.h"
#include "afxcmn.h"

extern CWizardApp theApp;

namespace members_test {

inline void UseLanguageFile() {
  theApp.m_strLangSection = "LangString";
  theApp.m_iniFile.SetPath((std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/res/language/en/Lang.MLS").c_str());
}

// The program's own skin, as the main dialog loads it, so that pages and
// dialogs paint as the operator sees them.
inline void UseSkin() {
  static CRTSkin skin;
  static const bool loaded = [] {
    const bool ok = skin.LoadSkin((std::string(std::getenv("TRELLIAN_SOURCE_DIR")) + "/res/Skin/vAdev/skin.ini").c_str());
    skin.EnableSkin(1);
    return ok;
  }();
  (void)loaded;
}

// The texts and the skin the program uses, for a whole test suite.
inline void UseProgramLook() {
  UseLanguageFile();
  UseSkin();
}

// A visible top-level window for a page to stand in.
inline bool MakeHost(CWnd& host) {
  InitCommonControls();
  return host.CreateEx(0, nullptr, "host", WS_POPUP | WS_VISIBLE, 20, 20, 560, 420, nullptr, nullptr);
}

// Paints the window and its children now and writes it as a PNG.
inline bool Shoot(HWND hwnd, const std::string& path) {
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  testkit::PumpPending();
  return testkit::CaptureWindowPng(hwnd, path);
}

inline CString Lang(const char* key) { return theApp.Text(key); }

inline CDeviceRecord* MakeDevice(const std::string& ip, const std::string& mac, const std::string& snmp = "1") {
  auto* device = new CDeviceRecord;
  device->m_strModel = "RIZ-4410";
  device->m_strIp = ip.c_str();
  device->m_strMac = mac.c_str();
  device->m_strNetmask = "255.255.255.0";
  device->m_strLocation = "Hall";
  device->m_strSnmpStatus = snmp.c_str();
  return device;
}

// The text a modal window shows: a message box's text, else the texts of
// its static controls (a skinned message box is a dialog of statics).
inline std::string ModalText(HWND modal) {
  std::string text = testkit::MessageBoxText(modal);
  if (!text.empty()) return text;
  for (HWND child = ::GetWindow(modal, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    char cls[32] = "";
    ::GetClassName(child, cls, sizeof cls);
    if (std::string(cls) != "Static" || !::IsWindowVisible(child)) continue;
    text += WindowText(child);
  }
  return text;
}

// The manual IP dialog's three fields as the operator types them.
struct ManualEntry {
  std::string ip, mask, gateway;
};

// Answers every modal window: the manual IP dialog gets `entry` and OK
// (then Cancel, which closes it should OK be refused); message boxes get
// `messageAnswer` and are recorded.
class ModalAnswers {
 public:
  ModalAnswers()
      : m_handler([this](HWND modal) {
          if (::GetDlgItem(modal, IDC_MAN_GATEWAY)) {
            ++dialogs;
            ::SetDlgItemText(modal, IDC_MAN_IP, entry.ip.c_str());
            ::SetDlgItemText(modal, IDC_MAN_MASK, entry.mask.c_str());
            ::SetDlgItemText(modal, IDC_MAN_GATEWAY, entry.gateway.c_str());
            testkit::Answer(modal, IDOK);
            testkit::Answer(modal, IDCANCEL);
            return;
          }
          if (onOther && onOther(modal)) return;
          messages.push_back(ModalText(modal));
          testkit::Answer(modal, messageAnswer);
        }) {}

  ManualEntry entry;
  int messageAnswer = IDOK;
  int dialogs = 0;
  std::vector<std::string> messages;
  // Asked first for any window that is not the manual IP dialog; true when
  // it answered the window itself.
  std::function<bool(HWND)> onOther;

 private:
  testkit::ModalHandler m_handler;
};

inline std::vector<std::string> Texts(std::initializer_list<const char*> keys) {
  std::vector<std::string> texts;
  for (const char* key : keys) texts.emplace_back(static_cast<LPCTSTR>(Lang(key)));
  return texts;
}

// A point in the middle of a row's first visible cell, in screen coordinates.
inline POINT RowPoint(CListCtrl& list, int row) {
  CRect rc;
  list.GetItemRect(row, &rc, LVIR_BOUNDS);
  POINT p{rc.left + 30, rc.top + rc.Height() / 2};
  list.ClientToScreen(&p);
  return p;
}

// A point inside the window's client area, in screen coordinates: `fx` and
// `fy` are fractions of its width and height.
inline POINT Inside(CWnd& wnd, double fx, double fy) {
  CRect rc;
  wnd.GetClientRect(&rc);
  POINT p{rc.left + static_cast<int>(rc.Width() * fx), rc.top + static_cast<int>(rc.Height() * fy)};
  wnd.ClientToScreen(&p);
  return p;
}

// Presses at `from`, moves far enough to start a drag, moves to `to`, calls
// `whileOver` there and releases. The press comes well after any earlier
// one, so it is never taken for a double click.
inline void Drag(POINT from, POINT to, const std::function<void()>& whileOver = {}) {
  testkit::AdvanceClock(1000);
  testkit::MouseMove(from);
  testkit::MouseDown(from);
  testkit::MouseMove(POINT{from.x + 20, from.y + 2});
  testkit::PumpPending();
  testkit::MouseMove(POINT{to.x - 3, to.y});
  testkit::MouseMove(to);
  testkit::PumpPending();
  if (whileOver) whileOver();
  testkit::MouseUp(to);
  testkit::PumpPending();
}

// Clicks a cell `dx` pixels from its left edge, scrolled into view first
// (the member list is wider than the page). A click well after any earlier
// one, so never a double click.
inline void ClickCell(CListCtrl& list, int row, int column, int dx) {
  CRect cell, client;
  ASSERT_TRUE(list.GetSubItemRect(row, column, LVIR_BOUNDS, cell));
  list.GetClientRect(&client);
  if (cell.right > client.right) {
    list.Scroll(CSize(cell.right - client.right + 4, 0));
    list.GetSubItemRect(row, column, LVIR_BOUNDS, cell);
  }
  testkit::AdvanceClock(1000);
  testkit::Click(list.m_hWnd, POINT{cell.left + dx, cell.top + cell.Height() / 2});
  testkit::PumpPending();
}
// The image of a Manually or Delete cell.
inline void PressIcon(CListCtrl& list, int row, int column) { ClickCell(list, row, column, 6); }

// Where the screenshots go: the build tree, beside the test programs.
inline std::string ShotPath(const std::string& name) {
  const char* dir = std::getenv("TRELLIAN_BINARY_DIR");
  return std::string(dir ? dir : ".") + "/" + name + ".png";
}

}  // namespace members_test
