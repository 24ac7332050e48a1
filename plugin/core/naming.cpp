#include "plugin/core/naming.h"

#include "common/format.h"
#include "common/text.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "plugin/core/language_table.h"
#include "plugin/core/model_table.h"

namespace lx {

namespace {

const char16_t kDriverTypeSection[] = u"DRIVER_TYPE";

std::u16string FolderOf(std::u16string_view path) {
  size_t slash = path.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? std::u16string_view()
                                                           : path.substr(0, slash));
}

}  // namespace

std::u16string ModuleBaseName(std::u16string_view modulePath) {
  size_t slash = modulePath.find_last_of(u"\\/");
  std::u16string_view name =
      slash == std::u16string_view::npos ? modulePath : modulePath.substr(slash + 1);
  size_t dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos) name = name.substr(0, dot);
  return std::u16string(name.substr(0, 129));
}

std::u16string ConfigFileStem(std::u16string_view baseName) {
  // Windows file names ignore case, so "LX220UI" is the same module.
  if (baseName.size() > 2 && EqualsIgnoreCase(baseName.substr(baseName.size() - 2), u"ui")) {
    return std::u16string(baseName.substr(0, baseName.size() - 2));
  }
  return std::u16string();
}

std::u16string DriverConfigPath(std::u16string_view driverDirectory, std::u16string_view baseName) {
  std::u16string dir(driverDirectory);
  std::u16string stem = ConfigFileStem(baseName);
  return FormatW(u"%s\\3\\%s%s", dir.c_str(), stem.c_str(), u".ini");
}

std::optional<std::u16string> GetLanguageSuffix(PluginPlatform& platform,
                                                const std::u16string& configPath) {
  std::u16string driverName =
      platform.profile->GetString(kDriverTypeSection, u"DrvierName", u"Label Printer", 260, configPath).text;
  std::u16string modelName =
      platform.profile->GetString(kDriverTypeSection, u"ModelName", u"LX-220", 260, configPath).text;
  std::u16string key = FormatW(u"Software\\%s\\%s", driverName.c_str(), modelName.c_str());
  if (platform.registry != nullptr && platform.registry->KeyExists(RegRoot::kLocalMachine, key)) {
    std::optional<std::u16string> suffix =
        platform.registry->GetString(RegRoot::kLocalMachine, key, u"Suffix");
    // The value is read into 260 bytes, 129 characters and the terminator;
    // a longer one does not fit and the read fails.
    if (suffix && suffix->size() > 129) return std::nullopt;
    // The value becomes part of a module's path: only a code of the UI
    // language table (in any case) names one.
    if (suffix && !IsUiLanguageCode(*suffix)) {
      Trace(platform, u"Suffix %s is no UI language: none taken", suffix->c_str());
      return std::nullopt;
    }
    return suffix;
  }
  std::optional<std::u16string> code = WindowsLanguageCode(platform.host->GetUserDefaultLangId());
  if (code) code = CutToBuffer(*code, 260);
  return code;
}

std::u16string ResourceModuleName(std::u16string_view baseName, std::u16string_view suffix) {
  std::u16string base(baseName), s(suffix);
  return FormatW(u"%s%s.dll", base.c_str(), s.c_str());
}

std::u16string BitmapModuleName(std::u16string_view baseName) {
  std::u16string base(baseName);
  return FormatW(u"%sbmp.dll", base.c_str());
}

std::u16string HelpFileName(std::u16string_view baseName, int uiLanguage) {
  std::u16string base(baseName);
  return FormatW(u"%s%s.chm", base.c_str(), UiLanguageCode(uiLanguage));
}

std::u16string PaperFileName(std::u16string_view baseName) {
  std::u16string base(baseName);
  return FormatW(u"%sp.ini", base.c_str());
}

AttachPlan PlanAttach(PluginPlatform& platform) {
  AttachPlan plan;
  const std::u16string modulePath = platform.host->PluginModulePath();
  plan.baseName = ModuleBaseName(modulePath);
  std::optional<std::u16string> driverDir = platform.host->PrinterDriverDirectory();
  // The plug-in itself lies in the driver directory's "3" folder; without the
  // directory its own folder is the best stand-in.
  plan.folder = driverDir ? FormatW(u"%s\\3", driverDir->c_str()) : FolderOf(modulePath);
  plan.configPath = driverDir ? DriverConfigPath(*driverDir, plan.baseName)
                              : FormatW(u"%s\\%s.ini", plan.folder.c_str(),
                                        ConfigFileStem(plan.baseName).c_str());
  Trace(platform, plan.configPath);

  plan.modelClass = ModelClassFromType(
      platform.profile->GetInt(kDriverTypeSection, u"Type", 100, plan.configPath));

  plan.suffix = GetLanguageSuffix(platform, plan.configPath);
  plan.uiLanguage = plan.suffix ? UiLanguageIndex(*plan.suffix) : 0;

  auto inFolder = [&](const std::u16string& name) {
    return FormatW(u"%s\\%s", plan.folder.c_str(), name.c_str());
  };
  const std::u16string english = ResourceModuleName(plan.baseName, UiLanguageCode(0));
  if (plan.suffix && !plan.suffix->empty()) {
    std::u16string named = ResourceModuleName(plan.baseName, *plan.suffix);
    Trace(platform, named);
    plan.resourceModules.push_back(inFolder(named));
    if (!EqualsIgnoreCase(named, english)) plan.resourceModules.push_back(inFolder(english));
  } else {
    Trace(platform, english);
    plan.resourceModules.push_back(inFolder(english));
  }
  const std::u16string bitmaps = BitmapModuleName(plan.baseName);
  Trace(platform, bitmaps);
  plan.bitmapModule = inFolder(bitmaps);
  return plan;
}

int UiLanguageOfLoaded(const AttachPlan& plan, size_t loadedIndex) {
  return loadedIndex == 0 ? plan.uiLanguage : 0;
}

}  // namespace lx
