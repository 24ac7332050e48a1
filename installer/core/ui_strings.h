// Texts of the installer's string table in the UI language in force.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

// Looks the string up in exactly the language put in force (Wine and some
// Windows set-ups ignore the thread's UI language), then as the loader would.
std::u16string LoadUiString(const Os& os, unsigned id);

}  // namespace lx
