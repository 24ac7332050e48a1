#include "platform/sim/sim_registry.h"

#include "common/text.h"
#include "platform/win_errors.h"

namespace lx {

namespace {
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegDword = 4;

// The registry orders and matches names by their upper-case form.
std::u16string Fold(std::u16string_view s) {
  std::u16string out(s);
  for (char16_t& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  return out;
}

// The path's key names; nothing when the path is malformed (leading or
// doubled separators). A trailing separator is ignored.
std::optional<std::vector<std::u16string>> Split(const std::u16string& path) {
  std::vector<std::u16string> parts;
  if (path.empty()) return parts;
  if (path[0] == u'\\') return std::nullopt;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    if (end == start) return std::nullopt;
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

std::string Utf16Bytes(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  out += std::string(2, '\0');
  return out;
}
}  // namespace

struct SimRegistry::Key {
  std::u16string name;                                  // as created
  std::map<std::u16string, std::unique_ptr<Key>> subkeys;  // by folded name
  std::map<std::u16string, std::pair<std::u16string, Value>> values;  // folded -> (name, value)
  bool refusesWrite = false;
};

SimRegistry::SimRegistry(SimCaller& caller) : caller_(caller) {
  for (RegRoot r : {RegRoot::kLocalMachine, RegRoot::kCurrentUser, RegRoot::kClassesRoot})
    roots_[r] = std::make_unique<Key>();
  for (const char16_t* k : {u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                            u"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
                            u"SYSTEM\\CurrentControlSet\\Control\\DeviceClasses"})
    Make(RegRoot::kLocalMachine, k);
  Make(RegRoot::kCurrentUser, u"Software");
}

SimRegistry::~SimRegistry() = default;

std::u16string SimRegistry::Redirect(RegRoot root, const std::u16string& path, RegView view) const {
  bool wow = machineIs64Bit && (view == RegView::kWow64_32 || (view == RegView::kDefault && caller_.Bits() == 32));
  if (!wow || root != RegRoot::kLocalMachine) return path;
  auto parts = Split(path);
  if (!parts || parts->empty() || Fold((*parts)[0]) != u"SOFTWARE") return path;
  // SOFTWARE\Classes has its own rules; WOW6432Node addressed directly stays.
  if (parts->size() > 1 && (Fold((*parts)[1]) == u"CLASSES" || Fold((*parts)[1]) == u"WOW6432NODE")) return path;
  std::u16string out = (*parts)[0] + u"\\WOW6432Node";
  for (size_t i = 1; i < parts->size(); ++i) out += u"\\" + (*parts)[i];
  return out;
}

SimRegistry::Key* SimRegistry::Find(RegRoot root, const std::u16string& path) {
  auto parts = Split(path);
  if (!parts) return nullptr;
  Key* k = roots_[root].get();
  for (const auto& p : *parts) {
    auto it = k->subkeys.find(Fold(p));
    if (it == k->subkeys.end()) return nullptr;
    k = it->second.get();
  }
  return k;
}

SimRegistry::Key* SimRegistry::Make(RegRoot root, const std::u16string& path) {
  auto parts = Split(path);
  if (!parts) return nullptr;
  Key* k = roots_[root].get();
  for (const auto& p : *parts) {
    auto& slot = k->subkeys[Fold(p)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = p;
    }
    k = slot.get();
  }
  return k;
}

bool SimRegistry::KeyExists(RegRoot root, const std::u16string& path, RegView view) {
  return Find(root, Redirect(root, path, view)) != nullptr || Fail(kErrorFileNotFound);
}

bool SimRegistry::CreateKey(RegRoot root, const std::u16string& path, RegView view) {
  Key* k = Make(root, Redirect(root, path, view));
  if (!k) return Fail(kErrorBadPathname);
  return !k->refusesWrite || Fail(kErrorAccessDenied);
}

bool SimRegistry::OpenKeyMaximumAllowed(RegRoot root, const std::u16string& path, RegView view) {
  return Find(root, Redirect(root, path, view)) != nullptr || Fail(kErrorFileNotFound);
}

void SimRegistry::RefuseWrite(RegRoot root, const std::u16string& path) {
  if (Key* k = Find(root, path)) k->refusesWrite = true;
}

bool SimRegistry::DeleteKey(RegRoot root, const std::u16string& path, RegView view) {
  auto parts = Split(Redirect(root, path, view));
  if (!parts || parts->empty()) return Fail(parts ? kErrorAccessDenied : kErrorFileNotFound);
  std::u16string parentPath;
  for (size_t i = 0; i + 1 < parts->size(); ++i) parentPath += (i ? u"\\" : u"") + (*parts)[i];
  Key* parent = Find(root, parentPath);
  if (!parent) return Fail(kErrorFileNotFound);
  auto it = parent->subkeys.find(Fold(parts->back()));
  if (it == parent->subkeys.end()) return Fail(kErrorFileNotFound);
  // RegDeleteKeyW refuses a key that still has subkeys.
  if (!it->second->subkeys.empty()) return Fail(kErrorAccessDenied);
  parent->subkeys.erase(it);
  return true;
}

std::vector<std::u16string> SimRegistry::EnumSubKeys(RegRoot root, const std::u16string& path, RegView view) {
  std::vector<std::u16string> out;
  Key* k = Find(root, Redirect(root, path, view));
  if (!k) {
    Fail(kErrorFileNotFound);
    return out;
  }
  for (const auto& [folded, sub] : k->subkeys) out.push_back(sub->name);
  return out;
}

std::optional<std::u16string> SimRegistry::GetString(RegRoot root, const std::u16string& path,
                                                     const std::u16string& name, RegView view) {
  auto v = GetRaw(root, Redirect(root, path, view), name);
  if (!v) return std::nullopt;
  if (v->type != kRegSz && v->type != kRegExpandSz) {
    Fail(kErrorUnsupportedType);
    return std::nullopt;
  }
  std::u16string s;
  for (size_t i = 0; i + 1 < v->bytes.size(); i += 2) {
    char16_t c = static_cast<char16_t>(static_cast<uint8_t>(v->bytes[i]) |
                                       (static_cast<uint8_t>(v->bytes[i + 1]) << 8));
    if (c == 0) break;
    s += c;
  }
  return s;
}

std::optional<uint32_t> SimRegistry::GetDword(RegRoot root, const std::u16string& path,
                                              const std::u16string& name, RegView view) {
  auto v = GetRaw(root, Redirect(root, path, view), name);
  if (!v) return std::nullopt;
  if (v->type != kRegDword || v->bytes.size() != 4) {
    Fail(kErrorUnsupportedType);
    return std::nullopt;
  }
  uint32_t d = 0;
  for (int i = 3; i >= 0; --i) d = (d << 8) | static_cast<uint8_t>(v->bytes[i]);
  return d;
}

bool SimRegistry::SetString(RegRoot root, const std::u16string& path, const std::u16string& name,
                            const std::u16string& value, RegView view) {
  Key* k = Find(root, Redirect(root, path, view));
  if (!k) return Fail(kErrorFileNotFound);
  if (k->refusesWrite) return Fail(kErrorAccessDenied);
  k->values[Fold(name)] = {name, Value{kRegSz, Utf16Bytes(value)}};
  return true;
}

bool SimRegistry::SetDword(RegRoot root, const std::u16string& path, const std::u16string& name,
                           uint32_t value, RegView view) {
  Key* k = Find(root, Redirect(root, path, view));
  if (!k) return Fail(kErrorFileNotFound);
  if (k->refusesWrite) return Fail(kErrorAccessDenied);
  std::string bytes;
  for (int i = 0; i < 4; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  k->values[Fold(name)] = {name, Value{kRegDword, bytes}};
  return true;
}

bool SimRegistry::DeleteValue(RegRoot root, const std::u16string& path, const std::u16string& name,
                              RegView view) {
  Key* k = Find(root, Redirect(root, path, view));
  if (k && k->refusesWrite) return Fail(kErrorAccessDenied);
  if (!k || !k->values.erase(Fold(name))) return Fail(kErrorFileNotFound);
  return true;
}

std::optional<SimRegistry::Value> SimRegistry::GetRaw(RegRoot root, const std::u16string& path,
                                                      const std::u16string& name) {
  Key* k = Find(root, path);
  if (!k) {
    Fail(kErrorFileNotFound);
    return std::nullopt;
  }
  auto it = k->values.find(Fold(name));
  if (it == k->values.end()) {
    Fail(kErrorFileNotFound);
    return std::nullopt;
  }
  return it->second.second;
}

void SimRegistry::PutRaw(RegRoot root, const std::u16string& path, const std::u16string& name, Value value) {
  if (Key* k = Make(root, path)) k->values[Fold(name)] = {name, std::move(value)};
}

}  // namespace lx
