// The core driver's IPrintCoreHelper behind the plug-in's feature logic,
// always on the open sheet's current settings (no DEVMODE, size 0).
#pragma once

#include "plugin/core/feature_core.h"
#include "plugin/oem/oem_com.h"

namespace lx {

class CoreHelperFeatures : public IFeatureCore {
 public:
  explicit CoreHelperFeatures(IPrintCoreHelper* helper) : helper_(helper) {}
  HRESULT EnumOptions(const std::string& feature, std::vector<std::string>& options) override;
  HRESULT GetOption(const std::string& feature, std::optional<std::string>& option) override;
  HRESULT SetOptions(const std::vector<FeatureOptionPair>& pairs, DWORD& written,
                     DWORD& result) override;

 private:
  IPrintCoreHelper* helper_;  // not owned
};

}  // namespace lx
