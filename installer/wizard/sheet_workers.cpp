#include "installer/wizard/sheet_workers.h"

#include <thread>

namespace lx {

void ThreadWorkers::Start(std::function<void()> work) {
  std::thread(std::move(work)).detach();
}

}  // namespace lx
