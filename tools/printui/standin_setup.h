// Puts the printui.dll stand-in and the test driver in place for this process
// and the programs it starts, so that `rundll32 printui.dll,PrintUIEntry ...`
// runs the stand-in under Wine. For Windows tests only.
#pragma once
#include <string>

namespace printui {

// Copies printui.dll into the system folder (syswow64 for a 32-bit process),
// the test driver's module into the printer-driver directory, and adds
// "printui=n,b" to WINEDLLOVERRIDES so that children prefer the copy to
// Wine's builtin. False with a reason when a step failed.
bool InstallStandIn(std::wstring* error);

// Wine knows no USB or Standard TCP/IP ports; a test that installs on
// "USB001" or "IP_..." adds the name as a port of the Local Port monitor
// first (the stand-in, like Windows, refuses a printer on an unknown port).
bool AddLocalPort(const std::wstring& name);
bool DeleteLocalPort(const std::wstring& name);

}  // namespace printui
