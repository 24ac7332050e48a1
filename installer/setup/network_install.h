// The installation of a network printer on its own TCP/IP port, on the UI
// thread: the port through prnport.vbs (or the port monitor when the script
// does not deliver it in time), then the install command, then the
// accessories or finish page.
#pragma once

#include <string>

#include "installer/core/wizard_state.h"
#include "platform/os.h"

namespace lx {

constexpr int kNetInstallingStep = 4;
constexpr int kNetAccessoriesStep = 12;
constexpr int kNetFinishStep = 6;

// How the installation moves the wizard; the wizard adapts it to its sheet.
class INetInstallSink {
 public:
  enum class Page { kInstalling, kAccessories, kFinished };
  virtual ~INetInstallSink() = default;
  // ShowPage with the step; the finish page in its installed state.
  virtual void ShowPage(Page page, int step) = 0;
  // The installing page's status line, a string id.
  virtual void SetStatusText(unsigned textId) = 0;
  virtual void SetProgress(int position) = 0;
};

// Runs to its end and leaves the wizard on the accessories or finish page.
void InstallNetworkPrinter(const Os& os, INetInstallSink& sink, WizardState& state,
                           const std::u16string& address, const std::u16string& requestedName,
                           const std::u16string& driverName);

}  // namespace lx
