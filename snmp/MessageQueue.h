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
  CSNMPMessage(unsigned long id, Snmp* session, int socket, const SnmpTarget& target, const Pdu& pdu,
               const unsigned char* bytes, size_t length, const Address& destination, SnmpCallback callback,
               void* data);
  ~CSNMPMessage();
  CSNMPMessage(const CSNMPMessage&) = delete;
  CSNMPMessage& operator=(const CSNMPMessage&) = delete;

  unsigned long GetId() const { return m_id; }
  void ResetId(unsigned long id);
  void SetSendTime();
  void GetSendTime(msec& t) const { t = m_deadline; }
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

 private:
  unsigned long m_id;
  msec m_deadline;
  Snmp* m_session;
  int m_socket;
  SnmpTarget* m_target;
  Pdu m_pdu;
  std::vector<unsigned char> m_message;
  Address* m_destination;
  SnmpCallback m_callback;
  void* m_data;
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
  // The caller holds the queue's lock.
  CSNMPMessage* GetEntry(unsigned long id);
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

  std::list<CSNMPMessage*> m_entries;  // most recently added first
  std::vector<unsigned long> m_id_stack;
};

// The process-wide queue of outstanding requests.
CSNMPMessageQueue& snmpMessageQueue();
