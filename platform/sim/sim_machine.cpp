#include "platform/sim/sim_machine.h"

namespace lx {

SimProcess::SimProcess(SimMachine& machine, Handle processId, const std::u16string& modulePath)
    : sync(machine.kernel, system, processId), resources(system), profile(machine.files) {
  system.modulePath = modulePath;
  system.userUiLanguage = machine.userUiLanguage;
  os.system = &system;
  os.debug = &debug;
  os.sync = &sync;
  os.resources = &resources;
  os.profile = &profile;
  os.files = &machine.files;
  os.shell = &machine.shell;
  os.clock = &machine.clock;
}

// A program's end closes its handles, as Windows does.
SimProcess::~SimProcess() { sync.CloseAll(); }

SimMachine::SimMachine() : shell(files) {
  files.AddFolder(u"C:\\Windows\\System32");
  files.AddFolder(u"C:\\Program Files");
}

std::unique_ptr<SimProcess> SimMachine::StartProcess(const std::u16string& modulePath) {
  Handle id = nextProcessId_;
  nextProcessId_ += 4;
  return std::make_unique<SimProcess>(*this, id, modulePath);
}

}  // namespace lx
