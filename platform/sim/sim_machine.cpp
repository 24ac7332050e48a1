#include "platform/sim/sim_machine.h"

#include <string>

#include "common/text.h"

namespace lx {

SimProcess::SimProcess(SimMachine& machine, Handle processId, const std::u16string& modulePath, int bits)
    : registry(machine.registry, machine.caller, system, bits),
      files(machine.files, machine.caller, system, bits),
      spooler(machine.spooler, machine.caller, system, bits),
      devices(machine.devices, machine.caller, system, bits),
      deviceIo(machine.deviceIo, machine.caller, system, bits),
      services(machine.services, machine.caller, system, bits),
      sync(machine.kernel, system, processId),
      resources(system),
      profile(files),
      machine_(machine) {
  system.modulePath = modulePath;
  system.userUiLanguage = machine.userUiLanguage;
  system.nativeArchitecture = machine.nativeArchitecture;
  system.windowsDirectory = machine.files.known.windows;
  system.programBits = bits;
  // Until it calls a service, the newest program is the caller.
  machine.caller.Attach(&system, bits);
  os.system = &system;
  os.debug = &debug;
  os.sync = &sync;
  os.resources = &resources;
  os.profile = &profile;
  os.files = &files;
  os.shell = &machine.shell;
  os.clock = &machine.clock;
  os.registry = &registry;
  os.spooler = &spooler;
  os.devices = &devices;
  os.deviceIo = &deviceIo;
  os.services = &services;
}

// A program's end closes its handles, as Windows does.
SimProcess::~SimProcess() {
  sync.CloseAll();
  machine_.caller.Detach(&system);
}

SimMachine::SimMachine()
    : files(caller),
      registry(caller),
      shell(files),
      spooler(caller, files),
      devices(caller, registry),
      deviceIo(caller, devices, clock),
      services(caller, files),
      tools(clock, spooler, files) {
  tools.Register(shell);
  shell.caller = &caller;
  files.AddFolder(files.known.windows + u"\\System32");
  files.AddFolder(files.known.programFiles);
  files.AddFolder(files.known.programFilesX86);
  files.AddFolder(files.known.commonAppData);
}

void SimMachine::MakeThirtyTwoBit() {
  nativeArchitecture = kProcessorArchitectureIntel;
  registry.machineIs64Bit = false;
  files.RemoveFolder(files.known.programFilesX86);
  spooler.environmentFolder = u"W32X86";
  std::u16string dir;
  spooler.DriverDirectory(dir);
  files.AddFolder(dir + u"\\3");
}

void SimMachine::AttachUsbPrinter(const SimUsbPrinter& printer, std::optional<uint32_t> portNumber) {
  devices.AttachUsbPrinter(printer, portNumber);
  if (!portNumber) return;
  std::string digits = std::to_string(*portNumber);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  spooler.AddPort(u"USB" + Utf8ToUtf16(digits), u"USB Monitor", u"Virtual printer port for USB");
}

std::unique_ptr<SimProcess> SimMachine::StartProcess(const std::u16string& modulePath, int bits) {
  Handle id = nextProcessId_;
  nextProcessId_ += 4;
  return std::make_unique<SimProcess>(*this, id, modulePath, bits);
}

}  // namespace lx
