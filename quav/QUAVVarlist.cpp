#include "QUAVVarlist.h"

#include <arpa/inet.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ByteCursor.h"
#include "DateAndTime.h"
#include "OctetStr.h"
#include "TimeTicks.h"
#include "VhOptionList.h"

namespace {

const BYTE kMagic[4] = {0x09, 0x2B, 0x13, 0x38};

LPTSTR CopyText(LPCTSTR text) {
  if (!text) text = "";
  size_t n = std::strlen(text);
  LPTSTR copy = new char[n + 1];
  std::memcpy(copy, text, n + 1);
  return copy;
}

void FreeText(LPCTSTR text) { delete[] text; }

std::string SelectorBytes(LPCTSTR selector) {
  OctetStr bytes = OctetStr::from_hex_string(OctetStr(selector ? selector : ""));
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.len());
}

CString UpperHex(const BYTE* bytes, size_t n) {
  static const char digits[] = "0123456789ABCDEF";
  CString text;
  for (size_t i = 0; i < n; ++i) {
    text += digits[bytes[i] >> 4];
    text += digits[bytes[i] & 0x0F];
  }
  return text;
}

void PutBe32(std::string& out, uint32_t v) {
  out += char(v >> 24);
  out += char(v >> 16);
  out += char(v >> 8);
  out += char(v);
}

// Doubles travel as two big-endian words, the low-order word first.
void PutDouble(std::string& out, double d) {
  uint64_t bits;
  std::memcpy(&bits, &d, 8);
  PutBe32(out, uint32_t(bits));
  PutBe32(out, uint32_t(bits >> 32));
}

double GetDouble(const BYTE* p) {
  uint64_t low = (uint64_t(p[0]) << 24) | (uint64_t(p[1]) << 16) | (uint64_t(p[2]) << 8) | p[3];
  uint64_t high = (uint64_t(p[4]) << 24) | (uint64_t(p[5]) << 16) | (uint64_t(p[6]) << 8) | p[7];
  uint64_t bits = (high << 32) | low;
  double d;
  std::memcpy(&d, &bits, 8);
  return d;
}

uint32_t GetBe32(const BYTE* p) { return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3]; }

// Decimal texts as the device firmware expects them: the low bits of the
// number; a text that is no number counts as 0.
uint64_t DecimalBits(const CString& text) {
  const char* p = text;
  while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
  if (*p == '-') return uint64_t(std::strtoll(p, nullptr, 10));
  return std::strtoull(p, nullptr, 10);
}

bool IsTrue(const CString& text) { return text.Compare("false") != 0; }

// The value bytes of a text by value type; false when the text cannot be
// sent as that type.
bool EncodeValue(BYTE type, const CString& text, std::string& out) {
  switch (type) {
    case 1:
      out += char(IsTrue(text) ? 1 : 0);
      return true;
    case 2:
    case 3:
      out += char(DecimalBits(text));
      return true;
    case 4:
      out += char(IsTrue(text) ? 1 : 0);
      out += char(0);
      return true;
    case 5:
    case 6: {
      uint64_t v = DecimalBits(text);
      out += char(v >> 8);
      out += char(v);
      return true;
    }
    case 7:
      out += char(IsTrue(text) ? 1 : 0);
      out.append(3, char(0));
      return true;
    case 8:
    case 9:
    case 11:
      PutBe32(out, uint32_t(DecimalBits(text)));
      return true;
    case 10:
      PutDouble(out, std::strtod(text, nullptr));
      return true;
    case 12: {
      // Like a bad address, a text that is no date is refused rather than
      // sent as some other day.
      COleDateTime date = ParseDateTime(text);
      if (date.GetStatus() != COleDateTime::valid) return false;
      PutDouble(out, date.m_dt);
      return true;
    }
    case 13: {
      in_addr addr;
      // A text that is no address must never go out as 255.255.255.255.
      if (inet_pton(AF_INET, text, &addr) != 1) return false;
      out.append(reinterpret_cast<const char*>(&addr), 4);
      return true;
    }
    case 14: {
      std::string mac = SelectorBytes(text);
      if (mac.size() != 6) return false;
      out += mac;
      return true;
    }
    case 15:
    case 16:
      out += SelectorBytes(text);
      return true;
    case 17:
      out.append(text.GetString(), size_t(text.GetLength()));
      return true;
    default:
      return false;
  }
}

// OLE dates the calendar can show: years 100 to 9999.
bool OleDateInRange(double d) { return d >= -657434.0 && d < 2958466.0; }

// The text of a value of the given type, or false when its size does not fit.
bool DecodeValue(BYTE type, const BYTE* p, size_t n, CString& text) {
  static const size_t kSizes[18] = {0, 1, 1, 1, 2, 2, 2, 4, 4, 4, 8, 4, 8, 4, 0, 0, 0, 0};
  if (type == 0 || type > 17) return false;
  if (type == 14) {
    if (n != 6 && n != 17) return false;
  } else if (type < 14 && n != kSizes[type]) {
    return false;
  }
  switch (type) {
    case 1:
      text = p[0] ? "true" : "false";
      break;
    case 2:
      text.Format("%d", int(int8_t(p[0])));
      break;
    case 3:
      text.Format("%d", int(p[0]));
      break;
    case 4:
      text = (p[0] | p[1]) ? "true" : "false";
      break;
    case 5:
      text.Format("%d", int(int16_t((p[0] << 8) | p[1])));
      break;
    case 6:
      text.Format("%d", int((p[0] << 8) | p[1]));
      break;
    case 7:
      text = GetBe32(p) ? "true" : "false";
      break;
    case 8:
      text.Format("%d", int(int32_t(GetBe32(p))));
      break;
    case 9:
      text.Format("%u", unsigned(GetBe32(p)));
      break;
    case 10:
      text.Format("%f", GetDouble(p));
      break;
    case 11:
      text = TimeTicks(GetBe32(p)).get_printable();
      break;
    case 12: {
      double d = GetDouble(p);
      text.Empty();
      if (OleDateInRange(d)) text = COleDateTime(d).Format("%Y/%m/%d %H:%M:%S %p");
      break;
    }
    case 13:
      text.Format("%u.%u.%u.%u", p[0], p[1], p[2], p[3]);
      break;
    case 14:
      if (n == 6) {
        text = UpperHex(p, 6);
      } else {
        text = CString(reinterpret_cast<const char*>(p), int(strnlen(reinterpret_cast<const char*>(p), n)));
        text.Remove(':');
        text.MakeUpper();
      }
      break;
    case 15:
    case 16:
      text = UpperHex(p, n);
      break;
    case 17:
      text = CString(reinterpret_cast<const char*>(p), int(strnlen(reinterpret_cast<const char*>(p), n)));
      break;
  }
  return true;
}

// One item of a datagram, checked against the bytes that hold it.
struct Item {
  BYTE id = 0;
  const uint8_t* selector = nullptr;
  size_t selectorSize = 0;
  const uint8_t* value = nullptr;
  size_t valueSize = 0;
};

// Takes the next item off the cursor; fails, leaving the cursor, when the
// item's own lengths disagree with each other or with the bytes left.
bool ReadItem(ByteCursor& items, Item& item) {
  uint8_t L;
  if (!items.peek_u8(L) || L < 1) return false;
  ByteCursor head;
  if (!items.peek_child(size_t(L) + 3, head)) return false;
  uint16_t itemLength = 0;
  if (!head.skip(size_t(L) + 1) || !head.get_be16(itemLength) || itemLength < size_t(L) + 3) return false;
  ByteCursor body;
  if (!items.peek_child(itemLength, body)) return false;
  body.skip(1);
  body.get_u8(item.id);
  item.selectorSize = size_t(L) - 1;
  body.get_view(item.selector, item.selectorSize);
  body.skip(2);
  item.valueSize = body.remaining();
  body.get_view(item.value, item.valueSize);
  items.skip(itemLength);
  return true;
}

bool SelectorMatches(const Item& item, LPCTSTR selector) {
  return UpperHex(item.selector, item.selectorSize).CompareNoCase(selector ? selector : "") == 0;
}

// Decodes an item's value, unmasking a copy when the value came masked; the
// receive buffer stays as it came, since other variables read it too.
bool DecodeItem(const Item& item, BYTE type, bool masked, CString& value) {
  std::string bytes(reinterpret_cast<const char*>(item.value), item.valueSize);
  if (masked)
    for (char& c : bytes) c = char(BYTE(c) ^ QUAV_LISTEN_MASK);
  return DecodeValue(type, reinterpret_cast<const BYTE*>(bytes.data()), bytes.size(), value);
}

// Writes one item: L, id, selector, item length, value.
int WriteItem(BYTE id, const std::string& selector, const std::string& value, BYTE* out, int size) {
  if (selector.size() > 254) return QUAV_BAD_PACKET;
  size_t length = 1 + 1 + selector.size() + 2 + value.size();
  if (length > 65535) return QUAV_BAD_PACKET;
  if (size < 0 || length > size_t(size)) return QUAV_BAD_PACKET;
  BYTE* p = out;
  *p++ = BYTE(selector.size() + 1);
  *p++ = id;
  std::memcpy(p, selector.data(), selector.size());
  p += selector.size();
  *p++ = BYTE(length >> 8);
  *p++ = BYTE(length);
  if (!value.empty()) std::memcpy(p, value.data(), value.size());
  return int(length);
}

}  // namespace

int QUAVReadHeader(const BYTE* data, int length, QUAVHeader& header) {
  ByteCursor in(data, length > 0 ? size_t(length) : 0);
  BYTE magic[4];
  uint16_t total = 0;
  uint8_t flags = 0;
  if (!in.get_bytes(magic, 4) || std::memcmp(magic, kMagic, 4) != 0 || !in.get_u8(header.command) ||
      !in.get_u8(header.sequence) || !in.get_be16(total) || !in.skip(2) || !in.get_u8(flags) || !in.skip(17) ||
      !in.get_bytes(header.mac, 6) || !in.skip(2) || total != length)
    return QUAV_BAD_PACKET;
  header.status = flags & 0x0F;
  return 0;
}

// ---------------------------------------------------------------------------
// QUAVResponseVarList

QUAVResponseVarList::QUAVResponseVarList() : m_nCount(0), m_pItems(nullptr) {}

QUAVResponseVarList::QUAVResponseVarList(const QUAResponseVar* table) : QUAVResponseVarList() { Append(table); }

QUAVResponseVarList::QUAVResponseVarList(const QUAVResponseVarList& other) : QUAVResponseVarList() {
  *this = other;
}

QUAVResponseVarList& QUAVResponseVarList::operator=(const QUAVResponseVarList& other) {
  if (this == &other) return *this;
  Clear();
  for (int i = 0; i < other.m_nCount; ++i) AppendOne(*other.m_pItems[i]);
  return *this;
}

QUAVResponseVarList::~QUAVResponseVarList() { Clear(); }

void QUAVResponseVarList::AppendOne(const QUAResponseVar& row) {
  QUAResponseVar** items = new QUAResponseVar*[m_nCount + 1];
  for (int i = 0; i < m_nCount; ++i) items[i] = m_pItems[i];
  items[m_nCount] = new QUAResponseVar{row.id,       CopyText(row.selector), CopyText(row.text), row.valueType,
                                       row.access,   row.optionList,         row.value};
  delete[] m_pItems;
  m_pItems = items;
  ++m_nCount;
}

void QUAVResponseVarList::Append(const QUAResponseVar* table) {
  for (; table && table->text; ++table) AppendOne(*table);
}

void QUAVResponseVarList::Delete(int index) {
  if (index < 0 || index >= m_nCount) return;
  FreeText(m_pItems[index]->selector);
  FreeText(m_pItems[index]->text);
  delete m_pItems[index];
  for (int i = index; i + 1 < m_nCount; ++i) m_pItems[i] = m_pItems[i + 1];
  if (--m_nCount == 0) {
    delete[] m_pItems;
    m_pItems = nullptr;
  }
}

void QUAVResponseVarList::Clear() {
  while (m_nCount) Delete(m_nCount - 1);
}

QUAResponseVar* QUAVResponseVarList::operator[](int index) const {
  return index >= 0 && index < m_nCount ? m_pItems[index] : nullptr;
}

QUAResponseVar* QUAVResponseVarList::operator[](LPCTSTR text) const {
  for (int i = 0; i < m_nCount; ++i)
    if (text && std::strcmp(m_pItems[i]->text, text) == 0) return m_pItems[i];
  return nullptr;
}

// ---------------------------------------------------------------------------
// QUAVVarlist

QUAVVarlist::QUAVVarlist()
    : m_nCount(0), m_pItems(nullptr), m_nSecurityLevel(QUAV_SECURITY_NONE), m_nCommand(0) {}

QUAVVarlist::QUAVVarlist(const VhQUAVVar* table) : QUAVVarlist() { Append(table); }

QUAVVarlist::QUAVVarlist(const QUAVVarlist& other) : QUAVVarlist() { *this = other; }

QUAVVarlist& QUAVVarlist::operator=(const QUAVVarlist& other) {
  if (this == &other) return *this;
  Clear();
  for (int i = 0; i < other.m_nCount; ++i) InsertAt(m_nCount, *other.m_pItems[i]);
  return *this;
}

QUAVVarlist::~QUAVVarlist() { Clear(); }

void QUAVVarlist::InsertAt(int index, const VhQUAVVar& row) {
  VhQUAVVar** items = new VhQUAVVar*[m_nCount + 1];
  for (int i = 0, j = 0; i <= m_nCount; ++i)
    if (i != index) items[i] = m_pItems[j++];
  items[index] = new VhQUAVVar{row.id,
                               CopyText(row.selector),
                               CopyText(row.text),
                               row.valueType,
                               row.access,
                               row.optionList,
                               row.responseList ? new QUAVResponseVarList(*row.responseList) : nullptr,
                               row.value};
  delete[] m_pItems;
  m_pItems = items;
  ++m_nCount;
}

void QUAVVarlist::FreeItem(VhQUAVVar* item) {
  FreeText(item->selector);
  FreeText(item->text);
  delete item->responseList;
  delete item;
}

void QUAVVarlist::Append(const VhQUAVVar* table) {
  for (; table && table->text; ++table) InsertAt(m_nCount, *table);
}

int QUAVVarlist::Append(BYTE id, LPCTSTR selector, LPCTSTR text, BYTE valueType, int access,
                        VhOptionList* optionList, QUAVResponseVarList* responseList) {
  InsertAt(m_nCount, VhQUAVVar{id, selector, text, valueType, access, optionList, responseList, CString()});
  return m_nCount;
}

void QUAVVarlist::Insert(int index, BYTE id, LPCTSTR selector, LPCTSTR text, BYTE valueType, int access,
                         VhOptionList* optionList, QUAVResponseVarList* responseList) {
  if (index < 0 || index >= m_nCount) return;
  InsertAt(index, VhQUAVVar{id, selector, text, valueType, access, optionList, responseList, CString()});
}

void QUAVVarlist::Delete(int index) {
  if (index < 0 || index >= m_nCount) return;
  FreeItem(m_pItems[index]);
  for (int i = index; i + 1 < m_nCount; ++i) m_pItems[i] = m_pItems[i + 1];
  if (--m_nCount == 0) {
    delete[] m_pItems;
    m_pItems = nullptr;
  }
}

void QUAVVarlist::Clear() {
  for (int i = 0; i < m_nCount; ++i) FreeItem(m_pItems[i]);
  delete[] m_pItems;
  m_pItems = nullptr;
  m_nCount = 0;
}

VhQUAVVar* QUAVVarlist::operator[](int index) const {
  return index >= 0 && index < m_nCount ? m_pItems[index] : nullptr;
}

VhQUAVVar* QUAVVarlist::operator[](LPCTSTR text) const {
  for (int i = 0; i < m_nCount; ++i)
    if (text && std::strcmp(m_pItems[i]->text, text) == 0) return m_pItems[i];
  return nullptr;
}

int QUAVVarlist::ReadableCount() const {
  int count = 0;
  for (int i = 0; i < m_nCount; ++i) {
    if (m_pItems[i]->responseList)
      count += m_pItems[i]->responseList->Count();
    else if (m_pItems[i]->access & QUAV_READ)
      ++count;
  }
  return count;
}

int QUAVVarlist::WritableCount() const {
  int count = 0;
  for (int i = 0; i < m_nCount; ++i)
    if (m_pItems[i]->access & QUAV_WRITE) ++count;
  return count;
}

CString QUAVVarlist::GetItemValue(int index) {
  VhQUAVVar* item = (*this)[index];
  return item ? item->value : CString();
}

int QUAVVarlist::GetResponseItemCount(int index) {
  VhQUAVVar* item = (*this)[index];
  return item && item->responseList ? item->responseList->Count() : -1;
}

CString QUAVVarlist::GetResponseItemValue(int index, int subIndex) {
  VhQUAVVar* item = (*this)[index];
  if (!item || !item->responseList) return CString();
  QUAResponseVar* sub = (*item->responseList)[subIndex];
  return sub ? sub->value : CString();
}

void QUAVVarlist::SetSecurityMode(SecurtyLevel level, const CString& password) {
  m_nSecurityLevel = level;
  m_strPassword = password;
}

int QUAVVarlist::FillHead(BYTE* out, BYTE sequence, const BYTE* mac) {
  std::memset(out, 0, QUAV_HEADER_SIZE);
  std::memcpy(out, kMagic, 4);
  out[4] = m_nCommand;
  out[5] = sequence;
  if (m_nSecurityLevel == QUAV_SECURITY_MD5 || m_nSecurityLevel == QUAV_SECURITY_HMAC_MD5) out[10] = 0x10;
  std::memcpy(out + 28, mac, 6);
  out[34] = 2;
  return QUAV_HEADER_SIZE;
}

int QUAVVarlist::PutValueToBuffer(BYTE id, LPCTSTR selector, BYTE valueType, const CString& value, BYTE* out,
                                  int size) {
  std::string bytes;
  if (!EncodeValue(valueType, value, bytes)) return QUAV_BAD_VALUE_TYPE;
  return WriteItem(id, SelectorBytes(selector), bytes, out, size);
}

int QUAVVarlist::PutValuesToBuff(BYTE* out, int size) {
  int wanted;
  switch (m_nCommand) {
    case QUAV_CMD_DISCOVER:
    case QUAV_CMD_SET:
      wanted = QUAV_WRITE;
      break;
    case QUAV_CMD_GET:
      wanted = QUAV_READ;
      break;
    case QUAV_CMD_ANNOUNCE:
      return 0;
    default:
      return QUAV_BAD_COMMAND;
  }
  int total = 0;
  for (int i = 0; i < m_nCount; ++i) {
    const VhQUAVVar& item = *m_pItems[i];
    if (!(item.access & wanted) || (item.access & QUAV_SKIP)) continue;
    int length;
    if (wanted == QUAV_READ) {
      length = WriteItem(item.id, SelectorBytes(item.selector), std::string(), out + total, size - total);
    } else {
      CString value = item.optionList ? item.optionList->GetValueOfText(item.value) : item.value;
      length = PutValueToBuffer(item.id, item.selector, item.valueType, value, out + total, size - total);
    }
    if (length < 0) return length;
    total += length;
  }
  return total;
}

int QUAVVarlist::QueryItemValue(BYTE id, LPCTSTR selector, BYTE valueType, CString& value, const BYTE* data,
                                int length) {
  value.Empty();
  ByteCursor items(data, length > 0 ? size_t(length) : 0);
  bool onlyStatus = selector && std::strcmp(selector, "020101") == 0;
  for (;;) {
    // An item whose selector runs past the data cannot hold the variable.
    uint8_t L = 0;
    if (items.peek_u8(L) && size_t(L) + 1 > items.remaining()) return QUAV_BAD_VARIABLE_ID;
    Item item;
    if (!ReadItem(items, item)) return QUAV_BAD_PACKET;
    // Discovery answers carry no SNMP status of their own: an id-0 item ahead
    // means the status asked for is not in this answer.
    if (item.id == 0 && onlyStatus) return QUAV_BAD_VARIABLE_ID;
    if (item.id == id && SelectorMatches(item, selector)) {
      if (!DecodeItem(item, valueType, m_nListen != 0, value)) {
        value.Empty();
        return QUAV_BAD_PACKET;
      }
      return int(items.offset());
    }
    if (items.empty()) return QUAV_BAD_PACKET;
  }
}

int QUAVVarlist::GetValueFromBuffer(BYTE id, LPCTSTR selector, BYTE valueType, CString& value, const BYTE* data,
                                    int length) {
  ByteCursor items(data, length > 0 ? size_t(length) : 0);
  Item item;
  if (!ReadItem(items, item)) return QUAV_BAD_PACKET;
  if (item.id != id || !SelectorMatches(item, selector)) return QUAV_BAD_VARIABLE_ID;
  bool masked = m_nListen && valueType >= 14 && valueType <= 17;
  if (!DecodeItem(item, valueType, masked, value)) return QUAV_BAD_PACKET;
  return int(items.offset());
}

int QUAVVarlist::GetValuesFromBuff(const BYTE* data, int length) {
  for (int i = 0; i < m_nCount; ++i) {
    VhQUAVVar& item = *m_pItems[i];
    if (!(item.access & QUAV_READ)) continue;
    if (item.responseList) {
      for (int j = 0; j < item.responseList->Count(); ++j) {
        QUAResponseVar& sub = *(*item.responseList)[j];
        if (QueryItemValue(sub.id, sub.selector, sub.valueType, sub.value, data, length) >= 0 && sub.optionList)
          sub.value = sub.optionList->GetTextOfValue(sub.value);
      }
    } else if (QueryItemValue(item.id, item.selector, item.valueType, item.value, data, length) >= 0 &&
               item.optionList) {
      item.value = item.optionList->GetTextOfValue(item.value);
    }
  }
  return 0;
}
