// A parent window that records the notifications of common controls placed
// in it, for the list view, header, tooltip and drag tests.
#pragma once

#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ui_fixture.h"

struct Notice {
  UINT code;
  int item;
  int subItem;
  LPARAM lParam;
};

class CcFixture : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    PlatformRegisterCommonControls();
    parent = Make(WS_POPUP | WS_VISIBLE, RECT{50, 50, 450, 350});
    Of(parent).fn = [this](HWND, UINT msg, WPARAM, LPARAM lp) -> LRESULT {
      if (msg != WM_NOTIFY) return kDefault;
      auto* hdr = reinterpret_cast<NMHDR*>(lp);
      Notice n{hdr->code, -1, -1, 0};
      char cls[32] = {0};
      GetClassNameA(hdr->hwndFrom, cls, sizeof(cls));
      bool fromList = std::string(cls) == WC_LISTVIEW;  // other controls click with a plain NMHDR
      if (fromList && (hdr->code == NM_CLICK || hdr->code == NM_DBLCLK)) {
        auto* ia = reinterpret_cast<NMITEMACTIVATE*>(lp);
        n.item = ia->iItem;
        n.subItem = ia->iSubItem;
      } else if (fromList && hdr->code >= LVN_BEGINRDRAG && hdr->code <= LVN_ITEMCHANGING) {
        auto* lv = reinterpret_cast<NMLISTVIEW*>(lp);
        n.item = lv->iItem;
        n.subItem = lv->iSubItem;
        n.lParam = lv->lParam;
      }
      notices.push_back(n);
      return onNotify ? onNotify(hdr) : 0;
    };
  }

  HWND MakeList(DWORD style = LVS_REPORT, RECT r = RECT{10, 10, 310, 210}, int id = 100) {
    return CreateWindowExA(0, WC_LISTVIEW, "", WS_CHILD | WS_VISIBLE | style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                           nullptr);
  }

  static void AddColumns(HWND list, const std::vector<int>& widths) {
    for (size_t i = 0; i < widths.size(); ++i) {
      std::string title = "Col " + std::to_string(i);
      LVCOLUMNA c{};
      c.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
      c.pszText = &title[0];
      c.cx = widths[i];
      SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&c));
    }
  }

  static int AddRow(HWND list, const std::vector<std::string>& texts, LPARAM data = 0) {
    LVITEMA it{};
    it.mask = LVIF_TEXT | LVIF_PARAM;
    it.iItem = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    it.pszText = const_cast<char*>(texts[0].c_str());
    it.lParam = data;
    int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&it)));
    for (size_t c = 1; c < texts.size(); ++c) SetText(list, row, static_cast<int>(c), texts[c]);
    return row;
  }

  static void SetText(HWND list, int row, int col, const std::string& text) {
    LVITEMA it{};
    it.iSubItem = col;
    it.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
  }

  static std::string Text(HWND list, int row, int col) {
    char buf[128] = {0};
    LVITEMA it{};
    it.iSubItem = col;
    it.pszText = buf;
    it.cchTextMax = sizeof(buf);
    SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&it));
    return buf;
  }

  static RECT SubItemRect(HWND list, int row, int col, int code) {
    RECT rc{code, col, 0, 0};
    SendMessageA(list, LVM_GETSUBITEMRECT, row, reinterpret_cast<LPARAM>(&rc));
    return rc;
  }

  std::vector<UINT> Codes() const {
    std::vector<UINT> out;
    for (const Notice& n : notices) out.push_back(n.code);
    return out;
  }
  int CountOf(UINT code) const {
    int n = 0;
    for (const Notice& x : notices) n += x.code == code;
    return n;
  }

  HWND parent = nullptr;
  std::vector<Notice> notices;
  std::function<LRESULT(NMHDR*)> onNotify;
};
