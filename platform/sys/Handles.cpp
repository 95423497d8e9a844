#include "Handles.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

#include "Clock.h"
#include "HandleTable.h"
#include "LastError.h"

namespace {

struct Table {
  std::mutex lock;
  std::unordered_map<HANDLE, std::shared_ptr<KernelObject>> objects;
};

Table& Handles() {
  static Table* table = new Table;  // outlives every static destructor that might close a handle
  return *table;
}

// Real time between two looks at the platform clock, so that a test advancing the
// clock ends a finite wait promptly.
constexpr ULONGLONG kLongestRealSliceMs = 20;

}  // namespace

HANDLE PlatformHandleAdd(std::shared_ptr<KernelObject> object) {
  Table& t = Handles();
  HANDLE handle = object.get();
  std::lock_guard<std::mutex> guard(t.lock);
  t.objects[handle] = std::move(object);
  return handle;
}

std::shared_ptr<KernelObject> PlatformHandleGet(HANDLE handle) {
  Table& t = Handles();
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.objects.find(handle);
  return it == t.objects.end() ? nullptr : it->second;
}

bool PlatformHandleRemove(HANDLE handle) {
  std::shared_ptr<KernelObject> doomed;  // destroyed after the table lock is released
  Table& t = Handles();
  std::lock_guard<std::mutex> guard(t.lock);
  auto it = t.objects.find(handle);
  if (it == t.objects.end()) return false;
  doomed = std::move(it->second);
  t.objects.erase(it);
  return true;
}

std::mutex& PlatformWaitLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}

std::condition_variable& PlatformWaitChanged() {
  static std::condition_variable* changed = new std::condition_variable;
  return *changed;
}

BOOL CloseHandle(HANDLE handle) {
  if (!PlatformHandleRemove(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, TRUE, milliseconds);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL wait_all, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  std::vector<std::shared_ptr<KernelObject>> objects;
  for (DWORD i = 0; i < count; ++i) {
    auto object = PlatformHandleGet(handles[i]);
    if (!object || !object->Waitable()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
    objects.push_back(std::move(object));
  }
  const ULONGLONG deadline = milliseconds == INFINITE ? 0 : GetTickCount64() + milliseconds;
  std::unique_lock<std::mutex> lock(PlatformWaitLock());
  for (;;) {
    if (wait_all) {
      if (std::all_of(objects.begin(), objects.end(), [](auto& o) { return o->Signaled(); })) {
        for (auto& o : objects) o->Consume();
        return WAIT_OBJECT_0;
      }
    } else {
      for (DWORD i = 0; i < count; ++i) {
        if (objects[i]->Signaled()) {
          objects[i]->Consume();
          return WAIT_OBJECT_0 + i;
        }
      }
    }
    if (milliseconds == INFINITE) {
      PlatformWaitChanged().wait(lock);
      continue;
    }
    ULONGLONG now = GetTickCount64();
    if (now >= deadline) return WAIT_TIMEOUT;
    ULONGLONG real = std::min(PlatformClockToRealMs(deadline - now), kLongestRealSliceMs);
    PlatformWaitChanged().wait_for(lock, std::chrono::milliseconds(std::max<ULONGLONG>(real, 1)));
  }
}
