// DeviceCapabilities answers from the paper store and the fixed answers.
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

#include "plugin/capabilities/device_capabilities.h"
#include "plugin/papers/tests/paper_world.h"

namespace lx::test {
namespace {

class DeviceCapabilitiesTest : public ::testing::Test {
 protected:
  PaperWorld world;
  std::unique_ptr<PaperContext> module = world.LoadModule();
};

TEST_F(DeviceCapabilitiesTest, CountOnlyWithoutABuffer) {
  uint32_t result = 0xABCD0000;
  EXPECT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPapers, nullptr, &result), S_OK);
  EXPECT_EQ(result, 0xABCD000Bu);  // the high half stays as passed
  EXPECT_TRUE(world.Traced(u"DeviceCapabilities wCapability=2"));
  EXPECT_TRUE(world.Traced(u"Paper DevCap_Papers"));
  EXPECT_TRUE(world.Traced(u"Paper DevCap_Papers In, count = 11"));

  // No result pointer: nothing is done, not even opening the store.
  auto fresh = world.LoadModule();
  EXPECT_EQ(AnswerDeviceCapabilities(*fresh, kPrinter, kDcPaperNames, nullptr, nullptr), S_OK);
  EXPECT_TRUE(fresh->stores.empty());
}

TEST_F(DeviceCapabilitiesTest, PaperNumbersSizesAndNamesInStoreOrder) {
  uint32_t result = 0;
  int16_t numbers[11] = {};
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPapers, numbers, &result), S_OK);
  EXPECT_EQ(numbers[0], 256);
  EXPECT_EQ(numbers[4], 122);
  EXPECT_EQ(numbers[10], 144);
  EXPECT_TRUE(world.Traced(u"papersize id =122 "));

  int32_t points[22] = {};
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPaperSize, points, &result), S_OK);
  EXPECT_EQ(result, 11u);
  EXPECT_EQ(points[8], 762);  // "3_x_4"
  EXPECT_EQ(points[9], 1016);
  EXPECT_EQ(points[6], 1016);  // "4_x_6"
  EXPECT_EQ(points[7], 1524);
  EXPECT_TRUE(world.Traced(u"Paper DevCap_PaperSize In, count = 11"));
  EXPECT_TRUE(world.Traced(u"paper Width=762, Height = 1016"));

  std::vector<char16_t> names(11 * kPaperNameSlotChars, u'#');
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPaperNames, names.data(), &result), S_OK);
  EXPECT_EQ(std::u16string(names.data()), u"custom");
  EXPECT_EQ(std::u16string(names.data() + 64), u"2_x_4");  // 128 bytes further
  EXPECT_EQ(names[64 + 63], 0);
  EXPECT_TRUE(world.Traced(u"paper name = 80_x_50"));
  EXPECT_TRUE(world.Traced(u"Paper DevCap_PaperNames In, count = 11"));
}

TEST_F(DeviceCapabilitiesTest, UserSizesAreReportedByTheConversionRule) {
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  store.records.clear();
  store.records.push_back(MakePaperRecord(145, u"a", 56.049f, 12.344f, false));
  store.records.push_back(MakePaperRecord(146, u"b", 56.04f, 12.345f, false));
  store.records.push_back(MakePaperRecord(147, u"c", 2000.0f, 0.0f, false));
  int32_t points[6] = {};
  uint32_t result = 0;
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPaperSize, points, &result), S_OK);
  EXPECT_EQ(result, 3u);
  EXPECT_EQ(points[0], 561);
  EXPECT_EQ(points[1], 123);
  EXPECT_EQ(points[2], 560);
  EXPECT_EQ(points[3], 124);
  EXPECT_EQ(points[4], 20000);  // 16-bit value, sign-extended
  EXPECT_EQ(points[5], 0);
}

// A caller sizes its buffer from its own count: a store that grew since
// (another thread's sheet) is cut to it, one that shrank is written whole,
// and a count on one thread or for one printer bounds no other.
TEST_F(DeviceCapabilitiesTest, AFillStaysWithinItsOwnThreadsCount) {
  auto grow = [this](int32_t number, const char16_t* name) {
    PaperLock hold = LockPapers(*module);
    ASSERT_TRUE(AddPaper(OpenPaperStore(*module, kPrinter), MakePaperRecord(number, name, 50, 30, false)));
  };
  std::thread([&] {
    uint32_t count = 0, other = 0;
    AnswerDeviceCapabilities(*module, kPrinter, kDcPapers, nullptr, &count);
    AnswerDeviceCapabilities(*module, kOtherPrinter, kDcPapers, nullptr, &other);
    ASSERT_EQ(count, 11u);
    std::thread([&] { grow(145, u"grown"); }).join();
    std::vector<int16_t> numbers(13, 0x7777);
    uint32_t written = 0xABCD0000;
    ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPaperNames, nullptr, &written), S_OK);
    EXPECT_EQ(written, 0xABCD000Cu);  // another code counts for the store anew
    written = 0;
    AnswerDeviceCapabilities(*module, kPrinter, kDcPapers, nullptr, &count);
    std::thread([&] { grow(146, u"grown again"); }).join();
    ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPapers, numbers.data(), &written), S_OK);
    EXPECT_EQ(written, 12u);
    EXPECT_EQ(numbers[12], 0x7777);
    {
      PaperLock hold = LockPapers(*module);
      PaperStore& store = OpenPaperStore(*module, kPrinter);
      ASSERT_TRUE(RemovePaperAt(store, store.count() - 1));
      ASSERT_TRUE(RemovePaperAt(store, store.count() - 1));
    }
    std::vector<int32_t> points(26, 0x7777);
    ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPaperSize, points.data(), &written), S_OK);
    EXPECT_EQ(written, 11u);
    EXPECT_EQ(points[22], 0x7777);
  }).join();
  // This thread never counted: its fill writes the store as it is, also a
  // store made in place rather than opened.
  std::vector<int16_t> numbers(11, 0);
  uint32_t written = 0;
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPapers, numbers.data(), &written), S_OK);
  EXPECT_EQ(written, 11u);
  std::thread([&] {
    auto other = world.LoadModule();
    other->stores.push_back(std::make_unique<PaperStore>());
    other->stores.back()->printerName = kPrinter;
    other->stores.back()->records = BuiltInPapers();
    IndexPapers(*other->stores.back());
    written = 0;
    ASSERT_EQ(AnswerDeviceCapabilities(*other, kPrinter, kDcPapers, numbers.data(), &written), S_OK);
    EXPECT_EQ(written, 11u);
  }).join();
}

// Stores at both ends, with names of 31 code units in several scripts: the
// count and the fill agree, every name arrives whole with its NUL, and an
// empty store writes nothing.
TEST_F(DeviceCapabilitiesTest, EmptyAndFullStoresWithLongNamesInManyScriptsAnswerWhole) {
  const std::u16string pieces[] = {u"Ä", u"Ж", u"語", u"ש", u"ก", u"ह", u"\U0001F600"};
  {
    PaperLock hold = LockPapers(*module);
    OpenPaperStore(*module, kOtherPrinter).records.clear();
    IndexPapers(OpenPaperStore(*module, kOtherPrinter));
    PaperStore& store = OpenPaperStore(*module, kPrinter);
    store.records.clear();
    for (size_t i = 0; i < kPaperStoreCapacity; ++i) {
      std::u16string name;
      while (name.size() + pieces[i % 7].size() <= 31) name += pieces[i % 7];
      name.resize(31, u'x');
      name[0] = static_cast<char16_t>(u'A' + i % 26);
      store.records.push_back(MakePaperRecord(static_cast<int32_t>(i), name, 50, 30, false));
    }
    IndexPapers(store);
  }
  uint32_t count = 0;
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kOtherPrinter, kDcPaperNames, nullptr, &count), S_OK);
  EXPECT_EQ(count, 0u);
  char16_t untouched[64] = {u'#'};
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kOtherPrinter, kDcPaperNames, untouched, &count), S_OK);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(untouched[0], u'#');

  ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPaperNames, nullptr, &count), S_OK);
  ASSERT_EQ(count, 2049u);
  std::vector<char16_t> names(count * kPaperNameSlotChars + 1, u'#');
  uint32_t written = 0;
  ASSERT_EQ(AnswerDeviceCapabilities(*module, kPrinter, kDcPaperNames, names.data(), &written), S_OK);
  EXPECT_EQ(written, 2049u);
  EXPECT_EQ(names.back(), u'#');
  PaperLock hold = LockPapers(*module);
  const PaperStore& store = OpenPaperStore(*module, kPrinter);
  for (size_t i = 0; i < count; ++i) {
    const char16_t* slot = names.data() + i * kPaperNameSlotChars;
    ASSERT_EQ(std::u16string(slot), PaperName(store.records[i])) << i;
    ASSERT_EQ(PaperName(store.records[i]).size(), 31u) << i;
  }
}

TEST_F(DeviceCapabilitiesTest, FixedAnswersAndQueriesLeftToTheCoreDriver) {
  struct Fixed {
    uint16_t code;
    uint32_t value;
  };
  for (Fixed f : {Fixed{kDcMinExtent, 36u * 65536 + 300}, Fixed{kDcMaxExtent, 10000u * 65536 + 10000},
                  Fixed{kDcDuplex, 0}, Fixed{kDcCopies, 9999}, Fixed{kDcCollate, 1},
                  Fixed{kDcColorDevice, 0}}) {
    uint32_t result = 0x5A5A5A5A;
    EXPECT_EQ(AnswerDeviceCapabilities(*module, kPrinter, f.code, nullptr, &result), S_OK) << f.code;
    EXPECT_EQ(result, f.value) << f.code;
  }
  for (uint16_t code : {uint16_t{6}, uint16_t{17}, uint16_t{1}, uint16_t{0}, uint16_t{0xFFFF}}) {
    uint32_t result = 0x5A5A5A5A;
    char buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    EXPECT_EQ(AnswerDeviceCapabilities(*module, kPrinter, code, buffer, &result), E_NOTIMPL) << code;
    EXPECT_EQ(result, 0x5A5A5A5Au);
    EXPECT_EQ(buffer[0], 1);
  }
  EXPECT_TRUE(world.Traced(u"DeviceCapabilities wCapability=17"));
  EXPECT_TRUE(module->stores.empty());  // none of these needed the store
}

}  // namespace
}  // namespace lx::test
