#include "installer/core/exit_codes.h"

namespace lx {

int ExitCodeOf(const WizardState& state, bool interactive) {
  switch (state.outcome) {
    case Outcome::kInstalled:
    case Outcome::kDriverOnly: return kExitSuccess;
    case Outcome::kRemoved: return state.restartStarted ? kExitRestartStarted : kExitRestartRequired;
    case Outcome::kNone:
      if (state.protectedPrint) return kExitProtectedPrint;
      return interactive ? kExitCancelled : kExitFailure;
    default: return kExitFailure;
  }
}

const char16_t* OutcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::kNone: return u"nothing done";
    case Outcome::kInstalled: return u"installed";
    case Outcome::kDriverOnly: return u"driver installed without a printer";
    case Outcome::kNameRefused: return u"failed: a name or address was refused";
    case Outcome::kPortNotCreated: return u"failed: the port was not created";
    case Outcome::kPrinterNotSeen: return u"failed: the printer did not appear";
    case Outcome::kDriverNotSeen: return u"failed: the driver did not appear";
    case Outcome::kNotStarted: return u"failed: the operation could not start";
    case Outcome::kRemoved: return u"removed";
    case Outcome::kRemovalIncomplete: return u"removal incomplete";
  }
  return u"unknown";
}

}  // namespace lx
