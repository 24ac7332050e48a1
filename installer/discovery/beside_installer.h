// Files the installer loads or registers from its own folder: the DNS-SD
// library and the responder program. Their path is built only from a whole
// module path; a cut one would name a file in another folder.
#pragma once

#include <string>

#include "platform/os.h"

namespace lx {

// The installer's folder (from its whole, absolute module path) followed by
// `relative`; empty, with a trace line, when the module path reached the
// MAX_PATH buffer, has no folder, or the result would not fit MAX_PATH.
std::u16string WholePathBesideInstaller(const Os& os, const std::u16string& relative);

}  // namespace lx
