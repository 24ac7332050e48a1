// Files and folders with Windows path rules.
#pragma once

#include <optional>
#include <string>

namespace lx {

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // The whole file, or nothing when it is missing or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::u16string& path) = 0;
  virtual bool WriteFile(const std::u16string& path, const std::string& bytes) = 0;
  virtual bool FileExists(const std::u16string& path) = 0;
};

}  // namespace lx
