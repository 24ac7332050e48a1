// Any bytes as cfgSetup.ini: the installer loads it with defaults for what it
// cannot use, never reading or writing out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "installer/core/installer_config.h"
#include "platform/sim/sim_machine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  lx::SimMachine machine;
  auto proc = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  machine.files.AddFile(u"C:\\Setup\\cfgSetup.ini", std::string(reinterpret_cast<const char*>(data), size));
  lx::InstallerConfig config;
  lx::LoadInstallerConfig(proc->os, u"C:\\Setup\\cfgSetup.ini", config);
  if (config.modelCount != static_cast<int>(config.modelNames.size())) abort();
  for (const auto& name : config.modelNames)
    if (name.size() > 1022 || config.models.count(name) == 0) abort();
  if (config.uninstall.DriverName.size() < 2 || config.uninstall.DriverName.size() > 1025) abort();
  return 0;
}
