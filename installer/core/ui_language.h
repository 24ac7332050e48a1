// The installer's UI languages and the choice of the one in force.
#pragma once

#include <array>
#include <string>

#include "platform/os.h"
#include "platform/system.h"

namespace lx {

struct UiLanguage {
  int languageId;
  const char16_t* suffix;
  const char16_t* displayName;
  int primaryLangId;
  int subLangId;
  const char16_t* licenceFile;
  const char16_t* privacyFile;

  LangId WindowsLangId() const { return static_cast<LangId>((subLangId << 10) | primaryLangId); }
};

extern const std::array<UiLanguage, 14> UiLanguageTable;

// The languageId of the UI language in force: a view of the wizard state's
// language, which the language page changes.
extern int& g_lang;

void ApplyUiLanguage(const Os& os, const UiLanguage& language);
void DetectUiLanguage(const Os& os);
int UserLanguageId(const Os& os);

// The first row whose primary language matches, or null.
const UiLanguage* FindUiLanguageByPrimary(int primaryLangId);
const UiLanguage* FindUiLanguageBySuffix(const std::u16string& suffix);
// The row of a languageId, or null.
const UiLanguage* FindUiLanguageById(int languageId);

}  // namespace lx
