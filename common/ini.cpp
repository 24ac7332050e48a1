#include "common/ini.h"

#include <algorithm>

#include "common/text.h"

namespace lx {

std::u16string IniDocument::DecodeBytes(std::string_view b) {
  auto u8 = [](char c) { return static_cast<unsigned char>(c); };
  if (b.size() >= 2 && u8(b[0]) == 0xFF && u8(b[1]) == 0xFE) {
    std::u16string out;
    for (size_t i = 2; i + 1 < b.size(); i += 2) out += static_cast<char16_t>(u8(b[i]) | (u8(b[i + 1]) << 8));
    return out;
  }
  if (b.size() >= 2 && u8(b[0]) == 0xFE && u8(b[1]) == 0xFF) {
    std::u16string out;
    for (size_t i = 2; i + 1 < b.size(); i += 2) out += static_cast<char16_t>((u8(b[i]) << 8) | u8(b[i + 1]));
    return out;
  }
  if (b.size() >= 3 && u8(b[0]) == 0xEF && u8(b[1]) == 0xBB && u8(b[2]) == 0xBF)
    return Utf8ToUtf16(b.substr(3));
  return AnsiToUtf16(b);
}

std::string IniDocument::EncodeUtf16Le(std::u16string_view text) {
  std::string out("\xFF\xFE", 2);
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

namespace {

// A NUL inside a line ends the text there, as the C strings of the real
// functions do.
std::u16string_view UpToNul(std::u16string_view s) {
  size_t n = s.find(u'\0');
  return n == std::u16string_view::npos ? s : s.substr(0, n);
}

// Strips one outer pair of matching quotes, as the value copy of the profile
// functions does.
std::u16string_view StripQuotes(std::u16string_view v) {
  if (v.size() >= 2 && (v[0] == u'"' || v[0] == u'\'') && v.back() == v[0])
    return v.substr(1, v.size() - 2);
  return v;
}

// Appends `s` into a buffer with `room` characters left (terminator included)
// and returns the number of characters written before the terminator.
size_t PutCut(std::u16string& out, std::u16string_view s, size_t room) {
  if (room == 0) return 0;
  size_t n = std::min(s.size(), room - 1);
  out.append(s.substr(0, n));
  return n;
}

}  // namespace

IniDocument IniDocument::FromBytes(std::string_view bytes) { return FromText(DecodeBytes(bytes)); }

IniDocument IniDocument::FromText(std::u16string_view text) {
  IniDocument doc;
  Section* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != u'\n' && text[end] != u'\r') ++end;
    std::u16string_view line = Trim(text.substr(pos, end - pos));
    pos = end;
    if (pos < text.size() && text[pos] == u'\r') ++pos;
    if (pos < text.size() && text[pos] == u'\n') ++pos;
    if (line.empty()) continue;
    if (line[0] == u'[') {
      size_t close = line.rfind(u']');
      if (close != std::u16string_view::npos && close > 0) {
        doc.sections_.push_back({std::u16string(UpToNul(Trim(line.substr(1, close - 1)))), {}});
        current = &doc.sections_.back();
      }
      continue;  // a header without ']' is ignored
    }
    if (!current) {
      // Keys before the first header belong to a section without a name.
      doc.sections_.push_back({u"", {}});
      current = &doc.sections_.back();
    }
    Entry e;
    size_t eq = line.find(u'=');
    if (eq == std::u16string_view::npos) {
      e.name = std::u16string(UpToNul(line));
    } else {
      e.name = std::u16string(UpToNul(Trim(line.substr(0, eq))));
      e.value = std::u16string(UpToNul(Trim(line.substr(eq + 1))));
      e.hasValue = true;
    }
    current->entries.push_back(std::move(e));
  }
  return doc;
}

const IniDocument::Section* IniDocument::FindSection(std::u16string_view name) const {
  name = Trim(name);
  for (const auto& s : sections_)
    if (EqualsIgnoreCase(s.name, name)) return &s;
  return nullptr;
}

ProfileResult IniDocument::GetString(std::u16string_view section, std::u16string_view key,
                                     std::u16string_view defaultValue, size_t bufferChars) const {
  ProfileResult r;
  if (bufferChars == 0) return r;
  std::u16string_view value;
  bool found = false;
  if (const Section* s = FindSection(section)) {
    key = Trim(key);
    for (const auto& e : s->entries) {
      if (EqualsIgnoreCase(e.name, key)) {
        // A line without '=' has no value: the default answers for it.
        found = e.hasValue;
        value = e.value;
        break;
      }
    }
  }
  if (!found) {
    // The default loses its trailing blanks, as the real function does.
    value = defaultValue;
    while (!value.empty() && value.back() == u' ') value.remove_suffix(1);
  }
  PutCut(r.text, StripQuotes(value), bufferChars);
  r.count = static_cast<uint32_t>(r.text.size());
  return r;
}

ProfileResult IniDocument::GetSection(std::u16string_view section, size_t bufferChars) const {
  ProfileResult r;
  const Section* s = FindSection(section);
  if (!s || bufferChars == 0) return r;
  // Fills a buffer of `bufferChars` exactly as the real function does: each
  // line NUL-terminated, `room` the characters still free.
  std::u16string& buf = r.text;
  size_t room = bufferChars;
  for (const auto& e : s->entries) {
    if (room <= 2) break;
    if (!e.name.empty() && e.name[0] == u';') continue;  // comment lines are not listed
    room -= PutCut(buf, StripQuotes(e.name), room - 1) + 1;
    buf += u'\0';
    if (room < 2) break;
    if (e.hasValue) {
      buf.back() = u'=';
      room -= PutCut(buf, e.value, room - 1) + 1;
      buf += u'\0';
    }
  }
  if (room <= 1) {
    // Too small: the last line is cut, two NULs end the buffer and the
    // count is the buffer size minus two.
    r.count = static_cast<uint32_t>(bufferChars >= 2 ? bufferChars - 2 : 0);
  } else {
    r.count = static_cast<uint32_t>(bufferChars - room);
  }
  buf.resize(r.count);
  return r;
}

uint32_t IniDocument::GetInt(std::u16string_view section, std::u16string_view key, int defaultValue) const {
  ProfileResult r = GetString(section, key, u"", 30);
  if (r.count == 0) return static_cast<uint32_t>(defaultValue);
  return ParseProfileInt(r.text);
}

uint32_t ParseProfileInt(std::u16string_view t) {
  size_t i = 0;
  while (i < t.size() && (t[i] == u' ' || t[i] == u'\t' || t[i] == u'\n' || t[i] == u'\r')) ++i;
  bool neg = false;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) neg = t[i++] == u'-';
  uint32_t v = 0;
  for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) v = v * 10 + (t[i] - u'0');
  return neg ? static_cast<uint32_t>(0u - v) : v;
}

std::u16string IniWithValue(std::u16string_view text, std::u16string_view sectionName, std::u16string_view keyName,
                            std::u16string_view valueText) {
  const std::u16string section(sectionName), key(keyName), value(valueText);
  std::vector<std::u16string> lines;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find_first_of(u"\r\n", pos);
    if (end == std::u16string::npos) end = text.size();
    lines.emplace_back(text.substr(pos, end - pos));
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
  return out;
}

}  // namespace lx
