#include "installer/discovery/responder_service.h"

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "platform/clock.h"
#include "platform/service_control.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr uint32_t kPauseMs = 500;

uint32_t LastError(const Os& os) { return os.system->GetLastError(); }
void Pause(const Os& os) { os.clock->Sleep(kPauseMs); }

}  // namespace

std::u16string OwnResponderProgram(const Os& os) {
  // A 32-bit Windows cannot run the x64 responder; the launcher picks the
  // library's folder by the same fact.
  std::optional<uint16_t> arch = os.system->NativeProcessorArchitecture();
  bool x86 = arch && *arch == kProcessorArchitectureIntel;
  return PathBesideProgram(os, x86 ? u"Bonjour\\x86\\mDNSResponder.exe" : u"Bonjour\\x64\\mDNSResponder.exe");
}

std::u16string ServiceCommandLine(const std::u16string& program) {
  if (program.empty() || program.find(u'"') != std::u16string::npos) return std::u16string();
  return u"\"" + program + u"\"";
}

int EnsureResponderRunning(const Os& os) {
  IServices& sc = *os.services;
  ScHandle manager = sc.OpenSCManagerW(kScManagerAllAccess);
  if (!manager) return 0;
  ScHandle service = sc.OpenServiceW(manager, kSystemResponderService, kServiceAllAccess);
  if (service) {
    DebugTraceW(os, u"Found Bonjour Service");
  } else {
    DebugTraceW(os, u"Bonjour Service Not found");
    service = sc.OpenServiceW(manager, kOwnResponderService, kServiceAllAccess);
    if (!service) {
      DebugTraceW(os, u"ZAX Bonjour Service Not found");
      sc.CloseServiceHandle(manager);
      return 0;
    }
    DebugTraceW(os, u"Found ZAX Bonjour Service");
  }
  int result = 1;
  ServiceStatus status;
  if (sc.QueryServiceStatus(service, status) && status.currentState == kServiceRunning) {
    DebugTraceW(os, u"Service already running");
  } else {
    DebugTraceW(os, u"Service exists but not running, try StartService...");
    if (sc.StartServiceW(service)) {
      DebugTraceW(os, u"StartService success (existing)");
    } else {
      DebugTraceW(os, u"StartService failed (%lu)", static_cast<unsigned long>(LastError(os)));
      Pause(os);
      result = 0;
    }
  }
  sc.CloseServiceHandle(service);
  sc.CloseServiceHandle(manager);
  return result;
}

int InstallOwnResponder(const Os& os) {
  IServices& sc = *os.services;
  ScHandle manager = sc.OpenSCManagerW(kScManagerAllAccess);
  if (!manager) {
    DebugTraceW(os, u"OpenSCManager failed (%lu)", static_cast<unsigned long>(LastError(os)));
    return 0;
  }
  DebugTraceW(os, u"Start Bonjour Service");
  std::u16string program = OwnResponderProgram(os);
  DebugTraceW(os, u"bonjour Path=%s", program.c_str());
  std::u16string commandLine = ServiceCommandLine(program);
  if (commandLine.empty()) {
    DebugTraceW(os, u"Create Service Failed, err = %d", static_cast<int>(kErrorInvalidName));
    sc.CloseServiceHandle(manager);
    return 0;
  }
  ScHandle service = sc.CreateServiceW(manager, kOwnResponderService, kOwnResponderService, kServiceAllAccess,
                                      kServiceWin32OwnProcess, kServiceDemandStart, kServiceErrorNormal,
                                      commandLine);
  if (!service) {
    uint32_t error = LastError(os);
    if (error != kErrorServiceExists) {
      DebugTraceW(os, u"Create Service Failed, err = %d", static_cast<int>(error));
      sc.CloseServiceHandle(manager);
      return 0;
    }
    DebugTraceW(os, u"Service already exists, try open");
    service = sc.OpenServiceW(manager, kOwnResponderService, kServiceAllAccess);
  }
  Pause(os);
  bool started = sc.StartServiceW(service);
  if (started) {
    DebugTraceW(os, u"StartService success");
  } else {
    uint32_t error = LastError(os);
    DebugTraceW(os, u"StartService failed (%lu), retry once", static_cast<unsigned long>(error));
    Pause(os);
    // A service left from an earlier run may point at a folder that is gone.
    if (error == kErrorFileNotFound) {
      if (sc.ChangeServiceConfigW(service, kServiceNoChange, kServiceNoChange, kServiceNoChange, commandLine)) {
        DebugTraceW(os, u"Service path updated: %s", program.c_str());
      } else {
        DebugTraceW(os, u"ChangeServiceConfig failed, err=%d", static_cast<int>(LastError(os)));
        Pause(os);
      }
    }
    started = sc.StartServiceW(service);
    if (started)
      DebugTraceW(os, u"StartService success");
    else
      DebugTraceW(os, u"StartService still failed (%lu)", static_cast<unsigned long>(LastError(os)));
  }
  if (service) sc.CloseServiceHandle(service);
  sc.CloseServiceHandle(manager);
  return started ? 1 : 0;
}

void RemoveOwnResponder(const Os& os) {
  IServices& sc = *os.services;
  ScHandle manager = sc.OpenSCManagerW(kScManagerConnect);
  if (!manager) return;
  ScHandle service = sc.OpenServiceW(manager, kOwnResponderService, kServiceStop | kServiceQueryStatus | kServiceDelete);
  if (service) {
    ServiceStatus status;
    sc.ControlService(service, kServiceControlStop, status);
    Pause(os);
    sc.DeleteService(service);
    sc.CloseServiceHandle(service);
  }
  sc.CloseServiceHandle(manager);
}

bool PrepareResponder(const Os& os) {
  if (EnsureResponderRunning(os)) return true;
  DebugTraceW(os, u"Bonjour Service 运行异常");
  bool started = InstallOwnResponder(os) != 0;
  DebugTraceW(os, started ? u"Bonjour Success" : u"Bonjour Fail");
  return started;
}

}  // namespace lx
