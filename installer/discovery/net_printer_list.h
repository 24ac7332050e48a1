// The printers a network search found, shared by the poll thread that fills
// the list and the pages that copy it.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace lx {

struct NetPrinterRecord {
  std::u16string name;     // instance name, unescaped, as announced
  std::u16string address;  // dotted IPv4; empty until the address lookup answers
  int32_t port = 0;        // host byte order
  std::u16string product;  // TXT "product"; empty when absent
  // The resolve reply's host target without its trailing dot; empty when
  // the reply gave none a host name can be (the printer is then installed
  // by its address).
  std::u16string hostTarget;
};

// In arrival order, never sorted, one record per instance name (letter case
// aside): a name announced again replaces its record in place. Every access
// takes the one lock. Each emptying starts a new generation: a writer of an
// earlier search, still running after its stop, no longer changes the list.
class NetPrinterList {
 public:
  // More than a link of label printers holds; a flood of announcements
  // cannot grow the list and the page without end.
  static constexpr size_t kMaxRecords = 64;
  static constexpr size_t kRefused = static_cast<size_t>(-1);
  static constexpr size_t kFull = static_cast<size_t>(-2);

  // Empties the list and returns the new generation.
  uint64_t Clear();
  // The index of the record kept (replaced or appended); kRefused for an
  // old generation, kFull for a new name when kMaxRecords are kept.
  size_t Keep(uint64_t generation, NetPrinterRecord record);
  // False for an old generation or an index no record has.
  bool SetAddress(uint64_t generation, size_t index, const std::u16string& address);
  size_t Size() const;
  std::vector<NetPrinterRecord> Copy() const;

 private:
  mutable std::mutex lock_;
  std::vector<NetPrinterRecord> records_;
  uint64_t generation_ = 0;
};

}  // namespace lx
