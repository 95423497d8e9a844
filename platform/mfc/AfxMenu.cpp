// CMenu and its handle map.

#include "AfxMenu.h"

#include <map>
#include <memory>
#include <mutex>

IMPLEMENT_DYNCREATE(CMenu, CObject)

namespace {

struct MenuMap {
  std::mutex lock;
  std::map<HMENU, CMenu*> permanent;
  std::map<HMENU, std::unique_ptr<CMenu>> temporary;
};

MenuMap& Map() {
  static auto* m = new MenuMap;
  return *m;
}

}  // namespace

CMenu::~CMenu() { DestroyMenu(); }

HMENU CMenu::GetSafeHmenu() const {
  const CMenu* self = this;
  __asm__("" : "+r"(self));  // the check must survive the compiler's view that this is never null
  return self ? self->m_hMenu : nullptr;
}

CMenu* PASCAL CMenu::FromHandlePermanent(HMENU hMenu) {
  std::lock_guard<std::mutex> g(Map().lock);
  auto it = Map().permanent.find(hMenu);
  return it == Map().permanent.end() ? nullptr : it->second;
}

CMenu* PASCAL CMenu::FromHandle(HMENU hMenu) {
  if (!hMenu) return nullptr;
  if (CMenu* p = FromHandlePermanent(hMenu)) return p;
  std::lock_guard<std::mutex> g(Map().lock);
  MenuMap& m = Map();
  // Temporary objects live as long as their menu; stale ones go here.
  // (Emptied first: a wrapper's destructor would take the lock held here.)
  for (auto it = m.temporary.begin(); it != m.temporary.end();) {
    if (::IsMenu(it->first)) {
      ++it;
      continue;
    }
    it->second->m_hMenu = nullptr;
    it = m.temporary.erase(it);
  }
  auto& slot = m.temporary[hMenu];
  if (!slot) {
    slot = std::make_unique<CMenu>();
    slot->m_hMenu = hMenu;
  }
  return slot.get();
}

BOOL CMenu::Attach(HMENU hMenu) {
  if (!hMenu || m_hMenu) return FALSE;
  m_hMenu = hMenu;
  std::lock_guard<std::mutex> g(Map().lock);
  Map().permanent[hMenu] = this;
  return TRUE;
}

HMENU CMenu::Detach() {
  HMENU h = m_hMenu;
  if (h) {
    std::lock_guard<std::mutex> g(Map().lock);
    auto it = Map().permanent.find(h);
    if (it != Map().permanent.end() && it->second == this) Map().permanent.erase(it);
  }
  m_hMenu = nullptr;
  return h;
}

BOOL CMenu::DestroyMenu() {
  if (!m_hMenu) return FALSE;
  // A temporary wrapper never owns its menu.
  bool owned;
  {
    std::lock_guard<std::mutex> g(Map().lock);
    auto it = Map().permanent.find(m_hMenu);
    owned = it != Map().permanent.end() && it->second == this;
  }
  if (!owned) {
    m_hMenu = nullptr;
    return FALSE;
  }
  return ::DestroyMenu(Detach());
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
  int n = ::GetMenuStringA(m_hMenu, nIDItem, nullptr, 0, nFlags);
  if (n <= 0) {
    rString.Empty();
    return 0;
  }
  std::string buf(static_cast<size_t>(n) + 1, '\0');
  n = ::GetMenuStringA(m_hMenu, nIDItem, &buf[0], n + 1, nFlags);
  rString = buf.c_str();
  return n;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
  HMENU sub = ::GetSubMenu(m_hMenu, nPos);
  return sub ? FromHandle(sub) : nullptr;
}

void CMenu::DrawItem(LPDRAWITEMSTRUCT) {}
void CMenu::MeasureItem(LPMEASUREITEMSTRUCT) {}

CMenu* CWnd::GetMenu() const {
  HMENU m = ::GetMenu(m_hWnd);
  return m ? CMenu::FromHandle(m) : nullptr;
}

BOOL CWnd::SetMenu(CMenu* pMenu) { return ::SetMenu(m_hWnd, pMenu ? pMenu->GetSafeHmenu() : nullptr); }

CMenu* CWnd::GetSystemMenu(BOOL bRevert) const {
  HMENU m = ::GetSystemMenu(m_hWnd, bRevert);
  return m ? CMenu::FromHandle(m) : nullptr;
}

void CWnd::DrawMenuBar() { ::DrawMenuBar(m_hWnd); }
