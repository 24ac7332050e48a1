// A core driver's feature table for tests: the eleven features of the
// driver's feature file with their option keywords and the options in force.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "plugin/core/feature_core.h"

namespace lx::testing {

class FakeFeatureCore : public IFeatureCore {
 public:
  FakeFeatureCore();

  HRESULT EnumOptions(const std::string& feature, std::vector<std::string>& options) override;
  HRESULT GetOption(const std::string& feature, std::optional<std::string>& option) override;
  HRESULT SetOptions(const std::vector<FeatureOptionPair>& pairs, DWORD& written,
                     DWORD& result) override;

  std::map<std::string, std::vector<std::string>> options;
  std::map<std::string, std::string> current;
  std::set<std::string> enumFails;
  std::map<std::string, HRESULT> getFails;
  HRESULT setResult = S_OK;
  DWORD setConflict = SETOPTIONS_RESULT_NO_CONFLICT;
  int enumCalls = 0;
  int getCalls = 0;
  std::vector<std::vector<FeatureOptionPair>> setCalls;
};

}  // namespace lx::testing
