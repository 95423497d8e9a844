// Traps and informs sent to this host: one UDP socket on the listen port for
// every registration of the process, filters per registration.
#pragma once

#include <list>

#include "EventList.h"
#include "Oid.h"
#include "SnmpCollection.h"
#include "Target.h"

class Snmp;

class CNotifyEvent {
 public:
  CNotifyEvent(Snmp* session, const SnmpCollection<Oid>& trap_ids, const SnmpCollection<SnmpTarget>& targets,
               const SnmpCollection<GenAddress>& addresses);
  Snmp* GetId() const { return m_session; }
  // 1 when both filters accept the notification.
  int notify_filter(const Oid& trap_id, SnmpTarget& sender) const;
  int Callback(SnmpTarget& sender, Pdu& pdu, int status);

  const SnmpCollection<Oid>& trap_ids() const { return m_trap_ids; }
  const SnmpCollection<SnmpTarget>& targets() const { return m_targets; }

 private:
  Snmp* m_session;
  SnmpCollection<SnmpTarget> m_targets;
  SnmpCollection<Oid> m_trap_ids;
  SnmpCollection<GenAddress> m_addresses;
};

class CNotifyEventQueue : public CEvents {
 public:
  ~CNotifyEventQueue() override;

  int AddEntry(Snmp* session, const SnmpCollection<Oid>& trap_ids, const SnmpCollection<SnmpTarget>& targets,
               const SnmpCollection<GenAddress>& addresses);
  CNotifyEvent* GetEntry(Snmp* session);
  void DeleteEntry(Snmp* session);
  int get_notify_fd() const { return m_socket; }

  static unsigned short get_listen_port() { return m_listen_port; }
  static void set_listen_port(unsigned short port) { m_listen_port = port; }

  int GetNextTimeout(msec&) override { return 1; }
  void GetFdSets(int& maxfds, fd_set& readfds, fd_set& writefds, fd_set& exceptfds) override;
  int GetCount() override;
  int HandleEvents(int maxfds, const fd_set& readfds, const fd_set& writefds, const fd_set& exceptfds) override;
  int DoRetries(const msec&) override { return 0; }
  int Done() override { return 0; }

  SnmpSynchronized& lock() { return m_lock; }

 private:
  std::list<CNotifyEvent*> m_entries;
  int m_socket = -1;
  static unsigned short m_listen_port;
};

CNotifyEventQueue& snmpNotifyQueue();
