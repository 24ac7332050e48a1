#include "installer/engine/model_lookup.h"

#include "installer/core/installer_config.h"

namespace lx {

int FindModelTypeByInstanceId(const std::u16string& instanceId) {
  const ModelEntry* m = g_config.Models().ByInstanceId(instanceId);
  return m ? m->TYPE : -1;
}

std::u16string FindDriverNameByType(int type) {
  ModelTable models = g_config.Models();
  const ModelEntry* m = type == -1 ? models.At(0) : models.ByType(type);
  return m ? m->DriverName : std::u16string();
}

std::u16string FindPrinterNameByType(int type) {
  const ModelEntry* m = g_config.Models().ByType(type);
  return m ? m->PRINTERNAME : std::u16string();
}

std::u16string FindInfNameByDriver(const std::u16string& driverName) {
  const ModelEntry* m = g_config.Models().ByDriverName(driverName);
  return m ? m->InfName : std::u16string();
}

std::u16string FindLanguageRegPathByDriver(const std::u16string& driverName) {
  const ModelEntry* m = g_config.Models().ByDriverName(driverName);
  return m ? m->LanguageRegPath : std::u16string();
}

int GetShowSetting(const std::u16string& driverName) {
  const ModelEntry* m = g_config.Models().ByDriverName(driverName);
  return m ? m->ShowSetting : -1;
}

}  // namespace lx
