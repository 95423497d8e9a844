// The request object's value conversions: row indexes, bindings and derived
// values, each by the item's SMI syntax.
#include <cmath>

#include "CVHException.h"
#include "Counter64.h"
#include "DateAndTime.h"
#include "Snmp.h"
#include "SnmpRequest.h"
#include "SnmpValueText.h"

using namespace snmpvalue;

namespace {

// Octet and OID keys carry their length first, unless the last key is marked
// implied and runs to the end of the index.
bool IsImplied(const SnmpVarList& list, int item) {
  return item == list.m_nKeyCount - 1 && (list.GetItem(item)->access & SVA_FLAG);
}

void AppendSubIds(CString& index, const std::vector<unsigned long>& ids, bool withLength) {
  if (withLength) index += Decimal(static_cast<long long>(ids.size()));
  for (unsigned long id : ids) {
    if (!index.IsEmpty()) index += ".";
    index += Decimal(static_cast<long long>(id));
  }
}

// An 8-byte floating-point number in a row index: its little-endian bytes as
// two sub-identifiers, the first four bytes, then the last four, each read as
// a little-endian word.
void AppendDouble(std::vector<unsigned long>& ids, double number) {
  unsigned char bytes[8];
  DoubleToBytes(number, bytes);
  for (int half = 0; half < 2; ++half) {
    unsigned long word = 0;
    for (int k = 3; k >= 0; --k) word = (word << 8) | bytes[half * 4 + k];
    ids.push_back(word);
  }
}

double DoubleOfIds(const std::vector<unsigned long>& ids) {
  unsigned char bytes[8] = {};
  for (size_t half = 0; half < 2 && half < ids.size(); ++half)
    for (int k = 0; k < 4; ++k) bytes[half * 4 + k] = static_cast<unsigned char>(ids[half] >> (8 * k));
  return DoubleFromBytes(bytes);
}

}  // namespace

void SnmpRequest::ValueToIndex(int i, CString& index, SnmpVarList& list) {
  SnmpVarItem* item = list.GetItem(i);
  CString value = OptionValue(item);
  index.Empty();
  std::vector<unsigned long> ids;
  bool withLength = false;
  switch (item->syntax) {
    case SVS_BOOLEAN:
      ids.push_back(value == "true" ? 1 : 0);
      break;
    case SVS_INTEGER:
    case SVS_COUNTER:
    case SVS_GAUGE:
    case SVS_UINTEGER:
      ids.push_back(static_cast<unsigned long>(strtoll(value, nullptr, 10)) & 0xFFFFFFFFul);
      break;
    case SVS_TIMETICKS:
      ids.push_back(TicksOf(value));
      break;
    case SVS_COUNTER64: {
      unsigned long long n = strtoull(value, nullptr, 10);
      ids.push_back(static_cast<unsigned long>(n >> 32));
      ids.push_back(static_cast<unsigned long>(n & 0xFFFFFFFFull));
      break;
    }
    case SVS_IPADDRESS:
    case SVS_NSAPADDR: {
      unsigned a = 0, b = 0, c = 0, d = 0;
      sscanf(value, "%u.%u.%u.%u", &a, &b, &c, &d);
      ids = {a & 0xFF, b & 0xFF, c & 0xFF, d & 0xFF};
      break;
    }
    case SVS_MACADDRESS: {
      std::vector<unsigned char> bytes = BytesOfHex(value);
      if (bytes.size() >= 6) ids.assign(bytes.begin(), bytes.begin() + 6);
      break;
    }
    case SVS_DOUBLE:
      AppendDouble(ids, atof(value));
      break;
    case SVS_BCDATETIME:
      AppendDouble(ids, static_cast<double>(ParseDateTime(value)));
      break;
    case SVS_DATETIME: {
      DateAndTime date(value);
      date.SwapYearBytes();
      const unsigned char* bytes = reinterpret_cast<const unsigned char*>(&date);
      ids.assign(bytes, bytes + sizeof date);
      break;
    }
    case SVS_BITSTR:
    case SVS_OCTETSTR:
    case SVS_OPAQUE: {
      std::vector<unsigned char> bytes = BytesOfHex(value);
      ids.assign(bytes.begin(), bytes.end());
      withLength = !IsImplied(list, i);
      break;
    }
    case SVS_DISPLAYSTR:
      for (int k = 0; k < value.GetLength(); ++k) ids.push_back(static_cast<unsigned char>(value[k]));
      withLength = !IsImplied(list, i);
      break;
    case SVS_NULL:
    case SVS_OBJECTID: {
      CString rest = value;
      unsigned long id;
      while (item->syntax == SVS_OBJECTID && TakeSubId(rest, id)) ids.push_back(id);
      withLength = !IsImplied(list, i);
      break;
    }
    default:
      VhThrow(-511);
  }
  AppendSubIds(index, ids, withLength);
}

CString SnmpRequest::IndexToValue(int i, CString index, SnmpVarList& list) {
  SnmpVarItem* item = list.GetItem(i);
  CString& value = *item->value;
  unsigned long id = 0;
  auto take = [&](unsigned long count, std::vector<unsigned long>& out) {
    for (unsigned long k = 0; k < count && TakeSubId(index, id); ++k) out.push_back(id);
  };
  auto lengthOrRest = [&]() -> unsigned long {
    if (IsImplied(list, i)) return 0xFFFFFFFFul;
    unsigned long n = 0;
    TakeSubId(index, n);
    return n;
  };
  std::vector<unsigned long> ids;
  switch (item->syntax) {
    case SVS_BOOLEAN:
      TakeSubId(index, id);
      value = id ? "true" : "false";
      break;
    case SVS_INTEGER:
      TakeSubId(index, id);
      value = Decimal(static_cast<int32_t>(id));
      break;
    case SVS_COUNTER:
    case SVS_GAUGE:
    case SVS_UINTEGER:
    case SVS_TIMETICKS:
      TakeSubId(index, id);
      value = Decimal(static_cast<uint32_t>(id));
      break;
    case SVS_COUNTER64:
      take(2, ids);
      ids.resize(2, 0);
      value = Decimal(static_cast<long long>((static_cast<unsigned long long>(ids[0]) << 32) | ids[1]));
      break;
    case SVS_IPADDRESS:
    case SVS_NSAPADDR:
      take(4, ids);
      ids.resize(4, 0);
      value.Format("%lu.%lu.%lu.%lu", ids[0] & 0xFF, ids[1] & 0xFF, ids[2] & 0xFF, ids[3] & 0xFF);
      break;
    case SVS_MACADDRESS: {
      take(6, ids);
      std::vector<unsigned char> bytes(ids.begin(), ids.end());
      value = HexOf(bytes.data(), bytes.size());
      break;
    }
    case SVS_DOUBLE:
      take(2, ids);
      value.Format("%f", DoubleOfIds(ids));
      break;
    case SVS_BCDATETIME:
      take(2, ids);
      value = DateText(DoubleOfIds(ids));
      break;
    case SVS_DATETIME: {
      // A short index leaves the missing bytes zero.
      take(11, ids);
      DateAndTime date;
      unsigned char* bytes = reinterpret_cast<unsigned char*>(&date);
      for (size_t k = 0; k < sizeof date; ++k) bytes[k] = k < ids.size() ? static_cast<unsigned char>(ids[k]) : 0;
      date.SwapYearBytes();
      value = date.Format();
      break;
    }
    case SVS_BITSTR:
    case SVS_OCTETSTR:
    case SVS_OPAQUE:
    case SVS_DISPLAYSTR: {
      take(lengthOrRest(), ids);
      std::vector<unsigned char> bytes(ids.begin(), ids.end());
      value = item->syntax == SVS_DISPLAYSTR ? CString(reinterpret_cast<const char*>(bytes.data()),
                                                       static_cast<int>(bytes.size()))
                                             : HexOf(bytes.data(), bytes.size());
      break;
    }
    case SVS_NULL:
      take(lengthOrRest(), ids);
      value = kNull;
      break;
    case SVS_OBJECTID:
      take(lengthOrRest(), ids);
      value.Empty();
      AppendSubIds(value, ids, false);
      break;
    default:
      VhThrow(-511);
  }
  ShowAsOption(item);
  return index;
}

void SnmpRequest::VbToValue(int i, const Vb& vb, SnmpVarList& list) {
  SnmpVarItem* item = list.GetItem(i);
  CString& value = *item->value;
  const SnmpSyntax* syntax = vb.get_value_ptr();
  CString printable = vb.get_printable_value();
  const OctetStr* octets = dynamic_cast<const OctetStr*>(syntax);
  long number = 0;
  unsigned long unsignedNumber = 0;
  switch (item->syntax) {
    case SVS_BOOLEAN:
      vb.get_value(number);
      value = number ? "true" : "false";
      break;
    case SVS_INTEGER:
      vb.get_value(number);
      value = Decimal(static_cast<int32_t>(number));
      break;
    case SVS_COUNTER:
    case SVS_GAUGE:
    case SVS_UINTEGER:
      vb.get_value(unsignedNumber);
      value = Decimal(static_cast<uint32_t>(unsignedNumber));
      break;
    case SVS_COUNTER64:
    case SVS_TIMETICKS:
    case SVS_OBJECTID:
    case SVS_IPADDRESS:
    case SVS_NSAPADDR:
      value = printable;
      break;
    case SVS_BITSTR:
    case SVS_OCTETSTR:
    case SVS_OPAQUE:
    case SVS_MACADDRESS:
      value = octets ? HexOf(octets->data(), octets->len()) : CString();
      break;
    case SVS_DISPLAYSTR:
      value = octets ? CString(reinterpret_cast<const char*>(octets->data()), static_cast<int>(octets->len()))
                     : CString();
      break;
    case SVS_DOUBLE:
      if (octets && octets->len() == 8) value.Format("%f", DoubleFromBytes(octets->data()));
      else value = kNull;
      break;
    case SVS_DATETIME:
      if (octets && octets->len() >= 11) {
        DateAndTime date;
        memcpy(&date, octets->data(), 11);
        date.SwapYearBytes();
        value = date.Format();
      } else {
        value = kNull;
      }
      break;
    case SVS_BCDATETIME:
      value = (octets && octets->len() == 8) ? DateText(DoubleFromBytes(octets->data())) : CString(kNull);
      break;
    case SVS_NULL:
      value = kNull;
      break;
    default:
      VhThrow(-511);
  }
  if (printable.IsEmpty() && !IsOctetSyntax(item->syntax))
    value = item->syntax == SVS_DISPLAYSTR ? CString() : CString(kNull);
  ShowAsOption(item);
}

void SnmpRequest::ValueToVb(int i, Vb& vb, SnmpVarList& list) {
  SnmpVarItem* item = list.GetItem(i);
  CString value = OptionValue(item);
  if (value == kNull) {
    vb.set_null();
    return;
  }
  switch (item->syntax) {
    case SVS_BOOLEAN:
      vb.set_value(SnmpInt32(value == "true" ? 1 : 0));
      break;
    case SVS_INTEGER:
      vb.set_value(SnmpInt32(strtol(value, nullptr, 10)));
      break;
    case SVS_BITSTR:
    case SVS_OCTETSTR:
    case SVS_OPAQUE:
    case SVS_MACADDRESS: {
      std::vector<unsigned char> bytes = BytesOfHex(value);
      OctetStr octets(bytes.data(), bytes.size());
      vb.set_value(octets);
      break;
    }
    case SVS_OBJECTID:
      vb.set_value(Oid(static_cast<LPCTSTR>(value)));
      break;
    case SVS_IPADDRESS:
    case SVS_NSAPADDR:
      vb.set_value(IpAddress(static_cast<LPCTSTR>(value)));
      break;
    case SVS_COUNTER:
      vb.set_value(Counter32(strtoul(value, nullptr, 10)));
      break;
    case SVS_GAUGE:
      vb.set_value(Gauge32(strtoul(value, nullptr, 10)));
      break;
    case SVS_UINTEGER:
      vb.set_value(SnmpUInt32(strtoul(value, nullptr, 10)));
      break;
    case SVS_TIMETICKS:
      vb.set_value(TimeTicks(strtoul(value, nullptr, 10)));
      break;
    case SVS_COUNTER64:
      vb.set_value(Counter64(strtoul(value, nullptr, 10) & 0xFFFFFFFFul));
      break;
    case SVS_NULL:
      vb.set_null();
      break;
    case SVS_DATETIME: {
      DateAndTime date(value);
      date.SwapYearBytes();
      vb.set_value(OctetStr(reinterpret_cast<const unsigned char*>(&date), 11));
      break;
    }
    case SVS_DOUBLE:
    case SVS_BCDATETIME: {
      double number = item->syntax == SVS_DOUBLE ? atof(value) : static_cast<double>(ParseDateTime(value));
      unsigned char bytes[8];
      DoubleToBytes(number, bytes);
      vb.set_value(OctetStr(bytes, 8));
      break;
    }
    case SVS_DISPLAYSTR:
      vb.set_value(OctetStr(reinterpret_cast<const unsigned char*>(static_cast<LPCTSTR>(value)),
                            static_cast<unsigned long>(value.GetLength())));
      break;
    default:
      VhThrow(-511);
  }
}

CString SnmpRequest::SubstituteItems(const CString& text, TCHAR marker, bool quote, SnmpVarList& list) {
  CString out;
  for (int k = 0; k < text.GetLength();) {
    if (text[k] != marker || k + 1 >= text.GetLength() || !isdigit(static_cast<unsigned char>(text[k + 1]))) {
      out += text[k++];
      continue;
    }
    int end = k + 1;
    while (end < text.GetLength() && isdigit(static_cast<unsigned char>(text[end]))) ++end;
    int position = atoi(text.Mid(k + 1, end - k - 1));
    k = end;
    if (position < 0 || position >= list.GetCount()) {
      out += kNull;
      continue;
    }
    SnmpVarItem* item = list.GetItem(position);
    CString value = OptionValue(item);
    if (value == kNull) VhThrow(-512);
    int s = item->syntax;
    if (IsBooleanSyntax(s)) {
      out += value == "true" ? "1" : "0";
    } else if (s == SVS_INTEGER || IsUnsignedSyntax(s) || s == SVS_COUNTER64 || s == SVS_DOUBLE || s == SVS_INT8 ||
               s == SVS_UINT8 || s == SVS_INT16 || s == SVS_UINT16) {
      out += value;
    } else if (s == SVS_TIMETICKS) {
      out += Decimal(TicksOf(value));
    } else if (s == SVS_BCDATETIME) {
      CString number;
      number.Format("%f", static_cast<double>(ParseDateTime(value)));
      out += number;
    } else if (quote) {
      out += "\"" + value + "\"";
    } else {
      VhThrow(-513);
    }
  }
  return out;
}

BYTE SnmpRequest::EvaluateExpression(const CString& text) {
  if (text.IsEmpty()) return 1;
  return VhEvaluateLogical(SubstituteItems(text, '$', true, m_VarList)) ? 1 : 0;
}

void SnmpRequest::UpdateDerived(int i, BYTE phase, SnmpVarList& list) {
  SnmpVarItem* item = list.GetItem(i);
  LPCTSTR expression = phase ? item->afterRead : item->beforeSet;
  if (!expression) return;
  double number = VhEvaluateArithmetic(SubstituteItems(expression, '$', false, list));
  CString& value = *item->value;
  switch (item->syntax) {
    case SVS_BOOLEAN:
      value = number != 0 ? "true" : "false";
      break;
    case SVS_INTEGER:
      value = Decimal(static_cast<long long>(number));
      break;
    case SVS_COUNTER:
    case SVS_GAUGE:
    case SVS_UINTEGER:
      value.Format("%u", static_cast<unsigned>(static_cast<long long>(number)));
      break;
    case SVS_TIMETICKS:
      value = TimeTicks(static_cast<unsigned long>(number)).get_printable();
      break;
    case SVS_COUNTER64:
      value = Counter64::ld_to_c64(static_cast<long double>(number)).get_printable();
      break;
    case SVS_DOUBLE:
      value.Format("%f", number);
      break;
    case SVS_BCDATETIME:
      value = DateText(number);
      break;
    default:
      VhThrow(-513);
  }
  ShowAsOption(item);
}
