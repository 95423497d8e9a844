// Variable lists of the QUAV protocol: a request is a 36-byte header and one
// item per variable; the answer carries items of the same shape, which are
// decoded back into the list that asked.
#pragma once

#include <cstddef>

#include "QUAVError.h"
#include "afx.h"

class VhOptionList;
class QUAVResponseVarList;

// Commands of header byte 4.
enum QUAVCommand {
  QUAV_CMD_DISCOVER = 1,
  QUAV_CMD_SET = 3,
  QUAV_CMD_GET = 5,
  QUAV_CMD_ANNOUNCE = 7,
};

// Access bits of a variable.
enum QUAVAccess {
  QUAV_READ = 1,
  QUAV_WRITE = 2,
  QUAV_SKIP = 4,
};

enum SecurtyLevel {
  QUAV_SECURITY_NONE = 1,
  QUAV_SECURITY_MD5 = 2,
  QUAV_SECURITY_HMAC_MD5 = 3,
};

const int QUAV_HEADER_SIZE = 36;
const BYTE QUAV_LISTEN_MASK = 0xB3;

// One variable; also the row of a static table, which ends with a row whose
// text is null. Items held by a list own their selector and text.
struct QUAV_API VhQUAVVar {
  BYTE id;
  LPCTSTR selector;
  LPCTSTR text;
  BYTE valueType;
  int access;
  VhOptionList* optionList;
  QUAVResponseVarList* responseList;
  CString value;
};

// One part of an answered variable.
struct QUAV_API QUAResponseVar {
  BYTE id;
  LPCTSTR selector;
  LPCTSTR text;
  BYTE valueType;
  int access;
  VhOptionList* optionList;
  CString value;
};

class QUAV_API QUAVResponseVarList {
 public:
  QUAVResponseVarList();
  explicit QUAVResponseVarList(const QUAResponseVar* table);
  QUAVResponseVarList(const QUAVResponseVarList& other);
  QUAVResponseVarList& operator=(const QUAVResponseVarList& other);
  ~QUAVResponseVarList();

  void Append(const QUAResponseVar* table);
  void Delete(int index);
  void Clear();
  int Count() const { return m_nCount; }
  QUAResponseVar* operator[](int index) const;
  QUAResponseVar* operator[](LPCTSTR text) const;

 private:
  void AppendOne(const QUAResponseVar& row);

  int m_nCount;
  QUAResponseVar** m_pItems;
};

// What the client needs of a list: build a request, authenticate it and read
// the answer back.
class QUAV_API basicVarList {
 public:
  virtual int GetValuesFromBuff(const BYTE* data, int length) = 0;
  // Writes the items for the current command into `out` (room for `size`
  // bytes); the total length, or a negative code when they would not fit.
  virtual int PutValuesToBuff(BYTE* out, int size) = 0;
  virtual int FillHead(BYTE* out, BYTE sequence, const BYTE* mac) = 0;
  virtual int DoAuthentication(BYTE* packet, int length) = 0;
  virtual BYTE GetCommand() = 0;
  virtual int Count() = 0;
  virtual CString GetItemValue(int index) = 0;
  virtual int GetResponseItemCount(int index) = 0;
  virtual CString GetResponseItemValue(int index, int subIndex) = 0;
  virtual ~basicVarList() {}

  // Set by the client before each decoding: 1 when the answer was heard in
  // listen mode, whose values come masked.
  int m_nListen = 0;
};

class QUAV_API QUAVVarlist : public basicVarList {
 public:
  QUAVVarlist();
  explicit QUAVVarlist(const VhQUAVVar* table);
  QUAVVarlist(const QUAVVarlist& other);
  QUAVVarlist& operator=(const QUAVVarlist& other);
  ~QUAVVarlist() override;

  void Append(const VhQUAVVar* table);
  int Append(BYTE id, LPCTSTR selector, LPCTSTR text, BYTE valueType, int access, VhOptionList* optionList,
             QUAVResponseVarList* responseList);
  void Insert(int index, BYTE id, LPCTSTR selector, LPCTSTR text, BYTE valueType, int access,
              VhOptionList* optionList, QUAVResponseVarList* responseList);
  void Delete(int index);
  void Clear();

  VhQUAVVar* operator[](int index) const;
  VhQUAVVar* operator[](LPCTSTR text) const;

  int Count() override { return m_nCount; }
  int ReadableCount() const;
  int WritableCount() const;
  CString GetItemValue(int index) override;
  int GetResponseItemCount(int index) override;
  CString GetResponseItemValue(int index, int subIndex) override;

  void SetSecurityMode(SecurtyLevel level, const CString& password);
  void SetCommand(BYTE command) { m_nCommand = command; }
  BYTE GetCommand() override { return m_nCommand; }
  void SetTarget(const CString&) {}

  int FillHead(BYTE* out, BYTE sequence, const BYTE* mac) override;
  int PutValuesToBuff(BYTE* out, int size) override;
  int DoAuthentication(BYTE* packet, int length) override;
  int GetValuesFromBuff(const BYTE* data, int length) override;

  // One item into out (room for size bytes): its length or a negative code.
  int PutValueToBuffer(BYTE id, LPCTSTR selector, BYTE valueType, const CString& value, BYTE* out, int size);
  // Finds the item (id, selector) among the items of an answer and decodes it:
  // the offset past it, or a negative code with an empty value.
  int QueryItemValue(BYTE id, LPCTSTR selector, BYTE valueType, CString& value, const BYTE* data, int length);
  // Decodes the one item at the start of data when id and selector match: its
  // length, or a negative code.
  int GetValueFromBuffer(BYTE id, LPCTSTR selector, BYTE valueType, CString& value, const BYTE* data, int length);

 private:
  void InsertAt(int index, const VhQUAVVar& row);
  void FreeItem(VhQUAVVar* item);

  int m_nCount;
  VhQUAVVar** m_pItems;
  CPtrList m_optionLists;
  CPtrList m_responseLists;
  SecurtyLevel m_nSecurityLevel;
  CString m_strPassword;
  BYTE m_nCommand;
};

// The header fields of a received datagram that the client acts on.
struct QUAVHeader {
  BYTE command;
  BYTE sequence;
  BYTE status;  // low 4 bits of byte 10
  BYTE mac[6];
};

// Checks a received datagram's size, magic and length field and reads its
// header: 0, or -1013 for a datagram to be dropped.
QUAV_API int QUAVReadHeader(const BYTE* data, int length, QUAVHeader& header);

// Digests of the crypto library, for the packet authentication.
QUAV_API void QUAVMd5(const void* data, size_t length, BYTE digest[16]);
QUAV_API void QUAVHmacMd5(const void* data, size_t length, const void* key, size_t keyLength, BYTE digest[16]);
