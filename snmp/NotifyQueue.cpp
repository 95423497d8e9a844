#include "NotifyQueue.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "Snmp.h"

unsigned short CNotifyEventQueue::m_listen_port = SNMP_TRAP_PORT;

// ---- CNotifyEvent ------------------------------------------------------------------

CNotifyEvent::CNotifyEvent(Snmp* session, const SnmpCollection<Oid>& trap_ids,
                           const SnmpCollection<SnmpTarget>& targets, const SnmpCollection<GenAddress>& addresses)
    : m_session(session), m_targets(targets), m_trap_ids(trap_ids), m_addresses(addresses) {}

namespace {

// Equal addresses; a plain IPv4 filter address matches a UDP sender by its
// IPv4 part only.
bool same_sender(const GenAddress& filter, const GenAddress& sender) {
  if (!filter.valid()) return false;
  if (filter.get_type() == type_ip && sender.get_type() == type_udp)
    return std::strcmp(IpAddress(filter).get_printable(), IpAddress(sender).get_printable()) == 0;
  return filter == sender;
}

bool target_matches(const SnmpTarget& filter, const SnmpTarget& sender) {
  GenAddress filter_address, sender_address;
  if (!filter.get_address(filter_address) || !sender.get_address(sender_address)) return false;
  if (!same_sender(filter_address, sender_address)) return false;
  const bool user_sender = sender.get_type() == type_utarget, user_filter = filter.get_type() == type_utarget;
  if (user_sender && user_filter) {
    const UTarget& s = static_cast<const UTarget&>(sender);
    const UTarget& f = static_cast<const UTarget&>(filter);
    return s.get_security_name() == f.get_security_name() && s.get_security_model() == f.get_security_model();
  }
  if (user_sender && filter.get_type() == type_ctarget) {
    const UTarget& s = static_cast<const UTarget&>(sender);
    const CTarget& f = static_cast<const CTarget&>(filter);
    return s.get_version() == f.get_version() && std::strcmp(f.get_readcommunity(), s.get_security_name().get_printable()) == 0;
  }
  if (sender.get_type() == type_ctarget && filter.get_type() == type_ctarget) {
    const CTarget& s = static_cast<const CTarget&>(sender);
    const CTarget& f = static_cast<const CTarget&>(filter);
    return std::strcmp(s.get_readcommunity(), f.get_readcommunity()) == 0;
  }
  if (sender.get_type() == type_ctarget && user_filter) {
    const CTarget& s = static_cast<const CTarget&>(sender);
    const UTarget& f = static_cast<const UTarget&>(filter);
    return s.get_version() == f.get_version() &&
           std::strcmp(s.get_readcommunity(), f.get_security_name().get_printable()) == 0;
  }
  return false;
}

}  // namespace

int CNotifyEvent::notify_filter(const Oid& trap_id, SnmpTarget& sender) const {
  if (m_targets.size() > 0) {
    GenAddress sender_address;
    if (!sender.get_address(sender_address) || !sender_address.valid()) return 0;
    bool any = false;
    for (int i = 0; i < m_targets.size() && !any; ++i) any = target_matches(m_targets[i], sender);
    if (!any) return 0;
  }
  if (m_trap_ids.size() > 0) {
    bool any = false;
    for (int i = 0; i < m_trap_ids.size() && !any; ++i) any = m_trap_ids[i] == trap_id;
    if (!any) return 0;
  }
  return 1;
}

int CNotifyEvent::Callback(SnmpTarget& sender, Pdu& pdu, int status) {
  Oid trap_id;
  pdu.get_notify_id(trap_id);
  if (m_session && notify_filter(trap_id, sender)) {
    const SnmpCallback callback = m_session->get_notify_callback();
    if (callback)
      callback(status == SNMP_CLASS_TL_FAILED ? SNMP_CLASS_TL_FAILED : SNMP_CLASS_NOTIFICATION, m_session, pdu,
               sender, m_session->get_notify_callback_data());
  }
  return 0;
}

// ---- CNotifyEventQueue ---------------------------------------------------------------

CNotifyEventQueue::~CNotifyEventQueue() {
  SnmpSynchronize guard(m_lock);
  for (CNotifyEvent* e : m_entries) delete e;
  m_entries.clear();
  SetCount(0);
  if (m_socket >= 0) closesocket(static_cast<SOCKET>(m_socket));
  m_socket = -1;
}

int CNotifyEventQueue::AddEntry(Snmp* session, const SnmpCollection<Oid>& trap_ids,
                                const SnmpCollection<SnmpTarget>& targets,
                                const SnmpCollection<GenAddress>& addresses) {
  SnmpSynchronize guard(m_lock);
  if (m_entries.empty() && m_socket < 0) {
    const SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) return SNMP_CLASS_TL_FAILED;
    sockaddr_in local;
    std::memset(&local, 0, sizeof local);
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    local.sin_port = htons(m_listen_port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
      std::fputs("bind error\n", stderr);
      // Closed here: the next registration tries with a socket of its own.
      closesocket(s);
      return SNMP_CLASS_TL_IN_USE;
    }
    m_socket = static_cast<int>(s);
  }
  CNotifyEvent* entry = new (std::nothrow) CNotifyEvent(session, trap_ids, targets, addresses);
  if (!entry) return SNMP_CLASS_RESOURCE_UNAVAIL;
  m_entries.push_front(entry);
  SetCount(m_entries.size());
  return 0;
}

CNotifyEvent* CNotifyEventQueue::GetEntry(Snmp* session) {
  SnmpSynchronize guard(m_lock);
  for (CNotifyEvent* e : m_entries)
    if (e->GetId() == session) return e;
  return nullptr;
}

void CNotifyEventQueue::DeleteEntry(Snmp* session) {
  SnmpSynchronize guard(m_lock);
  for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
    if ((*it)->GetId() != session) continue;
    delete *it;
    m_entries.erase(it);
    SetCount(m_entries.size());
    break;
  }
  if (m_entries.empty() && m_socket >= 0) {
    closesocket(static_cast<SOCKET>(m_socket));
    m_socket = -1;
  }
}

void CNotifyEventQueue::GetFdSets(int& maxfds, fd_set& readfds, fd_set&, fd_set&) {
  SnmpSynchronize guard(m_lock);
  if (m_socket < 0) return;
  FD_SET(m_socket, &readfds);
  if (maxfds < m_socket + 1) maxfds = m_socket + 1;
}

int CNotifyEventQueue::GetCount() { return Count(); }

int CNotifyEventQueue::HandleEvents(int, const fd_set& readfds, const fd_set&, const fd_set&) {
  Pdu pdu;
  SnmpTarget* sender = nullptr;
  int status;
  std::list<CNotifyEvent*> entries;
  {
    SnmpSynchronize guard(m_lock);
    if (m_socket < 0 || !FD_ISSET(m_socket, &readfds)) return 0;
    status = receive_snmp_notification(m_socket, pdu, sender);
    // A copy of the list: a callback may register or unregister.
    entries = m_entries;
  }
  // A failed receive has no sender to filter on: nobody is told of it.
  if (status == 0 && sender) {
    Oid trap_id;
    pdu.get_notify_id(trap_id);
    for (CNotifyEvent* e : entries) {
      // What the callback needs is taken under the lock; the callback runs
      // without it, as every callback of the library does: it may start a
      // synchronous request, which takes the event list's lock, and that
      // lock comes before every source's.
      Snmp* session = nullptr;
      SnmpCallback callback = nullptr;
      void* data = nullptr;
      {
        SnmpSynchronize guard(m_lock);
        bool still_registered = false;
        for (CNotifyEvent* live : m_entries) still_registered = still_registered || live == e;
        if (still_registered && e->GetId() && e->notify_filter(trap_id, *sender)) {
          session = e->GetId();
          callback = session->get_notify_callback();
          data = session->get_notify_callback_data();
        }
      }
      if (callback) callback(SNMP_CLASS_NOTIFICATION, session, pdu, *sender, data);
    }
  }
  delete sender;
  return status;
}
