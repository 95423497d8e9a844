// OCTET STRING: any byte sequence (texts, communities, engine ids, keys).
// Shared with the QUAV library: depends on nothing but SnmpSyntax.
#pragma once

#include "SnmpSyntax.h"

class OctetStr : public SnmpSyntax {
 public:
  OctetStr();
  OctetStr(const char* text);
  OctetStr(const unsigned char* bytes, unsigned long length);
  OctetStr(const OctetStr& other);
  ~OctetStr() override;

  // The bytes followed by a NUL (a 0 byte inside ends the text early).
  const char* get_printable() const override;
  SmiUINT32 get_syntax() const override { return sNMP_SYNTAX_OCTETS; }
  SnmpSyntax* clone() const override;
  SnmpSyntax& operator=(const SnmpSyntax& other) override;
  int valid() const override { return validity; }

  void set_data(const unsigned char* bytes, unsigned long length);
  OctetStr& operator=(const char* text);
  OctetStr& operator=(const OctetStr& other);

  OctetStr& operator+=(const char* text);
  OctetStr& operator+=(const OctetStr& other);
  OctetStr& operator+=(unsigned char byte);

  unsigned long len() const { return smival.value.string.len; }
  unsigned char* data() const { return smival.value.string.ptr; }
  unsigned char& operator[](int i) { return smival.value.string.ptr[i]; }
  const unsigned char& operator[](int i) const { return smival.value.string.ptr[i]; }

  int nCompare(unsigned long n, const OctetStr& other) const;

  // Two upper-case hexadecimal digits a byte, no separators.
  const char* get_printable_hex() const;
  // The bytes spelt by a hexadecimal text; spaces are ignored, other
  // non-digits count as 0, an odd first digit makes a byte of its own.
  static OctetStr from_hex_string(const OctetStr& hex);

 private:
  // Values of up to this many bytes (communities, names, most texts a device
  // answers) live inside the object: no allocation to make, copy or free them.
  static constexpr unsigned kInlineBytes = 32;

  void free_data();
  // Room for n bytes: the inline array when they fit, else a new one.
  unsigned char* storage_for(unsigned long n);
  bool append(const unsigned char* bytes, unsigned long length);
  // The text buffer with room for n characters, kept while it is large enough.
  char* output_room(unsigned long n) const;

  mutable char* output_buffer = nullptr;
  mutable unsigned long output_size = 0;
  int validity;
  unsigned char inline_bytes[kInlineBytes];
};

bool operator==(const OctetStr& a, const OctetStr& b);
bool operator!=(const OctetStr& a, const OctetStr& b);
bool operator<(const OctetStr& a, const OctetStr& b);
bool operator<=(const OctetStr& a, const OctetStr& b);
bool operator>(const OctetStr& a, const OctetStr& b);
bool operator>=(const OctetStr& a, const OctetStr& b);
bool operator==(const OctetStr& a, const char* b);
bool operator!=(const OctetStr& a, const char* b);
bool operator<(const OctetStr& a, const char* b);
bool operator<=(const OctetStr& a, const char* b);
bool operator>(const OctetStr& a, const char* b);
bool operator>=(const OctetStr& a, const char* b);
