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
  CFileStatus found;
  found.m_ctime = CTime(info.st_ctime);
  found.m_mtime = CTime(info.st_mtime);
  found.m_atime = CTime(info.st_atime);
  found.m_size = static_cast<ULONGLONG>(info.st_size);
  BYTE attribute = S_ISDIR(info.st_mode) ? directory : archive;
  if (access(native.c_str(), W_OK) != 0) attribute |= readOnly;
  // Names starting with a dot are the hidden files of this system.
  const char* base = strrchr(native.c_str(), '/');
  base = base ? base + 1 : native.c_str();
  if (base[0] == '.' && strcmp(base, ".") != 0 && strcmp(base, "..") != 0) attribute |= hidden;
  found.m_attribute = attribute;
  char* full = realpath(native.c_str(), nullptr);
  std::string name = full ? full : native;
  free(full);
  // A name cut short would name another file: such a path has no status here.
  if (name.size() >= sizeof found.m_szFullName) return FALSE;
  memcpy(found.m_szFullName, name.c_str(), name.size() + 1);
  rStatus = found;
  return TRUE;
}
