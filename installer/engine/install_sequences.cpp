#include "installer/engine/install_sequences.h"

#include "installer/engine/driver_install.h"
#include "installer/engine/install_state.h"
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

void RampProgress(const Os& os, IEngineSink& sink, int first, uint32_t pauseMs) {
  for (int step = 0; step < 5; ++step) {
    sink.SetProgress(first + step * 10);
    os.clock->Sleep(pauseMs);
  }
}

void InstallOnUsb(const Os& os, IEngineSink& sink) {
  UsbPortInfo usb;
  FindUsbPrinterPort(os, usb);
  int type = FindModelTypeByInstanceId(usb.instanceId);
  std::u16string driverName = FindDriverNameByType(type);
  std::u16string requestedName = FindPrinterNameByType(type);
  std::u16string regPath = FindLanguageRegPathByDriver(driverName);
  if (!regPath.empty()) ReplaceLanguageRegPath(regPath);

  g_installTarget.portName = usb.portName;
  g_installTarget.printerName = MakeUniquePrinterName(os, requestedName);
  g_installTarget.driverName = driverName;
  InstallDriver(os, driverName);
  CompleteInstallation(os, sink);
}

void InstallOnPort(const Os& os, IEngineSink& sink, int selectedLanguage,
                   const std::u16string& driverName, const std::u16string& printerName,
                   const std::u16string& portName, const WorkerStarter& startWorker) {
  g_requestedInstall = {driverName, printerName, portName};
  WriteUiLanguageSuffix(os, selectedLanguage);
  RampProgress(os, sink, 0, kProgressPauseMs);
  startWorker([&os, &sink] { InstallOnPortWorker(os, sink); });
}

void InstallOnPortWorker(const Os& os, IEngineSink& sink) {
  RequestedInstall request = g_requestedInstall;
  g_installTarget.portName = request.portName;
  g_installTarget.printerName = MakeUniquePrinterName(os, request.printerName);
  g_installTarget.driverName = request.driverName;
  InstallDriver(os, request.driverName);
  CompleteInstallation(os, sink);
}

void CompleteInstallation(const Os& os, IEngineSink& sink) {
  sink.SetProgress(50);
  WriteUninstallEntry(os);
  sink.SetProgress(60);
  CopyInstallerToInstallFolder(os);
  sink.SetProgress(70);
  os.clock->Sleep(kProgressPauseMs);
  sink.SetProgress(80);
  os.clock->Sleep(kProgressPauseMs);
  sink.SetProgress(90);

  const InstallTarget& target = g_installTarget;
  for (int attempt = 0; attempt < kPrinterPolls; ++attempt) {
    if (PrinterExists(os, target.printerName)) {
      SetDefaultPrinter(os, target.printerName);
      break;
    }
    os.clock->Sleep(kPrinterPollMs);
  }

  bool accessories = !target.printerName.empty() && GetShowSetting(target.driverName) == 1;
  sink.PostCompletion(accessories ? kWmShowAccessories : kWmInstallDone);
}

}  // namespace lx
