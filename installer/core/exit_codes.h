// The program's exit codes, as deployment tools read them (Windows
// Installer's error codes and Intune's default return codes).
#pragma once

#include "installer/core/wizard_state.h"

namespace lx {

constexpr int kExitSuccess = 0;
constexpr int kExitBadCommandLine = 87;       // ERROR_INVALID_PARAMETER
constexpr int kExitCancelled = 1602;          // ERROR_INSTALL_USEREXIT
constexpr int kExitFailure = 1603;            // ERROR_INSTALL_FAILURE
constexpr int kExitAnotherRunning = 1618;     // ERROR_INSTALL_ALREADY_RUNNING
constexpr int kExitProtectedPrint = 1625;     // ERROR_INSTALL_PACKAGE_REJECTED: forbidden by system policy
constexpr int kExitRestartStarted = 1641;     // ERROR_SUCCESS_REBOOT_INITIATED
constexpr int kExitRestartRequired = 3010;    // ERROR_SUCCESS_REBOOT_REQUIRED

// The code of a run that got as far as its outcome. An interactive run
// that ends before any operation finished was left by the user, unless
// protected print mode had refused the installation.
int ExitCodeOf(const WizardState& state, bool interactive);

// The outcome's name in the log's last line.
const char16_t* OutcomeName(Outcome outcome);

}  // namespace lx
