#include "installer/core/sheet_engine.h"

#include "installer/engine/driver_install.h"
#include "installer/engine/driver_removal.h"
#include "installer/engine/install_sequences.h"
#include "installer/engine/post_action.h"
#include "installer/engine/printer_queries.h"

namespace lx {

void WizardEngine::InstallOnUsb(IEngineSink& sink) { lx::InstallOnUsb(os_, sink); }

void WizardEngine::RemoveDriver(IEngineSink& sink) { RunRemovalWorker(os_, sink); }

void WizardEngine::InstallOnPort(IEngineSink& sink, int selectedLanguage,
                                 const std::u16string& driverName, const std::u16string& printerName,
                                 const std::u16string& portName, IWorkerStarter& workers) {
  lx::InstallOnPort(os_, sink, selectedLanguage, driverName, printerName, portName,
                    [&workers](std::function<void()> work) { workers.Start(std::move(work)); });
}

bool WizardEngine::WriteUiLanguageSuffix(int selectedLanguage) {
  return lx::WriteUiLanguageSuffix(os_, selectedLanguage);
}

int WizardEngine::GetPostActionOffset(const std::u16string& driverName) {
  return lx::GetPostActionOffset(os_, driverName);
}

bool WizardEngine::ApplyPostAction(const std::u16string& printerName, int offset, int value) {
  return lx::ApplyPostAction(os_, printerName, offset, value);
}

void WizardEngine::PrintTestPage(const std::u16string& printerName) {
  lx::PrintTestPage(os_, printerName);
}

InstallTarget WizardEngine::Target() const { return g_installTarget; }

}  // namespace lx
