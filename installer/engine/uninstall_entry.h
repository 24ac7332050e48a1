// The Add/Remove Programs entry that starts the installed copy of the
// installer with /uninstall.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

bool Is64BitSystem(const Os& os);

// "Software\Microsoft\Windows\CurrentVersion\Uninstall\<RegInfo>".
std::u16string UninstallKeyPath();
void WriteUninstallEntry(const Os& os);
// True when the key was deleted.
bool DeleteUninstallEntry(const Os& os);

}  // namespace lx
