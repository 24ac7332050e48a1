#include "platform/sim/sim_clock.h"

namespace lx {

void SimClock::After(uint64_t delayMs, std::function<void()> action) {
  due_.emplace(now + delayMs, std::move(action));
}

void SimClock::Advance(uint64_t ms) {
  uint64_t target = now + ms;
  while (!due_.empty() && due_.begin()->first <= target) {
    auto it = due_.begin();
    if (it->first > now) now = it->first;
    auto action = std::move(it->second);
    due_.erase(it);
    action();  // may schedule more
  }
  now = target;
}

LocalTime SimClock::Now() {
  LocalTime t = start;
  uint64_t ms = now + t.milliseconds + 1000ull * (t.second + 60ull * (t.minute + 60ull * t.hour));
  t.milliseconds = static_cast<int>(ms % 1000);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.minute = static_cast<int>(ms / 60000 % 60);
  t.hour = static_cast<int>(ms / 3600000 % 24);
  for (uint64_t days = ms / 86400000; days > 0; --days) {
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (t.year % 4 == 0 && t.year % 100 != 0) || t.year % 400 == 0;
    int inMonth = kDays[t.month - 1] + (t.month == 2 && leap ? 1 : 0);
    if (++t.day > inMonth) {
      t.day = 1;
      if (++t.month > 12) {
        t.month = 1;
        ++t.year;
      }
    }
  }
  return t;
}

}  // namespace lx
