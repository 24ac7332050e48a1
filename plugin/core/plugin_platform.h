// The Windows services the plug-in's naming and attach logic use. The DLL
// binds them to the real calls; host tests to the simulated machine.
#pragma once

#include <optional>
#include <string>

#include "platform/system.h"

namespace lx {

class IProfile;
class IRegistry;
class IDebugOutput;

class IPluginHost {
 public:
  virtual ~IPluginHost() = default;
  // GetModuleFileNameW of the plug-in's own module.
  virtual std::u16string PluginModulePath() = 0;
  // GetPrinterDriverDirectoryW for the local machine, default environment,
  // level 1; nothing when the call fails.
  virtual std::optional<std::u16string> PrinterDriverDirectory() = 0;
  virtual LangId GetUserDefaultLangId() = 0;
};

struct PluginPlatform {
  IPluginHost* host = nullptr;
  IProfile* profile = nullptr;
  IRegistry* registry = nullptr;
  IDebugOutput* debug = nullptr;  // may be null
};

}  // namespace lx
