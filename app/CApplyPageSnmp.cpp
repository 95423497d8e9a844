// The apply engine's SNMP phase (first instance) and the second run.
#include "CApplyPage.h"

LRESULT CApplyPage::OnNextDevice(WPARAM, LPARAM) {
  SetBusy(FALSE);
  return 0;
}

void CApplyPage::RunSecond() {}

LRESULT CApplyPage::OnRetrySnmpStep(WPARAM, LPARAM) { return 0; }

void CApplyPage::FinalPassDone(BOOL, CString, CString, void*) {}
void CApplyPage::ApModeRead(SnmpBoundVarList*, SnmpRequestResult*, void*) {}
void CApplyPage::ApModeWritten(SnmpBoundVarList*, SnmpRequestResult*, void*) {}
void CApplyPage::GroupSettingsWritten(SnmpBoundVarList*, SnmpRequestResult*, void*) {}
void CApplyPage::RestartSent(SnmpBoundVarList*, SnmpRequestResult*, void*) {}
