// The real installer program walked through its wizard from another
// process, as a user would: a language chosen, the agreement ticked, the
// other-port installation on Wine's "FILE:" port with the printui stand-in,
// so that the printer really appears in the spooler. Each page reached is
// kept as a screenshot beside the test program (screenshots\qelvin-*.bmp).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <winspool.h>

#include <atomic>
#include <fstream>
#include <iostream>
#include <sstream>
#include <mutex>
#include <string>
#include <thread>
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

// Both word sizes may share one prefix: names carry the size.
const std::wstring kBits = LX_TEST_BITS;
const std::wstring kModelSection = L"LX Wizard " + kBits;
const std::wstring kDriver = L"LX Wizard Label " + kBits;
const std::wstring kPrinter = L"LX Wizard Test " + kBits;
const std::wstring kRegInfo = L"LxWizardTest" + kBits;
const std::wstring kLanguageKey = L"SOFTWARE\\LxWizardTest" + kBits;
const std::wstring kInstallFolder = L"LxWizardTest" + kBits;
const std::wstring kInf = L"Driver\\lxwizard.inf";

// What a user reads on the pages in one language (the installer's string table).
struct Texts {
  const wchar_t* code;     // screenshot names
  int comboIndex;          // place in the language list, as cfgSetup.ini orders it
  const wchar_t* display;  // language list entry
  const wchar_t* folder;   // document folder under Setup
  const wchar_t* selectLanguage;
  const wchar_t* welcome;
  const wchar_t* licenceLink;
  const wchar_t* privacyLink;
  const wchar_t* privacyTitle;  // heading of the privacy document
  const wchar_t* licenceTitle;
  const wchar_t* next;
  const wchar_t* back;
  const wchar_t* exit;
  const wchar_t* install;
  const wchar_t* installOptions;
  const wchar_t* usbInstall;
  const wchar_t* otherPortInstall;
  const wchar_t* uninstall;
  const wchar_t* portsTitle;
  const wchar_t* portHeading;
  const wchar_t* driverName;
  const wchar_t* printerName;
  const wchar_t* configuration;
  const wchar_t* portName;
  const wchar_t* describe;
  const wchar_t* tips;
  const wchar_t* selectPortFirst;
  const wchar_t* installFailed;
  const wchar_t* printerNotSeen;
};

const Texts kEnglish = {
    L"enus", 0, L"English", L"English", L"Select Language",
    L"This wizard will guide you through the installation and uninstallation of the printer driver.",
    L"License Agreement", L"Privacy Policy", L"Privacy Policy (sample)", L"Licence Agreement (sample)",
    L"Next", L"Back", L"Exit", L"Install",
    L"Installation Options\r\n    Install or Uninstall Printer Driver",
    L"USB Install", L"Other port Install", L"Uninstall",
    L"Specifying Ports", L"Designate the port used to connect the printer to the computer",
    L"Driver Name", L"Printer Name", L"Configuration", L"Port Name", L"Describe",
    L"Tips", L"Please select a port to configure first!",
    L"Installation Failed",
    L"The printer was not installed: it did not appear in the list of printers. Check the cable or the network "
    L"address and run the installation again.",
};

const Texts kChinese = {
    L"zhcn", 1, L"中文", L"Simplified_Chinese", L"选择语言",
    L"本向导将引导您完成打印机驱动程序的安装和卸载。",
    L"许可协议", L"隐私政策", L"隐私政策（样本）", L"许可协议（样本）",
    L"下一步", L"上一步", L"退出", L"安装",
    L"安装选项\r\n    安装或卸载打印机驱动程序",
    L"USB 安装", L"其他端口安装", L"卸载",
    L"指定端口", L"指定打印机与计算机连接所使用的端口",
    L"驱动程序名称", L"打印机名称", L"配置", L"端口名称", L"描述",
    L"提示", L"请先选择要配置的端口！",
    L"安装失败", L"打印机未安装：打印机未出现在打印机列表中。请检查数据线或网络地址后重新运行安装。",
};

const Texts kRussian = {
    L"ru", 2, L"Русский", L"Russian", L"Выбор языка",
    L"Этот мастер поможет вам установить или удалить драйвер принтера.",
    L"Лицензионное соглашение", L"Политику конфиденциальности", L"Политика конфиденциальности (образец)",
    L"Лицензионное соглашение (образец)",
    L"Далее", L"Назад", L"Выход", L"Установить",
    L"Параметры установки\r\n    Установка или удаление драйвера принтера",
    L"Установка по USB", L"Установка на другой порт", L"Удалить",
    L"Выбор порта", L"Укажите порт, через который принтер подключён к компьютеру",
    L"Имя драйвера", L"Имя принтера", L"Настроить", L"Имя порта", L"Описание",
    L"Подсказка", L"Сначала выберите порт для настройки!",
    L"Ошибка установки",
    L"Принтер не установлен: он не появился в списке принтеров. Проверьте кабель или сетевой адрес и запустите "
    L"установку снова.",
};

using printui_test::DefaultPrinter;


// Every printer of the test's driver, then the driver: what this test or an
// interrupted earlier run created.
void RemoveTestPrinters() { printui_test::RemovePrintersOfDriver(kDriver); }

std::wstring RegString(const std::wstring& key, const wchar_t* value) {
  wchar_t data[512] = {};
  DWORD size = sizeof data;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), value, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return L"";
  return data;
}

DWORD TestPagesPrinted(const std::wstring& printerName) {
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(printerName.c_str()), &printer, nullptr)) return 0;
  DWORD type = 0, value = 0, needed = 0;
  if (GetPrinterDataW(printer, const_cast<LPWSTR>(L"PrintUI Test Pages"), &type, reinterpret_cast<BYTE*>(&value),
                      sizeof value, &needed) != ERROR_SUCCESS)
    value = 0;
  ClosePrinter(printer);
  return value;
}

struct WindowSearch {
  DWORD pid;
  bool found;
};

BOOL CALLBACK FindVisibleWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<WindowSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  if (owner == s->pid && IsWindowVisible(w)) s->found = true;
  return !s->found;
}

// True when the process has a visible top-level window.
bool ShowsAWindow(DWORD pid) {
  WindowSearch search{pid, false};
  EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Runs a whole command line to its end, watching for windows meanwhile.
struct QuietRun {
  DWORD exitCode = STILL_ACTIVE;
  bool window = false;
  bool ended = false;
  std::string traces;
};

QuietRun RunQuietly(const std::wstring& commandLine, const std::wstring& folder) {
  QuietRun out;
  InstallerRun run;
  run.StartCommand(commandLine, folder);
  if (run.pid() == 0) return out;
  for (int i = 0; i < 1200 && !out.ended; ++i) {
    out.window = out.window || ShowsAWindow(run.pid());
    out.ended = run.WaitForExit(100);
  }
  out.exitCode = run.exitCode();
  out.traces = run.Traces();
  return out;
}

std::string LastLine(const std::wstring& path) {
  std::ifstream in(Narrow(path), std::ios::binary);
  std::string line, last;
  while (std::getline(in, line))
    if (!line.empty() && line.back() == '\r') last = line.substr(0, line.size() - 1);
  return last.size() > 24 ? last.substr(24) : last;  // after the time stamp
}

class QelvinWizard : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring error;
    standInReady_ = printui::InstallStandIn(&error);
    standInError_ = Narrow(error);
    savedDefault_ = DefaultPrinter();
    RemoveTestPrinters();
  }

  // Other tests share the prefix: give the default printer back.
  static void TearDownTestSuite() {
    if (!savedDefault_.empty() && DefaultPrinter() != savedDefault_) SetDefaultPrinterW(savedDefault_.c_str());
  }

  void SetUp() override {
    ASSERT_TRUE(standInReady_) << standInError_;
    root_ = MakeTempFolder(L"qelvinwiz");
    folder_ = root_ + L"\\Setup";
    ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
    exe_ = folder_ + L"\\" + TEXT(QELVIN_EXE);
    std::wstring built = ThisExeFolder() + L"\\..\\installer\\" + TEXT(QELVIN_EXE);
    ASSERT_TRUE(CopyFileW(built.c_str(), exe_.c_str(), FALSE)) << GetLastError();
    WriteConfig();
    CopyDocuments();
    WriteInf();
    shots_ = ThisExeFolder() + L"\\screenshots";
    CreateDirectoryW(shots_.c_str(), nullptr);
  }

  void TearDown() override {
    run_.Stop();
    if (HasFailure()) std::cerr << "installer traces:\n" << run_.Traces();
    RemoveTestPrinters();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, UninstallKey().c_str());
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kLanguageKey.c_str());
    DeleteTree(InstalledCopyFolder());
    DeleteTree(root_);
    if (!savedDefault_.empty() && DefaultPrinter() != savedDefault_) SetDefaultPrinterW(savedDefault_.c_str());
  }

  void WriteConfig() {
    std::wstring ini =
        L"[Debug]\r\nOpenDebug=1\r\n"
        L"[Support_Driver]\r\n" + kModelSection + L"\r\n"
        L"[" + kModelSection + L"]\r\nVID=VID_1FC9\r\nPID=PID_2016\r\nPRINTERNAME=" + kPrinter + L"\r\n"
        L"DriverName=" + kDriver + L"\r\nHOSTNAME=LXW\r\nInfName=" + kInf + L"\r\nTYPE=1\r\n"
        L"[Uninstall]\r\nInfSection=Models\r\nDriverName=\"" + kDriver + L"\"\r\nRegInfo=" + kRegInfo + L"\r\n"
        L"DisplayName=LX Wizard Test\r\nDisplayVersion=1.0.0\r\nPublisher=LX Test\r\n"
        L"InstallLocation=C:\\Program Files\\" + kInstallFolder + L"\r\nDriverPrefix=lxw\r\n"
        L"[Install]\r\nInfName=" + kInf + L"\r\nFilePath=" + kInstallFolder + L"\r\n"
        L"LanguageRegPath=LxWizardTest" + kBits + L"\\Lang\r\nShowLogo=1\r\nSupportNet=0\r\nSupportOther=1\r\n"
        L"[Language]\r\nenus\r\nzhcn\r\nru\r\n";
    std::string text = Narrow(ini);
    ASSERT_TRUE(WriteBytes(folder_ + L"\\cfgSetup.ini", text.data(), text.size()));
  }

  // The welcome page shows the licence and privacy documents of the medium.
  void CopyDocuments() {
    std::wstring medium = LX_MEDIUM_SETUP_DIR;
    for (wchar_t& c : medium)
      if (c == L'/') c = L'\\';
    for (const Texts* t : {&kEnglish, &kChinese, &kRussian}) {
      std::wstring to = folder_ + L"\\" + t->folder;
      CreateDirectoryW(to.c_str(), nullptr);
      for (const wchar_t* doc : {L"\\licence.rtf", L"\\privacy.rtf"})
        ASSERT_TRUE(CopyFileW((medium + L"\\" + t->folder + doc).c_str(), (to + doc).c_str(), FALSE))
            << Narrow(medium + L"\\" + t->folder + doc) << " error " << GetLastError();
    }
  }

  // An INF that names the model in quotes, where InfName points: the folder
  // above the installer's.
  void WriteInf() {
    std::wstring dir = root_ + L"\\Driver";
    CreateDirectoryW(dir.c_str(), nullptr);
    std::wstring text = L"\xFEFF[Version]\r\nSignature=\"$Windows NT$\"\r\nClass=Printer\r\n\r\n"
                        L"[Manufacturer]\r\n\"LX\"=Models,NTamd64,NTx86\r\n\r\n[Models.NTamd64]\r\n\"" +
                        kDriver + L"\" = LXW, USBPRINT\\LXWizard0001\r\n[Models.NTx86]\r\n\"" + kDriver +
                        L"\" = LXW, USBPRINT\\LXWizard0001\r\n";
    ASSERT_TRUE(WriteBytes(root_ + L"\\" + kInf, text.data(), text.size() * sizeof(wchar_t)));
  }

  static std::wstring UninstallKey() {
    return L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + kRegInfo;
  }

  static std::wstring InstalledCopyFolder() {
    wchar_t programFiles[MAX_PATH] = {};
    GetEnvironmentVariableW(L"ProgramFiles", programFiles, MAX_PATH);
    return std::wstring(programFiles) + L"\\" + kInstallFolder;
  }

  // --- driving the wizard ---

  void StartInstaller() {
    run_.Start(exe_, folder_);
    ASSERT_NE(run_.pid(), 0u) << "the installer did not start";
    walk_ = std::make_unique<WizardWalk>(run_.pid());
    ASSERT_TRUE(walk_->FindSheet(30000)) << "no wizard shown";
    sheet_ = walk_->sheet();
  }

  // Waits until the current page is the one holding `controlId`.
  HWND WaitForPage(int controlId, DWORD ms = 15000) { return walk_->WaitForPage(controlId, ms); }

  HWND Button(int id) { return GetDlgItem(sheet_, id); }
  bool Enabled(int id) { return walk_->Enabled(id); }
  void Press(int psbtn) { walk_->Press(psbtn); }
  static void Click(HWND page, int id) { WizardWalk::Click(page, id); }

  void Shot(const Texts& t, const wchar_t* page, HWND window = nullptr) {
    HWND target = window ? window : sheet_;
    SetWindowPos(target, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    RedrawWindow(target, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Sleep(400);
    std::wstring path = shots_ + L"\\qelvin-" + t.code + L"-" + page + L".bmp";
    EXPECT_TRUE(SaveScreenshot(target, path)) << Narrow(path);
  }

  // The message box the page opened, checked and answered with OK.
  void ExpectMessageBox(const std::wstring& caption, const std::wstring& text, const Texts* shotTexts = nullptr,
                        const wchar_t* shotName = nullptr) {
    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(run_.pid())) != nullptr; }, 10000))
        << "no message box \"" << Narrow(text) << "\"";
    EXPECT_EQ(ControlText(box), caption);
    EXPECT_EQ(ControlText(box, 0xFFFF), text);
    if (shotTexts) Shot(*shotTexts, shotName, box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 10000)) << "the message box stays";
  }

  void ExpectSheetButtons(const Texts& t, const wchar_t* next) {
    EXPECT_EQ(ControlText(Button(IDC_SHEET_NEXT)), next);
    EXPECT_EQ(ControlText(Button(IDC_SHEET_BACK)), t.back);
    EXPECT_EQ(ControlText(Button(IDC_SHEET_CANCEL)), t.exit);
  }

  // Language, welcome and install-type pages to the port page, in `t`'s
  // language; returns the port page.
  HWND WalkToPortPage(const Texts& t) {
    StartInstaller();
    if (!sheet_) return nullptr;
    EXPECT_EQ(ControlText(sheet_), L"Installtion");

    // Language page: the languages of cfgSetup.ini, in its order.
    HWND page = WaitForPage(IDC_LANGUAGE_COMBO);
    if (!page) {
      ADD_FAILURE() << "no language page";
      return nullptr;
    }
    HWND combo = GetDlgItem(page, IDC_LANGUAGE_COMBO);
    EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
    EXPECT_EQ(ComboItemText(combo, 0), L"English");
    EXPECT_EQ(ComboItemText(combo, 1), L"中文");
    EXPECT_EQ(ComboItemText(combo, 2), L"Русский");
    // The page speaks the user's language until one is chosen.
    if (PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_ENGLISH) {
      EXPECT_EQ(ControlText(page, IDC_LANGUAGE_LABEL), L"Select Language");
      EXPECT_EQ(SendMessageW(combo, CB_GETCURSEL, 0, 0), 0);
    }
    EXPECT_FALSE(Enabled(IDC_SHEET_BACK));
    EXPECT_TRUE(Enabled(IDC_SHEET_NEXT));
    // Help: the page's window can be found before the sheet's own set-up
    // has hidden the button, so give that a moment.
    for (int i = 0; i < 50 && IsWindowVisible(Button(9)); ++i) Sleep(100);
    EXPECT_FALSE(IsWindowVisible(Button(9)));
    SendMessageW(combo, CB_SETCURSEL, t.comboIndex, 0);
    Shot(t, L"language");
    Press(PSBTN_NEXT);

    // Welcome page: Next only while the agreement is ticked.
    page = WaitForPage(IDC_AGREE_CHECK);
    if (!page) {
      ADD_FAILURE() << "no welcome page";
      return nullptr;
    }
    EXPECT_EQ(ControlText(page, IDC_WELCOME_TEXT), t.welcome);
    EXPECT_NE(ControlText(page, IDC_LICENCE_LINK).find(t.licenceLink), std::wstring::npos)
        << Narrow(ControlText(page, IDC_LICENCE_LINK));
    EXPECT_NE(ControlText(page, IDC_PRIVACY_LINK).find(t.privacyLink), std::wstring::npos)
        << Narrow(ControlText(page, IDC_PRIVACY_LINK));
    EXPECT_NE(ControlText(page, IDC_PRIVACY_VIEW).find(t.privacyTitle), std::wstring::npos)
        << "privacy view: " << Narrow(ControlText(page, IDC_PRIVACY_VIEW).substr(0, 120));
    ExpectSheetButtons(t, t.next);
    EXPECT_TRUE(Enabled(IDC_SHEET_BACK));
    EXPECT_FALSE(Enabled(IDC_SHEET_NEXT));
    // The privacy policy is in view first, alone; the links switch documents.
    HWND licenceView = GetDlgItem(page, IDC_MAIN_LICENCE_VIEW);
    HWND privacyView = GetDlgItem(page, IDC_PRIVACY_VIEW);
    EXPECT_NE(ControlText(licenceView).find(t.licenceTitle), std::wstring::npos);
    EXPECT_TRUE(IsWindowVisible(privacyView));
    EXPECT_FALSE(IsWindowVisible(licenceView)) << "the licence view covers the privacy policy";
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_LICENCE_VIEW)));
    EXPECT_TRUE(ClickFirstLink(GetDlgItem(page, IDC_LICENCE_LINK)));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(licenceView) && !IsWindowVisible(privacyView); }, 5000))
        << "the licence link shows the licence";
    Shot(t, L"welcome-licence");
    EXPECT_TRUE(ClickFirstLink(GetDlgItem(page, IDC_PRIVACY_LINK)));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(licenceView) && IsWindowVisible(privacyView); }, 5000))
        << "the privacy link shows the privacy policy";
    HWND agree = GetDlgItem(page, IDC_AGREE_CHECK);
    Click(page, IDC_AGREE_CHECK);
    EXPECT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000)) << "ticking the agreement enables Next";
    EXPECT_EQ(SendMessageW(agree, BM_GETCHECK, 0, 0), BST_CHECKED) << "the links leave the box alone";
    Click(page, IDC_AGREE_CHECK);
    EXPECT_TRUE(WaitUntil([&] { return !Enabled(IDC_SHEET_NEXT); }, 5000)) << "untick: Next is disabled again";
    Click(page, IDC_AGREE_CHECK);
    EXPECT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000));
    Shot(t, L"welcome");

    // Back on the language page, which now speaks the chosen language; the
    // agreement stays ticked when the welcome page comes again.
    Press(PSBTN_BACK);
    HWND languagePage = WaitForPage(IDC_LANGUAGE_COMBO);
    EXPECT_NE(languagePage, nullptr) << "Back does not lead to the language page";
    if (languagePage) {
      EXPECT_EQ(ControlText(languagePage, IDC_LANGUAGE_LABEL), t.selectLanguage);
      EXPECT_EQ(SendMessageW(GetDlgItem(languagePage, IDC_LANGUAGE_COMBO), CB_GETCURSEL, 0, 0), t.comboIndex);
      ExpectSheetButtons(t, t.next);
      Shot(t, L"language-again");
      Press(PSBTN_NEXT);
      EXPECT_EQ(WaitForPage(IDC_AGREE_CHECK), page);
      EXPECT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000)) << "the agreement was forgotten";
    }
    Press(PSBTN_NEXT);

    // Install-type page: "NET Install" is off in cfgSetup.ini.
    page = WaitForPage(IDC_USB_INSTALL);
    if (!page) {
      ADD_FAILURE() << "no install-type page";
      return nullptr;
    }
    EXPECT_EQ(ControlText(page, IDC_INSTALL_TYPE_HEADING), t.installOptions);
    EXPECT_EQ(ControlText(page, IDC_USB_INSTALL), t.usbInstall);
    EXPECT_EQ(ControlText(page, IDC_OTHER_PORT_INSTALL), t.otherPortInstall);
    EXPECT_EQ(ControlText(page, IDC_UNINSTALL), t.uninstall);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_NET_INSTALL)));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_OTHER_PORT_INSTALL)));
    ExpectSheetButtons(t, t.next);
    EXPECT_FALSE(Enabled(IDC_SHEET_NEXT));
    EXPECT_TRUE(Enabled(IDC_SHEET_BACK));
    Shot(t, L"install-type");
    Click(page, IDC_OTHER_PORT_INSTALL);

    // Port page: Wine's ports, the model's driver, no row chosen yet.
    page = WaitForPage(IDC_PORT_LIST);
    if (!page) {
      ADD_FAILURE() << "no port page";
      return nullptr;
    }
    EXPECT_EQ(ControlText(page, IDC_PORT_TITLE), t.portsTitle);
    EXPECT_EQ(ControlText(page, IDC_PORT_HEADING), t.portHeading);
    EXPECT_EQ(ControlText(page, IDC_DRIVER_LABEL), t.driverName);
    EXPECT_EQ(ControlText(page, IDC_PRINTER_NAME_LABEL), t.printerName);
    EXPECT_EQ(ControlText(page, IDC_PORT_CONFIGURE), t.configuration);
    HWND list = GetDlgItem(page, IDC_PORT_LIST);
    EXPECT_EQ(ListColumnText(list, 0), t.portName);
    EXPECT_EQ(ListColumnText(list, 1), t.describe);
    EXPECT_GE(ListFindItem(list, L"FILE:"), 0) << "Wine's FILE: port is not listed";
    HWND drivers = GetDlgItem(page, IDC_DRIVER_COMBO);
    EXPECT_EQ(SendMessageW(drivers, CB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(ControlText(drivers), kDriver);
    EXPECT_EQ(ControlText(page, IDC_PRINTER_NAME_EDIT), kDriver + L" C");
    ExpectSheetButtons(t, t.install);
    EXPECT_FALSE(Enabled(IDC_SHEET_NEXT)) << "Install before a port is chosen";
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), -1);
    Shot(t, L"port");

    // Without a port, "Configuration" and the install both stop at the tip.
    Click(page, IDC_PORT_CONFIGURE);
    ExpectMessageBox(t.tips, t.selectPortFirst, &t, L"port-tips");
    Press(PSBTN_NEXT);
    ExpectMessageBox(t.tips, t.selectPortFirst);
    EXPECT_EQ(CurrentPage(sheet_), page) << "the port page stays";
    return page;
  }

  // In the user's language, agreement ticked, "USB Install" pressed.
  void StartUsbInstallation() {
    StartInstaller();
    ASSERT_NE(sheet_, nullptr);
    ASSERT_NE(WaitForPage(IDC_LANGUAGE_COMBO), nullptr);
    Press(PSBTN_NEXT);
    HWND page = WaitForPage(IDC_AGREE_CHECK);
    ASSERT_NE(page, nullptr);
    Click(page, IDC_AGREE_CHECK);
    ASSERT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000));
    Press(PSBTN_NEXT);
    page = WaitForPage(IDC_USB_INSTALL);
    ASSERT_NE(page, nullptr);
    Click(page, IDC_USB_INSTALL);
  }

  // Back on the port page returns to the install-type page.
  void BackToInstallType(const Texts& t) {
    Press(PSBTN_BACK);
    HWND page = WaitForPage(IDC_USB_INSTALL);
    ASSERT_NE(page, nullptr) << "Back does not lead to the install-type page";
    EXPECT_EQ(ControlText(page, IDC_USB_INSTALL), t.usbInstall);
    ExpectSheetButtons(t, t.next);
  }

  // From the port page: an installation on FILE: whose driver package has
  // gone, so that the printer never appears; the finish page says so.
  void InstallWithoutItsPrinter(const Texts& t, HWND page) {
    HWND list = GetDlgItem(page, IDC_PORT_LIST);
    int row = ListFindItem(list, L"FILE:");
    ASSERT_GE(row, 0);
    ASSERT_TRUE(ListSelectRow(list, row));
    ASSERT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000));
    ASSERT_TRUE(DeleteFileW((root_ + L"\\" + kInf).c_str()));
    Press(PSBTN_NEXT);
    // The finish page comes after the ten polls of half a second.
    HWND finish = WaitForPage(IDC_FINISH_RESULT, 60000);
    ASSERT_NE(finish, nullptr) << "no finish page";
    EXPECT_EQ(ControlText(finish, IDC_FINISH_RESULT), t.installFailed);
    EXPECT_EQ(ControlText(finish, IDC_FINISH_NOTE), t.printerNotSeen);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(finish, IDC_FINISH_NOTE)));
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(finish, IDC_PRINT_TEST_PAGE))) << "a test page for no printer";
    EXPECT_NE(run_.Traces().find("Installation failed: printer"), std::string::npos);
    Shot(t, L"finish-failed");
    std::vector<BYTE> buffer;
    for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer)) EXPECT_NE(p.pDriverName, kDriver);
  }

  // The exit code is the finish page's outcome: 0 installed, 1603 failed.
  void CloseAndExpectExit(DWORD code = 0) {
    Press(PSBTN_CANCEL);
    ASSERT_TRUE(run_.WaitForExit(20000)) << "the wizard does not close";
    EXPECT_EQ(run_.exitCode(), code);
  }

  static inline bool standInReady_ = false;
  static inline std::string standInError_;
  static inline std::wstring savedDefault_;
  std::wstring root_, folder_, exe_, shots_;
  InstallerRun run_;
  std::unique_ptr<WizardWalk> walk_;
  HWND sheet_ = nullptr;
};

TEST_F(QelvinWizard, EnglishInstallOnFilePortCreatesThePrinter) {
  const Texts& t = kEnglish;
  HWND page = WalkToPortPage(t);
  ASSERT_NE(page, nullptr);

  // A name typed before choosing the driver gives way to the driver's name.
  HWND name = GetDlgItem(page, IDC_PRINTER_NAME_EDIT);
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"typed first"));
  HWND drivers = GetDlgItem(page, IDC_DRIVER_COMBO);
  SendMessageW(drivers, CB_SETCURSEL, 0, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_DRIVER_COMBO, CBN_SELCHANGE), reinterpret_cast<LPARAM>(drivers));
  EXPECT_EQ(ControlText(name), kDriver + L" C");
  SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kPrinter.c_str()));

  HWND list = GetDlgItem(page, IDC_PORT_LIST);
  int row = ListFindItem(list, L"FILE:");
  ASSERT_GE(row, 0);
  ASSERT_TRUE(ListSelectRow(list, row));
  EXPECT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000)) << "a chosen port enables Install";
  Shot(t, L"port-chosen");
  Press(PSBTN_NEXT);

  // Installing page while printui adds the printer.
  page = WaitForPage(IDC_INSTALL_PROGRESS, 10000);
  ASSERT_NE(page, nullptr) << "no installing page";
  EXPECT_EQ(ControlText(page, IDC_INSTALL_STATUS), L"Installing...");
  EXPECT_GE(SendMessageW(GetDlgItem(page, IDC_INSTALL_PROGRESS), PBM_GETPOS, 0, 0), 40);
  EXPECT_FALSE(Enabled(IDC_SHEET_NEXT));
  EXPECT_FALSE(Enabled(IDC_SHEET_BACK));
  Shot(t, L"installing");

  // Finish page.
  page = WaitForPage(IDC_PRINT_TEST_PAGE, 60000);
  ASSERT_NE(page, nullptr) << "no finish page";
  EXPECT_EQ(ControlText(page, IDC_FINISH_RESULT), L"Installation Complete");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_PRINT_TEST_PAGE)));
  EXPECT_EQ(ControlText(page, IDC_PRINT_TEST_PAGE), L"Print Test Page");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_FINISH_NOTE)));
  EXPECT_EQ(ControlText(Button(IDC_SHEET_CANCEL)), L"Complete");
  EXPECT_FALSE(Enabled(IDC_SHEET_NEXT));
  EXPECT_FALSE(Enabled(IDC_SHEET_BACK));
  Shot(t, L"finish");

  // The printer is in the spooler, on FILE:, with the model's driver, and
  // became the default.
  std::vector<BYTE> buffer;
  const PRINTER_INFO_2W* created = nullptr;
  for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer))
    if (kPrinter == p.pPrinterName) created = &p;
  ASSERT_NE(created, nullptr) << "no printer \"" << Narrow(kPrinter) << "\"";
  EXPECT_STREQ(created->pPortName, L"FILE:");
  EXPECT_EQ(created->pDriverName, kDriver);
  EXPECT_TRUE(WaitUntil([] { return DefaultPrinter() == kPrinter; }, 10000)) << Narrow(DefaultPrinter());

  // "Print Test Page" reaches the printer and says so.
  Click(page, IDC_PRINT_TEST_PAGE);
  ExpectMessageBox(L"", L"Test page is sent to printer");
  EXPECT_TRUE(WaitUntil([] { return TestPagesPrinted(kPrinter) == 1; }, 15000));

  CloseAndExpectExit();

  // What the installation left for Add/Remove Programs and the plug-in.
  EXPECT_EQ(RegString(UninstallKey(), L"DisplayName"), L"LX Wizard Test");
  EXPECT_EQ(RegString(kLanguageKey + L"\\Lang", L"Suffix"), L"enus");
  EXPECT_NE(GetFileAttributesW((InstalledCopyFolder() + L"\\" + TEXT(QELVIN_EXE)).c_str()), INVALID_FILE_ATTRIBUTES)
      << "the installer was not copied to " << Narrow(InstalledCopyFolder());

  // Add/Remove Programs runs the entry's command: it names the copy, which
  // opens the removal wizard with only "Uninstall" to choose.
  const std::wstring command = RegString(UninstallKey(), L"UninstallString");
  const std::wstring program = InstalledCopyFolder() + L"\\" + TEXT(QELVIN_EXE);
  EXPECT_EQ(command, L"\"" + program + L"\" /uninstall");
  EXPECT_EQ(RegString(UninstallKey(), L"InstallLocation"), InstalledCopyFolder());
  InstallerRun removal;
  removal.StartCommand(command, InstalledCopyFolder());
  ASSERT_NE(removal.pid(), 0u) << "the entry's command does not start";
  walk_ = std::make_unique<WizardWalk>(removal.pid());
  ASSERT_TRUE(walk_->FindSheet(30000)) << "no removal wizard";
  sheet_ = walk_->sheet();
  page = WaitForPage(IDC_UNINSTALL);
  ASSERT_NE(page, nullptr) << "the removal wizard does not open on the install-type page";
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(page, IDC_OTHER_PORT_INSTALL)));
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_UNINSTALL)));
  Click(page, IDC_UNINSTALL);
  page = WaitForPage(IDC_FINISH_RESULT, 60000);
  ASSERT_NE(page, nullptr) << "no finish page after the removal\n" << removal.Traces();
  EXPECT_EQ(ControlText(page, IDC_FINISH_RESULT), L"Uninstallation Complete") << removal.Traces();
  Shot(t, L"removal-finish");
  EXPECT_TRUE(WaitUntil([] {
    std::vector<BYTE> buffer;
    for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer))
      if (kPrinter == p.pPrinterName) return false;
    return true;
  }, 10000)) << "the printer is still there";
  // Closing asks for the restart; declined.
  Press(PSBTN_CANCEL);
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindMessageBox(removal.pid())) != nullptr; }, 10000));
  PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(removal.WaitForExit(20000)) << "the removal wizard does not close";
  EXPECT_FALSE(RegString(UninstallKey(), L"DisplayName").size()) << "the entry is still there";
}

// Exit while the USB installation's worker still polls for its printer: the
// program ends at once, cleanly, and the worker never touches what is gone.
TEST_F(QelvinWizard, ExitDuringAUsbInstallationEndsTheProgramCleanly) {
  ASSERT_NO_FATAL_FAILURE(StartUsbInstallation());
  ASSERT_NE(WaitForPage(IDC_INSTALL_PROGRESS, 10000), nullptr) << "no installing page";
  // No printer is attached: the worker installs the driver alone and then
  // polls for it in the spooler's list.
  ASSERT_TRUE(WaitUntil([&] { return run_.Traces().find("/ia") != std::string::npos; }, 10000))
      << "the worker did not start";
  Press(PSBTN_CANCEL);
  ASSERT_TRUE(run_.WaitForExit(20000)) << "the wizard does not close";
  // Left before the operation finished: the user's cancellation.
  EXPECT_EQ(run_.exitCode(), 1602u);
  EXPECT_TRUE(run_.faults().empty()) << "first fault: 0x" << std::hex << run_.faults().front();
}

// The USB road with no printer attached: the driver alone, said so on the
// finish page, and an Add/Remove Programs entry whose program exists.
TEST_F(QelvinWizard, UsbInstallWithoutAPrinterLeavesARemovalEntryThatWorks) {
  ASSERT_NO_FATAL_FAILURE(StartUsbInstallation());
  HWND page = WaitForPage(IDC_FINISH_RESULT, 60000);
  ASSERT_NE(page, nullptr) << "no finish page";
  EXPECT_EQ(ControlText(page, IDC_FINISH_RESULT), L"Installation Complete");
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(page, IDC_FINISH_NOTE)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(page, IDC_PRINT_TEST_PAGE)));
  CloseAndExpectExit();
  const std::wstring program = InstalledCopyFolder() + L"\\" + TEXT(QELVIN_EXE);
  EXPECT_EQ(RegString(UninstallKey(), L"UninstallString"), L"\"" + program + L"\" /uninstall");
  EXPECT_NE(GetFileAttributesW(program.c_str()), INVALID_FILE_ATTRIBUTES) << "the entry names a missing program";
}

// --- the keyboard alone ---

// The USB road to its installation with Tab, Space, the arrow keys and Enter
// alone. Each page's Tab order is its reading order: a template change
// that breaks it fails here. Enter is the default button (Next).
TEST_F(QelvinWizard, KeyboardAloneWalksTheUsbRoadInReadingOrder) {
  ASSERT_NO_FATAL_FAILURE(StartInstaller());
  HWND page = WaitForPage(IDC_LANGUAGE_COMBO);
  ASSERT_NE(page, nullptr);
  SetForegroundWindow(sheet_);
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == sheet_; }, 5000)) << "the wizard is not in front";
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(sheet_) != nullptr; }, 5000)) << "nothing has the focus";
  EXPECT_EQ(TabOrderOf(sheet_, page), (std::vector<int>{IDC_LANGUAGE_COMBO}));
  ASSERT_TRUE(TabTo(sheet_, page, IDC_LANGUAGE_COMBO));
  Key(sheet_, VK_DOWN);  // Chinese
  Key(sheet_, VK_UP);    // English again
  EXPECT_EQ(SendMessageW(GetDlgItem(page, IDC_LANGUAGE_COMBO), CB_GETCURSEL, 0, 0), 0);
  Shot(kEnglish, L"keys-language");
  Key(sheet_, VK_RETURN);

  page = WaitForPage(IDC_AGREE_CHECK);
  ASSERT_NE(page, nullptr) << "Enter did not lead to the welcome page";
  EXPECT_EQ(TabOrderOf(sheet_, page),
            (std::vector<int>{IDC_PRIVACY_VIEW, IDC_AGREE_CHECK, IDC_LICENCE_LINK, IDC_PRIVACY_LINK}));
  ASSERT_TRUE(TabTo(sheet_, page, IDC_AGREE_CHECK));
  Key(sheet_, VK_RETURN);  // Next is off: Enter neither moves nor ends the wizard
  EXPECT_EQ(CurrentPage(sheet_), page);
  Key(sheet_, VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(IDC_SHEET_NEXT); }, 5000)) << "Space did not tick the agreement";
  Shot(kEnglish, L"keys-welcome");
  Key(sheet_, VK_RETURN);

  page = WaitForPage(IDC_USB_INSTALL);
  ASSERT_NE(page, nullptr) << "Enter did not lead to the install-type page";
  // SupportNet=0: the network button is hidden and the others close the gap.
  EXPECT_EQ(TabOrderOf(sheet_, page), (std::vector<int>{IDC_USB_INSTALL, IDC_OTHER_PORT_INSTALL, IDC_UNINSTALL}));
  ASSERT_TRUE(TabTo(sheet_, page, IDC_USB_INSTALL));
  Shot(kEnglish, L"keys-install-type");
  Key(sheet_, VK_SPACE);

  // Keys while the installation runs: the focus is on the progress bar and
  // Next stays the default button, so Enter, Space and the arrows do nothing;
  // only Tab to Exit and Space leave.
  HWND installing = WaitForPage(IDC_INSTALL_PROGRESS, 10000);
  ASSERT_NE(installing, nullptr) << "Space on USB Install did not start the installation";
  EXPECT_TRUE(WaitUntil([&] { return GetDlgCtrlID(FocusOf(sheet_)) == IDC_INSTALL_PROGRESS; }, 5000));
  for (WORD vk : {VK_RETURN, VK_SPACE, VK_DOWN, VK_RIGHT}) Key(sheet_, vk);
  EXPECT_TRUE(IsWindow(sheet_)) << "a key on the installing page ended the wizard";
  EXPECT_EQ(GetDlgCtrlID(FocusOf(sheet_)), IDC_INSTALL_PROGRESS);
  // Typed characters and arrows stay with the progress bar: before, two
  // spaces typed there left the wizard not answering under Wine.
  for (int i = 0; i < 3; ++i) Key(sheet_, VK_SPACE);

  page = WaitForPage(IDC_FINISH_RESULT, 60000);
  ASSERT_NE(page, nullptr) << "the keys on the installing page stopped the installation";
  EXPECT_EQ(ControlText(page, IDC_FINISH_RESULT), L"Installation Complete");
  Shot(kEnglish, L"keys-finish");
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(sheet_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0) << "the wizard hangs";
  Key(sheet_, VK_ESCAPE);  // Esc is the sheet's Exit
  ASSERT_TRUE(run_.WaitForExit(30000)) << "Esc on the finish page did not end the wizard";
  EXPECT_EQ(run_.exitCode(), 0u);
}

// What a page shows that lies outside it or outside the sheet, at the display's DPI.
std::string ControlsOutside(HWND sheet, HWND page) {
  std::string out;
  RECT pageRect = {}, sheetRect = {};
  GetWindowRect(page, &pageRect);
  GetWindowRect(sheet, &sheetRect);
  for (HWND c = GetWindow(page, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r = {};
    if (!IsWindowVisible(c) || !GetWindowRect(c, &r)) continue;
    if (r.left < pageRect.left || r.top < pageRect.top || r.right > pageRect.right || r.bottom > pageRect.bottom ||
        r.right > sheetRect.right || r.bottom > sheetRect.bottom)
      out += "control " + std::to_string(GetDlgCtrlID(c)) + " outside the page; ";
  }
  return out;
}

// The wizard at the display's DPI (the test run sets LogPixels 144 and 192 in
// copies of the prefix, tests/scripts/wine_dpi_test.sh): every page to the
// port page keeps its controls inside the page and the sheet, the pictures
// are scaled for the DPI, and each page is kept as a screenshot.
TEST_F(QelvinWizard, PagesKeepTheirControlsInsideAtTheDisplaysDpi) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  ASSERT_NO_FATAL_FAILURE(StartInstaller());
  const std::wstring tag = L"dpi" + std::to_wstring(dpi);
  std::string error;
  HWND port = walk_->ToPortPage(0, [&](const wchar_t* name) {
    HWND page = CurrentPage(sheet_);
    EXPECT_EQ(ControlsOutside(sheet_, page), "") << Narrow(name) << " at " << dpi << " dpi";
    if (HWND logo = GetDlgItem(page, IDC_LOGO); logo && IsWindowVisible(logo)) {
      RECT r = {};
      GetClientRect(logo, &r);
      EXPECT_NEAR(r.right, MulDiv(120, dpi, 96), 1) << "logo of " << Narrow(name) << " not scaled for " << dpi << " dpi";
    }
    Shot(kEnglish, (tag + L"-" + name).c_str());
  }, &error);
  ASSERT_NE(port, nullptr) << error;
  EXPECT_EQ(ControlsOutside(sheet_, port), "") << "port page at " << dpi << " dpi";
  Shot(kEnglish, (tag + L"-port").c_str());
  CloseAndExpectExit(1602);
}

// Unattended: bad switches change nothing; a quiet installation on FILE:
// makes the printer without a window; a quiet removal from the installed
// copy removes it. The exit codes are what a deployment tool reads.
TEST_F(QelvinWizard, QuietRunsInstallOnFileRemoveAndRefuseBadSwitches) {
  const std::wstring program = L"\"" + exe_ + L"\"";
  const std::wstring model = L" \"/model:" + kDriver + L"\"";
  const std::wstring log = root_ + L"\\quiet.log";
  auto ours = [] {
    std::vector<BYTE> buffer;
    int n = 0;
    for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer)) n += p.pDriverName && kDriver == p.pDriverName;
    return n;
  };
  for (const std::wstring& bad : {L" /quiet /port:FILE:" + model + L" /bogus",
                                  L" /quiet /port:NOSUCHPORT:" + model,
                                  L" /quiet /port:FILE:" + model + L" /log:" + root_ + L"\\missing\\q.log",
                                  L" /quiet /port:FILE:" + model + L" \"/name:uninstall me\""}) {
    QuietRun run = RunQuietly(program + bad, folder_);
    ASSERT_TRUE(run.ended) << Narrow(bad);
    EXPECT_EQ(run.exitCode, 87u) << Narrow(bad) << "\n" << run.traces;
    EXPECT_FALSE(run.window) << Narrow(bad);
    EXPECT_NE(run.traces.find(", exit code 87"), std::string::npos) << Narrow(bad);
  }
  EXPECT_EQ(ours(), 0);
  EXPECT_EQ(RegString(UninstallKey(), L"DisplayName"), L"");

  QuietRun install = RunQuietly(program + L" /quiet /port:FILE:" + model + L" \"/name:" + kPrinter +
                                    L"\" /log:\"" + log + L"\"",
                                folder_);
  ASSERT_TRUE(install.ended) << "the quiet installation does not end";
  EXPECT_EQ(install.exitCode, 0u) << install.traces;
  EXPECT_FALSE(install.window) << "a quiet run showed a window";
  std::vector<BYTE> buffer;
  const PRINTER_INFO_2W* created = nullptr;
  for (const PRINTER_INFO_2W& p : printui_test::LocalPrinters(buffer))
    if (kPrinter == p.pPrinterName) created = &p;
  ASSERT_NE(created, nullptr) << install.traces;
  EXPECT_STREQ(created->pPortName, L"FILE:");
  EXPECT_EQ(created->pDriverName, kDriver);
  EXPECT_EQ(LastLine(log), "Result: installed, exit code 0");
  EXPECT_EQ(RegString(UninstallKey(), L"DisplayVersion"), L"1.0.0");
  // printui's rundll32 by its full path, in the system folder.
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  const std::string started = "Starting " + Narrow(system) + "\\rundll32.exe in " + Narrow(system);
  EXPECT_NE(install.traces.find(started), std::string::npos) << install.traces;

  const std::wstring copy = InstalledCopyFolder() + L"\\" + TEXT(QELVIN_EXE);
  QuietRun removal =
      RunQuietly(L"\"" + copy + L"\" /quiet /uninstall /norestart /log:\"" + log + L"\"", InstalledCopyFolder());
  ASSERT_TRUE(removal.ended) << "the quiet removal does not end";
  EXPECT_EQ(removal.exitCode, 3010u) << removal.traces;
  EXPECT_FALSE(removal.window);
  EXPECT_EQ(ours(), 0);
  EXPECT_EQ(RegString(UninstallKey(), L"DisplayName"), L"");
  EXPECT_EQ(LastLine(log), "Result: removed, exit code 3010");
}

TEST_F(QelvinWizard, RussianPagesSpeakRussianAndTellAFailure) {
  ASSERT_NE(WalkToPortPage(kRussian), nullptr);
  BackToInstallType(kRussian);
  HWND page = WaitForPage(IDC_USB_INSTALL);
  ASSERT_NE(page, nullptr);
  Click(page, IDC_OTHER_PORT_INSTALL);
  page = WaitForPage(IDC_PORT_LIST);
  ASSERT_NE(page, nullptr);
  InstallWithoutItsPrinter(kRussian, page);
  CloseAndExpectExit(1603);
}

TEST_F(QelvinWizard, ChinesePagesSpeakChineseAndTellAFailure) {
  HWND page = WalkToPortPage(kChinese);
  ASSERT_NE(page, nullptr);
  InstallWithoutItsPrinter(kChinese, page);
  CloseAndExpectExit(1603);
}

TEST_F(QelvinWizard, EnglishInstallWhosePrinterNeverAppearsSaysSo) {
  HWND page = WalkToPortPage(kEnglish);
  ASSERT_NE(page, nullptr);
  InstallWithoutItsPrinter(kEnglish, page);
  CloseAndExpectExit(1603);
}

}  // namespace
}  // namespace lx::testing
