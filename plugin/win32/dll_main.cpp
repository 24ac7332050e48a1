// Entry points of lx220ui.dll: the loader's DllMain and the two COM exports.
#include <windows.h>

#include <new>

#include "plugin/win32/class_factory.h"
#include "plugin/win32/module_state.h"

using lx::Module;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return lx::AttachModule(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      lx::DetachModule(reserved != nullptr);
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
  auto* factory = new (std::nothrow) lx::OemUiClassFactory();
  if (factory == nullptr) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() {
  return (Module().liveObjects != 0 || Module().lockCount != 0) ? S_FALSE : S_OK;
}
