// The class library's file status: what the program asks about a file by
// path, without opening it.
#pragma once

#include "CTime.h"
#include "Types.h"

struct CFileStatus {
  CTime m_ctime;           // status change (creation where we stand in)
  CTime m_mtime;           // last write
  CTime m_atime;           // last read
  ULONGLONG m_size = 0;    // bytes
  BYTE m_attribute = 0;    // CFile::Attribute bits
  char m_szFullName[MAX_PATH] = "";  // absolute path; a longer one has no status
};

class PLATFORM_API CFile {
 public:
  enum Attribute { normal = 0x00, readOnly = 0x01, hidden = 0x02, system = 0x04, volume = 0x08, directory = 0x10,
                   archive = 0x20 };
  // FALSE, the status untouched, when the path names nothing (or an absolute
  // path too long to hold); "\\" and "/" separate alike.
  static BOOL GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus);
};
