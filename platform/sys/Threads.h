// Threads, events and critical sections with Win32 semantics over POSIX threads.
// AfxBeginThread (the class layer) is built on CreateThread.
#pragma once

#include <pthread.h>

#include "Handles.h"
#include "Types.h"

typedef DWORD (*LPTHREAD_START_ROUTINE)(LPVOID parameter);

#define CREATE_SUSPENDED 0x00000004u
#define STILL_ACTIVE 259u

// The stack size is left to the system.
PLATFORM_API HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, SIZE_T stack_size, LPTHREAD_START_ROUTINE start,
                                 LPVOID parameter, DWORD flags, LPDWORD thread_id);
PLATFORM_API DWORD ResumeThread(HANDLE thread);
[[noreturn]] PLATFORM_API void ExitThread(DWORD exit_code);
PLATFORM_API BOOL GetExitCodeThread(HANDLE thread, LPDWORD exit_code);
// The system-wide id of the calling thread (never 0).
PLATFORM_API DWORD GetCurrentThreadId();

// The C runtime's form: returns the thread handle, or 0 on failure.
PLATFORM_API uintptr_t _beginthreadex(void* security, unsigned stack_size, unsigned (*start)(void*), void* argument,
                                      unsigned flags, unsigned* thread_id);
[[noreturn]] PLATFORM_API void _endthreadex(unsigned exit_code);

// Events; a named event is a new, private event (no program shares events by name).
PLATFORM_API HANDLE CreateEventA(LPSECURITY_ATTRIBUTES attributes, BOOL manual_reset, BOOL initial_state,
                                 LPCSTR name);
#define CreateEvent CreateEventA
PLATFORM_API BOOL SetEvent(HANDLE event);
PLATFORM_API BOOL ResetEvent(HANDLE event);

// Recursive: the owning thread may enter again and must leave as often as it entered.
struct CRITICAL_SECTION {
  pthread_mutex_t mutex;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;

PLATFORM_API void InitializeCriticalSection(LPCRITICAL_SECTION section);
PLATFORM_API void EnterCriticalSection(LPCRITICAL_SECTION section);
PLATFORM_API BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
PLATFORM_API void LeaveCriticalSection(LPCRITICAL_SECTION section);
PLATFORM_API void DeleteCriticalSection(LPCRITICAL_SECTION section);

inline LONG InterlockedIncrement(LONG volatile* value) { return __atomic_add_fetch(value, 1, __ATOMIC_SEQ_CST); }
inline LONG InterlockedDecrement(LONG volatile* value) { return __atomic_sub_fetch(value, 1, __ATOMIC_SEQ_CST); }
inline LONG InterlockedExchange(LONG volatile* target, LONG value) {
  return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}
inline LONG InterlockedCompareExchange(LONG volatile* target, LONG exchange, LONG comparand) {
  __atomic_compare_exchange_n(target, &comparand, exchange, false, __ATOMIC_SEQ_CST, __ATOMIC_SEQ_CST);
  return comparand;
}
