#include "ui/win32/win32_desktop.h"

#include <windows.h>
#include <commctrl.h>

#include "platform/win32/wide.h"

namespace lx {

bool Win32Desktop::InitCommonControls(uint32_t size, uint32_t classes) {
  INITCOMMONCONTROLSEX icc{};
  icc.dwSize = size;
  icc.dwICC = classes;
  return ::InitCommonControlsEx(&icc) != FALSE;
}

bool Win32Desktop::LoadRichEdit() { return ::LoadLibraryW(L"Riched20.dll") != nullptr; }

int Win32Desktop::ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) {
  return ::MessageBoxW(nullptr, W(text), W(caption), type);
}

}  // namespace lx
