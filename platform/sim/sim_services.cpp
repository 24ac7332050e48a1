#include "platform/sim/sim_services.h"

#include "common/text.h"
#include "platform/sim/sim_files.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

constexpr uint32_t kManagerRightsOfUsers = kScManagerConnect | 0x0004 /*ENUMERATE*/ | 0x0010 /*QUERY_LOCK*/;

// CreateProcess adds ".exe" when the last part of the name has no extension.
std::u16string WithExe(const std::u16string& name) {
  size_t slash = name.find_last_of(u"\\/");
  size_t dot = name.find_last_of(u'.');
  return dot != std::u16string::npos && (slash == std::u16string::npos || dot > slash) ? name : name + u".exe";
}

}  // namespace

std::u16string SimServices::ProgramOf(const std::u16string& binaryPath) {
  std::u16string line(Trim(binaryPath));
  if (!line.empty() && line[0] == u'"') {
    size_t close = line.find(u'"', 1);
    std::u16string name = WithExe(line.substr(1, close == std::u16string::npos ? std::u16string::npos : close - 1));
    return files_.FileExists(name) ? name : std::u16string();
  }
  // Unquoted: every run of text before a blank is a candidate, shortest first.
  for (size_t pos = 0;; ++pos) {
    pos = line.find_first_of(u" \t", pos);
    std::u16string name = WithExe(line.substr(0, pos));
    if (files_.FileExists(name)) return name;
    if (pos == std::u16string::npos) return std::u16string();
  }
}

SimService& SimServices::Add(const std::u16string& name, SimService service) {
  return services_[ToLowerAscii(name)] = std::move(service);
}

SimService* SimServices::Find(const std::u16string& name) {
  auto it = services_.find(ToLowerAscii(name));
  return it == services_.end() ? nullptr : &it->second;
}

bool SimServices::Failing(const char* call) {
  auto it = failures.find(call);
  if (it == failures.end()) return false;
  caller_.SetError(it->second);
  return true;
}

SimServices::Open* SimServices::Lookup(ScHandle handle, bool manager) {
  auto it = handles_.find(handle);
  if (it == handles_.end() || it->second.manager != manager) {
    caller_.SetError(kErrorInvalidHandle);
    return nullptr;
  }
  return &it->second;
}

SimService* SimServices::ServiceOf(ScHandle handle, uint32_t needed) {
  Open* open = Lookup(handle, false);
  if (!open) return nullptr;
  if ((open->access & needed) != needed) {
    caller_.SetError(kErrorAccessDenied);
    return nullptr;
  }
  return Find(open->key);
}

void SimServices::DropIfGone(const std::u16string& key) {
  auto it = services_.find(key);
  if (it == services_.end() || !it->second.markedForDelete || it->second.state != kServiceStopped) return;
  for (const auto& h : handles_)
    if (!h.second.manager && h.second.key == key) return;
  services_.erase(it);
}

ScHandle SimServices::OpenSCManagerW(uint32_t access) {
  if (Failing("OpenSCManagerW")) return 0;
  if (!administrator && (access & ~kManagerRightsOfUsers)) return Fail(kErrorAccessDenied);
  ScHandle h = next_ += 4;
  handles_[h] = Open{true, u"", access};
  return h;
}

ScHandle SimServices::OpenServiceW(ScHandle manager, const std::u16string& name, uint32_t access) {
  if (!Lookup(manager, true)) return 0;
  if (Failing("OpenServiceW")) return 0;
  if (!Find(name)) return Fail(kErrorServiceDoesNotExist);
  ScHandle h = next_ += 4;
  handles_[h] = Open{false, ToLowerAscii(name), access};
  return h;
}

ScHandle SimServices::CreateServiceW(ScHandle manager, const std::u16string& name, const std::u16string& displayName,
                                    uint32_t access, uint32_t serviceType, uint32_t startType, uint32_t errorControl,
                                    const std::u16string& binaryPath) {
  Open* m = Lookup(manager, true);
  if (!m) return 0;
  if (!(m->access & kScManagerCreateService)) return Fail(kErrorAccessDenied);
  if (Failing("CreateServiceW")) return 0;
  if (name.empty() || binaryPath.empty()) return Fail(kErrorInvalidParameter);
  if (SimService* old = Find(name)) return Fail(old->markedForDelete ? kErrorServiceMarkedForDelete : kErrorServiceExists);
  for (const auto& s : services_)
    if (EqualsIgnoreCase(s.second.displayName, displayName) || EqualsIgnoreCase(s.first, displayName))
      return Fail(kErrorDuplicateServiceName);
  SimService s;
  s.displayName = displayName;
  s.type = serviceType;
  s.startType = startType;
  s.errorControl = errorControl;
  s.binaryPath = binaryPath;
  Add(name, s);
  ScHandle h = next_ += 4;
  handles_[h] = Open{false, ToLowerAscii(name), access};
  return h;
}

bool SimServices::StartServiceW(ScHandle service) {
  SimService* s = ServiceOf(service, kServiceStart);
  if (!s) return false;
  if (Failing("StartServiceW")) return false;
  if (s->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  if (s->state != kServiceStopped) return Fail(kErrorServiceAlreadyRunning);
  if (s->startType == kServiceDisabled) return Fail(kErrorServiceDisabled);
  std::u16string program = ProgramOf(s->binaryPath);
  if (program.empty()) return Fail(kErrorFileNotFound);
  ++s->starts;
  if (s->failsToStart) return Fail(s->failsToStart);
  s->runningProgram = program;
  s->state = kServiceRunning;
  return true;
}

std::optional<ServiceConfig> SimServices::QueryServiceConfigW(ScHandle service) {
  SimService* s = ServiceOf(service, kServiceQueryConfig);
  if (!s) return std::nullopt;
  if (Failing("QueryServiceConfigW")) return std::nullopt;
  ServiceConfig config;
  config.serviceType = s->type;
  config.startType = s->startType;
  config.errorControl = s->errorControl;
  config.binaryPath = s->binaryPath;
  return config;
}

bool SimServices::ChangeServiceConfigW(ScHandle service, uint32_t serviceType, uint32_t startType,
                                      uint32_t errorControl, const std::u16string& binaryPath) {
  SimService* s = ServiceOf(service, kServiceChangeConfig);
  if (!s) return false;
  if (Failing("ChangeServiceConfigW")) return false;
  if (s->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  if (serviceType != kServiceNoChange) s->type = serviceType;
  if (startType != kServiceNoChange) s->startType = startType;
  if (errorControl != kServiceNoChange) s->errorControl = errorControl;
  if (!binaryPath.empty()) s->binaryPath = binaryPath;
  return true;
}

bool SimServices::ControlService(ScHandle service, uint32_t control, ServiceStatus& status) {
  // Only the stop control is simulated; it needs the stop right.
  SimService* s = ServiceOf(service, control == kServiceControlStop ? kServiceStop : kServiceAllAccess);
  if (!s) return false;
  if (Failing("ControlService")) return false;
  status.serviceType = s->type;
  status.currentState = s->state;
  if (s->state != kServiceRunning) return Fail(kErrorServiceNotActive);
  s->state = kServiceStopped;
  s->runningProgram.clear();
  status.currentState = s->state;
  return true;
}

bool SimServices::QueryServiceStatus(ScHandle service, ServiceStatus& status) {
  SimService* s = ServiceOf(service, kServiceQueryStatus);
  if (!s) return false;
  if (Failing("QueryServiceStatus")) return false;
  status = ServiceStatus{};
  status.serviceType = s->type;
  status.currentState = s->state;
  return true;
}

bool SimServices::DeleteService(ScHandle service) {
  SimService* s = ServiceOf(service, kServiceDelete);
  if (!s) return false;
  if (Failing("DeleteService")) return false;
  if (s->markedForDelete) return Fail(kErrorServiceMarkedForDelete);
  s->markedForDelete = true;
  return true;
}

bool SimServices::CloseServiceHandle(ScHandle handle) {
  auto it = handles_.find(handle);
  if (it == handles_.end()) return Fail(kErrorInvalidHandle);
  std::u16string key = it->second.key;
  bool manager = it->second.manager;
  handles_.erase(it);
  if (!manager) DropIfGone(key);
  return true;
}

}  // namespace lx
