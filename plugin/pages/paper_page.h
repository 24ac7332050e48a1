// The Paper page (dialog 101): the printer's label sizes with New, Edit and
// Delete, the orientation with its 180-degree turn, mirror and negative, and
// a preview of the combination.
#pragma once

#include <optional>

#include "plugin/pages/document_page.h"
#include "plugin/papers/paper_store.h"

namespace lx {

// The preview bitmap of a combination (124 to 139 of the bitmap module).
int PaperPreviewNumber(bool rotate180, bool landscape, bool mirror, bool negative);

class PaperPage : public DocumentPage {
 public:
  explicit PaperPage(PageContext& context);

 protected:
  void InitPage() override;
  void ShowState() override;
  bool Apply() override;
  void Reset() override;
  bool HandleCommand(int controlId, int code) override;
  bool DiffersFromBackup() override;
  void Released() override;

 private:
  // The list from the store, with the entry of `number` selected (else the
  // first) and Edit and Delete following it.
  void FillList(int32_t number);
  void FollowSelection();
  // The paper number the selected entry carries; -1 when none is selected.
  // Another sheet of the printer may have changed the store since the list
  // was filled, so entries are told apart by number, never by position.
  int32_t SelectedNumber();
  // The selected entry's record, when it is still in the store and the
  // user's own (not built-in); the caller holds the paper lock.
  std::optional<FoundPaper> SelectedOwnPaper(int32_t number);
  void Orientation(bool landscape, bool rotate180);
  void ShowPreview();
  // The public DEVMODE's paper fields from the record numbered `number`.
  void WritePublicPaper(int32_t number);
};

}  // namespace lx
