// The medium as built (its word size's part, laid out by the install rules):
// its own installer, cfgSetup.ini and INF put a printer on "FILE:" through
// the wizard under Wine, and the plug-in from the package's files answers a
// print host. Wine has no Unidrv and installs no driver from an INF: the
// printui stand-in adds the driver under the INF's model name with its test
// module, so this test copies the package's files into the driver folder
// as the INF's CopyFiles names them and loads the plug-in from there.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <setupapi.h>
#include <winspool.h>

#include <algorithm>
#include <atomic>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

#include "installer/core/resource_ids.h"
#include "plugin/oem/oem_com.h"
#include "tests/win/process_driver.h"
#include "tests/win/window_driver.h"
#include "tests/win/wizard_walk.h"
#include "tools/printhost/plugin_fixture.h"
#include "tools/printui/spooler_probe.h"
#include "tools/printui/standin_setup.h"

namespace lx::testing {
namespace {

// What the medium's cfgSetup.ini says of its first model.
const std::wstring kDriver = L"LX-220 Label Printer";
const std::wstring kPrinter = L"LX-220 Label Printer";
const wchar_t kSuffixKey[] = L"Software\\Label Printer\\LX-220";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LabelPrinterDriver";
const wchar_t kCopyFolder[] = L"Label Printer Driver";
const wchar_t* const kModelsSection = sizeof(void*) == 8 ? L"LabelPrinter.NTamd64" : L"LabelPrinter.NTx86";
const wchar_t* const kSourceDisks = sizeof(void*) == 8 ? L"SourceDisksNames.amd64" : L"SourceDisksNames.x86";

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}, as the feature file's INI names it.
constexpr GUID kPluginClsid = {0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};

std::string Narrow(const std::wstring& w) { return std::string(w.begin(), w.end()); }

std::wstring WindowsPath(std::wstring path) {
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

void RemovePrintersOfTheDriver() { printui_test::RemovePrintersOfDriver(kDriver); }

std::wstring DefaultPrinter() {
  wchar_t name[512] = {};
  DWORD size = 512;
  return GetDefaultPrinterW(name, &size) ? name : L"";
}

std::wstring RegString(const std::wstring& key, const wchar_t* value) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"";
  return data;
}

std::wstring DriverFolder() {
  wchar_t dir[MAX_PATH] = {};
  DWORD needed = 0;
  GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir, &needed);
  return std::wstring(dir) + L"\\3";
}

std::wstring StringField(INFCONTEXT& line, DWORD field) {
  wchar_t text[MAX_PATH] = {};
  return SetupGetStringFieldW(&line, field, text, MAX_PATH, nullptr) ? text : L"";
}

// The driver's files as the INF names them for this word size: the model's
// install section, its CopyFiles section and the source disk's folder.
bool PackageFiles(const std::wstring& inf, std::wstring& subFolder, std::vector<std::wstring>& files,
                  std::string& error) {
  HINF h = SetupOpenInfFileW(inf.c_str(), nullptr, INF_STYLE_WIN4, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    error = "the INF does not open";
    return false;
  }
  INFCONTEXT line;
  std::wstring install, copy;
  if (SetupFindFirstLineW(h, kModelsSection, kDriver.c_str(), &line)) install = StringField(line, 1);
  if (!install.empty() && SetupFindFirstLineW(h, install.c_str(), L"CopyFiles", &line)) copy = StringField(line, 1);
  if (SetupFindFirstLineW(h, kSourceDisks, L"1", &line)) subFolder = StringField(line, 4);
  if (!copy.empty() && SetupFindFirstLineW(h, copy.c_str(), nullptr, &line)) {
    do files.push_back(StringField(line, 1));
    while (SetupFindNextLine(&line, &line));
  }
  SetupCloseInfFile(h);
  if (files.empty()) error = "no files for the model \"" + Narrow(kDriver) + "\" in the INF";
  return !files.empty();
}

class MediumOnWine : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wstring error;
    ASSERT_TRUE(printui::InstallStandIn(&error)) << Narrow(error);
    medium_ = WindowsPath(LX_MEDIUM_DIR);
    ASSERT_NE(GetFileAttributesW((medium_ + L"\\Setup\\cfgSetup.ini").c_str()), INVALID_FILE_ATTRIBUTES)
        << "no medium at " << Narrow(medium_);
    savedDefault_ = DefaultPrinter();
    savedSuffix_ = RegString(kSuffixKey, L"Suffix");
    RemovePrintersOfTheDriver();
  }

  void TearDown() override {
    if (pid_) {
      if (HANDLE p = OpenProcess(PROCESS_TERMINATE, FALSE, pid_)) {
        TerminateProcess(p, 1);
        CloseHandle(p);
      }
    }
    if (installer_.joinable()) installer_.join();
    if (HasFailure())
      for (const std::string& line : run_.traces) std::cerr << line << "\n";
    RemovePrintersOfTheDriver();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
    wchar_t programFiles[MAX_PATH] = {};
    GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
    std::wstring copy = std::wstring(programFiles) + L"\\" + kCopyFolder;
    DeleteFileW((copy + L"\\" + TEXT(QELVIN_EXE)).c_str());
    RemoveDirectoryW(copy.c_str());
    if (savedSuffix_.empty()) {
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSuffixKey, L"Suffix");
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, kSuffixKey);  // each only when empty
      RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Label Printer");
    } else {
      RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSuffixKey, L"Suffix", REG_SZ, savedSuffix_.c_str(),
                      static_cast<DWORD>((savedSuffix_.size() + 1) * sizeof(wchar_t)));
    }
    if (!savedDefault_.empty()) SetDefaultPrinterW(savedDefault_.c_str());
  }

  void StartInstaller() {
    std::wstring setup = medium_ + L"\\Setup";
    std::wstring exe = setup + L"\\" + TEXT(QELVIN_EXE);
    installer_ = std::thread([this, exe, setup] {
      run_ = RunTraced(L"\"" + exe + L"\"", setup, nullptr, nullptr, 180000, [this](DWORD pid) { pid_ = pid; });
      done_ = true;
    });
    WaitUntil([this] { return pid_ != 0 || done_; }, 10000);
  }

  std::wstring medium_, savedDefault_, savedSuffix_;
  std::thread installer_;
  std::atomic<DWORD> pid_{0};
  std::atomic<bool> done_{false};
  TracedRun run_;
};

// The core driver's sheet callback, keeping the pages the plug-in adds.
LONG_PTR CALLBACK RecordPage(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
  if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 0;
  reinterpret_cast<std::vector<PROPSHEETPAGEW>*>(sheet)->push_back(*reinterpret_cast<PROPSHEETPAGEW*>(lParam1));
  return 1;
}

std::string TemplateBytes(HMODULE module, LPCWSTR name) {
  HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(5));  // RT_DIALOG
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  if (!loaded) return "";
  return std::string(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
}

TEST_F(MediumOnWine, WizardInstallsOnFilePortAndThePackagesPluginAnswersThePrintHost) {
  StartInstaller();
  ASSERT_NE(pid_, 0u) << "the medium's installer does not start";
  WizardWalk walk(pid_);
  ASSERT_TRUE(walk.FindSheet(30000)) << "no wizard";
  std::string error;
  HWND page = walk.ToPortPage(0, nullptr, &error);
  ASSERT_NE(page, nullptr) << error;

  // The port page offers the medium's models; the first is chosen.
  HWND drivers = GetDlgItem(page, IDC_DRIVER_COMBO);
  EXPECT_EQ(SendMessageW(drivers, CB_GETCOUNT, 0, 0), 5);
  LRESULT index = SendMessageW(drivers, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                               reinterpret_cast<LPARAM>(kDriver.c_str()));
  ASSERT_NE(index, CB_ERR) << "the port page does not offer " << Narrow(kDriver);
  SendMessageW(drivers, CB_SETCURSEL, index, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_DRIVER_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(drivers));
  SendMessageW(GetDlgItem(page, IDC_PRINTER_NAME_EDIT), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPrinter.c_str()));
  HWND ports = GetDlgItem(page, IDC_PORT_LIST);
  int row = ListFindItem(ports, L"FILE:");
  ASSERT_GE(row, 0) << "Wine's FILE: port is not listed";
  ASSERT_TRUE(ListSelectRow(ports, row));
  ASSERT_TRUE(WaitUntil([&] { return walk.Enabled(IDC_SHEET_NEXT); }, 5000));
  walk.Press(PSBTN_NEXT);

  page = walk.WaitForPage(IDC_PRINT_TEST_PAGE, 60000);
  ASSERT_NE(page, nullptr) << "no finish page";
  EXPECT_EQ(ControlText(page, IDC_FINISH_RESULT), L"Installation Complete");
  walk.Press(PSBTN_CANCEL);
  EXPECT_TRUE(WaitUntil([&] { return done_.load(); }, 20000)) << "the wizard does not close";

  printui_test::PrinterFacts created = printui_test::FindPrinter(kPrinter);
  ASSERT_TRUE(created.found) << "no printer \"" << Narrow(kPrinter) << "\"";
  EXPECT_EQ(created.port, L"FILE:");
  EXPECT_EQ(created.driver, kDriver);
  EXPECT_EQ(RegString(kSuffixKey, L"Suffix"), L"enus") << "the plug-in's language was not handed over";

  // The package's files where Windows would put them, from the medium's
  // folder the INF names for this word size.
  std::wstring sub;
  std::vector<std::wstring> files;
  ASSERT_TRUE(PackageFiles(medium_ + L"\\lx220.inf", sub, files, error)) << error;
  EXPECT_EQ(sub, LX_DRIVER_DIR);
  std::wstring target = DriverFolder();
  CreateDirectoryW(target.c_str(), nullptr);
  // Files another test left there must not stand in for the package's.
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW((target + L"\\lx220*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do DeleteFileW((target + L"\\" + found.cFileName).c_str());
    while (FindNextFileW(find, &found));
    FindClose(find);
  }
  for (const std::wstring& name : files)
    ASSERT_TRUE(CopyFileW((medium_ + L"\\" + sub + L"\\" + name).c_str(), (target + L"\\" + name).c_str(), FALSE))
        << Narrow(name) << " is not on the medium under " << Narrow(sub);

  // The print host's road: the plug-in loaded from the driver folder takes
  // the language module the installer's suffix names and answers the
  // printer's paper queries.
  HMODULE plugin = LoadLibraryW((target + L"\\lx220ui.dll").c_str());
  ASSERT_NE(plugin, nullptr) << "the package's plug-in does not load: " << GetLastError();
  using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
  auto getClassObject = reinterpret_cast<GetClassObjectFn>(
      reinterpret_cast<void*>(GetProcAddress(plugin, "DllGetClassObject")));
  ASSERT_NE(getClassObject, nullptr);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(kPluginClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)), S_OK);
  IPrintOemUI2* ui = nullptr;
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&ui)), S_OK);
  factory->Release();
  ASSERT_NE(ui, nullptr);

  std::wstring name = kPrinter;
  DWORD count = 0;
  EXPECT_EQ(ui->DeviceCapabilities(nullptr, nullptr, &name[0], DC_PAPERNAMES, nullptr, nullptr, nullptr, 0, &count),
            S_OK);
  ASSERT_GT(count & 0xFFFF, 0u);
  std::vector<wchar_t> names((count & 0xFFFF) * 64, L'#');
  DWORD written = 0;
  EXPECT_EQ(ui->DeviceCapabilities(nullptr, nullptr, &name[0], DC_PAPERNAMES, names.data(), nullptr, nullptr, 0,
                                   &written),
            S_OK);
  EXPECT_EQ(written, count);
  std::vector<std::wstring> papers;
  for (DWORD i = 0; i < (count & 0xFFFF); ++i) papers.emplace_back(names.data() + i * 64);
  EXPECT_NE(std::find(papers.begin(), papers.end(), L"4_x_6"), papers.end());
  for (const std::wstring& paper : papers) EXPECT_FALSE(paper.empty() || paper[0] == L'#');

  // The first sheet takes the language module the installer's suffix names:
  // its page is that module's template, byte for byte.
  std::vector<PROPSHEETPAGEW> pages;
  OEMUIPSPARAM ps = {};
  ps.cbSize = sizeof ps;
  PROPSHEETUI_INFO info = printhost::InitSheetInfo(&pages, RecordPage, &ps);
  ASSERT_EQ(ui->DevicePropertySheets(&info, 0), S_OK);
  ASSERT_EQ(pages.size(), 1u);
  HMODULE english = LoadLibraryExW((target + L"\\lx220uienus.dll").c_str(), nullptr,
                                   LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(english, nullptr);
  EXPECT_EQ(TemplateBytes(pages[0].hInstance, pages[0].pszTemplate), TemplateBytes(english, pages[0].pszTemplate))
      << "the suffix's language module was not taken";
  FreeLibrary(english);
  ui->Release();
  FreeLibrary(plugin);
}

}  // namespace
}  // namespace lx::testing
