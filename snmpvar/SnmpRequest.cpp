#include "SnmpRequest.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "CVHException.h"
#include "SnmpValueText.h"
#include "Counter64.h"
#include "DateAndTime.h"
#include "Snmp.h"
#include "SnmpSession.h"
#include "VhString.h"
#include "usm_v3.h"
#include "Clock.h"
#include "afxwin.h"

namespace {

const DWORD kDestroyWaitMs = 6000;

}  // namespace

using namespace snmpvalue;

SnmpRequest::SnmpRequest()
    : m_bUseGetNext(0),
      m_nTimeout(100),
      m_nRetries(1),
      m_nPort(161),
      m_nVersion(0),
      m_nSecurityModel(1),
      m_nSecurityLevel(1),
      m_nAuthProtocol(1),
      m_nPrivProtocol(1),
      m_bEnabled(1),
      m_pTrapCallback(nullptr),
      m_nOutstanding(0),
      m_StringMap(10) {
  LoadDefaults();
}

SnmpRequest::~SnmpRequest() {
  m_bEnabled = 0;
  DWORD start = GetTickCount();
  while (m_nOutstanding > 0 && GetTickCount() - start < kDestroyWaitMs) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    } else {
      Sleep(1);
    }
  }
  StopTraps();
  // What is still outstanding completes after this object is gone: the
  // session frees those contexts without calling anyone.
  for (SnmpRequestContext* context : m_contexts) context->pOwner = nullptr;
}

void SnmpRequest::DropCallbacks() {
  for (SnmpRequestContext* context : m_contexts) context->pCallback = nullptr;
}

void SnmpRequest::LoadDefaults() {
  const SnmpRequestDefaultValues& d = SnmpRequestDefaults;
  m_nTimeout = d.nTimeout;
  m_strAgent = d.strAgent;
  m_strAgent2 = d.strAgent2;
  m_nPort = d.nPort;
  m_strContextEngineId = d.strContextEngineId;
  m_strContextName = d.strContextName;
  m_nVersion = d.nVersion;
  m_strReadCommunity = d.strReadCommunity;
  m_strWriteCommunity = d.strWriteCommunity;
  m_nSecurityModel = d.nSecurityModel;
  m_nSecurityLevel = d.nSecurityLevel;
  m_strSecurityName = d.strSecurityName;
  m_strAuthPassword = d.strAuthPassword;
  m_strPrivPassword = d.strPrivPassword;
  m_nAuthProtocol = d.nAuthProtocol;
  m_nPrivProtocol = d.nPrivProtocol;
}

CString SnmpRequest::RequestedOid(const SnmpVarList& list, int item) {
  CString oid = list.GetItem(item)->oid;
  if (!list.m_strName.IsEmpty()) oid += "." + list.m_strName;
  return oid;
}

SnmpTarget* SnmpRequest::BuildTarget() {
  UdpAddress address(static_cast<LPCTSTR>(m_strAgent));
  if (address.valid()) address.set_port(m_nPort);
  if (!address.valid()) VhThrow(-509);
  if (m_nVersion == 3) {
    auto target = std::make_unique<UTarget>(address);
    target->set_timeout(m_nTimeout);
    target->set_retry(m_nRetries);
    target->set_version(static_cast<snmp_version>(m_nVersion));
    target->set_security_model(m_nSecurityModel);
    target->set_security_name(static_cast<LPCTSTR>(m_strSecurityName));
    usmAddUserName(OctetStr(static_cast<LPCTSTR>(m_strSecurityName)), m_nAuthProtocol, m_nPrivProtocol,
                   OctetStr(static_cast<LPCTSTR>(m_strAuthPassword)),
                   OctetStr(static_cast<LPCTSTR>(m_strPrivPassword)));
    return target.release();
  }
  auto target = std::make_unique<CTarget>(address, static_cast<LPCTSTR>(m_strReadCommunity),
                                          static_cast<LPCTSTR>(m_strWriteCommunity));
  target->set_timeout(m_nTimeout);
  target->set_retry(m_nRetries);
  target->set_version(static_cast<snmp_version>(m_nVersion));
  return target.release();
}

void SnmpRequest::BuildPdu(int mode, Pdu& pdu, SnmpVarList& list, std::vector<int>* items) {
  if (items) items->clear();
  pdu.set_security_level(m_nSecurityLevel);
  pdu.set_context_name(static_cast<LPCTSTR>(m_strContextName));
  pdu.set_context_engine_id(static_cast<LPCTSTR>(m_strContextEngineId));
  int type = list.m_nItemType;
  if (mode == 1 && (type == SVT_SV || type == MVT_SV)) VhThrow(-510);
  if (mode == 2 && (type < 0 || type > MVT_UMV)) VhThrow(-515);
  CString rowIndex;
  if (mode == 2 && IsTable(list)) rowIndex = RowIndex(list);
  for (int i = 0; i < list.GetCount(); ++i) {
    SnmpVarItem* item = list.GetItem(i);
    if (mode == 2) {
      if (IsTable(list) && i < list.m_nKeyCount) continue;
      if ((item->access & SVA_INVALID) || !(item->access & SVA_WRITE)) continue;
      CString oid = RequestedOid(list, i);
      if (type == SVT_SV) oid += ".0";
      else if (IsTable(list)) oid += "." + rowIndex;
      Vb vb{Oid(static_cast<LPCTSTR>(oid))};
      vb.set_syntax(item->syntax);
      ValueToVb(i, vb, list);
      pdu += vb;
      if (items) items->push_back(i);
      continue;
    }
    if (!list.IsReadable(i)) continue;
    CString oid;
    if (mode == 0) {
      item->cursor->Empty();
      oid = RequestedOid(list, i);
      if (type == SVT_SV) oid += ".0";
    } else {
      oid = *item->cursor;
    }
    pdu += Vb(Oid(static_cast<LPCTSTR>(oid)));
    if (items) items->push_back(i);
  }
}

CString SnmpRequest::RowIndex(SnmpVarList& list) {
  CString index;
  for (int i = 0; i < list.m_nKeyCount && i < list.GetCount(); ++i) {
    CString part;
    ValueToIndex(i, part, list);
    if (i > 0) index += ".";
    index += part;
  }
  return index;
}

void SnmpRequest::StoreRowIndex(CString index, SnmpVarList& list) {
  for (int i = 0; i < list.m_nKeyCount && i < list.GetCount(); ++i) {
    if (index.IsEmpty()) VhThrow(-514);
    if (!list.IsReadable(i)) *list.GetItem(i)->cursor = RequestedOid(list, i) + "." + index;
    index = IndexToValue(i, index, list);
  }
}

// A column's walk is over once the returned OID is no longer below the
// requested one. The prefix must end on a sub-identifier boundary, or column
// 1.2.1 would run on into column 1.2.10.
BYTE SnmpRequest::IsWalkDone(const CString& requested, const CString& cursor, const CString& returned) {
  if (m_VarList.m_nItemType == SVT_SV || m_VarList.m_nItemType == MVT_SV) return 0;
  int n = requested.GetLength();
  bool below = returned.GetLength() > n && strncmp(returned, requested, n) == 0 && returned[n] == '.';
  return (below && returned != cursor) ? 0 : 1;
}

int SnmpRequest::ParseResponse(int code, const Pdu& pdu, SnmpVarList& list, const std::vector<int>& items) {
  const bool table = IsTable(list);
  const int count = pdu.get_vb_count();
  int position = 0, read = 0, done = 0;
  CString rowIndex;
  for (int i : items) {
    if (i < 0 || i >= list.GetCount()) continue;
    SnmpVarItem* item = list.GetItem(i);
    ++read;
    // An answer with fewer bindings than asked leaves the rest without value.
    if (position >= count) {
      *item->value = kNull;
      continue;
    }
    const Vb& vb = pdu[position++];
    CString returned = vb.get_printable_oid();
    CString requested = RequestedOid(list, i);
    if (code == SNMPCODE_NO_SUCH_NAME && table) {
      if (*item->cursor == returned) return 0;
      return -1;
    }
    if (IsWalkDone(requested, *item->cursor, returned)) {
      *item->value = kNotDone;
      *item->cursor = requested + "." + RowIndex(list);
      ++done;
    } else {
      VbToValue(i, vb, list);
      *item->cursor = returned;
    }
    if (rowIndex.IsEmpty() && requested.GetLength() < returned.GetLength())
      rowIndex = returned.Mid(requested.GetLength() + 1);
  }
  if (read > 0 && done == read) return 0;
  if (table) StoreRowIndex(rowIndex, list);
  for (int i = 0; i < list.GetCount(); ++i) UpdateDerived(i, 1, list);
  return table ? 1 : 0;
}

int SnmpRequest::Send(int mode, SnmpRequestContext* context, Pdu& pdu) {
  std::unique_ptr<SnmpTarget> target(BuildTarget());
  if (m_VarList.m_nItemType > MVT_UMV || m_VarList.m_nItemType < 0) VhThrow(-515);
  BuildPdu(mode, pdu, m_VarList, &m_sentItems);
  Snmp* session = SnmpGlobalSession;
  if (!session) return SNMP_CLASS_INVALID;
  bool next = IsTable(m_VarList) || (m_VarList.m_nItemType == MVT_SV && m_bUseGetNext);
  if (!context) return mode == 2 ? session->set(pdu, *target) : next ? session->get_next(pdu, *target) : session->get(pdu, *target);
  SnmpCallback callback = &SnmpRequest::SessionCallback;
  return mode == 2 ? session->set(pdu, *target, callback, context)
         : next    ? session->get_next(pdu, *target, callback, context)
                   : session->get(pdu, *target, callback, context);
}

bool SnmpRequest::Get(bool first) {
  if (!m_bEnabled) return false;
  Pdu pdu;
  int status = Send(first ? 0 : 1, nullptr, pdu);
  int code;
  CString message;
  MapSnmpStatus(status, &code, &message);
  if (code != 0 && !(code == SNMPCODE_NO_SUCH_NAME && IsTable(m_VarList))) throw new CVHException(message, code);
  int parsed = ParseResponse(code, pdu, m_VarList, m_sentItems);
  if (parsed < 0) throw new CVHException(message, code);
  return parsed == 1;
}

void SnmpRequest::GetAsync(SnmpRequestCallback callback, bool first, void* user) {
  if (!m_bEnabled) return;
  auto context = std::make_unique<SnmpRequestContext>(SnmpRequestContext{this, SnmpVarList(), 1, callback, user, {}});
  Pdu pdu;
  int status = Send(first ? 0 : 1, context.get(), pdu);
  // Completions run later, from the event window: the copy can follow the send.
  context->list = m_VarList;
  context->items = m_sentItems;
  int code;
  CString message;
  MapSnmpStatus(status, &code, &message);
  if (code != 0) throw new CVHException(message, code);
  m_contexts.insert(context.release());
  ++m_nOutstanding;
}

void SnmpRequest::PrepareSet(const CString& indexes, CStringList* values) {
  if (!indexes.IsEmpty()) {
    std::vector<bool> chosen(m_VarList.GetCount(), false);
    CStringList positions;
    VhSplit(indexes, positions, ',');
    POSITION valuePos = values ? values->GetHeadPosition() : nullptr;
    for (POSITION pos = positions.GetHeadPosition(); pos;) {
      CString text = positions.GetNext(pos);
      text.Trim();
      // "2.5" is 2 plus fractional digits weighted 0.1, 0.01, ...: position 2.
      int index = static_cast<int>(atof(text));
      bool hasValue = valuePos != nullptr;
      CString value = hasValue ? values->GetNext(valuePos) : CString();
      if (index < 0 || index >= m_VarList.GetCount()) continue;
      chosen[index] = true;
      if (values && hasValue) *m_VarList.GetItem(index)->value = value;
    }
    for (int i = 0; i < m_VarList.GetCount(); ++i) {
      int& access = m_VarList.GetItem(i)->access;
      access = chosen[i] ? (access & ~SVA_INVALID) : (access | SVA_INVALID);
    }
  }
  for (int i = 0; i < m_VarList.GetCount(); ++i) UpdateDerived(i, 0, m_VarList);
}

namespace {

// Puts a list back as it was on every way out of a set.
class ListRestorer {
 public:
  explicit ListRestorer(SnmpVarList& list) : m_list(list), m_saved(list) {}
  ~ListRestorer() { m_list = m_saved; }
  ListRestorer(const ListRestorer&) = delete;
  ListRestorer& operator=(const ListRestorer&) = delete;

 private:
  SnmpVarList& m_list;
  SnmpVarList m_saved;
};

}  // namespace

bool SnmpRequest::Set(bool reread, CString indexes, CStringList* values) {
  if (!m_bEnabled) return false;
  Pdu pdu;
  int status = 0;
  {
    ListRestorer restore(m_VarList);
    PrepareSet(indexes, values);
    status = Send(2, nullptr, pdu);
  }
  int code;
  CString message;
  MapSnmpStatus(status, &code, &message);
  if (code != 0) throw new CVHException(message, code);
  if (!reread) return false;
  int parsed = ParseResponse(code, pdu, m_VarList, m_sentItems);
  if (parsed < 0) throw new CVHException(message, code);
  return parsed == 1;
}

void SnmpRequest::SetAsync(SnmpRequestCallback callback, bool reread, CString indexes, CStringList* values,
                           void* user) {
  if (!m_bEnabled) return;
  std::unique_ptr<SnmpRequestContext> context;
  Pdu pdu;
  int status = 0;
  {
    ListRestorer restore(m_VarList);
    PrepareSet(indexes, values);
    context.reset(new SnmpRequestContext{this, SnmpVarList(), static_cast<BYTE>(reread ? 1 : 0), callback, user, {}});
    status = Send(2, context.get(), pdu);
  }
  // The context keeps the list as it is after the restore.
  int code;
  CString message;
  MapSnmpStatus(status, &code, &message);
  if (code != 0) throw new CVHException(message, code);
  SnmpRequestContext* sent = context.release();
  sent->list = m_VarList;
  sent->items = m_sentItems;
  m_contexts.insert(sent);
  ++m_nOutstanding;
}

void SnmpRequest::FillAgent(SnmpTarget& target, SnmpRequestResult& result) {
  GenAddress address;
  target.get_address(address);
  CString printable = address.get_printable();
  int slash = printable.Find('/');
  result.strAgent = slash < 0 ? printable : printable.Left(slash);
  result.nPort = slash < 0 ? 0 : static_cast<unsigned short>(atoi(printable.Mid(slash + 1)));
}

void SnmpRequest::SessionCallback(int status, Snmp*, Pdu& pdu, SnmpTarget& target, void* data) {
  auto* context = static_cast<SnmpRequestContext*>(data);
  if (!context) return;
  if (context->pOwner) context->pOwner->OnResponse(status, pdu, target, context);
  delete context;
}

void SnmpRequest::OnResponse(int status, Pdu& pdu, SnmpTarget& target, SnmpRequestContext* context) {
  m_contexts.erase(context);
  if (status == SNMP_CLASS_SESSION_DESTROYED) {
    --m_nOutstanding;
    return;
  }
  SnmpRequestResult result{};
  // An answer (-6) carries the agent's own error status; every other status,
  // a failed SNMPv3 resend included, stands for itself.
  MapSnmpStatus(status == SNMP_CLASS_ASYNC_RESPONSE ? pdu.get_error_status() : status, &result.nCode,
                &result.strMessage);
  result.nErrorIndex = pdu.get_error_index();
  FillAgent(target, result);
  result.bFinished = 1;
  SnmpVarList& list = context->list;
  if ((result.nCode == 0 && context->bProcessResponse) ||
      (result.nCode == SNMPCODE_NO_SUCH_NAME && IsTable(list))) {
    try {
      int parsed = ParseResponse(result.nCode, pdu, list, context->items);
      if (parsed >= 0 && result.nCode != 0) MapSnmpStatus(0, &result.nCode, &result.strMessage);
      result.bFinished = parsed == 1 ? 0 : 1;
    } catch (CVHException* e) {
      result.nCode = e->GetCode();
      result.strMessage = e->GetMessage();
      result.bFinished = 1;
      delete e;
    }
  }
  if (context->pCallback) context->pCallback(&result, &list, context->pUser);
  --m_nOutstanding;
}
