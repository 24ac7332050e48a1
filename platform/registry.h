// The registry, shaped like the Reg* functions. Paths are below a root key and
// use '\' separators; key and value names compare without regard to case.
// A failed call leaves the Reg* status code as the thread's last error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lx {

enum class RegRoot { kLocalMachine, kCurrentUser, kClassesRoot };

// Which registry view a 32-bit program on 64-bit Windows addresses
// (KEY_WOW64_64KEY / KEY_WOW64_32KEY); kDefault is the program's own.
enum class RegView { kDefault, kWow64_64, kWow64_32 };

class IRegistry {
 public:
  virtual ~IRegistry() = default;
  virtual bool KeyExists(RegRoot root, const std::u16string& path, RegView view = RegView::kDefault) = 0;
  // RegCreateKeyExW: creates the key and its missing parents.
  virtual bool CreateKey(RegRoot root, const std::u16string& path, RegView view = RegView::kDefault) = 0;
  // RegOpenKeyExW with MAXIMUM_ALLOWED: opens an existing key even when it
  // refuses write to the caller, and creates nothing.
  virtual bool OpenKeyMaximumAllowed(RegRoot root, const std::u16string& path,
                                     RegView view = RegView::kDefault) = 0;
  // RegDeleteKeyW: only a key without subkeys can be deleted.
  virtual bool DeleteKey(RegRoot root, const std::u16string& path, RegView view = RegView::kDefault) = 0;
  virtual std::vector<std::u16string> EnumSubKeys(RegRoot root, const std::u16string& path,
                                                  RegView view = RegView::kDefault) = 0;

  // REG_SZ (or REG_EXPAND_SZ, unexpanded) values; nothing when missing or of another type.
  virtual std::optional<std::u16string> GetString(RegRoot root, const std::u16string& path,
                                                  const std::u16string& name,
                                                  RegView view = RegView::kDefault) = 0;
  virtual std::optional<uint32_t> GetDword(RegRoot root, const std::u16string& path,
                                           const std::u16string& name,
                                           RegView view = RegView::kDefault) = 0;
  // Writing opens an existing key; it fails when the key is missing.
  virtual bool SetString(RegRoot root, const std::u16string& path, const std::u16string& name,
                         const std::u16string& value, RegView view = RegView::kDefault) = 0;
  virtual bool SetDword(RegRoot root, const std::u16string& path, const std::u16string& name,
                        uint32_t value, RegView view = RegView::kDefault) = 0;
  virtual bool DeleteValue(RegRoot root, const std::u16string& path, const std::u16string& name,
                           RegView view = RegView::kDefault) = 0;
};

}  // namespace lx
