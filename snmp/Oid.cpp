#include "Oid.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

namespace {

// Widest "%lu" of a 32-bit sub-identifier plus its '.'.
constexpr unsigned long kCharsPerSubId = 12;

SmiUINT32* new_array(unsigned long n) { return new (std::nothrow) SmiUINT32[n]; }

}  // namespace

Oid::Oid() {
  smival.syntax = sNMP_SYNTAX_OID;
  smival.value.oid.len = 0;
  smival.value.oid.ptr = nullptr;
}

Oid::Oid(const char* text) : Oid() { StrToOid(text, &smival.value.oid); }

Oid::Oid(const SmiUINT32* raw, int n) : Oid() {
  if (raw && n > 0) set_data(raw, static_cast<unsigned int>(n));
}

Oid::Oid(const Oid& other) : Oid() {
  if (other.smival.value.oid.ptr) set_data(other.smival.value.oid.ptr, other.smival.value.oid.len);
}

Oid::~Oid() {
  free_data();
  delete[] iv_str;
}

void Oid::free_data() {
  if (smival.value.oid.ptr != inline_ids) delete[] smival.value.oid.ptr;
  smival.value.oid.ptr = nullptr;
  smival.value.oid.len = 0;
}

SmiUINT32* Oid::storage_for(unsigned long n) { return n <= kInlineIds ? inline_ids : new_array(n); }

SnmpSyntax* Oid::clone() const {
  Oid* copy = new (std::nothrow) Oid(*this);
  return copy;
}

SnmpSyntax& Oid::operator=(const SnmpSyntax& other) {
  if (this == &other) return *this;
  free_data();
  if (other.valid() && other.get_syntax() == sNMP_SYNTAX_OID) {
    const SmiOID& o = other.get_smival().value.oid;
    set_data(o.ptr, o.len);
  }
  return *this;
}

Oid& Oid::operator=(const Oid& other) {
  if (this == &other) return *this;
  if (!other.smival.value.oid.ptr) {
    free_data();
    return *this;
  }
  set_data(other.smival.value.oid.ptr, other.smival.value.oid.len);
  return *this;
}

Oid& Oid::operator=(const char* text) {
  free_data();
  StrToOid(text, &smival.value.oid);
  return *this;
}

void Oid::set_data(const SmiUINT32* raw, unsigned int n) {
  if (!raw || n == 0) {
    free_data();
    return;
  }
  SmiUINT32* const old = smival.value.oid.ptr;
  if (n > smival.value.oid.len || !old) {
    SmiUINT32* fresh = storage_for(n);
    if (!fresh) {
      free_data();
      return;
    }
    if (fresh != old) {
      // The source may be a part of the old array: copy before freeing it.
      std::memmove(fresh, raw, n * sizeof(SmiUINT32));
      if (old && old != inline_ids) delete[] old;
      smival.value.oid.ptr = fresh;
      smival.value.oid.len = n;
      return;
    }
  }
  // memmove: the source may be a part of this identifier's own array.
  std::memmove(smival.value.oid.ptr, raw, n * sizeof(SmiUINT32));
  smival.value.oid.len = n;
}

Oid& Oid::operator+=(const char* text) {
  if (!text) return *this;
  if (*text == '.') ++text;
  std::string scratch;
  scratch.reserve(smival.value.oid.len * kCharsPerSubId + std::strlen(text) + 1);
  if (smival.value.oid.len) {
    scratch.resize(smival.value.oid.len * kCharsPerSubId);
    OidToStr(&smival.value.oid, scratch.size(), &scratch[0]);
    scratch.resize(std::strlen(scratch.c_str()));
  }
  if (!scratch.empty() && *text) scratch += '.';
  scratch += text;
  free_data();
  StrToOid(scratch.c_str(), &smival.value.oid);
  return *this;
}

Oid& Oid::operator+=(unsigned long sub_id) {
  const SmiUINT32 one = static_cast<SmiUINT32>(sub_id);
  Oid tail(&one, 1);
  return *this += tail;
}

Oid& Oid::operator+=(const Oid& other) {
  const SmiOID& o = other.smival.value.oid;
  if (!o.ptr || o.len == 0) return *this;
  const unsigned long mine = smival.value.oid.len;
  const unsigned long n = mine + o.len;
  SmiUINT32* const old = smival.value.oid.ptr;
  SmiUINT32* fresh = storage_for(n);
  if (!fresh) {
    free_data();
    return *this;
  }
  if (fresh != old && mine) std::memmove(fresh, old, mine * sizeof(SmiUINT32));
  // `other` may be this very identifier: its sub-identifiers are still in
  // place (the old array is freed last), and never overlap the room after ours.
  std::memmove(fresh + mine, o.ptr, o.len * sizeof(SmiUINT32));
  if (fresh != old && old && old != inline_ids) delete[] old;
  smival.value.oid.ptr = fresh;
  smival.value.oid.len = static_cast<SmiUINT32>(n);
  return *this;
}

void Oid::trim(unsigned long n) {
  if (n == 0 || n > smival.value.oid.len) return;
  smival.value.oid.len -= static_cast<SmiUINT32>(n);
  if (smival.value.oid.len == 0) free_data();
}

int Oid::nCompare(unsigned long n, const Oid& other) const {
  if (n == 0) return smival.value.oid.len == 0 ? 0 : 1;
  unsigned long m = n;
  bool reduced = false;
  if (m > smival.value.oid.len) {
    m = smival.value.oid.len;
    reduced = true;
  }
  if (m > other.smival.value.oid.len) {
    m = other.smival.value.oid.len;
    reduced = true;
  }
  for (unsigned long i = 0; i < m; ++i) {
    const SmiUINT32 a = smival.value.oid.ptr[i], b = other.smival.value.oid.ptr[i];
    if (a < b) return -1;
    if (a > b) return 1;
  }
  if (!reduced) return 0;
  if (smival.value.oid.len < other.smival.value.oid.len) return -1;
  if (smival.value.oid.len > other.smival.value.oid.len) return 1;
  return 0;
}

int Oid::RnCompare(unsigned long n, const Oid& other) const {
  const unsigned long mine = smival.value.oid.len, theirs = other.smival.value.oid.len;
  if (mine < n || theirs < n) return -1;
  // Positions are counted from this identifier's end; any that lies beyond the
  // other's end cannot be compared.
  if (theirs < mine) return -1;
  for (unsigned long k = 0; k < n; ++k) {
    const unsigned long i = mine - 1 - k;
    const SmiUINT32 a = smival.value.oid.ptr[i], b = other.smival.value.oid.ptr[i];
    if (b < a) return -1;
    if (b > a) return 1;
  }
  return 0;
}

const char* Oid::print_range(unsigned long first, unsigned long n) const {
  const unsigned long size = smival.value.oid.len ? smival.value.oid.len * kCharsPerSubId : 1;
  // The text replaces the previous one; its buffer is kept while it is large enough.
  if (!iv_str || iv_str_size < size) {
    delete[] iv_str;
    iv_str = new (std::nothrow) char[size];
    iv_str_size = iv_str ? size : 0;
    if (!iv_str) return nullptr;
  }
  iv_str[0] = 0;
  if (n == 0) return iv_str;
  SmiOID part;
  part.len = static_cast<SmiUINT32>(n);
  part.ptr = smival.value.oid.ptr + first;
  OidToStr(&part, size, iv_str);
  return iv_str;
}

const char* Oid::get_printable() const { return print_range(0, smival.value.oid.len); }

const char* Oid::get_printable(unsigned long n) const {
  if (n > smival.value.oid.len) return print_range(0, 0);
  return print_range(smival.value.oid.len - n, n);
}

const char* Oid::get_printable(unsigned long start, unsigned long n) const {
  if (n == 0 || start < 1 || start - 1 > smival.value.oid.len || n > smival.value.oid.len - (start - 1))
    return print_range(0, 0);
  return print_range(start - 1, n);
}

int Oid::StrToOid(const char* text, SmiOID* record) {
  if (!text || !*text) {
    record->len = 0;
    record->ptr = nullptr;
    return -1;
  }
  const size_t room = std::strlen(text);
  // Texts of everyday identifiers are parsed on the stack.
  SmiUINT32 local[256];
  SmiUINT32* scratch = room <= 256 ? local : new_array(room);
  if (!scratch) return -1;
  size_t count = 0;
  const char* p = text;
  while (*p && count < room) {
    if (*p == '.') ++p;
    // A run of digits beyond 32 bits wraps modulo 2^32.
    SmiUINT32 number = 0;
    while (*p >= '0' && *p <= '9') number = number * 10u + SmiUINT32(*p++ - '0');
    if (*p == 0 || *p == '.') {
      scratch[count++] = number;
    } else if (*p == '$') {
      ++p;
      while (*p && *p != '$' && count < room) scratch[count++] = static_cast<unsigned char>(*p++);
      if (*p == '$') ++p;
    } else {
      if (scratch != local) delete[] scratch;
      return -1;
    }
  }
  // An identifier needs at least one sub-identifier to be one. Our own record
  // may use the inline array (the callers freed the old content first).
  SmiUINT32* exact = nullptr;
  if (count) exact = record == &smival.value.oid ? storage_for(count) : new_array(count);
  if (exact) std::memcpy(exact, scratch, count * sizeof(SmiUINT32));
  if (scratch != local) delete[] scratch;
  record->ptr = exact;
  record->len = exact ? static_cast<SmiUINT32>(count) : 0;
  return static_cast<int>(record->len);
}

int Oid::OidCopy(const SmiOID* source, SmiOID* target) {
  if (!source || !target || !source->ptr || !target->ptr) return -1;
  std::memcpy(target->ptr, source->ptr, source->len * sizeof(SmiUINT32));
  target->len = source->len;
  return static_cast<int>(source->len);
}

int Oid::OidToStr(const SmiOID* record, unsigned long size, char* buffer) const {
  if (!buffer || size == 0) return -2;
  buffer[0] = 0;
  if (!record || !record->ptr || record->len == 0) return -1;
  unsigned long used = 0;
  for (SmiUINT32 i = 0; i < record->len; ++i) {
    // "%lu" by hand: a walk prints every identifier it meets.
    char digits[16];
    int n = 0;
    for (SmiUINT32 v = record->ptr[i];; v /= 10) {
      digits[n++] = static_cast<char>('0' + v % 10);
      if (v < 10) break;
    }
    for (int a = 0, b = n - 1; a < b; ++a, --b) {
      const char t = digits[a];
      digits[a] = digits[b];
      digits[b] = t;
    }
    digits[n] = 0;
    const unsigned long need = static_cast<unsigned long>(n) + (i ? 1 : 0);
    if (used + need + 1 > size) return -2;
    if (i) buffer[used++] = '.';
    std::memcpy(buffer + used, digits, static_cast<size_t>(n) + 1);
    used += static_cast<unsigned long>(n);
  }
  return static_cast<int>(used);
}

bool operator==(const Oid& a, const Oid& b) { return a.len() == b.len() && a.nCompare(b.len(), b) == 0; }
bool operator!=(const Oid& a, const Oid& b) { return !(a == b); }
bool operator<(const Oid& a, const Oid& b) {
  const int c = a.nCompare(b.len(), b);
  if (c < 0) return true;
  if (c > 0) return false;
  return a.len() < b.len();
}
bool operator<=(const Oid& a, const Oid& b) { return a < b || a == b; }
bool operator>(const Oid& a, const Oid& b) { return !(a <= b); }
bool operator>=(const Oid& a, const Oid& b) { return !(a < b); }
bool operator==(const Oid& a, const char* b) { return a == Oid(b); }
bool operator!=(const Oid& a, const char* b) { return a != Oid(b); }
bool operator<(const Oid& a, const char* b) { return a < Oid(b); }
bool operator<=(const Oid& a, const char* b) { return a <= Oid(b); }
bool operator>(const Oid& a, const char* b) { return a > Oid(b); }
bool operator>=(const Oid& a, const char* b) { return a >= Oid(b); }
