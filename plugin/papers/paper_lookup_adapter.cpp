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

std::optional<PaperInfo> PaperStoreLookup::FindByNumber(int32_t number) {
  if (auto found = FindPaperByNumber(OpenPaperStore(context_, printerName_), number))
    return ToPaperInfo(found->record);
  return std::nullopt;
}

std::optional<PaperInfo> PaperStoreLookup::FindByName(const std::u16string& name) {
  if (auto found = FindPaperByName(OpenPaperStore(context_, printerName_), name))
    return ToPaperInfo(found->record);
  return std::nullopt;
}

}  // namespace lx
