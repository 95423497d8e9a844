#include "SnmpControlVarList.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "CVHException.h"
#include "MacText.h"
#include "SnmpValueText.h"

using namespace snmpvalue;

namespace {

const int kColumnPadding = 12;

// The entries in column order: skipped ones (zero-width columns) first, then
// the shown ones.
std::vector<int> ColumnEntries(const SnmpVarList& list) {
  std::vector<int> entries;
  for (int i = 0; i < list.GetCount(); ++i)
    if (list.IsSkipped(i)) entries.push_back(i);
  for (int i = 0; i < list.GetCount(); ++i)
    if (!list.IsSkipped(i) && list.IsShown(i)) entries.push_back(i);
  return entries;
}

int BitMask(int bit) { return IntPower(2, 7 - (bit % 8)); }

}  // namespace

SnmpControlVarList::SnmpControlVarList(CWnd* owner) : SnmpBoundVarList(owner) {}

SnmpControlVarList::~SnmpControlVarList() = default;

void SnmpControlVarList::BindListCtrl(CNotifyListCtrl* listCtrl, BOOL enableOnSelect) {
  m_pListCtrl = listCtrl;
  listCtrl->SetExtendedStyle(listCtrl->GetExtendedStyle() | LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
  listCtrl->ModifyStyle(0, LVS_REPORT | LVS_SHOWSELALWAYS);
  listCtrl->SetClickCallback(&SnmpControlVarList::OnRowClick, this, 0);
  m_bEnableOnSelect = enableOnSelect ? 1 : 0;
  BuildColumns();
}

void SnmpControlVarList::BuildColumns() {
  if (!m_pListCtrl) return;
  const SnmpVarList& list = m_Request.m_VarList;
  const int needed = list.GetSkippedCount() + list.GetShownCount();
  CHeaderCtrl* header = m_pListCtrl->GetHeaderCtrl();
  int have = header ? header->GetItemCount() : 0;
  if (have >= needed) return;
  for (int c = have - 1; c >= 0; --c) m_pListCtrl->DeleteColumn(c);
  CClientDC dc(m_pListCtrl);
  CFont* font = m_pListCtrl->GetFont();
  CFont* old = font ? dc.SelectObject(font) : nullptr;
  int column = 0;
  for (int entry : ColumnEntries(list)) {
    const char* label = list.GetItem(entry)->label;
    int width = list.IsSkipped(entry) ? 0 : dc.GetTextExtent(CString(label)).cx + kColumnPadding;
    m_pListCtrl->InsertColumn(column++, label, LVCFMT_LEFT, width);
  }
  if (old) dc.SelectObject(old);
}

void SnmpControlVarList::BindControl(int entry, CComboBox* control) {
  AddBinding(entry, 0, m_Request.m_VarList.GetItem(entry)->syntax, nullptr, control, nullptr);
}
void SnmpControlVarList::BindControl(int entry, CEdit* control) {
  AddBinding(entry, 0, m_Request.m_VarList.GetItem(entry)->syntax, nullptr, control, nullptr);
}
void SnmpControlVarList::BindControl(int entry, CIPAddressCtrl* control) {
  AddBinding(entry, 0, m_Request.m_VarList.GetItem(entry)->syntax, nullptr, control, nullptr);
}
void SnmpControlVarList::BindControl(int entry, CButton* control) {
  AddBinding(entry, 0, m_Request.m_VarList.GetItem(entry)->syntax, nullptr, control, nullptr);
}
void SnmpControlVarList::BindControl(int entry, CStatic* control) {
  AddBinding(entry, 0, m_Request.m_VarList.GetItem(entry)->syntax, nullptr, control, nullptr);
}

void SnmpControlVarList::AddBinding(int entry, int offset, int syntax, VhOptionList* optionList, CWnd* control,
                                    CWnd* further) {
  SnmpVarItem* item = m_Request.m_VarList.GetItem(entry);
  VhOptionList* used = optionList;
  if (!used && offset == 0 && syntax == item->syntax) used = item->optionList;
  CComboBox* combo = dynamic_cast<CComboBox*>(control);
  if (combo) {
    if (!used) VhThrow(-520);
    used->FillComboBox(combo);
    // A prefix list needs a second control for the rest of the value.
    if (used->GetValueType() == VHOPTION_HEAD && !further) VhThrow(-522);
  }
  SnmpControlBinding binding{entry, offset, syntax, optionList, further ? 2 : 1, {}, {control}, KindOf(control)};
  if (auto* notify = dynamic_cast<CNotifyIPAddressCtrl*>(control))
    notify->SetChangeCallback(&SnmpControlVarList::OnControlChanged, this);
  m_bindings.push_back(binding);
}

int SnmpControlVarList::KindOf(CWnd* control) {
  if (dynamic_cast<CComboBox*>(control)) return SCK_COMBOBOX;
  if (dynamic_cast<CIPAddressCtrl*>(control)) return SCK_IPADDRESS;
  if (dynamic_cast<CButton*>(control)) return SCK_BUTTON;
  if (dynamic_cast<CStatic*>(control)) return SCK_STATIC;
  if (!control) return SCK_NONE;
  // Edits go by their run-time class: the MAC edit first, and an edit
  // subclass without a record of its own reports "CEdit".
  CString name = control->GetRuntimeClass()->m_lpszClassName;
  if (name == "CMacEdit") return SCK_MACEDIT;
  if (name == "CEdit") return SCK_EDIT;
  return SCK_NONE;
}

void SnmpControlVarList::BindFormat(int entry, LPCTSTR format, const std::vector<CWnd*>& controls) {
  const size_t kMaxControls = 50;
  size_t wanted = 0;
  for (const char* p = format ? format : ""; *p; ++p)
    if (p[0] == '%' && p[1] && strchr("shiufn", p[1])) ++wanted;
  wanted = std::min({wanted, controls.size(), kMaxControls});
  SnmpControlBinding binding{entry, 0, m_Request.m_VarList.GetItem(entry)->syntax, nullptr, 0, {}, {}, SCK_NONE};
  binding.controls.assign(controls.begin(), controls.begin() + static_cast<std::ptrdiff_t>(wanted));
  binding.nCount = static_cast<int>(wanted);
  if (!binding.controls.empty()) binding.nKind = KindOf(binding.controls[0]);
  for (CWnd* control : binding.controls) {
    if (auto* edit = dynamic_cast<CNotifyEdit*>(control))
      edit->SetChangeCallback(&SnmpControlVarList::OnControlChanged, this, 0);
    else if (auto* combo = dynamic_cast<CNotifyComboBox*>(control))
      combo->SetChangeCallback(&SnmpControlVarList::OnControlChanged, this, 0);
    else if (auto* ip = dynamic_cast<CNotifyIPAddressCtrl*>(control))
      ip->SetChangeCallback(&SnmpControlVarList::OnControlChanged, this);
  }
  m_bindings.push_back(binding);
}

void SnmpControlVarList::BindBits(int entry, LPCTSTR bits, const std::vector<CButton*>& checkBoxes) {
  SnmpControlBinding binding{entry, 0, m_Request.m_VarList.GetItem(entry)->syntax, nullptr, 0, {}, {}, SCK_BUTTON};
  CStringList numbers;
  VhSplit(CString(bits ? bits : ""), numbers, ',');
  size_t i = 0;
  for (POSITION pos = numbers.GetHeadPosition(); pos && i < checkBoxes.size(); ++i) {
    binding.bitIndexes.push_back(atoi(numbers.GetNext(pos)));
    binding.controls.push_back(checkBoxes[i]);
  }
  binding.nCount = static_cast<int>(binding.controls.size());
  m_bindings.push_back(binding);
}

VhOptionList* SnmpControlVarList::OptionListOf(const SnmpControlBinding& binding) const {
  if (binding.pOptionList) return binding.pOptionList;
  const SnmpVarItem* item = m_Request.m_VarList.GetItem(binding.nEntry);
  return (binding.nOffset == 0 && binding.nSyntax == item->syntax) ? item->optionList : nullptr;
}

BOOL SnmpControlVarList::IsChanged() const {
  if (m_bChanged) return TRUE;
  for (const SnmpControlBinding& b : m_bindings) {
    if (b.nKind != SCK_EDIT && b.nKind != SCK_MACEDIT) continue;
    if (auto* edit = dynamic_cast<CEdit*>(b.controls[0]); edit && edit->GetSafeHwnd() && edit->GetModify())
      return TRUE;
  }
  return FALSE;
}

void SnmpControlVarList::EnableControls(BOOL enable) {
  for (const SnmpControlBinding& b : m_bindings)
    if (b.nKind == SCK_COMBOBOX || b.nKind == SCK_EDIT)
      for (CWnd* control : b.controls)
        if (control && control->GetSafeHwnd()) control->EnableWindow(enable);
}

void SnmpControlVarList::BeforeGet() {
  if (!m_pListCtrl) return;
  BuildColumns();
  m_pListCtrl->DeleteAllItems();
}

void SnmpControlVarList::WriteRow(int row, SnmpVarList& list) {
  bool first = true;
  for (int entry : ColumnEntries(list)) {
    m_pListCtrl->SetItemText(row, first ? 0 : entry, *list.GetItem(entry)->value);
    first = false;
  }
}

void SnmpControlVarList::OnItemReceived(SnmpVarList* row) {
  if (!m_pListCtrl) {
    // The received values are the list's own for a synchronous Get; an
    // asynchronous one hands a copy.
    if (row != &m_Request.m_VarList) m_Request.m_VarList = *row;
    ValuesToControls();
    return;
  }
  int index = m_pListCtrl->InsertItem(m_pListCtrl->GetItemCount(), "");
  WriteRow(index, *row);
}

void SnmpControlVarList::AfterGet() {
  m_bChanged = 0;
  if (m_pListCtrl && m_bEnableOnSelect && m_Request.m_VarList.m_nItemType == MVT_FMV) EnableControls(FALSE);
}

void SnmpControlVarList::ReadSelectedRow() {
  int row = m_pListCtrl->GetNextItem(-1, LVNI_SELECTED);
  if (row < 0) return;
  SnmpVarList& list = m_Request.m_VarList;
  bool first = true;
  for (int entry : ColumnEntries(list)) {
    *list.GetItem(entry)->value = m_pListCtrl->GetItemText(row, first ? 0 : entry);
    first = false;
  }
}

void SnmpControlVarList::CollectValues() {
  SnmpVarList& list = m_Request.m_VarList;
  for (int i = 0; i < list.GetCount(); ++i) list.GetItem(i)->value->Empty();
  if (m_pListCtrl) ReadSelectedRow();
  ControlsToValues();
}

void SnmpControlVarList::OnControlChanged(int, void* user) { static_cast<SnmpControlVarList*>(user)->m_bChanged = 1; }

void SnmpControlVarList::OnRowClick(NMHDR*, LRESULT* result, void* user) {
  auto* self = static_cast<SnmpControlVarList*>(user);
  if (!self->m_pListCtrl || self->m_pListCtrl->GetNextItem(-1, LVNI_SELECTED) < 0) return;
  if (self->m_bEnableOnSelect) self->EnableControls(TRUE);
  self->ReadSelectedRow();
  self->ValuesToControls();
  self->m_bChanged = 0;
  if (result) *result = 0;
}

void SnmpControlVarList::ValuesToControls(int entry) {
  SnmpVarList& list = m_Request.m_VarList;
  for (const SnmpControlBinding& b : m_bindings) {
    if (entry >= 0 && b.nEntry != entry) continue;
    SnmpVarItem* item = list.GetItem(b.nEntry);
    if (item->access & SVA_INVALID) continue;
    CString text = OptionValue(item);
    SnmpBytes bytes = TextToBytes(text, item->syntax);
    VhOptionList* options = OptionListOf(b);
    if (b.nOffset != 0 || b.nSyntax != item->syntax) {
      bytes = PartialBytes(bytes, b.nOffset, b.nSyntax);
      text = BytesToText(bytes, b.nSyntax);
    }
    if (options) text = options->GetTextOfValue(text);
    CWnd* control = b.controls.empty() ? nullptr : b.controls[0];
    switch (b.nKind) {
      case SCK_COMBOBOX:
        options->SelectComboBox(static_cast<CComboBox*>(control), text);
        break;
      case SCK_EDIT:
      case SCK_IPADDRESS:
      case SCK_STATIC:
        control->SetWindowText(text);
        break;
      case SCK_MACEDIT:
        control->SetWindowText(VhMacColonText(text));
        control->SendMessage(EM_LIMITTEXT, 17, 0);
        break;
      case SCK_BUTTON:
        if (!b.bitIndexes.empty()) {
          for (size_t k = 0; k < b.bitIndexes.size(); ++k) {
            size_t byte = static_cast<size_t>(b.bitIndexes[k] / 8);
            if (byte >= bytes.size()) VhThrow(-519);
            static_cast<CButton*>(b.controls[k])->SetCheck((bytes[byte] & BitMask(b.bitIndexes[k])) ? 1 : 0);
          }
        } else if (options) {
          int index = options->FindText(text);
          if (index < 0) index = options->FindValue(text);
          static_cast<CButton*>(control)->SetCheck(index > 0 ? 1 : 0);
        } else if (IsBooleanSyntax(b.nSyntax)) {
          static_cast<CButton*>(control)->SetCheck(text == "true" ? 1 : 0);
        } else {
          VhThrow(-517);
        }
        break;
      default:
        VhThrow(-521);
    }
  }
}

void SnmpControlVarList::ControlsToValues(int entry) {
  SnmpVarList& list = m_Request.m_VarList;
  for (int i = 0; i < list.GetCount(); ++i) {
    if (entry >= 0 && i != entry) continue;
    if (!list.IsInSetRequest(i)) continue;
    SnmpVarItem* item = list.GetItem(i);
    bool bound = false;
    SnmpBytes working;
    for (const SnmpControlBinding& b : m_bindings) {
      if (b.nEntry != i) continue;
      if (!bound) {
        if (item->syntax != SVS_DISPLAYSTR) working = TextToBytes(OptionValue(item), item->syntax);
        bound = true;
      }
      CWnd* control = b.controls.empty() ? nullptr : b.controls[0];
      VhOptionList* options = OptionListOf(b);
      CString text;
      SnmpBytes part;
      bool bits = false;
      switch (b.nKind) {
        case SCK_COMBOBOX: {
          auto* combo = static_cast<CComboBox*>(control);
          int selected = combo->GetCurSel();
          if (selected >= 0) combo->GetLBText(selected, text);
          break;
        }
        case SCK_EDIT:
        case SCK_IPADDRESS:
        case SCK_STATIC:
          control->GetWindowText(text);
          break;
        case SCK_MACEDIT:
          control->GetWindowText(text);
          text = VhMacDigits(text);
          break;
        case SCK_BUTTON:
          if (!b.bitIndexes.empty()) {
            bits = true;
            for (size_t k = 0; k < b.bitIndexes.size(); ++k) {
              size_t byte = static_cast<size_t>(b.bitIndexes[k] / 8);
              while (part.size() <= byte) part.push_back(0);
              BYTE mask = static_cast<BYTE>(BitMask(b.bitIndexes[k]));
              if (static_cast<CButton*>(b.controls[k])->GetCheck()) part[byte] |= mask;
              else part[byte] &= static_cast<BYTE>(~mask);
            }
          } else if (options) {
            int state = static_cast<CButton*>(control)->GetCheck() ? 1 : 0;
            if (state < options->GetCount()) text = options->GetItem(state)->text;
          } else if (IsBooleanSyntax(b.nSyntax)) {
            text = static_cast<CButton*>(control)->GetCheck() ? "true" : "false";
          } else {
            VhThrow(-517);
          }
          break;
        default:
          VhThrow(-521);
      }
      if (!bits) {
        if (options) text = options->GetValueOfText(text);
        part = TextToBytes(text, b.nSyntax);
      }
      size_t offset = static_cast<size_t>(b.nOffset > 0 ? b.nOffset : 0);
      if (working.size() < offset + part.size()) working.resize(offset + part.size(), 0);
      std::copy(part.begin(), part.end(), working.begin() + static_cast<std::ptrdiff_t>(offset));
    }
    if (!bound) continue;
    *item->value = BytesToText(working, item->syntax);
    ShowAsOption(item);
  }
}

void SnmpRowWriterVarList::BeforeGet() {
  SnmpControlVarList::BeforeGet();
  // The rows were just deleted: numbering starts again.
  if (m_pListCtrl) m_nRowNumber = 1;
}

void SnmpRowWriterVarList::OnItemReceived(SnmpVarList* row) {
  if (!m_pListCtrl) {
    SnmpControlVarList::OnItemReceived(row);
    return;
  }
  bool filtered = m_nFilterEntry >= 0 && m_nFilterEntry < row->GetCount();
  if (filtered && *row->GetItem(m_nFilterEntry)->value == m_strFilter) return;
  InsertRow(row);
  ++m_nRowNumber;
}

void SnmpRowWriterVarList::InsertRow(SnmpVarList* row) {
  int index = m_pListCtrl->InsertItem(m_pListCtrl->GetItemCount(), "");
  WriteRow(index, *row);
  CString number;
  number.Format("%d", m_nRowNumber);
  m_pListCtrl->SetItemText(index, 0, number);
}
