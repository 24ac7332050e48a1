// The store in memory: built-in list, order, lookups, naming and numbering,
// and the millimetre conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "plugin/papers/paper_store.h"

namespace lx {
namespace {

PaperStore BuiltInStore() {
  PaperStore store;
  store.records = BuiltInPapers();
  return store;
}

std::vector<std::u16string> NamesOf(const PaperStore& store) {
  std::vector<std::u16string> names;
  for (const PaperRecord& r : store.records) names.push_back(PaperName(r));
  return names;
}

TEST(PaperStoreTest, BuiltInListInCreationOrderAndSortedOrder) {
  PaperStore store = BuiltInStore();
  EXPECT_EQ(NamesOf(store), (std::vector<std::u16string>{u"custom", u"2_x_4", u"4_x_4", u"4_x_6", u"3_x_4",
                                                         u"40_x_30", u"50_x_30", u"60_x_40", u"75_x_60",
                                                         u"80_x_60", u"80_x_50"}));
  const int32_t numbers[] = {256, 119, 120, 121, 122, 139, 140, 141, 142, 143, 144};
  for (size_t i = 0; i < store.records.size(); ++i) {
    EXPECT_EQ(store.records[i].number, numbers[i]);
    EXPECT_EQ(store.records[i].numberCopy, numbers[i]);
    EXPECT_EQ(store.records[i].builtIn, 1);
  }
  EXPECT_FLOAT_EQ(store.records[4].width, 76.2f);
  EXPECT_FLOAT_EQ(store.records[4].height, 101.6f);

  SortPapers(store);
  EXPECT_EQ(NamesOf(store), (std::vector<std::u16string>{u"custom", u"2_x_4", u"3_x_4", u"40_x_30", u"4_x_4",
                                                         u"4_x_6", u"50_x_30", u"60_x_40", u"75_x_60",
                                                         u"80_x_50", u"80_x_60"}));
}

TEST(PaperStoreTest, SortComparesCodeUnitsAndKeepsTheUserSizeFirst) {
  PaperStore store;
  store.records = {MakePaperRecord(150, u"b", 1, 1, false), MakePaperRecord(151, u"B", 1, 1, false),
                   MakePaperRecord(256, u"zzz", 1, 1, true), MakePaperRecord(152, u"\u00e9", 1, 1, false),
                   MakePaperRecord(153, u"a", 1, 1, false)};
  SortPapers(store);
  EXPECT_EQ(NamesOf(store), (std::vector<std::u16string>{u"zzz", u"B", u"a", u"b", u"\u00e9"}));

  // Damaged data can hold one name many times: those keep their stored
  // order, so the first of them stays the one found by name.
  store.records.clear();
  for (int32_t i = 0; i < 60; ++i)
    store.records.push_back(MakePaperRecord(400 - i, i % 3 == 0 ? u"a" : u"dup", 1, 1, false));
  SortPapers(store);
  std::vector<int32_t> numbers;
  for (const PaperRecord& r : store.records) numbers.push_back(r.number);
  std::vector<int32_t> expected;
  for (int32_t i = 0; i < 60; i += 3) expected.push_back(400 - i);
  for (int32_t i = 0; i < 60; ++i)
    if (i % 3 != 0) expected.push_back(400 - i);
  EXPECT_EQ(numbers, expected);
}

TEST(PaperStoreTest, MillimetresToTenthsRoundTwiceHalfAwayFromZero) {
  EXPECT_EQ(MmToTenths(56.049f), 561);  // 56.05, then 560.5, then 561
  EXPECT_EQ(MmToTenths(56.04f), 560);
  EXPECT_EQ(MmToTenths(12.345f), 124);
  EXPECT_EQ(MmToTenths(12.344f), 123);
  EXPECT_EQ(MmToTenths(76.2f), 762);
  EXPECT_EQ(MmToTenths(152.4f), 1524);
  EXPECT_EQ(MmToTenths(-12.345f), -124);
  EXPECT_EQ(MmToTenths(0.004), 0);
  EXPECT_EQ(MmToTenths(-0.004), 0);
  // Stored data is outside input: no crash, a defined value.
  EXPECT_EQ(MmToTenths(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(MmToTenths(4000.0), static_cast<int16_t>(40000));  // the 16-bit field wraps
  MmToTenths(std::numeric_limits<float>::infinity());
  MmToTenths(1e30f);
}

TEST(PaperStoreTest, NamesAreBoundedToTheirField) {
  PaperRecord r = MakePaperRecord(150, u"0123456789012345678901234567890123456789", 1, 1, false);
  EXPECT_EQ(PaperName(r), u"0123456789012345678901234567890");
  EXPECT_EQ(r.name[31], 0);
  for (auto& c : r.name) c = u'x';  // no terminator at all
  EXPECT_EQ(PaperName(r).size(), 32u);
}

TEST(PaperStoreTest, LookupsByNumberNameAndSize) {
  PaperStore store = BuiltInStore();
  auto byNumber = FindPaperByNumber(store, 122);
  ASSERT_TRUE(byNumber);
  EXPECT_EQ(PaperName(byNumber->record), u"3_x_4");
  EXPECT_EQ(byNumber->index, 4);
  EXPECT_FALSE(FindPaperByNumber(store, 123));
  // Damaged data with a number twice: the search runs from the end.
  store.records.push_back(MakePaperRecord(122, u"late", 1, 1, false));
  EXPECT_EQ(FindPaperByNumber(store, 122)->index, 11);
  store.records.pop_back();

  EXPECT_EQ(FindPaperByName(store, u"40_x_30")->index, 5);
  EXPECT_FALSE(FindPaperByName(store, u"40_X_30"));
  EXPECT_FALSE(FindPaperByName(store, u"40_x_30 "));

  // "custom" and "4_x_6" share a size; the first one wins.
  EXPECT_EQ(PaperName(FindPaperBySize(store, 1016, 1524)->record), u"custom");
  EXPECT_EQ(PaperName(FindPaperBySize(store, 1015, 1523)->record), u"custom");
  EXPECT_FALSE(FindPaperBySize(store, 1014, 1524));
  EXPECT_EQ(PaperName(FindPaperBySize(store, 400, 300)->record), u"40_x_30");
  EXPECT_FALSE(FindPaperBySize(store, 401, 300));  // below a metre: exact only
  EXPECT_FALSE(FindPaperBySize(store, std::numeric_limits<int32_t>::min(), 300));
}

// The index must answer exactly as walking the list does: the same first
// match by number from the end, by name and by size from the start.
TEST(PaperStoreTest, IndexedLookupsKeepTheFirstMatchRules) {
  PaperStore store = BuiltInStore();
  IndexPapers(store);
  ASSERT_TRUE(store.indexed());
  EXPECT_EQ(PaperName(FindPaperBySize(store, 1016, 1524)->record), u"custom");
  EXPECT_EQ(PaperName(FindPaperBySize(store, 1015, 1523)->record), u"custom");
  EXPECT_FALSE(FindPaperBySize(store, 1014, 1524));
  store.records.push_back(MakePaperRecord(122, u"late", 1, 1, false));
  IndexPapers(store);
  EXPECT_EQ(FindPaperByNumber(store, 122)->index, 11);

  // Damaged data: numbers, names and sizes repeated, out of order, sizes
  // around a metre where the tolerance starts to count, names cut at 32.
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t range) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % range;
  };
  for (int i = 0; i < 600; ++i) {
    std::u16string name = u"p";
    for (char c : std::to_string(next(300))) name.push_back(static_cast<char16_t>(c));
    if (next(10) == 0) name = u"0123456789012345678901234567890123456789";
    float width = next(4) == 0 ? 101.6f : 99.0f + static_cast<float>(next(40)) / 10.0f;
    float height = next(3) == 0 ? 152.4f : 30.0f + static_cast<float>(next(20)) / 10.0f;
    store.records.push_back(MakePaperRecord(static_cast<int32_t>(100 + next(400)), name, width, height, false));
  }
  // Only the last record has this name, number and size: both ends are walked.
  store.records.push_back(MakePaperRecord(509, u"the last alone", 12.3f, 45.6f, false));
  IndexPapers(store);
  PaperStore walked = store;
  walked.index = PaperIndex{};
  ASSERT_TRUE(store.indexed());
  ASSERT_FALSE(walked.indexed());

  auto same = [](const std::optional<FoundPaper>& a, const std::optional<FoundPaper>& b) {
    return a.has_value() == b.has_value() && (!a || a->index == b->index);
  };
  for (int32_t number = 90; number < 510; ++number)
    EXPECT_TRUE(same(FindPaperByNumber(store, number), FindPaperByNumber(walked, number))) << number;
  for (int i = 0; i < 320; ++i) {
    std::u16string name = u"p";
    for (char c : std::to_string(i)) name.push_back(static_cast<char16_t>(c));
    EXPECT_TRUE(same(FindPaperByName(store, name), FindPaperByName(walked, name))) << i;
    int own = 0, ownWalked = 0;
    int32_t number = static_cast<int32_t>(100 + next(400));
    EXPECT_EQ(IsPaperNameFree(store, name, number, &own), IsPaperNameFree(walked, name, number, &ownWalked));
    EXPECT_EQ(own, ownWalked);
    EXPECT_EQ(IsPaperNameFree(store, name), IsPaperNameFree(walked, name));
  }
  for (const std::u16string name : {u"0123456789012345678901234567890", u"0123456789012345678901234567890123456789",
                                    u"custom", u"", u"p1 ", u"the last alone"})
    EXPECT_TRUE(same(FindPaperByName(store, name), FindPaperByName(walked, name)));
  ASSERT_TRUE(FindPaperByName(walked, u"the last alone"));
  EXPECT_EQ(FindPaperByName(walked, u"the last alone")->index, walked.count() - 1);
  EXPECT_EQ(FindPaperBySize(walked, 123, 456)->index, walked.count() - 1);
  EXPECT_EQ(FindPaperByNumber(walked, 509)->index, walked.count() - 1);
  for (int32_t w = 980; w <= 1040; ++w)
    for (int32_t h : {299, 300, 301, 310, 1523, 1524, 1525, -1524})
      EXPECT_TRUE(same(FindPaperBySize(store, w, h), FindPaperBySize(walked, w, h))) << w << "x" << h;
  for (int32_t w : {0, -1, 32767, 32800, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()})
    EXPECT_TRUE(same(FindPaperBySize(store, w, 300), FindPaperBySize(walked, w, 300))) << w;

  // Changes made through the store's functions keep the index in step.
  ASSERT_TRUE(ReplacePaper(store, 5, MakePaperRecord(1, u"renamed", 50, 50, false)));
  EXPECT_EQ(FindPaperByName(store, u"renamed")->index, 5);
  EXPECT_EQ(FindPaperBySize(store, 500, 500)->index, 5);
  ASSERT_TRUE(RemovePaperAt(store, 5));
  EXPECT_FALSE(FindPaperByName(store, u"renamed"));
  EXPECT_FALSE(FindPaperBySize(store, 500, 500));
}

TEST(PaperStoreTest, NameFreeExceptForTheRecordItself) {
  PaperStore store = BuiltInStore();
  int index = 7;
  EXPECT_FALSE(IsPaperNameFree(store, u"4_x_6", std::nullopt, &index));
  EXPECT_EQ(index, -1);
  EXPECT_TRUE(IsPaperNameFree(store, u"4_x_6", 121, &index));  // editing 4_x_6 itself
  EXPECT_EQ(index, 3);
  EXPECT_FALSE(IsPaperNameFree(store, u"4_x_6", 122, &index));
  EXPECT_EQ(index, 4);
  EXPECT_TRUE(IsPaperNameFree(store, u"new", 999, &index));
  EXPECT_EQ(index, -1);
}

TEST(PaperStoreTest, AddRefusesTakenNamesAndNumbersAndSorts) {
  PaperStore store = BuiltInStore();
  EXPECT_FALSE(AddPaper(store, MakePaperRecord(145, u"4_x_6", 10, 10, false)));
  EXPECT_FALSE(AddPaper(store, MakePaperRecord(121, u"other", 10, 10, false)));
  EXPECT_FALSE(store.dirty);
  EXPECT_EQ(store.count(), 11);

  EXPECT_TRUE(AddPaper(store, MakePaperRecord(145, u"4_x_6 ", 10, 10, false)));
  EXPECT_TRUE(store.dirty);
  EXPECT_EQ(store.count(), 12);
  EXPECT_EQ(FindPaperByName(store, u"4_x_6 ")->index, 6);  // sorted right after "4_x_6"
  EXPECT_EQ(PaperName(store.records[0]), u"custom");
}

TEST(PaperStoreTest, RemoveAndReplaceStayInsideTheStore) {
  PaperStore store = BuiltInStore();
  EXPECT_FALSE(RemovePaperAt(store, 11));
  EXPECT_FALSE(RemovePaperAt(store, -1));
  EXPECT_FALSE(ReplacePaper(store, 11, MakePaperRecord(1, u"x", 1, 1, false)));
  EXPECT_FALSE(store.dirty);

  EXPECT_TRUE(RemovePaperAt(store, 0));
  EXPECT_EQ(PaperName(store.records[0]), u"2_x_4");
  EXPECT_EQ(store.count(), 10);
  EXPECT_TRUE(store.dirty);

  store.dirty = false;
  EXPECT_TRUE(ReplacePaper(store, 0, MakePaperRecord(199, u"zz", 20.5f, 10, false)));
  EXPECT_TRUE(store.dirty);
  EXPECT_EQ(store.records[0].number, 119);  // number and flag of the old record
  EXPECT_EQ(store.records[0].builtIn, 1);
  EXPECT_EQ(PaperName(store.records[0]), u"zz");  // no re-sort
  EXPECT_FLOAT_EQ(store.records[0].width, 20.5f);

  while (store.count() > 0) RemovePaperAt(store, store.count() - 1);
  EXPECT_EQ(store.count(), 0);
}

// The lowest free number from 145 to 255: a deleted size's number is used
// again, numbers outside the range change nothing, and 0 says none is left.
TEST(PaperStoreTest, NumberingTakesTheLowestFreeNumberAndSaysWhenNoneIsLeft) {
  PaperStore store = BuiltInStore();
  EXPECT_EQ(NextPaperNumber(store), 145);
  ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), u"a", 1, 1, false)));
  EXPECT_EQ(NextPaperNumber(store), 146);
  ASSERT_TRUE(AddPaper(store, MakePaperRecord(255, u"b", 1, 1, false)));
  EXPECT_EQ(NextPaperNumber(store), 146);
  for (int32_t n = 146; n < 255; ++n) {
    std::u16string name = u"n";
    for (char c : std::to_string(n)) name.push_back(static_cast<char16_t>(c));
    ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), name, 1, 1, false))) << n;
  }
  EXPECT_EQ(store.count(), 11 + 111);
  EXPECT_EQ(NextPaperNumber(store), 0);
  ASSERT_TRUE(RemovePaperAt(store, FindPaperByNumber(store, 200)->index));
  EXPECT_EQ(NextPaperNumber(store), 200);
  PaperStore empty;
  EXPECT_EQ(NextPaperNumber(empty), 145);
  empty.records.push_back(MakePaperRecord(std::numeric_limits<int32_t>::max(), u"x", 1, 1, false));
  empty.records.push_back(MakePaperRecord(144, u"y", 1, 1, false));
  EXPECT_EQ(NextPaperNumber(empty), 145);
}

TEST(PaperStoreTest, AFullStoreRefusesMore) {
  PaperStore store;
  for (size_t i = 0; i < kPaperStoreCapacity; ++i) {
    std::u16string name = u"n";
    for (char c : std::to_string(i)) name.push_back(static_cast<char16_t>(c));
    store.records.push_back(MakePaperRecord(static_cast<int32_t>(1000 + i), name, 1, 1, false));
  }
  EXPECT_FALSE(AddPaper(store, MakePaperRecord(99999, u"one more", 1, 1, false)));
  EXPECT_EQ(store.records.size(), kPaperStoreCapacity);
  EXPECT_FALSE(store.dirty);
  RemovePaperAt(store, 0);
  EXPECT_TRUE(AddPaper(store, MakePaperRecord(99999, u"one more", 1, 1, false)));
}

}  // namespace
}  // namespace lx
