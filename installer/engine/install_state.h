// What the installation sequences share with the wizard: the printer being
// installed, the user's choice on the port page, and the registry path of the
// plug-in's language setting.
#pragma once

#include <string>

namespace lx {

struct InstallTarget {
  std::u16string printerName;  // already unique; empty when the model has none
  std::u16string portName;     // empty: the driver alone is installed
  std::u16string driverName;
};

// Written by an installation worker; the UI thread reads it only after the
// completion message has arrived.
extern InstallTarget g_installTarget;

// The port page's choice, held until the worker takes it over.
struct RequestedInstall {
  std::u16string driverName;
  std::u16string printerName;
  std::u16string portName;
};
extern RequestedInstall g_requestedInstall;

// The registry path (below "SOFTWARE\") that receives the language suffix:
// the Install section's value until a model with its own path is installed.
// The UI thread writes the suffix while a worker may replace the path, so
// both go through one lock.
std::u16string CurrentLanguageRegPath();
void ReplaceLanguageRegPath(const std::u16string& path);

}  // namespace lx
