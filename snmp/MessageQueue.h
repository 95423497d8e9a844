// Outstanding requests: each waits for its answer or its deadline, is resent
// while retries remain, and reports to its callback (or to the caller blocked
// in SNMPBlockForResponse).
#pragma once

#include <cstdint>
#include <list>
#include <vector>

#include "Address.h"
#include "EventList.h"
#include "Pdu.h"
#include "Target.h"

class Snmp;
typedef void (*SnmpCallback)(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* data);

class CSNMPMessage {
 public:
  // An asynchronous request (it has a callback): the entry keeps copies of
  // the request and the target for the callback; the answer takes the
  // request's place once it came.
  CSNMPMessage(unsigned long id, Snmp* session, int socket, const SnmpTarget& target, const Pdu& pdu,
               const unsigned char* bytes, size_t length, const Address& destination, SnmpCallback callback,
               void* data);
  // A synchronous request: the answer goes straight into `answer`, the Pdu of
  // the caller blocked on it, which nothing else touches until that caller
  // takes the answer (SNMPBlockForResponse) or the entry goes. Only the
  // target's time-out and retries are kept: no callback ever sees the target.
  CSNMPMessage(unsigned long id, Snmp* session, int socket, const SnmpTarget& target, Pdu& answer,
               const unsigned char* bytes, size_t length, const Address& destination);
  ~CSNMPMessage();
  CSNMPMessage(const CSNMPMessage&) = delete;
  CSNMPMessage& operator=(const CSNMPMessage&) = delete;

  unsigned long GetId() const { return m_id; }
  void ResetId(unsigned long id);
  void SetSendTime();
  void GetSendTime(msec& t) const { t = m_deadline; }
  const msec& SendTime() const { return m_deadline; }
  int GetSocket() const { return m_socket; }
  Snmp* GetSession() const { return m_session; }
  int GetPdu(int& status, Pdu& pdu) const;
  // As GetPdu, moving the PDU out: for the last reader of an entry.
  int TakePdu(int& status, Pdu& pdu);
  int SetPdu(int status, const Pdu& answer);
  // As SetPdu, taking the answer over without a copy.
  int SetPdu(int status, Pdu&& answer);
  int GetReceived() const { return m_received; }
  int ResendMessage();
  // True when ResendMessage would end the request with its time-out callback.
  bool TimesOut() const;
  // Runs the callback at most once: 0 when it ran, 1 without one.
  int Callback(int status);
  bool HasCallback() const { return m_callback != nullptr; }
  // False when memory for one of the entry's copies ran out.
  bool Complete() const { return m_pdu && m_destination && (m_target || !m_own_pdu); }

 private:
  int retries() const { return m_target ? m_target->get_retry() : m_retries; }

  unsigned long m_id;
  msec m_deadline;
  Snmp* m_session;
  int m_socket;
  SnmpTarget* m_target;  // an asynchronous request's own copy, else null
  unsigned long m_timeout;
  int m_retries;  // without a target of its own
  Pdu* m_pdu;     // the entry's own Pdu, or the blocked caller's
  bool m_own_pdu;
  unsigned short m_request_type;
  std::vector<unsigned char> m_message;
  Address* m_destination;
  SnmpCallback m_callback = nullptr;
  void* m_data = nullptr;
  int m_status = 0;
  int m_received = 0;
};

class CSNMPMessageQueue : public CEvents {
 public:
  CSNMPMessageQueue();
  ~CSNMPMessageQueue() override;

  CSNMPMessage* AddEntry(unsigned long id, Snmp* session, int socket, const SnmpTarget& target, const Pdu& pdu,
                         const unsigned char* bytes, size_t length, const Address& destination,
                         SnmpCallback callback, void* data);
  // A synchronous request, answered into `answer` (see CSNMPMessage).
  CSNMPMessage* AddSyncEntry(unsigned long id, Snmp* session, int socket, const SnmpTarget& target, Pdu& answer,
                             const unsigned char* bytes, size_t length, const Address& destination);
  // The caller holds the queue's lock.
  CSNMPMessage* GetEntry(unsigned long id);
  // For the caller blocked on a request: 1 when it was answered (the answer
  // and its status are in `pdu` and `status`, and the entry is gone), 0 while
  // it waits, -1 when it has no entry (it timed out or its session closed).
  int TakeAnswer(unsigned long id, int& status, Pdu& pdu);
  int DeleteEntry(unsigned long id);
  // Every entry of the socket gets -8, then goes.
  void DeleteSocketEntry(int socket);
  CSNMPMessage* GetNextTimeoutEntry();

  void PushId(unsigned long id);
  unsigned long PeekId();
  unsigned long PopId();
  int Done(unsigned long id);

  int GetNextTimeout(msec& timeout) override;
  void GetFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) override;
  int GetCount() override;
  int HandleEvents(int maxfds, const fd_set& readfds, const fd_set& writefds, const fd_set& exceptfds) override;
  int DoRetries(const msec& now) override;
  int Done() override;

  SnmpSynchronized& lock() { return m_lock; }

 private:
  // Takes the entry out of the list (the caller then owns it) before a
  // callback runs, so that a callback that cancels its request or closes its
  // session cannot delete it under us. Returns the position after it.
  std::list<CSNMPMessage*>::iterator Unlink(CSNMPMessage* entry);
  // Links a new entry in; a null or incomplete one is refused (deleted).
  CSNMPMessage* Add(CSNMPMessage* entry);
  // The entry with the earliest deadline; the caller holds the lock.
  CSNMPMessage* FirstDeadline() const;

  std::list<CSNMPMessage*> m_entries;  // most recently added first
  std::vector<unsigned long> m_id_stack;
};

// The process-wide queue of outstanding requests.
CSNMPMessageQueue& snmpMessageQueue();
