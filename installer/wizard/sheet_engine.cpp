#include "installer/wizard/sheet_engine.h"

#include "installer/engine/driver_removal.h"
#include "installer/setup/install_sequences.h"
#include "installer/engine/post_action.h"

namespace lx {

void WizardEngine::InstallOnUsb(IEngineSink& sink) { lx::InstallOnUsb(os_, sink, state_); }

void WizardEngine::RemoveDriver(IEngineSink& sink) { RunRemovalWorker(os_, sink, state_); }

void WizardEngine::NotStarted(IEngineSink& sink, unsigned completion) {
  RecordFailure(os_, state_, Outcome::kNotStarted);
  sink.PostCompletion(completion);
}

void WizardEngine::InstallOnPort(IEngineSink& sink, const InstallRequest& request, IWorkerStarter& workers) {
  lx::InstallOnPort(os_, sink, state_, request, workers);
}

int WizardEngine::GetPostActionOffset(const std::u16string& driverName) {
  return lx::GetPostActionOffset(os_, driverName);
}

bool WizardEngine::ApplyPostAction(const std::u16string& printerName, int offset, int value) {
  return lx::ApplyPostAction(os_, printerName, offset, value);
}

}  // namespace lx
