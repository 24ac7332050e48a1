// The service control manager: OpenSCManagerW, OpenServiceW, CreateServiceW,
// StartServiceW, QueryServiceConfigW, ChangeServiceConfigW, ControlService,
// QueryServiceStatus, DeleteService, CloseServiceHandle. Failures leave the Windows error as the
// thread's last error.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace lx {

// A manager or service handle; 0 stands for NULL.
using ScHandle = uintptr_t;

// Access rights (winsvc.h, winnt.h).
constexpr uint32_t kScManagerConnect = 0x0001;
constexpr uint32_t kScManagerCreateService = 0x0002;
constexpr uint32_t kScManagerAllAccess = 0xF003F;
constexpr uint32_t kServiceQueryConfig = 0x0001;
constexpr uint32_t kServiceChangeConfig = 0x0002;
constexpr uint32_t kServiceQueryStatus = 0x0004;
constexpr uint32_t kServiceStart = 0x0010;
constexpr uint32_t kServiceStop = 0x0020;
constexpr uint32_t kServiceDelete = 0x10000;  // DELETE
constexpr uint32_t kServiceAllAccess = 0xF01FF;

// Service settings.
constexpr uint32_t kServiceWin32OwnProcess = 0x10;
constexpr uint32_t kServiceDemandStart = 3;
constexpr uint32_t kServiceDisabled = 4;
constexpr uint32_t kServiceErrorNormal = 1;
constexpr uint32_t kServiceNoChange = 0xFFFFFFFF;

// Controls and states.
constexpr uint32_t kServiceControlStop = 1;
constexpr uint32_t kServiceStopped = 1;
constexpr uint32_t kServiceStartPending = 2;
constexpr uint32_t kServiceStopPending = 3;
constexpr uint32_t kServiceRunning = 4;

// SERVICE_STATUS.
struct ServiceStatus {
  uint32_t serviceType = 0;
  uint32_t currentState = 0;
  uint32_t controlsAccepted = 0;
  uint32_t win32ExitCode = 0;
  uint32_t serviceSpecificExitCode = 0;
  uint32_t checkPoint = 0;
  uint32_t waitHint = 0;
};

// QUERY_SERVICE_CONFIGW, the parts we read.
struct ServiceConfig {
  uint32_t serviceType = 0;
  uint32_t startType = 0;
  uint32_t errorControl = 0;
  std::u16string binaryPath;  // the command line as the manager runs it
};

class IServices {
 public:
  virtual ~IServices() = default;
  // OpenSCManagerW(NULL, NULL, access): the local machine's active database.
  virtual ScHandle OpenSCManagerW(uint32_t access) = 0;
  // OpenServiceW.
  virtual ScHandle OpenServiceW(ScHandle manager, const std::u16string& name, uint32_t access) = 0;
  // CreateServiceW with no load-order group, tag, dependencies, account or
  // password (LocalSystem). `binaryPath` is the command line as the manager
  // will run it: quoting is the caller's.
  virtual ScHandle CreateServiceW(ScHandle manager, const std::u16string& name, const std::u16string& displayName,
                                 uint32_t access, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                                 const std::u16string& binaryPath) = 0;
  // StartServiceW with no arguments.
  virtual bool StartServiceW(ScHandle service) = 0;
  // QueryServiceConfigW (needs SERVICE_QUERY_CONFIG), with a buffer as large
  // as the manager asks for; nothing on failure.
  virtual std::optional<ServiceConfig> QueryServiceConfigW(ScHandle service) = 0;
  // ChangeServiceConfigW; an empty `binaryPath` leaves it (NULL), and group,
  // tag, dependencies, account, password and display name are left.
  virtual bool ChangeServiceConfigW(ScHandle service, uint32_t serviceType, uint32_t startType,
                                   uint32_t errorControl, const std::u16string& binaryPath) = 0;
  // ControlService; `status` gets the service's status.
  virtual bool ControlService(ScHandle service, uint32_t control, ServiceStatus& status) = 0;
  // QueryServiceStatus.
  virtual bool QueryServiceStatus(ScHandle service, ServiceStatus& status) = 0;
  // DeleteService: marks it; it goes when it has stopped and its last handle is closed.
  virtual bool DeleteService(ScHandle service) = 0;
  // CloseServiceHandle.
  virtual bool CloseServiceHandle(ScHandle handle) = 0;
};

}  // namespace lx
