#include "installer/discovery/service_names.h"

#include "common/text.h"

namespace lx {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

constexpr size_t kMaxTargetBytes = 255;   // a DNS name on the wire
constexpr size_t kMaxHostNameBytes = 253;  // its text without the root's dot
constexpr size_t kMaxLabelBytes = 63;

// Letters of any script, but not the C1 controls, the no-break space or
// the replacement character.
bool IsHostNameChar(char16_t c) {
  bool ascii = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'-' ||
               c == u'_';
  return ascii || (c > 0xA0 && c != 0xFFFD);
}

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

HostTarget HostTargetOf(const char* hostTarget) {
  std::string_view text = hostTarget ? std::string_view(hostTarget) : std::string_view();
  if (text.empty()) return {{}, "empty"};
  if (text.size() > kMaxTargetBytes) return {{}, "over 255 bytes"};
  if (text.back() == '.') text.remove_suffix(1);
  if (text.empty()) return {{}, "empty"};
  if (text.size() > kMaxHostNameBytes) return {{}, "over 253 characters"};
  std::u16string name = Utf8ToUtf16(text);
  if (Utf16ToUtf8(name) != text) return {{}, "not UTF-8"};
  size_t labelStart = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '.') continue;
    size_t length = i - labelStart;
    if (length == 0) return {{}, "an empty label"};
    if (length > kMaxLabelBytes) return {{}, "a label over 63 bytes"};
    // A leading '-' would read as a switch on a command line.
    if (text[labelStart] == '-') return {{}, "a label starting with '-'"};
    labelStart = i + 1;
  }
  for (char16_t c : name)
    if (c != u'.' && !IsHostNameChar(c)) return {{}, "a character no host name holds"};
  return {name, nullptr};
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
