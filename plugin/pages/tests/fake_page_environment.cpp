#include "plugin/pages/tests/fake_page_environment.h"

namespace lx::testing {

int FakePageEnvironment::MessageBox(IDialogView&, const std::u16string& text, const std::u16string& caption,
                                    unsigned type) {
  messages.push_back({text, caption, type});
  return kIdOkAnswer;
}

intptr_t FakePageEnvironment::RunModal(IDialogView&, IPropertyPage& dialog) {
  modalTemplates.push_back(dialog.TemplateId());
  const DialogTemplate* tmpl = scripts_.Dialog(dialog.TemplateId());
  if (!tmpl) {
    modalResults.push_back(-1);
    return -1;
  }
  FakeDialog window(scripts_, &dialog, tmpl);
  open_.push_back({&window, false, 0});
  dialog.OnInitDialog(window);
  Script script;
  if (!modalScripts.empty()) {
    script = std::move(modalScripts.front());
    modalScripts.pop_front();
  }
  if (script && !open_.back().ended) script(window);
  constexpr int kIdCancel = 2;
  if (!open_.back().ended) dialog.OnCommand(kIdCancel, kBnClicked);
  intptr_t result = open_.back().ended ? open_.back().result : kIdCancel;
  open_.pop_back();
  modalResults.push_back(result);
  return result;
}

void FakePageEnvironment::EndModal(IDialogView& view, intptr_t result) {
  for (Modal& m : open_)
    if (m.view == &view && !m.ended) {
      m.ended = true;
      m.result = result;
    }
}

bool FakePageEnvironment::ShowHelp(const std::u16string& file, unsigned context) {
  helps.push_back({file, context});
  return true;
}

bool FakePageEnvironment::Open(const std::u16string& target) {
  opened.push_back(target);
  return true;
}

bool FakePageEnvironment::ShowPicture(IDialogView& page, int controlId, int number, bool monochrome) {
  if (!page.HasControl(controlId) || !scripts_.Bitmaps().count(number)) return false;
  pictures[controlId].push_back({number, monochrome});
  return true;
}

// The page's window may be gone already: only its address is known here.
void FakePageEnvironment::ReleasePictures(IDialogView&) { ++pictureReleases; }

intptr_t FakePageEnvironment::SetSheetResult(intptr_t result) {
  sheetResults.push_back(result);
  return sheetAnswer;
}

int FakePageEnvironment::PictureOf(int control) const {
  auto it = pictures.find(control);
  return it == pictures.end() || it->second.empty() ? 0 : it->second.back().number;
}

}  // namespace lx::testing
