// Kernel objects shared by the programs of one simulated machine (named
// mutexes), and each program's handles to them.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/sync.h"
#include "platform/system.h"

namespace lx {

class SimKernel {
 public:
  struct Mutex {
    int handles = 0;        // open handles, all programs together
    Handle ownerProcess = 0;  // 0 when not owned
    int recursion = 0;
  };
  // Kernel object names are case-sensitive on Windows.
  std::map<std::u16string, std::shared_ptr<Mutex>> mutexes;
};

class SimSync : public ISync {
 public:
  SimSync(SimKernel& kernel, ISystem& system, Handle processId)
      : kernel_(kernel), system_(system), processId_(processId) {}
  Handle CreateNamedMutex(const std::u16string& name, bool initialOwner, bool& alreadyExisted) override;
  bool ReleaseMutex(Handle mutex) override;
  bool CloseHandle(Handle handle) override;
  // Ends the program: every handle it still holds is closed, owned mutexes abandoned.
  void CloseAll();
  size_t OpenHandles() const { return handles_.size(); }

 private:
  SimKernel& kernel_;
  ISystem& system_;
  Handle processId_;
  Handle next_ = 4;
  std::map<Handle, std::shared_ptr<SimKernel::Mutex>> handles_;
};

}  // namespace lx
