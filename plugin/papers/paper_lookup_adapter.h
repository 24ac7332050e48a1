// The DEVMODE merge's paper lookup, answered by the module's paper store;
// each lookup holds the context's lock while it reads the store.
#pragma once

#include <functional>
#include <string>

#include "plugin/core/paper_lookup.h"
#include "plugin/papers/paper_persistence.h"

namespace lx {

class PaperStoreLookup : public IPaperLookup {
 public:
  // The printer's store is opened (or found) at the first lookup.
  PaperStoreLookup(PaperContext& context, std::u16string printerName)
      : context_(context), printerName_([name = std::move(printerName)] { return name; }) {}
  // The name is asked for at the first lookup only.
  PaperStoreLookup(PaperContext& context, std::function<std::u16string()> printerName)
      : context_(context), printerName_(std::move(printerName)) {}

  std::optional<PaperInfo> FindByNumber(int32_t number) override;
  std::optional<PaperInfo> FindByName(const std::u16string& name) override;

 private:
  // The printer's store, with `hold` holding the context's lock.
  PaperStore& Store(PaperLock& hold);

  PaperContext& context_;
  std::function<std::u16string()> printerName_;
  PaperStore* store_ = nullptr;
};

// The record as the merge uses it: sizes in tenths of a millimetre.
PaperInfo ToPaperInfo(const PaperRecord& record);

}  // namespace lx
