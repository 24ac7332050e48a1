// The in-memory binding builds pages from the resource scripts; these checks
// make sure it reads them as windres does.
#include <set>

#include <gtest/gtest.h>

#include "installer/core/resource_ids.h"
#include "installer/core/ui_language.h"
#include "installer/wizard/tests/wizard_fixture.h"

namespace lx {
namespace {

TEST(RcReader, EveryPageTemplateHasItsControls) {
  const std::map<int, size_t> counts = {{129, 2},  {132, 8},  {136, 7},  {137, 3},  {138, 3},
                                        {140, 14}, {141, 10}, {142, 4},  {143, 6},  {144, 7},
                                        {145, 7},  {146, 5},  {147, 6}};
  for (const auto& [id, count] : counts) {
    const DialogTemplate* t = PageScripts().Dialog(id);
    ASSERT_NE(t, nullptr) << id;
    EXPECT_EQ(t->controls.size(), count) << "template " << id;
    EXPECT_EQ(t->width, 320);
    EXPECT_EQ(t->height, 250);
  }
}

TEST(RcReader, ControlKindsComeFromClassAndStyle) {
  auto kindOf = [](int dialog, int control) {
    for (const auto& c : PageScripts().Dialog(dialog)->controls)
      if (c.id == control) return c.kind;
    return ControlKind::kOther;
  };
  EXPECT_EQ(kindOf(IDD_STEP_INIT, IDC_LANGUAGE_COMBO), ControlKind::kComboBox);
  EXPECT_EQ(kindOf(IDD_STEP_MAIN, IDC_PRIVACY_VIEW), ControlKind::kRichEdit);
  EXPECT_EQ(kindOf(IDD_STEP_MAIN, IDC_AGREE_CHECK), ControlKind::kCheckBox);
  EXPECT_EQ(kindOf(IDD_STEP_MAIN, IDC_LICENCE_LINK), ControlKind::kLink);
  EXPECT_EQ(kindOf(IDD_STEP_MAIN, IDC_WELCOME_PICTURE), ControlKind::kPicture);
  EXPECT_EQ(kindOf(IDD_STEP_INSTALLER_TYPE, IDC_USB_INSTALL), ControlKind::kButton);
  EXPECT_EQ(kindOf(IDD_STEP_INSTALLER_TYPE, IDC_LOGO), ControlKind::kPicture);  // from a macro
  EXPECT_EQ(kindOf(IDD_STEP_INSTALLING, IDC_INSTALL_PROGRESS), ControlKind::kProgressBar);
  EXPECT_EQ(kindOf(IDD_STEP_SELECT_PORT, IDC_PORT_LIST), ControlKind::kListView);
  EXPECT_EQ(kindOf(IDD_STEP_SELECT_PORT, IDC_PRINTER_NAME_EDIT), ControlKind::kEdit);
  EXPECT_EQ(kindOf(IDD_STEP_PRINTER_ACCESSORIES, IDC_ACCESSORY_NONE), ControlKind::kRadioButton);

  const ControlTemplate* portDrivers = nullptr;
  for (const auto& c : PageScripts().Dialog(IDD_STEP_SELECT_PORT)->controls)
    if (c.id == IDC_DRIVER_COMBO) portDrivers = &c;
  ASSERT_NE(portDrivers, nullptr);
  EXPECT_TRUE(portDrivers->sorted);
  EXPECT_EQ(portDrivers->dialogUnits, (Rect{129, 54, 129 + 152, 54 + 30}));
}

TEST(RcReader, CaptionsAreDecodedFromUtf8) {
  for (const auto& c : PageScripts().Dialog(IDD_STEP_INIT)->controls)
    if (c.id == IDC_LANGUAGE_LABEL) EXPECT_EQ(c.text, u"\u9009\u62E9\u8BED\u8A00");
  for (const auto& c : PageScripts().Dialog(IDD_STEP_INSTALLER_TYPE)->controls)
    if (c.id == IDC_INSTALL_TYPE_HEADING) EXPECT_NE(c.text.find(u"\r\n    "), std::u16string::npos);
}

TEST(RcReader, EveryLanguageHoldsEveryWizardString) {
  const std::set<unsigned> unused = {160, 170, 191};
  for (const auto& row : UiLanguageTable) {
    const auto& table = StringsOf(row.suffix);
    for (unsigned id = 135; id <= IDS_PROTECTED_PRINT; ++id) {
      if (unused.count(id)) {
        EXPECT_EQ(table.count(id), 0u) << id;
        continue;
      }
      auto it = table.find(id);
      ASSERT_NE(it, table.end()) << Utf16ToUtf8(row.suffix) << " lacks " << id;
      EXPECT_FALSE(it->second.empty());
      // The outcome texts are translated, not copied from English.
      if (id >= IDS_INSTALL_FAILED && std::u16string(row.suffix) != u"enus") {
        EXPECT_NE(it->second, WizardTest::En(id)) << Utf16ToUtf8(row.suffix) << " " << id;
      }
    }
  }
}

TEST(RcReader, EscapesAndBlanksSurvive) {
  EXPECT_EQ(WizardTest::En(IDS_INSTALL_OPTIONS),
            u"Installation Options\r\n    Install or Uninstall Printer Driver");
  EXPECT_EQ(WizardTest::En(IDS_ENTER_PRINTER_IP),
            u"            Please enter the printer IP before installation");
  EXPECT_EQ(WizardTest::En(IDS_ACCESSORY_CUTTER), u"External cutter unit installed ");
  EXPECT_EQ(WizardTest::En(IDS_LICENCE_LINK), u"I agree to <a>License Agreement</a> and");
}

TEST(RcReader, BitmapsAndUnitsMatchTheScripts) {
  for (int id : {133, 134, 166, 167, 170, 171, 178, 179, 180, 181, 192, 193, 194})
    EXPECT_TRUE(PageScripts().Bitmaps().count(id)) << id;
  EXPECT_FALSE(PageScripts().Bitmaps().count(135));
  // 4 horizontal and 8 vertical dialog units are one character cell of 6 x 13.
  EXPECT_EQ(DialogUnitsToPixels({4, 8, 8, 16}), (Rect{6, 13, 12, 26}));
}

}  // namespace
}  // namespace lx
