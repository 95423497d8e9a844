// The plain PDU record between the BER layer and the rest of the library, and
// the coder of SNMP version 1 and 2c messages built on it. The SNMPv3 message
// processing encodes and decodes its scoped PDUs with the same PDU and
// variable-list coder.
#pragma once

#include <cstdint>

#include "ByteCursor.h"
#include "SnmpSyntax.h"
#include "asn1.h"
#include "snmp_constants.h"

// One variable binding. The value bytes are owned and laid out by type:
// INTEGER one int32_t; Counter32, Gauge32, TimeTicks and UInteger32 one
// uint32_t; OBJECT IDENTIFIER an array of uint32_t (val_len = 4 a
// sub-identifier); Counter64 a `counter64`; the string types their bytes;
// NULL and the exceptions no value.
struct variable_list {
  variable_list* next_variable;
  SmiUINT32* name;
  int name_length;
  unsigned char type;
  unsigned char* val;
  int val_len;
};

struct snmp_pdu {
  int command;  // PDU tag
  uint32_t reqid;
  uint32_t msgid;              // SNMPv3 only, not encoded here
  uint32_t maxsize_scopedpdu;  // SNMPv3 only, not encoded here
  int32_t errstat;             // or non-repeaters of a get-bulk
  int32_t errindex;            // or max-repetitions of a get-bulk
  // Version-1 trap fields.
  SmiUINT32* enterprise;
  int enterprise_length;
  unsigned char agent_addr[4];
  int32_t trap_type;
  int32_t specific_type;
  uint32_t time;
  variable_list* variables;
  // When set, the parsers hand every binding they read to the sink instead
  // of adding a node to `variables`: the name, the value's tag and its bytes
  // laid out as in a node (pointing into the parser's scratch, good for the
  // call only). A non-zero result stops the parse with that status.
  int (*binding_sink)(void* context, const SmiUINT32* name, int name_length, unsigned char type, const void* val,
                      int val_len);
  void* binding_context;
};

// Status codes of the coder.
#define SNMP_CODER_BUILD_ERROR (-1)         // build failure, or a bindings header that is no SEQUENCE
#define SNMP_CODER_UNSUPPORTED_VERSION (-50)
#define SNMP_CODER_MALFORMED (-51)          // malformed field or unknown value tag

// A zeroed record of the given command; null when memory runs out.
snmp_pdu* snmp_pdu_create(int command);
// Frees the variables, the enterprise and the record.
void snmp_free_pdu(snmp_pdu* pdu);
// Frees the variables and the enterprise only, leaving an empty record.
void snmp_free_pdu_contents(snmp_pdu* pdu);

// Appends a binding that copies the name and the value (by syntax). Returns
// the new node, or null for an unsupported syntax or when memory runs out.
variable_list* snmp_add_var(snmp_pdu* pdu, const SmiUINT32* name, int name_length, const SmiVALUE* value);
// The same, for a caller that appends many: `last` is the list's last node
// (null for an empty list) and becomes the new one, so that no append walks
// the list.
variable_list* snmp_add_var(snmp_pdu* pdu, const SmiUINT32* name, int name_length, const SmiVALUE* value,
                            variable_list*& last);

// One binding: SEQUENCE { name, value }.
unsigned char* snmp_build_var_op(unsigned char* data, int* listlength, const variable_list* var);
// The bindings as a SEQUENCE of bindings.
unsigned char* snmp_build_vblist(unsigned char* data, int* listlength, const variable_list* vars);
// The PDU: header with the command as tag, the header fields (the version-1
// trap fields for 0xA4) and the bindings.
unsigned char* snmp_build_pdu(unsigned char* data, int* listlength, const snmp_pdu* pdu);

// Reads one binding into a new node appended to the PDU's list. 0 or -51.
int snmp_parse_var_op(ByteCursor& in, snmp_pdu* pdu);
// Reads the SEQUENCE of bindings, appending its nodes. 0, -1 (not a
// SEQUENCE) or -51; the whole SEQUENCE must be used up by bindings.
int snmp_parse_vblist(ByteCursor& in, snmp_pdu* pdu);
// Reads one whole PDU element (header fields and bindings) into the record,
// whose command becomes the PDU's tag. 0, -1 or -51.
int snmp_parse_pdu(ByteCursor& in, snmp_pdu* pdu);

// Encodes a version 1 (0) or 2c (1) message. *out_length holds the room in
// `packet` on entry and the message length on success. 0 or -1.
int snmp_build(const snmp_pdu* pdu, unsigned char* packet, int* out_length, int version,
               const unsigned char* community, int community_len);
// Decodes a version 1 or 2c message into an empty record. *community_len
// holds the room in `community` on entry (communities over 256 bytes are
// refused) and the community's length on success. 0, -1, -50 or -51.
int snmp_parse(snmp_pdu* pdu, const unsigned char* data, int data_length, unsigned char* community,
               int* community_len, snmp_version* version);
