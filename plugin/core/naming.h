// Names of what the plug-in loads and reads, all beside it in the printer
// driver directory's "3" folder, and the UI language they follow.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/core/plugin_platform.h"

namespace lx {

// File name without folder and without the part from the last "."
// (at most 129 characters).
std::u16string ModuleBaseName(std::u16string_view modulePath);
// The base name less a final "ui" when it is longer than two characters;
// a base name without the "ui" leaves nothing, so the file is ".ini".
std::u16string ConfigFileStem(std::u16string_view baseName);
// "%s\3\%s%s": driver directory, stem, ".ini".
std::u16string DriverConfigPath(std::u16string_view driverDirectory, std::u16string_view baseName);

// The installer's "Suffix" under HKLM "Software\<DrvierName>\<ModelName>";
// a value that is no UI language code is no suffix;
// without that key, the code of the user's Windows language.
std::optional<std::u16string> GetLanguageSuffix(PluginPlatform& platform,
                                                const std::u16string& configPath);

std::u16string ResourceModuleName(std::u16string_view baseName, std::u16string_view suffix);
std::u16string BitmapModuleName(std::u16string_view baseName);
std::u16string HelpFileName(std::u16string_view baseName, int uiLanguage);
std::u16string PaperFileName(std::u16string_view baseName);

// What process attach loads, worked out before anything is loaded.
struct AttachPlan {
  std::u16string baseName;
  std::u16string folder;        // the "3" folder of the driver directory
  std::u16string configPath;
  int modelClass = 0;
  std::optional<std::u16string> suffix;
  int uiLanguage = 0;
  // Full paths to try in order; the English module stands behind the one
  // the suffix names, so that a missing suffix or module keeps the UI alive.
  std::vector<std::u16string> resourceModules;
  std::u16string bitmapModule;
};

// Each built name goes to the debugger output.
AttachPlan PlanAttach(PluginPlatform& platform);
// The UI language of the module that actually loaded, by its position in
// the plan's list: the fallback module is English.
int UiLanguageOfLoaded(const AttachPlan& plan, size_t loadedIndex);

}  // namespace lx
