// Named kernel objects shared between processes.
#pragma once

#include <cstdint>
#include <string>

namespace lx {

using Handle = uintptr_t;

class ISync {
 public:
  virtual ~ISync() = default;
  // CreateMutexW; `alreadyExisted` is GetLastError() == ERROR_ALREADY_EXISTS
  // right after the call. A zero handle means the call failed.
  virtual Handle CreateNamedMutex(const std::u16string& name, bool initialOwner,
                                  bool& alreadyExisted) = 0;
  virtual bool ReleaseMutex(Handle mutex) = 0;
  virtual bool CloseHandle(Handle handle) = 0;
};

}  // namespace lx
