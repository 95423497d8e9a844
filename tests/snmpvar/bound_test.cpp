// Notifying wrappers, the bound list's value conversions, and the
// control-bound list: bindings, their errors and a page bound to snmpd.
#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "CVHException.h"
#include "SnmpControlVarList.h"
#include "SnmpvarFixture.h"
#include "TestKit.h"
#include "afxwin.h"

namespace {

std::string Hex(const SnmpBytes& bytes) {
  std::string out;
  char pair[3];
  for (BYTE b : bytes) {
    snprintf(pair, sizeof pair, "%02X", b);
    out += pair;
  }
  return out;
}

TEST(BoundConversionTest, TextsAndBytesRoundTrip) {
  struct Case {
    int syntax;
    const char* text;
    const char* bytes;
  } cases[] = {
      {SVS_BOOLEAN, "true", "01000000"},
      {SVS_BOOLEAN, "false", "00000000"},
      {SVS_INTEGER, "-2", "FEFFFFFF"},
      {SVS_COUNTER, "4000000000", "00286BEE"},
      {SVS_UINTEGER, "258", "02010000"},
      {SVS_OCTETSTR, "0A0BFF", "0A0BFF"},
      {SVS_MACADDRESS, "001122AABBCC", "001122AABBCC"},
      {SVS_OBJECTID, "1.3.258", "010000000300000002010000"},
      {SVS_IPADDRESS, "10.1.2.3", "0A010203"},
      {SVS_COUNTER64, "4294967298", "0200000001000000"},  // low word, then high word
      {SVS_DOUBLE, "1.500000", "000000000000F83F"},
      {SVS_DISPLAYSTR, "ab c", "61622063"},
      {SVS_BOOL8, "true", "01"},
      {SVS_INT8, "-1", "FF"},
      {SVS_UINT8, "200", "C8"},
      {SVS_BOOL16, "true", "0001"},  // network order
      {SVS_INT16, "-2", "FFFE"},
      {SVS_UINT16, "513", "0201"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    SnmpBytes bytes = SnmpBoundVarList::TextToBytes(c.text, c.syntax);
    EXPECT_EQ(Hex(bytes), c.bytes);
    EXPECT_EQ(std::string(SnmpBoundVarList::BytesToText(bytes, c.syntax)), c.text);
  }
  EXPECT_EQ(std::string(SnmpBoundVarList::BytesToText(SnmpBoundVarList::TextToBytes("100", SVS_TIMETICKS),
                                                      SVS_TIMETICKS)),
            "0:00:01.00");
  EXPECT_TRUE(SnmpBoundVarList::TextToBytes("(NULL)", SVS_INTEGER).empty());
  EXPECT_EQ(std::string(SnmpBoundVarList::BytesToText({}, SVS_INTEGER)), "(NULL)");
  EXPECT_EQ(std::string(SnmpBoundVarList::BytesToText({}, SVS_DISPLAYSTR)), "");
}

TEST(BoundConversionTest, PartsAndErrors) {
  const SnmpBytes five = {1, 2, 3, 4, 5};
  EXPECT_EQ(Hex(SnmpBoundVarList::PartialBytes(five, 1, SVS_INTEGER)), "02030405");
  EXPECT_EQ(Hex(SnmpBoundVarList::PartialBytes(five, 3, SVS_OCTETSTR)), "0405");
  EXPECT_EQ(Hex(SnmpBoundVarList::PartialBytes(five, 4, SVS_UINT8)), "05");
  EXPECT_TRUE(SnmpBoundVarList::PartialBytes({}, 3, SVS_INTEGER).empty());
  EXPECT_EQ(ThrownCode([&] { SnmpBoundVarList::PartialBytes(five, 2, SVS_INTEGER); }), -519);
  EXPECT_EQ(ThrownCode([&] { SnmpBoundVarList::PartialBytes(five, 0, 0x99); }), -511);
  EXPECT_EQ(ThrownCode([&] { SnmpBoundVarList::BytesToText({1, 2}, SVS_INTEGER); }), -518);
  EXPECT_EQ(ThrownCode([&] { SnmpBoundVarList::BytesToText({1}, SVS_BOOL16); }), -518);
  EXPECT_EQ(ThrownCode([&] { SnmpBoundVarList::TextToBytes("1", 0x99); }), -511);
}

// ------------------------------------------------------------------ wrappers

std::vector<std::string> g_calls;

void Slot1(int id, void*) { g_calls.push_back("slot1 " + std::to_string(id)); }
void Slot2(int id, void*) { g_calls.push_back("slot2 " + std::to_string(id)); }
void Click1(NMHDR*, LRESULT* result, void*) { g_calls.push_back("click1 " + std::to_string(result ? *result : -1)); }
void Click2(NMHDR*, LRESULT*, void*) { g_calls.push_back("click2"); }

class CTestPage : public CWnd {
 public:
  BOOL Make() { return CreateEx(0, nullptr, "page", WS_POPUP | WS_VISIBLE, 20, 20, 500, 400, nullptr, nullptr); }
  afx_msg void OnComboChange() { g_calls.push_back("parent combo"); }
  afx_msg void OnEditChange() { g_calls.push_back("parent edit"); }
  afx_msg void OnListClick(NMHDR*, LRESULT*) { g_calls.push_back("parent list"); }
  DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(CTestPage, CWnd)
ON_CBN_SELCHANGE(101, OnComboChange)
ON_EN_CHANGE(102, OnEditChange)
ON_NOTIFY(NM_CLICK, 103, OnListClick)
END_MESSAGE_MAP()

class NotifyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_calls.clear();
    InitCommonControls();
    ASSERT_TRUE(page.Make());
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(5, 5, 150, 100), &page, 101));
    ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 40, 150, 60), &page, 102));
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(5, 70, 300, 200), &page, 103));
  }
  void TearDown() override {
    page.DestroyWindow();
    testkit::ResetWindows();
  }
  void Command(CWnd& control, int code) {
    page.SendMessage(WM_COMMAND, MAKEWPARAM(control.GetDlgCtrlID(), code), reinterpret_cast<LPARAM>(control.m_hWnd));
  }
  void ListClick() {
    NMHDR header{list.m_hWnd, 103, static_cast<UINT>(NM_CLICK)};
    page.SendMessage(WM_NOTIFY, 103, reinterpret_cast<LPARAM>(&header));
  }

  CTestPage page;
  CNotifyComboBox combo;
  CNotifyEdit edit;
  CNotifyListCtrl list;
};

TEST_F(NotifyTest, ReflectedNotificationsRunTheSlotsInsteadOfTheParent) {
  // Without callbacks the controls behave as the plain ones, yet the
  // reflection still keeps the notification from the parent.
  Command(combo, CBN_SELCHANGE);
  EXPECT_EQ(g_calls, std::vector<std::string>{});

  combo.SetChangeCallback(Slot1, nullptr, 0);
  Command(combo, CBN_SELCHANGE);
  combo.SetChangeCallback(Slot2, nullptr, 1);
  Command(combo, CBN_SELCHANGE);  // only the second slot
  edit.SetChangeCallback(Slot1, nullptr, 0);
  Command(edit, EN_CHANGE);
  list.SetClickCallback(Click1, nullptr, 0);
  list.SetClickCallback(Click2, nullptr, 1);
  ListClick();
  EXPECT_EQ(g_calls, (std::vector<std::string>{"slot1 101", "slot2 101", "slot1 102", "click2", "click1 0"}));

  g_calls.clear();
  list.InsertColumn(0, "c", LVCFMT_LEFT, 50);
  list.InsertItem(0, "a");
  list.InsertItem(1, "b");
  list.SelectItem(1);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 1);
  EXPECT_EQ(g_calls, std::vector<std::string>{"click1 1"});
  CNotifyListCtrl bare;
  ASSERT_TRUE(bare.Create(WS_CHILD | LVS_REPORT, CRect(0, 0, 10, 10), &page, 104));
  bare.InsertItem(0, "x");
  bare.SelectItem(0);
  EXPECT_EQ(bare.GetNextItem(-1, LVNI_SELECTED), 0);
}

// ------------------------------------------------------------------ bindings

const OptionListItem kEnable[] = {{2, "disabled"}, {1, "enabled"}, {0, nullptr}};
VhOptionList enableList(kEnable, VHOPTION_INT, FALSE);
const OptionListItem kIfTypes[] = {{6, "ethernetCsmacd"}, {24, "softwareLoopback"}, {0, nullptr}};
VhOptionList ifTypeList(kIfTypes, VHOPTION_INT, FALSE);
const OptionListItem kPrefixes[] = {{reinterpret_cast<INT_PTR>("ab"), "Alpha "}, {0, nullptr}};
VhOptionList prefixList(kPrefixes, VHOPTION_HEAD, FALSE);

const SnmpVarItem kPage[] = {
    {"1.3.6.1.2.1.2.2.1.3.1", "ifType", SVS_INTEGER, SVA_READ, &ifTypeList, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.1.4.0", "sysContact", SVS_DISPLAYSTR, SVA_READWRITE, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.1.6.0", "sysLocation", SVS_DISPLAYSTR, SVA_READWRITE, nullptr, nullptr, nullptr, nullptr, nullptr,
     nullptr},
    {"1.3.6.1.2.1.11.30.0", "snmpEnableAuthenTraps", SVS_INTEGER, SVA_READWRITE, &enableList, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.1.5.0", "sysName", SVS_DISPLAYSTR, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

const SnmpVarItem kIfTable[] = {
    {"1.3.6.1.2.1.2.2.1.1", "ifIndex", SVS_INTEGER, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.2", "ifDescr", SVS_DISPLAYSTR, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.3", "ifType", SVS_INTEGER, SVA_READ, &ifTypeList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

class BindingTest : public NotifyTest {
 protected:
  void SetUp() override {
    NotifyTest::SetUp();
    ASSERT_TRUE(ip.Create(WS_CHILD | WS_VISIBLE, CRect(160, 5, 300, 25), &page, 105));
    ASSERT_TRUE(check.Create("traps", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(160, 40, 300, 60), &page, 106));
    ASSERT_TRUE(name.Create("", WS_CHILD | WS_VISIBLE, CRect(310, 5, 480, 25), &page, 107));
  }
  CNotifyIPAddressCtrl ip;
  CButton check;
  CStatic name;
};

TEST_F(BindingTest, KindsAndBindingErrors) {
  SnmpControlVarList bound(&page);
  bound.m_Request.m_VarList = SnmpVarList(kPage, MVT_SV, 0);
  bound.BindControl(0, &combo);
  EXPECT_EQ(combo.GetCount(), 2);  // filled with the option texts
  bound.BindControl(1, &edit);  // an edit subclass without its own class record
  bound.BindControl(2, &ip);
  bound.BindControl(3, &check);
  bound.BindControl(4, &name);
  std::vector<int> kinds;
  for (int i = 0; i < bound.GetBindingCount(); ++i) kinds.push_back(bound.GetBinding(i).nKind);
  EXPECT_EQ(kinds, (std::vector<int>{SCK_COMBOBOX, SCK_EDIT, SCK_IPADDRESS, SCK_BUTTON, SCK_STATIC}));

  CNotifyComboBox other;
  ASSERT_TRUE(other.Create(WS_CHILD | CBS_DROPDOWNLIST, CRect(0, 0, 10, 10), &page, 110));
  EXPECT_EQ(ThrownCode([&] { bound.BindControl(1, &other); }), -520);
  EXPECT_EQ(ThrownCode([&] { bound.AddBinding(1, 0, SVS_DISPLAYSTR, &prefixList, &other, nullptr); }), -522);
  CString message;
  try {
    bound.AddBinding(1, 0, SVS_DISPLAYSTR, &prefixList, &other, nullptr);
  } catch (CVHException* e) {
    message = e->GetMessage();
    delete e;
  }
  EXPECT_EQ(std::string(message), "(VeDUZA++) Count of the associated visual controls is not enough!");

  // A control of no known kind is bound, and fails when values are shown.
  CListBox box;
  ASSERT_TRUE(box.Create(WS_CHILD, CRect(0, 0, 10, 10), &page, 111));
  SnmpControlVarList odd(&page);
  odd.m_Request.m_VarList = SnmpVarList(kPage, MVT_SV, 0);
  odd.AddBinding(1, 0, SVS_DISPLAYSTR, nullptr, &box, nullptr);
  EXPECT_EQ(odd.GetBinding(0).nKind, SCK_NONE);
  try {
    odd.ValuesToControls();
    ADD_FAILURE() << "no exception";
  } catch (CVHException* e) {
    EXPECT_EQ(e->GetCode(), -521);
    EXPECT_EQ(std::string(e->GetMessage()), "(VeDUZA++) Bad type of the associated visual control!");
    delete e;
  }
}

TEST_F(BindingTest, ReportsGoToTheStatusBarPane) {
  CStatusBarCtrl bar;
  ASSERT_TRUE(bar.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 0, 0), &page, 130));
  SnmpControlVarList bound(&page);
  bound.SetStatusBar(&bar);
  struct Case {
    int operation;
    const char* label;
    const char* head;
  } cases[] = {
      {0, "", "Get: (VeDUZA++) Ok!. Receive at "},
      {1, "", "Set: (VeDUZA++) Ok!. Receive at "},
      {0, "Interfaces", "Get: (VeDUZA++) Ok! Request:Interfaces. Receive at "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.head);
    bound.SetLastOperation(c.operation);
    bound.m_Request.m_VarList.m_strLabel = c.label;
    bound.Report("(VeDUZA++) Ok!");
    std::string text = static_cast<LPCTSTR>(bar.GetText(0));
    ASSERT_EQ(text.rfind(c.head, 0), 0u) << text;
    std::string time = text.substr(strlen(c.head));
    EXPECT_EQ(time.size(), std::string("12:34:56 ampm.").size()) << time;
    EXPECT_EQ(time.substr(8), " ampm.");
  }
}

TEST_F(BindingTest, BitsAndPartsOfOneValue) {
  SnmpControlVarList bound(&page);
  bound.m_Request.m_VarList.Add("1.2.3", "flags", SVS_OCTETSTR, SVA_READWRITE);
  *bound.m_Request.m_VarList.GetItem(0)->value = "8040";
  CButton bit0, bit9;
  ASSERT_TRUE(bit0.Create("0", WS_CHILD | BS_AUTOCHECKBOX, CRect(0, 0, 10, 10), &page, 120));
  ASSERT_TRUE(bit9.Create("9", WS_CHILD | BS_AUTOCHECKBOX, CRect(0, 0, 10, 10), &page, 121));
  bound.BindBits(0, "0,9", {&bit0, &bit9});
  bound.AddBinding(0, 1, SVS_UINT8, nullptr, &edit, nullptr);
  bound.ValuesToControls();
  EXPECT_EQ(bit0.GetCheck(), 1);  // 0x80 of the first byte
  EXPECT_EQ(bit9.GetCheck(), 1);  // 0x40 of the second byte
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(std::string(text), "64");

  bit0.SetCheck(0);
  edit.SetWindowText("255");
  bound.ControlsToValues();
  EXPECT_EQ(std::string(*bound.m_Request.m_VarList.GetItem(0)->value), "00FF");

  // Bit 9 of a one-byte value lies beyond it.
  *bound.m_Request.m_VarList.GetItem(0)->value = "80";
  EXPECT_EQ(ThrownCode([&] { bound.ValuesToControls(); }), -519);
}

class PageAgentTest : public AgentTest {
 protected:
  void SetUp() override {
    AgentTest::SetUp();
    InitCommonControls();
    ASSERT_TRUE(page.Make());
  }
  void TearDown() override {
    page.DestroyWindow();
    testkit::ResetWindows();
    AgentTest::TearDown();
  }
  void Aim(SnmpControlVarList& bound) { AgentTest::Aim(bound.m_Request); }
  std::string Get(const char* oid) {
    std::string out = Tool("snmpget", "-v2c -c public -Oqv", oid);
    if (out.size() >= 2 && out.front() == '"' && out.back() == '"') out = out.substr(1, out.size() - 2);
    return out;
  }
  CTestPage page;
};

TEST_F(PageAgentTest, ControlsFilledByAsynchronousGetAndWrittenBySet) {
  Tool("snmpset", "-v2c -c private", "1.3.6.1.2.1.1.6.0 s 10.1.2.3");
  CNotifyComboBox combo;
  CNotifyEdit edit;
  CNotifyIPAddressCtrl ip;
  CButton check;
  CStatic name;
  ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(5, 5, 150, 100), &page, 101));
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 40, 150, 60), &page, 102));
  ASSERT_TRUE(ip.Create(WS_CHILD | WS_VISIBLE, CRect(160, 5, 300, 25), &page, 105));
  ASSERT_TRUE(check.Create("traps", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(160, 40, 300, 60), &page, 106));
  ASSERT_TRUE(name.Create("", WS_CHILD | WS_VISIBLE, CRect(310, 5, 480, 25), &page, 107));

  SnmpControlVarList bound(&page);
  Aim(bound);
  bound.m_Request.m_VarList = SnmpVarList(kPage, MVT_SV, 0);
  bound.BindControl(0, &combo);
  bound.BindControl(1, &edit);
  bound.BindControl(2, &ip);
  bound.BindControl(3, &check);
  bound.BindControl(4, &name);
  bound.Get();
  EXPECT_EQ(bound.IsBusy(), 1);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !bound.IsBusy(); }, 5000));
  EXPECT_EQ(bound.GetRows(), 1);

  CString text;
  combo.GetLBText(combo.GetCurSel(), text);
  EXPECT_EQ(std::string(text), "softwareLoopback");
  edit.GetWindowText(text);
  EXPECT_EQ(std::string(text), Get("1.3.6.1.2.1.1.4.0"));
  ip.GetWindowText(text);
  EXPECT_EQ(std::string(text), "10.1.2.3");
  EXPECT_EQ(check.GetCheck(), Get("1.3.6.1.2.1.11.30.0") == "1" ? 1 : 0);
  name.GetWindowText(text);
  EXPECT_EQ(std::string(text), Get("1.3.6.1.2.1.1.5.0"));
  EXPECT_FALSE(bound.IsChanged());

  edit.SetWindowText("bound@example.org");
  ip.SetWindowText("10.9.8.7");
  check.SetCheck(Get("1.3.6.1.2.1.11.30.0") == "1" ? 0 : 1);
  const std::string traps = check.GetCheck() ? "1" : "2";
  bound.Set(TRUE, TRUE, "", nullptr);
  ASSERT_TRUE(testkit::PumpUntil([&] { return !bound.IsBusy(); }, 5000));
  EXPECT_EQ(Get("1.3.6.1.2.1.1.4.0"), "bound@example.org");
  EXPECT_EQ(Get("1.3.6.1.2.1.1.6.0"), "10.9.8.7");
  EXPECT_EQ(Get("1.3.6.1.2.1.11.30.0"), traps);
}

TEST_F(PageAgentTest, ListDestroyedWhileItsGetIsOutstanding) {
  CNotifyEdit edit;
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 40, 150, 60), &page, 102));
  bool called = false;
  auto* bound = new SnmpControlVarList(&page);
  Aim(*bound);
  bound->m_Request.m_VarList = SnmpVarList(kPage, MVT_SV, 0);
  bound->BindControl(1, &edit);
  bound->SetGetCallback([](SnmpBoundVarList*, SnmpRequestResult*, void* user) { *static_cast<bool*>(user) = true; },
                        &called);
  bound->Get();
  delete bound;  // the answer arrives while the request waits for it
  testkit::PumpFor(100);
  EXPECT_FALSE(called);
  CString text;
  edit.GetWindowText(text);
  EXPECT_EQ(std::string(text), "");
}

TEST_F(PageAgentTest, TableShownInABoundListControl) {
  const std::vector<std::string> descrs = Lines(Tool("snmpwalk", "-v2c -c public -Oqv", "1.3.6.1.2.1.2.2.1.2"));
  ASSERT_FALSE(descrs.empty());

  CNotifyListCtrl list;
  CNotifyEdit edit;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 400, 300), &page, 103));
  ASSERT_TRUE(edit.Create(WS_CHILD | WS_VISIBLE, CRect(5, 310, 150, 330), &page, 102));
  for (int type : {MVT_UMV, MVT_FMV}) {
    SCOPED_TRACE(type);
    SnmpControlVarList bound(&page);
    Aim(bound);
    bound.SetMode(0);
    bound.m_Request.m_VarList = SnmpVarList(kIfTable, type, 1);
    bound.BindListCtrl(&list, TRUE);
    bound.BindControl(1, &edit);
    edit.EnableWindow(TRUE);
    EXPECT_EQ(bound.Get(), 1);
    EXPECT_EQ(bound.GetRows(), static_cast<int>(descrs.size()));
    ASSERT_EQ(list.GetItemCount(), static_cast<int>(descrs.size()));
    for (int row = 0; row < list.GetItemCount(); ++row) {
      EXPECT_EQ(std::string(list.GetItemText(row, 0)), std::to_string(row + 1));
      EXPECT_EQ(std::string(list.GetItemText(row, 1)), descrs[static_cast<size_t>(row)]);
    }
    // Only a table of item type 2 waits for a row click to enable its controls.
    EXPECT_EQ(edit.IsWindowEnabled(), type == MVT_UMV);
    list.SelectItem(0);
    EXPECT_TRUE(edit.IsWindowEnabled());
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(std::string(text), descrs[0]);
    EXPECT_EQ(list.GetHeaderCtrl()->GetItemCount(), 3);
  }
}

TEST_F(PageAgentTest, AsynchronousErrorShowsAMessageBoxWithoutAStatusBar) {
  SilentPeer peer;
  testkit::MessageBoxLog boxes;
  testkit::ModalHandler answer([](HWND box) { testkit::Answer(box, IDOK); });
  SnmpControlVarList bound(&page);
  bound.m_Request.m_nPort = peer.port;
  bound.m_Request.m_nTimeout = 10;
  bound.m_Request.m_nRetries = 0;
  bound.m_Request.m_VarList = SnmpVarList(kPage, MVT_SV, 0);
  bool called = false;
  bound.SetGetCallback([](SnmpBoundVarList*, SnmpRequestResult* result, void* user) {
    EXPECT_EQ(result->nCode, -405);
    *static_cast<bool*>(user) = true;
  }, &called);
  bound.Get();
  ASSERT_TRUE(testkit::PumpUntil([&] { return called; }, 5000));
  EXPECT_EQ(bound.IsBusy(), 0);
  ASSERT_EQ(boxes.records.size(), 1u);
  EXPECT_EQ(boxes.records[0].text, "(SNMPClass) SNMP request timed out!");
  EXPECT_EQ(boxes.records[0].caption, "");
}

}  // namespace

// ------------------------------------------------------------------ offered extras

TEST_F(BindingTest, BindWithFormatTakesOneControlPerConversion) {
  CNotifyEdit second, third;
  ASSERT_TRUE(second.Create(WS_CHILD | WS_VISIBLE, CRect(5, 210, 150, 230), &page, 120));
  ASSERT_TRUE(third.Create(WS_CHILD | WS_VISIBLE, CRect(5, 240, 150, 260), &page, 121));
  SnmpControlVarList bound(&page);
  bound.m_Request.m_VarList = SnmpVarList(kPage, MVT_SV, 0);
  // "%%" and "%d" are no conversions of their own here.
  bound.BindFormat(1, "%s@%u%%d%n", {&edit, &second, &third, &ip});
  ASSERT_EQ(bound.GetBindingCount(), 1);
  const SnmpControlBinding& b = bound.GetBinding(0);
  EXPECT_EQ(b.nCount, 3);
  EXPECT_EQ(b.controls, (std::vector<CWnd*>{&edit, &second, &third}));
  EXPECT_EQ(b.nKind, SCK_EDIT);
  EXPECT_EQ(b.nEntry, 1);
  EXPECT_FALSE(bound.IsChanged());
  Command(third, EN_CHANGE);
  EXPECT_TRUE(bound.IsChanged());

  SnmpControlVarList few(&page);
  few.m_Request.m_VarList = SnmpVarList(kPage, MVT_SV, 0);
  few.BindFormat(2, "%s.%s.%s", {&ip});  // more conversions than controls
  EXPECT_EQ(few.GetBinding(0).nCount, 1);
  EXPECT_EQ(few.GetBinding(0).nKind, SCK_IPADDRESS);
}

TEST_F(PageAgentTest, RowWriterNumbersTheRowsItKeeps) {
  const std::vector<std::string> types = Lines(Tool("snmpwalk", "-v2c -c public -Oqve", "1.3.6.1.2.1.2.2.1.3"));
  ASSERT_FALSE(types.empty());
  const int loopbacks = static_cast<int>(std::count(types.begin(), types.end(), "24"));
  CNotifyListCtrl list;
  ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE, CRect(5, 5, 400, 300), &page, 103));
  SnmpRowWriterVarList writer(&page);
  Aim(writer);
  writer.SetMode(0);
  writer.m_Request.m_VarList = SnmpVarList(kIfTable, MVT_UMV, 1);
  writer.BindListCtrl(&list, FALSE);
  struct Case {
    int entry;
    const char* filter;
    int rows;
  } cases[] = {
      {2, "softwareLoopback", static_cast<int>(types.size()) - loopbacks},
      {-1, "softwareLoopback", static_cast<int>(types.size())},
      {2, "softwareLoopback", static_cast<int>(types.size()) - loopbacks},  // a second Get numbers from 1 again
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry);
    writer.m_nFilterEntry = c.entry;
    writer.m_strFilter = c.filter;
    writer.Get();
    EXPECT_EQ(writer.GetRows(), static_cast<int>(types.size()));  // rows received, kept or not
    ASSERT_EQ(list.GetItemCount(), c.rows);
    for (int row = 0; row < c.rows; ++row) {
      EXPECT_EQ(std::string(list.GetItemText(row, 0)), std::to_string(row + 1));
      if (c.entry >= 0) {
        EXPECT_NE(std::string(list.GetItemText(row, 2)), c.filter);
      }
    }
  }
}
