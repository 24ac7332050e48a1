#include "plugin/win32/sheet_pages.h"

#include <new>

#include "ui/win32/win32_page_host.h"

namespace lx {

namespace {

struct HostedPage {
  HostedPage(std::unique_ptr<IPropertyPage> p, HINSTANCE resources) : page(std::move(p)), host(*page, resources) {}
  std::unique_ptr<IPropertyPage> page;
  Win32PageHost host;
  bool* releasedWhileAdding = nullptr;
  std::shared_ptr<void> keepAlive;  // what the page uses beyond itself (its sheet's environment)
};

}  // namespace

LONG_PTR AddSheetPage(PROPSHEETUI_INFO& sheet, std::unique_ptr<IPropertyPage> page, HINSTANCE resources,
                      const std::u16string& title, HANDLE activationContext, DWORD extraFlags,
                      std::shared_ptr<void> keepAlive) {
  if (sheet.pfnComPropSheet == nullptr || page == nullptr) return 0;
  auto* hosted = new (std::nothrow) HostedPage(std::move(page), resources);
  if (hosted == nullptr) return 0;
  hosted->keepAlive = std::move(keepAlive);
  hosted->host.SetOnReleased([hosted] {
    if (hosted->releasedWhileAdding != nullptr) *hosted->releasedWhileAdding = true;
    delete hosted;
  });
  PROPSHEETPAGEW description = hosted->host.Describe(title, activationContext);
  description.dwFlags |= extraFlags;
  // A sheet that made the page and then gave up on it has released it already.
  bool released = false;
  hosted->releasedWhileAdding = &released;
  LONG_PTR added = sheet.pfnComPropSheet(sheet.hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                         reinterpret_cast<LPARAM>(&description), 0);
  if (released) return added;
  hosted->releasedWhileAdding = nullptr;
  // A refused page is never made, so no release would come for it.
  if (added <= 0) delete hosted;
  return added;
}

}  // namespace lx
