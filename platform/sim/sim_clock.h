// Virtual time: Sleep advances it at once, and what other programs do later
// (the printer tools the installer starts) is scheduled on it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>

#include "platform/clock.h"

namespace lx {

class SimClock : public IClock {
 public:
  void Sleep(uint32_t ms) override { Advance(ms); }
  uint64_t TickCount() override { return now; }
  // Local time is `start` plus the virtual milliseconds gone by.
  LocalTime Now() override;

  // Runs `action` when the clock reaches now + delay; never during this call,
  // at the earliest on the next Sleep (Sleep(0) included).
  void After(uint64_t delayMs, std::function<void()> action);
  // Moves the clock on by `ms`, running the actions that fall due in time
  // order, each with the clock at its own time.
  void Advance(uint64_t ms);
  size_t Pending() const { return due_.size(); }

  uint64_t now = 0;
  LocalTime start{2026, 12, 10, 9, 30, 0, 0};

 private:
  std::multimap<uint64_t, std::function<void()>> due_;
};

}  // namespace lx
