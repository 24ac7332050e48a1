#include "installer/engine/uninstall_entry.h"

#include <vector>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/engine/win_path.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

namespace lx {

namespace {

uint32_t LastError(const Os& os) { return os.system->GetLastError(); }

}  // namespace

bool Is64BitSystem(const Os& os) {
  std::optional<uint16_t> arch = os.system->NativeProcessorArchitecture();
  return arch && (*arch == kProcessorArchitectureAmd64 || *arch == kProcessorArchitectureIa64);
}

std::u16string UninstallKeyPath() {
  return u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + g_config.uninstall.RegInfo;
}

namespace {

// Says when the configured InstallLocation is not the folder of the copy.
void CheckInstallLocation(const Os& os, const std::u16string& programFiles, const std::u16string& installedFolder) {
  const std::u16string& configured = g_config.uninstall.InstallLocation;
  std::optional<std::u16string> resolved =
      configured.empty() ? std::nullopt : CombinePath(programFiles, configured);
  if (resolved && IsSameOrInsideFolder(*resolved, installedFolder) &&
      IsSameOrInsideFolder(installedFolder, *resolved))
    return;
  DebugTraceWAlways(os, u"InstallLocation \"%s\" is not the installer's folder; the entry names \"%s\"",
                    configured.c_str(), installedFolder.c_str());
}

}  // namespace

void WriteUninstallEntry(const Os& os, const std::u16string& installedFolder) {
  const UninstallConfig& u = g_config.uninstall;
  std::u16string key = UninstallKeyPath();
  if (installedFolder.empty()) {
    DebugTraceWAlways(os, u"No uninstall entry: the installer has no installed copy");
    return;
  }
  // Without a name the values would land in the Uninstall key itself, and the
  // removal would then try to delete that shared key.
  if (u.RegInfo.empty()) {
    DebugTraceWAlways(os, u"Failed to create registry key: %s (Error %ld)\n", key.c_str(), 87);
    return;
  }
  if (!os.registry->CreateKey(RegRoot::kLocalMachine, key)) {
    DebugTraceWAlways(os, u"Failed to create registry key: %s (Error %ld)\n", key.c_str(),
                      LastError(os));
    return;
  }
  std::optional<std::u16string> programFiles = os.files->GetFolderPath(KnownFolder::kProgramFiles);
  if (!programFiles) {
    DebugTraceWAlways(os, u"Failed to get Program Files folder path.\n");
    return;  // the key stays, without values
  }
  CheckInstallLocation(os, *programFiles, installedFolder);
  std::u16string program = Is64BitSystem(os) ? u"Qelvin64.exe" : u"Qelvin32.exe";
  std::u16string command = u"\"" + installedFolder + u"\\" + program + u"\" /uninstall";
  const std::pair<const char16_t*, const std::u16string*> values[] = {
      {u"DisplayName", &u.DisplayName},       {u"DisplayVersion", &u.DisplayVersion},
      {u"Publisher", &u.Publisher},           {u"InstallLocation", &installedFolder},
      {u"UninstallString", &command},
  };
  for (const auto& [name, data] : values) {
    if (!os.registry->SetString(RegRoot::kLocalMachine, key, name, *data)) {
      DebugTraceWAlways(os, u"Failed to set registry values.\n");
      os.registry->DeleteKey(RegRoot::kLocalMachine, key);
      return;
    }
  }
}

bool DeleteUninstallEntry(const Os& os) {
  std::u16string key = UninstallKeyPath();
  bool deleted = !g_config.uninstall.RegInfo.empty() &&
                 os.registry->DeleteKey(RegRoot::kLocalMachine, key);
  if (!deleted) {
    uint32_t error = g_config.uninstall.RegInfo.empty() ? 87 : LastError(os);
    DebugTraceW(os, u"Failed to delete registry key: %s (Error %ld)\n", key.c_str(), error);
  }
  return deleted;
}

}  // namespace lx
