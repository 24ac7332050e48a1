// The five pages of the printing preferences, in the order the sheet shows
// them, and the building of a sheet from its INIT.
#pragma once

#include <functional>
#include <memory>

#include "plugin/pages/document_page.h"
#include "plugin/pages/page_context.h"

namespace lx {

struct DocumentPageRow {
  int templateId;
  unsigned titleId;
  unsigned helpContext;
  // Null for a page this build does not have yet.
  std::unique_ptr<DocumentPage> (*make)(PageContext& context);
};
// Paper, Options, Image processing, Print parameters, About.
const std::vector<DocumentPageRow>& DocumentPageTable();

// Adds one page to the sheet (CPSFUNC_ADD_PROPSHEETPAGEW) under the title of
// string `titleId`, with help; answers what the sheet returned (> 0: added).
// The page is the sheet's from then on, also when it was refused.
using AddDocumentPage = std::function<intptr_t(std::unique_ptr<IPropertyPage> page, unsigned titleId)>;

struct DocumentPagesResult {
  HRESULT hr = S_OK;
  int added = 0;
  intptr_t lastResult = 0;  // what the sheet answered for the last page added
  bool allAdded = false;    // false: a page was refused and the rest not tried
};

// PrepareDocumentSheet, then the pages in order; a refused page stops the
// ones after it. E_OUTOFMEMORY, and no page, when the context cannot be
// made. The context goes with the last page released.
DocumentPagesResult BuildDocumentPages(const DocumentSheetInput& input, const AddDocumentPage& add);

}  // namespace lx
