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

bool Win32Desktop::LoadRichEdit() {
  // By its full path in the system folder: a Riched20.dll beside the
  // elevated installer or in the current folder is never the one loaded.
  wchar_t path[MAX_PATH];
  UINT n = ::GetSystemDirectoryW(path, MAX_PATH);
  if (n == 0 || n + 14 >= MAX_PATH) return false;
  ::lstrcatW(path, L"\\Riched20.dll");
  return ::LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH) != nullptr;
}

int Win32Desktop::ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) {
  return ::MessageBoxW(nullptr, W(text), W(caption), type);
}

}  // namespace lx
