#include "platform/sim/sim_parts.h"

#include "common/text.h"

namespace lx {

void SimDebugOutput::OutputA(const std::string& text) { lines.push_back(AnsiToUtf16(text)); }

bool SimDebugOutput::Has(const std::u16string& line) const {
  for (const auto& l : lines)
    if (l == line) return true;
  return false;
}

std::optional<std::u16string> SimResources::LoadTextLang(unsigned id, LangId lang) {
  auto it = strings_.find({id, lang});
  if (it == strings_.end()) return std::nullopt;
  return it->second;
}

std::u16string SimResources::LoadText(unsigned id) {
  // The loader's order: thread UI language, then English, then any.
  if (auto s = LoadTextLang(id, system_.GetThreadUILanguage())) return *s;
  if (auto s = LoadTextLang(id, 1033)) return *s;
  for (const auto& [key, text] : strings_)
    if (key.first == id) return text;
  return u"";
}

IniDocument SimProfile::Load(const std::u16string& file) {
  auto bytes = files_.ReadFile(file);
  return bytes ? IniDocument::FromBytes(*bytes) : IniDocument::FromText(u"");
}

ProfileResult SimProfile::GetString(const std::u16string& section, const std::u16string& key,
                                    const std::u16string& def, size_t bufferChars,
                                    const std::u16string& file) {
  return Load(file).GetString(section, key, def, bufferChars);
}

ProfileResult SimProfile::GetSection(const std::u16string& section, size_t bufferChars,
                                     const std::u16string& file) {
  return Load(file).GetSection(section, bufferChars);
}

uint32_t SimProfile::GetInt(const std::u16string& section, const std::u16string& key, int def,
                            const std::u16string& file) {
  return Load(file).GetInt(section, key, def);
}

bool SimProfile::WriteString(const std::u16string& section, const std::u16string& key,
                             const std::u16string& value, const std::u16string& file) {
  // Rewrites the key in place, or appends it to its section, or appends the
  // section; the file keeps its other lines as they were.
  auto bytes = files_.ReadFile(file);
  if (!bytes && files_.FileExists(file)) return false;
  std::u16string text = bytes ? IniDocument::DecodeBytes(*bytes) : u"";
  std::vector<std::u16string> lines;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == std::u16string::npos) end = text.size();
    lines.push_back(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == u'\r') ++pos;
    if (pos < text.size() && text[pos] == u'\n') ++pos;
  }
  std::u16string entry = key + u"=" + value;
  bool inSection = false;
  size_t insertAt = std::u16string::npos;
  bool done = false;
  for (size_t i = 0; i < lines.size() && !done; ++i) {
    std::u16string_view t = Trim(lines[i]);
    if (!t.empty() && t[0] == u'[') {
      if (inSection) break;
      size_t close = t.rfind(u']');
      inSection = close != std::u16string_view::npos && EqualsIgnoreCase(t.substr(1, close - 1), Trim(section));
      if (inSection) insertAt = i + 1;
      continue;
    }
    if (!inSection) continue;
    size_t eq = t.find(u'=');
    if (eq != std::u16string_view::npos && EqualsIgnoreCase(Trim(t.substr(0, eq)), Trim(key))) {
      lines[i] = entry;
      done = true;
    } else if (!t.empty()) {
      insertAt = i + 1;
    }
  }
  if (!done) {
    if (insertAt == std::u16string::npos) {
      lines.push_back(u"[" + section + u"]");
      lines.push_back(entry);
    } else {
      lines.insert(lines.begin() + insertAt, entry);
    }
  }
  std::u16string out;
  for (const auto& l : lines) out += l + u"\r\n";
  std::string encoded = bytes && bytes->size() >= 2 && static_cast<unsigned char>((*bytes)[0]) == 0xFF &&
                                static_cast<unsigned char>((*bytes)[1]) == 0xFE
                            ? IniDocument::EncodeUtf16Le(out)
                            : Utf16ToAnsi(out);
  return files_.WriteFile(file, encoded);
}

}  // namespace lx
