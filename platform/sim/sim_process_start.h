// Programs started by path on the simulated machine. A relative path is
// taken from the current folder, as CreateProcessW does; the program file
// must exist. Every start is recorded with the arguments the started
// program would see.
#pragma once

#include <string>
#include <vector>

#include "platform/process_start.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_files.h"

namespace lx {

class SimProcessStart : public IProcessStart {
 public:
  struct Started {
    std::u16string program;           // full path of the program that runs
    std::vector<std::u16string> argv;  // its command line, split as its CRT splits it
    int show;
  };

  SimProcessStart(SimFileSystem& files, SimCaller& caller) : files_(files), caller_(caller) {}
  bool Start(const std::u16string& application, const std::u16string& commandLine,
                     int show) override;

  std::u16string currentDirectory = u"C:\\";
  std::vector<Started> started;

 private:
  SimFileSystem& files_;
  SimCaller& caller_;
};

}  // namespace lx
