// Everything one loaded lx220ui.dll keeps, in one object: its platform
// services, its handles and facts, the paper store, the option table and
// the trace. DllMain makes it at process attach and hands it
// to the class factory, which hands it to every plug-in object and its pages;
// it goes at process detach.
//
// DllMain runs under the loader lock, so the context does nothing there but
// keep its handle: the spooler call, the configuration and registry reads
// (the plan) and the activation context with the language and bitmap
// modules are each made once, by the first answer that needs them, behind a
// run-once gate of the platform (InitOnceExecuteOnce).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/win32/win32_file_security.h"
#include "platform/win32/win32_os.h"
#include "plugin/core/naming.h"
#include "plugin/core/option_table.h"
#include "plugin/core/plugin_platform.h"
#include "plugin/papers/paper_persistence.h"
#include "plugin/win32/win32_page_environment.h"
#include "plugin/win32/win32_plugin_host.h"

namespace lx {

class ModuleContext {
 public:
  explicit ModuleContext(HMODULE self);
  ~ModuleContext();
  ModuleContext(const ModuleContext&) = delete;
  ModuleContext& operator=(const ModuleContext&) = delete;

  // Process attach, under the loader lock: only a look for the bitmap
  // module beside the plug-in, so that a copy without its modules still
  // refuses to load. Loads nothing.
  bool Attach();
  // Process detach. At process end the loader unloads the modules itself.
  void Detach(bool processEnding);

  const PluginPlatform& platform() const { return platform_; }
  void Trace(const std::u16string& line) const { lx::Trace(platform_, line); }
  // String `id` of the resource module; empty when it has none.
  std::u16string ResourceText(unsigned id) const;
  // A page's tab title, loaded as page titles are (see PageTitle).
  std::u16string PageTitleText(unsigned id) const;

  // Worked out at first use: names, configuration file, model class,
  // language suffix (each built name goes to the trace then).
  const AttachPlan& plan();
  // At first use: the activation context, the language module (as an image
  // resource: nothing of it runs) and the bitmap module. False, with a trace
  // line, when neither language module or the bitmap module loads; the
  // answer is kept. The accessors below hold what it loaded.
  bool LoadModules();

  // Made at first use (the paper file's name goes to the trace then); each
  // printer's store inside is opened when that printer first needs it.
  PaperContext& Papers();
  // Built at first use from the resource module's strings.
  const OptionTable& Options();

  HMODULE self() const { return self_; }
  HMODULE resources() const { return resources_; }
  HMODULE bitmapModule() const { return bitmapModule_; }
  // INVALID_HANDLE_VALUE when the module's manifest gave none.
  HANDLE activationContext() const { return activationContext_; }
  // What the pages' environment loads templates and pictures from.
  PageModules pageModules() const { return {resources_, bitmapModule_, activationContext_}; }
  int uiLanguage() const { return uiLanguage_; }
  const std::u16string& unitText() const { return unitText_; }

  // What decides whether the module may unload: plug-in objects and class
  // factories alive, and LockServer locks.
  volatile LONG lockCount = 0;
  volatile LONG liveObjects = 0;

 private:
  Win32Spooler spooler_;
  Win32PluginHost host_;
  Win32Profile profile_;
  Win32Registry registry_;
  Win32Files files_;
  Win32System system_;
  Win32FileSecurity security_;
  Win32DebugOutput debug_;
  PluginPlatform platform_;

  HMODULE self_;
  HMODULE resources_ = nullptr;
  HMODULE bitmapModule_ = nullptr;
  HANDLE activationContext_ = INVALID_HANDLE_VALUE;
  AttachPlan plan_;
  int uiLanguage_ = 0;
  std::u16string unitText_ = u"mm";

  bool modulesLoaded_ = false;
  OnceGate planOnce_, modulesOnce_, papersOnce_, optionsOnce_;
  std::unique_ptr<PaperContext> papers_;
  std::unique_ptr<OptionTable> options_;
};

// Activates an activation context for a scope; nothing for
// INVALID_HANDLE_VALUE.
class ActivationScope {
 public:
  explicit ActivationScope(HANDLE context);
  ~ActivationScope();
  ActivationScope(const ActivationScope&) = delete;
  ActivationScope& operator=(const ActivationScope&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
  bool active_ = false;
};

}  // namespace lx
