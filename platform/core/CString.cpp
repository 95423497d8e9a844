#include "CString.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <strings.h>

namespace {

std::atomic<PlatformStringLoader> g_stringLoader{nullptr};

int Sign(int n) { return (n > 0) - (n < 0); }

bool IsResourceId(LPCTSTR psz) { return psz && reinterpret_cast<uintptr_t>(psz) < 0x10000; }

bool InSet(LPCTSTR set, TCHAR ch) { return ch != '\0' && set && std::strchr(set, ch) != nullptr; }

// Rewrites a format of the Windows runtime into one for this C library:
// integer sizes there differ from LP64 ("l" is 32 bits) and "I64"/"I32"/"I"
// are its own size prefixes.
std::string TranslateFormat(LPCTSTR fmt) {
  std::string out;
  out.reserve(std::strlen(fmt) + 8);
  for (const char* p = fmt; *p;) {
    if (*p != '%') {
      out += *p++;
      continue;
    }
    const size_t conversion = out.size();
    out += *p++;
    if (*p == '%') {
      out += *p++;
      continue;
    }
    while (*p && std::strchr("-+ #0", *p)) out += *p++;
    while (*p && (std::isdigit(static_cast<unsigned char>(*p)) || *p == '*')) out += *p++;
    if (*p == '.') {
      out += *p++;
      while (*p && (std::isdigit(static_cast<unsigned char>(*p)) || *p == '*')) out += *p++;
    }
    std::string size;
    if (p[0] == 'I' && p[1] == '6' && p[2] == '4') {
      size = "ll";
      p += 3;
    } else if (p[0] == 'I' && p[1] == '3' && p[2] == '2') {
      p += 3;
    } else if (p[0] == 'I') {
      size = "z";
      ++p;
    } else if (p[0] == 'l' && p[1] == 'l') {
      size = "ll";
      p += 2;
    } else if (p[0] == 'l') {
      ++p;
      // "%ls"/"%lc" keep their meaning; only integer conversions shrink to 32 bits.
      if (*p && !std::strchr("diouxX", *p)) size = "l";
    } else if (*p && std::strchr("hjztL", *p)) {
      size += *p++;
      if (*p == 'h') size += *p++;
    }
    if (*p == 'n') {
      // The Windows runtime refuses "%n"; here it swallows its argument and writes nothing.
      out.resize(conversion);
      out += "%.0s";
      ++p;
      continue;
    }
    out += size;
    if (*p) out += *p++;
  }
  return out;
}

}  // namespace

void PlatformSetStringLoader(PlatformStringLoader loader) { g_stringLoader = loader; }

CString::CString(LPCTSTR psz) {
  if (IsResourceId(psz)) {
    LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(psz)));
  } else if (psz) {
    m_str = psz;
  }
}

CString::CString(LPCTSTR pch, int nLength) {
  if (pch && nLength > 0) m_str.assign(pch, static_cast<size_t>(nLength));
}

CString::CString(TCHAR ch, int nRepeat) {
  if (nRepeat > 0) m_str.assign(static_cast<size_t>(nRepeat), ch);
}

CString& CString::operator=(LPCTSTR psz) {
  if (IsResourceId(psz)) {
    LoadString(static_cast<UINT>(reinterpret_cast<uintptr_t>(psz)));
  } else if (psz) {
    m_str = psz;  // std::string handles a pointer into its own text
  } else {
    m_str.clear();
  }
  return *this;
}

CString& CString::operator=(TCHAR ch) {
  m_str.assign(1, ch);
  return *this;
}

TCHAR CString::GetAt(int nIndex) const {
  // Reading at the length yields the terminator, as a C string would.
  if (nIndex < 0 || nIndex > GetLength()) return '\0';
  return m_str.c_str()[nIndex];
}

void CString::SetAt(int nIndex, TCHAR ch) {
  if (nIndex >= 0 && nIndex < GetLength()) m_str[static_cast<size_t>(nIndex)] = ch;
}

void CString::Append(LPCTSTR psz, int nLength) {
  if (psz && nLength > 0) m_str.append(psz, static_cast<size_t>(nLength));
}

int CString::Compare(LPCTSTR psz) const { return Sign(std::strcmp(m_str.c_str(), psz ? psz : "")); }

int CString::CompareNoCase(LPCTSTR psz) const {
  return Sign(strcasecmp(m_str.c_str(), psz ? psz : ""));
}

int CString::Collate(LPCTSTR psz) const { return Sign(std::strcoll(m_str.c_str(), psz ? psz : "")); }

int CString::CollateNoCase(LPCTSTR psz) const {
  CString a(*this), b(psz);
  return a.MakeLower().Collate(b.MakeLower());
}

CString CString::Mid(int nFirst) const { return Mid(nFirst, GetLength()); }

CString CString::Mid(int nFirst, int nCount) const {
  if (nFirst < 0) nFirst = 0;
  if (nCount < 0) nCount = 0;
  int len = GetLength();
  if (nFirst >= len) return CString();
  if (nCount > len - nFirst) nCount = len - nFirst;
  return CString(m_str.substr(static_cast<size_t>(nFirst), static_cast<size_t>(nCount)));
}

CString CString::Left(int nCount) const { return Mid(0, nCount); }

CString CString::Right(int nCount) const {
  if (nCount < 0) nCount = 0;
  int len = GetLength();
  if (nCount >= len) return *this;
  return Mid(len - nCount, nCount);
}

CString CString::SpanIncluding(LPCTSTR pszCharSet) const {
  size_t n = 0;
  while (n < m_str.size() && InSet(pszCharSet, m_str[n])) ++n;
  return CString(m_str.substr(0, n));
}

CString CString::SpanExcluding(LPCTSTR pszCharSet) const {
  size_t n = 0;
  while (n < m_str.size() && !InSet(pszCharSet, m_str[n])) ++n;
  return CString(m_str.substr(0, n));
}

CString& CString::MakeUpper() {
  for (char& c : m_str) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return *this;
}

CString& CString::MakeLower() {
  for (char& c : m_str) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_str.begin(), m_str.end());
  return *this;
}

namespace {

template <class Pred>
void TrimLeftIf(std::string& s, Pred pred) {
  size_t n = 0;
  while (n < s.size() && pred(s[n])) ++n;
  s.erase(0, n);
}

template <class Pred>
void TrimRightIf(std::string& s, Pred pred) {
  size_t n = s.size();
  while (n > 0 && pred(s[n - 1])) --n;
  s.erase(n);
}

bool IsWhite(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

CString& CString::TrimLeft() { TrimLeftIf(m_str, IsWhite); return *this; }
CString& CString::TrimLeft(TCHAR chTarget) {
  TrimLeftIf(m_str, [chTarget](char c) { return c == chTarget; });
  return *this;
}
CString& CString::TrimLeft(LPCTSTR pszTargets) {
  TrimLeftIf(m_str, [pszTargets](char c) { return InSet(pszTargets, c); });
  return *this;
}
CString& CString::TrimRight() { TrimRightIf(m_str, IsWhite); return *this; }
CString& CString::TrimRight(TCHAR chTarget) {
  TrimRightIf(m_str, [chTarget](char c) { return c == chTarget; });
  return *this;
}
CString& CString::TrimRight(LPCTSTR pszTargets) {
  TrimRightIf(m_str, [pszTargets](char c) { return InSet(pszTargets, c); });
  return *this;
}
CString& CString::Trim() { return TrimRight().TrimLeft(); }
CString& CString::Trim(TCHAR chTarget) { return TrimRight(chTarget).TrimLeft(chTarget); }
CString& CString::Trim(LPCTSTR pszTargets) { return TrimRight(pszTargets).TrimLeft(pszTargets); }

int CString::Replace(TCHAR chOld, TCHAR chNew) {
  int count = 0;
  for (char& c : m_str) {
    if (c == chOld) {
      c = chNew;
      ++count;
    }
  }
  return count;
}

int CString::Replace(LPCTSTR pszOld, LPCTSTR pszNew) {
  if (!pszOld || !*pszOld) return 0;
  const std::string from(pszOld), to(pszNew ? pszNew : "");
  std::string out;
  int count = 0;
  size_t pos = 0;
  for (size_t hit; (hit = m_str.find(from, pos)) != std::string::npos; pos = hit + from.size()) {
    out.append(m_str, pos, hit - pos);
    out += to;
    ++count;
  }
  if (count) {
    out.append(m_str, pos, std::string::npos);
    m_str.swap(out);
  }
  return count;
}

int CString::Remove(TCHAR ch) {
  size_t before = m_str.size();
  m_str.erase(std::remove(m_str.begin(), m_str.end(), ch), m_str.end());
  return static_cast<int>(before - m_str.size());
}

int CString::Insert(int nIndex, TCHAR ch) {
  nIndex = std::clamp(nIndex, 0, GetLength());
  m_str.insert(static_cast<size_t>(nIndex), 1, ch);
  return GetLength();
}

int CString::Insert(int nIndex, LPCTSTR psz) {
  if (psz) {
    std::string text(psz);  // psz may point into this text
    nIndex = std::clamp(nIndex, 0, GetLength());
    m_str.insert(static_cast<size_t>(nIndex), text);
  }
  return GetLength();
}

int CString::Delete(int nIndex, int nCount) {
  if (nIndex < 0) nIndex = 0;
  int len = GetLength();
  if (nCount > 0 && nIndex < len) {
    m_str.erase(static_cast<size_t>(nIndex), static_cast<size_t>(std::min(nCount, len - nIndex)));
  }
  return GetLength();
}

int CString::Find(TCHAR ch, int nStart) const {
  if (nStart < 0) nStart = 0;
  if (nStart >= GetLength()) return -1;
  size_t hit = m_str.find(ch, static_cast<size_t>(nStart));
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::Find(LPCTSTR pszSub, int nStart) const {
  if (!pszSub) return -1;
  if (nStart < 0) nStart = 0;
  if (nStart > GetLength()) return -1;
  size_t hit = m_str.find(pszSub, static_cast<size_t>(nStart));
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::ReverseFind(TCHAR ch) const {
  size_t hit = m_str.rfind(ch);
  return hit == std::string::npos ? -1 : static_cast<int>(hit);
}

int CString::FindOneOf(LPCTSTR pszCharSet) const {
  for (size_t i = 0; i < m_str.size(); ++i) {
    if (InSet(pszCharSet, m_str[i])) return static_cast<int>(i);
  }
  return -1;
}

namespace {

// Formats into a fresh text: the arguments may point into the destination.
std::string FormatToString(LPCTSTR pszFormat, va_list args) {
  std::string out;
  if (!pszFormat) return out;
  const std::string fmt = TranslateFormat(pszFormat);
  va_list probe;
  va_copy(probe, args);
  int n = std::vsnprintf(nullptr, 0, fmt.c_str(), probe);
  va_end(probe);
  if (n <= 0) return out;
  out.resize(static_cast<size_t>(n));
  std::vsnprintf(&out[0], static_cast<size_t>(n) + 1, fmt.c_str(), args);
  return out;
}

}  // namespace

void CString::FormatV(LPCTSTR pszFormat, va_list args) { m_str = FormatToString(pszFormat, args); }

void CString::AppendFormatV(LPCTSTR pszFormat, va_list args) { m_str += FormatToString(pszFormat, args); }

void CString::FormatPlain(LPCTSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  FormatV(pszFormat, args);
  va_end(args);
}

void CString::FormatPlain(UINT nFormatID, ...) {
  CString format;
  format.LoadString(nFormatID);
  va_list args;
  va_start(args, nFormatID);
  FormatV(format, args);
  va_end(args);
}

void CString::AppendFormatPlain(LPCTSTR pszFormat, ...) {
  va_list args;
  va_start(args, pszFormat);
  AppendFormatV(pszFormat, args);
  va_end(args);
}

LPTSTR CString::GetBuffer(int nMinBufLength) {
  if (nMinBufLength > GetLength()) m_str.resize(static_cast<size_t>(nMinBufLength));
  return &m_str[0];
}

LPTSTR CString::GetBufferSetLength(int nNewLength) {
  m_str.resize(static_cast<size_t>(std::max(nNewLength, 0)));
  return &m_str[0];
}

void CString::ReleaseBuffer(int nNewLength) {
  size_t len = nNewLength < 0 ? strnlen(m_str.c_str(), m_str.size())
                              : std::min(static_cast<size_t>(nNewLength), m_str.size());
  m_str.resize(len);
}

void CString::Preallocate(int nLength) {
  if (nLength > 0) m_str.reserve(static_cast<size_t>(nLength));
}

BOOL CString::LoadString(UINT nID) {
  PlatformStringLoader loader = g_stringLoader;
  CString text;
  if (!loader || !loader(nID, text)) return FALSE;
  *this = text;
  return TRUE;
}

CString operator+(const CString& a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, LPCTSTR b) { CString r(a); r += b; return r; }
CString operator+(LPCTSTR a, const CString& b) { CString r(a); r += b; return r; }
CString operator+(const CString& a, TCHAR b) { CString r(a); r += b; return r; }
CString operator+(TCHAR a, const CString& b) { CString r(a); r += b; return r; }
