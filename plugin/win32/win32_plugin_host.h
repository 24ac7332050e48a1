// The real Windows behind the plug-in host facts: its own module, the
// printer driver directory (asked of the spooler) and the user's language.
#pragma once

#include <windows.h>

#include "platform/spooler.h"
#include "plugin/core/plugin_platform.h"

namespace lx {

class Win32PluginHost : public IPluginHost {
 public:
  Win32PluginHost(HMODULE self, ISpooler& spooler) : self_(self), spooler_(spooler) {}
  std::u16string PluginModulePath() override;
  std::optional<std::u16string> PrinterDriverDirectory() override;
  LangId GetUserDefaultLangId() override;
  void RunOnce(OnceGate& gate, void (*init)(void*), void* context) override;

 private:
  HMODULE self_;
  ISpooler& spooler_;
};

}  // namespace lx
