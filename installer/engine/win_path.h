// The shell's path rules (PathRemoveFileSpecW, PathCombineW) on UTF-16 text,
// for the engine's paths.
#pragma once

#include <optional>
#include <string>

namespace lx {

constexpr size_t kMaxPathChars = 260;

// The path less its last element; nothing when nothing can be removed (a
// root such as C:\, or an empty path). A drive root keeps its backslash.
std::optional<std::u16string> RemoveFileSpec(const std::u16string& path);

// PathCombineW: `file` relative to `dir`, an absolute `file` as it stands, a
// file starting with one backslash on the root of `dir`; "." and ".." folded.
// Nothing when the result would not fit 260 characters.
std::optional<std::u16string> CombinePath(const std::u16string& dir, const std::u16string& file);

// True when `inner` names the same folder as `outer` or one inside it
// (letter case, '/' and trailing separators do not matter).
bool IsSameOrInsideFolder(const std::u16string& inner, const std::u16string& outer);

}  // namespace lx
