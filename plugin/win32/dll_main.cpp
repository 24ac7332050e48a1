// Entry points of lx220ui.dll: the loader's DllMain and the two COM exports.
#include <windows.h>

#include <new>

#include "plugin/core/exception_barrier.h"
#include "plugin/win32/class_factory.h"
#include "plugin/win32/module_context.h"

namespace {

// The loaded module's context: made at process attach, gone at detach. The
// COM exports are the only way in, and they hand it on. Attach runs under
// the loader lock and so loads and reads nothing: the context does that on
// first use (module_context.h).
lx::ModuleContext* g_module = nullptr;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH: {
      auto* module = new (std::nothrow) lx::ModuleContext(instance);
      if (module == nullptr) return FALSE;
      if (!module->Attach()) {
        delete module;
        return FALSE;
      }
      g_module = module;
      return TRUE;
    }
    case DLL_PROCESS_DETACH:
      if (g_module != nullptr) {
        g_module->Detach(reserved != nullptr);
        delete g_module;
        g_module = nullptr;
      }
      return TRUE;
    default:
      return TRUE;
  }
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (!IsEqualCLSID(clsid, lx::kClsidPlugin) && !IsEqualCLSID(clsid, lx::kClsidPluginAlt)) {
    return CLASS_E_CLASSNOTAVAILABLE;
  }
  return lx::Barrier(g_module->platform(), u"DllGetClassObject", [&] {
    auto* factory = new (std::nothrow) lx::OemUiClassFactory(*g_module);
    if (factory == nullptr) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(iid, out);
    factory->Release();
    return hr;
  });
}

// Reads two counters: nothing in it can throw.
STDAPI DllCanUnloadNow() {
  return (g_module->liveObjects != 0 || g_module->lockCount != 0) ? S_FALSE : S_OK;
}
