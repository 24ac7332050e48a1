// What an elevated installer hands to the programs it starts: which names may
// reach a printui line, and which program files and folders are used.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/text.h"
#include "installer/engine/command_line.h"
#include "installer/engine/driver_install.h"
#include "installer/engine/driver_removal.h"
#include "installer/engine/folder_copy.h"
#include "installer/engine/printer_queries.h"
#include "installer/engine/system_tools.h"
#include "installer/engine/tests/engine_fixture.h"

namespace lx {
namespace {

using Names = std::vector<std::u16string>;

// Every refused shape: empty; 32,767 characters; beginning with each refused
// character (short and long); a quote or a control character anywhere.
Names RefusedNames() {
  Names out{u"", std::u16string(32767, u'L'), std::u16string(261, u'L')};
  for (char16_t first : {u'/', u'-', u'@'}) {
    out.push_back(std::u16string(1, first) + u"Label");
    out.push_back(std::u16string(1, first) + std::u16string(32766, u'L'));
  }
  for (char16_t inner : {u'"', u'\t', u'\n', u'\r', char16_t{0x01}, char16_t{0x1F}, char16_t{0x7F}, char16_t{0x85}})
    out.push_back(u"Lab" + std::u16string(1, inner) + u"el");
  out.push_back(std::u16string(u"Lab\0el", 6));
  return out;
}

class NamesTest : public EngineMachineTest {};

TEST_F(NamesTest, EachRefusedNameBuildsNoCommandAnywhere) {
  EXPECT_EQ(PrintUiNameFault(std::u16string(260, u'L')), nullptr);
  for (const char16_t* fine : {u"Label (2)", u"IP_192.0.2.20", u"LPT1:", u"50% /z NET", u"a-b@c", u"\u4E2D\u6587"})
    EXPECT_EQ(PrintUiNameFault(fine), nullptr) << Utf16ToUtf8(fine);

  for (const std::u16string& name : RefusedNames()) {
    SCOPED_TRACE(Utf16ToUtf8(name.substr(0, 12)) + " (" + std::to_string(name.size()) + ")");
    EXPECT_NE(PrintUiNameFault(name), nullptr);
    machine.shell.launches.clear();
    proc->debug.lines.clear();
    WizardState state;
    // As printer, as port, as driver: nothing is started and a line says why.
    // (An empty port asks for the driver alone.)
    for (int role = 0; role < 3; ++role) {
      if (role == 1 && name.empty()) continue;
      state.target.printerName = role == 0 ? name : u"Label";
      state.target.portName = role == 1 ? name : u"LPT1:";
      EXPECT_FALSE(InstallDriver(os, state, role == 2 ? name : u"LX-220 Label"));
    }
    state.target.portName.clear();
    EXPECT_FALSE(InstallDriver(os, state, name));  // the driver alone
    SetDefaultPrinter(os, name);
    PrintTestPage(os, name);
    EXPECT_TRUE(machine.shell.launches.empty());
    int refusals = 0;
    for (const auto& l : proc->debug.lines) refusals += l.rfind(u"Refused the name \"", 0) == 0;
    EXPECT_EQ(refusals, name.empty() ? 5 : 6);
  }
}

TEST_F(NamesTest, ARemovalPassesOverARefusedPrinterNameAndDeletesTheRest) {
  machine.spooler.AddPort(u"LPT1:");
  machine.spooler.InstallDriver(u"LX-220 Label");
  for (const char16_t* name : {u"/dd /m Acme", u"-Label", u"@cmd.txt", u"Label"})
    ASSERT_EQ(machine.spooler.AddPrinter(name, u"LPT1:", u"LX-220 Label"), 0u);
  DeletePrintersAndDrivers(os);
  LetToolsRun();
  EXPECT_EQ(machine.spooler.Find(u"Label"), nullptr);
  for (const char16_t* name : {u"/dd /m Acme", u"-Label", u"@cmd.txt"})
    EXPECT_NE(machine.spooler.Find(name), nullptr) << Utf16ToUtf8(name);
  for (const SimToolRun* r : Runs(u"rundll32.exe")) EXPECT_TRUE(r->commandFiles.empty());
}

// The simulated printui, standing in for the real one: what the refusal
// keeps out would otherwise change the command.
TEST_F(NamesTest, TheSimulatedPrintUiReadsCommandFilesAndSwitchesWhereANameWouldBe) {
  machine.spooler.AddPort(u"LPT1:");
  machine.spooler.InstallDriver(u"LX-220 Label");
  machine.spooler.AddPrinter(u"Office", u"LPT1:", u"LX-220 Label");
  machine.files.AddFile(u"C:\\Users\\Public\\cmd.txt", "/dl /n Office /q");
  // Built by hand, as an installer without the refusal would have built them.
  auto start = [&](const std::u16string& p) { machine.shell.Execute(u"open", u"rundll32.exe", p, u"", kSwHide); };
  for (const char16_t* name : {u"@C:\\Users\\Public\\cmd.txt", u"/dl", u"@C:\\Missing.txt"}) start(*PrintUiSetDefault(name));
  LetToolsRun();
  ASSERT_EQ(machine.tools.runs.size(), 3u);
  // The file's text took the name's place: a second action, so nothing done.
  EXPECT_EQ(machine.tools.runs[0].commandFiles, (Names{u"C:\\Users\\Public\\cmd.txt"}));
  EXPECT_EQ(machine.tools.runs[0].argv,
            (Names{u"printui.dll", u"PrintUIEntry", u"/y", u"/n", u"/dl", u"/n", u"Office", u"/q"}));
  for (const SimToolRun& r : machine.tools.runs) EXPECT_FALSE(r.accepted);
  EXPECT_NE(machine.spooler.Find(u"Office"), nullptr);

  // A command file alone is a whole command to printui.
  start(u"printui.dll PrintUIEntry @C:\\Users\\Public\\cmd.txt");
  LetToolsRun();
  EXPECT_EQ(machine.tools.runs.back().action, u"/dl");
  EXPECT_EQ(machine.spooler.Find(u"Office"), nullptr);
}

class SearchOrderTest : public EngineMachineTest {};

TEST_F(SearchOrderTest, ToolsStartByTheirSystemPathsInTheSystemFolder) {
  machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0220\\LX0001", kUsbPath220}, 1);
  WizardState& state = TheWizardState();
  state.target = {u"Label", u"USB001", u"LX-220 Label"};
  ASSERT_TRUE(InstallDriver(os, state, u"LX-220 Label"));
  LetToolsRun();
  SetDefaultPrinter(os, u"Label");
  machine.tools.PublishInf(kOurInf);
  UninstallDriverPackage(os);
  ASSERT_GE(machine.shell.launches.size(), 4u);
  for (const auto& l : machine.shell.launches) {
    EXPECT_TRUE(l.file == u"C:\\Windows\\system32\\rundll32.exe" || l.file == u"C:\\Windows\\system32\\pnputil.exe")
        << Utf16ToUtf8(l.file);
    EXPECT_EQ(l.directory, u"C:\\Windows\\system32");
  }
  EXPECT_EQ(SystemToolPath(os, SystemTool::kScriptHost), u"C:\\Windows\\system32\\cscript.exe");

  // No rundll32 in the system folder: traced, never looked for elsewhere.
  machine.tools.runs.clear();
  machine.files.RemoveFile(u"C:\\Windows\\System32\\rundll32.exe");
  SetDefaultPrinter(os, u"Label");
  EXPECT_TRUE(machine.tools.runs.empty());
  EXPECT_TRUE(Traced(u"Not started: C:\\Windows\\system32\\rundll32.exe (shell error 2)"));
}

TEST_F(SearchOrderTest, AThirtyTwoBitInstallerOnSixtyFourBitWindowsRunsTheNativePnputil) {
  auto wow = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin32.exe", 32);
  EXPECT_EQ(SystemToolPath(wow->os, SystemTool::kPnputil), u"C:\\Windows\\Sysnative\\pnputil.exe");
  EXPECT_EQ(SystemToolPath(wow->os, SystemTool::kRundll32), u"C:\\Windows\\system32\\rundll32.exe");
  // What the 32-bit program sees through Sysnative: the native pnputil.
  machine.files.AddFile(u"C:\\Windows\\Sysnative\\pnputil.exe", "MZ");
  machine.tools.PublishInf(kOurInf);
  UninstallDriverPackage(wow->os);
  bool sawPnputil = false;
  for (const auto& l : machine.shell.launches)
    if (l.parameters.find(u"-d oem") != std::u16string::npos) {
      sawPnputil = true;
      EXPECT_EQ(l.file, u"C:\\Windows\\Sysnative\\pnputil.exe");
      EXPECT_EQ(l.directory, u"C:\\Windows\\system32");
    }
  EXPECT_TRUE(sawPnputil);

  // On 32-bit Windows, and for the 64-bit installer, System32's own.
  machine.nativeArchitecture = kProcessorArchitectureIntel;
  auto x86 = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin32.exe", 32);
  EXPECT_EQ(SystemToolPath(x86->os, SystemTool::kPnputil), u"C:\\Windows\\system32\\pnputil.exe");
  EXPECT_EQ(SystemToolPath(os, SystemTool::kPnputil), u"C:\\Windows\\system32\\pnputil.exe");
}

TEST_F(SearchOrderTest, TheInstalledCopyTakesOnlyWhatItNeeds) {
  for (const char16_t* planted : {u"C:\\Medium\\Setup\\WINSPOOL.DRV", u"C:\\Medium\\Setup\\Riched20.dll",
                                  u"C:\\Medium\\Setup\\dnssd.dll", u"C:\\Medium\\Setup\\English\\version.dll",
                                  u"C:\\Medium\\Setup\\Tools\\run.exe"})
    machine.files.AddFile(planted, "MZ planted");
  machine.files.AddFile(u"C:\\Medium\\Setup\\English\\licence.rtf", "{\\rtf1}");
  machine.files.AddFile(u"C:\\Medium\\Setup\\English\\privacy.pdf", "%PDF");
  machine.files.AddFile(u"C:\\Medium\\Setup\\Russian\\privacy.rtf", "{\\rtf1}");
  machine.files.AddFile(u"C:\\Medium\\Setup\\Bonjour\\x64\\dnssd.dll", "MZ dnssd");
  machine.files.AddFile(u"C:\\Medium\\Setup\\Bonjour\\x86\\README.txt", "note");
  std::u16string target = CopyInstallerToInstallFolder(os);
  ASSERT_EQ(target, u"C:\\Program Files\\LabelCo\\Setup");
  Names copied;
  for (const char16_t* folder : {u"", u"\\English", u"\\Russian", u"\\Bonjour\\x64", u"\\Bonjour\\x86", u"\\Tools"})
    for (const auto& f : machine.files.FilesIn(target + folder)) copied.push_back(f.substr(target.size() + 1));
  std::sort(copied.begin(), copied.end());
  EXPECT_EQ(copied, (Names{u"Bonjour\\x64\\dnssd.dll", u"Bonjour\\x86\\README.txt", u"English\\licence.rtf",
                           u"English\\privacy.pdf", u"Qelvin64.exe", u"Russian\\privacy.rtf", u"cfgSetup.ini"}));

  // The program or its configuration missing: no copy the entry could name.
  machine.files.RemoveFile(u"C:\\Medium\\Setup\\cfgSetup.ini");
  EXPECT_EQ(CopyInstallerToInstallFolder(os), u"");
  EXPECT_TRUE(Traced(u"Not copied: C:\\Medium\\Setup\\cfgSetup.ini (error 2)"));
}

TEST_F(SearchOrderTest, AModulePathThatFilledTheBufferIsAFailure) {
  // 259 characters and more may have been cut by GetModuleFileNameW.
  std::u16string deep = u"C:\\" + std::u16string(240, u'd') + u"\\Setup\\Qelvin64.exe";
  ASSERT_GE(deep.size(), 259u);
  auto cut = machine.StartProcess(deep);
  EXPECT_EQ(ProgramFolder(cut->os), u"");
  EXPECT_EQ(GetConfigPath(cut->os), u"cfgSetup.ini");
  EXPECT_EQ(GetInstallerFolder(cut->os), u"");
  EXPECT_EQ(GetInfPath(cut->os, u"LX-220 Label"), u"");
  int lines = 0;
  for (const auto& l : cut->debug.lines) lines += l.rfind(u"Module path cut at MAX_PATH", 0) == 0;
  EXPECT_EQ(lines, 4);
  // One shorter is whole.
  auto whole = machine.StartProcess(u"C:\\" + std::u16string(236, u'd') + u"\\Setup\\Qelvin64.exe");
  EXPECT_EQ(ProgramFolder(whole->os), u"C:\\" + std::u16string(236, u'd') + u"\\Setup");
}

}  // namespace
}  // namespace lx
