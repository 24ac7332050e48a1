// The shared paper file against what a standard user can plant, users who
// share it, and sizes from outside (shared file, sizes).
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "common/format.h"
#include "plugin/papers/paper_printer_event.h"
#include "plugin/papers/paper_shared_file.h"
#include "plugin/papers/tests/paper_world.h"

namespace lx::test {
namespace {

constexpr char16_t kUser1[] = u"S-1-5-21-7-7-7-1001";
constexpr char16_t kUser2[] = u"S-1-5-21-7-7-7-1002";
constexpr char16_t kCompany[] = u"C:\\ProgramData\\ZORVIKA";
constexpr char16_t kProduct[] = u"C:\\ProgramData\\ZORVIKA\\LX-220";

// A section of the file form holding `records`, as the landed code wrote it.
std::string Section(const std::u16string& printer, const std::vector<PaperRecord>& records) {
  std::vector<uint8_t> block = BlockOf(records);
  std::string hex;
  for (char16_t c : EncodePaperHex(block)) hex.push_back(static_cast<char>(c));
  std::string name;
  for (char16_t c : printer) name.push_back(static_cast<char>(c));
  return "[" + name + "]\r\nPapersDataSize=" + std::to_string(block.size()) + "\r\nPapersData=" + hex + "\r\n";
}

class SharedFileTest : public ::testing::Test {
 protected:
  SharedFileTest() { world.machine.spooler.callerIsAdmin = false; }  // the file form, not printer data

  // What the installation leaves: folders and file made by SYSTEM.
  void Install() { ASSERT_TRUE(MakeSharedPaperFile(*world.LoadModule())); }
  void BecomeUser(const std::u16string& sid) {
    world.security.callerSid = sid;
    world.security.callerIsAdministrator = false;
  }
  void BecomeSpooler() {
    world.security.callerSid = kSidLocalSystem;
    world.security.callerIsAdministrator = true;
  }
  bool TracedPart(const std::u16string& part) const {
    for (const auto& line : world.process->debug.lines)
      if (line.find(part) != std::u16string::npos) return true;
    return false;
  }

  PaperWorld world;
};

// A junction or link at each level of the path, pointing at a copy of the
// layout elsewhere: the spooler's load, save, delete and initialize events
// neither read, write, delete nor re-permission what lies behind it.
TEST_F(SharedFileTest, ALinkAtAnyLevelIsNeverFollowed) {
  const std::string planted = Section(kPrinter, {MakePaperRecord(145, u"planted", 50, 30, false)});
  struct Plant {
    std::u16string link, target, victim;
    bool folder;
  };
  const Plant plants[] = {
      {kCompany, u"C:\\Secret", u"C:\\Secret\\LX-220\\lx220uip.ini", true},
      {kProduct, u"C:\\Secret", u"C:\\Secret\\lx220uip.ini", true},
      {kPaperFile, u"C:\\Windows\\system.ini", u"C:\\Windows\\system.ini", false},
  };
  for (const Plant& p : plants) {
    SCOPED_TRACE(static_cast<int>(&p - plants));
    PaperWorld w;
    w.machine.spooler.callerIsAdmin = false;
    w.machine.files.AddFile(p.victim, planted);
    w.machine.files.AddFolder(kCompany);
    if (!p.folder) w.machine.files.AddFolder(kProduct);
    w.machine.files.AddLink(p.link, p.target, p.folder);
    ASSERT_EQ(w.machine.files.ReadFile(kPaperFile), planted) << "the link leads to the victim";

    auto module = w.LoadModule();
    PaperStore& store = OpenPaperStore(*module, kPrinter);
    EXPECT_FALSE(FindPaperByName(store, u"planted"));
    EXPECT_FALSE(SavePaperStore(*module, store));
    PaperPrinterEvent(*w.LoadModule(), kPrinter, kPrinterEventDelete);
    PaperPrinterEvent(*w.LoadModule(), kPrinter, kPrinterEventInitialize);
    EXPECT_EQ(w.machine.files.ReadFile(p.victim), planted);
    EXPECT_FALSE(w.security.DaclOf(p.victim));
    EXPECT_EQ(w.machine.files.openHandles(), 0);
    bool traced = false;
    for (const auto& line : w.process->debug.lines) traced = traced || line.find(u"is a reparse point") != line.npos;
    EXPECT_TRUE(traced);
  }
}

// A file or folder a standard user made (or hard-linked) is left as found.
TEST_F(SharedFileTest, WhatAStandardUserOwnsOrHardLinkedIsLeftAlone) {
  const std::string data = Section(kPrinter, {MakePaperRecord(145, u"user's", 50, 30, false)});
  for (const std::u16string& owned : {std::u16string(kCompany), std::u16string(kPaperFile), std::u16string()}) {
    PaperWorld w;
    w.machine.spooler.callerIsAdmin = false;
    w.machine.files.AddFile(kPaperFile, data);
    if (owned.empty())
      w.machine.files.SetLinkCount(kPaperFile, 2);
    else
      w.security.SetFileOwner(owned, kUser1);
    auto module = w.LoadModule();
    EXPECT_FALSE(FindPaperByName(OpenPaperStore(*module, kPrinter), u"user's"));
    PaperPrinterEvent(*w.LoadModule(), kPrinter, kPrinterEventDelete);
    PaperPrinterEvent(*w.LoadModule(), kPrinter, kPrinterEventInitialize);
    EXPECT_EQ(w.machine.files.ReadFile(kPaperFile), data);
    EXPECT_EQ(w.security.daclWrites, 0);
    EXPECT_FALSE(w.security.DaclOf(kPaperFile));
    EXPECT_FALSE(w.security.DaclOf(kCompany));
  }
}

TEST_F(SharedFileTest, TheSpoolerMakesEachLevelProtectedAndAUserMakesNone) {
  BecomeUser(kUser1);
  auto user = world.LoadModule();
  PaperStore& store = OpenPaperStore(*user, kPrinter);
  ASSERT_TRUE(AddPaper(store, MakePaperRecord(NextPaperNumber(store), u"mine", 60, 40, false)));
  EXPECT_FALSE(SavePaperStore(*user, store));
  EXPECT_FALSE(world.machine.files.FolderExists(kCompany));
  EXPECT_TRUE(TracedPart(u"is missing"));

  BecomeSpooler();
  Install();
  for (const char16_t* level : {kCompany, kProduct, kPaperFile}) {
    EXPECT_TRUE(world.security.DaclProtected(level));
    EXPECT_EQ(world.security.OwnerOf(level), kSidLocalSystem);
  }
  // Users may write the file, but not add, remove or re-permission names.
  EXPECT_EQ(world.security.RightsOf(kProduct, kSidEveryone) & (0x2 | 0x4 | kDeleteRight | kWriteDac), 0u);
  EXPECT_EQ(world.security.RightsOf(kPaperFile, kSidEveryone) & (kDeleteRight | kWriteDac | kWriteOwner), 0u);
  BecomeUser(kUser1);
  EXPECT_TRUE(SavePaperStore(*user, store));
}

// Both users opened the printer's sizes before either saved; each save keeps
// the other's, the later one renumbering the size whose number it took.
TEST_F(SharedFileTest, TwoStandardUsersSaveInTurnAndBothKeepTheirSizes) {
  Install();
  BecomeUser(kUser1);
  auto first = world.LoadModule();
  PaperStore& one = OpenPaperStore(*first, kPrinter);
  BecomeUser(kUser2);
  auto second = world.LoadModule();
  PaperStore& two = OpenPaperStore(*second, kPrinter);

  BecomeUser(kUser1);
  ASSERT_TRUE(AddPaper(one, MakePaperRecord(NextPaperNumber(one), u"alpha", 60, 40, false)));
  ASSERT_TRUE(SavePaperStoreIfChanged(*first, one, false, false));
  BecomeUser(kUser2);
  ASSERT_TRUE(AddPaper(two, MakePaperRecord(NextPaperNumber(two), u"beta", 70, 50, false)));
  ASSERT_TRUE(SavePaperStoreIfChanged(*second, two, false, false));
  // The first user deletes a built-in size and saves again: beta stays.
  BecomeUser(kUser1);
  ASSERT_TRUE(RemovePaperAt(one, FindPaperByName(one, u"4_x_4")->index));
  ASSERT_TRUE(SavePaperStoreIfChanged(*first, one, false, false));

  for (const char16_t* user : {kUser1, kUser2}) {
    BecomeUser(user);
    auto module = world.LoadModule();
    PaperStore& seen = OpenPaperStore(*module, kPrinter);
    ASSERT_TRUE(FindPaperByName(seen, u"alpha"));
    ASSERT_TRUE(FindPaperByName(seen, u"beta"));
    EXPECT_FALSE(FindPaperByName(seen, u"4_x_4"));
    EXPECT_NE(FindPaperByName(seen, u"alpha")->record.number, FindPaperByName(seen, u"beta")->record.number);
    EXPECT_EQ(seen.count(), 12);
  }
  EXPECT_EQ(world.security.OwnerOf(kPaperFile), kSidLocalSystem);

  // While another process writes the file, a save fails (and the page says
  // so) instead of racing it.
  FileHandle writer = world.machine.files.OpenNoFollow(kPaperFile, kFileGenericWrite);
  ASSERT_NE(writer, 0u);
  auto third = world.LoadModule();
  PaperStore& late = OpenPaperStore(*third, kPrinter);
  EXPECT_FALSE(SavePaperStore(*third, late));
  EXPECT_TRUE(TracedPart(u"cannot be opened, error 32"));
  world.machine.files.CloseFile(writer);
  EXPECT_TRUE(SavePaperStore(*third, late));
}

// A printer name outside the ANSI code page keeps its section: the file is
// written as UTF-16 with its mark, which the profile functions read.
TEST_F(SharedFileTest, AFileStartedByUsIsUnicode) {
  Install();
  const std::u16string name = u"\u30e9\u30d9\u30eb";
  world.machine.spooler.AddPrinter(name, u"USB001", u"LX-220");
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, name);
  ASSERT_TRUE(SavePaperStore(*module, store));
  std::string bytes = *world.machine.files.ReadFile(kPaperFile);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("\xFF\xFE"));
  EXPECT_EQ(world.IniValue(name, u"PapersDataSize"), u"1364");
}

// Sizes: each of these ends in a defined result and loses nothing valid.
TEST_F(SharedFileTest, OversizedEmptyAndRandomSharedFiles) {
  Install();
  // Empty (as installed): read as no list, written as our first section.
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  EXPECT_EQ(store.count(), 11);
  ASSERT_TRUE(SavePaperStore(*module, store));

  // 10 MB: damaged, neither read nor written; the file stays as it is.
  std::string huge(10 * 1024 * 1024, 'x');
  world.machine.files.WriteFile(kPaperFile, huge);
  auto big = world.LoadModule();
  PaperStore& fromBig = OpenPaperStore(*big, kPrinter);
  EXPECT_EQ(fromBig.count(), 11);
  EXPECT_TRUE(TracedPart(u"more than 1048576: damaged"));
  EXPECT_FALSE(SavePaperStore(*big, fromBig));
  EXPECT_EQ(world.machine.files.ReadFile(kPaperFile)->size(), huge.size());

  // Random bytes: no list read from them; a save adds a readable section.
  std::mt19937 random(22);
  std::string noise(4000, '\0');
  for (char& c : noise) c = static_cast<char>(random() & 0xFF);
  noise[0] = 'n';  // not a byte-order mark
  world.machine.files.WriteFile(kPaperFile, noise);
  auto noisy = world.LoadModule();
  PaperStore& fromNoise = OpenPaperStore(*noisy, kPrinter);
  EXPECT_EQ(fromNoise.count(), 11);
  ASSERT_TRUE(AddPaper(fromNoise, MakePaperRecord(NextPaperNumber(fromNoise), u"kept", 60, 40, false)));
  ASSERT_TRUE(SavePaperStore(*noisy, fromNoise));
  EXPECT_TRUE(FindPaperByName(OpenPaperStore(*world.LoadModule(), kPrinter), u"kept"));
}

TEST_F(SharedFileTest, PapersDataSizeIsCappedAndAHugeBlockIsDamaged) {
  world.machine.spooler.callerIsAdmin = true;
  std::vector<PaperRecord> three = UserPapers(3);
  world.PutData(BlockOf(three), 0xFFFFFFFFu);
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 3);
  EXPECT_TRUE(world.Traced(u"PapersDataSize 4294967295 capped at 254076"));

  world.PutData(std::vector<uint8_t>(2 * 1024 * 1024), 2 * 1024 * 1024);
  EXPECT_EQ(OpenPaperStore(*world.LoadModule(), kPrinter).count(), 11);
  EXPECT_TRUE(world.Traced(u"PapersData of 2097152 bytes: damaged, not read"));
}

TEST_F(SharedFileTest, RecordsThatFailAnyCheckAreDroppedWithATraceLine) {
  world.machine.spooler.callerIsAdmin = true;
  const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
  std::vector<PaperRecord> records = {
      MakePaperRecord(145, u"good", 50, 30, false),     MakePaperRecord(0, u"zero", 50, 30, false),
      MakePaperRecord(32768, u"big", 50, 30, false),    MakePaperRecord(-1, u"negative", 50, 30, false),
      MakePaperRecord(146, u"nan", nan, 30, false),     MakePaperRecord(147, u"inf", 50, inf, false),
      MakePaperRecord(148, u"-inf", -inf, 30, false),   MakePaperRecord(149, u"narrow", 24.9f, 30, false),
      MakePaperRecord(150, u"short", 50, 2.9f, false),  MakePaperRecord(151, u"wide", 1778.1f, 30, false),
      MakePaperRecord(152, u"flag", 50, 30, false),     MakePaperRecord(145, u"same number", 50, 30, false),
      MakePaperRecord(153, u"good", 60, 40, false),     MakePaperRecord(32767, u"edges", 25, 3, true),
      MakePaperRecord(1, u"far edges", 1778, 1778, false)};
  records[10].builtIn = 2;
  world.PutData(BlockOf(records), static_cast<uint32_t>(records.size() * sizeof(PaperRecord)));
  auto module = world.LoadModule();
  PaperStore& store = OpenPaperStore(*module, kPrinter);
  EXPECT_EQ(Names(store), (std::vector<std::u16string>{u"edges", u"far edges", u"good"}));
  for (int i = 1; i <= 12; ++i)
    EXPECT_TRUE(TracedPart(FormatW(u"Paper record %d dropped: ", i))) << i;
  EXPECT_TRUE(world.Traced(u"Paper record 11 dropped: number repeated"));
  EXPECT_TRUE(world.Traced(u"Paper record 12 dropped: name repeated"));
}

}  // namespace
}  // namespace lx::test
