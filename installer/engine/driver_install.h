// Installing the driver package through the system's printer-setup command
// (rundll32 printui.dll PrintUIEntry).
#pragma once

#include <string>

#include "installer/core/wizard_state.h"
#include "platform/os.h"

namespace lx {

// The INF file in the folder above the installer's folder: the Install
// section's InfName, or the model's own when CustomInfName is 1. Empty on failure.
std::u16string GetInfPath(const Os& os, const std::u16string& driverName);

// Starts the install command for the state's target: a printer with name,
// port, model and INF when the target has a port, else the driver alone. Not
// waited for. A model with its own language path puts that path in force.
// False when a name could not be passed on the command line: nothing ran.
bool InstallDriver(const Os& os, WizardState& state, const std::u16string& driverName);

}  // namespace lx
