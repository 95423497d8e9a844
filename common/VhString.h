// Free helpers on CString that the option lists, the variable lists and the
// request object build on, and the two expression evaluators of derived values
// and conditions.
#pragma once

#include <string>

#include "afx.h"

// Every occurrence of `placeholder` replaced by `value`, left to right; the
// inserted value is not scanned again.
CString VhReplacePlaceholder(const CString& text, LPCTSTR placeholder, const CString& value);

// Appends the pieces between delimiters, empty pieces included; an empty text
// appends nothing.
void VhSplit(const CString& text, CStringList& list, TCHAR delimiter);

// Index of the first entry of a null-ended table equal to `text` (case ignored
// when `caseSensitive` is 0), or -1.
int VhKeywordIndex(const LPCTSTR* table, const CString& text, BOOL caseSensitive);

// Index of the first operator of a null-ended table (in table order) that occurs
// in `text`, with the text around its first occurrence; -1 leaves both untouched.
int VhSplitAtOperator(const LPCTSTR* operators, const CString& text, CString& left, CString& right);

// The comparison operators, longest first so that "<>" is found before "<".
extern const LPCTSTR VhComparisonOperators[];

// Trimmed text; the text inside the quotes when it is quoted.
CString VhUnquote(const CString& text);

// Folder and file name joined with "/"; the folder may already end with either separator.
CString VhJoinPath(const CString& folder, const CString& fileName);

// First index at or after `start` whose character is in `set`; the length when
// none is; 0 when `start` lies beyond the text.
int VhFindOneOf(const CString& text, int start, LPCTSTR set);

// Index of the last character of the run of `set` characters starting at
// `start`; the length when the run reaches the end; 0 when it is empty.
int VhSpan(const CString& text, int start, LPCTSTR set);

CString VhTextBefore(const CString& text, LPCTSTR delimiter, const CString& defaultText);
CString VhTextAfter(const CString& text, LPCTSTR delimiter, const CString& defaultText);
CString VhTextBetween(const CString& text, LPCTSTR first, LPCTSTR second, const CString& defaultText);

// The text without `prefix` when it is longer and starts with it, else empty.
CString VhStripPrefix(const CString& text, LPCTSTR prefix);

BOOL VhIsDecimal(const CString& text);
BOOL VhIsHexadecimal(const CString& text);
BOOL VhIsMacText(const CString& text);

// The leading decimal number as the C library's atoi reads it, held to the int
// range instead of overflowing.
int VhAtoi(LPCTSTR text);

// Reads a whole text file of at most `limit` bytes; false when it cannot be
// opened or read, or is larger.
bool VhReadFile(LPCTSTR path, std::string& content, size_t limit);

// Appends to `lines` every line of `content` trimmed of white space and not
// empty; line ends may be CRLF or LF. A line is cut at 1,023 bytes (or at a zero
// byte) and its rest is dropped, so a long line never turns into two.
void VhSplitLines(const std::string& content, CStringArray& lines);

// Fills a newly allocated array with the file's trimmed non-empty lines and
// returns their count; a file that cannot be read, or has no such line, leaves
// `lines` untouched and gives 0. The caller deletes the array with delete[].
int VhReadLines(LPCTSTR path, CString*& lines);

// Value of an arithmetic expression of + - * / and parentheses; "NOW" is the
// current local date and time as a date number.
double VhEvaluateArithmetic(const CString& expression);

// Value of a condition of | & ! and parentheses over comparisons.
BOOL VhEvaluateLogical(const CString& expression);
