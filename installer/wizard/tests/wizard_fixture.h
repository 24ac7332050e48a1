// A whole wizard on a simulated machine: the real sheet, pages and engine,
// the in-memory window binding built from the resource scripts, the string
// table of all 14 languages read from the scripts, and workers that run when
// the test lets them.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include <gtest/gtest.h>

#include "common/text.h"
#include "installer/core/ui_language.h"
#include "installer/discovery/dnssd_binding.h"
#include "installer/discovery/net_search.h"
#include "installer/wizard/sheet_manage.h"
#include "platform/sim/sim_dnsapi.h"
#include "platform/sim/sim_dnssd.h"
#include "platform/sim/sim_libraries.h"
#include "platform/sim/sim_machine.h"
#include "platform/sim/sim_session.h"
#include "ui/fake/fake_sheet.h"

namespace lx {

// The resource scripts, read once per test program.
const RcScripts& PageScripts();

// The string table of `suffix` ("enus", "de", ...) as the scripts hold it.
const std::map<unsigned, std::u16string>& StringsOf(const std::u16string& suffix);

constexpr const char16_t* kSetupFolder = u"C:\\Medium\\Setup";

// One installer process with its wizard; a test may hold several.
class WizardRig {
 public:
  // The English (or other) text of a string id.
  static std::u16string En(unsigned id);
  static std::u16string In(const char16_t* suffix, unsigned id);

  // Without strings the process stands for one whose string table cannot be loaded.
  explicit WizardRig(bool withStrings = true);
  ~WizardRig();

  // cfgSetup.ini beside the installer; read when the wizard starts.
  void WriteConfig(const std::string& ini);
  // A model section plus its Support_Driver line, for WriteConfig.
  static std::string DefaultConfig();
  // Gives the wizard a network search over the dns_sd double beside the
  // installer (or, without `library`, none there); before StartWizard.
  void UseNetSearch(bool library = true);
  // Or, with no dnssd.dll beside the installer, a search over Windows' own
  // DNS-SD: the simulated dnsapi.dll in the system folder.
  void UseWindowsSearch();
  // Or a search of the test's own, over another library and sockets (the
  // host's real mDNS stack); it must outlive the rig.
  void UseNetSearch(NetSearch& search) { external_ = &search; }
  // Loads the configuration, detects the language and runs the sheet.
  void StartWizard(bool uninstallMode = false);
  // The licence and privacy documents of one language row, as RTF beside the
  // installer; their text names the language and the document.
  void AddDocuments(const UiLanguage& row);
  static std::string DocumentText(const UiLanguage& row, bool licence);
  // The driver package above the installer's folder, naming `models`.
  void AddDriverPackage(const std::vector<std::string>& models);
  // A USB printer of the default model on port USB001.
  void AttachPrinter(const char16_t* pid = u"PID_0220");
  // Install mode: from the language page through the welcome page (agree
  // box ticked) to the install-type page.
  void GoToInstallType();
  // Runs waiting workers and delivers posted messages until both are done.
  void RunUntilIdle();

  SheetManage& sheet() { return *sheet_; }
  FakeDialog& page() { return view.Current(); }

  SimMachine machine;
  std::unique_ptr<SimProcess> process;
  const Os* os = nullptr;
  FakeSheet view;
  QueuedWorkers workers;
  std::unique_ptr<SimSession> session;
  // The dns_sd double; one at a time, so only a rig that searches has one.
  std::unique_ptr<SimDnssd> mdns;
  std::unique_ptr<SimDnsapi> windows;  // UseWindowsSearch
  SimLibraries libraries;

 private:
  // The search's poll thread traces too.
  class LockedDebug : public IDebugOutput {
   public:
    explicit LockedDebug(IDebugOutput& to) : to_(to) {}
    void OutputA(const std::string& text) override {
      std::lock_guard<std::mutex> hold(lock_);
      to_.OutputA(text);
    }
    void OutputW(const std::u16string& text) override {
      std::lock_guard<std::mutex> hold(lock_);
      to_.OutputW(text);
    }

   private:
    std::mutex lock_;
    IDebugOutput& to_;
  };
  std::unique_ptr<LockedDebug> lockedDebug_;
  std::unique_ptr<DnssdBinding> dnssd_;
  std::unique_ptr<DnsapiBinding> dnsapi_;
  std::unique_ptr<NetSearch> search_;
  NetSearch* external_ = nullptr;
  std::unique_ptr<SheetManage> sheet_;
};

class WizardTest : public ::testing::Test, public WizardRig {};

}  // namespace lx
