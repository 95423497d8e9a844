#include "SnmpSession.h"

#include "CVHException.h"
#include "EventList.h"
#include "Snmp.h"
#include "VhString.h"
#include "afxwin.h"
#include "bootcounter.h"
#include "mp_v3.h"

SnmpRequestDefaultValues SnmpRequestDefaults = {100, "127.0.0.1", "", 161, "", "", 0, "quorin", "velmont",
                                                 1,   1,           "", "",  "", 1,  1};
Snmp* SnmpGlobalSession = nullptr;
const char* const SnmpLocalEngineId = "VhSNMP_Application";
const char* const SnmpBootCounterFile = "VhSNMP_BootCounter";

namespace {

const UINT kEventPeriodMs = 20;

class SnmpEventWindow : public CWnd {
 public:
  UINT_PTR m_nTimerId = 0;

 protected:
  afx_msg void OnTimer(UINT_PTR nIDEvent);
  DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(SnmpEventWindow, CWnd)
ON_WM_TIMER()
END_MESSAGE_MAP()

void SnmpEventWindow::OnTimer(UINT_PTR) {
  // The timer stays off during the pass, so a long callback never piles up
  // timer messages.
  KillTimer(m_nTimerId);
  if (SnmpGlobalSession) SNMPProcessPendingEvents();
  if (m_hWnd) m_nTimerId = SetTimer(0, kEventPeriodMs, nullptr);
}

// Made and destroyed with the session: a window object outliving the window
// manager at process exit would have nothing left to destroy its window with.
SnmpEventWindow* eventWindow = nullptr;

}  // namespace

HWND SnmpEventWindowHandle() { return eventWindow ? eventWindow->GetSafeHwnd() : nullptr; }

bool SnmpSessionInit(CString folder, CString /*address*/) {
  int status = 0;
  SnmpGlobalSession = new Snmp(status, 0);
  if (status != 0) VhThrow(-506);

  CString path = VhJoinPath(folder, SnmpBootCounterFile);
  OctetStr engineId(SnmpLocalEngineId);
  uint32_t boots = 0;
  int result = getBootCounter(path, engineId, boots);
  if (result < -2) VhThrow(-507);
  if (result != 0) boots = 0;
  ++boots;
  if (saveBootCounter(path, engineId, boots) != 0) VhThrow(-508);
  mpInit(SnmpGlobalSession, engineId, boots);

  SnmpRequestDefaults = SnmpRequestDefaultValues{100, "127.0.0.1", "", 161, "", "", 0, "quorin", "velmont",
                                                 1,   1,           "", "",  "", 1,  1};

  if (!eventWindow) eventWindow = new SnmpEventWindow;
  if (!eventWindow->GetSafeHwnd()) {
    LPCTSTR className = AfxRegisterWndClass(0);
    if (!eventWindow->CreateEx(0, className, "Snmp EventProcessor", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr)) {
      delete eventWindow;
      eventWindow = nullptr;
      VhThrow(-529);
    }
  }
  eventWindow->m_nTimerId = eventWindow->SetTimer(0, kEventPeriodMs, nullptr);
  return true;
}

void SnmpSessionExit() {
  if (eventWindow) {
    if (eventWindow->GetSafeHwnd()) {
      eventWindow->KillTimer(eventWindow->m_nTimerId);
      eventWindow->DestroyWindow();
    }
    delete eventWindow;
    eventWindow = nullptr;
  }
  if (SnmpGlobalSession) {
    delete SnmpGlobalSession;
    SnmpGlobalSession = nullptr;
    mpFinish();
  }
}
