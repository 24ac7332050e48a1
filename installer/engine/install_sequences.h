// The installation sequences that run on a worker thread: the automatic USB
// installation and the installation on a port the user chose. Both end by
// posting kWmShowAccessories or kWmInstallDone; failures are only traced.
#pragma once

#include <functional>
#include <string>

#include "installer/engine/engine_sink.h"
#include "platform/os.h"

namespace lx {

// Starts `work` on a worker thread (the wizard's thread start; tests may run it at once).
using WorkerStarter = std::function<void(std::function<void()> work)>;

// Worker body of the USB installation: the attached printer's port and
// model, a unique printer name, the install command, then the completion.
void InstallOnUsb(const Os& os, IEngineSink& sink);

// On the calling (UI) thread: keeps the choice, stores the language suffix of
// `selectedLanguage`, ramps the progress 0..40 and starts the worker.
void InstallOnPort(const Os& os, IEngineSink& sink, int selectedLanguage,
                   const std::u16string& driverName, const std::u16string& printerName,
                   const std::u16string& portName, const WorkerStarter& startWorker);
// Worker body of the installation on a chosen port.
void InstallOnPortWorker(const Os& os, IEngineSink& sink);

// Shared end of both sequences: the Add/Remove Programs entry, the copy of
// the installer, up to 10 polls of 500 ms for the printer, the default
// printer, and the completion message.
void CompleteInstallation(const Os& os, IEngineSink& sink);

}  // namespace lx
