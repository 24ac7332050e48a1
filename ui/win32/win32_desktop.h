// The real desktop services behind IDesktop.
#pragma once

#include "ui/desktop.h"

namespace lx {

class Win32Desktop : public IDesktop {
 public:
  bool InitCommonControls(uint32_t size, uint32_t classes) override;
  bool LoadRichEdit() override;
  int ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) override;
};

}  // namespace lx
