// The system programs the installer starts: rundll32 (printui.dll), pnputil
// and cscript. The installer runs elevated, so each is started by its
// absolute path in the system folder with that folder as its current
// directory: nothing in the medium's folder or the current one is run, or
// loaded by the tool, in their place.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

enum class SystemTool { kRundll32, kPnputil, kScriptHost };

// GetSystemDirectoryW's folder and the tool's file name. pnputil comes from
// Sysnative in a 32-bit program on 64-bit Windows: its System32 is the
// 32-bit folder, and only the machine's own pnputil manages driver packages.
// Empty when the system folder is not known.
std::u16string SystemToolPath(const Os& os, SystemTool tool);

// ShellExecuteW "open" of `path` (one of SystemToolPath's) with the system
// folder as the directory. False, traced, when the system folder is not
// known or the shell answers an error.
bool StartSystemTool(const Os& os, const std::u16string& path, const std::u16string& parameters, int show);

// rundll32 with printui.dll's parameters, the commonest start.
bool StartPrintUi(const Os& os, const std::u16string& parameters, int show);

}  // namespace lx
