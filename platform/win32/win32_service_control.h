// The service control manager on the real Windows calls.
#pragma once

#include "platform/service_control.h"

namespace lx {

class Win32ServiceControl : public IServices {
 public:
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
};

}  // namespace lx
