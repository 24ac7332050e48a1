// The sheet's shared context and the behaviour every page has: what building
// the sheet reads and sets, the context's lifetime over its pages, apply,
// help, change detection and the number-field dispatch.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "plugin/pages/document_page.h"
#include "plugin/pages/tests/page_rig.h"
#include "plugin/resources/resource_ids.h"

namespace lx::testing {
namespace {

bool Traced(PageRig& rig, const std::u16string& line) {
  const auto& lines = rig.world.process->debug.lines;
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void SetForm(DEVMODEW& dm, const std::u16string& name) {
  std::memset(dm.dmFormName, 0, sizeof dm.dmFormName);
  std::memcpy(dm.dmFormName, name.data(), std::min<size_t>(name.size(), 31) * 2);
}

// A page over the paper dialog's template: one width field kept in a value
// of its own, clamped to 25..1778 on leaving, a control that the template
// lacks among its texts, and its value compared with the backup's mirror.
class ProbePage : public DocumentPage {
 public:
  explicit ProbePage(PageContext& context) : DocumentPage(context, IDD_PAPER_DIALOG, kHelpPaper) {
    AddNumberField({IDC_PAPERDLG_WIDTH, NumberFormat::kMillimetres2, NumberChars::kUnsigned, 6,
                    [this](double v) { return width = std::clamp(v, 25.0, 1778.0); }});
  }
  double width = 56;
  bool refuse = false;

 protected:
  void InitPage() override {
    SetTexts({{IDC_PAPERDLG_WIDTH_LABEL, IDS_WIDTH}, {1122, IDS_WIDTH}});
    ShowNumber(IDC_PAPERDLG_WIDTH, width);
  }
  bool DiffersFromBackup() override { return width != context().backup().gapHeight; }
  bool Apply() override {
    context().live->gapHeight = static_cast<float>(width);
    return !refuse && ApplyPages(context());
  }
};

TEST(DocumentSheet, BuildingReadsThePrinterAndMatchesThePublicPaper) {
  PageRig rig;
  rig.configModelClass = 2;
  rig.live.reserved1C = 7;
  rig.live.collate = 0;
  rig.live.paperId = -1;
  PageContext* context = PrepareDocumentSheet(rig.Input(test::kPrinter));
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(context->modelClass(), 0);  // driver "LX-220"
  EXPECT_TRUE(rig.features.read);
  EXPECT_EQ(context->printerName, test::kPrinter);
  EXPECT_EQ(rig.live.reserved1C, 0);
  EXPECT_EQ(rig.live.collate, 1);
  EXPECT_EQ(rig.live.paperId, 121);
  EXPECT_EQ(std::memcmp(&context->backup(), &rig.live, sizeof rig.live), 0);
  EXPECT_EQ(context->papers->printerName, test::kPrinter);
  EXPECT_TRUE(Traced(rig, u"Ui Init, tchPrinterName=LX-220 Label, paper id = 121, w=0, h=0, formName="));
  context->Release();
  EXPECT_EQ(rig.heap.allocated, 1);
  EXPECT_EQ(rig.heap.freed, 1);

  // A user size goes by form name, then by size; an unknown number by size.
  rig.publicDm.dmPaperSize = 300;
  SetForm(rig.publicDm, u"2_x_4");
  PrepareDocumentSheet(rig.Input(test::kPrinter))->Release();
  EXPECT_EQ(rig.live.paperId, 119);
  SetForm(rig.publicDm, u"no such form");
  rig.publicDm.dmPaperWidth = 400;
  rig.publicDm.dmPaperLength = 300;
  PrepareDocumentSheet(rig.Input(test::kPrinter))->Release();
  EXPECT_EQ(rig.live.paperId, 139);
  rig.publicDm.dmPaperSize = 200;
  rig.publicDm.dmPaperWidth = 800;
  rig.publicDm.dmPaperLength = 500;
  PrepareDocumentSheet(rig.Input(test::kPrinter))->Release();
  EXPECT_EQ(rig.live.paperId, 144);
  // Nothing matches: the live paper stays.
  rig.publicDm.dmPaperWidth = 1;
  PrepareDocumentSheet(rig.Input(test::kPrinter))->Release();
  EXPECT_EQ(rig.live.paperId, 144);
}

// The plug-in's pages leave their colours to the system (a disabled field
// then looks disabled); only the wizard's pages paint themselves white.
TEST(DocumentSheet, EveryPageTakesTheSystemsDialogColours) {
  PageRig rig;
  ASSERT_EQ(5, rig.Open().added);
  for (const auto& page : rig.pages)
    for (ControlKind kind : {ControlKind::kEdit, ControlKind::kStatic, ControlKind::kComboBox, ControlKind::kOther})
      EXPECT_TRUE(page->CtlColor(IDC_OFFSET_X, kind).system) << page->TemplateId();
}

TEST(DocumentSheet, AContextTheHeapRefusesGivesOutOfMemoryAndNoPage) {
  PageRig rig;
  rig.heap.refuse = true;
  DocumentPagesResult result = rig.Open();
  EXPECT_EQ(result.hr, E_OUTOFMEMORY);
  EXPECT_EQ(result.added, 0);
  EXPECT_EQ(rig.sheet->PageCount(), 0);
  EXPECT_EQ(rig.heap.allocated, 0);
}

TEST(DocumentSheet, TheContextLivesUntilItsLastPageIsReleased) {
  PageRig rig;
  PageContext* context = PrepareDocumentSheet(rig.Input(test::kPrinter));
  ASSERT_NE(context, nullptr);
  {
    FakePropertySheet sheet(PluginScripts());
    auto first = std::make_unique<ProbePage>(*context);
    auto second = std::make_unique<ProbePage>(*context);
    auto never = std::make_unique<ProbePage>(*context);  // refused by the sheet, then dropped
    sheet.AddPage(*first);
    sheet.AddPage(*second);
    context->Release();  // the builder's reference
    never.reset();
    EXPECT_EQ(rig.heap.freed, 0);
    // Only the first page was ever shown; both are released at closing.
    sheet.ClickCancel();
    EXPECT_EQ(rig.heap.freed, 1);
  }
  EXPECT_EQ(rig.heap.freed, 1);
}

TEST(DocumentSheet, ApplyCommitsReportsToTheSheetAndRefreshesTheBackupOnlyWhenBothSucceed) {
  PageRig rig;
  PageContext* context = PrepareDocumentSheet(rig.Input(test::kPrinter));
  ProbePage page(*context);  // outlives the sheet that releases it
  FakePropertySheet sheet(PluginScripts());
  context->Release();
  sheet.AddPage(page);
  FakeDialog& view = sheet.Current();

  ASSERT_TRUE(view.FocusEdit(IDC_PAPERDLG_WIDTH));
  view.Type(IDC_PAPERDLG_WIDTH, u"80");
  view.FocusEdit(IDC_PAPERDLG_WIDTH);  // focus stays: nothing left yet
  EXPECT_FALSE(sheet.ApplyEnabled());
  page.OnEditFocus(IDC_PAPERDLG_WIDTH, false);
  EXPECT_TRUE(sheet.ApplyEnabled());

  ASSERT_TRUE(SelectOption(rig.features.slots[kFeatureOrientation], "LANDSCAPE_CC90"));
  rig.core.setResult = E_FAIL;
  EXPECT_FALSE(sheet.ClickApply());
  EXPECT_TRUE(rig.env.sheetResults.empty());
  EXPECT_FLOAT_EQ(context->backup().gapHeight, 2.0f);

  // The refused commit re-read the features: the choice is to be made again.
  EXPECT_TRUE(IsCurrentOption(rig.features.slots[kFeatureOrientation], "PORTRAIT"));
  SelectOption(rig.features.slots[kFeatureOrientation], "LANDSCAPE_CC90");
  rig.core.setResult = S_OK;
  rig.env.sheetAnswer = kSheetResultFailed;
  EXPECT_FALSE(sheet.ClickApply());
  EXPECT_EQ(rig.env.sheetResults, std::vector<intptr_t>{kCpsuiOk});
  EXPECT_FLOAT_EQ(context->backup().gapHeight, 2.0f);

  rig.env.sheetAnswer = 1;
  EXPECT_TRUE(sheet.ClickApply());
  EXPECT_FLOAT_EQ(context->backup().gapHeight, 80.0f);
  EXPECT_EQ(rig.core.current["Orientation"], "LANDSCAPE_CC90");

  sheet.PressHelp();
  ASSERT_EQ(rig.env.helps.size(), 1u);
  EXPECT_EQ(rig.env.helps[0].file, u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\lx220uienus.chm");
  EXPECT_EQ(rig.env.helps[0].context, kHelpPaper);
}

TEST(DocumentSheet, NumberFieldsFilterWhileTypingShowWithoutUnitOnFocusAndClampOnLeaving) {
  PageRig rig;
  PageContext* context = PrepareDocumentSheet(rig.Input(test::kPrinter));
  ProbePage page(*context);  // outlives the sheet that releases it
  FakePropertySheet sheet(PluginScripts());
  context->Release();
  sheet.AddPage(page);
  FakeDialog& view = sheet.Current();
  EXPECT_EQ(view.At(IDC_PAPERDLG_WIDTH).text, u"56.00 mm");
  EXPECT_EQ(view.At(IDC_PAPERDLG_WIDTH).limit, 6);
  EXPECT_EQ(view.At(IDC_PAPERDLG_WIDTH_LABEL).text, u"Width:");
  // The template has no 1122: skipped.
  EXPECT_EQ(view.missingIds, std::vector<int>{1122});

  view.FocusEdit(IDC_PAPERDLG_WIDTH);
  EXPECT_EQ(view.At(IDC_PAPERDLG_WIDTH).text, u"56.00");
  for (const char16_t* typed : {u"１", u"1２", u"12．", u"12.５"}) {
    view.Type(IDC_PAPERDLG_WIDTH, typed);
    EXPECT_EQ(view.At(IDC_PAPERDLG_WIDTH).selEnd, static_cast<int>(view.At(IDC_PAPERDLG_WIDTH).text.size())) << typed[0];
  }
  EXPECT_EQ(view.At(IDC_PAPERDLG_WIDTH).text, u"12.5");
  page.OnEditFocus(IDC_PAPERDLG_WIDTH, false);
  EXPECT_EQ(view.At(IDC_PAPERDLG_WIDTH).text, u"25.00 mm");
  EXPECT_EQ(page.width, 25.0);

  // Pasted text of any kind, the unit included, ends as a number in range.
  for (const std::u16string& pasted : {std::u16string(u"mm 99999"), std::u16string(300, u'\xD83D'),
                                       std::u16string(u"1e308mm"), std::u16string(u"-40")}) {
    view.FocusEdit(IDC_PAPERDLG_WIDTH);
    view.At(IDC_PAPERDLG_WIDTH).text = pasted;
    page.OnCommand(IDC_PAPERDLG_WIDTH, kEnChange);
    page.OnEditFocus(IDC_PAPERDLG_WIDTH, false);
    EXPECT_GE(page.width, 25.0);
    EXPECT_LE(page.width, 1778.0);
  }
}

}  // namespace
}  // namespace lx::testing
