// CWizardApp: the program's one application object. It starts the global
// SNMP session, points the language file at language/en/Lang.MLS beside the
// program, runs the main dialog modally and ends the program when it closes.
// Every page and dialog reads its texts through it (m_pApp->Text(key)).
#pragma once

#include "CIniFile.h"
#include "afxwin.h"

class CVHException;

class CWizardApp : public CWinApp {
 public:
  CWizardApp();

  BOOL InitApplication() override;
  // Always FALSE: the main dialog's modal loop is the program's message loop.
  BOOL InitInstance() override;
  // The program's exit status: 0 once the main dialog has run and closed,
  // 1 when the start-up failed (a failed InitApplication ends the program
  // before this, with a status that is not 0 either).
  int ExitInstance() override;
  void SetupLanguage();
  // A start that cannot go on: the skinned box says in the language file's
  // words (the text of `key`) what failed and what to do; the library's own
  // words, in the exception `e` (deleted here), go to standard error, and
  // into the box only when the language file lacks the text.
  void ShowStartFailure(LPCTSTR key, CVHException* e);

  // The text of `key` in the language section; empty when it is missing.
  CString Text(LPCTSTR key);

  CIniFile m_iniFile{nullptr, 1024};
  CString m_strProgramFolder;  // with its trailing separator
  CString m_strLangSection;
  int m_nExitCode = 0;
};

// The program folder of a full program path: everything up to and including
// the last '/' or '\'; empty when there is none.
CString ProgramFolderOf(const CString& programPath);
// The full path of the running program (GetModuleFileName(NULL)).
CString ProgramPath();

// When the file at `path` cannot be read (missing, unreadable, a FIFO or a
// folder in its place), one line on standard error names it, its path and
// what the program does without it (`consequence`), and the result is TRUE.
// The program goes on either way: it is usable without its texts or skin.
BOOL ReportUnreadableFile(LPCTSTR what, LPCTSTR path, LPCTSTR consequence);
