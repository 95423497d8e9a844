// One profile ("INI") file: the language file through which every text of the
// wizard is read by its key. It keeps the path and a default buffer size and
// reads and writes through the system's profile functions, so a missing or
// unreadable file reads as empty texts and never reports an error.
#pragma once

#include "afx.h"

class CIniFile : public CObject {
 public:
  // A null path means "Lang.ini" in the program's folder.
  explicit CIniFile(LPCTSTR path = nullptr, int bufferSize = 256);

  CString GetPath() const { return m_path; }
  void SetPath(LPCTSTR path) { m_path = path; }
  BOOL GetStatus(CFileStatus& status) const;

  BOOL WriteSection(LPCTSTR section, LPCTSTR lines);
  // A null text deletes the key.
  BOOL WriteString(LPCTSTR section, LPCTSTR key, LPCTSTR text);
  BOOL WriteInt(LPCTSTR section, LPCTSTR key, int value);
  BOOL WriteStruct(LPCTSTR section, LPCTSTR key, LPVOID data, UINT size);
  BOOL GetStruct(LPCTSTR section, LPCTSTR key, LPVOID data, UINT size);
  BOOL WriteFloat(LPCTSTR section, LPCTSTR key, float value);
  BOOL DeleteKey(LPCTSTR section, LPCTSTR key);

  int GetInt(LPCTSTR section, LPCTSTR key, int defaultValue);
  // The value (or the default), cut to size - 1 characters, each backslash + "n"
  // turned into a line break. 0 only when the reader filled the whole buffer (a
  // cut list of names), else 1.
  int GetString(LPCTSTR section, LPCTSTR key, CString& out, LPCTSTR defaultText);
  int GetString(LPCTSTR section, LPCTSTR key, CString& out, LPCTSTR defaultText, int size);
  double GetFloat(LPCTSTR section, LPCTSTR key, float defaultValue);
  // Append to the list, in file order; the list is not emptied first.
  void GetSectionNames(CStringList& names);
  void GetKeyNames(LPCTSTR section, CStringList& names);

 private:
  void AppendNames(LPCTSTR section, CStringList& names);

  CString m_path;
  int m_bufferSize;
};
