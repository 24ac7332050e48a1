#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>

#include "platform/win32/wide.h"
#include "platform/win32/win32_services.h"

namespace lx {

namespace {

// A shell32 or shlwapi function looked up at its first call: a static
// import would load that DLL into every process the plug-in attaches to.
template <typename Fn>
Fn SystemFunction(const wchar_t* dll, const char* name) {
  HMODULE m = ::GetModuleHandleW(dll);
  if (m == nullptr) m = ::LoadLibraryW(dll);
  return m ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(m, name))) : nullptr;
}

}  // namespace

std::optional<std::string> Win32Files::ReadFile(const std::u16string& path) {
  HANDLE h = ::CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string out;
  char buf[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ::ReadFile(h, buf, sizeof buf, &got, nullptr) != FALSE) && got > 0) out.append(buf, got);
  ::CloseHandle(h);
  if (!ok) return std::nullopt;
  return out;
}

namespace {

// Writes every byte to an opened file and closes it; false when the open
// failed or the write fell short.
bool WriteAllAndClose(HANDLE h, const std::string& bytes) {
  if (h == INVALID_HANDLE_VALUE) return false;
  DWORD done = 0;
  bool ok = ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) != FALSE &&
            done == bytes.size();
  ::CloseHandle(h);
  return ok;
}

}  // namespace

bool Win32Files::AppendFile(const std::u16string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileW(W(path), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  return WriteAllAndClose(h, bytes);
}

bool Win32Files::WriteFile(const std::u16string& path, const std::string& bytes) {
  HANDLE h = ::CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return WriteAllAndClose(h, bytes);
}

bool Win32Files::FileExists(const std::u16string& path) {
  DWORD a = ::GetFileAttributesW(W(path));
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

uint32_t Win32Files::GetAttributes(const std::u16string& path) { return ::GetFileAttributesW(W(path)); }

bool Win32Files::SetAttributes(const std::u16string& path, uint32_t attributes) {
  return ::SetFileAttributesW(W(path), attributes) != FALSE;
}

bool Win32Files::IsDirectory(const std::u16string& path) {
  static const auto isDirectory = SystemFunction<decltype(&::PathIsDirectoryW)>(L"shlwapi.dll", "PathIsDirectoryW");
  return isDirectory != nullptr && isDirectory(W(path)) != FALSE;
}

bool Win32Files::CreateFolder(const std::u16string& path) {
  return ::CreateDirectoryW(W(path), nullptr) != FALSE;
}

bool Win32Files::RemoveFolder(const std::u16string& path) { return ::RemoveDirectoryW(W(path)) != FALSE; }

bool Win32Files::FindFiles(const std::u16string& pattern, std::vector<FindEntry>& entries) {
  entries.clear();
  WIN32_FIND_DATAW data = {};
  HANDLE h = ::FindFirstFileW(W(pattern), &data);
  if (h == INVALID_HANDLE_VALUE) return false;
  do {
    entries.push_back({U(data.cFileName), data.dwFileAttributes,
                       (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow});
  } while (::FindNextFileW(h, &data));
  DWORD error = ::GetLastError();
  ::FindClose(h);
  ::SetLastError(error);
  return error == ERROR_NO_MORE_FILES;
}

bool Win32Files::Copy(const std::u16string& from, const std::u16string& to, bool failIfExists) {
  return ::CopyFileW(W(from), W(to), failIfExists ? TRUE : FALSE) != FALSE;
}

bool Win32Files::RemoveFile(const std::u16string& path) { return ::DeleteFileW(W(path)) != FALSE; }

std::optional<std::u16string> Win32Files::GetFolderPath(KnownFolder folder, bool create) {
  wchar_t buf[MAX_PATH] = {};
  int csidl = static_cast<int>(folder) | (create ? CSIDL_FLAG_CREATE : 0);
  static const auto getFolderPath = SystemFunction<decltype(&::SHGetFolderPathW)>(L"shell32.dll", "SHGetFolderPathW");
  if (getFolderPath == nullptr) return std::nullopt;
  HRESULT hr = getFolderPath(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, buf);
  if (FAILED(hr)) return std::nullopt;
  return U(buf);
}

namespace {

HANDLE AsHandle(FileHandle handle) { return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(handle)); }

bool Rewind(HANDLE h) {
  LARGE_INTEGER start = {};
  return ::SetFilePointerEx(h, start, nullptr, FILE_BEGIN) != FALSE;
}

}  // namespace

FileHandle Win32Files::OpenNoFollow(const std::u16string& path, uint32_t access) {
  const DWORD share = access & (GENERIC_WRITE | FILE_WRITE_DATA) ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE h = ::CreateFileW(W(path), access, share, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return 0;
  return static_cast<FileHandle>(reinterpret_cast<uintptr_t>(h));
}

bool Win32Files::QueryHandle(FileHandle handle, OpenedFileInfo& info) {
  BY_HANDLE_FILE_INFORMATION data = {};
  if (!::GetFileInformationByHandle(AsHandle(handle), &data)) return false;
  info.attributes = data.dwFileAttributes;
  info.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  info.links = data.nNumberOfLinks;
  return true;
}

std::optional<std::string> Win32Files::ReadHandle(FileHandle handle, size_t maxBytes) {
  HANDLE h = AsHandle(handle);
  if (!Rewind(h)) return std::nullopt;
  std::string out;
  char buf[65536];
  while (out.size() < maxBytes) {
    DWORD want = static_cast<DWORD>(std::min<size_t>(sizeof buf, maxBytes - out.size()));
    DWORD got = 0;
    if (!::ReadFile(h, buf, want, &got, nullptr)) return std::nullopt;
    if (got == 0) break;
    out.append(buf, got);
  }
  return out;
}

bool Win32Files::WriteHandle(FileHandle handle, const std::string& bytes) {
  HANDLE h = AsHandle(handle);
  if (!Rewind(h)) return false;
  DWORD done = 0;
  if (!bytes.empty() &&
      (!::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) || done != bytes.size()))
    return false;
  return ::SetEndOfFile(h) != FALSE;
}

bool Win32Files::DeleteByHandle(FileHandle handle) {
  FILE_DISPOSITION_INFO disposition = {};
  disposition.DeleteFile = TRUE;
  return ::SetFileInformationByHandle(AsHandle(handle), FileDispositionInfo, &disposition, sizeof disposition) !=
         FALSE;
}

void Win32Files::CloseFile(FileHandle handle) {
  if (handle) ::CloseHandle(AsHandle(handle));
}

}  // namespace lx
