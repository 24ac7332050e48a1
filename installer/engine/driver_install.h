// Installing the driver package through the system's printer-setup command
// (rundll32 printui.dll PrintUIEntry), and the language suffix that the
// driver UI plug-in reads.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

// The INF file in the folder above the installer's folder: the Install
// section's InfName, or the model's own when CustomInfName is 1. Empty on failure.
std::u16string GetInfPath(const Os& os, const std::u16string& driverName);

// Starts the install command for g_installTarget: a printer with name, port,
// model and INF when the target has a port, else the driver alone. Not waited for.
void InstallDriver(const Os& os, const std::u16string& driverName);

// Stores the suffix of the UI language `selectedLanguage` ("enus" when it
// has no row or storing fails) as "Suffix" under HKLM\SOFTWARE\<path>.
bool WriteUiLanguageSuffix(const Os& os, int selectedLanguage);

}  // namespace lx
