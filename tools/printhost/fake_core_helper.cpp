#include "tools/printhost/fake_core_helper.h"


namespace printhost {

FakeCoreHelper::FakeCoreHelper() {
  auto numbered = [](const char* prefix, int count) {
    std::vector<std::string> list;
    for (int i = 0; i < count; ++i) list.push_back(prefix + std::to_string(i));
    return list;
  };
  const std::pair<const char*, std::vector<std::string>> table[] = {
      {"Orientation", {"PORTRAIT", "LANDSCAPE_CC90"}},
      {"ImageryType", {"USEPRINTER_CFG", "THERMAL", "TRANSFER_THERMAL"}},
      {"LabelType",
       {"AUTO_TYPE", "LABEL_TYPE_DEVICE", "AUTO", "CONTINUOUS", "GAP_WEB", "MARK",
        "CONTINUOUS_VAR"}},
      {"OutputRate", numbered("IN", 8)},
      {"PaperSize",
       {"CUSTOMSIZE", "Paper_2_x_4", "Paper_4_x_4", "Paper_4_x_6", "Paper_3_x_4",
        "Paper_40_x_30", "Paper_50_x_30", "Paper_60_x_40", "Paper_75_x_60", "Paper_80_x_60",
        "Paper_80_x_50"}},
      {"ImageMirror", {"MIRROR_ON", "MIRROR_OFF"}},
      {"PrinterLanuage", {"LANGUAGE_TSPL", "LANGUAGE_ZPL"}},
      {"ImageNegative", {"NEGATIVE_ON", "NEGATIVE_OFF"}},
      {"PrinterPaperOffset", {"UFG_ON", "UFG_OFF"}},
      {"PrinterSetting", {"ON", "OFF"}},
      {"OutputDensity", numbered("LEVEL", 16)},
  };
  for (const auto& row : table) {
    featureNames_.push_back(row.first);
    options_[row.first] = row.second;
    current_[row.first] = row.second.front();
  }
  current_["OutputRate"] = "IN3";
  current_["OutputDensity"] = "LEVEL8";
  for (auto& entry : options_) {
    for (const std::string& o : entry.second) optionLists_[entry.first].push_back(o.c_str());
  }
  for (const std::string& f : featureNames_) featureList_.push_back(f.c_str());
}

HRESULT FakeCoreHelper::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IPrintCoreHelper)) ++helperQueries;
  if (IsEqualIID(iid, IID_IUnknown) || (offersHelper && IsEqualIID(iid, IID_IPrintCoreHelper))) {
    *out = static_cast<IPrintCoreHelper*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

HRESULT FakeCoreHelper::GetOption(const DEVMODEW* dm, DWORD, PCSTR feature, PCSTR* option) {
  if (dm != nullptr) sawDevmode = true;
  if (feature == nullptr || option == nullptr) return E_INVALIDARG;
  auto it = current_.find(feature);
  if (it == current_.end()) return E_FAIL;
  *option = it->second.c_str();
  return S_OK;
}

HRESULT FakeCoreHelper::SetOptions(DEVMODEW* dm, DWORD, BOOL, const PRINT_FEATURE_OPTION* pairs,
                                   DWORD count, DWORD* written, DWORD* result) {
  if (dm != nullptr) sawDevmode = true;
  lastSet.clear();
  for (DWORD i = 0; i < count; ++i) {
    lastSet.emplace_back(pairs[i].pszFeature, pairs[i].pszOption);
    current_[pairs[i].pszFeature] = pairs[i].pszOption;
  }
  if (written != nullptr) *written = count;
  if (result != nullptr) *result = SETOPTIONS_RESULT_NO_CONFLICT;
  return S_OK;
}

HRESULT FakeCoreHelper::EnumFeatures(PCSTR** list, DWORD* count) {
  *list = featureList_.data();
  *count = static_cast<DWORD>(featureList_.size());
  return S_OK;
}

HRESULT FakeCoreHelper::EnumOptions(PCSTR feature, PCSTR** list, DWORD* count) {
  if (feature == nullptr || list == nullptr || count == nullptr) return E_INVALIDARG;
  enumerated.push_back(feature);
  auto it = optionLists_.find(feature);
  if (it == optionLists_.end()) return E_FAIL;
  *list = it->second.data();
  *count = static_cast<DWORD>(it->second.size());
  return S_OK;
}

}  // namespace printhost
