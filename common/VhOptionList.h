// A table that translates between the values of a device variable and the texts
// the user sees for them. Values are integers, strings, or string prefixes (a
// prefix entry maps the head of a value and keeps the rest as it is).
#pragma once

#include <cstddef>

#include "afx.h"

class CComboBox;

enum VhOptionValueType {
  VHOPTION_INT = 1,
  VHOPTION_STR = 2,
  VHOPTION_HEAD = 3,
};

// One row: for integer lists `value` is the number itself, for string and
// prefix lists a pointer to the value text. Static tables use the same row and
// end with a row whose text is null.
struct OptionListItem {
  INT_PTR value;
  LPCTSTR text;
};

class VhOptionList {
 public:
  VhOptionList();
  VhOptionList(VhOptionValueType valueType, BOOL caseSensitive);
  VhOptionList(const OptionListItem* table, VhOptionValueType valueType, BOOL caseSensitive);
  VhOptionList(const VhOptionList& other);
  VhOptionList& operator=(const VhOptionList& other);
  ~VhOptionList();

  static int GetTableCount(const OptionListItem* table);

  void Clear();
  void Append(const OptionListItem* table);
  void Add(const CString& value, const CString& text);
  void Insert(int index, const CString& value, const CString& text);
  void Remove(int index);

  int GetCount() const { return m_nCount; }
  VhOptionValueType GetValueType() const { return m_nValueType; }
  BOOL IsCaseSensitive() const { return m_bCaseSensitive; }
  // No range check: callers stay inside 0 .. count - 1.
  const OptionListItem* GetItem(int index) const;

  int FindText(const CString& text) const;
  int FindValue(const CString& value) const;
  CString GetTextOfValue(const CString& value) const;
  CString GetValueOfText(const CString& text) const;

  void FillComboBox(CComboBox* comboBox) const;
  void SelectComboBox(CComboBox* comboBox, const CString& text) const;

  // Reads settings and entries from an option file; throws CVHException -18
  // (the list unchanged) when the file cannot be read or is over 1 MiB.
  void LoadFromFile(LPCTSTR path);
  // The same over the bytes of such a file: lines (CRLF or LF) of at most
  // 1,023 bytes, the rest of a longer line dropped; lines of no known shape ignored.
  void LoadFromMemory(const void* data, size_t size);

 private:
  void SetValueType(VhOptionValueType valueType);
  OptionListItem* NewItem(const CString& value, const CString& text) const;
  static void FreeItem(OptionListItem* item, VhOptionValueType valueType);
  bool SameText(LPCTSTR a, LPCTSTR b) const;
  bool Matches(LPCTSTR entry, const CString& text) const;
  static LPCTSTR ValueText(const OptionListItem* item) { return reinterpret_cast<LPCTSTR>(item->value); }

  VhOptionValueType m_nValueType;
  BOOL m_bCaseSensitive;
  int m_nCount;
  OptionListItem** m_pItems;
};
