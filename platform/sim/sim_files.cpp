#include "platform/sim/sim_files.h"

#include "common/text.h"

namespace lx {

std::u16string SimFileSystem::Normalize(const std::u16string& path) {
  std::u16string out;
  for (char16_t c : path) {
    if (c == u'/') c = u'\\';
    if (c == u'\\' && !out.empty() && out.back() == u'\\') continue;
    out += ToLowerAscii(c);
  }
  while (out.size() > 3 && out.back() == u'\\') out.pop_back();
  return out;
}

std::u16string SimFileSystem::ParentOf(const std::u16string& normalized) {
  size_t slash = normalized.rfind(u'\\');
  if (slash == std::u16string::npos) return u"";
  return normalized.substr(0, slash == 2 ? 3 : slash);
}

bool SimFileSystem::FolderExists(const std::u16string& path) const {
  std::u16string n = Normalize(path);
  // Drive roots always exist.
  if (n.size() <= 3 && n.size() >= 2 && n[1] == u':') return true;
  return folders_.count(n) > 0;
}

std::optional<std::string> SimFileSystem::ReadFile(const std::u16string& path) {
  auto it = files_.find(Normalize(path));
  if (it == files_.end() || it->second.unreadable) return std::nullopt;
  return it->second.bytes;
}

bool SimFileSystem::WriteFile(const std::u16string& path, const std::string& bytes) {
  std::u16string n = Normalize(path);
  if (folders_.count(n) || !FolderExists(ParentOf(n))) return false;
  File& f = files_[n];
  if (f.unreadable) return false;
  f.bytes = bytes;
  return true;
}

bool SimFileSystem::FileExists(const std::u16string& path) { return files_.count(Normalize(path)) > 0; }

void SimFileSystem::AddFolder(const std::u16string& path) {
  std::u16string n = Normalize(path);
  while (n.size() > 3 && !folders_.count(n)) {
    folders_.insert(n);
    n = ParentOf(n);
  }
}

void SimFileSystem::AddFile(const std::u16string& path, const std::string& bytes) {
  std::u16string n = Normalize(path);
  AddFolder(ParentOf(n));
  files_[n].bytes = bytes;
}

void SimFileSystem::SetUnreadable(const std::u16string& path, bool unreadable) {
  auto it = files_.find(Normalize(path));
  if (it != files_.end()) it->second.unreadable = unreadable;
}

}  // namespace lx
