// Files, paths and facts about the computer.
//
// Paths: the program's own constants use "\" as separator; every function here accepts "\" and
// "/" alike and hands out paths with "/".
#pragma once

#include <sys/stat.h>

#include <string>

#include "Handles.h"
#include "Types.h"

// The full path of a module's file; a null module is the program itself. A buffer that is too
// small receives the path cut to size - 1 characters, and the result is size with
// ERROR_INSUFFICIENT_BUFFER set.
PLATFORM_API DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);
#define GetModuleFileName GetModuleFileNameA
// Makes GetModuleFileName(NULL) answer `path` instead of the running file (a test that lays out
// a program folder of its own); null or empty goes back to the running file.
PLATFORM_API void PlatformSetProgramPath(const char* path);

// The user's private temporary folder: $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp, always with a
// trailing "/". Returns the length; when the buffer is too small, the size needed (with the NUL)
// and nothing is written.
PLATFORM_API DWORD GetTempPathA(DWORD size, LPSTR buffer);
#define GetTempPath GetTempPathA

// The user's own folder for what `program` keeps across runs: $XDG_STATE_HOME/<program> when that
// variable holds an absolute path, else ~/.local/state/<program> (the home from $HOME, else the
// password database). Missing folders on the way are made with mode 0700. `folder` receives the
// path with a trailing "/" whenever a home is known, even when the folder cannot be made; the
// result says whether it is now a private folder (PlatformIsPrivateFolder).
PLATFORM_API BOOL PlatformStateFolder(const char* program, std::string& folder);
// Whether `path` names a directory itself (not a link to one) that belongs to this user and that
// nobody else may write into: the only kind of folder in which files of ours cannot be planted.
// On FALSE, errno tells why (ENOTDIR also for a link, EPERM for another owner or open modes).
PLATFORM_API BOOL PlatformIsPrivateFolder(const char* path);

#define MAX_COMPUTERNAME_LENGTH 15
// The host name up to its first dot, in capitals, at most 15 characters (the NetBIOS form).
// `size` holds the buffer size in, the length (or the size needed, on ERROR_BUFFER_OVERFLOW) out.
PLATFORM_API BOOL GetComputerNameA(LPSTR buffer, LPDWORD size);
#define GetComputerName GetComputerNameA

typedef WORD LANGID;
// English (United States): the program ships one language.
PLATFORM_API LANGID GetSystemDefaultLangID();
PLATFORM_API LANGID GetUserDefaultLangID();

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_WRITE_DATA 0x00000002u
#define FILE_APPEND_DATA 0x00000004u  // alone (without write access): every write goes to the end
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u
#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2
#define INVALID_SET_FILE_POINTER ((DWORD)-1)

// Sharing modes and attributes are accepted and not enforced. CREATE_ALWAYS and OPEN_ALWAYS set
// ERROR_ALREADY_EXISTS when the file was there.
PLATFORM_API HANDLE CreateFileA(LPCSTR path, DWORD access, DWORD share_mode, LPSECURITY_ATTRIBUTES attributes,
                                DWORD disposition, DWORD flags, HANDLE template_file);
#define CreateFile CreateFileA
PLATFORM_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD to_read, LPDWORD read, LPVOID overlapped);
PLATFORM_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD to_write, LPDWORD written, LPVOID overlapped);
PLATFORM_API DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD method);
PLATFORM_API BOOL DeleteFileA(LPCSTR path);
#define DeleteFile DeleteFileA

// A path with every "\" turned into "/".
PLATFORM_API std::string PlatformNativePath(const char* path);

// Reads a whole file of at most `limit` bytes. Only a regular file is read: a FIFO or device in
// its place is opened without blocking and refused (EINVAL), so no one can stall the program
// with one; a larger file is refused too (EFBIG). 0, or the errno value of the failure; `info`,
// when given, describes the file that was read.
PLATFORM_API int PlatformReadFile(const char* path, size_t limit, std::string& bytes, struct stat* info = nullptr);

// Replaces a file's contents in one step: writes a new file beside it (created exclusively,
// mode 0600, never through a link) and renames it over the old one, so readers see the old or
// the new contents, never a mix. Keeps an existing file's mode. FALSE and the last error on failure.
PLATFORM_API BOOL PlatformReplaceFile(const char* path, const void* data, size_t size);
