// The real Windows behind the seam: thin pass-throughs to the API.
#pragma once

#include <windows.h>

#include <optional>
#include <vector>

#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "platform/os.h"
#include "platform/profile.h"
#include "platform/resources.h"
#include "platform/shell.h"
#include "platform/sync.h"
#include "platform/system.h"
#include "platform/win32/win32_device_setup.h"
#include "platform/win32/win32_network.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_spooler.h"

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
  std::u16string WindowsDirectory() override;
  std::u16string SystemDirectory() override;

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
};

// Every real service of the seam, for one program.
class Win32Os {
 public:
  explicit Win32Os(HMODULE module = nullptr);
  Os& os() { return os_; }

 private:
  Win32System system_;
  Win32Profile profile_;
  Win32DebugOutput debug_;
  Win32Sync sync_;
  Win32Shell shell_;
  Win32Files files_;
  Win32Resources resources_;
  Win32Clock clock_;
  Win32Registry registry_;
  Win32Spooler spooler_;
  Win32DeviceSetup devices_;
  Win32Libraries libraries_;
  Win32Sockets sockets_;
  Os os_;
};

}  // namespace lx
