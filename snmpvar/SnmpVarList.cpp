#include "SnmpVarList.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "ByteCursor.h"
#include "CVHException.h"
#include "VhString.h"

namespace {

const size_t kVariablesFileLimit = 1 << 20;
const size_t kLineLimit = 1023;

const OptionListItem kSyntaxTable[] = {
    {2, "integer"},    {3, "bitstr"},      {4, "octetstr"},    {5, "null"},        {6, "objectid"},
    {0x40, "ipaddress"}, {0x41, "counter"}, {0x42, "guage"},   {0x43, "timeticks"}, {0x44, "opaque"},
    {0x46, "counter64"}, {1, "boolean"},   {0x45, "nsapaddr"}, {0x47, "uinteger"}, {0x48, "double"},
    {0x49, "macaddress"}, {0x4A, "datetime"}, {0x4B, "bcdatetime"}, {0x4C, "displaystr"}, {0xC1, "bool8"},
    {0xC2, "int8"},    {0xC3, "uint8"},    {0xC4, "bool16"},   {0xC5, "int16"},    {0xC6, "uint16"},
    {0, nullptr},
};
const OptionListItem kAccessTable[] = {
    {1, "notaccess"}, {2, "readonly"}, {4, "writeonly"}, {6, "readwrite"},
    {8, "derived"},   {0x10, "hidden"}, {0x20, "invalid"}, {0, nullptr},
};
const OptionListItem kItemTypeTable[] = {
    {0, "SVT_SV"}, {1, "MVT_SV"}, {2, "MVT_FMV"}, {3, "MVT_UMV"}, {0, nullptr},
};

LPCTSTR DupText(LPCTSTR text) { return (text && *text) ? strdup(text) : nullptr; }

int KeywordValue(const VhOptionList& list, LPCTSTR keyword) {
  int index = list.FindText(CString(keyword ? keyword : ""));
  return index < 0 ? -1 : static_cast<int>(list.GetItem(index)->value);
}

}  // namespace

VhOptionList SnmpSyntaxKeywords(kSyntaxTable, VHOPTION_INT, FALSE);
VhOptionList SnmpAccessKeywords(kAccessTable, VHOPTION_INT, FALSE);
VhOptionList SnmpItemTypeKeywords(kItemTypeTable, VHOPTION_INT, FALSE);

SnmpVarList::SnmpVarList() : m_nKeyCount(0), m_nItemType(SVT_SV) {}

SnmpVarList::SnmpVarList(const SnmpVarItem* table, int itemType, int keyCount)
    : m_nKeyCount(keyCount), m_nItemType(itemType) {
  Append(table);
}

SnmpVarList::SnmpVarList(const SnmpVarList& other) : m_nKeyCount(0), m_nItemType(SVT_SV) { CopyFrom(other); }

SnmpVarList& SnmpVarList::operator=(const SnmpVarList& other) {
  if (this != &other) CopyFrom(other);
  return *this;
}

SnmpVarList::~SnmpVarList() { Clear(); }

void SnmpVarList::CopyFrom(const SnmpVarList& other) {
  Clear();
  m_nItemType = other.m_nItemType;
  m_nKeyCount = other.m_nKeyCount;
  m_strLabel = other.m_strLabel;
  for (const SnmpVarItem* item : other.m_items)
    m_items.push_back(NewItem(item->oid, item->label, item->syntax, item->access, item->optionList, item->afterRead,
                              item->beforeSet, item->extra, item->value, item->cursor));
  // The copied entries point at the source's option lists: hold them too.
  for (const auto& list : other.m_optionLists) m_optionLists.push_back(list);
}

SnmpVarItem* SnmpVarList::NewItem(LPCTSTR oid, LPCTSTR label, int syntax, int access, VhOptionList* optionList,
                                  LPCTSTR afterRead, LPCTSTR beforeSet, LPCTSTR extra, const CString* value,
                                  const CString* cursor) {
  SnmpVarItem* item = new SnmpVarItem;
  item->oid = strdup(oid ? oid : "");
  item->label = strdup(label ? label : "");
  item->syntax = syntax;
  item->access = access;
  item->optionList = optionList;
  item->afterRead = DupText(afterRead);
  item->beforeSet = DupText(beforeSet);
  item->extra = DupText(extra);
  item->value = value ? new CString(*value) : new CString;
  item->cursor = cursor ? new CString(*cursor) : new CString;
  return item;
}

void SnmpVarList::FreeItem(SnmpVarItem* item) {
  free(const_cast<LPTSTR>(item->oid));
  free(const_cast<LPTSTR>(item->label));
  free(const_cast<LPTSTR>(item->afterRead));
  free(const_cast<LPTSTR>(item->beforeSet));
  free(const_cast<LPTSTR>(item->extra));
  delete item->value;
  delete item->cursor;
  delete item;
}

void SnmpVarList::Clear() {
  for (SnmpVarItem* item : m_items) FreeItem(item);
  m_items.clear();
  m_optionLists.clear();
}

void SnmpVarList::Append(const SnmpVarItem* table) {
  for (const SnmpVarItem* row = table; row && row->oid; ++row)
    m_items.push_back(NewItem(row->oid, row->label, row->syntax, row->access, row->optionList, row->afterRead,
                              row->beforeSet, row->extra, row->value, row->cursor));
}

void SnmpVarList::Add(LPCTSTR oid, LPCTSTR label, int syntax, int access, VhOptionList* optionList,
                      LPCTSTR afterRead, LPCTSTR beforeSet, LPCTSTR extra) {
  m_items.push_back(NewItem(oid, label, syntax, access, optionList, afterRead, beforeSet, extra, nullptr, nullptr));
}

void SnmpVarList::Insert(int index, LPCTSTR oid, LPCTSTR label, int syntax, int access, VhOptionList* optionList,
                         LPCTSTR afterRead, LPCTSTR beforeSet, LPCTSTR extra) {
  if (index < 0 || index >= GetCount()) return;
  m_items.insert(m_items.begin() + index,
                 NewItem(oid, label, syntax, access, optionList, afterRead, beforeSet, extra, nullptr, nullptr));
}

void SnmpVarList::Remove(int index) {
  if (index < 0 || index >= GetCount()) return;
  FreeItem(m_items[index]);
  m_items.erase(m_items.begin() + index);
}

void SnmpVarList::SetOid(int index, LPCTSTR oid) {
  if (index < 0 || index >= GetCount()) return;
  free(const_cast<LPTSTR>(m_items[index]->oid));
  m_items[index]->oid = strdup(oid ? oid : "");
}

int SnmpVarList::FindIndex(LPCTSTR label) const {
  for (int i = 0; i < GetCount(); ++i)
    if (label && strcmp(m_items[i]->label, label) == 0) return i;
  return -1;
}

SnmpVarItem* SnmpVarList::FindItem(LPCTSTR label) const {
  int index = FindIndex(label);
  return index < 0 ? nullptr : m_items[index];
}

void SnmpVarList::SetInstance(LPCTSTR suffix) {
  for (SnmpVarItem* item : m_items) {
    CString oid = CString(item->oid) + "." + suffix;
    free(const_cast<LPTSTR>(item->oid));
    item->oid = strdup(oid);
  }
}

BOOL SnmpVarList::IsReadable(int i) const {
  int a = m_items[i]->access;
  return !(a & SVA_INVALID) && (a & SVA_READ);
}

BOOL SnmpVarList::IsInSetRequest(int i) const {
  int a = m_items[i]->access;
  if (a & SVA_INVALID) return FALSE;
  return (a & SVA_WRITE) || ((m_nItemType == MVT_FMV || m_nItemType == MVT_UMV) && i < m_nKeyCount);
}

BOOL SnmpVarList::IsShown(int i) const {
  int a = m_items[i]->access;
  return !(a & (SVA_INVALID | SVA_HIDDEN)) && (a & (SVA_NOTACCESS | SVA_DERIVED | SVA_READ));
}

BOOL SnmpVarList::IsSkipped(int i) const {
  int a = m_items[i]->access;
  return a == SVA_WRITE || (a & (SVA_INVALID | SVA_HIDDEN));
}

BOOL SnmpVarList::IsFlagged(int i) const { return (m_items[i]->access & SVA_FLAG) != 0; }

int SnmpVarList::CountWhere(BOOL (SnmpVarList::*test)(int) const) const {
  int count = 0;
  for (int i = 0; i < GetCount(); ++i)
    if ((this->*test)(i)) ++count;
  return count;
}

BOOL SnmpVarList::TestLabel(BOOL (SnmpVarList::*test)(int) const, LPCTSTR label) const {
  const int index = FindIndex(label);
  return index >= 0 && (this->*test)(index);
}

int SnmpVarList::GetReadableCount() const { return CountWhere(&SnmpVarList::IsReadable); }
int SnmpVarList::GetInSetRequestCount() const { return CountWhere(&SnmpVarList::IsInSetRequest); }
int SnmpVarList::GetShownCount() const { return CountWhere(&SnmpVarList::IsShown); }
int SnmpVarList::GetSkippedCount() const { return CountWhere(&SnmpVarList::IsSkipped); }
int SnmpVarList::GetFlaggedCount() const { return CountWhere(&SnmpVarList::IsFlagged); }

int SnmpVarList::SyntaxOf(LPCTSTR keyword) { return KeywordValue(SnmpSyntaxKeywords, keyword); }
int SnmpVarList::ItemTypeOf(LPCTSTR keyword) { return KeywordValue(SnmpItemTypeKeywords, keyword); }

int SnmpVarList::AccessOf(LPCTSTR keywords) {
  CStringList parts;
  VhSplit(CString(keywords ? keywords : ""), parts, '|');
  if (parts.IsEmpty()) return -1;
  int flags = 0;
  for (POSITION pos = parts.GetHeadPosition(); pos;) {
    CString part = parts.GetNext(pos);
    part.Trim();
    int value = KeywordValue(SnmpAccessKeywords, part);
    if (value < 0) return -1;
    flags |= value;
  }
  return flags;
}

void SnmpVarList::LoadFromFile(LPCTSTR path) {
  CString fileName(path ? path : "");
  std::string content;
  if (!VhReadFile(fileName, content, kVariablesFileLimit)) VhThrow(-501, {{"[FILENAME]", fileName}});
  LoadFromMemory(content.data(), content.size(), fileName);
}

void SnmpVarList::LoadFromMemory(const void* data, size_t size, LPCTSTR fileName) {
  Clear();
  ByteCursor cursor(data, size);
  int lineNumber = 0;
  auto fail = [&](int code) {
    CString line;
    line.Format("%d", lineNumber);
    VhThrow(code, {{"[LINENO]", line}, {"[FILENAME]", CString(fileName ? fileName : "")}});
  };
  while (!cursor.empty()) {
    // A line is cut at the reader's limit; the rest of it is dropped, never
    // read as a line of its own.
    std::string raw;
    uint8_t byte = 0;
    while (cursor.get_u8(byte) && byte != '\n') {
      if (raw.size() < kLineLimit) raw.push_back(byte ? static_cast<char>(byte) : ' ');
    }
    ++lineNumber;
    CString line(raw);
    line.Trim();
    if (line.IsEmpty()) continue;
    if (line[0] == '#' || line[0] == ';') continue;
    if (line.GetLength() > 1 && (line[1] == '#' || line[1] == ';')) continue;
    int equals = line.Find('=');
    if (equals > 0) {
      CString key = line.Left(equals);
      CString value = line.Mid(equals + 1);
      value.TrimRight();
      if (key == "Name") {
        m_strLabel = value;
      } else if (key == "ItemType") {
        int type = ItemTypeOf(value);
        if (type < 0) fail(-503);
        m_nItemType = type;
      } else if (key == "PKeyCount") {
        m_nKeyCount = VhAtoi(value);
      }
      continue;
    }
    CStringList fields;
    VhSplit(line, fields, ',');
    if (fields.GetCount() != 7) fail(-502);
    CString f[7];
    POSITION pos = fields.GetHeadPosition();
    for (CString& field : f) {
      field = fields.GetNext(pos);
      field.Trim();
    }
    int syntax = SyntaxOf(f[2]);
    if (syntax < 0) fail(-504);
    int access = AccessOf(f[3]);
    if (access < 0) fail(-505);
    VhOptionList* options = nullptr;
    if (!f[4].IsEmpty()) {
      auto list = std::make_shared<VhOptionList>();
      list->LoadFromFile(f[4]);
      m_optionLists.push_back(list);
      options = list.get();
    }
    Add(f[0], f[1], syntax, access, options, f[5], f[6]);
  }
}
