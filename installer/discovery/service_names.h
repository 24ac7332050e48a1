// Service names of announced printers: the instance part of a resolved full
// name, and the model lookups by name.
#pragma once

#include <string>
#include <string_view>

#include "installer/core/installer_config.h"

namespace lx {

constexpr char kPdlServiceSuffix[] = "._pdl-datastream._tcp";

// The instance part of an escaped full name ("LX-220\032Label._pdl-datastream
// ._tcp.local."): the text before the first unescaped "._pdl-datastream._tcp",
// or the whole name when that is missing or at the start; its DNS-SD escapes
// (\DDD and \X) undone, so an escaped dot stays part of the name.
std::string InstanceNameOf(std::string_view fullName);
// Undoes \DDD (decimal 000-255) and \X; any other backslash stays as it is.
std::string UnescapeDnsName(std::string_view escaped);

// What a resolve reply's host target ("lx220-0a1b.local.") gives as a host
// name: the name without its trailing dot, or nothing and why not (empty,
// longer than a DNS name, not UTF-8, an empty label or a label of more than
// 63 bytes, a label starting with '-', or a character other than letters,
// digits, '-' and '_' of any script).
struct HostTarget {
  std::u16string name;
  const char* refusal = nullptr;  // null when `name` is usable
};
HostTarget HostTargetOf(const char* hostTarget);

// True when some model's HOSTNAME occurs anywhere in the name.
bool ServiceNameHasModel(const ModelTable& models, const std::u16string& name);

struct NetModelMatch {
  std::u16string printerName;  // PRINTERNAME, empty when no model matches
  std::u16string driverName;   // DriverName, empty when no model matches
};
// The first model whose HOSTNAME begins the name.
NetModelMatch MatchModelByServiceName(const ModelTable& models, const std::u16string& name);

}  // namespace lx
