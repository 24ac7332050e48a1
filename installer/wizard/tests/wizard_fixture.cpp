#include "installer/wizard/tests/wizard_fixture.h"

#include <map>

#include "installer/core/installer_config.h"
#include "installer/core/resource_ids.h"
#include "installer/core/trace.h"
#include "installer/core/ui_language.h"
#include "installer/core/wizard_state.h"

namespace lx {

namespace {

std::string ResPath(const std::string& name) { return std::string(LX_PAGES_RES_DIR) + "/" + name; }

}  // namespace

const RcScripts& PageScripts() {
  static const RcScripts scripts = [] {
    RcScripts s;
    EXPECT_TRUE(s.ReadDefines(ResPath("../../core/resource_ids.h")));
    EXPECT_TRUE(s.ReadDialogs(ResPath("dialogs.rc")));
    EXPECT_TRUE(s.ReadBitmaps(ResPath("pages.rc")));
    return s;
  }();
  return scripts;
}

const std::map<unsigned, std::u16string>& StringsOf(const std::u16string& suffix) {
  static std::map<std::u16string, std::map<unsigned, std::u16string>> tables;
  auto it = tables.find(suffix);
  if (it != tables.end()) return it->second;
  auto strings = PageScripts().ReadStrings(ResPath("strings_" + Utf16ToUtf8(suffix) + ".rc"));
  EXPECT_TRUE(strings.has_value()) << Utf16ToUtf8(suffix);
  return tables[suffix] = strings.value_or(std::map<unsigned, std::u16string>{});
}

WizardRig::WizardRig(bool withStrings) : view(PageScripts()) {
  process = machine.StartProcess(std::u16string(kSetupFolder) + u"\\Qelvin64.exe");
  os = &process->os;
  session = std::make_unique<SimSession>(process->system);
  if (withStrings)
    for (const auto& row : UiLanguageTable)
      for (const auto& [id, text] : StringsOf(row.suffix))
        process->resources.AddString(id, row.WindowsLangId(), text);
  // Process-wide state starts as a fresh installer process has it.
  StartUpConfig() = InstallerConfig{};
  TheWizardState().Reset();
  debugEnabled = 0;
}

WizardRig::~WizardRig() {
  // The search ends before the windows and the double it uses.
  if (search_) search_->StopNetSearch();
  if (external_) external_->StopNetSearch();
  sheet_.reset();
  search_.reset();
}

void WizardRig::UseNetSearch(bool library) {
  lockedDebug_ = std::make_unique<LockedDebug>(process->debug);
  process->os.debug = lockedDebug_.get();
  mdns = std::make_unique<SimDnssd>();
  process->os.sockets = mdns.get();
  process->os.libraries = &libraries;
  std::u16string path = std::u16string(kSetupFolder) + u"\\dnssd.dll";
  if (library) libraries.Install(path, SimDnssd::Entries());
  dnssd_ = std::make_unique<DnssdBinding>(&libraries);
  EXPECT_EQ(dnssd_->Load(DnssdLibraryPath(*os)), library);
  search_ = std::make_unique<NetSearch>(*os, *dnssd_, StartUpConfig());
}

void WizardRig::UseWindowsSearch() {
  UseNetSearch(false);
  windows = std::make_unique<SimDnsapi>();
  std::u16string path = DnsapiLibraryPath(*os);
  libraries.Install(path, SimDnsapi::Entries());
  dnsapi_ = std::make_unique<DnsapiBinding>(&libraries);
  EXPECT_TRUE(dnsapi_->Load(path));
  search_ = std::make_unique<NetSearch>(*os, *dnssd_, StartUpConfig(), dnsapi_.get());
}

std::string WizardRig::DefaultConfig() {
  return "[Support_Driver]\r\nLX-220\r\n"
         "[LX-220]\r\nVID=VID_2D37\r\nPID=PID_0220\r\nPRINTERNAME=LX-220 Label Printer\r\n"
         "DriverName=LX-220 Label\r\nInfName=lx220.inf\r\nTYPE=1\r\nShowSetting=0\r\n"
         "[Install]\r\nInfName=Driver\\lx220.inf\r\nLanguageRegPath=Calveth\\LX220\r\n"
         "SupportNet=1\r\nSupportOther=1\r\nShowLogo=1\r\n"
         "[Language]\r\nenus\r\nzhcn\r\nde\r\nru\r\n"
         "[Uninstall]\r\nRegInfo=LX220Driver\r\nDisplayName=LX-220 Driver\r\n"
         "[Debug]\r\nOpenDebug=1\r\n";
}

void WizardRig::WriteConfig(const std::string& ini) {
  machine.files.AddFile(std::u16string(kSetupFolder) + u"\\cfgSetup.ini", ini);
}

std::string WizardRig::DocumentText(const UiLanguage& row, bool licence) {
  return "{\\rtf1 " + Utf16ToUtf8(row.suffix) + (licence ? " licence}" : " privacy}");
}

void WizardRig::AddDocuments(const UiLanguage& row) {
  std::u16string folder = std::u16string(kSetupFolder) + u"\\";
  machine.files.AddFile(folder + row.licenceFile, DocumentText(row, true));
  machine.files.AddFile(folder + row.privacyFile, DocumentText(row, false));
}

void WizardRig::AddDriverPackage(const std::vector<std::string>& models) {
  std::string inf = "[Version]\r\nSignature=\"$Windows NT$\"\r\n[Strings]\r\n";
  for (const auto& m : models) inf += "Model=\"" + m + "\"\r\n";
  machine.files.AddFile(u"C:\\Medium\\Driver\\lx220.inf", inf);
}

void WizardRig::AttachPrinter(const char16_t* pid) {
  SimUsbPrinter printer;
  printer.instanceId = std::u16string(u"USB\\VID_2D37&") + pid + u"\\0001";
  printer.devicePath = u"\\\\?\\usb#vid_2d37&pid_0220#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}";
  machine.AttachUsbPrinter(printer, 1);
}

void WizardRig::StartWizard(bool uninstallMode) {
  LoadInstallerConfig(*os, GetConfigPath(*os), StartUpConfig());
  LogoIds ids = LogoIdsFor(StartUpConfig().install.ShowLogo);
  StartUpConfig().logoBitmapId = ids.logoBitmapId;
  StartUpConfig().sideBitmapId = ids.sideBitmapId;
  DetectUiLanguage(*os);
  // As the program's runner does it.
  NetSearch* search = search_ ? search_.get() : external_;
  sheet_ = std::make_unique<SheetManage>(WizardServices{*os, view, workers, *session, TheWizardState(), search});
  if (uninstallMode) sheet_->SetUninstallMode();
  sheet_->Run();
}

void WizardRig::GoToInstallType() {
  ASSERT_TRUE(view.ClickNext());
  ASSERT_TRUE(view.Click(IDC_AGREE_CHECK));
  ASSERT_TRUE(view.ClickNext());
  ASSERT_EQ(view.CurrentPage(), &sheet().installerType);
}

void WizardRig::RunUntilIdle() {
  for (int guard = 0; guard < 1000; ++guard) {
    bool worked = workers.RunNext();
    int delivered = view.DeliverPosted();
    if (!worked && delivered == 0) return;
  }
  ADD_FAILURE() << "the wizard never became idle";
}

std::u16string WizardRig::En(unsigned id) { return In(u"enus", id); }

std::u16string WizardRig::In(const char16_t* suffix, unsigned id) {
  const auto& table = StringsOf(suffix);
  auto it = table.find(id);
  return it == table.end() ? u"" : it->second;
}

}  // namespace lx
