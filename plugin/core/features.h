// The eleven feature-file features the plug-in reads and sets through the
// core driver, each with its option list and the option chosen in the pages.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/core/feature_core.h"
#include "plugin/core/option_table.h"

namespace lx {

enum FeatureIndex {
  kFeatureOrientation = 0,
  kFeatureImageryType,
  kFeatureLabelType,
  kFeatureOutputRate,
  kFeaturePaperSize,
  kFeatureImageMirror,
  kFeaturePrinterLanguage,
  kFeatureImageNegative,
  kFeaturePrinterPaperOffset,
  kFeaturePrinterSetting,
  kFeatureOutputDensity,
  kFeatureCount
};

// Feature keywords in slot order, which is also the commit order.
// "PrinterLanuage" is spelled as the driver's feature file spells it.
extern const char* const kFeatureKeywords[kFeatureCount];

inline constexpr size_t kMaxFeatureOptions = 128;

struct FeatureSlot {
  std::string keyword;                       // at most 23 characters
  std::vector<const OptionEntry*> options;   // null where the table has no row
  int32_t current = 0;                       // chosen in the pages
  int32_t reported = 0;                      // what the core driver said last
  IFeatureCore* core = nullptr;              // not owned
  uint32_t count() const { return static_cast<uint32_t>(options.size()); }
};

struct FeatureSet {
  std::array<FeatureSlot, kFeatureCount> slots;
  bool read = false;
  IFeatureCore* core = nullptr;
};

// Fills the slots the first time; later calls keep what was read.
void ReadFeatures(FeatureSet& set, IFeatureCore* core, const OptionTable& table);
// Reads `current` and `reported` of every slot again.
void RereadFeatures(FeatureSet& set);
bool SelectOption(FeatureSlot& slot, std::string_view keyword);
bool IsCurrentOption(const FeatureSlot& slot, std::string_view keyword);
// Sends the changed features to the core driver in slot order.
HRESULT CommitFeatures(FeatureSet& set);

}  // namespace lx
