#include "installer/engine/folder_copy.h"

#include <vector>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/core/ui_language.h"
#include "installer/engine/win_path.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/win_errors.h"

namespace lx {

namespace {

uint32_t LastError(const Os& os) { return os.system->GetLastError(); }

}  // namespace

std::u16string GetInstallerFolder(const Os& os) {
  std::u16string module = WholeModulePath(os, u"installer folder");
  if (module.empty()) return u"";
  return RemoveFileSpec(module).value_or(u"");
}

std::vector<std::u16string> InstalledCopyFiles(const Os& os) {
  std::u16string module = os.system->ModuleFileName();
  size_t slash = module.find_last_of(u'\\');
  std::vector<std::u16string> files{module.substr(slash == std::u16string::npos ? 0 : slash + 1),
                                    u"cfgSetup.ini"};
  for (const UiLanguage& row : UiLanguageTable) {
    for (const char16_t* document : {row.licenceFile, row.privacyFile}) {
      std::u16string rtf = document;
      files.push_back(rtf);
      size_t dot = rtf.find_last_of(u'.');
      files.push_back(rtf.substr(0, dot) + u".pdf");
    }
  }
  return files;
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

namespace {

// The program and its configuration must be there; a document or the
// Bonjour folders only when the medium has them. Nothing else of the
// medium's folder goes along: a file planted beside the installer would
// become permanent beside the removal's copy.
bool CopyNeededFiles(const Os& os, const std::u16string& source, const std::u16string& target) {
  if (IsSameOrInsideFolder(target, source)) {
    DebugTraceW(os, u"Copy skipped: %s lies inside %s", target.c_str(), source.c_str());
    return false;
  }
  IFileSystem& files = *os.files;
  std::vector<std::u16string> names = InstalledCopyFiles(os);
  for (size_t i = 0; i < names.size(); ++i) {
    std::u16string from = source + u"\\" + names[i];
    std::u16string to = target + u"\\" + names[i];
    bool required = i < 2;  // InstalledCopyFiles lists the program and cfgSetup.ini first
    if (!required && !files.FileExists(from)) continue;
    size_t slash = names[i].find_last_of(u'\\');
    if (slash != std::u16string::npos && !CreateFolderTree(os, target + u"\\" + names[i].substr(0, slash)))
      return false;
    if (!files.Copy(from, to, false)) {
      DebugTraceWAlways(os, u"Not copied: %s (error %u)", from.c_str(), LastError(os));
      return false;
    }
  }
  std::u16string bonjour = source + u"\\Bonjour";
  if (!files.IsDirectory(bonjour)) return true;
  std::u16string bonjourCopy = target + u"\\Bonjour";
  return CreateFolderTree(os, bonjourCopy) && CopyFolderTree(os, bonjour, bonjourCopy);
}

}  // namespace

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
  if (source.empty() || target.empty() || !CopyNeededFiles(os, source, target)) {
    DebugTraceWAlways(os, u"The installer was not copied to \"%s\"", target.c_str());
    return u"";
  }
  return target;
}

}  // namespace lx
