#include "launcher/launcher.h"

#include "common/format.h"
#include "platform/clock.h"
#include "platform/debug_output.h"
#include "platform/files.h"
#include "platform/process_start.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace lx {

namespace {
constexpr uint32_t kSplashPauseMs = 500;
constexpr size_t kModulePathChars = 260;  // GetModuleFileNameW's buffer

bool IsAbsolutePath(const std::u16string& path) {
  return (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') ||
         (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\');
}
}  // namespace

WordSize NativeWordSize(ISystem& system) {
  std::optional<uint16_t> arch = system.NativeProcessorArchitecture();
  if (arch && (*arch == kProcessorArchitectureAmd64 || *arch == kProcessorArchitectureIa64))
    return WordSize::kSixtyFour;
  return WordSize::kThirtyTwo;
}

std::u16string LauncherFolder(const std::u16string& modulePath) {
  size_t slash = modulePath.find_last_of(u'\\');
  return slash == std::u16string::npos ? std::u16string() : modulePath.substr(0, slash + 1);
}

LauncherPaths PathsFor(const std::u16string& folder, WordSize size) {
  bool wide = size == WordSize::kSixtyFour;
  return {folder + (wide ? u"Setup\\Bonjour\\x64\\dnssd.dll" : u"Setup\\Bonjour\\x86\\dnssd.dll"),
          folder + u"Setup\\dnssd.dll",
          folder + (wide ? u"SETUP\\Qelvin64.exe" : u"SETUP\\Qelvin32.exe")};
}

std::optional<std::u16string> InstallerCommandLine(const std::u16string& installerPath) {
  // A quote cannot be part of a Windows file name; one here would end the
  // quoting early and hand the rest to the installer as arguments.
  if (!IsAbsolutePath(installerPath) || installerPath.find(u'"') != std::u16string::npos)
    return std::nullopt;
  return u"\"" + installerPath + u"\"";
}

bool RunLauncher(LauncherServices& os, const std::function<void()>& fadeOut) {
  os.clock.Sleep(kSplashPauseMs);
  std::u16string module = os.system.ModuleFileName();
  // The seam gives at most MAX_PATH - 1 characters: a path that long may have
  // been cut, and its folder would be another one, where nothing is copied
  // or started.
  if (module.size() >= kModulePathChars - 1) {
    os.debug.OutputW(FormatW(u"Module path cut at MAX_PATH: %s", module.c_str()));
    if (fadeOut) fadeOut();
    return false;
  }
  std::u16string folder = LauncherFolder(module);
  LauncherPaths paths = PathsFor(folder, NativeWordSize(os.system));
  // Without its own folder the launcher would copy into the current one.
  if (folder.empty() || !os.files.Copy(paths.librarySource, paths.libraryCopy, false))
    os.debug.OutputW(u"Copy dnssd Fail");
  if (fadeOut) fadeOut();

  // The installer runs elevated: it is started only from the launcher's own
  // folder, never from wherever the current folder points.
  std::optional<std::u16string> commandLine = InstallerCommandLine(paths.installer);
  if (!commandLine) {
    os.debug.OutputW(FormatW(u"Start installer Fail: no usable path \"%s\"", paths.installer.c_str()));
    return false;
  }
  if (!os.processes.Start(paths.installer, *commandLine, kSwShowNormal)) {
    os.debug.OutputW(FormatW(u"Start installer Fail: %s (error %u)", paths.installer.c_str(),
                             os.system.GetLastError()));
    return false;
  }
  return true;
}

}  // namespace lx
