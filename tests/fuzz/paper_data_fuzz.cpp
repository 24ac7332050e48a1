// Any stored paper data: printer data with any declared size, or the shared
// file's hexadecimal text. The store loads within its capacity, every name
// ends inside its slot, and a save of what loaded reloads the same papers
// (in the store's sorted order, which a fresh list is not in yet).
// One machine serves every input: building one costs more than a run, so
// what an input can leave behind (printer data, the shared file, the
// caller's rights, the trace) is put back before the next.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
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

lx::test::PaperWorld& World() {
  static lx::test::PaperWorld world;
  return world;
}

// The machine's profile functions, answering reads of an unchanged file from
// its last parse: the same answers, without parsing the file at every call.
class ParsedOnceProfile : public lx::IProfile {
 public:
  explicit ParsedOnceProfile(lx::test::PaperWorld& world) : world_(world) {}
  lx::ProfileResult GetString(const std::u16string& section, const std::u16string& key,
                              const std::u16string& def, size_t bufferChars, const std::u16string& file) override {
    return Parsed(file).GetString(section, key, def, bufferChars);
  }
  lx::ProfileResult GetSection(const std::u16string& section, size_t bufferChars,
                               const std::u16string& file) override {
    return Parsed(file).GetSection(section, bufferChars);
  }
  uint32_t GetInt(const std::u16string& section, const std::u16string& key, int def,
                  const std::u16string& file) override {
    return Parsed(file).GetInt(section, key, def);
  }
  bool WriteString(const std::u16string& section, const std::u16string& key, const std::u16string& value,
                   const std::u16string& file) override {
    return world_.process->profile.WriteString(section, key, value, file);
  }

 private:
  const lx::IniDocument& Parsed(const std::u16string& file) {
    std::optional<std::string> bytes = world_.machine.files.ReadFile(file);
    std::string now = bytes.value_or(std::string());
    if (file != file_ || now != bytes_ || !doc_) {
      file_ = file;
      bytes_ = now;
      doc_ = lx::IniDocument::FromBytes(now);
    }
    return *doc_;
  }
  lx::test::PaperWorld& world_;
  std::u16string file_;
  std::string bytes_;
  std::optional<lx::IniDocument> doc_;
};

std::unique_ptr<lx::PaperContext> LoadModule(lx::test::PaperWorld& world, lx::IProfile& profile) {
  lx::PluginPlatform p;
  p.spooler = &world.machine.spooler;
  p.profile = &profile;
  p.files = &world.machine.files;
  p.system = &world.process->system;
  p.debug = &world.process->debug;
  p.security = &world.security;
  return std::make_unique<lx::PaperContext>(p, u"lx220uip.ini");
}

void Reset(lx::test::PaperWorld& world) {
  world.machine.spooler.callerIsAdmin = true;
  world.Printer().data.clear();
  world.machine.files.RemoveFile(lx::test::kPaperFile);
  world.process->debug.lines.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 5) return 0;
  uint32_t declared = 0;
  std::memcpy(&declared, data + 1, 4);
  std::vector<uint8_t> block(data + 5, data + size);
  lx::test::PaperWorld& world = World();
  Reset(world);
  if (data[0] & 1) {
    // The shared file's form: a user who cannot administer the printer.
    world.machine.spooler.callerIsAdmin = false;
    std::string text = "[LX-220 Label]\r\nPapersDataSize=" + std::to_string(declared % 100000) +
                       "\r\nPapersData=" + std::string(block.begin(), block.end()) + "\r\n";
    world.machine.files.AddFile(lx::test::kPaperFile, text);
  } else {
    world.PutData(block, declared);
  }
  static ParsedOnceProfile profile(world);
  auto module = LoadModule(world, profile);
  lx::PaperStore& store = lx::OpenPaperStore(*module, lx::test::kPrinter);
  CheckStore(store);
  std::vector<std::u16string> names = lx::test::Names(store);
  if (lx::SavePaperStore(*module, store)) {
    auto again = LoadModule(world, profile);
    std::vector<std::u16string> reloaded = lx::test::Names(lx::OpenPaperStore(*again, lx::test::kPrinter));
    std::sort(names.begin(), names.end());
    std::sort(reloaded.begin(), reloaded.end());
    if (reloaded != names) abort();
  }
  return 0;
}
