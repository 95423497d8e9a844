// Variable lists: access tests, instances, copies and the variables file.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CVHException.h"
#include "SnmpVarList.h"
#include "TempDir.h"

namespace {

const OptionListItem kOnOff[] = {{0, "Off"}, {1, "On"}, {0, nullptr}};
VhOptionList onOffList(kOnOff, VHOPTION_INT, FALSE);

const SnmpVarItem kTable[] = {
    {"1.3.6.1.2.1.2.2.1.1", "ifIndex", SVS_INTEGER, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.2", "ifIndex2", SVS_INTEGER, SVA_READ, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.3", "excluded", SVS_INTEGER, SVA_READWRITE | SVA_INVALID, nullptr, nullptr, nullptr, nullptr,
     nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.4", "writeOnly", SVS_INTEGER, SVA_WRITE, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.5", "rw", SVS_INTEGER, SVA_READWRITE, &onOffList, nullptr, nullptr, nullptr, nullptr, nullptr},
    {"1.3.6.1.2.1.2.2.1.6", "hidden", SVS_INTEGER, SVA_READ | SVA_HIDDEN | SVA_FLAG, nullptr, nullptr, nullptr,
     nullptr, nullptr, nullptr},
    {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
};

TEST(SnmpVarListTest, AccessTestsByIndexAndLabel) {
  SnmpVarList list(kTable, MVT_UMV, 2);
  ASSERT_EQ(list.GetCount(), 6);
  struct Case {
    const char* label;
    BOOL readable, inSet, shown, skipped, flagged;
  } cases[] = {
      {"ifIndex", TRUE, TRUE, TRUE, FALSE, FALSE},  // key columns are always set
      {"ifIndex2", TRUE, TRUE, TRUE, FALSE, FALSE},
      {"excluded", FALSE, FALSE, FALSE, TRUE, FALSE},
      {"writeOnly", FALSE, TRUE, FALSE, TRUE, FALSE},
      {"rw", TRUE, TRUE, TRUE, FALSE, FALSE},
      {"hidden", TRUE, FALSE, FALSE, TRUE, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    int index = list.FindIndex(c.label);
    EXPECT_EQ(list.IsReadable(c.label), c.readable);
    EXPECT_EQ(list.IsInSetRequest(index), c.inSet);
    EXPECT_EQ(list.IsShown(c.label), c.shown);
    EXPECT_EQ(list.IsSkipped(index), c.skipped);
    EXPECT_EQ(list.IsFlagged(c.label), c.flagged);
  }
  EXPECT_EQ(list.GetReadableCount(), 4);
  EXPECT_EQ(list.GetInSetRequestCount(), 4);
  EXPECT_EQ(list.GetShownCount(), 3);
  EXPECT_EQ(list.GetSkippedCount(), 3);
  EXPECT_EQ(list.GetFlaggedCount(), 1);

  // A scalar list has no key columns.
  SnmpVarList scalars(kTable, SVT_SV, 2);
  EXPECT_FALSE(scalars.IsInSetRequest(0));
}

// A label the list does not hold has no access at all (it used to read the
// element before the first).
TEST(SnmpVarListTest, AccessTestsByUnknownLabelAreFalse) {
  SnmpVarList list(kTable, MVT_UMV, 2);
  for (const char* label : {"noSuchLabel", "", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(label ? label : "(null)");
    EXPECT_FALSE(list.IsReadable(label));
    EXPECT_FALSE(list.IsInSetRequest(label));
    EXPECT_FALSE(list.IsShown(label));
    EXPECT_FALSE(list.IsSkipped(label));
    EXPECT_FALSE(list.IsFlagged(label));
  }
}

TEST(SnmpVarListTest, EditingAndInstances) {
  SnmpVarList list;
  list.Add("1.3.6.1.2.1.1.5", "sysName", SVS_DISPLAYSTR, SVA_READWRITE, nullptr, "", "$0", nullptr);
  EXPECT_EQ(list.GetItem(0)->afterRead, nullptr);  // empty texts are stored as null
  EXPECT_STREQ(list.GetItem(0)->beforeSet, "$0");
  list.Insert(0, "1.3.6.1.2.1.1.4", "sysContact", SVS_DISPLAYSTR, SVA_READWRITE);
  list.Insert(5, "1.9", "ignored", SVS_INTEGER, SVA_READ);
  list.Remove(7);
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_STREQ(list.GetItem(0)->label, "sysContact");
  EXPECT_EQ(list.FindItem("nothing"), nullptr);

  list.SetInstance("0");
  EXPECT_STREQ(list.GetItem(1)->oid, "1.3.6.1.2.1.1.5.0");
  list.SetInstance("0");
  EXPECT_STREQ(list.GetItem(1)->oid, "1.3.6.1.2.1.1.5.0.0");
  list.SetOid(1, "1.2.3");
  list.SetOid(2, "4.5.6");
  EXPECT_STREQ(list.GetItem(1)->oid, "1.2.3");
}

TEST(SnmpVarListTest, CopiesAreDeepButShareOptionLists) {
  SnmpVarList source(kTable, MVT_UMV, 1);
  source.m_strName = "7";
  source.m_strLabel = "interfaces";
  *source.GetItem(4)->value = "On";
  SnmpVarList copy(source);
  EXPECT_EQ(copy.m_strName, "");  // the instance suffix is not copied
  EXPECT_EQ(copy.m_strLabel, "interfaces");
  EXPECT_EQ(copy.m_nKeyCount, 1);
  EXPECT_EQ(copy.GetItem(4)->optionList, &onOffList);
  EXPECT_NE(copy.GetItem(4)->value, source.GetItem(4)->value);
  *source.GetItem(4)->value = "Off";
  EXPECT_EQ(*copy.GetItem(4)->value, "On");

  SnmpVarList assigned;
  assigned.Add("1.2", "old", SVS_INTEGER, SVA_READ);
  assigned = copy;
  EXPECT_EQ(assigned.GetCount(), 6);
  EXPECT_STREQ(assigned.GetItem(0)->label, "ifIndex");
}

TEST(SnmpVarListTest, Keywords) {
  EXPECT_EQ(SnmpVarList::SyntaxOf("GUAGE"), 0x42);
  EXPECT_EQ(SnmpVarList::SyntaxOf("uint16"), 0xC6);
  EXPECT_EQ(SnmpVarList::SyntaxOf("float"), -1);
  EXPECT_EQ(SnmpVarList::AccessOf("readonly|Hidden"), 0x12);
  EXPECT_EQ(SnmpVarList::AccessOf("readonly|bogus"), -1);
  EXPECT_EQ(SnmpVarList::ItemTypeOf("mvt_umv"), 3);
  EXPECT_EQ(SnmpVarList::ItemTypeOf("XVT"), -1);
}

class VariablesFileTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& content) {
    std::string path = dir.file(name);
    std::ofstream(path) << content;
    return path;
  }
  TempDir dir;
};

TEST_F(VariablesFileTest, LoadsSettingsEntriesAndOptionFiles) {
  std::string options = Write("onoff.opt", "0,Off\n1,On\n");
  std::string path = Write("vars.txt",
                           "Name=Interfaces   \r\n"
                           "ItemType=MVT_FMV\n"
                           "PKeyCount=1\n"
                           "\n"
                           " ;# a comment\n"
                           "1.3.6.1.2.1.2.2.1.1,ifIndex,integer,readonly,,,\n"
                           "1.3.6.1.2.1.2.2.1.7,ifAdminStatus,integer,readwrite|hidden," +
                               options + ",$0+1,\n");
  SnmpVarList list;
  list.Add("1.2", "old", SVS_INTEGER, SVA_READ);
  list.LoadFromFile(path.c_str());
  EXPECT_EQ(list.m_strLabel, "Interfaces");
  EXPECT_EQ(list.m_nItemType, MVT_FMV);
  EXPECT_EQ(list.m_nKeyCount, 1);
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.GetItem(0)->optionList, nullptr);
  EXPECT_EQ(list.GetItem(1)->access, SVA_READWRITE | SVA_HIDDEN);
  EXPECT_STREQ(list.GetItem(1)->afterRead, "$0+1");
  EXPECT_EQ(list.GetItem(1)->beforeSet, nullptr);
  ASSERT_NE(list.GetItem(1)->optionList, nullptr);

  // A copy outlives its source and still reads the option list the loader made.
  SnmpVarList* source = new SnmpVarList(list);
  SnmpVarList copy(*source);
  delete source;
  list.Clear();
  EXPECT_EQ(copy.GetItem(1)->optionList->GetTextOfValue("1"), "On");
}

TEST_F(VariablesFileTest, ErrorsNameTheLineAndTheFile) {
  struct Case {
    const char* content;
    int code;
    int line;
  } cases[] = {
      {"Name=x\n1.2,a,integer,readonly,,\n", -502, 2},
      {"ItemType=TABLE\n", -503, 1},
      {"\n\n1.2,a,float,readonly,,,\n", -504, 3},
      {"1.2,a,integer,readonly|sometimes,,,\n", -505, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.content);
    std::string path = Write("bad.txt", c.content);
    try {
      SnmpVarList list;
      list.LoadFromFile(path.c_str());
      ADD_FAILURE() << "no exception";
    } catch (CVHException* e) {
      EXPECT_EQ(e->GetCode(), c.code);
      std::string message = static_cast<LPCTSTR>(e->GetMessage());
      EXPECT_NE(message.find("line(" + std::to_string(c.line) + ")"), std::string::npos) << message;
      EXPECT_NE(message.find(path), std::string::npos) << message;
      delete e;
    }
  }
  try {
    SnmpVarList list;
    list.LoadFromFile(dir.file("missing.txt").c_str());
    ADD_FAILURE() << "no exception";
  } catch (CVHException* e) {
    EXPECT_EQ(e->GetCode(), -501);
    delete e;
  }
}

}  // namespace
