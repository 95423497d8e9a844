// What the program asks of a file by name: its status.
#pragma once

#include "CTime.h"
#include "Types.h"

#define CFILE_ATTRIBUTE_READONLY 0x01
#define CFILE_ATTRIBUTE_DIRECTORY 0x10
#define CFILE_ATTRIBUTE_NORMAL 0x00

struct CFileStatus {
  CTime m_ctime;  // the last status change, as Linux has no creation time
  CTime m_mtime;
  CTime m_atime;
  ULONGLONG m_size = 0;
  BYTE m_attribute = 0;
  char m_szFullName[MAX_PATH] = "";  // the absolute path, with "/"
};

class PLATFORM_API CFile {
 public:
  // FALSE (the status untouched) when the path names nothing that can be seen.
  static BOOL GetStatus(LPCTSTR path, CFileStatus& status);
};
