// Removing everything that belongs to the configured models: their printers
// and drivers, their OEM INF packages, the Add/Remove Programs entry and the
// driver files. Ports stay.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "installer/core/wizard_state.h"
#include "installer/engine/engine_sink.h"
#include "platform/os.h"

namespace lx {

// The endings of the driver files, in the order they are tried: the
// plug-in, the driver, the first four languages' modules and help files, the
// configuration and the GPD, then the modules and help files of the other UI
// languages and the bitmap module, which the driver package installs too and
// which would otherwise stay behind.
const std::vector<std::u16string>& DriverFileEndings();

void UninstallDriverPackage(const Os& os);
// Printers whose driver name equals a model's DriverName exactly, then that
// driver, once none of its printers is listed any more (at most 10 polls of 500 ms).
void DeletePrintersAndDrivers(const Os& os);
// Every OEM*.inf in the INF store whose `section` holds `key` with a value
// is handed to pnputil for deletion.
void DeleteOemInfPackages(const Os& os, const std::u16string& section, const std::u16string& key);
// "<driver directory>\3\<prefix><ending>" for every DriverPrefix and ending.
void DeleteDriverFiles(const Os& os);

// The OEM*.inf files of the INF store whose `section` holds `key` with a
// value; nothing when the store cannot be listed.
std::optional<std::vector<std::u16string>> MatchingOemInfs(const Os& os, const std::u16string& section,
                                                           const std::u16string& key);
// What of the configured lists the spooler and the INF store still hold:
// "printer <name>", "driver <name>", "package <oemN.inf>".
std::vector<std::u16string> RemovalLeftovers(const Os& os);
// kRemoved once nothing is left (at most 10 polls of 500 ms), else
// kRemovalIncomplete with a trace line per leftover.
Outcome CheckRemoval(const Os& os);

// Worker body of the removal: UninstallDriverPackage, the check, progress
// 50..90 and kWmUninstallDone.
void RunRemovalWorker(const Os& os, IEngineSink& sink, WizardState& state);

}  // namespace lx
