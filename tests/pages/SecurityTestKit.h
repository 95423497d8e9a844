// What the security dialog and wireless page tests share: the language file
// in a program folder of the test's own, a plain host window for the page or
// dialog under test, and the skinned messages caught as texts.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "CWizardApp.h"
#include "RTDialog.h"
#include "TempDir.h"
#include "TestKit.h"
#include "WizardRes.h"
#include "WizardUi.h"

inline std::string SourceDir() { return std::getenv("TRELLIAN_SOURCE_DIR"); }

// Copies the language file into `dir` laid out as the program's folder and
// points the application there.
inline void UseLanguageFolder(const TempDir& dir, CWizardApp& app) {
  namespace fs = std::filesystem;
  fs::create_directories(dir.path() + "/language/en");
  fs::copy_file(SourceDir() + "/res/language/en/Lang.MLS", dir.path() + "/language/en/Lang.MLS",
                fs::copy_options::overwrite_existing);
  testkit::SetProgramPath(dir.file("Trellian"));
  app.SetupLanguage();
}

// A shown top-level window of `cx` by `cy` pixels whose own controls are
// hidden, so that only what the test puts on it shows.
inline bool OpenEmptyHost(CRTDialog& host, int cx, int cy) {
  if (!host.Create(IDD_ABOUTBOX)) return false;
  host.SetWindowPos(nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOMOVE);
  for (CWnd* child = host.GetWindow(GW_CHILD); child; child = child->GetWindow(GW_HWNDNEXT))
    child->ShowWindow(SW_HIDE);
  host.ShowWindow(SW_SHOW);
  return true;
}

// Every skinned message shown from now on lands in `messages`, answered OK.
inline void RecordSkinMessages(std::vector<std::string>& messages) {
  RegisterSkinMessage([&messages](const CString& text, BOOL) {
    messages.push_back(std::string(text));
    return IDOK;
  });
}
