#include "installer/discovery/net_printer_list.h"

#include "common/text.h"

namespace lx {

uint64_t NetPrinterList::Clear() {
  std::lock_guard<std::mutex> hold(lock_);
  records_.clear();
  return ++generation_;
}

size_t NetPrinterList::Keep(uint64_t generation, NetPrinterRecord record) {
  std::lock_guard<std::mutex> hold(lock_);
  if (generation != generation_) return kRefused;
  for (size_t i = 0; i < records_.size(); ++i)
    if (EqualsIgnoreCase(records_[i].name, record.name)) {
      // The row keeps the name it was first listed under.
      record.name = std::move(records_[i].name);
      records_[i] = std::move(record);
      return i;
    }
  if (records_.size() >= kMaxRecords) return kFull;
  records_.push_back(std::move(record));
  return records_.size() - 1;
}

bool NetPrinterList::SetAddress(uint64_t generation, size_t index, const std::u16string& address) {
  std::lock_guard<std::mutex> hold(lock_);
  if (generation != generation_ || index >= records_.size()) return false;
  records_[index].address = address;
  return true;
}

size_t NetPrinterList::Size() const {
  std::lock_guard<std::mutex> hold(lock_);
  return records_.size();
}

std::vector<NetPrinterRecord> NetPrinterList::Copy() const {
  std::lock_guard<std::mutex> hold(lock_);
  return records_;
}

}  // namespace lx
