// Resources of the running program.
#pragma once

#include <optional>
#include <string>

#include "platform/system.h"

namespace lx {

class IResources {
 public:
  virtual ~IResources() = default;
  // The string `id` of the program's string table in exactly `lang`, or
  // nothing when that language has no such string.
  virtual std::optional<std::u16string> LoadTextLang(unsigned id, LangId lang) = 0;
  // LoadStringW: the string in the thread's UI language as the loader picks it.
  virtual std::u16string LoadText(unsigned id) = 0;
};

}  // namespace lx
