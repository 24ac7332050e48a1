#include "plugin/core/naming.h"

#include <gtest/gtest.h>

#include "plugin/core/about_info.h"
#include "plugin/core/language_table.h"
#include "plugin/core/model_table.h"
#include "plugin/tests/test_profile.h"
#include "plugin/tests/test_registry.h"

namespace lx {
namespace {

const std::u16string kDriverDir = u"C:\\Windows\\system32\\spool\\DRIVERS\\x64";
const std::u16string kConfig = kDriverDir + u"\\3\\lx220.ini";
const std::u16string kSuffixKey = u"Software\\Label Printer\\LX-220";

class FakeHost : public IPluginHost {
 public:
  std::u16string PluginModulePath() override { return modulePath; }
  std::optional<std::u16string> PrinterDriverDirectory() override { return driverDir; }
  LangId GetUserDefaultLangId() override { return lang; }
  void RunOnce(OnceGate& gate, void (*init)(void*), void* context) override {
    if (gate.state == nullptr) init(context);
    gate.state = &gate;
  }
  std::u16string modulePath = kDriverDir + u"\\3\\lx220ui.dll";
  std::optional<std::u16string> driverDir = kDriverDir;
  LangId lang = 0x0409;
};

struct Naming : ::testing::Test {
  testing::TestProfile profile;
  testing::TestDebugOutput debug;
  testing::TestRegistry registry;
  FakeHost host;
  PluginPlatform platform{&host, &profile, &registry, &debug};

  void Config(const std::string& text) { profile.PutFile(kConfig, text); }
};

TEST(NamingRules, BaseNameAndConfigurationFile) {
  EXPECT_EQ(u"lx220ui", ModuleBaseName(u"C:\\x\\3\\lx220ui.dll"));
  EXPECT_EQ(u"lx220ui.v2", ModuleBaseName(u"C:\\x.y\\lx220ui.v2.dll"));
  EXPECT_EQ(u"plain", ModuleBaseName(u"plain"));
  EXPECT_EQ(129u, ModuleBaseName(std::u16string(200, u'a') + u".dll").size());

  EXPECT_EQ(kConfig, DriverConfigPath(kDriverDir, u"lx220ui"));
  EXPECT_EQ(u"D\\3\\LX220.ini", DriverConfigPath(u"D", u"LX220UI"));
  // A base name without the final "ui" leaves an empty stem.
  EXPECT_EQ(u"D\\3\\.ini", DriverConfigPath(u"D", u"kvmodule"));
  EXPECT_EQ(u"D\\3\\.ini", DriverConfigPath(u"D", u"ui"));
}

TEST(NamingRules, ModuleAndFileNames) {
  EXPECT_EQ(u"lx220uienus.dll", ResourceModuleName(u"lx220ui", u"enus"));
  EXPECT_EQ(u"lx220uibmp.dll", BitmapModuleName(u"lx220ui"));
  EXPECT_EQ(u"lx220uip.ini", PaperFileName(u"lx220ui"));
  EXPECT_EQ(u"lx220uiru.chm", HelpFileName(u"lx220ui", 2));
  EXPECT_EQ(u"lx220uienus.chm", HelpFileName(u"lx220ui", 99));
}

TEST_F(Naming, RegistrySuffixInUpperCaseSelectsChineseAndNamesTheModuleRaw) {
  registry.PutString(kSuffixKey, u"Suffix", u"ZHCN");
  AttachPlan plan = PlanAttach(platform);
  ASSERT_TRUE(plan.suffix);
  EXPECT_EQ(u"ZHCN", *plan.suffix);
  EXPECT_EQ(1, plan.uiLanguage);
  ASSERT_EQ(2u, plan.resourceModules.size());
  EXPECT_EQ(kDriverDir + u"\\3\\lx220uiZHCN.dll", plan.resourceModules[0]);
  EXPECT_EQ(kDriverDir + u"\\3\\lx220uienus.dll", plan.resourceModules[1]);
  EXPECT_EQ(kDriverDir + u"\\3\\lx220uibmp.dll", plan.bitmapModule);
  EXPECT_TRUE(debug.Has(u"lx220uiZHCN.dll"));
}

TEST_F(Naming, RegistryKeyFollowsTheConfigurationFile) {
  Config("[DRIVER_TYPE]\r\nDrvierName=Brand Labels\r\nModelName=BL-4\r\n");
  registry.PutString(kSuffixKey, u"Suffix", u"ru");  // the default key: not read
  registry.PutString(u"Software\\Brand Labels\\BL-4", u"Suffix", u"de");
  EXPECT_EQ(u"de", GetLanguageSuffix(platform, kConfig).value_or(u"?"));
}

// The value becomes part of a module path: anything but a code of the
// fourteen is no suffix, and only the English module is looked for.
TEST_F(Naming, RegistrySuffixOutsideTheLanguageTableIsNoSuffix) {
  for (const char16_t* value : {u"..\\..\\..\\Temp\\evil", u"jaJP", u"en", u"enus ", u"ru\\x", u"", u"zhcn.dll"}) {
    registry.PutString(kSuffixKey, u"Suffix", value);
    AttachPlan plan = PlanAttach(platform);
    EXPECT_FALSE(plan.suffix) << std::string(value, value + std::char_traits<char16_t>::length(value));
    EXPECT_EQ(0, plan.uiLanguage);
    ASSERT_EQ(1u, plan.resourceModules.size());
    EXPECT_EQ(kDriverDir + u"\\3\\lx220uienus.dll", plan.resourceModules[0]);
  }
  EXPECT_TRUE(debug.Has(u"Suffix jaJP is no UI language: none taken"));
  for (const char16_t* value : {u"Tl", u"ESMX", u"nl"}) {
    registry.PutString(kSuffixKey, u"Suffix", value);
    EXPECT_EQ(value, GetLanguageSuffix(platform, kConfig).value_or(u"?"));
  }
}

TEST_F(Naming, KeyWithoutSuffixGivesNoSuffixAndTheEnglishModule) {
  registry.PutKey(kSuffixKey);
  host.lang = 0x0419;  // not consulted: the key exists
  AttachPlan plan = PlanAttach(platform);
  EXPECT_FALSE(plan.suffix);
  EXPECT_EQ(0, plan.uiLanguage);
  ASSERT_EQ(1u, plan.resourceModules.size());
  EXPECT_EQ(kDriverDir + u"\\3\\lx220uienus.dll", plan.resourceModules[0]);
}

TEST_F(Naming, JapaneseWindowsWithoutKeyFallsBackToEnglishHelp) {
  host.lang = 0x0411;
  AttachPlan plan = PlanAttach(platform);
  EXPECT_EQ(u"jaJP", plan.suffix.value_or(u""));
  EXPECT_EQ(0, plan.uiLanguage);
  EXPECT_EQ(u"lx220uienus.chm", HelpFileName(plan.baseName, plan.uiLanguage));
  EXPECT_EQ(kDriverDir + u"\\3\\lx220uijaJP.dll", plan.resourceModules[0]);
  EXPECT_EQ(0, UiLanguageOfLoaded(plan, 1));
}

TEST_F(Naming, WindowsLanguageWithoutCellLoadsEnglish) {
  host.lang = 0x0030;  // primary id without a row
  AttachPlan plan = PlanAttach(platform);
  EXPECT_FALSE(plan.suffix);
  ASSERT_EQ(1u, plan.resourceModules.size());
  EXPECT_EQ(kDriverDir + u"\\3\\lx220uienus.dll", plan.resourceModules[0]);
}

TEST_F(Naming, WithoutDriverDirectoryThePluginsOwnFolderServes) {
  host.driverDir.reset();
  host.modulePath = u"D:\\drv\\3\\lx220ui.dll";
  profile.PutFile(u"D:\\drv\\3\\lx220.ini", "[DRIVER_TYPE]\r\nType=4\r\n");
  AttachPlan plan = PlanAttach(platform);
  EXPECT_EQ(u"D:\\drv\\3\\lx220.ini", plan.configPath);
  EXPECT_EQ(4, plan.modelClass);
  ASSERT_EQ(1u, plan.resourceModules.size());  // "enUS" is the English module already
  EXPECT_EQ(u"D:\\drv\\3\\lx220uienUS.dll", plan.resourceModules[0]);
  EXPECT_EQ(u"D:\\drv\\3\\lx220uibmp.dll", plan.bitmapModule);
}

TEST_F(Naming, TypeOfTheConfigurationFileIsTheInitialClass) {
  EXPECT_EQ(0, PlanAttach(platform).modelClass);  // no file: 100, counts as 0
  Config("[DRIVER_TYPE]\r\nType=2\r\n");
  AttachPlan plan = PlanAttach(platform);
  EXPECT_EQ(2, plan.modelClass);
  EXPECT_EQ(2, ApplyModelTable(u"Some Other Label Printer", plan.modelClass));
  Config("[DRIVER_TYPE]\r\nType=7\r\n");  // no such class
  EXPECT_EQ(0, PlanAttach(platform).modelClass);
}

TEST(WindowsLanguageTable, RowsAndCells) {
  struct Case {
    LangId lang;
    const char16_t* code;  // null: no cell
  } cases[] = {
      {0x0000, u"NEUT"}, {0x1400, u"NEUT"}, {0x1800, nullptr}, {0x0409, u"enUS"},
      {0x4009, u"enUS"}, {0x4409, nullptr}, {0x0009, nullptr}, {0x0804, u"zhCN"},
      {0x0404, u"zhTW"}, {0x0C04, u"zhHK"}, {0x1004, u"zhSG"}, {0x1404, u"zhMO"},
      {0x1804, nullptr}, {0x0411, u"jaJP"}, {0x0413, u"nlNL"}, {0x0813, u"nlBE"},
      {0x0419, u"ru"},   {0x041F, u"tr"},   {0x0415, u"pl"},   {0x0816, u"pt"},
      {0x1407, u"de"},   {0x1807, nullptr}, {0x080A, u"esmx"}, {0x540A, u"esmx"},
      {0x580A, nullptr}, {0x180C, u"fr"},   {0x0810, u"it"},   {0x041A, u"hrHR"},
      {0x101A, u"hrBA"}, {0x141A, nullptr}, {0x181A, u"srBL"}, {0x1C1A, u"srBC"},
      {0x042E, nullptr}, {0x082E, u"lsDE"}, {0x243B, u"siIF"}, {0x047F, u"NEUT"},
      {0x007F, nullptr}, {0x0488, u"woSN"}, {0x0888, nullptr}, {0x0C88, u"drAF"},
      {0x0489, nullptr}, {0x0430, nullptr}, {0x0460, u"ksIN"}, {0x0860, u"ksIN"},
      {0x0C60, nullptr}, {0x0C6B, u"quPE"}, {0x0401, u"ar"},   {0x4001, u"ar"},
  };
  for (const Case& c : cases) {
    std::optional<std::u16string> code = WindowsLanguageCode(c.lang);
    if (c.code == nullptr) {
      EXPECT_FALSE(code) << std::hex << c.lang;
    } else {
      EXPECT_EQ(c.code, code.value_or(u"<none>")) << std::hex << c.lang;
    }
  }
}

TEST(WindowsLanguageTable, EveryUiLanguageIndexMatchesItsCodeAnyCase) {
  EXPECT_EQ(1, UiLanguageIndex(u"ZHCN"));
  EXPECT_EQ(13, UiLanguageIndex(u"nl"));
  EXPECT_EQ(0, UiLanguageIndex(u"nlNL"));
  EXPECT_EQ(0, UiLanguageIndex(u"jaJP"));
  EXPECT_EQ(3, UiLanguageIndex(u"JA"));
  EXPECT_EQ(6, UiLanguageIndex(u"esMX"));
}

TEST(ModelTable, GroupsDecideInOrder) {
  struct Case {
    const char16_t* driver;
    int expected;
  } cases[] = {
      {u"LX-220H Label Printer", 3},
      {u"LX-220 Label Printer", 0},
      {u"LX-223TH Label", 4},
      {u"LX-223T Label", 2},
      {u"LX-223TLabel", 1},  // "LX-223T " needs its blank: no group matches
      {u"Acme ZA270 Label", 0},
      {u"Acme XY270 Label", 1},
      {u"Acme MV-D270 Label", 1},
      {u"Acme RQ-210CT Label", 2},
      {u"Acme RQ-210C Label", 0},
      {u"Acme RQ-210 Label", 1},
      {u"Acme RQ-220WBC Label", 0},
      {u"Acme RQ-220WB Label", 1},
      {u"Acme HB256QS PRO Label", 4},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, ApplyModelTable(c.driver, 1)) << c.driver;
  // Only the first 31 characters of the driver name count.
  EXPECT_EQ(1, ApplyModelTable(u"A very long driver name prefix LX-220H", 1));
  EXPECT_EQ(3, ApplyModelTable(u"A very long driver name LX-220H", 1));
}

TEST_F(Naming, AboutInfoWithoutConfigurationFile) {
  AboutInfo about = ReadAboutInfo(profile, kConfig, 0);
  EXPECT_EQ(u"", about.driverName);
  EXPECT_EQ(0, about.driverLink);
  EXPECT_EQ(0, about.showLogo);
  EXPECT_EQ(-1, about.logoData);
  EXPECT_EQ(140u, about.logoBitmap);
  EXPECT_EQ(51u, about.legalNotice);
  EXPECT_EQ(kBrandASupportUrl, about.supportUrl);
}

TEST_F(Naming, AboutInfoFollowsLanguageSectionAndBrand) {
  Config(
      "[DRIVER_TYPE]\r\nShowLogo=1\r\nOffset=1\r\nWeb=https://labels.example/help\r\n"
      "LogoData=2\r\n[ru]\r\nDriverName=Drv RU\r\nDriverVersion=1.2\r\nDriverLink=1\r\n"
      "[enus]\r\nDriverName=Drv EN\r\n");
  AboutInfo ru = ReadAboutInfo(profile, kConfig, 2);
  EXPECT_EQ(u"Drv RU", ru.driverName);
  EXPECT_EQ(u"1.2", ru.driverVersion);
  EXPECT_EQ(1, ru.driverLink);
  EXPECT_EQ(143u, ru.logoBitmap);
  EXPECT_EQ(52u, ru.legalNotice);
  EXPECT_EQ(u"https://labels.example/help", ru.supportUrl);
  EXPECT_EQ(u"Drv EN", ReadAboutInfo(profile, kConfig, 0).driverName);

  struct Brand {
    const char* logoData;
    unsigned bitmap;
    bool brandB;
    unsigned legal;
  } brands[] = {{"1", 142, true, 39}, {"3", 144, true, 39}, {"4", 148, false, 39},
                {"5", 149, false, 52}, {"0", 140, false, 39}, {"7", 140, false, 39}};
  for (const Brand& b : brands) {
    Config(std::string("[DRIVER_TYPE]\r\nWeb=https://labels.example/help\r\nLogoData=") +
           b.logoData + "\r\n");
    AboutInfo about = ReadAboutInfo(profile, kConfig, 7);
    EXPECT_EQ(b.bitmap, about.logoBitmap) << b.logoData;
    EXPECT_EQ(b.legal, about.legalNotice) << b.logoData;
    EXPECT_EQ(b.brandB ? std::u16string(kBrandBSupportUrl) : u"https://labels.example/help",
              about.supportUrl)
        << b.logoData;
  }
}

}  // namespace
}  // namespace lx
