#include "Integer.h"

#include <cstdio>
#include <new>

// ---- SnmpInt32 -------------------------------------------------------------

SnmpInt32::SnmpInt32() : valid_flag(1), output_buffer() {
  smival.syntax = sNMP_SYNTAX_INT;
  smival.value.sNumber = 0;
}

SnmpInt32::SnmpInt32(long value) : SnmpInt32() { smival.value.sNumber = static_cast<SmiINT32>(value); }

SnmpInt32::SnmpInt32(const SnmpInt32& other) : SnmpInt32() { smival.value.sNumber = other.smival.value.sNumber; }

SnmpInt32::~SnmpInt32() {}

const char* SnmpInt32::get_printable() const {
  std::snprintf(output_buffer, sizeof output_buffer, "%ld", static_cast<long>(smival.value.sNumber));
  return output_buffer;
}

SmiUINT32 SnmpInt32::get_syntax() const { return sNMP_SYNTAX_INT; }

SnmpSyntax* SnmpInt32::clone() const { return new (std::nothrow) SnmpInt32(*this); }

int SnmpInt32::valid() const { return valid_flag; }

SnmpSyntax& SnmpInt32::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  valid_flag = 0;
  if (other.valid() && snmp_syntax_is_32bit_number(other.get_syntax())) {
    smival.value.sNumber = other.get_smival().value.sNumber;
    valid_flag = 1;
  }
  return *this;
}

SnmpInt32& SnmpInt32::operator=(long value) {
  smival.value.sNumber = static_cast<SmiINT32>(value);
  valid_flag = 1;
  return *this;
}

SnmpInt32& SnmpInt32::operator=(const SnmpInt32& other) {
  smival.value.sNumber = other.smival.value.sNumber;
  valid_flag = 1;
  return *this;
}

SnmpInt32::operator long() const { return smival.value.sNumber; }

// ---- SnmpUInt32 ------------------------------------------------------------

SnmpUInt32::SnmpUInt32() : valid_flag(1), output_buffer() {
  smival.syntax = sNMP_SYNTAX_UINT32;
  smival.value.uNumber = 0;
}

SnmpUInt32::SnmpUInt32(unsigned long value) : SnmpUInt32() {
  smival.value.uNumber = static_cast<SmiUINT32>(value);
}

SnmpUInt32::SnmpUInt32(const SnmpUInt32& other) : SnmpUInt32() { smival.value.uNumber = other.smival.value.uNumber; }

SnmpUInt32::~SnmpUInt32() {}

const char* SnmpUInt32::get_printable() const {
  std::snprintf(output_buffer, sizeof output_buffer, "%lu", static_cast<unsigned long>(smival.value.uNumber));
  return output_buffer;
}

SmiUINT32 SnmpUInt32::get_syntax() const { return smival.syntax; }

SnmpSyntax* SnmpUInt32::clone() const { return new (std::nothrow) SnmpUInt32(*this); }

int SnmpUInt32::valid() const { return valid_flag; }

SnmpSyntax& SnmpUInt32::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  valid_flag = 0;
  if (other.valid() && snmp_syntax_is_32bit_number(other.get_syntax())) {
    smival.value.uNumber = other.get_smival().value.uNumber;
    valid_flag = 1;
  }
  return *this;
}

SnmpUInt32& SnmpUInt32::operator=(unsigned long value) {
  smival.value.uNumber = static_cast<SmiUINT32>(value);
  valid_flag = 1;
  return *this;
}

SnmpUInt32& SnmpUInt32::operator=(const SnmpUInt32& other) {
  smival.value.uNumber = other.smival.value.uNumber;
  return *this;
}

SnmpUInt32::operator unsigned long() const { return smival.value.uNumber; }

// ---- Counter32, Gauge32 ------------------------------------------------------

Counter32::Counter32() { smival.syntax = sNMP_SYNTAX_CNTR32; }
Counter32::Counter32(unsigned long value) : SnmpUInt32(value) { smival.syntax = sNMP_SYNTAX_CNTR32; }
Counter32::Counter32(const Counter32& other) : SnmpUInt32(other) { smival.syntax = sNMP_SYNTAX_CNTR32; }

SnmpSyntax* Counter32::clone() const { return new (std::nothrow) Counter32(*this); }

Counter32& Counter32::operator=(unsigned long value) {
  smival.value.uNumber = static_cast<SmiUINT32>(value);
  return *this;
}

Counter32& Counter32::operator=(const Counter32& other) {
  smival.value.uNumber = other.smival.value.uNumber;
  return *this;
}

Gauge32::Gauge32() { smival.syntax = sNMP_SYNTAX_GAUGE32; }
Gauge32::Gauge32(unsigned long value) : SnmpUInt32(value) { smival.syntax = sNMP_SYNTAX_GAUGE32; }
Gauge32::Gauge32(const Gauge32& other) : SnmpUInt32(other) { smival.syntax = sNMP_SYNTAX_GAUGE32; }

SnmpSyntax* Gauge32::clone() const { return new (std::nothrow) Gauge32(*this); }

Gauge32& Gauge32::operator=(unsigned long value) {
  smival.value.uNumber = static_cast<SmiUINT32>(value);
  return *this;
}

Gauge32& Gauge32::operator=(const Gauge32& other) {
  smival.value.uNumber = other.smival.value.uNumber;
  return *this;
}
