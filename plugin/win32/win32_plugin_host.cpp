#include "plugin/win32/win32_plugin_host.h"

#include <exception>

#include "platform/win32/wide.h"

namespace lx {

namespace {

static_assert(sizeof(INIT_ONCE) == sizeof(OnceGate), "a gate holds one INIT_ONCE");

struct OnceCall {
  void (*init)(void*);
  void* context;
  std::exception_ptr failure;
};

// No exception unwinds through the system's frames: it is carried out and
// thrown again once InitOnceExecuteOnce has returned. FALSE leaves the gate
// open.
BOOL CALLBACK RunOnceCall(PINIT_ONCE, PVOID parameter, PVOID*) {
  auto* call = static_cast<OnceCall*>(parameter);
  try {
    call->init(call->context);
    return TRUE;
  } catch (...) {
    call->failure = std::current_exception();
    return FALSE;
  }
}

}  // namespace

std::u16string Win32PluginHost::PluginModulePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(self_, path, MAX_PATH);
  return U(path, n < MAX_PATH ? n : MAX_PATH - 1);
}

std::optional<std::u16string> Win32PluginHost::PrinterDriverDirectory() {
  std::u16string dir;
  if (!spooler_.DriverDirectory(dir) || dir.empty()) return std::nullopt;
  return dir;
}

LangId Win32PluginHost::GetUserDefaultLangId() { return ::GetUserDefaultLangID(); }

void Win32PluginHost::RunOnce(OnceGate& gate, void (*init)(void*), void* context) {
  OnceCall call{init, context, nullptr};
  ::InitOnceExecuteOnce(reinterpret_cast<PINIT_ONCE>(&gate.state), RunOnceCall, &call, nullptr);
  if (call.failure) std::rethrow_exception(call.failure);
}

}  // namespace lx
