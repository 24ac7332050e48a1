#include "installer/wizard/sheet_manage.h"

#include <algorithm>

#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/discovery/responder_service.h"
#include "installer/setup/network_install.h"
#include "installer/core/ui_strings.h"
#include "platform/clock.h"

namespace lx {

namespace {

bool OnNetworkRoad(Step step) { return step == Step::kSearching || step == Step::kNetPrinters; }

IPropertyPage* ChooseWelcome(SheetManage& sheet) {
  const InstallConfig& install = g_config.install;
  if (install.LPOemShow == 1) return &sheet.mainNoLp;
  if (install.ShowLogo == 3 || install.ShowLogo == 6) return &sheet.mainNoPic;
  return &sheet.main;
}

}  // namespace

SheetManage::SheetManage(const WizardServices& services)
    : os_(services.os),
      view_(services.view),
      workers_(services.workers),
      session_(services.session),
      state_(services.state),
      search_(services.search),
      engine_(services.os, services.state),
      installing(*this),
      finish(*this),
      init(*this),
      installerType(*this),
      main(*this),
      mainNoLp(*this),
      mainNoPic(*this),
      selectPort(*this),
      setPrinter(*this),
      setWifi(*this),
      accessories(*this),
      searchingPage(*this),
      netPrinterPage(*this),
      selectedLanguage(services.state.language) {
  view_.SetCaption(u"Installtion");
  welcome_ = ChooseWelcome(*this);
  pageList_ = {&init, welcome_, &installerType};
  for (IPropertyPage* page : pageList_) view_.AddPage(*page);
  step = Step::kNone;
}

void SheetManage::SetUninstallMode() {
  for (IPropertyPage* page : {static_cast<IPropertyPage*>(&init), welcome_}) {
    pageList_.erase(std::remove(pageList_.begin(), pageList_.end(), page), pageList_.end());
    view_.RemovePage(*page);
  }
  installerType.uninstallOnly = true;
}

void SheetManage::Run() {
  if (pageList_.empty()) return;
  current_ = pageList_.front();
  view_.RunModal(*this, *current_);
  // However the sheet closed, our responder service goes with it.
  if (OnNetworkRoad(step)) EndResponderUse();
}

void SheetManage::EndResponderUse() {
  // Windows' own DNS-SD road never registers one.
  if (!search_ || !search_->OnWindowsRoad()) RemoveOwnResponder(os_);
}

IPropertyPage* SheetManage::PageOf(Step target) {
  switch (target) {
    case Step::kInstallerType: return &installerType;
    case Step::kInstalling: return &installing;
    case Step::kFinish: return &finish;
    case Step::kSearching: return &searchingPage;
    case Step::kNetPrinters: return &netPrinterPage;
    case Step::kSetPrinter: return &setPrinter;
    case Step::kSelectPort: return &selectPort;
    case Step::kWifi: return &setWifi;
    case Step::kAccessories: return &accessories;
    case Step::kNone: break;
  }
  return nullptr;
}

void SheetManage::ShowPage(IPropertyPage* page, Step stepNumber) {
  if (!page) {
    DebugTrace(os_, "ShowPage: page of step %d is not part of this installer", static_cast<int>(stepNumber));
    return;
  }
  // Our responder service lives only while the search or its list is shown:
  // Back, Search Again, Manual Search and Next all end it here.
  if (OnNetworkRoad(step) && stepNumber != Step::kNetPrinters) EndResponderUse();
  if (std::find(pageList_.begin(), pageList_.end(), page) == pageList_.end()) {
    pageList_.push_back(page);
    view_.AddPage(*page);
  }
  current_ = page;
  view_.SetCurrentPage(*page);
  step = stepNumber;
}

void SheetManage::MoveBy(int delta) {
  auto it = std::find(pageList_.begin(), pageList_.end(), current_);
  if (it == pageList_.end()) return;
  long index = (it - pageList_.begin()) + delta;
  if (index < 0 || index >= static_cast<long>(pageList_.size())) return;
  current_ = pageList_[index];
  view_.SetCurrentPage(*current_);
}

void SheetManage::RampProgress(int first, uint32_t pauseMs) {
  ::lx::RampProgress(os_, *this, first, pauseMs);
}

void SheetManage::StartUsbInstall() {
  GoTo(Step::kInstalling);
  RampProgress(0, 50);
  if (!workers_.Start([this] { engine_.InstallOnUsb(*this); })) engine_.NotStarted(*this, kWmInstallDone);
}

void SheetManage::StartUninstall() {
  GoTo(Step::kInstalling);
  installing.SetStatusText(IDS_UNINSTALLING);
  RampProgress(0, 50);
  if (!workers_.Start([this] { engine_.RemoveDriver(*this); })) engine_.NotStarted(*this, kWmUninstallDone);
}

void SheetManage::StartPortInstall(const InstallRequest& request) {
  GoTo(Step::kInstalling);
  installing.SetStatusText(IDS_INSTALLING);
  engine_.InstallOnPort(*this, request, workers_);
}

void SheetManage::StartNetEntry() {
  GoTo(g_config.install.NetOnline == 1 ? Step::kSearching : Step::kSetPrinter);
}

namespace {

// The network installation's page moves on this sheet.
class SheetNetInstall : public INetInstallSink {
 public:
  explicit SheetNetInstall(SheetManage& sheet) : sheet_(sheet) {}
  void ShowPage(Page page, int) override {
    switch (page) {
      case Page::kInstalling: sheet_.GoTo(Step::kInstalling); break;
      case Page::kAccessories: sheet_.GoTo(Step::kAccessories); break;
      case Page::kFinished:
        sheet_.GoTo(Step::kFinish);
        sheet_.finish.ShowOutcome(sheet_.state().outcome);
        break;
    }
  }
  void SetStatusText(unsigned textId) override { sheet_.installing.SetStatusText(textId); }
  void SetProgress(int position) override { sheet_.SetProgress(position); }

 private:
  SheetManage& sheet_;
};

}  // namespace

void SheetManage::InstallNetworkPrinter(const std::u16string& address, const std::u16string& printerName,
                                        const std::u16string& driverName) {
  SheetNetInstall sink(*this);
  lx::InstallNetworkPrinter(os_, sink, state_, address, printerName, driverName);
}

void SheetManage::StartAccessorySetting(const AccessoryRequest& request) {
  GoTo(Step::kInstalling);
  installing.SetStatusText(IDS_SETTING_UP);
  RampProgress(0, 100);
  int offset = engine_.GetPostActionOffset(request.driverName);
  // The job travels with the worker, which owns it.
  bool started = workers_.Start([this, request, offset] {
    if (!engine_.ApplyPostAction(request.printerName, offset, request.value))
      DebugTraceW(os_, u"The accessory was not written to printer %s", request.printerName.c_str());
    PostCompletion(kWmAccessoryDone);
  });
  // The printer is installed either way; only the accessory is missing.
  if (!started) {
    DebugTraceW(os_, u"The accessory was not written to printer %s", request.printerName.c_str());
    PostCompletion(kWmAccessoryDone);
  }
}

void SheetManage::SetProgress(int position) { installing.SetProgress(position); }

void SheetManage::PostCompletion(unsigned message) { view_.PostSheetMessage(message); }

void SheetManage::OnInitDialog() {
  DebugTrace(os_, "SheetManage::OnInitDialog");
  IDialogView& frame = view_.Frame();
  // Wider wizard buttons for the longer texts of some languages.
  const struct {
    int id;
    int shift;
  } buttons[] = {{kIdWizBack, -30}, {kIdWizNext, 5}, {kIdCancel, 30}};
  for (const auto& b : buttons) {
    Rect r = frame.GetControlRect(b.id);
    r.right += 30;
    r.left += b.shift;
    r.right += b.shift;
    frame.MoveControl(b.id, r);
  }
  frame.Show(kIdHelp, false);
  frame.Enable(kIdWizBack, false);
  frame.SetText(kIdCancel, LoadUiString(os_, IDS_EXIT));
  view_.BringToFront();
  DebugTrace(os_, "SheetManage::OnInitDialog");
}

void SheetManage::OnWizardNext() {
  IPropertyPage* page = current_;
  if (!page) return;
  if (page->OnWizardNext() == kMoveDefault && current_ == page) MoveBy(1);
}

void SheetManage::OnWizardBack() {
  IPropertyPage* page = current_;
  if (!page) return;
  if (page->OnWizardBack() == kMoveDefault && current_ == page) MoveBy(-1);
}

void SheetManage::OnCancel() {
  for (IPropertyPage* page : pageList_)
    if (page->IsBuilt()) page->OnReset();
  if (OnNetworkRoad(step)) EndResponderUse();
  view_.EndWizard();
}

void SheetManage::OnSheetMessage(unsigned message, uintptr_t, intptr_t) {
  switch (message) {
    case kWmInstallDone:
      GoTo(Step::kFinish);
      finish.ShowOutcome(state_.outcome);
      break;
    case kWmUninstallDone:
      GoTo(Step::kFinish);
      finish.ShowOutcome(state_.outcome, true);
      finish.removed = true;
      break;
    case kWmAccessoryDone:
      for (int position : {60, 70, 80}) {
        SetProgress(position);
        os_.clock->Sleep(50);
      }
      // Keys pressed during the last steps were meant for the installing
      // page; on the finish page they would press its test-page button.
      view_.DropQueuedInput();
      GoTo(Step::kFinish);
      finish.ShowOutcome(state_.outcome);
      break;
    case kWmShowAccessories:
      GoTo(Step::kAccessories);
      break;
    default:  // WM_USER+702 and anything else: nothing to do
      break;
  }
}

ControlColors SheetManage::CtlColor(int, ControlKind kind) const {
  if (view_.Frame().HighContrast()) return kSystemColors;
  ControlColors colors;
  colors.transparent = kind == ControlKind::kStatic || kind == ControlKind::kPicture;
  return colors;
}

}  // namespace lx
