// Starting programs and documents through the shell.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShow = 5;

class IShell {
 public:
  virtual ~IShell() = default;
  // ShellExecuteW; returns its result (greater than 32 on success). Empty
  // texts stand for null pointers.
  virtual intptr_t Execute(const std::u16string& verb, const std::u16string& file,
                           const std::u16string& parameters, const std::u16string& directory,
                           int show) = 0;
};

}  // namespace lx
