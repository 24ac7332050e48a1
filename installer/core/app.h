// The installer program's start-up: configuration, UI language, the single
// instance check, the mode from the command line, the firmware tool, and the
// wizard.
#pragma once

#include <memory>
#include <string>

#include "installer/core/switches.h"
#include "installer/core/trace_log.h"
#include "installer/core/wizard_state.h"
#include "platform/os.h"
#include "platform/sync.h"
#include "ui/desktop.h"

namespace lx {

// Runs the wizard sheet modally and returns when it has closed.
class IWizardRunner {
 public:
  virtual ~IWizardRunner() = default;
  virtual void Run(bool uninstallMode) = 0;
};

// Runs an unattended installation or removal with no window and returns
// its exit code and the outcome's name for the log's last line.
class IQuietRunner {
 public:
  struct Result {
    int exitCode;
    std::u16string outcome;
  };
  virtual ~IQuietRunner() = default;
  virtual Result Run(const Switches& switches) = 0;
};

constexpr uint32_t kIccAllClasses = 0xFF;

// True when "uninstall" occurs in the command line, letters A-Z taken as lower case.
bool IsUninstallCommand(const std::u16string& commandLine);

// The firmware tool beside the installer, started in install mode only.
void RunWizard(const Os& os, bool uninstallMode, IWizardRunner* wizard);

class CCalvethApp {
 public:
  CCalvethApp(const Os& os, IDesktop& desktop, IWizardRunner* wizard, IQuietRunner* quiet = nullptr,
              WizardState& state = TheWizardState())
      : os_(os), desktop_(desktop), wizard_(wizard), quiet_(quiet), state_(state) {}
  ~CCalvethApp();

  // Runs start-up with the command-line text after the program name and
  // returns false, so that the program ends when the wizard has closed;
  // exitCode is then the program's exit code.
  bool InitInstance(const std::u16string& commandLine);

  bool uninstallMode = false;
  bool secondInstance = false;
  int exitCode = 0;

 private:
  // The log's last line, then the code.
  void End(int code, const std::u16string& outcome);

  const Os& os_;
  IDesktop& desktop_;
  IWizardRunner* wizard_;
  IQuietRunner* quiet_;
  WizardState& state_;
  // Kept until the process ends: a worker still running may trace.
  std::unique_ptr<TraceLog> log_;
};

}  // namespace lx
