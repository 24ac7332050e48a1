// How the network search reaches the wizard's windows. The wizard binds a
// sink to a page's window: posts become PostMessageW, the timer SetTimer on
// that window, whose WM_TIMER with kSearchWindowTimerId it hands to
// NetSearch::OnSearchWindowEnd. Every notice carries the number of the
// search it belongs to as its wParam, so that a page can tell a late notice
// of an earlier search (NetSearch::IsCurrent).
#pragma once

#include <cstdint>

namespace lx {

constexpr unsigned kWmNetSearchOne = 0x0400 + 500;   // the list holds exactly one printer
constexpr unsigned kWmNetSearchMore = 0x0400 + 501;  // the list holds two or more
constexpr unsigned kWmNetSearchEnd = 0x0400 + 502;   // the 5-second search window is over

// The search page's own progress timer is 1.
constexpr unsigned kSearchWindowTimerId = 2;

class INetSearchSink {
 public:
  virtual ~INetSearchSink() = default;
  // IsWindow
  virtual bool IsWindow() = 0;
  // PostMessageW(window, message, search, 0); any thread.
  virtual void Post(unsigned message, uintptr_t search) = 0;
  // SetTimer(window, id, periodMs, ...) / KillTimer(window, id); UI thread.
  virtual bool SetTimer(unsigned id, uint32_t periodMs) = 0;
  virtual void KillTimer(unsigned id) = 0;
};

}  // namespace lx
