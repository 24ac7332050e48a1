// The Paper page and the paper dialog as a user drives them: the list and
// its buttons, orientation and effects with their preview, new, edited and
// deleted sizes, apply into the public DEVMODE and the printer's data, and
// cancel keeping the sizes for this process only.
#include <gtest/gtest.h>

#include <cstring>

#include "common/text.h"
#include "plugin/pages/paper_dialog.h"
#include "plugin/pages/paper_page.h"
#include "plugin/pages/tests/page_rig.h"
#include "plugin/resources/resource_ids.h"

namespace lx::testing {
namespace {

std::u16string FormName(const DEVMODEW& dm) {
  const auto* name = reinterpret_cast<const char16_t*>(dm.dmFormName);
  return std::u16string(name, StrLen16(name, CCHFORMNAME));
}

// The user makes a size in the dialog: name, width and length typed and left.
FakePageEnvironment::Script MakePaper(std::u16string name, std::u16string width, std::u16string length) {
  return [=](FakeDialog& d) {
    d.FocusEdit(IDC_PAPERDLG_NAME);
    d.Type(IDC_PAPERDLG_NAME, name);
    d.FocusEdit(IDC_PAPERDLG_WIDTH);
    d.Type(IDC_PAPERDLG_WIDTH, width);
    d.FocusEdit(IDC_PAPERDLG_LENGTH);
    d.Type(IDC_PAPERDLG_LENGTH, length);
    d.FocusEdit(IDC_PAPERDLG_NAME);
    d.Click(IDC_PAPERDLG_OK);
  };
}

std::vector<std::u16string> Entries(FakeDialog& page) { return page.At(IDC_PAPER_LIST).items; }

TEST(PaperPage, OpensWithTheStoreListedTheDevmodePaperSelectedAndTheTemplateTexts) {
  PageRig rig;
  DocumentPagesResult built = rig.Open();
  EXPECT_EQ(built.hr, S_OK);
  EXPECT_GE(built.added, 1);
  FakeDialog& page = rig.Page();
  EXPECT_EQ(page.templateId, IDD_PAPER_PAGE);
  EXPECT_EQ(page.At(IDC_PAPER_LIST_LABEL).text, rig.Text(IDS_PAPER_NAME));
  EXPECT_EQ(page.At(IDC_LANDSCAPE_180).text, rig.Text(IDS_LANDSCAPE_180));
  EXPECT_EQ(page.At(IDC_EFFECT_GROUP).text, rig.Text(IDS_EFFECT_GROUP));
  // The page template has no control 1117: it is passed over.
  EXPECT_EQ(page.missingIds, std::vector<int>{1117});

  // A new printer's list in creation order, each entry with its trailing blank.
  ASSERT_EQ(Entries(page).size(), 11u);
  EXPECT_EQ(Entries(page)[0], u"custom (101.6 mm x 152.4 mm) ");
  EXPECT_EQ(Entries(page)[5], u"40_x_30 (40.0 mm x 30.0 mm) ");
  EXPECT_EQ(page.At(IDC_PAPER_LIST).curSel, 3);  // 4_x_6, number 121
  EXPECT_FALSE(page.IsEnabled(IDC_PAPER_EDIT));
  EXPECT_FALSE(page.IsEnabled(IDC_PAPER_DELETE));
  EXPECT_TRUE(page.GetCheck(IDC_PORTRAIT));
  EXPECT_EQ(rig.env.PictureOf(IDC_PREVIEW), 124);
  EXPECT_FALSE(rig.sheet->ApplyEnabled());

  rig.sheet->PressHelp();
  ASSERT_EQ(rig.env.helps.size(), 1u);
  EXPECT_EQ(rig.env.helps[0].context, kHelpPaper);
}

TEST(PaperPage, OrientationMirrorAndNegativeSetFeaturesAndPreview) {
  PageRig rig;
  rig.Open();
  FakeDialog& page = rig.Page();
  page.Click(IDC_LANDSCAPE_180);
  page.Click(IDC_MIRROR);
  EXPECT_EQ(rig.env.PictureOf(IDC_PREVIEW), 138);
  EXPECT_EQ(rig.live.rotate180, 1);
  EXPECT_EQ(rig.live.mirror, 1);
  EXPECT_EQ(rig.live.negative, 0);
  EXPECT_TRUE(rig.sheet->ApplyEnabled());
  page.Click(IDC_NEGATIVE);
  EXPECT_EQ(rig.env.PictureOf(IDC_PREVIEW), 139);
  page.Click(IDC_PORTRAIT);
  EXPECT_EQ(rig.env.PictureOf(IDC_PREVIEW), 127);
  page.Click(IDC_LANDSCAPE);
  EXPECT_EQ(rig.env.PictureOf(IDC_PREVIEW), 131);
  EXPECT_EQ(rig.live.rotate180, 0);

  ASSERT_TRUE(rig.sheet->ClickApply());
  EXPECT_EQ(rig.core.current["Orientation"], "LANDSCAPE_CC90");
  EXPECT_EQ(rig.core.current["ImageMirror"], "MIRROR_ON");
  EXPECT_EQ(rig.core.current["ImageNegative"], "NEGATIVE_ON");
  EXPECT_EQ(rig.env.sheetResults, (std::vector<intptr_t>{kCpsuiOk, kCpsuiOk}));

  // Coming back shows the state: the 180-degree landscape from rotate180.
  page.Click(IDC_LANDSCAPE_180);
  rig.sheet->ClickApply();
  rig.sheet->SelectTab(0);
  EXPECT_TRUE(page.GetCheck(IDC_LANDSCAPE_180));
  EXPECT_FALSE(page.GetCheck(IDC_LANDSCAPE));
  EXPECT_TRUE(page.GetCheck(IDC_MIRROR));
  EXPECT_TRUE(page.GetCheck(IDC_NEGATIVE));
  EXPECT_EQ(rig.env.PictureOf(IDC_PREVIEW), 139);
}

TEST(PaperDialog, NumberFieldsTakeFullWidthDigitsAndClampOnLeaving) {
  PageRig rig;
  rig.Open();
  std::vector<std::u16string> seen;
  rig.env.modalScripts.push_back([&](FakeDialog& d) {
    seen.push_back(d.caption);
    seen.push_back(d.At(IDC_PAPERDLG_WIDTH).text);
    seen.push_back(d.At(IDC_PAPERDLG_LENGTH).text);
    d.FocusEdit(IDC_PAPERDLG_WIDTH);
    for (const char16_t* typed : {u"１", u"1２", u"12．", u"12.５"}) d.Type(IDC_PAPERDLG_WIDTH, typed);
    seen.push_back(d.At(IDC_PAPERDLG_WIDTH).text);
    d.FocusEdit(IDC_PAPERDLG_LENGTH);
    seen.push_back(d.At(IDC_PAPERDLG_WIDTH).text);
    d.Type(IDC_PAPERDLG_LENGTH, u"2000");
    d.FocusEdit(IDC_PAPERDLG_WIDTH);
    seen.push_back(d.At(IDC_PAPERDLG_LENGTH).text);
    d.Type(IDC_PAPERDLG_WIDTH, u"12.5");
    d.FocusEdit(IDC_PAPERDLG_LENGTH);
    d.Type(IDC_PAPERDLG_LENGTH, u"12.5");
    d.FocusEdit(IDC_PAPERDLG_NAME);
    seen.push_back(d.At(IDC_PAPERDLG_LENGTH).text);
    d.FocusEdit(IDC_PAPERDLG_LENGTH);
    seen.push_back(d.At(IDC_PAPERDLG_LENGTH).text);
    d.At(IDC_PAPERDLG_WIDTH).text = u"0.00 mm";
    d.FocusEdit(IDC_PAPERDLG_WIDTH);
    seen.push_back(d.At(IDC_PAPERDLG_WIDTH).text);
    seen.push_back(d.At(IDC_PAPERDLG_NAME).limit == 31 ? u"31" : u"other");
  });
  rig.Page().Click(IDC_PAPER_NEW);
  ASSERT_EQ(seen.size(), 10u);
  EXPECT_EQ(seen[0], rig.Text(IDS_NEW_PAPER_TITLE));
  EXPECT_EQ(seen[1], u"56.00 mm");
  EXPECT_EQ(seen[2], u"152.40 mm");
  EXPECT_EQ(seen[3], u"12.5");        // typed full-width, shown half-width
  EXPECT_EQ(seen[4], u"25.00 mm");    // below the minimum width
  EXPECT_EQ(seen[5], u"1778.00 mm");  // above the maximum length
  EXPECT_EQ(seen[6], u"12.50 mm");
  EXPECT_EQ(seen[7], u"12.50");       // the focus shows the value without unit
  EXPECT_EQ(seen[8], u"");            // ... and nothing for 0
  EXPECT_EQ(seen[9], u"31");
  EXPECT_EQ(rig.env.modalResults, std::vector<intptr_t>{kPaperDialogCancelled});
}

TEST(PaperDialog, EmptyAndTakenNamesKeepTheDialogOpenWithTheirMessage) {
  PageRig rig;
  rig.Open();
  rig.env.modalScripts.push_back([](FakeDialog& d) {
    d.Click(IDC_PAPERDLG_OK);                // no name
    d.Type(IDC_PAPERDLG_NAME, u"4_x_6");     // a built-in's name
    d.Click(IDC_PAPERDLG_OK);
    d.Type(IDC_PAPERDLG_NAME, u"4_X_6");     // names differ by case
    d.Click(IDC_PAPERDLG_OK);
  });
  rig.Page().Click(IDC_PAPER_NEW);
  ASSERT_EQ(rig.env.messages.size(), 2u);
  EXPECT_EQ(rig.env.messages[0].text, rig.Text(IDS_PAPER_NAME_EMPTY));
  EXPECT_EQ(rig.env.messages[1].text, rig.Text(IDS_PAPER_NAME_EXISTS));
  EXPECT_EQ(rig.env.messages[1].caption, rig.Text(IDS_HINT_CAPTION));
  EXPECT_EQ(rig.env.messages[1].type, kMbOkOnly);
  EXPECT_EQ(rig.env.modalResults, std::vector<intptr_t>{145});
  // The new size is listed and chosen, and may be edited and deleted.
  FakeDialog& page = rig.Page();
  EXPECT_EQ(page.ComboGetItemText(IDC_PAPER_LIST, page.At(IDC_PAPER_LIST).curSel),
            u"4_X_6 (56.0 mm x 152.4 mm) ");
  EXPECT_EQ(rig.live.paperId, 145);
  EXPECT_TRUE(page.IsEnabled(IDC_PAPER_EDIT));
  EXPECT_TRUE(page.IsEnabled(IDC_PAPER_DELETE));

  // Editing: the record's values shown, a name of another record refused,
  // its own name accepted.
  std::vector<std::u16string> shown;
  rig.env.modalScripts.push_back([&](FakeDialog& d) {
    shown = {d.caption, d.At(IDC_PAPERDLG_NAME).text, d.At(IDC_PAPERDLG_WIDTH).text};
    d.Type(IDC_PAPERDLG_NAME, u"custom");
    d.Click(IDC_PAPERDLG_OK);
    d.Type(IDC_PAPERDLG_NAME, u"4_X_6");
    d.FocusEdit(IDC_PAPERDLG_WIDTH);
    d.Type(IDC_PAPERDLG_WIDTH, u"70");
    d.Click(IDC_PAPERDLG_OK);  // the field still has the focus
  });
  page.Click(IDC_PAPER_EDIT);
  EXPECT_EQ(shown, (std::vector<std::u16string>{rig.Text(IDS_EDIT_PAPER_TITLE), u"4_X_6", u"56.00 mm"}));
  EXPECT_EQ(rig.env.messages.size(), 3u);
  EXPECT_EQ(rig.env.modalResults.back(), 145);
  EXPECT_EQ(page.ComboGetItemText(IDC_PAPER_LIST, page.At(IDC_PAPER_LIST).curSel),
            u"4_X_6 (70.0 mm x 152.4 mm) ");
}

TEST(PaperPage, DeletingTheSelectedRecordSelectsTheOneInItsPlaceOrTheNewLast) {
  PageRig rig;
  rig.Open();
  FakeDialog& page = rig.Page();
  rig.env.modalScripts.push_back(MakePaper(u"5_x_5", u"50", u"50"));
  page.Click(IDC_PAPER_NEW);
  ASSERT_EQ(rig.live.paperId, 145);
  const int at = page.At(IDC_PAPER_LIST).curSel;
  ASSERT_TRUE(page.Click(IDC_PAPER_DELETE));
  EXPECT_EQ(page.At(IDC_PAPER_LIST).curSel, at);
  EXPECT_EQ(page.ComboGetItemText(IDC_PAPER_LIST, at), u"60_x_40 (60.0 mm x 40.0 mm) ");
  EXPECT_EQ(rig.live.paperId, 141);
  EXPECT_FALSE(page.IsEnabled(IDC_PAPER_DELETE));  // a built-in now

  // The last one: the new last is chosen.
  rig.env.modalScripts.push_back(MakePaper(u"zebra", u"50", u"50"));
  page.Click(IDC_PAPER_NEW);
  ASSERT_TRUE(page.Click(IDC_PAPER_DELETE));
  EXPECT_EQ(page.At(IDC_PAPER_LIST).curSel, 10);
  EXPECT_EQ(rig.live.paperId, 143);  // 80_x_60
}

TEST(PaperPage, ApplyWritesThePublicPaperAndSavesTheStore) {
  PageRig rig;
  rig.Open();
  FakeDialog& page = rig.Page();
  rig.env.modalScripts.push_back(MakePaper(u"Shipping", u"１００．２５", u"2000"));
  page.Click(IDC_PAPER_NEW);
  rig.live.collate = 0;  // as the Print parameters page sets it
  rig.publicDm.dmFields = DM_FORMNAME | DM_PAPERLENGTH;
  ASSERT_TRUE(rig.sheet->ClickApply());
  EXPECT_EQ(rig.publicDm.dmPaperSize, 145);
  EXPECT_EQ(rig.publicDm.dmFields, static_cast<DWORD>(DM_PAPERSIZE | DM_FORMNAME | DM_COLLATE));
  EXPECT_EQ(rig.publicDm.dmPaperWidth, 1003);
  EXPECT_EQ(rig.publicDm.dmPaperLength, 17780);
  EXPECT_EQ(FormName(rig.publicDm), u"Shipping");
  EXPECT_EQ(rig.publicDm.dmCollate, 0);
  ASSERT_TRUE(rig.world.Data(u"papersdata"));
  EXPECT_EQ(rig.world.Data(u"papersdata")->size(), 12u * 124);
  EXPECT_EQ(rig.live.paperId, 145);
  EXPECT_EQ(rig.env.sheetResults.size(), 2u);

  // The user size (256) keeps DM_PAPERSIZE; its name and size go along.
  page.SelectCombo(IDC_PAPER_LIST, 0);
  ASSERT_TRUE(rig.sheet->ClickApply());
  EXPECT_EQ(rig.publicDm.dmPaperSize, 256);
  EXPECT_EQ(rig.publicDm.dmFields & (DM_PAPERSIZE | DM_PAPERWIDTH | DM_FORMNAME),
            static_cast<DWORD>(DM_PAPERSIZE | DM_FORMNAME));
  EXPECT_EQ(rig.publicDm.dmPaperWidth, 1016);

  // A sheet that refuses the result leaves the public DEVMODE as it was.
  page.SelectCombo(IDC_PAPER_LIST, 1);
  rig.env.sheetAnswer = kSheetResultFailed;
  EXPECT_FALSE(rig.sheet->ClickApply());
  EXPECT_EQ(rig.publicDm.dmPaperSize, 256);
}

// The user is told, and the size stays listed while the sheet is open.
TEST(PaperPage, ASaveThatFailsIsTracedAndDoesNotFailTheApply) {
  PageRig rig;
  rig.world.machine.files.AddFile(u"C:\\ProgramData\\ZORVIKA", "not a folder");
  rig.world.machine.spooler.callerIsAdmin = false;
  rig.Open();
  rig.env.modalScripts.push_back(MakePaper(u"Shipping", u"60", u"40"));
  rig.Page().Click(IDC_PAPER_NEW);
  EXPECT_TRUE(rig.sheet->ClickApply());
  EXPECT_EQ(rig.publicDm.dmPaperSize, 145);
  const auto& lines = rig.world.process->debug.lines;
  EXPECT_NE(std::find(lines.begin(), lines.end(), u"SavePaper Fail"), lines.end());
  ASSERT_EQ(rig.env.messages.size(), 1u);
  EXPECT_EQ(rig.env.messages[0].text, rig.Text(IDS_PAPER_NOT_SAVED));
  EXPECT_EQ(rig.env.messages[0].caption, rig.Text(IDS_HINT_CAPTION));
  EXPECT_EQ(Entries(rig.Page()).size(), 12u);
  EXPECT_TRUE(rig.sheet->ClickApply());  // tried again, told again
  EXPECT_EQ(rig.env.messages.size(), 2u);
}

TEST(PaperPage, TwoPrintersInOneProcessListAndSaveTheirOwnSizes) {
  PageRig rig;
  rig.Open(test::kPrinter);
  rig.env.modalScripts.push_back(MakePaper(u"only on A", u"60", u"40"));
  rig.Page().Click(IDC_PAPER_NEW);
  ASSERT_TRUE(rig.sheet->ClickOk());

  rig.Open(test::kOtherPrinter);
  EXPECT_EQ(Entries(rig.Page()).size(), 11u);
  rig.env.modalScripts.push_back(MakePaper(u"only on B", u"70", u"50"));
  rig.Page().Click(IDC_PAPER_NEW);
  EXPECT_EQ(rig.live.paperId, 145);  // numbered within B's own list
  ASSERT_TRUE(rig.sheet->ClickOk());
  EXPECT_EQ(rig.world.Data(u"papersdata", test::kPrinter)->size(), 12u * 124);
  EXPECT_EQ(rig.world.Data(u"papersdata", test::kOtherPrinter)->size(), 12u * 124);

  rig.Open(test::kPrinter);
  EXPECT_EQ(Entries(rig.Page()).back(), u"only on A (60.0 mm x 40.0 mm) ");
  rig.NewProcess();
  rig.Open(test::kOtherPrinter);
  EXPECT_EQ(Entries(rig.Page()).back(), u"only on B (70.0 mm x 50.0 mm) ");
}

int EntryOf(FakeDialog& page, const std::u16string& name) {
  const auto entries = Entries(page);
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries[i].compare(0, name.size() + 2, name + u" (") == 0) return static_cast<int>(i);
  return -1;
}

// Two sheets of one printer in one process, each list filled before the
// other changed the store: Delete, Edit and Apply act on the paper the entry
// shows, one already gone does nothing, and activation refills the list.
TEST(PaperPage, TwoSheetsOfOnePrinterActOnThePaperShownNotOnItsPosition) {
  PageRig rig;
  rig.Open(test::kPrinter);
  OtherSheet other;
  ASSERT_EQ(5, rig.OpenOther(other, test::kPrinter).added);
  FakeDialog& a = rig.Page();
  FakeDialog& b = other.sheet->Current();
  rig.env.modalScripts.push_back(MakePaper(u"mine A", u"60", u"40"));
  ASSERT_TRUE(a.Click(IDC_PAPER_NEW));
  rig.env.modalScripts.push_back(MakePaper(u"b paper", u"70", u"50"));
  ASSERT_TRUE(b.Click(IDC_PAPER_NEW));  // sorts before "mine A" in the store
  ASSERT_EQ(other.live.paperId, 146);

  ASSERT_GE(EntryOf(a, u"mine A"), 0);
  ASSERT_EQ(EntryOf(a, u"b paper"), -1);  // A's list is as it was filled
  ASSERT_TRUE(a.SelectCombo(IDC_PAPER_LIST, EntryOf(a, u"mine A")));
  ASSERT_TRUE(a.Click(IDC_PAPER_DELETE));
  {
    PaperLock hold = LockPapers(*rig.papers);
    PaperStore& store = OpenPaperStore(*rig.papers, test::kPrinter);
    EXPECT_FALSE(FindPaperByName(store, u"mine A"));
    EXPECT_TRUE(FindPaperByName(store, u"b paper"));
  }

  // B still lists "mine A": choosing it, Edit, Delete and Apply change nothing.
  const int gone = EntryOf(b, u"mine A");
  ASSERT_GE(gone, 0);
  ASSERT_TRUE(b.SelectCombo(IDC_PAPER_LIST, gone));
  EXPECT_EQ(other.live.paperId, 146);
  EXPECT_FALSE(b.IsEnabled(IDC_PAPER_DELETE));
  EXPECT_FALSE(b.Click(IDC_PAPER_EDIT));
  EXPECT_FALSE(b.Click(IDC_PAPER_DELETE));
  EXPECT_TRUE(rig.env.modalScripts.empty());
  ASSERT_TRUE(other.sheet->ClickApply());
  EXPECT_EQ(other.publicDm.dmPaperSize, 146);
  EXPECT_EQ(FormName(other.publicDm), u"b paper");

  // Activation refills: A now lists B's paper, B no longer lists the gone one.
  other.Tab(1);
  other.Tab(0);
  EXPECT_EQ(EntryOf(other.sheet->Current(), u"mine A"), -1);
  rig.sheet->SelectTab(1);
  rig.sheet->SelectTab(0);
  EXPECT_GE(EntryOf(rig.Page(), u"b paper"), 0);
  EXPECT_EQ(Entries(rig.Page()).size(), 12u);
}

// 111 user sizes fill the numbers 145 to 255: the 112th New says so instead
// of opening the dialog, also when another sheet took the last number while
// the dialog was open, and a deleted size's number is used again.
TEST(PaperPage, The112thPaperIsToldNoNumberIsLeftAndDeletedNumbersAreUsedAgain) {
  PageRig rig;
  rig.Open();
  FakeDialog& page = rig.Page();
  auto addDirectly = [&rig](int count) {
    PaperLock hold = LockPapers(*rig.papers);
    PaperStore& store = OpenPaperStore(*rig.papers, test::kPrinter);
    for (int i = 0; i < count; ++i) {
      std::u16string name = u"label ";
      for (char ch : std::to_string(store.count())) name.push_back(static_cast<char16_t>(ch));
      ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), name, 50, 30, false)));
    }
  };
  addDirectly(109);
  rig.env.modalScripts.push_back(MakePaper(u"the 110th", u"60", u"40"));
  ASSERT_TRUE(page.Click(IDC_PAPER_NEW));
  EXPECT_EQ(rig.live.paperId, 254);

  // The dialog is open when another sheet takes 255.
  rig.env.modalScripts.push_back([&](FakeDialog& d) {
    addDirectly(1);
    MakePaper(u"one too many", u"60", u"40")(d);
  });
  ASSERT_TRUE(page.Click(IDC_PAPER_NEW));
  ASSERT_EQ(rig.env.messages.size(), 1u);
  EXPECT_EQ(rig.env.messages[0].text, rig.Text(IDS_PAPER_NUMBERS_USED));
  EXPECT_EQ(rig.live.paperId, 254);

  const size_t dialogs = rig.env.modalTemplates.size();
  ASSERT_TRUE(page.Click(IDC_PAPER_NEW));
  EXPECT_EQ(rig.env.modalTemplates.size(), dialogs);  // no dialog for nothing
  ASSERT_EQ(rig.env.messages.size(), 2u);
  EXPECT_EQ(rig.env.messages[1].text, rig.Text(IDS_PAPER_NUMBERS_USED));
  EXPECT_EQ(rig.env.messages[1].caption, rig.Text(IDS_HINT_CAPTION));

  ASSERT_TRUE(page.SelectCombo(IDC_PAPER_LIST, EntryOf(page, u"label 50")));
  const int16_t freed = rig.live.paperId;
  ASSERT_TRUE(page.Click(IDC_PAPER_DELETE));
  rig.env.modalScripts.push_back(MakePaper(u"in a freed place", u"60", u"40"));
  ASSERT_TRUE(page.Click(IDC_PAPER_NEW));
  EXPECT_EQ(rig.live.paperId, freed);
  EXPECT_EQ(Entries(page).size(), 11u + 111u);
}

TEST(PaperPage, CancelKeepsANewSizeForThisProcessOnlyUntilAnApplySavesIt) {
  PageRig rig;
  rig.Open();
  rig.env.modalScripts.push_back(MakePaper(u"Shipping", u"60", u"40"));
  rig.Page().Click(IDC_PAPER_NEW);
  EXPECT_TRUE(rig.sheet->ApplyEnabled());
  rig.sheet->ClickCancel();
  EXPECT_EQ(rig.heap.allocated, rig.heap.freed);

  rig.Open();
  EXPECT_EQ(Entries(rig.Page()).size(), 12u);
  EXPECT_FALSE(rig.sheet->ApplyEnabled());  // the store is no longer dirty
  EXPECT_FALSE(rig.world.Data(u"papersdata"));
  rig.sheet->ClickCancel();

  rig.NewProcess();
  rig.Open();
  EXPECT_EQ(Entries(rig.Page()).size(), 11u);

  // Made again and applied: a later process lists it.
  rig.env.modalScripts.push_back(MakePaper(u"Shipping", u"60", u"40"));
  rig.Page().Click(IDC_PAPER_NEW);
  rig.sheet->ClickOk();
  rig.NewProcess();
  rig.Open();
  EXPECT_EQ(Entries(rig.Page()).size(), 12u);
  EXPECT_EQ(Entries(rig.Page()).back(), u"Shipping (60.0 mm x 40.0 mm) ");
}

}  // namespace
}  // namespace lx::testing
