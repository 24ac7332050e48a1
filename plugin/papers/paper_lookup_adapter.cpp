#include "plugin/papers/paper_lookup_adapter.h"

namespace lx {

PaperInfo ToPaperInfo(const PaperRecord& record) {
  PaperInfo info;
  info.number = record.number;
  info.name = PaperName(record);
  info.widthTenths = MmToTenths(record.width);
  info.lengthTenths = MmToTenths(record.height);
  return info;
}

// The name is asked for before the lock is taken: it may call the spooler.
PaperStore& PaperStoreLookup::Store(PaperLock& hold) {
  if (!store_) {
    std::u16string name = printerName_ ? printerName_() : std::u16string();
    hold = LockPapers(context_);
    store_ = &OpenPaperStore(context_, name);
  } else {
    hold = LockPapers(context_);
  }
  return *store_;
}

std::optional<PaperInfo> PaperStoreLookup::FindByNumber(int32_t number) {
  PaperLock hold;
  if (auto found = FindPaperByNumber(Store(hold), number))
    return ToPaperInfo(found->record);
  return std::nullopt;
}

std::optional<PaperInfo> PaperStoreLookup::FindByName(const std::u16string& name) {
  PaperLock hold;
  if (auto found = FindPaperByName(Store(hold), name))
    return ToPaperInfo(found->record);
  return std::nullopt;
}

}  // namespace lx
