// The one event list of the process: every socket read and every time-out of
// the SNMP library happens when a caller runs it (SNMPProcessPendingEvents,
// or a synchronous request waiting in SNMPBlockForResponse). No thread of its
// own. Sources: outstanding requests, notifications, user timeouts, user input.
#pragma once

#include <atomic>
#include <cstddef>
#include <list>

#include "msec.h"
#include "Winsock.h"  // fd_set; after the system headers

class CEvents {
 public:
  virtual ~CEvents() {}
  // 0 and the earliest deadline, or non-zero when the source has none.
  virtual int GetNextTimeout(msec& timeout) = 0;
  virtual void GetFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) = 0;
  virtual int GetCount() = 0;
  virtual int HandleEvents(int maxfds, const fd_set& readfds, const fd_set& writefds, const fd_set& exceptfds) = 0;
  virtual int DoRetries(const msec& now) = 0;
  virtual int Done() = 0;

 protected:
  // SetCount after every change of a source's entries, under its lock.
  void SetCount(size_t entries) { m_count.store(static_cast<int>(entries), std::memory_order_relaxed); }
  int Count() const { return m_count.load(std::memory_order_relaxed); }

  SnmpSynchronized m_lock;

 private:
  // The number of entries, read without the lock: every pass asks each
  // source for its count several times before it does anything.
  std::atomic<int> m_count{0};
};

class CSNMPMessageQueue;
class CNotifyEventQueue;
class CUTEventQueue;
class CUDEventQueue;

class CEventList : public CEvents {
 public:
  static CEventList& instance();
  ~CEventList() override;

  CEvents* AddEntry(CEvents* events);
  void SetDone() { ++m_done; }
  int GetDone() const { return m_done; }

  int GetNextTimeout(msec& timeout) override;
  void GetFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) override;
  int GetCount() override { return static_cast<int>(m_sources.size()); }
  int HandleEvents(int maxfds, const fd_set& readfds, const fd_set& writefds, const fd_set& exceptfds) override;
  int DoRetries(const msec& now) override;
  int Done() override;

  CSNMPMessageQueue& messages() { return *m_messages; }
  CNotifyEventQueue& notifications() { return *m_notifications; }
  CUTEventQueue& timeouts() { return *m_timeouts; }
  CUDEventQueue& inputs() { return *m_inputs; }

 private:
  CEventList();

  std::list<CEvents*> m_sources;  // most recently added first
  int m_done = 0;
  CSNMPMessageQueue* m_messages;
  CNotifyEventQueue* m_notifications;
  CUTEventQueue* m_timeouts;
  CUDEventQueue* m_inputs;
};

// One pass without waiting; the result of the retry step.
int SNMPProcessPendingEvents();
// Waits up to 900 microseconds for a ready socket, then one pass.
int SNMPProcessEvents();
class Pdu;
// Runs the event list until the request's answer or time-out; its status.
int SNMPBlockForResponse(unsigned long request_id, Pdu& pdu);
int SNMPRunEventLoop();
void SNMPStopEventLoop();
void SNMPGetEventFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds);
// -1 without a deadline, else the units of 10 ms until the earliest one.
int SNMPGetTimeoutTicks();

// Counts the selects of SNMPProcessPendingEvents. A source handling the
// sockets one select found ready compares it before each receive: when it
// has moved, a callback ran a pass of its own (a synchronous request inside
// a callback does), which may have read those sockets already; the rest is
// left to the next select, since a receive on a drained socket would wait
// for ever with the process lock held.
unsigned SNMPPassCount();

// ---- user timeouts and user input -------------------------------------------

typedef void (*SNMPTimeoutCallback)(void* data, int id);
typedef void (*SNMPInputCallback)(void* data, int socket, int id);

#define SNMP_INPUT_READ 1
#define SNMP_INPUT_WRITE 2
#define SNMP_INPUT_EXCEPT 4

int SNMPAddTimeout(long milliseconds, SNMPTimeoutCallback callback, void* data);
void SNMPRemoveTimeout(int id);
int SNMPAddInput(int socket, int flags, SNMPInputCallback callback, void* data);
void SNMPRemoveInput(int id);

class CUTEventQueue : public CEvents {
 public:
  int AddEntry(const msec& due, SNMPTimeoutCallback callback, void* data);
  void DeleteEntry(int id);

  int GetNextTimeout(msec& timeout) override;
  void GetFdSets(int&, fd_set&, fd_set&, fd_set&) override {}
  int GetCount() override;
  int HandleEvents(int, const fd_set&, const fd_set&, const fd_set&) override;
  int DoRetries(const msec& now) override;
  int Done() override { return 0; }

 private:
  struct Entry {
    int id;
    msec due;
    SNMPTimeoutCallback callback;
    void* data;
  };
  std::list<Entry> m_entries;  // most recently added first
  int m_last_id = 0;
};

class CUDEventQueue : public CEvents {
 public:
  int AddEntry(int socket, int flags, SNMPInputCallback callback, void* data);
  void DeleteEntry(int id);

  int GetNextTimeout(msec&) override { return -16; }
  void GetFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) override;
  int GetCount() override;
  int HandleEvents(int maxfds, const fd_set& readfds, const fd_set& writefds, const fd_set& exceptfds) override;
  int DoRetries(const msec&) override { return 0; }
  int Done() override { return 0; }

 private:
  struct Entry {
    int id;
    int socket;
    int flags;
    SNMPInputCallback callback;
    void* data;
  };
  std::list<Entry> m_entries;
  int m_last_id = 0;
};
