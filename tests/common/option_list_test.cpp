#include <gtest/gtest.h>

#include <string>

#include "CVHException.h"
#include "FileFixture.h"
#include "VhOptionList.h"

namespace {

const OptionListItem kSecurity[] = {{0, "None"}, {1, "WEP"}, {7, "WPA-Personal"}, {0, nullptr}};
const OptionListItem kModes[] = {{reinterpret_cast<INT_PTR>("ap"), "Access Point"},
                                 {reinterpret_cast<INT_PTR>("wds"), "Bridge"},
                                 {0, nullptr}};
const OptionListItem kHeads[] = {{reinterpret_cast<INT_PTR>("ab"), "Alpha"}, {0, nullptr}};

TEST(VhOptionList, TableCountStopsAtTheNullText) {
  EXPECT_EQ(VhOptionList::GetTableCount(kSecurity), 3);
  EXPECT_EQ(VhOptionList::GetTableCount(nullptr), 0);
  const OptionListItem empty[] = {{5, nullptr}};
  VhOptionList list(empty, VHOPTION_INT, FALSE);
  EXPECT_EQ(list.GetCount(), 0);
}

struct FindCase {
  const char* what;
  VhOptionValueType type;
  BOOL caseSensitive;
  const char* input;
  int byText;   // FindText(input)
  int byValue;  // FindValue(input)
};

TEST(VhOptionList, FindByTextAndByValue) {
  const FindCase cases[] = {
      {"int: text (reads as the value 0)", VHOPTION_INT, FALSE, "WEP", 1, 0},
      {"int: text other case, insensitive", VHOPTION_INT, FALSE, "wep", 1, 0},
      {"int: text other case, sensitive", VHOPTION_INT, TRUE, "wep", -1, 0},
      {"int: value", VHOPTION_INT, FALSE, "7", -1, 2},
      {"int: value with leading zero", VHOPTION_INT, FALSE, "07", -1, 2},
      {"int: (NULL) never matches, not even 0", VHOPTION_INT, FALSE, "(NULL)", -1, -1},
            {"str: value", VHOPTION_STR, FALSE, "wds", -1, 1},
      {"str: value other case, insensitive", VHOPTION_STR, FALSE, "WDS", -1, 1},
      {"str: value other case, sensitive", VHOPTION_STR, TRUE, "WDS", -1, -1},
      {"str: text is whole, not a prefix", VHOPTION_STR, FALSE, "Bridge mode", -1, -1},
      {"head: value prefix", VHOPTION_HEAD, FALSE, "abcd", -1, 0},
      {"head: text prefix", VHOPTION_HEAD, FALSE, "Alphacd", 0, -1},
      {"head: text prefix other case, insensitive", VHOPTION_HEAD, FALSE, "ALPHAcd", 0, -1},
      {"head: text prefix other case, sensitive", VHOPTION_HEAD, TRUE, "ALPHAcd", -1, -1},
      {"head: shorter than the entry", VHOPTION_HEAD, FALSE, "a", -1, -1},
  };
  for (const FindCase& c : cases) {
    const OptionListItem* table = c.type == VHOPTION_INT ? kSecurity : c.type == VHOPTION_STR ? kModes : kHeads;
    VhOptionList list(table, c.type, c.caseSensitive);
    EXPECT_EQ(list.FindText(c.input), c.byText) << c.what;
    EXPECT_EQ(list.FindValue(c.input), c.byValue) << c.what;
  }
}

TEST(VhOptionList, TranslatesBetweenValueAndText) {
  VhOptionList ints(kSecurity, VHOPTION_INT, FALSE);
  EXPECT_STREQ(ints.GetTextOfValue("7"), "WPA-Personal");
  EXPECT_STREQ(ints.GetValueOfText("wpa-personal"), "7");
  EXPECT_STREQ(ints.GetTextOfValue("9"), "9");
  EXPECT_STREQ(ints.GetValueOfText("Unknown"), "Unknown");

  VhOptionList strs(kModes, VHOPTION_STR, FALSE);
  EXPECT_STREQ(strs.GetTextOfValue("ap"), "Access Point");
  EXPECT_STREQ(strs.GetValueOfText("Bridge"), "wds");

  VhOptionList heads(kHeads, VHOPTION_HEAD, FALSE);
  EXPECT_STREQ(heads.GetTextOfValue("abcd"), "Alphacd");
  EXPECT_STREQ(heads.GetValueOfText("Alphacd"), "abcd");
  EXPECT_STREQ(heads.GetTextOfValue("zz"), "zz");
}

TEST(VhOptionList, AddInsertRemoveKeepOrderAndIgnoreBadIndexes) {
  VhOptionList list(VHOPTION_STR, TRUE);
  list.Add("a", "A");
  list.Add("c", "C");
  list.Insert(1, "b", "B");
  list.Insert(3, "d", "D");  // at count: insertion never appends
  list.Insert(-1, "x", "X");
  ASSERT_EQ(list.GetCount(), 3);
  EXPECT_STREQ(list.GetItem(0)->text, "A");
  EXPECT_STREQ(list.GetItem(1)->text, "B");
  EXPECT_STREQ(reinterpret_cast<const char*>(list.GetItem(2)->value), "c");
  list.Remove(3);
  list.Remove(-1);
  EXPECT_EQ(list.GetCount(), 3);
  list.Remove(0);
  EXPECT_EQ(list.GetCount(), 2);
  EXPECT_EQ(list.FindValue("b"), 0);
  list.Remove(1);
  list.Remove(0);
  EXPECT_EQ(list.GetCount(), 0);
  list.Add("e", "E");
  EXPECT_EQ(list.FindText("E"), 0);
}

TEST(VhOptionList, AddStoresIntegerValuesAsNumbers) {
  VhOptionList list;
  list.Add(" 42abc", "Answer");
  list.Add("-3", "Minus");
  list.Add("99999999999999", "Huge");
  EXPECT_EQ(list.GetItem(0)->value, 42);
  EXPECT_EQ(list.GetItem(1)->value, -3);
  EXPECT_EQ(list.GetItem(2)->value, INT32_MAX);
}

TEST(VhOptionList, CopiesAreDeep) {
  VhOptionList original(kModes, VHOPTION_STR, TRUE);
  VhOptionList copy(original);
  VhOptionList assigned;
  assigned = original;
  original.Clear();
  for (VhOptionList* list : {&copy, &assigned}) {
    EXPECT_EQ(list->GetValueType(), VHOPTION_STR);
    EXPECT_TRUE(list->IsCaseSensitive());
    ASSERT_EQ(list->GetCount(), 2);
    EXPECT_STREQ(list->GetValueOfText("Bridge"), "wds");
  }
  assigned = assigned;
  EXPECT_EQ(assigned.GetCount(), 2);
}

// Option files ---------------------------------------------------------------

using OptionFile = FileFixture;

TEST_F(OptionFile, ReadsSettingsAndEntriesWithEitherLineEnd) {
  for (const char* eol : {"\n", "\r\n"}) {
    std::string e = eol;
    VhOptionList list;
    list.LoadFromFile(Write("ValueType=STR" + e + "CaseSensitivity=TRUE" + e + e + "  ap,Access Point  " + e +
                            "wds,Bridge" + e)
                          .c_str());
    EXPECT_EQ(list.GetValueType(), VHOPTION_STR);
    EXPECT_TRUE(list.IsCaseSensitive());
    ASSERT_EQ(list.GetCount(), 2);
    EXPECT_STREQ(list.GetValueOfText("Access Point"), "ap");
    EXPECT_EQ(list.FindText("bridge"), -1);
  }
}

struct FileCase {
  const char* what;
  std::string content;
  VhOptionValueType type;
  BOOL caseSensitive;
  const char* entries;  // value=text pairs joined by ";"
};

std::string Entries(const VhOptionList& list) {
  std::string out;
  for (int i = 0; i < list.GetCount(); ++i) {
    const OptionListItem* item = list.GetItem(i);
    if (i) out += ";";
    if (list.GetValueType() == VHOPTION_INT)
      out += std::to_string(item->value);
    else
      out += reinterpret_cast<const char*>(item->value);
    out += "=";
    out += item->text;
  }
  return out;
}

TEST_F(OptionFile, LineShapes) {
  const FileCase cases[] = {
      {"empty file", "", VHOPTION_INT, FALSE, ""},
      {"blank lines only", "\n \r\n\t\n", VHOPTION_INT, FALSE, ""},
      {"last line without end", "1,One\n2,Two", VHOPTION_INT, FALSE, "1=One;2=Two"},
      {"separator first is ignored", "=STR\n,One\n=1,x\n3,Three", VHOPTION_INT, FALSE, "3=Three"},
      {"no separator is ignored", "garbage\n4,Four", VHOPTION_INT, FALSE, "4=Four"},
      {"value not trimmed, text right-trimmed", "5 , Five  \n", VHOPTION_INT, FALSE, "5= Five"},
      {"missing text", "6,\n", VHOPTION_INT, FALSE, "6="},
      {"key case ignored, setting case kept", "valuetype=HEAD\nab,Alpha", VHOPTION_HEAD, FALSE, "ab=Alpha"},
      {"unknown setting value gives integers", "ValueType=str\n7,Seven", VHOPTION_INT, FALSE, "7=Seven"},
      {"key is not trimmed", "ValueType =STR\n8,Eight", VHOPTION_INT, FALSE, "8=Eight"},
      {"other keys are ignored", "Colour=blue\n9,Nine", VHOPTION_INT, FALSE, "9=Nine"},
      {"case flag other than true", "CaseSensitivity=yes\n", VHOPTION_INT, FALSE, ""},
      {"equals wins over comma", "a,b=c\n1,x", VHOPTION_INT, FALSE, "1=x"},
      {"text keeps further commas", "1,a,b\n", VHOPTION_INT, FALSE, "1=a,b"},
      {"zero byte ends the line", std::string("1,On\0e\n2,Two", 12), VHOPTION_INT, FALSE, "1=On;2=Two"},
      {"binary garbage", "\x01\xff\x80,\x7f\n\x1b[0m", VHOPTION_INT, FALSE, "0=\x7f"},
      // The type in force at a line decides how its value is stored; entries
      // made before a change are converted, never misread.
      {"type changes to strings", "1,One\nValueType=STR\nx,Ex", VHOPTION_STR, FALSE, "1=One;x=Ex"},
      {"type changes to integers", "ValueType=STR\n12ab,One\nValueType=INT\n3,Three", VHOPTION_INT, FALSE,
       "12=One;3=Three"},
  };
  for (const FileCase& c : cases) {
    VhOptionList list;
    list.LoadFromFile(Write(c.content).c_str());
    EXPECT_EQ(list.GetValueType(), c.type) << c.what;
    EXPECT_EQ(list.IsCaseSensitive(), c.caseSensitive) << c.what;
    EXPECT_EQ(Entries(list), c.entries) << c.what;
  }
}

TEST_F(OptionFile, OverLongLineIsCutNotSplit) {
  // The part beyond the line limit must not come back as a line of its own.
  std::string line = "1," + std::string(1100, 'x') + ",2,Tail";
  VhOptionList list;
  list.LoadFromFile(Write(line + "\n3,Three\n").c_str());
  ASSERT_EQ(list.GetCount(), 2);
  EXPECT_EQ(std::string(list.GetItem(0)->text), std::string(1021, 'x'));
  EXPECT_STREQ(list.GetItem(1)->text, "Three");
}

TEST_F(OptionFile, LoadingReplacesTheEntries) {
  VhOptionList list(kSecurity, VHOPTION_INT, FALSE);
  list.LoadFromFile(Write("8,Eight\n").c_str());
  EXPECT_EQ(Entries(list), "8=Eight");
}

TEST_F(OptionFile, UnreadableFileThrows18WithItsName) {
  for (std::string path : {dir_.file("missing.opt"), dir_.path()}) {
    VhOptionList list(kSecurity, VHOPTION_INT, FALSE);
    try {
      list.LoadFromFile(path.c_str());
      FAIL() << path;
    } catch (CVHException* e) {
      EXPECT_EQ(e->GetCode(), -18);
      EXPECT_EQ(std::string(e->GetMessage()), "(VhCommon) Fail to read option data from file(" + path + ")!");
      delete e;
    }
    EXPECT_EQ(list.GetCount(), 3) << "a failed load keeps the list";
  }
}

}  // namespace
