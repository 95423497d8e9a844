#include "Threads.h"

#include <sys/syscall.h>
#include <unistd.h>

#include "HandleTable.h"
#include "LastError.h"

namespace {

class ThreadObject : public KernelObject {
 public:
  bool Waitable() const override { return true; }
  bool Signaled() const override { return finished; }

  LPTHREAD_START_ROUTINE start = nullptr;
  LPVOID parameter = nullptr;
  // All below change under the wait lock.
  DWORD id = 0;
  bool suspended = false;
  bool finished = false;
  DWORD exit_code = STILL_ACTIVE;
};

class EventObject : public KernelObject {
 public:
  EventObject(bool manual, bool initial) : manual_reset(manual), state(initial) {}
  bool Waitable() const override { return true; }
  bool Signaled() const override { return state; }
  void Consume() override {
    if (!manual_reset) state = false;
  }

  const bool manual_reset;
  bool state;
};

thread_local ThreadObject* current_thread = nullptr;

// Marks the thread finished however it leaves: by returning, or by ExitThread, whose
// forced unwinding runs this destructor too.
struct FinishGuard {
  std::shared_ptr<ThreadObject> self;
  DWORD code = 0;
  ~FinishGuard() {
    {
      std::lock_guard<std::mutex> guard(PlatformWaitLock());
      if (self->exit_code == STILL_ACTIVE) self->exit_code = code;
      self->finished = true;
    }
    PlatformWaitChanged().notify_all();
    current_thread = nullptr;
  }
};

void* ThreadMain(void* raw) {
  FinishGuard guard;
  {
    auto* holder = static_cast<std::shared_ptr<ThreadObject>*>(raw);
    guard.self = std::move(*holder);
    delete holder;
  }
  ThreadObject& self = *guard.self;
  current_thread = &self;
  {
    std::unique_lock<std::mutex> lock(PlatformWaitLock());
    self.id = GetCurrentThreadId();
    PlatformWaitChanged().notify_all();
    PlatformWaitChanged().wait(lock, [&] { return !self.suspended; });
  }
  guard.code = self.start(self.parameter);
  return nullptr;
}

}  // namespace

DWORD GetCurrentThreadId() {
  static thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}

HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    LPDWORD thread_id) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<ThreadObject>();
  thread->start = start;
  thread->parameter = parameter;
  thread->suspended = (flags & CREATE_SUSPENDED) != 0;

  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
  auto* holder = new std::shared_ptr<ThreadObject>(thread);
  pthread_t native;
  int error = pthread_create(&native, &attributes, ThreadMain, holder);
  pthread_attr_destroy(&attributes);
  if (error != 0) {
    delete holder;
    SetLastError(error == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : PlatformErrorFromErrno(error));
    return nullptr;
  }
  {
    // The id is the new thread's own, known once it runs.
    std::unique_lock<std::mutex> lock(PlatformWaitLock());
    PlatformWaitChanged().wait(lock, [&] { return thread->id != 0; });
    if (thread_id) *thread_id = thread->id;
  }
  return PlatformHandleAdd(thread);
}

DWORD ResumeThread(HANDLE handle) {
  auto thread = PlatformHandleGetAs<ThreadObject>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  DWORD previous;
  {
    std::lock_guard<std::mutex> guard(PlatformWaitLock());
    previous = thread->suspended ? 1 : 0;
    thread->suspended = false;
  }
  PlatformWaitChanged().notify_all();
  return previous;
}

void ExitThread(DWORD exit_code) {
  if (current_thread) {
    std::lock_guard<std::mutex> guard(PlatformWaitLock());
    current_thread->exit_code = exit_code;
  }
  pthread_exit(nullptr);
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exit_code) {
  auto thread = PlatformHandleGetAs<ThreadObject>(handle);
  if (!thread || !exit_code) {
    SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard<std::mutex> guard(PlatformWaitLock());
  *exit_code = thread->exit_code;
  return TRUE;
}

namespace {
struct BeginThreadArgs {
  unsigned (*start)(void*);
  void* argument;
};

DWORD BeginThreadMain(LPVOID raw) {
  BeginThreadArgs args = *static_cast<BeginThreadArgs*>(raw);
  delete static_cast<BeginThreadArgs*>(raw);
  return args.start(args.argument);
}
}  // namespace

uintptr_t _beginthreadex(void*, unsigned, unsigned (*start)(void*), void* argument, unsigned flags,
                         unsigned* thread_id) {
  if (!start) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  auto* args = new BeginThreadArgs{start, argument};
  DWORD id = 0;
  HANDLE handle = CreateThread(nullptr, 0, BeginThreadMain, args, flags, &id);
  if (!handle) {
    delete args;
    return 0;
  }
  if (thread_id) *thread_id = id;
  return reinterpret_cast<uintptr_t>(handle);
}

void _endthreadex(unsigned exit_code) { ExitThread(exit_code); }

HANDLE CreateEventA(LPSECURITY_ATTRIBUTES, BOOL manual_reset, BOOL initial_state, LPCSTR) {
  return PlatformHandleAdd(std::make_shared<EventObject>(manual_reset != FALSE, initial_state != FALSE));
}

namespace {
BOOL SetEventState(HANDLE handle, bool state) {
  auto event = PlatformHandleGetAs<EventObject>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  {
    std::lock_guard<std::mutex> guard(PlatformWaitLock());
    event->state = state;
  }
  if (state) PlatformWaitChanged().notify_all();
  return TRUE;
}
}  // namespace

BOOL SetEvent(HANDLE event) { return SetEventState(event, true); }

BOOL ResetEvent(HANDLE event) { return SetEventState(event, false); }

void InitializeCriticalSection(LPCRITICAL_SECTION section) {
  pthread_mutexattr_t attributes;
  pthread_mutexattr_init(&attributes);
  pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
  pthread_mutex_init(&section->mutex, &attributes);
  pthread_mutexattr_destroy(&attributes);
}

void EnterCriticalSection(LPCRITICAL_SECTION section) { pthread_mutex_lock(&section->mutex); }

BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
  return pthread_mutex_trylock(&section->mutex) == 0 ? TRUE : FALSE;
}

void LeaveCriticalSection(LPCRITICAL_SECTION section) { pthread_mutex_unlock(&section->mutex); }

void DeleteCriticalSection(LPCRITICAL_SECTION section) { pthread_mutex_destroy(&section->mutex); }
