// Windows protected print mode (Windows 11 24H2 and later) admits only the
// printers of Windows' own class driver: while it is on, no driver of ours
// can be installed. The installer only looks; it never turns the mode off.
#pragma once

#include "platform/os.h"

namespace lx {

inline constexpr char16_t kProtectedPrintPolicyKey[] =
    u"SOFTWARE\\Policies\\Microsoft\\Windows NT\\Printers\\WPP";
inline constexpr char16_t kProtectedPrintPolicyValue[] = u"WindowsProtectedPrintGroupPolicyState";

// On when the policy value is 1, or when the system's own query says so
// (a system without it counts as off). Traces which one found it.
bool ProtectedPrintOn(const Os& os);

}  // namespace lx
