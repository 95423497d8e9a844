// 8-bit text as a value type. Offsets and lengths are ints; out-of-range
// arguments are clamped rather than trusted, since they often come from data.
#pragma once

#include <cstdarg>
#include <string>
#include <type_traits>

#include "Types.h"

class PLATFORM_API CString {
 public:
  CString() = default;
  CString(const CString&) = default;
  CString(CString&&) noexcept = default;
  // A null pointer gives an empty text; a value below 65536 is a string
  // resource id (MAKEINTRESOURCE), loaded as LoadString does.
  CString(LPCTSTR psz);
  CString(LPCTSTR pch, int nLength);
  explicit CString(TCHAR ch, int nRepeat = 1);
  explicit CString(const std::string& s) : m_str(s) {}

  CString& operator=(const CString&) = default;
  CString& operator=(CString&&) noexcept = default;
  CString& operator=(LPCTSTR psz);
  CString& operator=(TCHAR ch);

  int GetLength() const { return static_cast<int>(m_str.size()); }
  BOOL IsEmpty() const { return m_str.empty(); }
  void Empty() { m_str.clear(); }

  TCHAR GetAt(int nIndex) const;
  TCHAR operator[](int nIndex) const { return GetAt(nIndex); }
  void SetAt(int nIndex, TCHAR ch);
  operator LPCTSTR() const { return m_str.c_str(); }
  LPCTSTR GetString() const { return m_str.c_str(); }
  const std::string& str() const { return m_str; }

  CString& operator+=(const CString& s) { m_str += s.m_str; return *this; }
  CString& operator+=(LPCTSTR psz) { if (psz) m_str += psz; return *this; }
  CString& operator+=(TCHAR ch) { m_str += ch; return *this; }
  void Append(LPCTSTR psz) { *this += psz; }
  void Append(LPCTSTR psz, int nLength);
  void AppendChar(TCHAR ch) { m_str += ch; }

  // strcmp-style results: negative, zero or positive.
  int Compare(LPCTSTR psz) const;
  int CompareNoCase(LPCTSTR psz) const;
  int Collate(LPCTSTR psz) const;
  int CollateNoCase(LPCTSTR psz) const;

  CString Mid(int nFirst) const;
  CString Mid(int nFirst, int nCount) const;
  CString Left(int nCount) const;
  CString Right(int nCount) const;
  CString SpanIncluding(LPCTSTR pszCharSet) const;
  CString SpanExcluding(LPCTSTR pszCharSet) const;

  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // White space is every byte isspace accepts in the C locale, "\r" included.
  CString& Trim();
  CString& Trim(TCHAR chTarget);
  CString& Trim(LPCTSTR pszTargets);
  CString& TrimLeft();
  CString& TrimLeft(TCHAR chTarget);
  CString& TrimLeft(LPCTSTR pszTargets);
  CString& TrimRight();
  CString& TrimRight(TCHAR chTarget);
  CString& TrimRight(LPCTSTR pszTargets);

  int Replace(TCHAR chOld, TCHAR chNew);
  int Replace(LPCTSTR pszOld, LPCTSTR pszNew);
  int Remove(TCHAR ch);
  int Insert(int nIndex, TCHAR ch);
  int Insert(int nIndex, LPCTSTR psz);
  int Delete(int nIndex, int nCount = 1);

  // Zero-based index of the first match at or after nStart, or -1.
  int Find(TCHAR ch, int nStart = 0) const;
  int Find(LPCTSTR pszSub, int nStart = 0) const;
  int ReverseFind(TCHAR ch) const;
  int FindOneOf(LPCTSTR pszCharSet) const;

  // printf rules as the Windows runtime reads them: "l" on an integer
  // conversion means 32 bits, "I64" 64 bits and "I" pointer-sized.
  // The arguments reach the C library as they are, so each must be a number or
  // a pointer: a CString goes as (LPCTSTR). GCC would otherwise hand the object
  // itself to "%s" without a word, and the text would be garbage.
  template <class... Args>
  void Format(LPCTSTR pszFormat, const Args&... args) {
    static_assert(PlainArguments<Args...>(), "pass a CString to Format as (LPCTSTR)");
    FormatPlain(pszFormat, args...);
  }
  template <class... Args>
  void Format(UINT nFormatID, const Args&... args) {
    static_assert(PlainArguments<Args...>(), "pass a CString to Format as (LPCTSTR)");
    FormatPlain(nFormatID, args...);
  }
  void FormatV(LPCTSTR pszFormat, va_list args);
  template <class... Args>
  void AppendFormat(LPCTSTR pszFormat, const Args&... args) {
    static_assert(PlainArguments<Args...>(), "pass a CString to AppendFormat as (LPCTSTR)");
    AppendFormatPlain(pszFormat, args...);
  }
  void AppendFormatV(LPCTSTR pszFormat, va_list args);

  // A writable buffer of at least nMinBufLength characters plus a terminator,
  // holding the current text; ReleaseBuffer(-1) takes the length up to the first NUL.
  LPTSTR GetBuffer(int nMinBufLength);
  LPTSTR GetBuffer() { return GetBuffer(0); }
  LPTSTR GetBufferSetLength(int nNewLength);
  void ReleaseBuffer(int nNewLength = -1);
  void ReleaseBufferSetLength(int nNewLength) { ReleaseBuffer(nNewLength); }
  void FreeExtra() { m_str.shrink_to_fit(); }
  void Preallocate(int nLength);
  LPTSTR LockBuffer() { return GetBuffer(0); }
  void UnlockBuffer() {}

  BOOL LoadString(UINT nID);

 private:
  template <class... Args>
  static constexpr bool PlainArguments() {
    return (!std::is_class<Args>::value && ...);
  }
  void FormatPlain(LPCTSTR pszFormat, ...);
  void FormatPlain(UINT nFormatID, ...);
  void AppendFormatPlain(LPCTSTR pszFormat, ...);

  std::string m_str;
};

// Where string resources come from; set by the resource layer once it holds them.
typedef BOOL (*PlatformStringLoader)(UINT nID, CString& text);
PLATFORM_API void PlatformSetStringLoader(PlatformStringLoader loader);

PLATFORM_API CString operator+(const CString& a, const CString& b);
PLATFORM_API CString operator+(const CString& a, LPCTSTR b);
PLATFORM_API CString operator+(LPCTSTR a, const CString& b);
PLATFORM_API CString operator+(const CString& a, TCHAR b);
PLATFORM_API CString operator+(TCHAR a, const CString& b);

#define TRELLIAN_CSTRING_COMPARE(op)                                                                  \
  inline bool operator op(const CString& a, const CString& b) { return a.Compare(b) op 0; }          \
  inline bool operator op(const CString& a, LPCTSTR b) { return a.Compare(b) op 0; }                 \
  inline bool operator op(LPCTSTR a, const CString& b) { return -b.Compare(a) op 0; }
TRELLIAN_CSTRING_COMPARE(==)
TRELLIAN_CSTRING_COMPARE(!=)
TRELLIAN_CSTRING_COMPARE(<)
TRELLIAN_CSTRING_COMPARE(>)
TRELLIAN_CSTRING_COMPARE(<=)
TRELLIAN_CSTRING_COMPARE(>=)
#undef TRELLIAN_CSTRING_COMPARE
inline bool operator==(const CString& a, TCHAR b) { return a.GetLength() == 1 && a[0] == b; }
inline bool operator!=(const CString& a, TCHAR b) { return !(a == b); }
