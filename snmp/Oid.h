// Object identifier: a sequence of unsigned 32-bit sub-identifiers, and the
// well-known trap identifiers.
#pragma once

#include "SnmpSyntax.h"

class Oid : public SnmpSyntax {
 public:
  Oid();
  Oid(const char* text);
  // A null array or n of 0 or less gives an empty, invalid Oid.
  Oid(const SmiUINT32* raw, int n);
  Oid(const Oid& other);
  ~Oid() override;

  const char* get_printable() const override;
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_OID; }
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  int valid() const override { return smival.value.oid.ptr != nullptr; }

  virtual Oid& operator=(const Oid& other);
  virtual Oid& operator=(const char* text);

  Oid& operator+=(const char* text);
  Oid& operator+=(unsigned long sub_id);
  Oid& operator+=(const Oid& other);

  void set_data(const SmiUINT32* raw, unsigned int n);
  unsigned long len() const { return smival.value.oid.len; }
  void trim(unsigned long n = 1);
  SmiUINT32& operator[](int i) { return smival.value.oid.ptr[i]; }
  const SmiUINT32& operator[](int i) const { return smival.value.oid.ptr[i]; }
  SmiOID* oidval() { return &smival.value.oid; }
  const SmiOID* oidval() const { return &smival.value.oid; }

  int nCompare(unsigned long n, const Oid& other) const;
  int RnCompare(unsigned long n, const Oid& other) const;

  // The last n sub-identifiers.
  const char* get_printable(unsigned long n) const;
  // n sub-identifiers from the 1-based position start.
  const char* get_printable(unsigned long start, unsigned long n) const;

 protected:
  virtual int StrToOid(const char* text, SmiOID* record);
  virtual int OidCopy(const SmiOID* source, SmiOID* target);
  virtual int OidToStr(const SmiOID* record, unsigned long size, char* buffer) const;

 private:
  // Identifiers of up to this many sub-identifiers (nearly every one a walk
  // meets) live inside the object: no allocation to make, copy or free them.
  static constexpr unsigned kInlineIds = 24;

  void free_data();
  // Room for n sub-identifiers: the inline array when they fit, else a new one.
  SmiUINT32* storage_for(unsigned long n);
  // Writes sub-identifiers [first, first+n) into the text buffer.
  const char* print_range(unsigned long first, unsigned long n) const;

  mutable char* iv_str = nullptr;
  mutable unsigned long iv_str_size = 0;
  SmiUINT32 inline_ids[kInlineIds];
};

bool operator==(const Oid& a, const Oid& b);
bool operator!=(const Oid& a, const Oid& b);
bool operator<(const Oid& a, const Oid& b);
bool operator<=(const Oid& a, const Oid& b);
bool operator>(const Oid& a, const Oid& b);
bool operator>=(const Oid& a, const Oid& b);
bool operator==(const Oid& a, const char* b);
bool operator!=(const Oid& a, const char* b);
bool operator<(const Oid& a, const char* b);
bool operator<=(const Oid& a, const char* b);
bool operator>(const Oid& a, const char* b);
bool operator>=(const Oid& a, const char* b);

class snmpTrapsOid : public Oid {
 public:
  snmpTrapsOid() : Oid("1.3.6.1.6.3.1.1.5") {}
};
class coldStartOid : public snmpTrapsOid {
 public:
  coldStartOid() { *this += ".1"; }
};
class warmStartOid : public snmpTrapsOid {
 public:
  warmStartOid() { *this += ".2"; }
};
class linkDownOid : public snmpTrapsOid {
 public:
  linkDownOid() { *this += ".3"; }
};
class linkUpOid : public snmpTrapsOid {
 public:
  linkUpOid() { *this += ".4"; }
};
class authenticationFailureOid : public snmpTrapsOid {
 public:
  authenticationFailureOid() { *this += ".5"; }
};
class egpNeighborLossOid : public snmpTrapsOid {
 public:
  egpNeighborLossOid() { *this += ".6"; }
};
class snmpTrapEnterpriseOid : public Oid {
 public:
  snmpTrapEnterpriseOid() : Oid("1.3.6.1.6.3.1.1.4.3.0") {}
};
