// The launcher's work on the simulated machine: which library is copied for
// which word size, which installer starts and how, what is traced.
#include <gtest/gtest.h>

#include <memory>

#include "launcher/launcher.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_process_start.h"

namespace lx {
namespace {

class LauncherTest : public ::testing::Test {
 protected:
  // A medium whose root has a blank in its name, as a copied folder often has.
  void LayMedium(const std::u16string& root) {
    root_ = root;
    m_.files.AddFile(root + u"Tessaly.exe", "MZ");
    m_.files.AddFile(root + u"Setup\\Bonjour\\x64\\dnssd.dll", "dnssd x64");
    m_.files.AddFile(root + u"Setup\\Bonjour\\x86\\dnssd.dll", "dnssd x86");
    m_.files.AddFile(root + u"Setup\\Qelvin64.exe", "MZ 64");
    m_.files.AddFile(root + u"Setup\\Qelvin32.exe", "MZ 32");
  }

  bool Run(const std::u16string& modulePath) {
    process_ = m_.StartProcess(modulePath, 32);
    LauncherServices os{process_->system, process_->files, process_->debug, m_.clock, starts_};
    return RunLauncher(os, [this] {
      fadeAt_ = m_.clock.now;
      copiedBeforeFade_ = m_.files.FileExists(root_ + u"Setup\\dnssd.dll");
      startsBeforeFade_ = starts_.started.size();
    });
  }

  SimMachine m_;
  SimProcessStart starts_{m_.files, m_.caller};
  std::unique_ptr<SimProcess> process_;
  std::u16string root_;
  uint64_t fadeAt_ = 0;
  bool copiedBeforeFade_ = false;
  size_t startsBeforeFade_ = 99;
};

TEST_F(LauncherTest, SixtyFourBitWindowsGetsTheX64LibraryAndTheQuotedSixtyFourBitInstaller) {
  LayMedium(u"D:\\Label Driver\\");
  ASSERT_TRUE(Run(u"D:\\Label Driver\\Tessaly.exe"));

  EXPECT_EQ(m_.files.ReadFile(u"D:\\Label Driver\\Setup\\dnssd.dll"), "dnssd x64");
  ASSERT_EQ(starts_.started.size(), 1u);
  const auto& s = starts_.started[0];
  EXPECT_EQ(s.program, u"D:\\Label Driver\\SETUP\\Qelvin64.exe");
  // The installer sees its own path as one argument and nothing else.
  EXPECT_EQ(s.argv, std::vector<std::u16string>{u"D:\\Label Driver\\SETUP\\Qelvin64.exe"});
  EXPECT_EQ(s.show, 1);
  // Pause first, copy before the fade, start after it.
  EXPECT_EQ(fadeAt_, 500u);
  EXPECT_TRUE(copiedBeforeFade_);
  EXPECT_EQ(startsBeforeFade_, 0u);
  EXPECT_TRUE(process_->debug.lines.empty());
}

TEST_F(LauncherTest, WordSizeFollowsTheNativeArchitecture) {
  struct Case {
    std::optional<uint16_t> arch;
    const char* library;
    const char16_t* installer;
  } cases[] = {
      {kProcessorArchitectureAmd64, "dnssd x64", u"Qelvin64.exe"},
      {kProcessorArchitectureIa64, "dnssd x64", u"Qelvin64.exe"},
      {kProcessorArchitectureIntel, "dnssd x86", u"Qelvin32.exe"},
      {std::nullopt, "dnssd x86", u"Qelvin32.exe"},  // no GetNativeSystemInfo
      {kProcessorArchitectureArm64, "dnssd x86", u"Qelvin32.exe"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.installer);
    m_.nativeArchitecture = c.arch;
    starts_.started.clear();
    LayMedium(u"E:\\");
    m_.files.RemoveFile(u"E:\\Setup\\dnssd.dll");
    ASSERT_TRUE(Run(u"E:\\Tessaly.exe"));
    EXPECT_EQ(m_.files.ReadFile(u"E:\\Setup\\dnssd.dll"), c.library);
    ASSERT_EQ(starts_.started.size(), 1u);
    EXPECT_EQ(starts_.started[0].program, u"E:\\SETUP\\" + std::u16string(c.installer));
  }
}

TEST_F(LauncherTest, AnotherCurrentFolderNeverChoosesTheProgramThatStarts) {
  LayMedium(u"D:\\Label Driver\\");
  // A program of the installer's name where the current folder points.
  m_.files.AddFile(u"C:\\Users\\me\\Downloads\\SETUP\\Qelvin64.exe", "someone else's");
  starts_.currentDirectory = u"C:\\Users\\me\\Downloads";
  ASSERT_TRUE(Run(u"D:\\Label Driver\\Tessaly.exe"));
  ASSERT_EQ(starts_.started.size(), 1u);
  EXPECT_EQ(starts_.started[0].program, u"D:\\Label Driver\\SETUP\\Qelvin64.exe");
  EXPECT_FALSE(m_.files.FileExists(u"C:\\Users\\me\\Downloads\\SETUP\\dnssd.dll"));
}

TEST_F(LauncherTest, ABlankAndTheRemovalWordInTheMediumPathDoNotReachTheInstallersArguments) {
  // Unquoted, "D:\Drivers" would be the program and "uninstall..." its
  // argument: the installer would start in removal mode.
  LayMedium(u"D:\\Drivers uninstall kit\\");
  ASSERT_TRUE(Run(u"D:\\Drivers uninstall kit\\Tessaly.exe"));
  ASSERT_EQ(starts_.started.size(), 1u);
  EXPECT_EQ(starts_.started[0].argv.size(), 1u);
}

TEST_F(LauncherTest, AFailedCopyIsTracedAndTheInstallerStillStarts) {
  // A medium that cannot be written: the copy's target refuses.
  LayMedium(u"F:\\");
  m_.files.AddFile(u"F:\\Setup\\dnssd.dll", "older copy");
  m_.files.SetAttributes(u"F:\\Setup\\dnssd.dll", kFileAttributeReadOnly);
  ASSERT_TRUE(Run(u"F:\\Tessaly.exe"));
  EXPECT_EQ(process_->debug.lines, std::vector<std::u16string>{u"Copy dnssd Fail"});
  EXPECT_EQ(m_.files.ReadFile(u"F:\\Setup\\dnssd.dll"), "older copy");
  ASSERT_EQ(starts_.started.size(), 1u);

  // A medium without the library of this word size.
  starts_.started.clear();
  LayMedium(u"G:\\");
  m_.files.RemoveFile(u"G:\\Setup\\Bonjour\\x64\\dnssd.dll");
  ASSERT_TRUE(Run(u"G:\\Tessaly.exe"));
  EXPECT_TRUE(process_->debug.Has(u"Copy dnssd Fail"));
  EXPECT_EQ(starts_.started.size(), 1u);
}

TEST_F(LauncherTest, AnInstallerThatCannotStartIsTraced) {
  LayMedium(u"D:\\Label Driver\\");
  m_.files.RemoveFile(u"D:\\Label Driver\\Setup\\Qelvin64.exe");
  EXPECT_FALSE(Run(u"D:\\Label Driver\\Tessaly.exe"));
  EXPECT_TRUE(starts_.started.empty());
  EXPECT_TRUE(process_->debug.Has(u"Start installer Fail: D:\\Label Driver\\SETUP\\Qelvin64.exe (error 2)"));
}

TEST_F(LauncherTest, WithoutItsOwnFolderNothingIsCopiedOrStartedRelativeToTheCurrentFolder) {
  LayMedium(u"C:\\Work\\");
  starts_.currentDirectory = u"C:\\Work";
  // GetModuleFileNameW failed: no folder to work in.
  EXPECT_FALSE(Run(u""));
  EXPECT_FALSE(m_.files.FileExists(u"C:\\Work\\Setup\\dnssd.dll"));
  EXPECT_TRUE(starts_.started.empty());
  EXPECT_TRUE(process_->debug.Has(u"Copy dnssd Fail"));
  EXPECT_TRUE(process_->debug.Has(u"Start installer Fail: no usable path \"SETUP\\Qelvin64.exe\""));
}

TEST_F(LauncherTest, AModulePathThatFilledTheBufferIsAFailure) {
  // GetModuleFileNameW cuts at 259 characters: the folder of a cut path is
  // another one, so nothing is copied or started from it.
  const std::u16string folder = u"D:\\" + std::u16string(250, u'm') + u"\\";
  LayMedium(folder);
  std::u16string module = folder + u"Tessaly.exe";
  ASSERT_GE(module.size(), 259u);
  EXPECT_FALSE(Run(module));
  EXPECT_TRUE(starts_.started.empty());
  EXPECT_FALSE(m_.files.FileExists(folder + u"Setup\\dnssd.dll"));
  EXPECT_TRUE(process_->debug.Has(u"Module path cut at MAX_PATH: " + module.substr(0, 259)));
}

TEST(InstallerCommandLine, QuotesAbsolutePathsAndRefusesTheRest) {
  EXPECT_EQ(InstallerCommandLine(u"D:\\A B\\SETUP\\Qelvin32.exe"), u"\"D:\\A B\\SETUP\\Qelvin32.exe\"");
  EXPECT_EQ(InstallerCommandLine(u"\\\\server\\share\\SETUP\\Qelvin64.exe"),
            u"\"\\\\server\\share\\SETUP\\Qelvin64.exe\"");
  EXPECT_EQ(InstallerCommandLine(u"SETUP\\Qelvin64.exe"), std::nullopt);
  EXPECT_EQ(InstallerCommandLine(u"D:\\A\" /x \"\\Qelvin64.exe"), std::nullopt);
  EXPECT_EQ(InstallerCommandLine(u""), std::nullopt);
}

}  // namespace
}  // namespace lx
