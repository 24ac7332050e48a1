// The per-printer list of label sizes and what can be done to it in memory:
// the built-in sizes, the sort order, lookups, numbering and naming.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plugin/papers/paper_record.h"

namespace lx {

inline constexpr size_t kPaperStoreCapacity = 2049;
inline constexpr size_t kPrinterNameChars = 128;  // 127 characters and the NUL

// The lookups' index: sorted record positions, so that a lookup costs a
// binary search whatever the store's size, and the capability answers
// (numbers, sizes in tenths) laid out as they are handed over. It is valid
// only for the records it was built from; a stale one is never read.
struct PaperIndex {
  size_t builtFor = SIZE_MAX;       // records.size() when built
  std::vector<int> byNumber;        // by number, then position
  std::vector<int> byName;          // by name, then position
  std::vector<int> bySize;          // by width, length in tenths, then position
  std::vector<int16_t> numbers;     // store order, as DC_PAPERS hands them over
  std::vector<int32_t> tenths;      // store order, width and length pairs
};

// A number no other store of the process had; never 0.
uint64_t NewPaperStoreSerial();

struct PaperStore {
  std::u16string printerName;  // fixed when the store is created
  // In store order, never above the capacity. Code that changes them other
  // than through the functions below calls IndexPapers afterwards; until
  // then lookups that notice a changed count fall back to walking the list.
  std::vector<PaperRecord> records;
  bool dirty = false;
  // Names in the stored form when it was last loaded or saved here: a record
  // found stored later under another name was added by another process and
  // is kept by the next save of the shared file.
  mutable std::vector<std::u16string> storedNames;
  PaperIndex index;
  uint64_t serial = NewPaperStoreSerial();  // a reused address is another store

  int32_t count() const { return static_cast<int32_t>(records.size()); }
  bool indexed() const { return index.builtFor == records.size(); }
};

// Rebuilds the index from the records as they are now.
void IndexPapers(PaperStore& store);

// The eleven sizes every printer starts with, in creation order ("custom"
// first), each flagged built-in.
std::vector<PaperRecord> BuiltInPapers();

// Number 256 first, then by name in UTF-16 code-unit order (at most 32
// characters compared). Stable, so that damaged data with equal keys keeps
// its stored order. Indexes the result.
void SortPapers(PaperStore& store);

struct FoundPaper {
  PaperRecord record;
  int index = -1;
};

// Searched from the last record to the first.
std::optional<FoundPaper> FindPaperByNumber(const PaperStore& store, int32_t number);
// The first record whose name is equal code unit by code unit.
std::optional<FoundPaper> FindPaperByName(const PaperStore& store, const std::u16string& name);
// The first record within width/1000 and length/1000 (whole-number division)
// of the given tenths of a millimetre.
std::optional<FoundPaper> FindPaperBySize(const PaperStore& store, int32_t widthTenths,
                                          int32_t lengthTenths);

// False when a record other than the one numbered `number` has this name.
// `indexOfNumber` receives the index of the record with `number`, -1 when
// none (or when no number is given).
bool IsPaperNameFree(const PaperStore& store, const std::u16string& name,
                     std::optional<int32_t> number = std::nullopt, int* indexOfNumber = nullptr);

// Refused (store unchanged) when the number or the name is taken or the
// store is full; else appended, sorted, dirty.
bool AddPaper(PaperStore& store, const PaperRecord& record);
// False for an index outside the store.
bool RemovePaperAt(PaperStore& store, int index);
// Overwrites the record but keeps its number and built-in flag; no re-sort.
bool ReplacePaper(PaperStore& store, int index, const PaperRecord& record);

// Users' sizes are numbered from 145 (above the built-in sizes) to 255.
inline constexpr int32_t kFirstUserPaperNumber = 145;
inline constexpr int32_t kLastUserPaperNumber = 255;
// The lowest number of that range no record has, so that the numbers of
// deleted sizes are used again; 0 when every one is taken.
int32_t NextPaperNumber(const PaperStore& store);

}  // namespace lx
