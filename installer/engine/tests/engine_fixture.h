// A simulated machine with the medium, the configuration and the driver
// package in place, for the engine's scenario tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/core/installer_config.h"
#include "installer/core/trace.h"
#include "installer/core/wizard_state.h"
#include "installer/engine/engine_sink.h"
#include "platform/sim/sim_machine.h"

namespace lx {

class RecordingSink : public IEngineSink {
 public:
  void SetProgress(int position) override { progress.push_back(position); }
  void PostCompletion(unsigned message) override { messages.push_back(message); }
  std::vector<int> progress;
  std::vector<unsigned> messages;
};

inline const char kEngineConfig[] =
    "[Debug]\r\nOpenDebug=1\r\n"
    "[Support_Driver]\r\nLX-220\r\nLX-320\r\n"
    "[LX-220]\r\nVID=VID_2D37\r\nPID=PID_0220\r\nPRINTERNAME=Label\r\nDriverName=LX-220 Label\r\n"
    "TYPE=1\r\nLanguageRegPath=LabelCo\\LX220\r\n"
    "[LX-320]\r\nVID=VID_2D37\r\nPID=PID_0320\r\nPRINTERNAME=Big Label\r\nDriverName=LX-320 Label\r\n"
    "TYPE=2\r\nShowSetting=1\r\nprintPostOpOffset=12\r\n"
    "[Uninstall]\r\nInfSection=LabelCo.NTamd64,LabelCo.NTx86\r\n"
    "DriverName=\"LX-220 Label\",\"LX-320 Label\"\r\nRegInfo=LabelDriver\r\n"
    "DisplayName=Label Printer Driver\r\nDisplayVersion=1.0.0\r\nPublisher=LabelCo\r\n"
    "InstallLocation=C:\\Program Files\\LabelCo\\Setup\r\nDriverPrefix=lx220,lx320\r\n"
    "[Install]\r\nInfName=amd64\\lx220.inf\r\nFilePath=LabelCo\\Setup\r\n"
    "LanguageRegPath=LabelCo\\Common\r\n";

// Our driver package: both models in the 64-bit and the 32-bit models section.
inline const char kOurInf[] =
    "[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n"
    "[Manufacturer]\r\nLabelCo=LabelCo,NTamd64,NTx86\r\n"
    "[LabelCo.NTamd64]\r\n\"LX-220 Label\" = LX220.GPD, USBPRINT\\LabelCoLX-2202A1B\r\n"
    "\"LX-320 Label\" = LX320.GPD, USBPRINT\\LabelCoLX-3203C4D\r\n"
    "[LabelCo.NTx86]\r\n\"LX-220 Label\" = LX220.GPD, USBPRINT\\LabelCoLX-2202A1B\r\n"
    "\"LX-320 Label\" = LX320.GPD, USBPRINT\\LabelCoLX-3203C4D\r\n";

inline const char16_t kUsbPath220[] =
    u"\\\\?\\usb#vid_2d37&pid_0220#lx0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
inline const char16_t kUsbPath320[] =
    u"\\\\?\\usb#vid_2d37&pid_0320#lx0002#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";

class EngineMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Reset();
    machine.files.AddFile(u"C:\\Medium\\Setup\\Qelvin64.exe", "MZ installer");
    machine.files.AddFile(u"C:\\Medium\\Setup\\cfgSetup.ini", kEngineConfig);
    machine.files.AddFile(u"C:\\Medium\\amd64\\lx220.inf", kOurInf);
    LoadInstallerConfig(os, GetConfigPath(os), StartUpConfig());
    // A 1000-byte DEVMODE: 220 public bytes and a 780-byte private part.
    for (const char16_t* model : {u"LX-220 Label", u"LX-320 Label"}) {
      SimDriverDefinition d;
      d.name = model;
      d.privateDefault.assign(780, 0xEE);
      std::u16string prefix = model[3] == u'2' ? u"lx220" : u"lx320";
      d.files = {prefix + u"ui.dll", prefix + u"drv.dll", prefix + u"uienus.dll", prefix + u".gpd",
                 prefix + u".ini"};
      machine.spooler.DefineDriver(d);
    }
  }
  void TearDown() override { Reset(); }
  static void Reset() {
    StartUpConfig() = InstallerConfig();
    TheWizardState().Reset();
    debugEnabled = 0;
  }

  // Lets the started tools act: virtual time passes.
  void LetToolsRun() { machine.clock.Advance(10000); }

  // Printer tool runs of one program, with the action understood.
  std::vector<const SimToolRun*> Runs(const std::u16string& program) const {
    std::vector<const SimToolRun*> out;
    for (const auto& r : machine.tools.runs)
      if (r.program == program) out.push_back(&r);
    return out;
  }
  bool Traced(const std::u16string& line) const { return proc->debug.Has(line); }
  // The wizard state with the language in force.
  WizardState& Lang(int languageId) {
    state.language = languageId;
    return state;
  }
  // A worker starter that hands each worker to `start`.
  IWorkerStarter& Workers(std::function<void(std::function<void()>)> start) {
    workers_.start = std::move(start);
    return workers_;
  }

  SimMachine machine;
  std::unique_ptr<SimProcess> proc = machine.StartProcess(u"C:\\Medium\\Setup\\Qelvin64.exe");
  const Os& os = proc->os;
  RecordingSink sink;
  WizardState& state = TheWizardState();

 private:
  struct FnWorkers : IWorkerStarter {
    bool Start(std::function<void()> work) override {
      start(std::move(work));
      return true;
    }
    std::function<void(std::function<void()>)> start;
  } workers_;
};

}  // namespace lx
