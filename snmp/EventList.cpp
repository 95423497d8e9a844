#include "EventList.h"

#include <atomic>

#include "Clock.h"
#include "MessageQueue.h"
#include "NotifyQueue.h"
#include "mp_v3.h"

// ---- CEventList ----------------------------------------------------------------

CEventList& CEventList::instance() {
  static CEventList list;
  return list;
}

CEventList::CEventList() {
  m_messages = new CSNMPMessageQueue();
  AddEntry(m_messages);
  m_notifications = new CNotifyEventQueue();
  AddEntry(m_notifications);
  m_inputs = new CUDEventQueue();
  AddEntry(m_inputs);
  m_timeouts = new CUTEventQueue();
  AddEntry(m_timeouts);
}

CEventList::~CEventList() {
  SnmpSynchronize guard(m_lock);
  for (CEvents* source : m_sources) delete source;
  m_sources.clear();
}

CEvents* CEventList::AddEntry(CEvents* events) {
  SnmpSynchronize guard(m_lock);
  m_sources.push_front(events);
  return events;
}

int CEventList::GetNextTimeout(msec& timeout) {
  SnmpSynchronize guard(m_lock);
  timeout.SetInfinite();
  for (CEvents* source : m_sources) {
    if (source->GetCount() <= 0) continue;
    msec t(timeout);  // a copy: a new msec would read the clock
    if (source->GetNextTimeout(t) == 0 && timeout > t) timeout = t;
  }
  return 0;
}

void CEventList::GetFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) {
  SnmpSynchronize guard(m_lock);
  FD_ZERO(&readfds);
  FD_ZERO(&writefds);
  FD_ZERO(&exceptfds);
  maxfds = 0;
  for (CEvents* source : m_sources)
    if (source->GetCount() > 0) source->GetFdSets(maxfds, readfds, writefds, exceptfds);
}

int CEventList::HandleEvents(int maxfds, const fd_set& readfds, const fd_set& writefds, const fd_set& exceptfds) {
  int status = 0;
  const unsigned pass = SNMPPassCount();
  m_lock.lock();
  for (CEvents* source : m_sources) {
    if (SNMPPassCount() != pass) break;  // the sets are stale (see SNMPPassCount)
    if (source->GetCount() <= 0) continue;
    // Without the list's lock, so that a callback may call into the library.
    m_lock.unlock();
    status = source->HandleEvents(maxfds, readfds, writefds, exceptfds);
    m_lock.lock();
  }
  m_lock.unlock();
  return status;
}

int CEventList::DoRetries(const msec& now) {
  SnmpSynchronize guard(m_lock);
  int status = 0;
  for (CEvents* source : m_sources)
    if (source->GetCount() > 0) status = source->DoRetries(now);
  return status;
}

int CEventList::Done() {
  SnmpSynchronize guard(m_lock);
  if (m_done > 0) {
    --m_done;
    return 1;
  }
  for (CEvents* source : m_sources)
    if (source->GetCount() > 0)
      if (int done = source->Done()) return done;
  return 0;
}

CSNMPMessageQueue& snmpMessageQueue() { return CEventList::instance().messages(); }
CNotifyEventQueue& snmpNotifyQueue() { return CEventList::instance().notifications(); }

// ---- entry points ----------------------------------------------------------------

namespace {

// Every pass of the event list is serialised on this lock; a static made once,
// so that two threads making the first call cannot both create it.
SnmpSynchronized& process_lock() {
  static SnmpSynchronized lock;
  return lock;
}

// Moved under the process lock only, after every select of a pass.
std::atomic<unsigned> pass_count{0};

// The sockets a select found ready, and the pass count before it.
struct ReadySets {
  int maxfds = 0;
  fd_set readfds, writefds, exceptfds;
  unsigned passes = 0;
};

// Waits for a ready socket, at most until the earliest deadline and never
// longer than `cap_ms`; 1 when a socket is ready, with the sets in `ready`.
int wait_for_events(long cap_ms, ReadySets& ready) {
  CEventList& list = CEventList::instance();
  list.GetFdSets(ready.maxfds, ready.readfds, ready.writefds, ready.exceptfds);
  msec deadline;
  list.GetNextTimeout(deadline);
  timeval limit;
  deadline.GetDeltaFromNow(limit);
  const long limit_ms = static_cast<long>(limit.tv_sec) * 1000 + limit.tv_usec / 1000;
  if (limit_ms > cap_ms) {
    limit.tv_sec = cap_ms / 1000;
    limit.tv_usec = (cap_ms % 1000) * 1000;
  }
  if (ready.maxfds == 0) {
    Sleep(static_cast<DWORD>(limit.tv_sec * 1000 + limit.tv_usec / 1000));
    return 0;
  }
  ready.passes = pass_count.load();
  return select(ready.maxfds, &ready.readfds, &ready.writefds, &ready.exceptfds, &limit) > 0;
}

// One pass: select without waiting, handle what is ready, until nothing is;
// then the retries. Readiness comes from a select under the process lock,
// with one exception: `first`, the sets a select made just before the lock
// was taken, stand for the pass's first select when no pass ran in between
// (the pass count did not move). Only passes read sockets, and every
// handling of ready sockets moves the count once it has read them (a pass
// that ends on its own answer makes no further select), so nothing has read
// those sockets since; any other select made before the lock may be stale,
// and a receive on a drained socket waits for ever with the lock held.
// With `request_id`, the pass ends as soon as that request is answered: its
// caller returns, and later passes take what else is ready.
int run_pass(const ReadySets* first, unsigned long request_id) {
  msec now;
  SnmpSynchronize guard(process_lock());
  CEventList& list = CEventList::instance();
  bool use_first = first && pass_count.load() == first->passes;
  for (;;) {
    if (request_id && snmpMessageQueue().Done(request_id)) break;
    int maxfds = 0;
    fd_set readfds, writefds, exceptfds;
    if (use_first) {
      use_first = false;
      maxfds = first->maxfds;
      readfds = first->readfds;
      writefds = first->writefds;
      exceptfds = first->exceptfds;
      pass_count.fetch_add(1);
    } else {
      list.GetFdSets(maxfds, readfds, writefds, exceptfds);
      if (maxfds == 0) break;
      timeval zero = {0, 0};
      const int ready = select(maxfds, &readfds, &writefds, &exceptfds, &zero);
      pass_count.fetch_add(1);
      now.refresh();
      if (ready <= 0) break;
    }
    list.HandleEvents(maxfds, readfds, writefds, exceptfds);
    pass_count.fetch_add(1);
  }
  return list.DoRetries(now);
}

}  // namespace

int SNMPProcessPendingEvents() { return run_pass(nullptr, 0); }

unsigned SNMPPassCount() { return pass_count.load(); }

int SNMPProcessEvents() {
  int maxfds = 0;
  fd_set readfds, writefds, exceptfds;
  CEventList::instance().GetFdSets(maxfds, readfds, writefds, exceptfds);
  if (maxfds == 0) return 0;
  timeval wait = {0, 900};
  if (select(maxfds, &readfds, &writefds, &exceptfds, &wait) > 0) return SNMPProcessPendingEvents();
  return 0;
}

int SNMPBlockForResponse(unsigned long request_id, Pdu& pdu) {
  CSNMPMessageQueue& queue = snmpMessageQueue();
  for (;;) {
    int status = 0;
    const int answered = queue.TakeAnswer(request_id, status, pdu);
    if (answered > 0) return status;
    if (answered < 0) break;
    // Sleep in select until an answer or the next deadline instead of
    // spinning: the passes and their order stay the same.
    ReadySets ready;
    run_pass(wait_for_events(10, ready) ? &ready : nullptr, request_id);
  }
  mpDeleteCacheEntry(request_id);
  return SNMP_CLASS_TIMEOUT;
}

int SNMPRunEventLoop() {
  for (;;) {
    if (int done = CEventList::instance().Done()) return done;
    ReadySets unused;
    if (SNMPProcessEvents() == 0) wait_for_events(10, unused);
  }
}

void SNMPStopEventLoop() { CEventList::instance().SetDone(); }

void SNMPGetEventFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) {
  CEventList::instance().GetFdSets(maxfds, readfds, writefds, exceptfds);
}

int SNMPGetTimeoutTicks() {
  msec deadline;
  CEventList::instance().GetNextTimeout(deadline);
  if (deadline.IsInfinite()) return -1;
  timeval delta;
  deadline.GetDeltaFromNow(delta);
  return static_cast<int>((static_cast<long>(delta.tv_sec) * 1000 + delta.tv_usec / 1000) / 10);
}

// ---- user timeouts ------------------------------------------------------------------

namespace {
template <class List>
int next_free_id(const List& entries, int& last_id) {
  for (;;) {
    if (++last_id <= 0) last_id = 1;
    bool used = false;
    for (const auto& e : entries) used = used || e.id == last_id;
    if (!used) return last_id;
  }
}

template <class List>
void erase_id(List& entries, int id) {
  for (auto it = entries.begin(); it != entries.end(); ++it)
    if (it->id == id) {
      entries.erase(it);
      return;
    }
}
}  // namespace

int CUTEventQueue::AddEntry(const msec& due, SNMPTimeoutCallback callback, void* data) {
  SnmpSynchronize guard(m_lock);
  const int id = next_free_id(m_entries, m_last_id);
  m_entries.push_front(Entry{id, due, callback, data});
  SetCount(m_entries.size());
  return id;
}

void CUTEventQueue::DeleteEntry(int id) {
  SnmpSynchronize guard(m_lock);
  erase_id(m_entries, id);
  SetCount(m_entries.size());
}

int CUTEventQueue::GetCount() { return Count(); }

int CUTEventQueue::GetNextTimeout(msec& timeout) {
  SnmpSynchronize guard(m_lock);
  if (m_entries.empty()) return 1;
  auto first = m_entries.begin();
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
    if (it->due < first->due) first = it;
  timeout = first->due;
  return 0;
}

int CUTEventQueue::HandleEvents(int, const fd_set&, const fd_set&, const fd_set&) { return DoRetries(msec()); }

int CUTEventQueue::DoRetries(const msec& now) {
  for (;;) {
    Entry entry;
    {
      SnmpSynchronize guard(m_lock);
      msec due;
      if (GetNextTimeout(due) != 0 || due > now) return 0;
      auto it = m_entries.begin();
      while (!(it->due == due)) ++it;
      // Unlinked before the call: the callback may remove or add timeouts.
      entry = *it;
      m_entries.erase(it);
      SetCount(m_entries.size());
    }
    // Without the queue's lock, as every callback of the library runs: it
    // may start a synchronous request, which takes the event list's lock.
    if (entry.callback) entry.callback(entry.data, entry.id);
  }
}

int SNMPAddTimeout(long milliseconds, SNMPTimeoutCallback callback, void* data) {
  msec due;
  due += milliseconds;
  return CEventList::instance().timeouts().AddEntry(due, callback, data);
}

void SNMPRemoveTimeout(int id) { CEventList::instance().timeouts().DeleteEntry(id); }

// ---- user input ---------------------------------------------------------------------

int CUDEventQueue::AddEntry(int socket, int flags, SNMPInputCallback callback, void* data) {
  SnmpSynchronize guard(m_lock);
  const int id = next_free_id(m_entries, m_last_id);
  m_entries.push_front(Entry{id, socket, flags, callback, data});
  SetCount(m_entries.size());
  return id;
}

void CUDEventQueue::DeleteEntry(int id) {
  SnmpSynchronize guard(m_lock);
  erase_id(m_entries, id);
  SetCount(m_entries.size());
}

int CUDEventQueue::GetCount() { return Count(); }

void CUDEventQueue::GetFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) {
  SnmpSynchronize guard(m_lock);
  for (const Entry& e : m_entries) {
    if (e.flags & SNMP_INPUT_READ) FD_SET(e.socket, &readfds);
    if (e.flags & SNMP_INPUT_WRITE) FD_SET(e.socket, &writefds);
    if (e.flags & SNMP_INPUT_EXCEPT) FD_SET(e.socket, &exceptfds);
    if (maxfds < e.socket + 1) maxfds = e.socket + 1;
  }
}

int CUDEventQueue::HandleEvents(int maxfds, const fd_set& readfds, const fd_set& writefds,
                                const fd_set& exceptfds) {
  for (int fd = 0; fd < maxfds; ++fd) {
    if (!FD_ISSET(fd, &readfds) && !FD_ISSET(fd, &writefds) && !FD_ISSET(fd, &exceptfds)) continue;
    // A copy: a callback may add or remove inputs. The callbacks run without
    // the queue's lock (see CUTEventQueue::DoRetries).
    std::list<Entry> entries;
    {
      SnmpSynchronize guard(m_lock);
      entries = m_entries;
    }
    const unsigned pass = SNMPPassCount();
    for (const Entry& e : entries)
      if (e.socket == fd && e.callback) e.callback(e.data, fd, e.id);
    if (SNMPPassCount() != pass) break;  // the sets are stale (see SNMPPassCount)
  }
  return 0;
}

int SNMPAddInput(int socket, int flags, SNMPInputCallback callback, void* data) {
  return CEventList::instance().inputs().AddEntry(socket, flags, callback, data);
}

void SNMPRemoveInput(int id) { CEventList::instance().inputs().DeleteEntry(id); }
