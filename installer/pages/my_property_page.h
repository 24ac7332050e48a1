// The base of every wizard page: white background and black text, one page
// font chosen by the UI language, the logo at the top right, and texts taken
// from the string table in the UI language in force each time a page shows.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "installer/pages/wizard_host.h"
#include "platform/os.h"
#include "ui/dialog_view.h"
#include "ui/property_page.h"

namespace lx {


// (control id, string id)
using TextPair = std::pair<int, unsigned>;

class CMyPropertyPage : public IPropertyPage {
 public:
  CMyPropertyPage(IWizardHost& host, int templateId) : host_(host), templateId_(templateId) {}

  int TemplateId() const override { return templateId_; }
  bool IsBuilt() const override { return view_ != nullptr; }
  // The common page set-up: the page font, and the logo on pages that have one.
  void OnInitDialog(IDialogView& view) override;
  void OnSetActive() override { RefreshTexts(); }
  void OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam) override;
  // White pages, or the system's colours under a high-contrast scheme.
  ControlColors CtlColor(int controlId, ControlKind kind) const override;

  // Sets the page's texts and the sheet's three wizard buttons.
  virtual void RefreshTexts() = 0;

  IDialogView* view() const { return view_; }

  // Font of a page built while `languageId` is in force.
  static std::u16string PageFontFace(int languageId);
  static int PageFontTenths(int languageId);

 protected:
  void ApplyPageFont();
  void ShowHeaderLogo();
  // Each control gets its string in the UI language in force; a string that
  // cannot be loaded leaves the control's text as it was.
  void SetControlTexts(IDialogView& target, std::initializer_list<TextPair> pairs);
  void SetSheetButtonTexts(unsigned nextId, unsigned backId, unsigned cancelId);
  void SetSheetButtons(bool back, bool next, bool cancel);
  void SetPictureBitmap(int bitmapId);
  // Focus into the field once the sheet has finished showing the page (it
  // puts the focus on the page's first control itself).
  void FocusAfterActivation(int controlId);
  // The text of a link without its markup, as the page shows it.
  static std::u16string ShownLinkText(const std::u16string& text);
  // Every model's driver name into the combo box, in the model table's order.
  void AddDriverNames(int comboId);
  std::u16string Text(unsigned stringId) const;
  // A message box owned by the sheet; caption 0 stands for an empty caption.
  int ShowMessage(unsigned textId, unsigned captionId, unsigned type);
  const Os& os() const;

  IWizardHost& host_;
  IDialogView* view_ = nullptr;

 private:
  int templateId_;
};

}  // namespace lx
