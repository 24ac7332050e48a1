#include "plugin/win32/oem_heap.h"

namespace lx {

namespace {

void* Allocate(void* heap, size_t size) {
  return heap ? ::HeapAlloc(static_cast<HANDLE>(heap), HEAP_ZERO_MEMORY, size) : nullptr;
}

void Free(void* heap, void* block) {
  if (heap && block) ::HeapFree(static_cast<HANDLE>(heap), 0, block);
}

}  // namespace

PageContextHeap OemHeap(HANDLE heap) { return {heap, Allocate, Free}; }

}  // namespace lx
