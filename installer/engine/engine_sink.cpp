#include "installer/engine/engine_sink.h"

#include "platform/clock.h"

namespace lx {

void RampProgress(const Os& os, IEngineSink& sink, int first, uint32_t pauseMs) {
  for (int step = 0; step < 5; ++step) {
    sink.SetProgress(first + step * 10);
    os.clock->Sleep(pauseMs);
  }
}

}  // namespace lx
