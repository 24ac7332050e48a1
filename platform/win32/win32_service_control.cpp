#include "platform/win32/win32_service_control.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace lx {

namespace {

SC_HANDLE Sc(ScHandle h) { return reinterpret_cast<SC_HANDLE>(h); }
ScHandle Out(SC_HANDLE h) { return reinterpret_cast<ScHandle>(h); }

void Copy(const SERVICE_STATUS& from, ServiceStatus& to) {
  to.serviceType = from.dwServiceType;
  to.currentState = from.dwCurrentState;
  to.controlsAccepted = from.dwControlsAccepted;
  to.win32ExitCode = from.dwWin32ExitCode;
  to.serviceSpecificExitCode = from.dwServiceSpecificExitCode;
  to.checkPoint = from.dwCheckPoint;
  to.waitHint = from.dwWaitHint;
}

}  // namespace

ScHandle Win32ServiceControl::OpenSCManagerW(uint32_t access) {
  return Out(::OpenSCManagerW(nullptr, nullptr, access));
}

ScHandle Win32ServiceControl::OpenServiceW(ScHandle manager, const std::u16string& name, uint32_t access) {
  return Out(::OpenServiceW(Sc(manager), W(name), access));
}

ScHandle Win32ServiceControl::CreateServiceW(ScHandle manager, const std::u16string& name,
                                            const std::u16string& displayName, uint32_t access,
                                            uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                                            const std::u16string& binaryPath) {
  return Out(::CreateServiceW(Sc(manager), W(name), W(displayName), access, serviceType, startType, errorControl,
                              W(binaryPath), nullptr, nullptr, nullptr, nullptr, nullptr));
}

bool Win32ServiceControl::StartServiceW(ScHandle service) {
  return ::StartServiceW(Sc(service), 0, nullptr) != FALSE;
}

std::optional<ServiceConfig> Win32ServiceControl::QueryServiceConfigW(ScHandle service) {
  // First asked with no buffer for the size it needs; a path that grew in
  // between gets one more try.
  DWORD needed = 0;
  std::vector<uint64_t> buffer;  // aligned for the structure
  for (int attempt = 0; attempt < 3; ++attempt) {
    auto* config = buffer.empty() ? nullptr : reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    DWORD bytes = static_cast<DWORD>(buffer.size() * sizeof(uint64_t));
    if (::QueryServiceConfigW(Sc(service), config, bytes, &needed)) {
      if (!config) break;  // no buffer cannot hold the strings
      ServiceConfig out;
      out.serviceType = config->dwServiceType;
      out.startType = config->dwStartType;
      out.errorControl = config->dwErrorControl;
      if (config->lpBinaryPathName) out.binaryPath = U(config->lpBinaryPathName);
      return out;
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= bytes) return std::nullopt;
    buffer.assign((needed + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
  }
  return std::nullopt;
}

bool Win32ServiceControl::ChangeServiceConfigW(ScHandle service, uint32_t serviceType, uint32_t startType,
                                              uint32_t errorControl, const std::u16string& binaryPath) {
  return ::ChangeServiceConfigW(Sc(service), serviceType, startType, errorControl, WOrNull(binaryPath), nullptr,
                                nullptr, nullptr, nullptr, nullptr, nullptr) != FALSE;
}

bool Win32ServiceControl::ControlService(ScHandle service, uint32_t control, ServiceStatus& status) {
  SERVICE_STATUS s = {};
  BOOL ok = ::ControlService(Sc(service), control, &s);
  Copy(s, status);
  return ok != FALSE;
}

bool Win32ServiceControl::QueryServiceStatus(ScHandle service, ServiceStatus& status) {
  SERVICE_STATUS s = {};
  BOOL ok = ::QueryServiceStatus(Sc(service), &s);
  Copy(s, status);
  return ok != FALSE;
}

bool Win32ServiceControl::DeleteService(ScHandle service) { return ::DeleteService(Sc(service)) != FALSE; }

bool Win32ServiceControl::CloseServiceHandle(ScHandle handle) { return ::CloseServiceHandle(Sc(handle)) != FALSE; }

}  // namespace lx
