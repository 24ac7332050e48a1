#include "plugin/win32/module_state.h"

#include "platform/win32/wide.h"
#include "platform/win32/win32_os.h"
#include "plugin/resources/resource_ids.h"
#include "plugin/win32/module_bitmaps.h"
#include "plugin/win32/win32_plugin_host.h"

namespace lx {

ModuleState& Module() {
  static ModuleState state;
  return state;
}

void TraceW(const std::u16string& line) { ::OutputDebugStringW(W(line)); }

ActivationScope::ActivationScope() {
  HANDLE context = Module().activationContext;
  if (context != INVALID_HANDLE_VALUE) active_ = ::ActivateActCtx(context, &cookie_) != FALSE;
}

ActivationScope::~ActivationScope() {
  if (active_) ::DeactivateActCtx(0, cookie_);
}

namespace {

HANDLE CreateOwnActivationContext(HMODULE self) {
  ACTCTXW context = {};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.hModule = self;
  context.lpResourceName = ISOLATIONAWARE_MANIFEST_RESOURCE_ID;
  return ::CreateActCtxW(&context);
}

}  // namespace

bool AttachModule(HMODULE self) {
  ModuleState& m = Module();
  m.self = self;
  m.activationContext = CreateOwnActivationContext(self);

  Win32PluginHost host(self);
  Win32Profile profile;
  Win32DebugOutput debug;
  WinRegistryReader registry;
  PluginPlatform platform{&host, &profile, &registry, &debug};
  m.plan = PlanAttach(platform);
  m.modelClass = m.plan.modelClass;

  {
    ActivationScope scope;
    for (size_t i = 0; i < m.plan.resourceModules.size() && m.resources == nullptr; ++i) {
      m.resources = ::LoadLibraryW(W(m.plan.resourceModules[i]));
      if (m.resources != nullptr) m.uiLanguage = UiLanguageOfLoaded(m.plan, i);
    }
  }
  if (m.resources == nullptr) {
    DetachModule(false);
    return false;
  }
  wchar_t unit[16] = {};
  if (::LoadStringW(m.resources, IDS_UNIT, unit, 16) > 0) ::lstrcpynW(m.unitText, unit, 16);

  {
    ActivationScope scope;
    m.bitmaps = ::LoadLibraryW(W(m.plan.bitmapModule));
  }
  if (m.bitmaps == nullptr) {
    DetachModule(false);
    return false;
  }
  return true;
}

void DetachModule(bool processEnding) {
  ModuleState& m = Module();
  // Every cached bitmap goes with the module, before the module it came from.
  ReleaseModuleBitmaps();
  if (m.activationContext != INVALID_HANDLE_VALUE) {
    ::ReleaseActCtx(m.activationContext);
    m.activationContext = INVALID_HANDLE_VALUE;
  }
  // At process end the loader unloads everything itself.
  if (!processEnding) {
    if (m.bitmaps != nullptr) ::FreeLibrary(m.bitmaps);
    if (m.resources != nullptr) ::FreeLibrary(m.resources);
  }
  m.bitmaps = nullptr;
  m.resources = nullptr;
}

}  // namespace lx
