// Variable binding: an object identifier with one value, or with one of the
// SNMPv2 exceptions (noSuchObject, noSuchInstance, endOfMibView).
#pragma once

#include <new>
#include <typeinfo>

#include "Oid.h"

class Vb {
 public:
  Vb();
  Vb(const Oid& oid);
  Vb(const Vb& other);
  // Takes the other's value over; the other is left without one.
  Vb(Vb&& other) noexcept;
  ~Vb();
  Vb& operator=(const Vb& other);
  Vb& operator=(Vb&& other) noexcept;

  // 1 when the OID is valid and the value, if any, is valid.
  int valid() const;

  void set_oid(const Oid& oid) { iv_vb_oid = oid; }
  void set_oid(const SmiUINT32* ids, unsigned int n) { iv_vb_oid.set_data(ids, n); }
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

  // For decoders that fill bindings again and again: the value held, when it
  // is exactly of class T, to be set in place; otherwise a new T replaces it
  // (null when memory runs out). Either way no exception status is left.
  template <class T>
  T* reuse_value() {
    exception_status = 0;
    if (iv_vb_value && typeid(*iv_vb_value) == typeid(T)) return static_cast<T*>(iv_vb_value);
    delete iv_vb_value;
    T* fresh = new (std::nothrow) T();
    iv_vb_value = fresh;
    return fresh;
  }
  friend void set_exception_status(Vb* vb, SmiUINT32 status);

 protected:
  void free_vb();

  Oid iv_vb_oid;
  SnmpSyntax* iv_vb_value;
  SmiUINT32 exception_status;
};

void set_exception_status(Vb* vb, SmiUINT32 status);
