// How the engine's workers reach the wizard: the installing page's progress
// bar and the completion messages posted to the sheet.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/os.h"

namespace lx {

constexpr unsigned kWmUser = 0x0400;
constexpr unsigned kWmInstallDone = kWmUser + 700;      // finish page, installed
constexpr unsigned kWmUninstallDone = kWmUser + 701;    // finish page, removed
constexpr unsigned kWmAccessoryDone = kWmUser + 703;    // accessory value written
constexpr unsigned kWmShowAccessories = kWmUser + 704;  // installed; accessories page wanted

class IEngineSink {
 public:
  virtual ~IEngineSink() = default;
  // PBM_SETPOS to the installing page's progress bar (sent across threads).
  virtual void SetProgress(int position) = 0;
  // PostMessageW of a completion message (wParam 0, lParam 0) to the sheet.
  virtual void PostCompletion(unsigned message) = 0;
};

// Where the long operations run: one worker thread at a time, normal
// priority, default stack, never waited for. Tests run the workers when they
// choose.
class IWorkerStarter {
 public:
  virtual ~IWorkerStarter() = default;
  // False when no thread could be made: the work has not run and never will.
  virtual bool Start(std::function<void()> work) = 0;
};

// Positions first, first+10, ... first+40, pausing `pauseMs` after each.
void RampProgress(const Os& os, IEngineSink& sink, int first, uint32_t pauseMs);

}  // namespace lx
