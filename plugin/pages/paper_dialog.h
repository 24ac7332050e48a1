// The modal dialog that makes a new label size or edits one (dialog 102).
#pragma once

#include <cstdint>
#include <string>

#include "plugin/pages/document_page.h"

namespace lx {

// What the dialog ends with when nothing was made or changed.
inline constexpr intptr_t kPaperDialogCancelled = 2;
inline constexpr int32_t kNewPaper = -1;

class PaperDialog : public DocumentPage {
 public:
  // `number`: kNewPaper, or the number of the record to edit.
  PaperDialog(PageContext& context, int32_t number);

 protected:
  void InitPage() override;
  bool HandleCommand(int controlId, int code) override;
  bool HandleEditFocus(int controlId, bool gained) override;

 private:
  void Ok();
  // What OK comes to: the dialog's result, or a message to tell instead.
  struct Outcome {
    intptr_t result = kPaperDialogCancelled;
    unsigned message = 0;
  };
  // Checks and changes the store under the paper lock.
  Outcome Store(const std::u16string& name, float width, float length);
  void Tell(unsigned messageId);
  void End(intptr_t result);
  // A field as it would be left: read, brought into range, two decimals.
  double FieldValue(int control, double low);

  int32_t number_;
};

// Runs the dialog over `owner`; the number of the record made or edited, or
// kPaperDialogCancelled.
intptr_t RunPaperDialog(PageContext& context, IDialogView& owner, int32_t number);

}  // namespace lx
