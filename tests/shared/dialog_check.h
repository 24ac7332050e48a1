// Rules every dialog template of the installer and the plug-in keeps, checked on
// the template itself (with the page's texts in one language) before any window
// exists: keyboard reach, radio groups, the static text a screen reader names a
// field by, controls inside the page and texts that fit. Portable: the caller
// brings the measure of texts in the page's font (GDI under Windows).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace dlgcheck {

// Window style bits the rules read.
constexpr uint32_t kTabStop = 0x00010000;
constexpr uint32_t kGroup = 0x00020000;
constexpr uint32_t kDisabled = 0x08000000;
constexpr uint32_t kVisible = 0x10000000;

enum class Kind { Push, Check, Radio, GroupBox, Text, Picture, Edit, Combo, List, Trackbar, Link, Other };

// Kind of a template item from its class (an ordinal of the standard classes,
// or a name compared without case) and style.
Kind KindOf(uint16_t classOrdinal, const std::u16string& className, uint32_t style);

struct Control {
  uint32_t id = 0;
  Kind kind = Kind::Other;
  uint32_t style = 0;
  int x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::u16string text;               // as the page shows it in the language checked
  bool namedElsewhere = false;       // accessible name set by the page at run time
};

struct Page {
  std::string name;
  int cx = 0, cy = 0;
  std::vector<Control> controls;  // template order
};

// Measures in pixels of the page's font. Without them the fit rule is skipped.
struct Metrics {
  std::function<int(const std::u16string&)> textWidth;  // -1: no font can draw it
  int lineHeight = 0;
  std::function<int(int)> dluToPixelsX, dluToPixelsY;
};

struct Finding {
  std::string rule;  // "tabstop", "group", "label", "bounds", "fit"
  uint32_t id = 0;
  std::string what;
};

std::vector<Finding> CheckPage(const Page& page, const Metrics* metrics);

// The order Tab reaches the page's controls: tab stops in template order, a
// radio group once (by its first button).
std::vector<uint32_t> TabOrder(const Page& page);

// The same page with each text made longer by `percent` (its own characters
// repeated), as a translator's longer wording would be.
Page Lengthened(const Page& page, int percent);

std::string Describe(const std::vector<Finding>& findings);

}  // namespace dlgcheck
