// Received SNMP messages: the BER primitives, the version 1 and 2c message
// parser and the decoding into a Pdu must survive any bytes. Whatever decodes
// and can be sent again must decode again.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "SnmpMessage.h"
#include "TimeTicks.h"
#include "asn1.h"
#include "snmp_pdu.h"
#include "Winsock.h"

namespace {

// Walks the input as a sequence of elements with every primitive decoder.
void walk_primitives(const uint8_t* data, size_t size) {
  ByteCursor in(data, size);
  while (!in.empty()) {
    ByteCursor probe = in, content;
    unsigned char tag;
    int32_t i;
    uint32_t u;
    counter64 c;
    uint32_t ids[MAX_OID_LEN];
    int count = MAX_OID_LEN;
    const unsigned char* bytes;
    size_t len;
    asn_get_int(probe, tag, i);
    asn_get_unsigned_int(probe, tag, u);
    asn_get_unsigned_int64(probe, tag, c);
    asn_get_objid(probe, tag, ids, count);
    asn_get_bitstring(probe, tag, bytes, len);
    asn_get_null(probe, tag);
    if (!asn_get_header(in, tag, content)) break;
    if (tag & 0x20) walk_primitives(content.position(), content.remaining());  // constructed: go inside
  }
  // The classic interface over the same bytes.
  int left = static_cast<int>(size > 4096 ? 4096 : size);
  unsigned char tag;
  unsigned char buf[64];
  int buf_len = sizeof buf;
  asn_parse_string(data, &left, &tag, buf, &buf_len);
}

// The same answer, binding by binding, as a reader of the Pdu sees it.
bool same_pdu(const Pdu& a, const Pdu& b) {
  if (a.get_vb_count() != b.get_vb_count() || a.get_type() != b.get_type() ||
      a.get_request_id() != b.get_request_id() || a.get_error_status() != b.get_error_status() ||
      a.get_error_index() != b.get_error_index() || a.valid() != b.valid())
    return false;
  Oid ida, idb;
  a.get_notify_id(ida);
  b.get_notify_id(idb);
  TimeTicks ta, tb;
  a.get_notify_timestamp(ta);
  b.get_notify_timestamp(tb);
  if (!(ida == idb) || static_cast<unsigned long>(ta) != static_cast<unsigned long>(tb)) return false;
  for (int i = 0; i < a.get_vb_count(); ++i) {
    const Vb& x = a[i];
    const Vb& y = b[i];
    if (!(x.get_oid() == y.get_oid()) || x.get_syntax() != y.get_syntax() || x.valid() != y.valid() ||
        std::strcmp(x.get_printable_value(), y.get_printable_value()) != 0)
      return false;
  }
  return true;
}

}  // namespace

// Re-encoding a version-1 trap looks up this host's address: answer it from
// the host table so that no resolver is asked.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  WSADATA wsa;
  WSAStartup(0x0101, &wsa);
  char name[256] = {};
  gethostname(name, static_cast<int>(sizeof name) - 1);
  PlatformHostTableAdd(name, "127.0.0.1");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  walk_primitives(data, size);

  SnmpMessage msg;
  if (msg.load(data, size) != 0) return 0;
  Pdu pdu;
  OctetStr community;
  snmp_version version;
  if (msg.unload(pdu, community, version) != 0) return 0;

  SnmpMessage again;
  if (again.load(pdu, community, version) != 0) return 0;
  Pdu pdu2;
  OctetStr community2;
  snmp_version version2;
  if (again.unload(pdu2, community2, version2) != 0 || version2 != version || !(community2 == community))
    __builtin_trap();
  // Decoding into a Pdu that holds an earlier answer reuses its bindings:
  // the result must be what a fresh Pdu gets.
  if (again.unload(pdu, community, version) != 0 || !same_pdu(pdu, pdu2)) __builtin_trap();
  return 0;
}
