#include "plugin/core/features.h"

#include <new>

#include "common/text.h"

namespace lx {

const char* const kFeatureKeywords[kFeatureCount] = {
    "Orientation", "ImageryType",    "LabelType",     "OutputRate",
    "PaperSize",   "ImageMirror",    "PrinterLanuage", "ImageNegative",
    "PrinterPaperOffset", "PrinterSetting", "OutputDensity"};

namespace {

void ReadCurrent(FeatureSlot& slot) {
  if (slot.core == nullptr) return;
  std::optional<std::string> option;
  HRESULT hr = slot.core->GetOption(slot.keyword, option);
  if (SUCCEEDED(hr)) {
    if (option) {
      slot.reported = 0;
      for (size_t i = 0; i < slot.options.size(); ++i) {
        if (slot.options[i] != nullptr && slot.options[i]->keyword == *option) {
          slot.reported = static_cast<int32_t>(i);
          break;
        }
      }
    }
  } else if (hr == E_FAIL) {
    slot.reported = 0;
  }
  slot.current = slot.reported;
}

const OptionEntry* CurrentEntry(const FeatureSlot& slot) {
  if (slot.current < 0 || static_cast<size_t>(slot.current) >= slot.options.size()) return nullptr;
  return slot.options[slot.current];
}

}  // namespace

void ReadFeatures(FeatureSet& set, IFeatureCore* core, const OptionTable& table) {
  if (set.read) return;
  set.core = core;
  for (int i = 0; i < kFeatureCount; ++i) {
    FeatureSlot& slot = set.slots[i];
    slot = FeatureSlot();
    slot.keyword = CutToBuffer(std::string_view(kFeatureKeywords[i]), 24);
    slot.core = core;
    if (core == nullptr) continue;
    std::vector<std::string> listed;
    if (FAILED(core->EnumOptions(slot.keyword, listed)) || listed.empty()) continue;
    for (size_t k = 0; k < listed.size() && k < kMaxFeatureOptions; ++k) {
      slot.options.push_back(table.Find(listed[k]));
    }
    ReadCurrent(slot);
  }
  set.read = true;
}

void RereadFeatures(FeatureSet& set) {
  for (FeatureSlot& slot : set.slots) ReadCurrent(slot);
}

bool SelectOption(FeatureSlot& slot, std::string_view keyword) {
  for (size_t i = 0; i < slot.options.size(); ++i) {
    if (slot.options[i] != nullptr && slot.options[i]->keyword == keyword) {
      slot.current = static_cast<int32_t>(i);
      return true;
    }
  }
  return false;
}

bool IsCurrentOption(const FeatureSlot& slot, std::string_view keyword) {
  const OptionEntry* entry = CurrentEntry(slot);
  return entry != nullptr && entry->keyword == keyword;
}

HRESULT CommitFeatures(FeatureSet& set) {
  bool changed = false;
  for (const FeatureSlot& slot : set.slots) changed = changed || slot.current != slot.reported;
  if (!changed) return S_OK;

  std::vector<FeatureOptionPair> pairs;
  try {
    for (const FeatureSlot& slot : set.slots) {
      if (slot.current == slot.reported) continue;
      if (const OptionEntry* entry = CurrentEntry(slot)) pairs.emplace_back(slot.keyword, entry->keyword);
    }
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
  if (pairs.empty()) return S_OK;
  if (set.core == nullptr) return E_FAIL;

  DWORD written = 0;
  DWORD result = SETOPTIONS_RESULT_NO_CONFLICT;
  HRESULT hr = set.core->SetOptions(pairs, written, result);
  if (FAILED(hr) || result == SETOPTIONS_RESULT_CONFLICT_REMAINED) RereadFeatures(set);
  return hr;
}

}  // namespace lx
