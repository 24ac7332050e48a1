#include "installer/core/ui_strings.h"

#include "platform/resources.h"
#include "platform/system.h"

namespace lx {

std::u16string LoadUiString(const Os& os, unsigned id) {
  if (auto text = os.resources->LoadTextLang(id, os.system->GetThreadUILanguage())) return *text;
  return os.resources->LoadText(id);
}

}  // namespace lx
