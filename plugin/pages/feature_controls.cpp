#include "plugin/pages/feature_controls.h"

namespace lx {

void FillFeatureList(IDialogView& view, int combo, const FeatureSlot& slot) {
  for (const OptionEntry* option : slot.options) view.ComboAdd(combo, option ? option->displayText : u"");
}

void ShowFeatureSelection(IDialogView& view, int combo, const FeatureSlot& slot) {
  view.ComboSetCurSel(combo, slot.current);
}

bool TakeFeatureSelection(IDialogView& view, int combo, FeatureSlot& slot) {
  int selected = view.ComboGetCurSel(combo);
  if (selected < 0 || static_cast<uint32_t>(selected) >= slot.count()) return false;
  slot.current = selected;
  return true;
}

std::string_view CurrentKeyword(const FeatureSlot& slot) {
  if (slot.current < 0 || static_cast<uint32_t>(slot.current) >= slot.count()) return {};
  const OptionEntry* option = slot.options[static_cast<size_t>(slot.current)];
  return option ? std::string_view(option->keyword) : std::string_view();
}

}  // namespace lx
