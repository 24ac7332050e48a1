#include "installer/engine/protected_print.h"

#include "installer/core/trace.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace lx {

bool ProtectedPrintOn(const Os& os) {
  // The policy lives in the 64-bit view, where a 32-bit copy must look too.
  std::optional<uint32_t> policy =
      os.registry->GetDword(RegRoot::kLocalMachine, kProtectedPrintPolicyKey, kProtectedPrintPolicyValue,
                            RegView::kWow64_64);
  if (policy && *policy == 1) {
    DebugTraceWAlways(os, u"Windows protected print mode is on (policy %s = 1)", kProtectedPrintPolicyValue);
    return true;
  }
  std::optional<bool> enabled = os.system->ProtectedPrintEnabled();
  if (enabled && *enabled) {
    DebugTraceWAlways(os, u"Windows protected print mode is on (IsProtectedPrintEnabled)");
    return true;
  }
  DebugTrace(os, "Windows protected print mode: %s", enabled ? "off" : "not known to this system");
  return false;
}

}  // namespace lx
