// The class factory behind both class identifiers of the plug-in.
#pragma once

#include <objbase.h>

namespace lx {

class ModuleContext;

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr GUID kClsidPlugin = {0xabce80d7, 0x9f46, 0x11d1,
                                      {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {91723892-45D2-48E2-9EC9-562379DAF992}
inline constexpr GUID kClsidPluginAlt = {0x91723892, 0x45d2, 0x48e2,
                                         {0x9e, 0xc9, 0x56, 0x23, 0x79, 0xda, 0xf9, 0x92}};

// Hands the module's context to every object it makes. A factory alive
// keeps the module loaded, as a plug-in object does.
class OemUiClassFactory final : public IClassFactory {
 public:
  explicit OemUiClassFactory(ModuleContext& module);
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  ~OemUiClassFactory();
  ModuleContext& module_;
  volatile LONG refs_ = 1;
};

}  // namespace lx
