// The Add/Remove Programs entry that starts the installed copy of the
// installer with /uninstall.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

bool Is64BitSystem(const Os& os);

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\<RegInfo>".
std::u16string UninstallKeyPath();
// Writes the entry for the installer's copy in `installedFolder`: its
// UninstallString and InstallLocation name that folder, whatever
// InstallLocation says (a relative one is read below the program-files
// folder, as FilePath is; one naming another folder is traced). No copy, no
// entry: a command naming a missing program would only fail later.
void WriteUninstallEntry(const Os& os, const std::u16string& installedFolder);
// True when the key was deleted.
bool DeleteUninstallEntry(const Os& os);

}  // namespace lx
