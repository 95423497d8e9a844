// The checks the pages run on what the operator typed, and the list helpers.

#include <string>
#include <vector>

#include "InputChecks.h"
#include "platform/dlg_fixture.h"

namespace {

// An edit window that carries a text, as the IP address controls carry theirs.
class TextWnd {
 public:
  explicit TextWnd(const char* text) {
    m_wnd.Attach(CreateWindowExA(0, "EDIT", text, WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr));
  }
  ~TextWnd() { ::DestroyWindow(m_wnd.Detach()); }
  CWnd* operator&() { return &m_wnd; }
  CString Text() const {
    CString t;
    m_wnd.GetWindowText(t);
    return t;
  }

 private:
  CWnd m_wnd;
};

}  // namespace

class InputChecksTest : public DialogTest {};

TEST(InputChecks, TextRules) {
  struct Case {
    const char* text;
    BOOL ascii, notAllSpaces, nameChars, digits;
  } cases[] = {
      {"", TRUE, TRUE, TRUE, TRUE},
      {"abc", TRUE, TRUE, TRUE, FALSE},
      {"   ", TRUE, FALSE, FALSE, FALSE},
      {" \t ", TRUE, TRUE, FALSE, FALSE},  // a tab is not a blank
      {"a b", TRUE, TRUE, FALSE, FALSE},
      {"Grp_1-x@y.z", TRUE, TRUE, TRUE, FALSE},
      {"0123456789", TRUE, TRUE, TRUE, TRUE},
      {"12a", TRUE, TRUE, TRUE, FALSE},
      {"caf\xC3\xA9", FALSE, TRUE, FALSE, FALSE},
      {"\x7F", TRUE, TRUE, FALSE, FALSE},
      {"\x80", FALSE, TRUE, FALSE, FALSE},
      {"a#b", TRUE, TRUE, FALSE, FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsAsciiText(c.text), c.ascii);
    EXPECT_EQ(IsNotAllSpaces(c.text), c.notAllSpaces);
    EXPECT_EQ(IsValidNameChars(c.text), c.nameChars);
    EXPECT_EQ(IsDigitsOnly(c.text), c.digits);
  }
}

TEST_F(InputChecksTest, IpAddresses) {
  struct Case {
    const char* text;
    BOOL valid;
  } cases[] = {
      {"10.0.0.1", TRUE},       {"1.0.0.1", TRUE},       {"223.255.255.254", TRUE},
      {"127.0.0.1", FALSE},     {"224.0.0.1", FALSE},    {"0.1.1.1", FALSE},
      {"10.0.0.0", FALSE},      {"10.0.0.255", FALSE},   {"10.256.0.1", FALSE},
      {".10.0.0.1", FALSE},     {"10.0.0.1.", FALSE},    {"10.0.1", FALSE},
      {"10.0.0.0.1", FALSE},    {"", FALSE},             {"10..0.1", TRUE},  // an empty part reads as 0
      {"1a.0.0.1", TRUE},       {"10.0.0.-1", FALSE},    {"99999999999.0.0.1", FALSE},
      {"10.0.0.1x", TRUE},      {"abc", FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsValidIpText(c.text), c.valid);
    TextWnd w(c.text);
    EXPECT_EQ(IsValidIpCtrl(&w), c.valid);
  }
}

TEST_F(InputChecksTest, Netmasks) {
  struct Case {
    const char* text;
    BOOL valid;
  } cases[] = {
      {"255.255.255.0", TRUE},    {"255.255.255.252", TRUE}, {"255.0.0.0", TRUE},   {"128.0.0.0", TRUE},
      {"255.255.255.254", TRUE},  {"255.255.255.255", FALSE}, {"0.0.0.0", FALSE},  {"255.0.255.0", FALSE},
      {"255.1.0.0", FALSE},       {"255.255.0.1", FALSE},     {"256.0.0.0", FALSE}, {"255.255.254.128", FALSE},
      {"255.255.255", FALSE},     {"255.255.128.0", TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(IsValidNetmaskText(c.text), c.valid);
    TextWnd w(c.text);
    EXPECT_EQ(IsValidNetmaskCtrl(&w), c.valid);
  }
}

TEST(InputChecks, HostsAndNetworks) {
  struct Case {
    const char* ip;
    const char* mask;
    const char* network;
    BOOL host;
  } cases[] = {
      {"192.168.0.200", "255.255.255.128", "192.168.0.128", TRUE},
      {"192.168.0.255", "255.255.255.128", "192.168.0.128", FALSE},  // broadcast
      {"192.168.0.128", "255.255.255.128", "192.168.0.128", FALSE},  // the network itself
      {"192.168.0.1", "255.255.255.0", "192.168.0.0", TRUE},
      {"10.1.2.3", "255.0.0.0", "10.0.0.0", TRUE},
      {"0.0.0.5", "255.255.255.0", "0.0.0.0", FALSE},  // network 0
      {"255.255.255.1", "255.255.255.0", "255.255.255.0", FALSE},  // network equals the mask
      {"10.0.0.1", "", "0.0.0.0", FALSE},
      {"10.0.0", "255.255.255.0", "10.0.0.0", FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ip) + " / " + c.mask);
    EXPECT_STREQ(NetworkAddress(c.ip, c.mask), c.network);
    EXPECT_EQ(IsValidHostIp(c.ip, c.mask), c.host);
  }
}

// The scan's rule for the address a device reports: only what cannot be
// addressed safely is refused, whatever the last part of the rest.
TEST(InputChecks, DeviceAddressesAreRefusedOnlyWhereUnsafe) {
  struct Case {
    const char* ip;
    const char* mask;
    BOOL unicast;  // IsUnicastAddressText
    BOOL listed;   // and a host under its own netmask
  } cases[] = {
      {"10.1.0.255", "255.255.0.0", TRUE, TRUE},      {"10.1.1.0", "255.255.0.0", TRUE, TRUE},
      {"10.250.0.21", "255.255.255.0", TRUE, TRUE},   {"240.0.0.1", "255.0.0.0", TRUE, TRUE},
      {"0.0.0.0", "255.255.255.0", FALSE, FALSE},     {"127.0.0.1", "255.0.0.0", FALSE, FALSE},
      {"224.0.0.1", "255.255.255.0", FALSE, FALSE},   {"239.255.255.250", "255.255.255.0", FALSE, FALSE},
      {"255.255.255.255", "255.255.255.0", FALSE, FALSE},
      {"10.250.0.255", "255.255.255.0", TRUE, FALSE},  // its subnet's broadcast address
      {"10.1.0.0", "255.255.0.0", TRUE, FALSE},        // its subnet's network address
      {"10.0.300.1", "255.0.0.0", FALSE, FALSE},       {"10.0.1", "255.0.0.0", FALSE, FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.ip) + " / " + c.mask);
    EXPECT_EQ(IsUnicastAddressText(c.ip), c.unicast);
    EXPECT_EQ(IsUnicastAddressText(c.ip) && IsValidHostIp(c.ip, c.mask), c.listed);
  }
}

TEST(InputChecks, HexAndRadixConversions) {
  EXPECT_STREQ(IntToHexText(255), "ff");
  EXPECT_STREQ(IntToHexText(-1), "ffffffff");
  EXPECT_STREQ(CharsToHexText("AZ"), "415a");
  EXPECT_STREQ(CharsToHexText("\xE9"), "ffffffe9");  // a signed byte
  struct Case {
    const char* text;
    int expected;
  } cases[] = {
      {"123", 123}, {"0x1F", 31}, {"0Xff", 255}, {"0o17", 15}, {"0b101", 5}, {"0d99", 99},
      {"0x", -1},   {"", -1},     {"12a", -1},   {"0b2", -1},  {"0o8", -1},  {"-5", -1},
      {"0", 0},     {"007", 7},   {"0xFFFFFFFF", -1},  // wraps to all ones
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(ParseRadixNumber(c.text, -1), c.expected);
  }
}

TEST_F(InputChecksTest, WindowConversionsWriteTheirResultBack) {
  TextWnd chars("Hi");
  CharsToHexCtrl(&chars);
  EXPECT_STREQ(chars.Text(), "4869");
  HexCtrlToChars(&chars);
  EXPECT_STREQ(chars.Text(), "Hi");
  TextWnd odd("4869a");  // the digit without a partner is dropped
  HexCtrlToChars(&odd);
  EXPECT_STREQ(odd.Text(), "Hi");
}

TEST_F(InputChecksTest, FillComboFromTextSelectsTheMatchingWord) {
  Open(Template({rc::ComboBox(300, 5, 5, 80, 60, CBS_DROPDOWNLIST)}));
  CComboBox combo;
  combo.Attach(GetDlgItem(dialog_, 300));
  struct Case {
    const char* source;
    const char* value;
    std::vector<std::string> words;
    int selected;
    BOOL found;
  } cases[] = {
      {"a b c", "b", {"a", "b", "c"}, 1, TRUE},
      {"  1 6 11  ", "11", {"1", "6", "11"}, 2, TRUE},
      {"a  b", " b", {"a", " b"}, 1, TRUE},  // the second blank starts the next word
      {"x y", "z", {"x", "y"}, 0, FALSE},
      {"", "z", {}, -1, FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    TextWnd source(c.source), value(c.value);
    EXPECT_EQ(FillComboFromText(&source, &combo, &value), c.found);
    ASSERT_EQ(combo.GetCount(), static_cast<int>(c.words.size()));
    for (int i = 0; i < combo.GetCount(); ++i) {
      CString word;
      combo.GetLBText(i, word);
      EXPECT_EQ(std::string(word), c.words[i]);
    }
    EXPECT_EQ(combo.GetCurSel(), c.selected);
  }
  combo.Detach();
}

TEST_F(InputChecksTest, SetRateTextAndFindListItem) {
  struct Case {
    const char* source;
    const char* target;
  } cases[] = {
      {"54 Mb", "54"}, {"300 Mb", "300"}, {"Best(Up to 300)", "Auto"}, {"Best(Up to 54)", "Auto"},
      {"1Mb", "1Mb"},  // shorter than 4 characters: left as it is
      {"Auto", "Auto"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    TextWnd source(c.source), target("");
    SetRateText(&source, &target);
    EXPECT_STREQ(target.Text(), c.target);
  }

  CListCtrl list;
  list.Attach(CreateWindowExA(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT, 0, 0, 200, 100, nullptr, nullptr, nullptr,
                              nullptr));
  list.InsertColumn(0, "Model");
  list.InsertColumn(1, "MAC");
  const char* rows[][2] = {{"RIZ-4410", "001122334455"}, {"RIZ-4410", "00112233445A"}, {"X", "001122334455"}};
  for (int i = 0; i < 3; ++i) {
    list.InsertItem(i, rows[i][0]);
    list.SetItemText(i, 1, rows[i][1]);
  }
  EXPECT_EQ(FindListItemByText(&list, "001122334455", 1), 0);
  EXPECT_EQ(FindListItemByText(&list, "00112233445A", 1), 1);
  EXPECT_EQ(FindListItemByText(&list, "00112233445a", 1), -1);  // exact
  EXPECT_EQ(FindListItemByText(&list, "X", 0), 2);
  EXPECT_EQ(FindListItemByText(&list, "X", 5), -1);
  ::DestroyWindow(list.Detach());
}
