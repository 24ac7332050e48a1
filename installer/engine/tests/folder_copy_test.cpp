#include <gtest/gtest.h>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/engine/driver_install.h"
#include "installer/engine/folder_copy.h"
#include "installer/engine/win_path.h"
#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

class FolderCopyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    StartUpConfig() = InstallerConfig();
    debugEnabled = 1;
    machine.files.AddFile(u"C:\\Medium\\Setup\\Qelvin64.exe", "MZ installer");
    machine.files.AddFile(u"C:\\Medium\\Setup\\cfgSetup.ini", "[Install]\r\n");
    machine.files.AddFile(u"C:\\Medium\\Setup\\English\\licence.rtf", "{\\rtf1 licence}");
    machine.files.AddFile(u"C:\\Medium\\Setup\\Bonjour\\x64\\dnssd.dll", "MZ dnssd");
  }
  void TearDown() override {
    StartUpConfig() = InstallerConfig();
    debugEnabled = 0;
  }
  std::string Read(const std::u16string& path) { return machine.files.ReadFile(path).value_or("<missing>"); }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  const Os& os = proc->os;
};

// The shell's own path rules are checked against Windows in win_parity_test.
TEST_F(FolderCopyTest, SameOrInsideFolderIgnoresCaseSeparatorsAndDots) {
  EXPECT_TRUE(IsSameOrInsideFolder(u"c:/medium/setup/", u"C:\\Medium\\Setup"));
  EXPECT_TRUE(IsSameOrInsideFolder(u"C:\\Medium\\Setup\\Sub", u"C:\\Medium\\Setup"));
  EXPECT_FALSE(IsSameOrInsideFolder(u"C:\\Medium\\Setup2", u"C:\\Medium\\Setup"));
  EXPECT_TRUE(IsSameOrInsideFolder(u"C:\\Medium\\Other\\..\\Setup\\x", u"C:\\Medium\\Setup"));
}

TEST_F(FolderCopyTest, CreateFolderTreeBuildsTheMissingChain) {
  EXPECT_TRUE(CreateFolderTree(os, u"C:\\Program Files\\Lab\\Tool\\"));
  EXPECT_TRUE(machine.files.FolderExists(u"C:\\Program Files\\Lab\\Tool"));
  EXPECT_TRUE(CreateFolderTree(os, u"C:\\Program Files\\Lab\\Tool/"));  // already there
  // A file standing where a folder of the chain should be: the next level fails.
  EXPECT_FALSE(CreateFolderTree(os, u"C:\\Medium\\Setup\\cfgSetup.ini\\sub\\deep"));
  EXPECT_FALSE(machine.files.FolderExists(u"C:\\Medium\\Setup\\cfgSetup.ini\\sub"));
}

TEST_F(FolderCopyTest, InstallerFolderIsCopiedBelowProgramFiles) {
  StartUpConfig().install.FilePath = u"Lab\\Tool";
  machine.files.AddFile(u"C:\\Program Files\\Lab\\Tool\\cfgSetup.ini", "old");
  CopyInstallerToInstallFolder(os);
  EXPECT_EQ(Read(u"C:\\Program Files\\Lab\\Tool\\Qelvin64.exe"), "MZ installer");
  EXPECT_EQ(Read(u"C:\\Program Files\\Lab\\Tool\\cfgSetup.ini"), "[Install]\r\n");  // overwritten
  EXPECT_EQ(Read(u"C:\\Program Files\\Lab\\Tool\\English\\licence.rtf"), "{\\rtf1 licence}");
  EXPECT_EQ(Read(u"C:\\Program Files\\Lab\\Tool\\Bonjour\\x64\\dnssd.dll"), "MZ dnssd");
}

TEST_F(FolderCopyTest, ReadOnlyTargetFileStopsTheCopy) {
  machine.files.AddFile(u"C:\\Target\\cfgSetup.ini", "locked");
  machine.files.SetAttributes(u"C:\\Target\\cfgSetup.ini", kFileAttributeReadOnly);
  EXPECT_FALSE(CopyFolderTree(os, u"C:\\Medium\\Setup", u"C:\\Target"));
  EXPECT_EQ(Read(u"C:\\Target\\cfgSetup.ini"), "locked");
  EXPECT_FALSE(CopyFolderTree(os, u"C:\\Missing", u"C:\\Target"));
}

TEST_F(FolderCopyTest, CopyIntoItselfIsSkipped) {
  // The installed copy run again, and a target below the source: either
  // would copy the folder onto or into itself.
  EXPECT_FALSE(CopyFolderTree(os, u"C:\\Medium\\Setup", u"C:\\Medium\\Setup"));
  EXPECT_FALSE(CopyFolderTree(os, u"C:\\Medium\\Setup", u"c:\\medium\\setup\\Copy"));
  EXPECT_FALSE(machine.files.FolderExists(u"C:\\Medium\\Setup\\Copy\\English"));

  auto installed = machine.StartProcess(u"C:\\Program Files\\Lab\\Qelvin64.exe");
  machine.files.AddFile(u"C:\\Program Files\\Lab\\Qelvin64.exe", "MZ installed");
  StartUpConfig().install.FilePath = u"Lab\\Sub";
  CopyInstallerToInstallFolder(installed->os);
  EXPECT_TRUE(machine.files.FolderExists(u"C:\\Program Files\\Lab\\Sub"));
  EXPECT_FALSE(machine.files.FileExists(u"C:\\Program Files\\Lab\\Sub\\Qelvin64.exe"));
}

TEST_F(FolderCopyTest, InfPathLiesAboveTheInstallerFolder) {
  StartUpConfig().install.InfName = u"amd64\\lx220.inf";
  EXPECT_EQ(GetInfPath(os, u"LX-220"), u"C:\\Medium\\amd64\\lx220.inf");

  StartUpConfig().install.CustomInfName = 1;
  ModelEntry m;
  m.DriverName = u"LX-220";
  m.InfName = u"own\\lx.inf";
  StartUpConfig().modelNames = {u"A"};
  StartUpConfig().models[u"A"] = m;
  StartUpConfig().modelCount = 1;
  EXPECT_EQ(GetInfPath(os, u"LX-220"), u"C:\\Medium\\own\\lx.inf");
  EXPECT_EQ(GetInfPath(os, u"Unknown"), u"C:\\Medium");  // no entry: the folder itself

  auto atRoot = machine.StartProcess(u"C:\\Qelvin64.exe");
  EXPECT_EQ(GetInfPath(atRoot->os, u"LX-220"), u"");
  EXPECT_TRUE(atRoot->debug.Has(u"Failed to remove top-level directory.\n"));
}

}  // namespace
}  // namespace lx
