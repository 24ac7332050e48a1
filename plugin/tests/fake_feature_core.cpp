#include "plugin/tests/fake_feature_core.h"

#include "common/format.h"

namespace lx::testing {

FakeFeatureCore::FakeFeatureCore() {
  options["Orientation"] = {"PORTRAIT", "LANDSCAPE_CC90"};
  options["ImageryType"] = {"USEPRINTER_CFG", "THERMAL", "TRANSFER_THERMAL"};
  options["LabelType"] = {"AUTO_TYPE", "LABEL_TYPE_DEVICE", "AUTO", "CONTINUOUS",
                          "GAP_WEB",   "MARK",              "CONTINUOUS_VAR"};
  for (int i = 0; i < 8; ++i) options["OutputRate"].push_back(FormatA("IN%d", i));
  options["PaperSize"] = {"CUSTOMSIZE",    "Paper_2_x_4",   "Paper_4_x_4",   "Paper_4_x_6",
                          "Paper_3_x_4",   "Paper_40_x_30", "Paper_50_x_30", "Paper_60_x_40",
                          "Paper_75_x_60", "Paper_80_x_60", "Paper_80_x_50"};
  options["ImageMirror"] = {"MIRROR_ON", "MIRROR_OFF"};
  options["PrinterLanuage"] = {"LANGUAGE_TSPL", "LANGUAGE_ZPL"};
  options["ImageNegative"] = {"NEGATIVE_ON", "NEGATIVE_OFF"};
  options["PrinterPaperOffset"] = {"UFG_ON", "UFG_OFF"};
  options["PrinterSetting"] = {"ON", "OFF"};
  for (int i = 0; i < 16; ++i) options["OutputDensity"].push_back(FormatA("LEVEL%d", i));

  current = {{"Orientation", "PORTRAIT"},      {"ImageryType", "THERMAL"},
             {"LabelType", "GAP_WEB"},         {"OutputRate", "IN3"},
             {"PaperSize", "Paper_4_x_6"},     {"ImageMirror", "MIRROR_OFF"},
             {"PrinterLanuage", "LANGUAGE_TSPL"}, {"ImageNegative", "NEGATIVE_OFF"},
             {"PrinterPaperOffset", "UFG_OFF"}, {"PrinterSetting", "ON"},
             {"OutputDensity", "LEVEL8"}};
}

HRESULT FakeFeatureCore::EnumOptions(const std::string& feature, std::vector<std::string>& out) {
  ++enumCalls;
  if (enumFails.count(feature) != 0) return E_FAIL;
  auto it = options.find(feature);
  if (it == options.end()) return E_FAIL;
  out = it->second;
  return S_OK;
}

HRESULT FakeFeatureCore::GetOption(const std::string& feature, std::optional<std::string>& option) {
  ++getCalls;
  auto fail = getFails.find(feature);
  if (fail != getFails.end()) return fail->second;
  auto it = current.find(feature);
  if (it == current.end()) return E_FAIL;
  option = it->second;
  return S_OK;
}

HRESULT FakeFeatureCore::SetOptions(const std::vector<FeatureOptionPair>& pairs, DWORD& written,
                                    DWORD& result) {
  setCalls.push_back(pairs);
  if (FAILED(setResult)) return setResult;
  for (const FeatureOptionPair& p : pairs) current[p.first] = p.second;
  written = static_cast<DWORD>(pairs.size());
  result = setConflict;
  return setResult;
}

}  // namespace lx::testing
