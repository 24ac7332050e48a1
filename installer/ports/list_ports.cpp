#include "installer/ports/list_ports.h"

#include <algorithm>
#include <climits>

#include "common/text.h"
#include "installer/core/resource_ids.h"
#include "installer/core/ui_strings.h"
#include "platform/spooler.h"

namespace lx {

namespace {

bool StartsWith(const std::u16string& s, const char16_t* prefix) {
  return s.compare(0, StrLen16(prefix), prefix) == 0;
}

}  // namespace

int PortKind(const std::u16string& name) {
  if (StartsWith(name, u"LPT")) return 1;
  if (StartsWith(name, u"COM")) return 2;
  if (StartsWith(name, u"USB")) return 3;
  return 4;
}

int PortNumber(const std::u16string& name) {
  size_t i = 0;
  while (i < name.size() && !(name[i] >= u'0' && name[i] <= u'9')) ++i;
  long long value = 0;
  for (; i < name.size() && name[i] >= u'0' && name[i] <= u'9'; ++i) {
    value = value * 10 + (name[i] - u'0');
    if (value > INT_MAX) value = INT_MAX;
  }
  return static_cast<int>(value);
}

std::vector<PortEntry> ListPorts(const Os& os) {
  std::vector<PortInfo2> ports;
  std::vector<PortEntry> entries;
  if (!os.spooler || !os.spooler->ListPorts(ports)) return entries;
  for (const auto& port : ports) {
    if (Contains(port.description, u"Adobe PDF") || Contains(port.portName, u"FOXIT") ||
        Contains(port.portName, u"Virtual"))
      continue;
    PortEntry entry{port.portName, port.description};
    if (StartsWith(port.portName, u"COM"))
      entry.description = LoadUiString(os, IDS_SERIAL_PORT);
    else if (StartsWith(port.portName, u"LPT"))
      entry.description = LoadUiString(os, IDS_PRINTER_PORT);
    entries.push_back(entry);
  }
  std::stable_sort(entries.begin(), entries.end(), [](const PortEntry& a, const PortEntry& b) {
    int ka = PortKind(a.name), kb = PortKind(b.name);
    if (ka != kb) return ka < kb;
    return PortNumber(a.name) < PortNumber(b.name);
  });
  return entries;
}

}  // namespace lx
