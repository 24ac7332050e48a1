#include "plugin/papers/win32/module_papers.h"

#include <winspool.h>

#include <vector>

#include "platform/win32/wide.h"
#include "platform/win32/win32_file_security.h"
#include "platform/win32/win32_os.h"
#include "plugin/core/naming.h"

namespace lx {

namespace {

// This module's own file, found from an address inside it.
std::u16string OwnModulePath() {
  HMODULE self = nullptr;
  if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&OwnModulePath), &self))
    return u"";
  wchar_t path[MAX_PATH] = {};
  DWORD n = ::GetModuleFileNameW(self, path, MAX_PATH);
  return n > 0 && n < MAX_PATH ? U(path, n) : std::u16string();
}

struct WindowsPapers {
  WindowsPapers() : context(Platform()) {}

  PaperPlatform Platform() {
    PaperPlatform p;
    p.spooler = &spooler;
    p.profile = &profile;
    p.files = &files;
    p.system = &system;
    p.debug = &debug;
    p.security = &security;
    p.paperFileName = PaperFileName(ModuleBaseName(OwnModulePath()));
    debug.OutputW(p.paperFileName);
    return p;
  }

  Win32Spooler spooler;
  Win32Profile profile;
  Win32Files files;
  Win32System system;
  Win32DebugOutput debug;
  Win32FileSecurity security;
  PaperContext context;
};

}  // namespace

PaperContext& ModulePapers() {
  static WindowsPapers papers;
  return papers.context;
}

std::u16string PrinterNameOfHandle(HANDLE printer) {
  if (printer == nullptr) return u"";
  DWORD needed = 0;
  ::GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (needed < sizeof(PRINTER_INFO_2W)) return u"";
  std::vector<BYTE> buffer(needed);
  if (!::GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return u"";
  return U(reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data())->pPrinterName);
}

}  // namespace lx
