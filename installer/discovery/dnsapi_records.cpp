#include "installer/discovery/dnsapi_records.h"

#include <cstdio>

#include "common/text.h"
#include "installer/discovery/service_names.h"

namespace lx {

namespace {

// Null when absent; the text cut at kMaxInstanceText + 1 so that a longer one is seen as such.
bool ReadWide(const char16_t* s, std::u16string& out) {
  if (!s) return false;
  out.assign(s, StrLen16(s, kMaxInstanceText + 1));
  return true;
}

// IP4_ADDRESS holds the address in network order: its bytes in memory order.
std::u16string Ipv4Text(const uint32_t& address) {
  const auto* b = reinterpret_cast<const unsigned char*>(&address);
  char text[16];
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", b[0], b[1], b[2], b[3]);
  return Utf8ToUtf16(text);
}

}  // namespace

InstanceRecord RecordFromInstance(const dnsapi::ServiceInstance& instance) {
  InstanceRecord out;
  std::u16string wide;
  if (!ReadWide(instance.pszInstanceName, wide) || wide.empty()) {
    out.refusal = "no instance name";
    return out;
  }
  if (wide.size() > kMaxInstanceText) {
    out.refusal = "instance name longer than a DNS name";
    return out;
  }
  // Unpaired surrogates become U+FFFD, as bytes that are not UTF-8 do on the other road.
  std::string name = InstanceNameOf(Utf16ToUtf8(wide));
  if (name.empty()) {
    out.refusal = "empty instance name";
    return out;
  }
  if (name.size() > 255) {
    out.refusal = "instance name longer than 255 bytes";
    return out;
  }
  out.record.name = Utf8ToUtf16(name);

  std::u16string host;
  std::string host8;
  bool hasHost = ReadWide(instance.pszHostName, host);
  if (hasHost) host8 = Utf16ToUtf8(host);
  HostTarget target = HostTargetOf(hasHost ? host8.c_str() : nullptr);
  out.record.hostTarget = target.name;
  out.hostRefusal = target.refusal;

  out.record.port = instance.wPort;

  if (instance.ip4Address && *instance.ip4Address != 0) {
    out.record.address = Ipv4Text(*instance.ip4Address);
  } else {
    out.ipv6Only = instance.ip6Address != nullptr;
  }

  if (instance.keys && instance.values) {
    for (uint32_t i = 0; i < instance.dwPropertyCount; ++i) {
      std::u16string key;
      if (!ReadWide(instance.keys[i], key) || !EqualsIgnoreCase(key, u"product")) continue;
      // The first "product" counts, as TXTRecordGetValuePtr finds it.
      std::u16string value;
      ReadWide(instance.values[i], value);
      std::string value8 = Utf16ToUtf8(value);
      if (value8.size() > kMaxTxtValue) out.productNote = "product value longer than a TXT string";
      else out.record.product = Utf8ToUtf16(value8);
      break;
    }
  }
  return out;
}

AddressAnswer AddressFromRecords(const dnsapi::Record* records) {
  AddressAnswer out;
  bool ipv6 = false;
  size_t seen = 0;
  for (const dnsapi::Record* r = records; r && seen < kMaxAnswerRecords; r = r->pNext, ++seen) {
    if (r->wType == dnsapi::kTypeAaaa) ipv6 = true;
    // CNAME and other records may come first; 0.0.0.0 reaches no printer.
    if (r->wType != dnsapi::kTypeA || r->wDataLength < sizeof(uint32_t) || r->ipAddress == 0) continue;
    out.address = Ipv4Text(r->ipAddress);
    return out;
  }
  out.ipv6Only = ipv6;
  return out;
}

}  // namespace lx
