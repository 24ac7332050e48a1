#include "ui/fake/rc_reader.h"

#include <cctype>
#include <fstream>
#include <sstream>

#include "common/text.h"

namespace lx {

namespace {

std::optional<std::string> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream s;
  s << in.rdbuf();
  std::string text = s.str();
  if (text.size() >= 3 && text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  return text;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::string TrimA(const std::string& s) {
  size_t b = s.find_first_not_of(" \t");
  if (b == std::string::npos) return "";
  size_t e = s.find_last_not_of(" \t");
  return s.substr(b, e - b + 1);
}

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// A quoted resource-script string starting at text[pos] == '"'; pos ends
// after the closing quote. "" stands for one quote.
std::string ReadQuoted(const std::string& text, size_t& pos) {
  std::string out;
  ++pos;
  while (pos < text.size()) {
    char c = text[pos];
    if (c == '"') {
      if (pos + 1 < text.size() && text[pos + 1] == '"') {
        out += '"';
        pos += 2;
        continue;
      }
      ++pos;
      break;
    }
    if (c == '\\' && pos + 1 < text.size()) {
      char n = text[pos + 1];
      switch (n) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        case '"': out += '"'; break;
        case '0': out += '\0'; break;
        default: out += '\\'; out += n; break;
      }
      pos += 2;
      continue;
    }
    out += c;
    ++pos;
  }
  return out;
}

// Top-level comma-separated arguments; quoted strings keep a leading '"'
// marker so that a caption is told from an expression.
std::vector<std::string> SplitArgs(const std::string& text) {
  std::vector<std::string> args;
  std::string cur;
  size_t pos = 0;
  while (pos < text.size()) {
    char c = text[pos];
    if (c == '"') {
      cur += '"';
      cur += ReadQuoted(text, pos);
      continue;
    }
    if (c == ',') {
      args.push_back(TrimA(cur));
      cur.clear();
      ++pos;
      continue;
    }
    cur += c;
    ++pos;
  }
  if (!TrimA(cur).empty() || !args.empty()) args.push_back(TrimA(cur));
  return args;
}

std::u16string Caption(const std::string& arg) {
  if (arg.empty() || arg[0] != '"') return u"";
  return Utf8ToUtf16(arg.substr(1));
}

bool HasWord(const std::string& expr, const std::string& word) {
  size_t pos = 0;
  while ((pos = expr.find(word, pos)) != std::string::npos) {
    bool startOk = pos == 0 || !IsIdentChar(expr[pos - 1]);
    size_t end = pos + word.size();
    bool endOk = end >= expr.size() || !IsIdentChar(expr[end]);
    if (startOk && endOk) return true;
    pos = end;
  }
  return false;
}

bool HasNotVisible(const std::string& expr) {
  size_t pos = expr.find("NOT");
  return pos != std::string::npos && expr.find("WS_VISIBLE", pos) != std::string::npos;
}

}  // namespace

Rect DialogUnitsToPixels(const Rect& du) {
  auto x = [](int v) { return (v * 6 + 2) / 4; };
  auto y = [](int v) { return (v * 13 + 4) / 8; };
  return {x(du.left), y(du.top), x(du.right), y(du.bottom)};
}

std::optional<long> RcScripts::Define(const std::string& name) const {
  auto it = defines_.find(name);
  if (it == defines_.end()) return std::nullopt;
  return it->second;
}

std::optional<long> RcScripts::Value(const std::string& token) const {
  std::string t = TrimA(token);
  if (t.empty()) return std::nullopt;
  if (std::isdigit(static_cast<unsigned char>(t[0])) || t[0] == '-') {
    try {
      size_t used = 0;
      long v = std::stol(t, &used, 0);
      if (used == t.size()) return v;
    } catch (...) {
    }
    return std::nullopt;
  }
  return Define(t);
}

bool RcScripts::ReadDefines(const std::string& path) {
  auto text = ReadAll(path);
  if (!text) return false;
  for (const auto& raw : Lines(*text)) {
    std::istringstream in(TrimA(raw));
    std::string hash, name, value;
    if (!(in >> hash >> name >> value) || hash != "#define") continue;
    if (auto v = Value(value)) defines_[name] = *v;
  }
  return true;
}

bool RcScripts::ReadBitmaps(const std::string& path) {
  auto text = ReadAll(path);
  if (!text) return false;
  for (const auto& raw : Lines(*text)) {
    std::istringstream in(TrimA(raw));
    std::string name, kind;
    if (!(in >> name >> kind) || kind != "BITMAP") continue;
    if (auto v = Value(name)) bitmaps_.insert(static_cast<int>(*v));
  }
  return true;
}

bool RcScripts::ReadDialogs(const std::string& path) {
  auto text = ReadAll(path);
  if (!text) return false;
  std::map<std::string, std::string> macros;
  auto expand = [&macros](std::string s) {
    for (int depth = 0; depth < 8; ++depth) {
      std::string out;
      bool changed = false;
      for (size_t i = 0; i < s.size();) {
        if (s[i] == '"') {  // strings are not expanded
          size_t j = i;
          ReadQuoted(s, j);
          out += s.substr(i, j - i);
          i = j;
        } else if (IsIdentStart(s[i])) {
          size_t j = i;
          while (j < s.size() && IsIdentChar(s[j])) ++j;
          std::string word = s.substr(i, j - i);
          auto it = macros.find(word);
          if (it != macros.end()) {
            out += it->second;
            changed = true;
          } else {
            out += word;
          }
          i = j;
        } else {
          out += s[i++];
        }
      }
      s = out;
      if (!changed) break;
    }
    return s;
  };

  DialogTemplate* current = nullptr;
  bool inBody = false;
  for (const auto& raw : Lines(*text)) {
    std::string line = TrimA(raw);
    if (line.empty() || line.compare(0, 2, "//") == 0) continue;
    if (line.compare(0, 7, "#define") == 0) {
      std::istringstream in(line.substr(7));
      std::string name;
      in >> name;
      std::string rest;
      std::getline(in, rest);
      macros[name] = TrimA(rest);
      continue;
    }
    if (line[0] == '#') continue;
    if (!inBody) {
      std::istringstream in(line);
      std::string name, kind;
      in >> name >> kind;
      if (kind == "DIALOGEX" || kind == "DIALOG") {
        auto id = Value(name);
        if (!id) continue;
        std::string rest;
        std::getline(in, rest);
        auto dims = SplitArgs(rest);
        DialogTemplate t;
        t.id = static_cast<int>(*id);
        if (dims.size() >= 4) {
          t.width = static_cast<int>(Value(dims[2]).value_or(0));
          t.height = static_cast<int>(Value(dims[3]).value_or(0));
        }
        current = &(dialogs_[t.id] = t);
      } else if (line == "BEGIN" && current) {
        inBody = true;
      }
      continue;
    }
    if (line == "END") {
      inBody = false;
      current = nullptr;
      continue;
    }
    line = expand(line);
    size_t sp = line.find_first_of(" \t");
    std::string keyword = line.substr(0, sp);
    auto args = SplitArgs(sp == std::string::npos ? "" : line.substr(sp));
    ControlTemplate c;
    size_t rectAt = 0;
    std::string style;
    if (keyword == "LTEXT" || keyword == "RTEXT" || keyword == "CTEXT" || keyword == "PUSHBUTTON" ||
        keyword == "DEFPUSHBUTTON") {
      if (args.size() < 6) continue;
      bool button = keyword == "PUSHBUTTON" || keyword == "DEFPUSHBUTTON";
      c.kind = button ? ControlKind::kButton : ControlKind::kStatic;
      c.className = c.kind == ControlKind::kStatic ? u"Static" : u"Button";
      c.text = Caption(args[0]);
      c.id = static_cast<int>(Value(args[1]).value_or(-1));
      rectAt = 2;
      if (args.size() > 6) style = args[6];
    } else if (keyword == "COMBOBOX" || keyword == "EDITTEXT") {
      if (args.size() < 5) continue;
      c.kind = keyword == "COMBOBOX" ? ControlKind::kComboBox : ControlKind::kEdit;
      c.className = keyword == "COMBOBOX" ? u"ComboBox" : u"Edit";
      c.id = static_cast<int>(Value(args[0]).value_or(-1));
      rectAt = 1;
      if (args.size() > 5) style = args[5];
    } else if (keyword == "CONTROL") {
      if (args.size() < 8) continue;
      c.text = Caption(args[0]);
      c.id = static_cast<int>(Value(args[1]).value_or(-1));
      std::string cls = args[2].empty() ? "" : args[2].substr(args[2][0] == '"' ? 1 : 0);
      // The standard classes may be given by their ordinals.
      if (args[2].empty() || args[2][0] != '"') {
        static const char* const kOrdinals[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
        long ordinal = Value(cls).value_or(0);
        if (ordinal >= 0x80 && ordinal <= 0x85) cls = kOrdinals[ordinal - 0x80];
      }
      c.className = Utf8ToUtf16(cls);
      style = args[3];
      rectAt = 4;
      std::string lower = Utf16ToUtf8(ToLowerAscii(c.className));
      if (lower == "button") {
        if (HasWord(style, "BS_AUTOCHECKBOX") || HasWord(style, "BS_CHECKBOX"))
          c.kind = ControlKind::kCheckBox;
        else if (HasWord(style, "BS_AUTORADIOBUTTON") || HasWord(style, "BS_RADIOBUTTON"))
          c.kind = ControlKind::kRadioButton;
        else
          c.kind = ControlKind::kButton;
      } else if (lower == "static") {
        c.kind = HasWord(style, "SS_BITMAP") ? ControlKind::kPicture : ControlKind::kStatic;
      } else if (lower == "richedit20w" || lower == "richedit20a") {
        c.kind = ControlKind::kRichEdit;
      } else if (lower == "syslink") {
        c.kind = ControlKind::kLink;
      } else if (lower == "msctls_progress32") {
        c.kind = ControlKind::kProgressBar;
      } else if (lower == "msctls_trackbar32") {
        c.kind = ControlKind::kTrackbar;
      } else if (lower == "syslistview32") {
        c.kind = ControlKind::kListView;
      } else if (lower == "edit") {
        c.kind = ControlKind::kEdit;
      } else if (lower == "combobox") {
        c.kind = ControlKind::kComboBox;
      }
    } else {
      continue;
    }
    if (c.id < 0 || args.size() < rectAt + 4) continue;
    int v[4];
    bool ok = true;
    for (int i = 0; i < 4; ++i) {
      auto n = Value(args[rectAt + i]);
      ok = ok && n.has_value();
      v[i] = static_cast<int>(n.value_or(0));
    }
    if (!ok) continue;
    c.dialogUnits = {v[0], v[1], v[0] + v[2], v[1] + v[3]};
    c.sorted = HasWord(style, "CBS_SORT");
    c.visible = !HasNotVisible(style);
    current->controls.push_back(c);
  }
  return true;
}

const DialogTemplate* RcScripts::Dialog(int id) const {
  auto it = dialogs_.find(id);
  return it == dialogs_.end() ? nullptr : &it->second;
}

std::optional<std::map<unsigned, std::u16string>> RcScripts::ReadStrings(const std::string& path) const {
  auto text = ReadAll(path);
  if (!text) return std::nullopt;
  std::map<unsigned, std::u16string> strings;
  bool inTable = false, inBody = false;
  for (const auto& raw : Lines(*text)) {
    std::string line = TrimA(raw);
    if (line.empty() || line.compare(0, 2, "//") == 0) continue;
    if (line == "STRINGTABLE") {
      inTable = true;
      continue;
    }
    if (inTable && !inBody && (line == "BEGIN" || line == "{")) {
      inBody = true;
      continue;
    }
    if (inBody && (line == "END" || line == "}")) {
      inBody = inTable = false;
      continue;
    }
    if (!inBody) continue;
    size_t q = line.find('"');
    if (q == std::string::npos) continue;
    std::string name = TrimA(line.substr(0, q));
    if (!name.empty() && name.back() == ',') name = TrimA(name.substr(0, name.size() - 1));
    auto id = Value(name);
    if (!id) continue;
    size_t pos = q;
    strings[static_cast<unsigned>(*id)] = Utf8ToUtf16(ReadQuoted(line, pos));
  }
  return strings;
}

}  // namespace lx
