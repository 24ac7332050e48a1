// The installer's wizard sheet: owns every page, keeps the page list the
// wizard steps through, moves between pages, and runs the long operations on
// worker threads while the installing page shows progress. Workers report
// back by posting completion messages; the sheet answers each with a page.
#pragma once

#include <string>
#include <vector>

#include "installer/engine/engine_sink.h"
#include "installer/pages/step_finish.h"
#include "installer/pages/step_init.h"
#include "installer/pages/step_installer_type.h"
#include "installer/pages/step_installing.h"
#include "installer/pages/step_main.h"
#include "installer/pages/step_printer_accessories.h"
#include "installer/pages/step_searching.h"
#include "installer/pages/step_select_net_printer.h"
#include "installer/pages/step_select_port.h"
#include "installer/pages/step_set_wifi.h"
#include "installer/pages/step_setprinter.h"
#include "installer/pages/wizard_host.h"
#include "installer/wizard/sheet_engine.h"
#include "installer/wizard/sheet_workers.h"
#include "platform/os.h"
#include "platform/session.h"
#include "ui/sheet_view.h"

namespace lx {

// Accepted and ignored by the sheet.
constexpr unsigned kWmIgnored702 = kWmUser + 702;

// What the sheet runs on; every part lives as long as the process, since a
// worker may still use it after the wizard has closed.
struct WizardServices {
  const Os& os;
  ISheetView& view;
  IWorkerStarter& workers;
  ISession& session;
  WizardState& state;
  NetSearch* search = nullptr;  // none: the network road finds nothing
};

class SheetManage : public ISheetEvents, public IEngineSink, public IWizardHost {
 public:
  explicit SheetManage(const WizardServices& services);
  SheetManage(const SheetManage&) = delete;
  SheetManage& operator=(const SheetManage&) = delete;

  // Uninstall mode: the wizard opens on the install-type page with only
  // "Uninstall" enabled.
  void SetUninstallMode();
  // Shows the sheet modally on the first entry of the page list.
  void Run();

  // Appends the page to the page list when it is not there yet, makes it
  // active and records the step. No page (Step::kNone) does nothing.
  void ShowPage(IPropertyPage* page, Step stepNumber);
  // The page a step makes active (null for a page this installer lacks).
  IPropertyPage* PageOf(Step step);
  void RampProgress(int first, uint32_t pauseMs);

  // IWizardHost: what the pages see.
  const Os& os() const override { return os_; }
  WizardState& state() override { return state_; }
  ISheetView& view() override { return view_; }
  ISession& session() override { return session_; }
  void GoTo(Step step) override { ShowPage(PageOf(step), step); }
  Step CurrentStep() const override { return step; }
  void StartUsbInstall() override;
  void StartUninstall() override;
  void StartPortInstall(const InstallRequest& request) override;
  void StartAccessorySetting(const AccessoryRequest& request) override;
  void StartNetEntry() override;
  void InstallNetworkPrinter(const std::u16string& address, const std::u16string& printerName,
                             const std::u16string& driverName) override;
  NetSearch* search() override { return search_; }

  // ISheetEvents
  void OnInitDialog() override;
  void OnWizardNext() override;
  void OnWizardBack() override;
  void OnCancel() override;
  void OnSheetMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  ControlColors CtlColor(int controlId, ControlKind kind) const override;

  // IEngineSink: what the workers call.
  void SetProgress(int position) override;
  void PostCompletion(unsigned message) override;

  IPropertyPage* CurrentPage() const { return current_; }
  const std::vector<IPropertyPage*>& PageList() const { return pageList_; }
  // The welcome page the configuration chose.
  IPropertyPage* WelcomePage() const { return welcome_; }

 private:
  const Os& os_;
  ISheetView& view_;
  IWorkerStarter& workers_;
  ISession& session_;
  WizardState& state_;
  NetSearch* search_;
  WizardEngine engine_;

 public:
  // The pages, in construction order.
  CStepInstalling installing;
  CStepFinish finish;
  CStepInit init;
  CStepInstallerType installerType;
  CStepMain main;
  CStepMainNoLP mainNoLp;
  CStepMainNoPic mainNoPic;
  CStepSelectPort selectPort;
  CStepSetprinter setPrinter;
  CStepSetWifi setWifi;
  CStepPrinterAccessories accessories;
  CStepSearching searchingPage;
  CStepSelectNetPrinter netPrinterPage;

  Step step = Step::kNone;
  // The language chosen on the language page: the language in force.
  int& selectedLanguage;

 private:
  void MoveBy(int delta);
  // Removes our responder service as the network road ends.
  void EndResponderUse();
  std::vector<IPropertyPage*> pageList_;
  IPropertyPage* welcome_ = nullptr;
  IPropertyPage* current_ = nullptr;
};

}  // namespace lx
