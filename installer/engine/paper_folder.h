// The plug-in's shared paper file, made by the installer (elevated) so that
// no user's process ever makes it: <common application data>\ZORVIKA\LX-220
// and lx220uip.ini, each with an explicit protected DACL.
#pragma once

#include "platform/os.h"

namespace lx {

// Each level is made when missing. One that is there keeps its contents and
// gets the Administrators as owner and its DACL again; a link (junction,
// symbolic link) or a hard-linked file planted there is removed by its own
// handle, never followed, and the level made anew. A trace line tells each
// change and each failure. False when a level could not be made right; a
// process without the permissions seam does nothing.
bool PrepareSharedPaperFile(const Os& os);

}  // namespace lx
