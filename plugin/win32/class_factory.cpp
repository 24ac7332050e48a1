#include "plugin/win32/class_factory.h"

#include <new>

#include "plugin/core/exception_barrier.h"
#include "plugin/win32/module_context.h"
#include "plugin/win32/oem_ui_plugin.h"

namespace lx {

OemUiClassFactory::OemUiClassFactory(ModuleContext& module) : module_(module) {
  ::InterlockedIncrement(&module_.liveObjects);
}

OemUiClassFactory::~OemUiClassFactory() { ::InterlockedDecrement(&module_.liveObjects); }

HRESULT OemUiClassFactory::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  // __uuidof: the IIDs from the headers, not libuuid's IID_IClassFactory,
  // whose object brings some 6 KB of unrelated GUIDs into the plug-in.
  if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, __uuidof(IClassFactory))) {
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG OemUiClassFactory::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG OemUiClassFactory::Release() {
  LONG left = ::InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT OemUiClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  return Barrier(module_.platform(), u"CreateInstance", [&] {
    OemUiPlugin* plugin = new (std::nothrow) OemUiPlugin(module_);
    if (plugin == nullptr) return E_OUTOFMEMORY;
    HRESULT hr = plugin->QueryInterface(iid, out);
    plugin->Release();
    return hr;
  });
}

HRESULT OemUiClassFactory::LockServer(BOOL lock) {
  if (lock) {
    ::InterlockedIncrement(&module_.lockCount);
  } else {
    ::InterlockedDecrement(&module_.lockCount);
  }
  return S_OK;
}

}  // namespace lx
