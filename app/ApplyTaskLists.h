// The apply page's three lists of running device tasks: set-IP tasks,
// community tasks of the first pass, and community tasks of the second
// instance's last pass. The GUI thread adds to them and counts them; the
// tasks' reports remove their own entry from their worker threads. One lock
// guards all three, and it is held only inside these calls: a caller never
// holds it while it talks to the page's list controls, whose calls from a
// worker thread wait for the GUI thread.
//
// An entry is the task's MAC and its address, kept only to tell tasks apart:
// the lists never touch a task (it ends itself on the GUI thread).
#pragma once

#include <mutex>
#include <vector>

#include "afx.h"

class CDeviceTask;

class CApplyTaskLists {
 public:
  enum Which { kSetIp = 0, kGetSnmp = 1, kFinalPass = 2, kListCount = 3 };

  void Add(Which which, CDeviceTask* task, const CString& mac);
  // Removes the first entry (in the order added) whose MAC is `mac`; FALSE
  // when the list holds none.
  BOOL Remove(Which which, const CString& mac);
  int Count(Which which) const;

 private:
  struct Entry {
    CDeviceTask* task;
    CString mac;
  };
  mutable std::mutex m_lock;
  std::vector<Entry> m_lists[kListCount];
};
