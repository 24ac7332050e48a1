// What the wizard's pages, its sheet and the installation workers share, each
// fact in one place: the UI language in force, the running operation's
// request, the printer it made, and the registry path of the plug-in's
// language setting. One record for the process; it outlives every worker.
#pragma once

#include <mutex>
#include <optional>
#include <string>

namespace lx {

// What the user asked to install: a driver, a printer name and a port (an
// empty port installs the driver alone).
struct InstallRequest {
  std::u16string driverName;
  std::u16string printerName;
  std::u16string portName;
};

// The printer being installed.
struct InstallTarget {
  std::u16string printerName;  // already unique; empty when the model has none
  std::u16string portName;     // empty: the driver alone is installed
  std::u16string driverName;
};

// What the last operation achieved. The finish page and the exit code read
// it; a failure names the step that failed.
enum class Outcome {
  kNone,               // nothing has finished yet
  kInstalled,          // the printer is in the printer list
  kDriverOnly,         // no printer attached: the driver alone is listed
  kNameRefused,        // an address or name that cannot reach a command line
  kPortNotCreated,     // the printer's TCP/IP port never appeared
  kPrinterNotSeen,     // the printer did not appear within the polls
  kDriverNotSeen,      // the driver did not appear within the polls
  kNotStarted,         // the worker thread could not be created
  kRemoved,            // nothing of the configured lists is left
  kRemovalIncomplete,  // a printer, driver or package of the lists is left
};

// True for the outcomes that did what the user asked.
bool Succeeded(Outcome outcome);

class WizardState {
 public:
  // The languageId in force: detected at start-up, then the one confirmed on
  // the language page (g_lang and the sheet's selectedLanguage are this).
  int language = 0;
  // The request of the running installation, as the page handed it over.
  InstallRequest request;
  // Written by an installation worker; the UI thread reads it only after the
  // completion message has arrived.
  InstallTarget target;
  // Written by the worker before its completion message, read after it.
  Outcome outcome = Outcome::kNone;
  // The restart after a removal was asked of the system and accepted.
  bool restartStarted = false;
  // Windows protected print mode was found on: no installation is offered.
  bool protectedPrint = false;

  // The registry path (below "SOFTWARE\") that receives the language suffix:
  // the configured one until a model with its own path is installed. The UI
  // thread writes the suffix while a worker may replace the path, so both
  // go through one lock.
  std::u16string LanguageRegPath() const;
  void ReplaceLanguageRegPath(const std::u16string& path);

  // Back to the state of a new process (tests run many wizards in one).
  void Reset();

 private:
  mutable std::mutex lock_;
  std::optional<std::u16string> replacedRegPath_;
};

// The process's one wizard state. Never destroyed: a worker still running
// when the wizard closes may use it until the process ends.
WizardState& TheWizardState();

}  // namespace lx
