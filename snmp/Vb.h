// Variable binding: an object identifier with one value, or with one of the
// SNMPv2 exceptions (noSuchObject, noSuchInstance, endOfMibView).
#pragma once

#include "Oid.h"

class Vb {
 public:
  Vb();
  Vb(const Oid& oid);
  Vb(const Vb& other);
  ~Vb();
  Vb& operator=(const Vb& other);

  // 1 when the OID is valid and the value, if any, is valid.
  int valid() const;

  void set_oid(const Oid& oid) { iv_vb_oid = oid; }
  void get_oid(Oid& oid) const { oid = iv_vb_oid; }
  const Oid& get_oid() const { return iv_vb_oid; }

  void set_value(int i);
  void set_value(long i);
  void set_value(unsigned long u);
  void set_value(const SnmpSyntax& value);
  void set_value(const char* text);
  void set_null() { free_vb(); }

  // Each returns 0, or -10 (SNMP_CLASS_INVALID) for a missing, invalid or
  // mistyped value.
  int get_value(int& i) const;
  int get_value(long& i) const;
  int get_value(unsigned long& u) const;
  // On failure the buffer's first byte becomes 0x30 and the length 0.
  int get_value(unsigned char* buffer, unsigned long& length) const;
  int get_value(unsigned char* buffer, unsigned long& length, unsigned long max) const;
  // The caller provides room for length + 1 characters.
  int get_value(char* buffer) const;
  int get_value(SnmpSyntax& value) const;

  // The value itself, or null.
  const SnmpSyntax* get_value_ptr() const { return iv_vb_value; }

  // The exception status when set; else the value's syntax; else NULL.
  SmiUINT32 get_syntax() const;
  // An empty value of the syntax, or an exception status.
  void set_syntax(SmiUINT32 syntax);

  const char* get_printable_value() const;
  const char* get_printable_oid() const { return iv_vb_oid.get_printable(); }

  SmiUINT32 get_exception_status() const { return exception_status; }
  friend void set_exception_status(Vb* vb, SmiUINT32 status);

 protected:
  void free_vb();

  Oid iv_vb_oid;
  SnmpSyntax* iv_vb_value;
  SmiUINT32 exception_status;
};

void set_exception_status(Vb* vb, SmiUINT32 status);
