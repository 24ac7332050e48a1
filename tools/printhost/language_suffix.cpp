#include "tools/printhost/language_suffix.h"

#include <windows.h>

namespace printhost {

namespace {

constexpr wchar_t kSuffixKey[] = L"Software\\Label Printer\\LX-220";

}  // namespace

bool WriteSuffix(const std::wstring& suffix) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kSuffixKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return false;
  LONG rc = RegSetValueExW(key, L"Suffix", 0, REG_SZ, reinterpret_cast<const BYTE*>(suffix.c_str()),
                           static_cast<DWORD>((suffix.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

void SavedSuffix::Save() {
  value_.reset();
  HKEY key = nullptr;
  keyExisted_ = RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSuffixKey, 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (!keyExisted_) return;
  wchar_t value[131] = {};
  DWORD size = sizeof value - sizeof(wchar_t), type = 0;
  LONG rc = RegQueryValueExW(key, L"Suffix", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  if (rc == ERROR_SUCCESS && type == REG_SZ) value_ = value;
}

void SavedSuffix::Restore() const {
  if (value_) {
    WriteSuffix(*value_);
  } else if (keyExisted_) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSuffixKey, 0, KEY_WRITE, &key) == ERROR_SUCCESS) {
      RegDeleteValueW(key, L"Suffix");
      RegCloseKey(key);
    }
  } else {
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSuffixKey);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Label Printer");  // only when empty
  }
}

}  // namespace printhost
