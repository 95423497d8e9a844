// The bound variable list that dialogs use: entries of the list, or a byte
// range or single bits of an entry's value, tied to dialog controls, and a
// table list shown in a list control with one row per table row. After a Get
// the values appear in the controls; before a Set the controls are collected.
#pragma once

#include <vector>

#include "NotifyControls.h"
#include "SnmpBoundVarList.h"
#include "VhOptionList.h"

enum SnmpControlKind {
  SCK_NONE = 0,
  SCK_COMBOBOX = 1,
  SCK_EDIT = 2,
  SCK_IPADDRESS = 3,
  SCK_BUTTON = 4,
  SCK_STATIC = 5,
  SCK_MACEDIT = 6,
};

struct SnmpControlBinding {
  int nEntry;
  int nOffset;  // byte offset of a partial value (0 = whole value)
  int nSyntax;  // syntax of the bound part
  VhOptionList* pOptionList;
  int nCount;  // controls, or bits of a bit binding
  std::vector<int> bitIndexes;  // one bit number per check box; empty if none
  std::vector<CWnd*> controls;
  int nKind;
};

class SnmpControlVarList : public SnmpBoundVarList {
 public:
  explicit SnmpControlVarList(CWnd* owner);
  ~SnmpControlVarList() override;

  void BindListCtrl(CNotifyListCtrl* listCtrl, BOOL enableOnSelect);
  void BindControl(int entry, CComboBox* control);
  void BindControl(int entry, CEdit* control);
  void BindControl(int entry, CIPAddressCtrl* control);
  void BindControl(int entry, CButton* control);
  void BindControl(int entry, CStatic* control);
  // A check box per bit number of `bits` ("0,9,..."; bit 0 is the most
  // significant bit of the first byte).
  void BindBits(int entry, LPCTSTR bits, const std::vector<CButton*>& checkBoxes);
  // One binding of the entry to the controls of `format`: one control per
  // "%" followed by one of "shiufn". Each control that can tell of a change
  // tells this list through its first change slot.
  void BindFormat(int entry, LPCTSTR format, const std::vector<CWnd*>& controls);
  // `further` not null makes a binding of two controls; with a prefix option
  // list a combo box needs it.
  void AddBinding(int entry, int offset, int syntax, VhOptionList* optionList, CWnd* control, CWnd* further);

  BOOL IsChanged() const;
  void EnableControls(BOOL enable);
  int GetBindingCount() const { return static_cast<int>(m_bindings.size()); }
  const SnmpControlBinding& GetBinding(int index) const { return m_bindings[index]; }

  void BeforeGet() override;
  void OnItemReceived(SnmpVarList* row) override;
  void CollectValues() override;
  void AfterGet() override;

  // -1 for every entry.
  void ValuesToControls(int entry = -1);
  void ControlsToValues(int entry = -1);

 protected:
  // Writes a received row into row `row` of the list control: the first
  // column entry into column 0, every later one into the column of its index.
  void WriteRow(int row, SnmpVarList& list);

  CNotifyListCtrl* m_pListCtrl = nullptr;
  std::vector<SnmpControlBinding> m_bindings;
  BYTE m_bChanged = 0;
  BYTE m_bEnableOnSelect = 1;

 private:
  void BuildColumns();
  static int KindOf(CWnd* control);
  void ReadSelectedRow();
  static void OnControlChanged(int controlId, void* user);
  static void OnRowClick(NMHDR* notification, LRESULT* result, void* user);
  VhOptionList* OptionListOf(const SnmpControlBinding& binding) const;
};

// Numbered rows in the list control, optionally without the rows whose
// filter entry holds the filter text.
class SnmpRowWriterVarList : public SnmpControlVarList {
 public:
  explicit SnmpRowWriterVarList(CWnd* owner) : SnmpControlVarList(owner) {}

  void BeforeGet() override;
  void OnItemReceived(SnmpVarList* row) override;
  // Appends a row whose first cell is the row number.
  virtual void InsertRow(SnmpVarList* row);

  int m_nRowNumber = 1;
  CString m_strFilter;
  int m_nFilterEntry = 1;  // negative: every row is shown
};
