// The page context in a real Win32 heap, as the core driver's OEM heap
// holds it: made zero-filled, freed with its last reference, refused when
// the heap is full.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "plugin/pages/document_page.h"
#include "plugin/win32/oem_heap.h"

namespace lx {
namespace {

class CountingPage : public DocumentPage {
 public:
  explicit CountingPage(PageContext& context) : DocumentPage(context, 101, kHelpPaper) {}
};

size_t BlocksIn(HANDLE heap) {
  size_t busy = 0;
  PROCESS_HEAP_ENTRY entry{};
  ::HeapLock(heap);
  while (::HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
  ::HeapUnlock(heap);
  return busy;
}

TEST(OemHeapWineTest, TheContextLivesInTheHeapUntilItsLastPageIsReleased) {
  HANDLE heap = ::HeapCreate(0, 0, 0);
  ASSERT_NE(heap, nullptr);
  const size_t before = BlocksIn(heap);
  PageContext* context = CreatePageContext(OemHeap(heap));
  ASSERT_NE(context, nullptr);
  EXPECT_TRUE(::HeapValidate(heap, 0, context));
  EXPECT_EQ(context->live, nullptr);
  EXPECT_EQ(BlocksIn(heap), before + 1);
  {
    CountingPage first(*context), second(*context);
    context->Release();  // the builder's reference
    first.OnPageRelease();
    EXPECT_EQ(BlocksIn(heap), before + 1);
  }
  EXPECT_EQ(BlocksIn(heap), before);

  // A heap that cannot grow refuses: no context.
  HANDLE small = ::HeapCreate(0, 4096, 4096);
  ASSERT_NE(small, nullptr);
  std::vector<void*> filler;
  while (void* block = ::HeapAlloc(small, 0, 64)) filler.push_back(block);
  EXPECT_EQ(CreatePageContext(OemHeap(small)), nullptr);
  ::HeapDestroy(small);
  ::HeapDestroy(heap);
}

}  // namespace
}  // namespace lx
