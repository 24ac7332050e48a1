// Any DNS_SERVICE_INSTANCE Windows' DNS-SD client can hand back for a host on
// the link: the conversion gives a row or none, never reads outside the
// fields, and keeps nothing a command line could mistake for a switch.
// Input: a presence byte, port (2 bytes), IPv4 (4 bytes), then UTF-16 units
// (little-endian pairs): name, host name, then key, value, key, value...,
// separated by 0xFFFF; a value of one 0xFFFE unit stands for no value.
// The same bytes, eight at a time, are also a DnsQueryEx answer's records
// (type, data length, IP4_ADDRESS), read for the A-record fallback.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "common/text.h"
#include "installer/discovery/dnsapi_records.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 7) return 0;
  const uint8_t present = data[0];
  uint16_t port = static_cast<uint16_t>(data[1] | (data[2] << 8));
  uint32_t ip4;
  std::memcpy(&ip4, data + 3, 4);
  std::vector<std::u16string> fields(1);
  for (size_t at = 7; at + 1 < size; at += 2) {
    char16_t unit = static_cast<char16_t>(data[at] | (data[at + 1] << 8));
    if (unit == 0xFFFF) fields.emplace_back();
    else fields.back() += unit;
  }
  while (fields.size() < 2) fields.emplace_back();
  std::vector<char16_t*> keys, values;
  for (size_t i = 2; i + 1 < fields.size(); i += 2) {
    keys.push_back(fields[i].data());
    values.push_back(fields[i + 1] == u"\xFFFE" ? nullptr : fields[i + 1].data());
  }
  unsigned char ip6[16] = {};
  lx::dnsapi::ServiceInstance in = {};
  in.pszInstanceName = (present & 1) ? fields[0].data() : nullptr;
  in.pszHostName = (present & 2) ? fields[1].data() : nullptr;
  in.ip4Address = (present & 4) ? &ip4 : nullptr;
  in.ip6Address = (present & 8) ? ip6 : nullptr;
  in.wPort = port;
  in.dwPropertyCount = static_cast<uint32_t>(keys.size());
  in.keys = (present & 16) ? keys.data() : nullptr;
  in.values = (present & 32) ? values.data() : nullptr;

  lx::InstanceRecord r = lx::RecordFromInstance(in);
  if (r.refusal) {
    if (!r.record.name.empty()) std::abort();
    return 0;
  }
  if (r.record.name.empty() || lx::Utf16ToUtf8(r.record.name).size() > 255) std::abort();
  if (lx::Utf16ToUtf8(r.record.product).size() > lx::kMaxTxtValue) std::abort();
  if (r.record.port != port) std::abort();
  // A kept host target goes into a port name and a script's arguments.
  for (char16_t c : r.record.hostTarget)
    if (c == u' ' || c == u'"' || c == u'/' || c == u'\\' || c == u'\t' || c < 0x20) std::abort();
  if (!r.record.hostTarget.empty() && r.hostRefusal) std::abort();
  if ((present & 4) && ip4 != 0 && r.record.address.empty()) std::abort();

  std::vector<lx::dnsapi::Record> records(size / 8);
  const lx::dnsapi::Record* firstA = nullptr;
  for (size_t i = 0; i < records.size(); ++i) {
    lx::dnsapi::Record& rec = records[i];
    rec = {};
    rec.wType = static_cast<uint16_t>(data[i * 8] | (data[i * 8 + 1] << 8));
    rec.wDataLength = static_cast<uint16_t>(data[i * 8 + 2] | (data[i * 8 + 3] << 8));
    std::memcpy(&rec.ipAddress, data + i * 8 + 4, 4);
    rec.pNext = i + 1 < records.size() ? &records[i + 1] : nullptr;
    if (!firstA && i < lx::kMaxAnswerRecords && rec.wType == lx::dnsapi::kTypeA && rec.wDataLength >= 4 &&
        rec.ipAddress != 0)
      firstA = &rec;
  }
  lx::AddressAnswer answer = lx::AddressFromRecords(records.empty() ? nullptr : records.data());
  if (!firstA != answer.address.empty()) std::abort();
  if (firstA) {
    const auto* b = reinterpret_cast<const unsigned char*>(&firstA->ipAddress);
    std::string text = std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + "." +
                       std::to_string(b[3]);
    if (lx::Utf16ToUtf8(answer.address) != text) std::abort();
  }
  return 0;
}
