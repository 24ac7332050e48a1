#include "plugin/pages/page_context.h"

#include <new>

#include "common/format.h"
#include "common/text.h"
#include "plugin/core/model_table.h"
#include "plugin/papers/paper_store.h"

namespace lx {

namespace {

void* AllocateFromProcess(void*, size_t size) {
  void* block = ::operator new(size, std::nothrow);
  return block;
}
void FreeToProcess(void*, void* block) { ::operator delete(block); }

// The public paper as a store record: by number below 256, then by size;
// else (or when nothing matched) by form name, then by size.
std::optional<FoundPaper> MatchPublicPaper(const PaperStore& store, const DEVMODEW& dm) {
  std::optional<FoundPaper> found;
  if (dm.dmPaperSize < kUserPaperNumber) {
    found = FindPaperByNumber(store, dm.dmPaperSize);
    if (!found) found = FindPaperBySize(store, dm.dmPaperWidth, dm.dmPaperLength);
  }
  if (!found) {
    std::u16string form(reinterpret_cast<const char16_t*>(dm.dmFormName),
                        StrLen16(reinterpret_cast<const char16_t*>(dm.dmFormName), CCHFORMNAME));
    found = FindPaperByName(store, form);
    if (!found) found = FindPaperBySize(store, dm.dmPaperWidth, dm.dmPaperLength);
  }
  return found;
}

}  // namespace

PageContextHeap ProcessPageContextHeap() { return {nullptr, AllocateFromProcess, FreeToProcess}; }

std::u16string PageContext::HelpFilePath() const {
  return FormatW(u"%s\\3\\%s", module.driverDirectory.c_str(), module.helpFileName.c_str());
}

void PageContext::Release() {
  if (--pageRefs_ > 0) return;
  PageContextHeap heap = heap_;
  this->~PageContext();
  if (heap.free) heap.free(heap.state, this);
}

PageContext* CreatePageContext(const PageContextHeap& heap) {
  if (!heap.allocate) return nullptr;
  void* block = heap.allocate(heap.state, sizeof(PageContext));
  if (!block) return nullptr;
  auto* context = new (block) PageContext();
  context->heap_ = heap;
  context->pageRefs_ = 1;
  return context;
}

PageContext* PrepareDocumentSheet(const DocumentSheetInput& input) {
  const PageModule& module = input.module;
  ISpooler* spooler = module.platform ? module.platform->spooler : nullptr;
  PrinterInfo2 info;
  const bool known = spooler && input.printer && spooler->GetInfo2(input.printer, info);
  // Each sheet starts from the configuration's class, never from the class
  // another printer's sheet found.
  int modelClass = module.configModelClass;
  if (known && !info.driverName.empty()) {
    std::u16string driver = info.driverName.substr(0, 31);
    if (module.platform) lx::Trace(*module.platform, driver);
    modelClass = ApplyModelTable(driver, modelClass);
  }
  if (input.features && module.options) ReadFeatures(*input.features, input.core, *module.options);

  PageContext* context = CreatePageContext(input.heap);
  if (!context) return nullptr;
  context->modelClass_ = modelClass;
  context->live = input.live;
  context->features = input.features;
  context->printer = input.printer;
  context->publicDm = input.publicDm;
  context->env = input.env;
  context->module = module;
  if (known) context->printerName = CutToBuffer(info.printerName, kPageContextPrinterChars);

  DEVMODEW* dm = input.publicDm;
  if (context->live) {
    context->live->reserved1C = 0;
    if (dm) context->live->collate = dm->dmCollate;
  }
  if (dm) {
    std::u16string form(reinterpret_cast<const char16_t*>(dm->dmFormName),
                        StrLen16(reinterpret_cast<const char16_t*>(dm->dmFormName), CCHFORMNAME));
    context->Trace(FormatW(u"Ui Init, tchPrinterName=%s, paper id = %d, w=%d, h=%d, formName=%s",
                           context->printerName.c_str(), static_cast<int>(dm->dmPaperSize),
                           static_cast<int>(dm->dmPaperWidth), static_cast<int>(dm->dmPaperLength),
                           form.c_str()));
  }
  if (module.papers) {
    PaperLock hold = context->LockPapers();
    context->papers = &OpenPaperStore(*module.papers, context->printerName);
    if (dm && context->live)
      if (auto found = MatchPublicPaper(*context->papers, *dm))
        context->live->paperId = static_cast<int16_t>(found->record.number);
  }
  if (context->live) context->copy = *context->live;
  return context;
}

}  // namespace lx
