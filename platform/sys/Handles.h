// Kernel handles: what threads, events and files share: closing and waiting.
#pragma once

#include "Types.h"

struct SECURITY_ATTRIBUTES {
  DWORD nLength;
  LPVOID lpSecurityDescriptor;
  BOOL bInheritHandle;
};
typedef SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;

#define MAXIMUM_WAIT_OBJECTS 64
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_FAILED 0xFFFFFFFFu
#ifndef WAIT_TIMEOUT
#define WAIT_TIMEOUT 258L
#endif

PLATFORM_API BOOL CloseHandle(HANDLE handle);

// Time-outs are milliseconds of the platform clock, so tests that speed the clock up
// shorten waits too. INFINITE waits for ever.
PLATFORM_API DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
PLATFORM_API DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all, DWORD milliseconds);
