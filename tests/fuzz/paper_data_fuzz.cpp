// Any stored paper data: printer data with any declared size, or the shared
// file's hexadecimal text. The store loads within its capacity, every name
// ends inside its slot, and a save of what loaded reloads the same papers
// (in the store's sorted order, which a fresh list is not in yet).
// One machine serves every input: building one costs more than a run. The
// shared file is put on the machine's disk, made by SYSTEM as the
// installation makes it, and read and rewritten through the store's checked
// handles. Whatever an input leaves behind is put back before the run ends,
// so the allocations of a run balance and libFuzzer does not rerun it to
// look for a leak.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/debug_output.h"
#include "plugin/papers/paper_record.h"
#include "plugin/papers/tests/paper_world.h"

namespace {

void CheckStore(const lx::PaperStore& store) {
  if (store.count() < 0 || store.records.size() > 2049) abort();
  for (const lx::PaperRecord& r : store.records)
    if (lx::PaperName(r).size() >= 32) abort();
}

lx::test::PaperWorld& World() {
  static lx::test::PaperWorld world;
  return world;
}

// The trace is formatted as on the machine but not kept: nothing checks it.
class DroppedTrace : public lx::IDebugOutput {
 public:
  void OutputA(const std::string&) override {}
  void OutputW(const std::u16string&) override {}
};

std::unique_ptr<lx::PaperContext> LoadModule(lx::test::PaperWorld& world, lx::IDebugOutput& trace) {
  lx::PluginPlatform p;
  p.spooler = &world.machine.spooler;
  p.profile = &world.process->profile;
  p.files = &world.machine.files;
  p.system = &world.process->system;
  p.debug = &trace;
  p.security = &world.security;
  return std::make_unique<lx::PaperContext>(p, u"lx220uip.ini");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  uint32_t declared = 0;
  std::memcpy(&declared, data + 1, 4);
  std::vector<uint8_t> block(data + 5, data + size);
  lx::test::PaperWorld& world = World();
  std::string file;
  if (data[0] & 1) {
    // The shared file's form: a user who cannot administer the printer.
    world.machine.spooler.callerIsAdmin = false;
    file = "[LX-220 Label]\r\nPapersDataSize=" + std::to_string(declared % 100000) +
           "\r\nPapersData=" + std::string(block.begin(), block.end()) + "\r\n";
  } else {
    world.PutData(block, declared);
  }
  if (!file.empty()) world.machine.files.AddFile(lx::test::kPaperFile, file);
  {
    DroppedTrace trace;
    auto module = LoadModule(world, trace);
    lx::PaperStore& store = lx::OpenPaperStore(*module, lx::test::kPrinter);
    CheckStore(store);
    std::vector<std::u16string> names = lx::test::Names(store);
    if (lx::SavePaperStore(*module, store)) {
      auto again = LoadModule(world, trace);
      std::vector<std::u16string> reloaded = lx::test::Names(lx::OpenPaperStore(*again, lx::test::kPrinter));
      std::sort(names.begin(), names.end());
      std::sort(reloaded.begin(), reloaded.end());
      if (reloaded != names) abort();
    }
  }
  world.machine.spooler.callerIsAdmin = true;
  world.Printer().data.clear();
  world.machine.files.RemoveFile(lx::test::kPaperFile);
  return 0;
}
