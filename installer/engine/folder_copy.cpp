#include "installer/engine/folder_copy.h"

#include <vector>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/engine/win_path.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

uint32_t LastError(const Os& os) { return os.system->GetLastError(); }

}  // namespace

std::u16string GetInstallerFolder(const Os& os) {
  std::u16string module = os.system->ModuleFileName();
  if (module.empty()) return u"";
  return RemoveFileSpec(module).value_or(u"");
}

bool CreateFolderTree(const Os& os, const std::u16string& folder) {
  std::u16string path = folder;
  while (!path.empty() && (path.back() == u'\\' || path.back() == u'/')) path.pop_back();
  IFileSystem& files = *os.files;
  if (files.IsDirectory(path)) return true;

  std::vector<std::u16string> missing{path};
  std::u16string current = path;
  for (size_t slash; (slash = current.find_last_of(u'\\')) != std::u16string::npos;) {
    current.resize(slash);
    if (files.IsDirectory(current)) break;
    missing.push_back(current);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (!files.CreateFolder(*it) && LastError(os) != kErrorAlreadyExists) return false;
  }
  return true;
}

bool CopyFolderTree(const Os& os, const std::u16string& source, const std::u16string& destination) {
  // A target inside the source would be listed and copied into itself again
  // and again; the same folder would be copied onto itself.
  if (IsSameOrInsideFolder(destination, source)) {
    DebugTraceW(os, u"Copy skipped: %s lies inside %s", destination.c_str(), source.c_str());
    return false;
  }
  std::u16string pattern = source + u"\\*";
  if (pattern.size() >= kMaxPathChars) return false;  // a cut pattern would list another folder
  IFileSystem& files = *os.files;
  std::vector<FindEntry> entries;
  // A listing cut short by an error still copies what it listed.
  if (!files.FindFiles(pattern, entries) && entries.empty()) return false;
  for (const FindEntry& e : entries) {
    if (e.name == u"." || e.name == u"..") continue;
    std::u16string from = source + u"\\" + e.name;
    std::u16string to = destination + u"\\" + e.name;
    if (e.attributes & kFileAttributeDirectory) {
      if (!files.CreateFolder(to) && LastError(os) != kErrorAlreadyExists) return false;
      if (!CopyFolderTree(os, from, to)) return false;
    } else if (!files.Copy(from, to, false)) {
      return false;
    }
  }
  return true;
}

std::u16string InstallFolder(const Os& os) {
  if (g_config.install.FilePath.empty()) return u"";
  auto programFiles = os.files->GetFolderPath(KnownFolder::kProgramFiles);
  if (!programFiles) return u"";
  return CombinePath(*programFiles, g_config.install.FilePath).value_or(u"");
}

std::u16string CopyInstallerToInstallFolder(const Os& os) {
  std::u16string target = InstallFolder(os);
  if (!target.empty()) {
    CreateFolderTree(os, target);
    if (!os.files->IsDirectory(target)) target.clear();
  }
  std::u16string source = GetInstallerFolder(os);
  if (source.empty() || target.empty() || !CopyFolderTree(os, source, target)) {
    DebugTraceWAlways(os, u"The installer was not copied to \"%s\"", target.c_str());
    return u"";
  }
  return target;
}

}  // namespace lx
