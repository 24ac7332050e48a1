// The simulated registry: keys and values whose names compare without regard
// to case and keep the case they were created with; subkeys listed in the
// registry's order (names compared in upper case). On a 64-bit machine a
// 32-bit program's HKLM\SOFTWARE is redirected to SOFTWARE\WOW6432Node, as
// WOW64 does, unless it asks for the 64-bit view.
#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "platform/sim/sim_caller.h"

namespace lx {

class SimRegistry : public IRegistry {
 public:
  explicit SimRegistry(SimCaller& caller);
  ~SimRegistry() override;

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

  // Raw access for tests and set-up, in the 64-bit (native) view: the type
  // and bytes exactly as stored (REG_SZ data includes its terminating NUL).
  struct Value {
    uint32_t type = 0;
    std::string bytes;
  };
  std::optional<Value> GetRaw(RegRoot root, const std::u16string& path, const std::u16string& name);
  void PutRaw(RegRoot root, const std::u16string& path, const std::u16string& name, Value value);
  // Protects an existing key (native view) as Windows protects parts of
  // SYSTEM: opening it for write and writing its values are refused.
  void RefuseWrite(RegRoot root, const std::u16string& path);
  // The path a call with this view addresses (after WOW64 redirection).
  std::u16string Redirect(RegRoot root, const std::u16string& path, RegView view) const;

  bool machineIs64Bit = true;

 private:
  struct Key;
  Key* Find(RegRoot root, const std::u16string& path);
  Key* Make(RegRoot root, const std::u16string& path);
  bool Fail(uint32_t status) {
    caller_.SetError(status);
    return false;
  }

  SimCaller& caller_;
  std::map<RegRoot, std::unique_ptr<Key>> roots_;
};

}  // namespace lx
