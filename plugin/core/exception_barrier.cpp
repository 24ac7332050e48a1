#include "plugin/core/exception_barrier.h"

namespace lx {

void TraceCaught(const PluginPlatform& platform, const char16_t* where, bool outOfMemory) noexcept {
  try {
    Trace(platform, outOfMemory ? u"%s: out of memory" : u"%s: failed (exception)", where);
  } catch (...) {
    // Too little memory even for the line: the answer still goes back.
  }
}

}  // namespace lx
