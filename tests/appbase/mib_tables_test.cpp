// Every row of the device tables against a listing kept beside the tests, and
// the option lists the rows point to.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "MibTables.h"

namespace {

// The list's variable name, found by address.
std::string NameOf(const VhOptionList* list) {
  static const std::map<const VhOptionList*, std::string> names = {
#define NAME(list) {&list, #list}
      NAME(g_optAutoRekeyControl), NAME(g_optAutoRekeyStartWeek), NAME(g_optAPTrevakStatus),
      NAME(g_optAPTrevakModeSelect), NAME(g_optDeviceSettingApply), NAME(g_optNetworkAccessProtection),
      NAME(g_optRadiusSource), NAME(g_optPrimaryAccountingStatus), NAME(g_optCipherType), NAME(g_optEncryption),
      NAME(g_optKeyIndex), NAME(g_optWepKeyEntryMethod), NAME(g_optAutoChannelScan), NAME(g_optAuthentication),
      NAME(g_optBand), NAME(g_optMssid), NAME(g_optKeyIndex2), NAME(g_optEncryption2), NAME(g_optKeyEntryMethod),
      NAME(g_optCipherType2), NAME(g_optPrimaryAccountingStatus2), NAME(g_optRadiusSource2),
      NAME(g_optAPTrevakSyncSSIDStatus), NAME(g_optAPTrevakSyncSsidHiddenStatus),
      NAME(g_optAPTrevakSyncAutoChannelStatus), NAME(g_optAPTrevakSyncSecurityStatus),
      NAME(g_optAPTrevakSyncLoginStatus), NAME(g_optDeviceRestart), NAME(g_optApMode),
#undef NAME
  };
  if (!list) return "-";
  auto it = names.find(list);
  return it == names.end() ? "?" : it->second;
}

std::string Listing() {
  std::ostringstream out;
  for (const MibTableEntry* t = g_mibTables; t->name; ++t) {
    out << t->name << "\n";
    for (const SnmpVarItem* r = t->rows; r->oid; ++r) {
      out << "  " << r->label << " oid=\"" << r->oid << "\" syntax=" << r->syntax << " access=" << r->access
          << " options=" << NameOf(r->optionList) << "\n";
      EXPECT_EQ(r->afterRead, nullptr);
      EXPECT_EQ(r->beforeSet, nullptr);
      EXPECT_EQ(r->extra, nullptr);
      EXPECT_EQ(r->value, nullptr);
      EXPECT_EQ(r->cursor, nullptr);
    }
  }
  return out.str();
}

}  // namespace

TEST(MibTables, EveryRowMatchesTheListing) {
  std::string path = std::string(getenv("TRELLIAN_SOURCE_DIR")) + "/tests/appbase/golden/mib_tables.txt";
  std::ifstream in(path);
  ASSERT_TRUE(in) << path;
  std::stringstream golden;
  golden << in.rdbuf();
  EXPECT_EQ(Listing(), golden.str());
}

TEST(MibTables, TablesEndAtTheFirstAllZeroRow) {
  struct Case {
    const SnmpVarItem* table;
    int rows;
  } cases[] = {{g_mibSettingApply, 1}, {g_mibRadius, 16}, {g_mibRadiusWpa, 17}, {g_mibRadius2, 15},
               {g_mibWepKeyTable, 4},  {g_mibApModesSupported, 2}};
  for (const Case& c : cases) {
    int n = 0;
    while (c.table[n].oid) ++n;
    EXPECT_EQ(n, c.rows);
    const SnmpVarItem& end = c.table[n];
    EXPECT_TRUE(!end.label && !end.syntax && !end.access && !end.optionList);
  }
}

TEST(MibTables, OneNameTwoOidsKeepsEachTablesOwnRow) {
  EXPECT_STREQ(g_mibRadius[0].label, "dot11RadiusKeyUpdateInterval");
  EXPECT_STREQ(g_mibRadiusWpa[0].label, "dot11RadiusKeyUpdateInterval");
  EXPECT_STREQ(g_mibRadius[0].oid, MIB_PREFIX ".2.1.3.3.2.1.1.24.1");
  EXPECT_STREQ(g_mibRadiusWpa[0].oid, MIB_PREFIX ".2.1.3.3.2.1.1.6.1");
  SnmpVarList radius(g_mibRadius, SVT_SV, 0), wpa(g_mibRadiusWpa, SVT_SV, 0);
  EXPECT_EQ(radius.GetCount(), 16);
  EXPECT_EQ(wpa.GetCount(), 17);
  EXPECT_STREQ(radius.FindItem("dot11RadiusKeyUpdateInterval")->oid, g_mibRadius[0].oid);
  EXPECT_STREQ(wpa.FindItem("dot11RadiusKeyUpdateInterval")->oid, g_mibRadiusWpa[0].oid);
}

TEST(MibTables, OptionListsTranslateBothWays) {
  struct Case {
    VhOptionList* list;
    int value;
    const char* text;  // null: no text for the value
  } cases[] = {
      {&g_optAuthentication, 1, "Open System"}, {&g_optAuthentication, 3, nullptr},
      {&g_optAuthentication, 10, "802.1x"},     {&g_optApMode, 2, "WDS With Ap"},
      {&g_optBand, 0, "2.4GHz"},                {&g_optAPTrevakModeSelect, 2, "masterbackup"},
      {&g_optAutoRekeyStartWeek, 6, "Sat"},     {&g_optDeviceRestart, 1, "reboot"},
      {&g_optRadiusSource2, 2, "Internal"},     {&g_optApMode, 6, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    CString value;
    value.Format("%d", c.value);
    EXPECT_EQ(c.list->FindValue(value) >= 0, c.text != nullptr);
    if (c.text) {
      EXPECT_STREQ(c.list->GetTextOfValue(value), c.text);
      CString upper(c.text);
      EXPECT_STREQ(c.list->GetValueOfText(upper.MakeUpper()), value);  // texts match without case
    }
  }
}
