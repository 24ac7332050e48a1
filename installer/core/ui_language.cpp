#include "installer/core/ui_language.h"

#include "installer/core/trace.h"
#include "installer/core/wizard_state.h"

namespace lx {

int& g_lang = TheWizardState().language;

const std::array<UiLanguage, 14> UiLanguageTable = {{
    {0, u"enus", u"English", 9, 1, u"English\\licence.rtf", u"English\\privacy.rtf"},
    {1, u"zhcn", u"\u4E2D\u6587", 4, 2, u"Simplified_Chinese\\licence.rtf", u"Simplified_Chinese\\privacy.rtf"},
    {2, u"ru", u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439", 25, 1, u"Russian\\licence.rtf", u"Russian\\privacy.rtf"},
    {3, u"ja", u"\u65E5\u672C\u8A9E", 17, 1, u"Japanese\\licence.rtf", u"Japanese\\privacy.rtf"},
    {4, u"zhtw", u"\u7E41\u9AD4", 4, 1, u"Traditional_Chinese\\licence.rtf", u"Traditional_Chinese\\privacy.rtf"},
    {5, u"it", u"Italian", 16, 1, u"Italian\\licence.rtf", u"Italian\\privacy.rtf"},
    {6, u"esmx", u"Spanish", 10, 2, u"Spanish\\licence.rtf", u"Spanish\\privacy.rtf"},
    {7, u"tr", u"Turkish", 31, 1, u"Turkish\\licence.rtf", u"Turkish\\privacy.rtf"},
    {8, u"pl", u"Polish", 21, 1, u"Polish\\licence.rtf", u"Polish\\privacy.rtf"},
    {9, u"tl", u"Thailand", 30, 1, u"Thailand\\licence.rtf", u"Thailand\\privacy.rtf"},
    {10, u"pt", u"Portugal", 22, 1, u"Portugal\\licence.rtf", u"Portugal\\privacy.rtf"},
    {11, u"de", u"Germany", 7, 1, u"German\\licence.rtf", u"German\\privacy.rtf"},
    {12, u"fr", u"France", 12, 1, u"French\\licence.rtf", u"French\\privacy.rtf"},
    {13, u"nl", u"Netherlands", 19, 1, u"Dutch\\licence.rtf", u"Dutch\\privacy.rtf"},
}};

namespace {

constexpr int kChinese = 4;
constexpr LangId kSimplifiedChinese = 2052;
constexpr LangId kTraditionalChinese = 1028;
constexpr int kTraditionalRow = 4;

// Steps 1 to 3 of the choice: the row for the user's language, and the
// language to put in force (0 when none).
int ChooseLanguage(const Os& os, LangId& toApply) {
  LangId user = os.system->GetUserDefaultUILanguage();
  DebugTrace(os, "langID=%d", static_cast<int>(user));
  toApply = 0;
  const UiLanguage* row = FindUiLanguageByPrimary(user & 0x3FF);
  if (!row) return -1;
  if (row->primaryLangId != kChinese || user == kSimplifiedChinese) {
    toApply = row->WindowsLangId();
    return row->languageId;
  }
  // Every other Chinese (Taiwan, Hong Kong, Macao, Singapore) reads Traditional.
  toApply = kTraditionalChinese;
  return kTraditionalRow;
}

}  // namespace

const UiLanguage* FindUiLanguageByPrimary(int primaryLangId) {
  for (const auto& row : UiLanguageTable)
    if (row.primaryLangId == primaryLangId) return &row;
  return nullptr;
}

const UiLanguage* FindUiLanguageById(int languageId) {
  for (const auto& row : UiLanguageTable)
    if (row.languageId == languageId) return &row;
  return nullptr;
}

const UiLanguage* FindUiLanguageBySuffix(const std::u16string& suffix) {
  for (const auto& row : UiLanguageTable)
    if (suffix == row.suffix) return &row;
  return nullptr;
}

void ApplyUiLanguage(const Os& os, const UiLanguage& language) {
  os.system->SetThreadUILanguage(language.WindowsLangId());
}

void DetectUiLanguage(const Os& os) {
  LangId toApply = 0;
  int id = ChooseLanguage(os, toApply);
  if (id >= 0) {
    g_lang = id;
    os.system->SetThreadUILanguage(toApply);
  }
  DebugTrace(os, "g_lang=%d", g_lang);
}

int UserLanguageId(const Os& os) {
  LangId ignored = 0;
  int id = ChooseLanguage(os, ignored);
  return id < 0 ? 0 : id;
}

}  // namespace lx
