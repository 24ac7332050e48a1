#include "installer/discovery/responder_service.h"

#include <optional>

#include "common/text.h"
#include "installer/core/trace.h"
#include "installer/discovery/beside_installer.h"
#include "installer/engine/folder_copy.h"
#include "installer/engine/win_path.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/service_control.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr uint32_t kPauseMs = 500;

uint32_t LastError(const Os& os) { return os.system->GetLastError(); }
void Pause(const Os& os) { os.clock->Sleep(kPauseMs); }

std::u16string ResponderRelativePath(const Os& os) {
  // A 32-bit Windows cannot run the x64 responder; the launcher picks the
  // library's folder by the same fact.
  std::optional<uint16_t> arch = os.system->NativeProcessorArchitecture();
  bool x86 = arch && *arch == kProcessorArchitectureIntel;
  return x86 ? u"Bonjour\\x86\\mDNSResponder.exe" : u"Bonjour\\x64\\mDNSResponder.exe";
}

// Whether the service found under our name runs `program`; one that runs
// something else is stopped and pointed at `program`, or refused. True when
// it may be started.
bool OwnServiceRunsProgram(const Os& os, ScHandle service, const std::u16string& program) {
  IServices& sc = *os.services;
  std::optional<ServiceConfig> config = sc.QueryServiceConfigW(service);
  if (!config) {
    DebugTraceW(os, u"QueryServiceConfig failed (%lu); ZAX Bonjour Service not started",
                static_cast<unsigned long>(LastError(os)));
    return false;
  }
  if (ServiceRunsProgram(config->binaryPath, program)) return true;
  DebugTraceW(os, u"ZAX Bonjour Service runs another program: %s", CutToBuffer(config->binaryPath, 300).c_str());
  ServiceStatus status;
  if (sc.QueryServiceStatus(service, status) && status.currentState != kServiceStopped) {
    sc.ControlService(service, kServiceControlStop, status);
    Pause(os);
  }
  if (!sc.ChangeServiceConfigW(service, kServiceNoChange, kServiceNoChange, kServiceNoChange,
                               ServiceCommandLine(program))) {
    DebugTraceW(os, u"ChangeServiceConfig failed, err=%d; ZAX Bonjour Service not started",
                static_cast<int>(LastError(os)));
    return false;
  }
  DebugTraceW(os, u"Service path updated: %s", program.c_str());
  return true;
}

}  // namespace

std::u16string OwnResponderProgram(const Os& os) { return WholePathBesideInstaller(os, ResponderRelativePath(os)); }

std::u16string InstalledResponderProgram(const Os& os) {
  std::u16string folder = InstallFolder(os);
  std::optional<std::u16string> programFiles = os.files->GetFolderPath(KnownFolder::kProgramFiles);
  // An absolute or climbing FilePath could name a folder anyone may write.
  if (folder.empty() || !programFiles || !IsSameOrInsideFolder(folder, *programFiles) ||
      IsSameOrInsideFolder(*programFiles, folder))
    return u"";
  return CombinePath(folder, ResponderRelativePath(os)).value_or(u"");
}

std::u16string CopyResponderToInstallFolder(const Os& os) {
  std::u16string target = InstalledResponderProgram(os);
  if (target.empty()) {
    DebugTraceW(os, u"No installation folder under Program Files for the responder");
    return u"";
  }
  std::u16string source = OwnResponderProgram(os);
  IFileSystem& files = *os.files;
  bool copied = !source.empty() && CreateFolderTree(os, RemoveFileSpec(target).value_or(u"")) &&
                files.Copy(source, target, false);
  if (copied) return target;
  uint32_t error = LastError(os);
  // What lies there already was put there by an administrator.
  if (files.FileExists(target)) {
    DebugTraceW(os, u"Responder not copied (%lu); the installed one is used", static_cast<unsigned long>(error));
    return target;
  }
  DebugTraceW(os, u"Responder not copied to %s (%lu)", target.c_str(), static_cast<unsigned long>(error));
  return u"";
}

bool ServiceRunsProgram(const std::u16string& binaryPath, const std::u16string& program) {
  if (program.empty() || binaryPath.empty()) return false;
  if (EqualsIgnoreCase(binaryPath, ServiceCommandLine(program))) return true;
  // Unquoted, a blank would let the manager try a shorter program first.
  return program.find_first_of(u" \t") == std::u16string::npos && EqualsIgnoreCase(binaryPath, program);
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
    // Only as ours when it runs our installed copy; InstallOwnResponder repairs it.
    std::optional<ServiceConfig> config = sc.QueryServiceConfigW(service);
    if (!config || !ServiceRunsProgram(config->binaryPath, InstalledResponderProgram(os))) {
      DebugTraceW(os, u"ZAX Bonjour Service does not run the installed responder; not started as found");
      sc.CloseServiceHandle(service);
      sc.CloseServiceHandle(manager);
      return 0;
    }
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
  std::u16string program = CopyResponderToInstallFolder(os);
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
    if (!service || !OwnServiceRunsProgram(os, service, program)) {
      if (!service) DebugTraceW(os, u"OpenService failed (%lu)", static_cast<unsigned long>(LastError(os)));
      if (service) sc.CloseServiceHandle(service);
      sc.CloseServiceHandle(manager);
      return 0;
    }
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
  // A service that did not come up is no use to the search.
  if (!started) RemoveOwnResponder(os);
  return started;
}

}  // namespace lx
