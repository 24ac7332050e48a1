// The computer's printer ports as the port page lists them: virtual and PDF
// ports left out, serial and parallel ports described in the UI language,
// sorted by kind (LPT, COM, USB, others) and then by number.
#pragma once

#include <string>
#include <vector>

#include "platform/os.h"

namespace lx {

struct PortEntry {
  std::u16string name;
  std::u16string description;
};

std::vector<PortEntry> ListPorts(const Os& os);

// Sort keys: kind 1 LPT, 2 COM, 3 USB, 4 others; the first run of decimal
// digits in the name (0 when there is none; a run too long for an int
// saturates).
int PortKind(const std::u16string& name);
int PortNumber(const std::u16string& name);

}  // namespace lx
