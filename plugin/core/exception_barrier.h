// Every way into the plug-in from outside (COM methods, exports) answers
// through this: the spooler and the printing application own the thread, so
// no exception may leave the module.
#pragma once

#include <new>

#include "plugin/core/plugin_platform.h"
#include "plugin/oem/oem_types.h"

namespace lx {

// The trace line of a caught exception; itself never throws.
void TraceCaught(const PluginPlatform& platform, const char16_t* where, bool outOfMemory) noexcept;

// `answer()`'s HRESULT; E_OUTOFMEMORY when it ran out of memory, E_FAIL for
// any other exception, each with a trace line naming `where`.
template <typename Answer>
HRESULT Barrier(const PluginPlatform& platform, const char16_t* where, Answer&& answer) noexcept {
  try {
    return answer();
  } catch (const std::bad_alloc&) {
    TraceCaught(platform, where, true);
    return E_OUTOFMEMORY;
  } catch (...) {
    TraceCaught(platform, where, false);
    return E_FAIL;
  }
}

}  // namespace lx
