// Text forms of SNMP values shared by the request object's conversions.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "SnmpVarList.h"
#include "VhString.h"
#include "afx.h"

namespace snmpvalue {

inline const char* const kNull = "(NULL)";
inline const char* const kNotDone = "(NOTDONE)";
inline const char* const kDateFormat = "%Y/%m/%d %H:%M:%S %p";

inline bool IsBooleanSyntax(int s) { return s == SVS_BOOLEAN || s == SVS_BOOL8 || s == SVS_BOOL16; }
inline bool IsUnsignedSyntax(int s) { return s == SVS_COUNTER || s == SVS_GAUGE || s == SVS_UINTEGER; }
inline bool IsOctetSyntax(int s) { return s == SVS_BITSTR || s == SVS_OCTETSTR || s == SVS_OPAQUE || s == SVS_MACADDRESS; }

inline CString Decimal(long long n) {
  CString text;
  text.Format("%lld", n);
  return text;
}

inline CString HexOf(const unsigned char* bytes, unsigned long length) {
  CString text;
  for (unsigned long i = 0; i < length; ++i) text.AppendFormat("%02X", bytes[i]);
  return text;
}

inline std::vector<unsigned char> BytesOfHex(const CString& text) {
  std::vector<unsigned char> bytes;
  for (int i = 0; i + 1 < text.GetLength(); i += 2) {
    char pair[3] = {text[i], text[i + 1], 0};
    bytes.push_back(static_cast<unsigned char>(strtoul(pair, nullptr, 16)));
  }
  return bytes;
}

// The value as the option list stores it (the text the user sees goes in).
inline CString OptionValue(const SnmpVarItem* item) {
  return item->optionList ? item->optionList->GetValueOfText(*item->value) : *item->value;
}

inline void ShowAsOption(SnmpVarItem* item) {
  if (item->optionList) *item->value = item->optionList->GetTextOfValue(*item->value);
}

inline CString DateText(double date) {
  COleDateTime time(date);
  return time.Format(kDateFormat);
}

// Hundredths of a second from a decimal text or a time-ticks text
// ("[D days, ]H:MM:SS.hh").
inline unsigned long TicksOf(const CString& text) {
  if (VhIsDecimal(text)) return strtoul(text, nullptr, 10);
  unsigned long days = 0, hours = 0, minutes = 0, seconds = 0, hundredths = 0;
  const char* p = text;
  if (strstr(p, "day")) {
    days = strtoul(p, nullptr, 10);
    const char* after = strchr(p, ' ');
    after = after ? strchr(after + 1, ' ') : nullptr;
    p = after ? after + 1 : "";
  }
  if (sscanf(p, "%lu:%lu:%lu.%lu", &hours, &minutes, &seconds, &hundredths) < 1) return 0;
  return (((days * 24 + hours) * 60 + minutes) * 60 + seconds) * 100 + hundredths;
}

// Little-endian bytes of a double, whatever the host's order.
inline void DoubleToBytes(double value, unsigned char out[8]) {
  uint64_t bits;
  memcpy(&bits, &value, 8);
  for (int i = 0; i < 8; ++i) out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

inline double DoubleFromBytes(const unsigned char in[8]) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | in[i];
  double value;
  memcpy(&value, &bits, 8);
  return value;
}

// Takes the next sub-identifier of a row index; false when none is left.
inline bool TakeSubId(CString& index, unsigned long& value) {
  if (index.IsEmpty()) return false;
  int dot = index.Find('.');
  CString head = dot < 0 ? index : index.Left(dot);
  index = dot < 0 ? CString() : index.Mid(dot + 1);
  value = strtoul(head, nullptr, 10);
  return true;
}

}  // namespace snmpvalue
