// The installer's wizard sheet: owns every page, keeps the page list the
// wizard steps through, moves between pages, and runs the long operations on
// worker threads while the installing page shows progress. Workers report
// back by posting completion messages; the sheet answers each with a page.
#pragma once

#include <string>
#include <vector>

#include "installer/core/sheet_engine.h"
#include "installer/core/sheet_workers.h"
#include "installer/engine/engine_sink.h"
#include "installer/pages/step_finish.h"
#include "installer/pages/step_init.h"
#include "installer/pages/step_installer_type.h"
#include "installer/pages/step_installing.h"
#include "installer/pages/step_main.h"
#include "installer/pages/step_select_port.h"
#include "platform/os.h"
#include "platform/session.h"
#include "ui/sheet_view.h"

namespace lx {

// Step numbers: which page a transition made active.
constexpr int kStepInstallerType = 3;
constexpr int kStepInstalling = 4;
constexpr int kStepFinish = 6;
constexpr int kStepSearching = 7;
constexpr int kStepNetPrinters = 8;
constexpr int kStepSetPrinter = 9;
constexpr int kStepSelectPort = 10;
constexpr int kStepWifi = 11;
constexpr int kStepAccessories = 12;

// Accepted and ignored by the sheet.
constexpr unsigned kWmIgnored702 = kWmUser + 702;

struct WizardServices {
  const Os& os;
  ISheetView& view;
  IWorkerStarter& workers;
  ISession& session;
  WizardEngine& engine;
};

class SheetManage : public ISheetEvents, public IEngineSink {
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
  // active and records the step. An empty page slot does nothing.
  void ShowPage(IPropertyPage* page, int stepNumber);
  void StartUsbInstall();
  void StartUninstall();
  void StartPortInstall(const std::u16string& driverName, const std::u16string& printerName,
                        const std::u16string& portName);
  void StartNetEntry();
  void StartAccessorySetting(int value, const std::u16string& printerName,
                             const std::u16string& driverName);
  void RampProgress(int first, uint32_t pauseMs);

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

  const Os& os() const { return os_; }
  ISheetView& view() { return view_; }
  WizardEngine& engine() { return engine_; }
  ISession& session() { return session_; }
  IPropertyPage* CurrentPage() const { return current_; }
  const std::vector<IPropertyPage*>& PageList() const { return pageList_; }
  // The welcome page the configuration chose.
  IPropertyPage* WelcomePage() const { return welcome_; }

 private:
  const Os& os_;
  ISheetView& view_;
  IWorkerStarter& workers_;
  ISession& session_;
  WizardEngine& engine_;

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

  // Slots of the pages of the network road and the accessory choice. A page
  // joins by becoming a member above and filling its slot in the constructor;
  // the transitions below already lead to the slots.
  IPropertyPage* searching = nullptr;         // search page, template 138
  IPropertyPage* selectNetPrinter = nullptr;  // printer list page, template 145
  IPropertyPage* setPrinter = nullptr;        // printer options page, template 140
  IPropertyPage* setWifi = nullptr;           // WiFi page, template 144
  IPropertyPage* accessories = nullptr;       // accessories page, template 147

  int step = 0;
  int selectedLanguage = 0;

 private:
  void MoveBy(int delta);
  std::vector<IPropertyPage*> pageList_;
  IPropertyPage* welcome_ = nullptr;
  IPropertyPage* current_ = nullptr;
};

}  // namespace lx
