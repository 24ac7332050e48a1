#include "platform/win32/win32_registry.h"

#include <vector>

#include "platform/win32/wide.h"

namespace lx {

namespace {

HKEY RootKey(RegRoot root) {
  switch (root) {
    case RegRoot::kCurrentUser: return HKEY_CURRENT_USER;
    case RegRoot::kClassesRoot: return HKEY_CLASSES_ROOT;
    default: return HKEY_LOCAL_MACHINE;
  }
}

REGSAM ViewFlag(RegView view) {
  switch (view) {
    case RegView::kWow64_64: return KEY_WOW64_64KEY;
    case RegView::kWow64_32: return KEY_WOW64_32KEY;
    default: return 0;
  }
}

// Reg* answer a status; the seam leaves it as the last error.
bool Ok(LSTATUS status) {
  if (status == ERROR_SUCCESS) return true;
  ::SetLastError(static_cast<DWORD>(status));
  return false;
}

class OpenKey {
 public:
  OpenKey(RegRoot root, const std::u16string& path, REGSAM access, RegView view) {
    ok_ = Ok(::RegOpenKeyExW(RootKey(root), W(path), 0, access | ViewFlag(view), &key_));
  }
  ~OpenKey() {
    if (ok_) ::RegCloseKey(key_);
  }
  explicit operator bool() const { return ok_; }
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
  bool ok_ = false;
};

std::optional<std::vector<BYTE>> Query(RegRoot root, const std::u16string& path, const std::u16string& name,
                                       RegView view, DWORD& type) {
  OpenKey key(root, path, KEY_QUERY_VALUE, view);
  if (!key) return std::nullopt;
  DWORD size = 0;
  if (!Ok(::RegQueryValueExW(key.get(), W(name), nullptr, &type, nullptr, &size))) return std::nullopt;
  std::vector<BYTE> data(size + 2, 0);  // room for a missing terminator
  if (!Ok(::RegQueryValueExW(key.get(), W(name), nullptr, &type, data.data(), &size))) return std::nullopt;
  data.resize(size);
  return data;
}

}  // namespace

bool Win32Registry::KeyExists(RegRoot root, const std::u16string& path, RegView view) {
  return static_cast<bool>(OpenKey(root, path, KEY_READ, view));
}

namespace {
bool Create(RegRoot root, const std::u16string& path, REGSAM access, RegView view) {
  HKEY key = nullptr;
  if (!Ok(::RegCreateKeyExW(RootKey(root), W(path), 0, nullptr, REG_OPTION_NON_VOLATILE,
                            access | ViewFlag(view), nullptr, &key, nullptr)))
    return false;
  ::RegCloseKey(key);
  return true;
}
}  // namespace

bool Win32Registry::CreateKey(RegRoot root, const std::u16string& path, RegView view) {
  return Create(root, path, KEY_WRITE, view);
}

bool Win32Registry::OpenKeyMaximumAllowed(RegRoot root, const std::u16string& path, RegView view) {
  return static_cast<bool>(OpenKey(root, path, MAXIMUM_ALLOWED, view));
}

bool Win32Registry::DeleteKey(RegRoot root, const std::u16string& path, RegView view) {
  if (view == RegView::kDefault) return Ok(::RegDeleteKeyW(RootKey(root), W(path)));
  return Ok(::RegDeleteKeyExW(RootKey(root), W(path), ViewFlag(view), 0));
}

std::vector<std::u16string> Win32Registry::EnumSubKeys(RegRoot root, const std::u16string& path, RegView view) {
  std::vector<std::u16string> out;
  OpenKey key(root, path, KEY_ENUMERATE_SUB_KEYS, view);
  if (!key) return out;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD chars = 256;
    if (::RegEnumKeyExW(key.get(), i, name, &chars, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    out.push_back(U(name, chars));
  }
  return out;
}

std::optional<std::u16string> Win32Registry::GetString(RegRoot root, const std::u16string& path,
                                                       const std::u16string& name, RegView view) {
  DWORD type = 0;
  auto data = Query(root, path, name, view, type);
  if (!data) return std::nullopt;
  if (type != REG_SZ && type != REG_EXPAND_SZ) {
    ::SetLastError(ERROR_UNSUPPORTED_TYPE);
    return std::nullopt;
  }
  std::u16string s;
  for (size_t i = 0; i + 1 < data->size(); i += 2) {
    char16_t c = static_cast<char16_t>((*data)[i] | ((*data)[i + 1] << 8));
    if (c == 0) break;
    s += c;
  }
  return s;
}

std::optional<uint32_t> Win32Registry::GetDword(RegRoot root, const std::u16string& path,
                                                const std::u16string& name, RegView view) {
  DWORD type = 0;
  auto data = Query(root, path, name, view, type);
  if (!data) return std::nullopt;
  if (type != REG_DWORD || data->size() != 4) {
    ::SetLastError(ERROR_UNSUPPORTED_TYPE);
    return std::nullopt;
  }
  return static_cast<uint32_t>((*data)[0] | ((*data)[1] << 8) | ((*data)[2] << 16) |
                               (static_cast<uint32_t>((*data)[3]) << 24));
}

bool Win32Registry::SetString(RegRoot root, const std::u16string& path, const std::u16string& name,
                              const std::u16string& value, RegView view) {
  OpenKey key(root, path, KEY_SET_VALUE, view);
  if (!key) return false;
  DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));  // with the terminator
  return Ok(::RegSetValueExW(key.get(), W(name), 0, REG_SZ, reinterpret_cast<const BYTE*>(W(value)), bytes));
}

bool Win32Registry::SetDword(RegRoot root, const std::u16string& path, const std::u16string& name,
                             uint32_t value, RegView view) {
  OpenKey key(root, path, KEY_SET_VALUE, view);
  if (!key) return false;
  DWORD v = value;
  return Ok(::RegSetValueExW(key.get(), W(name), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v));
}

bool Win32Registry::DeleteValue(RegRoot root, const std::u16string& path, const std::u16string& name,
                                RegView view) {
  OpenKey key(root, path, KEY_SET_VALUE, view);
  if (!key) return false;
  return Ok(::RegDeleteValueW(key.get(), W(name)));
}

}  // namespace lx
