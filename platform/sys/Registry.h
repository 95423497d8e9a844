// A stand-in for the registry: an in-memory store, private to the process and empty but for the
// network adapter keys, which are filled from the system's interfaces on first use:
//   HKLM\System\CurrentControlSet\Control\Class\{4d36e972-e325-11ce-bfc1-08002be10318}\NNNN
//     DriverDesc, NetCfgInstanceID, and Ndi\Interfaces\LowerRange ("ethernet" for Ethernet links)
//   HKLM\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces\{instance id}
//     IPAddress, SubnetMask, DefaultGateway (multi-strings), EnableDHCP (0)
// Key and value names compare without case; subkeys enumerate in alphabetical order.
// Nothing is written to the system.
#pragma once

#include "Handles.h"
#include "Types.h"

#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))
#define HKEY_USERS ((HKEY)(ULONG_PTR)((LONG)0x80000003))

typedef HKEY* PHKEY;
typedef DWORD REGSAM;
struct FILETIME;
typedef FILETIME* PFILETIME;

#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_CREATE_SUB_KEY 0x0004
#define KEY_ENUMERATE_SUB_KEYS 0x0008
#define KEY_NOTIFY 0x0010
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F

#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2

// All return ERROR_SUCCESS or a Windows error code (ERROR_FILE_NOT_FOUND for a missing key or
// value, ERROR_MORE_DATA when a buffer is too small, ERROR_NO_MORE_ITEMS past the last subkey,
// ERROR_INVALID_HANDLE, ERROR_ACCESS_DENIED when the key was opened without the right).
PLATFORM_API LONG RegOpenKeyExA(HKEY key, LPCSTR subkey, DWORD options, REGSAM access, PHKEY result);
#define RegOpenKeyEx RegOpenKeyExA
PLATFORM_API LONG RegCreateKeyExA(HKEY key, LPCSTR subkey, DWORD reserved, LPSTR key_class, DWORD options,
                                  REGSAM access, LPSECURITY_ATTRIBUTES attributes, PHKEY result,
                                  LPDWORD disposition);
#define RegCreateKeyEx RegCreateKeyExA
// `name_size` holds the buffer size in characters and receives the name's length; the class and
// the time of the last change are not kept (an empty class, an unchanged time).
PLATFORM_API LONG RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD name_size, LPDWORD reserved,
                                LPSTR key_class, LPDWORD class_size, PFILETIME last_write);
#define RegEnumKeyEx RegEnumKeyExA
// Without a buffer only the size is given; a null or empty name is the key's default value.
PLATFORM_API LONG RegQueryValueExA(HKEY key, LPCSTR value_name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                                   LPDWORD size);
#define RegQueryValueEx RegQueryValueExA
PLATFORM_API LONG RegSetValueExA(HKEY key, LPCSTR value_name, DWORD reserved, DWORD type, const BYTE* data,
                                 DWORD size);
#define RegSetValueEx RegSetValueExA
PLATFORM_API LONG RegCloseKey(HKEY key);
