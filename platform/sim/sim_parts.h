// The simulated machine's smaller services: system facts, debugger output,
// program resources and the INI profile over the simulated files.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/profile.h"
#include "platform/resources.h"
#include "platform/sim/sim_clock.h"
#include "platform/sim/sim_files.h"
#include "platform/system.h"

namespace lx {

class SimSystem : public ISystem {
 public:
  std::u16string ModuleFileName() override { return modulePath.substr(0, 259); }
  LangId GetUserDefaultUILanguage() override { return userUiLanguage; }
  LangId SetThreadUILanguage(LangId lang) override {
    threadUiLanguage = lang;
    ++threadUiLanguageSets;
    return lang;
  }
  LangId GetThreadUILanguage() override { return threadUiLanguage ? threadUiLanguage : userUiLanguage; }
  uint32_t GetLastError() override { return lastError; }
  void SetLastError(uint32_t e) override { lastError = e; }
  std::optional<uint16_t> NativeProcessorArchitecture() override { return nativeArchitecture; }
  bool IsWow64Process() override {
    return programBits == 32 && nativeArchitecture && *nativeArchitecture != kProcessorArchitectureIntel;
  }
  std::u16string WindowsDirectory() override { return windowsDirectory; }
  std::u16string SystemDirectory() override { return windowsDirectory + u"\\system32"; }
  std::optional<bool> ProtectedPrintEnabled() override { return protectedPrint; }

  std::u16string modulePath = u"C:\\Medium\\Setup\\Qelvin64.exe";
  LangId userUiLanguage = 1033;
  LangId threadUiLanguage = 0;  // 0: never set
  int threadUiLanguageSets = 0;
  uint32_t lastError = 0;
  // Nothing stands for a system without GetNativeSystemInfo.
  std::optional<uint16_t> nativeArchitecture = kProcessorArchitectureAmd64;
  std::u16string windowsDirectory = u"C:\\Windows";
  int programBits = 64;
  // Nothing: a system without the WinRT class (before Windows 11 24H2).
  std::optional<bool> protectedPrint;
};

// Every line a program sent to the debugger, narrow lines widened.
class SimDebugOutput : public IDebugOutput {
 public:
  void OutputA(const std::string& text) override;
  void OutputW(const std::u16string& text) override { lines.push_back(text); }
  bool Has(const std::u16string& line) const;
  std::vector<std::u16string> lines;
};

class SimResources : public IResources {
 public:
  explicit SimResources(ISystem& system) : system_(system) {}
  std::optional<std::u16string> LoadTextLang(unsigned id, LangId lang) override;
  std::u16string LoadText(unsigned id) override;
  void AddString(unsigned id, LangId lang, std::u16string text) { strings_[{id, lang}] = std::move(text); }

 private:
  ISystem& system_;
  std::map<std::pair<unsigned, LangId>, std::u16string> strings_;
};

class SimProfile : public IProfile {
 public:
  explicit SimProfile(IFileSystem& files) : files_(files) {}
  ProfileResult GetString(const std::u16string& section, const std::u16string& key,
                          const std::u16string& def, size_t bufferChars,
                          const std::u16string& file) override;
  ProfileResult GetSection(const std::u16string& section, size_t bufferChars,
                           const std::u16string& file) override;
  uint32_t GetInt(const std::u16string& section, const std::u16string& key, int def,
                  const std::u16string& file) override;
  bool WriteString(const std::u16string& section, const std::u16string& key,
                   const std::u16string& value, const std::u16string& file) override;

 private:
  IniDocument Load(const std::u16string& file);
  IFileSystem& files_;
};

}  // namespace lx
