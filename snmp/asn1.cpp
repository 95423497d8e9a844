#include "asn1.h"

#include <cstring>

namespace {

// Bytes asn_build_length needs for a length.
int length_field_size(uint32_t length) {
  if (length < 0x80) return 1;
  if (length <= 0xFF) return 2;
  if (length <= 0xFFFF) return 3;
  if (length <= 0xFFFFFF) return 4;
  return 5;
}

int subid_size(uint32_t v) {
  int n = 1;
  while (v >>= 7) ++n;
  return n;
}

unsigned char* put_subid(unsigned char* p, uint32_t v) {
  int n = subid_size(v);
  for (int i = n - 1; i >= 0; --i) *p++ = static_cast<unsigned char>(((v >> (7 * i)) & 0x7F) | (i ? 0x80 : 0));
  return p;
}

// Writes header and content in one go once the content's size is known.
unsigned char* build_primitive(unsigned char* data, int* datalength, unsigned char type, const unsigned char* content,
                               int length) {
  data = asn_build_header(data, datalength, type, length);
  if (!data || *datalength < length) return nullptr;
  if (length) std::memcpy(data, content, static_cast<size_t>(length));
  *datalength -= length;
  return data + length;
}

// Runs a cursor parser over (data, *datalength) and accounts for what it consumed.
template <class Parse>
const unsigned char* parse_with(const unsigned char* data, int* datalength, Parse parse) {
  if (!data || !datalength || *datalength < 0) return nullptr;
  ByteCursor in(data, static_cast<size_t>(*datalength));
  if (!parse(in)) return nullptr;
  *datalength -= static_cast<int>(in.offset());
  return in.position();
}

// A string element copied into the caller's buffer of *strlength bytes.
template <class Get>
const unsigned char* parse_bytes(const unsigned char* data, int* datalength, unsigned char* type,
                                 unsigned char* string, int* strlength, Get get) {
  if (!type || !strlength || *strlength < 0) return nullptr;
  return parse_with(data, datalength, [&](ByteCursor& in) {
    ByteCursor c = in;
    const unsigned char* bytes;
    size_t length;
    if (!get(c, *type, bytes, length) || length > static_cast<size_t>(*strlength) || (length && !string))
      return false;
    if (length) std::memcpy(string, bytes, length);
    *strlength = static_cast<int>(length);
    in = c;
    return true;
  });
}

}  // namespace

// ---- builders ------------------------------------------------------------

unsigned char* asn_build_length(unsigned char* data, int* datalength, int length) {
  if (!data || !datalength || length < 0) return nullptr;
  uint32_t len = static_cast<uint32_t>(length);
  int n = length_field_size(len);
  if (*datalength < n) return nullptr;
  if (n == 1) {
    *data++ = static_cast<unsigned char>(len);
  } else {
    *data++ = static_cast<unsigned char>(0x80 | (n - 1));
    for (int i = n - 2; i >= 0; --i) *data++ = static_cast<unsigned char>(len >> (8 * i));
  }
  *datalength -= n;
  return data;
}

unsigned char* asn_build_header(unsigned char* data, int* datalength, unsigned char type, int length) {
  if (!data || !datalength || *datalength < 1) return nullptr;
  *data++ = type;
  *datalength -= 1;
  return asn_build_length(data, datalength, length);
}

unsigned char* asn_build_sequence(unsigned char* data, int* datalength, unsigned char type, int length) {
  if (!data || !datalength || *datalength < 4 || length < 0 || length > 0xFFFF) return nullptr;
  data[0] = type;
  data[1] = 0x82;
  data[2] = static_cast<unsigned char>(length >> 8);
  data[3] = static_cast<unsigned char>(length);
  *datalength -= 4;
  return data + 4;
}

unsigned char* asn_build_int(unsigned char* data, int* datalength, unsigned char type, const int32_t* intp,
                             int intsize) {
  if (!intp || intsize != 4) return nullptr;
  uint32_t v = static_cast<uint32_t>(*intp);
  int size = 4;
  // A leading byte is redundant while it and the next byte's top bit are all
  // zeros or all ones.
  while (size > 1 && ((v & 0xFF800000u) == 0 || (v & 0xFF800000u) == 0xFF800000u)) {
    v <<= 8;
    --size;
  }
  unsigned char content[4];
  for (int i = 0; i < size; ++i) content[i] = static_cast<unsigned char>(v >> (24 - 8 * i));
  return build_primitive(data, datalength, type, content, size);
}

unsigned char* asn_build_unsigned_int(unsigned char* data, int* datalength, unsigned char type, const uint32_t* intp,
                                      int intsize) {
  if (!intp || intsize != 4) return nullptr;
  uint32_t v = *intp;
  int bytes = 1;
  while (bytes < 4 && (v >> (8 * bytes))) ++bytes;
  unsigned char content[5];
  int size = 0;
  if ((v >> (8 * bytes - 8)) & 0x80) content[size++] = 0;  // keep it from reading as negative
  for (int i = bytes - 1; i >= 0; --i) content[size++] = static_cast<unsigned char>(v >> (8 * i));
  return build_primitive(data, datalength, type, content, size);
}

unsigned char* asn_build_string(unsigned char* data, int* datalength, unsigned char type, const unsigned char* string,
                                int strlength) {
  if (strlength < 0 || (strlength > 0 && !string)) return nullptr;
  return build_primitive(data, datalength, type, string, strlength);
}

unsigned char* asn_build_objid(unsigned char* data, int* datalength, unsigned char type, const uint32_t* objid,
                               int objidlength) {
  if (objidlength < 0 || (objidlength > 0 && !objid)) return nullptr;
  uint32_t first = 0;
  if (objidlength >= 2) {
    uint64_t combined = uint64_t(objid[0]) * 40 + objid[1];
    if (objid[0] > 2 || (objid[0] < 2 && objid[1] >= 40) || combined > 0xFFFFFFFFu) return nullptr;
    first = static_cast<uint32_t>(combined);
  }
  int64_t length = subid_size(first);
  for (int i = 2; i < objidlength; ++i) length += subid_size(objid[i]);
  if (length > 0xFFFF) return nullptr;
  data = asn_build_header(data, datalength, type, static_cast<int>(length));
  if (!data || *datalength < length) return nullptr;
  data = put_subid(data, first);
  for (int i = 2; i < objidlength; ++i) data = put_subid(data, objid[i]);
  *datalength -= static_cast<int>(length);
  return data;
}

unsigned char* asn_build_null(unsigned char* data, int* datalength, unsigned char type) {
  return asn_build_header(data, datalength, type, 0);
}

unsigned char* asn_build_bitstring(unsigned char* data, int* datalength, unsigned char type,
                                   const unsigned char* string, int strlength) {
  if (strlength < 1 || !string || string[0] >= 8) return nullptr;
  return build_primitive(data, datalength, type, string, strlength);
}

unsigned char* asn_build_unsigned_int64(unsigned char* data, int* datalength, unsigned char type,
                                        const counter64* cp, int countersize) {
  if (!cp || countersize != 8) return nullptr;
  uint64_t v = (uint64_t(cp->high) << 32) | cp->low;
  unsigned char content[9];
  int size = 0;
  if (cp->high & 0x80000000u) {
    content[size++] = 0;
    for (int i = 7; i >= 0; --i) content[size++] = static_cast<unsigned char>(v >> (8 * i));
  } else {
    int bytes = 8;
    const uint64_t top9 = 0xFF80000000000000ull;
    uint64_t w = v;
    while (bytes > 1 && ((w & top9) == 0 || (w & top9) == top9)) {
      w <<= 8;
      --bytes;
    }
    for (int i = 0; i < bytes; ++i) content[size++] = static_cast<unsigned char>(w >> (56 - 8 * i));
  }
  return build_primitive(data, datalength, type, content, size);
}

// ---- cursor parsers --------------------------------------------------------

bool asn_get_int(ByteCursor& in, unsigned char& type, int32_t& value) {
  ByteCursor c = in, content;
  unsigned char tag;
  if (!asn_get_header(c, tag, content)) return false;
  size_t len = content.remaining();
  // X.690 needs at least one content byte; without it there is no sign to read.
  if (len < 1 || len > 4) return false;
  uint8_t b = 0;
  content.peek_u8(b);
  uint32_t v = (b & 0x80) ? 0xFFFFFFFFu : 0;
  while (content.get_u8(b)) v = (v << 8) | b;
  type = tag;
  value = static_cast<int32_t>(v);
  in = c;
  return true;
}

bool asn_get_unsigned_int(ByteCursor& in, unsigned char& type, uint32_t& value) {
  ByteCursor c = in, content;
  unsigned char tag;
  if (!asn_get_header(c, tag, content)) return false;
  size_t len = content.remaining();
  if (len < 1 || len > 5) return false;
  uint8_t b = 0;
  content.peek_u8(b);
  if (len == 5 && b != 0) return false;
  if (b == 0) content.skip(1);
  uint32_t v = 0;
  while (content.get_u8(b)) v = (v << 8) | b;
  type = tag;
  value = v;
  in = c;
  return true;
}

bool asn_get_unsigned_int64(ByteCursor& in, unsigned char& type, counter64& value) {
  ByteCursor c = in, content;
  unsigned char tag;
  if (!asn_get_header(c, tag, content)) return false;
  size_t len = content.remaining();
  if (len < 1 || len > 9) return false;
  uint8_t b = 0;
  content.peek_u8(b);
  if (len == 9 && b != 0) return false;
  uint64_t v = (b & 0x80) ? ~0ull : 0;
  while (content.get_u8(b)) v = (v << 8) | b;
  type = tag;
  value.high = static_cast<uint32_t>(v >> 32);
  value.low = static_cast<uint32_t>(v);
  in = c;
  return true;
}

bool asn_get_string(ByteCursor& in, unsigned char& type, const unsigned char*& bytes, size_t& length) {
  ByteCursor c = in, content;
  unsigned char tag;
  if (!asn_get_header(c, tag, content)) return false;
  type = tag;
  length = content.remaining();
  content.get_view(bytes, length);
  in = c;
  return true;
}

bool asn_get_bitstring(ByteCursor& in, unsigned char& type, const unsigned char*& bytes, size_t& length) {
  ByteCursor c = in, content;
  unsigned char tag;
  uint8_t unused_bits;
  if (!asn_get_header(c, tag, content) || !content.peek_u8(unused_bits) || unused_bits >= 8) return false;
  type = tag;
  length = content.remaining();
  content.get_view(bytes, length);
  in = c;
  return true;
}

bool asn_get_objid(ByteCursor& in, unsigned char& type, uint32_t* objid, int& count) {
  ByteCursor c = in, content;
  unsigned char tag;
  if (!objid || !asn_get_header(c, tag, content)) return false;
  const int capacity = count;
  int n = 0;
  if (content.empty()) {
    if (capacity < 1) return false;
    objid[n++] = 0;
  }
  // Over the content's bytes directly: every name of every binding comes
  // through here, and the bounds are the content's own.
  const uint8_t* p = content.position();
  const uint8_t* const end = p + content.remaining();
  // One sub-identifier into v; false when it is malformed.
  auto take = [&p, end](uint32_t& v) {
    v = *p++;
    // Most sub-identifiers are below 128: one byte, its own value.
    if (!(v & 0x80)) return true;
    // A leading 0x80 group is forbidden, so more than 32 bits means a real
    // overflow; a sub-identifier that ends with the content is unterminated.
    if (v == 0x80) return false;
    v &= 0x7F;
    uint8_t b;
    do {
      if (p == end || (v >> 25)) return false;
      b = *p++;
      v = (v << 7) | (b & 0x7F);
    } while (b & 0x80);
    return true;
  };
  if (p != end) {
    // The first value carries two arcs: 0.x and 1.x below 40 each, 2.x above.
    uint32_t v;
    if (!take(v) || capacity < 2) return false;
    objid[0] = v < 40 ? 0 : v < 80 ? 1 : 2;
    objid[1] = v - 40 * objid[0];
    n = 2;
  }
  while (p != end) {
    uint32_t v;
    if (!take(v) || n >= capacity) return false;
    objid[n++] = v;
  }
  type = tag;
  count = n;
  in = c;
  return true;
}

bool asn_get_null(ByteCursor& in, unsigned char& type) {
  ByteCursor c = in, content;
  unsigned char tag;
  if (!asn_get_header(c, tag, content) || !content.empty()) return false;
  type = tag;
  in = c;
  return true;
}

// ---- pointer parsers -------------------------------------------------------

const unsigned char* asn_parse_header(const unsigned char* data, int* datalength, unsigned char* type) {
  if (!data || !datalength || *datalength < 0 || !type) return nullptr;
  ByteCursor in(data, static_cast<size_t>(*datalength)), content;
  if (!asn_get_header(in, *type, content)) return nullptr;
  *datalength = static_cast<int>(content.remaining());
  return content.position();
}

const unsigned char* asn_parse_length(const unsigned char* data, int* datalength, uint32_t* length) {
  if (!length) return nullptr;
  return parse_with(data, datalength, [&](ByteCursor& in) { return asn_get_length(in, *length); });
}

const unsigned char* asn_parse_int(const unsigned char* data, int* datalength, unsigned char* type, int32_t* intp,
                                   int intsize) {
  if (!type || !intp || intsize != 4) return nullptr;
  return parse_with(data, datalength, [&](ByteCursor& in) { return asn_get_int(in, *type, *intp); });
}

const unsigned char* asn_parse_unsigned_int(const unsigned char* data, int* datalength, unsigned char* type,
                                            uint32_t* intp, int intsize) {
  if (!type || !intp || intsize != 4) return nullptr;
  return parse_with(data, datalength, [&](ByteCursor& in) { return asn_get_unsigned_int(in, *type, *intp); });
}

const unsigned char* asn_parse_unsigned_int64(const unsigned char* data, int* datalength, unsigned char* type,
                                              counter64* cp, int countersize) {
  if (!type || !cp || countersize != 8) return nullptr;
  return parse_with(data, datalength, [&](ByteCursor& in) { return asn_get_unsigned_int64(in, *type, *cp); });
}

const unsigned char* asn_parse_string(const unsigned char* data, int* datalength, unsigned char* type,
                                      unsigned char* string, int* strlength) {
  return parse_bytes(data, datalength, type, string, strlength, asn_get_string);
}

const unsigned char* asn_parse_bitstring(const unsigned char* data, int* datalength, unsigned char* type,
                                         unsigned char* string, int* strlength) {
  return parse_bytes(data, datalength, type, string, strlength, asn_get_bitstring);
}

const unsigned char* asn_parse_objid(const unsigned char* data, int* datalength, unsigned char* type,
                                     uint32_t* objid, int* objidlength) {
  if (!type || !objidlength) return nullptr;
  return parse_with(data, datalength, [&](ByteCursor& in) { return asn_get_objid(in, *type, objid, *objidlength); });
}

const unsigned char* asn_parse_null(const unsigned char* data, int* datalength, unsigned char* type) {
  if (!type) return nullptr;
  return parse_with(data, datalength, [&](ByteCursor& in) { return asn_get_null(in, *type); });
}
