#include "tests/shared/dialog_check.h"

#include <algorithm>

namespace dlgcheck {
namespace {

constexpr uint32_t kButtonType = 0x0F, kMultiLine = 0x2000, kStaticType = 0x1F;
constexpr uint32_t kStaticNoWrap = 0x0C, kStaticSimple = 0x0B;
// A combo box's template height is its drop-down's; closed it is one field high.
constexpr int kClosedComboHeight = 14;

std::u16string Lower(const std::u16string& s) {
  std::u16string out = s;
  for (char16_t& c : out)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return out;
}

std::string Narrow(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

bool Interactive(Kind k) {
  return k == Kind::Push || k == Kind::Check || k == Kind::Radio || k == Kind::Edit || k == Kind::Combo ||
         k == Kind::List || k == Kind::Trackbar || k == Kind::Link;
}

bool NeedsLabel(Kind k) { return k == Kind::Edit || k == Kind::Combo || k == Kind::List || k == Kind::Trackbar; }

std::u16string WithoutLinkMarkup(const std::u16string& text) {
  std::u16string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'<') {
      size_t close = text.find(u'>', i);
      std::u16string tag = close == std::u16string::npos ? u"" : Lower(text.substr(i, close - i + 1));
      if (tag.rfind(u"<a", 0) == 0 || tag == u"</a>") {
        i = close;
        continue;
      }
    }
    out += text[i];
  }
  return out;
}

// Lines a word-wrapping control needs for `text` in `room` pixels: breaks at
// the last blank that fits, or between characters where a word (or a script
// without blanks) is longer than the line. 0 when a text cannot be measured.
int LinesNeeded(const std::u16string& text, int room, const Metrics& m) {
  int lines = 0;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    std::u16string para = text.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
    if (!para.empty() && para.back() == u'\r') para.pop_back();
    ++lines;
    std::u16string line;
    for (size_t i = 0; i < para.size(); ++i) {
      std::u16string next = line + para[i];
      int w = m.textWidth(next);
      if (w < 0) return 0;
      if (w <= room || line.empty()) {
        line = next;
        continue;
      }
      ++lines;
      size_t blank = line.find_last_of(u' ');
      line = blank == std::u16string::npos || blank == 0 ? std::u16string(1, para[i]) : line.substr(blank + 1) + para[i];
      while (!line.empty() && line[0] == u' ') line.erase(0, 1);
    }
    if (end == std::u16string::npos) break;
    start = end + 1;
  }
  return lines;
}

void CheckFit(const Control& c, const Metrics& m, std::vector<Finding>& out) {
  if (c.text.empty()) return;
  const int width = m.dluToPixelsX(c.cx), height = m.dluToPixelsY(c.cy);
  int room = -1;
  bool wraps = false;
  std::u16string text = c.text;
  switch (c.kind) {
    case Kind::Push: room = width - 6; wraps = (c.style & kMultiLine) != 0; break;
    case Kind::Check:
    case Kind::Radio: room = width - 16; wraps = (c.style & kMultiLine) != 0; break;
    case Kind::GroupBox: room = width - 12; break;
    case Kind::Text: {
      uint32_t type = c.style & kStaticType;
      room = width;
      wraps = type != kStaticNoWrap && type != kStaticSimple;
      break;
    }
    case Kind::Link: room = width; wraps = true; text = WithoutLinkMarkup(text); break;
    default: return;
  }
  if (wraps) {
    int lines = LinesNeeded(text, room, m);
    if (lines > 0 && lines * m.lineHeight > height)
      out.push_back({"fit", c.id,
                     "text \"" + Narrow(c.text) + "\" needs " + std::to_string(lines) + " lines of " +
                         std::to_string(m.lineHeight) + " px, the control is " + std::to_string(height) + " px high"});
    return;
  }
  size_t lineEnd = text.find(u'\r');
  int w = m.textWidth(text.substr(0, lineEnd));
  if (w > room)
    out.push_back({"fit", c.id,
                   "text \"" + Narrow(c.text) + "\" is " + std::to_string(w) + " px wide, the control leaves " +
                       std::to_string(room)});
  else if (w >= 0 && c.kind != Kind::GroupBox && m.lineHeight > height)
    out.push_back({"fit", c.id,
                   "text \"" + Narrow(c.text) + "\" is " + std::to_string(m.lineHeight) + " px high, the control " +
                       std::to_string(height)});
}

}  // namespace

Kind KindOf(uint16_t classOrdinal, const std::u16string& className, uint32_t style) {
  const uint32_t button = style & kButtonType;
  switch (classOrdinal) {
    case 0x0080:
      if (button == 0x7) return Kind::GroupBox;
      if (button == 0x4 || button == 0x9) return Kind::Radio;
      if (button == 0x2 || button == 0x3 || button == 0x5 || button == 0x6) return Kind::Check;
      return Kind::Push;
    case 0x0081: return Kind::Edit;
    case 0x0082: {
      uint32_t type = style & kStaticType;
      return type <= 0x2 || type == kStaticSimple || type == kStaticNoWrap ? Kind::Text : Kind::Picture;
    }
    case 0x0083: return Kind::List;
    case 0x0085: return Kind::Combo;
    case 0: break;
    default: return Kind::Other;
  }
  const std::u16string name = Lower(className);
  if (name == u"button") return KindOf(0x0080, u"", style);
  if (name == u"edit" || name.rfind(u"richedit", 0) == 0) return Kind::Edit;
  if (name == u"static") return KindOf(0x0082, u"", style);
  if (name == u"combobox") return Kind::Combo;
  if (name == u"listbox" || name == u"syslistview32" || name == u"systreeview32") return Kind::List;
  if (name == u"msctls_trackbar32") return Kind::Trackbar;
  if (name == u"syslink") return Kind::Link;
  return Kind::Other;
}

std::vector<Finding> CheckPage(const Page& page, const Metrics* metrics) {
  std::vector<Finding> out;
  const auto& cs = page.controls;
  for (size_t i = 0; i < cs.size(); ++i) {
    const Control& c = cs[i];
    const bool radio = c.kind == Kind::Radio;
    const bool prevRadio = i > 0 && cs[i - 1].kind == Kind::Radio;
    // Tab stops. A radio group is reached once, so one of its buttons is enough.
    if (Interactive(c.kind) && !radio && !(c.style & kDisabled) && !(c.style & kTabStop))
      out.push_back({"tabstop", c.id, "enabled control is no tab stop"});
    if (radio && (i == 0 || !prevRadio || (c.style & kGroup))) {
      bool reached = false;
      for (size_t j = i; j < cs.size() && cs[j].kind == Kind::Radio && (j == i || !(cs[j].style & kGroup)); ++j)
        reached = reached || (cs[j].style & kTabStop);
      if (!reached) out.push_back({"tabstop", c.id, "no button of the radio group is a tab stop"});
    }
    // Groups: the arrow keys move inside a group, so a radio group starts one
    // and whatever follows it starts the next.
    if (radio && !prevRadio && !(c.style & kGroup))
      out.push_back({"group", c.id, "radio group does not start with WS_GROUP"});
    if (!radio && prevRadio && !(c.style & kGroup))
      out.push_back({"group", c.id, "control after a radio group does not start a group"});
    // The static text before a field in template order is its name for a screen reader.
    if (NeedsLabel(c.kind) && !c.namedElsewhere) {
      const Control* prev = i > 0 ? &cs[i - 1] : nullptr;
      if (!prev || prev->kind != Kind::Text || prev->text.empty())
        out.push_back({"label", c.id, "no static text names the control just before it"});
    }
    const int height = c.kind == Kind::Combo ? std::min(c.cy, kClosedComboHeight) : c.cy;
    if (c.x < 0 || c.y < 0 || c.x + c.cx > page.cx || c.y + height > page.cy)
      out.push_back({"bounds", c.id,
                     "control " + std::to_string(c.x) + "," + std::to_string(c.y) + " " + std::to_string(c.cx) + "x" +
                         std::to_string(height) + " leaves the page of " + std::to_string(page.cx) + "x" +
                         std::to_string(page.cy)});
    if (metrics) CheckFit(c, *metrics, out);
  }
  return out;
}

std::vector<uint32_t> TabOrder(const Page& page) {
  std::vector<uint32_t> order;
  const auto& cs = page.controls;
  for (size_t i = 0; i < cs.size(); ++i) {
    const Control& c = cs[i];
    if (c.kind == Kind::Radio && i > 0 && cs[i - 1].kind == Kind::Radio && !(c.style & kGroup)) continue;
    if (c.kind == Kind::Radio || (c.style & kTabStop)) order.push_back(c.id);
  }
  return order;
}

Page Lengthened(const Page& page, int percent) {
  Page longer = page;
  for (Control& c : longer.controls) {
    const std::u16string original = c.text;
    const size_t extra = (original.size() * static_cast<size_t>(percent) + 99) / 100;
    for (size_t i = 0; i < extra; ++i) c.text += original[i % original.size()];
  }
  return longer;
}

std::string Describe(const std::vector<Finding>& findings) {
  std::string s;
  for (const Finding& f : findings) s += f.rule + " " + std::to_string(f.id) + ": " + f.what + "\n";
  return s;
}

}  // namespace dlgcheck
