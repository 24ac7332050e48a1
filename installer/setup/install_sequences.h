// The installation sequences that run on a worker thread: the automatic USB
// installation and the installation on a port the user chose. Both record
// their outcome in the wizard state and end by posting kWmShowAccessories or
// kWmInstallDone. What a worker reads and writes lives as long as the
// process: the Os, the sink and the wizard state.
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
// own copy of the request. A worker that cannot start ends the operation
// as kNotStarted, with its completion posted all the same.
void InstallOnPort(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request,
                   IWorkerStarter& workers);
// Worker body of the installation on a chosen port.
void InstallOnPortWorker(const Os& os, IEngineSink& sink, WizardState& state, const InstallRequest& request);

// Up to 10 polls of 500 ms for the new printer; the first sighting makes it
// the default printer. False when it never appeared.
bool SetDefaultWhenInstalled(const Os& os, const std::u16string& printerName);
// Up to 10 polls of 500 ms for the driver in the spooler's list.
bool WaitForDriver(const Os& os, const std::u16string& driverName);
// True when a printer was made for a model with the accessory choice.
bool WantsAccessoryChoice(const InstallTarget& target);

// The installer's copy, then the Add/Remove Programs entry naming it.
void RegisterInstalledCopy(const Os& os);

// Shared end of both sequences: the copy and the entry, up to 10 polls of
// 500 ms for the printer (or, without a port, the driver), the default
// printer, the outcome and the completion message.
void CompleteInstallation(const Os& os, IEngineSink& sink, WizardState& state);

// Records a failed step: its trace line, the outcome, no accessories page.
void RecordFailure(const Os& os, WizardState& state, Outcome outcome);

}  // namespace lx
