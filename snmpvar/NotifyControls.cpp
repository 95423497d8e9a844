#include "NotifyControls.h"

BEGIN_MESSAGE_MAP(CNotifyComboBox, CComboBox)
ON_CONTROL_REFLECT(CBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

void CNotifyComboBox::SetChangeCallback(CtrlChangeCallback callback, void* user, int slot) {
  m_slots.Set(callback, user, slot);
}

void CNotifyComboBox::OnSelChange() { m_slots.Fire(GetDlgCtrlID()); }

BEGIN_MESSAGE_MAP(CNotifyEdit, CEdit)
ON_CONTROL_REFLECT(EN_CHANGE, OnChange)
END_MESSAGE_MAP()

void CNotifyEdit::SetChangeCallback(CtrlChangeCallback callback, void* user, int slot) {
  m_slots.Set(callback, user, slot);
}

void CNotifyEdit::OnChange() { m_slots.Fire(GetDlgCtrlID()); }

void CNotifyIPAddressCtrl::SetChangeCallback(CtrlChangeCallback callback, void* user) {
  m_pCallback = callback;
  m_pUser = user;
}

void CNotifyIPAddressCtrl::OnFieldChanged(NMHDR*, LRESULT* result) {
  if (m_pCallback) m_pCallback(GetDlgCtrlID(), m_pUser);
  if (result) *result = 0;
}

BEGIN_MESSAGE_MAP(CNotifyListCtrl, CListCtrl)
ON_NOTIFY_REFLECT(NM_CLICK, OnClick)
END_MESSAGE_MAP()

void CNotifyListCtrl::SetClickCallback(ListClickCallback callback, void* user, int slot) {
  (slot ? m_pCallback2 : m_pCallback1) = callback;
  (slot ? m_pUser2 : m_pUser1) = user;
}

void CNotifyListCtrl::OnClick(NMHDR* notification, LRESULT* result) {
  if (m_pCallback2) m_pCallback2(notification, result, m_pUser2);
  if (m_pCallback1) m_pCallback1(notification, result, m_pUser1);
  if (result) *result = 0;
}

void CNotifyListCtrl::SelectItem(int index) {
  SetItemState(index, LVIS_SELECTED, LVIS_SELECTED);
  LRESULT row = index;
  if (m_pCallback1) m_pCallback1(nullptr, &row, m_pUser1);
}
