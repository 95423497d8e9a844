// Tooltips: tools (a rectangle of a window, or a whole window), mouse
// messages relayed by the owner, a delay before showing, texts that are fixed
// or asked for with TTN_NEEDTEXT, and a pop-up that wraps at a maximum width.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ControlUtil.h"
#include "Resource.h"

namespace {

const UINT_PTR kShowTimer = 1;
const UINT_PTR kHideTimer = 2;
const int kMargin = 3;

struct Tool {
  TOOLINFOA info{};
  std::string text;
  bool callback = false;
};

struct ToolTip {
  HWND hwnd = nullptr;
  std::vector<Tool> tools;
  bool active = true;
  int current = -1;  // the tool under the pointer
  bool showing = false;
  int maxWidth = -1;
  UINT initialDelay = 500;
  UINT autoPop = 5000;
  UINT reshow = 100;
  COLORREF back = CLR_NONE;
  COLORREF text = CLR_NONE;
  HFONT font = nullptr;
  std::string shownText;
  POINT lastPoint{};
};

ToolTip* Get(HWND hwnd) { return ctl::StateOf<ToolTip>(hwnd); }

bool SameTool(const TOOLINFOA& a, const TOOLINFOA* b) { return b && a.hwnd == b->hwnd && a.uId == b->uId; }

int FindTool(const ToolTip* tt, const TOOLINFOA* ti) {
  for (size_t i = 0; i < tt->tools.size(); ++i)
    if (SameTool(tt->tools[i].info, ti)) return static_cast<int>(i);
  return -1;
}

void StoreText(Tool* tool, LPSTR text, HINSTANCE inst) {
  tool->callback = text == LPSTR_TEXTCALLBACKA;
  tool->text.clear();
  if (tool->callback || !text) return;
  if (IS_INTRESOURCE(text)) {
    char buf[1024];
    int n = LoadStringA(inst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(text)), buf, sizeof(buf));
    tool->text.assign(buf, static_cast<size_t>(std::max(0, n)));
    return;
  }
  tool->text = text;
}

void CopyOut(const Tool& tool, TOOLINFOA* out) {
  LPSTR buffer = out->lpszText;
  *out = tool.info;
  out->lpszText = buffer;
  if (tool.callback) {
    out->lpszText = LPSTR_TEXTCALLBACKA;
  } else if (buffer && !IS_INTRESOURCE(buffer) && buffer != LPSTR_TEXTCALLBACKA) {
    // The caller's buffer is of unknown size; 80 characters is what callers provide.
    size_t n = std::min(tool.text.size(), static_cast<size_t>(79));
    memcpy(buffer, tool.text.data(), n);
    buffer[n] = 0;
  }
}

// The text of a tool: its own, or the answer to TTN_NEEDTEXT from the window
// that holds the tool.
std::string TextOf(ToolTip* tt, int index) {
  Tool tool = tt->tools[static_cast<size_t>(index)];
  if (!tool.callback) return tool.text;
  NMTTDISPINFOA di{};
  di.lpszText = di.szText;
  di.uFlags = tool.info.uFlags;
  di.lParam = tool.info.lParam;
  di.hdr.hwndFrom = tt->hwnd;
  di.hdr.idFrom = tool.info.uId;
  di.hdr.code = TTN_NEEDTEXTA;
  SendMessageA(tool.info.hwnd, WM_NOTIFY, tool.info.uId, reinterpret_cast<LPARAM>(&di));
  if (!di.lpszText || di.lpszText == LPSTR_TEXTCALLBACKA) return std::string();
  if (IS_INTRESOURCE(di.lpszText)) {
    char buf[1024];
    int n = LoadStringA(di.hinst, static_cast<UINT>(reinterpret_cast<ULONG_PTR>(di.lpszText)), buf, sizeof(buf));
    return std::string(buf, static_cast<size_t>(std::max(0, n)));
  }
  // The handler's own buffer is never read past its 80 characters.
  if (di.lpszText == di.szText) return std::string(di.szText, strnlen(di.szText, sizeof(di.szText)));
  return std::string(di.lpszText);
}

RECT ToolScreenRect(const Tool& tool) {
  RECT rc{};
  if (tool.info.uFlags & TTF_IDISHWND) {
    GetWindowRect(reinterpret_cast<HWND>(tool.info.uId), &rc);
  } else {
    rc = tool.info.rect;
    MapWindowPoints(tool.info.hwnd, nullptr, reinterpret_cast<POINT*>(&rc), 2);
  }
  return rc;
}

int ToolAt(const ToolTip* tt, POINT screen) {
  for (size_t i = 0; i < tt->tools.size(); ++i) {
    if (tt->tools[i].info.uFlags & TTF_TRACK) continue;
    RECT rc = ToolScreenRect(tt->tools[i]);
    if (PtInRect(&rc, screen)) return static_cast<int>(i);
  }
  return -1;
}

void Hide(ToolTip* tt) {
  KillTimer(tt->hwnd, kShowTimer);
  KillTimer(tt->hwnd, kHideTimer);
  if (tt->showing) {
    tt->showing = false;
    ShowWindow(tt->hwnd, SW_HIDE);
    if (tt->current >= 0 && tt->current < static_cast<int>(tt->tools.size())) {
      const Tool& tool = tt->tools[static_cast<size_t>(tt->current)];
      NMHDR hdr{tt->hwnd, tool.info.uId, TTN_POP};
      SendMessageA(tool.info.hwnd, WM_NOTIFY, tool.info.uId, reinterpret_cast<LPARAM>(&hdr));
    }
  }
}

RECT TextRect(ToolTip* tt, const std::string& text) {
  HDC dc = GetDC(tt->hwnd);
  HGDIOBJ old = SelectObject(dc, tt->font ? tt->font : GetStockObject(DEFAULT_GUI_FONT));
  RECT rc{0, 0, tt->maxWidth > 0 ? tt->maxWidth : 10000, 0};
  UINT flags = DT_CALCRECT | DT_NOPREFIX | (tt->maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextA(dc, text.c_str(), -1, &rc, flags);
  SelectObject(dc, old);
  ReleaseDC(tt->hwnd, dc);
  return rc;
}

void Show(ToolTip* tt) {
  if (tt->current < 0 || tt->current >= static_cast<int>(tt->tools.size()) || !tt->active) return;
  HWND hwnd = tt->hwnd;
  std::string text = TextOf(tt, tt->current);
  if ((tt = Get(hwnd)) == nullptr) return;
  if (text.empty()) return;
  tt->shownText = text;
  RECT rc = TextRect(tt, text);
  int w = rc.right - rc.left + 2 * kMargin + 2;
  int h = rc.bottom - rc.top + 2 * kMargin;
  // Below the pointer, as the cursor's height would leave room for.
  POINT at{tt->lastPoint.x, tt->lastPoint.y + 20};
  SetWindowPos(hwnd, HWND_TOPMOST, at.x, at.y, w, h, SWP_NOACTIVATE);
  tt->showing = true;
  const Tool& tool = tt->tools[static_cast<size_t>(tt->current)];
  NMHDR hdr{hwnd, tool.info.uId, TTN_SHOW};
  SendMessageA(tool.info.hwnd, WM_NOTIFY, tool.info.uId, reinterpret_cast<LPARAM>(&hdr));
  if ((tt = Get(hwnd)) == nullptr) return;
  ShowWindow(hwnd, SW_SHOWNA);
  InvalidateRect(hwnd, nullptr, TRUE);
  SetTimer(hwnd, kHideTimer, tt->autoPop, nullptr);
}

void Relay(ToolTip* tt, const MSG* msg) {
  if (!msg) return;
  switch (msg->message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      Hide(tt);
      return;
    case WM_MOUSEMOVE: {
      POINT pt{GET_X_LPARAM(msg->lParam), GET_Y_LPARAM(msg->lParam)};
      ClientToScreen(msg->hwnd, &pt);
      tt->lastPoint = pt;
      int tool = ToolAt(tt, pt);
      if (tool == tt->current) return;
      bool wasShowing = tt->showing;
      Hide(tt);
      tt->current = tool;
      if (tool >= 0 && tt->active) SetTimer(tt->hwnd, kShowTimer, wasShowing ? tt->reshow : tt->initialDelay, nullptr);
      return;
    }
  }
}

void Paint(ToolTip* tt, HDC dc) {
  RECT rc;
  GetClientRect(tt->hwnd, &rc);
  HBRUSH b = CreateSolidBrush(tt->back == CLR_NONE ? GetSysColor(COLOR_INFOBK) : tt->back);
  FillRect(dc, &rc, b);
  DeleteObject(b);
  FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, tt->text == CLR_NONE ? GetSysColor(COLOR_INFOTEXT) : tt->text);
  HGDIOBJ old = SelectObject(dc, tt->font ? tt->font : GetStockObject(DEFAULT_GUI_FONT));
  InflateRect(&rc, -kMargin, -kMargin);
  DrawTextA(dc, tt->shownText.c_str(), -1, &rc, DT_NOPREFIX | (tt->maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  SelectObject(dc, old);
}

LRESULT CALLBACK ToolTipProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  ToolTip* tt = Get(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<ToolTip>(hwnd)->hwnd = hwnd;
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      ctl::FreeState<ToolTip>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!tt) return DefWindowProcA(hwnd, msg, wParam, lParam);

  switch (msg) {
    case TTM_ADDTOOLA: {
      auto* ti = reinterpret_cast<const TOOLINFOA*>(lParam);
      if (!ti) return FALSE;
      Tool tool;
      tool.info = *ti;
      tool.info.lpszText = nullptr;
      StoreText(&tool, ti->lpszText, ti->hinst);
      int at = FindTool(tt, ti);
      if (at >= 0) tt->tools[static_cast<size_t>(at)] = tool;
      else tt->tools.push_back(tool);
      return TRUE;
    }
    case TTM_DELTOOLA: {
      int at = FindTool(tt, reinterpret_cast<const TOOLINFOA*>(lParam));
      if (at < 0) return 0;
      if (at == tt->current) {
        Hide(tt);
        tt->current = -1;
      } else if (at < tt->current) {
        --tt->current;
      }
      tt->tools.erase(tt->tools.begin() + at);
      return 0;
    }
    case TTM_GETTOOLCOUNT: return static_cast<LRESULT>(tt->tools.size());
    case TTM_ENUMTOOLSA: {
      auto* out = reinterpret_cast<TOOLINFOA*>(lParam);
      if (!out || wParam >= tt->tools.size()) return FALSE;
      CopyOut(tt->tools[wParam], out);
      return TRUE;
    }
    case TTM_GETTOOLINFOA:
    case TTM_GETCURRENTTOOLA: {
      auto* out = reinterpret_cast<TOOLINFOA*>(lParam);
      int at = msg == TTM_GETTOOLINFOA ? FindTool(tt, out) : (tt->showing ? tt->current : -1);
      if (at < 0) return FALSE;
      if (out) CopyOut(tt->tools[static_cast<size_t>(at)], out);
      return TRUE;
    }
    case TTM_SETTOOLINFOA:
    case TTM_NEWTOOLRECTA:
    case TTM_UPDATETIPTEXTA: {
      auto* ti = reinterpret_cast<const TOOLINFOA*>(lParam);
      int at = FindTool(tt, ti);
      if (at < 0) return 0;
      Tool& tool = tt->tools[static_cast<size_t>(at)];
      if (msg == TTM_NEWTOOLRECTA) {
        tool.info.rect = ti->rect;
      } else {
        if (msg == TTM_SETTOOLINFOA) {
          tool.info = *ti;
          tool.info.lpszText = nullptr;
        }
        StoreText(&tool, ti->lpszText, ti->hinst);
      }
      if (tt->showing && at == tt->current) Show(tt);
      return 0;
    }
    case TTM_GETTEXTA: {
      auto* ti = reinterpret_cast<TOOLINFOA*>(lParam);
      int at = FindTool(tt, ti);
      if (at < 0 || !ti->lpszText) return 0;
      std::string text = TextOf(tt, at);
      size_t n = std::min(text.size(), wParam ? static_cast<size_t>(wParam) - 1 : static_cast<size_t>(79));
      memcpy(ti->lpszText, text.data(), n);
      ti->lpszText[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case TTM_HITTESTA: {
      auto* hi = reinterpret_cast<TTHITTESTINFOA*>(lParam);
      if (!hi) return FALSE;
      POINT pt = hi->pt;
      ClientToScreen(hi->hwnd, &pt);
      int at = ToolAt(tt, pt);
      if (at < 0) return FALSE;
      CopyOut(tt->tools[static_cast<size_t>(at)], &hi->ti);
      return TRUE;
    }
    case TTM_RELAYEVENT: Relay(tt, reinterpret_cast<const MSG*>(lParam)); return 0;
    case TTM_ACTIVATE:
      tt->active = wParam != 0;
      if (!tt->active) Hide(tt);
      return 0;
    case TTM_POP: Hide(tt); return 0;
    case TTM_UPDATE:
      if (tt->showing) Show(tt);
      return 0;
    case TTM_SETMAXTIPWIDTH: {
      int old = tt->maxWidth;
      tt->maxWidth = static_cast<int>(lParam);
      return old;
    }
    case TTM_GETMAXTIPWIDTH: return tt->maxWidth;
    case TTM_SETDELAYTIME: {
      int ms = static_cast<short>(LOWORD(lParam));
      switch (wParam) {
        case TTDT_AUTOMATIC:
          tt->initialDelay = ms < 0 ? 500 : ms;
          tt->autoPop = ms < 0 ? 5000 : ms * 10;
          tt->reshow = ms < 0 ? 100 : ms / 5;
          break;
        case TTDT_INITIAL: tt->initialDelay = ms < 0 ? 500 : ms; break;
        case TTDT_AUTOPOP: tt->autoPop = ms < 0 ? 5000 : ms; break;
        case TTDT_RESHOW: tt->reshow = ms < 0 ? 100 : ms; break;
      }
      return 0;
    }
    case TTM_GETDELAYTIME:
      return wParam == TTDT_AUTOPOP ? tt->autoPop : wParam == TTDT_RESHOW ? tt->reshow : tt->initialDelay;
    case TTM_SETTIPBKCOLOR: tt->back = static_cast<COLORREF>(wParam); return 0;
    case TTM_SETTIPTEXTCOLOR: tt->text = static_cast<COLORREF>(wParam); return 0;
    case TTM_GETTIPBKCOLOR: return tt->back == CLR_NONE ? GetSysColor(COLOR_INFOBK) : tt->back;
    case TTM_GETTIPTEXTCOLOR: return tt->text == CLR_NONE ? GetSysColor(COLOR_INFOTEXT) : tt->text;
    case TTM_WINDOWFROMPOINT: {
      auto* pt = reinterpret_cast<const POINT*>(lParam);
      return reinterpret_cast<LRESULT>(pt ? WindowFromPoint(*pt) : nullptr);
    }
    case WM_TIMER:
      if (wParam == kShowTimer) {
        KillTimer(hwnd, kShowTimer);
        Show(tt);
      } else if (wParam == kHideTimer) {
        Hide(tt);
      }
      return 0;
    case WM_SETFONT: tt->font = reinterpret_cast<HFONT>(wParam); return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(tt->font);
    case WM_NCHITTEST: return HTTRANSPARENT;
    case WM_MOUSEACTIVATE: return MA_NOACTIVATE;
    case WM_ERASEBKGND: return 1;
    case WM_PRINTCLIENT:
    case WM_PAINT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC dc) { Paint(tt, dc); });
      return 0;
    case WM_GETTEXT: {
      // The shown text, so that a test can read what the tip says.
      if (!lParam || wParam == 0) return 0;
      size_t n = std::min(tt->shownText.size(), static_cast<size_t>(wParam) - 1);
      memcpy(reinterpret_cast<char*>(lParam), tt->shownText.data(), n);
      reinterpret_cast<char*>(lParam)[n] = 0;
      return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH: return static_cast<LRESULT>(tt->shownText.size());
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void PlatformRegisterToolTipClass() {
  ctl::RegisterControlClass(TOOLTIPS_CLASS, ToolTipProc, LoadCursorA(nullptr, IDC_ARROW), CS_SAVEBITS);
}
