#include "SnmpBoundVarList.h"

#include <cmath>
#include <cstring>

#include "AfxCmnCtrl.h"
#include "CVHException.h"
#include "Counter64.h"
#include "DateAndTime.h"
#include "SnmpValueText.h"
#include "TimeTicks.h"

using namespace snmpvalue;

namespace {

const char* const kOk = "(VeDUZA++) Ok!";

void PutLe(SnmpBytes& bytes, uint64_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(static_cast<BYTE>(value >> (8 * i)));
}

void PutBe16(SnmpBytes& bytes, unsigned value) {
  bytes.push_back(static_cast<BYTE>(value >> 8));
  bytes.push_back(static_cast<BYTE>(value));
}

uint32_t GetLe32(const BYTE* p) { return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24); }
unsigned GetBe16(const BYTE* p) { return (unsigned(p[0]) << 8) | p[1]; }

// Byte width of a partial field; 0 for the fields that run to the end, -1 for
// a null field and -2 for an unknown syntax.
int FieldWidth(int syntax) {
  switch (syntax) {
    case SVS_BOOLEAN: case SVS_INTEGER: case SVS_IPADDRESS: case SVS_COUNTER: case SVS_GAUGE:
    case SVS_TIMETICKS: case SVS_NSAPADDR: case SVS_UINTEGER:
      return 4;
    case SVS_COUNTER64: case SVS_DOUBLE: case SVS_BCDATETIME:
      return 8;
    case SVS_MACADDRESS:
      return 6;
    case SVS_DATETIME:
      return 11;
    case SVS_BOOL8: case SVS_INT8: case SVS_UINT8:
      return 1;
    case SVS_BOOL16: case SVS_INT16: case SVS_UINT16:
      return 2;
    case SVS_BITSTR: case SVS_OCTETSTR: case SVS_OBJECTID: case SVS_OPAQUE: case SVS_DISPLAYSTR:
      return 0;
    case SVS_NULL:
      return -1;
    default:
      return -2;
  }
}

}  // namespace

SnmpBoundVarList::SnmpBoundVarList(CWnd* owner)
    : m_pAfterGetUser(owner), m_pAfterSetUser(owner), m_pOwner(owner) {}

SnmpBoundVarList::~SnmpBoundVarList() {
  // The request outlives this body while it waits for its answers; they must
  // not reach a list that is half gone.
  m_Request.m_bEnabled = 0;
  m_Request.DropCallbacks();
  m_bBusy = 0;
  m_pAfterGet = nullptr;
  m_pAfterSet = nullptr;
}

bool SnmpBoundVarList::Accepts() {
  return m_Request.EvaluateCondition(m_strExpressionValue) && m_Request.EvaluateCondition();
}

void SnmpBoundVarList::SetExpression(SnmpRequest* source, const CString& expression) {
  m_pExpressionSource = source;
  m_strExpression = expression;
}

CString SnmpBoundVarList::GetExpressionValue() {
  if (!m_pExpressionSource || m_strExpression.IsEmpty()) return CString();
  return m_pExpressionSource->SubstituteItems(m_strExpression, '#', true, m_pExpressionSource->m_VarList);
}

void SnmpBoundVarList::OnGetError(SnmpRequestResult* result) {
  m_nLastOperation = 0;
  if (m_pStatusBar) {
    Report(result->strMessage);
  } else {
    ::MessageBoxA(m_pOwner ? m_pOwner->GetSafeHwnd() : nullptr, result->strMessage, "", MB_OK);
  }
}

void SnmpBoundVarList::OnSetError(SnmpRequestResult* result) {
  m_nLastOperation = 1;
  if (m_pStatusBar) Report(result->strMessage);
}

int SnmpBoundVarList::Get() {
  m_nLastOperation = 0;
  BeforeGet();
  m_strExpressionValue = GetExpressionValue();
  m_nRows = 0;
  try {
    if (m_nMode == 0) {
      m_bBusy = 1;
      if (IsTable()) {
        for (bool more = m_Request.Get(true); more; more = m_Request.Get(false)) {
          if (Accepts()) {
            OnItemReceived(&m_Request.m_VarList);
            ++m_nRows;
          }
        }
      } else {
        m_Request.Get(true);
        if (Accepts()) {
          OnItemReceived(&m_Request.m_VarList);
          ++m_nRows;
        }
      }
      AfterGet();
      m_bBusy = 0;
      if (m_pStatusBar) Report(kOk);
    } else if (m_Request.m_bEnabled) {
      m_bBusy = 1;
      m_Request.GetAsync(&SnmpBoundVarList::GetCallback, true, this);
    }
  } catch (CVHException*) {
    m_bBusy = 0;
    throw;
  }
  return 1;
}

void SnmpBoundVarList::Complete() {
  AfterGet();
  m_bBusy = 0;
  m_nLastOperation = 0;
  Report(kOk);
}

void SnmpBoundVarList::GetCallback(SnmpRequestResult* result, SnmpVarList* received, void* user) {
  auto* self = static_cast<SnmpBoundVarList*>(user);
  if (!self) return;
  if (result->nCode != 0) {
    self->m_bBusy = 0;
    self->OnGetError(result);
    if (self->m_pAfterGet) self->m_pAfterGet(self, result, self->m_pAfterGetUser);
    return;
  }
  if (!self->IsTable() || result->bFinished) {
    if (!self->IsTable() && self->Accepts()) {
      self->OnItemReceived(received);
      ++self->m_nRows;
    }
    self->Complete();
    if (self->m_pAfterGet) self->m_pAfterGet(self, result, self->m_pAfterGetUser);
    return;
  }
  if (self->Accepts()) {
    self->OnItemReceived(received);
    ++self->m_nRows;
  }
  if (self->m_Request.m_bEnabled) {
    self->m_Request.m_VarList = *received;
    try {
      self->m_Request.GetAsync(&SnmpBoundVarList::GetCallback, false, self);
    } catch (CVHException* e) {
      // No exception leaves a completion: the failure is reported as one.
      SnmpRequestResult failed = *result;
      failed.nCode = e->GetCode();
      failed.strMessage = e->GetMessage();
      failed.bFinished = 1;
      delete e;
      self->m_bBusy = 0;
      self->OnGetError(&failed);
      if (self->m_pAfterGet) self->m_pAfterGet(self, &failed, self->m_pAfterGetUser);
    }
    return;
  }
  self->AfterGet();
  self->m_bBusy = 0;
  if (self->m_pStatusBar) {
    self->m_nLastOperation = 0;
    self->Report(kOk);
    if (self->m_pAfterGet) self->m_pAfterGet(self, result, self->m_pAfterGetUser);
  }
}

int SnmpBoundVarList::Set(BYTE reread, BYTE collect, CString indexes, CStringList* values) {
  m_nLastOperation = 1;
  m_bReread = reread;
  BeforeSet();
  if (collect) CollectValues();
  try {
    if (m_nMode == 0) {
      m_bBusy = 1;
      m_Request.Set(false, indexes, values);
      AfterSet();
      m_bBusy = 0;
      if (m_pStatusBar) Report(kOk);
      if (IsTable() && m_bReread) return Get();
    } else if (m_Request.m_bEnabled) {
      m_bBusy = 1;
      m_Request.SetAsync(&SnmpBoundVarList::SetCallback, false, indexes, values, this);
    }
  } catch (CVHException*) {
    m_bBusy = 0;
    throw;
  }
  return 1;
}

void SnmpBoundVarList::SetCallback(SnmpRequestResult* result, SnmpVarList*, void* user) {
  auto* self = static_cast<SnmpBoundVarList*>(user);
  if (!self) return;
  if (result->nCode != 0) {
    self->m_bBusy = 0;
    self->OnSetError(result);
    if (self->m_pAfterSet) self->m_pAfterSet(self, result, self->m_pAfterSetUser);
    return;
  }
  self->AfterSet();
  self->m_bBusy = 0;
  self->m_nLastOperation = 1;
  if (self->m_pStatusBar) self->Report(kOk);
  if (self->m_pAfterSet) self->m_pAfterSet(self, result, self->m_pAfterSetUser);
  if (self->IsTable() && self->m_bReread) {
    try {
      self->Get();
    } catch (CVHException* e) {
      SnmpRequestResult failed = *result;
      failed.nCode = e->GetCode();
      failed.strMessage = e->GetMessage();
      delete e;
      self->OnGetError(&failed);
    }
  }
}

void SnmpBoundVarList::Report(CString message) {
  if (!m_pStatusBar) return;
  CString text = VhReportTemplates[m_nLastOperation == 1 ? 1 : 0];
  const CString& label = m_Request.m_VarList.m_strLabel;
  if (!label.IsEmpty()) {
    text = VhReplacePlaceholder(text, "[VARLIST]", label);
  } else {
    int error = text.Find("[ERROR]");
    int varlist = text.Find("[VARLIST]");
    if (error > 0 && varlist >= error) {
      int from = error + 7;
      int to = varlist + 9;
      if (to > from) text.Delete(from, to - from);
    }
  }
  text = VhReplacePlaceholder(text, "[ERROR]", message);
  text = VhReplacePlaceholder(text, "[TIME]", CTime::GetCurrentTime().Format("%H:%M:%S ampm"));
  m_pStatusBar->SetText(text, 0, 0);
}

SnmpBytes SnmpBoundVarList::TextToBytes(const CString& text, int syntax) {
  SnmpBytes bytes;
  if (text == kNull && syntax != SVS_NULL && syntax != SVS_DISPLAYSTR) {
    if (FieldWidth(syntax) == -2) VhThrow(-511);
    return bytes;
  }
  switch (syntax) {
    case SVS_BOOLEAN:
      PutLe(bytes, text == "true" ? 1 : 0, 4);
      break;
    case SVS_INTEGER:
    case SVS_COUNTER:
    case SVS_GAUGE:
    case SVS_UINTEGER:
    case SVS_TIMETICKS:
      PutLe(bytes, static_cast<uint32_t>(strtoll(text, nullptr, 10)), 4);
      break;
    case SVS_BITSTR:
    case SVS_OCTETSTR:
    case SVS_OPAQUE:
    case SVS_MACADDRESS:
      bytes = BytesOfHex(text);
      break;
    case SVS_NULL:
      break;
    case SVS_OBJECTID: {
      CString rest = text;
      unsigned long id;
      while (TakeSubId(rest, id)) PutLe(bytes, id, 4);
      break;
    }
    case SVS_IPADDRESS:
    case SVS_NSAPADDR: {
      CString rest = text;
      unsigned long part;
      while (TakeSubId(rest, part)) bytes.push_back(static_cast<BYTE>(part));
      break;
    }
    case SVS_COUNTER64: {
      double number = atof(text);
      uint64_t value = number <= 0 ? 0 : number >= 18446744073709551615.0 ? UINT64_MAX : static_cast<uint64_t>(number);
      PutLe(bytes, value & 0xFFFFFFFFu, 4);
      PutLe(bytes, value >> 32, 4);
      break;
    }
    case SVS_DOUBLE:
    case SVS_BCDATETIME: {
      double number = syntax == SVS_DOUBLE ? atof(text) : static_cast<double>(ParseDateTime(text));
      BYTE raw[8];
      DoubleToBytes(number, raw);
      bytes.assign(raw, raw + 8);
      break;
    }
    case SVS_DATETIME: {
      DateAndTime date(text);
      PutLe(bytes, date.year, 2);
      const BYTE rest[] = {date.month, date.day, date.hour, date.minutes, date.seconds, date.deciSeconds,
                           date.direction, date.utcHours, date.utcMinutes};
      bytes.insert(bytes.end(), rest, rest + sizeof rest);
      break;
    }
    case SVS_DISPLAYSTR:
      bytes.assign(static_cast<LPCTSTR>(text), static_cast<LPCTSTR>(text) + text.GetLength());
      break;
    case SVS_BOOL8:
      bytes.push_back(text == "true" ? 1 : 0);
      break;
    case SVS_INT8:
    case SVS_UINT8:
      bytes.push_back(static_cast<BYTE>(strtol(text, nullptr, 10)));
      break;
    case SVS_BOOL16:
      PutBe16(bytes, text == "true" ? 1 : 0);
      break;
    case SVS_INT16:
    case SVS_UINT16:
      PutBe16(bytes, static_cast<unsigned>(strtol(text, nullptr, 10)) & 0xFFFF);
      break;
    default:
      VhThrow(-511);
  }
  return bytes;
}

CString SnmpBoundVarList::BytesToText(const SnmpBytes& bytes, int syntax) {
  int width = FieldWidth(syntax);
  if (width == -2) VhThrow(-511);
  if (bytes.empty()) return syntax == SVS_DISPLAYSTR ? CString() : CString(kNull);
  if (syntax == SVS_MACADDRESS) width = 6;
  if (width > 0 && static_cast<int>(bytes.size()) < width) VhThrow(-518);
  const BYTE* p = bytes.data();
  CString text;
  switch (syntax) {
    case SVS_BOOLEAN:
      return GetLe32(p) ? "true" : "false";
    case SVS_INTEGER:
      text.Format("%d", static_cast<int32_t>(GetLe32(p)));
      return text;
    case SVS_COUNTER:
    case SVS_GAUGE:
    case SVS_UINTEGER:
      text.Format("%u", GetLe32(p));
      return text;
    case SVS_BITSTR:
    case SVS_OCTETSTR:
    case SVS_OPAQUE:
    case SVS_MACADDRESS:
      return HexOf(p, bytes.size());
    case SVS_NULL:
      return kNull;
    case SVS_OBJECTID:
      for (size_t i = 0; i + 4 <= bytes.size(); i += 4) text.AppendFormat(i ? ".%u" : "%u", GetLe32(p + i));
      return text;
    case SVS_IPADDRESS:
    case SVS_NSAPADDR:
      text.Format("%d.%d.%d.%d", p[0], p[1], p[2], p[3]);
      return text;
    case SVS_TIMETICKS:
      return TimeTicks(GetLe32(p)).get_printable();
    case SVS_COUNTER64:
      return Counter64(GetLe32(p + 4), GetLe32(p)).get_printable();
    case SVS_DOUBLE:
      text.Format("%f", DoubleFromBytes(p));
      return text;
    case SVS_DATETIME: {
      DateAndTime date;
      memcpy(&date, p, 11);
      date.year = static_cast<WORD>(p[0] | (p[1] << 8));
      return date.Format();
    }
    case SVS_BCDATETIME:
      return COleDateTime(DoubleFromBytes(p)).Format("%Y/%m/%d %H:%M:%S am/pm");
    case SVS_DISPLAYSTR:
      return CString(reinterpret_cast<const char*>(p), static_cast<int>(bytes.size()));
    case SVS_BOOL8:
      return p[0] ? "true" : "false";
    case SVS_INT8:
      text.Format("%d", static_cast<signed char>(p[0]));
      return text;
    case SVS_UINT8:
      text.Format("%u", p[0]);
      return text;
    case SVS_BOOL16:
      return GetBe16(p) ? "true" : "false";
    case SVS_INT16:
      text.Format("%d", static_cast<int16_t>(GetBe16(p)));
      return text;
    case SVS_UINT16:
      text.Format("%u", GetBe16(p));
      return text;
  }
  VhThrow(-511);
}

SnmpBytes SnmpBoundVarList::PartialBytes(const SnmpBytes& bytes, int offset, int syntax) {
  int width = FieldWidth(syntax);
  if (width == -2) VhThrow(-511);
  if (bytes.empty() || width == -1) return SnmpBytes();
  const size_t size = bytes.size();
  if (offset < 0 || static_cast<size_t>(offset) + static_cast<size_t>(width) > size) VhThrow(-519);
  size_t end = width == 0 ? size : static_cast<size_t>(offset + width);
  return SnmpBytes(bytes.begin() + offset, bytes.begin() + static_cast<std::ptrdiff_t>(end));
}
