// The SNMP session: one UDP socket and every request operation, synchronous
// (returns with the answer) or asynchronous (a callback delivers it), plus
// notification registration and the texts of every status code.
#pragma once

#include "Address.h"
#include "MessageQueue.h"
#include "Oid.h"
#include "Pdu.h"
#include "SnmpCollection.h"
#include "Target.h"
#include "msec.h"

class Snmp {
 public:
  Snmp();
  Snmp(int& status, unsigned short port);
  Snmp(int& status, const UdpAddress& address);
  virtual ~Snmp();
  Snmp(const Snmp&) = delete;
  Snmp& operator=(const Snmp&) = delete;

  void init(int& status, IpAddress& address, unsigned short port);

  // 0, or -14 when no request has that id; its callback is not called.
  virtual int cancel(unsigned long request_id);
  virtual int get(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data);
  virtual int get(Pdu& pdu, SnmpTarget& target);
  virtual int get_next(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data);
  virtual int get_next(Pdu& pdu, SnmpTarget& target);
  virtual int set(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data);
  virtual int set(Pdu& pdu, SnmpTarget& target);
  virtual int get_bulk(Pdu& pdu, SnmpTarget& target, int non_repeaters, int max_repetitions,
                       SnmpCallback callback, const void* data);
  virtual int get_bulk(Pdu& pdu, SnmpTarget& target, int non_repeaters, int max_repetitions);
  virtual int trap(Pdu& pdu, SnmpTarget& target);
  virtual int report(Pdu& pdu, SnmpTarget* target);
  virtual int inform(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data);
  virtual int inform(Pdu& pdu, SnmpTarget& target);
  virtual int response(Pdu& pdu, SnmpTarget& target);
  virtual int send_raw_data(unsigned char* bytes, unsigned int length, UdpAddress& to, int socket = 0);
  virtual int notify_register(const SnmpCollection<Oid>& trap_ids, const SnmpCollection<SnmpTarget>& targets,
                              const SnmpCollection<GenAddress>& addresses, SnmpCallback callback, const void* data);
  virtual int notify_register(const SnmpCollection<Oid>& trap_ids, const SnmpCollection<SnmpTarget>& targets,
                              SnmpCallback callback, const void* data);
  virtual int notify_unregister();
  virtual int get_notify_filter(SnmpCollection<Oid>& trap_ids, SnmpCollection<SnmpTarget>& targets);

  int snmp_engine(Pdu& pdu, long non_repeaters, long max_repetitions, SnmpTarget& target, SnmpCallback callback,
                  const void* data);

  SnmpCallback get_notify_callback() const { return notify_callback; }
  void* get_notify_callback_data() const { return notify_callback_data; }
  int get_socket() const { return iv_snmp_session; }

  static const char* error_msg(int status);
  // The status a report stands for, named by its first OID (a usmStats or
  // snmp MP counter): 1408 for a wrong digest, 1404 for an unknown user name...
  // 19 for a counter not known here.
  static int report_status(const Oid& report_id);
  static const char* error_msg(const Oid& report_id);

 protected:
  void check_notify_timestamp(Pdu& pdu);

 private:
  int resolve_destination(SnmpTarget& target, unsigned short type, UdpAddress& destination);
  int resolve_credentials(SnmpTarget& target, bool read, OctetStr& community, OctetStr& security_name,
                          int& security_model, snmp_version& version);
  // snmp_engine with the number of the attempt (1..3) after SNMPv3 reports.
  int engine(Pdu& pdu, long non_repeaters, long max_repetitions, SnmpTarget& target, SnmpCallback callback,
             const void* data, int attempt);
  int resend_v3(Pdu& pdu, long non_repeaters, long max_repetitions, SnmpTarget& target, SnmpCallback callback,
                void* data, int attempt);
  friend void v3CallBack(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* record);

  SnmpSynchronized m_lock;
  int iv_snmp_session = -1;
  int construct_status = SNMP_CLASS_INTERNAL_ERROR;
  // Set while the destructor runs: a callback may try to send on this session.
  bool closing = false;
  SnmpCallback notify_callback = nullptr;
  void* notify_callback_data = nullptr;
};

// One datagram to a UDP address: 0, or -1.
int send_snmp_request(int socket, unsigned char* bytes, unsigned int length, const Address& to);
// One answer from the socket: 0, the agent's error status, or a failure.
int receive_snmp_response(int socket, Pdu& pdu);
// One notification and a new target for its sender (the caller deletes it).
int receive_snmp_notification(int socket, Pdu& pdu, SnmpTarget*& target);
// Hands the outcome of an asynchronous SNMPv3 request to the user's callback,
// after resending it for a discovery or time-window report.
void v3CallBack(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* record);
// Hundredths of a second since 2001-05-10 18:20:48 UTC, modulo 2^32.
uint32_t snmp_notify_timestamp_now();
