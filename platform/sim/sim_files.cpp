#include "platform/sim/sim_files.h"

#include <vector>

#include "common/text.h"
#include "platform/sim/wildcard.h"

namespace lx {

std::u16string SimFileSystem::Tidy(const std::u16string& path) {
  // Windows canonicalises a full path before using it: separators unified
  // and collapsed, "." and ".." resolved, trailing dots and blanks of each
  // name dropped.
  std::u16string unified = path;
  for (char16_t& c : unified)
    if (c == u'/') c = u'\\';
  size_t rootEnd = 0;
  if (unified.size() >= 2 && unified[1] == u':') rootEnd = unified.size() > 2 && unified[2] == u'\\' ? 3 : 2;
  else if (unified.compare(0, 2, u"\\\\") == 0) rootEnd = 2;
  std::u16string root = unified.substr(0, rootEnd);
  std::vector<std::u16string> parts;
  size_t pos = rootEnd;
  while (pos <= unified.size()) {
    size_t end = unified.find(u'\\', pos);
    if (end == std::u16string::npos) end = unified.size();
    std::u16string name = unified.substr(pos, end - pos);
    pos = end + 1;
    if (name.empty() || name == u".") continue;
    if (name == u"..") {
      if (!parts.empty()) parts.pop_back();
      continue;
    }
    while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.pop_back();
    if (!name.empty()) parts.push_back(name);
  }
  std::u16string out = root;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0 || (!out.empty() && out.back() != u'\\')) out += u'\\';
    out += parts[i];
  }
  return out;
}

std::u16string SimFileSystem::Normalize(const std::u16string& path) { return ToLowerAscii(Tidy(path)); }

std::u16string SimFileSystem::ParentOf(const std::u16string& normalized) {
  size_t slash = normalized.rfind(u'\\');
  if (slash == std::u16string::npos) return u"";
  return normalized.substr(0, slash == 2 ? 3 : slash);
}

std::u16string SimFileSystem::NameOf(const std::u16string& path) {
  size_t slash = path.rfind(u'\\');
  return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

bool SimFileSystem::FolderExists(const std::u16string& path) const {
  std::u16string n = Normalize(path);
  // Drive roots always exist.
  if (n.size() <= 3 && n.size() >= 2 && n[1] == u':') return true;
  return folders_.count(n) > 0;
}

std::optional<std::string> SimFileSystem::ReadFile(const std::u16string& path) {
  auto it = files_.find(Normalize(path));
  if (it == files_.end()) {
    caller_.SetError(FolderExists(ParentOf(Normalize(path))) ? kErrorFileNotFound : kErrorPathNotFound);
    return std::nullopt;
  }
  if (it->second.unreadable) {
    caller_.SetError(kErrorAccessDenied);
    return std::nullopt;
  }
  return it->second.bytes;
}

bool SimFileSystem::AppendFile(const std::u16string& path, const std::string& bytes) {
  std::u16string n = Normalize(path);
  auto it = files_.find(n);
  if (it == files_.end()) return WriteFile(path, bytes);
  if (it->second.unreadable || (it->second.attributes & kFileAttributeReadOnly)) return Fail(kErrorAccessDenied);
  it->second.bytes += bytes;
  return true;
}

bool SimFileSystem::WriteFile(const std::u16string& path, const std::string& bytes) {
  std::u16string n = Normalize(path);
  if (folders_.count(n)) return Fail(kErrorAccessDenied);
  if (!FolderExists(ParentOf(n))) return Fail(kErrorPathNotFound);
  auto it = files_.find(n);
  if (it != files_.end() && (it->second.unreadable || (it->second.attributes & kFileAttributeReadOnly)))
    return Fail(kErrorAccessDenied);
  File& f = files_[n];
  if (f.path.empty()) f.path = Tidy(path);
  f.bytes = bytes;
  return true;
}

bool SimFileSystem::FileExists(const std::u16string& path) { return files_.count(Normalize(path)) > 0; }

uint32_t SimFileSystem::GetAttributes(const std::u16string& path) {
  std::u16string n = Normalize(path);
  auto it = files_.find(n);
  if (it != files_.end()) return it->second.attributes;
  if (FolderExists(n)) return kFileAttributeDirectory;
  caller_.SetError(FolderExists(ParentOf(n)) ? kErrorFileNotFound : kErrorPathNotFound);
  return kInvalidFileAttributes;
}

bool SimFileSystem::SetAttributes(const std::u16string& path, uint32_t attributes) {
  auto it = files_.find(Normalize(path));
  if (it == files_.end()) return FolderExists(path) ? true : Fail(kErrorFileNotFound);
  // FILE_ATTRIBUTE_NORMAL alone clears the others.
  uint32_t a = attributes & ~(kFileAttributeDirectory | kFileAttributeNormal);
  it->second.attributes = a;
  return true;
}

bool SimFileSystem::CreateFolder(const std::u16string& path) {
  std::u16string n = Normalize(path);
  if (n.empty()) return Fail(kErrorPathNotFound);
  if (FolderExists(n) || files_.count(n)) return Fail(kErrorAlreadyExists);
  if (!FolderExists(ParentOf(n))) return Fail(kErrorPathNotFound);
  folders_[n] = Tidy(path);
  return true;
}

bool SimFileSystem::RemoveFolder(const std::u16string& path) {
  std::u16string n = Normalize(path);
  if (!folders_.count(n)) return Fail(files_.count(n) ? kErrorInvalidName : kErrorFileNotFound);
  for (const auto& [key, f] : files_)
    if (ParentOf(key) == n) return Fail(kErrorDirNotEmpty);
  for (const auto& [key, f] : folders_)
    if (ParentOf(key) == n) return Fail(kErrorDirNotEmpty);
  folders_.erase(n);
  return true;
}

bool SimFileSystem::FindFiles(const std::u16string& pattern, std::vector<FindEntry>& entries) {
  entries.clear();
  // The folder part is canonicalised; the name pattern is taken as written.
  size_t slash = pattern.find_last_of(u"\\/");
  std::u16string folder = slash == std::u16string::npos ? u"" : Tidy(pattern.substr(0, slash + 1));
  std::u16string namePattern = slash == std::u16string::npos ? pattern : pattern.substr(slash + 1);
  if (namePattern.empty()) return Fail(kErrorFileNotFound);
  if (!FolderExists(folder)) return Fail(kErrorPathNotFound);
  std::u16string n = Normalize(folder);
  bool root = n.size() <= 3;
  // A folder other than a drive root lists itself and its parent first.
  if (!root) {
    for (const char16_t* dot : {u".", u".."})
      if (MatchesWildcard(namePattern, dot)) entries.push_back({dot, kFileAttributeDirectory, 0});
  }
  // NTFS lists in case-insensitive name order; the maps are keyed that way.
  std::map<std::u16string, FindEntry> found;
  for (const auto& [key, display] : folders_)
    if (ParentOf(key) == n && MatchesWildcard(namePattern, NameOf(display)))
      found[NameOf(key)] = {NameOf(display), kFileAttributeDirectory, 0};
  for (const auto& [key, f] : files_)
    if (ParentOf(key) == n && MatchesWildcard(namePattern, NameOf(f.path)))
      found[NameOf(key)] = {NameOf(f.path), f.attributes ? f.attributes : kFileAttributeNormal,
                            f.bytes.size()};
  for (auto& [k, e] : found) entries.push_back(e);
  auto fault = listingFaults.find(n);
  if (fault != listingFaults.end() && fault->second.entriesBefore < entries.size()) {
    entries.resize(fault->second.entriesBefore);
    return Fail(fault->second.error);
  }
  if (entries.empty()) return Fail(kErrorFileNotFound);
  return true;
}

bool SimFileSystem::Copy(const std::u16string& from, const std::u16string& to, bool failIfExists) {
  auto src = files_.find(Normalize(from));
  if (src == files_.end()) return Fail(FolderExists(from) ? kErrorAccessDenied : kErrorFileNotFound);
  if (src->second.unreadable) return Fail(kErrorAccessDenied);
  std::u16string n = Normalize(to);
  if (folders_.count(n)) return Fail(kErrorAccessDenied);
  if (!FolderExists(ParentOf(n))) return Fail(kErrorPathNotFound);
  auto dst = files_.find(n);
  if (dst != files_.end()) {
    if (failIfExists) return Fail(kErrorFileExists);
    if (dst->second.unreadable || (dst->second.attributes & kFileAttributeReadOnly))
      return Fail(kErrorAccessDenied);
  }
  File copy = src->second;  // attributes travel with the copy, as CopyFileW does
  copy.path = dst != files_.end() ? dst->second.path : Tidy(to);
  files_[n] = copy;
  return true;
}

bool SimFileSystem::RemoveFile(const std::u16string& path) {
  std::u16string n = Normalize(path);
  auto it = files_.find(n);
  if (it == files_.end()) {
    if (folders_.count(n)) return Fail(kErrorAccessDenied);
    return Fail(FolderExists(ParentOf(n)) ? kErrorFileNotFound : kErrorPathNotFound);
  }
  if (it->second.unreadable || (it->second.attributes & kFileAttributeReadOnly))
    return Fail(kErrorAccessDenied);
  files_.erase(it);
  return true;
}

std::optional<std::u16string> SimFileSystem::GetFolderPath(KnownFolder folder, bool create) {
  std::u16string path;
  switch (folder) {
    case KnownFolder::kWindows: path = known.windows; break;
    case KnownFolder::kSystem: path = known.windows + u"\\system32"; break;
    case KnownFolder::kProgramFiles:
      path = caller_.Bits() == 32 && FolderExists(known.programFilesX86) ? known.programFilesX86
                                                                          : known.programFiles;
      break;
    case KnownFolder::kCommonAppData: path = known.commonAppData; break;
    default: return std::nullopt;
  }
  if (!FolderExists(path)) {
    if (!create) {
      caller_.SetError(kErrorFileNotFound);
      return std::nullopt;
    }
    AddFolder(path);
  }
  return path;
}

void SimFileSystem::AddFolder(const std::u16string& path) {
  std::u16string t = Tidy(path);
  while (t.size() > 3) {
    std::u16string n = ToLowerAscii(t);
    if (folders_.count(n)) break;
    folders_[n] = t;
    size_t slash = t.rfind(u'\\');
    if (slash == std::u16string::npos) break;
    t = t.substr(0, slash == 2 ? 3 : slash);
  }
}

void SimFileSystem::AddFile(const std::u16string& path, const std::string& bytes) {
  std::u16string t = Tidy(path);
  size_t slash = t.rfind(u'\\');
  if (slash != std::u16string::npos) AddFolder(t.substr(0, slash == 2 ? 3 : slash));
  File& f = files_[ToLowerAscii(t)];
  if (f.path.empty()) f.path = t;
  f.bytes = bytes;
}

void SimFileSystem::SetUnreadable(const std::u16string& path, bool unreadable) {
  auto it = files_.find(Normalize(path));
  if (it != files_.end()) it->second.unreadable = unreadable;
}

std::vector<std::u16string> SimFileSystem::FilesIn(const std::u16string& folder) const {
  std::vector<std::u16string> out;
  std::u16string n = Normalize(folder);
  for (const auto& [key, f] : files_)
    if (ParentOf(key) == n) out.push_back(f.path);
  return out;
}

}  // namespace lx
