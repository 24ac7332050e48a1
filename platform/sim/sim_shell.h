// Programs and documents started through the simulated shell. Every start is
// recorded; programs the machine knows (by file name) are run by a handler.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/shell.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_files.h"

namespace lx {

class SimShell : public IShell {
 public:
  struct Launch {
    std::u16string verb, file, parameters, directory;
    int show;
  };
  using Program = std::function<void(const Launch&)>;

  explicit SimShell(SimFileSystem& files) : files_(files) {}
  intptr_t Execute(const std::u16string& verb, const std::u16string& file,
                   const std::u16string& parameters, const std::u16string& directory,
                   int show) override;

  // A program known by its file name ("rundll32.exe"): started by a bare
  // name, or by a path when that file exists.
  void AddProgram(const std::u16string& fileName, Program program);

  std::vector<Launch> launches;
  // Counts the starts with the programs' other calls, for fault sweeps.
  SimCaller* caller = nullptr;

 private:
  SimFileSystem& files_;
  std::map<std::u16string, Program> programs_;
};

}  // namespace lx
