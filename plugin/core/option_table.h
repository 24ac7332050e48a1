// The option keywords of the driver's feature file that the plug-in knows,
// each with the string id of its display text in the resource module.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lx {

struct OptionEntry {
  std::string keyword;         // ASCII, at most 39 characters
  unsigned stringId = 0;       // 0: no text of the resource module
  std::u16string displayText;  // at most 39 characters
};

inline constexpr size_t kOptionTableCapacity = 64;

// Loads a string of the resource module (empty when it has none).
using StringLoader = std::function<std::u16string(unsigned id)>;

class OptionTable {
 public:
  // The rows in table order with their display texts: the loaded string, or
  // "Useless" where the id is 0.
  explicit OptionTable(const StringLoader& load);
  const std::vector<OptionEntry>& rows() const { return rows_; }
  // The row with exactly this keyword (case-sensitive), or null.
  const OptionEntry* Find(std::string_view keyword) const;

 private:
  std::vector<OptionEntry> rows_;
};

// The rows' keywords and string ids, in table order (58 rows).
struct OptionRow {
  const char* keyword;
  unsigned stringId;
};
const std::vector<OptionRow>& OptionRows();

}  // namespace lx
