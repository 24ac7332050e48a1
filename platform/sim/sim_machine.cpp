#include "platform/sim/sim_machine.h"

namespace lx {

SimProcess::SimProcess(SimMachine& machine, Handle processId, const std::u16string& modulePath, int bits)
    : sync(machine.kernel, system, processId), resources(system), profile(machine.files), machine_(machine) {
  system.modulePath = modulePath;
  system.userUiLanguage = machine.userUiLanguage;
  system.nativeArchitecture = machine.nativeArchitecture;
  system.windowsDirectory = machine.files.known.windows;
  system.programBits = bits;
  machine.caller.Attach(&system, bits);
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
SimProcess::~SimProcess() {
  sync.CloseAll();
  machine_.caller.Detach(&system);
}

SimMachine::SimMachine() : files(caller), shell(files) {
  files.AddFolder(files.known.windows + u"\\System32");
  files.AddFolder(files.known.programFiles);
  files.AddFolder(files.known.programFilesX86);
  files.AddFolder(files.known.commonAppData);
}

std::unique_ptr<SimProcess> SimMachine::StartProcess(const std::u16string& modulePath, int bits) {
  Handle id = nextProcessId_;
  nextProcessId_ += 4;
  return std::make_unique<SimProcess>(*this, id, modulePath, bits);
}

}  // namespace lx
