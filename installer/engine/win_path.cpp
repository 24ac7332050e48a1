#include "installer/engine/win_path.h"

#include <vector>

#include "common/text.h"

namespace lx {

namespace {

bool IsDriveRootPrefix(const std::u16string& p) { return p.size() >= 2 && p[1] == u':'; }
bool IsUnc(const std::u16string& p) { return p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\'; }

// The root part that ".." never climbs above: "C:\", "\\server\share\", "\" or "".
size_t RootLength(const std::u16string& p) {
  if (IsUnc(p)) {
    size_t server = p.find(u'\\', 2);
    if (server == std::u16string::npos) return p.size();
    size_t share = p.find(u'\\', server + 1);
    return share == std::u16string::npos ? p.size() : share + 1;
  }
  if (IsDriveRootPrefix(p)) return p.size() >= 3 && p[2] == u'\\' ? 3 : 2;
  if (!p.empty() && p[0] == u'\\') return 1;
  return 0;
}

std::u16string Canonicalize(const std::u16string& path) {
  size_t root = RootLength(path);
  std::vector<std::u16string> parts;
  size_t start = root;
  while (start <= path.size()) {
    size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    std::u16string part = path.substr(start, end - start);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (part != u"." && !(part.empty() && end == path.size())) {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::u16string out = path.substr(0, root);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i) out += u'\\';
    out += parts[i];
  }
  // A trailing separator of the input stays, as the shell keeps it.
  if (!parts.empty() && !path.empty() && path.back() == u'\\') out += u'\\';
  return out;
}

std::u16string FolderKey(const std::u16string& path) {
  std::u16string s = path;
  for (char16_t& c : s)
    if (c == u'/') c = u'\\';
  s = ToLowerAscii(Canonicalize(s));
  while (!s.empty() && s.back() == u'\\') s.pop_back();
  return s;
}

}  // namespace

std::optional<std::u16string> RemoveFileSpec(const std::u16string& path) {
  // The shell's scan: the cut goes at the last backslash, after a drive's
  // "X:\", or after the leading "\\" of a UNC path; nothing left to cut fails.
  const size_t n = path.size();
  size_t i = 0, spot = 0;
  if (i < n && path[i] == u'\\') spot = ++i;
  if (i < n && path[i] == u'\\') spot = ++i;
  for (; i < n; ++i) {
    if (path[i] == u'\\') {
      spot = i;
    } else if (path[i] == u':') {
      spot = ++i;
      if (i < n && path[i] == u'\\') ++spot;
    }
  }
  if (spot >= n) return std::nullopt;
  return path.substr(0, spot);
}

std::optional<std::u16string> CombinePath(const std::u16string& dir, const std::u16string& file) {
  std::u16string joined;
  if (file.empty()) {
    joined = dir;
  } else if (dir.empty() || IsDriveRootPrefix(file) || IsUnc(file)) {
    joined = file;
  } else if (file[0] == u'\\') {
    joined = dir.substr(0, RootLength(dir));
    if (!joined.empty() && joined.back() == u'\\') joined.pop_back();
    joined += file;
  } else {
    joined = dir;
    if (joined.back() != u'\\') joined += u'\\';
    joined += file;
  }
  std::u16string out = Canonicalize(joined);
  if (out.size() >= kMaxPathChars) return std::nullopt;
  return out;
}

bool IsSameOrInsideFolder(const std::u16string& inner, const std::u16string& outer) {
  std::u16string a = FolderKey(inner), b = FolderKey(outer);
  if (b.empty()) return false;
  return a == b || (a.size() > b.size() && a.compare(0, b.size(), b) == 0 && a[b.size()] == u'\\');
}

}  // namespace lx
