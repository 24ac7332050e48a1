// The Options page: print language, and speed and density from sliders or
// from the printer's own settings.
#pragma once

#include "plugin/pages/document_page.h"

namespace lx {

class OptionsPage : public DocumentPage {
 public:
  explicit OptionsPage(PageContext& context);

 protected:
  void InitPage() override;
  void ShowState() override;
  bool HandleCommand(int controlId, int code) override;
  bool HandleScroll(int controlId, int code) override;
  bool DiffersFromBackup() override;

 private:
  FeatureSlot& Slot(FeatureIndex index) { return context().features->slots[index]; }
  void EnableSliders(bool useDevice);
};

}  // namespace lx
