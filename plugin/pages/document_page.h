// What every document page and the paper dialog do alike: control texts
// from the resource module, number fields with their units, limits and
// character filters, help, apply, and the Apply button following whether
// the page's state differs from the backup. A page says what is its own by
// overriding the hooks at the bottom.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <vector>

#include "plugin/pages/number_field.h"
#include "plugin/pages/page_context.h"
#include "ui/property_page.h"

namespace lx {

// Help contexts of the pages and the paper dialog.
inline constexpr unsigned kHelpPaper = 1000;
inline constexpr unsigned kHelpOptions = 1100;
inline constexpr unsigned kHelpAbout = 1200;
inline constexpr unsigned kHelpPrinterAbout = 2000;

struct ControlText {
  int control;
  unsigned stringId;
};

// A number field: its format, what may be typed, its character limit (0:
// none set) and what leaving it does: `leave` brings the value read into the
// field's range, stores it, and answers the value to show.
struct NumberField {
  int control = 0;
  NumberFormat format = NumberFormat::kMillimetres2;
  NumberChars chars = NumberChars::kUnsigned;
  int limit = 0;
  std::function<double(double)> leave;
};

// Commits the features, reports CPSUI_OK to the sheet and takes the live
// part as the new backup; false (backup kept) when the commit fails or the
// sheet refuses the result.
bool ApplyPages(PageContext& context);
// The help file at `helpContext`.
void ShowHelp(PageContext& context, unsigned helpContext);

class DocumentPage : public IPropertyPage {
 public:
  // A sheet page holds a reference to the context from here until it is
  // released; the modal paper dialog (`sheetPage` false) holds none.
  DocumentPage(PageContext& context, int templateId, unsigned helpContext, bool sheetPage = true);
  ~DocumentPage() override;
  DocumentPage(const DocumentPage&) = delete;
  DocumentPage& operator=(const DocumentPage&) = delete;

  int TemplateId() const override { return templateId_; }
  void OnInitDialog(IDialogView& view) override;
  bool IsBuilt() const override { return view_ != nullptr; }
  void OnSetActive() override;
  bool OnKillActive() override;
  intptr_t OnApply() override;
  void OnReset() override { Reset(); }
  void OnHelp() override;
  void OnCommand(int controlId, int code) override;
  void OnEditFocus(int controlId, bool gained) override;
  void OnScroll(int controlId, int code, bool vertical) override;
  void OnPageRelease() override;
  // Printing preferences look like every other property sheet page.
  ControlColors CtlColor(int, ControlKind) const override { return kSystemColors; }

  PageContext& context() { return context_; }

 protected:
  IDialogView& view() { return *view_; }
  unsigned helpContext() const { return helpContext_; }
  void SetTexts(std::initializer_list<ControlText> texts);
  void AddNumberField(NumberField field) { fields_.push_back(std::move(field)); }
  // A number field's text as it shows without the focus.
  void ShowNumber(int control, double value);
  // PSM_CHANGED when the page's state differs from the backup, else
  // PSM_UNCHANGED.
  void UpdateChanged();

  // Page-specific set-up once the window exists (texts and fields are done).
  virtual void InitPage() {}
  // PSN_SETACTIVE: the current state into the controls.
  virtual void ShowState() {}
  // PSN_APPLY beyond ApplyPages; true when the page's apply succeeded.
  virtual bool Apply() { return ApplyPages(context_); }
  virtual void Reset() {}
  // A command, scroll or focus change the page handles; true when it did,
  // so that the Apply button is brought up to date.
  virtual bool HandleCommand(int controlId, int code) { return false; }
  virtual bool HandleScroll(int controlId, int code) { return false; }
  virtual bool HandleEditFocus(int controlId, bool gained) { return false; }
  // Whether what the page covers differs from the backup.
  virtual bool DiffersFromBackup() { return false; }
  // The page's window goes away.
  virtual void Released() {}

 private:
  NumberField* FieldOf(int control);
  void Typed(NumberField& field);
  void Focused(NumberField& field);
  void Left(NumberField& field);
  // Enter, OK or Apply while a number field has the focus: its value is
  // taken as leaving the field would take it; the field keeps the focus.
  void TakeFocusedField();
  void EndReference();

  PageContext& context_;
  int templateId_;
  unsigned helpContext_;
  bool sheetPage_;
  bool holdsReference_;
  IDialogView* view_ = nullptr;
  std::vector<NumberField> fields_;
};

}  // namespace lx
