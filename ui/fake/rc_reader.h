// Reads the installer's resource scripts the way a test needs them: the ids
// of resource.h, the page templates of a dialog script (control ids, kinds,
// captions, rectangles), the bitmaps a script names and its string table.
// The in-memory binding builds each page from these, so a page is tested
// against the controls it really gets.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ui/dialog_view.h"
#include "ui/property_page.h"

namespace lx {

struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::kOther;
  std::u16string className;
  std::u16string text;   // the template caption
  Rect dialogUnits;      // x, y, x + width, y + height
  bool sorted = false;   // CBS_SORT
  bool visible = true;
};

struct DialogTemplate {
  int id = 0;
  int width = 0, height = 0;
  std::vector<ControlTemplate> controls;  // template order = z-order, top first
};

class RcScripts {
 public:
  // Numeric #defines of a header (decimal or hexadecimal values).
  bool ReadDefines(const std::string& path);
  // DIALOGEX blocks of a script; macros defined in it are expanded.
  bool ReadDialogs(const std::string& path);
  // BITMAP lines of a script.
  bool ReadBitmaps(const std::string& path);
  // The STRINGTABLE entries of a script: id and text, escapes resolved.
  std::optional<std::map<unsigned, std::u16string>> ReadStrings(const std::string& path) const;

  const DialogTemplate* Dialog(int id) const;
  const std::set<int>& Bitmaps() const { return bitmaps_; }
  std::optional<long> Define(const std::string& name) const;

 private:
  std::optional<long> Value(const std::string& token) const;
  std::map<std::string, long> defines_;
  std::map<int, DialogTemplate> dialogs_;
  std::set<int> bitmaps_;
};

// Dialog units to pixels for the templates' 8-point "MS Shell Dlg" at 96 dpi
// (base units 6 x 13).
Rect DialogUnitsToPixels(const Rect& du);

}  // namespace lx
