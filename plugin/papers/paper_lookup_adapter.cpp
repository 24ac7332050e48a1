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

PaperStore& PaperStoreLookup::Store() {
  if (!store_) store_ = &OpenPaperStore(context_, printerName_ ? printerName_() : std::u16string());
  return *store_;
}

std::optional<PaperInfo> PaperStoreLookup::FindByNumber(int32_t number) {
  if (auto found = FindPaperByNumber(Store(), number))
    return ToPaperInfo(found->record);
  return std::nullopt;
}

std::optional<PaperInfo> PaperStoreLookup::FindByName(const std::u16string& name) {
  if (auto found = FindPaperByName(Store(), name))
    return ToPaperInfo(found->record);
  return std::nullopt;
}

}  // namespace lx
