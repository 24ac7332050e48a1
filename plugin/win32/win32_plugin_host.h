// The real Windows behind the plug-in's naming: its own module, the printer
// driver directory, the user's language and a read-only registry.
#pragma once

#include <windows.h>

#include "platform/registry.h"
#include "plugin/core/plugin_platform.h"

namespace lx {

class Win32PluginHost : public IPluginHost {
 public:
  explicit Win32PluginHost(HMODULE self) : self_(self) {}
  std::u16string PluginModulePath() override;
  std::optional<std::u16string> PrinterDriverDirectory() override;
  LangId GetUserDefaultLangId() override;

 private:
  HMODULE self_;
};

// The two registry reads the plug-in makes (key present, string value);
// it never writes. Other operations answer failure.
class WinRegistryReader : public IRegistry {
 public:
  bool KeyExists(RegRoot root, const std::u16string& path, RegView view) override;
  bool CreateKey(RegRoot, const std::u16string&, RegView) override { return false; }
  bool DeleteKey(RegRoot, const std::u16string&, RegView) override { return false; }
  std::vector<std::u16string> EnumSubKeys(RegRoot, const std::u16string&, RegView) override {
    return {};
  }
  std::optional<std::u16string> GetString(RegRoot root, const std::u16string& path,
                                          const std::u16string& name, RegView view) override;
  std::optional<uint32_t> GetDword(RegRoot, const std::u16string&, const std::u16string&,
                                   RegView) override {
    return std::nullopt;
  }
  bool SetString(RegRoot, const std::u16string&, const std::u16string&, const std::u16string&,
                 RegView) override {
    return false;
  }
  bool SetDword(RegRoot, const std::u16string&, const std::u16string&, uint32_t, RegView) override {
    return false;
  }
  bool DeleteValue(RegRoot, const std::u16string&, const std::u16string&, RegView) override {
    return false;
  }
};

}  // namespace lx
