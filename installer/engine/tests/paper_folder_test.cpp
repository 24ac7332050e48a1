// The installer's making of the plug-in's shared paper file (shared file).
#include <gtest/gtest.h>

#include "installer/engine/paper_folder.h"
#include "platform/sim/sim_file_security.h"
#include "platform/sim/sim_machine.h"

namespace lx {
namespace {

constexpr char16_t kCompany[] = u"C:\\ProgramData\\ZORVIKA";
constexpr char16_t kProduct[] = u"C:\\ProgramData\\ZORVIKA\\LX-220";
constexpr char16_t kFile[] = u"C:\\ProgramData\\ZORVIKA\\LX-220\\lx220uip.ini";
constexpr char16_t kUser[] = u"S-1-5-21-5-5-5-1001";

class PaperFolderTest : public ::testing::Test {
 protected:
  PaperFolderTest() {
    machine.files.AddFolder(u"C:\\ProgramData");
    os.fileSecurity = &security;
    security.callerSid = u"S-1-5-21-5-5-5-500";  // an elevated administrator
  }
  bool Protected(const char16_t* path) { return security.DaclProtected(path); }

  SimMachine machine;
  std::unique_ptr<SimProcess> process = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  Os os = process->os;
  SimFileSecurity security{machine.caller, machine.files};
};

TEST_F(PaperFolderTest, MakesEachLevelWithItsProtectedDaclAndKeepsAFileThatIsThere) {
  ASSERT_TRUE(PrepareSharedPaperFile(os));
  for (const char16_t* level : {kCompany, kProduct, kFile}) EXPECT_TRUE(Protected(level));
  EXPECT_EQ(machine.files.ReadFile(kFile), std::string());
  EXPECT_EQ(security.RightsOf(kFile, kSidEveryone) & (kDeleteRight | kWriteDac), 0u);
  EXPECT_EQ(security.RightsOf(kFile, kSidEveryone) & kFileGenericWrite, kFileGenericWrite);

  // Again (a second installation): the sizes stay, the DACLs are set again.
  machine.files.WriteFile(kFile, "[P]\r\nPapersDataSize=0\r\n");
  ASSERT_TRUE(PrepareSharedPaperFile(os));
  EXPECT_EQ(machine.files.ReadFile(kFile), std::string("[P]\r\nPapersDataSize=0\r\n"));
  EXPECT_EQ(machine.files.openHandles(), 0);
}

// What a standard user put there first: a link is removed without being
// followed, an owned folder or file is taken over and keeps its contents.
TEST_F(PaperFolderTest, LinksAreRemovedAndUsersLevelsTakenOver) {
  machine.files.AddFile(u"C:\\Windows\\system32\\config.ini", "system");
  machine.files.AddLink(kCompany, u"C:\\Windows\\system32", true);
  ASSERT_TRUE(PrepareSharedPaperFile(os));
  EXPECT_EQ(machine.files.ReadFile(u"C:\\Windows\\system32\\config.ini"), std::string("system"));
  EXPECT_FALSE(security.DaclOf(u"C:\\Windows\\system32"));
  EXPECT_FALSE(machine.files.FolderExists(u"C:\\Windows\\system32\\LX-220"));
  EXPECT_TRUE(Protected(kFile));

  SimMachine other;
  auto process2 = other.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  Os os2 = process2->os;
  SimFileSecurity security2{other.caller, other.files};
  os2.fileSecurity = &security2;
  other.files.AddFile(kFile, "users' sizes");
  security2.SetFileOwner(kProduct, kUser);
  security2.SetFileOwner(kFile, kUser);
  ASSERT_TRUE(PrepareSharedPaperFile(os2));
  EXPECT_EQ(security2.OwnerOf(kProduct), kSidAdministrators);
  EXPECT_EQ(security2.OwnerOf(kFile), kSidAdministrators);
  EXPECT_TRUE(security2.DaclProtected(kFile));
  EXPECT_EQ(other.files.ReadFile(kFile), std::string("users' sizes"));

  // A hard-linked file is another file's second name: that name goes.
  SimMachine third;
  auto process3 = third.StartProcess(u"C:\\Setup\\Qelvin64.exe");
  Os os3 = process3->os;
  SimFileSecurity security3{third.caller, third.files};
  os3.fileSecurity = &security3;
  third.files.AddFile(kFile, "a system file's data");
  third.files.SetLinkCount(kFile, 2);
  ASSERT_TRUE(PrepareSharedPaperFile(os3));
  EXPECT_EQ(third.files.ReadFile(kFile), std::string());
  EXPECT_TRUE(security3.DaclProtected(kFile));
}

TEST_F(PaperFolderTest, AFileWhereAFolderBelongsFailsAndIsKept) {
  machine.files.AddFile(kCompany, "in the way");
  EXPECT_FALSE(PrepareSharedPaperFile(os));
  EXPECT_EQ(machine.files.ReadFile(kCompany), std::string("in the way"));
  os.fileSecurity = nullptr;
  EXPECT_FALSE(PrepareSharedPaperFile(os));
}

}  // namespace
}  // namespace lx
