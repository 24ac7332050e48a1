// In an object of its own: programs that never start one (the plug-in) do
// not import shell32 for it.
#include "platform/win32/win32_services.h"

#include <shellapi.h>

#include "platform/win32/wide.h"

namespace lx {

intptr_t Win32Shell::Execute(const std::u16string& verb, const std::u16string& file,
                             const std::u16string& parameters, const std::u16string& directory,
                             int show) {
  HINSTANCE r = ::ShellExecuteW(nullptr, WOrNull(verb), W(file), WOrNull(parameters),
                                WOrNull(directory), show);
  return reinterpret_cast<intptr_t>(r);
}

}  // namespace lx
