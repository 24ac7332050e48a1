// Both About pages on the real template, over a driver configuration file
// on the simulated machine: the driver lines by UI language, the support
// button by DriverLink and the brand, the logo, and their help.
#include <gtest/gtest.h>

#include <memory>

#include "plugin/core/about_info.h"
#include "plugin/pages/about_page.h"
#include "plugin/pages/tests/page_rig.h"
#include "plugin/resources/resource_ids.h"

namespace lx::testing {
namespace {

constexpr char16_t kConfig[] = u"C:\\Windows\\System32\\spool\\drivers\\x64\\3\\lx220.ini";
constexpr int kAboutTab = 4;
constexpr char16_t kOwnWeb[] = u"https://labels.example.test/help";

struct AboutRig : PageRig {
  AboutRig() { configPath = kConfig; }
  void Put(const char16_t* section, const char16_t* key, const std::u16string& value) {
    ASSERT_TRUE(world.process->profile.WriteString(section, key, value, kConfig));
  }
  // The printer sheet's About page, on a sheet of its own.
  FakeDialog& OpenPrinterAbout() {
    printerSheet.reset();  // the sheet goes before its page
    auto env = std::make_unique<FakePageEnvironment>(PluginScripts());
    printerEnv = env.get();
    AboutInfo info = ReadAboutInfo(world.process->profile, kConfig, uiLanguage);
    printerPage = std::make_unique<AboutPage>(std::move(env), [this](unsigned id) { return Text(id); },
                                              std::move(info), uiLanguage, u"C:\\help.chm");
    printerSheet = std::make_unique<FakePropertySheet>(PluginScripts());
    EXPECT_TRUE(printerSheet->AddPage(*printerPage));
    return printerSheet->Current();
  }
  FakeDialog& OpenDocumentAbout() {
    EXPECT_EQ(5, Open().added);
    EXPECT_TRUE(sheet->SelectTab(kAboutTab));
    return Page();
  }
  std::unique_ptr<AboutPage> printerPage;
  std::unique_ptr<FakePropertySheet> printerSheet;
  FakePageEnvironment* printerEnv = nullptr;
};

TEST(AboutPages, DriverLinkDecidesTheButtonAndTheBrandItsAddress) {
  AboutRig rig;
  rig.Put(u"DRIVER_TYPE", u"Web", kOwnWeb);
  rig.Put(u"DRIVER_TYPE", u"LogoData", u"3");
  rig.Put(u"DRIVER_TYPE", u"ShowLogo", u"1");
  rig.Put(u"enus", u"DriverName", u"LX-220 Label Printer");
  rig.Put(u"enus", u"DriverType", u"Thermal");
  rig.Put(u"enus", u"DriverVersion", u"1.0.0");
  rig.Put(u"enus", u"DriverCopyright", u"(c) 2026");
  rig.Put(u"enus", u"DriverLink", u"1");

  FakeDialog& document = rig.OpenDocumentAbout();
  EXPECT_EQ(u"LX-220 Label Printer", document.GetText(IDC_DRIVER_NAME));
  EXPECT_EQ(u"(c) 2026", document.GetText(IDC_LEGAL_NOTICE));
  EXPECT_EQ(rig.Text(IDS_SUPPORT), document.GetText(IDC_SUPPORT));
  EXPECT_EQ(IDB_LOGO_3, rig.env.PictureOf(IDC_LOGO));
  document.sheetChanged = true;
  ASSERT_TRUE(document.Click(IDC_SUPPORT));
  ASSERT_EQ(1u, rig.env.opened.size());
  EXPECT_EQ(kBrandBSupportUrl, rig.env.opened.back());  // whatever Web says
  EXPECT_FALSE(document.sheetChanged);
  rig.sheet->PressHelp();
  EXPECT_EQ(kHelpAbout, rig.env.helps.back().context);

  FakeDialog& printer = rig.OpenPrinterAbout();
  EXPECT_EQ(u"Thermal", printer.GetText(IDC_DRIVER_TYPE));
  ASSERT_TRUE(printer.Click(IDC_SUPPORT));
  EXPECT_EQ(kBrandBSupportUrl, rig.printerEnv->opened.back());
  EXPECT_TRUE(rig.printerEnv->pictures.empty());  // no logo on the printer sheet
  rig.printerSheet->PressHelp();
  EXPECT_EQ(kHelpPrinterAbout, rig.printerEnv->helps.back().context);
  EXPECT_EQ(u"C:\\help.chm", rig.printerEnv->helps.back().file);

  // Another brand opens the file's own address.
  rig.Put(u"DRIVER_TYPE", u"LogoData", u"2");
  rig.OpenPrinterAbout().Click(IDC_SUPPORT);
  EXPECT_EQ(kOwnWeb, rig.printerEnv->opened.back());

  // DriverLink=0: no button on either page.
  rig.Put(u"enus", u"DriverLink", u"0");
  rig.NewProcess();
  EXPECT_FALSE(rig.OpenDocumentAbout().IsVisible(IDC_SUPPORT));
  EXPECT_FALSE(rig.OpenPrinterAbout().IsVisible(IDC_SUPPORT));
}

TEST(AboutPages, LanguagesSevenToNineShowTheModuleLinesAndTheBrandNotice) {
  AboutRig rig;
  rig.uiLanguage = 9;
  rig.Put(u"tl", u"DriverType", u"from the file");
  rig.Put(u"tl", u"DriverVersion", u"2.1");
  FakeDialog& printer = rig.OpenPrinterAbout();
  EXPECT_EQ(rig.Text(IDS_BARCODE_DRIVER), printer.GetText(IDC_DRIVER_NAME));
  EXPECT_EQ(rig.Text(IDS_DRIVER_TYPE), printer.GetText(IDC_DRIVER_TYPE));
  EXPECT_EQ(u"2.1", printer.GetText(IDC_DRIVER_VERSION));
  EXPECT_EQ(rig.Text(IDS_LEGAL_NOTICE_SUPPORTED), printer.GetText(IDC_LEGAL_NOTICE));  // LogoData absent

  rig.uiLanguage = 8;
  rig.Put(u"DRIVER_TYPE", u"LogoData", u"5");
  FakeDialog& polish = rig.OpenPrinterAbout();
  EXPECT_EQ(u"", polish.GetText(IDC_DRIVER_TYPE));  // the file's, empty for "pl"
  EXPECT_EQ(rig.Text(IDS_LEGAL_NOTICE_LICENSED), polish.GetText(IDC_LEGAL_NOTICE));

  // Any other language: the file's lines, cut to what the profile reads.
  rig.uiLanguage = 2;
  rig.Put(u"ru", u"DriverName", std::u16string(400, u'x'));
  FakeDialog& russian = rig.OpenPrinterAbout();
  EXPECT_EQ(259u, russian.GetText(IDC_DRIVER_NAME).size());
  EXPECT_EQ(u"", russian.GetText(IDC_LEGAL_NOTICE));
  EXPECT_FALSE(russian.IsVisible(IDC_SUPPORT));  // no DriverLink in the file
}

TEST(AboutPages, DocumentAboutHidesTheLogoAndOptionalControlsAsTheFileSays) {
  AboutRig rig;
  rig.Put(u"DRIVER_TYPE", u"ShowLogo", u"0");
  FakeDialog& page = rig.OpenDocumentAbout();
  EXPECT_FALSE(page.IsVisible(IDC_LOGO));
  EXPECT_EQ(0, rig.env.PictureOf(IDC_LOGO));
  // The template has none of the optional controls: nothing is touched.
  EXPECT_TRUE(page.IsVisible(IDC_ABOUT_GROUP));
  rig.sheet->ClickCancel();
  EXPECT_GE(rig.env.pictureReleases, 0);
}

}  // namespace
}  // namespace lx::testing
