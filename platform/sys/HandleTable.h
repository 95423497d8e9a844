// Inside the platform: the objects behind kernel handles and the one lock that every
// change of a waitable object's state is made under.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

#include "Types.h"

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  // Waitable objects answer these two with the wait lock held.
  virtual bool Waitable() const { return false; }
  virtual bool Signaled() const { return false; }
  // A successful wait consumes what it waited for (an auto-reset event resets).
  virtual void Consume() {}
};

// The handle keeps the object alive until CloseHandle; others (a running thread) may hold it longer.
HANDLE PlatformHandleAdd(std::shared_ptr<KernelObject> object);
std::shared_ptr<KernelObject> PlatformHandleGet(HANDLE handle);
bool PlatformHandleRemove(HANDLE handle);

template <class T>
std::shared_ptr<T> PlatformHandleGetAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(PlatformHandleGet(handle));
}

std::mutex& PlatformWaitLock();
// Notified (with the wait lock released or held) after every change of a waitable state.
std::condition_variable& PlatformWaitChanged();
