// Language texts used as formats: well-formed texts print as sprintf would,
// hostile ones print literally and never read an argument that is not there.

#include <gtest/gtest.h>

#include <cstdio>

#include "FormatLangText.h"

TEST(FormatLangText, WellFormedTextsPrintAsSprintfWould) {
  char expected[256];
  snprintf(expected, sizeof expected, "%s (%s): set IP... %s", "10.0.0.2", "001122334455", "OK!");
  EXPECT_STREQ(FormatLangText("%s (%s): set IP... %s", {"10.0.0.2", "001122334455", "OK!"}), expected);
  snprintf(expected, sizeof expected, "Restarting: %d%s done", 40, "%");
  EXPECT_STREQ(FormatLangText("Restarting: %d%s done", {40, "%"}), expected);
  snprintf(expected, sizeof expected, "%d found, 100%% sure, %d", -7, 2147483647);
  EXPECT_STREQ(FormatLangText("%d found, 100%% sure, %d", {-7, 2147483647}), expected);
}

TEST(FormatLangText, AnythingElseIsCopiedLiterally) {
  struct Case {
    const char* format;
    const char* expected;
  } cases[] = {
      {"%n%n%n", "%n%n%n"},                // never a write through an argument
      {"%s%s%s%s%s", "abc%s%s%s%s"},       // one text, then nothing to take
      {"%5d|%-3s|%.2f|%x|%ld", "%5d|%-3s|%.2f|%x|%ld"},  // flags, widths, other conversions
      {"%d", "%d"},                        // the next argument is a text
      {"trailing %", "trailing %"},
      {"%%s", "%s"},                       // "%%" first, then a plain "s"
      {"%%%s", "%abc"},
      {"", ""},
      {"no conversions", "no conversions"},  // spare arguments are ignored
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.format);
    EXPECT_STREQ(FormatLangText(c.format, {"abc"}), c.expected);
  }
}

TEST(FormatLangText, ArgumentOfTheOtherKindWaitsForItsConversion) {
  // The number does not fit "%s": it is copied, and the number goes to the "%d" after it.
  EXPECT_STREQ(FormatLangText("%s then %d", {5}), "%s then 5");
  EXPECT_STREQ(FormatLangText("%d and %s", {"ip", 3}), "%d and ip");
  EXPECT_STREQ(FormatLangText("%s", {CString("from a CString")}), "from a CString");
  EXPECT_STREQ(FormatLangText("%s", {static_cast<const char*>(nullptr)}), "");
  EXPECT_STREQ(FormatLangText("%d %s", {}), "%d %s");
}
