// What a resolved DNS_SERVICE_INSTANCE gives as a NetPrinterRecord: the same
// rules as the dns_sd road (name unescaped, host target checked, port in host
// order, TXT "product") over the fields Windows' DNS-SD client fills.
#pragma once

#include "installer/discovery/net_printer_list.h"
#include "platform/dnsapi_api.h"

namespace lx {

struct InstanceRecord {
  NetPrinterRecord record;
  const char* refusal = nullptr;      // non-null: no row, and why
  const char* hostRefusal = nullptr;  // the host target was not kept
  const char* productNote = nullptr;  // the product value was not kept
  bool ipv6Only = false;              // an IPv6 address and no IPv4 one
};

// Longest wide text read from an instance; a DNS name is far shorter.
constexpr size_t kMaxInstanceText = 1024;
// A TXT string carries at most 255 bytes, key and '=' included.
constexpr size_t kMaxTxtValue = 255;

InstanceRecord RecordFromInstance(const dnsapi::ServiceInstance& instance);

// What a DnsQueryEx answer for a host's A record gives: the first usable A
// record's address, else none (`ipv6Only` when it held AAAA records only).
struct AddressAnswer {
  std::u16string address;
  bool ipv6Only = false;
};
// Records read from one answer; a list longer than this is cut.
constexpr size_t kMaxAnswerRecords = 64;
AddressAnswer AddressFromRecords(const dnsapi::Record* records);

}  // namespace lx
