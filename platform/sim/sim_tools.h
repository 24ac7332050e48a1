// The printer tools the installer starts through the shell, as the simulated
// machine runs them: rundll32 with printui.dll's PrintUIEntry, pnputil.exe
// and cscript.exe with prnport.vbs. Each splits its parameters with the
// CommandLineToArgvW rules at once (printui also reads its "@file" command
// files, see sim_tools.cpp) and acts on the spooler and the INF store after
// its delay of virtual time. A line they cannot parse, an unknown
// switch, or several actions in one line do nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/sim/sim_shell.h"
#include "platform/sim/sim_spooler.h"

namespace lx {

struct SimToolRun {
  std::u16string program;             // "rundll32.exe", "pnputil.exe", "cscript.exe"
  std::vector<std::u16string> argv;   // the parameters as the tool split them (printui: command files inserted)
  std::vector<std::u16string> commandFiles;  // printui's "@file" arguments, as looked for
  std::u16string action;              // the action understood ("/if", "-d", "-a"), empty when none
  bool accepted = false;              // the line was understood
  bool done = false;                  // the delay has passed and the tool acted
  uint32_t result = 0;                // 0 or the Windows error of the action
  uint64_t startedAt = 0, actedAt = 0;
};

class SimPrinterTools {
 public:
  SimPrinterTools(SimClock& clock, SimSpooler& spooler, SimFileSystem& files)
      : clock_(clock), spooler_(spooler), files_(files) {}
  void Register(SimShell& shell);

  // Virtual milliseconds between a tool's start and its effect.
  uint64_t printUiDelayMs = 1200;
  uint64_t pnputilDelayMs = 300;
  uint64_t scriptDelayMs = 2500;

  std::vector<SimToolRun> runs;  // every start, in order

  // The folder of the OEM INF store and what is published there.
  std::u16string InfFolder() const { return files_.known.windows + u"\\INF"; }
  std::vector<std::u16string> OemInfs() const;
  // Copies an INF into the store as the next free oemN.inf, or finds the
  // identical package already there; answers the published name.
  std::u16string PublishInf(const std::string& bytes);

 private:
  void StartPrintUi(const SimShell::Launch& launch);
  void StartPnpUtil(const SimShell::Launch& launch);
  void StartScript(const SimShell::Launch& launch);
  size_t Record(const std::u16string& program, const std::u16string& parameters);
  void Schedule(size_t run, uint64_t delay, std::function<uint32_t()> action);
  uint32_t InstallFromInf(const std::u16string& model, const std::u16string& infPath);

  SimClock& clock_;
  SimSpooler& spooler_;
  SimFileSystem& files_;
};

}  // namespace lx
