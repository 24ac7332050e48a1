// The real Windows behind the seam's basic services (system facts, files,
// profiles, debugger output, shell, clock): thin pass-throughs to the API.
// Programs that need no spooler, registry or device setup link only these.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/resources.h"
#include "platform/shell.h"
#include "platform/sync.h"
#include "platform/system.h"

namespace lx {

class Win32System : public ISystem {
 public:
  std::u16string ModuleFileName() override;
  LangId GetUserDefaultUILanguage() override;
  LangId SetThreadUILanguage(LangId lang) override;
  LangId GetThreadUILanguage() override;
  uint32_t GetLastError() override;
  void SetLastError(uint32_t error) override;
  std::optional<uint16_t> NativeProcessorArchitecture() override;
  bool IsWow64Process() override;
  std::u16string WindowsDirectory() override;
  std::u16string SystemDirectory() override;
  std::optional<bool> ProtectedPrintEnabled() override;

 private:
  // Wine ignores SetThreadUILanguage; the language we put in force is kept
  // here so that string lookups can ask for it explicitly.
  LangId applied_ = 0;
};

class Win32Profile : public IProfile {
 public:
  ProfileResult GetString(const std::u16string& section, const std::u16string& key,
                          const std::u16string& def, size_t bufferChars,
                          const std::u16string& file) override;
  ProfileResult GetSection(const std::u16string& section, size_t bufferChars,
                           const std::u16string& file) override;
  uint32_t GetInt(const std::u16string& section, const std::u16string& key, int def,
                  const std::u16string& file) override;
  bool WriteString(const std::u16string& section, const std::u16string& key,
                   const std::u16string& value, const std::u16string& file) override;
};

class Win32DebugOutput : public IDebugOutput {
 public:
  void OutputA(const std::string& text) override;
  void OutputW(const std::u16string& text) override;
};

class Win32Sync : public ISync {
 public:
  Handle CreateNamedMutex(const std::u16string& name, bool initialOwner, bool& alreadyExisted) override;
  bool ReleaseMutex(Handle mutex) override;
  bool CloseHandle(Handle handle) override;
};

class Win32Shell : public IShell {
 public:
  intptr_t Execute(const std::u16string& verb, const std::u16string& file,
                   const std::u16string& parameters, const std::u16string& directory,
                   int show) override;
};

class Win32Files : public IFileSystem {
 public:
  std::optional<std::string> ReadFile(const std::u16string& path) override;
  bool WriteFile(const std::u16string& path, const std::string& bytes) override;
  bool AppendFile(const std::u16string& path, const std::string& bytes) override;
  bool FileExists(const std::u16string& path) override;
  uint32_t GetAttributes(const std::u16string& path) override;
  bool SetAttributes(const std::u16string& path, uint32_t attributes) override;
  bool IsDirectory(const std::u16string& path) override;
  bool CreateFolder(const std::u16string& path) override;
  bool RemoveFolder(const std::u16string& path) override;
  bool FindFiles(const std::u16string& pattern, std::vector<FindEntry>& entries) override;
  bool Copy(const std::u16string& from, const std::u16string& to, bool failIfExists) override;
  bool RemoveFile(const std::u16string& path) override;
  std::optional<std::u16string> GetFolderPath(KnownFolder folder, bool create) override;
  FileHandle OpenNoFollow(const std::u16string& path, uint32_t access) override;
  bool QueryHandle(FileHandle handle, OpenedFileInfo& info) override;
  std::optional<std::string> ReadHandle(FileHandle handle, size_t maxBytes) override;
  bool WriteHandle(FileHandle handle, const std::string& bytes) override;
  bool DeleteByHandle(FileHandle handle) override;
  void CloseFile(FileHandle handle) override;
};

class Win32Resources : public IResources {
 public:
  explicit Win32Resources(HMODULE module) : module_(module) {}
  std::optional<std::u16string> LoadTextLang(unsigned id, LangId lang) override;
  std::u16string LoadText(unsigned id) override;

 private:
  HMODULE module_;
};

class Win32Clock : public IClock {
 public:
  void Sleep(uint32_t ms) override { ::Sleep(ms); }
  uint64_t TickCount() override { return ::GetTickCount64(); }
  LocalTime Now() override {
    SYSTEMTIME t = {};
    ::GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
  }
};

}  // namespace lx
