// The installation sequences that run on a worker thread: the automatic USB
// installation and the installation on a port the user chose. Both end by
// posting kWmShowAccessories or kWmInstallDone; failures are only traced.
// What a worker reads and writes lives as long as the process: the Os, the
// sink and the wizard state.
#pragma once

#include <string>

#include "installer/core/wizard_state.h"
#include "installer/engine/engine_sink.h"
#include "platform/os.h"

namespace lx {

// Worker body of the USB installation: the attached printer's port and
// model, a unique printer name, the install command, then the completion.
void InstallOnUsb(const Os& os, IEngineSink& sink, WizardState& state);

// On the calling (UI) thread: makes the request the running one, stores the
// language suffix, ramps the progress 0..40 and starts the worker with its
// own copy of the request.
void InstallOnPort(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request,
                   IWorkerStarter& workers);
// Worker body of the installation on a chosen port.
void InstallOnPortWorker(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request);

// Up to 10 polls of 500 ms for the new printer; the first sighting makes it
// the default printer.
void SetDefaultWhenInstalled(const Os& os, const std::u16string& printerName);
// True when a printer was made for a model with the accessory choice.
bool WantsAccessoryChoice(const InstallTarget& target);

// Shared end of both sequences: the Add/Remove Programs entry, the copy of
// the installer, up to 10 polls of 500 ms for the printer, the default
// printer, and the completion message.
void CompleteInstallation(const Os& os, IEngineSink& sink, const InstallTarget& target);

}  // namespace lx
