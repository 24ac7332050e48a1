#include "installer/discovery/service_names.h"

namespace lx {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string UnescapeDnsName(std::string_view in) {
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] != '\\' || i + 1 >= in.size()) {
      out += in[i];
      continue;
    }
    if (i + 3 < in.size() && IsDigit(in[i + 1]) && IsDigit(in[i + 2]) && IsDigit(in[i + 3])) {
      int value = (in[i + 1] - '0') * 100 + (in[i + 2] - '0') * 10 + (in[i + 3] - '0');
      if (value <= 255) {
        out += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    if (IsDigit(in[i + 1])) {
      // A broken \DDD stays visible as received.
      out += in[i];
      continue;
    }
    out += in[i + 1];
    ++i;
  }
  return out;
}

std::string InstanceNameOf(std::string_view full) {
  const std::string_view suffix(kPdlServiceSuffix);
  size_t cut = std::string_view::npos;
  for (size_t i = 0; i < full.size(); ++i) {
    if (full[i] == '\\') {
      // The escaped character (or \DDD) belongs to the label.
      if (i + 3 < full.size() && IsDigit(full[i + 1]) && IsDigit(full[i + 2]) && IsDigit(full[i + 3]))
        i += 3;
      else
        ++i;
      continue;
    }
    if (full.compare(i, suffix.size(), suffix) == 0) {
      cut = i;
      break;
    }
  }
  if (cut == std::string_view::npos || cut == 0) return UnescapeDnsName(full);
  return UnescapeDnsName(full.substr(0, cut));
}

bool ServiceNameHasModel(const ModelTable& models, const std::u16string& name) {
  return models.AnyHostIn(name);
}

NetModelMatch MatchModelByServiceName(const ModelTable& models, const std::u16string& name) {
  const ModelEntry* m = models.ByHostPrefix(name);
  if (!m) return {};
  return {m->PRINTERNAME, m->DriverName};
}

}  // namespace lx
