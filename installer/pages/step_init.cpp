#include "installer/pages/step_init.h"

#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"

namespace lx {

CStepInit::CStepInit(IWizardHost& host) : CMyPropertyPage(host, IDD_STEP_INIT) {}

void CStepInit::OnInitDialog(IDialogView& view) {
  CMyPropertyPage::OnInitDialog(view);
  for (const auto& code : g_config.languages) {
    const UiLanguage* row = FindUiLanguageBySuffix(code);
    if (!row) continue;
    view.ComboAdd(IDC_LANGUAGE_COMBO, row->displayName);
    offered_.push_back(row);
  }
  if (offered_.empty()) {
    for (int id : {0, 1}) {
      view.ComboAdd(IDC_LANGUAGE_COMBO, UiLanguageTable[id].displayName);
      offered_.push_back(&UiLanguageTable[id]);
    }
  }
  host_.state().language = UserLanguageId(os());
  view.ComboSetCurSel(IDC_LANGUAGE_COMBO, 0);
  SelectLanguage(host_.state().language);
}

// A language that is not offered clears the selection (the index asked for
// is then one past the list).
void CStepInit::SelectLanguage(int languageId) {
  size_t index = 0;
  while (index < offered_.size() && offered_[index]->languageId != languageId) ++index;
  view_->ComboSetCurSel(IDC_LANGUAGE_COMBO, static_cast<int>(index));
}

void CStepInit::OnSetActive() {
  SetSheetButtons(false, true, true);
  SelectLanguage(host_.state().language);
  if (const UiLanguage* row = FindUiLanguageById(host_.state().language)) ApplyUiLanguage(os(), *row);
  RefreshTexts();
}

intptr_t CStepInit::OnWizardNext() {
  std::u16string chosen = view_->GetText(IDC_LANGUAGE_COMBO);
  int languageId = 0;
  for (const auto& row : UiLanguageTable) {
    if (chosen == row.displayName) {
      languageId = row.languageId;
      break;
    }
  }
  // The language in force from here on (g_lang).
  host_.state().language = languageId;
  return kMoveDefault;
}

void CStepInit::RefreshTexts() {
  SetControlTexts(*view_, {{IDC_LANGUAGE_LABEL, IDS_SELECT_LANGUAGE}});
  SetSheetButtonTexts(IDS_NEXT, IDS_BACK, IDS_EXIT);
}

}  // namespace lx
