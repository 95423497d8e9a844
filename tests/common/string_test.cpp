#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "FileFixture.h"
#include "VhString.h"

namespace {

TEST(VhReplacePlaceholder, ReplacesEveryOccurrenceOnce) {
  struct Case {
    const char* text;
    const char* placeholder;
    const char* value;
    const char* expected;
  } cases[] = {
      {"(VhCommon) Fail to read option data from file([FILENAME])!", "[FILENAME]", "a.opt",
       "(VhCommon) Fail to read option data from file(a.opt)!"},
      {"[MIN] to [MIN]", "[MIN]", "3", "3 to 3"},
      {"[MIN]", "[MIN]", "", ""},
      {"no placeholder", "[MAX]", "9", "no placeholder"},
      {"[X]", "[X]", "[X][X]", "[X][X]"},
      {"abc", "", "z", "abc"},
  };
  for (const Case& c : cases) EXPECT_STREQ(VhReplacePlaceholder(c.text, c.placeholder, c.value), c.expected) << c.text;
}

std::vector<std::string> Pieces(const CStringList& list) {
  std::vector<std::string> out;
  for (POSITION pos = list.GetHeadPosition(); pos;) out.push_back(std::string(list.GetNext(pos)));
  return out;
}

TEST(VhSplit, KeepsEmptyPieces) {
  struct Case {
    const char* text;
    std::vector<std::string> pieces;
  } cases[] = {
      {"a,,b", {"a", "", "b"}},
      {",", {"", ""}},
      {"one", {"one"}},
      {"", {}},
  };
  for (const Case& c : cases) {
    CStringList list;
    list.AddTail("kept");
    VhSplit(c.text, list, ',');
    std::vector<std::string> expected = {"kept"};
    expected.insert(expected.end(), c.pieces.begin(), c.pieces.end());
    EXPECT_EQ(Pieces(list), expected) << c.text;
  }
}

TEST(VhKeywordIndex, FindsFirstEqualEntry) {
  const LPCTSTR table[] = {"Integer", "OctetStr", "integer", nullptr};
  EXPECT_EQ(VhKeywordIndex(table, "integer", FALSE), 0);
  EXPECT_EQ(VhKeywordIndex(table, "integer", TRUE), 2);
  EXPECT_EQ(VhKeywordIndex(table, "Octet", FALSE), -1);
  EXPECT_EQ(VhKeywordIndex(nullptr, "x", FALSE), -1);
}

TEST(VhSplitAtOperator, TwoCharacterOperatorsComeFirst) {
  struct Case {
    const char* text;
    int index;
    const char* left;
    const char* right;
  } cases[] = {
      {"a<>b", 0, "a", "b"}, {"a>=b", 1, "a", "b"}, {"a<=b", 2, "a", "b"}, {"a>b", 3, "a", "b"},
      {"a<b", 4, "a", "b"},  {"a=b=c", 5, "a", "b=c"}, {"ab", -1, "L", "R"},
  };
  for (const Case& c : cases) {
    CString left = "L", right = "R";
    EXPECT_EQ(VhSplitAtOperator(VhComparisonOperators, c.text, left, right), c.index) << c.text;
    EXPECT_STREQ(left, c.left) << c.text;
    EXPECT_STREQ(right, c.right) << c.text;
  }
}

TEST(VhUnquote, TrimsAndStripsOnePairOfQuotes) {
  const char* cases[][2] = {
      {"  \"a b\"  ", "a b"}, {"\"\"", ""}, {"\"", "\""}, {" plain ", "plain"}, {"\"open", "\"open"}, {"", ""},
  };
  for (auto& c : cases) EXPECT_STREQ(VhUnquote(c[0]), c[1]) << c[0];
}

TEST(VhJoinPath, InsertsOneSeparator) {
  const char* cases[][3] = {
      {"", "VhSNMP_BootCounter", "VhSNMP_BootCounter"},
      {"/tmp", "VhSNMP_BootCounter", "/tmp/VhSNMP_BootCounter"},
      {"/tmp/", "VhSNMP_BootCounter", "/tmp/VhSNMP_BootCounter"},
      {"C:\\Temp\\", "f", "C:\\Temp\\f"},
  };
  for (auto& c : cases) EXPECT_STREQ(VhJoinPath(c[0], c[1]), c[2]) << c[0];
  // A folder with and without its separator names the same file.
  EXPECT_STREQ(VhJoinPath("/var/tmp", "x"), VhJoinPath("/var/tmp/", "x"));
}

TEST(VhFindOneOfAndSpan, IndexesByTheirRules) {
  struct Case {
    int start;
    int findOneOf;
    int span;
  } cases[] = {
      // text "ab12cd", set digits
      {0, 2, 0},  // 'a' is not a digit: span 0
      {2, 2, 3},  // run "12" ends at 3
      {3, 3, 3},
      {4, 6, 0},  // no digit after: the length
      {6, 6, 0},  // at the end
      {7, 0, 0},  // beyond the text
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VhFindOneOf("ab12cd", c.start, "0123456789"), c.findOneOf) << c.start;
    EXPECT_EQ(VhSpan("ab12cd", c.start, "0123456789"), c.span) << c.start;
  }
  EXPECT_EQ(VhSpan("ab12", 2, "0123456789"), 4) << "a run to the end gives the length";
}

TEST(VhTextAround, BeforeAfterBetween) {
  EXPECT_STREQ(VhTextBefore("key=value=x", "=", "d"), "key");
  EXPECT_STREQ(VhTextBefore("key", "=", "d"), "d");
  EXPECT_STREQ(VhTextAfter("key=value=x", "=", "d"), "value=x");
  EXPECT_STREQ(VhTextAfter("key", "=", "d"), "d");
  EXPECT_STREQ(VhTextBetween("f(a)(b)", "(", ")", "d"), "a");
  EXPECT_STREQ(VhTextBetween("f(a", "(", ")", "d"), "d");
  EXPECT_STREQ(VhTextBetween("f)a", "(", ")", "d"), "d");
  EXPECT_STREQ(VhTextBetween("<<x>>", "<<", ">>", "d"), "x");
}

TEST(VhStripPrefix, OnlyFromLongerTexts) {
  EXPECT_STREQ(VhStripPrefix("ifIndex.3", "ifIndex."), "3");
  EXPECT_STREQ(VhStripPrefix("ifIndex.", "ifIndex."), "");
  EXPECT_STREQ(VhStripPrefix("IFINDEX.3", "ifIndex."), "");
}

TEST(VhCharacterClasses, DecimalHexMac) {
  struct Case {
    const char* text;
    BOOL decimal, hex, mac;
  } cases[] = {
      {"", TRUE, TRUE, FALSE},
      {"123", TRUE, TRUE, FALSE},
      {".5", TRUE, FALSE, FALSE},
      {"1.2.3", FALSE, FALSE, FALSE},
      {"-1", FALSE, FALSE, FALSE},
      {"00aAfF", FALSE, TRUE, FALSE},
      {"0123456789AB", FALSE, TRUE, TRUE},
      {"0123456789A", FALSE, TRUE, FALSE},
      {"0123456789ABC", FALSE, TRUE, FALSE},
      {"0123456789AG", FALSE, FALSE, FALSE},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VhIsDecimal(c.text), c.decimal) << c.text;
    EXPECT_EQ(VhIsHexadecimal(c.text), c.hex) << c.text;
    EXPECT_EQ(VhIsMacText(c.text), c.mac) << c.text;
  }
}

TEST(VhAtoi, ReadsTheLeadingNumberWithinIntRange) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {{"42", 42}, {"  -7x", -7}, {"+3", 3}, {"x1", 0}, {"", 0},
               {"99999999999999999999", INT32_MAX}, {"-99999999999999999999", INT32_MIN}};
  for (const Case& c : cases) EXPECT_EQ(VhAtoi(c.text), c.value) << c.text;
  EXPECT_EQ(VhAtoi(nullptr), 0);
}

using ReadLines = FileFixture;

TEST_F(ReadLines, KeepsTrimmedNonEmptyLines) {
  CString* lines = nullptr;
  int count = VhReadLines(Write("  first \r\n\r\n\t\nsecond\nthird").c_str(), lines);
  ASSERT_EQ(count, 3);
  EXPECT_STREQ(lines[0], "first");
  EXPECT_STREQ(lines[1], "second");
  EXPECT_STREQ(lines[2], "third");
  delete[] lines;
}

TEST_F(ReadLines, NothingToReadLeavesTheArray) {
  CString sentinel[1];
  for (std::string path : {Write(" \r\n\n"), dir_.file("missing.txt"), dir_.path()}) {
    CString* lines = sentinel;
    EXPECT_EQ(VhReadLines(path.c_str(), lines), 0) << path;
    EXPECT_EQ(lines, sentinel) << path;
  }
}

TEST_F(ReadLines, LongLineStaysOneLine) {
  CString* lines = nullptr;
  int count = VhReadLines(Write(std::string(3000, 'a') + "\nb\n").c_str(), lines);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(lines[0].GetLength(), 1023);
  EXPECT_STREQ(lines[1], "b");
  delete[] lines;
}

// Expressions ---------------------------------------------------------------

double Today() { return COleDateTime::GetCurrentTime().m_dt; }

TEST(VhEvaluateArithmetic, OperatorOrderAndParentheses) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"2 * 3 + 4", 10},
      {"(1 + 2) * 3", 9},
      {"1 + 2 * 3", 7},
      {"6 / 2 * 3", 18},   // the left side of "*" is the plain number 6 / ...
      {"10 - 4 - 3", 9},   // "-" groups to the right
      {"-5", -5},
      {"((2))", 2},
      {"(1 + 1) * (2 + 3)", 10},
      {"2.5*4", 10},
      {"1000/8", 125},
      {"(1", 0},           // an unclosed group is no group
      {"abc", 0},
      {"", 0},
      {"7abc", 7},
  };
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(VhEvaluateArithmetic(c.text), c.value) << c.text;
  EXPECT_TRUE(std::isinf(VhEvaluateArithmetic("8 / 0")));
}

TEST(VhEvaluateArithmetic, NowIsTodaysDateNumber) {
  EXPECT_NEAR(VhEvaluateArithmetic("NOW"), Today(), 0.01);
  EXPECT_NEAR(VhEvaluateArithmetic(" NOW + 1"), Today() + 1, 0.01);
  EXPECT_NEAR(VhEvaluateArithmetic("now * 2"), Today() * 2, 0.02);  // case ignored left of "*"
  EXPECT_DOUBLE_EQ(VhEvaluateArithmetic("now"), 0);                   // but not standing alone
}

TEST(VhEvaluateLogical, ConnectivesAndComparisons) {
  struct Case {
    const char* text;
    BOOL value;
  } cases[] = {
      {"true | false", TRUE},
      {"false & true", FALSE},
      {"! true", FALSE},
      {"!false", TRUE},
      {"TRUE", TRUE},
      {"yes", FALSE},
      {"", FALSE},
      {"(false | true) & true", TRUE},
      {"!(true & false)", TRUE},
      {"((true))", TRUE},
      {"(true", FALSE},
      {"10 > 5", TRUE},       // numbers compare by value
      {"5 > 10", FALSE},
      {"1.0 = 1", TRUE},
      {"-2 < 1", TRUE},
      {"3 <> 3", FALSE},
      {"3 >= 3", TRUE},
      {"2 <= 1", FALSE},
      {"\"abc\" < \"abd\"", TRUE},  // texts compare as texts
      {"\"10\" = 10", TRUE},
      {"x = X", FALSE},
      {"ap = ap", TRUE},
      {"\"a|b\" = \"a|b\"", TRUE},  // operators inside quotes are text
      {"\"(\" = \"(\" & \"x&\" <> \"y\"", TRUE},
      {"\"a=b\" = \"a=b\"", TRUE},
      {"NOW > 40000", TRUE},
      {"NOW < 40000", FALSE},
      {"NOW = NOW", TRUE},  // two NOWs compare as texts
      {"NOW = now", FALSE},
      {"now <> NOW", TRUE},
      {"NOW > now", FALSE},  // 'N' sorts before 'n'
  };
  for (const Case& c : cases) EXPECT_EQ(VhEvaluateLogical(c.text), c.value) << c.text;
}

}  // namespace
