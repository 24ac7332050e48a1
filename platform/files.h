// Files and folders with Windows path rules. Calls that fail leave the
// Windows error as the thread's last error (ISystem::GetLastError):
// ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND, ERROR_ACCESS_DENIED,
// ERROR_ALREADY_EXISTS, ...
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lx {

constexpr uint32_t kFileAttributeReadOnly = 0x01;
constexpr uint32_t kFileAttributeHidden = 0x02;
constexpr uint32_t kFileAttributeDirectory = 0x10;
constexpr uint32_t kFileAttributeArchive = 0x20;
constexpr uint32_t kFileAttributeNormal = 0x80;
constexpr uint32_t kFileAttributeReparsePoint = 0x400;
constexpr uint32_t kInvalidFileAttributes = 0xFFFFFFFF;

// SHGetFolderPathW folders (CSIDL values).
enum class KnownFolder : int {
  kCommonAppData = 0x23,
  kWindows = 0x24,
  kSystem = 0x25,
  kProgramFiles = 0x26,
};

// One entry of a FindFirstFileW/FindNextFileW listing.
struct FindEntry {
  std::u16string name;  // cFileName
  uint32_t attributes = 0;
  uint64_t size = 0;
};

// A file or folder opened by OpenNoFollow; 0 is none.
using FileHandle = uint64_t;

// GetFileInformationByHandle's answer.
struct OpenedFileInfo {
  uint32_t attributes = 0;  // dwFileAttributes
  uint64_t size = 0;        // nFileSizeHigh:nFileSizeLow
  uint32_t links = 1;       // nNumberOfLinks: above 1 for a hard-linked file
};

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // The whole file, or nothing when it is missing or cannot be read.
  virtual std::optional<std::string> ReadFile(const std::u16string& path) = 0;
  virtual bool WriteFile(const std::u16string& path, const std::string& bytes) = 0;
  // CreateFileW(FILE_APPEND_DATA, share read and write, OPEN_ALWAYS) and one
  // WriteFile: the bytes go to the end, after what other writers put there.
  virtual bool AppendFile(const std::u16string& path, const std::string& bytes) = 0;
  virtual bool FileExists(const std::u16string& path) = 0;

  // GetFileAttributesW; kInvalidFileAttributes when the path does not exist.
  virtual uint32_t GetAttributes(const std::u16string& path) = 0;
  virtual bool SetAttributes(const std::u16string& path, uint32_t attributes) = 0;
  // PathIsDirectoryW.
  virtual bool IsDirectory(const std::u16string& path) = 0;
  // CreateDirectoryW: one level; ERROR_ALREADY_EXISTS when the path exists,
  // ERROR_PATH_NOT_FOUND when the parent is missing.
  virtual bool CreateFolder(const std::u16string& path) = 0;
  // RemoveDirectoryW: only an empty folder.
  virtual bool RemoveFolder(const std::u16string& path) = 0;
  // FindFirstFileW + FindNextFileW until ERROR_NO_MORE_FILES, then FindClose:
  // the entries of the pattern's folder whose names match its last part
  // ('*' and '?' with Windows semantics; "." and ".." included as Windows
  // lists them). False with ERROR_FILE_NOT_FOUND when nothing matches,
  // ERROR_PATH_NOT_FOUND when the folder is missing; a listing that ends
  // with another error answers false with the entries listed until then.
  virtual bool FindFiles(const std::u16string& pattern, std::vector<FindEntry>& entries) = 0;
  // CopyFileW; overwriting a read-only file fails with ERROR_ACCESS_DENIED.
  virtual bool Copy(const std::u16string& from, const std::u16string& to, bool failIfExists) = 0;
  // DeleteFileW; a read-only file fails with ERROR_ACCESS_DENIED.
  virtual bool RemoveFile(const std::u16string& path) = 0;
  // SHGetFolderPathW(no window, folder, no token, current path); `create`
  // adds CSIDL_FLAG_CREATE. Nothing on failure.
  virtual std::optional<std::u16string> GetFolderPath(KnownFolder folder, bool create = false) = 0;

  // Handle-based access that never goes through a link at the path's last
  // name: CreateFileW(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, no
  // security, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT |
  // FILE_FLAG_BACKUP_SEMANTICS), sharing only FILE_SHARE_READ when `access`
  // writes data, so that two writers exclude each other
  // (ERROR_SHARING_VIOLATION). A reparse point opens as itself, a folder
  // opens too; no FILE_SHARE_DELETE, so the name cannot be renamed or
  // deleted by others while it is held. 0 on failure.
  virtual FileHandle OpenNoFollow(const std::u16string& path, uint32_t access) = 0;
  // GetFileInformationByHandle.
  virtual bool QueryHandle(FileHandle handle, OpenedFileInfo& info) = 0;
  // SetFilePointerEx to the start, then ReadFile until the end or
  // `maxBytes`, whichever comes first.
  virtual std::optional<std::string> ReadHandle(FileHandle handle, size_t maxBytes) = 0;
  // SetFilePointerEx to the start, WriteFile of every byte, SetEndOfFile.
  virtual bool WriteHandle(FileHandle handle, const std::string& bytes) = 0;
  // SetFileInformationByHandle(FileDispositionInfo, DeleteFile TRUE): the
  // name (a link itself, not what it points to) goes when the handle closes.
  virtual bool DeleteByHandle(FileHandle handle) = 0;
  // CloseHandle.
  virtual void CloseFile(FileHandle handle) = 0;
};

}  // namespace lx
