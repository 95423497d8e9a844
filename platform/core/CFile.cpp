#include "CFile.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "Files.h"

BOOL CFile::GetStatus(LPCTSTR lpszFileName, CFileStatus& rStatus) {
  if (!lpszFileName || !lpszFileName[0]) return FALSE;
  std::string native = PlatformNativePath(lpszFileName);
  struct stat info;
  if (stat(native.c_str(), &info) != 0) return FALSE;
  rStatus.m_ctime = CTime(info.st_ctime);
  rStatus.m_mtime = CTime(info.st_mtime);
  rStatus.m_atime = CTime(info.st_atime);
  rStatus.m_size = static_cast<ULONGLONG>(info.st_size);
  BYTE attribute = S_ISDIR(info.st_mode) ? directory : archive;
  if (access(native.c_str(), W_OK) != 0) attribute |= readOnly;
  // Names starting with a dot are the hidden files of this system.
  const char* base = strrchr(native.c_str(), '/');
  base = base ? base + 1 : native.c_str();
  if (base[0] == '.' && strcmp(base, ".") != 0 && strcmp(base, "..") != 0) attribute |= hidden;
  rStatus.m_attribute = attribute;
  char* full = realpath(native.c_str(), nullptr);
  std::string name = full ? full : native;
  free(full);
  size_t n = std::min(name.size(), sizeof rStatus.m_szFullName - 1);
  memcpy(rStatus.m_szFullName, name.data(), n);
  rStatus.m_szFullName[n] = 0;
  return TRUE;
}
