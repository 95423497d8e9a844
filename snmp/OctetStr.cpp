#include "OctetStr.h"

#include <cstring>
#include <new>
#include <string>

OctetStr::OctetStr() : validity(1) {
  smival.syntax = sNMP_SYNTAX_OCTETS;
  smival.value.string.len = 0;
  smival.value.string.ptr = nullptr;
}

OctetStr::OctetStr(const char* text) : OctetStr() {
  if (text) set_data(reinterpret_cast<const unsigned char*>(text), std::strlen(text));
}

OctetStr::OctetStr(const unsigned char* bytes, unsigned long length) : OctetStr() { set_data(bytes, length); }

OctetStr::OctetStr(const OctetStr& other) : OctetStr() {
  if (other.len() == 0) return;
  if (!other.validity) {
    validity = 0;
    return;
  }
  set_data(other.data(), other.len());
}

OctetStr::~OctetStr() {
  free_data();
  delete[] output_buffer;
}

void OctetStr::free_data() {
  if (smival.value.string.ptr != inline_bytes) delete[] smival.value.string.ptr;
  smival.value.string.ptr = nullptr;
  smival.value.string.len = 0;
}

unsigned char* OctetStr::storage_for(unsigned long n) {
  return n <= kInlineBytes ? inline_bytes : new (std::nothrow) unsigned char[n];
}

char* OctetStr::output_room(unsigned long n) const {
  if (!output_buffer || output_size < n) {
    delete[] output_buffer;
    output_buffer = new (std::nothrow) char[n];
    output_size = output_buffer ? n : 0;
  }
  return output_buffer;
}

SnmpSyntax* OctetStr::clone() const { return new (std::nothrow) OctetStr(*this); }

void OctetStr::set_data(const unsigned char* bytes, unsigned long length) {
  // The source may lie inside our own bytes: copy before freeing.
  unsigned char* fresh = nullptr;
  if (bytes && length) {
    fresh = storage_for(length);
    if (!fresh) {
      free_data();
      validity = 0;
      return;
    }
    std::memmove(fresh, bytes, length);
  }
  if (smival.value.string.ptr != fresh) free_data();
  smival.value.string.ptr = fresh;
  smival.value.string.len = fresh ? static_cast<SmiUINT32>(length) : 0;
  validity = 1;
}

OctetStr& OctetStr::operator=(const char* text) {
  set_data(reinterpret_cast<const unsigned char*>(text), text ? std::strlen(text) : 0);
  return *this;
}

OctetStr& OctetStr::operator=(const OctetStr& other) {
  if (this == &other || !other.validity) return *this;
  set_data(other.data(), other.len());
  return *this;
}

SnmpSyntax& OctetStr::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  free_data();
  validity = 0;
  const SmiUINT32 syntax = other.get_syntax();
  if (other.valid() && (syntax == sNMP_SYNTAX_OCTETS || syntax == sNMP_SYNTAX_IPADDR)) {
    const SmiOCTETS& s = other.get_smival().value.string;
    set_data(s.ptr, s.len);
  }
  return *this;
}

bool OctetStr::append(const unsigned char* bytes, unsigned long length) {
  if (!bytes || !length) return true;
  const unsigned long mine = len();
  const unsigned long total = mine + length;
  unsigned char* const old = smival.value.string.ptr;
  unsigned char* fresh = storage_for(total);
  if (!fresh) return false;
  if (fresh != old && mine) std::memmove(fresh, old, mine);
  // `bytes` may be our own: they are still in place (the old array is freed
  // last), and never overlap the room after ours.
  std::memmove(fresh + mine, bytes, length);
  if (fresh != old && old && old != inline_bytes) delete[] old;
  smival.value.string.ptr = fresh;
  smival.value.string.len = static_cast<SmiUINT32>(total);
  return true;
}

OctetStr& OctetStr::operator+=(const char* text) {
  if (text) append(reinterpret_cast<const unsigned char*>(text), std::strlen(text));
  return *this;
}

OctetStr& OctetStr::operator+=(const OctetStr& other) {
  if (other.validity) append(other.data(), other.len());
  return *this;
}

OctetStr& OctetStr::operator+=(unsigned char byte) {
  append(&byte, 1);
  return *this;
}

int OctetStr::nCompare(unsigned long n, const OctetStr& other) const {
  if (n == 0) return 0;
  const unsigned long mine = len(), theirs = other.len();
  if (mine == 0 && theirs == 0) return 0;
  if (mine == 0) return -1;
  if (theirs == 0) return 1;
  const unsigned long shorter = mine < theirs ? mine : theirs;
  const unsigned long longer = mine < theirs ? theirs : mine;
  const unsigned long m = shorter < n ? shorter : n;
  for (unsigned long i = 0; i < m; ++i) {
    if (data()[i] < other.data()[i]) return -1;
    if (data()[i] > other.data()[i]) return 1;
  }
  const unsigned long limit = n < longer ? n : longer;
  if (m < limit) return mine < theirs ? -1 : 1;
  return 0;
}

const char* OctetStr::get_printable() const {
  if (!output_room(len() + 1)) return nullptr;
  if (len()) std::memcpy(output_buffer, data(), len());
  output_buffer[len()] = 0;
  return output_buffer;
}

const char* OctetStr::get_printable_hex() const {
  static const char digits[] = "0123456789ABCDEF";
  if (!output_room(2 * len() + 1)) return nullptr;
  for (unsigned long i = 0; i < len(); ++i) {
    output_buffer[2 * i] = digits[data()[i] >> 4];
    output_buffer[2 * i + 1] = digits[data()[i] & 0x0F];
  }
  output_buffer[2 * len()] = 0;
  return output_buffer;
}

OctetStr OctetStr::from_hex_string(const OctetStr& hex) {
  std::string digits;
  for (unsigned long i = 0; i < hex.len(); ++i)
    if (hex.data()[i] != ' ') digits += static_cast<char>(hex.data()[i]);
  auto value = [](char c) -> unsigned {
    if (c >= '0' && c <= '9') return unsigned(c - '0');
    if (c >= 'A' && c <= 'F') return unsigned(c - 'A' + 10);
    if (c >= 'a' && c <= 'f') return unsigned(c - 'a' + 10);
    return 0;
  };
  std::string bytes;
  size_t i = 0;
  if (digits.size() % 2) bytes += static_cast<char>(value(digits[i++]));
  for (; i + 1 < digits.size(); i += 2) bytes += static_cast<char>(value(digits[i]) * 16 + value(digits[i + 1]));
  return OctetStr(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

namespace {
int order(const OctetStr& a, const OctetStr& b) { return a.nCompare(a.len() > b.len() ? a.len() : b.len(), b); }
}  // namespace

bool operator==(const OctetStr& a, const OctetStr& b) { return order(a, b) == 0; }
bool operator!=(const OctetStr& a, const OctetStr& b) { return order(a, b) != 0; }
bool operator<(const OctetStr& a, const OctetStr& b) { return order(a, b) < 0; }
bool operator<=(const OctetStr& a, const OctetStr& b) { return order(a, b) <= 0; }
bool operator>(const OctetStr& a, const OctetStr& b) { return order(a, b) > 0; }
bool operator>=(const OctetStr& a, const OctetStr& b) { return order(a, b) >= 0; }
bool operator==(const OctetStr& a, const char* b) { return a == OctetStr(b); }
bool operator!=(const OctetStr& a, const char* b) { return a != OctetStr(b); }
bool operator<(const OctetStr& a, const char* b) { return a < OctetStr(b); }
bool operator<=(const OctetStr& a, const char* b) { return a <= OctetStr(b); }
bool operator>(const OctetStr& a, const char* b) { return a > OctetStr(b); }
bool operator>=(const OctetStr& a, const char* b) { return a >= OctetStr(b); }
