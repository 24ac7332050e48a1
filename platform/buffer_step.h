// Calls that learn a size, allocate a buffer and then read into it: which of
// the three steps failed, so that callers can say so.
#pragma once

namespace lx {

enum class BufferStep { kSizeQuery, kAllocation, kRead };

}  // namespace lx
