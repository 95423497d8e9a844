// Reads and writes one variable list on one agent over the global session:
// synchronously, or asynchronously with the answer delivered through a
// callback on the user-interface thread. Every failure becomes a CVHException
// pointer with an SnmpStatusCode; asynchronous failures after the send reach
// the callback instead.
#pragma once

#include <set>
#include <vector>

#include "SnmpVarList.h"
#include "afx.h"

class Pdu;
class Vb;
class SnmpTarget;
class Snmp;

struct SnmpRequestResult {
  int nCode;  // SnmpStatusCode, 0 success
  int nErrorIndex;
  CString strMessage;
  CString strAgent;
  CString strAgent2;
  unsigned short nPort;
  CString strNotifyId;
  BYTE bFinished;  // 1 when no further request follows for this operation
  CString strEnterprise;
};

typedef void (*SnmpRequestCallback)(SnmpRequestResult* result, SnmpVarList* list, void* user);

class SnmpRequest;

// One asynchronous request, owned by the session until its completion. The
// owner is cleared when the request object goes first.
struct SnmpRequestContext {
  SnmpRequest* pOwner;
  SnmpVarList list;
  BYTE bProcessResponse;
  SnmpRequestCallback pCallback;
  void* pUser;
  std::vector<int> items;  // the list's items in the request, in binding order
};

class SnmpRequest {
 public:
  SnmpRequest();
  virtual ~SnmpRequest();
  SnmpRequest(const SnmpRequest&) = delete;
  SnmpRequest& operator=(const SnmpRequest&) = delete;

  void LoadDefaults();

  // True when a table row was read: call again with first = false.
  bool Get(bool first);
  void GetAsync(SnmpRequestCallback callback, bool first, void* user);
  // `indexes`: comma-separated item positions to write (empty: every writable
  // item), `values` their texts in the same order.
  bool Set(bool reread, CString indexes, CStringList* values);
  void SetAsync(SnmpRequestCallback callback, bool reread, CString indexes, CStringList* values, void* user);

  BYTE EvaluateCondition() { return EvaluateExpression(m_strCondition); }
  BYTE EvaluateCondition(const CString& text) { return EvaluateExpression(text); }
  CString SubstituteItems(const CString& text, TCHAR marker, bool quote, SnmpVarList& list);

  CString RowIndex(SnmpVarList& list);
  void StoreRowIndex(CString index, SnmpVarList& list);
  // The caller deletes the target.
  SnmpTarget* BuildTarget();
  // `items` receives the positions of the items put in the PDU, in order.
  void BuildPdu(int mode, Pdu& pdu, SnmpVarList& list, std::vector<int>* items = nullptr);

  // Receives traps and informs on `port` through the global session and hands
  // each to `callback` (null user data). Throws the mapped status on failure.
  // One listener per session: a later call replaces an earlier one.
  void ListenTraps(unsigned short port, SnmpRequestCallback callback);
  void OnTrap(int status, Snmp* session, Pdu& pdu, SnmpTarget& target);

  int GetOutstanding() const { return m_nOutstanding; }
  // Outstanding requests complete without calling their callbacks: for an
  // owner whose user data is about to go.
  void DropCallbacks();

  // Hooks.
  virtual CString IndexToValue(int item, CString index, SnmpVarList& list);
  virtual void ValueToIndex(int item, CString& index, SnmpVarList& list);
  virtual void VbToValue(int item, const Vb& vb, SnmpVarList& list);
  virtual void ValueToVb(int item, Vb& vb, SnmpVarList& list);
  virtual void UpdateDerived(int item, BYTE phase, SnmpVarList& list);
  virtual BYTE EvaluateExpression(const CString& text);
  virtual BYTE IsWalkDone(const CString& requested, const CString& cursor, const CString& returned);

  BYTE m_bUseGetNext;
  int m_nTimeout;  // units of 10 ms
  int m_nRetries;
  CString m_strAgent;
  CString m_strAgent2;
  unsigned short m_nPort;
  CString m_strContextEngineId;
  CString m_strContextName;
  int m_nVersion;
  CString m_strReadCommunity;
  CString m_strWriteCommunity;
  int m_nSecurityModel;
  int m_nSecurityLevel;
  CString m_strSecurityName;
  CString m_strAuthPassword;
  CString m_strPrivPassword;
  int m_nAuthProtocol;
  int m_nPrivProtocol;
  SnmpVarList m_VarList;
  CString m_strCondition;
  BYTE m_bEnabled;
  SnmpRequestCallback m_pTrapCallback;
  int m_nOutstanding;
  CMapStringToString m_StringMap;

 private:
  // The requested OID of an item: its OID with the list's instance name.
  static CString RequestedOid(const SnmpVarList& list, int item);
  static bool IsTable(const SnmpVarList& list) { return list.m_nItemType == MVT_FMV || list.m_nItemType == MVT_UMV; }
  // Parses a response to a request for `items` into `list`: one binding per
  // item, in order (an answer to a set carries only the written items).
  // Returns 1 when a table row was read, 0 when the operation is finished, -1
  // when a -102 stands as an error.
  int ParseResponse(int code, const Pdu& pdu, SnmpVarList& list, const std::vector<int>& items);
  void PrepareSet(const CString& indexes, CStringList* values);
  // Builds and sends; asynchronous when a context is given. The session's status.
  int Send(int mode, SnmpRequestContext* context, Pdu& pdu);
  void OnResponse(int status, Pdu& pdu, SnmpTarget& target, SnmpRequestContext* context);
  static void SessionCallback(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* data);
  // The target's printable address ("a.b.c.d/port") split into the result.
  static void FillAgent(SnmpTarget& target, SnmpRequestResult& result);
  static void TrapCallback(int status, Snmp* session, Pdu& pdu, SnmpTarget& target, void* data);
  // Drops the session's registration when it still points at this object.
  void StopTraps();

  std::set<SnmpRequestContext*> m_contexts;
  std::vector<int> m_sentItems;
};
