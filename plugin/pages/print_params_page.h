// The Print parameters page: print method, media type with its gap or mark
// height, offsets, feed offset, collate and, for the classes that cut, the
// post-print action with its timing and interval.
#pragma once

#include <string_view>

#include "plugin/pages/document_page.h"

namespace lx {

class PrintParamsPage : public DocumentPage {
 public:
  explicit PrintParamsPage(PageContext& context);

 protected:
  void InitPage() override;
  void ShowState() override;
  bool Apply() override;
  bool HandleCommand(int controlId, int code) override;
  bool DiffersFromBackup() override;

 private:
  FeatureSlot* Slot(FeatureIndex index);
  bool HasPostAction();
  void ShowGap(bool fromRecord);
  void EnablePostAction();
  void WidenLabel(int control);
};

// The gap or mark height as left in its field for the media type chosen.
double LimitGapHeight(double value, std::string_view mediaType);
// The cut interval as left in its field: a whole number of 1 to 99.
int LimitInterval(double value);

}  // namespace lx
