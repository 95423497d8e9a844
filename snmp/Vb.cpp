#include "Vb.h"

#include <cstring>
#include <new>

#include "Address.h"
#include "Counter64.h"
#include "Integer.h"
#include "OctetStr.h"
#include "TimeTicks.h"

Vb::Vb() : iv_vb_value(nullptr), exception_status(0) {}

Vb::Vb(const Oid& oid) : iv_vb_oid(oid), iv_vb_value(nullptr), exception_status(0) {}

Vb::Vb(const Vb& other) : iv_vb_oid(other.iv_vb_oid), iv_vb_value(nullptr), exception_status(other.exception_status) {
  if (other.iv_vb_value) iv_vb_value = other.iv_vb_value->clone();
}

Vb::Vb(Vb&& other) noexcept
    : iv_vb_oid(other.iv_vb_oid), iv_vb_value(other.iv_vb_value), exception_status(other.exception_status) {
  other.iv_vb_value = nullptr;
  other.exception_status = 0;
}

Vb::~Vb() { free_vb(); }

Vb& Vb::operator=(Vb&& other) noexcept {
  if (this == &other) return *this;
  free_vb();
  iv_vb_oid = other.iv_vb_oid;
  iv_vb_value = other.iv_vb_value;
  exception_status = other.exception_status;
  other.iv_vb_value = nullptr;
  other.exception_status = 0;
  return *this;
}

Vb& Vb::operator=(const Vb& other) {
  if (this == &other) return *this;
  free_vb();
  iv_vb_oid = other.iv_vb_oid;
  if (other.iv_vb_value) iv_vb_value = other.iv_vb_value->clone();
  exception_status = other.exception_status;
  return *this;
}

void Vb::free_vb() {
  delete iv_vb_value;
  iv_vb_value = nullptr;
  exception_status = 0;
}

int Vb::valid() const {
  if (!iv_vb_oid.valid()) return 0;
  if (iv_vb_value && !iv_vb_value->valid()) return 0;
  return 1;
}

void Vb::set_value(int i) { set_value(static_cast<long>(i)); }

void Vb::set_value(long i) {
  free_vb();
  iv_vb_value = new (std::nothrow) SnmpInt32(i);
}

void Vb::set_value(unsigned long u) {
  free_vb();
  iv_vb_value = new (std::nothrow) SnmpUInt32(u);
}

void Vb::set_value(const SnmpSyntax& value) {
  // Clone first: the value may be the one this binding holds.
  SnmpSyntax* copy = value.clone();
  free_vb();
  iv_vb_value = copy;
}

void Vb::set_value(const char* text) {
  free_vb();
  iv_vb_value = new (std::nothrow) OctetStr(text);
}

namespace {
bool holds(const SnmpSyntax* v, SmiUINT32 syntax) { return v && v->valid() && v->get_syntax() == syntax; }
}  // namespace

int Vb::get_value(int& i) const {
  if (!holds(iv_vb_value, sNMP_SYNTAX_INT)) return SNMP_CLASS_INVALID;
  i = iv_vb_value->get_smival().value.sNumber;
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(long& i) const {
  if (!holds(iv_vb_value, sNMP_SYNTAX_INT)) return SNMP_CLASS_INVALID;
  i = iv_vb_value->get_smival().value.sNumber;
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(unsigned long& u) const {
  if (!iv_vb_value || !iv_vb_value->valid()) return SNMP_CLASS_INVALID;
  const SmiUINT32 syntax = iv_vb_value->get_syntax();
  if (syntax != sNMP_SYNTAX_CNTR32 && syntax != sNMP_SYNTAX_GAUGE32 && syntax != sNMP_SYNTAX_TIMETICKS)
    return SNMP_CLASS_INVALID;
  u = iv_vb_value->get_smival().value.uNumber;
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(unsigned char* buffer, unsigned long& length) const {
  return get_value(buffer, length, ~0ul);
}

int Vb::get_value(unsigned char* buffer, unsigned long& length, unsigned long max) const {
  if (!holds(iv_vb_value, sNMP_SYNTAX_OCTETS)) {
    if (buffer) buffer[0] = 0x30;
    length = 0;
    return SNMP_CLASS_INVALID;
  }
  const SmiOCTETS& s = iv_vb_value->get_smival().value.string;
  length = s.len < max ? s.len : max;
  if (length) std::memcpy(buffer, s.ptr, length);
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(char* buffer) const {
  if (!holds(iv_vb_value, sNMP_SYNTAX_OCTETS)) return SNMP_CLASS_INVALID;
  const SmiOCTETS& s = iv_vb_value->get_smival().value.string;
  if (s.len) std::memcpy(buffer, s.ptr, s.len);
  buffer[s.len] = 0;
  return SNMP_CLASS_SUCCESS;
}

int Vb::get_value(SnmpSyntax& value) const {
  if (!iv_vb_value) return SNMP_CLASS_INVALID;
  value = *iv_vb_value;
  return value.valid() ? SNMP_CLASS_SUCCESS : SNMP_CLASS_INVALID;
}

SmiUINT32 Vb::get_syntax() const {
  if (exception_status) return exception_status;
  if (iv_vb_value) return iv_vb_value->get_syntax();
  return sNMP_SYNTAX_NULL;
}

void Vb::set_syntax(SmiUINT32 syntax) {
  free_vb();
  switch (syntax) {
    case sNMP_SYNTAX_INT: iv_vb_value = new (std::nothrow) SnmpInt32(); break;
    case sNMP_SYNTAX_BITS:
    case sNMP_SYNTAX_OCTETS:
    case sNMP_SYNTAX_OPAQUE: iv_vb_value = new (std::nothrow) OctetStr(); break;
    case sNMP_SYNTAX_OID: iv_vb_value = new (std::nothrow) Oid(); break;
    case sNMP_SYNTAX_IPADDR: iv_vb_value = new (std::nothrow) IpAddress(); break;
    case sNMP_SYNTAX_CNTR32: iv_vb_value = new (std::nothrow) Counter32(); break;
    case sNMP_SYNTAX_GAUGE32: iv_vb_value = new (std::nothrow) Gauge32(); break;
    case sNMP_SYNTAX_TIMETICKS: iv_vb_value = new (std::nothrow) TimeTicks(); break;
    case sNMP_SYNTAX_CNTR64: iv_vb_value = new (std::nothrow) Counter64(); break;
    case sNMP_SYNTAX_NOSUCHOBJECT:
    case sNMP_SYNTAX_NOSUCHINSTANCE:
    case sNMP_SYNTAX_ENDOFMIBVIEW: exception_status = syntax; break;
    default: break;
  }
}

const char* Vb::get_printable_value() const {
  if (!iv_vb_value) return "";
  const char* text = iv_vb_value->get_printable();
  return text ? text : "";
}

void set_exception_status(Vb* vb, SmiUINT32 status) {
  if (!vb) return;
  vb->exception_status = status;
}
