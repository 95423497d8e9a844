#include "Snmp.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>
#include <vector>

#include <openssl/rand.h>

#include "EventList.h"
#include "NotifyQueue.h"
#include "SnmpMessage.h"
#include "mp_v3.h"

namespace {

const char* const kUnknownEngineIDs = "1.3.6.1.6.3.15.1.1.4.0";
const char* const kNotInTimeWindows = "1.3.6.1.6.3.15.1.1.2.0";

int live_sessions = 0;
std::mutex live_sessions_lock;

constexpr unsigned long kFirstRequestId = 1000;
constexpr unsigned long kLastRequestId = 32767;

// Where the counter starts: a process that always began at the same id would
// make its answers easy to forge.
unsigned long random_request_id_start() {
  uint32_t r = 0;
  if (RAND_bytes(reinterpret_cast<unsigned char*>(&r), sizeof r) != 1) r = static_cast<uint32_t>(snmp_now_ms());
  return kFirstRequestId + r % (kLastRequestId - kFirstRequestId + 1);
}

// Request ids run 1000..32767 and start again at 1000, skipping any still in
// use by an outstanding request.
unsigned long next_request_id() {
  static unsigned long current = random_request_id_start() - 1;
  CSNMPMessageQueue& queue = snmpMessageQueue();
  SnmpSynchronize guard(queue.lock());
  for (;;) {
    if (++current > kLastRequestId) current = kFirstRequestId;
    if (!queue.GetEntry(current)) return current;
  }
}

bool is_async(unsigned short type) { return type >= sNMP_PDU_GET_ASYNC && type <= sNMP_PDU_INFORM_ASYNC; }

unsigned short wire_type(unsigned short type) {
  switch (type) {
    case sNMP_PDU_GET_ASYNC: return sNMP_PDU_GET;
    case sNMP_PDU_GETNEXT_ASYNC: return sNMP_PDU_GETNEXT;
    case sNMP_PDU_SET_ASYNC: return sNMP_PDU_SET;
    case sNMP_PDU_GETBULK_ASYNC: return sNMP_PDU_GETBULK;
    case sNMP_PDU_INFORM_ASYNC: return sNMP_PDU_INFORM;
    case sNMP_PDU_GETNEXT:
    case sNMP_PDU_RESPONSE:
    case sNMP_PDU_SET:
    case sNMP_PDU_GETBULK:
    case sNMP_PDU_INFORM:
    case sNMP_PDU_REPORT: return type;
    default: return sNMP_PDU_GET;
  }
}

// Types that read: they carry the read community; everything else the write one.
bool uses_read_community(unsigned short type) {
  switch (type) {
    case sNMP_PDU_GET_ASYNC:
    case sNMP_PDU_GETNEXT_ASYNC:
    case sNMP_PDU_GETBULK_ASYNC:
    case sNMP_PDU_INFORM_ASYNC:
    case sNMP_PDU_GET:
    case sNMP_PDU_GETNEXT:
    case sNMP_PDU_RESPONSE:
    case sNMP_PDU_GETBULK:
    case sNMP_PDU_INFORM: return true;
    default: return false;
  }
}

// The next attempt after a discovery or time-window report, or 0 when no
// further attempt is to be made. At most three attempts in all.
int next_report_attempt(int attempt, const Pdu& report, const Pdu& request) {
  if (report.get_type() != sNMP_PDU_REPORT || report.get_vb_count() < 1) return 0;
  const Oid& id = report[0].get_oid();
  int next = 0;
  if (attempt == 1 && id == kUnknownEngineIDs)
    next = 2;
  else if ((attempt == 1 || attempt == 2) && id == kNotInTimeWindows)
    next = 3;
  // The request itself asked for that counter: the report is its answer.
  if (next && request.get_vb_count() > 0 && request[0].get_oid() == id) return 0;
  return next;
}

// The status of a request whose last answer is a report: the one its first
// counter stands for.
int report_status_of(const Pdu& report) {
  return Snmp::report_status(report.get_vb_count() ? report[0].get_oid() : Oid());
}

// The repetitions worth asking for: an answer keeps at most PDU_MAX_VBS
// bindings, the non-repeaters first and then the repeaters row by row, so
// more rows than fill those slots only make the agent work for bindings that
// are dropped on arrival. Enough rows to fill every slot are still asked for,
// so the bindings kept are the same as with the caller's figure.
long kept_repetitions(long non_repeaters, long max_repetitions, int bindings) {
  // As the agent reads the fields: non-repeaters between 0 and the count.
  const long fixed = non_repeaters < 0 ? 0 : non_repeaters > bindings ? bindings : non_repeaters;
  const long repeaters = bindings - fixed;
  if (repeaters <= 0 || max_repetitions <= 0) return max_repetitions;
  const long rows = (PDU_MAX_VBS - fixed + repeaters - 1) / repeaters;
  return max_repetitions < rows ? max_repetitions : rows;
}

// What an asynchronous SNMPv3 request needs for a resend after a report.
struct V3Record {
  Pdu* pdu;
  long non_repeaters;
  long max_repetitions;
  SnmpTarget* target;
  SnmpCallback callback;
  void* data;
  int attempt;
};

int report_sender(Snmp* session, unsigned char* bytes, unsigned int length, const UdpAddress& to,
                  bool to_notify_socket) {
  UdpAddress destination(to);
  const int socket = to_notify_socket ? snmpNotifyQueue().get_notify_fd() : 0;
  return session->send_raw_data(bytes, length, destination, socket) == 0 ? SNMPv3_MP_OK : SNMPv3_MP_ERROR;
}

UdpAddress udp_from(const sockaddr_in& from) {
  unsigned char six[6];
  std::memcpy(six, &from.sin_addr, 4);
  const unsigned short port = ntohs(from.sin_port);
  six[4] = static_cast<unsigned char>(port >> 8);
  six[5] = static_cast<unsigned char>(port);
  UdpAddress address;
  address = static_cast<const SnmpSyntax&>(OctetStr(six, 6));
  return address;
}

// One datagram into `message`, and its sender. -22 on failure.
int receive_message(int socket, SnmpMessage& message, sockaddr_in& from) {
  // Agents answer a get-bulk with datagrams well over a few kilobytes: take
  // any. One buffer per thread, made once: clearing 64 KB for every answer
  // cost more than decoding a small one.
  thread_local std::vector<unsigned char> buffer(SNMP_MAX_DATAGRAM);
  int n;
  do {
    int from_length = sizeof from;
    std::memset(&from, 0, sizeof from);
    n = recvfrom(static_cast<SOCKET>(socket), reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()), 0,
                 reinterpret_cast<sockaddr*>(&from), &from_length);
  } while (n < 0 && WSAGetLastError() == WSAEINTR);
  if (n <= 0) return SNMP_CLASS_TL_FAILED;
  if (from.sin_family != AF_INET) return SNMP_CLASS_TL_FAILED;
  if (message.load(buffer.data(), static_cast<unsigned long>(n)) != 0) return SNMP_CLASS_ERROR;
  return 0;
}

void remember_engine(const OctetStr& engine_id, const UdpAddress& sender) {
  std::lock_guard<std::recursive_mutex> guard(mpEngineIDTableLock());
  mpAddToEngineIDTable(engine_id, OctetStr(IpAddress(sender).get_printable()), sender.get_port());
}

}  // namespace

// ---- construction ------------------------------------------------------------------

Snmp::Snmp() {}

Snmp::Snmp(int& status, unsigned short port) {
  IpAddress any("0.0.0.0");
  init(status, any, port);
}

Snmp::Snmp(int& status, const UdpAddress& address) {
  IpAddress ip(address);
  init(status, ip, address.get_port());
}

void Snmp::init(int& status, IpAddress& address, unsigned short port) {
  WSADATA data;
  WSAStartup(0x0101, &data);
  notify_callback = nullptr;
  notify_callback_data = nullptr;
  mpSetReportSender(report_sender);

  const SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
  int error = 0;
  if (s == INVALID_SOCKET) {
    error = WSAGetLastError();
  } else {
    sockaddr_in local;
    std::memset(&local, 0, sizeof local);
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = static_cast<ULONG>(inet_addr(address.get_printable()));
    local.sin_port = htons(port);
    if (bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
      error = WSAGetLastError();
      closesocket(s);
    }
  }
  if (error) {
    switch (error) {
      case WSAEADDRINUSE: status = SNMP_CLASS_TL_IN_USE; break;
      case WSAENOBUFS: status = SNMP_CLASS_RESOURCE_UNAVAIL; break;
      case WSAEAFNOSUPPORT: status = SNMP_CLASS_TL_UNSUPPORTED; break;
      case WSAENETUNREACH: status = SNMP_CLASS_TL_FAILED; break;
      default: status = SNMP_CLASS_INTERNAL_ERROR; break;
    }
    construct_status = status;
    return;
  }
  iv_snmp_session = static_cast<int>(s);
  {
    std::lock_guard<std::mutex> guard(live_sessions_lock);
    ++live_sessions;
  }
  construct_status = status = SNMP_CLASS_SUCCESS;
}

Snmp::~Snmp() {
  if (construct_status != SNMP_CLASS_SUCCESS) {
    // Even a session without a socket may have registered for
    // notifications; the queue must not keep a pointer to it.
    if (notify_callback || snmpNotifyQueue().GetEntry(this)) notify_unregister();
    return;
  }
  // New requests are refused from here on; the -8 callbacks run while the
  // socket is still ours, and only then is it closed.
  closing = true;
  snmpMessageQueue().DeleteSocketEntry(iv_snmp_session);
  notify_unregister();
  {
    SnmpSynchronize guard(m_lock);
    closesocket(static_cast<SOCKET>(iv_snmp_session));
    iv_snmp_session = -1;
  }
  {
    std::lock_guard<std::mutex> guard(live_sessions_lock);
    if (live_sessions > 0) --live_sessions;
  }
  WSACleanup();
}

// ---- requests ------------------------------------------------------------------------

int Snmp::cancel(unsigned long request_id) {
  CSNMPMessageQueue& queue = snmpMessageQueue();
  SnmpSynchronize guard(queue.lock());
  return queue.DeleteEntry(request_id);
}

int Snmp::get(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data) {
  pdu.set_type(sNMP_PDU_GET_ASYNC);
  return snmp_engine(pdu, 0, 0, target, callback, data);
}
int Snmp::get(Pdu& pdu, SnmpTarget& target) {
  pdu.set_type(sNMP_PDU_GET);
  return snmp_engine(pdu, 0, 0, target, nullptr, nullptr);
}
int Snmp::get_next(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data) {
  pdu.set_type(sNMP_PDU_GETNEXT_ASYNC);
  return snmp_engine(pdu, 0, 0, target, callback, data);
}
int Snmp::get_next(Pdu& pdu, SnmpTarget& target) {
  pdu.set_type(sNMP_PDU_GETNEXT);
  return snmp_engine(pdu, 0, 0, target, nullptr, nullptr);
}
int Snmp::set(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data) {
  pdu.set_type(sNMP_PDU_SET_ASYNC);
  return snmp_engine(pdu, 0, 0, target, callback, data);
}
int Snmp::set(Pdu& pdu, SnmpTarget& target) {
  pdu.set_type(sNMP_PDU_SET);
  return snmp_engine(pdu, 0, 0, target, nullptr, nullptr);
}
int Snmp::get_bulk(Pdu& pdu, SnmpTarget& target, int non_repeaters, int max_repetitions, SnmpCallback callback,
                   const void* data) {
  pdu.set_type(sNMP_PDU_GETBULK_ASYNC);
  return snmp_engine(pdu, non_repeaters, max_repetitions, target, callback, data);
}
int Snmp::get_bulk(Pdu& pdu, SnmpTarget& target, int non_repeaters, int max_repetitions) {
  pdu.set_type(sNMP_PDU_GETBULK);
  return snmp_engine(pdu, non_repeaters, max_repetitions, target, nullptr, nullptr);
}
int Snmp::report(Pdu& pdu, SnmpTarget* target) {
  if (!target) return SNMP_CLASS_INVALID_TARGET;
  pdu.set_type(sNMP_PDU_REPORT);
  return snmp_engine(pdu, 0, 0, *target, nullptr, nullptr);
}
int Snmp::inform(Pdu& pdu, SnmpTarget& target, SnmpCallback callback, const void* data) {
  check_notify_timestamp(pdu);
  pdu.set_type(sNMP_PDU_INFORM_ASYNC);
  return snmp_engine(pdu, 0, 0, target, callback, data);
}
int Snmp::inform(Pdu& pdu, SnmpTarget& target) {
  check_notify_timestamp(pdu);
  pdu.set_type(sNMP_PDU_INFORM);
  return snmp_engine(pdu, 0, 0, target, nullptr, nullptr);
}
int Snmp::response(Pdu& pdu, SnmpTarget& target) {
  pdu.set_type(sNMP_PDU_RESPONSE);
  return snmp_engine(pdu, 0, 0, target, nullptr, nullptr);
}

int Snmp::send_raw_data(unsigned char* bytes, unsigned int length, UdpAddress& to, int socket) {
  SnmpSynchronize guard(m_lock);
  return send_snmp_request(socket > 0 ? socket : iv_snmp_session, bytes, length, to);
}

int Snmp::resolve_destination(SnmpTarget& target, unsigned short type, UdpAddress& destination) {
  GenAddress address;
  if (!target.get_address(address) || !address.valid()) return SNMP_CLASS_INVALID_TARGET;
  if (address.get_type() != type_ip && address.get_type() != type_udp) return SNMP_CLASS_TL_UNSUPPORTED;
  destination = UdpAddress(address);
  if (!destination.valid()) return SNMP_CLASS_RESOURCE_UNAVAIL;
  if (address.get_type() == type_ip || destination.get_port() == 0)
    destination.set_port(type == sNMP_PDU_INFORM ? SNMP_TRAP_PORT : SNMP_DEFAULT_PORT);
  return 0;
}

// The community (or the security name sent as one) and the version of a
// target; for SNMPv3 the security name and model. What resolve_to_C and
// resolve_to_U give, read field by field: they also copy the target's address
// (and both communities), on every request.
int Snmp::resolve_credentials(SnmpTarget& target, bool read, OctetStr& community, OctetStr& security_name,
                              int& security_model, snmp_version& version) {
  if (target.get_type() == type_ctarget) {
    const CTarget& plain = static_cast<const CTarget&>(target);
    if (!plain.valid()) return SNMP_CLASS_UNSUPPORTED;
    if (read)
      plain.get_readcommunity(community);
    else
      plain.get_writecommunity(community);
  } else if (target.get_type() == type_utarget) {
    const UTarget& user = static_cast<const UTarget&>(target);
    if (!user.valid()) return SNMP_CLASS_UNSUPPORTED;
    user.get_security_name(security_name);
    security_model = user.get_security_model();
    const snmp_version v = user.get_version();
    if (v == version1 || v == version2c) {
      community = security_name;
      if (security_model != SNMP_SECURITY_MODEL_V1 && security_model != SNMP_SECURITY_MODEL_V2)
        return SNMP_CLASS_INVALID_TARGET;
    }
  } else {
    return SNMP_CLASS_INVALID_TARGET;
  }
  version = target.get_version();
  return 0;
}

int Snmp::snmp_engine(Pdu& pdu, long non_repeaters, long max_repetitions, SnmpTarget& target,
                      SnmpCallback callback, const void* data) {
  return engine(pdu, non_repeaters, max_repetitions, target, callback, data, 1);
}

int Snmp::engine(Pdu& pdu, long non_repeaters, long max_repetitions, SnmpTarget& target, SnmpCallback callback,
                 const void* data, int attempt) {
  if (closing || iv_snmp_session < 0) return SNMP_CLASS_SESSION_DESTROYED;
  // The request as given, for a resend after an SNMPv3 report; made once the
  // version is known: only SNMPv3 requests are resent after a report.
  std::optional<Pdu> request;
  for (;;) {
    if (!pdu.valid()) return SNMP_CLASS_INVALID_PDU;
    const unsigned short type = pdu.get_type();
    const bool sync_type = type == sNMP_PDU_GET || type == sNMP_PDU_GETNEXT || type == sNMP_PDU_SET ||
                           type == sNMP_PDU_GETBULK || type == sNMP_PDU_INFORM;
    if ((callback && sync_type) || (!callback && is_async(type))) return SNMP_CLASS_INVALID_CALLBACK;
    if (!target.valid()) return SNMP_CLASS_INVALID_TARGET;

    OctetStr community, security_name;
    int security_model = SNMP_SECURITY_MODEL_USM;
    snmp_version version = version1;
    if (int status = resolve_credentials(target, uses_read_community(type), community, security_name,
                                         security_model, version))
      return status;
    if (target.get_type() == type_ctarget && (version == version3 || type == sNMP_PDU_REPORT))
      return SNMP_CLASS_INVALID_TARGET;
    if (version == version3 && !request) request.emplace(pdu);

    unsigned short wire = wire_type(type);
    UdpAddress destination;
    if (int status = resolve_destination(target, wire, destination)) return status;

    unsigned long request_id = pdu.get_request_id();
    if (wire != sNMP_PDU_RESPONSE && wire != sNMP_PDU_REPORT) {
      set_error_index(&pdu, 0);
      request_id = next_request_id();
      set_request_id(&pdu, request_id);
    }
    if (wire == sNMP_PDU_GETBULK) {
      if (version == version1) {
        wire = sNMP_PDU_GETNEXT;
      } else {
        set_error_status(&pdu, static_cast<int>(non_repeaters));
        set_error_index(&pdu,
                        static_cast<int>(kept_repetitions(non_repeaters, max_repetitions, pdu.get_vb_count())));
      }
    }

    pdu.set_type(wire);
    SnmpMessage message;
    int status;
    if (version == version3) {
      if (target.get_type() != type_utarget) return SNMP_CLASS_INVALID_TARGET;
      UTarget& user = static_cast<UTarget&>(target);
      std::lock_guard<std::recursive_mutex> guard(mpEngineIDTableLock());
      OctetStr engine_id = user.get_engine_id();
      if (engine_id.len() == 0 &&
          mpGetFromEngineIDTable(engine_id, OctetStr(destination.get_printable())) == SNMPv3_MP_OK) {
        user.set_engine_id(engine_id);
        if (pdu.get_context_engine_id().len() == 0) pdu.set_context_engine_id(engine_id);
      }
      status = message.load(pdu, OctetStr(), version, &engine_id, &security_name, security_model);
    } else {
      status = message.load(pdu, community, version);
    }
    // Only the message carries the smaller figure; the caller's Pdu keeps its own.
    if (wire == sNMP_PDU_GETBULK) set_error_index(&pdu, static_cast<int>(max_repetitions));
    if (status != 0) return status;

    {
      SnmpSynchronize guard(m_lock);
      if (send_snmp_request(iv_snmp_session, const_cast<unsigned char*>(message.data()),
                            static_cast<unsigned int>(message.len()), destination)) {
        // The built message cached its request; nothing will ever answer it now.
        if (version == version3) mpDeleteCacheEntry(request_id);
        return SNMP_CLASS_TL_FAILED;
      }
    }
    if (wire == sNMP_PDU_RESPONSE || wire == sNMP_PDU_REPORT) return 0;

    SnmpCallback queue_callback = callback;
    void* queue_data = const_cast<void*>(data);
    if (callback && version == version3) {
      V3Record* record = new (std::nothrow) V3Record{nullptr, non_repeaters, max_repetitions, nullptr,
                                                     callback, const_cast<void*>(data), attempt};
      if (!record) return SNMP_CLASS_RESOURCE_UNAVAIL;
      record->pdu = new (std::nothrow) Pdu(*request);
      if (record->pdu && pdu.get_context_engine_id().len() && request->get_context_engine_id().len() == 0)
        record->pdu->set_context_engine_id(pdu.get_context_engine_id());
      record->target = target.clone();
      queue_callback = v3CallBack;
      queue_data = record;
    }
    // A synchronous request is answered straight into the caller's Pdu.
    CSNMPMessageQueue& queue = snmpMessageQueue();
    if (!(callback ? queue.AddEntry(request_id, this, iv_snmp_session, target, pdu, message.data(), message.len(),
                                    destination, queue_callback, queue_data)
                   : queue.AddSyncEntry(request_id, this, iv_snmp_session, target, pdu, message.data(),
                                        message.len(), destination))) {
      if (version == version3) mpDeleteCacheEntry(request_id);
      if (queue_callback == v3CallBack) {
        V3Record* record = static_cast<V3Record*>(queue_data);
        delete record->pdu;
        delete record->target;
        delete record;
      }
      return SNMP_CLASS_RESOURCE_UNAVAIL;
    }
    if (callback) return 0;

    status = SNMPBlockForResponse(request_id, pdu);
    if (pdu.get_type() == sNMP_PDU_REPORT && status == SNMPv3_USM_DECRYPTION_ERROR) return status;
    const int next = request ? next_report_attempt(attempt, pdu, *request) : 0;
    if (next) {
      attempt = next;
      pdu = *request;
      if (pdu.get_context_engine_id().len() == 0 && target.get_type() == type_utarget)
        pdu.set_context_engine_id(static_cast<UTarget&>(target).get_engine_id());
      continue;
    }
    if (pdu.get_type() == sNMP_PDU_REPORT && (status == 0 || status == SNMPv3_MP_OK)) return report_status_of(pdu);
    return status == SNMPv3_MP_OK ? 0 : status;
  }
}

void v3CallBack(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* data) {
  V3Record* record = static_cast<V3Record*>(data);
  int result = status;
  bool resent = false;
  // Without its copy of the request the record cannot resend: such a report
  // reaches the user with -1.
  const int next = next_report_attempt(record->attempt, pdu, record->pdu ? *record->pdu : Pdu());
  if (next && session) {
    if (!record->pdu || !record->target) {
      result = -1;
    } else {
      Pdu again(*record->pdu);
      result = session->resend_v3(again, record->non_repeaters, record->max_repetitions, *record->target,
                                  record->callback, record->data, next);
      resent = result == 0;
    }
  }
  // A report that ends the request is its failure, not an answer.
  if (!resent && result == SNMP_CLASS_ASYNC_RESPONSE && pdu.get_type() == sNMP_PDU_REPORT)
    result = report_status_of(pdu);
  if (!resent && record->callback) record->callback(result, session, pdu, target, record->data);
  delete record->pdu;
  delete record->target;
  delete record;
}

int Snmp::resend_v3(Pdu& pdu, long non_repeaters, long max_repetitions, SnmpTarget& target, SnmpCallback callback,
                    void* data, int attempt) {
  return engine(pdu, non_repeaters, max_repetitions, target, callback, data, attempt);
}

int Snmp::trap(Pdu& pdu, SnmpTarget& target) {
  if (closing || iv_snmp_session < 0) return SNMP_CLASS_SESSION_DESTROYED;
  if (!pdu.valid()) return SNMP_CLASS_INVALID_PDU;
  if (!target.valid()) return SNMP_CLASS_INVALID_TARGET;
  OctetStr community, security_name;
  int security_model = SNMP_SECURITY_MODEL_USM;
  snmp_version version = version1;
  if (int status = resolve_credentials(target, true, community, security_name, security_model, version))
    return status;
  if (target.get_type() == type_ctarget && version == version3) return SNMP_CLASS_INVALID_TARGET;
  set_request_id(&pdu, next_request_id());
  check_notify_timestamp(pdu);
  UdpAddress destination;
  if (int status = resolve_destination(target, sNMP_PDU_INFORM, destination)) return status;  // port 162
  pdu.set_type(version == version1 ? sNMP_PDU_V1TRAP : sNMP_PDU_TRAP);
  SnmpMessage message;
  int status;
  if (version == version3) {
    OctetStr local_engine;
    mpGetLocalEngineID(local_engine);
    status = message.load(pdu, OctetStr(), version, &local_engine, &security_name, security_model);
  } else {
    status = message.load(pdu, community, version);
  }
  if (status != 0) return status;
  SnmpSynchronize guard(m_lock);
  if (send_snmp_request(iv_snmp_session, const_cast<unsigned char*>(message.data()),
                        static_cast<unsigned int>(message.len()), destination))
    return SNMP_CLASS_TL_FAILED;
  return 0;
}

uint32_t snmp_notify_timestamp_now() {
  // In 64 bits: the hundredths since 2001 left 32 bits long ago; the field
  // keeps them modulo 2^32 like any TimeTicks.
  const int64_t now = snmp_now_ms();
  const int64_t hundredths = (now / 1000 - 989518848) * 100 + (now % 1000) / 10;
  return static_cast<uint32_t>(static_cast<uint64_t>(hundredths));
}

void Snmp::check_notify_timestamp(Pdu& pdu) {
  TimeTicks ts;
  pdu.get_notify_timestamp(ts);
  if ((unsigned long)ts == 0) pdu.set_notify_timestamp(TimeTicks(static_cast<unsigned long>(snmp_notify_timestamp_now())));
}

// ---- notifications ------------------------------------------------------------------

int Snmp::notify_register(const SnmpCollection<Oid>& trap_ids, const SnmpCollection<SnmpTarget>& targets,
                          const SnmpCollection<GenAddress>& addresses, SnmpCallback callback, const void* data) {
  notify_callback = callback;
  notify_callback_data = const_cast<void*>(data);
  CNotifyEventQueue& queue = snmpNotifyQueue();
  SnmpSynchronize guard(queue.lock());
  queue.DeleteEntry(this);
  return queue.AddEntry(this, trap_ids, targets, addresses);
}

int Snmp::notify_register(const SnmpCollection<Oid>& trap_ids, const SnmpCollection<SnmpTarget>& targets,
                          SnmpCallback callback, const void* data) {
  SnmpCollection<GenAddress> none;
  return notify_register(trap_ids, targets, none, callback, data);
}

int Snmp::notify_unregister() {
  notify_callback = nullptr;
  notify_callback_data = nullptr;
  snmpNotifyQueue().DeleteEntry(this);
  return 0;
}

int Snmp::get_notify_filter(SnmpCollection<Oid>& trap_ids, SnmpCollection<SnmpTarget>& targets) {
  trap_ids.clear();
  targets.clear();
  CNotifyEventQueue& queue = snmpNotifyQueue();
  SnmpSynchronize guard(queue.lock());
  if (CNotifyEvent* entry = queue.GetEntry(this)) {
    trap_ids = entry->trap_ids();
    targets = entry->targets();
  }
  return 0;
}

// ---- transport -----------------------------------------------------------------------

int send_snmp_request(int socket, unsigned char* bytes, unsigned int length, const Address& to) {
  if (to.get_type() != type_udp) return -1;
  const unsigned char* b = to.get_smival().value.string.ptr;
  sockaddr_in peer;
  std::memset(&peer, 0, sizeof peer);
  peer.sin_family = AF_INET;
  std::memcpy(&peer.sin_addr, b, 4);
  std::memcpy(&peer.sin_port, b + 4, 2);  // already in network order
  const int sent = sendto(static_cast<SOCKET>(socket), reinterpret_cast<const char*>(bytes), static_cast<int>(length),
                          0, reinterpret_cast<const sockaddr*>(&peer), sizeof peer);
  return sent == static_cast<int>(length) ? 0 : -1;
}

int receive_snmp_response(int socket, Pdu& pdu) {
  SnmpMessage message;
  sockaddr_in from;
  if (int status = receive_message(socket, message, from)) return status;
  const bool v3 = message.is_v3_message();
  int status = 0;
  if (v3) {
    // Only SNMPv3 needs the sender as an address (reports, the engine table).
    const UdpAddress sender = udp_from(from);
    snmp_version version;
    OctetStr engine_id, security_name;
    int32_t security_model = 0;
    status = message.unloadv3(pdu, version, engine_id, security_name, security_model, sender);
    if (status == 0) remember_engine(engine_id, sender);
  } else {
    OctetStr community;
    snmp_version version;
    if (message.unload(pdu, community, version) != 0) status = SNMP_CLASS_ERROR;
  }
  // Only a Response, or in SNMPv3 a Report, answers a request: a request or
  // notification that carries a pending id must not end it.
  const unsigned short type = pdu.get_type();
  if (type != sNMP_PDU_RESPONSE && !(v3 && type == sNMP_PDU_REPORT)) {
    set_request_id(&pdu, 0);
    return status ? status : SNMP_CLASS_ERROR;
  }
  return status ? status : pdu.get_error_status();
}

int receive_snmp_notification(int socket, Pdu& pdu, SnmpTarget*& target) {
  target = nullptr;
  SnmpMessage message;
  sockaddr_in from;
  if (int status = receive_message(socket, message, from)) return status;
  const UdpAddress sender = udp_from(from);
  snmp_version version;
  if (message.is_v3_message()) {
    OctetStr engine_id, security_name;
    int32_t security_model = 0;
    const int status = message.unloadv3(pdu, version, engine_id, security_name, security_model, sender);
    if (status != 0) return status;
    UTarget* user = new (std::nothrow) UTarget(sender, security_name, security_model);
    if (!user) return SNMP_CLASS_RESOURCE_UNAVAIL;
    user->set_version(version);
    user->set_engine_id(engine_id);
    remember_engine(engine_id, sender);
    target = user;
  } else {
    OctetStr community;
    if (message.unload(pdu, community, version) != 0) return SNMP_CLASS_ERROR;
    CTarget* plain = new (std::nothrow) CTarget(sender, community, community);
    if (!plain) return SNMP_CLASS_RESOURCE_UNAVAIL;
    plain->set_version(version);
    target = plain;
  }
  // The decoder takes the notification fields from an SNMPv2 trap only; an
  // inform carries them the same way, and without them no trap-id filter
  // could ever accept one.
  if (pdu.get_type() == sNMP_PDU_INFORM && pdu.get_vb_count() > 1) {
    const Vb& uptime = pdu[0];
    const Vb& trap_oid = pdu[1];
    if (uptime.get_syntax() == sNMP_SYNTAX_TIMETICKS && uptime.get_oid() == "1.3.6.1.2.1.1.3.0") {
      TimeTicks ts;
      uptime.get_value(ts);
      pdu.set_notify_timestamp(ts);
    }
    if (trap_oid.get_syntax() == sNMP_SYNTAX_OID && trap_oid.get_oid() == "1.3.6.1.6.3.1.1.4.1.0") {
      Oid id;
      trap_oid.get_value(id);
      pdu.set_notify_id(id);
    }
  }
  return 0;
}

// ---- texts -------------------------------------------------------------------------

namespace {

const char* const kPduErrorStatus[] = {
    "Success",
    "SNMP: Response PDU Too Big!",
    "SNMP: Variable does not exist!",
    "SNMP: Cannot modify variable: Bad Value!",
    "SNMP: Cannot modify object, Read Only!",
    "SNMP: Cannot perform operation, General Error!",
    "SNMP: Cannot access variable, No Access!",
    "SNMP: Cannot create/modify variable, Wrong Type!",
    "SNMP: Cannot create/set variable, Wrong Length!",
    "SNMP: Cannot create/set variable, Wrong Encoding!",
    "SNMP: Cannot create/set variable, Wrong Value!",
    "SNMP: Cannot create variable, Creation Not Allowed!",
    "SNMP: Cannot create/set variable, Inconsistent Value!",
    "SNMP: Cannot create/set variable, Resource Unavailable!",
    "SNMP: Cannot create/set variable, Commit Failed!",
    "SNMP: Cannot create/set variable, Undo Failed!",
    "SNMP: Cannot perform operation, Authorization Error!",
    "SNMP: Cannot create/set variable, Not Writable!",
    "SNMP: Cannot create variable, Inconsistent Name!",
};

const char* const kClassError[] = {
    "Success",  // 0 is never looked up here
    "SNMP: Operation failed!",
    "SNMP: Resource unavailable!",
    "SNMP: Internal error!",
    "SNMP: Unsupported function!",
    "SNMP: SNMP request timed out!",
    "SNMP: Received SNMP Response!",
    "SNMP: Received SNMP Notification (trap or inform)!",
    "SNMP: Closing session with outstanding requests!",
    "Unknown error code!",
    "SNMP: Class not valid!",
    "SNMP: Invalid Pdu!",
    "SNMP: Invalid Target!",
    "SNMP: Invalid (null) Callback Function!",
    "SNMP: Invalid Request Id!",
    "SNMP: Invalid Notification Id!",
    "SNMP: SNMP Operation not supported on specified Target!",
    "SNMP: Invalid Object Identifier!",
    "SNMP: Invalid Address!",
    "SNMP: Agent indicates error in SNMP request!",
    "SNMP: Transport is not supported!",
    "SNMP: Transport is in use!",
    "SNMP: Transport operation failed!",
    "SNMP: Blocked Mode Shutdown!",
};

const char* const kV3MpStatus[] = {
    "SNMPv3: v3MP error!",
    "SNMPv3: v3MP ok!",
    "SNMPv3: Unsupported Security Model!",
    "SNMPv3: Message not in Time Window!",
    "SNMPv3: received same Message twice!",
    "SNMPv3: Invalid Message!",
    "SNMPv3: Invalid EngineID!",
    "SNMPv3: v3MP not initialized!",
    "SNMPv3: Parse Error!",
    "SNMPv3: Received Message with unknown MsgID!",
    "SNMPv3: Message does not match known message!",
    "SNMPv3: Community format error!",
    "SNMPv3: Unknown UserName!",
    "SNMPv3: Build error!",
    "SNMPv3: USM: error!",
    "SNMPv3: Unknown pdu handlers!",
    "SNMPv3: Unavailable Context!",
    "SNMPv3: Unknown Context!",
    "SNMPv3: Report sent!",
};

const char* const kUsmStatus[] = {
    "SNMPv3: USM: ok!",
    "SNMPv3: USM: error!",
    "SNMPv3: USM: Configfile write error!",
    "SNMPv3: USM: Unsupported SecurityLevel!",
    "SNMPv3: USM: Unknown SecurityName!",
    "SNMPv3: USM: Encryption error!",
    "SNMPv3: USM: Decryption error!",
    "SNMPv3: USM: Authentication error!",
    "SNMPv3: USM: Authentication failure!",
    "SNMPv3: USM: Parse error!",
    "SNMPv3: USM: Unknown EngineID!",
    "SNMPv3: USM: Message not in TimeWindow!",
    "SNMPv3: USM: Unsupported AuthProtocol!",
    "SNMPv3: USM: Unsupported PrivProtocol!",
    "SNMPv3: USM: Address error!",
};

}  // namespace

const char* Snmp::error_msg(int status) {
  if (status >= 0 && status <= 18) return kPduErrorStatus[status];
  if (status > 18 && status < 1400) return "SNMP: Unknown Error Status!";
  if (status >= 1400) return status <= 1414 ? kUsmStatus[status - 1400] : "SNMPv3: USM: unknown errorcode!";
  if (status >= -23) return kClassError[-status];
  if (status > -1400) return "Unknown error code!";
  // Codes below the SNMPv3 table take its last entry.
  return kV3MpStatus[status >= -1418 ? -1400 - status : 18];
}

int Snmp::report_status(const Oid& report_id) {
  static const struct {
    const char* oid;
    int status;
  } reports[] = {
      {"1.3.6.1.6.3.15.1.1.1.0", SNMPv3_USM_UNSUPPORTED_SECURITY_LEVEL},
      {"1.3.6.1.6.3.15.1.1.2.0", SNMPv3_USM_NOT_IN_TIME_WINDOW},
      {"1.3.6.1.6.3.15.1.1.3.0", SNMPv3_USM_UNKNOWN_SECURITY_NAME},
      {"1.3.6.1.6.3.15.1.1.4.0", SNMPv3_USM_UNKNOWN_ENGINEID},
      {"1.3.6.1.6.3.15.1.1.5.0", SNMPv3_USM_AUTHENTICATION_FAILURE},
      {"1.3.6.1.6.3.15.1.1.6.0", SNMPv3_USM_DECRYPTION_ERROR},
      {"1.3.6.1.6.3.11.2.1.1.0", SNMPv3_MP_UNSUPPORTED_SECURITY_MODEL},
      {"1.3.6.1.6.3.11.2.1.2.0", SNMPv3_MP_INVALID_MESSAGE},
      {"1.3.6.1.6.3.11.2.1.3.0", SNMPv3_MP_UNKNOWN_PDU_HANDLERS},
      {"1.3.6.1.6.3.12.1.4.0", SNMPv3_MP_UNAVAILABLE_CONTEXT},
      {"1.3.6.1.6.3.12.1.5.0", SNMPv3_MP_UNKNOWN_CONTEXT},
  };
  for (const auto& r : reports)
    if (report_id == r.oid) return r.status;
  return 19;  // no known counter: "SNMP: Unknown Error Status!"
}

const char* Snmp::error_msg(const Oid& report_id) { return error_msg(report_status(report_id)); }
