// cfgSetup.ini: the models, removal lists, Add/Remove Programs values, wizard
// switches, languages and debug switch, read once at start-up.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/os.h"

namespace lx {

struct ModelEntry {
  std::u16string VID;
  std::u16string PID;
  std::u16string PRINTERNAME;
  std::u16string DriverName;
  std::u16string HOSTNAME;
  std::u16string InfName;
  std::u16string LanguageRegPath;
  int TYPE = 0;
  int ShowSetting = 0;
  int printPostOpOffset = 0;
};

struct UninstallConfig {
  std::u16string InfSection;
  std::u16string DriverName;  // kept with one added pair of double quotes
  std::u16string RegInfo;
  std::u16string DisplayName;
  std::u16string DisplayVersion;
  std::u16string Publisher;
  std::u16string InstallLocation;
  std::u16string DriverPrefix;
};

struct InstallConfig {
  std::u16string InfName;
  std::u16string FilePath;
  std::u16string LanguageRegPath;
  std::u16string PRODUCT;
  int ShowLogo = 1;
  int MainLogo = 0;
  int SupportNet = 0;
  int SupportOther = 0;
  int CustomInfName = 0;
  int LPOemShow = 0;
  int FwUpteTool = 0;
  int NetOnline = 1;
};

struct InstallerConfig {
  std::vector<std::u16string> modelNames;
  int modelCount = 0;
  std::map<std::u16string, ModelEntry> models;
  UninstallConfig uninstall;
  std::vector<std::u16string> languages;
  InstallConfig install;
  int logoBitmapId = 133;
  int sideBitmapId = 134;

  // The entry at `index` of the model table, or null outside it.
  const ModelEntry* ModelAt(int index) const;
};

// The process-wide record, filled by LoadInstallerConfig.
extern InstallerConfig g_config;

constexpr size_t kIniValueChars = 1024;
constexpr size_t kIniSectionChars = 1024;

// The running program's folder (its path less the file name, at most 260 characters).
std::u16string ProgramFolder(const Os& os);
std::u16string GetConfigPath(const Os& os);
void LoadInstallerConfig(const Os& os, const std::u16string& path, InstallerConfig& config);
// Every non-empty line of a section read into a 1024-character buffer.
std::vector<std::u16string> ReadSectionLines(const Os& os, const std::u16string& section,
                                             const std::u16string& path);

struct LogoIds {
  int logoBitmapId;
  int sideBitmapId;
};
LogoIds LogoIdsFor(int showLogo);

}  // namespace lx
