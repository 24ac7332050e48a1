// File-name patterns as FindFirstFileW matches them against long names:
// case-insensitive; '*' any run of characters; '?' one character, or none at
// the end of the name or before a dot the pattern continues with; "*.*" and
// a trailing ".*" also match names without a dot; a trailing "." matches
// names without a dot only. (Matches through 8.3 short names are not made.)
#pragma once

#include <string>

namespace lx {

bool MatchesWildcard(const std::u16string& pattern, const std::u16string& name);

}  // namespace lx
