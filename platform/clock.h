// Time: pauses and the tick count. The simulated clock makes waits free.
#pragma once

#include <cstdint>

namespace lx {

class IClock {
 public:
  virtual ~IClock() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  virtual uint64_t TickCount() = 0;
};

}  // namespace lx
