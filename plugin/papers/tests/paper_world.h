// A simulated machine with one label printer, and the plug-in's paper
// module loaded in a program on it. A new module stands for a new process.
#pragma once

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/sim/sim_file_security.h"
#include "platform/sim/sim_machine.h"
#include "plugin/papers/paper_persistence.h"

namespace lx::test {

inline constexpr char16_t kPrinter[] = u"LX-220 Label";
inline constexpr char16_t kOtherPrinter[] = u"LX-220 Warehouse";
inline constexpr char16_t kPaperFile[] = u"C:\\ProgramData\\ZORVIKA\\LX-220\\lx220uip.ini";

struct PaperWorld {
  PaperWorld() {
    machine.spooler.InstallDriver(u"LX-220");
    machine.spooler.AddPort(u"USB001");
    machine.spooler.AddPrinter(kPrinter, u"USB001", u"LX-220");
    machine.spooler.AddPrinter(kOtherPrinter, u"USB001", u"LX-220");
    process = machine.StartProcess(u"C:\\Program Files\\App\\app.exe");
  }

  std::unique_ptr<PaperContext> LoadModule() {
    PluginPlatform p;
    p.spooler = &machine.spooler;
    p.profile = &process->profile;
    p.files = &machine.files;
    p.system = &process->system;
    p.debug = &process->debug;
    p.security = &security;
    return std::make_unique<PaperContext>(p, u"lx220uip.ini");
  }

  SimPrinter& Printer(const std::u16string& name = kPrinter) { return *machine.spooler.Find(name); }

  // Printer data as the spooler holds it.
  void PutData(const std::vector<uint8_t>& block, uint32_t declaredSize,
               const std::u16string& name = kPrinter) {
    std::vector<uint8_t> size(4);
    std::memcpy(size.data(), &declaredSize, 4);
    Printer(name).data[u"papersdatasize"] = {kRegDword, size};
    Printer(name).data[u"papersdata"] = {kRegBinary, block};
  }
  const std::vector<uint8_t>* Data(const std::u16string& value, const std::u16string& name = kPrinter) {
    auto& data = Printer(name).data;
    auto it = data.find(value);
    return it == data.end() ? nullptr : &it->second.second;
  }

  std::u16string IniValue(const std::u16string& section, const std::u16string& key) {
    return process->profile.GetString(section, key, u"<none>", 20000, kPaperFile).text;
  }

  bool Traced(const std::u16string& line) const {
    const auto& lines = process->debug.lines;
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }

  SimMachine machine;
  std::unique_ptr<SimProcess> process;
  SimFileSecurity security{machine.caller, machine.files};
};

inline std::vector<std::u16string> Names(const PaperStore& store) {
  std::vector<std::u16string> names;
  for (const PaperRecord& r : store.records) names.push_back(PaperName(r));
  return names;
}

inline std::vector<uint8_t> BlockOf(const std::vector<PaperRecord>& records) {
  std::vector<uint8_t> block(records.size() * sizeof(PaperRecord));
  if (!block.empty()) std::memcpy(block.data(), records.data(), block.size());
  return block;
}

// Users' records numbered from 145 on, named "user NNN".
inline std::vector<PaperRecord> UserPapers(size_t count) {
  std::vector<PaperRecord> list;
  for (size_t i = 0; i < count; ++i) {
    std::u16string name = u"user ";
    for (char c : std::to_string(1000 + i)) name.push_back(static_cast<char16_t>(c));
    list.push_back(MakePaperRecord(static_cast<int32_t>(145 + i), name, 50.0f + i % 1000, 30.0f, false));
  }
  return list;
}

}  // namespace lx::test
