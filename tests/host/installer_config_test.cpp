#include <gtest/gtest.h>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

class InstallerConfigTest : public ::testing::Test {
 protected:
  void SetUp() override { debugEnabled = 0; }
  InstallerConfig Load(const std::string& ini) {
    machine.files.AddFile(u"C:\\Medium\\Setup\\cfgSetup.ini", ini);
    InstallerConfig c;
    LoadInstallerConfig(proc->os, GetConfigPath(proc->os), c);
    return c;
  }
  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
};

TEST_F(InstallerConfigTest, PathIsBesideTheProgramAndAlwaysTraced) {
  EXPECT_EQ(GetConfigPath(proc->os), u"C:\\Medium\\Setup\\cfgSetup.ini");
  EXPECT_TRUE(proc->debug.Has(u"szPath  == C:\\Medium\\Setup\\cfgSetup.ini"));
  auto rootProc = machine.StartProcess(u"D:\\Qelvin64.exe");
  EXPECT_EQ(GetConfigPath(rootProc->os), u"D:\\cfgSetup.ini");
}

TEST_F(InstallerConfigTest, MissingFileGivesTheDefaults) {
  debugEnabled = 1;
  InstallerConfig c;
  LoadInstallerConfig(proc->os, u"C:\\nowhere\\cfgSetup.ini", c);
  EXPECT_EQ(debugEnabled, 0);
  EXPECT_EQ(c.modelCount, 0);
  EXPECT_TRUE(c.models.empty());
  EXPECT_EQ(c.uninstall.DriverName, u"\"\"");
  EXPECT_EQ(c.uninstall.RegInfo, u"");
  EXPECT_EQ(c.install.ShowLogo, 1);
  EXPECT_EQ(c.install.NetOnline, 1);
  EXPECT_EQ(c.install.SupportNet, 0);
  EXPECT_TRUE(c.languages.empty());
  EXPECT_EQ(c.logoBitmapId, 133);
  EXPECT_EQ(c.sideBitmapId, 134);
}

TEST_F(InstallerConfigTest, ReadsModelsInFileOrderWithTheirKeys) {
  InstallerConfig c = Load(
      "[Debug]\r\nOpenDebug=1\r\n"
      "[Support_Driver]\r\nLX-220\r\n\r\nB=1\r\nLX-220\r\n"
      "[LX-220]\r\nVID=VID_2D37\r\nPID=PID_0220\r\nPRINTERNAME=Label\r\nDriverName=LX-220 Label\r\n"
      "TYPE=3\r\nShowSetting=1\r\nprintPostOpOffset=12\r\n"
      "[b=1]\r\nDriverName=Other\r\n");
  EXPECT_EQ(debugEnabled, 1);
  ASSERT_EQ(c.modelCount, 3);
  EXPECT_EQ(c.modelNames, (std::vector<std::u16string>{u"LX-220", u"B=1", u"LX-220"}));
  EXPECT_EQ(c.Models().At(0)->DriverName, u"LX-220 Label");
  EXPECT_EQ(c.Models().At(0)->TYPE, 3);
  EXPECT_EQ(c.Models().At(0)->ShowSetting, 1);
  EXPECT_EQ(c.Models().At(0)->printPostOpOffset, 12);
  EXPECT_EQ(c.Models().At(1)->DriverName, u"Other");  // section name matched without case
  EXPECT_EQ(c.Models().At(2), c.Models().At(0));
  EXPECT_EQ(c.Models().At(3), nullptr);
}

TEST_F(InstallerConfigTest, UninstallDriverNameGetsOnePairOfQuotes) {
  EXPECT_EQ(Load("[Uninstall]\r\nDriverName=\"LX-220 Label\"\r\n").uninstall.DriverName, u"\"LX-220 Label\"");
  EXPECT_EQ(Load("[Uninstall]\r\nDriverName=LX-220 Label\r\n").uninstall.DriverName, u"\"LX-220 Label\"");
  EXPECT_EQ(Load("[Uninstall]\r\nDriverName=\"A\",\"B\"\r\n").uninstall.DriverName, u"\"A\",\"B\"");
}

TEST_F(InstallerConfigTest, LongValuesAndSectionsAreCut) {
  std::string longValue(1100, 'v');
  std::string models = "[Support_Driver]\r\n";
  for (int i = 0; i < 120; ++i) models += "Model-" + std::to_string(100 + i) + "\r\n";  // 9 characters and a NUL each
  InstallerConfig c = Load("[Install]\r\nInfName=" + longValue + "\r\n" + models);
  EXPECT_EQ(c.install.InfName, std::u16string(1023, u'v'));
  ASSERT_EQ(c.modelCount, 103);  // 1022 characters: 102 whole names and a cut one
  EXPECT_EQ(c.modelNames[101], u"Model-201");
  EXPECT_EQ(c.modelNames[102], u"Mo");
}

TEST_F(InstallerConfigTest, LanguagesKeepDuplicatesAndLogoFollowsShowLogo) {
  InstallerConfig c = Load("[Language]\r\nenus\r\nru\r\nenus\r\n[Install]\r\nShowLogo=4\r\nNetOnline=0\r\n");
  EXPECT_EQ(c.languages, (std::vector<std::u16string>{u"enus", u"ru", u"enus"}));
  EXPECT_EQ(c.logoBitmapId, 167);
  EXPECT_EQ(c.sideBitmapId, 171);
  EXPECT_EQ(c.install.NetOnline, 0);
  int expected[][3] = {{0, 133, 134}, {1, 133, 134}, {2, 166, 134}, {3, 170, 134},
                       {5, 179, 178}, {6, 180, 134}, {7, 133, 134}, {-1, 133, 134}};
  for (auto& e : expected) {
    EXPECT_EQ(LogoIdsFor(e[0]).logoBitmapId, e[1]) << e[0];
    EXPECT_EQ(LogoIdsFor(e[0]).sideBitmapId, e[2]) << e[0];
  }
}

TEST_F(InstallerConfigTest, BadFilesStartWithDefaults) {
  std::string binary;
  for (int i = 0; i < 5000; ++i) binary += static_cast<char>(i * 31);
  InstallerConfig c = Load(binary);
  EXPECT_EQ(c.install.ShowLogo, 1);
  EXPECT_EQ(c.uninstall.DriverName, u"\"\"");

  machine.files.SetUnreadable(u"C:\\Medium\\Setup\\cfgSetup.ini", true);
  LoadInstallerConfig(proc->os, GetConfigPath(proc->os), c);
  EXPECT_EQ(c.modelCount, 0);
  EXPECT_EQ(c.install.NetOnline, 1);
}

}  // namespace
}  // namespace lx
