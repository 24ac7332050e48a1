#include "installer/engine/model_lookup.h"

#include "installer/core/installer_config.h"

namespace lx {

namespace {

template <typename Pred>
const ModelEntry* FirstModel(Pred pred) {
  for (int i = 0; i < g_config.modelCount; ++i) {
    const ModelEntry* m = g_config.ModelAt(i);
    if (m && pred(*m)) return m;
  }
  return nullptr;
}

const ModelEntry* ByDriver(const std::u16string& driverName) {
  return FirstModel([&](const ModelEntry& m) { return m.DriverName == driverName; });
}

}  // namespace

int FindModelTypeByInstanceId(const std::u16string& instanceId) {
  const ModelEntry* m = FirstModel(
      [&](const ModelEntry& e) { return instanceId.find(e.PID) != std::u16string::npos; });
  return m ? m->TYPE : -1;
}

std::u16string FindDriverNameByType(int type) {
  const ModelEntry* m = type == -1 ? FirstModel([](const ModelEntry&) { return true; })
                                   : FirstModel([&](const ModelEntry& e) { return e.TYPE == type; });
  return m ? m->DriverName : std::u16string();
}

std::u16string FindPrinterNameByType(int type) {
  const ModelEntry* m = FirstModel([&](const ModelEntry& e) { return e.TYPE == type; });
  return m ? m->PRINTERNAME : std::u16string();
}

std::u16string FindInfNameByDriver(const std::u16string& driverName) {
  const ModelEntry* m = ByDriver(driverName);
  return m ? m->InfName : std::u16string();
}

std::u16string FindLanguageRegPathByDriver(const std::u16string& driverName) {
  const ModelEntry* m = ByDriver(driverName);
  return m ? m->LanguageRegPath : std::u16string();
}

int GetShowSetting(const std::u16string& driverName) {
  const ModelEntry* m = ByDriver(driverName);
  return m ? m->ShowSetting : -1;
}

}  // namespace lx
