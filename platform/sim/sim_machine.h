// A simulated Windows machine: what a host test puts things on and runs the
// real logic against. Machine-wide parts are shared by its programs; each
// SimProcess is one running program with its own Os.
#pragma once

#include <memory>
#include <optional>

#include "platform/os.h"
#include "platform/sim/sim_caller.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_devices.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_kernel.h"
#include "platform/sim/sim_parts.h"
#include "platform/sim/sim_registry.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"
#include "platform/sim/sim_tools.h"
#include "platform/sim/sim_views.h"

namespace lx {

class SimMachine;

class SimProcess {
 public:
  SimProcess(SimMachine& machine, Handle processId, const std::u16string& modulePath, int bits);
  ~SimProcess();
  SimProcess(const SimProcess&) = delete;
  SimProcess& operator=(const SimProcess&) = delete;

  SimSystem system;
  SimRegistryView registry;
  SimFilesView files;
  SimSpoolerView spooler;
  SimDevicesView devices;
  SimDeviceIoView deviceIo;
  SimServicesView services;
  SimDebugOutput debug;
  SimSync sync;
  SimResources resources;
  SimProfile profile;
  Os os;

 private:
  SimMachine& machine_;
};

class SimMachine {
 public:
  SimMachine();
  // `bits` is the program's word size: a 32-bit program on this 64-bit
  // machine sees the 32-bit registry view and Program Files (x86).
  std::unique_ptr<SimProcess> StartProcess(const std::u16string& modulePath, int bits = 64);

  // Makes this a 32-bit Windows (x86): no WOW64 registry view, no Program
  // Files (x86), the W32X86 driver folder. Call before starting programs.
  void MakeThirtyTwoBit();
  // Attaches a USB printer; with a port number the USB port monitor has
  // made its port: the interface's "Port Number" value and the spooler
  // port "USB%03d".
  void AttachUsbPrinter(const SimUsbPrinter& printer, std::optional<uint32_t> portNumber);

  SimCaller caller;
  SimFileSystem files;
  SimRegistry registry;
  SimKernel kernel;
  SimClock clock;
  SimShell shell;
  SimSpooler spooler;
  SimDeviceSetup devices;
  SimDeviceIo deviceIo;
  SimServices services;
  SimPrinterTools tools;
  LangId userUiLanguage = 1033;
  // Nothing stands for a system without GetNativeSystemInfo.
  std::optional<uint16_t> nativeArchitecture = kProcessorArchitectureAmd64;

 private:
  Handle nextProcessId_ = 100;
};

}  // namespace lx
