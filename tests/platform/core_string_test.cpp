#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "afx.h"

namespace {

struct TrimCase {
  const char* input;
  const char* trimmed;
  const char* left;
  const char* right;
};

TEST(CStringTest, TrimRemovesEveryWhiteSpaceByte) {
  const TrimCase cases[] = {
      {"", "", "", ""},
      {"abc", "abc", "abc", "abc"},
      {"  a b  ", "a b", "a b  ", "  a b"},
      {"\r\n\t\v\fx\r\n", "x", "x\r\n", "\r\n\t\v\fx"},
      {" \r\n ", "", "", ""},
  };
  for (const TrimCase& c : cases) {
    SCOPED_TRACE(c.input);
    CString both(c.input), left(c.input), right(c.input);
    EXPECT_STREQ(c.trimmed, both.Trim());
    EXPECT_STREQ(c.left, left.TrimLeft());
    EXPECT_STREQ(c.right, right.TrimRight());
  }
}

TEST(CStringTest, TrimWithTargetsLeavesOtherBytes) {
  CString s("xx-ab x-");
  EXPECT_STREQ("-ab x-", CString(s).TrimLeft('x'));
  EXPECT_STREQ("ab ", CString(s).Trim("x-"));
  EXPECT_STREQ("xx-ab x", CString(s).TrimRight("-"));
  EXPECT_STREQ("xx-ab x-", CString(s).Trim(""));
}

struct FindCase {
  const char* text;
  const char* needle;
  int start;
  int found;
};

TEST(CStringTest, FindHonoursStartAndBounds) {
  const FindCase cases[] = {
      {"a.b.c", ".", 0, 1},  {"a.b.c", ".", 2, 3},  {"a.b.c", ".", 4, -1},
      {"a.b.c", ".", 99, -1}, {"a.b.c", ".", -5, 1}, {"a.b.c", "b.c", 0, 2},
      {"a.b.c", "", 0, 0},   {"a.b.c", "", 5, 5},   {"a.b.c", "", 6, -1},
      {"", "x", 0, -1},
  };
  for (const FindCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text << " / " << c.needle << " from " << c.start);
    EXPECT_EQ(c.found, CString(c.text).Find(c.needle, c.start));
    if (std::strlen(c.needle) == 1) {
      EXPECT_EQ(c.found, CString(c.text).Find(c.needle[0], c.start));
    }
  }
  CString path("dir/sub/file.txt");
  EXPECT_EQ(7, path.ReverseFind('/'));
  EXPECT_EQ(-1, path.ReverseFind('\\'));
  EXPECT_EQ(3, path.FindOneOf("/."));
  EXPECT_EQ(-1, path.FindOneOf(""));
}

TEST(CStringTest, ExtractionClampsOutOfRangeArguments) {
  CString s("abcdef");
  EXPECT_STREQ("cdef", s.Mid(2));
  EXPECT_STREQ("cd", s.Mid(2, 2));
  EXPECT_STREQ("ef", s.Mid(4, 100));
  EXPECT_STREQ("", s.Mid(6));
  EXPECT_STREQ("", s.Mid(100, 2));
  EXPECT_STREQ("ab", s.Mid(-3, 2));
  EXPECT_STREQ("", s.Mid(1, -1));
  EXPECT_STREQ("abc", s.Left(3));
  EXPECT_STREQ("abcdef", s.Left(99));
  EXPECT_STREQ("", s.Left(-1));
  EXPECT_STREQ("def", s.Right(3));
  EXPECT_STREQ("abcdef", s.Right(99));
  EXPECT_STREQ("12", CString("12.5x").SpanIncluding("0123456789"));
  EXPECT_STREQ("key", CString("key=value").SpanExcluding("=;"));
}

struct FormatCase {
  const char* expected;
  CString text;
};

TEST(CStringTest, FormatReadsSizesAsTheWindowsRuntimeDoes) {
  const LONG negative = -5;
  const DWORD big = 0xFFFFFFFFu;
  const FormatCase cases[] = {
      {"-5", [&] { CString s; s.Format("%ld", negative); return s; }()},
      {"4294967295", [&] { CString s; s.Format("%lu", big); return s; }()},
      {"ffffffff", [&] { CString s; s.Format("%lx", big); return s; }()},
      {"1099511627776", [&] { CString s; s.Format("%I64d", (LONGLONG)1 << 40); return s; }()},
      {"123456789012", [&] { CString s; s.Format("%lld", 123456789012LL); return s; }()},
      {"  7|x  |%|3.14", [&] { CString s; s.Format("%3d|%-3s|%%|%.2f", 7, "x", 3.14159); return s; }()},
      {"0x0A", [&] { CString s; s.Format("0x%02X", 10); return s; }()},
      {"-1", [&] { CString s; s.Format("%Id", (INT_PTR)-1); return s; }()},
      // "%n" is refused, not obeyed: a text must never write through its arguments.
      {"a|b7", [&] { int n = 0; CString s; s.Format("a|%5nb%d", &n, 7); return s; }()},
      // Arguments go through as the C library expects them: floats and bools promoted, arrays as
      // pointers. (A CString argument is refused when compiling; it must be cast to LPCTSTR.)
      {"2.5|1|ab|3", [&] {
         const float f = 2.5f;
         const char word[] = "ab";
         enum { kThree = 3 };
         CString s;
         s.Format("%.1f|%d|%s|%d", f, true, word, kThree);
         return s;
       }()},
  };
  for (const FormatCase& c : cases) EXPECT_STREQ(c.expected, c.text);

  CString grows;
  grows.Format("%s", std::string(5000, 'z').c_str());
  EXPECT_EQ(5000, grows.GetLength());
  grows.Format("%d", 1);
  grows.AppendFormat("-%s-", "two");
  EXPECT_STREQ("1-two-", grows);
  // The destination may appear among its own arguments.
  grows.Format("<%s>", (LPCTSTR)grows);
  EXPECT_STREQ("<1-two->", grows);
}

TEST(CStringTest, ComparisonOrdersAndIgnoresCaseOnRequest) {
  struct {
    const char* a;
    const char* b;
    int compare;
    int noCase;
  } cases[] = {
      {"abc", "abc", 0, 0}, {"abc", "ABC", 1, 0}, {"abc", "abd", -1, -1},
      {"ab", "abc", -1, -1}, {"", "", 0, 0},     {"b", "A", 1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.a << " vs " << c.b);
    CString a(c.a);
    EXPECT_EQ(c.compare, a.Compare(c.b));
    EXPECT_EQ(c.noCase, a.CompareNoCase(c.b));
    EXPECT_EQ(c.compare == 0, a == c.b);
    EXPECT_EQ(c.compare == 0, c.b == a);
    EXPECT_EQ(c.compare != 0, a != CString(c.b));
    EXPECT_EQ(c.compare < 0, a < c.b);
    EXPECT_EQ(c.compare > 0, a > CString(c.b));
  }
}

TEST(CStringTest, EditingReturnsCountsAndNewLengths) {
  CString s("a-b-c");
  EXPECT_EQ(2, s.Replace("-", "--"));
  EXPECT_STREQ("a--b--c", s);
  EXPECT_EQ(0, s.Replace("", "x"));
  EXPECT_EQ(2, s.Replace("--", ""));
  EXPECT_STREQ("abc", s);
  EXPECT_EQ(1, s.Replace('b', 'B'));
  EXPECT_EQ(5, s.Insert(1, "xy"));
  EXPECT_STREQ("axyBc", s);
  EXPECT_EQ(6, s.Insert(100, '!'));
  EXPECT_EQ(7, s.Insert(-4, '^'));
  EXPECT_STREQ("^axyBc!", s);
  EXPECT_EQ(5, s.Delete(1, 2));
  EXPECT_EQ(5, s.Delete(50, 2));
  EXPECT_EQ(3, s.Delete(3, 99));
  EXPECT_STREQ("^yB", s);
  EXPECT_EQ(1, s.Remove('y'));
  EXPECT_STREQ("^b", s.MakeLower());
  EXPECT_STREQ("B^", s.MakeUpper().MakeReverse());
  s.SetAt(5, 'x');  // out of range: ignored
  EXPECT_EQ('\0', s.GetAt(2));
  EXPECT_STREQ("xxx", CString('x', 3));
  EXPECT_STREQ("ab", CString("abc", 2));
  EXPECT_STREQ("", CString(static_cast<LPCTSTR>(nullptr)));
  EXPECT_STREQ("a1b", CString("a") + '1' + "b");
}

TEST(CStringTest, BufferRoundTripKeepsTextAndTakesNewLength) {
  CString s("abc");
  char* buf = s.GetBuffer(10);
  EXPECT_STREQ("abc", buf);
  std::strcpy(buf, "0123456789");
  s.ReleaseBuffer();
  EXPECT_EQ(10, s.GetLength());
  buf = s.GetBuffer(0);
  buf[4] = '\0';
  s.ReleaseBuffer();
  EXPECT_STREQ("0123", s);
  std::memcpy(s.GetBufferSetLength(2), "zz", 2);
  s.ReleaseBuffer(1);
  EXPECT_STREQ("z", s);
  s.GetBuffer(4);
  s.ReleaseBuffer(100);  // longer than the buffer: clamped
  EXPECT_LE(s.GetLength(), 4);
}

TEST(CStringTest, LoadStringUsesTheInstalledLoader) {
  CString s("kept");
  EXPECT_FALSE(s.LoadString(7));
  EXPECT_STREQ("kept", s);
  PlatformSetStringLoader([](UINT id, CString& text) -> BOOL {
    if (id != 7) return FALSE;
    text = "seven %d";
    return TRUE;
  });
  EXPECT_TRUE(s.LoadString(7));
  EXPECT_STREQ("seven %d", s);
  s.Format(7u, 7);
  EXPECT_STREQ("seven 7", s);
  EXPECT_STREQ("seven %d", CString(reinterpret_cast<LPCTSTR>(7)));
  PlatformSetStringLoader(nullptr);
}

}  // namespace
