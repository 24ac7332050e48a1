// Any stored paper data: printer data with any declared size, or the shared
// file's hexadecimal text. The store loads within its capacity, every name
// ends inside its slot, and a save of what loaded reloads the same papers
// (in the store's sorted order, which a fresh list is not in yet).
// One machine serves every input: building one costs more than a run. The
// shared file lives in the harness rather than on the machine's disk: it is
// parsed once per input, and what the save writes is read back from a table,
// so no run rewrites and re-reads a file of up to 128 KB. Whatever an input
// leaves behind is put back before the run ends, so the allocations of a run
// balance and libFuzzer does not rerun it to look for a leak.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "common/ini.h"
#include "common/text.h"
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

// The profile functions over the shared file: reads of a key not yet written
// answer from the input's parse; a written key answers with its value, which
// is what a rewritten file gives back for the decimal size and hexadecimal
// text the store writes (nothing to trim, no quotes to strip).
class SharedFileProfile : public lx::IProfile {
 public:
  explicit SharedFileProfile(lx::IniDocument doc) : doc_(std::move(doc)) {}
  lx::ProfileResult GetString(const std::u16string& section, const std::u16string& key,
                              const std::u16string& def, size_t bufferChars, const std::u16string& file) override {
    if (!lx::EqualsIgnoreCase(file, lx::test::kPaperFile)) return Empty().GetString(section, key, def, bufferChars);
    auto it = written_.find(Name(section, key));
    if (it == written_.end()) return doc_.GetString(section, key, def, bufferChars);
    // Cut to the buffer as the profile function cuts it.
    const std::u16string& value = it->second;
    size_t n = bufferChars == 0 ? 0 : std::min(value.size(), bufferChars - 1);
    return {value.substr(0, n), static_cast<uint32_t>(n)};
  }
  lx::ProfileResult GetSection(const std::u16string&, size_t, const std::u16string&) override {
    abort();  // the store reads keys only
  }
  uint32_t GetInt(const std::u16string&, const std::u16string&, int, const std::u16string&) override {
    abort();
  }
  bool WriteString(const std::u16string& section, const std::u16string& key, const std::u16string& value,
                   const std::u16string& file) override {
    if (!lx::EqualsIgnoreCase(file, lx::test::kPaperFile)) abort();
    // Read back unchanged only while no blank or quote ends it.
    if (!value.empty() && (Loses(value.front()) || Loses(value.back()))) abort();
    written_[Name(section, key)] = value;
    return true;
  }

 private:
  static const lx::IniDocument& Empty() {
    static const lx::IniDocument empty;
    return empty;
  }
  static bool Loses(char16_t c) { return c == u' ' || c == u'\t' || c == u'"' || c == u'\''; }
  static std::u16string Name(const std::u16string& section, const std::u16string& key) {
    return lx::ToLowerAscii(section) + u'\n' + lx::ToLowerAscii(key);
  }
  lx::IniDocument doc_;
  std::map<std::u16string, std::u16string> written_;
};

std::unique_ptr<lx::PaperContext> LoadModule(lx::test::PaperWorld& world, lx::IProfile& profile,
                                             lx::IDebugOutput& trace) {
  lx::PluginPlatform p;
  p.spooler = &world.machine.spooler;
  p.profile = &profile;
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
  {
    SharedFileProfile profile(lx::IniDocument::FromBytes(file));
    DroppedTrace trace;
    auto module = LoadModule(world, profile, trace);
    lx::PaperStore& store = lx::OpenPaperStore(*module, lx::test::kPrinter);
    CheckStore(store);
    std::vector<std::u16string> names = lx::test::Names(store);
    if (lx::SavePaperStore(*module, store)) {
      auto again = LoadModule(world, profile, trace);
      std::vector<std::u16string> reloaded = lx::test::Names(lx::OpenPaperStore(*again, lx::test::kPrinter));
      std::sort(names.begin(), names.end());
      std::sort(reloaded.begin(), reloaded.end());
      if (reloaded != names) abort();
    }
  }
  world.machine.spooler.callerIsAdmin = true;
  world.Printer().data.clear();
  return 0;
}
