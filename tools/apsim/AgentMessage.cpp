#include "AgentMessage.h"

#include <algorithm>

namespace apsim {

namespace {

// A bounded view of a message; every read checks what is left.
struct Span {
  const uint8_t* p;
  size_t n;
};

bool ReadTlv(Span& in, uint8_t& tag, Span& content) {
  if (in.n < 2) return false;
  tag = in.p[0];
  size_t length = in.p[1], used = 2;
  if (length & 0x80) {
    size_t bytes = length & 0x7F;
    if (bytes == 0 || bytes > 3 || in.n < 2 + bytes) return false;
    length = 0;
    for (size_t i = 0; i < bytes; ++i) length = (length << 8) | in.p[2 + i];
    used += bytes;
  }
  if (in.n - used < length) return false;
  content = {in.p + used, length};
  in.p += used + length;
  in.n -= used + length;
  return true;
}

bool ReadInteger(Span& in, int32_t& value) {
  uint8_t tag;
  Span c;
  if (!ReadTlv(in, tag, c) || tag != kInteger || c.n < 1 || c.n > 4) return false;
  uint32_t v = (c.p[0] & 0x80) ? 0xFFFFFFFFu : 0;
  for (size_t i = 0; i < c.n; ++i) v = (v << 8) | c.p[i];
  value = static_cast<int32_t>(v);
  return true;
}

bool DecodeOid(Span c, Oid& oid) {
  if (c.n < 1 || c.n > 128) return false;
  oid = {static_cast<uint32_t>(std::min(c.p[0] / 40, 2)), static_cast<uint32_t>(c.p[0] - 40 * std::min(c.p[0] / 40, 2))};
  uint64_t arc = 0;
  for (size_t i = 1; i < c.n; ++i) {
    arc = (arc << 7) | (c.p[i] & 0x7F);
    if (arc > 0xFFFFFFFFu) return false;
    if (!(c.p[i] & 0x80)) {
      oid.push_back(static_cast<uint32_t>(arc));
      arc = 0;
    } else if (i + 1 == c.n) {
      return false;  // the last arc goes on past the end
    }
  }
  return true;
}

void PutTlv(Bytes& out, uint8_t tag, const Bytes& content) {
  out.push_back(tag);
  size_t n = content.size();
  if (n < 0x80) {
    out.push_back(static_cast<uint8_t>(n));
  } else {
    int bytes = n < 0x100 ? 1 : n < 0x10000 ? 2 : 3;
    out.push_back(static_cast<uint8_t>(0x80 | bytes));
    PutBE(out, n, bytes);
  }
  out.insert(out.end(), content.begin(), content.end());
}

Bytes OidContent(const Oid& oid) {
  Bytes out;
  if (oid.size() < 2) return {0};
  out.push_back(static_cast<uint8_t>(oid[0] * 40 + oid[1]));
  for (size_t i = 2; i < oid.size(); ++i) {
    Bytes arc;
    uint32_t v = oid[i];
    do {
      arc.insert(arc.begin(), static_cast<uint8_t>((v & 0x7F) | (arc.empty() ? 0 : 0x80)));
      v >>= 7;
    } while (v);
    out.insert(out.end(), arc.begin(), arc.end());
  }
  return out;
}

}  // namespace

std::optional<SnmpMessage> ParseSnmp(const uint8_t* data, size_t length) {
  Span in{data, length}, message, pdu, list;
  uint8_t tag;
  SnmpMessage m;
  int32_t version;
  if (!ReadTlv(in, tag, message) || tag != kSequence || in.n != 0) return std::nullopt;
  if (!ReadInteger(message, version) || (version != 0 && version != 1)) return std::nullopt;
  m.version = version;
  Span community;
  if (!ReadTlv(message, tag, community) || tag != kOctets) return std::nullopt;
  m.community.assign(community.p, community.p + community.n);
  if (!ReadTlv(message, tag, pdu) || message.n != 0) return std::nullopt;
  m.pdu = tag;
  if (!ReadInteger(pdu, m.request_id) || !ReadInteger(pdu, m.error_status) || !ReadInteger(pdu, m.error_index))
    return std::nullopt;
  if (!ReadTlv(pdu, tag, list) || tag != kSequence || pdu.n != 0) return std::nullopt;
  while (list.n > 0) {
    Span bind, oid, value;
    VarBind vb;
    if (!ReadTlv(list, tag, bind) || tag != kSequence) return std::nullopt;
    if (!ReadTlv(bind, tag, oid) || tag != kOidTag || !DecodeOid(oid, vb.oid)) return std::nullopt;
    if (!ReadTlv(bind, vb.tag, value) || bind.n != 0) return std::nullopt;
    vb.value.assign(value.p, value.p + value.n);
    m.binds.push_back(std::move(vb));
  }
  return m;
}

Bytes IntegerContent(int64_t v) {
  Bytes out;
  int bytes = 1;
  while (bytes < 4 && (v < -(int64_t(1) << (8 * bytes - 1)) || v >= (int64_t(1) << (8 * bytes - 1)))) ++bytes;
  PutBE(out, static_cast<uint64_t>(v), bytes);
  return out;
}

std::optional<int32_t> DecodeInteger(const Bytes& content) {
  Bytes whole;
  PutTlv(whole, kInteger, content);
  Span in{whole.data(), whole.size()};
  int32_t v;
  if (!ReadInteger(in, v)) return std::nullopt;
  return v;
}

Bytes EncodeResponse(const SnmpMessage& request, int status, int index, const std::vector<VarBind>& binds) {
  Bytes list;
  for (const VarBind& vb : binds) {
    Bytes bind;
    PutTlv(bind, kOidTag, OidContent(vb.oid));
    PutTlv(bind, vb.tag, vb.value);
    PutTlv(list, kSequence, bind);
  }
  Bytes pdu;
  PutTlv(pdu, kInteger, IntegerContent(request.request_id));
  PutTlv(pdu, kInteger, IntegerContent(status));
  PutTlv(pdu, kInteger, IntegerContent(index));
  PutTlv(pdu, kSequence, list);
  Bytes message;
  PutTlv(message, kInteger, IntegerContent(request.version));
  PutTlv(message, kOctets, Bytes(request.community.begin(), request.community.end()));
  PutTlv(message, kResponsePdu, pdu);
  Bytes out;
  PutTlv(out, kSequence, message);
  return out;
}

}  // namespace apsim
