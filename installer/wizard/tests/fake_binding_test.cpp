// The in-memory binding stands in for Windows controls; where the pages rely
// on a control's own behaviour, it must behave as the Windows one does.
#include <gtest/gtest.h>

#include "installer/core/resource_ids.h"
#include "installer/wizard/tests/wizard_fixture.h"
#include "ui/fake/fake_property_sheet.h"

namespace lx {
namespace {

class FakeBindingTest : public ::testing::Test {
 protected:
  FakeSheet sheet{PageScripts()};
  FakeDialog port{PageScripts(), nullptr, PageScripts().Dialog(IDD_STEP_SELECT_PORT)};
  FakeDialog accessories{PageScripts(), nullptr, PageScripts().Dialog(IDD_STEP_PRINTER_ACCESSORIES)};
};

TEST_F(FakeBindingTest, ComboBoxesSortAndClearLikeWindows) {
  // CBS_SORT places entries by text without regard to case.
  EXPECT_EQ(port.ComboAdd(IDC_DRIVER_COMBO, u"b"), 0);
  EXPECT_EQ(port.ComboAdd(IDC_DRIVER_COMBO, u"C"), 1);
  EXPECT_EQ(port.ComboAdd(IDC_DRIVER_COMBO, u"A"), 0);
  EXPECT_TRUE(port.ComboSetCurSel(IDC_DRIVER_COMBO, 2));
  EXPECT_EQ(port.GetText(IDC_DRIVER_COMBO), u"C");
  // An entry added before the selection moves it along.
  port.ComboAdd(IDC_DRIVER_COMBO, u"a0");
  EXPECT_EQ(port.ComboGetCurSel(IDC_DRIVER_COMBO), 3);
  // CB_SETCURSEL outside the list fails and clears the selection.
  EXPECT_FALSE(port.ComboSetCurSel(IDC_DRIVER_COMBO, 4));
  EXPECT_EQ(port.ComboGetCurSel(IDC_DRIVER_COMBO), -1);
  EXPECT_EQ(port.GetText(IDC_DRIVER_COMBO), u"");
  EXPECT_EQ(port.ComboGetItemText(IDC_DRIVER_COMBO, 9), u"");
}

TEST_F(FakeBindingTest, ListViewsKeepCellsAndSelection) {
  port.ListInsertColumn(IDC_PORT_LIST, 0, u"Port Name", 150);
  port.ListInsertColumn(IDC_PORT_LIST, 1, u"Describe", 150);
  EXPECT_EQ(port.ListInsertItem(IDC_PORT_LIST, 5, u"COM1"), 0);  // past the end: appended
  EXPECT_EQ(port.ListInsertItem(IDC_PORT_LIST, 0, u"LPT1"), 0);
  port.ListSetItemText(IDC_PORT_LIST, 1, 1, u"Serial port");
  port.ListSetItemText(IDC_PORT_LIST, 7, 1, u"nowhere");
  EXPECT_EQ(port.ListGetItemText(IDC_PORT_LIST, 1, 0), u"COM1");
  EXPECT_EQ(port.ListGetItemText(IDC_PORT_LIST, 1, 1), u"Serial port");
  EXPECT_EQ(port.ListGetItemText(IDC_PORT_LIST, 2, 0), u"");
  EXPECT_EQ(port.ListNextSelected(IDC_PORT_LIST, -1), -1);
  port.At(IDC_PORT_LIST).selected = {true, true};
  EXPECT_EQ(port.ListNextSelected(IDC_PORT_LIST, -1), 0);
  EXPECT_EQ(port.ListNextSelected(IDC_PORT_LIST, 0), 1);
  EXPECT_EQ(port.ListNextSelected(IDC_PORT_LIST, 1), -1);
}

TEST_F(FakeBindingTest, ProgressAndTrackbarPositionsStayInRange) {
  port.AddControl([] {
    FakeControl c;
    c.id = 5000;
    c.kind = ControlKind::kTrackbar;
    return c;
  }());
  port.TrackbarSetRange(5000, 1, 15);
  port.TrackbarSetPos(5000, 20);
  EXPECT_EQ(port.TrackbarGetPos(5000), 15);
  port.TrackbarSetPos(5000, -3);
  EXPECT_EQ(port.TrackbarGetPos(5000), 1);

  FakeDialog installing(PageScripts(), nullptr, PageScripts().Dialog(IDD_STEP_INSTALLING));
  installing.ProgressSetRange(IDC_INSTALL_PROGRESS, 0, 100);
  installing.ProgressSetPos(IDC_INSTALL_PROGRESS, 140);
  EXPECT_EQ(installing.At(IDC_INSTALL_PROGRESS).position, 100);
}

TEST_F(FakeBindingTest, MissingControlsAnswerNothingAndAreNoted) {
  port.SetText(9999, u"x");
  EXPECT_EQ(port.GetText(9999), u"");
  EXPECT_FALSE(port.IsVisible(9999));
  EXPECT_EQ(port.ComboAdd(9999, u"x"), -1);
  EXPECT_EQ(port.missingIds, (std::vector<int>{9999, 9999, 9999, 9999}));
  EXPECT_THROW(port.At(9999), std::out_of_range);
}

TEST_F(FakeBindingTest, PicturesTakeOnlyTheProgramsBitmaps) {
  EXPECT_TRUE(accessories.SetBitmap(IDC_ACCESSORY_PICTURE, IDB_ACCESSORY_NONE));
  EXPECT_TRUE(accessories.SetBitmap(IDC_ACCESSORY_PICTURE, IDB_ACCESSORY_CUTTER));
  EXPECT_EQ(accessories.At(IDC_ACCESSORY_PICTURE).bitmapsReleased, 1);
  // A bitmap the program does not hold leaves the picture as it was.
  EXPECT_FALSE(accessories.SetBitmap(IDC_ACCESSORY_PICTURE, 999));
  EXPECT_EQ(accessories.At(IDC_ACCESSORY_PICTURE).bitmap, IDB_ACCESSORY_CUTTER);
}

// A page that records what reaches it.
class RecordingPage : public IPropertyPage {
 public:
  int TemplateId() const override { return IDD_STEP_PRINTER_ACCESSORIES; }
  void OnInitDialog(IDialogView& v) override { view = &v; }
  bool IsBuilt() const override { return view != nullptr; }
  void OnSetActive() override { ++activations; }
  void OnCommand(int id, int code) override { commands.push_back(id); }
  void OnMessage(unsigned message, uintptr_t, intptr_t) override { messages.push_back(message); }
  IDialogView* view = nullptr;
  int activations = 0;
  std::vector<int> commands;
  std::vector<unsigned> messages;
};

class RecordingSheet : public ISheetEvents {
 public:
  void OnInitDialog() override {}
  void OnWizardNext() override {}
  void OnWizardBack() override {}
  void OnCancel() override {}
  void OnSheetMessage(unsigned message, uintptr_t, intptr_t) override { messages.push_back(message); }
  ControlColors CtlColor(int, ControlKind) const override { return {}; }
  std::vector<unsigned> messages;
};

TEST_F(FakeBindingTest, UserActionsReachTheShownPageOnly) {
  RecordingPage page, other;
  RecordingSheet events;
  sheet.AddPage(page);
  sheet.RunModal(events, page);
  EXPECT_EQ(page.activations, 1);
  // A page outside the list cannot be selected.
  sheet.SetCurrentPage(other);
  EXPECT_EQ(sheet.failedSelections, 1);
  EXPECT_FALSE(other.IsBuilt());

  // Radio buttons of one group untick each other.
  ASSERT_TRUE(sheet.Click(IDC_ACCESSORY_PEELER));
  ASSERT_TRUE(sheet.Click(IDC_ACCESSORY_CUTTER));
  EXPECT_FALSE(page.view->GetCheck(IDC_ACCESSORY_PEELER));
  EXPECT_TRUE(page.view->GetCheck(IDC_ACCESSORY_CUTTER));
  page.view->Enable(IDC_ACCESSORY_NONE, false);
  EXPECT_FALSE(sheet.Click(IDC_ACCESSORY_NONE));
  EXPECT_EQ(page.commands, (std::vector<int>{IDC_ACCESSORY_PEELER, IDC_ACCESSORY_CUTTER}));

  // Posted messages arrive in order; after the end they are lost.
  page.view->PostToWindow(kWmUser + 500, 0, 0);
  sheet.PostSheetMessage(kWmUser + 700);
  EXPECT_EQ(sheet.DeliverPosted(), 2);
  EXPECT_EQ(page.messages, (std::vector<unsigned>{kWmUser + 500}));
  EXPECT_EQ(events.messages, (std::vector<unsigned>{kWmUser + 700}));
  sheet.EndWizard();
  sheet.PostSheetMessage(kWmUser + 701);
  sheet.DeliverPosted();
  EXPECT_EQ(events.messages.size(), 1u);
  EXPECT_FALSE(sheet.Click(IDC_ACCESSORY_PEELER));
}

// A page of the printing preferences as the common property sheet sees it.
struct PrefsPage : IPropertyPage {
  explicit PrefsPage(int templateId) : templateId(templateId) {}
  int TemplateId() const override { return templateId; }
  void OnInitDialog(IDialogView& v) override {
    view = &v;
    events += "init ";
  }
  bool IsBuilt() const override { return view != nullptr; }
  void OnSetActive() override { events += "active "; }
  bool OnKillActive() override { return keepActive; }
  intptr_t OnApply() override {
    events += "apply ";
    return applyAnswer;
  }
  void OnReset() override { events += "reset "; }
  void OnEditFocus(int id, bool gained) override { events += gained ? "focus " : "blur "; }
  bool OnPageCreate() override { return create; }
  void OnPageRelease() override { events += "release "; }
  int templateId;
  IDialogView* view = nullptr;
  std::string events;
  bool keepActive = false, create = true;
  intptr_t applyAnswer = kPsnretNoError;
};

TEST_F(FakeBindingTest, CommonSheetRunsItsPagesAsWindowsDoes) {
  PrefsPage port(IDD_STEP_SELECT_PORT), finish(IDD_STEP_FINISH), refused(IDD_STEP_INIT);
  refused.create = false;
  {
    FakePropertySheet prefs(PageScripts());
    EXPECT_TRUE(prefs.AddPage(port));
    EXPECT_FALSE(prefs.AddPage(refused));  // its callback said no: no page, no window
    EXPECT_TRUE(prefs.AddPage(finish));
    EXPECT_EQ(prefs.PageCount(), 2);
    EXPECT_EQ(port.events, "init active ");  // the sheet opens on its first page
    EXPECT_FALSE(finish.IsBuilt());

    // Invalid input keeps the page; then the other tab is built on its first showing.
    port.keepActive = true;
    EXPECT_FALSE(prefs.SelectTab(1));
    EXPECT_EQ(prefs.CurrentPage(), &port);
    port.keepActive = false;
    EXPECT_TRUE(prefs.SelectTab(1));
    EXPECT_TRUE(prefs.SelectTab(0));
    EXPECT_TRUE(prefs.SelectTab(1));
    EXPECT_EQ(finish.events, "init active active ");

    // Edit focus reaches the page; a change enables Apply until every page applied.
    prefs.SelectTab(0);
    EXPECT_TRUE(prefs.Current().FocusEdit(IDC_PRINTER_NAME_EDIT));
    EXPECT_FALSE(prefs.Current().FocusEdit(IDC_PORT_LIST));  // not an edit field
    port.view->SheetChanged(true);
    EXPECT_TRUE(prefs.ApplyEnabled());
    finish.applyAnswer = kPsnretInvalid;
    EXPECT_FALSE(prefs.ClickApply());
    finish.applyAnswer = kPsnretNoError;
    EXPECT_TRUE(prefs.ClickApply());
    EXPECT_FALSE(prefs.ApplyEnabled());
    EXPECT_EQ(port.events, "init active active active focus apply apply ");

    // Cancel resets the built pages and the sheet releases every page it holds.
    prefs.ClickCancel();
    EXPECT_TRUE(prefs.closed);
    EXPECT_FALSE(prefs.SelectTab(0));
  }
  EXPECT_EQ(port.events, "init active active active focus apply apply reset release ");
  EXPECT_EQ(finish.events, "init active active apply apply reset release ");
  EXPECT_EQ(refused.events, "");
}

}  // namespace
}  // namespace lx
