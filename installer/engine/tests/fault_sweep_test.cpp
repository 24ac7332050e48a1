// Every operating-system call of the three worker sequences fails once, in
// turn: each run still posts its completion message (the wizard reaches its
// finish page), and a second run on the same machine without faults
// completes, so nothing a failure left behind blocks a retry.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "installer/engine/driver_removal.h"
#include "installer/engine/install_sequences.h"
#include "installer/engine/tests/engine_fixture.h"
#include "installer/engine/uninstall_entry.h"

namespace lx {
namespace {

const std::u16string kEntryKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelDriver";

// A machine as EngineMachineTest prepares one, made afresh for every run.
struct SweepMachine {
  SweepMachine() {
    machine.files.AddFile(u"C:\\Medium\\Setup\\Qelvin64.exe", "MZ installer");
    machine.files.AddFile(u"C:\\Medium\\Setup\\cfgSetup.ini", kEngineConfig);
    machine.files.AddFile(u"C:\\Medium\\amd64\\lx220.inf", kOurInf);
    StartUpConfig() = InstallerConfig();
    LoadInstallerConfig(os, GetConfigPath(os), StartUpConfig());
    for (const char16_t* model : {u"LX-220 Label", u"LX-320 Label"}) {
      SimDriverDefinition d;
      d.name = model;
      d.privateDefault.assign(780, 0xEE);
      machine.spooler.DefineDriver(d);
    }
    TheWizardState().Reset();
  }
  bool OurPrinterOn(const std::u16string& port) {
    std::vector<PrinterInfo2> printers;
    machine.spooler.ListPrinters(kPrinterEnumLocal, printers);
    for (const auto& p : printers)
      if (p.portName == port && p.driverName == u"LX-220 Label") return true;
    return false;
  }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  const Os& os = proc->os;
  RecordingSink sink;
};

struct InlineWorkers : IWorkerStarter {
  void Start(std::function<void()> work) override { work(); }
};

struct Scenario {
  const char* name;
  std::function<void(SweepMachine&)> prepare;
  std::function<void(SweepMachine&)> run;  // the sequence, then the tools it started act
  unsigned completion;
  std::function<bool(SweepMachine&)> done;  // what a completed run leaves
};

std::vector<Scenario> Scenarios() {
  auto settle = [](SweepMachine& m) { m.machine.clock.Advance(10000); };
  return {
      {"USB installation",
       [](SweepMachine& m) { m.machine.AttachUsbPrinter({u"USB\\VID_2D37&PID_0220\\LX0001", kUsbPath220}, 7); },
       [settle](SweepMachine& m) {
         InstallOnUsb(m.os, m.sink, TheWizardState());
         settle(m);
       },
       kWmInstallDone,
       [](SweepMachine& m) {
         return m.OurPrinterOn(u"USB007") &&
                m.machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault);
       }},
      {"installation on a chosen port", [](SweepMachine& m) { m.machine.spooler.AddPort(u"LPT1:"); },
       [settle](SweepMachine& m) {
         InlineWorkers workers;
         InstallOnPort(m.os, m.sink, TheWizardState(), {u"LX-220 Label", u"Office Label", u"LPT1:"}, workers);
         settle(m);
       },
       kWmInstallDone, [](SweepMachine& m) { return m.OurPrinterOn(u"LPT1:"); }},
      {"removal",
       [](SweepMachine& m) {
         m.machine.spooler.AddPort(u"LPT1:");
         m.machine.tools.PublishInf(kOurInf);
         m.machine.spooler.InstallDriver(u"LX-220 Label");
         m.machine.spooler.AddPrinter(u"Label", u"LPT1:", u"LX-220 Label");
         WriteUninstallEntry(m.os);
       },
       [settle](SweepMachine& m) {
         RunRemovalWorker(m.os, m.sink);
         settle(m);
       },
       kWmUninstallDone,
       [](SweepMachine& m) {
         return m.machine.spooler.Find(u"Label") == nullptr && !m.machine.spooler.HasDriver(u"LX-220 Label") &&
                m.machine.tools.OemInfs().empty() &&
                !m.machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault);
       }},
  };
}

TEST(FaultSweep, EveryFailingCallStillReachesTheFinishPageAndARetryCompletes) {
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.name);
    uint64_t calls = 0;
    {
      SweepMachine m;
      s.prepare(m);
      m.machine.caller.callCount = 0;
      s.run(m);
      calls = m.machine.caller.callCount;
      ASSERT_EQ(m.sink.messages, std::vector<unsigned>{s.completion});
      ASSERT_TRUE(s.done(m));
    }
    ASSERT_GT(calls, 10u);
    int retriesCompleted = 0;
    for (uint64_t fail = 1; fail <= calls; ++fail) {
      SCOPED_TRACE(::testing::Message() << "call " << fail << " of " << calls);
      SweepMachine m;
      s.prepare(m);
      m.machine.caller.callCount = 0;
      m.machine.caller.failCall = fail;
      s.run(m);
      EXPECT_EQ(m.sink.messages, std::vector<unsigned>{s.completion});

      m.machine.caller.failCall = 0;
      m.sink.messages.clear();
      s.run(m);
      EXPECT_EQ(m.sink.messages, std::vector<unsigned>{s.completion});
      bool done = s.done(m);
      EXPECT_TRUE(done);
      retriesCompleted += done;
    }
    std::printf("[ sweep    ] %s: %llu calls swept, %d retries completed\n", s.name,
                static_cast<unsigned long long>(calls), retriesCompleted);
  }
  StartUpConfig() = InstallerConfig();
  TheWizardState().Reset();
  debugEnabled = 0;
}

}  // namespace
}  // namespace lx
