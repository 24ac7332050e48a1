#include <gtest/gtest.h>

#include "installer/core/app.h"
#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/core/ui_language.h"
#include "platform/sim/sim_machine.h"
#include "ui/fake/fake_desktop.h"

namespace lx {
namespace {

class RecordingWizard : public IWizardRunner {
 public:
  void Run(bool uninstall) override { runs.push_back(uninstall); }
  std::vector<bool> runs;
};

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_lang = 0;
    debugEnabled = 0;
    proc->resources.AddString(153, 1033, u"The program is running.");
    proc->resources.AddString(153, 1049, u"\u041F\u0440\u043E\u0433\u0440\u0430\u043C\u043C\u0430 \u0443\u0436\u0435 \u0437\u0430\u043F\u0443\u0449\u0435\u043D\u0430.");
  }
  void Config(const std::string& ini) { machine.files.AddFile(u"C:\\Medium\\Setup\\cfgSetup.ini", ini); }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  FakeDesktop desktop;
  RecordingWizard wizard;
};

struct LanguageCase {
  LangId user;
  int lang;
  LangId applied;  // 0: nothing applied
};

TEST_F(StartupTest, UserLanguageMapsToARow) {
  const LanguageCase cases[] = {
      {1028, 4, 1028}, {3076, 4, 1028}, {5124, 4, 1028}, {4100, 4, 1028}, {2052, 1, 2052},
      {2060, 12, 1036}, {3082, 6, 2058}, {2070, 10, 1046}, {1033, 0, 1033}, {1049, 2, 1049},
      {1025, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user);
    auto p = machine.StartProcess(u"C:\\Setup\\Qelvin64.exe");
    p->system.userUiLanguage = c.user;
    g_lang = 0;
    DetectUiLanguage(p->os);
    EXPECT_EQ(g_lang, c.lang);
    EXPECT_EQ(p->system.threadUiLanguage, c.applied);
    EXPECT_EQ(p->system.threadUiLanguageSets, c.applied ? 1 : 0);
    EXPECT_EQ(UserLanguageId(p->os), c.lang);
  }
}

TEST_F(StartupTest, UnknownLanguageKeepsTheCurrentRowAndTracesIt) {
  debugEnabled = 1;
  proc->system.userUiLanguage = 1025;
  g_lang = 3;
  DetectUiLanguage(proc->os);
  EXPECT_EQ(g_lang, 3);
  EXPECT_TRUE(proc->debug.Has(u"langID=1025"));
  EXPECT_TRUE(proc->debug.Has(u"g_lang=3"));
}

TEST_F(StartupTest, UninstallWordAnywhereInAnyCase) {
  EXPECT_TRUE(IsUninstallCommand(u"/uninstall"));
  EXPECT_TRUE(IsUninstallCommand(u"/UnInstall"));
  EXPECT_TRUE(IsUninstallCommand(u"xxUNINSTALLER"));
  EXPECT_FALSE(IsUninstallCommand(u"reinstall"));
  EXPECT_FALSE(IsUninstallCommand(u""));
  EXPECT_FALSE(IsUninstallCommand(u"un install"));
}

TEST_F(StartupTest, TracesAndRunsTheWizardInTheModeOfTheCommandLine) {
  Config("[Debug]\r\nOpenDebug=0\r\n");
  CCalvethApp app(proc->os, desktop, &wizard);
  EXPECT_FALSE(app.InitInstance(u"/Uninstall"));
  EXPECT_EQ(desktop.commonControlsSize, 8u);
  EXPECT_EQ(desktop.commonControlsClasses, 0xFFu);
  EXPECT_TRUE(desktop.richEditLoaded);
  EXPECT_TRUE(proc->debug.Has(u"InitInstance ==>"));
  EXPECT_FALSE(proc->debug.Has(u"InitIniData  <=="));
  EXPECT_EQ(wizard.runs, std::vector<bool>{true});
  // The mutex is released and closed when the wizard has closed.
  EXPECT_EQ(proc->sync.OpenHandles(), 0u);

  Config("[Debug]\r\nOpenDebug=1\r\n");
  auto second = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  CCalvethApp again(second->os, desktop, &wizard);
  again.InitInstance(u"");
  EXPECT_TRUE(second->debug.Has(u"InitIniData  <=="));
  EXPECT_EQ(wizard.runs, (std::vector<bool>{true, false}));
}

// A second installer while the first runs its wizard.
class NestedStartWizard : public IWizardRunner {
 public:
  NestedStartWizard(SimMachine& m, FakeDesktop& d) : machine(m), desktop(d) {}
  void Run(bool) override {
    auto other = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
    other->system.userUiLanguage = 1049;
    other->resources.AddString(153, 1049, u"\u0423\u0436\u0435 \u0437\u0430\u043F\u0443\u0449\u0435\u043D\u0430");
    RecordingWizard inner;
    CCalvethApp app(other->os, desktop, &inner);
    app.InitInstance(u"");
    secondWasRefused = app.secondInstance && inner.runs.empty();
    ++runs;
  }
  SimMachine& machine;
  FakeDesktop& desktop;
  bool secondWasRefused = false;
  int runs = 0;
};

TEST_F(StartupTest, SecondInstanceShowsTheMessageInItsLanguageAndEnds) {
  NestedStartWizard nested(machine, desktop);
  CCalvethApp first(proc->os, desktop, &nested);
  first.InitInstance(u"");
  EXPECT_TRUE(nested.secondWasRefused);
  EXPECT_EQ(nested.runs, 1);
  EXPECT_FALSE(first.secondInstance);
  ASSERT_EQ(desktop.boxes.size(), 1u);
  EXPECT_EQ(desktop.boxes[0].text, u"\u0423\u0436\u0435 \u0437\u0430\u043F\u0443\u0449\u0435\u043D\u0430");
  EXPECT_EQ(desktop.boxes[0].caption, u"");
  EXPECT_EQ(desktop.boxes[0].type, kMbOk);
  // After both have ended a new installer starts normally.
  auto later = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  RecordingWizard w;
  CCalvethApp third(later->os, desktop, &w);
  third.InitInstance(u"");
  EXPECT_EQ(w.runs.size(), 1u);
}

TEST_F(StartupTest, FirmwareToolOnlyInInstallModeWhenSwitchedOn) {
  Config("[Debug]\r\nOpenDebug=1\r\n[Install]\r\nFwUpteTool=1\r\n");
  LoadInstallerConfig(proc->os, GetConfigPath(proc->os), StartUpConfig());
  RunWizard(proc->os, true, &wizard);
  EXPECT_TRUE(machine.shell.launches.empty());
  RunWizard(proc->os, false, &wizard);
  ASSERT_EQ(machine.shell.launches.size(), 1u);
  EXPECT_EQ(machine.shell.launches[0].verb, u"open");
  EXPECT_EQ(machine.shell.launches[0].file, u"C:\\Medium\\Setup\\FwUpate\\FwUpdate.exe");
  EXPECT_EQ(machine.shell.launches[0].parameters, u"");
  EXPECT_EQ(machine.shell.launches[0].show, kSwShow);
  EXPECT_TRUE(proc->debug.Has(u"FwUpatePath=C:\\Medium\\Setup\\FwUpate\\FwUpdate.exe"));
  // The missing tool is not reported and the wizard still runs.
  EXPECT_EQ(wizard.runs, (std::vector<bool>{true, false}));

  Config("[Install]\r\nFwUpteTool=0\r\n");
  LoadInstallerConfig(proc->os, GetConfigPath(proc->os), StartUpConfig());
  RunWizard(proc->os, false, &wizard);
  EXPECT_EQ(machine.shell.launches.size(), 1u);
}

TEST_F(StartupTest, TraceLinesAreCutToTheirBuffers) {
  debugEnabled = 1;
  std::string narrow(5000, 'n');
  std::u16string wide(5000, u'w');
  DebugTrace(proc->os, "%s", narrow.c_str());
  DebugTraceW(proc->os, u"%s", wide.c_str());
  ASSERT_EQ(proc->debug.lines.size(), 2u);
  EXPECT_EQ(proc->debug.lines[0].size(), 1023u);
  EXPECT_EQ(proc->debug.lines[1].size(), 2047u);
  debugEnabled = 0;
  DebugTrace(proc->os, "gated");
  DebugTraceW(proc->os, u"gated");
  DebugTraceWAlways(proc->os, u"always");
  EXPECT_EQ(proc->debug.lines.size(), 3u);
}

}  // namespace
}  // namespace lx
