// The program's main dialog as the tests open it in their own process:
// made modeless from its template and shown, its first messages handled,
// and closed with the object (or earlier, by Close). The programs that use
// it link the wizard core (app) and the pages; hence a header of its own,
// outside test_support's platform-only library.
#pragma once

#include <cstdlib>
#include <string>

#include "CMainDlg.h"
#include "CWizardApp.h"
#include "RTSkin.h"
#include "TestKit.h"
#include "WizardRes.h"

// The build's program folder, bin/ (the language file and the skin beside
// the program), as the program's own; `app` reads its texts from there.
inline void UseTheBuiltProgramFolder(CWizardApp& app) {
  testkit::SetProgramPath(std::string(std::getenv("TRELLIAN_BINARY_DIR")) + "/bin/Trellian");
  app.SetupLanguage();
}

class MainDialogUnderTest {
 public:
  MainDialogUnderTest() = default;
  ~MainDialogUnderTest() { Close(); }
  MainDialogUnderTest(const MainDialogUnderTest&) = delete;
  MainDialogUnderTest& operator=(const MainDialogUnderTest&) = delete;

  // False when the dialog could not be made.
  bool Open() {
    Close();
    dialog_ = new CMainDlg(nullptr);
    if (!dialog_->Create(IDD_MAIN_DIALOG)) return false;
    dialog_->ShowWindow(SW_SHOW);
    testkit::PumpPending();
    return true;
  }
  // The dialog's skin store goes with it: the skin is switched off, so that
  // the next dialog does not draw from it before it loads its own.
  void Close() {
    if (!dialog_) return;
    if (dialog_->GetSafeHwnd()) dialog_->DestroyWindow();
    delete dialog_;
    dialog_ = nullptr;
    CRTSkin().EnableSkin(0);
  }
  // A click on one of its buttons, as the button sends it.
  void Press(int id) { dialog_->SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

  CMainDlg* get() const { return dialog_; }
  CMainDlg* operator->() const { return dialog_; }
  explicit operator bool() const { return dialog_ != nullptr; }

 private:
  CMainDlg* dialog_ = nullptr;
};
