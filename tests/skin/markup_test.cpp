// The skin description's markup grammar and value parsing, as tables.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "RTMarkupDoc.h"
#include "RTSkin.h"
#include "TempDir.h"

namespace {

// A document rendered as "Name{key=value,...};" per element, in order.
std::string Render(const CRTMarkupDoc& doc, const std::vector<std::string>& keys) {
  std::string s;
  for (int i = 0; i < doc.GetElementCount(); ++i) {
    const CRTMarkupElement* e = doc.GetElement(i);
    s += std::string(e->GetName()) + "{";
    for (const std::string& k : keys)
      if (const char* v = e->GetValue(k.c_str())) s += k + "=" + v + ",";
    s += "};";
  }
  return s;
}

struct GrammarCase {
  const char* name;
  std::string text;
  std::vector<std::string> keys;  // looked up in every element
  const char* expected;
};

class MarkupGrammar : public ::testing::TestWithParam<GrammarCase> {};

TEST_P(MarkupGrammar, Parses) {
  const GrammarCase& c = GetParam();
  CRTMarkupDoc doc;
  EXPECT_EQ(1, doc.LoadText(c.text.data(), c.text.size()));
  EXPECT_EQ(c.expected, Render(doc, c.keys));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MarkupGrammar,
    ::testing::Values(
        GrammarCase{"WellFormed", "<Button Normal=btn_n.bmp Focus=btn_f.bmp NormalDrawMode=4>", {"Normal", "Focus", "NormalDrawMode"},
                    "Button{Normal=btn_n.bmp,Focus=btn_f.bmp,NormalDrawMode=4,};"},
        GrammarCase{"Empty", "", {}, ""},
        GrammarCase{"TextBetweenElementsTabsAndLineBreaks", "junk\r\n<Dialog\tBack=a.bmp\r\n>text\n<Button\n Normal=b>", {"Back", "Normal"},
                    "Dialog{Back=a.bmp,};Button{Normal=b,};"},
        GrammarCase{"BlanksAfterTheAngle", "<  Dialog Back=a>", {"Back"}, "Dialog{Back=a,};"},
        GrammarCase{"EmptyTagAndLoneClose", "<>< >x<Dialog>", {}, "Dialog{};"},
        GrammarCase{"ClosingTagIsAnElement", "<Dialog Back=a></Dialog>", {"Back"}, "Dialog{Back=a,};/Dialog{};"},
        GrammarCase{"NameCutOffByAngle", "<Dialog<Button Normal=n>", {"Normal"}, "Button{Normal=n,};"},
        GrammarCase{"NameCutOffByEnd", "<Dialog", {}, ""},
        // A tag left open still yields its element; its last token counts only
        // when a blank follows it.
        GrammarCase{"OpenAtEndNoBlank", "<Dialog Back=x.bmp", {"Back"}, "Dialog{};"},
        GrammarCase{"OpenAtEndWithBlank", "<Dialog Back=x.bmp ", {"Back"}, "Dialog{Back=x.bmp,};"},
        GrammarCase{"TokenCutOffByAngle", "<Dialog Back=x<Button Normal=n>", {"Back", "Normal"}, "Dialog{};Button{Normal=n,};"},
        // Blanks around '=': Normal and a.bmp add nothing, the lone '=' an empty key.
        GrammarCase{"BlanksAroundEquals", "<Button Normal = a.bmp>", {"Normal", ""}, "Button{=,};"},
        GrammarCase{"ValueKeepsFurtherEqualsAndQuotes", "<A k=\"a=b\">", {"k"}, "A{k=\"a=b\",};"},
        GrammarCase{"CaseVariantsAreTwoKeysFirstWins", "<Button NORMAL=a.bmp normal=b.bmp>", {"Normal"}, "Button{Normal=a.bmp,};"},
        GrammarCase{"SameKeyReplaces", "<Button Normal=a.bmp Normal=b.bmp>", {"Normal"}, "Button{Normal=b.bmp,};"},
        GrammarCase{"DuplicateElementsKept", "<Button Normal=a><Button Normal=b>", {"Normal"}, "Button{Normal=a,};Button{Normal=b,};"},
        GrammarCase{"HighBytesAreOrdinary", "<D\xC3\xA9 k=\xFF>", {"k"}, "D\xC3\xA9{k=\xFF,};"},
        GrammarCase{"ZeroByteEndsTheText", std::string("<A k=1>\0<B k=2>", 15), {"k"}, "A{k=1,};"}),
    [](const ::testing::TestParamInfo<GrammarCase>& info) { return std::string(info.param.name); });

TEST(MarkupDoc, FindElementIsExactAndFindsTheFirst) {
  const std::string text = "<Button Normal=a><button Normal=c><Button Normal=b>";
  CRTMarkupDoc doc;
  doc.LoadText(text.data(), text.size());
  ASSERT_NE(nullptr, doc.FindElement("Button"));
  EXPECT_STREQ("a", doc.FindElement("Button")->GetValue("normal"));
  EXPECT_STREQ("c", doc.FindElement("button")->GetValue("Normal"));
  EXPECT_EQ(nullptr, doc.FindElement("BUTTON"));
  EXPECT_EQ(nullptr, doc.FindElement("Button")->GetValue("Focus"));
}

TEST(MarkupDoc, LoadFileKeepsElementsWhenTheFileCannotBeOpened) {
  TempDir dir;
  const std::string path = dir.file("skin.ini");
  FILE* f = std::fopen(path.c_str(), "w");
  std::fputs("<Dialog Back=a.bmp>", f);
  std::fclose(f);
  CRTMarkupDoc doc;
  EXPECT_EQ(0, doc.LoadFile(nullptr));
  ASSERT_EQ(1, doc.LoadFile(path.c_str()));
  EXPECT_EQ(1, doc.GetElementCount());
  EXPECT_EQ(0, doc.LoadFile(dir.file("missing.ini").c_str()));
  EXPECT_EQ(1, doc.GetElementCount());
  EXPECT_EQ(CString(dir.file("missing.ini").c_str()), doc.GetPath());
}

// A zero byte ends the text wherever it falls, also beyond the first
// kilobyte the reader takes at a time.
TEST(MarkupDoc, ZeroByteInAFileEndsTheTextDeterministically) {
  TempDir dir;
  const std::string path = dir.file("skin.ini");
  std::string text(1500, ' ');
  text.replace(0, 7, "<A k=1>");
  text[1100] = '\0';
  text.replace(1200, 7, "<B k=2>");
  FILE* f = std::fopen(path.c_str(), "wb");
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  CRTMarkupDoc doc;
  ASSERT_EQ(1, doc.LoadFile(path.c_str()));
  EXPECT_EQ("A{k=1,};", Render(doc, {"k"}));
}

TEST(ParseHexColor, DigitsPairLowFirstAndStopAtTheFirstNonDigit) {
  struct Case {
    const char* text;
    uint32_t value;
  } cases[] = {
      {"0xFFFFFF", 0xFFFFFF},
      {"0x0000FF", 0xFF0000},
      {"0x010000", 0x10},
      {"0xFF0000", 0x0000FF},
      {"0x214365", 0x563412},
      {"0xab", 0xBA},
      {"0x", 0},
      {"0xF", 0x0F},          // a lone last digit is the low nibble
      {"0x123", 0x0321},      // the same for the second byte
      {"0x12G4", 0x21},       // stops at G
      {"0x1G", 0x01},
      {"0x21436587", 0x563412},  // at most three bytes
      {"0X12", 0},
      {"12", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, ParseHexColor(c.text)) << c.text;
  EXPECT_EQ(0u, ParseHexColor(nullptr));
}

TEST(ParseHexColor, NeverReadsPastTheText) {
  // Exactly sized buffers without a terminator past the digits' pair.
  const char odd[] = {'0', 'x', 'A', '\0'};
  EXPECT_EQ(0x0Au, ParseHexColor(odd));
}

TEST(GetFolderPart, CutsAtTheLastSeparatorOfEitherKind) {
  struct Case {
    const char* path;
    const char* folder;
  } cases[] = {
      {"/a/b/skin.ini", "/a/b/"}, {"C:\\a\\skin.ini", "C:\\a\\"}, {"a\\b/c\\skin.ini", "a\\b/c\\"},
      {"skin.ini", ""},           {"/", "/"},                     {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CString(c.folder), GetFolderPart(c.path)) << c.path;
}

}  // namespace
