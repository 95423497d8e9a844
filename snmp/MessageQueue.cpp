#include "MessageQueue.h"

#include <cstring>
#include <new>
#include <utility>

#include "EventList.h"
#include "Snmp.h"
#include "mp_v3.h"

// ---- CSNMPMessage ----------------------------------------------------------------

CSNMPMessage::CSNMPMessage(unsigned long id, Snmp* session, int socket, const SnmpTarget& target, const Pdu& pdu,
                           const unsigned char* bytes, size_t length, const Address& destination,
                           SnmpCallback callback, void* data)
    : m_id(id),
      m_session(session),
      m_socket(socket),
      m_target(target.clone()),
      m_timeout(0),
      m_retries(0),
      m_pdu(new (std::nothrow) Pdu(pdu)),
      m_own_pdu(true),
      m_request_type(pdu.get_type()),
      m_message(bytes, bytes + length),
      m_destination(static_cast<Address*>(destination.clone())),
      m_callback(callback),
      m_data(data) {
  if (!m_pdu) return;  // refused by the queue (Complete)
  clear_error_index(m_pdu);
  clear_error_status(m_pdu);
  set_request_id(m_pdu, id);
  SetSendTime();
}

CSNMPMessage::CSNMPMessage(unsigned long id, Snmp* session, int socket, const SnmpTarget& target, Pdu& answer,
                           const unsigned char* bytes, size_t length, const Address& destination)
    : m_id(id),
      m_session(session),
      m_socket(socket),
      m_target(nullptr),
      m_timeout(target.get_timeout()),
      m_retries(target.get_retry()),
      m_pdu(&answer),
      m_own_pdu(false),
      m_request_type(answer.get_type()),
      m_message(bytes, bytes + length),
      m_destination(static_cast<Address*>(destination.clone())) {
  SetSendTime();
}

CSNMPMessage::~CSNMPMessage() {
  delete m_target;
  delete m_destination;
  if (m_own_pdu) delete m_pdu;
  // No SNMPv3 cache entry may outlive its request, however it ends.
  mpDeleteCacheEntry(m_id);
}

void CSNMPMessage::ResetId(unsigned long id) {
  m_id = id;
  set_request_id(m_pdu, id);
}

void CSNMPMessage::SetSendTime() {
  m_deadline.refresh();
  // The target counts in units of 10 ms. At least 1 ms, so that a pass of
  // the retry step always ends even with a time-out of 0.
  const unsigned long units = m_target ? m_target->get_timeout() : m_timeout;
  m_deadline += static_cast<long>(units ? units * 10 : 1);
}

int CSNMPMessage::GetPdu(int& status, Pdu& pdu) const {
  if (&pdu != m_pdu) pdu = *m_pdu;
  status = m_status;
  return 0;
}

int CSNMPMessage::TakePdu(int& status, Pdu& pdu) {
  if (&pdu != m_pdu) pdu = std::move(*m_pdu);
  status = m_status;
  return 0;
}

int CSNMPMessage::SetPdu(int status, const Pdu& answer) { return SetPdu(status, Pdu(answer)); }

int CSNMPMessage::SetPdu(int status, Pdu&& answer) {
  m_received = 1;
  Pdu& pdu = *m_pdu;
  pdu = std::move(answer);
  m_status = status;
  // The answer to an inform repeats sysUpTime.0 and snmpTrapOID.0 first:
  // they become the notification fields again.
  if (m_request_type == sNMP_PDU_INFORM && pdu.get_type() == sNMP_PDU_RESPONSE && pdu.get_vb_count() > 1) {
    const Vb& uptime = pdu[0];
    const Vb& trap_oid = pdu[1];
    if (uptime.get_syntax() == sNMP_SYNTAX_TIMETICKS && uptime.get_oid() == "1.3.6.1.2.1.1.3.0" &&
        trap_oid.get_syntax() == sNMP_SYNTAX_OID && trap_oid.get_oid() == "1.3.6.1.6.3.1.1.4.1.0") {
      TimeTicks ts;
      uptime.get_value(ts);
      pdu.set_notify_timestamp(ts);
      Oid id;
      trap_oid.get_value(id);
      pdu.set_notify_id(id);
      pdu.delete_vb(1);
      pdu.delete_vb(0);
    }
  }
  return 0;
}

bool CSNMPMessage::TimesOut() const { return !m_received && retries() <= 0; }

int CSNMPMessage::ResendMessage() {
  if (m_received) {
    SetSendTime();
    return 0;
  }
  if (retries() <= 0) {
    Callback(SNMP_CLASS_TIMEOUT);
    return SNMP_CLASS_TIMEOUT;
  }
  if (m_target)
    m_target->set_retry(m_target->get_retry() - 1);
  else
    --m_retries;
  SetSendTime();
  if (send_snmp_request(m_socket, m_message.data(), static_cast<unsigned int>(m_message.size()), *m_destination))
    return SNMP_CLASS_TL_FAILED;
  return 0;
}

int CSNMPMessage::Callback(int status) {
  if (!m_callback) return 1;
  const SnmpCallback callback = m_callback;
  m_callback = nullptr;
  callback(status, m_session, *m_pdu, *m_target, m_data);
  return 0;
}

// ---- CSNMPMessageQueue -----------------------------------------------------------

CSNMPMessageQueue::CSNMPMessageQueue() { m_id_stack.push_back(0); }

CSNMPMessageQueue::~CSNMPMessageQueue() {
  SnmpSynchronize guard(m_lock);
  for (CSNMPMessage* m : m_entries) delete m;
  m_entries.clear();
  SetCount(m_entries.size());
}

CSNMPMessage* CSNMPMessageQueue::AddEntry(unsigned long id, Snmp* session, int socket, const SnmpTarget& target,
                                          const Pdu& pdu, const unsigned char* bytes, size_t length,
                                          const Address& destination, SnmpCallback callback, void* data) {
  CSNMPMessage* entry =
      new (std::nothrow) CSNMPMessage(id, session, socket, target, pdu, bytes, length, destination, callback, data);
  return Add(entry);
}

CSNMPMessage* CSNMPMessageQueue::AddSyncEntry(unsigned long id, Snmp* session, int socket, const SnmpTarget& target,
                                              Pdu& answer, const unsigned char* bytes, size_t length,
                                              const Address& destination) {
  CSNMPMessage* entry =
      new (std::nothrow) CSNMPMessage(id, session, socket, target, answer, bytes, length, destination);
  return Add(entry);
}

CSNMPMessage* CSNMPMessageQueue::Add(CSNMPMessage* entry) {
  if (entry && !entry->Complete()) {
    delete entry;
    entry = nullptr;
  }
  if (!entry) return nullptr;
  SnmpSynchronize guard(m_lock);
  m_entries.push_front(entry);
  SetCount(m_entries.size());
  return entry;
}

CSNMPMessage* CSNMPMessageQueue::GetEntry(unsigned long id) {
  for (CSNMPMessage* m : m_entries)
    if (m->GetId() == id) return m;
  return nullptr;
}

int CSNMPMessageQueue::DeleteEntry(unsigned long id) {
  SnmpSynchronize guard(m_lock);
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if ((*it)->GetId() != id) continue;
    CSNMPMessage* m = *it;
    m_entries.erase(it);
    SetCount(m_entries.size());
    delete m;
    return 0;
  }
  return SNMP_CLASS_INVALID_REQID;
}

int CSNMPMessageQueue::TakeAnswer(unsigned long id, int& status, Pdu& pdu) {
  SnmpSynchronize guard(m_lock);
  CSNMPMessage* entry = GetEntry(id);
  if (!entry) return -1;
  if (!entry->GetReceived()) return 0;
  entry->TakePdu(status, pdu);
  Unlink(entry);
  delete entry;
  return 1;
}

std::list<CSNMPMessage*>::iterator CSNMPMessageQueue::Unlink(CSNMPMessage* entry) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if (*it != entry) continue;
    it = m_entries.erase(it);
    SetCount(m_entries.size());
    return it;
  }
  return m_entries.end();
}

// Callbacks of this queue run without its lock (the entry is unlinked first):
// a callback may start a synchronous request, which takes the event list's
// lock, and that lock comes before every source's.
void CSNMPMessageQueue::DeleteSocketEntry(int socket) {
  for (;;) {
    CSNMPMessage* m = nullptr;
    {
      SnmpSynchronize guard(m_lock);
      auto it = m_entries.begin();
      while (it != m_entries.end() && (*it)->GetSocket() != socket) ++it;
      if (it == m_entries.end()) return;
      // Unlinked before its callback, which may send, cancel or close.
      m = *it;
      m_entries.erase(it);
      SetCount(m_entries.size());
    }
    m->Callback(SNMP_CLASS_SESSION_DESTROYED);
    delete m;
  }
}

CSNMPMessage* CSNMPMessageQueue::FirstDeadline() const {
  CSNMPMessage* first = nullptr;
  for (CSNMPMessage* m : m_entries)
    if (!first || m->SendTime() < first->SendTime()) first = m;
  return first;
}

CSNMPMessage* CSNMPMessageQueue::GetNextTimeoutEntry() {
  SnmpSynchronize guard(m_lock);
  return FirstDeadline();
}

int CSNMPMessageQueue::GetNextTimeout(msec& timeout) {
  SnmpSynchronize guard(m_lock);
  CSNMPMessage* m = FirstDeadline();
  if (!m) return 1;
  timeout = m->SendTime();
  return 0;
}

void CSNMPMessageQueue::GetFdSets(int& maxfds, fd_set& readfds, fd_set&, fd_set&) {
  SnmpSynchronize guard(m_lock);
  for (CSNMPMessage* m : m_entries) {
    FD_SET(m->GetSocket(), &readfds);
    if (maxfds < m->GetSocket() + 1) maxfds = m->GetSocket() + 1;
  }
}

int CSNMPMessageQueue::GetCount() { return Count(); }

int CSNMPMessageQueue::HandleEvents(int maxfds, const fd_set& readfds, const fd_set&, const fd_set&) {
  fd_set own, unused_w, unused_e;
  FD_ZERO(&own);
  FD_ZERO(&unused_w);
  FD_ZERO(&unused_e);
  int own_max = 0;
  GetFdSets(own_max, own, unused_w, unused_e);
  const unsigned pass = SNMPPassCount();
  for (int fd = 0; fd < maxfds; ++fd) {
    if (!FD_ISSET(fd, &own) || !FD_ISSET(fd, &readfds)) continue;
    if (SNMPPassCount() != pass) break;  // a callback's pass may have read it (see SNMPPassCount)
    Pdu answer;
    set_request_id(&answer, 0);
    const int status = receive_snmp_response(fd, answer);
    const unsigned short answer_type = answer.get_type();
    CSNMPMessage* entry;
    {
      SnmpSynchronize guard(m_lock);
      entry = GetEntry(answer.get_request_id());
      if (!entry || answer.get_request_id() == 0) continue;  // late, duplicate or stray
      entry->SetPdu(status, std::move(answer));
      // A synchronous entry (no callback) stays, marked received, for the
      // caller blocked on it. An asynchronous one is unlinked before its
      // callback, which may cancel, close its session or send anew.
      if (!entry->HasCallback()) continue;
      Unlink(entry);
    }
    // A report the message processing refused (it names another engine, say)
    // ends the request with that failure, as a synchronous request sees it.
    entry->Callback(answer_type == sNMP_PDU_REPORT && status != 0 && status != SNMPv3_MP_OK
                        ? status
                        : SNMP_CLASS_ASYNC_RESPONSE);
    delete entry;
  }
  return 0;
}

int CSNMPMessageQueue::DoRetries(const msec& now) {
  SnmpSynchronize guard(m_lock);
  int status = 0;
  for (;;) {
    CSNMPMessage* entry = FirstDeadline();
    if (!entry || entry->SendTime() > now) break;
    // Unlinked while its time-out callback runs, without the queue's lock
    // (see DeleteSocketEntry); put back in its place otherwise (nothing else
    // touched the queue then).
    const auto next = Unlink(entry);
    if (entry->TimesOut()) {
      m_lock.unlock();
      status = entry->ResendMessage();  // the time-out callback
      delete entry;
      m_lock.lock();
      continue;
    }
    status = entry->ResendMessage();
    m_entries.insert(next, entry);
    SetCount(m_entries.size());
    if (status != 0) break;
  }
  return status;
}

int CSNMPMessageQueue::Done() {
  const unsigned long id = PeekId();
  if (id == 0) return 0;
  SnmpSynchronize guard(m_lock);
  CSNMPMessage* entry = GetEntry(id);
  return entry ? entry->GetReceived() : 1;
}

int CSNMPMessageQueue::Done(unsigned long id) {
  SnmpSynchronize guard(m_lock);
  CSNMPMessage* entry = GetEntry(id);
  return !entry || entry->GetReceived();
}

void CSNMPMessageQueue::PushId(unsigned long id) {
  SnmpSynchronize guard(m_lock);
  m_id_stack.push_back(id);
}

unsigned long CSNMPMessageQueue::PeekId() {
  SnmpSynchronize guard(m_lock);
  return m_id_stack.empty() ? 0 : m_id_stack.back();
}

unsigned long CSNMPMessageQueue::PopId() {
  SnmpSynchronize guard(m_lock);
  if (m_id_stack.empty()) return 0;
  const unsigned long id = m_id_stack.back();
  m_id_stack.pop_back();
  return id;
}
