// Global memory blocks, as the clipboard hands them over. A moveable block is
// reached through its handle and GlobalLock; a fixed block's handle is its
// address. Every call checks its handle against the live blocks, so a stale or
// made-up handle fails with ERROR_INVALID_HANDLE instead of touching memory.
#pragma once

#include "Types.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// Null (ERROR_NOT_ENOUGH_MEMORY) when the memory cannot be had.
PLATFORM_API HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);
// The block's first byte (null for a bad handle or an empty block); counts the lock.
PLATFORM_API LPVOID GlobalLock(HGLOBAL mem);
// TRUE while the block stays locked; FALSE with NO_ERROR once it is unlocked,
// with ERROR_NOT_LOCKED when it was not locked.
PLATFORM_API BOOL GlobalUnlock(HGLOBAL mem);
// The size asked for at allocation; 0 for a bad handle.
PLATFORM_API SIZE_T GlobalSize(HGLOBAL mem);
// Null on success, else the handle.
PLATFORM_API HGLOBAL GlobalFree(HGLOBAL mem);
