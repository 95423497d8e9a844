#include "SnmpSession.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "CVHException.h"
#include "EventList.h"
#include "Files.h"
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

// Why the counter file at `path` could not be used, for a person to read.
std::string WhyNotKept(const CString& path, int error) {
  struct stat info;
  if (::lstat(path, &info) == 0 && !S_ISREG(info.st_mode))
    return S_ISLNK(info.st_mode) ? "a link stands in its place" : "it is not a regular file";
  return error ? std::strerror(error) : "unknown error";
}

// The error that making the missing folder `path` (with the missing folders
// on its way) meets, found without making anything: the nearest step that
// exists must be a folder in which this user may make folders. 0 when nothing
// stands in the way; EEXIST when something stands at `path` itself.
int WhyFolderCannotBeMade(const CString& path) {
  std::string step(static_cast<const char*>(path));
  while (step.size() > 1 && step.back() == '/') step.pop_back();
  struct stat info;
  if (::lstat(step.c_str(), &info) == 0) return EEXIST;
  for (;;) {
    if (errno != ENOENT) return errno;  // a step that is no folder, or one that may not be searched
    if (step == "/" || step == ".") return ENOENT;
    const size_t slash = step.find_last_of('/');
    step = slash == std::string::npos ? "." : slash == 0 ? "/" : step.substr(0, slash);
    if (::stat(step.c_str(), &info) != 0) continue;
    if (!S_ISDIR(info.st_mode)) return ENOTDIR;
    // As mkdir checks: the effective user, who may differ from the real one.
    return ::faccessat(AT_FDCWD, step.c_str(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
  }
}

// Why `folder` cannot hold the counter, given that it is no private folder of
// this user (errno says why). A missing state folder is one the start could
// not make: the line says what stood in the way, not merely that it is missing.
std::string WhyNotPrivate(const CString& folder) {
  const int error = errno;
  std::string shown(static_cast<const char*>(folder));
  while (shown.size() > 1 && shown.back() == '/') shown.pop_back();
  const int making = WhyFolderCannotBeMade(folder);
  if (making == 0) return "the folder " + shown + " does not exist";
  if (making != EEXIST) return "cannot make the folder " + shown + ": " + std::strerror(making);
  return std::string("its folder is not a private folder of this user: ") + std::strerror(error);
}

// This start's snmpEngineBoots: one more than the file in `folder` says, kept
// there for the next start. A counter that cannot be read or kept is no reason
// to refuse SNMP: the agents take a manager's engine as it presents itself, so
// the start counts from a fresh counter and says why, once, on standard error.
uint32_t NextBoots(const CString& folder, const OctetStr& engineId) {
  const CString path = VhJoinPath(folder, SnmpBootCounterFile);
  std::string why;
  uint32_t boots = 0;
  if (!folder.IsEmpty() && !PlatformIsPrivateFolder(folder)) {
    // Anyone may plant a file, a link or a FIFO in a folder that is not ours alone.
    why = WhyNotPrivate(folder);
  } else {
    errno = 0;
    const int found = getBootCounter(path, engineId, boots);
    // A missing file, or one without our line, is a first start and no fault.
    if (found < -1 && errno != ENOENT) why = WhyNotKept(path, errno);
    if (found != 0) boots = 0;
    ++boots;
    errno = 0;
    if (why.empty() && saveBootCounter(path, engineId, boots) != 0) why = WhyNotKept(path, errno);
  }
  if (why.empty()) return boots;
  std::fprintf(stderr, "Trellian: the SNMP boot counter %s cannot be kept (%s); this run counts from 1.\n",
               static_cast<const char*>(path), why.c_str());
  return 1;
}

}  // namespace

HWND SnmpEventWindowHandle() { return eventWindow ? eventWindow->GetSafeHwnd() : nullptr; }

bool SnmpSessionInit(CString folder, CString /*address*/) {
  int status = 0;
  SnmpGlobalSession = new Snmp(status, 0);
  if (status != 0) VhThrow(-506);

  OctetStr engineId(SnmpLocalEngineId);
  mpInit(SnmpGlobalSession, engineId, NextBoots(folder, engineId));

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
