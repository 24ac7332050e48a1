// Opening, loading and saving the store on a simulated machine: printer
// data for users who may change the printer, the shared INI file otherwise.
#include <gtest/gtest.h>

#include "plugin/papers/paper_lookup_adapter.h"
#include "plugin/papers/tests/paper_world.h"

namespace lx::test {
namespace {

class PaperPersistenceTest : public ::testing::Test {
 protected:
  PaperWorld world;
};

TEST_F(PaperPersistenceTest, FreshPrinterGetsTheBuiltInsAndTheFirstSaveWritesThem) {
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  EXPECT_EQ(Names(store).front(), u"custom");
  EXPECT_EQ(Names(store)[4], u"3_x_4");  // creation order, not sorted
  EXPECT_EQ(store.count(), 11);
  EXPECT_TRUE(store.dirty);
  EXPECT_TRUE(world.Traced(u"Papers Init pPrinterName"));
  EXPECT_TRUE(world.Traced(u"pPapers 4"));
  EXPECT_TRUE(world.Traced(u"Paper CodeInit"));

  EXPECT_TRUE(SavePaperStoreIfChanged(*module, store, false, false));
  EXPECT_FALSE(store.dirty);
  EXPECT_TRUE(world.Traced(u"bSharePrinter 0"));
  ASSERT_TRUE(world.Data(u"papersdata"));
  EXPECT_EQ(world.Data(u"papersdata")->size(), 1364u);
  EXPECT_EQ(*world.Data(u"papersdatasize"), (std::vector<uint8_t>{0x54, 0x05, 0, 0}));
  EXPECT_EQ(world.Printer().data[u"papersdatasize"].first, kRegDword);
  EXPECT_EQ(world.Printer().data[u"papersdata"].first, kRegBinary);

  // The next process reads them back sorted.
  auto next = world.LoadModule();
  PaperStore& reloaded = OpenPaperStore(*next, kPrinter);
  EXPECT_EQ(Names(reloaded), (std::vector<std::u16string>{u"custom", u"2_x_4", u"3_x_4", u"40_x_30", u"4_x_4",
                                                          u"4_x_6", u"50_x_30", u"60_x_40", u"75_x_60",
                                                          u"80_x_50", u"80_x_60"}));
  EXPECT_FALSE(reloaded.dirty);
  EXPECT_TRUE(world.Traced(u"pPapers 1"));
  EXPECT_TRUE(world.Traced(u"pPapers 2"));
}

// One process serving two label printers (the spooler, an application that
// prints to both) lists and saves each printer's own sizes.
TEST_F(PaperPersistenceTest, OneStorePerPrinterWithinAModule) {
  auto module = world.LoadModule();
  PaperStore& first = OpenPaperStore(*module, kPrinter);
  ASSERT_TRUE(AddPaper(first, MakePaperRecord(145, u"only on A", 30, 10, false)));
  PaperStore& second = OpenPaperStore(*module, kOtherPrinter);
  EXPECT_NE(&first, &second);
  EXPECT_EQ(second.printerName, kOtherPrinter);
  EXPECT_FALSE(FindPaperByName(second, u"only on A"));
  EXPECT_EQ(second.count(), 11);
  // The same printer, however its name is cased, is the same store.
  EXPECT_EQ(&OpenPaperStore(*module, u"lx-220 LABEL"), &first);

  ASSERT_TRUE(AddPaper(second, MakePaperRecord(145, u"only on B", 30, 20, false)));
  ASSERT_TRUE(SavePaperStoreIfChanged(*module, second, false, false));
  ASSERT_TRUE(SavePaperStoreIfChanged(*module, first, false, false));
  auto next = world.LoadModule();
  EXPECT_TRUE(FindPaperByName(OpenPaperStore(*next, kPrinter), u"only on A"));
  EXPECT_FALSE(FindPaperByName(OpenPaperStore(*next, kPrinter), u"only on B"));
  EXPECT_TRUE(FindPaperByName(OpenPaperStore(*next, kOtherPrinter), u"only on B"));
  EXPECT_EQ(world.Data(u"papersdata", kOtherPrinter)->size(), 12u * 124);

  // The shared file keeps them apart by section as well.
  world.machine.spooler.callerIsAdmin = false;
  auto locked = world.LoadModule();
  PaperStore& a = OpenPaperStore(*locked, kPrinter);
  PaperStore& b = OpenPaperStore(*locked, kOtherPrinter);
  ASSERT_TRUE(AddPaper(b, MakePaperRecord(146, u"file B", 30, 30, false)));
  ASSERT_TRUE(SavePaperStore(*locked, a));
  ASSERT_TRUE(SavePaperStore(*locked, b));
  EXPECT_EQ(world.IniValue(kPrinter, u"PapersDataSize"), u"1364");
  EXPECT_EQ(world.IniValue(kOtherPrinter, u"PapersDataSize"), u"1488");
}

TEST_F(PaperPersistenceTest, StoredBlocksAreCutToWholeRecords) {
  std::vector<PaperRecord> three = UserPapers(3);
  std::vector<uint8_t> block = BlockOf(three);

  block.resize(250);  // two records and two stray bytes
  world.PutData(block, 250);
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 2);

  // A size value that disagrees with the data: the data decides.
  world.PutData(BlockOf(three), 124);
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 3);
  world.PutData(BlockOf(three), 1364);
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 3);

  // Less than one record: the built-ins stand in.
  world.PutData(std::vector<uint8_t>(100, 0x41), 100);
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 11);
  EXPECT_TRUE(world.Traced(u"pPapers 3"));

  // A size of 0 means no data.
  world.PutData(BlockOf(three), 0);
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 11);
}

TEST_F(PaperPersistenceTest, OversizedBlocksAndUnterminatedNamesLoadSafely) {
  std::vector<PaperRecord> many = UserPapers(kPaperStoreCapacity + 5);
  std::vector<uint8_t> block = BlockOf(many);
  world.PutData(block, static_cast<uint32_t>(block.size()));
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  EXPECT_EQ(store.records.size(), kPaperStoreCapacity);
  EXPECT_FALSE(AddPaper(store, MakePaperRecord(99999, u"more", 1, 1, false)));

  std::vector<PaperRecord> bad = UserPapers(1);
  for (auto& c : bad[0].name) c = u'N';
  world.PutData(BlockOf(bad), sizeof(PaperRecord));
  auto next = world.LoadModule();
  PaperStore& named = OpenPaperStore(*next, kPrinter);
  ASSERT_EQ(named.count(), 1);
  EXPECT_EQ(PaperName(named.records[0]), std::u16string(31, u'N'));
}

TEST_F(PaperPersistenceTest, WithoutFullAccessTheSharedFileIsUsed) {
  world.machine.spooler.callerIsAdmin = false;
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  EXPECT_TRUE(world.Traced(u"Get OpenPrinter LX-220 Label  failed, error = 5\n"));
  EXPECT_TRUE(world.Traced(u"GetPapersToIni Failed"));
  EXPECT_EQ(store.count(), 11);

  ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), u"shipping", 56.049f, 30, false)));
  EXPECT_TRUE(SavePaperStore(*module, store));
  EXPECT_TRUE(world.Traced(u"Set OpenPrinter LX-220 Label failed, error = 5\n"));
  EXPECT_TRUE(world.Traced(u"bSharePrinter 1"));
  EXPECT_TRUE(world.Traced(u"SetPapersToIni Success"));
  EXPECT_TRUE(store.dirty);  // a save leaves the flag alone
  EXPECT_EQ(world.IniValue(kPrinter, u"PapersDataSize"), u"1488");
  std::u16string hex = world.IniValue(kPrinter, u"PapersData");
  EXPECT_EQ(hex.size(), 2976u);
  EXPECT_EQ(hex.substr(0, 8), u"00010000");  // 256, little-endian, upper-case pairs
  EXPECT_FALSE(world.Data(u"papersdata"));

  auto next = world.LoadModule();
  PaperStore& reloaded = OpenPaperStore(*next, kPrinter);
  EXPECT_TRUE(world.Traced(u"GetPapersToIni Success"));
  EXPECT_TRUE(world.Traced(u"Get dwSize= 1488\n"));
  EXPECT_EQ(reloaded.count(), 12);
  auto found = FindPaperByName(reloaded, u"shipping");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->record.number, 145);
  EXPECT_EQ(MmToTenths(found->record.width), 561);
}

TEST_F(PaperPersistenceTest, FileTextIsDecodedPairByPair) {
  world.machine.spooler.callerIsAdmin = false;
  world.machine.files.AddFile(kPaperFile, "[LX-220 Label]\r\nPapersDataSize=2\r\nPapersData=0A1\r\n");
  OpenPaperStore(*world.LoadModule(), kPrinter);
  EXPECT_TRUE(world.Traced(u"Get dwSize= 1\n"));  // 0x0A; the single "1" is ignored
  EXPECT_TRUE(world.Traced(u"pPapers 3"));

  EXPECT_EQ(DecodePaperHex(u"0A1", 2), (std::vector<uint8_t>{0x0A}));
  EXPECT_EQ(DecodePaperHex(u"ffG1 A1Z", 10), (std::vector<uint8_t>{0xFF, 0x00, 0x00, 0x01}));  // "ff" "G1" " A" "1Z"
  EXPECT_EQ(DecodePaperHex(u"0102030405", 3), (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(EncodePaperHex({0x00, 0xAB, 0x5F}), u"00AB5F");

  // A file block with more than the file form holds is cut to whole records.
  std::vector<uint8_t> block = BlockOf(UserPapers(40));
  std::string text = "[LX-220 Label]\r\nPapersDataSize=" + std::to_string(block.size()) + "\r\nPapersData=";
  for (char16_t c : EncodePaperHex(block)) text.push_back(static_cast<char>(c));
  world.machine.files.WriteFile(kPaperFile, text + "\r\n");
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 33);
}

TEST_F(PaperPersistenceTest, TheFileFormRefusesWhatItCannotHoldWhole) {
  world.machine.spooler.callerIsAdmin = false;
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  store.records = UserPapers(kPaperFileRecords);
  store.dirty = true;
  EXPECT_TRUE(SavePaperStoreIfChanged(*module, store, false, false));
  EXPECT_EQ(world.IniValue(kPrinter, u"PapersData").size(), 33u * 124 * 2);

  ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), u"the 34th", 1, 1, false)));
  EXPECT_FALSE(SavePaperStoreIfChanged(*module, store, false, false));
  EXPECT_TRUE(world.Traced(u"SetPapersToIni Failed"));
  EXPECT_TRUE(store.dirty);  // the changes are still to be saved
  EXPECT_EQ(world.IniValue(kPrinter, u"PapersDataSize"), u"4092");  // the last whole save stands

  // The same store goes whole into printer data once the printer can be changed.
  world.machine.spooler.callerIsAdmin = true;
  EXPECT_TRUE(SavePaperStoreIfChanged(*module, store, false, false));
  EXPECT_EQ(world.Data(u"papersdata")->size(), 34u * 124);
}

TEST_F(PaperPersistenceTest, SaveIfChangedFlags) {
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  store.dirty = false;
  EXPECT_TRUE(SavePaperStoreIfChanged(*module, store, false, false));
  EXPECT_FALSE(world.Data(u"papersdata"));  // nothing needed saving

  store.dirty = true;
  EXPECT_TRUE(SavePaperStoreIfChanged(*module, store, false, true));
  EXPECT_TRUE(store.dirty);  // kept on request
  ASSERT_TRUE(world.Data(u"papersdata"));

  // An empty store is written only when forced.
  store.records.clear();
  EXPECT_TRUE(SavePaperStoreIfChanged(*module, store, false, false));
  EXPECT_EQ(world.Data(u"papersdata")->size(), 1364u);
  EXPECT_TRUE(SavePaperStoreIfChanged(*module, store, true, false));
  EXPECT_EQ(world.Data(u"papersdata")->size(), 0u);
  // ... and then reads back as no list: the built-ins return.
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 11);
}

TEST_F(PaperPersistenceTest, PaperFilePathCreatesNothingAndABlockedPathFailsTheSave) {
  auto module = world.LoadModule();
  EXPECT_EQ(PaperFilePath(*module), std::u16string(kPaperFile));
  EXPECT_FALSE(world.machine.files.IsDirectory(u"C:\\ProgramData\\ZORVIKA"));

  PaperWorld blocked;
  blocked.machine.files.AddFile(u"C:\\ProgramData\\ZORVIKA", "not a folder");
  blocked.machine.spooler.callerIsAdmin = false;
  auto other = blocked.LoadModule();
  PaperStore& store = OpenPaperStore(*other, kPrinter);
  EXPECT_EQ(store.count(), 11);
  EXPECT_FALSE(SavePaperStore(*other, store));
  EXPECT_TRUE(blocked.Traced(u"SetPapersToIni Failed"));
  EXPECT_EQ(blocked.machine.files.ReadFile(u"C:\\ProgramData\\ZORVIKA"), std::string("not a folder"));
}

TEST_F(PaperPersistenceTest, AnEmptyPrinterNameNeitherOpensTheServerNorWritesASection) {
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, u"");
  EXPECT_EQ(store.count(), 11);
  EXPECT_TRUE(world.Traced(u"Get OpenPrinter   failed, error = 1801\n"));
  EXPECT_FALSE(SavePaperStore(*module, store));
  EXPECT_FALSE(world.machine.files.FileExists(kPaperFile));
}

TEST_F(PaperPersistenceTest, TheMergeLookupAnswersInTenths) {
  auto module = world.LoadModule();
  PaperStoreLookup lookup(*module, kPrinter);
  EXPECT_TRUE(module->stores.empty());  // opened at the first lookup
  auto byNumber = lookup.FindByNumber(122);
  ASSERT_TRUE(byNumber);
  EXPECT_EQ(byNumber->name, u"3_x_4");
  EXPECT_EQ(byNumber->widthTenths, 762);
  EXPECT_EQ(byNumber->lengthTenths, 1016);
  auto byName = lookup.FindByName(u"80_x_50");
  ASSERT_TRUE(byName);
  EXPECT_EQ(byName->number, 144);
  EXPECT_EQ(byName->widthTenths, 800);
  EXPECT_FALSE(lookup.FindByName(u"80_X_50"));
  EXPECT_FALSE(lookup.FindByNumber(9));

  // The printer's name is asked for once, at the first lookup.
  int asked = 0;
  auto fresh = world.LoadModule();
  PaperStoreLookup first(*fresh, [&asked] {
    ++asked;
    return std::u16string(kOtherPrinter);
  });
  EXPECT_TRUE(first.FindByNumber(256));
  EXPECT_TRUE(first.FindByNumber(119));
  EXPECT_EQ(asked, 1);
  ASSERT_TRUE(FindOpenPaperStore(*fresh, kOtherPrinter));
  EXPECT_FALSE(FindOpenPaperStore(*fresh, kPrinter));
}

}  // namespace
}  // namespace lx::test
