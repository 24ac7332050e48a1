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

}  // namespace lx
