// The simulated file system where it stands for Windows: name patterns,
// listings, read-only files, folder creation and the errors callers log.
#include <gtest/gtest.h>

#include "platform/sim/sim_file_security.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/wildcard.h"

namespace lx {
namespace {

TEST(Wildcard, MatchesAsFindFirstFileDoes) {
  EXPECT_TRUE(MatchesWildcard(u"OEM*.inf", u"oem12.inf"));
  EXPECT_TRUE(MatchesWildcard(u"oem*.inf", u"OEM.INF"));
  EXPECT_FALSE(MatchesWildcard(u"OEM*.inf", u"oem12.inf.bak"));
  EXPECT_FALSE(MatchesWildcard(u"OEM*.inf", u"xoem1.inf"));
  EXPECT_TRUE(MatchesWildcard(u"*", u"a.b.c"));
  EXPECT_TRUE(MatchesWildcard(u"*.*", u"noextension"));
  EXPECT_TRUE(MatchesWildcard(u"name.*", u"name"));
  // '?' is one character, or none at the end or before the dot.
  EXPECT_TRUE(MatchesWildcard(u"a?c", u"abc"));
  EXPECT_FALSE(MatchesWildcard(u"a?c", u"ac"));
  EXPECT_TRUE(MatchesWildcard(u"ab??", u"ab"));
  EXPECT_TRUE(MatchesWildcard(u"ab??.txt", u"abc.txt"));
  EXPECT_FALSE(MatchesWildcard(u"ab?", u"abcd"));
  // A trailing dot lists names without an extension only.
  EXPECT_TRUE(MatchesWildcard(u"*.", u"README"));
  EXPECT_FALSE(MatchesWildcard(u"*.", u"read.me"));
}

class SimFilesTest : public ::testing::Test {
 protected:
  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  IFileSystem& fs = *proc->os.files;
  uint32_t Error() { return proc->os.system->GetLastError(); }
};

TEST_F(SimFilesTest, ListingKeepsTheCaseNamesWereCreatedWithAndAddsDotEntries) {
  machine.files.AddFile(u"C:\\Windows\\INF\\oem3.inf", "a");
  machine.files.AddFile(u"C:\\Windows\\INF\\OEM10.INF", "b");
  machine.files.AddFile(u"C:\\Windows\\INF\\usbprint.inf", "c");
  std::vector<FindEntry> found;
  ASSERT_TRUE(fs.FindFiles(u"C:\\windows\\inf\\OEM*.inf", found));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[0].name, u"OEM10.INF");
  EXPECT_EQ(found[1].name, u"oem3.inf");

  machine.files.AddFile(u"C:\\Src\\Sub\\x.dll", "x");
  ASSERT_TRUE(fs.FindFiles(u"C:\\Src\\*", found));
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].name, u".");
  EXPECT_EQ(found[1].name, u"..");
  EXPECT_EQ(found[2].name, u"Sub");
  EXPECT_EQ(found[2].attributes & kFileAttributeDirectory, kFileAttributeDirectory);

  EXPECT_FALSE(fs.FindFiles(u"C:\\Windows\\INF\\none*.inf", found));
  EXPECT_EQ(Error(), 2u);  // ERROR_FILE_NOT_FOUND
  EXPECT_FALSE(fs.FindFiles(u"C:\\Missing\\*", found));
  EXPECT_EQ(Error(), 3u);  // ERROR_PATH_NOT_FOUND
}

TEST_F(SimFilesTest, ReadOnlyFilesRefuseDeletionAndOverwriting) {
  machine.files.AddFile(u"C:\\d\\a.dll", "old");
  machine.files.AddFile(u"C:\\d\\b.dll", "new");
  ASSERT_TRUE(fs.SetAttributes(u"C:\\d\\a.dll", kFileAttributeReadOnly));
  EXPECT_FALSE(fs.RemoveFile(u"C:\\d\\a.dll"));
  EXPECT_EQ(Error(), 5u);  // ERROR_ACCESS_DENIED
  EXPECT_FALSE(fs.Copy(u"C:\\d\\b.dll", u"C:\\d\\a.dll", false));
  EXPECT_EQ(Error(), 5u);
  EXPECT_FALSE(fs.WriteFile(u"C:\\d\\a.dll", "x"));
  EXPECT_FALSE(fs.AppendFile(u"C:\\d\\a.dll", "x"));
  EXPECT_EQ(Error(), 5u);
  EXPECT_EQ(*fs.ReadFile(u"C:\\d\\a.dll"), "old");
  ASSERT_TRUE(fs.SetAttributes(u"C:\\d\\a.dll", kFileAttributeNormal));
  EXPECT_TRUE(fs.RemoveFile(u"C:\\d\\A.DLL"));
  EXPECT_FALSE(fs.FileExists(u"C:\\d\\a.dll"));
  EXPECT_FALSE(fs.RemoveFile(u"C:\\d\\a.dll"));
  EXPECT_EQ(Error(), 2u);
}

TEST_F(SimFilesTest, AppendingCreatesAddsAndNeedsTheFolder) {
  EXPECT_FALSE(fs.AppendFile(u"C:\\missing\\log.txt", "x"));
  EXPECT_EQ(Error(), 3u);  // ERROR_PATH_NOT_FOUND
  machine.files.CreateFolder(u"C:\\d");
  ASSERT_TRUE(fs.AppendFile(u"C:\\d\\log.txt", ""));
  ASSERT_TRUE(fs.AppendFile(u"C:\\D\\LOG.TXT", "one\r\n"));
  ASSERT_TRUE(fs.AppendFile(u"C:\\d\\log.txt", "two\r\n"));
  EXPECT_EQ(*fs.ReadFile(u"C:\\d\\log.txt"), "one\r\ntwo\r\n");
  EXPECT_FALSE(fs.AppendFile(u"C:\\d", "x"));  // a folder
  EXPECT_EQ(Error(), 5u);
}

TEST_F(SimFilesTest, CopyOverwritesOnlyWhenAskedAndNeedsTheTargetFolder) {
  machine.files.AddFile(u"C:\\s\\f.txt", "one");
  machine.files.AddFile(u"C:\\t\\f.txt", "two");
  EXPECT_FALSE(fs.Copy(u"C:\\s\\f.txt", u"C:\\t\\f.txt", true));
  EXPECT_EQ(Error(), 80u);  // ERROR_FILE_EXISTS
  EXPECT_TRUE(fs.Copy(u"C:\\s\\f.txt", u"C:\\t\\f.txt", false));
  EXPECT_EQ(*fs.ReadFile(u"C:\\t\\f.txt"), "one");
  EXPECT_FALSE(fs.Copy(u"C:\\s\\f.txt", u"C:\\nowhere\\f.txt", false));
  EXPECT_EQ(Error(), 3u);
  EXPECT_FALSE(fs.Copy(u"C:\\s\\missing.txt", u"C:\\t\\m.txt", false));
  EXPECT_EQ(Error(), 2u);
}

TEST_F(SimFilesTest, CreateFolderMakesOneLevelAndReportsWhatIsInTheWay) {
  EXPECT_FALSE(fs.CreateFolder(u"C:\\a\\b"));
  EXPECT_EQ(Error(), 3u);
  EXPECT_TRUE(fs.CreateFolder(u"C:\\a"));
  EXPECT_TRUE(fs.CreateFolder(u"C:\\a\\b\\"));
  EXPECT_TRUE(fs.IsDirectory(u"c:\\A\\B"));
  EXPECT_FALSE(fs.CreateFolder(u"C:\\A"));
  EXPECT_EQ(Error(), 183u);  // ERROR_ALREADY_EXISTS
  EXPECT_EQ(fs.GetAttributes(u"C:\\a"), kFileAttributeDirectory);
  EXPECT_EQ(fs.GetAttributes(u"C:\\a\\none"), kInvalidFileAttributes);
  EXPECT_FALSE(fs.RemoveFolder(u"C:\\a"));
  EXPECT_EQ(Error(), 145u);  // ERROR_DIR_NOT_EMPTY
}

TEST_F(SimFilesTest, PathsAreCanonicalisedAsWindowsDoes) {
  machine.files.AddFile(u"C:\\Medium\\amd64\\lx220.inf", "inf");
  EXPECT_TRUE(fs.FileExists(u"C:\\Medium\\Setup\\..\\amd64\\.\\lx220.inf"));
  EXPECT_TRUE(fs.FileExists(u"C:/Medium//amd64/LX220.INF"));
  EXPECT_TRUE(fs.FileExists(u"C:\\Medium\\amd64\\lx220.inf. "));  // trailing dots and blanks drop
  EXPECT_TRUE(fs.FileExists(u"C:\\..\\Medium\\amd64\\lx220.inf"));  // nothing above the root
  std::vector<FindEntry> found;
  ASSERT_TRUE(fs.FindFiles(u"C:\\Medium\\x\\..\\amd64\\*.inf", found));
  EXPECT_EQ(found.size(), 1u);
  // "*." stays a pattern (names without an extension), not "*".
  ASSERT_TRUE(fs.FindFiles(u"C:\\Medium\\amd64\\*.", found));
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(found[1].name, u"..");
}

TEST_F(SimFilesTest, KnownFoldersFollowTheProgramsWordSize) {
  EXPECT_EQ(*fs.GetFolderPath(KnownFolder::kProgramFiles), u"C:\\Program Files");
  EXPECT_EQ(*fs.GetFolderPath(KnownFolder::kWindows), u"C:\\Windows");
  auto proc32 = machine.StartProcess(u"C:\\Setup\\Qelvin32.exe", 32);
  EXPECT_EQ(*proc32->os.files->GetFolderPath(KnownFolder::kProgramFiles), u"C:\\Program Files (x86)");
  EXPECT_EQ(proc32->os.system->WindowsDirectory(), u"C:\\Windows");
  EXPECT_EQ(*proc32->os.system->NativeProcessorArchitecture(), kProcessorArchitectureAmd64);
  // Each program keeps its own view while both run.
  EXPECT_EQ(*fs.GetFolderPath(KnownFolder::kProgramFiles), u"C:\\Program Files");
  EXPECT_FALSE(proc32->os.files->RemoveFile(u"C:\\nothing.txt"));
  EXPECT_TRUE(fs.FileExists(u"C:\\Setup\\..\\Windows\\System32\\rundll32.exe"));
  EXPECT_EQ(proc32->os.system->GetLastError(), 2u);
  EXPECT_EQ(Error(), 0u);
}

// Reparse points: every path call goes through them at any level; the
// handle-based open stops at the last name, and removing takes the link.
TEST_F(SimFilesTest, LinksAreFollowedExceptAtTheLastNameOfANoFollowOpen) {
  machine.files.AddFile(u"C:\\Target\\f.ini", "secret");
  machine.files.AddFolder(u"C:\\Data");
  machine.files.AddLink(u"C:\\Data\\J", u"C:\\Target", true);
  machine.files.AddLink(u"C:\\Data\\l.ini", u"C:\\Target\\f.ini", false);
  EXPECT_EQ(fs.ReadFile(u"C:\\Data\\J\\f.ini"), std::string("secret"));
  EXPECT_EQ(fs.ReadFile(u"C:\\Data\\l.ini"), std::string("secret"));
  EXPECT_TRUE(fs.IsDirectory(u"c:\\data\\j"));

  OpenedFileInfo info;
  for (const char16_t* link : {u"C:\\Data\\J", u"C:\\Data\\l.ini"}) {
    FileHandle h = fs.OpenNoFollow(link, kFileGenericRead);
    ASSERT_NE(h, 0u);
    ASSERT_TRUE(fs.QueryHandle(h, info));
    EXPECT_TRUE(info.attributes & kFileAttributeReparsePoint) << link;
    EXPECT_EQ(fs.ReadHandle(h, 100), std::string()) << link;
    fs.CloseFile(h);
  }
  // An inner link is followed, as Windows does: only the last name is not.
  FileHandle inner = fs.OpenNoFollow(u"C:\\Data\\J\\f.ini", kFileGenericRead | kFileGenericWrite);
  ASSERT_TRUE(fs.QueryHandle(inner, info));
  EXPECT_EQ(info.attributes & kFileAttributeReparsePoint, 0u);
  EXPECT_EQ(info.size, 6u);
  EXPECT_EQ(fs.ReadHandle(inner, 3), std::string("sec"));
  EXPECT_TRUE(fs.WriteHandle(inner, "new"));
  fs.CloseFile(inner);
  EXPECT_EQ(fs.ReadFile(u"C:\\Target\\f.ini"), std::string("new"));

  FileHandle link = fs.OpenNoFollow(u"C:\\Data\\l.ini", kDeleteRight);
  EXPECT_TRUE(fs.DeleteByHandle(link));
  fs.CloseFile(link);
  EXPECT_TRUE(fs.RemoveFolder(u"C:\\Data\\J"));
  EXPECT_FALSE(fs.FileExists(u"C:\\Data\\l.ini"));
  EXPECT_TRUE(fs.FileExists(u"C:\\Target\\f.ini"));
  EXPECT_EQ(fs.OpenNoFollow(u"C:\\Data\\J", kFileGenericRead), 0u);
  EXPECT_EQ(Error(), kErrorFileNotFound);
  EXPECT_EQ(machine.files.openHandles(), 0);
}

// Owners and access: a new name belongs to its maker; a standard user reads
// what others made under inherited permissions but writes only what an
// explicit DACL grants; a handle's rights are those it was opened with.
TEST_F(SimFilesTest, PermissionsFollowOwnersAndExplicitDacls) {
  SimFileSecurity security(machine.caller, machine.files);
  security.callerSid = u"S-1-5-21-1-1-1-1001";
  security.callerIsAdministrator = false;
  machine.files.AddFolder(u"C:\\ProgramData");
  ASSERT_TRUE(fs.CreateFolder(u"C:\\ProgramData\\Mine"));
  ASSERT_TRUE(fs.WriteFile(u"C:\\ProgramData\\Mine\\a.ini", "1"));
  EXPECT_EQ(security.OwnerOf(u"C:\\ProgramData\\Mine\\a.ini"), u"S-1-5-21-1-1-1-1001");
  FileHandle own = fs.OpenNoFollow(u"C:\\ProgramData\\Mine\\a.ini", kReadControl);
  EXPECT_EQ(security.OwnerOfHandle(own), std::optional<std::u16string>(u"S-1-5-21-1-1-1-1001"));
  EXPECT_FALSE(fs.WriteHandle(own, "x"));  // not opened for writing
  fs.CloseFile(own);

  security.callerSid = u"S-1-5-21-1-1-1-1002";
  EXPECT_EQ(fs.ReadFile(u"C:\\ProgramData\\Mine\\a.ini"), std::string("1"));
  EXPECT_FALSE(fs.WriteFile(u"C:\\ProgramData\\Mine\\a.ini", "2"));
  EXPECT_EQ(fs.OpenNoFollow(u"C:\\ProgramData\\Mine\\a.ini", kFileGenericWrite), 0u);
  EXPECT_FALSE(fs.RemoveFile(u"C:\\ProgramData\\Mine\\a.ini"));

  security.callerSid = kSidLocalSystem;
  ASSERT_TRUE(security.CreateProtected(u"C:\\ProgramData\\Shared", true,
                                       {{kSidLocalSystem, kFileAllAccess}, {kSidEveryone, kFileGenericRead}}));
  ASSERT_TRUE(security.CreateProtected(u"C:\\ProgramData\\Shared\\s.ini", false,
                                       {{kSidEveryone, kFileGenericRead | kFileGenericWrite}}));
  EXPECT_FALSE(security.CreateProtected(u"C:\\ProgramData\\Shared\\s.ini", false, {}));
  EXPECT_TRUE(security.DaclProtected(u"C:\\ProgramData\\Shared\\s.ini"));
  security.callerSid = u"S-1-5-21-1-1-1-1002";
  EXPECT_TRUE(fs.WriteFile(u"C:\\ProgramData\\Shared\\s.ini", "2"));
  EXPECT_FALSE(fs.WriteFile(u"C:\\ProgramData\\Shared\\other.ini", "2"));
  EXPECT_FALSE(fs.CreateFolder(u"C:\\ProgramData\\Shared\\Sub"));
  FileHandle shared = fs.OpenNoFollow(u"C:\\ProgramData\\Shared\\s.ini", kFileGenericRead);
  EXPECT_FALSE(security.SetProtectedDaclOnHandle(shared, {}));
  EXPECT_FALSE(fs.DeleteByHandle(shared));
  fs.CloseFile(shared);
}

TEST(SimMachine, AThirtyTwoBitWindowsHasNoWow64Parts) {
  SimMachine machine;
  machine.MakeThirtyTwoBit();
  auto proc = machine.StartProcess(u"C:\\Setup\\Qelvin32.exe", 32);
  EXPECT_EQ(*proc->os.system->NativeProcessorArchitecture(), kProcessorArchitectureIntel);
  EXPECT_EQ(*proc->os.files->GetFolderPath(KnownFolder::kProgramFiles), u"C:\\Program Files");
  ASSERT_TRUE(proc->os.registry->CreateKey(RegRoot::kLocalMachine, u"SOFTWARE\\Lab"));
  EXPECT_TRUE(machine.registry.KeyExists(RegRoot::kLocalMachine, u"SOFTWARE\\Lab", RegView::kWow64_64));
  EXPECT_FALSE(proc->os.registry->KeyExists(RegRoot::kLocalMachine, u"SOFTWARE\\WOW6432Node\\Lab"));
  std::u16string dir;
  ASSERT_TRUE(proc->os.spooler->DriverDirectory(dir));
  EXPECT_EQ(dir, u"C:\\Windows\\system32\\spool\\DRIVERS\\W32X86");
}

}  // namespace
}  // namespace lx
