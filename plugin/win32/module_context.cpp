#include "plugin/win32/module_context.h"

#include <delayimp.h>

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

// The delay import of comctl32 (plugin/CMakeLists.txt), named by dlltool
// after its library file; the same symbol for both word sizes.
extern "C" const ImgDelayDescr kCommonControlsImports __asm__("__DELAY_IMPORT_DESCRIPTOR_libcomctl32_a");
// The delay-load helper of the runtime (libmingwex), as the thunks call it.
extern "C" FARPROC WINAPI __delayLoadHelper2(PCImgDelayDescr descriptor, FARPROC* entry);

// Resolves every delay-loaded comctl32 entry now, loading the DLL in the
// active context.
void BindCommonControls(HMODULE self) {
  const ImgDelayDescr& imports = kCommonControlsImports;
  auto* base = reinterpret_cast<BYTE*>(self);
  auto* entries = reinterpret_cast<FARPROC*>(base + imports.rvaIAT);
  auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + imports.rvaINT);
  for (size_t i = 0; names[i].u1.AddressOfData != 0; ++i) __delayLoadHelper2(&imports, &entries[i]);
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
  try {
    const std::u16string path = host_.PluginModulePath();
    const size_t slash = path.find_last_of(u"\\/");
    const std::u16string folder = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash + 1);
    return files_.FileExists(folder + BitmapModuleName(ModuleBaseName(path)));
  } catch (...) {
    return false;  // out of memory already at load: the load fails
  }
}

const AttachPlan& ModuleContext::plan() {
  auto make = [this] { plan_ = PlanAttach(platform_); };
  RunOnce(host_, planOnce_, make);
  return plan_;
}

bool ModuleContext::LoadModules() {
  auto load = [this] {
    // A throw on the way leaves the gate open; what was made stays made.
    const AttachPlan& names = plan();
    if (activationContext_ == INVALID_HANDLE_VALUE) activationContext_ = CreateOwnActivationContext(self_);
    // Strings, dialogs and pictures are all the language module is asked
    // for: mapped as an image resource, none of its code or imports is run.
    for (size_t i = 0; i < names.resourceModules.size() && resources_ == nullptr; ++i) {
      resources_ = ::LoadLibraryExW(W(names.resourceModules[i]), nullptr,
                                    LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
      if (resources_ != nullptr) uiLanguage_ = UiLanguageOfLoaded(names, i);
    }
    if (resources_ == nullptr) {
      Trace(u"no language module loaded");
      return;
    }
    wchar_t unit[16] = {};
    if (::LoadStringW(resources_, IDS_UNIT, unit, 16) > 0) unitText_ = U(unit);
    if (bitmapModule_ == nullptr) {
      ActivationScope scope(activationContext_);
      bitmapModule_ = ::LoadLibraryW(W(names.bitmapModule));
    }
    if (bitmapModule_ == nullptr) {
      Trace(u"bitmap module not loaded");
      return;
    }
    // comctl32 is delay-loaded: every call the pages make binds here, to
    // version 6 as this context names it, never to what a later caller has
    // active.
    {
      ActivationScope scope(activationContext_);
      BindCommonControls(self_);
    }
    modulesLoaded_ = true;
  };
  RunOnce(host_, modulesOnce_, load);
  return modulesLoaded_;
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
  // A null module would be the program's own strings.
  if (resources_ == nullptr) return std::u16string();
  const wchar_t* text = nullptr;
  int n = ::LoadStringW(resources_, id, reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 && text != nullptr ? U(text, static_cast<size_t>(n)) : std::u16string();
}

std::u16string ModuleContext::PageTitleText(unsigned id) const { return PageTitle(ResourceText(id)); }

PaperContext& ModuleContext::Papers() {
  auto make = [this] {
    std::u16string fileName = PaperFileName(plan().baseName);
    Trace(fileName);
    papers_ = std::make_unique<PaperContext>(platform_, std::move(fileName));
  };
  RunOnce(host_, papersOnce_, make);
  return *papers_;
}

const OptionTable& ModuleContext::Options() {
  auto make = [this] {
    options_ = std::make_unique<OptionTable>([this](unsigned id) { return ResourceText(id); });
  };
  RunOnce(host_, optionsOnce_, make);
  return *options_;
}


}  // namespace lx
