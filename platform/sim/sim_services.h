// The simulated service control manager: a database of services with their
// settings and states. A start runs the program that Windows would take from
// the binary path (an unquoted path with blanks is tried prefix by prefix, as
// CreateProcess does) and fails with ERROR_FILE_NOT_FOUND when there is none;
// a deleted service is marked and goes when it has stopped and its last
// handle is closed. Errors are those the real manager gives.
#pragma once

#include <map>
#include <string>

#include "platform/service_control.h"
#include "platform/sim/sim_caller.h"

namespace lx {

class SimFileSystem;

struct SimService {
  std::u16string displayName;
  uint32_t type = kServiceWin32OwnProcess;
  uint32_t startType = kServiceDemandStart;
  uint32_t errorControl = kServiceErrorNormal;
  std::u16string binaryPath;
  uint32_t state = kServiceStopped;
  bool markedForDelete = false;
  // Set when a start finds its program: the program that runs.
  std::u16string runningProgram;
  int starts = 0;
  // The service's own failure to come up (0: it comes up), e.g. 1053.
  uint32_t failsToStart = 0;
};

class SimServices : public IServices {
 public:
  SimServices(SimCaller& caller, SimFileSystem& files) : caller_(caller), files_(files) {}

  ScHandle OpenSCManagerW(uint32_t access) override;
  ScHandle OpenServiceW(ScHandle manager, const std::u16string& name, uint32_t access) override;
  ScHandle CreateServiceW(ScHandle manager, const std::u16string& name, const std::u16string& displayName,
                         uint32_t access, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                         const std::u16string& binaryPath) override;
  bool StartServiceW(ScHandle service) override;
  std::optional<ServiceConfig> QueryServiceConfigW(ScHandle service) override;
  bool ChangeServiceConfigW(ScHandle service, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                           const std::u16string& binaryPath) override;
  bool ControlService(ScHandle service, uint32_t control, ServiceStatus& status) override;
  bool QueryServiceStatus(ScHandle service, ServiceStatus& status) override;
  bool DeleteService(ScHandle service) override;
  bool CloseServiceHandle(ScHandle handle) override;

  // Test set-up and inspection; names compare case-insensitively.
  SimService& Add(const std::u16string& name, SimService service);
  SimService* Find(const std::u16string& name);
  size_t OpenHandles() const { return handles_.size(); }
  // The program a start of this binary path would run, empty when none exists.
  std::u16string ProgramOf(const std::u16string& binaryPath);

  // A program without administrator rights: only connect access to the manager.
  bool administrator = true;
  // Calls (by their Win32 name) made to fail with the given error, for the
  // failures a test cannot bring about otherwise.
  std::map<std::string, uint32_t> failures;

 private:
  struct Open {
    bool manager = false;
    std::u16string key;  // lower-case service name
    uint32_t access = 0;
  };
  Open* Lookup(ScHandle handle, bool manager);
  SimService* ServiceOf(ScHandle handle, uint32_t needed);
  bool Failing(const char* call);
  void DropIfGone(const std::u16string& key);
  ScHandle Fail(uint32_t error) {
    caller_.SetError(error);
    return 0;
  }

  SimCaller& caller_;
  SimFileSystem& files_;
  std::map<std::u16string, SimService> services_;  // by lower-case name
  std::map<ScHandle, Open> handles_;
  ScHandle next_ = 0x5C000;
};

}  // namespace lx
