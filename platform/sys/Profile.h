// Profile ("INI") files with the Windows rules: section and key names compare without case,
// blanks around names and values are dropped (also around the names asked for), a value in
// matching single or double quotes is read without them, LF and CRLF files read alike, and a
// missing file, section or key gives the default. A file that cannot be read is a missing file.
// Writes keep every other line as it was and replace the file in one step.
//
// Readers keep each file's parsed form and read the file again only when it changed: another
// file in its place, another size or another modification or change time. A time only has the
// granularity of the file system's clock, so a file whose time lies within that granularity of
// its reading is read again at every lookup until it is older. Lines are read up to 64 KiB.
// The profile functions may be called from any thread.
#pragma once

#include "Types.h"

// With a key: its value (or the default without trailing blanks), cut to size - 1 characters;
// returns the length copied. With a null key: the section's key names; with a null section: the
// section names, each ended by a NUL and the list by a second NUL. A list that does not fit is
// cut, ends in two NULs, and the result is size - 2.
PLATFORM_API DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR default_text, LPSTR buffer,
                                            DWORD size, LPCSTR path);
#define GetPrivateProfileString GetPrivateProfileStringA
PLATFORM_API DWORD GetPrivateProfileSectionNamesA(LPSTR buffer, DWORD size, LPCSTR path);
#define GetPrivateProfileSectionNames GetPrivateProfileSectionNamesA
// The decimal number at the start of the value; the default for a missing key or an empty value.
PLATFORM_API UINT GetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT default_value, LPCSTR path);
#define GetPrivateProfileInt GetPrivateProfileIntA

// A null value deletes the key, a null key the whole section. Names and values holding a line
// break, keys holding "=" and section names holding "]" are refused (ERROR_INVALID_PARAMETER).
PLATFORM_API BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR path);
#define WritePrivateProfileString WritePrivateProfileStringA
// `lines` is a list of "key=value" texts, each ended by a NUL, the list by a second NUL; they
// replace the section's contents. A null list deletes the section.
PLATFORM_API BOOL WritePrivateProfileSectionA(LPCSTR section, LPCSTR lines, LPCSTR path);
#define WritePrivateProfileSection WritePrivateProfileSectionA

// Raw bytes stored as upper-case hexadecimal followed by a checksum byte (the sum of the bytes).
// Reading fails unless the stored size and checksum match.
PLATFORM_API BOOL WritePrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR path);
#define WritePrivateProfileStruct WritePrivateProfileStructA
PLATFORM_API BOOL GetPrivateProfileStructA(LPCSTR section, LPCSTR key, LPVOID data, UINT size, LPCSTR path);
#define GetPrivateProfileStruct GetPrivateProfileStructA

// For tests: the granularity assumed of file times (2 s by default, the coarsest file systems'
// clock); 0 trusts the times to the nanosecond.
PLATFORM_API void PlatformSetProfileTimeGranularity(long long ns);
