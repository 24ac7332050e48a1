// The plug-in's pages in a real property sheet of the print host, worked
// from this process as a user would: a label size added in the paper
// dialog, the orientation turned, the post-print action set to cut, Apply
// and OK. The DEVMODE the sheet leaves behind and the printer's data then
// hold the new values. Every page is kept as a screenshot
// (screenshots\sheet-<language>-<page>.bmp beside the test program).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>
#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "plugin/resources/resource_ids.h"
#include "tests/win/window_driver.h"
#include "tools/printhost/driver_folder.h"
#include "tools/printhost/language_suffix.h"

namespace {

using lx::testing::ComboItemText;
using lx::testing::ControlText;
using lx::testing::CurrentPage;
using lx::testing::FindWindowWithControl;
using lx::testing::SaveScreenshot;
using lx::testing::FocusOf;
using lx::testing::Key;
using lx::testing::TabOrderOf;
using lx::testing::TabTo;
using lx::testing::WaitUntil;

constexpr wchar_t kPrinter[] = L"LX Sheet Host Printer";
// "LX-223T " puts the printer in model class 2: eight speeds and a cutter.
constexpr wchar_t kDriver[] = L"LX-223T Sheet Host";
constexpr int kTabControl = 0x3020;
constexpr int kApplyButton = 0x3021;
constexpr DWORD kWaitMs = 60000;  // a loaded machine starts Wine programs slowly

std::wstring Folder() { return printhost::ProgramFolder(); }



void DeletePrinterNamed(const wchar_t* name) {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (OpenPrinterW(const_cast<LPWSTR>(name), &printer, &defaults)) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
}

// One run of the sheet program and what it wrote once its sheet closed.
struct SheetRun {
  PROCESS_INFORMATION process{};
  std::wstring out;
  std::vector<char> bytes;

  ~SheetRun() {
    if (process.hProcess) {
      if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 9);
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
    }
  }
  bool Start(const std::wstring& sheet, const std::wstring& tag) {
    out = Folder() + L"\\sheet-" + tag + L".out";
    DeleteFileW(out.c_str());
    std::wstring command = L"\"" + Folder() + L"\\printhost_sheet.exe\" --sheet=" + sheet + L" \"--printer=" +
                           kPrinter + L"\" \"--out=" + out + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, Folder().c_str(), &startup,
                          &process) != FALSE;
  }
  DWORD Pid() const { return process.dwProcessId; }
  HWND WaitForSheet() {
    HWND sheet = nullptr;
    WaitUntil([&] { return (sheet = FindWindowWithControl(Pid(), kTabControl)) != nullptr; }, kWaitMs);
    return sheet;
  }
  // Waits for the program to end and reads its result; false when it did not.
  bool Finish() {
    if (WaitForSingleObject(process.hProcess, kWaitMs) != WAIT_OBJECT_0) return false;
    std::ifstream file(out.c_str(), std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return bytes.size() >= sizeof(DEVMODEW) + 148;
  }
  const DEVMODEW& Public() const { return *reinterpret_cast<const DEVMODEW*>(bytes.data()); }
  template <typename T>
  T Private(size_t offset) const {
    T value{};
    std::memcpy(&value, bytes.data() + sizeof(DEVMODEW) + offset, sizeof value);
    return value;
  }
  std::string Lines() const { return std::string(bytes.begin() + sizeof(DEVMODEW) + 148, bytes.end()); }
};

// Shows the sheet's page `index` as a click on its tab would.
HWND ShowPage(HWND sheet, int index) {
  SendMessageW(sheet, PSM_SETCURSEL, index, 0);
  HWND page = nullptr;
  WaitUntil([&] { return (page = CurrentPage(sheet)) != nullptr && IsWindowVisible(page); }, kWaitMs);
  return page;
}

void Click(HWND parent, int id) { PostMessageW(GetDlgItem(parent, id), BM_CLICK, 0, 0); }

// The user picks an entry of a drop-down list.
void Choose(HWND page, int id, int index) {
  HWND combo = GetDlgItem(page, id);
  SendMessageW(combo, CB_SETCURSEL, index, 0);
  SendMessageW(page, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

void Shot(HWND window, const std::wstring& name) {
  const std::wstring folder = Folder() + L"\\screenshots";
  CreateDirectoryW(folder.c_str(), nullptr);
  // The whole window painted afresh, then a moment for the other process to
  // finish drawing it.
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(500);
  EXPECT_TRUE(SaveScreenshot(window, folder + L"\\" + name + L".bmp")) << "screenshot " << name.size();
}

// Whether a picture control shows a picture rather than one flat colour: a
// grid of points of the screen over it holds dark and light ones.
bool ShowsAPicture(HWND control) {
  RECT r;
  if (control == nullptr || !GetWindowRect(control, &r)) return false;
  HDC dc = GetDC(nullptr);  // the screen, as the user sees it
  int dark = 0, light = 0;
  for (int y = 1; y < 10; ++y) {
    for (int x = 1; x < 10; ++x) {
      COLORREF c = GetPixel(dc, r.left + (r.right - r.left) * x / 10, r.top + (r.bottom - r.top) * y / 10);
      if (c == CLR_INVALID) continue;
      ++((GetRValue(c) + GetGValue(c) + GetBValue(c)) < 3 * 128 ? dark : light);
    }
  }
  ReleaseDC(nullptr, dc);
  return dark > 0 && light > 0;
}

class PagesInSheet : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring error;
    std::vector<std::wstring> files = {L"lx220ui.dll", L"lx220.ini", L"lx220uibmp.dll", L"lx220uienus.dll",
                                       L"lx220uiru.dll", L"lx220uizhcn.dll"};
    if (GetFileAttributesW((Folder() + L"\\lx220uide.dll").c_str()) != INVALID_FILE_ATTRIBUTES)
      files.push_back(L"lx220uide.dll");
    ASSERT_TRUE(printhost::InstallIntoDriverFolder(files, error)) << std::string(error.begin(), error.end());
    saved_.Save();
    DeletePrinterNamed(kPrinter);
    HANDLE printer = printhost::AddStubPrinter(L"lxsheethoststub.dll", kDriver, kPrinter);
    ASSERT_NE(nullptr, printer) << GetLastError();
    ClosePrinter(printer);
  }
  static void TearDownTestSuite() {
    DeletePrinterNamed(kPrinter);
    // The other print host runs read the suffix too: leave it as found.
    saved_.Restore();
  }

  // The document sheet in `suffix`'s language: a paper added, landscape,
  // cut after an interval, then Apply and OK.
  void DriveDocumentSheet(const std::wstring& suffix) {
    // Names are unique in a printer's store: one per language run.
    const std::wstring paperName = L"Host 60 x 40 " + suffix;
    const wchar_t* newPaper = paperName.c_str();
    ASSERT_TRUE(printhost::WriteSuffix(suffix));
    SheetRun run;
    ASSERT_TRUE(run.Start(L"document", suffix)) << GetLastError();
    HWND sheet = run.WaitForSheet();
    ASSERT_NE(nullptr, sheet) << "no sheet";
    const std::wstring tag = L"sheet-" + suffix + L"-";

    HWND paper = ShowPage(sheet, 0);
    ASSERT_NE(nullptr, paper);
    ASSERT_NE(nullptr, GetDlgItem(paper, IDC_PAPER_LIST));
    Shot(sheet, tag + L"1-paper");
    Click(paper, IDC_PAPER_NEW);
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindWindowWithControl(run.Pid(), IDC_PAPERDLG_WIDTH)) != nullptr; },
                          kWaitMs));
    Shot(dialog, tag + L"2-paper-dialog");
    SendMessageW(GetDlgItem(dialog, IDC_PAPERDLG_NAME), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(newPaper));
    SendMessageW(GetDlgItem(dialog, IDC_PAPERDLG_WIDTH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"60"));
    SendMessageW(GetDlgItem(dialog, IDC_PAPERDLG_LENGTH), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"40"));
    Click(dialog, IDC_PAPERDLG_OK);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, kWaitMs)) << "the paper dialog stayed open";
    HWND list = GetDlgItem(paper, IDC_PAPER_LIST);
    int selected = static_cast<int>(SendMessageW(list, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(0u, ComboItemText(list, selected).rfind(newPaper, 0)) << "the new paper is chosen";
    Click(paper, IDC_LANDSCAPE);
    ASSERT_TRUE(WaitUntil([&] { return SendMessageW(GetDlgItem(paper, IDC_LANDSCAPE), BM_GETCHECK, 0, 0) == BST_CHECKED; },
                          kWaitMs));
    Shot(sheet, tag + L"1-paper");

    HWND options = ShowPage(sheet, 1);
    ASSERT_NE(nullptr, options);
    EXPECT_EQ(7, SendMessageW(GetDlgItem(options, IDC_SPEED), TBM_GETRANGEMAX, 0, 0));
    EXPECT_EQ(1, SendMessageW(GetDlgItem(options, IDC_DENSITY), TBM_GETPAGESIZE, 0, 0));
    Shot(sheet, tag + L"3-options");
    HWND image = ShowPage(sheet, 2);
    ASSERT_NE(nullptr, image);
    HWND tone = GetDlgItem(image, IDC_TONE_FACTOR);
    EXPECT_TRUE(IsWindowEnabled(tone));
    EXPECT_EQ(0, GetWindowLongW(tone, GWL_STYLE) & ES_READONLY);
    Shot(sheet, tag + L"4-image");
    EXPECT_TRUE(ShowsAPicture(GetDlgItem(image, IDC_HALFTONE_PREVIEW))) << "the halftone preview is painted";
    HWND params = ShowPage(sheet, 3);
    ASSERT_NE(nullptr, params);
    Choose(params, IDC_POST_ACTION, 3);
    Choose(params, IDC_TIMING, 3);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(params, IDC_INTERVAL)));
    Shot(sheet, tag + L"5-print-parameters");
    HWND about = ShowPage(sheet, 4);
    ASSERT_NE(nullptr, about);
    Shot(sheet, tag + L"6-about");
    EXPECT_TRUE(ShowsAPicture(GetDlgItem(about, IDC_LOGO))) << "the logo is painted";

    HWND apply = GetDlgItem(sheet, kApplyButton);
    EXPECT_TRUE(IsWindowEnabled(apply)) << "changes enable Apply";
    Click(sheet, kApplyButton);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(apply); }, kWaitMs));
    Click(sheet, IDOK);
    ASSERT_TRUE(run.Finish()) << "the sheet program did not end";

    const std::string lines = run.Lines();
    EXPECT_NE(std::string::npos, lines.find("pages=5")) << lines;
    EXPECT_NE(std::string::npos, lines.find("result=1")) << lines;
    EXPECT_NE(std::string::npos, lines.find("Orientation=LANDSCAPE_CC90")) << lines;
    // The private part at its offsets.
    const int16_t paperId = run.Private<int16_t>(0x0C);
    EXPECT_GT(paperId, 0);
    EXPECT_EQ(3, run.Private<int32_t>(0x88));     // postAction: cut
    EXPECT_EQ(3, run.Private<int32_t>(0x8C));     // postActionTiming: after an interval
    EXPECT_EQ(112, run.Private<int32_t>(0x6C));   // modelClassValue of class 2
    EXPECT_EQ(0x515A4C31u, run.Private<uint32_t>(0x04));
    // The public part names the new paper.
    const DEVMODEW& dm = run.Public();
    EXPECT_EQ(paperId, dm.dmPaperSize);
    EXPECT_EQ(600, dm.dmPaperWidth);
    EXPECT_EQ(400, dm.dmPaperLength);
    EXPECT_STREQ(newPaper, dm.dmFormName);
    const DWORD sizeFlags = paperId <= 256 ? DM_PAPERSIZE : DM_PAPERWIDTH | DM_PAPERLENGTH;
    EXPECT_EQ(sizeFlags | DM_FORMNAME, dm.dmFields & (DM_PAPERSIZE | DM_PAPERWIDTH | DM_PAPERLENGTH | DM_FORMNAME));

    // The printer's data holds the new paper.
    HANDLE printer = nullptr;
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter), &printer, nullptr));
    DWORD type = 0, needed = 0;
    std::vector<BYTE> data(64 * 1024);
    DWORD rc = GetPrinterDataW(printer, const_cast<LPWSTR>(L"PapersData"), &type, data.data(),
                               static_cast<DWORD>(data.size()), &needed);
    ClosePrinter(printer);
    ASSERT_EQ(static_cast<DWORD>(ERROR_SUCCESS), rc);
    data.resize(needed);
    const auto* name = reinterpret_cast<const BYTE*>(newPaper);
    EXPECT_NE(data.end(), std::search(data.begin(), data.end(), name, name + wcslen(newPaper) * sizeof(wchar_t)));
  }

  // Each page shown for a screenshot; the sheet then closed unchanged.
  void ShootDocumentSheet(const std::wstring& suffix) {
    ASSERT_TRUE(printhost::WriteSuffix(suffix));
    SheetRun run;
    ASSERT_TRUE(run.Start(L"document", suffix)) << GetLastError();
    HWND sheet = run.WaitForSheet();
    ASSERT_NE(nullptr, sheet);
    const wchar_t* names[] = {L"1-paper", L"3-options", L"4-image", L"5-print-parameters", L"6-about"};
    for (int i = 0; i < 5; ++i) {
      ASSERT_NE(nullptr, ShowPage(sheet, i));
      Shot(sheet, L"sheet-" + suffix + L"-" + names[i]);
    }
    Click(sheet, IDCANCEL);
    EXPECT_TRUE(run.Finish());
  }

  static printhost::SavedSuffix saved_;
};

printhost::SavedSuffix PagesInSheet::saved_;

TEST_F(PagesInSheet, EnglishUserAddsAPaperTurnsItAndCuts) { DriveDocumentSheet(L"enus"); }

TEST_F(PagesInSheet, RussianUserAddsAPaperTurnsItAndCuts) { DriveDocumentSheet(L"ru"); }

// The five document pages by the keyboard alone: Tab round each page in its
// reading order (a template change that breaks it fails here), the arrow keys
// from tab to tab and within a control, one setting changed on every page
// that has one, then Apply with Space.
TEST_F(PagesInSheet, KeyboardAloneChangesOneSettingPerPageAndApplies) {
  ASSERT_TRUE(printhost::WriteSuffix(L"enus"));
  SheetRun run;
  ASSERT_TRUE(run.Start(L"document", L"keys")) << GetLastError();
  HWND sheet = run.WaitForSheet();
  ASSERT_NE(nullptr, sheet) << "no sheet";
  SetForegroundWindow(sheet);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(sheet) != nullptr; }, kWaitMs)) << "nothing has the focus";
  auto nextTab = [&] {
    EXPECT_TRUE(TabTo(sheet, sheet, kTabControl)) << "Tab does not reach the tabs";
    HWND before = CurrentPage(sheet);
    Key(sheet, VK_RIGHT);
    HWND page = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (page = CurrentPage(sheet)) != before && page && IsWindowVisible(page); },
                          kWaitMs)) << "the arrow key did not turn the page";
    return page;
  };
  auto checked = [](HWND page, int id) { return SendMessageW(GetDlgItem(page, id), BM_GETCHECK, 0, 0) == BST_CHECKED; };
  // A page's reading order (its templates' Tab order) without what is off now.
  auto reachable = [](HWND page, std::vector<int> reading) {
    std::vector<int> ids;
    for (int id : reading)
      if (IsWindowEnabled(GetDlgItem(page, id)) && IsWindowVisible(GetDlgItem(page, id))) ids.push_back(id);
    return ids;
  };

  HWND paper = CurrentPage(sheet);
  ASSERT_NE(nullptr, paper);
  ASSERT_TRUE(checked(paper, IDC_PORTRAIT));
  EXPECT_EQ(TabOrderOf(sheet, paper), reachable(paper, {IDC_PAPER_LIST, IDC_PAPER_NEW, IDC_PAPER_EDIT,
                                                        IDC_PAPER_DELETE, IDC_PORTRAIT, IDC_MIRROR, IDC_NEGATIVE}));
  ASSERT_TRUE(TabTo(sheet, paper, IDC_PORTRAIT));
  Key(sheet, VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return checked(paper, IDC_LANDSCAPE); }, kWaitMs)) << "Down did not pick landscape";
  Shot(sheet, L"sheet-keys-1-paper");

  HWND options = nextTab();
  ASSERT_NE(nullptr, options);
  EXPECT_EQ(TabOrderOf(sheet, options),
            reachable(options, {IDC_USE_PRINTER_SPEED, IDC_SPEED, IDC_DENSITY, IDC_PRINT_LANGUAGE}));
  const bool usePrinterSpeed = checked(options, IDC_USE_PRINTER_SPEED);
  ASSERT_TRUE(TabTo(sheet, options, IDC_USE_PRINTER_SPEED));
  Key(sheet, VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return checked(options, IDC_USE_PRINTER_SPEED) != usePrinterSpeed; }, kWaitMs));
  // The speed and density follow the box, and Tab with them.
  EXPECT_EQ(TabOrderOf(sheet, options),
            reachable(options, {IDC_USE_PRINTER_SPEED, IDC_SPEED, IDC_DENSITY, IDC_PRINT_LANGUAGE}));
  Shot(sheet, L"sheet-keys-3-options");

  HWND image = nextTab();
  ASSERT_NE(nullptr, image);
  const std::vector<int> imageOrder = TabOrderOf(sheet, image);
  ASSERT_EQ(imageOrder.size(), 3u);
  EXPECT_EQ(std::vector<int>(imageOrder.begin() + 1, imageOrder.end()), (std::vector<int>{IDC_TONE_FACTOR, IDC_THICKER_LINES}));
  const int halftone = imageOrder[0];  // the checked button of the group
  EXPECT_TRUE(halftone == IDC_HALFTONE_NONE || halftone == IDC_HALFTONE_DIFFUSION || halftone == IDC_HALFTONE_JJN);
  ASSERT_TRUE(TabTo(sheet, image, halftone));
  Key(sheet, halftone == IDC_HALFTONE_JJN ? VK_UP : VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return !checked(image, halftone); }, kWaitMs)) << "the arrow key left the halftone";
  Shot(sheet, L"sheet-keys-4-image");

  HWND params = nextTab();
  ASSERT_NE(nullptr, params);
  const std::vector<int> paramsOrder = TabOrderOf(sheet, params);
  EXPECT_EQ(paramsOrder, reachable(params, {IDC_PRINT_METHOD, IDC_MEDIA_TYPE, IDC_PAPER_SAVING, IDC_GAP,
                                             IDC_COLLATE, IDC_POST_ACTION, IDC_TIMING, IDC_INTERVAL, IDC_FEED_OFFSET,
                                             IDC_USE_PRINTER_FEED, IDC_OFFSET_X, IDC_OFFSET_Y}));
  HWND post = GetDlgItem(params, IDC_POST_ACTION);
  const LRESULT postBefore = SendMessageW(post, CB_GETCURSEL, 0, 0);
  ASSERT_TRUE(TabTo(sheet, params, IDC_POST_ACTION));
  Key(sheet, VK_DOWN);
  EXPECT_TRUE(WaitUntil([&] { return SendMessageW(post, CB_GETCURSEL, 0, 0) != postBefore; }, kWaitMs));
  const LRESULT postAfter = SendMessageW(post, CB_GETCURSEL, 0, 0);
  Shot(sheet, L"sheet-keys-5-print-parameters");

  HWND about = nextTab();
  ASSERT_NE(nullptr, about);
  EXPECT_EQ(TabOrderOf(sheet, about), (std::vector<int>{IDC_SUPPORT}));
  Shot(sheet, L"sheet-keys-6-about");

  HWND apply = GetDlgItem(sheet, kApplyButton);
  EXPECT_TRUE(IsWindowEnabled(apply)) << "the changes enable Apply";
  ASSERT_TRUE(TabTo(sheet, sheet, kApplyButton));
  Key(sheet, VK_SPACE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(apply); }, kWaitMs)) << "Space on Apply did not apply";
  // Closed by a click: under Wine 8 the disabled Apply keeps the focus and
  // no key reaches the sheet's dialog manager after it.
  Click(sheet, IDOK);
  ASSERT_TRUE(run.Finish()) << "the sheet program did not end";
  const std::string lines = run.Lines();
  EXPECT_NE(std::string::npos, lines.find("result=1")) << lines;
  EXPECT_NE(std::string::npos, lines.find("Orientation=LANDSCAPE_CC90")) << lines;
  EXPECT_NE(postBefore, postAfter);
  EXPECT_NE(0, run.Private<int32_t>(0x88)) << "the post-print action chosen by Down";
}

TEST_F(PagesInSheet, ChineseAndGermanPagesForTheEye) {
  ShootDocumentSheet(L"zhcn");
  if (GetFileAttributesW((Folder() + L"\\lx220uide.dll").c_str()) != INVALID_FILE_ATTRIBUTES) ShootDocumentSheet(L"de");
}

TEST_F(PagesInSheet, PrinterSheetShowsTheAboutPage) {
  for (const wchar_t* suffix : {L"enus", L"ru"}) {
    ASSERT_TRUE(printhost::WriteSuffix(suffix));
    SheetRun run;
    ASSERT_TRUE(run.Start(L"printer", std::wstring(L"printer-") + suffix));
    HWND sheet = run.WaitForSheet();
    ASSERT_NE(nullptr, sheet);
    HWND about = ShowPage(sheet, 0);
    ASSERT_NE(nullptr, about);
    EXPECT_NE(nullptr, GetDlgItem(about, IDC_DRIVER_NAME));
    EXPECT_FALSE(ControlText(about, IDC_ABOUT_GROUP).empty());
    // The shipped configuration file names the driver and links to support.
    EXPECT_EQ(L"LX-220 Label Printer", ControlText(about, IDC_DRIVER_NAME));
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(about, IDC_SUPPORT)));
    Shot(sheet, std::wstring(L"sheet-") + suffix + L"-7-printer-about");
    Click(sheet, IDOK);
    ASSERT_TRUE(run.Finish());
    EXPECT_NE(std::string::npos, run.Lines().find("pages=1"));
  }
}

}  // namespace
