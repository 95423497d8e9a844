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
      m_pdu(pdu),
      m_message(bytes, bytes + length),
      m_destination(static_cast<Address*>(destination.clone())),
      m_callback(callback),
      m_data(data) {
  clear_error_index(&m_pdu);
  clear_error_status(&m_pdu);
  set_request_id(&m_pdu, id);
  SetSendTime();
}

CSNMPMessage::~CSNMPMessage() {
  delete m_target;
  delete m_destination;
  // No SNMPv3 cache entry may outlive its request, however it ends.
  mpDeleteCacheEntry(m_id);
}

void CSNMPMessage::ResetId(unsigned long id) {
  m_id = id;
  set_request_id(&m_pdu, id);
}

void CSNMPMessage::SetSendTime() {
  m_deadline.refresh();
  // The target counts in units of 10 ms. At least 1 ms, so that a pass of
  // the retry step always ends even with a time-out of 0.
  const unsigned long units = m_target ? m_target->get_timeout() : SNMP_DEFAULT_TIMEOUT;
  m_deadline += static_cast<long>(units ? units * 10 : 1);
}

int CSNMPMessage::GetPdu(int& status, Pdu& pdu) const {
  pdu = m_pdu;
  status = m_status;
  return 0;
}

int CSNMPMessage::TakePdu(int& status, Pdu& pdu) {
  pdu = std::move(m_pdu);
  status = m_status;
  return 0;
}

int CSNMPMessage::SetPdu(int status, const Pdu& answer) { return SetPdu(status, Pdu(answer)); }

int CSNMPMessage::SetPdu(int status, Pdu&& answer) {
  const unsigned short request_type = m_pdu.get_type();
  m_received = 1;
  m_pdu = std::move(answer);
  m_status = status;
  // The answer to an inform repeats sysUpTime.0 and snmpTrapOID.0 first:
  // they become the notification fields again.
  if (request_type == sNMP_PDU_INFORM && m_pdu.get_type() == sNMP_PDU_RESPONSE && m_pdu.get_vb_count() > 1) {
    const Vb& uptime = m_pdu[0];
    const Vb& trap_oid = m_pdu[1];
    if (uptime.get_syntax() == sNMP_SYNTAX_TIMETICKS && uptime.get_oid() == "1.3.6.1.2.1.1.3.0" &&
        trap_oid.get_syntax() == sNMP_SYNTAX_OID && trap_oid.get_oid() == "1.3.6.1.6.3.1.1.4.1.0") {
      TimeTicks ts;
      uptime.get_value(ts);
      m_pdu.set_notify_timestamp(ts);
      Oid id;
      trap_oid.get_value(id);
      m_pdu.set_notify_id(id);
      m_pdu.delete_vb(1);
      m_pdu.delete_vb(0);
    }
  }
  return 0;
}

bool CSNMPMessage::TimesOut() const { return !m_received && (!m_target || m_target->get_retry() <= 0); }

int CSNMPMessage::ResendMessage() {
  if (m_received) {
    SetSendTime();
    return 0;
  }
  if (!m_target || m_target->get_retry() <= 0) {
    Callback(SNMP_CLASS_TIMEOUT);
    return SNMP_CLASS_TIMEOUT;
  }
  m_target->set_retry(m_target->get_retry() - 1);
  SetSendTime();
  if (send_snmp_request(m_socket, m_message.data(), static_cast<unsigned int>(m_message.size()), *m_destination))
    return SNMP_CLASS_TL_FAILED;
  return 0;
}

int CSNMPMessage::Callback(int status) {
  if (!m_callback) return 1;
  const SnmpCallback callback = m_callback;
  m_callback = nullptr;
  callback(status, m_session, m_pdu, *m_target, m_data);
  return 0;
}

// ---- CSNMPMessageQueue -----------------------------------------------------------

CSNMPMessageQueue::CSNMPMessageQueue() { m_id_stack.push_back(0); }

CSNMPMessageQueue::~CSNMPMessageQueue() {
  SnmpSynchronize guard(m_lock);
  for (CSNMPMessage* m : m_entries) delete m;
  m_entries.clear();
}

CSNMPMessage* CSNMPMessageQueue::AddEntry(unsigned long id, Snmp* session, int socket, const SnmpTarget& target,
                                          const Pdu& pdu, const unsigned char* bytes, size_t length,
                                          const Address& destination, SnmpCallback callback, void* data) {
  CSNMPMessage* entry =
      new (std::nothrow) CSNMPMessage(id, session, socket, target, pdu, bytes, length, destination, callback, data);
  if (!entry) return nullptr;
  SnmpSynchronize guard(m_lock);
  m_entries.push_front(entry);
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
    delete m;
    return 0;
  }
  return SNMP_CLASS_INVALID_REQID;
}

std::list<CSNMPMessage*>::iterator CSNMPMessageQueue::Unlink(CSNMPMessage* entry) {
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
    if (*it == entry) return m_entries.erase(it);
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
    }
    m->Callback(SNMP_CLASS_SESSION_DESTROYED);
    delete m;
  }
}

CSNMPMessage* CSNMPMessageQueue::GetNextTimeoutEntry() {
  SnmpSynchronize guard(m_lock);
  CSNMPMessage* first = nullptr;
  msec best, t;
  for (CSNMPMessage* m : m_entries) {
    m->GetSendTime(t);
    if (!first || t < best) {
      first = m;
      best = t;
    }
  }
  return first;
}

int CSNMPMessageQueue::GetNextTimeout(msec& timeout) {
  SnmpSynchronize guard(m_lock);
  CSNMPMessage* m = GetNextTimeoutEntry();
  if (!m) return 1;
  m->GetSendTime(timeout);
  return 0;
}

void CSNMPMessageQueue::GetFdSets(int& maxfds, fd_set& readfds, fd_set&, fd_set&) {
  SnmpSynchronize guard(m_lock);
  for (CSNMPMessage* m : m_entries) {
    FD_SET(m->GetSocket(), &readfds);
    if (maxfds < m->GetSocket() + 1) maxfds = m->GetSocket() + 1;
  }
}

int CSNMPMessageQueue::GetCount() {
  SnmpSynchronize guard(m_lock);
  return static_cast<int>(m_entries.size());
}

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
    CSNMPMessage* entry = GetNextTimeoutEntry();
    if (!entry) break;
    msec deadline;
    entry->GetSendTime(deadline);
    if (deadline > now) break;
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
