#include "CIniFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "windows_sys.h"

namespace {

// The program's folder with its separator, from a buffer of 256 characters.
CString ProgramFolder() {
  char path[256] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  CString folder(path);
  int cut = std::max(folder.ReverseFind('\\'), folder.ReverseFind('/'));
  return folder.Left(cut + 1);
}

// One language-file line may carry a multi-line message: backslash + "n" is a line break,
// each found again from the start, so "\\n" becomes a backslash and a line break.
void ExpandLineBreaks(CString& text) {
  for (int at = text.Find("\\n"); at >= 0; at = text.Find("\\n")) {
    text = text.Left(at) + "\n" + text.Mid(at + 2);
  }
}

}  // namespace

CIniFile::CIniFile(LPCTSTR path, int bufferSize) : m_bufferSize(bufferSize) {
  m_path = path ? CString(path) : ProgramFolder() + "Lang.ini";
}

BOOL CIniFile::GetStatus(CFileStatus& status) const { return CFile::GetStatus(m_path, status); }

BOOL CIniFile::WriteSection(LPCTSTR section, LPCTSTR lines) {
  return WritePrivateProfileSectionA(section, lines, m_path);
}

BOOL CIniFile::WriteString(LPCTSTR section, LPCTSTR key, LPCTSTR text) {
  return WritePrivateProfileStringA(section, key, text, m_path);
}

BOOL CIniFile::WriteInt(LPCTSTR section, LPCTSTR key, int value) {
  CString text;
  text.Format("%d", value);
  return WriteString(section, key, text);
}

BOOL CIniFile::WriteStruct(LPCTSTR section, LPCTSTR key, LPVOID data, UINT size) {
  return WritePrivateProfileStructA(section, key, data, size, m_path);
}

BOOL CIniFile::GetStruct(LPCTSTR section, LPCTSTR key, LPVOID data, UINT size) {
  return GetPrivateProfileStructA(section, key, data, size, m_path);
}

BOOL CIniFile::WriteFloat(LPCTSTR section, LPCTSTR key, float value) {
  CString text;
  text.Format("%f", static_cast<double>(value));
  return WriteString(section, key, text);
}

BOOL CIniFile::DeleteKey(LPCTSTR section, LPCTSTR key) { return WriteString(section, key, nullptr); }

int CIniFile::GetInt(LPCTSTR section, LPCTSTR key, int defaultValue) {
  return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, m_path));
}

int CIniFile::GetString(LPCTSTR section, LPCTSTR key, CString& out, LPCTSTR defaultText) {
  return GetString(section, key, out, defaultText, m_bufferSize);
}

int CIniFile::GetString(LPCTSTR section, LPCTSTR key, CString& out, LPCTSTR defaultText, int size) {
  if (size < 2) size = 2;  // room for the sentinel
  char* buffer = out.GetBuffer(size);
  buffer[size - 2] = 'x';
  buffer[size - 1] = 'x';
  GetPrivateProfileStringA(section, key, defaultText ? defaultText : "", buffer, static_cast<DWORD>(size), m_path);
  int result = (buffer[size - 2] == '\0' && buffer[size - 1] == '\0') ? 0 : 1;
  out.ReleaseBuffer(-1);
  ExpandLineBreaks(out);
  return result;
}

double CIniFile::GetFloat(LPCTSTR section, LPCTSTR key, float defaultValue) {
  CString fallback, text;
  fallback.Format("%f", static_cast<double>(defaultValue));
  if (GetString(section, key, text, fallback, 512) != 0) return atof(text);
  return defaultValue;
}

void CIniFile::GetSectionNames(CStringList& names) { AppendNames(nullptr, names); }

void CIniFile::GetKeyNames(LPCTSTR section, CStringList& names) {
  if (section) AppendNames(section, names);
}

void CIniFile::AppendNames(LPCTSTR section, CStringList& names) {
  int size = m_bufferSize > 2 ? m_bufferSize : 2;
  std::vector<char> buffer(static_cast<size_t>(size), '\0');
  if (section) {
    GetPrivateProfileStringA(section, nullptr, "", buffer.data(), static_cast<DWORD>(size), m_path);
  } else {
    GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(size), m_path);
  }
  // The list ends at the first empty name; the reader always ends it with two NULs.
  for (const char* name = buffer.data(); *name && name < buffer.data() + size; name += strlen(name) + 1) {
    names.AddTail(name);
  }
}
