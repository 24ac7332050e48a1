// The UI language suffix that the driver UI plug-in reads to choose its
// resource module and help file.
#pragma once

#include "installer/core/wizard_state.h"
#include "platform/os.h"

namespace lx {

// Stores the suffix of the language in force ("enus" when it has no row or
// storing fails) as "Suffix" under HKLM\SOFTWARE\<the state's language path>.
bool WriteUiLanguageSuffix(const Os& os, const WizardState& state);

}  // namespace lx
