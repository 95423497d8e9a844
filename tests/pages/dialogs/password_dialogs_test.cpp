// The device password dialog (what the apply engine shows through the seam)
// and the group password dialog (a typed password against the group's).

#include <gtest/gtest.h>

#include "DevicePasswordDlg.h"
#include "DialogPagesRes.h"
#include "DialogTestEnv.h"
#include "GroupPasswordDlg.h"
#include "TestKit.h"
#include "WindowText.h"
#include "WizardUi.h"

using namespace dialogtest;

namespace {

class PasswordDialogTest : public ::testing::Test {
 protected:
  void TearDown() override { testkit::ResetWindows(); }
};

// Types into an edit of the dialog as the operator does: focus, then keys.
void TypeInto(HWND dialog, int id, const std::string& text) {
  ::SetFocus(::GetDlgItem(dialog, id));
  testkit::TypeText(text);
  testkit::PumpPending();
}

TEST_F(PasswordDialogTest, DevicePasswordShowsTheDeviceAndItsLabels) {
  CDevicePasswordDlg dialog;
  dialog.m_strIp = "192.168.0.50";
  dialog.m_strMac = "0013F7A1B2C3";
  RunModal([&] { return dialog.DoModal(); }, [&](HWND w) {
    EXPECT_EQ(WindowText(w), Text("IDS_STR_TITLE_APPASSWOD_DLG"));
    EXPECT_EQ(ItemText(w, IDC_DEVPASS_IP), "192.168.0.50");
    EXPECT_EQ(ItemText(w, IDC_DEVPASS_MAC), "0013F7A1B2C3");
    EXPECT_EQ(ItemText(w, IDC_DEVPASS_IP_LABEL), Text("IDS_UI_LIST_IP"));
    EXPECT_EQ(ItemText(w, IDC_DEVPASS_MAC_LABEL), Text("IDS_UI_LIST_MAC"));
    EXPECT_EQ(ItemText(w, IDC_DEVPASS_PASSWORD_LABEL), Text("IDS_UI_MODIFY_PASS"));
    EXPECT_EQ(ItemText(w, IDOK), Text("IDS_UI_BTN_OK"));
    EXPECT_EQ(ItemText(w, IDCANCEL), Text("IDS_UI_CANCEL"));
    // The address and MAC are shown, not edited; the password is masked.
    char cls[32] = "";
    ::GetClassNameA(::GetDlgItem(w, IDC_DEVPASS_IP), cls, sizeof cls);
    EXPECT_STREQ(cls, "Static");
    ::GetClassNameA(::GetDlgItem(w, IDC_DEVPASS_MAC), cls, sizeof cls);
    EXPECT_STREQ(cls, "Static");
    EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(w, IDC_DEVPASS_PASSWORD), GWL_STYLE) & ES_PASSWORD);
    TypeInto(w, IDC_DEVPASS_PASSWORD, "secret");
    Capture(w, "device_password");
    testkit::Answer(w, IDCANCEL);
  });
}

// What the apply engine gets back through the seam for each way out.
TEST_F(PasswordDialogTest, AskDevicePasswordGivesTheTypedPasswordOnlyWithOk) {
  struct Case {
    const char* name;
    std::string typed;
    std::function<void(HWND)> end;
    int result;
    const char* password;
  };
  const Case cases[] = {
      {"OK", "Adm1n pass!", [](HWND w) { testkit::Answer(w, IDOK); }, IDOK, "Adm1n pass!"},
      {"Enter", "x", [](HWND) { testkit::PressKey(VK_RETURN); }, IDOK, "x"},
      {"empty password", "", [](HWND w) { testkit::Answer(w, IDOK); }, IDOK, ""},
      {"Cancel", "typed", [](HWND w) { testkit::Answer(w, IDCANCEL); }, IDCANCEL, "untouched"},
      {"Escape", "typed", [](HWND) { testkit::PressKey(VK_ESCAPE); }, IDCANCEL, "untouched"},
      {"caption close", "typed", [](HWND w) { ::PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }, IDCANCEL,
       "untouched"},
  };
  for (const Case& c : cases) {
    CString password = "untouched";
    const INT_PTR result = RunModal([&] { return AskDevicePassword("10.0.0.2", "001122334455", password); },
                                    [&](HWND w) {
                                      EXPECT_EQ(ItemText(w, IDC_DEVPASS_IP), "10.0.0.2") << c.name;
                                      EXPECT_EQ(ItemText(w, IDC_DEVPASS_MAC), "001122334455") << c.name;
                                      TypeInto(w, IDC_DEVPASS_PASSWORD, c.typed);
                                      c.end(w);
                                    });
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(std::string(password), c.password) << c.name;
  }
}

TEST_F(PasswordDialogTest, GroupPasswordShowsTheGroupAndItsLabels) {
  CGroupPasswordDlg dialog;
  dialog.SetGroup("Office_AP", "pw");
  RunModal([&] { return dialog.DoModal(); }, [&](HWND w) {
    EXPECT_EQ(WindowText(w), Text("IDS_STR_TITLE_ENTERPASSWORD_DLG"));
    EXPECT_EQ(ItemText(w, IDC_GRPPASS_NAME), "Office_AP");
    EXPECT_EQ(ItemText(w, IDC_GRPPASS_PASSWORD), "");
    EXPECT_EQ(ItemText(w, IDC_GRPPASS_NAME_LABEL), Text("IDS_UI_LIST_APVEZOVINAME"));
    EXPECT_EQ(ItemText(w, IDC_GRPPASS_PASSWORD_LABEL), Text("IDS_UI_MODIFY_PASS"));
    EXPECT_EQ(ItemText(w, IDOK), Text("IDS_UI_BTN_OK"));
    EXPECT_EQ(ItemText(w, IDCANCEL), Text("IDS_UI_CANCEL"));
    EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(w, IDC_GRPPASS_PASSWORD), GWL_STYLE) & ES_PASSWORD);
    TypeInto(w, IDC_GRPPASS_PASSWORD, "pw");
    Capture(w, "group_password");
    testkit::Answer(w, IDCANCEL);
  });
}

// The dialog opens in the password field, its text selected: what the
// operator types is the password, and the group name stays as it was.
TEST_F(PasswordDialogTest, GroupPasswordOpensForTypingThePassword) {
  CGroupPasswordDlg dialog;
  dialog.SetGroup("Office_AP", "pw");
  RunModal([&] { return dialog.DoModal(); }, [&](HWND w) {
    EXPECT_EQ(::GetFocus(), ::GetDlgItem(w, IDC_GRPPASS_PASSWORD));
    testkit::TypeText("pw");
    testkit::PumpPending();
    EXPECT_EQ(ItemText(w, IDC_GRPPASS_PASSWORD), "pw");
    EXPECT_EQ(ItemText(w, IDC_GRPPASS_NAME), "Office_AP");
    testkit::Answer(w, IDOK);
  });
  EXPECT_EQ(dialog.m_strPassword, "pw");
}

// Each try puts a password in the edit and presses OK; a refused try shows
// the message in the box (answered here) and leaves the dialog open for the
// next try; Cancel follows the last refused try.
TEST_F(PasswordDialogTest, GroupPasswordTakesOnlyTheExpectedPassword) {
  struct Case {
    const char* name;
    const char* expected;
    std::vector<const char*> tries;
    INT_PTR result;
  };
  const Case cases[] = {
      {"exact", "Secret-1", {"Secret-1"}, IDOK},
      {"case differs, then right", "Secret-1", {"secret-1", "Secret-1"}, IDOK},
      {"empty expected takes empty", "", {""}, IDOK},
      {"empty expected refuses text", "", {"a"}, IDCANCEL},
      {"empty typed refused", "pw", {""}, IDCANCEL},
      {"a blank more refused", "pw", {"pw "}, IDCANCEL},
  };
  const std::string refusal = Text("IDS_MSG_INV_PASSWORD");
  ASSERT_FALSE(refusal.empty());
  for (const Case& c : cases) {
    CGroupPasswordDlg dialog;
    dialog.SetGroup("Office_AP", c.expected);
    HWND main = nullptr;
    size_t tried = 0;
    std::vector<std::string> messages;
    const auto nextTry = [&] {
      if (tried == c.tries.size()) {
        testkit::Answer(main, IDCANCEL);
        return;
      }
      ::SetDlgItemTextA(main, IDC_GRPPASS_PASSWORD, c.tries[tried++]);
      testkit::Answer(main, IDOK);
    };
    const INT_PTR result = RunModal([&] { return dialog.DoModal(); }, [&](HWND w) {
      if (!main) {
        main = w;
      } else {  // the message box of a refused try, over the still open dialog
        EXPECT_TRUE(::IsWindowVisible(main)) << c.name;
        messages.push_back(ItemText(w, IDC_MSGBOX_TEXT));
        testkit::Answer(w, IDC_MSGBOX_SINGLE_OK);
      }
      nextTry();
    });
    EXPECT_EQ(result, c.result) << c.name;
    EXPECT_EQ(tried, c.tries.size()) << c.name;
    const size_t refusals = c.tries.size() - (c.result == IDOK ? 1 : 0);
    EXPECT_EQ(messages, std::vector<std::string>(refusals, refusal)) << c.name;
    EXPECT_EQ(std::string(dialog.m_strPassword), c.tries.back()) << c.name;
  }
}

// The name edit is the operator's to change; the check looks only at the password.
TEST_F(PasswordDialogTest, ChangedGroupNameDoesNotMatter) {
  CGroupPasswordDlg dialog;
  dialog.SetGroup("Office_AP", "pw");
  const INT_PTR result = RunModal([&] { return dialog.DoModal(); }, [&](HWND w) {
    TypeInto(w, IDC_GRPPASS_NAME, "Other");
    TypeInto(w, IDC_GRPPASS_PASSWORD, "pw");
    testkit::PressKey(VK_RETURN);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(std::string(dialog.m_strGroupName), "Other");
}

}  // namespace
