// Printer events: a new printer's list is saved and the shared file made
// with explicit protected DACLs; a deleted printer's sizes go.
#include <gtest/gtest.h>

#include "plugin/papers/paper_printer_event.h"
#include "plugin/papers/tests/paper_world.h"

namespace lx::test {
namespace {

class PaperPrinterEventTest : public ::testing::Test {
 protected:
  PaperWorld world;
};

TEST_F(PaperPrinterEventTest, InitializeSavesIntoPrinterDataWhenThePrinterCanBeChanged) {
  auto module = world.LoadModule();
  PaperPrinterEvent(*module, kPrinter, kPrinterEventInitialize);
  ASSERT_TRUE(world.Data(u"papersdata"));
  EXPECT_EQ(world.Data(u"papersdata")->size(), 1364u);
  EXPECT_TRUE(world.Traced(kPrinter));
  // The shared file is made all the same, empty, for the users who cannot
  // change the printer.
  EXPECT_EQ(world.machine.files.ReadFile(kPaperFile), std::string());
  EXPECT_TRUE(world.security.DaclProtected(kPaperFile));
}

TEST_F(PaperPrinterEventTest, InitializeOpensANewSharedFileToAllUsersWithoutANullDacl) {
  world.machine.spooler.callerIsAdmin = false;
  auto module = world.LoadModule();
  PaperPrinterEvent(*module, kPrinter, kPrinterEventInitialize);
  ASSERT_TRUE(world.machine.files.FileExists(kPaperFile));
  EXPECT_EQ(world.IniValue(kPrinter, u"PapersDataSize"), u"1364");
  EXPECT_TRUE(world.security.DaclProtected(kPaperFile));
  EXPECT_TRUE(world.security.DaclProtected(u"C:\\ProgramData\\ZORVIKA"));
  EXPECT_EQ(world.security.RightsOf(u"C:\\ProgramData\\ZORVIKA\\LX-220", kSidEveryone) & (kDeleteRight | 0x6), 0u);

  auto dacl = world.security.DaclOf(kPaperFile);
  ASSERT_TRUE(dacl);
  ASSERT_FALSE(dacl->empty());
  uint32_t everyone = world.security.RightsOf(kPaperFile, kSidEveryone);
  EXPECT_EQ(everyone & kFileGenericRead, kFileGenericRead);
  EXPECT_EQ(everyone & kFileGenericWrite, kFileGenericWrite);
  EXPECT_EQ(everyone & (kWriteDac | kWriteOwner | kDeleteRight), 0u);
  EXPECT_EQ(world.security.RightsOf(kPaperFile, kSidAdministrators), kFileAllAccess);
  EXPECT_EQ(world.security.RightsOf(kPaperFile, kSidLocalSystem), kFileAllAccess);
}

// A file another user made (as the landed code let the first saving user
// do) is neither re-permissioned, taken over nor read by the spooler.
TEST_F(PaperPrinterEventTest, AFileOfAnotherUserIsLeftAlone) {
  world.machine.spooler.callerIsAdmin = false;
  world.machine.files.AddFile(kPaperFile, "");
  world.security.SetFileOwner(kPaperFile, u"S-1-5-21-1-2-3-1001");
  auto module = world.LoadModule();
  PaperPrinterEvent(*module, kPrinter, kPrinterEventInitialize);
  EXPECT_EQ(world.security.OwnerOf(kPaperFile), u"S-1-5-21-1-2-3-1001");
  EXPECT_EQ(world.security.daclWrites, 0);
  EXPECT_FALSE(world.security.DaclOf(kPaperFile));
  EXPECT_EQ(world.machine.files.ReadFile(kPaperFile), std::string());
  EXPECT_TRUE(world.Traced(u"SharedPapers: refused, C:\\ProgramData\\ZORVIKA\\LX-220\\lx220uip.ini is owned by "
                           u"S-1-5-21-1-2-3-1001"));
}

TEST_F(PaperPrinterEventTest, InitializeLeavesAnExistingFileAlone) {
  world.machine.files.AddFile(kPaperFile, "[Other]\r\nPapersDataSize=0\r\n");
  auto module = world.LoadModule();
  PaperPrinterEvent(*module, kPrinter, kPrinterEventInitialize);
  EXPECT_TRUE(module->stores.empty());
  EXPECT_FALSE(world.Data(u"papersdata"));
  EXPECT_EQ(world.security.daclWrites, 0);
}

TEST_F(PaperPrinterEventTest, DeleteEmptiesTheFileButKeepsOtherPrintersSizes) {
  world.machine.spooler.callerIsAdmin = false;
  PaperPrinterEvent(*world.LoadModule(), kPrinter, kPrinterEventInitialize);
  ASSERT_TRUE(world.machine.files.FileExists(kPaperFile));
  PaperPrinterEvent(*world.LoadModule(), kPrinter, kPrinterEventDelete);
  EXPECT_EQ(world.machine.files.ReadFile(kPaperFile), std::string());  // kept for the printers to come
  EXPECT_TRUE(world.security.DaclProtected(kPaperFile));

  // Two printers share the file: deleting one keeps the other's list.
  auto a = world.LoadModule();
  PaperStore& storeA = OpenPaperStore(*a, kPrinter);
  ASSERT_TRUE(SavePaperStore(*a, storeA));
  auto b = world.LoadModule();
  PaperStore& storeB = OpenPaperStore(*b, kOtherPrinter);
  ASSERT_TRUE(AddPaper(storeB, MakePaperRecord(145, u"warehouse", 100, 50, false)));
  ASSERT_TRUE(SavePaperStore(*b, storeB));

  PaperPrinterEvent(*world.LoadModule(), kPrinter, kPrinterEventDelete);
  ASSERT_TRUE(world.machine.files.FileExists(kPaperFile));
  EXPECT_EQ(world.IniValue(kPrinter, u"PapersDataSize"), u"0");
  EXPECT_TRUE(FindPaperByName(OpenPaperStore(*world.LoadModule(), kOtherPrinter), u"warehouse"));
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 11);

  // Other events touch nothing.
  PaperPrinterEvent(*world.LoadModule(), kOtherPrinter, 1);
  PaperPrinterEvent(*world.LoadModule(), kOtherPrinter, 5);
  EXPECT_TRUE(world.machine.files.FileExists(kPaperFile));
}

}  // namespace
}  // namespace lx::test
