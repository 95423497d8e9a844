#include "SnmpMessage.h"

#include <cstdio>
#include <cstring>
#include <new>

#include "Counter64.h"
#include "Integer.h"
#include "Oid.h"
#include "TimeTicks.h"
#include "asn1.h"
#include "mp_v3.h"
#include "snmp_pdu.h"
#include "Winsock.h"  // after the system headers

namespace {

const char* const kSysUpTime0 = "1.3.6.1.2.1.1.3.0";
const char* const kSnmpTrapOid0 = "1.3.6.1.6.3.1.1.4.1.0";

// Owns a record for the length of one call.
struct RecordHolder {
  snmp_pdu* raw;
  ~RecordHolder() { snmp_free_pdu(raw); }
};

// The well-known traps in the order of their generic trap numbers.
int generic_trap_of(const Oid& id) {
  const Oid known[] = {coldStartOid(), warmStartOid(), linkDownOid(), linkUpOid(), authenticationFailureOid(),
                       egpNeighborLossOid()};
  for (int i = 0; i < 6; ++i)
    if (id == known[i]) return i;
  return 6;
}

Oid generic_trap_oid(int generic) {
  switch (generic) {
    case 0: return coldStartOid();
    case 1: return warmStartOid();
    case 2: return linkDownOid();
    case 3: return linkUpOid();
    case 4: return authenticationFailureOid();
    default: return egpNeighborLossOid();
  }
}

// This host's IPv4 address as a version-1 trap names it: its host name,
// resolved (a dotted name is its own address); any failure gives 0.0.0.0.
// Sockets are started here as well, so the coder works without a session.
void local_ipv4(unsigned char out[4]) {
  std::memset(out, 0, 4);
  WSADATA wsa;
  if (WSAStartup(0x0101, &wsa) != 0) return;
  char name[256] = {};
  if (gethostname(name, static_cast<int>(sizeof name) - 1) == 0) {
    const hostent* host = gethostbyname(name);
    if (host && host->h_length == 4 && host->h_addr_list && host->h_addr_list[0])
      std::memcpy(out, host->h_addr_list[0], 4);
  }
  WSACleanup();
}

// The value area of a binding as convertVbToSmival gives it, but pointing at
// the binding's own bytes (the encoder's nodes copy them anyway). 0, or -3
// for a syntax the coder does not send.
int smival_view(const Vb& vb, SmiVALUE* smival) {
  const SmiUINT32 syntax = vb.get_syntax();
  const SnmpSyntax* value = vb.get_value_ptr();
  smival->syntax = syntax;
  switch (syntax) {
    case sNMP_SYNTAX_NULL:
    case sNMP_SYNTAX_NOSUCHOBJECT:
    case sNMP_SYNTAX_NOSUCHINSTANCE:
    case sNMP_SYNTAX_ENDOFMIBVIEW:
      return 0;
    case sNMP_SYNTAX_INT:
    case sNMP_SYNTAX_CNTR32:
    case sNMP_SYNTAX_GAUGE32:
    case sNMP_SYNTAX_TIMETICKS:
    case sNMP_SYNTAX_CNTR64:
    case sNMP_SYNTAX_OCTETS:
    case sNMP_SYNTAX_IPADDR:
    case sNMP_SYNTAX_OPAQUE:
    case sNMP_SYNTAX_OID:
      smival->value = value->get_smival().value;
      return 0;
    default:
      // BIT STRING included: nothing in this system sends one, and the
      // encoder has no form for it.
      smival->syntax = sNMP_SYNTAX_NULL;
      return SNMP_CLASS_INTERNAL_ERROR;
  }
}

// Appends one binding after `last` (see snmp_add_var).
int add_binding(snmp_pdu* raw, variable_list*& last, const Oid& name, const Vb& vb, bool null_value) {
  SmiVALUE value = {};
  if (null_value) {
    value.syntax = sNMP_SYNTAX_NULL;
  } else {
    int status = smival_view(vb, &value);
    if (status) return status;
  }
  const SmiOID* id = name.oidval();
  variable_list* var = snmp_add_var(raw, id->ptr, static_cast<int>(id->len), &value, last);
  return var ? 0 : SNMP_CLASS_ERROR;
}

// The version-1 trap fields from the notification id, enterprise and time stamp.
int fill_v1_trap(snmp_pdu* raw, const Pdu& pdu) {
  local_ipv4(raw->agent_addr);
  Oid id, enterprise;
  pdu.get_notify_id(id);
  if (!id.valid() || id.len() < 2) return SNMP_CLASS_INVALID_NOTIFYID;
  raw->trap_type = generic_trap_of(id);
  if (raw->trap_type == 6) {
    raw->specific_type = static_cast<int32_t>(id[static_cast<int>(id.len()) - 1]);
    enterprise = id;
    enterprise.trim(1);
    // An SNMPv2 trap id names its enterprise as enterprise.0.specific.
    if (enterprise[static_cast<int>(enterprise.len()) - 1] == 0) enterprise.trim(1);
  } else {
    pdu.get_notify_enterprise(enterprise);
  }
  if (enterprise.len() > MAX_OID_LEN) return SNMP_CLASS_INVALID_NOTIFYID;
  if (enterprise.len()) {
    raw->enterprise = new (std::nothrow) SmiUINT32[enterprise.len()];
    if (!raw->enterprise) return SNMP_CLASS_RESOURCE_UNAVAIL;
    std::memcpy(raw->enterprise, enterprise.oidval()->ptr, sizeof(SmiUINT32) * enterprise.len());
    raw->enterprise_length = static_cast<int>(enterprise.len());
  }
  TimeTicks ts;
  pdu.get_notify_timestamp(ts);
  raw->time = static_cast<uint32_t>(static_cast<unsigned long>(ts));
  return 0;
}

// The value of one received binding, set in place where the binding already
// holds a value of the same class (a Pdu decoded into again).
void set_vb_value(Vb& vb, unsigned char type, const void* val, int val_len) {
  auto u32 = [val] {
    uint32_t v;
    std::memcpy(&v, val, 4);
    return v;
  };
  const unsigned char* bytes = static_cast<const unsigned char*>(val);
  switch (type) {
    case sNMP_SYNTAX_INT: {
      int32_t v;
      std::memcpy(&v, val, 4);
      if (SnmpInt32* x = vb.reuse_value<SnmpInt32>()) *x = static_cast<long>(v);
      break;
    }
    case sNMP_SYNTAX_OCTETS:
    case sNMP_SYNTAX_OPAQUE:
      if (OctetStr* x = vb.reuse_value<OctetStr>()) x->set_data(bytes, static_cast<unsigned long>(val_len));
      break;
    case sNMP_SYNTAX_OID:
      if (Oid* x = vb.reuse_value<Oid>()) {
        // An empty identifier decodes as no value of its own (Oid(ids, 0)).
        if (val_len >= 4)
          x->set_data(static_cast<const SmiUINT32*>(val), static_cast<unsigned int>(val_len / 4));
        else
          *x = Oid();
      }
      break;
    case sNMP_SYNTAX_IPADDR: {
      char text[16];
      std::snprintf(text, sizeof text, "%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
      vb.set_value(IpAddress(text));
      break;
    }
    // Through SnmpUInt32's assignment, which also makes the value valid again.
    case sNMP_SYNTAX_CNTR32:
      if (Counter32* x = vb.reuse_value<Counter32>()) static_cast<SnmpUInt32&>(*x) = static_cast<unsigned long>(u32());
      break;
    case sNMP_SYNTAX_GAUGE32:
      if (Gauge32* x = vb.reuse_value<Gauge32>()) static_cast<SnmpUInt32&>(*x) = static_cast<unsigned long>(u32());
      break;
    case sNMP_SYNTAX_TIMETICKS:
      if (TimeTicks* x = vb.reuse_value<TimeTicks>()) static_cast<SnmpUInt32&>(*x) = static_cast<unsigned long>(u32());
      break;
    case sNMP_SYNTAX_CNTR64: {
      counter64 c;
      std::memcpy(&c, val, 8);
      if (Counter64* x = vb.reuse_value<Counter64>()) *x = Counter64(c.high, c.low);
      break;
    }
    case sNMP_SYNTAX_NOSUCHOBJECT:
    case sNMP_SYNTAX_NOSUCHINSTANCE:
    case sNMP_SYNTAX_ENDOFMIBVIEW:
      vb.set_null();
      set_exception_status(&vb, type);
      break;
    default:
      vb.set_null();
      break;
  }
}

// The decoder's sink: every binding goes straight into the Pdu, without a
// node of the plain record in between. Bindings beyond the 50 a Pdu holds
// are read (the message must still be sound) and dropped.
int add_received_binding(void* context, const SmiUINT32* name, int name_length, unsigned char type, const void* val,
                         int val_len) {
  Pdu& pdu = *static_cast<Pdu*>(context);
  Vb* vb = pdu.add_vb();
  if (!vb) return 0;
  if (name_length > 0)
    vb->set_oid(name, static_cast<unsigned int>(name_length));
  else
    vb->set_oid(Oid());
  set_vb_value(*vb, type, val, val_len);
  return 0;
}

}  // namespace

int convertVbToSmival(const Vb& vb, SmiVALUE* smival) {
  if (!smival) return SNMP_CLASS_INTERNAL_ERROR;
  if (int status = smival_view(vb, smival)) return status;
  // The view points at the binding's own bytes: strings and identifiers get copies.
  switch (smival->syntax) {
    case sNMP_SYNTAX_OCTETS:
    case sNMP_SYNTAX_IPADDR:
    case sNMP_SYNTAX_OPAQUE: {
      const SmiOCTETS src = smival->value.string;
      smival->value.string.ptr = nullptr;
      if (src.len) {
        smival->value.string.ptr = new (std::nothrow) SmiBYTE[src.len];
        if (!smival->value.string.ptr) return SNMP_CLASS_RESOURCE_UNAVAIL;
        std::memcpy(smival->value.string.ptr, src.ptr, src.len);
      }
      return 0;
    }
    case sNMP_SYNTAX_OID: {
      const SmiOID src = smival->value.oid;
      smival->value.oid.ptr = nullptr;
      if (src.len) {
        smival->value.oid.ptr = new (std::nothrow) SmiUINT32[src.len];
        if (!smival->value.oid.ptr) return SNMP_CLASS_RESOURCE_UNAVAIL;
        std::memcpy(smival->value.oid.ptr, src.ptr, sizeof(SmiUINT32) * src.len);
      }
      return 0;
    }
    default:
      return 0;
  }
}

void freeSmivalDescriptor(SmiVALUE* smival) {
  if (!smival) return;
  switch (smival->syntax) {
    case sNMP_SYNTAX_OCTETS:
    case sNMP_SYNTAX_IPADDR:
    case sNMP_SYNTAX_OPAQUE:
      delete[] smival->value.string.ptr;
      smival->value.string.ptr = nullptr;
      smival->value.string.len = 0;
      break;
    case sNMP_SYNTAX_OID:
      delete[] smival->value.oid.ptr;
      smival->value.oid.ptr = nullptr;
      smival->value.oid.len = 0;
      break;
    default:
      break;
  }
}

int SnmpMessage::load(const unsigned char* data, unsigned long len) {
  databuff.clear();
  if (len > SNMP_MAX_DATAGRAM || (len && !data)) {
    valid_flag = 0;
    return 8;
  }
  databuff.assign(data, data + len);
  valid_flag = 1;
  return 0;
}

int SnmpMessage::load(const Pdu& pdu, const OctetStr& community, snmp_version version, const OctetStr* engine_id,
                      const OctetStr* security_name, int security_model) {
  valid_flag = 0;
  if (!pdu.valid()) return SNMP_CLASS_INVALID_PDU;
  RecordHolder holder{snmp_pdu_create(pdu.get_type())};
  snmp_pdu* raw = holder.raw;
  if (!raw) return SNMP_CLASS_RESOURCE_UNAVAIL;
  raw->reqid = static_cast<uint32_t>(pdu.get_request_id());
  raw->errstat = pdu.get_error_status();
  raw->errindex = pdu.get_error_index();
  raw->msgid = static_cast<uint32_t>(pdu.get_message_id());
  raw->maxsize_scopedpdu = static_cast<uint32_t>(pdu.get_maxsize_scopedpdu());

  const unsigned short type = pdu.get_type();
  variable_list* last = nullptr;  // the bindings' list is empty so far
  if (type == sNMP_PDU_V1TRAP) {
    int status = fill_v1_trap(raw, pdu);
    if (status) return status;
  } else if (type == sNMP_PDU_TRAP || type == sNMP_PDU_INFORM) {
    TimeTicks ts;
    Oid id;
    pdu.get_notify_timestamp(ts);
    pdu.get_notify_id(id);
    Vb uptime{Oid(kSysUpTime0)}, trap_oid{Oid(kSnmpTrapOid0)};
    uptime.set_value(ts);
    trap_oid.set_value(id);
    int status = add_binding(raw, last, uptime.get_oid(), uptime, false);
    if (!status) status = add_binding(raw, last, trap_oid.get_oid(), trap_oid, false);
    if (status) return status;
  }
  const bool null_values = type == sNMP_PDU_GET || type == sNMP_PDU_GETNEXT || type == sNMP_PDU_GETBULK;
  for (int i = 0; i < pdu.get_vb_count(); ++i) {
    int status = add_binding(raw, last, pdu[i].get_oid(), pdu[i], null_values);
    if (status) return status;
  }

  // What we send stays within SNMP_MSG_LENGTH; only received messages are larger.
  // Built on the stack (not cleared: the coder writes every byte it counts),
  // then kept at its exact length.
  unsigned char encoded[SNMP_MSG_LENGTH];
  int length = SNMP_MSG_LENGTH;
  if (version == version3) {
    // The arguments must be given; an empty engine id is a discovery message.
    if (!engine_id || !security_name) return SNMP_CLASS_INVALID_TARGET;
    int status = mpSnmpBuild(raw, encoded, &length, *engine_id, *security_name, security_model,
                             pdu.get_security_level(), pdu.get_context_engine_id(), pdu.get_context_name());
    if (status != SNMPv3_MP_OK) return status;
    if (type == sNMP_PDU_RESPONSE && static_cast<unsigned long>(length) > pdu.get_maxsize_scopedpdu())
      return SNMP_ERROR_TOO_BIG;
  } else {
    int status =
        snmp_build(raw, encoded, &length, version, community.data(), static_cast<int>(community.len()));
    if (status) return status;
  }
  databuff.assign(encoded, encoded + length);
  valid_flag = 1;
  return 0;
}

int SnmpMessage::unload(Pdu& pdu, OctetStr& community, snmp_version& version, OctetStr* engine_id,
                        OctetStr* security_name, int32_t* security_model, const UdpAddress* from) {
  pdu.clear_for_reuse();
  if (!valid_flag) return SNMP_CLASS_INVALID;
  RecordHolder holder{snmp_pdu_create(0)};
  snmp_pdu* raw = holder.raw;
  if (!raw) return SNMP_CLASS_RESOURCE_UNAVAIL;
  raw->binding_sink = add_received_binding;
  raw->binding_context = &pdu;

  if (engine_id && security_name && security_model) {
    OctetStr context_engine_id, context_name;
    int32_t level = 0;
    int status = mpSnmpParse(raw, databuff.data(), static_cast<int>(databuff.size()), *engine_id, *security_name,
                             context_engine_id, context_name, level, *security_model, version,
                             from ? *from : UdpAddress());
    if (status != SNMPv3_MP_OK) {
      pdu.clear_for_reuse();  // what the parse had read is no answer
      set_request_id(&pdu, raw->reqid);
      pdu.set_type(static_cast<unsigned short>(raw->command));
      return status;
    }
    pdu.set_context_engine_id(context_engine_id);
    pdu.set_context_name(context_name);
    pdu.set_security_level(level);
    pdu.set_maxsize_scopedpdu(raw->maxsize_scopedpdu);
    pdu.set_message_id(raw->msgid);
  } else {
    unsigned char name[256];
    int name_length = sizeof name;
    int status = snmp_parse(raw, databuff.data(), static_cast<int>(databuff.size()), name, &name_length, &version);
    if (status) {
      pdu.clear_for_reuse();
      return status;
    }
    community.set_data(name, static_cast<unsigned long>(name_length));
  }

  set_request_id(&pdu, raw->reqid);
  set_error_status(&pdu, raw->errstat);
  set_error_index(&pdu, raw->errindex);
  pdu.set_type(static_cast<unsigned short>(raw->command));

  if (raw->command == sNMP_PDU_V1TRAP) {
    pdu.set_notify_timestamp(TimeTicks(raw->time));
    Oid enterprise;
    if (raw->enterprise_length > 0) {
      enterprise = Oid(raw->enterprise, raw->enterprise_length);
      pdu.set_notify_enterprise(enterprise);
    }
    if (raw->trap_type >= 0 && raw->trap_type <= 5) {
      pdu.set_notify_id(generic_trap_oid(raw->trap_type));
    } else if (raw->trap_type == 6) {
      enterprise += static_cast<unsigned long>(static_cast<uint32_t>(raw->specific_type));
      pdu.set_notify_id(enterprise);
    }
  }

  // An SNMPv2 trap names its time stamp and trap id in its first two bindings.
  if (raw->command == sNMP_PDU_TRAP) {
    if (pdu.get_vb_count() >= 1 && pdu[0].get_syntax() == sNMP_SYNTAX_TIMETICKS && pdu[0].get_oid() == kSysUpTime0) {
      TimeTicks ts;
      pdu[0].get_value(ts);
      pdu.set_notify_timestamp(ts);
    }
    if (pdu.get_vb_count() >= 2 && pdu[1].get_syntax() == sNMP_SYNTAX_OID && pdu[1].get_oid() == kSnmpTrapOid0) {
      Oid id;
      pdu[1].get_value(id);
      pdu.set_notify_id(id);
    }
  }
  return 0;
}

int SnmpMessage::unloadv3(Pdu& pdu, snmp_version& version, OctetStr& engine_id, OctetStr& security_name,
                          int32_t& security_model, const UdpAddress& from) {
  OctetStr unused_community;
  return unload(pdu, unused_community, version, &engine_id, &security_name, &security_model, &from);
}

bool SnmpMessage::is_v3_message() const {
  return valid_flag && mpTestV3(databuff.data(), static_cast<int>(databuff.size())) == 1;
}
