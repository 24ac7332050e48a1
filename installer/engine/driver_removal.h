// Removing everything that belongs to the configured models: their printers
// and drivers, their OEM INF packages, the Add/Remove Programs entry and the
// driver files. Ports stay.
#pragma once

#include <string>

#include "installer/engine/engine_sink.h"
#include "platform/os.h"

namespace lx {

// The 12 endings of the driver files, in the order they are tried.
extern const char16_t* const kDriverFileEndings[12];

void UninstallDriverPackage(const Os& os);
// Printers whose driver name equals a model's DriverName exactly, then that
// driver, once none of its printers is listed any more (at most 10 polls of 500 ms).
void DeletePrintersAndDrivers(const Os& os);
// Every OEM*.inf in the INF store whose `section` holds `key` with a value
// is handed to pnputil for deletion.
void DeleteOemInfPackages(const Os& os, const std::u16string& section, const std::u16string& key);
// "<driver directory>\3\<prefix><ending>" for every DriverPrefix and ending.
void DeleteDriverFiles(const Os& os);

// Worker body of the removal: UninstallDriverPackage, progress 50..90 and
// kWmUninstallDone.
void RunRemovalWorker(const Os& os, IEngineSink& sink);

}  // namespace lx
