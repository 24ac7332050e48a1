// The real registry behind IRegistry.
#pragma once

#include <windows.h>

#include "platform/registry.h"

namespace lx {

class Win32Registry : public IRegistry {
 public:
  bool KeyExists(RegRoot root, const std::u16string& path, RegView view) override;
  bool CreateKey(RegRoot root, const std::u16string& path, RegView view) override;
  bool OpenKeyMaximumAllowed(RegRoot root, const std::u16string& path, RegView view) override;
  bool DeleteKey(RegRoot root, const std::u16string& path, RegView view) override;
  std::vector<std::u16string> EnumSubKeys(RegRoot root, const std::u16string& path, RegView view) override;
  std::optional<std::u16string> GetString(RegRoot root, const std::u16string& path,
                                          const std::u16string& name, RegView view) override;
  std::optional<uint32_t> GetDword(RegRoot root, const std::u16string& path, const std::u16string& name,
                                   RegView view) override;
  bool SetString(RegRoot root, const std::u16string& path, const std::u16string& name,
                 const std::u16string& value, RegView view) override;
  bool SetDword(RegRoot root, const std::u16string& path, const std::u16string& name, uint32_t value,
                RegView view) override;
  bool DeleteValue(RegRoot root, const std::u16string& path, const std::u16string& name,
                   RegView view) override;
};

}  // namespace lx
