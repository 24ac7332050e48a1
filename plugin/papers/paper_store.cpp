#include "plugin/papers/paper_store.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <utility>

#include "common/text.h"

namespace lx {

namespace {

struct BuiltIn {
  int32_t number;
  const char16_t* name;
  float width, height;
};

constexpr BuiltIn kBuiltIns[] = {
    {256, u"custom", 101.6f, 152.4f}, {119, u"2_x_4", 50.8f, 101.6f},
    {120, u"4_x_4", 101.6f, 101.6f},  {121, u"4_x_6", 101.6f, 152.4f},
    {122, u"3_x_4", 76.2f, 101.6f},   {139, u"40_x_30", 40.0f, 30.0f},
    {140, u"50_x_30", 50.0f, 30.0f},  {141, u"60_x_40", 60.0f, 40.0f},
    {142, u"75_x_60", 75.0f, 60.0f},  {143, u"80_x_60", 80.0f, 60.0f},
    {144, u"80_x_50", 80.0f, 50.0f},
};

// wcsncmp over the fixed name field: stops at the first NUL or difference.
int CompareNames(const PaperRecord& a, const PaperRecord& b) {
  for (size_t i = 0; i < kPaperNameChars; ++i) {
    if (a.name[i] != b.name[i]) return a.name[i] < b.name[i] ? -1 : 1;
    if (a.name[i] == 0) return 0;
  }
  return 0;
}

bool Before(const PaperRecord& a, const PaperRecord& b) {
  bool aUser = a.number == kUserPaperNumber, bUser = b.number == kUserPaperNumber;
  if (aUser != bUser) return aUser;
  if (aUser) return false;
  return CompareNames(a, b) < 0;
}

bool InStore(const PaperStore& store, int index) {
  return index >= 0 && index < store.count();
}

std::u16string_view NameOf(const PaperRecord& r) {
  return std::u16string_view(r.name, StrLen16(r.name, kPaperNameChars));
}

bool WithinTolerance(int64_t value, int64_t wanted, int64_t tolerance) {
  return std::llabs(value - wanted) <= tolerance;
}

// The first position among the records whose converted size lies within the
// tolerances. The index holds each distinct size's earliest position first,
// and a tolerance spans at most 65 tenths either way (sizes are 16-bit), so
// only a few distinct sizes are visited however many records share them.
int FirstBySizeIndexed(const PaperStore& store, int32_t widthTenths, int32_t lengthTenths) {
  const PaperIndex& x = store.index;
  const int64_t wTol = widthTenths / 1000, lTol = lengthTenths / 1000;
  if (wTol < 0 || lTol < 0) return -1;
  auto w = [&x](int pos) { return static_cast<int64_t>(x.tenths[2 * pos]); };
  auto h = [&x](int pos) { return static_cast<int64_t>(x.tenths[2 * pos + 1]); };
  const int64_t wLow = int64_t{widthTenths} - wTol, wHigh = int64_t{widthTenths} + wTol;
  const int64_t hLow = int64_t{lengthTenths} - lTol, hHigh = int64_t{lengthTenths} + lTol;
  int best = -1;
  auto it = std::lower_bound(x.bySize.begin(), x.bySize.end(), wLow,
                             [&](int pos, int64_t v) { return w(pos) < v; });
  while (it != x.bySize.end() && w(*it) <= wHigh) {
    const int64_t width = w(*it);
    auto groupEnd = std::upper_bound(it, x.bySize.end(), width, [&](int64_t v, int pos) { return v < w(pos); });
    auto s = std::lower_bound(it, groupEnd, hLow, [&](int pos, int64_t v) { return h(pos) < v; });
    while (s != groupEnd && h(*s) <= hHigh) {
      if (best < 0 || *s < best) best = *s;
      const int64_t length = h(*s);
      s = std::upper_bound(s, groupEnd, length, [&](int64_t v, int pos) { return v < h(pos); });
    }
    it = groupEnd;
  }
  return best;
}

}  // namespace

uint64_t NewPaperStoreSerial() {
  static std::atomic<uint64_t> last{0};
  return ++last;
}

std::vector<PaperRecord> BuiltInPapers() {
  std::vector<PaperRecord> list;
  for (const BuiltIn& b : kBuiltIns) list.push_back(MakePaperRecord(b.number, b.name, b.width, b.height, true));
  return list;
}

void IndexPapers(PaperStore& store) {
  const std::vector<PaperRecord>& r = store.records;
  PaperIndex& x = store.index;
  const int n = store.count();
  x.numbers.resize(n);
  x.tenths.resize(2 * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    x.numbers[i] = static_cast<int16_t>(r[i].number);
    x.tenths[2 * i] = MmToTenths(r[i].width);
    x.tenths[2 * i + 1] = MmToTenths(r[i].height);
  }
  std::vector<int> all(n);
  for (int i = 0; i < n; ++i) all[i] = i;
  x.byNumber = all;
  std::sort(x.byNumber.begin(), x.byNumber.end(), [&r](int a, int b) {
    return r[a].number != r[b].number ? r[a].number < r[b].number : a < b;
  });
  x.byName = all;
  std::sort(x.byName.begin(), x.byName.end(), [&r](int a, int b) {
    int c = NameOf(r[a]).compare(NameOf(r[b]));
    return c != 0 ? c < 0 : a < b;
  });
  x.bySize = std::move(all);
  std::sort(x.bySize.begin(), x.bySize.end(), [&x](int a, int b) {
    if (x.tenths[2 * a] != x.tenths[2 * b]) return x.tenths[2 * a] < x.tenths[2 * b];
    if (x.tenths[2 * a + 1] != x.tenths[2 * b + 1]) return x.tenths[2 * a + 1] < x.tenths[2 * b + 1];
    return a < b;
  });
  x.builtFor = r.size();
}

void SortPapers(PaperStore& store) {
  std::stable_sort(store.records.begin(), store.records.end(), Before);
  IndexPapers(store);
}

std::optional<FoundPaper> FindPaperByNumber(const PaperStore& store, int32_t number) {
  if (store.indexed()) {
    const std::vector<int>& by = store.index.byNumber;
    // The last position holding the number: the first hit from the end.
    auto end = std::upper_bound(by.begin(), by.end(), number,
                                [&store](int32_t v, int pos) { return v < store.records[pos].number; });
    if (end == by.begin() || store.records[*(end - 1)].number != number) return std::nullopt;
    return FoundPaper{store.records[*(end - 1)], *(end - 1)};
  }
  for (int i = store.count() - 1; i >= 0; --i)
    if (store.records[i].number == number) return FoundPaper{store.records[i], i};
  return std::nullopt;
}

namespace {

// Positions of the records named `name`, earliest first; empty when none.
std::pair<std::vector<int>::const_iterator, std::vector<int>::const_iterator> NamedIndexed(
    const PaperStore& store, std::u16string_view name) {
  const std::vector<int>& by = store.index.byName;
  auto first = std::lower_bound(by.begin(), by.end(), name,
                                [&store](int pos, std::u16string_view v) { return NameOf(store.records[pos]) < v; });
  auto last = first;
  while (last != by.end() && NameOf(store.records[*last]) == name) ++last;
  return {first, last};
}

}  // namespace

std::optional<FoundPaper> FindPaperByName(const PaperStore& store, const std::u16string& name) {
  if (store.indexed()) {
    auto [first, last] = NamedIndexed(store, name);
    if (first == last) return std::nullopt;
    return FoundPaper{store.records[*first], *first};
  }
  for (int i = 0; i < store.count(); ++i)
    if (NameOf(store.records[i]) == name) return FoundPaper{store.records[i], i};
  return std::nullopt;
}

std::optional<FoundPaper> FindPaperBySize(const PaperStore& store, int32_t widthTenths,
                                          int32_t lengthTenths) {
  if (store.indexed()) {
    int pos = FirstBySizeIndexed(store, widthTenths, lengthTenths);
    if (pos < 0) return std::nullopt;
    return FoundPaper{store.records[pos], pos};
  }
  const int32_t widthTolerance = widthTenths / 1000, lengthTolerance = lengthTenths / 1000;
  for (int i = 0; i < store.count(); ++i) {
    const PaperRecord& r = store.records[i];
    if (WithinTolerance(MmToTenths(r.width), widthTenths, widthTolerance) &&
        WithinTolerance(MmToTenths(r.height), lengthTenths, lengthTolerance))
      return FoundPaper{r, i};
  }
  return std::nullopt;
}

bool IsPaperNameFree(const PaperStore& store, const std::u16string& name,
                     std::optional<int32_t> number, int* indexOfNumber) {
  bool free = true;
  int own = -1;
  if (store.indexed()) {
    auto [first, last] = NamedIndexed(store, name);
    for (auto it = first; it != last; ++it)
      if (!number || store.records[*it].number != *number) free = false;
    if (number)
      if (auto found = FindPaperByNumber(store, *number)) own = found->index;
  } else {
    for (int i = 0; i < store.count(); ++i) {
      const PaperRecord& r = store.records[i];
      if (number && r.number == *number) {
        own = i;
        continue;
      }
      if (NameOf(r) == name) free = false;
    }
  }
  if (indexOfNumber) *indexOfNumber = own;
  return free;
}

bool AddPaper(PaperStore& store, const PaperRecord& record) {
  if (store.records.size() >= kPaperStoreCapacity) return false;
  if (FindPaperByNumber(store, record.number)) return false;
  if (FindPaperByName(store, PaperName(record))) return false;
  PaperRecord added = record;
  SetPaperName(added, PaperName(record));  // a name field without its NUL is bounded here
  store.records.push_back(added);
  SortPapers(store);
  store.dirty = true;
  return true;
}

bool RemovePaperAt(PaperStore& store, int index) {
  if (!InStore(store, index)) return false;
  store.records.erase(store.records.begin() + index);
  IndexPapers(store);
  store.dirty = true;
  return true;
}

bool ReplacePaper(PaperStore& store, int index, const PaperRecord& record) {
  if (!InStore(store, index)) return false;
  PaperRecord& old = store.records[index];
  PaperRecord replaced = record;
  replaced.number = old.number;
  replaced.builtIn = old.builtIn;
  SetPaperName(replaced, PaperName(record));
  old = replaced;
  IndexPapers(store);
  store.dirty = true;
  return true;
}

int32_t NextPaperNumber(const PaperStore& store) {
  bool taken[kLastUserPaperNumber - kFirstUserPaperNumber + 1] = {};
  for (const PaperRecord& r : store.records)
    if (r.number >= kFirstUserPaperNumber && r.number <= kLastUserPaperNumber) taken[r.number - kFirstUserPaperNumber] = true;
  for (int32_t n = kFirstUserPaperNumber; n <= kLastUserPaperNumber; ++n)
    if (!taken[n - kFirstUserPaperNumber]) return n;
  return 0;
}

}  // namespace lx
