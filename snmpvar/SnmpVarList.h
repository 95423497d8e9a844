// A group of device variables read or written together: one scalar group or
// one table. Lists are built from static tables (arrays of SnmpVarItem ended by
// a row whose OID is null) or read from a variables file.
#pragma once

#include <memory>
#include <vector>

#include "VhOptionList.h"
#include "afx.h"

// SMI syntax ids of the entries.
enum SnmpVarSyntax {
  SVS_BOOLEAN = 1,
  SVS_INTEGER = 2,
  SVS_BITSTR = 3,
  SVS_OCTETSTR = 4,
  SVS_NULL = 5,
  SVS_OBJECTID = 6,
  SVS_IPADDRESS = 0x40,
  SVS_COUNTER = 0x41,
  SVS_GAUGE = 0x42,
  SVS_TIMETICKS = 0x43,
  SVS_OPAQUE = 0x44,
  SVS_NSAPADDR = 0x45,
  SVS_COUNTER64 = 0x46,
  SVS_UINTEGER = 0x47,
  SVS_DOUBLE = 0x48,
  SVS_MACADDRESS = 0x49,
  SVS_DATETIME = 0x4A,
  SVS_BCDATETIME = 0x4B,
  SVS_DISPLAYSTR = 0x4C,
  SVS_BOOL8 = 0xC1,
  SVS_INT8 = 0xC2,
  SVS_UINT8 = 0xC3,
  SVS_BOOL16 = 0xC4,
  SVS_INT16 = 0xC5,
  SVS_UINT16 = 0xC6,
};

// Access flags.
enum SnmpVarAccess {
  SVA_NOTACCESS = 1,
  SVA_READ = 2,
  SVA_WRITE = 4,
  SVA_READWRITE = 6,
  SVA_DERIVED = 8,
  SVA_HIDDEN = 0x10,
  SVA_INVALID = 0x20,
  SVA_FLAG = 0x40,  // also: the last key column runs to the end of the row index
};

enum SnmpVarItemType {
  SVT_SV = 0,   // single values, ".0" appended
  MVT_SV = 1,   // single values with their full instance in the OID
  MVT_FMV = 2,  // tables, walked with get-next
  MVT_UMV = 3,
};

// One entry. Static tables use the same layout with constant texts and null
// value and cursor; entries of a list own every text (null for an empty one)
// and always have a value and a cursor string.
struct SnmpVarItem {
  LPCTSTR oid;
  LPCTSTR label;
  int syntax;
  int access;
  VhOptionList* optionList;  // shared, never owned by the entry
  LPCTSTR afterRead;         // expression of a derived value after a response
  LPCTSTR beforeSet;         // expression of a derived value before a set
  LPCTSTR extra;
  CString* value;
  CString* cursor;  // the OID last read for the entry during a table walk
};

class SnmpVarList {
 public:
  SnmpVarList();
  SnmpVarList(const SnmpVarItem* table, int itemType, int keyCount);
  SnmpVarList(const SnmpVarList& other);
  SnmpVarList& operator=(const SnmpVarList& other);
  ~SnmpVarList();

  void Clear();
  void Append(const SnmpVarItem* table);
  void Add(LPCTSTR oid, LPCTSTR label, int syntax, int access, VhOptionList* optionList = nullptr,
           LPCTSTR afterRead = nullptr, LPCTSTR beforeSet = nullptr, LPCTSTR extra = nullptr);
  void Insert(int index, LPCTSTR oid, LPCTSTR label, int syntax, int access, VhOptionList* optionList = nullptr,
              LPCTSTR afterRead = nullptr, LPCTSTR beforeSet = nullptr, LPCTSTR extra = nullptr);
  void Remove(int index);
  void SetOid(int index, LPCTSTR oid);

  int GetCount() const { return static_cast<int>(m_items.size()); }
  // No range check: callers stay inside 0 .. count - 1.
  SnmpVarItem* GetItem(int index) const { return m_items[index]; }
  SnmpVarItem* FindItem(LPCTSTR label) const;
  int FindIndex(LPCTSTR label) const;

  void SetInstance(LPCTSTR suffix);

  BOOL IsReadable(int index) const;
  BOOL IsInSetRequest(int index) const;
  BOOL IsShown(int index) const;
  BOOL IsSkipped(int index) const;
  BOOL IsFlagged(int index) const;
  // By label: FALSE for a label the list does not hold.
  BOOL IsReadable(LPCTSTR label) const { return TestLabel(&SnmpVarList::IsReadable, label); }
  BOOL IsInSetRequest(LPCTSTR label) const { return TestLabel(&SnmpVarList::IsInSetRequest, label); }
  BOOL IsShown(LPCTSTR label) const { return TestLabel(&SnmpVarList::IsShown, label); }
  BOOL IsSkipped(LPCTSTR label) const { return TestLabel(&SnmpVarList::IsSkipped, label); }
  BOOL IsFlagged(LPCTSTR label) const { return TestLabel(&SnmpVarList::IsFlagged, label); }
  int GetReadableCount() const;
  int GetInSetRequestCount() const;
  int GetShownCount() const;
  int GetSkippedCount() const;
  int GetFlaggedCount() const;

  static int SyntaxOf(LPCTSTR keyword);
  static int AccessOf(LPCTSTR keywords);  // "readonly|hidden" and the like
  static int ItemTypeOf(LPCTSTR keyword);

  // Replaces the list with the variables file's content; throws CVHException
  // -501 .. -505 naming the file and the line.
  void LoadFromFile(LPCTSTR path);
  // The same over the bytes of such a file (at most 1 MiB is read from disk);
  // `fileName` only names it in the messages.
  void LoadFromMemory(const void* data, size_t size, LPCTSTR fileName);

  CString m_strName;  // instance suffix when not empty
  int m_nKeyCount;
  int m_nItemType;
  CString m_strLabel;  // names the list in reports

 private:
  static SnmpVarItem* NewItem(LPCTSTR oid, LPCTSTR label, int syntax, int access, VhOptionList* optionList,
                              LPCTSTR afterRead, LPCTSTR beforeSet, LPCTSTR extra, const CString* value,
                              const CString* cursor);
  static void FreeItem(SnmpVarItem* item);
  void CopyFrom(const SnmpVarList& other);
  int CountWhere(BOOL (SnmpVarList::*test)(int) const) const;
  BOOL TestLabel(BOOL (SnmpVarList::*test)(int) const, LPCTSTR label) const;

  std::vector<SnmpVarItem*> m_items;
  // Option lists that the loader made. Shared, so that copies that point at
  // them stay sound after this list is gone.
  std::vector<std::shared_ptr<VhOptionList>> m_optionLists;
};

// The keyword tables of the variables file (integer values, case ignored).
extern VhOptionList SnmpSyntaxKeywords;
extern VhOptionList SnmpAccessKeywords;
extern VhOptionList SnmpItemTypeKeywords;
