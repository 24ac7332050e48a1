// The installer program's start-up: configuration, UI language, the single
// instance check, the mode from the command line, the firmware tool, and the
// wizard.
#pragma once

#include <string>

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

constexpr uint32_t kIccAllClasses = 0xFF;

// True when "uninstall" occurs in the command line, letters A-Z taken as lower case.
bool IsUninstallCommand(const std::u16string& commandLine);

// The firmware tool beside the installer, started in install mode only.
void RunWizard(const Os& os, bool uninstallMode, IWizardRunner* wizard);

class CCalvethApp {
 public:
  CCalvethApp(const Os& os, IDesktop& desktop, IWizardRunner* wizard)
      : os_(os), desktop_(desktop), wizard_(wizard) {}

  // Runs start-up with the command-line text after the program name and
  // returns false, so that the program ends when the wizard has closed.
  bool InitInstance(const std::u16string& commandLine);

  bool uninstallMode = false;
  bool secondInstance = false;

 private:
  const Os& os_;
  IDesktop& desktop_;
  IWizardRunner* wizard_;
};

}  // namespace lx
