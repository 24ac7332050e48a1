#include "plugin/win32/module_context.h"

#include <new>

#include "platform/win32/wide.h"
#include "plugin/core/frame_logic.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

ActivationScope::ActivationScope(HANDLE context) {
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

ModuleContext::ModuleContext(HMODULE self) : host_(self, spooler_), self_(self) {
  platform_.host = &host_;
  platform_.profile = &profile_;
  platform_.registry = &registry_;
  platform_.spooler = &spooler_;
  platform_.files = &files_;
  platform_.system = &system_;
  platform_.security = &security_;
  platform_.debug = &debug_;
}

ModuleContext::~ModuleContext() = default;

bool ModuleContext::Attach() {
  activationContext_ = CreateOwnActivationContext(self_);
  plan_ = PlanAttach(platform_);

  {
    ActivationScope scope(activationContext_);
    for (size_t i = 0; i < plan_.resourceModules.size() && resources_ == nullptr; ++i) {
      resources_ = ::LoadLibraryW(W(plan_.resourceModules[i]));
      if (resources_ != nullptr) uiLanguage_ = UiLanguageOfLoaded(plan_, i);
    }
  }
  if (resources_ == nullptr) {
    Detach(false);
    return false;
  }
  wchar_t unit[16] = {};
  if (::LoadStringW(resources_, IDS_UNIT, unit, 16) > 0) unitText_ = U(unit);

  {
    ActivationScope scope(activationContext_);
    bitmapModule_ = ::LoadLibraryW(W(plan_.bitmapModule));
  }
  if (bitmapModule_ == nullptr) {
    Detach(false);
    return false;
  }
  return true;
}

void ModuleContext::Detach(bool processEnding) {
  if (activationContext_ != INVALID_HANDLE_VALUE) {
    ::ReleaseActCtx(activationContext_);
    activationContext_ = INVALID_HANDLE_VALUE;
  }
  if (!processEnding) {
    if (bitmapModule_ != nullptr) ::FreeLibrary(bitmapModule_);
    if (resources_ != nullptr) ::FreeLibrary(resources_);
  }
  bitmapModule_ = nullptr;
  resources_ = nullptr;
}

std::u16string ModuleContext::ResourceText(unsigned id) const {
  const wchar_t* text = nullptr;
  int n = ::LoadStringW(resources_, id, reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 && text != nullptr ? U(text, static_cast<size_t>(n)) : std::u16string();
}

std::u16string ModuleContext::PageTitleText(unsigned id) const { return PageTitle(ResourceText(id)); }

PaperContext& ModuleContext::Papers() {
  std::call_once(papersOnce_, [this] {
    std::u16string fileName = PaperFileName(plan_.baseName);
    Trace(fileName);
    papers_ = std::make_unique<PaperContext>(platform_, std::move(fileName));
  });
  return *papers_;
}

const OptionTable& ModuleContext::Options() {
  std::call_once(optionsOnce_, [this] {
    options_ = std::make_unique<OptionTable>([this](unsigned id) { return ResourceText(id); });
  });
  return *options_;
}


}  // namespace lx
