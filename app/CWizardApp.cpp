#include "CWizardApp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "CMainDlg.h"
#include "CVHException.h"
#include "Files.h"
#include "RTSkin.h"
#include "SnmpSession.h"
#include "WizardUi.h"

CWizardApp::CWizardApp() : CWinApp(nullptr) {}

CString ProgramFolderOf(const CString& programPath) {
  const int slash = std::max(programPath.ReverseFind('/'), programPath.ReverseFind('\\'));
  return slash < 0 ? CString() : programPath.Left(slash + 1);
}

CString ProgramPath() {
  char path[MAX_PATH + 1] = {};
  ::GetModuleFileName(nullptr, path, MAX_PATH);
  return CString(path);
}

BOOL ReportUnreadableFile(LPCTSTR what, LPCTSTR path, LPCTSTR consequence) {
  const std::string native = PlatformNativePath(path);
  int error = 0;
  // Without blocking: a FIFO in the file's place must not hold the start up.
  int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  struct stat info;
  if (fd < 0)
    error = errno;
  else if (::fstat(fd, &info) != 0)
    error = errno;
  else if (S_ISDIR(info.st_mode))
    error = EISDIR;
  else if (!S_ISREG(info.st_mode))
    error = EINVAL;
  if (fd >= 0) ::close(fd);
  if (!error) return FALSE;
  const char* why = error == EINVAL ? "not a regular file" : std::strerror(error);
  std::fprintf(stderr, "Trellian: the %s %s cannot be read (%s); %s.\n", what, native.c_str(), why, consequence);
  return TRUE;
}

BOOL CWizardApp::InitApplication() {
  // The SNMP engine's boot counter is the user's own state, kept where no
  // other user can plant a file in its place (a shared temporary folder could).
  std::string folder;
  PlatformStateFolder("trellian", folder);
  try {
    SnmpSessionInit(folder.c_str(), "");
  } catch (CVHException* e) {
    ShowStartFailure("IDS_MSG_START_SNMP", e);
    // What the start did before it failed (the session object, the event
    // window) goes too, so that the process ends clean.
    SnmpSessionExit();
    m_nExitCode = 1;
    return FALSE;
  }
  SnmpRequestDefaults.strContextEngineId = "";
  SnmpRequestDefaults.strContextName = "";
  return CWinApp::InitApplication();
}

BOOL CWizardApp::InitInstance() {
  AfxEnableControlContainer();
  Enable3dControls();

  // The texts first: a start that fails says why in them.
  SetupLanguage();
  CMainDlg* dialog = nullptr;
  try {
    dialog = new CMainDlg(nullptr);
  } catch (const CMainDlg::StartFailure& failure) {
    // A discovery task could not open its socket (UDP 55000 taken, say).
    ShowStartFailure(failure.key, failure.cause);
    SnmpSessionExit();
    m_nExitCode = 1;
    return FALSE;
  }
  m_pMainWnd = dialog;
  m_nExitCode = 0;
  dialog->DoModal();
  // Stopped whatever the result: a dialog closed with OK leaves nothing to run.
  SnmpSessionExit();
  m_pMainWnd = nullptr;
  delete dialog;
  return FALSE;
}

void CWizardApp::ShowStartFailure(LPCTSTR key, CVHException* e) {
  const CString said = e->GetMessage();
  delete e;
  std::fprintf(stderr, "Trellian: cannot start: %s\n", static_cast<LPCTSTR>(said));
  if (m_iniFile.GetPath().IsEmpty()) SetupLanguage();
  // The main dialog, which holds the program's skin, is not there.
  CRTSkin skin;
  LoadProgramSkin(skin);
  const CString text = Text(key);
  ShowSkinMessage(text.IsEmpty() ? said : text, FALSE);
}

int CWizardApp::ExitInstance() {
  CWinApp::ExitInstance();
  return m_nExitCode;
}

void CWizardApp::SetupLanguage() {
  // The texts live in one section whatever the system's language.
  m_strLangSection.Format("0x%04x", static_cast<unsigned>(::GetSystemDefaultLangID()));
  m_strLangSection = "LangString";
  m_strProgramFolder = ProgramFolderOf(ProgramPath());
  m_iniFile.SetPath(m_strProgramFolder + "language\\en\\Lang.MLS");
  ReportUnreadableFile("language file", m_iniFile.GetPath(), "the windows show no texts");
}

CString CWizardApp::Text(LPCTSTR key) {
  CString text;
  m_iniFile.GetString(m_strLangSection, key, text, "");
  return text;
}
