// What a wizard page sees of the wizard: the steps it can go to, the state
// the pages share, the long operations it can start, and the sheet's window.
// Pages know nothing else of the sheet that holds them.
#pragma once

#include <string>

#include "installer/core/wizard_state.h"
#include "installer/discovery/net_search.h"
#include "platform/os.h"
#include "platform/session.h"
#include "ui/sheet_view.h"

namespace lx {

// Wizard steps by the page each one makes active; the numbers are the
// wizard's own (the search page reads them to know where the user is).
enum class Step : int {
  kNone = 0,
  kInstallerType = 3,  // install-type page, when returned to from a later page
  kInstalling = 4,
  kFinish = 6,
  kSearching = 7,
  kNetPrinters = 8,
  kSetPrinter = 9,
  kSelectPort = 10,
  kWifi = 11,
  kAccessories = 12,
};

// The accessory the user said is fitted, for the printer just installed.
struct AccessoryRequest {
  int value = 1;  // post-print action: 1 none, 2 peeler, 3 cutter
  std::u16string printerName;
  std::u16string driverName;
};

class IWizardHost {
 public:
  virtual ~IWizardHost() = default;
  virtual const Os& os() const = 0;
  virtual WizardState& state() = 0;
  // The sheet's window: its buttons, message boxes it owns, its handle.
  virtual ISheetView& view() = 0;
  // ExitWindowsEx for the restart after a removal.
  virtual ISession& session() = 0;

  // Shows the page of a step (adding it to the page list on its first showing).
  virtual void GoTo(Step step) = 0;
  // The step of the page shown last.
  virtual Step CurrentStep() const = 0;
  // The long operations; each shows the installing page and starts its
  // worker with its own copy of what it needs.
  virtual void StartUsbInstall() = 0;
  virtual void StartUninstall() = 0;
  virtual void StartPortInstall(const InstallRequest& request) = 0;
  virtual void StartAccessorySetting(const AccessoryRequest& request) = 0;
  // "NET Install": the search page, or the printer options page when the
  // configuration says the network is not searched first.
  virtual void StartNetEntry() = 0;
  // The network installation, on the UI thread: the printer at `address` on
  // its own TCP/IP port; ends on the accessories or the finish page.
  virtual void InstallNetworkPrinter(const std::u16string& address, const std::u16string& printerName,
                                     const std::u16string& driverName) = 0;
  // The network search the search and list pages drive; null when this
  // installer has none.
  virtual NetSearch* search() = 0;
};

}  // namespace lx
