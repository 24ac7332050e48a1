#include "installer/engine/language_suffix.h"

#include "installer/core/ui_language.h"
#include "platform/registry.h"

namespace lx {

namespace {

bool StoreSuffix(const Os& os, const WizardState& state, const std::u16string& suffix) {
  std::u16string key = u"SOFTWARE\\" + state.LanguageRegPath();
  return os.registry->CreateKey(RegRoot::kLocalMachine, key) &&
         os.registry->SetString(RegRoot::kLocalMachine, key, u"Suffix", suffix);
}

}  // namespace

bool WriteUiLanguageSuffix(const Os& os, const WizardState& state) {
  const UiLanguage* row = FindUiLanguageById(state.language);
  if (row && StoreSuffix(os, state, row->suffix)) return true;
  return StoreSuffix(os, state, u"enus");
}

}  // namespace lx
