// A small registry for the plug-in's tests: keys and string values below
// HKLM, names compared without regard to case, as the real one does.
#pragma once

#include <map>
#include <set>

#include "common/text.h"
#include "platform/registry.h"

namespace lx::testing {

class TestRegistry : public IRegistry {
 public:
  void PutKey(const std::u16string& path) { keys_.insert(ToLowerAscii(path)); }
  void PutString(const std::u16string& path, const std::u16string& name, const std::u16string& v) {
    PutKey(path);
    values_[{ToLowerAscii(path), ToLowerAscii(name)}] = v;
  }

  bool KeyExists(RegRoot root, const std::u16string& path, RegView) override {
    return root == RegRoot::kLocalMachine && keys_.count(ToLowerAscii(path)) != 0;
  }
  bool CreateKey(RegRoot, const std::u16string& path, RegView) override {
    PutKey(path);
    return true;
  }
  bool OpenKeyMaximumAllowed(RegRoot root, const std::u16string& path, RegView view) override {
    return KeyExists(root, path, view);
  }
  bool DeleteKey(RegRoot, const std::u16string& path, RegView) override {
    return keys_.erase(ToLowerAscii(path)) != 0;
  }
  std::vector<std::u16string> EnumSubKeys(RegRoot, const std::u16string&, RegView) override {
    return {};
  }
  std::optional<std::u16string> GetString(RegRoot root, const std::u16string& path,
                                          const std::u16string& name, RegView) override {
    if (root != RegRoot::kLocalMachine) return std::nullopt;
    auto it = values_.find({ToLowerAscii(path), ToLowerAscii(name)});
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }
  std::optional<uint32_t> GetDword(RegRoot, const std::u16string&, const std::u16string&,
                                   RegView) override {
    return std::nullopt;
  }
  bool SetString(RegRoot, const std::u16string& path, const std::u16string& name,
                 const std::u16string& value, RegView) override {
    if (keys_.count(ToLowerAscii(path)) == 0) return false;
    PutString(path, name, value);
    return true;
  }
  bool SetDword(RegRoot, const std::u16string&, const std::u16string&, uint32_t, RegView) override {
    return false;
  }
  bool DeleteValue(RegRoot, const std::u16string& path, const std::u16string& name,
                   RegView) override {
    return values_.erase({ToLowerAscii(path), ToLowerAscii(name)}) != 0;
  }

 private:
  std::set<std::u16string> keys_;
  std::map<std::pair<std::u16string, std::u16string>, std::u16string> values_;
};

}  // namespace lx::testing
