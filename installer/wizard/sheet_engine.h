// The engine operations the wizard runs, bound to the process's platform and
// wizard state, so that the sheet does not depend on how the engine spells them.
#pragma once

#include <string>

#include "installer/core/wizard_state.h"
#include "installer/engine/engine_sink.h"
#include "platform/os.h"

namespace lx {

class WizardEngine {
 public:
  WizardEngine(const Os& os, WizardState& state) : os_(os), state_(state) {}

  // Worker bodies; each ends by posting its completion through the sink.
  void InstallOnUsb(IEngineSink& sink);
  void RemoveDriver(IEngineSink& sink);
  // On the UI thread: the request becomes the running one, the language
  // suffix is stored, the progress ramps and the worker starts.
  void InstallOnPort(IEngineSink& sink, const InstallRequest& request, IWorkerStarter& workers);
  // A worker that could not start: its failure recorded and its completion
  // posted, so that the wizard still reaches its finish page.
  void NotStarted(IEngineSink& sink, unsigned completion);
  int GetPostActionOffset(const std::u16string& driverName);
  bool ApplyPostAction(const std::u16string& printerName, int offset, int value);

 private:
  const Os& os_;
  WizardState& state_;
};

}  // namespace lx
