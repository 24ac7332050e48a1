// Language codes: the fourteen UI languages of the plug-in, and the table
// that names a Windows language when the installer left no choice.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/system.h"

namespace lx {

inline constexpr int kUiLanguageCount = 14;
// Codes by UI language index: "enus", "zhcn", "ru", "ja", ...
extern const char16_t* const kUiLanguageCodes[kUiLanguageCount];

// The index whose code equals `suffix` without regard to case, else 0.
int UiLanguageIndex(std::u16string_view suffix);
// Whether `suffix` equals one of the codes without regard to case.
bool IsUiLanguageCode(std::u16string_view suffix);
const char16_t* UiLanguageCode(int index);

// The code of a Windows language id by primary language (low 10 bits) and
// sublanguage (high 6 bits); nothing where the table has no cell.
std::optional<std::u16string> WindowsLanguageCode(LangId lang);

}  // namespace lx
