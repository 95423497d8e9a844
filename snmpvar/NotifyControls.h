// Standard controls that tell plain function pointers of a user's change, so
// that a dialog or a control-bound variable list learns of it without a
// message-map entry of its own. They catch their own reflected notification.
#pragma once

#include "AfxCmnCtrl.h"
#include "afxwin.h"

typedef void (*CtrlChangeCallback)(int controlId, void* user);
typedef void (*ListClickCallback)(NMHDR* notification, LRESULT* result, void* user);

// The two change-callback slots of a notifying combo box or edit.
struct CtrlChangeSlots {
  CtrlChangeCallback callback[2] = {nullptr, nullptr};
  void* user[2] = {nullptr, nullptr};

  // `slot` 0 fills the first slot, any other value the second.
  void Set(CtrlChangeCallback cb, void* u, int slot) {
    callback[slot ? 1 : 0] = cb;
    user[slot ? 1 : 0] = u;
  }
  // The second slot wins: only one of the two is told.
  void Fire(int controlId) const {
    if (callback[1]) callback[1](controlId, user[1]);
    else if (callback[0]) callback[0](controlId, user[0]);
  }
};

class CNotifyComboBox : public CComboBox {
 public:
  // `slot` 0 fills the first slot, any other value the second.
  void SetChangeCallback(CtrlChangeCallback callback, void* user, int slot);

 protected:
  afx_msg void OnSelChange();
  DECLARE_MESSAGE_MAP()

 private:
  CtrlChangeSlots m_slots;
};

class CNotifyEdit : public CEdit {
 public:
  void SetChangeCallback(CtrlChangeCallback callback, void* user, int slot);

 protected:
  afx_msg void OnChange();
  DECLARE_MESSAGE_MAP()

 private:
  CtrlChangeSlots m_slots;
};

// Its callback is registered but no notification runs it: the message map is
// left empty, so the parent keeps the field-changed notification.
class CNotifyIPAddressCtrl : public CIPAddressCtrl {
 public:
  void SetChangeCallback(CtrlChangeCallback callback, void* user);
  afx_msg void OnFieldChanged(NMHDR* notification, LRESULT* result);

 private:
  CtrlChangeCallback m_pCallback = nullptr;
  void* m_pUser = nullptr;
};

class CNotifyListCtrl : public CListCtrl {
 public:
  void SetClickCallback(ListClickCallback callback, void* user, int slot);
  // Selects the row, then tells the first slot, with the row index as the
  // result argument and no notification.
  void SelectItem(int index);

 protected:
  afx_msg void OnClick(NMHDR* notification, LRESULT* result);
  DECLARE_MESSAGE_MAP()

 private:
  ListClickCallback m_pCallback1 = nullptr;
  void* m_pUser1 = nullptr;
  ListClickCallback m_pCallback2 = nullptr;
  void* m_pUser2 = nullptr;
};
