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
  auto bytes = files_.ReadFile(file);
  if (!bytes && files_.FileExists(file)) return false;
  std::u16string text = bytes ? IniDocument::DecodeBytes(*bytes) : u"";
  std::u16string out = IniWithValue(text, section, key, value);
  std::string encoded = bytes && bytes->size() >= 2 && static_cast<unsigned char>((*bytes)[0]) == 0xFF &&
                                static_cast<unsigned char>((*bytes)[1]) == 0xFE
                            ? IniDocument::EncodeUtf16Le(out)
                            : Utf16ToAnsi(out);
  return files_.WriteFile(file, encoded);
}

}  // namespace lx
