// The Windows services the plug-in uses, in one bundle per loaded module.
// The DLL binds them to the real calls; host tests to the simulated machine.
#pragma once

#include <optional>
#include <string>

#include "common/format.h"
#include "platform/debug_output.h"
#include "platform/system.h"

namespace lx {

class IProfile;
class IRegistry;
class ISpooler;
class IFileSystem;
class IFileSecurity;

// The state of one run-once gate: an INIT_ONCE on Windows (pointer-sized).
struct OnceGate {
  void* state = nullptr;
};

class IPluginHost {
 public:
  virtual ~IPluginHost() = default;
  // GetModuleFileNameW of the plug-in's own module.
  virtual std::u16string PluginModulePath() = 0;
  // GetPrinterDriverDirectoryW for the local machine, default environment,
  // level 1; nothing when the call fails.
  virtual std::optional<std::u16string> PrinterDriverDirectory() = 0;
  virtual LangId GetUserDefaultLangId() = 0;
  // InitOnceExecuteOnce on `gate`: the first caller runs `init(context)`,
  // callers that come meanwhile wait for it, later ones return at once. An
  // exception from `init` leaves the gate open (the next caller tries
  // again) and goes on to the caller.
  virtual void RunOnce(OnceGate& gate, void (*init)(void*), void* context) = 0;
};

// RunOnce with any callable.
template <typename Init>
void RunOnce(IPluginHost& host, OnceGate& gate, Init& init) {
  host.RunOnce(gate, [](void* context) { (*static_cast<Init*>(context))(); }, &init);
}

struct PluginPlatform {
  IPluginHost* host = nullptr;
  IProfile* profile = nullptr;
  IRegistry* registry = nullptr;      // read only
  IDebugOutput* debug = nullptr;      // may be null
  ISpooler* spooler = nullptr;
  IFileSystem* files = nullptr;
  ISystem* system = nullptr;          // the error of a refused OpenPrinter
  IFileSecurity* security = nullptr;  // only the printer event uses it
};

// The plug-in's trace: always on, one line per call to the debugger output.
inline void Trace(const PluginPlatform& platform, const std::u16string& line) {
  if (platform.debug != nullptr) platform.debug->OutputW(line);
}

// The same with a FormatW line, formatted only when there is an output to
// take it: per-record lines would otherwise cost more than the answer.
template <typename Arg, typename... Args>
void Trace(const PluginPlatform& platform, const char16_t* format, Arg arg, Args... args) {
  if (platform.debug != nullptr) platform.debug->OutputW(FormatW(format, arg, args...));
}

}  // namespace lx
