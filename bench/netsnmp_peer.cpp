#include "netsnmp_peer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>

namespace {

// Once per process: numeric OIDs and no MIB files, so that net-snmp prints
// what our library prints (no names, no enumerations from MIBs), and no
// configuration or persistent files of the machine or the user.
void init_library() {
  static const bool done = [] {
    setenv("MIBS", "", 1);
    setenv("MIBDIRS", "", 1);
    setenv("SNMPCONFPATH", "/nonexistent", 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DONT_PERSIST_STATE, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_LOAD, 1);
    netsnmp_ds_set_boolean(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_DISABLE_PERSISTENT_SAVE, 1);
    netsnmp_ds_set_int(NETSNMP_DS_LIBRARY_ID, NETSNMP_DS_LIB_OID_OUTPUT_FORMAT, NETSNMP_OID_OUTPUT_NUMERIC);
    init_snmp("trellian-bench");
    return true;
  }();
  (void)done;
}

// Dotted decimal, as our Oid prints, and the same way: digits by hand, not a
// formatted print per sub-identifier, which would cost several times the
// decoding and make net-snmp's side of a walk look slower than its library is.
int print_oid(char* out, size_t room, const oid* name, size_t length) {
  size_t used = 0;
  out[0] = 0;
  for (size_t i = 0; i < length; ++i) {
    char digits[24];
    size_t n = 0;
    unsigned long v = name[i];
    do {
      digits[n++] = static_cast<char>('0' + v % 10);
      v /= 10;
    } while (v);
    if (used + n + (i ? 1 : 0) + 1 > room) break;
    if (i) out[used++] = '.';
    while (n) out[used++] = digits[--n];
  }
  out[used] = 0;
  return static_cast<int>(used);
}

// A value in the text our library's value classes print: numbers in decimal,
// time ticks as [days, ]h:mm:ss.hh, strings as their bytes, OIDs and
// addresses dotted, and nothing for NULL and the exceptions. net-snmp's own
// snprint_value adds type names, quotes and hex dumps, which ours does not
// do; the benchmark compares the libraries, so both print the same way.
void print_value(char* out, size_t room, const netsnmp_variable_list* var) {
  out[0] = 0;
  switch (var->type) {
    case ASN_INTEGER: std::snprintf(out, room, "%ld", *var->val.integer); break;
    case ASN_COUNTER:
    case ASN_GAUGE: std::snprintf(out, room, "%lu", static_cast<unsigned long>(*var->val.integer)); break;
    case ASN_TIMETICKS: {
      const unsigned long v = static_cast<unsigned long>(*var->val.integer) & 0xFFFFFFFFul;
      const unsigned long days = v / 8640000, r = v % 8640000;
      const unsigned long h = r / 360000, m = (r % 360000) / 6000, sec = (r % 6000) / 100, hs = r % 100;
      if (days == 0)
        std::snprintf(out, room, "%lu:%02lu:%02lu.%02lu", h, m, sec, hs);
      else if (days == 1)
        std::snprintf(out, room, "1 day %lu:%02lu:%02lu.%02lu", h, m, sec, hs);
      else
        std::snprintf(out, room, "%lu days, %lu:%02lu:%02lu.%02lu", days, h, m, sec, hs);
      break;
    }
    case ASN_COUNTER64:
      std::snprintf(out, room, "%llu",
                    (static_cast<unsigned long long>(var->val.counter64->high) << 32) | var->val.counter64->low);
      break;
    case ASN_OCTET_STR:
    case ASN_OPAQUE: {
      const size_t n = var->val_len < room - 1 ? var->val_len : room - 1;
      std::memcpy(out, var->val.string, n);
      out[n] = 0;
      break;
    }
    case ASN_IPADDRESS:
      if (var->val_len == 4)
        std::snprintf(out, room, "%u.%u.%u.%u", var->val.string[0], var->val.string[1], var->val.string[2],
                      var->val.string[3]);
      break;
    case ASN_OBJECT_ID: print_oid(out, room, var->val.objid, var->val_len / sizeof(oid)); break;
    default: break;
  }
}

void* open_session(netsnmp_session& s) {
  s.timeout = 2000000;  // microseconds
  s.retries = 1;
  return snmp_sess_open(&s);
}

}  // namespace

std::unique_ptr<NetSnmpClient> NetSnmpClient::Community(const std::string& peer) {
  init_library();
  netsnmp_session s;
  snmp_sess_init(&s);
  const std::string name = "udp:" + peer;
  s.peername = const_cast<char*>(name.c_str());
  s.version = SNMP_VERSION_2c;
  static const char community[] = "public";
  s.community = reinterpret_cast<u_char*>(const_cast<char*>(community));
  s.community_len = std::strlen(community);
  std::unique_ptr<NetSnmpClient> client(new NetSnmpClient);
  client->session_ = open_session(s);
  if (!client->session_) return nullptr;
  return client;
}

std::unique_ptr<NetSnmpClient> NetSnmpClient::AuthPriv(const std::string& peer, const std::string& user,
                                                       const std::string& auth_pass, const std::string& priv_pass) {
  init_library();
  netsnmp_session s;
  snmp_sess_init(&s);
  const std::string name = "udp:" + peer;
  s.peername = const_cast<char*>(name.c_str());
  s.version = SNMP_VERSION_3;
  s.securityName = const_cast<char*>(user.c_str());
  s.securityNameLen = user.size();
  s.securityLevel = SNMP_SEC_LEVEL_AUTHPRIV;
  s.securityAuthProto = usmHMACMD5AuthProtocol;
  s.securityAuthProtoLen = USM_AUTH_PROTO_MD5_LEN;
  s.securityPrivProto = usmDESPrivProtocol;
  s.securityPrivProtoLen = USM_PRIV_PROTO_DES_LEN;
  // Both keys come from their pass phrases through the authentication hash.
  auto key = [&s](const std::string& pass, u_char* out, size_t* length, size_t room) {
    *length = room;
    return generate_Ku(s.securityAuthProto, static_cast<u_int>(s.securityAuthProtoLen),
                       reinterpret_cast<const u_char*>(pass.data()), pass.size(), out, length) == SNMPERR_SUCCESS;
  };
  if (!key(auth_pass, s.securityAuthKey, &s.securityAuthKeyLen, USM_AUTH_KU_LEN) ||
      !key(priv_pass, s.securityPrivKey, &s.securityPrivKeyLen, USM_PRIV_KU_LEN))
    return nullptr;
  std::unique_ptr<NetSnmpClient> client(new NetSnmpClient);
  client->session_ = open_session(s);
  if (!client->session_) return nullptr;
  return client;
}

NetSnmpClient::~NetSnmpClient() {
  if (session_) snmp_sess_close(session_);
}

WalkCount NetSnmpClient::Walk(int max_repetitions) {
  WalkCount count;
  oid next[MAX_OID_LEN] = {1};
  size_t next_length = 1;
  char oid_text[1024], value_text[4096], line[5200];
  for (;;) {
    netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GETBULK);
    request->non_repeaters = 0;
    request->max_repetitions = max_repetitions;
    snmp_add_null_var(request, next, next_length);
    netsnmp_pdu* answer = nullptr;
    const int status = snmp_sess_synch_response(session_, request, &answer);
    ++count.requests;
    if (status != STAT_SUCCESS || !answer || answer->errstat != SNMP_ERR_NOERROR) {
      count.status = status != STAT_SUCCESS ? status : -1;
      if (answer) snmp_free_pdu(answer);
      return count;
    }
    bool more = answer->variables != nullptr;
    for (netsnmp_variable_list* var = answer->variables; var; var = var->next_variable) {
      if (var->type == SNMP_ENDOFMIBVIEW) {
        more = false;
        break;
      }
      if (snmp_oid_compare(next, next_length, var->name, var->name_length) >= 0) {
        count.status = -1;
        more = false;
        break;
      }
      print_oid(oid_text, sizeof oid_text, var->name, var->name_length);
      print_value(value_text, sizeof value_text, var);
      count.printed += static_cast<size_t>(std::snprintf(line, sizeof line, "%s = %s\n", oid_text, value_text));
      ++count.bindings;
      std::memcpy(next, var->name, var->name_length * sizeof(oid));
      next_length = var->name_length;
    }
    snmp_free_pdu(answer);
    if (!more) return count;
  }
}

int NetSnmpClient::Get(const char* dotted) {
  oid name[MAX_OID_LEN];
  size_t name_length = MAX_OID_LEN;
  // A leading dot makes the text absolute whatever MIBs are loaded.
  const std::string absolute = dotted[0] == '.' ? dotted : std::string(".") + dotted;
  if (!read_objid(absolute.c_str(), name, &name_length)) return -1;
  netsnmp_pdu* request = snmp_pdu_create(SNMP_MSG_GET);
  snmp_add_null_var(request, name, name_length);
  netsnmp_pdu* answer = nullptr;
  const int status = snmp_sess_synch_response(session_, request, &answer);
  const int result = status == STAT_SUCCESS && answer && answer->errstat == SNMP_ERR_NOERROR ? 0 : -1;
  if (answer) snmp_free_pdu(answer);
  return result;
}

std::unique_ptr<NetSnmpDecoder> NetSnmpDecoder::Open() {
  init_library();
  netsnmp_session s;
  snmp_sess_init(&s);
  // Nothing is sent: the session is only what the parse checks the message
  // against (a version 2c client).
  static const char peer[] = "udp:127.0.0.1:9";
  s.peername = const_cast<char*>(peer);
  s.version = SNMP_VERSION_2c;
  static const char community[] = "public";
  s.community = reinterpret_cast<u_char*>(const_cast<char*>(community));
  s.community_len = std::strlen(community);
  std::unique_ptr<NetSnmpDecoder> decoder(new NetSnmpDecoder);
  decoder->session_ = snmp_sess_open(&s);
  if (!decoder->session_) return nullptr;
  return decoder;
}

NetSnmpDecoder::~NetSnmpDecoder() {
  if (session_) snmp_sess_close(session_);
}

int NetSnmpDecoder::Decode(const unsigned char* data, size_t length) {
  auto* list = static_cast<struct session_list*>(session_);
  netsnmp_pdu* pdu = static_cast<netsnmp_pdu*>(std::calloc(1, sizeof(netsnmp_pdu)));
  if (!pdu) return -1;
  int bindings = -1;
  if (snmp_parse(list, snmp_sess_session(session_), pdu, const_cast<u_char*>(data), length) == SNMP_ERR_NOERROR) {
    bindings = 0;
    for (const netsnmp_variable_list* var = pdu->variables; var; var = var->next_variable) ++bindings;
  }
  snmp_free_pdu(pdu);
  return bindings;
}
