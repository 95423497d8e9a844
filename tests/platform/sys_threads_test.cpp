#include <gtest/gtest.h>

#include <atomic>

#include "Clock.h"
#include "LastError.h"
#include "Threads.h"

namespace {

struct Shared {
  CRITICAL_SECTION section;
  HANDLE entered = nullptr;
  std::atomic<int> try_result{-1};
};

DWORD TryEnterOnce(LPVOID raw) {
  auto* shared = static_cast<Shared*>(raw);
  shared->try_result = TryEnterCriticalSection(&shared->section);
  if (shared->try_result) LeaveCriticalSection(&shared->section);
  return 0;
}

DWORD EnterAndSignal(LPVOID raw) {
  auto* shared = static_cast<Shared*>(raw);
  EnterCriticalSection(&shared->section);
  SetEvent(shared->entered);
  LeaveCriticalSection(&shared->section);
  return 7;
}

}  // namespace

TEST(SysThreads, CriticalSectionIsRecursiveAndExcludesOtherThreads) {
  Shared shared;
  InitializeCriticalSection(&shared.section);
  shared.entered = CreateEvent(nullptr, TRUE, FALSE, nullptr);

  EnterCriticalSection(&shared.section);
  EnterCriticalSection(&shared.section);  // the owner enters again without blocking
  EXPECT_TRUE(TryEnterCriticalSection(&shared.section));

  HANDLE prober = CreateThread(nullptr, 0, TryEnterOnce, &shared, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(prober, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(shared.try_result, FALSE);

  HANDLE waiter = CreateThread(nullptr, 0, EnterAndSignal, &shared, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(shared.entered, 100), static_cast<DWORD>(WAIT_TIMEOUT));
  LeaveCriticalSection(&shared.section);
  LeaveCriticalSection(&shared.section);
  EXPECT_EQ(WaitForSingleObject(shared.entered, 100), static_cast<DWORD>(WAIT_TIMEOUT))
      << "still held once: entered three times, left twice";
  LeaveCriticalSection(&shared.section);
  EXPECT_EQ(WaitForSingleObject(shared.entered, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(waiter, 5000), WAIT_OBJECT_0);

  DWORD code = 0;
  EXPECT_TRUE(GetExitCodeThread(waiter, &code));
  EXPECT_EQ(code, 7u);
  CloseHandle(prober);
  CloseHandle(waiter);
  CloseHandle(shared.entered);
  DeleteCriticalSection(&shared.section);
}

namespace {
DWORD ExitEarly(LPVOID) {
  ExitThread(42);
  return 1;  // never reached
}
unsigned ReturnArgument(void* argument) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(argument)); }
DWORD ReportThreadId(LPVOID out) {
  *static_cast<DWORD*>(out) = GetCurrentThreadId();
  return 0;
}
}  // namespace

TEST(SysThreads, ExitCodesIdsAndSuspendedStart) {
  HANDLE early = CreateThread(nullptr, 0, ExitEarly, nullptr, 0, nullptr);
  ASSERT_EQ(WaitForSingleObject(early, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(early, &code);
  EXPECT_EQ(code, 42u);
  CloseHandle(early);

  unsigned begin_id = 0;
  auto begun = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, ReturnArgument, reinterpret_cast<void*>(uintptr_t{9}), 0, &begin_id));
  ASSERT_NE(begun, nullptr);
  EXPECT_NE(begin_id, 0u);
  ASSERT_EQ(WaitForSingleObject(begun, 5000), WAIT_OBJECT_0);
  GetExitCodeThread(begun, &code);
  EXPECT_EQ(code, 9u);
  CloseHandle(begun);

  DWORD seen = 0, announced = 0;
  HANDLE suspended = CreateThread(nullptr, 0, ReportThreadId, &seen, CREATE_SUSPENDED, &announced);
  EXPECT_EQ(WaitForSingleObject(suspended, 50), static_cast<DWORD>(WAIT_TIMEOUT));
  GetExitCodeThread(suspended, &code);
  EXPECT_EQ(code, STILL_ACTIVE);
  EXPECT_EQ(ResumeThread(suspended), 1u);
  ASSERT_EQ(WaitForSingleObject(suspended, 5000), WAIT_OBJECT_0);
  EXPECT_EQ(seen, announced);
  EXPECT_NE(seen, GetCurrentThreadId());
  CloseHandle(suspended);
}

TEST(SysThreads, EventResetModes) {
  struct Case {
    BOOL manual;
    DWORD second_wait;
  };
  for (Case c : {Case{TRUE, WAIT_OBJECT_0}, Case{FALSE, static_cast<DWORD>(WAIT_TIMEOUT)}}) {
    HANDLE event = CreateEvent(nullptr, c.manual, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), c.second_wait) << "manual reset " << c.manual;
    ResetEvent(event);
    EXPECT_EQ(WaitForSingleObject(event, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    CloseHandle(event);
  }
}

TEST(SysThreads, WaitForMultipleObjectsAnyAndAll) {
  HANDLE events[3];
  for (HANDLE& e : events) e = CreateEvent(nullptr, FALSE, FALSE, nullptr);
  SetEvent(events[2]);
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1) << "lowest signalled index";
  EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(events[2], 0), WAIT_OBJECT_0) << "a failed wait-all consumed nothing";
  for (HANDLE e : events) SetEvent(e);
  EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  for (HANDLE e : events) CloseHandle(e);
}

TEST(SysThreads, BadHandlesFailCleanly) {
  int not_a_handle = 0;
  EXPECT_EQ(WaitForSingleObject(&not_a_handle, 0), WAIT_FAILED);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(CloseHandle(&not_a_handle));
  EXPECT_FALSE(SetEvent(nullptr));
  HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  EXPECT_TRUE(CloseHandle(event));
  EXPECT_FALSE(CloseHandle(event)) << "closed twice";
  EXPECT_EQ(WaitForMultipleObjects(0, &event, FALSE, 0), WAIT_FAILED);
}

TEST(SysThreads, WaitTimeoutsRunOnThePlatformClock) {
  HANDLE never = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  PlatformClockSetScale(200.0);
  ULONGLONG before = GetTickCount64();
  EXPECT_EQ(WaitForSingleObject(never, 4000), static_cast<DWORD>(WAIT_TIMEOUT));  // ~20 ms of real time
  EXPECT_GE(GetTickCount64() - before, 4000u);
  PlatformClockSetScale(1.0);
  CloseHandle(never);
}

namespace {
DWORD WaitAnHour(LPVOID event) { return WaitForSingleObject(static_cast<HANDLE>(event), 3600 * 1000); }
}  // namespace

TEST(SysThreads, AdvancingTheClockEndsAFiniteWait) {
  HANDLE never = CreateEvent(nullptr, TRUE, FALSE, nullptr);
  HANDLE waiter = CreateThread(nullptr, 0, WaitAnHour, never, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(waiter, 50), static_cast<DWORD>(WAIT_TIMEOUT));
  PlatformClockAdvance(2 * 3600 * 1000);
  ASSERT_EQ(WaitForSingleObject(waiter, 5000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeThread(waiter, &code);
  EXPECT_EQ(code, static_cast<DWORD>(WAIT_TIMEOUT));
  CloseHandle(waiter);
  CloseHandle(never);
}
