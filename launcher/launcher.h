// What the launcher does between its splash appearing and its exit: put the
// DNS-SD library of the machine's word size beside the installers and start
// the installer of that word size. The window around it is launcher/app.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace lx {

class ISystem;
class IFileSystem;
class IDebugOutput;
class IClock;
class IProcessStart;

struct LauncherServices {
  ISystem& system;
  IFileSystem& files;
  IDebugOutput& debug;
  IClock& clock;
  IProcessStart& processes;
};

enum class WordSize { kThirtyTwo, kSixtyFour };

// 64-bit when GetNativeSystemInfo exists and reports x64 or Itanium.
WordSize NativeWordSize(ISystem& system);

// The module path up to and including its last backslash; empty without one.
std::u16string LauncherFolder(const std::u16string& modulePath);

struct LauncherPaths {
  std::u16string librarySource;  // Setup\Bonjour\x64|x86\dnssd.dll
  std::u16string libraryCopy;    // Setup\dnssd.dll
  std::u16string installer;      // SETUP\Qelvin64.exe or SETUP\Qelvin32.exe
};
LauncherPaths PathsFor(const std::u16string& folder, WordSize size);

// The installer's command line: its path in quotes, so that the program's
// own arguments stay empty whatever blanks the path holds. Nothing for a
// path that is not absolute or holds a quote.
std::optional<std::u16string> InstallerCommandLine(const std::u16string& installerPath);

// The first paint's work: pause, copy the library, `fadeOut` (hide and
// destroy the splash), start the installer. Answers whether it started.
bool RunLauncher(LauncherServices& os, const std::function<void()>& fadeOut);

}  // namespace lx
