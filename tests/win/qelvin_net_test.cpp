// The real installer's network road under Wine, walked from another process:
// "NET Install" searches through a dnssd.dll that is the dns_sd double
// announcing the printers of a script, the list shows them by instance name,
// and Next installs the chosen one by its host name on its TCP/IP port; then
// the accessories page sets the cutter in the printer's default DEVMODE.
//
// Wine has no Standard TCP/IP port monitor. The installer's first road to the
// port is `cscript prnport.vbs -a -r IP_<x> -h <x> -o raw`; Wine's own cscript
// runs a stand-in prnport.vbs, put where the installer looks for it, which
// logs its arguments and, for a command of exactly that shape, adds the port
// to the Local Port monitor's list in the registry, where Wine's monitor keeps
// its ports. The printui stand-in then adds the printer on it with the test
// driver, whose DEVMODE carries the plug-in's 148-byte private part.
// Screenshots: screenshots\qelvin-<language>-{search,list,options,wifi,accessories}.bmp, and
// qelvin-enus-dnsapi-{search,list,accessories}.bmp of Windows' DNS-SD road.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <winspool.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "installer/core/resource_ids.h"
#include "tests/win/installer_run.h"
#include "tests/win/process_driver.h"
#include "tests/win/window_driver.h"
#include "tests/win/wizard_walk.h"
#include "tools/printui/spooler_probe.h"
#include "tools/printui/standin_setup.h"

namespace lx::testing {
namespace {

const std::wstring kBits = LX_TEST_BITS;
const std::wstring kModelSection = L"LX Net " + kBits;
const std::wstring kDriver = L"LX Net Label " + kBits;
const std::wstring kPrinter = L"LX Net Test " + kBits + L" NET";
const std::wstring kInstallFolder = L"LxNetTest" + kBits;
const std::wstring kRegInfo = L"LxNetTest" + kBits;
const std::wstring kLanguageKey = L"SOFTWARE\\LxNetTest" + kBits;
const std::wstring kInf = L"Driver\\lxnet.inf";
const std::wstring kPortsKey = L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";
const wchar_t kOwnResponder[] = L"ZAX Bonjour Service";

// The printer a user installs: an instance name with blanks, as real
// responders announce, and its host target.
const char kPrinterLine[] = "LXN Label 0A1B\tlxn-0a1b.local.\t9100\t192.0.2.30\ttxtvers=1|product=LXN-1";
const wchar_t kPrinterInstance[] = L"LXN Label 0A1B";
const wchar_t kPrinterPort[] = L"IP_lxn-0a1b.local";
// An announcement whose name and host target would be switches on a command line.
const char kHostileLine[] =
    "LXN \"x\" & calc -h /q\tlxn\" -h /q & calc.local.\t9100\t192.0.2.31\ttxtvers=1|product=LXN-1";
const wchar_t kHostileInstance[] = L"LXN \"x\" & calc -h /q";

struct Language {
  const wchar_t* code;
  int comboIndex;
  const wchar_t* folder;
  const wchar_t* searching;
  const wchar_t* selectPrinter;
  const wchar_t* manualSearch;
  const wchar_t* wifiConfigurator;
  const wchar_t* cutter;
};

const Language kEnglish = {L"enus", 0, L"English", L"Searching...", L"Select Printer", L"Manual Search",
                           L"WiFi Configurator", L"External cutter unit installed "};
const Language kChinese = {L"zhcn", 1, L"Simplified_Chinese", L"正在搜索...", L"选择打印机", L"手动搜索",
                           L"WiFi 配置工具", L"已安装外置切刀 "};
const Language kRussian = {L"ru", 2, L"Russian", L"Поиск...", L"Выбор принтера", L"Поиск вручную",
                           L"Настроить WiFi", L"Установлен внешний отрезчик "};

using printui_test::DefaultPrinter;

void RemoveTestPrinters() { printui_test::RemovePrintersOfDriver(kDriver); }

void RemoveOwnResponderService() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  if (!manager) return;
  if (SC_HANDLE service = OpenServiceW(manager, kOwnResponder, SERVICE_ALL_ACCESS)) {
    SERVICE_STATUS status;
    ControlService(service, SERVICE_CONTROL_STOP, &status);
    DeleteService(service);
    CloseServiceHandle(service);
  }
  CloseServiceHandle(manager);
}

// The program line the manager holds for our service; empty when there is none.
std::wstring OwnResponderBinaryPath() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceW(manager, kOwnResponder, SERVICE_QUERY_CONFIG) : nullptr;
  std::wstring path;
  DWORD needed = 0;
  if (service && !QueryServiceConfigW(service, nullptr, 0, &needed) && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
    std::vector<uint64_t> buffer(needed / sizeof(uint64_t) + 1);
    auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    if (QueryServiceConfigW(service, config, static_cast<DWORD>(buffer.size() * sizeof(uint64_t)), &needed) &&
        config->lpBinaryPathName)
      path = config->lpBinaryPathName;
  }
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);
  return path;
}

bool PortListed(const std::wstring& name) {
  DWORD needed = 0, count = 0;
  EnumPortsW(nullptr, 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed ? needed : 1);
  if (!EnumPortsW(nullptr, 1, buffer.data(), needed, &needed, &count)) return false;
  auto* ports = reinterpret_cast<PORT_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    if (ports[i].pName && name == ports[i].pName) return true;
  return false;
}

std::vector<std::wstring> ReadLines(const std::wstring& path) {
  std::vector<std::wstring> lines;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return lines;
  char data[4096];
  DWORD read = 0;
  ReadFile(f, data, sizeof data, &read, nullptr);
  CloseHandle(f);
  std::wstring line;
  for (DWORD i = 0; i < read; ++i) {
    if (data[i] == '\r') continue;
    if (data[i] == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line += static_cast<wchar_t>(static_cast<unsigned char>(data[i]));
    }
  }
  return lines;
}

// The DWORD twelve bytes before the end of the printer's default DEVMODE,
// which must carry the test driver's 148-byte private part; -1 without one.
int64_t PostActionValue() {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(kPrinter.c_str()), &printer, nullptr)) return -1;
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed ? needed : 1);
  BOOL ok = GetPrinterW(printer, 2, info.data(), needed, &needed);
  ClosePrinter(printer);
  const DEVMODEW* dm = ok ? reinterpret_cast<const PRINTER_INFO_2W*>(info.data())->pDevMode : nullptr;
  if (!dm || dm->dmDriverExtra != 148) return -1;
  DWORD value = 0;
  memcpy(&value, reinterpret_cast<const BYTE*>(dm) + dm->dmSize + dm->dmDriverExtra - 12, sizeof value);
  return value;
}

class QelvinNet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring error;
    standInReady_ = printui::InstallStandIn(&error);
    standInError_ = Narrow(error);
    savedDefault_ = DefaultPrinter();
    RemoveTestPrinters();
    RemoveOwnResponderService();
  }

  void SetUp() override {
    ASSERT_TRUE(standInReady_) << standInError_;
    root_ = MakeTempFolder(L"qelvinnet");
    folder_ = root_ + L"\\Setup";
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    exe_ = folder_ + L"\\" + TEXT(QELVIN_EXE);
    std::wstring built = ThisExeFolder() + L"\\..\\installer\\" + TEXT(QELVIN_EXE);
    ASSERT_TRUE(CopyFileW(built.c_str(), exe_.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(CopyFileW(L"Z:" LX_DNSSD_DOUBLE, (folder_ + L"\\dnssd.dll").c_str(), FALSE)) << GetLastError();
    std::wstring bonjour = folder_ + L"\\Bonjour";
    CreateDirectoryW(bonjour.c_str(), nullptr);
    CreateDirectoryW((bonjour + L"\\x64").c_str(), nullptr);
    CreateDirectoryW((bonjour + L"\\x86").c_str(), nullptr);
    for (const wchar_t* arch : {L"\\x64", L"\\x86"})
      ASSERT_TRUE(CopyFileW(L"Z:" LX_RESPONDER_STANDIN, (bonjour + arch + L"\\mDNSResponder.exe").c_str(), FALSE));
    WriteConfig();
    WriteInf();
    PlacePortScript();
    shots_ = ThisExeFolder() + L"\\screenshots";
    CreateDirectoryW(shots_.c_str(), nullptr);
  }

  void TearDown() override {
    run_.Stop();
    if (HasFailure()) std::cerr << "installer traces:\n" << run_.Traces();
    RemoveTestPrinters();
    RemoveOwnResponderService();
    for (const wchar_t* port : {kPrinterPort, L"IP_192.0.2.30", L"IP_192.0.2.31"}) {
      if (PortListed(port)) printui::DeleteLocalPort(port);
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kPortsKey.c_str(), port);
    }
    DeleteFileW(script_.c_str());
    RemoveDirectoryW(scriptFolder_.c_str());
    RemoveDirectoryW(scriptFolder_.substr(0, scriptFolder_.find_last_of(L'\\')).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE,
                   (L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kRegInfo).c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kLanguageKey.c_str());
    wchar_t programFiles[MAX_PATH] = {};
    GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
    DeleteTree(std::wstring(programFiles) + L"\\" + kInstallFolder);
    DeleteTree(root_);
    if (!savedDefault_.empty() && DefaultPrinter() != savedDefault_) SetDefaultPrinterW(savedDefault_.c_str());
  }

  void WriteConfig() {
    std::wstring ini =
        L"[Debug]\r\nOpenDebug=1\r\n"
        L"[Support_Driver]\r\n" + kModelSection + L"\r\n"
        L"[" + kModelSection + L"]\r\nVID=VID_1FC9\r\nPID=PID_2017\r\nPRINTERNAME=LX Net Test " + kBits + L"\r\n"
        L"DriverName=" + kDriver + L"\r\nHOSTNAME=LXN\r\nInfName=" + kInf + L"\r\nTYPE=1\r\n"
        L"ShowSetting=1\r\nprintPostOpOffset=12\r\n"
        L"[Uninstall]\r\nInfSection=Models\r\nDriverName=\"" + kDriver + L"\"\r\nRegInfo=" + kRegInfo + L"\r\n"
        L"DisplayName=LX Net Test\r\nDisplayVersion=1.0.0\r\nPublisher=LX Test\r\n"
        L"InstallLocation=C:\\Program Files\\" + kInstallFolder + L"\r\nDriverPrefix=lxn\r\n"
        L"[Install]\r\nInfName=" + kInf + L"\r\nFilePath=" + kInstallFolder + L"\r\n"
        L"LanguageRegPath=LxNetTest" + kBits + L"\\Lang\r\nSupportNet=1\r\nNetOnline=1\r\nPRODUCT=LXN\r\n"
        L"SupportOther=1\r\n"
        L"[Language]\r\nenus\r\nzhcn\r\nru\r\n";
    std::string text = Narrow(ini);
    ASSERT_TRUE(WriteBytes(folder_ + L"\\cfgSetup.ini", text.data(), text.size()));
    // The welcome page wants the documents of the chosen language.
    std::wstring medium = LX_MEDIUM_SETUP_DIR;
    for (wchar_t& c : medium)
      if (c == L'/') c = L'\\';
    for (const Language* l : {&kEnglish, &kChinese, &kRussian}) {
      std::wstring to = folder_ + L"\\" + l->folder;
      CreateDirectoryW(to.c_str(), nullptr);
      for (const wchar_t* doc : {L"\\licence.rtf", L"\\privacy.rtf"})
        ASSERT_TRUE(CopyFileW((medium + L"\\" + l->folder + doc).c_str(), (to + doc).c_str(), FALSE));
    }
  }

  void WriteInf() {
    std::wstring dir = root_ + L"\\Driver";
    CreateDirectoryW(dir.c_str(), nullptr);
    std::wstring text = L"\xFEFF[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n"
                        L"[Manufacturer]\r\n\"LX\"=Models,NTamd64,NTx86\r\n\r\n[Models.NTamd64]\r\n\"" +
                        kDriver + L"\" = LXN, USBPRINT\\LXNet0001\r\n[Models.NTx86]\r\n\"" + kDriver +
                        L"\" = LXN, USBPRINT\\LXNet0001\r\n";
    ASSERT_TRUE(WriteBytes(root_ + L"\\" + kInf, text.data(), text.size() * sizeof(wchar_t)));
  }

  // The stand-in prnport.vbs in the first folder the installer looks in.
  void PlacePortScript() {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    std::wstring base = std::wstring(system) + L"\\Printing_Admin_Scripts";
    CreateDirectoryW(base.c_str(), nullptr);
    scriptFolder_ = base + L"\\en-US";
    CreateDirectoryW(scriptFolder_.c_str(), nullptr);
    script_ = scriptFolder_ + L"\\prnport.vbs";
    argsLog_ = root_ + L"\\prnport-args.txt";
    std::string vbs =
        "' prnport.vbs stand-in: logs its arguments; for -a -r IP_<x> -h <x> -o raw\r\n"
        "' it adds the port where Wine's Local Port monitor keeps its ports.\r\n"
        "Set a = WScript.Arguments\r\n"
        "Set fso = CreateObject(\"Scripting.FileSystemObject\")\r\n"
        "Set out = fso.CreateTextFile(\"" + Narrow(argsLog_) + "\", True)\r\n"
        "For i = 0 To a.Count - 1\r\n  out.WriteLine a(i)\r\nNext\r\nout.Close\r\n"
        "If a.Count = 7 Then\r\n"
        "  If a(0) = \"-a\" And a(1) = \"-r\" And a(3) = \"-h\" And a(5) = \"-o\" And a(6) = \"raw\" And "
        "a(2) = \"IP_\" & a(4) Then\r\n"
        "    CreateObject(\"WScript.Shell\").RegWrite \"HKLM\\" + Narrow(kPortsKey) + "\\\" & a(2), \"\", \"REG_SZ\"\r\n"
        "  End If\r\n"
        "End If\r\n";
    ASSERT_TRUE(WriteBytes(script_, vbs.data(), vbs.size())) << Narrow(script_);
  }

  void Announce(std::initializer_list<std::pair<const char*, int>> lines) {
    std::string text;
    for (const auto& [line, delayMs] : lines) text += std::string(line) + "\t" + std::to_string(delayMs) + "\r\n";
    ASSERT_TRUE(WriteBytes(folder_ + L"\\dnssd-script.txt", text.data(), text.size()));
  }

  HWND WaitForPage(int controlId, DWORD ms = 30000) { return walk_->WaitForPage(controlId, ms); }
  bool Enabled(int id) { return walk_->Enabled(id); }

  void Shot(const Language& l, const wchar_t* page) {
    std::wstring path = shots_ + L"\\qelvin-" + l.code + L"-" + page + L".bmp";
    EXPECT_TRUE(walk_->Shot(path)) << Narrow(path);
  }

  // Language, welcome and install-type pages, then "NET Install".
  HWND StartAndSearch(const Language& l) {
    if (!walk_) {
      run_.Start(exe_, folder_);
      if (run_.pid() == 0) {
        ADD_FAILURE() << "the installer did not start";
        return nullptr;
      }
      walk_ = std::make_unique<WizardWalk>(run_.pid());
      if (!walk_->FindSheet(30000)) {
        ADD_FAILURE() << "no wizard shown";
        return nullptr;
      }
      HWND page = WaitForPage(IDC_LANGUAGE_COMBO);
      if (!page) return nullptr;
      SendMessageW(GetDlgItem(page, IDC_LANGUAGE_COMBO), CB_SETCURSEL, l.comboIndex, 0);
      walk_->Press(PSBTN_NEXT);
      page = WaitForPage(IDC_AGREE_CHECK);
      if (!page) return nullptr;
      WizardWalk::Click(page, IDC_AGREE_CHECK);
      EXPECT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 10000));
      walk_->Press(PSBTN_NEXT);
    }
    HWND page = WaitForPage(IDC_USB_INSTALL);
    if (!page) {
      ADD_FAILURE() << "no install-type page";
      return nullptr;
    }
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_NET_INSTALL)));
    WizardWalk::Click(page, IDC_NET_INSTALL);
    return WaitForPage(IDC_SEARCH_PROGRESS);
  }

  // The list page once it shows `rows` rows, the first one chosen.
  HWND WaitForList(size_t rows) {
    HWND page = WaitForPage(IDC_NET_PRINTER_LIST, 60000);
    if (!page) {
      ADD_FAILURE() << "no printer list";
      return nullptr;
    }
    HWND list = GetDlgItem(page, IDC_NET_PRINTER_LIST);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(rows); },
                          30000))
        << "rows: " << SendMessageW(list, LVM_GETITEMCOUNT, 0, 0);
    // Past the search window's end, which merges into the page.
    Sleep(6000);
    EXPECT_TRUE(ListSelectRow(list, 0));
    EXPECT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 10000));
    return page;
  }

  static inline bool standInReady_ = false;
  static inline std::string standInError_;
  static inline std::wstring savedDefault_;
  std::wstring root_, folder_, exe_, shots_, script_, scriptFolder_, argsLog_;
  InstallerRun run_;
  std::unique_ptr<WizardWalk> walk_;
};

class QelvinNetLanguages : public QelvinNet, public ::testing::WithParamInterface<const Language*> {};

TEST_P(QelvinNetLanguages, FindsTheAnnouncedPrinterInstallsItOnItsPortAndSetsTheCutter) {
  const Language& l = *GetParam();
  // The search page stays in view until the first announcement.
  Announce({{kPrinterLine, 2500}, {kHostileLine, 3000}});
  HWND page = StartAndSearch(l);
  ASSERT_NE(page, nullptr) << "no search page";
  EXPECT_EQ(ControlText(page, IDC_SEARCH_STATUS), l.searching);
  Shot(l, L"search");

  page = WaitForList(2);
  ASSERT_NE(page, nullptr);
  HWND list = GetDlgItem(page, IDC_NET_PRINTER_LIST);
  EXPECT_EQ(ControlText(page, IDC_NET_LIST_TITLE), l.selectPrinter);
  EXPECT_EQ(ListItemText(list, 0, 0), kPrinterInstance);
  EXPECT_EQ(ListItemText(list, 0, 1), L"192.0.2.30");
  EXPECT_EQ(ListItemText(list, 0, 2), L"9100");
  EXPECT_EQ(ListItemText(list, 1, 0), kHostileInstance);
  EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_BY_HOSTNAME), BM_GETCHECK, 0, 0), BST_CHECKED);
  Shot(l, L"list");

  // The manual road: the options page and its WiFi page, then back to the hub.
  EXPECT_EQ(ControlText(page, IDC_MANUAL_SEARCH), l.manualSearch);
  WizardWalk::Click(page, IDC_MANUAL_SEARCH);
  page = WaitForPage(IDC_PRINTER_IP_EDIT);
  ASSERT_NE(page, nullptr) << "no printer options page";
  EXPECT_EQ(ControlText(page, IDC_WIFI_CONFIGURATOR), l.wifiConfigurator);
  EXPECT_EQ(ControlText(GetDlgItem(page, IDC_DRIVER_COMBO)), kDriver);
  Shot(l, L"options");
  WizardWalk::Click(page, IDC_WIFI_CONFIGURATOR);
  ASSERT_NE(WaitForPage(IDC_WIFI_NAME_EDIT), nullptr) << "no WiFi page";
  Shot(l, L"wifi");
  walk_->Press(PSBTN_BACK);
  ASSERT_NE(WaitForPage(IDC_PRINTER_IP_EDIT), nullptr);
  walk_->Press(PSBTN_BACK);

  // Search again from the hub and install the first printer by its host name.
  ASSERT_NE(StartAndSearch(l), nullptr);
  page = WaitForList(2);
  ASSERT_NE(page, nullptr);
  walk_->Press(PSBTN_NEXT);

  page = WaitForPage(IDC_ACCESSORY_CUTTER, 120000);
  ASSERT_NE(page, nullptr) << "no accessories page";
  EXPECT_EQ(ControlText(page, IDC_ACCESSORY_CUTTER), l.cutter);
  EXPECT_FALSE(Enabled(IDC_SHEET_BACK));
  Shot(l, L"accessories");

  // The port came from the script's command, of exactly its seven arguments,
  // named after the host target.
  EXPECT_EQ(ReadLines(argsLog_),
            (std::vector<std::wstring>{L"-a", L"-r", kPrinterPort, L"-h", L"lxn-0a1b.local", L"-o", L"raw"}));
  EXPECT_TRUE(PortListed(kPrinterPort));
  std::vector<BYTE> buffer;
  const PRINTER_INFO_2W* created = nullptr;
  for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer))
    if (kPrinter == p.pPrinterName) created = &p;
  ASSERT_NE(created, nullptr) << "no printer \"" << Narrow(kPrinter) << "\"";
  EXPECT_STREQ(created->pPortName, kPrinterPort);
  EXPECT_EQ(created->pDriverName, kDriver);

  EXPECT_EQ(run_.Traces().find("XcvData AddPort"), std::string::npos) << "the port came from the monitor";
  EXPECT_NE(PostActionValue(), 3);

  // The network road copies the installer too: the removal entry's program exists.
  wchar_t programFiles[MAX_PATH] = {};
  GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
  const std::wstring program = std::wstring(programFiles) + L"\\" + kInstallFolder + L"\\" + TEXT(QELVIN_EXE);
  wchar_t command[1024] = {};
  DWORD size = sizeof command;
  EXPECT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, (L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kRegInfo).c_str(),
                         L"UninstallString", RRF_RT_REG_SZ, nullptr, command, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(std::wstring(command), L"\"" + program + L"\" /uninstall");
  EXPECT_NE(GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES) << "the entry names a missing program";

  SendMessageW(GetDlgItem(page, IDC_ACCESSORY_CUTTER), BM_CLICK, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(GetDlgItem(page, IDC_ACCESSORY_CUTTER), BM_GETCHECK, 0, 0) ==
                                     BST_CHECKED; },
                        10000));
  walk_->Press(PSBTN_NEXT);
  ASSERT_NE(WaitForPage(IDC_PRINT_TEST_PAGE, 60000), nullptr) << "no finish page";

  // The printer's default DEVMODE now holds 3 twelve bytes before its end.
  EXPECT_EQ(PostActionValue(), 3);

  walk_->Press(PSBTN_CANCEL);
  ASSERT_TRUE(run_.WaitForExit(30000)) << "the wizard does not close";
  EXPECT_EQ(run_.exitCode(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Languages, QelvinNetLanguages, ::testing::Values(&kEnglish, &kRussian, &kChinese),
                         [](const ::testing::TestParamInfo<const Language*>& info) {
                           return Narrow(info.param->code);
                         });

// By host name, neither the hostile instance name nor the hostile host
// target reaches a command line: the record keeps no host target, and the
// printer is installed by its address.
TEST_F(QelvinNet, AHostileNameReachesNoCommandLine) {
  Announce({{kHostileLine, 2500}, {kPrinterLine, 3000}});
  ASSERT_NE(StartAndSearch(kEnglish), nullptr) << "no search page";
  HWND page = WaitForList(2);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ListItemText(GetDlgItem(page, IDC_NET_PRINTER_LIST), 0, 0), kHostileInstance);
  EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_BY_HOSTNAME), BM_GETCHECK, 0, 0), BST_CHECKED);
  walk_->Press(PSBTN_NEXT);
  ASSERT_NE(WaitForPage(IDC_ACCESSORY_CUTTER, 120000), nullptr) << "no accessories page";
  std::string traces = run_.Traces();
  EXPECT_NE(traces.find("NetSearch: host target not kept (a character no host name holds)"), std::string::npos);
  EXPECT_NE(traces.find("has no usable host name; installing by its address 192.0.2.31"), std::string::npos);
  EXPECT_EQ(ReadLines(argsLog_),
            (std::vector<std::wstring>{L"-a", L"-r", L"IP_192.0.2.31", L"-h", L"192.0.2.31", L"-o", L"raw"}));
  std::vector<BYTE> buffer;
  const PRINTER_INFO_2W* created = nullptr;
  for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer))
    if (kPrinter == p.pPrinterName) created = &p;
  ASSERT_NE(created, nullptr) << "no printer \"" << Narrow(kPrinter) << "\"";
  EXPECT_STREQ(created->pPortName, L"IP_192.0.2.31");
  walk_->Press(PSBTN_CANCEL);
  ASSERT_TRUE(run_.WaitForExit(30000)) << "the wizard does not close";
  // The printer was installed by its address: leaving on the accessories
  // page ends a finished installation.
  EXPECT_EQ(run_.exitCode(), 0u);
}

// No dnssd.dll and no responder on the medium: Windows' own DNS-SD client
// searches. Wine 8's dnsapi has no DnsServiceBrowse, so the test puts the
// dnsapi stand-in (tools/dnsapi_standin, the simulated client announcing a
// script) in system32 as dnsapi.dll, where the installer loads it by its
// full path and binds it entry by entry as it binds Windows' own. Wine loads
// a file there instead of its builtin only for a program whose load order
// says native first: an AppDefaults override names the installer alone.
// Wine's own dnsapi stays beside it as wdnsapi.dll, where the stand-in's
// other entries forward, and is put back afterwards.
class QelvinNetWindowsDnsSd : public QelvinNet {
 protected:
  void SetUp() override {
    QelvinNet::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(DeleteFileW((folder_ + L"\\dnssd.dll").c_str()));
    DeleteTree(folder_ + L"\\Bonjour");
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    dnsapi_ = std::wstring(system) + L"\\dnsapi.dll";
    saved_ = std::wstring(system) + L"\\dnsapi.lx-saved";
    wine_ = std::wstring(system) + L"\\wdnsapi.dll";
    // A run that ended before putting Wine's back left it saved.
    if (GetFileAttributesW(saved_.c_str()) == INVALID_FILE_ATTRIBUTES) {
      ASSERT_TRUE(CopyFileW(dnsapi_.c_str(), saved_.c_str(), TRUE)) << GetLastError();
    }
    ASSERT_TRUE(CopyFileW(saved_.c_str(), wine_.c_str(), FALSE)) << GetLastError();
    ASSERT_TRUE(CopyFileW(L"Z:" LX_DNSAPI_STANDIN, dnsapi_.c_str(), FALSE)) << GetLastError();
    const wchar_t order[] = L"native,builtin";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kOverrides, L"dnsapi", REG_SZ, order, sizeof order), ERROR_SUCCESS);
    dnsapiScript_ = root_ + L"\\dnsapi-script.txt";
    SetEnvironmentVariableW(L"LX_DNSAPI_SCRIPT", dnsapiScript_.c_str());
  }

  void TearDown() override {
    QelvinNet::TearDown();
    RegDeleteTreeW(HKEY_CURRENT_USER, kOverrides);
    SetEnvironmentVariableW(L"LX_DNSAPI_SCRIPT", nullptr);
    if (!saved_.empty() && CopyFileW(saved_.c_str(), dnsapi_.c_str(), FALSE)) DeleteFileW(saved_.c_str());
    if (!wine_.empty()) DeleteFileW(wine_.c_str());
  }

  void Script(const std::string& text) { ASSERT_TRUE(WriteBytes(dnsapiScript_, text.data(), text.size())); }

  static constexpr const wchar_t* kOverrides = L"Software\\Wine\\AppDefaults\\" TEXT(QELVIN_EXE) L"\\DllOverrides";
  std::wstring dnsapi_, saved_, wine_, dnsapiScript_;
};

// One printer answers its resolve with an IPv4 address, the other with an
// IPv6 one only and gets its address from DnsQueryEx; the first is installed
// by its host name on its port, and no responder service is made.
TEST_F(QelvinNetWindowsDnsSd, FindsTheAnnouncedPrinterWithNoDnssdAndInstallsItOnItsPort) {
  Script(std::string(kPrinterLine) + "\t2500\r\n" +
         "LXN Label 0C2D\tlxn-0c2d.local.\t9100\t\ttxtvers=1|product=LXN-1\t3000\r\n"
         "=A\tlxn-0c2d.local\t192.0.2.32\t200\r\n");
  HWND page = StartAndSearch(kEnglish);
  ASSERT_NE(page, nullptr) << "no search page";
  EXPECT_EQ(ControlText(page, IDC_SEARCH_STATUS), kEnglish.searching);
  Shot(kEnglish, L"dnsapi-search");

  page = WaitForList(2);
  ASSERT_NE(page, nullptr);
  HWND list = GetDlgItem(page, IDC_NET_PRINTER_LIST);
  EXPECT_EQ(ListItemText(list, 0, 0), kPrinterInstance);
  EXPECT_EQ(ListItemText(list, 0, 1), L"192.0.2.30");
  EXPECT_EQ(ListItemText(list, 0, 2), L"9100");
  EXPECT_EQ(ListItemText(list, 1, 0), L"LXN Label 0C2D");
  EXPECT_EQ(ListItemText(list, 1, 1), L"192.0.2.32") << "the address DnsQueryEx answered";
  Shot(kEnglish, L"dnsapi-list");
  walk_->Press(PSBTN_NEXT);

  page = WaitForPage(IDC_ACCESSORY_CUTTER, 120000);
  ASSERT_NE(page, nullptr) << "no accessories page";
  Shot(kEnglish, L"dnsapi-accessories");
  EXPECT_EQ(ReadLines(argsLog_),
            (std::vector<std::wstring>{L"-a", L"-r", kPrinterPort, L"-h", L"lxn-0a1b.local", L"-o", L"raw"}));
  EXPECT_TRUE(PortListed(kPrinterPort));
  std::vector<BYTE> buffer;
  const PRINTER_INFO_2W* created = nullptr;
  for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer))
    if (kPrinter == p.pPrinterName) created = &p;
  ASSERT_NE(created, nullptr) << "no printer \"" << Narrow(kPrinter) << "\"";
  EXPECT_STREQ(created->pPortName, kPrinterPort);

  std::string traces = run_.Traces();
  for (const char* line : {"NetSearch: Windows DNS-SD (dnsapi.dll) searches", "DnsServiceBrowse started",
                           "DnsQueryEx started for lxn-0c2d.local", "address = 192.0.2.32"})
    EXPECT_NE(traces.find(line), std::string::npos) << line;
  EXPECT_EQ(traces.find("dnssd.dll searches"), std::string::npos);
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = manager ? OpenServiceW(manager, kOwnResponder, SERVICE_QUERY_STATUS) : nullptr;
  EXPECT_EQ(service, nullptr) << "this road registers no responder";
  if (service) CloseServiceHandle(service);
  if (manager) CloseServiceHandle(manager);

  walk_->Press(PSBTN_NEXT);
  ASSERT_NE(WaitForPage(IDC_PRINT_TEST_PAGE, 60000), nullptr) << "no finish page";
  walk_->Press(PSBTN_CANCEL);
  ASSERT_TRUE(run_.WaitForExit(30000)) << "the wizard does not close";
  EXPECT_EQ(run_.exitCode(), 0u);
}

// Our responder service runs the installed copy and lives only while the
// search is shown: Back and Exit on the search page leave the real service
// manager without it.
TEST_F(QelvinNet, TheResponderServiceGoesWithBackAndWithExitOnTheSearchPage) {
  Announce({{kPrinterLine, 25000}});  // late: the search page stays in view
  wchar_t programFiles[MAX_PATH] = {};
  GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
  const std::wstring installed =
      L"\"" + std::wstring(programFiles) + L"\\" + kInstallFolder + L"\\Bonjour\\x64\\mDNSResponder.exe\"";
  ASSERT_NE(StartAndSearch(kEnglish), nullptr) << "no search page";
  EXPECT_TRUE(WaitUntil([&] { return OwnResponderBinaryPath() == installed; }, 20000))
      << "the service names " << Narrow(OwnResponderBinaryPath());
  walk_->Press(PSBTN_BACK);
  ASSERT_NE(WaitForPage(IDC_USB_INSTALL), nullptr) << "no install-type page after Back";
  EXPECT_TRUE(WaitUntil([] { return OwnResponderBinaryPath().empty(); }, 10000)) << "Back left the service";

  ASSERT_NE(StartAndSearch(kEnglish), nullptr) << "no search page";
  ASSERT_TRUE(WaitUntil([&] { return OwnResponderBinaryPath() == installed; }, 20000));
  walk_->Press(PSBTN_CANCEL);
  ASSERT_TRUE(run_.WaitForExit(30000)) << "the wizard does not close";
  EXPECT_EQ(OwnResponderBinaryPath(), L"") << "Exit left the service";
}

}  // namespace
}  // namespace lx::testing
