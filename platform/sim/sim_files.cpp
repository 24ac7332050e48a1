#include "platform/sim/sim_files.h"

#include <vector>

#include "common/text.h"
#include "platform/file_security.h"
#include "platform/sim/wildcard.h"

namespace lx {

namespace {

// Specific rights (winnt.h) the simulation asks its guard for.
constexpr uint32_t kReadData = 0x0001;
constexpr uint32_t kWriteData = 0x0002;  // FILE_ADD_FILE on a folder
constexpr uint32_t kAddSubfolder = 0x0004;
constexpr int kMaxLinkHops = 63;  // as the object manager's reparse limit

}  // namespace

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
  std::u16string n = Resolve(path);
  // Drive roots always exist.
  if (n.size() <= 3 && n.size() >= 2 && n[1] == u':') return true;
  return folders_.count(n) > 0;
}

std::optional<std::string> SimFileSystem::ReadFile(const std::u16string& path) {
  std::u16string n = Resolve(path);
  auto it = files_.find(n);
  if (it == files_.end()) {
    caller_.SetError(FolderExists(ParentOf(n)) ? kErrorFileNotFound : kErrorPathNotFound);
    return std::nullopt;
  }
  if (it->second.unreadable || !Allowed(n, kFileGenericRead)) {
    caller_.SetError(kErrorAccessDenied);
    return std::nullopt;
  }
  return it->second.bytes;
}

bool SimFileSystem::AppendFile(const std::u16string& path, const std::string& bytes) {
  std::u16string n = Resolve(path);
  auto it = files_.find(n);
  if (it == files_.end()) return WriteFile(path, bytes);
  if (it->second.unreadable || (it->second.attributes & kFileAttributeReadOnly) || !Allowed(n, kWriteData))
    return Fail(kErrorAccessDenied);
  it->second.bytes += bytes;
  return true;
}

bool SimFileSystem::WriteFile(const std::u16string& path, const std::string& bytes) {
  std::u16string n = Resolve(path);
  if (folders_.count(n)) return Fail(kErrorAccessDenied);
  if (!FolderExists(ParentOf(n))) return Fail(kErrorPathNotFound);
  auto it = files_.find(n);
  if (it != files_.end() && (it->second.unreadable || (it->second.attributes & kFileAttributeReadOnly) ||
                             !Allowed(n, kWriteData)))
    return Fail(kErrorAccessDenied);
  if (it == files_.end() && !Allowed(ParentOf(n), kWriteData)) return Fail(kErrorAccessDenied);
  File& f = files_[n];
  bool made = f.path.empty();
  if (made) f.path = Tidy(path);
  f.bytes = bytes;
  if (made) Made(n);
  return true;
}

bool SimFileSystem::FileExists(const std::u16string& path) { return files_.count(Resolve(path)) > 0; }

uint32_t SimFileSystem::GetAttributes(const std::u16string& path) {
  std::u16string n = Resolve(path);
  auto it = files_.find(n);
  if (it != files_.end()) return it->second.attributes;
  if (FolderExists(n)) return kFileAttributeDirectory;
  caller_.SetError(FolderExists(ParentOf(n)) ? kErrorFileNotFound : kErrorPathNotFound);
  return kInvalidFileAttributes;
}

bool SimFileSystem::SetAttributes(const std::u16string& path, uint32_t attributes) {
  auto it = files_.find(Resolve(path));
  if (it == files_.end()) return FolderExists(path) ? true : Fail(kErrorFileNotFound);
  // FILE_ATTRIBUTE_NORMAL alone clears the others.
  uint32_t a = attributes & ~(kFileAttributeDirectory | kFileAttributeNormal);
  it->second.attributes = a;
  return true;
}

bool SimFileSystem::CreateFolder(const std::u16string& path) {
  std::u16string n = Resolve(path);
  if (n.empty()) return Fail(kErrorPathNotFound);
  if (FolderExists(n) || files_.count(n) || links_.count(n)) return Fail(kErrorAlreadyExists);
  if (!FolderExists(ParentOf(n))) return Fail(kErrorPathNotFound);
  if (!Allowed(ParentOf(n), kAddSubfolder)) return Fail(kErrorAccessDenied);
  folders_[n] = Tidy(path);
  Made(n);
  return true;
}

bool SimFileSystem::RemoveFolder(const std::u16string& path) {
  std::u16string n = Resolve(path, false);
  auto link = links_.find(n);
  if (link != links_.end() && link->second.folder) {  // the junction goes, not its target
    links_.erase(link);
    return true;
  }
  n = Resolve(path);
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
  std::u16string n = Resolve(folder);
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
  auto src = files_.find(Resolve(from));
  if (src == files_.end()) return Fail(FolderExists(from) ? kErrorAccessDenied : kErrorFileNotFound);
  if (src->second.unreadable) return Fail(kErrorAccessDenied);
  std::u16string n = Resolve(to);
  if (folders_.count(n)) return Fail(kErrorAccessDenied);
  if (!FolderExists(ParentOf(n))) return Fail(kErrorPathNotFound);
  auto dst = files_.find(n);
  if (dst != files_.end()) {
    if (failIfExists) return Fail(kErrorFileExists);
    if (dst->second.unreadable || (dst->second.attributes & kFileAttributeReadOnly))
      return Fail(kErrorAccessDenied);
  }
  File copy = src->second;  // attributes travel with the copy, as CopyFileW does
  bool made = dst == files_.end();
  copy.path = made ? Tidy(to) : dst->second.path;
  copy.links = 1;
  files_[n] = copy;
  if (made) Made(n);
  return true;
}

bool SimFileSystem::RemoveFile(const std::u16string& path) {
  std::u16string n = Resolve(path, false);
  auto link = links_.find(n);
  if (link != links_.end() && !link->second.folder) {  // the link goes, not its target
    links_.erase(link);
    return true;
  }
  n = Resolve(path);
  auto it = files_.find(n);
  if (it == files_.end()) {
    if (folders_.count(n)) return Fail(kErrorAccessDenied);
    return Fail(FolderExists(ParentOf(n)) ? kErrorFileNotFound : kErrorPathNotFound);
  }
  if (it->second.unreadable || (it->second.attributes & kFileAttributeReadOnly) || !Allowed(n, kDeleteRight))
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
  auto it = files_.find(Resolve(path));
  if (it != files_.end()) it->second.unreadable = unreadable;
}

std::vector<std::u16string> SimFileSystem::FilesIn(const std::u16string& folder) const {
  std::vector<std::u16string> out;
  std::u16string n = Resolve(folder);
  for (const auto& [key, f] : files_)
    if (ParentOf(key) == n) out.push_back(f.path);
  return out;
}

std::u16string SimFileSystem::ResolveKey(const std::u16string& n, bool followLast, int depth) const {
  if (links_.empty()) return n;
  size_t rootEnd = n.size() >= 3 && n[1] == u':' ? 3 : (n.compare(0, 2, u"\\\\") == 0 ? 2 : 0);
  std::u16string out = n.substr(0, rootEnd);
  size_t pos = rootEnd;
  while (pos < n.size()) {
    size_t end = n.find(u'\\', pos);
    if (end == std::u16string::npos) end = n.size();
    if (!out.empty() && out.back() != u'\\') out += u'\\';
    out += n.substr(pos, end - pos);
    pos = end + 1;
    bool last = end >= n.size();
    auto link = links_.find(out);
    if (link != links_.end() && (followLast || !last)) {
      if (depth >= kMaxLinkHops) return out;
      out = ResolveKey(link->second.target, true, depth + 1);
    }
  }
  return out;
}

std::u16string SimFileSystem::Resolve(const std::u16string& path, bool followLast) const {
  return ResolveKey(Normalize(path), followLast, 0);
}

bool SimFileSystem::Exists(const std::u16string& key) const {
  if (key.size() <= 3 && key.size() >= 2 && key[1] == u':') return true;
  return files_.count(key) || folders_.count(key) || links_.count(key);
}

void SimFileSystem::AddLink(const std::u16string& path, const std::u16string& target, bool folder) {
  links_[Resolve(path, false)] = Link{Normalize(target), folder};
}

void SimFileSystem::SetLinkCount(const std::u16string& path, uint32_t links) {
  auto it = files_.find(Resolve(path));
  if (it != files_.end()) it->second.links = links;
}

const SimFileSystem::OpenHandle* SimFileSystem::HandleOf(FileHandle handle) const {
  auto it = handles_.find(handle);
  return it == handles_.end() ? nullptr : &it->second;
}

FileHandle SimFileSystem::OpenNoFollow(const std::u16string& path, uint32_t access) {
  std::u16string key = Resolve(path, false);
  if (!Exists(key)) {
    caller_.SetError(FolderExists(ParentOf(key)) ? kErrorFileNotFound : kErrorPathNotFound);
    return 0;
  }
  auto file = files_.find(key);
  if ((file != files_.end() && file->second.unreadable) || !Allowed(key, access)) {
    caller_.SetError(kErrorAccessDenied);
    return 0;
  }
  // A writer shares reading only: a second writer is refused. No handle
  // shares deleting, so one with the delete right and any other handle on
  // the same object exclude each other, whichever came first.
  for (const auto& [h, open] : handles_)
    if (open.key == key && (((access & kWriteData) && (open.access & kWriteData)) ||
                            ((access | open.access) & kDeleteRight))) {
      caller_.SetError(kErrorSharingViolation);
      return 0;
    }
  handles_[++nextHandle_] = OpenHandle{key, access};
  return nextHandle_;
}

bool SimFileSystem::QueryHandle(FileHandle handle, OpenedFileInfo& info) {
  const OpenHandle* h = HandleOf(handle);
  if (!h) return Fail(kErrorInvalidHandle);
  info = {};
  auto link = links_.find(h->key);
  auto file = files_.find(h->key);
  if (link != links_.end()) {
    info.attributes = kFileAttributeReparsePoint | (link->second.folder ? kFileAttributeDirectory : kFileAttributeArchive);
  } else if (file != files_.end()) {
    info.attributes = file->second.attributes ? file->second.attributes : kFileAttributeNormal;
    info.size = file->second.bytes.size();
    info.links = file->second.links;
  } else if (Exists(h->key)) {
    info.attributes = kFileAttributeDirectory;
  } else {
    return Fail(kErrorFileNotFound);  // deleted while open
  }
  return true;
}

std::optional<std::string> SimFileSystem::ReadHandle(FileHandle handle, size_t maxBytes) {
  const OpenHandle* h = HandleOf(handle);
  if (!h) {
    caller_.SetError(kErrorInvalidHandle);
    return std::nullopt;
  }
  if (!(h->access & kReadData)) {
    caller_.SetError(kErrorAccessDenied);
    return std::nullopt;
  }
  if (links_.count(h->key)) return std::string();  // a link's own data stream is empty
  auto file = files_.find(h->key);
  if (file == files_.end()) {
    caller_.SetError(kErrorAccessDenied);
    return std::nullopt;
  }
  return file->second.bytes.substr(0, maxBytes);
}

bool SimFileSystem::WriteHandle(FileHandle handle, const std::string& bytes) {
  const OpenHandle* h = HandleOf(handle);
  if (!h) return Fail(kErrorInvalidHandle);
  auto file = files_.find(h->key);
  if (!(h->access & kWriteData) || file == files_.end() || (file->second.attributes & kFileAttributeReadOnly))
    return Fail(kErrorAccessDenied);
  file->second.bytes = bytes;
  return true;
}

bool SimFileSystem::DeleteByHandle(FileHandle handle) {
  const OpenHandle* h = HandleOf(handle);
  if (!h) return Fail(kErrorInvalidHandle);
  if (!(h->access & kDeleteRight)) return Fail(kErrorAccessDenied);
  const std::u16string key = h->key;
  if (links_.erase(key)) return true;
  auto file = files_.find(key);
  if (file != files_.end()) {
    if (file->second.attributes & kFileAttributeReadOnly) return Fail(kErrorAccessDenied);
    files_.erase(file);
    return true;
  }
  for (const auto& [k, f] : files_)
    if (ParentOf(k) == key) return Fail(kErrorDirNotEmpty);
  for (const auto& [k, f] : folders_)
    if (ParentOf(k) == key) return Fail(kErrorDirNotEmpty);
  for (const auto& [k, l] : links_)
    if (ParentOf(k) == key) return Fail(kErrorDirNotEmpty);
  return folders_.erase(key) ? true : Fail(kErrorFileNotFound);
}

}  // namespace lx
