#include "installer/engine/tests/win/e2e_machine.h"

#include <shlobj.h>
#include <winspool.h>

#include <vector>

namespace e2e {

bool PollFor(const std::function<bool()>& done, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(250);
  }
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::optional<std::wstring> ReadString(HKEY root, const std::wstring& path, const std::wstring& name) {
  wchar_t data[1024] = {};
  DWORD size = sizeof(data) - sizeof(wchar_t), type = 0;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  LONG status = RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ) return std::nullopt;
  // The stored length counts the terminating null.
  if (size < sizeof(wchar_t) || data[size / sizeof(wchar_t) - 1] != L'\0') return std::nullopt;
  return std::wstring(data, size / sizeof(wchar_t) - 1);
}

bool DeleteKeyTree(HKEY root, const std::wstring& path) {
  RegDeleteTreeW(root, path.c_str());
  RegDeleteKeyW(root, path.c_str());
  return !KeyExists(root, path);
}

bool FileExists(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::optional<ULONGLONG> FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return (ULONGLONG(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == bytes.size();
}

bool RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(path);
      } else {
        SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(path.c_str());
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
  return GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

bool CreateFolders(const std::wstring& folder) {
  int r = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
  return r == ERROR_SUCCESS || r == ERROR_ALREADY_EXISTS || r == ERROR_FILE_EXISTS;
}

std::wstring ModulePath() {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path, n < MAX_PATH ? n : 0);
}

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? L"" : path.substr(0, slash);
}

std::wstring ProgramFilesFolder() {
  wchar_t path[MAX_PATH] = {};
  return SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, path)) ? path : L"";
}

std::wstring DriverDirectory() {
  wchar_t dir[MAX_PATH] = {};
  DWORD needed = 0;
  return GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof(dir), &needed)
             ? dir
             : L"";
}

std::wstring WindowsFolder() {
  wchar_t path[MAX_PATH] = {};
  UINT n = GetWindowsDirectoryW(path, MAX_PATH);
  return n && n < MAX_PATH ? path : L"";
}

std::wstring SystemFolder() {
  wchar_t path[MAX_PATH] = {};
  UINT n = GetSystemDirectoryW(path, MAX_PATH);
  return n && n < MAX_PATH ? path : L"";
}

bool NativeSystemIs64Bit() {
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64;
}

std::u16string U(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }
std::wstring W(const std::u16string& u) { return std::wstring(u.begin(), u.end()); }

std::string Ascii(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
  return s;
}

}  // namespace e2e
