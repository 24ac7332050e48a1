// Time: pauses and the tick count. The simulated clock makes waits free.
#pragma once

#include <cstdint>

namespace lx {

// The fields of a SYSTEMTIME that a log line shows.
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, milliseconds = 0;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  virtual uint64_t TickCount() = 0;
  // GetLocalTime.
  virtual LocalTime Now() = 0;
};

}  // namespace lx
