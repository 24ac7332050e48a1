// The language page and the three welcome pages: the languages offered, the
// documents and texts of the chosen language, the page font, the links.
#include <gtest/gtest.h>

#include "installer/core/resource_ids.h"
#include "installer/pages/step_main.h"
#include "installer/wizard/tests/wizard_fixture.h"

namespace lx {
namespace {

const UiLanguage& Row(int id) { return UiLanguageTable[id]; }

class WelcomeTest : public WizardTest {
 protected:
  void Start(const std::string& languages, const std::string& install = "") {
    WriteConfig("[Language]\r\n" + languages + "[Install]\r\n" + install);
    StartWizard();
  }
  std::vector<std::u16string> Offered() { return page().At(IDC_LANGUAGE_COMBO).items; }
  void Choose(const std::u16string& displayName) {
    const auto& items = Offered();
    for (size_t i = 0; i < items.size(); ++i)
      if (items[i] == displayName) ASSERT_TRUE(view.SelectCombo(IDC_LANGUAGE_COMBO, static_cast<int>(i)));
  }
};

TEST_F(WelcomeTest, OffersTheConfiguredLanguagesAndSelectsTheUsersOne) {
  for (int id : {0, 1}) AddDocuments(Row(id));
  Start("zhcn\r\nenus\r\n");
  EXPECT_EQ(Offered(), (std::vector<std::u16string>{u"\u4E2D\u6587", u"English"}));
  EXPECT_EQ(page().ComboGetCurSel(IDC_LANGUAGE_COMBO), 1);  // the user's 1033
  Choose(u"\u4E2D\u6587");
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(sheet().selectedLanguage, 1);
  EXPECT_EQ(g_lang, 1);
  // The welcome page speaks Chinese and shows the Chinese documents.
  EXPECT_EQ(page().GetText(IDC_WELCOME_TEXT), In(u"zhcn", IDS_WELCOME));
  EXPECT_EQ(page().GetText(IDC_LICENCE_LINK), In(u"zhcn", IDS_LICENCE_LINK));
  EXPECT_EQ(view.ButtonText(kIdWizBack), In(u"zhcn", IDS_BACK));
  EXPECT_EQ(page().At(IDC_MAIN_LICENCE_VIEW).rtf, DocumentText(Row(1), true));
  EXPECT_EQ(page().At(IDC_PRIVACY_VIEW).rtf, DocumentText(Row(1), false));
  EXPECT_EQ(process->system.GetThreadUILanguage(), 2052);

  // Back, English, Next: texts and documents follow.
  ASSERT_TRUE(view.ClickBack());
  EXPECT_EQ(page().ComboGetCurSel(IDC_LANGUAGE_COMBO), 0);  // the choice is kept
  Choose(u"English");
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(page().GetText(IDC_WELCOME_TEXT), En(IDS_WELCOME));
  EXPECT_EQ(page().At(IDC_PRIVACY_VIEW).rtf, DocumentText(Row(0), false));
  EXPECT_EQ(g_lang, 0);
}

TEST_F(WelcomeTest, EveryLanguageBringsItsOwnTextsAndDocuments) {
  std::string all;
  for (const auto& row : UiLanguageTable) {
    all += Utf16ToUtf8(row.suffix) + "\r\n";
    AddDocuments(row);
  }
  Start(all);
  ASSERT_EQ(Offered().size(), UiLanguageTable.size());
  for (const auto& row : UiLanguageTable) {
    std::string name = Utf16ToUtf8(row.suffix);
    Choose(row.displayName);
    ASSERT_TRUE(view.ClickNext()) << name;
    EXPECT_EQ(g_lang, row.languageId) << name;
    EXPECT_EQ(process->system.GetThreadUILanguage(), row.WindowsLangId()) << name;
    EXPECT_EQ(page().GetText(IDC_WELCOME_TEXT), In(row.suffix, IDS_WELCOME)) << name;
    EXPECT_EQ(page().GetText(IDC_PRIVACY_LINK), In(row.suffix, IDS_PRIVACY_LINK)) << name;
    EXPECT_EQ(view.ButtonText(kIdWizNext), In(row.suffix, IDS_NEXT)) << name;
    EXPECT_EQ(view.ButtonText(kIdCancel), In(row.suffix, IDS_EXIT)) << name;
    EXPECT_EQ(page().At(IDC_PRIVACY_VIEW).rtf, DocumentText(row, false)) << name;
    EXPECT_EQ(page().At(IDC_MAIN_LICENCE_VIEW).rtf, DocumentText(row, true)) << name;
    ASSERT_TRUE(view.ClickBack()) << name;
    // The language page now speaks the chosen language too.
    EXPECT_EQ(page().GetText(IDC_LANGUAGE_LABEL), In(row.suffix, IDS_SELECT_LANGUAGE)) << name;
  }
}

TEST_F(WelcomeTest, UserLanguageNotOfferedLeavesNoSelection) {
  machine.userUiLanguage = 1031;
  process->system.userUiLanguage = 1031;
  Start("enus\r\nru\r\n");
  EXPECT_EQ(page().ComboGetCurSel(IDC_LANGUAGE_COMBO), -1);
  // Row 11 is in force: the page speaks German.
  EXPECT_EQ(page().GetText(IDC_LANGUAGE_LABEL), In(u"de", IDS_SELECT_LANGUAGE));
  EXPECT_EQ(view.ButtonText(kIdCancel), In(u"de", IDS_EXIT));
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(sheet().selectedLanguage, 0);
  EXPECT_EQ(page().GetText(IDC_WELCOME_TEXT), En(IDS_WELCOME));
}

TEST_F(WelcomeTest, UnknownLanguageCodesOfferEnglishAndChinese) {
  for (const char* section : {"xx\r\nEN-US\r\n", "", "   \r\n"}) {
    WizardRig rig;
    rig.WriteConfig(std::string("[Language]\r\n") + section);
    rig.StartWizard();
    EXPECT_EQ(rig.view.Current().At(IDC_LANGUAGE_COMBO).items,
              (std::vector<std::u16string>{u"English", u"\u4E2D\u6587"}))
        << section;
    EXPECT_EQ(rig.view.Current().ComboGetCurSel(IDC_LANGUAGE_COMBO), 0);
  }
}

TEST_F(WelcomeTest, RussianGivesLaterPagesTheirOwnFont) {
  Start("enus\r\nru\r\n");
  Choose(u"\u0420\u0443\u0441\u0441\u043A\u0438\u0439");
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(page().fontFace, u"Times New Roman");
  EXPECT_EQ(page().fontTenths, 82);
  EXPECT_EQ(page().GetText(IDC_WELCOME_TEXT), In(u"ru", IDS_WELCOME));
  // The language page was built before the choice and keeps its font.
  FakeDialog* languagePage = view.ViewOf(sheet().init);
  EXPECT_EQ(languagePage->fontFace, u"MS Shell Dlg");
  EXPECT_EQ(languagePage->fontTenths, 72);
  EXPECT_EQ(languagePage->fontsCreated, 1);
}

TEST_F(WelcomeTest, MissingOrUnreadableDocumentsLeaveThePageUsable) {
  AddDocuments(Row(0));
  machine.files.SetUnreadable(std::u16string(kSetupFolder) + u"\\English\\licence.rtf", true);
  Start("enus\r\nde\r\n");
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(page().At(IDC_MAIN_LICENCE_VIEW).rtf, "");
  EXPECT_EQ(page().At(IDC_PRIVACY_VIEW).rtf, DocumentText(Row(0), false));
  ASSERT_TRUE(view.ClickLink(IDC_LICENCE_LINK));
  ASSERT_TRUE(view.Click(IDC_AGREE_CHECK));

  // German has no documents at all: its views are empty, not the English ones.
  ASSERT_TRUE(view.ClickBack());
  Choose(u"Germany");
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(page().At(IDC_MAIN_LICENCE_VIEW).rtf, "");
  EXPECT_EQ(page().At(IDC_PRIVACY_VIEW).rtf, "");
  EXPECT_EQ(page().GetText(IDC_WELCOME_TEXT), In(u"de", IDS_WELCOME));
  ASSERT_TRUE(view.ClickNext());
  EXPECT_EQ(view.CurrentPage(), &sheet().installerType);
}

TEST_F(WelcomeTest, LinksSwitchTheDocumentInView) {
  AddDocuments(Row(0));
  Start("enus\r\n");
  ASSERT_TRUE(view.ClickNext());
  // The unused third view of this template is hidden; the privacy policy is on top.
  EXPECT_FALSE(page().IsVisible(IDC_LICENCE_VIEW));
  EXPECT_EQ(page().TopVisible({IDC_LICENCE_VIEW, IDC_PRIVACY_VIEW, IDC_MAIN_LICENCE_VIEW}), IDC_PRIVACY_VIEW);
  // Overlapping views paint in no set order: the one underneath is hidden.
  EXPECT_FALSE(page().IsVisible(IDC_MAIN_LICENCE_VIEW));
  ASSERT_TRUE(view.ClickLink(IDC_LICENCE_LINK));
  EXPECT_EQ(page().TopVisible({IDC_LICENCE_VIEW, IDC_PRIVACY_VIEW, IDC_MAIN_LICENCE_VIEW}),
            IDC_MAIN_LICENCE_VIEW);
  ASSERT_TRUE(view.ClickLink(IDC_PRIVACY_LINK));
  EXPECT_EQ(page().TopVisible({IDC_LICENCE_VIEW, IDC_PRIVACY_VIEW, IDC_MAIN_LICENCE_VIEW}), IDC_PRIVACY_VIEW);
  EXPECT_TRUE(page().missingIds.empty());
  EXPECT_EQ(page().At(IDC_WELCOME_PICTURE).bitmap, 134);
}

TEST_F(WelcomeTest, PageWithoutPictureShowsThePrivacyPolicyFirst) {
  AddDocuments(Row(0));
  Start("enus\r\n", "ShowLogo=3\r\n");
  ASSERT_TRUE(view.ClickNext());
  ASSERT_EQ(view.CurrentPage(), &sheet().mainNoPic);
  EXPECT_FALSE(page().IsVisible(IDC_LICENCE_VIEW));
  EXPECT_TRUE(page().IsVisible(IDC_PRIVACY_VIEW));
  EXPECT_EQ(page().At(IDC_LICENCE_VIEW).rtf, DocumentText(Row(0), true));
  ASSERT_TRUE(view.ClickLink(IDC_LICENCE_LINK));
  EXPECT_TRUE(page().IsVisible(IDC_LICENCE_VIEW));
  EXPECT_FALSE(page().IsVisible(IDC_PRIVACY_VIEW));
  // Leaving and coming back puts the privacy policy in view again.
  ASSERT_TRUE(view.ClickBack());
  ASSERT_TRUE(view.ClickNext());
  EXPECT_FALSE(page().IsVisible(IDC_LICENCE_VIEW));
  EXPECT_TRUE(page().IsVisible(IDC_PRIVACY_VIEW));
  EXPECT_TRUE(page().missingIds.empty());
}

TEST_F(WelcomeTest, DocumentsOpenedOutsideAsPdf) {
  machine.files.AddFile(std::u16string(kSetupFolder) + u"\\Simplified_Chinese\\licence.pdf", "%PDF");
  Start("zhcn\r\nenus\r\n", "LPOemShow=1\r\n");
  Choose(u"\u4E2D\u6587");
  ASSERT_TRUE(view.ClickNext());
  ASSERT_EQ(view.CurrentPage(), &sheet().mainNoLp);
  EXPECT_EQ(sheet().mainNoLp.licencePath, u"C:\\Medium\\Setup\\Simplified_Chinese\\licence.pdf");
  EXPECT_EQ(sheet().mainNoLp.privacyPath, u"C:\\Medium\\Setup\\Simplified_Chinese\\privacy.pdf");
  EXPECT_EQ(page().At(IDC_WELCOME_PICTURE).bitmap, IDB_WELCOME_NOLP);

  ASSERT_TRUE(view.ClickLink(IDC_LICENCE_LINK));
  ASSERT_EQ(machine.shell.launches.size(), 1u);
  EXPECT_EQ(machine.shell.launches[0].verb, u"open");
  EXPECT_EQ(machine.shell.launches[0].file, sheet().mainNoLp.licencePath);
  EXPECT_EQ(machine.shell.launches[0].show, kSwShowNormal);
  EXPECT_TRUE(view.boxes.empty());

  // The privacy policy is missing: the shell fails and says so.
  ASSERT_TRUE(view.ClickLink(IDC_PRIVACY_LINK));
  ASSERT_EQ(machine.shell.launches.size(), 2u);
  EXPECT_EQ(machine.shell.launches[1].file, u"file:///C:\\Medium\\Setup\\Simplified_Chinese\\privacy.pdf");
  ASSERT_EQ(view.boxes.size(), 1u);
  EXPECT_EQ(view.boxes[0].text, u"OpenFail mPrivacyPolicyPath");
  EXPECT_EQ(view.boxes[0].caption, u"");
  EXPECT_EQ(view.CurrentPage(), &sheet().mainNoLp);
}

TEST(PdfForm, OnlyAFinalRtfEndingChanges) {
  EXPECT_EQ(PdfFormOf(u"C:\\M\\English\\licence.rtf"), u"C:\\M\\English\\licence.pdf");
  EXPECT_EQ(PdfFormOf(u"C:\\M\\English\\licence.RtF"), u"C:\\M\\English\\licence.pdf");
  EXPECT_EQ(PdfFormOf(u"C:\\M\\English\\licence.rtfx"), u"C:\\M\\English\\licence.rtfx");
  EXPECT_EQ(PdfFormOf(u"C:\\M.rtf\\licence"), u"C:\\M.rtf\\licence");
  EXPECT_EQ(PdfFormOf(u"C:\\M.x\\licence"), u"C:\\M.x\\licence");
}

TEST_F(WelcomeTest, UnknownLanguageIdFallsBackToEnglish) {
  Start("enus\r\n", "LPOemShow=1\r\n");
  process->system.SetThreadUILanguage(1049);
  sheet().mainNoLp.SetDocumentPaths(42);
  EXPECT_EQ(process->system.GetThreadUILanguage(), 1033);
  EXPECT_EQ(sheet().mainNoLp.licencePath, u"C:\\Medium\\Setup\\English\\licence.pdf");
  EXPECT_EQ(sheet().mainNoLp.privacyPath, u"C:\\Medium\\Setup\\English\\privacy.pdf");
}

TEST_F(WelcomeTest, PagesAreWhiteWithBlackText) {
  Start("enus\r\n");
  ControlColors label = view.ColorsOf(IDC_LANGUAGE_LABEL);
  EXPECT_EQ(label.background, 0xFFFFFFu);
  EXPECT_EQ(label.text, 0u);
  EXPECT_TRUE(label.transparent);
  EXPECT_FALSE(view.ColorsOf(IDC_LANGUAGE_COMBO).transparent);
  EXPECT_EQ(sheet().CtlColor(kIdCancel, ControlKind::kButton).background, 0xFFFFFFu);
}

TEST(WelcomeWithoutStrings, TemplateCaptionsStayWhenNoStringLoads) {
  WizardRig rig(false);
  rig.StartWizard();
  // The template's own (Chinese) caption rather than an unrelated text.
  EXPECT_EQ(rig.view.Current().GetText(IDC_LANGUAGE_LABEL), u"\u9009\u62E9\u8BED\u8A00");
  EXPECT_EQ(rig.view.ButtonText(kIdWizNext), u"Next >");
}

}  // namespace
}  // namespace lx
