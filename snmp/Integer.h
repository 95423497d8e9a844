// 32-bit SNMP numbers: INTEGER, the unsigned 32-bit value, Counter32, Gauge32.
// Values are exact 32-bit quantities; every entry point taking a `long` keeps
// its low 32 bits, as on the 32-bit platform the system was designed on.
// Shared with the QUAV library: depends on nothing but SnmpSyntax.
#pragma once

#include "SnmpSyntax.h"

class SnmpInt32 : public SnmpSyntax {
 public:
  SnmpInt32();
  SnmpInt32(long value);
  SnmpInt32(const SnmpInt32& other);
  ~SnmpInt32() override;

  const char* get_printable() const override;
  SmiUINT32 get_syntax() const override;
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  int valid() const override;

  SnmpInt32& operator=(long value);
  SnmpInt32& operator=(const SnmpInt32& other);
  operator long() const;

 protected:
  int valid_flag;
  mutable char output_buffer[16];
};

class SnmpUInt32 : public SnmpSyntax {
 public:
  SnmpUInt32();
  SnmpUInt32(unsigned long value);
  SnmpUInt32(const SnmpUInt32& other);
  ~SnmpUInt32() override;

  const char* get_printable() const override;
  SmiUINT32 get_syntax() const override;
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  int valid() const override;

  SnmpUInt32& operator=(unsigned long value);
  SnmpUInt32& operator=(const SnmpUInt32& other);
  operator unsigned long() const;

 protected:
  int valid_flag;
  mutable char output_buffer[16];
};

class Counter32 : public SnmpUInt32 {
 public:
  Counter32();
  Counter32(unsigned long value);
  Counter32(const Counter32& other);

  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override { return SnmpUInt32::operator=(other); }
  Counter32& operator=(unsigned long value);
  Counter32& operator=(const Counter32& other);
};

class Gauge32 : public SnmpUInt32 {
 public:
  Gauge32();
  Gauge32(unsigned long value);
  Gauge32(const Gauge32& other);

  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override { return SnmpUInt32::operator=(other); }
  Gauge32& operator=(unsigned long value);
  Gauge32& operator=(const Gauge32& other);
};
