// The Options, Image processing and Print parameters pages on the real
// templates: what the model class decides, what each control writes into
// the private part and the features, the limits of their fields, and what
// Apply hands on.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "plugin/pages/tests/page_rig.h"
#include "plugin/resources/resource_ids.h"

namespace lx::testing {
namespace {

constexpr int kOptionsTab = 1, kImageTab = 2, kParamsTab = 3;
// A driver of model class 2: eight speeds and a cutter.
constexpr char16_t kCutterPrinter[] = u"LX-223T Cutter";

void AddCutterPrinter(PageRig& rig) {
  rig.world.machine.spooler.InstallDriver(u"LX-223T Label");
  rig.world.machine.spooler.AddPrinter(kCutterPrinter, u"USB001", u"LX-223T Label");
}

FakeDialog& Tab(PageRig& rig, int index) {
  EXPECT_TRUE(rig.sheet->SelectTab(index));
  return rig.Page();
}

// Leaves a field the way a user does: by putting the focus elsewhere.
void TypeAndLeave(FakeDialog& page, int field, const std::u16string& text, int elsewhere) {
  ASSERT_TRUE(page.FocusEdit(field));
  ASSERT_TRUE(page.Type(field, text));
  ASSERT_TRUE(page.FocusEdit(elsewhere));
}

// The page's only field loses the focus (the user tabs to a button).
void Leave(PageRig& rig, int field) {
  rig.Page().At(field).focused = false;
  rig.sheet->CurrentPage()->OnEditFocus(field, false);
}

// Two printers of different classes in one process, their sheets open at
// once: each sheet's tabs, also those first built after the other sheet
// was made, show and store that sheet's class.
TEST(SettingsPages, ModelClassDecidesSpeedRangePrintMethodAndPostPrintControls) {
  PageRig rig;  // driver "LX-220": class 0
  ASSERT_EQ(5, rig.Open().added);
  FakeDialog& options = Tab(rig, kOptionsTab);
  EXPECT_EQ(3, options.At(IDC_SPEED).high);
  EXPECT_EQ(15, options.At(IDC_DENSITY).high);
  EXPECT_EQ(1, options.At(IDC_DENSITY).pageSize);
  EXPECT_EQ(1, options.At(IDC_SPEED).pageSize);

  AddCutterPrinter(rig);
  OtherSheet other;
  ASSERT_EQ(5, rig.OpenOther(other, kCutterPrinter).added);
  EXPECT_EQ(112, other.live.modelClassValue);
  EXPECT_EQ(7, other.Tab(kOptionsTab).At(IDC_SPEED).high);
  FakeDialog& cutter = other.Tab(kParamsTab);
  EXPECT_TRUE(cutter.IsEnabled(IDC_PRINT_METHOD));
  // The list follows the feature (THERMAL, its second option, in the core).
  EXPECT_EQ(other.features.slots[kFeatureImageryType].current, cutter.ComboGetCurSel(IDC_PRINT_METHOD));
  EXPECT_TRUE(cutter.SelectCombo(IDC_PRINT_METHOD, 2));
  EXPECT_EQ(2, other.features.slots[kFeatureImageryType].current);
  for (int id : {IDC_POST_ACTION, IDC_TIMING, IDC_INTERVAL}) EXPECT_TRUE(cutter.IsVisible(id)) << id;
  EXPECT_EQ(4, cutter.ComboCount(IDC_POST_ACTION));
  EXPECT_EQ(rig.Text(IDS_ACTION_CUT), cutter.ComboGetItemText(IDC_POST_ACTION, 3));
  EXPECT_EQ(rig.Text(IDS_TIMING_INTERVAL), cutter.ComboGetItemText(IDC_TIMING, 3));

  FakeDialog& params = Tab(rig, kParamsTab);
  EXPECT_EQ(1, params.ComboGetCurSel(IDC_PRINT_METHOD));
  EXPECT_FALSE(params.IsEnabled(IDC_PRINT_METHOD));
  for (int id : {IDC_POST_ACTION_LABEL, IDC_TIMING_LABEL, IDC_POST_ACTION, IDC_TIMING, IDC_INTERVAL_LABEL,
                 IDC_INTERVAL}) {
    EXPECT_FALSE(params.IsVisible(id)) << id;
  }
  EXPECT_FALSE(params.IsVisible(IDC_PAPER_SAVING));
  EXPECT_EQ(3, Tab(rig, kOptionsTab).At(IDC_SPEED).high);
  EXPECT_TRUE(rig.sheet->ClickApply());
  EXPECT_TRUE(other.sheet->ClickApply());
  EXPECT_EQ(85, rig.live.modelClassValue);
  EXPECT_EQ(112, other.live.modelClassValue);
}

TEST(SettingsPages, OptionsSlidersWriteLevelsUnlessThePrinterDecides) {
  PageRig rig;
  rig.Open();
  FakeDialog& page = Tab(rig, kOptionsTab);
  EXPECT_EQ(rig.Text(IDS_USE_PRINTER_SPEED), page.GetText(IDC_USE_PRINTER_SPEED));
  EXPECT_EQ(rig.Text(IDS_PRINT_LANGUAGE), page.GetText(IDC_PRINT_LANGUAGE_LABEL));
  // The core says PrinterSetting ON: the sliders show the record but are off.
  EXPECT_TRUE(page.GetCheck(IDC_USE_PRINTER_SPEED));
  EXPECT_EQ(8, page.TrackbarGetPos(IDC_DENSITY));
  EXPECT_EQ(u"8", page.GetText(IDC_DENSITY_VALUE));
  EXPECT_EQ(3, page.TrackbarGetPos(IDC_SPEED));
  for (int id : {IDC_SPEED, IDC_DENSITY, IDC_SPEED_LABEL, IDC_DENSITY_LABEL, IDC_SPEED_VALUE, IDC_DENSITY_VALUE}) {
    EXPECT_FALSE(page.IsEnabled(id)) << id;
  }
  EXPECT_FALSE(page.Scroll(IDC_DENSITY, 12));

  ASSERT_TRUE(page.Click(IDC_USE_PRINTER_SPEED));
  EXPECT_EQ(0, rig.live.useDeviceSettings);
  EXPECT_TRUE(page.sheetChanged);
  ASSERT_TRUE(page.Scroll(IDC_DENSITY, 12));
  ASSERT_TRUE(page.Scroll(IDC_SPEED, 2));
  EXPECT_EQ(12, rig.live.density);
  EXPECT_EQ(u"12", page.GetText(IDC_DENSITY_VALUE));
  EXPECT_EQ(2, rig.live.speed);
  EXPECT_EQ(u"2", page.GetText(IDC_SPEED_VALUE));
  ASSERT_EQ(2, page.ComboCount(IDC_PRINT_LANGUAGE));
  EXPECT_EQ(rig.Text(IDS_LANGUAGE_ZPL), page.ComboGetItemText(IDC_PRINT_LANGUAGE, 1));
  ASSERT_TRUE(page.SelectCombo(IDC_PRINT_LANGUAGE, 1));

  // Checked again: the sliders go off and keep what they show.
  ASSERT_TRUE(page.Click(IDC_USE_PRINTER_SPEED));
  EXPECT_FALSE(page.IsEnabled(IDC_DENSITY));
  EXPECT_EQ(12, page.TrackbarGetPos(IDC_DENSITY));
  EXPECT_EQ(12, rig.live.density);
  ASSERT_TRUE(page.Click(IDC_USE_PRINTER_SPEED));

  ASSERT_TRUE(rig.sheet->ClickApply());
  ASSERT_FALSE(rig.core.setCalls.empty());
  const auto& pairs = rig.core.setCalls.front();
  auto has = [&](const char* feature, const char* option) {
    return std::find(pairs.begin(), pairs.end(), FeatureOptionPair{feature, option}) != pairs.end();
  };
  EXPECT_TRUE(has("OutputRate", "IN2"));
  EXPECT_TRUE(has("PrinterLanuage", "LANGUAGE_ZPL"));
  EXPECT_TRUE(has("PrinterSetting", "OFF"));
  EXPECT_TRUE(has("OutputDensity", "LEVEL12"));
}

TEST(SettingsPages, ImageToneFactorIsHeldInRangeAndEachMethodBringsItsOwn) {
  PageRig rig;
  rig.live.halftone = 7;  // unknown: shown as none
  rig.Open();
  FakeDialog& page = Tab(rig, kImageTab);
  EXPECT_TRUE(page.GetCheck(IDC_HALFTONE_NONE));
  EXPECT_EQ(u"1.80", page.GetText(IDC_TONE_FACTOR));
  EXPECT_EQ(rig.Text(IDS_THICKER_LINES), page.GetText(IDC_THICKER_LINES));
  EXPECT_EQ(IDB_HALFTONE_NONE, rig.env.PictureOf(IDC_HALFTONE_PREVIEW));
  EXPECT_TRUE(rig.env.pictures[IDC_HALFTONE_PREVIEW].back().monochrome);

  ASSERT_TRUE(page.FocusEdit(IDC_TONE_FACTOR));
  ASSERT_TRUE(page.Type(IDC_TONE_FACTOR, u"0"));
  Leave(rig, IDC_TONE_FACTOR);
  EXPECT_EQ(u"0.10", page.GetText(IDC_TONE_FACTOR));
  EXPECT_FLOAT_EQ(0.1f, rig.live.grayFactor);
  ASSERT_TRUE(page.Click(IDC_HALFTONE_NONE));
  EXPECT_EQ(u"1.80", page.GetText(IDC_TONE_FACTOR));

  ASSERT_TRUE(page.Click(IDC_HALFTONE_JJN));
  EXPECT_EQ(2, rig.live.halftone);
  EXPECT_EQ(u"1.00", page.GetText(IDC_TONE_FACTOR));
  EXPECT_EQ(IDB_HALFTONE_JJN, rig.env.PictureOf(IDC_HALFTONE_PREVIEW));
  ASSERT_TRUE(page.FocusEdit(IDC_TONE_FACTOR));
  ASSERT_TRUE(page.Type(IDC_TONE_FACTOR, u"25"));
  Leave(rig, IDC_TONE_FACTOR);
  EXPECT_EQ(u"10.00", page.GetText(IDC_TONE_FACTOR));
  ASSERT_TRUE(page.Click(IDC_THICKER_LINES));
  EXPECT_EQ(1, rig.live.boldLines);
  EXPECT_TRUE(page.sheetChanged);

  // Apply takes the record as the backup: nothing differs any more.
  ASSERT_TRUE(rig.sheet->ClickApply());
  ASSERT_TRUE(page.Click(IDC_THICKER_LINES));
  EXPECT_TRUE(page.sheetChanged);
  ASSERT_TRUE(page.Click(IDC_THICKER_LINES));
  EXPECT_FALSE(page.sheetChanged);
}

TEST(SettingsPages, MediaTypeShowsItsHeightAndTheFieldHoldsItsLimits) {
  PageRig rig;
  rig.live.gapHeight = 2.5f;
  rig.Open();
  FakeDialog& page = Tab(rig, kParamsTab);
  const int gap = 4, mark = 5, continuous = 3;  // LabelType options in the core's order
  ASSERT_EQ(gap, page.ComboGetCurSel(IDC_MEDIA_TYPE));
  EXPECT_TRUE(page.IsVisible(IDC_GAP));
  EXPECT_EQ(rig.Text(IDS_GAP_HEIGHT), page.GetText(IDC_GAP_LABEL));
  EXPECT_EQ(u"2.5 mm", page.GetText(IDC_GAP));

  ASSERT_TRUE(page.SelectCombo(IDC_MEDIA_TYPE, mark));
  EXPECT_EQ(rig.Text(IDS_MARK_HEIGHT), page.GetText(IDC_GAP_LABEL));
  EXPECT_EQ(u"3.0 mm", page.GetText(IDC_GAP));
  EXPECT_FLOAT_EQ(2.5f, rig.live.gapHeight);  // not until the field is left
  TypeAndLeave(page, IDC_GAP, u"20", IDC_OFFSET_X);
  EXPECT_EQ(u"15.0 mm", page.GetText(IDC_GAP));
  EXPECT_FLOAT_EQ(15.0f, rig.live.gapHeight);

  ASSERT_TRUE(page.SelectCombo(IDC_MEDIA_TYPE, gap));
  ASSERT_TRUE(page.FocusEdit(IDC_GAP));
  ASSERT_TRUE(page.Type(IDC_GAP, u"-3"));
  EXPECT_EQ(u"3", page.GetText(IDC_GAP));
  ASSERT_TRUE(page.Type(IDC_GAP, u"0.5"));
  ASSERT_TRUE(page.FocusEdit(IDC_OFFSET_X));
  EXPECT_EQ(u"1.0 mm", page.GetText(IDC_GAP));
  TypeAndLeave(page, IDC_GAP, u"13", IDC_OFFSET_X);
  EXPECT_EQ(u"12.0 mm", page.GetText(IDC_GAP));

  ASSERT_TRUE(page.SelectCombo(IDC_MEDIA_TYPE, continuous));
  EXPECT_FALSE(page.IsVisible(IDC_GAP));
  EXPECT_FALSE(page.IsVisible(IDC_GAP_LABEL));
  EXPECT_EQ(continuous, rig.features.slots[kFeatureLabelType].current);
}

TEST(SettingsPages, CutAfterAnIntervalEnablesTheIntervalHeldToOneToNinetyNine) {
  PageRig rig;
  AddCutterPrinter(rig);
  rig.Open(kCutterPrinter);
  FakeDialog& page = Tab(rig, kParamsTab);
  EXPECT_EQ(1, page.ComboGetCurSel(IDC_POST_ACTION));  // tear-off by default
  EXPECT_FALSE(page.IsEnabled(IDC_TIMING));
  EXPECT_FALSE(page.IsEnabled(IDC_INTERVAL));
  ASSERT_TRUE(page.SelectCombo(IDC_POST_ACTION, 3));
  EXPECT_TRUE(page.IsEnabled(IDC_TIMING));
  EXPECT_TRUE(page.IsEnabled(IDC_TIMING_LABEL));
  EXPECT_FALSE(page.IsEnabled(IDC_INTERVAL));
  ASSERT_TRUE(page.SelectCombo(IDC_TIMING, 3));
  EXPECT_TRUE(page.IsEnabled(IDC_INTERVAL));
  EXPECT_TRUE(page.IsEnabled(IDC_INTERVAL_LABEL));
  TypeAndLeave(page, IDC_INTERVAL, u"0", IDC_OFFSET_X);
  EXPECT_EQ(u"1", page.GetText(IDC_INTERVAL));
  EXPECT_EQ(1, rig.live.postActionInterval);
  TypeAndLeave(page, IDC_INTERVAL, u"150", IDC_OFFSET_X);
  EXPECT_EQ(u"99", page.GetText(IDC_INTERVAL));
  EXPECT_EQ(99, rig.live.postActionInterval);
  EXPECT_EQ(3, rig.live.postAction);
  EXPECT_EQ(3, rig.live.postActionTiming);
  ASSERT_TRUE(page.SelectCombo(IDC_POST_ACTION, 2));
  EXPECT_FALSE(page.IsEnabled(IDC_TIMING));
  EXPECT_FALSE(page.IsEnabled(IDC_INTERVAL));
}

TEST(SettingsPages, OffsetsFeedAndCollateReachTheRecordAndApplyHandsCollateOn) {
  PageRig rig;
  rig.publicDm.dmCollate = 0;
  rig.publicDm.dmFields = 0;
  rig.Open();
  FakeDialog& page = Tab(rig, kParamsTab);
  EXPECT_FALSE(page.GetCheck(IDC_COLLATE));
  TypeAndLeave(page, IDC_OFFSET_X, u"-30", IDC_OFFSET_Y);
  EXPECT_FLOAT_EQ(-25.0f, rig.live.offsetX);
  EXPECT_EQ(u"-25.00 mm", page.GetText(IDC_OFFSET_X));
  TypeAndLeave(page, IDC_OFFSET_Y, u"7.5", IDC_FEED_OFFSET);
  EXPECT_FLOAT_EQ(7.5f, rig.live.offsetY);
  rig.live.modelClassValue = 0;
  TypeAndLeave(page, IDC_FEED_OFFSET, u"45", IDC_OFFSET_X);
  EXPECT_FLOAT_EQ(30.0f, rig.live.feedOffset);
  EXPECT_EQ(85, rig.live.modelClassValue);  // set again whenever the feed offset is left
  EXPECT_TRUE(page.sheetChanged);

  ASSERT_TRUE(page.Click(IDC_USE_PRINTER_FEED));
  EXPECT_FALSE(page.IsEnabled(IDC_FEED_OFFSET));
  EXPECT_FALSE(page.IsEnabled(IDC_FEED_OFFSET_LABEL));
  EXPECT_TRUE(IsCurrentOption(rig.features.slots[kFeaturePrinterPaperOffset], "UFG_ON"));

  // The offset labels are widened to their text, never narrowed.
  const Rect label = page.GetControlRect(IDC_OFFSET_X_LABEL);
  EXPECT_GE(label.Width(), page.MeasureText(IDC_OFFSET_X_LABEL, page.GetText(IDC_OFFSET_X_LABEL)));

  ASSERT_TRUE(page.Click(IDC_COLLATE));
  EXPECT_EQ(1, rig.live.collate);
  ASSERT_TRUE(rig.sheet->ClickApply());
  EXPECT_EQ(1, rig.publicDm.dmCollate);
  EXPECT_NE(0u, rig.publicDm.dmFields & DM_COLLATE);
  size_t before = rig.env.sheetResults.size();
  EXPECT_EQ(kPsnretNoError, rig.sheet->CurrentPage()->OnApply());
  EXPECT_EQ(before + 2, rig.env.sheetResults.size());  // applied before and after the copy
  // A sheet that refuses the result fails the page.
  rig.env.sheetAnswer = kSheetResultFailed;
  EXPECT_EQ(kPsnretInvalid, rig.sheet->CurrentPage()->OnApply());
}

// Enter (OK) and Alt+A (Apply) while a number field still has the focus:
// the sheet sends no EN_KILLFOCUS first, yet the typed value reaches the
// record as leaving the field would bring it in range; a tab change does
// the same, and the field keeps its focus text.
TEST(SettingsPages, ConfirmingWithTheFocusInANumberFieldKeepsWhatWasTyped) {
  struct Case {
    int tab, field;
    const char16_t* typed;
    double taken;
  };
  const Case cases[] = {{kParamsTab, IDC_GAP, u"20", 12},        {kParamsTab, IDC_OFFSET_X, u"-30", -25},
                        {kParamsTab, IDC_OFFSET_Y, u"7.5", 7.5},  {kParamsTab, IDC_FEED_OFFSET, u"45", 30},
                        {kImageTab, IDC_TONE_FACTOR, u"0", 0.1},  {kParamsTab, IDC_INTERVAL, u"150", 99}};
  auto value = [](const PrivateDevmode& r, int field) -> double {
    switch (field) {
      case IDC_GAP: return r.gapHeight;
      case IDC_OFFSET_X: return r.offsetX;
      case IDC_OFFSET_Y: return r.offsetY;
      case IDC_FEED_OFFSET: return r.feedOffset;
      case IDC_TONE_FACTOR: return r.grayFactor;
      default: return r.postActionInterval;
    }
  };
  for (int way = 0; way < 3; ++way) {
    for (const Case& c : cases) {
      SCOPED_TRACE(::testing::Message() << "field " << c.field << " way " << way);
      PageRig rig;
      AddCutterPrinter(rig);
      rig.Open(kCutterPrinter);
      FakeDialog& page = Tab(rig, c.tab);
      if (c.field == IDC_INTERVAL) {
        ASSERT_TRUE(page.SelectCombo(IDC_POST_ACTION, 3));
        ASSERT_TRUE(page.SelectCombo(IDC_TIMING, 3));
      }
      ASSERT_TRUE(page.FocusEdit(c.field));
      ASSERT_TRUE(page.Type(c.field, c.typed));
      if (way == 0) {
        ASSERT_TRUE(rig.sheet->ClickOk());  // Enter
        EXPECT_NEAR(c.taken, value(rig.live, c.field), 1e-6);
        continue;
      }
      if (way == 1) {
        ASSERT_TRUE(rig.sheet->ClickApply());  // Alt+A
      } else {
        ASSERT_TRUE(rig.sheet->SelectTab(0));
        EXPECT_TRUE(rig.sheet->ApplyEnabled());
      }
      EXPECT_NEAR(c.taken, value(rig.live, c.field), 1e-6);
      EXPECT_EQ(c.field, page.FocusedControl());
      EXPECT_EQ(std::u16string::npos, page.GetText(c.field).find(u"mm"));  // still the focus text
    }
  }
}

// An application's DEVMODE with NaN and infinite fields, validated as the
// core driver has it validated before any sheet: the pages show the
// defaults, and focusing and leaving the fields reports no change.
TEST(SettingsPages, ADevmodeWithNonFiniteFieldsShowsDefaultsAndStaysUnchanged) {
  PageRig rig;
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  rig.live.offsetX = nan;
  rig.live.offsetY = -inf;
  rig.live.feedOffset = inf;
  rig.live.gapHeight = nan;
  rig.live.grayFactor = nan;
  ValidatePrivateDevmode(rig.live);
  rig.Open();
  FakeDialog& params = Tab(rig, kParamsTab);
  EXPECT_EQ(u"0.00 mm", params.GetText(IDC_OFFSET_X));
  EXPECT_EQ(u"0.00 mm", params.GetText(IDC_OFFSET_Y));
  EXPECT_EQ(u"2.0 mm", params.GetText(IDC_GAP));
  for (int field : {IDC_OFFSET_X, IDC_OFFSET_Y, IDC_FEED_OFFSET, IDC_GAP}) {
    ASSERT_TRUE(params.FocusEdit(field));
    Leave(rig, field);
  }
  EXPECT_FALSE(params.sheetChanged);
  FakeDialog& image = Tab(rig, kImageTab);
  EXPECT_EQ(u"1.80", image.GetText(IDC_TONE_FACTOR));
  EXPECT_FALSE(image.sheetChanged);
}

}  // namespace
}  // namespace lx::testing
