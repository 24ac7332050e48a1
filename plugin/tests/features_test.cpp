#include "plugin/core/features.h"

#include <gtest/gtest.h>

#include "common/format.h"
#include "plugin/tests/fake_feature_core.h"

namespace lx {
namespace {

using testing::FakeFeatureCore;

OptionTable TestTable() {
  return OptionTable([](unsigned id) { return FormatW(u"text %u", id); });
}

TEST(OptionTable, HoldsTheFiftyEightRowsWithTheirTexts) {
  OptionTable table = TestTable();
  ASSERT_EQ(58u, table.rows().size());
  EXPECT_LE(table.rows().size(), kOptionTableCapacity);
  EXPECT_EQ("PORTRAIT", table.rows().front().keyword);
  EXPECT_EQ(u"Useless", table.rows().front().displayText);
  EXPECT_EQ("LEVEL15", table.rows().back().keyword);
  EXPECT_EQ(u"text 305", table.rows().back().displayText);
  ASSERT_NE(nullptr, table.Find("Paper_3_x_4"));
  EXPECT_EQ(999u, table.Find("Paper_3_x_4")->stringId);
  EXPECT_EQ(u"text 9", table.Find("LABEL_TYPE_DEVICE")->displayText);
  EXPECT_EQ(nullptr, table.Find("paper_3_x_4"));  // keywords are case-sensitive
  EXPECT_EQ(nullptr, table.Find("LEVEL16"));
}

TEST(OptionTable, DisplayTextsAreCutToThirtyNineCharacters) {
  OptionTable table([](unsigned) { return std::u16string(60, u'x'); });
  EXPECT_EQ(39u, table.Find("THERMAL")->displayText.size());
}

// A module without the metric paper names (as the Russian one): the rows stay,
// their display texts are empty, so those names appear nowhere, and the
// options still read, select and commit by keyword.
TEST(OptionTable, ModuleWithoutMetricPaperNamesKeepsTheirRowsWithoutText) {
  OptionTable table([](unsigned id) {
    return id >= 900 && id <= 905 ? std::u16string() : FormatW(u"text %u", id);
  });
  ASSERT_EQ(58u, table.rows().size());
  for (const char* paper : {"Paper_40_x_30", "Paper_50_x_30", "Paper_60_x_40", "Paper_75_x_60",
                            "Paper_80_x_60", "Paper_80_x_50"}) {
    const OptionEntry* row = table.Find(paper);
    ASSERT_NE(nullptr, row) << paper;
    EXPECT_EQ(u"", row->displayText) << paper;
  }
  EXPECT_EQ(u"text 1003", table.Find("Paper_4_x_6")->displayText);

  testing::FakeFeatureCore core;
  FeatureSet set;
  ReadFeatures(set, &core, table);
  ASSERT_TRUE(SelectOption(set.slots[kFeaturePaperSize], "Paper_80_x_50"));
  EXPECT_EQ(S_OK, CommitFeatures(set));
  ASSERT_EQ(1u, core.setCalls.size());
  EXPECT_EQ((std::vector<FeatureOptionPair>{{"PaperSize", "Paper_80_x_50"}}), core.setCalls[0]);
}

struct Features : ::testing::Test {
  FakeFeatureCore core;
  OptionTable table = TestTable();
  FeatureSet set;
};

TEST_F(Features, ReadsElevenSlotsWithTheOptionsInForce) {
  ReadFeatures(set, &core, table);
  ASSERT_TRUE(set.read);
  EXPECT_EQ("PrinterLanuage", set.slots[kFeaturePrinterLanguage].keyword);
  EXPECT_EQ(8u, set.slots[kFeatureOutputRate].count());
  EXPECT_EQ(16u, set.slots[kFeatureOutputDensity].count());
  EXPECT_EQ(3, set.slots[kFeatureOutputRate].reported);
  EXPECT_EQ(8, set.slots[kFeatureOutputDensity].current);
  EXPECT_EQ(4, set.slots[kFeatureLabelType].current);
  EXPECT_TRUE(IsCurrentOption(set.slots[kFeaturePaperSize], "Paper_4_x_6"));
  for (const FeatureSlot& slot : set.slots) EXPECT_EQ(&core, slot.core);
}

TEST_F(Features, ReadsOncePerObject) {
  ReadFeatures(set, &core, table);
  int calls = core.enumCalls;
  core.current["OutputRate"] = "IN5";
  ReadFeatures(set, &core, table);
  EXPECT_EQ(calls, core.enumCalls);
  EXPECT_EQ(3, set.slots[kFeatureOutputRate].current);
  RereadFeatures(set);
  EXPECT_EQ(5, set.slots[kFeatureOutputRate].current);
  EXPECT_EQ(calls, core.enumCalls);
}

TEST_F(Features, UnknownOptionKeywordReadsButCannotBeCommitted) {
  core.options["LabelType"].push_back("RFID_TAG");
  core.current["LabelType"] = "RFID_TAG";
  ReadFeatures(set, &core, table);
  FeatureSlot& slot = set.slots[kFeatureLabelType];
  ASSERT_EQ(8u, slot.count());
  EXPECT_EQ(nullptr, slot.options[7]);
  EXPECT_EQ(0, slot.reported);  // no row has that keyword
  EXPECT_FALSE(SelectOption(slot, "RFID_TAG"));
  slot.current = 7;  // as if the pages had chosen it
  EXPECT_EQ(S_OK, CommitFeatures(set));
  EXPECT_TRUE(core.setCalls.empty());
}

TEST_F(Features, FailuresOfTheCoreLeaveEmptyOrFirstOptions) {
  core.enumFails.insert("ImageryType");
  core.getFails["OutputRate"] = E_FAIL;
  core.getFails["OutputDensity"] = E_NOTIMPL;
  ReadFeatures(set, &core, table);
  EXPECT_EQ(0u, set.slots[kFeatureImageryType].count());
  EXPECT_EQ(0, set.slots[kFeatureOutputRate].reported);
  EXPECT_EQ(0, set.slots[kFeatureOutputDensity].reported);

  core.getFails.erase("OutputDensity");
  RereadFeatures(set);
  EXPECT_EQ(8, set.slots[kFeatureOutputDensity].reported);
  core.getFails["OutputDensity"] = E_NOTIMPL;  // not E_FAIL: keeps what it had
  set.slots[kFeatureOutputDensity].current = 2;
  RereadFeatures(set);
  EXPECT_EQ(8, set.slots[kFeatureOutputDensity].reported);
  EXPECT_EQ(8, set.slots[kFeatureOutputDensity].current);
}

TEST_F(Features, ListsLongerThan128OptionsAreCut) {
  for (int i = 0; i < 200; ++i) core.options["PaperSize"].push_back(FormatA("P%d", i));
  ReadFeatures(set, &core, table);
  EXPECT_EQ(kMaxFeatureOptions, set.slots[kFeaturePaperSize].count());
}

TEST_F(Features, SelectOptionFindsOnlyListedKeywords) {
  ReadFeatures(set, &core, table);
  FeatureSlot& rate = set.slots[kFeatureOutputRate];
  EXPECT_TRUE(SelectOption(rate, "IN7"));
  EXPECT_EQ(7, rate.current);
  EXPECT_TRUE(IsCurrentOption(rate, "IN7"));
  EXPECT_FALSE(SelectOption(rate, "LEVEL1"));
  EXPECT_EQ(7, rate.current);
  EXPECT_FALSE(IsCurrentOption(set.slots[kFeatureImageryType], "IN7"));
}

TEST_F(Features, CommitSendsChangedFeaturesInSlotOrder) {
  ReadFeatures(set, &core, table);
  EXPECT_EQ(S_OK, CommitFeatures(set));
  EXPECT_TRUE(core.setCalls.empty());

  SelectOption(set.slots[kFeatureOutputDensity], "LEVEL12");
  SelectOption(set.slots[kFeatureImageMirror], "MIRROR_ON");
  SelectOption(set.slots[kFeatureOrientation], "PORTRAIT");  // unchanged
  EXPECT_EQ(S_OK, CommitFeatures(set));
  ASSERT_EQ(1u, core.setCalls.size());
  std::vector<FeatureOptionPair> expected = {{"ImageMirror", "MIRROR_ON"},
                                             {"OutputDensity", "LEVEL12"}};
  EXPECT_EQ(expected, core.setCalls[0]);
  // reported is not moved by a commit: a second commit sends the same pairs.
  EXPECT_EQ(S_OK, CommitFeatures(set));
  ASSERT_EQ(2u, core.setCalls.size());
  EXPECT_EQ(expected, core.setCalls[1]);
}

TEST_F(Features, RemainingConflictOrFailureRereadsTheCore) {
  ReadFeatures(set, &core, table);
  core.setConflict = SETOPTIONS_RESULT_CONFLICT_REMAINED;
  SelectOption(set.slots[kFeatureOutputRate], "IN6");
  core.current["ImageryType"] = "TRANSFER_THERMAL";  // the core's resolution elsewhere
  EXPECT_EQ(S_OK, CommitFeatures(set));
  EXPECT_EQ(2, set.slots[kFeatureImageryType].current);
  EXPECT_EQ(6, set.slots[kFeatureOutputRate].reported);

  core.setResult = static_cast<HRESULT>(0x80070005);
  SelectOption(set.slots[kFeatureOutputRate], "IN1");
  EXPECT_EQ(static_cast<HRESULT>(0x80070005), CommitFeatures(set));
  EXPECT_EQ(6, set.slots[kFeatureOutputRate].current);  // pages show the core's setting
}

}  // namespace
}  // namespace lx
