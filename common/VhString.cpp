#include "VhString.h"

#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ByteCursor.h"

CString VhReplacePlaceholder(const CString& text, LPCTSTR placeholder, const CString& value) {
  int length = placeholder ? static_cast<int>(strlen(placeholder)) : 0;
  if (length == 0) return text;
  CString result;
  int from = 0;
  for (int pos; (pos = text.Find(placeholder, from)) >= 0; from = pos + length) {
    result += text.Mid(from, pos - from);
    result += value;
  }
  result += text.Mid(from);
  return result;
}

void VhSplit(const CString& text, CStringList& list, TCHAR delimiter) {
  if (text.IsEmpty()) return;
  int from = 0;
  for (int pos; (pos = text.Find(delimiter, from)) >= 0; from = pos + 1) list.AddTail(text.Mid(from, pos - from));
  list.AddTail(text.Mid(from));
}

int VhKeywordIndex(const LPCTSTR* table, const CString& text, BOOL caseSensitive) {
  if (!table) return -1;
  for (int i = 0; table[i]; ++i) {
    if ((caseSensitive ? text.Compare(table[i]) : text.CompareNoCase(table[i])) == 0) return i;
  }
  return -1;
}

int VhSplitAtOperator(const LPCTSTR* operators, const CString& text, CString& left, CString& right) {
  if (!operators) return -1;
  for (int i = 0; operators[i]; ++i) {
    int pos = text.Find(operators[i]);
    if (pos < 0) continue;
    left = text.Left(pos);
    right = text.Mid(pos + static_cast<int>(strlen(operators[i])));
    return i;
  }
  return -1;
}

const LPCTSTR VhComparisonOperators[] = {"<>", ">=", "<=", ">", "<", "=", nullptr};

CString VhUnquote(const CString& text) {
  CString result = text;
  result.Trim();
  int length = result.GetLength();
  if (length >= 2 && result[0] == '"' && result[length - 1] == '"') return result.Mid(1, length - 2);
  return result;
}

CString VhJoinPath(const CString& folder, const CString& fileName) {
  if (folder.IsEmpty()) return fileName;
  TCHAR last = folder[folder.GetLength() - 1];
  if (last == '/' || last == '\\') return folder + fileName;
  return folder + "/" + fileName;
}

namespace {

bool InSet(TCHAR c, LPCTSTR set) { return c != 0 && set && strchr(set, c) != nullptr; }

}  // namespace

int VhFindOneOf(const CString& text, int start, LPCTSTR set) {
  int length = text.GetLength();
  if (start > length) return 0;
  for (int i = start < 0 ? 0 : start; i < length; ++i) {
    if (InSet(text[i], set)) return i;
  }
  return length;
}

int VhSpan(const CString& text, int start, LPCTSTR set) {
  int length = text.GetLength();
  if (start < 0 || start >= length || !InSet(text[start], set)) return 0;
  int i = start;
  while (i < length && InSet(text[i], set)) ++i;
  return i == length ? length : i - 1;
}

CString VhTextBefore(const CString& text, LPCTSTR delimiter, const CString& defaultText) {
  int pos = text.Find(delimiter);
  return pos < 0 ? defaultText : text.Left(pos);
}

CString VhTextAfter(const CString& text, LPCTSTR delimiter, const CString& defaultText) {
  int pos = text.Find(delimiter);
  return pos < 0 ? defaultText : text.Mid(pos + static_cast<int>(strlen(delimiter)));
}

CString VhTextBetween(const CString& text, LPCTSTR first, LPCTSTR second, const CString& defaultText) {
  int pos = text.Find(first);
  if (pos < 0) return defaultText;
  int start = pos + static_cast<int>(strlen(first));
  int end = text.Find(second, start);
  return end < 0 ? defaultText : text.Mid(start, end - start);
}

CString VhStripPrefix(const CString& text, LPCTSTR prefix) {
  int length = static_cast<int>(strlen(prefix));
  if (text.GetLength() > length && strncmp(text, prefix, length) == 0) return text.Mid(length);
  return CString();
}

BOOL VhIsDecimal(const CString& text) {
  int dots = 0;
  for (int i = 0; i < text.GetLength(); ++i) {
    TCHAR c = text[i];
    if (c == '.') {
      if (++dots > 1) return FALSE;
    } else if (c < '0' || c > '9') {
      return FALSE;
    }
  }
  return TRUE;
}

BOOL VhIsHexadecimal(const CString& text) {
  for (int i = 0; i < text.GetLength(); ++i) {
    if (!isxdigit(static_cast<unsigned char>(text[i]))) return FALSE;
  }
  return TRUE;
}

BOOL VhIsMacText(const CString& text) { return text.GetLength() == 12 && VhIsHexadecimal(text); }

int VhAtoi(LPCTSTR text) {
  if (!text) return 0;
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
  while (isspace(*p)) ++p;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

bool VhReadFile(LPCTSTR path, std::string& content, size_t limit) {
  FILE* file = fopen(path, "rb");
  if (!file) return false;
  std::string data;
  char chunk[4096];
  bool ok = true;
  for (;;) {
    size_t got = fread(chunk, 1, sizeof chunk, file);
    if (got == 0) break;
    if (data.size() + got > limit) {
      ok = false;
      break;
    }
    data.append(chunk, got);
  }
  if (ferror(file)) ok = false;
  fclose(file);
  if (ok) content.swap(data);
  return ok;
}

void VhSplitLines(const std::string& content, CStringArray& lines) {
  const size_t kMaxLine = 1023;  // what a 1,024-byte line buffer holds
  ByteCursor cursor(content.data(), content.size());
  while (!cursor.empty()) {
    const uint8_t* start = cursor.position();
    size_t length = 0;
    bool cut = false;
    uint8_t c = 0;
    while (cursor.get_u8(c) && c != '\n') {
      if (c == 0) cut = true;
      if (!cut && length < kMaxLine) ++length;
    }
    CString line(reinterpret_cast<LPCTSTR>(start), static_cast<int>(length));
    line.Trim();
    if (!line.IsEmpty()) lines.Add(line);
  }
}

int VhReadLines(LPCTSTR path, CString*& lines) {
  // One read: a file that grows while it is read cannot overrun the array.
  std::string content;
  if (!VhReadFile(path, content, 1 << 20)) return 0;
  CStringArray found;
  VhSplitLines(content, found);
  int count = static_cast<int>(found.GetSize());
  if (count == 0) return 0;
  lines = new CString[count];
  for (int i = 0; i < count; ++i) lines[i] = found[i];
  return count;
}

// Expressions ---------------------------------------------------------------

namespace {

// Index of the ")" that closes the "(" at `open`, or -1.
int MatchingParenthesis(const CString& text, int open) {
  int depth = 1;
  for (int i = open + 1; i < text.GetLength(); ++i) {
    if (text[i] == '(') {
      ++depth;
    } else if (text[i] == ')' && --depth == 0) {
      return i;
    }
  }
  return -1;
}

double Now() { return COleDateTime::GetCurrentTime().m_dt; }

bool IsNow(const CString& text, bool ignoreCase) {
  CString word = text;
  word.Trim();
  return ignoreCase ? word.CompareNoCase("NOW") == 0 : word == "NOW";
}

// The left side of "*" and "/" is a plain number, not an expression.
double Factor(const CString& text) { return IsNow(text, true) ? Now() : atof(text); }

// The text with every character of a quoted region blanked out, so that
// operators and parentheses inside quotes are not seen; positions stay as they are.
CString MaskQuoted(const CString& text) {
  CString mask = text;
  int length = text.GetLength();
  for (int i = 0; i < length; ++i) {
    if (text[i] != '"') continue;
    int close = text.Find('"', i + 1);
    if (close < 0) break;
    for (int j = i; j <= close; ++j) mask.SetAt(j, '_');
    i = close;
  }
  return mask;
}

// A whole decimal number with an optional sign, or "NOW".
bool ReadOperand(const CString& text, double& value) {
  if (IsNow(text, true)) {
    value = Now();
    return true;
  }
  CString digits = text;
  if (!digits.IsEmpty() && (digits[0] == '-' || digits[0] == '+')) digits = digits.Mid(1);
  if (digits.IsEmpty() || digits == "." || !VhIsDecimal(digits)) return false;
  value = atof(text);
  return true;
}

// Numbers (and NOW, the current date number, against a number) compare by
// value, everything else as exact text; a text without an operator is true only when it reads "true".
bool Compare(const CString& text) {
  CString left, right;
  int op = VhSplitAtOperator(VhComparisonOperators, MaskQuoted(text), left, right);
  if (op < 0) return VhUnquote(text).CompareNoCase("true") == 0;
  CString a = VhUnquote(text.Left(left.GetLength()));
  CString b = VhUnquote(text.Mid(text.GetLength() - right.GetLength()));
  double x = 0, y = 0;
  int order;
  if (IsNow(a, true) && IsNow(b, true)) {
    order = a.Compare(b);  // two NOWs compare as written: "NOW = now" is false
  } else if (ReadOperand(a, x) && ReadOperand(b, y)) {
    if (x != x || y != y) return op == 0;  // NaN is different from everything
    order = x < y ? -1 : (x > y ? 1 : 0);
  } else {
    order = a.Compare(b);
  }
  switch (op) {
    case 0: return order != 0;
    case 1: return order >= 0;
    case 2: return order <= 0;
    case 3: return order > 0;
    case 4: return order < 0;
    default: return order == 0;
  }
}

}  // namespace

double VhEvaluateArithmetic(const CString& expression) {
  CString text = expression;
  for (int open; (open = text.Find('(')) >= 0;) {
    int close = MatchingParenthesis(text, open);
    if (close < 0) break;  // an unclosed "(" is read as if it were not there
    CString value;
    value.Format("%f", VhEvaluateArithmetic(text.Mid(open + 1, close - open - 1)));
    text = text.Left(open) + value + text.Mid(close + 1);
  }
  static const TCHAR kOperators[] = "+-*/";
  for (const TCHAR* op = kOperators; *op; ++op) {
    int pos = text.Find(*op);
    if (pos < 0) continue;
    CString left = text.Left(pos), right = text.Mid(pos + 1);
    switch (*op) {
      case '+': return VhEvaluateArithmetic(left) + VhEvaluateArithmetic(right);
      case '-': return VhEvaluateArithmetic(left) - VhEvaluateArithmetic(right);
      case '*': return Factor(left) * VhEvaluateArithmetic(right);
      default: return Factor(left) / VhEvaluateArithmetic(right);
    }
  }
  return IsNow(text, false) ? Now() : atof(text);
}

BOOL VhEvaluateLogical(const CString& expression) {
  CString text = expression;
  for (;;) {
    CString mask = MaskQuoted(text);
    int open = mask.Find('(');
    if (open < 0) break;
    int close = MatchingParenthesis(mask, open);
    if (close < 0) break;
    BOOL inner = VhEvaluateLogical(text.Mid(open + 1, close - open - 1));
    text = text.Left(open) + (inner ? "true" : "false") + text.Mid(close + 1);
  }
  CString mask = MaskQuoted(text);
  int pos = mask.Find('|');
  if (pos >= 0) return VhEvaluateLogical(text.Left(pos)) || VhEvaluateLogical(text.Mid(pos + 1));
  pos = mask.Find('&');
  if (pos >= 0) return VhEvaluateLogical(text.Left(pos)) && VhEvaluateLogical(text.Mid(pos + 1));
  pos = mask.Find('!');
  if (pos >= 0) return !VhEvaluateLogical(text.Mid(pos + 1));
  return Compare(text);
}
