#include "installer/core/installer_config.h"

#include "common/text.h"
#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "platform/profile.h"
#include "platform/system.h"

namespace lx {

// Never destroyed: a worker still running when the wizard closes reads it.
InstallerConfig& StartUpConfig() {
  static InstallerConfig* config = new InstallerConfig;
  return *config;
}

const InstallerConfig& g_config = StartUpConfig();

namespace {

std::u16string ReadText(const Os& os, const std::u16string& section, const std::u16string& key,
                        const std::u16string& path) {
  return os.profile->GetString(section, key, u"", kIniValueChars, path).text;
}

int ReadInt(const Os& os, const std::u16string& section, const std::u16string& key, int def,
            const std::u16string& path) {
  return static_cast<int>(os.profile->GetInt(section, key, def, path));
}

// Splits the buffer a section call filled into its NUL-separated runs.
std::vector<std::u16string> SplitRuns(const std::u16string& buffer) {
  std::vector<std::u16string> out;
  size_t start = 0;
  for (size_t i = 0; i <= buffer.size(); ++i) {
    if (i == buffer.size() || buffer[i] == u'\0') {
      if (i > start) out.push_back(buffer.substr(start, i - start));
      start = i + 1;
    }
  }
  return out;
}

}  // namespace

int ModelTable::Count() const { return config_.modelCount; }

const ModelEntry* ModelTable::At(int index) const {
  if (index < 0 || index >= static_cast<int>(config_.modelNames.size())) return nullptr;
  auto it = config_.models.find(config_.modelNames[index]);
  return it == config_.models.end() ? nullptr : &it->second;
}

const ModelEntry* ModelTable::ByDriverName(const std::u16string& driverName) const {
  return First([&](const ModelEntry& m) { return m.DriverName == driverName; });
}

const ModelEntry* ModelTable::ByType(int type) const {
  return First([&](const ModelEntry& m) { return m.TYPE == type; });
}

const ModelEntry* ModelTable::ByInstanceId(const std::u16string& instanceId) const {
  return First([&](const ModelEntry& m) { return Contains(instanceId, m.PID); });
}

bool ModelTable::AnyVidIn(const std::u16string& text) const {
  return First([&](const ModelEntry& m) { return Contains(text, m.VID); }) != nullptr;
}

bool ModelTable::AnyPidIn(const std::u16string& text) const {
  return First([&](const ModelEntry& m) { return Contains(text, m.PID); }) != nullptr;
}

const ModelEntry* ModelTable::ByHostPrefix(const std::u16string& serviceName) const {
  return First([&](const ModelEntry& m) { return serviceName.compare(0, m.HOSTNAME.size(), m.HOSTNAME) == 0; });
}

bool ModelTable::AnyHostIn(const std::u16string& serviceName) const {
  return First([&](const ModelEntry& m) { return Contains(serviceName, m.HOSTNAME); }) != nullptr;
}

std::u16string WholeModulePath(const Os& os, const char16_t* what) {
  // The seam gives at most MAX_PATH - 1 characters.
  std::u16string path = os.system->ModuleFileName();
  if (path.size() >= kModulePathChars - 1) {
    DebugTraceWAlways(os, u"Module path cut at MAX_PATH; no %s: %s", what, path.c_str());
    return u"";
  }
  return path;
}

std::u16string ProgramFolder(const Os& os) {
  std::u16string path = WholeModulePath(os, u"program folder");
  // PathRemoveFileSpecW keeps the backslash of a drive root.
  size_t slash = path.find_last_of(u'\\');
  if (slash == std::u16string::npos) return u"";
  path.resize(slash == 2 && path[1] == u':' ? 3 : slash);
  return path;
}

std::u16string PathBesideProgram(const Os& os, const std::u16string& relative) {
  std::u16string path = ProgramFolder(os);
  if (!path.empty() && path.back() != u'\\') path += u'\\';
  return path + relative;
}

std::u16string GetConfigPath(const Os& os) {
  std::u16string path = PathBesideProgram(os, u"cfgSetup.ini");
  DebugTraceWAlways(os, u"szPath  == %s", path.c_str());
  return path;
}

std::vector<std::u16string> ReadSectionLines(const Os& os, const std::u16string& section,
                                             const std::u16string& path) {
  ProfileResult r = os.profile->GetSection(section, kIniSectionChars, path);
  if (r.count == 0) return {};
  return SplitRuns(r.text.substr(0, r.count));
}

LogoIds LogoIdsFor(int showLogo) {
  switch (showLogo) {
    case 2: return {IDB_LOGO_2, IDB_SIDE_DEFAULT};
    case 3: return {IDB_LOGO_3, IDB_SIDE_DEFAULT};
    case 4: return {IDB_LOGO_4, IDB_SIDE_4};
    case 5: return {IDB_LOGO_5, IDB_SIDE_5};
    case 6: return {IDB_LOGO_6, IDB_SIDE_DEFAULT};
    default: return {IDB_LOGO_DEFAULT, IDB_SIDE_DEFAULT};
  }
}

void LoadInstallerConfig(const Os& os, const std::u16string& path, InstallerConfig& c) {
  c = InstallerConfig();
  debugEnabled = ReadInt(os, u"Debug", u"OpenDebug", 0, path);

  c.modelNames = ReadSectionLines(os, u"Support_Driver", path);
  c.modelCount = static_cast<int>(c.modelNames.size());
  for (const auto& name : c.modelNames) {
    ModelEntry m;
    m.VID = ReadText(os, name, u"VID", path);
    m.PID = ReadText(os, name, u"PID", path);
    m.PRINTERNAME = ReadText(os, name, u"PRINTERNAME", path);
    m.DriverName = ReadText(os, name, u"DriverName", path);
    m.HOSTNAME = ReadText(os, name, u"HOSTNAME", path);
    m.InfName = ReadText(os, name, u"InfName", path);
    m.LanguageRegPath = ReadText(os, name, u"LanguageRegPath", path);
    m.TYPE = ReadInt(os, name, u"TYPE", 0, path);
    m.ShowSetting = ReadInt(os, name, u"ShowSetting", 0, path);
    m.printPostOpOffset = ReadInt(os, name, u"printPostOpOffset", 0, path);
    c.models[name] = m;
  }

  UninstallConfig& u = c.uninstall;
  u.InfSection = ReadText(os, u"Uninstall", u"InfSection", path);
  // The reader drops the outer quotes of "A","B"; putting a pair back gives
  // the list of quoted names again.
  u.DriverName = u"\"" + ReadText(os, u"Uninstall", u"DriverName", path) + u"\"";
  u.RegInfo = ReadText(os, u"Uninstall", u"RegInfo", path);
  u.DisplayName = ReadText(os, u"Uninstall", u"DisplayName", path);
  u.DisplayVersion = ReadText(os, u"Uninstall", u"DisplayVersion", path);
  u.Publisher = ReadText(os, u"Uninstall", u"Publisher", path);
  u.InstallLocation = ReadText(os, u"Uninstall", u"InstallLocation", path);
  u.DriverPrefix = ReadText(os, u"Uninstall", u"DriverPrefix", path);

  InstallConfig& in = c.install;
  in.InfName = ReadText(os, u"Install", u"InfName", path);
  in.FilePath = ReadText(os, u"Install", u"FilePath", path);
  in.LanguageRegPath = ReadText(os, u"Install", u"LanguageRegPath", path);
  in.PRODUCT = ReadText(os, u"Install", u"PRODUCT", path);
  in.ShowLogo = ReadInt(os, u"Install", u"ShowLogo", 1, path);
  in.MainLogo = ReadInt(os, u"Install", u"MainLogo", 0, path);
  in.SupportNet = ReadInt(os, u"Install", u"SupportNet", 0, path);
  in.SupportOther = ReadInt(os, u"Install", u"SupportOther", 0, path);
  in.CustomInfName = ReadInt(os, u"Install", u"CustomInfName", 0, path);
  in.LPOemShow = ReadInt(os, u"Install", u"LPOemShow", 0, path);
  in.FwUpteTool = ReadInt(os, u"Install", u"FwUpteTool", 0, path);
  in.NetOnline = ReadInt(os, u"Install", u"NetOnline", 1, path);

  // Every line up to the first empty one; duplicates stay.
  ProfileResult lang = os.profile->GetSection(u"Language", kIniSectionChars, path);
  if (lang.count > 0 && lang.text[0] != u'\0') c.languages = SplitRuns(lang.text.substr(0, lang.count));

  LogoIds ids = LogoIdsFor(in.ShowLogo);
  c.logoBitmapId = ids.logoBitmapId;
  c.sideBitmapId = ids.sideBitmapId;
}

}  // namespace lx
