// cfgSetup.ini: the models, removal lists, Add/Remove Programs values, wizard
// switches, languages and debug switch, read once at start-up.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "installer/core/resource_ids.h"
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

struct InstallerConfig;

// The model table: the Support_Driver names in file order, each looked up in
// its section's entry. Every lookup walks the rows in that order and takes the
// first match; names compare exactly, identifiers (VID, PID, HOSTNAME) as
// case-sensitive substrings, and an empty identifier occurs in every text.
// A name listed twice is visited twice.
class ModelTable {
 public:
  explicit ModelTable(const InstallerConfig& config) : config_(config) {}

  int Count() const;
  // The entry at `index`, or null outside the table.
  const ModelEntry* At(int index) const;
  // The first entry for which `pred` holds, or null.
  template <typename Pred>
  const ModelEntry* First(Pred pred) const {
    for (int i = 0; i < Count(); ++i)
      if (const ModelEntry* m = At(i); m && pred(*m)) return m;
    return nullptr;
  }

  const ModelEntry* ByDriverName(const std::u16string& driverName) const;
  const ModelEntry* ByType(int type) const;
  // The first entry whose PID occurs in a USB device instance id.
  const ModelEntry* ByInstanceId(const std::u16string& instanceId) const;
  // True when some entry's VID, or some entry's PID, occurs in the text.
  bool AnyVidIn(const std::u16string& text) const;
  bool AnyPidIn(const std::u16string& text) const;
  // The first entry whose HOSTNAME begins a network service name.
  const ModelEntry* ByHostPrefix(const std::u16string& serviceName) const;
  // True when some entry's HOSTNAME occurs anywhere in the name.
  bool AnyHostIn(const std::u16string& serviceName) const;

 private:
  const InstallerConfig& config_;
};

struct InstallerConfig {
  std::vector<std::u16string> modelNames;
  int modelCount = 0;
  std::map<std::u16string, ModelEntry> models;
  UninstallConfig uninstall;
  std::vector<std::u16string> languages;
  InstallConfig install;
  int logoBitmapId = IDB_LOGO_DEFAULT;
  int sideBitmapId = IDB_SIDE_DEFAULT;

  ModelTable Models() const { return ModelTable(*this); }
};

// The process-wide record: read-only for everything after start-up.
extern const InstallerConfig& g_config;
// The same record for the one writer: start-up loads it there before any
// window or worker exists (tests set it up the same way).
InstallerConfig& StartUpConfig();

constexpr size_t kIniValueChars = 1024;
constexpr size_t kIniSectionChars = 1024;

// GetModuleFileNameW's buffer, MAX_PATH.
constexpr size_t kModulePathChars = 260;
// The running program's path; empty, with the trace line "Module path cut at
// MAX_PATH; no <what>: <path>", when it filled the buffer and may have been
// cut (anything built from it would name another file).
std::u16string WholeModulePath(const Os& os, const char16_t* what);
// The running program's folder (its path less the file name); empty, traced,
// when the module path filled the buffer and may have been cut.
std::u16string ProgramFolder(const Os& os);
// `relative` in the program's folder, joined with one backslash.
std::u16string PathBesideProgram(const Os& os, const std::u16string& relative);
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
