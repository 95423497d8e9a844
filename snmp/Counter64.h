// Counter64: a 64-bit counter kept as two 32-bit halves.
#pragma once

#include "SnmpSyntax.h"

class Counter64 : public SnmpSyntax {
 public:
  Counter64();
  Counter64(unsigned long lo);
  Counter64(unsigned long hi, unsigned long lo);
  Counter64(const Counter64& other);

  const char* get_printable() const override;
  SmiUINT32 get_syntax() const override;
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  int valid() const override { return 1; }

  Counter64& operator=(const Counter64& other);
  Counter64& operator=(unsigned long lo);

  unsigned long high() const { return smival.value.hNumber.hipart; }
  unsigned long low() const { return smival.value.hNumber.lopart; }
  void set_high(unsigned long hi) { smival.value.hNumber.hipart = static_cast<SmiUINT32>(hi); }
  void set_low(unsigned long lo) { smival.value.hNumber.lopart = static_cast<SmiUINT32>(lo); }
  // The exact 64-bit value.
  uint64_t value64() const { return (uint64_t(smival.value.hNumber.hipart) << 32) | smival.value.hNumber.lopart; }

  static long double c64_to_ld(const Counter64& c);
  // Negative numbers and NaN give 0; numbers at or above 2^64 give all ones.
  static Counter64 ld_to_c64(long double ld);

  // Arithmetic goes through double precision, as the counters have always done.
  Counter64 operator+(const Counter64& c) const;
  Counter64 operator-(const Counter64& c) const;
  Counter64 operator*(const Counter64& c) const;
  Counter64 operator/(const Counter64& c) const;

 private:
  mutable char output_buffer[32];
};

Counter64 operator+(unsigned long a, const Counter64& c);
Counter64 operator-(unsigned long a, const Counter64& c);
Counter64 operator*(unsigned long a, const Counter64& c);
Counter64 operator/(unsigned long a, const Counter64& c);

// Orders are exact 64-bit comparisons.
bool operator==(const Counter64& a, const Counter64& b);
bool operator!=(const Counter64& a, const Counter64& b);
bool operator<(const Counter64& a, const Counter64& b);
bool operator<=(const Counter64& a, const Counter64& b);
bool operator>(const Counter64& a, const Counter64& b);
bool operator>=(const Counter64& a, const Counter64& b);
