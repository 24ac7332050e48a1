#include "installer/wizard/sheet_workers.h"

#include <system_error>
#include <thread>

namespace lx {

bool ThreadWorkers::Start(std::function<void()> work) {
  try {
    std::thread(std::move(work)).detach();
    return true;
  } catch (const std::system_error&) {
    return false;
  }
}

}  // namespace lx
