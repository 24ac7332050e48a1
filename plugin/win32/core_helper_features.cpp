#include "plugin/win32/core_helper_features.h"

namespace lx {

HRESULT CoreHelperFeatures::EnumOptions(const std::string& feature,
                                        std::vector<std::string>& options) {
  PCSTR* list = nullptr;
  DWORD count = 0;
  HRESULT hr = helper_->EnumOptions(feature.c_str(), &list, &count);
  if (SUCCEEDED(hr) && list != nullptr) {
    for (DWORD i = 0; i < count; ++i) options.emplace_back(list[i] != nullptr ? list[i] : "");
  }
  return hr;
}

HRESULT CoreHelperFeatures::GetOption(const std::string& feature, std::optional<std::string>& option) {
  PCSTR keyword = nullptr;
  HRESULT hr = helper_->GetOption(nullptr, 0, feature.c_str(), &keyword);
  if (SUCCEEDED(hr) && keyword != nullptr) option = keyword;
  return hr;
}

HRESULT CoreHelperFeatures::SetOptions(const std::vector<FeatureOptionPair>& pairs, DWORD& written,
                                       DWORD& result) {
  std::vector<PRINT_FEATURE_OPTION> list;
  list.reserve(pairs.size());
  for (const FeatureOptionPair& p : pairs) list.push_back({p.first.c_str(), p.second.c_str()});
  return helper_->SetOptions(nullptr, 0, FALSE, list.data(), static_cast<DWORD>(list.size()),
                             &written, &result);
}

}  // namespace lx
