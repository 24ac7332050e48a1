#include "platform/sim/sim_kernel.h"
#include "platform/win_errors.h"

namespace lx {

Handle SimSync::CreateNamedMutex(const std::u16string& name, bool initialOwner, bool& alreadyExisted) {
  std::shared_ptr<SimKernel::Mutex>& m = kernel_.mutexes[name];
  alreadyExisted = m && m->handles > 0;
  if (!alreadyExisted) m = std::make_shared<SimKernel::Mutex>();
  // Ownership is only taken for a new object, as CreateMutexW does.
  if (!alreadyExisted && initialOwner) {
    m->ownerProcess = processId_;
    m->recursion = 1;
  }
  ++m->handles;
  system_.SetLastError(alreadyExisted ? kErrorAlreadyExists : 0);
  Handle h = next_;
  next_ += 4;
  handles_[h] = m;
  return h;
}

bool SimSync::ReleaseMutex(Handle mutex) {
  auto it = handles_.find(mutex);
  if (it == handles_.end()) {
    system_.SetLastError(kErrorInvalidHandle);
    return false;
  }
  auto& m = *it->second;
  if (m.ownerProcess != processId_ || m.recursion == 0) {
    system_.SetLastError(kErrorNotOwner);
    return false;
  }
  if (--m.recursion == 0) m.ownerProcess = 0;
  return true;
}

bool SimSync::CloseHandle(Handle handle) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) {
    system_.SetLastError(kErrorInvalidHandle);
    return false;
  }
  --it->second->handles;
  handles_.erase(it);
  return true;
}

void SimSync::CloseAll() {
  for (auto& [h, m] : handles_) {
    --m->handles;
    if (m->ownerProcess == processId_) {
      m->ownerProcess = 0;
      m->recursion = 0;
    }
  }
  handles_.clear();
}

}  // namespace lx
