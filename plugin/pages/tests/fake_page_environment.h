// The page environment of a host test: it keeps what the pages asked of it
// (messages, help, addresses opened, pictures shown, sheet results) and runs
// the modal paper dialog on an in-memory window built from the real
// template, driven by a script the test supplies.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "plugin/pages/page_environment.h"
#include "ui/fake/fake_dialog.h"

namespace lx::testing {

class FakePageEnvironment : public IPageEnvironment {
 public:
  explicit FakePageEnvironment(const RcScripts& scripts) : scripts_(scripts) {}

  int MessageBox(IDialogView& owner, const std::u16string& text, const std::u16string& caption,
                 unsigned type) override;
  intptr_t RunModal(IDialogView& owner, IPropertyPage& dialog) override;
  void EndModal(IDialogView& view, intptr_t result) override;
  bool ShowHelp(const std::u16string& file, unsigned context) override;
  bool Open(const std::u16string& target) override;
  bool ShowPicture(IDialogView& page, int controlId, int number, bool monochrome) override;
  void ReleasePictures(IDialogView& page) override;
  intptr_t SetSheetResult(intptr_t result) override;

  // What a user does in the next modal dialog; a dialog the script leaves
  // open is closed with the close box (IDCANCEL).
  using Script = std::function<void(FakeDialog& dialog)>;
  std::deque<Script> modalScripts;

  struct Message {
    std::u16string text, caption;
    unsigned type;
  };
  std::vector<Message> messages;
  struct Help {
    std::u16string file;
    unsigned context;
  };
  std::vector<Help> helps;
  std::vector<std::u16string> opened;
  struct Picture {
    int number;
    bool monochrome;
  };
  std::map<int, std::vector<Picture>> pictures;  // by control, in order shown
  int pictureReleases = 0;
  std::vector<intptr_t> sheetResults;
  intptr_t sheetAnswer = 1;  // kSheetResultFailed: the sheet refuses
  std::vector<int> modalTemplates;
  std::vector<intptr_t> modalResults;

  // The number the control shows last, 0 when none.
  int PictureOf(int control) const;

 private:
  const RcScripts& scripts_;
  struct Modal {
    IDialogView* view;
    bool ended;
    intptr_t result;
  };
  std::vector<Modal> open_;
};

}  // namespace lx::testing
