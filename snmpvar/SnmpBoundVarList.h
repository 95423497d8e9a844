// A variable list bound to one request object: a read or a write of the whole
// list becomes a sequence of hooks that a derived class fills, synchronously or
// with the completions arriving later on the user-interface thread. It also
// owns the conversions between value texts and raw bytes by SMI syntax.
#pragma once

#include <vector>

#include "SnmpRequest.h"
#include "afxwin.h"

class CStatusBarCtrl;
class SnmpBoundVarList;

typedef void (*SnmpBoundVarListCallback)(SnmpBoundVarList* list, SnmpRequestResult* result, void* user);

typedef std::vector<BYTE> SnmpBytes;

class SnmpBoundVarList {
 public:
  explicit SnmpBoundVarList(CWnd* owner);
  virtual ~SnmpBoundVarList();
  SnmpBoundVarList(const SnmpBoundVarList&) = delete;
  SnmpBoundVarList& operator=(const SnmpBoundVarList&) = delete;

  virtual void BeforeGet() {}
  virtual void BeforeSet() {}
  virtual void OnItemReceived(SnmpVarList* /*row*/) {}
  virtual void CollectValues() {}
  virtual void OnGetError(SnmpRequestResult* result);
  virtual void OnSetError(SnmpRequestResult* result);
  virtual void AfterGet() {}
  virtual void AfterSet() {}

  int Get();
  int Set(BYTE reread, BYTE collect, CString indexes, CStringList* values);
  void Report(CString message);
  CString GetExpressionValue();
  void SetExpression(SnmpRequest* source, const CString& expression);
  void SetStatusBar(CStatusBarCtrl* statusBar) { m_pStatusBar = statusBar; }

  void SetMode(int mode) { m_nMode = mode; }
  int GetMode() const { return m_nMode; }
  void SetGetCallback(SnmpBoundVarListCallback callback, void* user) {
    m_pAfterGet = callback;
    m_pAfterGetUser = user;
  }
  void SetSetCallback(SnmpBoundVarListCallback callback, void* user) {
    m_pAfterSet = callback;
    m_pAfterSetUser = user;
  }
  void SetBusy(BYTE busy) { m_bBusy = busy; }
  BYTE IsBusy() const { return m_bBusy; }
  void SetLastOperation(int operation) { m_nLastOperation = operation; }
  int GetLastOperation() const { return m_nLastOperation; }
  void SetRows(int rows) { m_nRows = rows; }
  int GetRows() const { return m_nRows; }
  CWnd* GetOwner() const { return m_pOwner; }

  // Raw bytes of a value text by syntax; multi-byte integers little-endian,
  // the 16-bit syntaxes in network order. -511 for an unknown syntax.
  static SnmpBytes TextToBytes(const CString& text, int syntax);
  // The reverse; -518 when the bytes are too few, -511 for an unknown syntax.
  static CString BytesToText(const SnmpBytes& bytes, int syntax);
  // The field of the syntax's width at `offset`; -519 beyond the bytes.
  static SnmpBytes PartialBytes(const SnmpBytes& bytes, int offset, int syntax);

  SnmpRequest m_Request;

 protected:
  bool Accepts();
  void Complete();

  SnmpBoundVarListCallback m_pAfterGet = nullptr;
  SnmpBoundVarListCallback m_pAfterSet = nullptr;
  void* m_pAfterGetUser;
  void* m_pAfterSetUser;
  int m_nMode = 1;
  BYTE m_bBusy = 0;
  CWnd* m_pOwner;
  int m_nRows = 0;
  CStatusBarCtrl* m_pStatusBar = nullptr;
  int m_nLastOperation = 0;
  BYTE m_bReread = 1;
  SnmpRequest* m_pExpressionSource = nullptr;
  CString m_strExpression;
  CString m_strExpressionValue;

 private:
  static void GetCallback(SnmpRequestResult* result, SnmpVarList* received, void* user);
  static void SetCallback(SnmpRequestResult* result, SnmpVarList* received, void* user);
  bool IsTable() const { return m_Request.m_VarList.m_nItemType == MVT_FMV || m_Request.m_VarList.m_nItemType == MVT_UMV; }
};
