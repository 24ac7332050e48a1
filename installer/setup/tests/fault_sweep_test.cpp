// Every operating-system call of the three worker sequences fails once, in
// turn: each run still posts its completion message (the wizard reaches its
// finish page), a failure that support reads about in the trace leaves its
// line in the debugger output, and a second run on the same machine without
// faults completes, so nothing a failure left behind blocks a retry.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "installer/engine/driver_removal.h"
#include "installer/engine/folder_copy.h"
#include "installer/setup/install_sequences.h"
#include "installer/engine/tests/engine_fixture.h"
#include "installer/engine/uninstall_entry.h"

namespace lx {
namespace {

const std::u16string kEntryKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelDriver";

// The line a failing call leaves in the debugger output. `occurrences` picks
// which calls of that name (counted from 1 within the run) the line belongs
// to; empty means every one. A '*' in the line stands for any text.
struct TraceOnFailure {
  const char* call;
  std::vector<int> occurrences;
  std::u16string line;
};

bool Matches(std::u16string_view pattern, std::u16string_view text) {
  size_t star = pattern.find(u'*');
  if (star == std::u16string_view::npos) return pattern == text;
  std::u16string_view head = pattern.substr(0, star), tail = pattern.substr(star + 1);
  return text.size() >= head.size() + tail.size() && text.substr(0, head.size()) == head &&
         text.substr(text.size() - tail.size()) == tail;
}

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
  bool Start(std::function<void()> work) override {
    work();
    return true;
  }
};

struct Scenario {
  const char* name;
  std::function<void(SweepMachine&)> prepare;
  std::function<void(SweepMachine&)> run;  // the sequence, then the tools it started act
  unsigned completion;
  std::function<bool(SweepMachine&)> done;  // what a completed run leaves
  std::vector<TraceOnFailure> traces;
};

// Writing the entry of the installed program, and waiting for the printer:
// `firstSet` is the occurrence of the first value the entry sets, `polls`
// the occurrences of the printer listing that are the waiting's polls.
std::vector<TraceOnFailure> CompletionTraces(int entryKey, std::vector<int> values, std::vector<int> polls) {
  return {
      {"registry.CreateKey", {entryKey}, u"Failed to create registry key: " + kEntryKey + u" (Error 5)\n"},
      // The copy asks first; without it the entry is not written.
      {"files.GetFolderPath", {1}, u"The installer was not copied to \"\""},
      {"registry.SetString", values, u"Failed to set registry values.\n"},
      {"spooler.ListPrinters:size", polls, u"Failed to enumerate printers: Unable to get buffer size.\n"},
      {"spooler.ListPrinters:allocation", polls, u"Failed to enumerate printers: Error 8\n"},
      {"spooler.ListPrinters:read", polls, u"Failed to enumerate printers: Error 1722\n"},
  };
}

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
       },
       [] {
         // The first printer listing makes the printer's name unique.
         std::vector<TraceOnFailure> t = CompletionTraces(1, {1, 2, 3, 4, 5}, {2, 3, 4, 5});
         t.insert(t.end(), {{"devices.EnumDeviceInterfaces", {}, u"Failed to enumerate device interfaces"},
                            {"devices.GetDeviceInterfacePath:size", {}, u"Failed to get interface device detail size"},
                            {"devices.GetDeviceInterfacePath:allocation", {},
                             u"Memory allocation failed for device detail"},
                            {"devices.GetDeviceInterfacePath:read", {}, u"Failed to get interface device detail"}});
         return t;
       }()},
      {"installation on a chosen port", [](SweepMachine& m) { m.machine.spooler.AddPort(u"LPT1:"); },
       [settle](SweepMachine& m) {
         InlineWorkers workers;
         InstallOnPort(m.os, m.sink, TheWizardState(), {u"LX-220 Label", u"Office Label", u"LPT1:"}, workers);
         settle(m);
       },
       kWmInstallDone, [](SweepMachine& m) { return m.OurPrinterOn(u"LPT1:"); },
       // The language suffix is the first key created and the first value set.
       CompletionTraces(2, {2, 3, 4, 5, 6}, {2, 3, 4, 5})},
      {"removal",
       [](SweepMachine& m) {
         m.machine.spooler.AddPort(u"LPT1:");
         m.machine.tools.PublishInf(kOurInf);
         m.machine.spooler.InstallDriver(u"LX-220 Label");
         m.machine.spooler.AddPrinter(u"Label", u"LPT1:", u"LX-220 Label");
         WriteUninstallEntry(m.os, InstallFolder(m.os));
       },
       [settle](SweepMachine& m) {
         RunRemovalWorker(m.os, m.sink, TheWizardState());
         settle(m);
       },
       kWmUninstallDone,
       [](SweepMachine& m) {
         return m.machine.spooler.Find(u"Label") == nullptr && !m.machine.spooler.HasDriver(u"LX-220 Label") &&
                m.machine.tools.OemInfs().empty() &&
                !m.machine.registry.KeyExists(RegRoot::kLocalMachine, kEntryKey, RegView::kDefault);
       },
       {
           {"spooler.ListPrinters:size", {1}, u"Failed to enumerate printers."},
           {"spooler.ListPrinters:allocation", {1}, u"Failed to retrieve printer information."},
           {"spooler.ListPrinters:read", {1}, u"Failed to retrieve printer information."},
           // pnputil is looked for once per pair, in the system folder.
           {"files.GetAttributes", {}, u"pnputil.exe not found, C:\\Windows\\system32\\pnputil.exe"},
           {"files.FindFiles", {}, u"No OEM INF files found"},
           {"registry.DeleteKey", {}, u"Failed to delete registry key: " + kEntryKey + u" (Error 5)\n"},
           {"spooler.DriverDirectory", {}, u"Failed to get printer driver directory. Error = 8.\n"},
           {"files.RemoveFile", {}, u"Failed to delete file: C:\\Windows\\* (Error 5)\n"},
       }},
  };
}

TEST(FaultSweep, EveryFailingCallStillReachesTheFinishPageAndARetryCompletes) {
  for (const Scenario& s : Scenarios()) {
    SCOPED_TRACE(s.name);
    uint64_t calls = 0;
    std::vector<std::string> names;
    {
      SweepMachine m;
      s.prepare(m);
      m.machine.caller.callCount = 0;
      m.machine.caller.recordCalls = true;
      s.run(m);
      calls = m.machine.caller.callCount;
      names = m.machine.caller.calls;

      ASSERT_EQ(m.sink.messages, std::vector<unsigned>{s.completion});
      ASSERT_TRUE(s.done(m));
    }
    ASSERT_GT(calls, 10u);
    ASSERT_EQ(names.size(), calls);
    int retriesCompleted = 0, linesChecked = 0;
    std::set<std::string> tracedCalls;
    for (uint64_t fail = 1; fail <= calls; ++fail) {
      SCOPED_TRACE(::testing::Message() << "call " << fail << " of " << calls);
      SweepMachine m;
      s.prepare(m);
      m.machine.caller.callCount = 0;
      m.machine.caller.failCall = fail;
      s.run(m);
      EXPECT_EQ(m.sink.messages, std::vector<unsigned>{s.completion});
      const std::string& name = names[fail - 1];
      int occurrence = static_cast<int>(std::count(names.begin(), names.begin() + fail, name));
      for (const TraceOnFailure& t : s.traces) {
        if (name != t.call) continue;
        if (!t.occurrences.empty() &&
            std::find(t.occurrences.begin(), t.occurrences.end(), occurrence) == t.occurrences.end())
          continue;
        const auto& lines = m.proc->debug.lines;
        bool written = std::any_of(lines.begin(), lines.end(),
                                   [&](const std::u16string& l) { return Matches(t.line, l); });
        EXPECT_TRUE(written) << name << " #" << occurrence << " failed without its trace line";
        ++linesChecked;
        tracedCalls.insert(t.call);
      }

      m.machine.caller.failCall = 0;
      m.sink.messages.clear();
      s.run(m);
      EXPECT_EQ(m.sink.messages, std::vector<unsigned>{s.completion});
      bool done = s.done(m);
      EXPECT_TRUE(done);
      retriesCompleted += done;
    }
    // Every row of the table met a call of its name: none is stale.
    for (const TraceOnFailure& t : s.traces) EXPECT_TRUE(tracedCalls.count(t.call)) << t.call << " never failed";
    std::printf("[ sweep    ] %s: %llu calls swept, %d retries completed, %d trace lines checked\n", s.name,
                static_cast<unsigned long long>(calls), retriesCompleted, linesChecked);
  }
  StartUpConfig() = InstallerConfig();
  TheWizardState().Reset();
  debugEnabled = 0;
}

}  // namespace
}  // namespace lx
