#include "Counter64.h"

#include <cmath>
#include <cstdio>
#include <new>

Counter64::Counter64() : output_buffer() {
  smival.syntax = sNMP_SYNTAX_CNTR64;
  smival.value.hNumber.hipart = 0;
  smival.value.hNumber.lopart = 0;
}

Counter64::Counter64(unsigned long lo) : Counter64() { set_low(lo); }

Counter64::Counter64(unsigned long hi, unsigned long lo) : Counter64() {
  set_high(hi);
  set_low(lo);
}

Counter64::Counter64(const Counter64& other) : Counter64() { smival.value.hNumber = other.smival.value.hNumber; }

SmiUINT32 Counter64::get_syntax() const { return sNMP_SYNTAX_CNTR64; }

SnmpSyntax* Counter64::clone() const { return new (std::nothrow) Counter64(*this); }

SnmpSyntax& Counter64::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  smival.value.hNumber.hipart = 0;
  smival.value.hNumber.lopart = 0;
  if (!other.valid()) return *this;
  const SmiUINT32 syntax = other.get_syntax();
  if (snmp_syntax_is_32bit_number(syntax))
    smival.value.hNumber.lopart = other.get_smival().value.uNumber;
  else if (syntax == sNMP_SYNTAX_CNTR64)
    smival.value.hNumber = other.get_smival().value.hNumber;
  return *this;
}

Counter64& Counter64::operator=(const Counter64& other) {
  smival.value.hNumber = other.smival.value.hNumber;
  return *this;
}

Counter64& Counter64::operator=(unsigned long lo) {
  smival.value.hNumber.hipart = 0;
  set_low(lo);
  return *this;
}

// Printed from the exact integer: a double would show wrong digits above 2^53.
const char* Counter64::get_printable() const {
  std::snprintf(output_buffer, sizeof output_buffer, "%llu", static_cast<unsigned long long>(value64()));
  return output_buffer;
}

long double Counter64::c64_to_ld(const Counter64& c) {
  return static_cast<long double>(c.smival.value.hNumber.hipart) * 4294967296.0L + c.smival.value.hNumber.lopart;
}

Counter64 Counter64::ld_to_c64(long double ld) {
  // Out-of-range conversions are undefined in C++: a difference below zero, a
  // division by a zero counter or an overflow saturate instead.
  if (std::isnan(ld) || ld <= 0) return Counter64();
  if (ld >= 18446744073709551616.0L) return Counter64(0xFFFFFFFFul, 0xFFFFFFFFul);
  const long double hi = std::floor(ld / 4294967296.0L);
  const long double lo = std::floor(ld - hi * 4294967296.0L);
  return Counter64(static_cast<unsigned long>(hi), static_cast<unsigned long>(lo));
}

namespace {
// The counters combine in double precision, as they always have.
double as_double(const Counter64& c) { return static_cast<double>(Counter64::c64_to_ld(c)); }
}  // namespace

Counter64 Counter64::operator+(const Counter64& c) const { return ld_to_c64(as_double(*this) + as_double(c)); }
Counter64 Counter64::operator-(const Counter64& c) const { return ld_to_c64(as_double(*this) - as_double(c)); }
Counter64 Counter64::operator*(const Counter64& c) const { return ld_to_c64(as_double(*this) * as_double(c)); }
Counter64 Counter64::operator/(const Counter64& c) const { return ld_to_c64(as_double(*this) / as_double(c)); }

Counter64 operator+(unsigned long a, const Counter64& c) { return Counter64(a) + c; }
Counter64 operator-(unsigned long a, const Counter64& c) { return Counter64(a) - c; }
Counter64 operator*(unsigned long a, const Counter64& c) { return Counter64(a) * c; }
Counter64 operator/(unsigned long a, const Counter64& c) { return Counter64(a) / c; }

bool operator==(const Counter64& a, const Counter64& b) { return a.value64() == b.value64(); }
bool operator!=(const Counter64& a, const Counter64& b) { return a.value64() != b.value64(); }
bool operator<(const Counter64& a, const Counter64& b) { return a.value64() < b.value64(); }
bool operator<=(const Counter64& a, const Counter64& b) { return a.value64() <= b.value64(); }
bool operator>(const Counter64& a, const Counter64& b) { return a.value64() > b.value64(); }
bool operator>=(const Counter64& a, const Counter64& b) { return a.value64() >= b.value64(); }
