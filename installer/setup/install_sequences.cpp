#include "installer/setup/install_sequences.h"

#include "installer/engine/driver_install.h"
#include "installer/engine/folder_copy.h"
#include "installer/engine/language_suffix.h"
#include "installer/engine/model_lookup.h"
#include "installer/engine/printer_queries.h"
#include "installer/engine/uninstall_entry.h"
#include "installer/ports/usb_ports.h"
#include "platform/clock.h"

namespace lx {

namespace {
constexpr int kPrinterPolls = 10;
constexpr uint32_t kPrinterPollMs = 500;
constexpr uint32_t kProgressPauseMs = 50;
}  // namespace

void InstallOnUsb(const Os& os, IEngineSink& sink, WizardState& state) {
  UsbPortInfo usb;
  FindUsbPrinterPort(os, usb);
  int type = FindModelTypeByInstanceId(usb.instanceId);
  std::u16string driverName = FindDriverNameByType(type);
  std::u16string requestedName = FindPrinterNameByType(type);
  std::u16string regPath = FindLanguageRegPathByDriver(driverName);
  if (!regPath.empty()) state.ReplaceLanguageRegPath(regPath);

  state.target.portName = usb.portName;
  state.target.printerName = MakeUniquePrinterName(os, requestedName);
  state.target.driverName = driverName;
  InstallDriver(os, state, driverName);
  CompleteInstallation(os, sink, state.target);
}

void InstallOnPort(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request,
                   IWorkerStarter& workers) {
  state.request = request;
  WriteUiLanguageSuffix(os, state);
  RampProgress(os, sink, 0, kProgressPauseMs);
  workers.Start([&os, &sink, &state, request] { InstallOnPortWorker(os, sink, state, request); });
}

void InstallOnPortWorker(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request) {
  state.target.portName = request.portName;
  state.target.printerName = MakeUniquePrinterName(os, request.printerName);
  state.target.driverName = request.driverName;
  InstallDriver(os, state, request.driverName);
  CompleteInstallation(os, sink, state.target);
}

void CompleteInstallation(const Os& os, IEngineSink& sink, const InstallTarget& target) {
  sink.SetProgress(50);
  WriteUninstallEntry(os);
  sink.SetProgress(60);
  CopyInstallerToInstallFolder(os);
  sink.SetProgress(70);
  os.clock->Sleep(kProgressPauseMs);
  sink.SetProgress(80);
  os.clock->Sleep(kProgressPauseMs);
  sink.SetProgress(90);

  SetDefaultWhenInstalled(os, target.printerName);
  sink.PostCompletion(WantsAccessoryChoice(target) ? kWmShowAccessories : kWmInstallDone);
}

void SetDefaultWhenInstalled(const Os& os, const std::u16string& printerName) {
  for (int attempt = 0; attempt < kPrinterPolls; ++attempt) {
    if (PrinterExists(os, printerName)) {
      SetDefaultPrinter(os, printerName);
      return;
    }
    os.clock->Sleep(kPrinterPollMs);
  }
}

bool WantsAccessoryChoice(const InstallTarget& target) {
  return !target.printerName.empty() && GetShowSetting(target.driverName) == 1;
}

}  // namespace lx
