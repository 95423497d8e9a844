// net-snmp's own library (libnetsnmp) as the yardstick of the session and
// codec benchmarks: the same walk loop and the same gets as ours, and the
// decoding of the same received bytes, in-process. Kept
// in a unit of its own because net-snmp's headers name types and functions
// (snmp_pdu, variable_list, snmp_parse, ...) that our library names as well.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

struct WalkCount {
  int status = 0;          // 0, or the failing request's net-snmp status
  size_t bindings = 0;     // bindings printed
  size_t requests = 0;     // get-bulk requests sent
  size_t printed = 0;      // characters of the printed lines
};

class NetSnmpClient {
 public:
  // A v2c session with community "public" at `peer` ("127.0.0.1:port").
  static std::unique_ptr<NetSnmpClient> Community(const std::string& peer);
  // An SNMPv3 authPriv session as `user` with MD5 and DES.
  static std::unique_ptr<NetSnmpClient> AuthPriv(const std::string& peer, const std::string& user,
                                                 const std::string& auth_pass, const std::string& priv_pass);
  ~NetSnmpClient();

  // Walks from .1 to the end of the view with get-bulk, printing every
  // binding as "oid = value" into a line buffer, as our walk does.
  WalkCount Walk(int max_repetitions);
  // One get of `oid` (dotted); 0 when it was answered without error.
  int Get(const char* oid);

 private:
  NetSnmpClient() = default;
  void* session_ = nullptr;
};

// net-snmp's decoding of a received version 1 or 2c message, as its session
// does on each datagram: a new record, the library's parse of the whole
// message (version, community, PDU and bindings) and the record freed.
class NetSnmpDecoder {
 public:
  // nullptr when net-snmp's session (which the parse is given) did not open.
  static std::unique_ptr<NetSnmpDecoder> Open();
  ~NetSnmpDecoder();

  // The number of bindings decoded from `data`, or -1 when the parse failed.
  int Decode(const unsigned char* data, size_t length);

 private:
  NetSnmpDecoder() = default;
  void* session_ = nullptr;
};
