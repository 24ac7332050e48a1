// What the plug-in asks of the core driver's IPrintCoreHelper, always on the
// current settings of the open sheet (no DEVMODE). The Windows build adapts
// the real interface; host tests give a feature table of their own.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plugin/oem/oem_types.h"

namespace lx {

using FeatureOptionPair = std::pair<std::string, std::string>;

class IFeatureCore {
 public:
  virtual ~IFeatureCore() = default;
  virtual HRESULT EnumOptions(const std::string& feature, std::vector<std::string>& options) = 0;
  // The option in force; success may come without a keyword.
  virtual HRESULT GetOption(const std::string& feature, std::optional<std::string>& option) = 0;
  // Without conflict resolution; `result` gets the SETOPTIONS_RESULT_* value.
  virtual HRESULT SetOptions(const std::vector<FeatureOptionPair>& pairs, DWORD& written,
                             DWORD& result) = 0;
};

}  // namespace lx
