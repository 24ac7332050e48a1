// The engine operations the wizard calls, gathered in one place so that the
// sheet and the pages do not depend on how the engine spells them.
#pragma once

#include <string>

#include "installer/core/sheet_workers.h"
#include "installer/engine/engine_sink.h"
#include "installer/engine/install_state.h"
#include "platform/os.h"

namespace lx {

class WizardEngine {
 public:
  explicit WizardEngine(const Os& os) : os_(os) {}

  // Worker bodies; each ends by posting its completion through the sink.
  void InstallOnUsb(IEngineSink& sink);
  void RemoveDriver(IEngineSink& sink);
  // On the UI thread: keeps the choice, stores the language suffix, ramps
  // the progress and starts the installation worker.
  void InstallOnPort(IEngineSink& sink, int selectedLanguage, const std::u16string& driverName,
                     const std::u16string& printerName, const std::u16string& portName,
                     IWorkerStarter& workers);
  bool WriteUiLanguageSuffix(int selectedLanguage);
  int GetPostActionOffset(const std::u16string& driverName);
  bool ApplyPostAction(const std::u16string& printerName, int offset, int value);
  void PrintTestPage(const std::u16string& printerName);
  // The printer the last installation made (read after its completion message).
  InstallTarget Target() const;

 private:
  const Os& os_;
};

}  // namespace lx
