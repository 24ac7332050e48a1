// The post-print action (1 tear-off, 2 peel-off, 3 cut) written into a
// printer's default DEVMODE, at a configured distance from its end.
#pragma once

#include <cstdint>
#include <string>

#include "platform/os.h"

namespace lx {

// printPostOpOffset of the first model with that DriverName, when its
// ShowSetting is 1 and the offset is not negative; -1 otherwise.
int GetPostActionOffset(const Os& os, const std::u16string& driverName);

// True when the 32-bit value at totalSize - offset lies wholly inside the
// driver-private part that follows the dmSize public bytes.
bool PostActionFits(int64_t totalSize, int64_t dmSize, int32_t offset);

// Writes `value` into the printer's default DEVMODE; true when SetPrinter took it.
bool ApplyPostAction(const Os& os, const std::u16string& printerName, int32_t offset,
                     int32_t value);

}  // namespace lx
