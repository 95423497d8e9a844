// Root of every SNMP value: integers, counters, time ticks, octet strings,
// object identifiers and addresses. A variable binding owns one value through
// a SnmpSyntax pointer; the message coder reads `smival` directly.
#pragma once

#include <cstdint>

#include "snmp_constants.h"

typedef uint32_t SmiUINT32;
typedef int32_t SmiINT32;
typedef unsigned char SmiBYTE;
typedef SmiBYTE* SmiLPBYTE;

struct SmiOCTETS {
  SmiUINT32 len;
  SmiLPBYTE ptr;
};
struct SmiOID {
  SmiUINT32 len;
  SmiUINT32* ptr;
};
struct SmiCNTR64 {
  SmiUINT32 hipart;
  SmiUINT32 lopart;
};
// The value area has one layout in every class, so the coder and the
// polymorphic assignments find the number of any numeric class in one place.
struct SmiVALUE {
  SmiUINT32 syntax;
  union {
    SmiINT32 sNumber;
    SmiUINT32 uNumber;
    SmiCNTR64 hNumber;
    SmiOCTETS string;
    SmiOID oid;
    SmiBYTE empty;
  } value;
};

class SnmpSyntax {
 public:
  // Text of the value in a buffer the object owns; the next call replaces it.
  virtual const char* get_printable() const = 0;
  virtual SmiUINT32 get_syntax() const = 0;
  // A new heap copy of the same class, or null when memory runs out.
  virtual SnmpSyntax* clone() const = 0;
  virtual ~SnmpSyntax() {}
  // Polymorphic assignment: each class takes what it can from any value.
  virtual SnmpSyntax& operator=(const SnmpSyntax&) { return *this; }
  virtual int valid() const = 0;

  // Read-only view of the value area for the coder.
  const SmiVALUE& get_smival() const { return smival; }

 protected:
  SnmpSyntax() : smival() { smival.syntax = sNMP_SYNTAX_NULL; }
  // Shallow: classes that own memory make their own deep copies.
  SnmpSyntax(const SnmpSyntax& other) : smival(other.smival) {}

  SmiVALUE smival;
};

// Numbers of every syntax that carries a 32-bit value (INTEGER, Counter32,
// Gauge32, TimeTicks).
inline bool snmp_syntax_is_32bit_number(SmiUINT32 syntax) {
  return syntax == sNMP_SYNTAX_INT || syntax == sNMP_SYNTAX_CNTR32 || syntax == sNMP_SYNTAX_GAUGE32 ||
         syntax == sNMP_SYNTAX_TIMETICKS;
}
