#include "plugin/papers/paper_store.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

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

}  // namespace

std::vector<PaperRecord> BuiltInPapers() {
  std::vector<PaperRecord> list;
  for (const BuiltIn& b : kBuiltIns) list.push_back(MakePaperRecord(b.number, b.name, b.width, b.height, true));
  return list;
}

void SortPapers(PaperStore& store) {
  std::stable_sort(store.records.begin(), store.records.end(), Before);
}

std::optional<FoundPaper> FindPaperByNumber(const PaperStore& store, int32_t number) {
  for (int i = store.count() - 1; i >= 0; --i)
    if (store.records[i].number == number) return FoundPaper{store.records[i], i};
  return std::nullopt;
}

std::optional<FoundPaper> FindPaperByName(const PaperStore& store, const std::u16string& name) {
  for (int i = 0; i < store.count(); ++i)
    if (PaperName(store.records[i]) == name) return FoundPaper{store.records[i], i};
  return std::nullopt;
}

std::optional<FoundPaper> FindPaperBySize(const PaperStore& store, int32_t widthTenths,
                                          int32_t lengthTenths) {
  const int32_t widthTolerance = widthTenths / 1000, lengthTolerance = lengthTenths / 1000;
  for (int i = 0; i < store.count(); ++i) {
    const PaperRecord& r = store.records[i];
    int64_t w = MmToTenths(r.width), h = MmToTenths(r.height);
    if (std::llabs(w - widthTenths) <= widthTolerance && std::llabs(h - lengthTenths) <= lengthTolerance)
      return FoundPaper{r, i};
  }
  return std::nullopt;
}

bool IsPaperNameFree(const PaperStore& store, const std::u16string& name,
                     std::optional<int32_t> number, int* indexOfNumber) {
  bool free = true;
  int own = -1;
  for (int i = 0; i < store.count(); ++i) {
    const PaperRecord& r = store.records[i];
    if (number && r.number == *number) {
      own = i;
      continue;
    }
    if (PaperName(r) == name) free = false;
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
  store.dirty = true;
  return true;
}

int32_t NextPaperNumber(const PaperStore& store) {
  int32_t candidate = 128;
  for (const PaperRecord& r : store.records)
    if (r.number >= candidate && r.number != kUserPaperNumber) candidate = r.number < INT32_MAX ? r.number + 1 : r.number;
  return candidate;
}

}  // namespace lx
