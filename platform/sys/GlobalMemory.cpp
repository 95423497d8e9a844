#include "GlobalMemory.h"

#include <cstring>
#include <map>
#include <mutex>
#include <new>

#include "LastError.h"

namespace {

struct Block {
  BYTE* data = nullptr;
  SIZE_T size = 0;
  bool moveable = false;
  int locks = 0;
};

struct Heap {
  std::mutex lock;
  std::map<HGLOBAL, Block> blocks;
  uintptr_t nextHandle = 0x10;  // moveable handles are tokens, never addresses
};

// Lives past static destructors: a program-level static may free its block at exit.
Heap& TheHeap() {
  static auto* heap = new Heap;
  return *heap;
}

Block* Find(Heap& heap, HGLOBAL mem) {
  auto it = heap.blocks.find(mem);
  if (it == heap.blocks.end()) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return &it->second;
}

}  // namespace

// Larger requests fail as they would on the 32-bit platform the program was written for.
const SIZE_T kLargestBlock = SIZE_T(1) << 31;

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  if (bytes > kLargestBlock) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  Block block;
  block.size = bytes;
  block.moveable = (flags & GMEM_MOVEABLE) != 0;
  // One byte at least, so that even an empty fixed block has an address of its own.
  block.data = new (std::nothrow) BYTE[bytes ? bytes : 1];
  if (!block.data) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (flags & GMEM_ZEROINIT) memset(block.data, 0, bytes ? bytes : 1);
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> g(heap.lock);
  HGLOBAL handle = block.moveable ? reinterpret_cast<HGLOBAL>(heap.nextHandle += 0x10) : block.data;
  heap.blocks[handle] = block;
  return handle;
}

LPVOID GlobalLock(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> g(heap.lock);
  Block* block = Find(heap, mem);
  if (!block) return nullptr;
  if (!block->moveable) return block->data;
  if (block->size == 0) return nullptr;  // as a discarded block
  ++block->locks;
  return block->data;
}

BOOL GlobalUnlock(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> g(heap.lock);
  Block* block = Find(heap, mem);
  if (!block) return FALSE;
  if (block->locks == 0) {
    SetLastError(block->moveable ? ERROR_NOT_LOCKED : NO_ERROR);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(NO_ERROR);
  return FALSE;
}

SIZE_T GlobalSize(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> g(heap.lock);
  Block* block = Find(heap, mem);
  return block ? block->size : 0;
}

HGLOBAL GlobalFree(HGLOBAL mem) {
  Heap& heap = TheHeap();
  std::lock_guard<std::mutex> g(heap.lock);
  Block* block = Find(heap, mem);
  if (!block) return mem;
  delete[] block->data;
  heap.blocks.erase(mem);
  return nullptr;
}
