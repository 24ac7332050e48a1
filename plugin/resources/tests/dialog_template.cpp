#include "plugin/resources/tests/dialog_template.h"

#include <cstring>

namespace lxres {
namespace {

// Bounded little-endian reader; any read past the end marks the reader failed.
class Reader {
 public:
  explicit Reader(const std::vector<BYTE>& data) : data_(data) {}
  bool ok() const { return ok_; }

  template <typename T>
  T Get() {
    T value{};
    if (!ok_ || data_.size() - pos_ < sizeof(T)) {
      ok_ = false;
      return value;
    }
    std::memcpy(&value, data_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }

  std::wstring String() {
    std::wstring s;
    for (WCHAR c = Get<WCHAR>(); ok_ && c != 0; c = Get<WCHAR>()) s.push_back(c);
    return s;
  }

  NameOrOrdinal NameOrOrd() {
    NameOrOrdinal v;
    WORD first = Get<WORD>();
    if (!ok_ || first == 0) return v;
    if (first == 0xFFFF) {
      v.ordinal = Get<WORD>();
      return v;
    }
    v.text.push_back(static_cast<WCHAR>(first));
    v.text += String();
    return v;
  }

  void AlignDword() {
    size_t aligned = (pos_ + 3) & ~size_t{3};
    if (aligned > data_.size()) {
      ok_ = false;
      return;
    }
    pos_ = aligned;
  }

  void Skip(size_t n) {
    if (!ok_ || data_.size() - pos_ < n) {
      ok_ = false;
      return;
    }
    pos_ += n;
  }

 private:
  const std::vector<BYTE>& data_;
  size_t pos_ = 0;
  bool ok_ = true;
};

}  // namespace

bool ParseDialogTemplateEx(const std::vector<BYTE>& data, DialogTemplate& out) {
  Reader r(data);
  WORD version = r.Get<WORD>();
  WORD signature = r.Get<WORD>();
  if (!r.ok() || version != 1 || signature != 0xFFFF) return false;
  out.helpId = r.Get<DWORD>();
  out.exStyle = r.Get<DWORD>();
  out.style = r.Get<DWORD>();
  WORD count = r.Get<WORD>();
  out.x = r.Get<short>();
  out.y = r.Get<short>();
  out.cx = r.Get<short>();
  out.cy = r.Get<short>();
  out.menu = r.NameOrOrd();
  out.windowClass = r.NameOrOrd();
  out.title = r.String();
  out.hasFont = (out.style & (DS_SETFONT | DS_SHELLFONT)) != 0;
  if (out.hasFont) {
    out.pointSize = r.Get<WORD>();
    out.weight = r.Get<WORD>();
    out.italic = r.Get<BYTE>();
    out.charset = r.Get<BYTE>();
    out.typeface = r.String();
  }
  out.items.clear();
  for (WORD i = 0; i < count && r.ok(); ++i) {
    r.AlignDword();
    DialogItem item;
    item.helpId = r.Get<DWORD>();
    item.exStyle = r.Get<DWORD>();
    item.style = r.Get<DWORD>();
    item.x = r.Get<short>();
    item.y = r.Get<short>();
    item.cx = r.Get<short>();
    item.cy = r.Get<short>();
    item.id = r.Get<DWORD>();
    item.windowClass = r.NameOrOrd();
    item.title = r.NameOrOrd();
    WORD extra = r.Get<WORD>();
    r.Skip(extra);
    if (r.ok()) out.items.push_back(item);
  }
  return r.ok();
}

}  // namespace lxres
