#include "snmp_pdu.h"

#include <cstddef>
#include <cstring>
#include <new>

namespace {

bool is_pdu_tag(unsigned char tag) { return tag >= sNMP_PDU_GET && tag <= sNMP_PDU_REPORT; }

bool is_unsigned32_syntax(unsigned char type) {
  return type == sNMP_SYNTAX_CNTR32 || type == sNMP_SYNTAX_GAUGE32 || type == sNMP_SYNTAX_TIMETICKS ||
         type == sNMP_SYNTAX_UINTEGER32;
}

bool is_string_syntax(unsigned char type) {
  return type == sNMP_SYNTAX_OCTETS || type == sNMP_SYNTAX_IPADDR || type == sNMP_SYNTAX_OPAQUE ||
         type == sNMP_SYNTAX_NSAPADDR;
}

bool is_empty_syntax(unsigned char type) {
  return type == sNMP_SYNTAX_NULL || type == sNMP_SYNTAX_NOSUCHOBJECT || type == sNMP_SYNTAX_NOSUCHINSTANCE ||
         type == sNMP_SYNTAX_ENDOFMIBVIEW;
}

// A node and copies of its name and value bytes, in one block: the name and
// value arrays lie right after the node itself.
struct NodeBlock {
  variable_list node;
  SmiUINT32 first_id;  // aligns what follows for the sub-identifiers
};

void free_node(variable_list* var) { ::operator delete(static_cast<void*>(var)); }

// A node owning copies of the name and the value bytes (one allocation).
variable_list* new_node(const SmiUINT32* name, int name_length, unsigned char type, const void* val, int val_len) {
  const size_t name_bytes = name_length > 0 ? sizeof(SmiUINT32) * static_cast<size_t>(name_length) : 0;
  const size_t val_bytes = val_len > 0 ? static_cast<size_t>(val_len) : 0;
  // Room for the value after the name, aligned for the widest value (Counter64).
  const size_t val_offset = (offsetof(NodeBlock, first_id) + name_bytes + 7) & ~size_t{7};
  void* block = ::operator new(val_offset + val_bytes, std::nothrow);
  if (!block) return nullptr;
  unsigned char* bytes = static_cast<unsigned char*>(block);
  variable_list* var = new (block) variable_list();
  var->type = type;
  var->name_length = name_length;
  if (name_bytes) {
    var->name = reinterpret_cast<SmiUINT32*>(bytes + offsetof(NodeBlock, first_id));
    std::memcpy(var->name, name, name_bytes);
  }
  if (val_bytes) {
    var->val = bytes + val_offset;
    std::memcpy(var->val, val, val_bytes);
    var->val_len = val_len;
  }
  return var;
}

void append_node(snmp_pdu* pdu, variable_list* var) {
  variable_list** link = &pdu->variables;
  while (*link) link = &(*link)->next_variable;
  *link = var;
}

template <class T>
bool read_value(const variable_list* var, T& out) {
  if (!var->val || var->val_len != static_cast<int>(sizeof(T))) return false;
  std::memcpy(&out, var->val, sizeof(T));
  return true;
}

unsigned char* build_value(unsigned char* p, int* room, const variable_list* var) {
  unsigned char type = var->type;
  if (type == sNMP_SYNTAX_INT) {
    int32_t v;
    return read_value(var, v) ? asn_build_int(p, room, type, &v, sizeof v) : nullptr;
  }
  if (is_unsigned32_syntax(type)) {
    uint32_t v;
    return read_value(var, v) ? asn_build_unsigned_int(p, room, type, &v, sizeof v) : nullptr;
  }
  if (type == sNMP_SYNTAX_CNTR64) {
    counter64 v;
    return read_value(var, v) ? asn_build_unsigned_int64(p, room, type, &v, sizeof v) : nullptr;
  }
  if (type == sNMP_SYNTAX_IPADDR && var->val_len != 4) return nullptr;
  if (is_string_syntax(type)) return asn_build_string(p, room, type, var->val, var->val_len);
  if (type == sNMP_SYNTAX_OID) {
    if (var->val_len % 4) return nullptr;
    int count = var->val_len / 4;
    SmiUINT32 ids[MAX_OID_LEN];
    if (count > MAX_OID_LEN) return nullptr;
    if (count) std::memcpy(ids, var->val, static_cast<size_t>(var->val_len));
    return asn_build_objid(p, room, type, ids, count);
  }
  if (is_empty_syntax(type)) return asn_build_null(p, room, type);
  return nullptr;
}

// Fills in a header reserved with asn_build_sequence once its content is written.
bool close_sequence(unsigned char* header, unsigned char type, const unsigned char* end) {
  int room = 4;
  return asn_build_sequence(header, &room, type, static_cast<int>(end - header - 4)) != nullptr;
}

// Reads one binding into a new node, or hands it to the record's sink (`out`
// is then null).
int parse_var_op(ByteCursor& in, const snmp_pdu* pdu, variable_list*& out) {
  ByteCursor c = in, vb;
  unsigned char tag;
  if (!asn_get_header(c, tag, vb) || tag != sNMP_SYNTAX_SEQUENCE) return SNMP_CODER_MALFORMED;
  SmiUINT32 name[MAX_OID_LEN];
  int name_length = MAX_OID_LEN;
  if (!asn_get_objid(vb, tag, name, name_length) || tag != sNMP_SYNTAX_OID) return SNMP_CODER_MALFORMED;

  unsigned char type;
  if (!vb.peek_u8(type)) return SNMP_CODER_MALFORMED;
  const void* val = nullptr;
  int val_len = 0;
  int32_t i32;
  uint32_t u32;
  counter64 c64;
  SmiUINT32 ids[MAX_OID_LEN];
  const unsigned char* bytes;
  size_t length;
  bool ok;
  if (type == sNMP_SYNTAX_INT) {
    ok = asn_get_int(vb, type, i32);
    val = &i32, val_len = 4;
  } else if (is_unsigned32_syntax(type)) {
    ok = asn_get_unsigned_int(vb, type, u32);
    val = &u32, val_len = 4;
  } else if (type == sNMP_SYNTAX_CNTR64) {
    ok = asn_get_unsigned_int64(vb, type, c64);
    val = &c64, val_len = 8;
  } else if (is_string_syntax(type)) {
    // An IpAddress is exactly four bytes; everything that reads one relies on it.
    ok = asn_get_string(vb, type, bytes, length) && (type != sNMP_SYNTAX_IPADDR || length == 4);
    val = bytes, val_len = static_cast<int>(length);
  } else if (type == sNMP_SYNTAX_OID) {
    int count = MAX_OID_LEN;
    ok = asn_get_objid(vb, type, ids, count);
    val = ids, val_len = 4 * count;
  } else if (is_empty_syntax(type)) {
    ok = asn_get_null(vb, type);
  } else {
    ok = false;
  }
  if (!ok || !vb.empty()) return SNMP_CODER_MALFORMED;

  if (pdu->binding_sink) {
    if (int status = pdu->binding_sink(pdu->binding_context, name, name_length, type, val, val_len)) return status;
    out = nullptr;
  } else {
    variable_list* var = new_node(name, name_length, type, val, val_len);
    if (!var) return SNMP_CLASS_RESOURCE_UNAVAIL;
    out = var;
  }
  in = c;
  return 0;
}

// A node for snmp_add_var, not yet linked.
variable_list* make_var(const snmp_pdu* pdu, const SmiUINT32* name, int name_length, const SmiVALUE* value) {
  if (!pdu || !value || name_length < 0 || name_length > MAX_OID_LEN || (name_length && !name)) return nullptr;
  const unsigned char type = static_cast<unsigned char>(value->syntax);
  if (type != value->syntax) return nullptr;
  const void* val = nullptr;
  int val_len = 0;
  if (type == sNMP_SYNTAX_INT || is_unsigned32_syntax(type)) {
    val = &value->value.uNumber, val_len = 4;
  } else if (type == sNMP_SYNTAX_CNTR64) {
    val = &value->value.hNumber, val_len = 8;
  } else if (is_string_syntax(type)) {
    if (value->value.string.len > 0xFFFF || (value->value.string.len && !value->value.string.ptr)) return nullptr;
    val = value->value.string.ptr, val_len = static_cast<int>(value->value.string.len);
  } else if (type == sNMP_SYNTAX_OID) {
    if (value->value.oid.len > MAX_OID_LEN || (value->value.oid.len && !value->value.oid.ptr)) return nullptr;
    val = value->value.oid.ptr, val_len = static_cast<int>(4 * value->value.oid.len);
  } else if (!is_empty_syntax(type)) {
    return nullptr;
  }
  return new_node(name, name_length, type, val, val_len);
}

}  // namespace

snmp_pdu* snmp_pdu_create(int command) {
  snmp_pdu* pdu = new (std::nothrow) snmp_pdu();
  if (pdu) pdu->command = command;
  return pdu;
}

void snmp_free_pdu_contents(snmp_pdu* pdu) {
  if (!pdu) return;
  variable_list* var = pdu->variables;
  while (var) {
    variable_list* next = var->next_variable;
    free_node(var);
    var = next;
  }
  pdu->variables = nullptr;
  delete[] pdu->enterprise;
  pdu->enterprise = nullptr;
  pdu->enterprise_length = 0;
}

void snmp_free_pdu(snmp_pdu* pdu) {
  snmp_free_pdu_contents(pdu);
  delete pdu;
}

variable_list* snmp_add_var(snmp_pdu* pdu, const SmiUINT32* name, int name_length, const SmiVALUE* value) {
  variable_list* var = make_var(pdu, name, name_length, value);
  if (var) append_node(pdu, var);
  return var;
}

variable_list* snmp_add_var(snmp_pdu* pdu, const SmiUINT32* name, int name_length, const SmiVALUE* value,
                            variable_list*& last) {
  variable_list* var = make_var(pdu, name, name_length, value);
  if (!var) return nullptr;
  (last ? last->next_variable : pdu->variables) = var;
  last = var;
  return var;
}

unsigned char* snmp_build_var_op(unsigned char* data, int* listlength, const variable_list* var) {
  if (!var) return nullptr;
  unsigned char* header = data;
  unsigned char* p = asn_build_sequence(data, listlength, sNMP_SYNTAX_SEQUENCE, 0);
  if (p) p = asn_build_objid(p, listlength, sNMP_SYNTAX_OID, var->name, var->name_length);
  if (p) p = build_value(p, listlength, var);
  if (!p || !close_sequence(header, sNMP_SYNTAX_SEQUENCE, p)) return nullptr;
  return p;
}

unsigned char* snmp_build_vblist(unsigned char* data, int* listlength, const variable_list* vars) {
  unsigned char* header = data;
  unsigned char* p = asn_build_sequence(data, listlength, sNMP_SYNTAX_SEQUENCE, 0);
  for (const variable_list* var = vars; p && var; var = var->next_variable) p = snmp_build_var_op(p, listlength, var);
  if (!p || !close_sequence(header, sNMP_SYNTAX_SEQUENCE, p)) return nullptr;
  return p;
}

unsigned char* snmp_build_pdu(unsigned char* data, int* listlength, const snmp_pdu* pdu) {
  if (!pdu || !is_pdu_tag(static_cast<unsigned char>(pdu->command)) || pdu->command != (pdu->command & 0xFF))
    return nullptr;
  const unsigned char command = static_cast<unsigned char>(pdu->command);
  unsigned char* header = data;
  unsigned char* p = asn_build_sequence(data, listlength, command, 0);
  if (command == sNMP_PDU_V1TRAP) {
    if (p) p = asn_build_objid(p, listlength, sNMP_SYNTAX_OID, pdu->enterprise, pdu->enterprise_length);
    if (p) p = asn_build_string(p, listlength, sNMP_SYNTAX_IPADDR, pdu->agent_addr, 4);
    if (p) p = asn_build_int(p, listlength, sNMP_SYNTAX_INT, &pdu->trap_type, 4);
    if (p) p = asn_build_int(p, listlength, sNMP_SYNTAX_INT, &pdu->specific_type, 4);
    if (p) p = asn_build_unsigned_int(p, listlength, sNMP_SYNTAX_TIMETICKS, &pdu->time, 4);
  } else {
    const int32_t reqid = static_cast<int32_t>(pdu->reqid);
    if (p) p = asn_build_int(p, listlength, sNMP_SYNTAX_INT, &reqid, 4);
    if (p) p = asn_build_int(p, listlength, sNMP_SYNTAX_INT, &pdu->errstat, 4);
    if (p) p = asn_build_int(p, listlength, sNMP_SYNTAX_INT, &pdu->errindex, 4);
  }
  if (p) p = snmp_build_vblist(p, listlength, pdu->variables);
  if (!p || !close_sequence(header, command, p)) return nullptr;
  return p;
}

int snmp_parse_var_op(ByteCursor& in, snmp_pdu* pdu) {
  if (!pdu) return SNMP_CODER_MALFORMED;
  variable_list* var = nullptr;
  int status = parse_var_op(in, pdu, var);
  if (status == 0 && var) append_node(pdu, var);
  return status;
}

int snmp_parse_vblist(ByteCursor& in, snmp_pdu* pdu) {
  if (!pdu) return SNMP_CODER_MALFORMED;
  ByteCursor c = in, list;
  unsigned char tag;
  if (!asn_get_header(c, tag, list)) return SNMP_CODER_MALFORMED;
  if (tag != sNMP_SYNTAX_SEQUENCE) return SNMP_CODER_BUILD_ERROR;
  variable_list** tail = &pdu->variables;
  while (*tail) tail = &(*tail)->next_variable;
  while (!list.empty()) {
    int status = parse_var_op(list, pdu, *tail);
    if (status) return status;
    if (*tail) tail = &(*tail)->next_variable;
  }
  in = c;
  return 0;
}

int snmp_parse_pdu(ByteCursor& in, snmp_pdu* pdu) {
  if (!pdu) return SNMP_CODER_MALFORMED;
  ByteCursor c = in, body;
  unsigned char tag, command;
  if (!asn_get_header(c, command, body) || !is_pdu_tag(command)) return SNMP_CODER_MALFORMED;
  pdu->command = command;
  if (command == sNMP_PDU_V1TRAP) {
    SmiUINT32 enterprise[MAX_OID_LEN];
    int enterprise_length = MAX_OID_LEN;
    const unsigned char* addr;
    size_t addr_length;
    if (!asn_get_objid(body, tag, enterprise, enterprise_length) || !asn_get_string(body, tag, addr, addr_length) ||
        addr_length > 4 || !asn_get_int(body, tag, pdu->trap_type) ||
        !asn_get_int(body, tag, pdu->specific_type) || !asn_get_unsigned_int(body, tag, pdu->time))
      return SNMP_CODER_MALFORMED;
    // A shorter agent address is zero-filled; nothing past it is read.
    std::memset(pdu->agent_addr, 0, sizeof pdu->agent_addr);
    if (addr_length) std::memcpy(pdu->agent_addr, addr, addr_length);
    delete[] pdu->enterprise;
    pdu->enterprise = new (std::nothrow) SmiUINT32[enterprise_length];
    if (!pdu->enterprise) return pdu->enterprise_length = 0, SNMP_CLASS_RESOURCE_UNAVAIL;
    std::memcpy(pdu->enterprise, enterprise, sizeof(SmiUINT32) * static_cast<size_t>(enterprise_length));
    pdu->enterprise_length = enterprise_length;
  } else {
    int32_t reqid;
    if (!asn_get_int(body, tag, reqid) || !asn_get_int(body, tag, pdu->errstat) ||
        !asn_get_int(body, tag, pdu->errindex))
      return SNMP_CODER_MALFORMED;
    pdu->reqid = static_cast<uint32_t>(reqid);
  }
  int status = snmp_parse_vblist(body, pdu);
  if (status) return status;
  if (!body.empty()) return SNMP_CODER_MALFORMED;
  in = c;
  return 0;
}

int snmp_build(const snmp_pdu* pdu, unsigned char* packet, int* out_length, int version,
               const unsigned char* community, int community_len) {
  if (!pdu || !packet || !out_length || *out_length < 0) return SNMP_CODER_BUILD_ERROR;
  int room = *out_length;
  const int32_t ver = version;
  unsigned char* p = asn_build_sequence(packet, &room, sNMP_SYNTAX_SEQUENCE, 0);
  if (p) p = asn_build_int(p, &room, sNMP_SYNTAX_INT, &ver, 4);
  if (p) p = asn_build_string(p, &room, sNMP_SYNTAX_OCTETS, community, community_len);
  if (p) p = snmp_build_pdu(p, &room, pdu);
  if (!p || !close_sequence(packet, sNMP_SYNTAX_SEQUENCE, p)) return SNMP_CODER_BUILD_ERROR;
  *out_length = static_cast<int>(p - packet);
  return 0;
}

int snmp_parse(snmp_pdu* pdu, const unsigned char* data, int data_length, unsigned char* community,
               int* community_len, snmp_version* version) {
  if (!pdu || !data || data_length < 0 || !community_len || !version) return SNMP_CODER_MALFORMED;
  ByteCursor in(data, static_cast<size_t>(data_length)), msg;
  unsigned char tag;
  // The message must fill the data exactly.
  if (!asn_get_header(in, tag, msg) || tag != sNMP_SYNTAX_SEQUENCE || !in.empty()) return SNMP_CODER_MALFORMED;
  int32_t ver;
  if (!asn_get_int(msg, tag, ver)) return SNMP_CODER_MALFORMED;
  if (ver != version1 && ver != version2c) return SNMP_CODER_UNSUPPORTED_VERSION;
  const unsigned char* name;
  size_t name_length;
  if (!asn_get_string(msg, tag, name, name_length) || name_length > 256 ||
      name_length > static_cast<size_t>(*community_len < 0 ? 0 : *community_len) || (name_length && !community))
    return SNMP_CODER_MALFORMED;
  int status = snmp_parse_pdu(msg, pdu);
  if (status) return status;
  if (!msg.empty()) return SNMP_CODER_MALFORMED;
  if (name_length) std::memcpy(community, name, name_length);
  *community_len = static_cast<int>(name_length);
  *version = static_cast<snmp_version>(ver);
  return 0;
}
