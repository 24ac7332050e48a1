// Adds the plug-in's pages to the common property sheet of the printer's
// properties or preferences, each driven by its own page host.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "plugin/oem/oem_com.h"
#include "ui/property_page.h"

namespace lx {

// CPSFUNC_ADD_PROPSHEETPAGEW of a page from the template module `resources`
// under `title`, in `activationContext` when there is one; `extraFlags` are
// added to the page's flags (PSP_HASHELP). The page, its host and
// `keepAlive` live until the sheet releases the page (PSPCB_RELEASE); when
// the sheet refuses it they go at once. Answers what the sheet returned
// (> 0: added).
LONG_PTR AddSheetPage(PROPSHEETUI_INFO& sheet, std::unique_ptr<IPropertyPage> page, HINSTANCE resources,
                      const std::u16string& title, HANDLE activationContext, DWORD extraFlags = 0,
                      std::shared_ptr<void> keepAlive = nullptr);

}  // namespace lx
