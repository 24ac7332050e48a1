#include "installer/discovery/net_printer_list.h"

namespace lx {

uint64_t NetPrinterList::Clear() {
  std::lock_guard<std::mutex> hold(lock_);
  records_.clear();
  return ++generation_;
}

size_t NetPrinterList::Append(uint64_t generation, NetPrinterRecord record) {
  std::lock_guard<std::mutex> hold(lock_);
  if (generation != generation_) return kRefused;
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
