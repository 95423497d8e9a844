// Basic encoding rules (X.690) as far as SNMP needs them.
//
// Builders write into a caller's buffer: they take the output position and a
// pointer to the room left, and return the position after what they wrote with
// the room decreased, or null when the room is too small or the value cannot be
// encoded. Callers give up the whole message on the first null.
//
// Parsers come in two forms. The cursor forms (asn_get_*) are the real
// decoders: every read is bounded by the cursor, and on failure the cursor is
// left where it was. The pointer forms (asn_parse_*) are the library's classic
// interface for the SNMPv3 code; they run the cursor forms over the given
// position and remaining length, decrease the remaining length by the element
// (the header parser sets it to the content length) and return null on any
// error. Parsers report the tag they found and do not check it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ByteCursor.h"
#include "snmp_constants.h"

// Sub-identifiers an object identifier may hold here (RFC 2578's limit).
#define MAX_OID_LEN 128

// A 64-bit unsigned value as SNMP carries it: high word, then low word.
struct counter64 {
  uint32_t high;
  uint32_t low;
};

// ---- builders ------------------------------------------------------------

unsigned char* asn_build_header(unsigned char* data, int* datalength, unsigned char type, int length);
unsigned char* asn_build_length(unsigned char* data, int* datalength, int length);
// Always the four-byte form (tag, 0x82, two length bytes), so a header can be
// reserved before its content and filled in afterwards. Content over 0xFFFF is
// refused. On failure the room is left unchanged.
unsigned char* asn_build_sequence(unsigned char* data, int* datalength, unsigned char type, int length);
unsigned char* asn_build_int(unsigned char* data, int* datalength, unsigned char type, const int32_t* intp,
                             int intsize);
unsigned char* asn_build_unsigned_int(unsigned char* data, int* datalength, unsigned char type, const uint32_t* intp,
                                      int intsize);
unsigned char* asn_build_string(unsigned char* data, int* datalength, unsigned char type, const unsigned char* string,
                                int strlength);
// Refuses identifiers whose first two arcs cannot be read back as written
// (first arc above 2, second above 39 under arcs 0 and 1, or a combined first
// value above 2^32-1).
unsigned char* asn_build_objid(unsigned char* data, int* datalength, unsigned char type, const uint32_t* objid,
                               int objidlength);
unsigned char* asn_build_null(unsigned char* data, int* datalength, unsigned char type);
unsigned char* asn_build_bitstring(unsigned char* data, int* datalength, unsigned char type,
                                   const unsigned char* string, int strlength);
unsigned char* asn_build_unsigned_int64(unsigned char* data, int* datalength, unsigned char type,
                                        const counter64* cp, int countersize);

// ---- cursor parsers --------------------------------------------------------

// These two are inline: every element of a message passes through them, and
// inlined into their callers the cursors stay in registers.

// Definite length only: short form, or 0x81..0x84 followed by that many bytes.
inline bool asn_get_length(ByteCursor& in, uint32_t& length) {
  ByteCursor c = in;
  uint8_t first;
  if (!c.get_u8(first)) return false;
  uint32_t len = first;
  if (first & 0x80) {
    int n = first & 0x7F;
    if (n < 1 || n > 4) return false;  // indefinite form, or wider than 32 bits
    len = 0;
    for (int i = 0; i < n; ++i) {
      uint8_t b;
      if (!c.get_u8(b)) return false;
      len = (len << 8) | b;
    }
  }
  length = len;
  in = c;
  return true;
}

// One element: `content` becomes a cursor over exactly its content and `in`
// moves past the whole element. Multi-byte tags and contents that run past the
// end of `in` are refused.
inline bool asn_get_header(ByteCursor& in, unsigned char& type, ByteCursor& content) {
  ByteCursor c = in;
  uint8_t tag;
  uint32_t len;
  if (!c.get_u8(tag) || (tag & 0x1F) == 0x1F) return false;
  if (!asn_get_length(c, len)) return false;
  ByteCursor body;
  if (!c.child(len, body)) return false;
  type = tag;
  content = body;
  in = c;
  return true;
}

bool asn_get_int(ByteCursor& in, unsigned char& type, int32_t& value);
bool asn_get_unsigned_int(ByteCursor& in, unsigned char& type, uint32_t& value);
bool asn_get_unsigned_int64(ByteCursor& in, unsigned char& type, counter64& value);
// `bytes` points into the input; the caller copies what it keeps.
bool asn_get_string(ByteCursor& in, unsigned char& type, const unsigned char*& bytes, size_t& length);
bool asn_get_bitstring(ByteCursor& in, unsigned char& type, const unsigned char*& bytes, size_t& length);
// `count` holds the capacity of `objid` on entry and the number of
// sub-identifiers on success. An identifier that does not fit is refused.
bool asn_get_objid(ByteCursor& in, unsigned char& type, uint32_t* objid, int& count);
bool asn_get_null(ByteCursor& in, unsigned char& type);

// ---- pointer parsers -------------------------------------------------------

const unsigned char* asn_parse_header(const unsigned char* data, int* datalength, unsigned char* type);
// Reads a length field that lies within *datalength bytes; returns the position
// after it with *datalength decreased.
const unsigned char* asn_parse_length(const unsigned char* data, int* datalength, uint32_t* length);
const unsigned char* asn_parse_int(const unsigned char* data, int* datalength, unsigned char* type, int32_t* intp,
                                   int intsize);
const unsigned char* asn_parse_unsigned_int(const unsigned char* data, int* datalength, unsigned char* type,
                                            uint32_t* intp, int intsize);
// *strlength holds the room in `string` on entry and the content length on success.
const unsigned char* asn_parse_string(const unsigned char* data, int* datalength, unsigned char* type,
                                      unsigned char* string, int* strlength);
const unsigned char* asn_parse_objid(const unsigned char* data, int* datalength, unsigned char* type,
                                     uint32_t* objid, int* objidlength);
const unsigned char* asn_parse_null(const unsigned char* data, int* datalength, unsigned char* type);
const unsigned char* asn_parse_bitstring(const unsigned char* data, int* datalength, unsigned char* type,
                                         unsigned char* string, int* strlength);
const unsigned char* asn_parse_unsigned_int64(const unsigned char* data, int* datalength, unsigned char* type,
                                              counter64* cp, int countersize);
