#include "VhOptionList.h"

#include <cstring>
#include <string>

#include "AfxCtrl.h"
#include "CVHException.h"
#include "VhString.h"

namespace {

LPCTSTR DupText(LPCTSTR text) {
  if (!text) text = "";
  size_t length = strlen(text);
  char* copy = new char[length + 1];
  memcpy(copy, text, length + 1);
  return copy;
}

void FreeText(LPCTSTR text) { delete[] const_cast<char*>(text); }

bool IsStringType(VhOptionValueType type) { return type == VHOPTION_STR || type == VHOPTION_HEAD; }

// Option files are a few lines long; anything this large is not one.
const size_t kOptionFileLimit = 1 << 20;

}  // namespace

VhOptionList::VhOptionList() : VhOptionList(VHOPTION_INT, FALSE) {}

VhOptionList::VhOptionList(VhOptionValueType valueType, BOOL caseSensitive)
    : m_nValueType(valueType), m_bCaseSensitive(caseSensitive), m_nCount(0), m_pItems(nullptr) {}

VhOptionList::VhOptionList(const OptionListItem* table, VhOptionValueType valueType, BOOL caseSensitive)
    : VhOptionList(valueType, caseSensitive) {
  Append(table);
}

VhOptionList::VhOptionList(const VhOptionList& other) : VhOptionList(other.m_nValueType, other.m_bCaseSensitive) {
  *this = other;
}

VhOptionList& VhOptionList::operator=(const VhOptionList& other) {
  if (this == &other) return *this;
  Clear();
  m_nValueType = other.m_nValueType;
  m_bCaseSensitive = other.m_bCaseSensitive;
  if (other.m_nCount > 0) {
    m_pItems = new OptionListItem*[other.m_nCount];
    for (; m_nCount < other.m_nCount; ++m_nCount) {
      const OptionListItem* from = other.m_pItems[m_nCount];
      OptionListItem* item = new OptionListItem;
      item->value = IsStringType(m_nValueType) ? reinterpret_cast<INT_PTR>(DupText(ValueText(from))) : from->value;
      item->text = DupText(from->text);
      m_pItems[m_nCount] = item;
    }
  }
  return *this;
}

VhOptionList::~VhOptionList() { Clear(); }

int VhOptionList::GetTableCount(const OptionListItem* table) {
  int count = 0;
  if (table) {
    while (table[count].text) ++count;
  }
  return count;
}

void VhOptionList::FreeItem(OptionListItem* item, VhOptionValueType valueType) {
  if (IsStringType(valueType)) FreeText(ValueText(item));
  FreeText(item->text);
  delete item;
}

void VhOptionList::Clear() {
  for (int i = 0; i < m_nCount; ++i) FreeItem(m_pItems[i], m_nValueType);
  delete[] m_pItems;
  m_pItems = nullptr;
  m_nCount = 0;
}

void VhOptionList::Append(const OptionListItem* table) {
  int rows = GetTableCount(table);
  if (rows == 0) return;
  OptionListItem** items = new OptionListItem*[m_nCount + rows];
  for (int i = 0; i < m_nCount; ++i) items[i] = m_pItems[i];
  for (int i = 0; i < rows; ++i) {
    OptionListItem* item = new OptionListItem;
    item->value = IsStringType(m_nValueType) ? reinterpret_cast<INT_PTR>(DupText(ValueText(&table[i])))
                                             : table[i].value;
    item->text = DupText(table[i].text);
    items[m_nCount + i] = item;
  }
  delete[] m_pItems;
  m_pItems = items;
  m_nCount += rows;
}

OptionListItem* VhOptionList::NewItem(const CString& value, const CString& text) const {
  OptionListItem* item = new OptionListItem;
  item->value = IsStringType(m_nValueType) ? reinterpret_cast<INT_PTR>(DupText(value))
                                           : static_cast<INT_PTR>(VhAtoi(value));
  item->text = DupText(text);
  return item;
}

void VhOptionList::Add(const CString& value, const CString& text) {
  OptionListItem** items = new OptionListItem*[m_nCount + 1];
  for (int i = 0; i < m_nCount; ++i) items[i] = m_pItems[i];
  items[m_nCount] = NewItem(value, text);
  delete[] m_pItems;
  m_pItems = items;
  ++m_nCount;
}

void VhOptionList::Insert(int index, const CString& value, const CString& text) {
  if (index < 0 || index >= m_nCount) return;
  OptionListItem** items = new OptionListItem*[m_nCount + 1];
  for (int i = 0, j = 0; i <= m_nCount; ++i) items[i] = i == index ? nullptr : m_pItems[j++];
  items[index] = NewItem(value, text);
  delete[] m_pItems;
  m_pItems = items;
  ++m_nCount;
}

void VhOptionList::Remove(int index) {
  if (index < 0 || index >= m_nCount) return;
  FreeItem(m_pItems[index], m_nValueType);
  for (int i = index; i + 1 < m_nCount; ++i) m_pItems[i] = m_pItems[i + 1];
  if (--m_nCount == 0) {
    delete[] m_pItems;
    m_pItems = nullptr;
  }
}

const OptionListItem* VhOptionList::GetItem(int index) const {
  ASSERT(index >= 0 && index < m_nCount);
  return m_pItems[index];
}

bool VhOptionList::SameText(LPCTSTR a, LPCTSTR b) const {
  return (m_bCaseSensitive ? strcmp(a, b) : strcasecmp(a, b)) == 0;
}

// Whole-text equality, or for prefix lists: `entry` is the head of `text`.
bool VhOptionList::Matches(LPCTSTR entry, const CString& text) const {
  if (m_nValueType != VHOPTION_HEAD) return SameText(entry, text);
  size_t length = strlen(entry);
  if (static_cast<size_t>(text.GetLength()) < length) return false;
  return (m_bCaseSensitive ? strncmp(entry, text, length) : strncasecmp(entry, text, length)) == 0;
}

int VhOptionList::FindText(const CString& text) const {
  for (int i = 0; i < m_nCount; ++i) {
    if (Matches(m_pItems[i]->text, text)) return i;
  }
  return -1;
}

int VhOptionList::FindValue(const CString& value) const {
  if (m_nValueType == VHOPTION_INT) {
    if (value == "(NULL)") return -1;
    int number = VhAtoi(value);
    for (int i = 0; i < m_nCount; ++i) {
      if (static_cast<int>(m_pItems[i]->value) == number) return i;
    }
    return -1;
  }
  for (int i = 0; i < m_nCount; ++i) {
    if (Matches(ValueText(m_pItems[i]), value)) return i;
  }
  return -1;
}

CString VhOptionList::GetTextOfValue(const CString& value) const {
  int index = FindValue(value);
  if (index < 0) return value;
  const OptionListItem* item = m_pItems[index];
  if (m_nValueType != VHOPTION_HEAD) return item->text;
  return item->text + value.Mid(static_cast<int>(strlen(ValueText(item))));
}

CString VhOptionList::GetValueOfText(const CString& text) const {
  int index = FindText(text);
  if (index < 0) return text;
  const OptionListItem* item = m_pItems[index];
  switch (m_nValueType) {
    case VHOPTION_INT: {
      CString number;
      number.Format("%d", static_cast<int>(item->value));
      return number;
    }
    case VHOPTION_STR:
      return ValueText(item);
    default:
      return ValueText(item) + text.Mid(static_cast<int>(strlen(item->text)));
  }
}

void VhOptionList::FillComboBox(CComboBox* comboBox) const {
  comboBox->ResetContent();
  for (int i = 0; i < m_nCount; ++i) comboBox->AddString(m_pItems[i]->text);
}

// Both a display text and a value select the right item; neither clears the selection.
void VhOptionList::SelectComboBox(CComboBox* comboBox, const CString& text) const {
  comboBox->SetCurSel(FindText(text));
  if (comboBox->GetCurSel() < 0) comboBox->SetCurSel(FindValue(text));
}

void VhOptionList::LoadFromFile(LPCTSTR path) {
  std::string content;
  if (!VhReadFile(path, content, kOptionFileLimit)) VhThrow(VHCOMMON_OPTION_FILE_READ, {{"[FILENAME]", path}});
  LoadFromMemory(content.data(), content.size());
}

void VhOptionList::LoadFromMemory(const void* data, size_t size) {
  Clear();
  CStringArray lines;
  VhSplitLines(std::string(static_cast<const char*>(data), size), lines);
  for (int i = 0; i < lines.GetSize(); ++i) {
    const CString& line = lines[i];
    // A separator must follow at least one character.
    if (line[0] == '=' || line[0] == ',') continue;
    int pos = line.Find('=');
    if (pos > 0) {
      CString key = line.Left(pos);
      CString setting = line.Mid(pos + 1);
      setting.TrimRight();
      if (key.CompareNoCase("ValueType") == 0) {
        SetValueType(setting == "HEAD" ? VHOPTION_HEAD : setting == "STR" ? VHOPTION_STR : VHOPTION_INT);
      } else if (key.CompareNoCase("CaseSensitivity") == 0) {
        m_bCaseSensitive = setting.CompareNoCase("true") == 0;
      }
      continue;
    }
    pos = line.Find(',');
    if (pos > 0) {
      CString text = line.Mid(pos + 1);
      text.TrimRight();
      Add(line.Left(pos), text);
    }
  }
}

// A file may change the value type after some entries; those entries are
// converted so that every entry keeps the form the list's type says it has.
void VhOptionList::SetValueType(VhOptionValueType valueType) {
  if (IsStringType(valueType) != IsStringType(m_nValueType)) {
    for (int i = 0; i < m_nCount; ++i) {
      OptionListItem* item = m_pItems[i];
      if (IsStringType(valueType)) {
        CString number;
        number.Format("%d", static_cast<int>(item->value));
        item->value = reinterpret_cast<INT_PTR>(DupText(number));
      } else {
        LPCTSTR text = ValueText(item);
        item->value = VhAtoi(text);
        FreeText(text);
      }
    }
  }
  m_nValueType = valueType;
}
