#include "ApplyTaskLists.h"

void CApplyTaskLists::Add(Which which, CDeviceTask* task, const CString& mac) {
  std::lock_guard<std::mutex> guard(m_lock);
  m_lists[which].push_back({task, mac});
}

BOOL CApplyTaskLists::Remove(Which which, const CString& mac) {
  std::lock_guard<std::mutex> guard(m_lock);
  std::vector<Entry>& list = m_lists[which];
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->mac == mac) {
      list.erase(it);
      return TRUE;
    }
  }
  return FALSE;
}

int CApplyTaskLists::Count(Which which) const {
  std::lock_guard<std::mutex> guard(m_lock);
  return static_cast<int>(m_lists[which].size());
}
