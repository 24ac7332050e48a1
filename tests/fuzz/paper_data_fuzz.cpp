// Any stored paper data: printer data with any declared size, or the shared
// file's hexadecimal text. The store loads within its capacity, every name
// ends inside its slot, and a save of what loaded reloads the same papers
// (in the store's sorted order, which a fresh list is not in yet).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/papers/paper_record.h"
#include "plugin/papers/tests/paper_world.h"

namespace {

void CheckStore(const lx::PaperStore& store) {
  if (store.count() < 0 || store.records.size() > 2049) abort();
  for (const lx::PaperRecord& r : store.records)
    if (lx::PaperName(r).size() >= 32) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  uint32_t declared = 0;
  std::memcpy(&declared, data + 1, 4);
  std::vector<uint8_t> block(data + 5, data + size);
  lx::test::PaperWorld world;
  if (data[0] & 1) {
    // The shared file's form: a user who cannot administer the printer.
    world.machine.spooler.callerIsAdmin = false;
    std::string text = "[LX-220 Label]\r\nPapersDataSize=" + std::to_string(declared % 100000) +
                       "\r\nPapersData=" + std::string(block.begin(), block.end()) + "\r\n";
    world.machine.files.AddFile(lx::test::kPaperFile, text);
  } else {
    world.PutData(block, declared);
  }
  auto module = world.LoadModule();
  lx::PaperStore& store = lx::OpenPaperStore(*module, lx::test::kPrinter);
  CheckStore(store);
  std::vector<std::u16string> names = lx::test::Names(store);
  if (lx::SavePaperStore(*module, store)) {
    auto again = world.LoadModule();
    std::vector<std::u16string> reloaded = lx::test::Names(lx::OpenPaperStore(*again, lx::test::kPrinter));
    std::sort(names.begin(), names.end());
    std::sort(reloaded.begin(), reloaded.end());
    if (reloaded != names) abort();
  }
  return 0;
}
