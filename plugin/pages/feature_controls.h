// The document pages' lists and checks over driver features: a combo box of
// a feature's option texts, the chosen option, and whether a feature differs
// from what the core driver reported.
#pragma once

#include <string>
#include <string_view>

#include "plugin/core/features.h"
#include "ui/dialog_view.h"

namespace lx {

// The display texts of the slot's options in the core driver's order; an
// option without a row of the option table shows an empty entry, so that
// entries and options keep the same positions.
void FillFeatureList(IDialogView& view, int combo, const FeatureSlot& slot);
// The list's selection from the slot's current option.
void ShowFeatureSelection(IDialogView& view, int combo, const FeatureSlot& slot);
// The list's selection as the slot's current option; false when nothing
// valid is selected.
bool TakeFeatureSelection(IDialogView& view, int combo, FeatureSlot& slot);
// The keyword of the current option; empty when it has no row.
std::string_view CurrentKeyword(const FeatureSlot& slot);
// The chosen option is not the one the core driver reported.
inline bool FeatureChanged(const FeatureSlot& slot) { return slot.current != slot.reported; }

}  // namespace lx
