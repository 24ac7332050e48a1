#include "plugin/pages/document_pages.h"

#include "plugin/pages/document_about_page.h"
#include "plugin/pages/image_page.h"
#include "plugin/pages/options_page.h"
#include "plugin/pages/paper_page.h"
#include "plugin/pages/print_params_page.h"
#include "plugin/resources/resource_ids.h"

namespace lx {

namespace {

template <typename Page>
std::unique_ptr<DocumentPage> Make(PageContext& context) {
  return std::make_unique<Page>(context);
}

}  // namespace

const std::vector<DocumentPageRow>& DocumentPageTable() {
  static const std::vector<DocumentPageRow> specs = {
      {IDD_PAPER_PAGE, IDS_PAPER_TITLE, kHelpPaper, Make<PaperPage>},
      {IDD_OPTIONS_PAGE, IDS_OPTIONS_TITLE, kHelpOptions, Make<OptionsPage>},
      {IDD_IMAGE_PAGE, IDS_IMAGE_TITLE, kHelpPaper, Make<ImagePage>},
      {IDD_PRINT_PARAMS_PAGE, IDS_PRINT_PARAMS_TITLE, kHelpOptions, Make<PrintParamsPage>},
      {IDD_ABOUT_PAGE, IDS_ABOUT_TITLE, kHelpAbout, Make<DocumentAboutPage>},
  };
  return specs;
}

DocumentPagesResult BuildDocumentPages(const DocumentSheetInput& input, const AddDocumentPage& add) {
  DocumentPagesResult result;
  PageContext* context = PrepareDocumentSheet(input);
  if (!context) {
    result.hr = E_OUTOFMEMORY;
    return result;
  }
  result.allAdded = true;
  for (const DocumentPageRow& row : DocumentPageTable()) {
    if (!row.make) continue;
    std::unique_ptr<DocumentPage> page = row.make(*context);
    intptr_t answer = page ? add(std::move(page), row.titleId) : 0;
    if (answer <= 0) {
      result.allAdded = false;
      break;
    }
    ++result.added;
    result.lastResult = answer;
  }
  // The builder's own reference: with no page left the context goes now.
  context->Release();
  return result;
}

}  // namespace lx
