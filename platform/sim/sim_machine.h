// A simulated Windows machine: what a host test puts things on and runs the
// real logic against. Machine-wide parts are shared by its programs; each
// SimProcess is one running program with its own Os.
#pragma once

#include <memory>

#include "platform/os.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_kernel.h"
#include "platform/sim/sim_parts.h"
#include "platform/sim/sim_shell.h"

namespace lx {

class SimMachine;

class SimProcess {
 public:
  SimProcess(SimMachine& machine, Handle processId, const std::u16string& modulePath);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  SimSystem system;
  SimDebugOutput debug;
  SimSync sync;
  SimResources resources;
  SimProfile profile;
  Os os;
};

class SimMachine {
 public:
  SimMachine();
  std::unique_ptr<SimProcess> StartProcess(const std::u16string& modulePath);

  SimFileSystem files;
  SimKernel kernel;
  SimClock clock;
  SimShell shell;
  LangId userUiLanguage = 1033;

 private:
  Handle nextProcessId_ = 100;
};

}  // namespace lx
