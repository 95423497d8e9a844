// The tree view: items in a hierarchy with text, images and a pointer-sized
// parameter, expanding and collapsing, one selected item, hit tests, rows
// scrolled vertically, and the notifications of selection and expansion.

#include <strings.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "CommCtrl.h"
#include "ControlUtil.h"
#include "Resource.h"

namespace {

const int kIndent = 19;

struct Node {
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;
  std::string text;
  int image = 0;
  int selectedImage = 0;
  UINT state = 0;
  LPARAM param = 0;
};

struct Tree {
  Node root;
  std::set<const Node*> live;  // every handle handed out and not deleted
  Node* selected = nullptr;
  int top = 0;  // first visible row
  HIMAGELIST images = nullptr;
  HFONT font = nullptr;
};

Tree* Get(HWND hwnd) { return ctl::StateOf<Tree>(hwnd); }
HTREEITEM H(const Node* n) { return reinterpret_cast<HTREEITEM>(const_cast<Node*>(n)); }

Node* Find(Tree* t, HTREEITEM h) {
  if (h == TVI_ROOT || h == nullptr) return nullptr;
  Node* n = reinterpret_cast<Node*>(h);
  return t->live.count(n) ? n : nullptr;
}

int ItemHeight(HWND hwnd, const Tree* t) {
  int h = ctl::LineHeight(hwnd) + 3;
  int cx = 0, cy = 0;
  if (t->images && ImageList_GetIconSize(t->images, &cx, &cy)) h = std::max(h, cy + 1);
  return h;
}

bool Expanded(const Node* n) { return (n->state & TVIS_EXPANDED) != 0; }

// The visible rows, in order, with their depth.
void Rows(const Node* n, int depth, std::vector<std::pair<const Node*, int>>* out) {
  for (const auto& c : n->children) {
    out->emplace_back(c.get(), depth);
    if (Expanded(c.get())) Rows(c.get(), depth + 1, out);
  }
}

std::vector<std::pair<const Node*, int>> Rows(const Tree* t) {
  std::vector<std::pair<const Node*, int>> rows;
  Rows(&t->root, 0, &rows);
  return rows;
}

int RowOf(const Tree* t, const Node* n) {
  auto rows = Rows(t);
  for (size_t i = 0; i < rows.size(); ++i)
    if (rows[i].first == n) return static_cast<int>(i);
  return -1;
}

bool Buttons(HWND hwnd) { return (ctl::Style(hwnd) & (TVS_HASBUTTONS | TVS_LINESATROOT)) != 0; }

// Left edge of an item's icon (or label) at `depth`.
int ItemLeft(HWND hwnd, int depth) {
  return (depth + ((ctl::Style(hwnd) & TVS_LINESATROOT) ? 1 : 0)) * kIndent + (Buttons(hwnd) ? 0 : 2);
}

int LabelWidth(HWND hwnd, const std::string& text) {
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, ctl::FontOf(hwnd));
  SIZE sz{};
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &sz);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return sz.cx + 4;
}

void UpdateScroll(HWND hwnd, Tree* t) {
  if (!(ctl::Style(hwnd) & WS_VSCROLL)) return;
  RECT client;
  GetClientRect(hwnd, &client);
  SCROLLINFO si{};
  si.cbSize = sizeof(si);
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = std::max(0, static_cast<int>(Rows(t).size()) - 1);
  si.nPage = static_cast<UINT>(client.bottom / ItemHeight(hwnd, t));
  si.nPos = t->top;
  SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void Changed(HWND hwnd, Tree* t) {
  UpdateScroll(hwnd, t);
  InvalidateRect(hwnd, nullptr, TRUE);
}

void FillItem(const Node* n, TVITEMA* out) {
  out->hItem = H(n);
  if ((out->mask & TVIF_TEXT) && out->pszText && out->cchTextMax > 0) {
    size_t k = std::min(n->text.size(), static_cast<size_t>(out->cchTextMax - 1));
    n->text.copy(out->pszText, k);
    out->pszText[k] = 0;
  }
  if (out->mask & TVIF_IMAGE) out->iImage = n->image;
  if (out->mask & TVIF_SELECTEDIMAGE) out->iSelectedImage = n->selectedImage;
  if (out->mask & TVIF_PARAM) out->lParam = n->param;
  if (out->mask & TVIF_STATE) out->state = n->state & out->stateMask;
  if (out->mask & TVIF_CHILDREN) out->cChildren = n->children.empty() ? 0 : 1;
}

LRESULT NotifyTree(HWND hwnd, UINT code, UINT action, const Node* oldItem, const Node* newItem) {
  NMTREEVIEWA nm{};
  nm.action = action;
  nm.itemOld.mask = nm.itemNew.mask = TVIF_HANDLE | TVIF_PARAM | TVIF_STATE;
  nm.itemOld.stateMask = nm.itemNew.stateMask = ~0u;
  if (oldItem) FillItem(oldItem, &nm.itemOld);
  if (newItem) FillItem(newItem, &nm.itemNew);
  return PlatformSendNotify(hwnd, code, &nm.hdr);
}

bool SelectNode(HWND hwnd, Tree* t, Node* n, UINT action) {
  if (t->selected == n) return true;
  Node* old = t->selected;
  if (NotifyTree(hwnd, TVN_SELCHANGINGA, action, old, n)) return false;
  if ((t = Get(hwnd)) == nullptr || (n && !t->live.count(n))) return false;
  if (t->selected && t->live.count(t->selected)) t->selected->state &= ~TVIS_SELECTED;
  t->selected = n;
  if (n) {
    n->state |= TVIS_SELECTED;
    for (Node* p = n->parent; p && p != &t->root; p = p->parent) p->state |= TVIS_EXPANDED;
  }
  Changed(hwnd, t);
  NotifyTree(hwnd, TVN_SELCHANGEDA, action, old, n);
  return true;
}

bool Expand(HWND hwnd, Tree* t, Node* n, UINT code) {
  if (!n || n->children.empty()) return false;
  bool open = code == TVE_TOGGLE ? !Expanded(n) : code == TVE_EXPAND;
  if (open == Expanded(n)) return true;
  if (NotifyTree(hwnd, TVN_ITEMEXPANDINGA, open ? TVE_EXPAND : TVE_COLLAPSE, nullptr, n)) return false;
  if ((t = Get(hwnd)) == nullptr || !t->live.count(n)) return false;
  n->state = open ? (n->state | TVIS_EXPANDED) : (n->state & ~TVIS_EXPANDED);
  // A collapsed branch gives up the selection to its root.
  if (!open && t->selected)
    for (Node* p = t->selected->parent; p; p = p->parent)
      if (p == n) {
        SelectNode(hwnd, t, n, TVC_UNKNOWN);
        break;
      }
  Changed(hwnd, t);
  NotifyTree(hwnd, TVN_ITEMEXPANDEDA, open ? TVE_EXPAND : TVE_COLLAPSE, nullptr, n);
  return true;
}

void Forget(HWND hwnd, Tree* t, Node* n) {
  for (auto& c : n->children) Forget(hwnd, t, c.get());
  NotifyTree(hwnd, TVN_DELETEITEMA, 0, n, nullptr);
  t->live.erase(n);
  if (t->selected == n) t->selected = nullptr;
}

BOOL Delete(HWND hwnd, Tree* t, HTREEITEM h) {
  Node* n = h == TVI_ROOT ? &t->root : Find(t, h);
  if (!n) return FALSE;
  if (n == &t->root) {
    for (auto& c : n->children) Forget(hwnd, t, c.get());
    n->children.clear();
  } else {
    Forget(hwnd, t, n);
    auto& siblings = n->parent->children;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(), [&](const auto& p) { return p.get() == n; }));
  }
  t->top = std::min(t->top, std::max(0, static_cast<int>(Rows(t).size()) - 1));
  Changed(hwnd, t);
  return TRUE;
}

HTREEITEM Insert(HWND hwnd, Tree* t, const TVINSERTSTRUCTA* in) {
  if (!in) return nullptr;
  Node* parent = in->hParent == TVI_ROOT || !in->hParent ? &t->root : Find(t, in->hParent);
  if (!parent) return nullptr;
  auto node = std::make_unique<Node>();
  node->parent = parent;
  const TVITEMA& it = in->item;
  if ((it.mask & TVIF_TEXT) && it.pszText && it.pszText != LPSTR_TEXTCALLBACKA) node->text = it.pszText;
  if (it.mask & TVIF_IMAGE) node->image = it.iImage;
  if (it.mask & TVIF_SELECTEDIMAGE) node->selectedImage = it.iSelectedImage;
  if (it.mask & TVIF_PARAM) node->param = it.lParam;
  if (it.mask & TVIF_STATE) node->state = it.state & it.stateMask & ~TVIS_SELECTED;
  auto& siblings = parent->children;
  auto at = siblings.end();
  if (in->hInsertAfter == TVI_FIRST) {
    at = siblings.begin();
  } else if (in->hInsertAfter == TVI_SORT) {
    at = std::find_if(siblings.begin(), siblings.end(),
                      [&](const auto& s) { return strcasecmp(s->text.c_str(), node->text.c_str()) > 0; });
  } else if (in->hInsertAfter != TVI_LAST) {
    auto after = std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& s) { return H(s.get()) == in->hInsertAfter; });
    if (after != siblings.end()) at = after + 1;
  }
  Node* raw = node.get();
  siblings.insert(at, std::move(node));
  t->live.insert(raw);
  Changed(hwnd, t);
  return H(raw);
}

HTREEITEM Next(HWND hwnd, Tree* t, UINT code, HTREEITEM h) {
  Node* n = Find(t, h);
  auto sibling = [](const Node* x, int step) -> const Node* {
    if (!x || !x->parent) return nullptr;
    const auto& s = x->parent->children;
    for (size_t i = 0; i < s.size(); ++i)
      if (s[i].get() == x) {
        long j = static_cast<long>(i) + step;
        return j >= 0 && j < static_cast<long>(s.size()) ? s[static_cast<size_t>(j)].get() : nullptr;
      }
    return nullptr;
  };
  auto rows = Rows(t);
  switch (code) {
    case TVGN_ROOT: return t->root.children.empty() ? nullptr : H(t->root.children[0].get());
    case TVGN_NEXT: return H(sibling(n, 1));
    case TVGN_PREVIOUS: return H(sibling(n, -1));
    case TVGN_PARENT: return n && n->parent != &t->root ? H(n->parent) : nullptr;
    case TVGN_CHILD: {
      const Node* p = h == TVI_ROOT || !h ? &t->root : n;
      return p && !p->children.empty() ? H(p->children[0].get()) : nullptr;
    }
    case TVGN_CARET: return H(t->selected);
    case TVGN_FIRSTVISIBLE:
      return t->top < static_cast<int>(rows.size()) ? H(rows[static_cast<size_t>(t->top)].first) : nullptr;
    case TVGN_NEXTVISIBLE:
    case TVGN_PREVIOUSVISIBLE: {
      int r = RowOf(t, n) + (code == TVGN_NEXTVISIBLE ? 1 : -1);
      return n && r >= 0 && r < static_cast<int>(rows.size()) && RowOf(t, n) >= 0
                 ? H(rows[static_cast<size_t>(r)].first)
                 : nullptr;
    }
    case TVGN_DROPHILITE:
      for (const auto& row : rows)
        if (row.first->state & TVIS_DROPHILITED) return H(row.first);
      return nullptr;
  }
  (void)hwnd;
  return nullptr;
}

bool ItemRect(HWND hwnd, Tree* t, const Node* n, bool textOnly, RECT* rc) {
  auto rows = Rows(t);
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].first != n) continue;
    int h = ItemHeight(hwnd, t);
    int y = (static_cast<int>(i) - t->top) * h;
    RECT client;
    GetClientRect(hwnd, &client);
    *rc = RECT{0, y, client.right, y + h};
    if (textOnly) {
      int cx = 0, cy = 0;
      if (t->images) ImageList_GetIconSize(t->images, &cx, &cy);
      rc->left = ItemLeft(hwnd, rows[i].second) + (t->images ? cx + 3 : 0);
      rc->right = rc->left + LabelWidth(hwnd, n->text);
    }
    return true;
  }
  return false;
}

HTREEITEM HitTest(HWND hwnd, Tree* t, TVHITTESTINFO* info) {
  info->hItem = nullptr;
  info->flags = TVHT_NOWHERE;
  int h = ItemHeight(hwnd, t);
  if (info->pt.y < 0) return nullptr;
  int row = t->top + info->pt.y / h;
  auto rows = Rows(t);
  if (row >= static_cast<int>(rows.size())) return nullptr;
  const Node* n = rows[static_cast<size_t>(row)].first;
  int left = ItemLeft(hwnd, rows[static_cast<size_t>(row)].second);
  int cx = 0, cy = 0;
  if (t->images) ImageList_GetIconSize(t->images, &cx, &cy);
  int textLeft = left + (t->images ? cx + 3 : 0);
  int x = info->pt.x;
  info->hItem = H(n);
  if (x < left) info->flags = (Buttons(hwnd) && x >= left - kIndent && !n->children.empty()) ? TVHT_ONITEMBUTTON
                                                                                             : TVHT_ONITEMINDENT;
  else if (x < textLeft) info->flags = TVHT_ONITEMICON;
  else if (x < textLeft + LabelWidth(hwnd, n->text)) info->flags = TVHT_ONITEMLABEL;
  else info->flags = TVHT_ONITEMRIGHT;
  return info->hItem;
}

void Paint(HWND hwnd, Tree* t, HDC dc) {
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  auto rows = Rows(t);
  int h = ItemHeight(hwnd, t);
  int cx = 0, cy = 0;
  if (t->images) ImageList_GetIconSize(t->images, &cx, &cy);
  bool focus = GetFocus() == hwnd;
  HPEN dots = CreatePen(PS_DOT, 1, GetSysColor(COLOR_GRAYTEXT));
  HGDIOBJ oldPen = SelectObject(dc, dots);
  for (size_t i = static_cast<size_t>(t->top); i < rows.size(); ++i) {
    int y = (static_cast<int>(i) - t->top) * h;
    if (y >= client.bottom) break;
    const Node* n = rows[i].first;
    int left = ItemLeft(hwnd, rows[i].second);
    int mid = y + h / 2;
    if ((ctl::Style(hwnd) & TVS_HASLINES) && left >= kIndent) {
      MoveToEx(dc, left - kIndent / 2, mid, nullptr);
      LineTo(dc, left, mid);
    }
    if (Buttons(hwnd) && !n->children.empty() && left >= kIndent) {
      RECT box{left - kIndent / 2 - 4, mid - 4, left - kIndent / 2 + 5, mid + 5};
      FrameRect(dc, &box, GetSysColorBrush(COLOR_GRAYTEXT));
      RECT minus{box.left + 2, mid, box.right - 2, mid + 1};
      FillRect(dc, &minus, GetSysColorBrush(COLOR_WINDOWTEXT));
      if (!Expanded(n)) {
        RECT plus{left - kIndent / 2, box.top + 2, left - kIndent / 2 + 1, box.bottom - 2};
        FillRect(dc, &plus, GetSysColorBrush(COLOR_WINDOWTEXT));
      }
    }
    int x = left;
    if (t->images) {
      ImageList_Draw(t->images, n == t->selected ? n->selectedImage : n->image, dc, x, y + (h - cy) / 2,
                     ILD_TRANSPARENT);
      x += cx + 3;
    }
    RECT label{x, y, x + LabelWidth(hwnd, n->text), y + h};
    bool hot = (n == t->selected && (focus || (ctl::Style(hwnd) & TVS_SHOWSELALWAYS))) ||
               (n->state & TVIS_DROPHILITED);
    if (hot) FillRect(dc, &label, GetSysColorBrush(focus ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
    SetTextColor(dc, GetSysColor(hot && focus ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    RECT text = label;
    text.left += 2;
    DrawTextA(dc, n->text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    if (n == t->selected && focus) DrawFocusRect(dc, &label);
  }
  SelectObject(dc, oldPen);
  DeleteObject(dots);
}

LRESULT CALLBACK TreeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Tree* t = Get(hwnd);
  switch (msg) {
    case WM_NCCREATE:
      ctl::MakeState<Tree>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_NCDESTROY:
      ctl::FreeState<Tree>(hwnd);
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
  if (!t) return DefWindowProcA(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_DESTROY: Delete(hwnd, t, TVI_ROOT); return 0;
    case TVM_INSERTITEMA:
      return reinterpret_cast<LRESULT>(Insert(hwnd, t, reinterpret_cast<const TVINSERTSTRUCTA*>(lParam)));
    case TVM_DELETEITEM: return Delete(hwnd, t, reinterpret_cast<HTREEITEM>(lParam));
    case TVM_EXPAND: return Expand(hwnd, t, Find(t, reinterpret_cast<HTREEITEM>(lParam)), static_cast<UINT>(wParam));
    case TVM_GETCOUNT: return static_cast<LRESULT>(t->live.size());
    case TVM_GETINDENT: return kIndent;
    case TVM_GETITEMHEIGHT: return ItemHeight(hwnd, t);
    case TVM_GETVISIBLECOUNT: {
      RECT client;
      GetClientRect(hwnd, &client);
      return client.bottom / ItemHeight(hwnd, t);
    }
    case TVM_SETIMAGELIST: {
      HIMAGELIST old = t->images;
      if (wParam == TVSIL_NORMAL) t->images = reinterpret_cast<HIMAGELIST>(lParam);
      Changed(hwnd, t);
      return reinterpret_cast<LRESULT>(old);
    }
    case TVM_GETIMAGELIST: return wParam == TVSIL_NORMAL ? reinterpret_cast<LRESULT>(t->images) : 0;
    case TVM_GETNEXTITEM:
      return reinterpret_cast<LRESULT>(Next(hwnd, t, static_cast<UINT>(wParam), reinterpret_cast<HTREEITEM>(lParam)));
    case TVM_SELECTITEM: {
      HTREEITEM h = reinterpret_cast<HTREEITEM>(lParam);
      Node* n = Find(t, h);
      if (h && !n) return FALSE;
      if (wParam == TVGN_DROPHILITE) {
        for (const auto& row : Rows(t)) const_cast<Node*>(row.first)->state &= ~TVIS_DROPHILITED;
        if (n) n->state |= TVIS_DROPHILITED;
        Changed(hwnd, t);
        return TRUE;
      }
      if (wParam == TVGN_FIRSTVISIBLE) {
        int r = RowOf(t, n);
        if (r < 0) return FALSE;
        t->top = r;
        Changed(hwnd, t);
        return TRUE;
      }
      return SelectNode(hwnd, t, n, TVC_UNKNOWN);
    }
    case TVM_GETITEMA:
    case TVM_SETITEMA: {
      auto* item = reinterpret_cast<TVITEMA*>(lParam);
      if (!item) return FALSE;
      Node* n = Find(t, item->hItem);
      if (!n) return FALSE;
      if (msg == TVM_GETITEMA) {
        FillItem(n, item);
        return TRUE;
      }
      if ((item->mask & TVIF_TEXT) && item->pszText && item->pszText != LPSTR_TEXTCALLBACKA) n->text = item->pszText;
      if (item->mask & TVIF_IMAGE) n->image = item->iImage;
      if (item->mask & TVIF_SELECTEDIMAGE) n->selectedImage = item->iSelectedImage;
      if (item->mask & TVIF_PARAM) n->param = item->lParam;
      if (item->mask & TVIF_STATE) {
        UINT mask = item->stateMask & ~TVIS_SELECTED;  // selection goes through TVM_SELECTITEM
        n->state = (n->state & ~mask) | (item->state & mask);
      }
      Changed(hwnd, t);
      return TRUE;
    }
    case TVM_GETITEMRECT: {
      auto* rc = reinterpret_cast<RECT*>(lParam);
      if (!rc) return FALSE;
      Node* n = Find(t, *reinterpret_cast<HTREEITEM*>(rc));
      return n && ItemRect(hwnd, t, n, wParam != 0, rc);
    }
    case TVM_HITTEST: {
      auto* info = reinterpret_cast<TVHITTESTINFO*>(lParam);
      return info ? reinterpret_cast<LRESULT>(HitTest(hwnd, t, info)) : 0;
    }
    case TVM_ENSUREVISIBLE: {
      Node* n = Find(t, reinterpret_cast<HTREEITEM>(lParam));
      if (!n) return FALSE;
      for (Node* p = n->parent; p && p != &t->root; p = p->parent) p->state |= TVIS_EXPANDED;
      int r = RowOf(t, n);
      RECT client;
      GetClientRect(hwnd, &client);
      int page = std::max(1, static_cast<int>(client.bottom) / ItemHeight(hwnd, t));
      if (r < t->top) t->top = r;
      else if (r >= t->top + page) t->top = r - page + 1;
      Changed(hwnd, t);
      return TRUE;
    }
    case WM_VSCROLL: {
      int rows = static_cast<int>(Rows(t).size());
      int top = t->top;
      switch (LOWORD(wParam)) {
        case SB_LINEUP: --top; break;
        case SB_LINEDOWN: ++top; break;
        case SB_THUMBPOSITION:
        case SB_THUMBTRACK: top = static_cast<short>(HIWORD(wParam)); break;
        case SB_TOP: top = 0; break;
        case SB_BOTTOM: top = rows; break;
      }
      t->top = std::clamp(top, 0, std::max(0, rows - 1));
      Changed(hwnd, t);
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(hwnd);
      if ((t = Get(hwnd)) == nullptr) return 0;
      TVHITTESTINFO info{ctl::PointOf(lParam), 0, nullptr};
      Node* n = Find(t, HitTest(hwnd, t, &info));
      if (n && (info.flags & TVHT_ONITEMBUTTON || (msg == WM_LBUTTONDBLCLK && (info.flags & TVHT_ONITEM)))) {
        Expand(hwnd, t, n, TVE_TOGGLE);
      } else if (n && (info.flags & (TVHT_ONITEM | TVHT_ONITEMRIGHT))) {
        SelectNode(hwnd, t, n, TVC_BYMOUSE);
      }
      return 0;
    }
    case WM_LBUTTONUP:
      PlatformSendNotify(hwnd, NM_CLICK, nullptr);
      return 0;
    case WM_KEYDOWN: {
      Node* n = t->selected;
      auto rows = Rows(t);
      int r = RowOf(t, n);
      switch (wParam) {
        case VK_UP:
          if (r > 0) SelectNode(hwnd, t, const_cast<Node*>(rows[static_cast<size_t>(r - 1)].first), TVC_BYKEYBOARD);
          break;
        case VK_DOWN:
          if (r + 1 < static_cast<int>(rows.size()))
            SelectNode(hwnd, t, const_cast<Node*>(rows[static_cast<size_t>(r + 1)].first), TVC_BYKEYBOARD);
          break;
        case VK_RIGHT: if (n) Expand(hwnd, t, n, TVE_EXPAND); break;
        case VK_LEFT:
          if (n && Expanded(n)) Expand(hwnd, t, n, TVE_COLLAPSE);
          else if (n && n->parent != &t->root) SelectNode(hwnd, t, n->parent, TVC_BYKEYBOARD);
          break;
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: InvalidateRect(hwnd, nullptr, TRUE); return 0;
    case WM_SIZE: UpdateScroll(hwnd, t); return 0;
    case WM_SETFONT:
      t->font = reinterpret_cast<HFONT>(wParam);
      Changed(hwnd, t);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(t->font);
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd, &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, GetSysColorBrush(COLOR_WINDOW));
      return 1;
    }
    case WM_PRINTCLIENT:
    case WM_PAINT:
      ctl::PaintCycle(hwnd, wParam, [&](HDC dc) { Paint(hwnd, t, dc); });
      return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

void PlatformRegisterTreeViewClass() {
  ctl::RegisterControlClass(WC_TREEVIEW, TreeProc, LoadCursorA(nullptr, IDC_ARROW));
}
