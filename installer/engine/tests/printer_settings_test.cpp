#include <gtest/gtest.h>

#include "common/text.h"

#include "installer/engine/driver_removal.h"
#include "installer/engine/folder_copy.h"
#include "installer/engine/post_action.h"
#include "installer/engine/printer_queries.h"
#include "installer/engine/tests/engine_fixture.h"
#include "installer/engine/uninstall_entry.h"

namespace lx {
namespace {

const std::u16string kEntryKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelDriver";

class PrinterSettingsTest : public EngineMachineTest {
 protected:
  void SetUp() override {
    EngineMachineTest::SetUp();
    machine.spooler.AddPort(u"LPT1:");
    machine.spooler.InstallDriver(u"LX-320 Label");
  }
  void AddPrinter(const std::u16string& name) {
    ASSERT_EQ(machine.spooler.AddPrinter(name, u"LPT1:", u"LX-320 Label"), 0u);
  }
  const DevModeBytes& DevMode(const std::u16string& name) { return machine.spooler.Find(name)->info.devMode; }
};

TEST_F(PrinterSettingsTest, UniqueNameNumbersFromTheRequest) {
  EXPECT_EQ(MakeUniquePrinterName(os, u"Label"), u"Label");  // no printers
  EXPECT_EQ(MakeUniquePrinterName(os, u""), u"");
  AddPrinter(u"label");
  EXPECT_EQ(MakeUniquePrinterName(os, u"Label"), u"Label");  // exact comparison
  AddPrinter(u"Label (1)");
  AddPrinter(u"Label (3)");
  AddPrinter(u"Label (1) (1)");
  EXPECT_EQ(MakeUniquePrinterName(os, u"label"), u"label (1)");  // "Label (1)" differs in case
  EXPECT_EQ(MakeUniquePrinterName(os, u"Label (1)"), u"Label (1) (2)");
  machine.spooler.failListPrinters = 5;
  EXPECT_EQ(MakeUniquePrinterName(os, u"label"), u"label");
}

TEST_F(PrinterSettingsTest, PrinterExistsComparesExactly) {
  AddPrinter(u"Label");
  EXPECT_TRUE(PrinterExists(os, u"Label"));
  EXPECT_FALSE(PrinterExists(os, u"LABEL"));
  EXPECT_FALSE(PrinterExists(os, u"Label "));
  EXPECT_FALSE(PrinterExists(os, u""));
}

TEST_F(PrinterSettingsTest, EachStepOfASizedSpoolerReadTracesItsOwnLine) {
  AddPrinter(u"Big Label");
  auto listFailsAt = [&](BufferStep step, uint32_t error) {
    machine.spooler.failListPrinters = error;
    machine.spooler.listPrintersFailsAt = step;
    proc->debug.lines.clear();
  };
  listFailsAt(BufferStep::kRead, 1722);
  EXPECT_FALSE(PrinterExists(os, u"Big Label"));
  EXPECT_TRUE(Traced(u"Failed to enumerate printers: Error 1722\n"));
  DeletePrintersAndDrivers(os);
  EXPECT_TRUE(Traced(u"Failed to retrieve printer information."));
  EXPECT_FALSE(Traced(u"Failed to enumerate printers."));
  listFailsAt(BufferStep::kSizeQuery, 1722);
  EXPECT_FALSE(PrinterExists(os, u"Big Label"));
  EXPECT_TRUE(Traced(u"Failed to enumerate printers: Unable to get buffer size.\n"));
  DeletePrintersAndDrivers(os);
  EXPECT_TRUE(Traced(u"Failed to enumerate printers."));
  EXPECT_FALSE(Traced(u"Failed to retrieve printer information."));
  machine.spooler.failListPrinters.reset();

  // The DEVMODE of the post-action patch: memory, then the read itself.
  DevModeBytes untouched = DevMode(u"Big Label");
  machine.spooler.docPropertiesOutFailsAt = BufferStep::kAllocation;
  proc->debug.lines.clear();
  EXPECT_FALSE(ApplyPostAction(os, u"Big Label", 12, 3));
  EXPECT_EQ(proc->debug.lines, std::vector<std::u16string>{u"Error: 无法为 DEVMODE 分配内存。"});
  machine.spooler.docPropertiesOutFailsAt = BufferStep::kRead;
  proc->debug.lines.clear();
  EXPECT_FALSE(ApplyPostAction(os, u"Big Label", 12, 3));
  EXPECT_EQ(proc->debug.lines,
            std::vector<std::u16string>{u"Error: DocumentProperties 读取失败。返回码: -1, 错误码: 1722\n"});
  EXPECT_EQ(DevMode(u"Big Label"), untouched);
  machine.spooler.docPropertiesOutFailsAt.reset();

  // The printer record of the post-action patch: size, memory, read.
  struct Case {
    BufferStep step;
    uint32_t error;
    const char16_t* line;
  } cases[] = {
      {BufferStep::kSizeQuery, 1801, u"Error: 获取打印机信息大小失败。错误码: 1801\n"},
      {BufferStep::kAllocation, 8, u"Error: 无法为 PRINTER_INFO_2 分配内存\n"},
      {BufferStep::kRead, 1722, u"Error: GetPrinter 失败。错误码: 1722\n"},
  };
  DevModeBytes before = DevMode(u"Big Label");
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.step));
    proc->debug.lines.clear();
    machine.spooler.failGetInfo2 = c.error;
    machine.spooler.getInfo2FailsAt = c.step;
    EXPECT_FALSE(ApplyPostAction(os, u"Big Label", 12, 3));
    EXPECT_TRUE(Traced(c.line));
    EXPECT_EQ(proc->debug.lines.size(), 2u);  // the size line and this one
    EXPECT_EQ(DevMode(u"Big Label"), before);
  }
}

TEST_F(PrinterSettingsTest, DefaultPrinterAndTestPageGoThroughPrintUi) {
  AddPrinter(u"Label");
  SetDefaultPrinter(os, u"Label");
  PrintTestPage(os, u"Label");
  ASSERT_EQ(machine.shell.launches.size(), 2u);
  EXPECT_EQ(machine.shell.launches[0].parameters, u"printui.dll PrintUIEntry /y /n \"Label\"");
  EXPECT_EQ(machine.shell.launches[1].parameters, u"printui.dll PrintUIEntry /n \"Label\" /k");
  EXPECT_EQ(machine.shell.launches[0].show, kSwHide);
  EXPECT_EQ(machine.shell.launches[1].show, kSwHide);
  LetToolsRun();
  EXPECT_EQ(machine.spooler.defaultPrinter, u"Label");
  EXPECT_EQ(machine.spooler.testPages, (std::vector<std::u16string>{u"Label"}));
}

TEST_F(PrinterSettingsTest, PostActionIsWrittenOnlyInsideThePrivatePart) {
  AddPrinter(u"Big Label");
  ASSERT_EQ(DevMode(u"Big Label").size(), 1000u);
  EXPECT_TRUE(ApplyPostAction(os, u"Big Label", 4, 3));
  EXPECT_EQ(ReadU32(DevMode(u"Big Label"), 996), 3u);
  EXPECT_EQ(DevMode(u"Big Label")[995], 0xEE);
  EXPECT_TRUE(Traced(u"totalSize =1000, dmSize=220, offset = 4"));

  EXPECT_TRUE(ApplyPostAction(os, u"Big Label", 779, 2));  // the first private byte on
  EXPECT_EQ(ReadU32(DevMode(u"Big Label"), 221), 2u);
  EXPECT_EQ(DevMode(u"Big Label")[220], 0xEE);

  DevModeBytes before = DevMode(u"Big Label");
  for (int offset : {0, 1, 2, 3, -1, 780, 1000, 70000, INT32_MIN, INT32_MAX}) {
    SCOPED_TRACE(offset);
    EXPECT_FALSE(ApplyPostAction(os, u"Big Label", offset, 1));
    EXPECT_EQ(DevMode(u"Big Label"), before);
  }
  EXPECT_TRUE(Traced(u"Error: 偏移量越界。dmSize: 220, offset: 780, TotalSize: 1000\n"));
  EXPECT_TRUE(Traced(u"Error: 偏移量越界。dmSize: 220, offset: -1, TotalSize: 1000\n"));

  EXPECT_TRUE(PostActionFits(1000, 220, 779));
  EXPECT_FALSE(PostActionFits(1000, 220, 780));
  EXPECT_FALSE(PostActionFits(8, 65535, 4));
}

TEST_F(PrinterSettingsTest, PostActionOfAMissingPrinterOrAModelWithoutOffset) {
  EXPECT_FALSE(ApplyPostAction(os, u"Nowhere", 12, 1));
  EXPECT_TRUE(Traced(u"OpenPrinter 失败！ 打印机名称: Nowhere\n错误码: 1801\n"));

  EXPECT_EQ(GetPostActionOffset(os, u"LX-320 Label"), 12);
  EXPECT_EQ(GetPostActionOffset(os, u"LX-220 Label"), -1);  // ShowSetting 0
  EXPECT_EQ(GetPostActionOffset(os, u"Unknown"), -1);
  EXPECT_EQ(GetPostActionOffset(os, u""), -1);
  EXPECT_TRUE(Traced(u"Error: Driver name is empty."));
  StartUpConfig().models[u"LX-320"].printPostOpOffset = -8;
  EXPECT_EQ(GetPostActionOffset(os, u"LX-320 Label"), -1);
  // ShowSetting 1 without the key: offset 0, which the patch refuses.
  StartUpConfig().models[u"LX-320"].printPostOpOffset = 0;
  AddPrinter(u"Big Label");
  EXPECT_EQ(GetPostActionOffset(os, u"LX-320 Label"), 0);
  EXPECT_FALSE(ApplyPostAction(os, u"Big Label", 0, 2));
}

TEST_F(PrinterSettingsTest, UninstallEntryNamesTheProgramOfTheWordSize) {
  const std::u16string copy = InstallFolder(os);
  ASSERT_EQ(copy, u"C:\\Program Files\\LabelCo\\Setup");
  WriteUninstallEntry(os, copy);
  auto value = [&](const char16_t* name) {
    return os.registry->GetString(RegRoot::kLocalMachine, kEntryKey, name).value_or(u"<none>");
  };
  EXPECT_EQ(value(u"DisplayName"), u"Label Printer Driver");
  EXPECT_EQ(value(u"DisplayVersion"), u"1.0.0");
  EXPECT_EQ(value(u"Publisher"), u"LabelCo");
  EXPECT_EQ(value(u"InstallLocation"), u"C:\\Program Files\\LabelCo\\Setup");
  EXPECT_EQ(value(u"UninstallString"), u"\"C:\\Program Files\\LabelCo\\Setup\\Qelvin64.exe\" /uninstall");
  auto raw = machine.registry.GetRaw(RegRoot::kLocalMachine, kEntryKey, u"Publisher");
  ASSERT_TRUE(raw);
  EXPECT_EQ(raw->bytes.size(), 16u);  // counts the terminating null

  proc->system.nativeArchitecture = kProcessorArchitectureIntel;
  WriteUninstallEntry(os, copy);  // rewritten in place
  EXPECT_EQ(value(u"UninstallString"), u"\"C:\\Program Files\\LabelCo\\Setup\\Qelvin32.exe\" /uninstall");
  proc->system.nativeArchitecture = std::nullopt;  // no GetNativeSystemInfo
  EXPECT_FALSE(Is64BitSystem(os));
  proc->system.nativeArchitecture = kProcessorArchitectureIa64;
  EXPECT_TRUE(Is64BitSystem(os));
  proc->system.nativeArchitecture = kProcessorArchitectureArm64;
  EXPECT_FALSE(Is64BitSystem(os));

  EXPECT_TRUE(DeleteUninstallEntry(os));
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
}

TEST_F(PrinterSettingsTest, EmptyEntryNameWritesNothingIntoTheSharedKey) {
  const std::u16string shared = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  machine.registry.CreateKey(RegRoot::kLocalMachine, shared + u"\\Other", RegView::kDefault);
  StartUpConfig().uninstall.RegInfo.clear();
  debugEnabled = 0;
  WriteUninstallEntry(os, InstallFolder(os));
  EXPECT_FALSE(os.registry->GetString(RegRoot::kLocalMachine, shared, u"UninstallString"));
  EXPECT_TRUE(Traced(u"Failed to create registry key: " + shared + u"\\ (Error 87)\n"));
  EXPECT_FALSE(DeleteUninstallEntry(os));
  EXPECT_TRUE(machine.registry.KeyExists(RegRoot::kLocalMachine, shared + u"\\Other", RegView::kDefault));
}

// Whatever InstallLocation says, the entry names the folder the copy went
// to, so that its command starts a program that exists.
TEST_F(PrinterSettingsTest, UninstallEntryNamesTheCopysFolderWhateverInstallLocationSays) {
  auto entry = [&](const char16_t* name) {
    return os.registry->GetString(RegRoot::kLocalMachine, kEntryKey, name).value_or(u"<none>");
  };
  const std::u16string copy = u"C:\\Program Files\\LabelCo\\Setup";
  const std::u16string command = u"\"" + copy + u"\\Qelvin64.exe\" /uninstall";
  struct Case {
    std::u16string location;
    bool traced;
  } cases[] = {
      {u"C:\\Program Files\\LabelCo\\Setup", false},  // absolute, the same folder
      {u"c:\\program files\\labelco\\setup\\", false},  // letter case and a trailing separator
      {u"LabelCo\\Setup", false},                       // relative: below the program-files folder
      {u"Label Printer Driver", true},                    // relative, another folder
      {u"D:\\Tools", true},                              // absolute, another folder
      {u"", true},
      {std::u16string(300, u'a'), true},                  // longer than a path can be
  };
  for (const Case& c : cases) {
    proc->debug.lines.clear();
    StartUpConfig().uninstall.InstallLocation = c.location;
    WriteUninstallEntry(os, copy);
    EXPECT_EQ(entry(u"UninstallString"), command) << Utf16ToUtf8(c.location);
    EXPECT_EQ(entry(u"InstallLocation"), copy);
    bool traced = false;
    for (const auto& line : proc->debug.lines) traced |= line.find(u"is not the installer's folder") != std::u16string::npos;
    EXPECT_EQ(traced, c.traced) << Utf16ToUtf8(c.location);
  }

  // No copy, no entry.
  DeleteUninstallEntry(os);
  WriteUninstallEntry(os, u"");
  EXPECT_FALSE(machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault));
  EXPECT_TRUE(Traced(u"No uninstall entry: the installer has no installed copy"));
}

}  // namespace
}  // namespace lx
