// The Image processing page: the halftone method with its preview and tone
// factor, and thicker lines.
#pragma once

#include "plugin/pages/document_page.h"

namespace lx {

class ImagePage : public DocumentPage {
 public:
  explicit ImagePage(PageContext& context);

 protected:
  void InitPage() override;
  void ShowState() override;
  bool HandleCommand(int controlId, int code) override;
  bool DiffersFromBackup() override;
  void Released() override;

 private:
  void ShowPreview();
};

// Tone factor as left in its field: above 10 becomes 10, 0 or less 0.1.
double LimitToneFactor(double value);

}  // namespace lx
