#include "CFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "Files.h"

BOOL CFile::GetStatus(LPCTSTR path, CFileStatus& status) {
  if (!path || !*path) return FALSE;
  std::string native = PlatformNativePath(path);
  struct stat st {};
  if (stat(native.c_str(), &st) != 0) return FALSE;
  char full[PATH_MAX];
  if (!realpath(native.c_str(), full)) return FALSE;
  size_t length = strlen(full);
  if (length >= sizeof status.m_szFullName) return FALSE;  // as the platform's paths are limited
  status.m_ctime = CTime(st.st_ctime);
  status.m_mtime = CTime(st.st_mtime);
  status.m_atime = CTime(st.st_atime);
  status.m_size = static_cast<ULONGLONG>(st.st_size);
  status.m_attribute = S_ISDIR(st.st_mode) ? CFILE_ATTRIBUTE_DIRECTORY : CFILE_ATTRIBUTE_NORMAL;
  if (access(native.c_str(), W_OK) != 0) status.m_attribute |= CFILE_ATTRIBUTE_READONLY;
  memcpy(status.m_szFullName, full, length + 1);
  return TRUE;
}
