// The simulated machine's session: records restart requests; a test can make
// the system refuse them with a Windows error.
#pragma once

#include <vector>

#include "platform/session.h"
#include "platform/system.h"

namespace lx {

class SimSession : public ISession {
 public:
  explicit SimSession(ISystem& system) : system_(system) {}
  bool ExitSession(uint32_t flags, uint32_t reason) override {
    requests.push_back({flags, reason});
    if (refuseWithError) {
      system_.SetLastError(refuseWithError);
      return false;
    }
    return true;
  }

  struct Request {
    uint32_t flags, reason;
  };
  std::vector<Request> requests;
  uint32_t refuseWithError = 0;  // 0: the request is accepted

 private:
  ISystem& system_;
};

}  // namespace lx
