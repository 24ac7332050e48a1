// The language resource module as the loaded plug-in uses it: the module the
// plug-in chose (by the run's suffix) serves all six templates with
// exactly the pages' controls, its strings load by id, and a module without
// the metric paper names (the Russian one) still gives working sheets.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "plugin/oem/oem_com.h"
#include "plugin/resources/resource_ids.h"
#include "tools/printhost/driver_folder.h"
#include "tools/printhost/fake_core_helper.h"
#include "tools/printhost/plugin_fixture.h"

namespace {

using printhost::PrintHost;

constexpr const wchar_t* kButton = L"Button";
constexpr const wchar_t* kStatic = L"Static";
constexpr const wchar_t* kEdit = L"Edit";
constexpr const wchar_t* kCombo = L"ComboBox";
constexpr const wchar_t* kTrackbar = L"msctls_trackbar32";

using Controls = std::vector<std::pair<int, std::wstring>>;  // id and window class, in template order

const std::vector<std::pair<WORD, Controls>>& ExpectedTemplates() {
  static const std::vector<std::pair<WORD, Controls>> templates = {
      {IDD_PAPER_PAGE,
       {{IDC_PAPER_LIST_LABEL, kStatic}, {IDC_PAPER_LIST, kCombo}, {IDC_PAPER_NEW, kButton},
        {IDC_PAPER_EDIT, kButton}, {IDC_PAPER_DELETE, kButton}, {IDC_PORTRAIT, kButton},
        {IDC_LANDSCAPE, kButton}, {IDC_PORTRAIT_180, kButton}, {IDC_LANDSCAPE_180, kButton},
        {IDC_MIRROR, kButton}, {IDC_NEGATIVE, kButton}, {IDC_STATIC, kButton},
        {IDC_PREVIEW_GROUP, kButton}, {IDC_PREVIEW, kStatic}, {IDC_ORIENTATION_GROUP, kButton},
        {IDC_EFFECT_GROUP, kButton}}},
      {IDD_PAPER_DIALOG,
       {{IDC_PAPERDLG_PAPER_GROUP, kButton}, {IDC_PAPERDLG_NAME_LABEL, kStatic}, {IDC_PAPERDLG_NAME, kEdit},
        {IDC_PAPERDLG_SIZE_GROUP, kButton}, {IDC_PAPERDLG_WIDTH_LABEL, kStatic}, {IDC_PAPERDLG_WIDTH, kEdit},
        {IDC_PAPERDLG_LENGTH_LABEL, kStatic}, {IDC_PAPERDLG_LENGTH, kEdit}, {IDC_PAPERDLG_OK, kButton},
        {IDC_PAPERDLG_CANCEL, kButton}}},
      {IDD_OPTIONS_PAGE,
       {{IDC_PRINTER_OPTIONS_GROUP, kButton}, {IDC_USE_PRINTER_SPEED, kButton}, {IDC_SPEED_LABEL, kStatic},
        {IDC_SPEED, kTrackbar}, {IDC_SPEED_VALUE, kStatic}, {IDC_DENSITY_LABEL, kStatic},
        {IDC_DENSITY, kTrackbar}, {IDC_DENSITY_VALUE, kStatic}, {IDC_ADVANCED_GROUP, kButton},
        {IDC_PRINT_LANGUAGE_LABEL, kStatic}, {IDC_PRINT_LANGUAGE, kCombo}}},
      {IDD_ABOUT_PAGE,
       {{IDC_SUPPORT, kButton}, {IDC_ABOUT_GROUP, kButton}, {IDC_DRIVER_NAME, kStatic},
        {IDC_DRIVER_TYPE, kStatic}, {IDC_DRIVER_VERSION, kStatic}, {IDC_LEGAL_NOTICE, kStatic},
        {IDC_LOGO, kStatic}}},
      {IDD_IMAGE_PAGE,
       {{IDC_HALFTONE_GROUP, kButton}, {IDC_HALFTONE_PREVIEW, kStatic}, {IDC_HALFTONE_NONE, kButton},
        {IDC_HALFTONE_DIFFUSION, kButton}, {IDC_HALFTONE_JJN, kButton}, {IDC_IMAGE_GROUP, kButton},
        {IDC_TONE_FACTOR_LABEL, kStatic}, {IDC_TONE_FACTOR, kEdit}, {IDC_THICKER_LINES, kButton}}},
      {IDD_PRINT_PARAMS_PAGE,
       {{IDC_MEDIA_GROUP, kButton}, {IDC_PRINT_METHOD_LABEL, kStatic}, {IDC_PRINT_METHOD, kCombo},
        {IDC_MEDIA_TYPE_LABEL, kStatic}, {IDC_MEDIA_TYPE, kCombo}, {IDC_PAPER_SAVING, kButton},
        {IDC_GAP_LABEL, kStatic}, {IDC_GAP, kEdit}, {IDC_MEDIA_HANDLING_GROUP, kButton},
        {IDC_PRINT_MODE_LABEL, kStatic}, {IDC_COLLATE, kButton}, {IDC_POST_ACTION_LABEL, kStatic},
        {IDC_POST_ACTION, kCombo}, {IDC_TIMING_LABEL, kStatic}, {IDC_TIMING, kCombo},
        {IDC_INTERVAL_LABEL, kStatic}, {IDC_INTERVAL, kEdit}, {IDC_FEED_OFFSET_LABEL, kStatic},
        {IDC_FEED_OFFSET, kEdit}, {IDC_USE_PRINTER_FEED, kButton}, {IDC_POSITION_GROUP, kButton},
        {IDC_OFFSET_X_LABEL, kStatic}, {IDC_OFFSET_X, kEdit}, {IDC_OFFSET_Y_LABEL, kStatic},
        {IDC_OFFSET_Y, kEdit}}},
  };
  return templates;
}

const Controls& ExpectedControls(WORD id) {
  for (const auto& t : ExpectedTemplates()) {
    if (t.first == id) return t.second;
  }
  static const Controls none;
  return none;
}

// The direct children of a dialog in creation order, with lower-case classes.
Controls ChildrenOf(HWND dialog) {
  Controls found;
  for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t name[64] = {};
    GetClassNameW(child, name, 64);
    found.emplace_back(GetDlgCtrlID(child), name);
  }
  return found;
}

Controls Lowered(Controls controls) {
  for (auto& c : controls) CharLowerW(&c.second[0]);
  return controls;
}

std::string Narrow(const std::wstring& w) {
  std::string s;
  for (wchar_t c : w) s += c < 0x80 ? char(c) : '?';
  return s;
}

INT_PTR CALLBACK QuietProc(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

std::wstring LoadText(HMODULE module, UINT id) {
  const wchar_t* text = nullptr;
  int n = LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 && text != nullptr ? std::wstring(text, n) : std::wstring();
}

// Records each page the plug-in adds and turns it into a real page handle,
// as the common property sheet UI does while the plug-in's call lasts.
struct RealSheet {
  std::vector<PROPSHEETPAGEW> pages;
  std::vector<std::wstring> titles;
  std::vector<HPROPSHEETPAGE> handles;
};

LONG_PTR CALLBACK AddRealPage(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
  auto* real = reinterpret_cast<RealSheet*>(sheet);
  if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 0;
  const auto* page = reinterpret_cast<const PROPSHEETPAGEW*>(lParam1);
  real->pages.push_back(*page);
  real->titles.push_back((page->dwFlags & PSP_USETITLE) && !IS_INTRESOURCE(page->pszTitle) ? page->pszTitle
                                                                                             : L"");
  HPROPSHEETPAGE handle = CreatePropertySheetPageW(page);
  if (handle == nullptr) return 0;
  real->handles.push_back(handle);
  return reinterpret_cast<LONG_PTR>(handle);
}

// The pages in a modeless sheet of their own, as a host program shows them.
HWND OpenModelessSheet(std::vector<HPROPSHEETPAGE>& pages) {
  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS;
  header.pszCaption = L"Print host";
  header.nPages = static_cast<UINT>(pages.size());
  header.phpage = pages.data();
  return reinterpret_cast<HWND>(PropertySheetW(&header));
}

class ResourceModule : public PrintHost {
 protected:
  void SetUp() override {
    PrintHost::SetUp();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    resources_ = LoadedLanguageModule(name_);
    ASSERT_NE(nullptr, resources_) << "no language module of the plug-in is loaded";
  }

  // The language module the plug-in uses, as its printer sheet hands it out
  // (mapped as an image resource, it is in no module list), and which of the
  // installed modules it is: the one whose texts it holds, which is the one
  // the run's suffix names when there is one.
  HMODULE LoadedLanguageModule(std::wstring& name) {
    IPrintOemUI2* plugin = Create();
    if (plugin == nullptr) return nullptr;
    RealSheet sheet;
    OEMUIPSPARAM ps = {};
    ps.cbSize = sizeof ps;
    PROPSHEETUI_INFO info = printhost::InitSheetInfo(&sheet, AddRealPage, &ps);
    EXPECT_EQ(S_OK, plugin->DevicePropertySheets(&info, 0));
    for (HPROPSHEETPAGE page : sheet.handles) DestroyPropertySheetPage(page);
    plugin->Release();
    if (sheet.pages.empty()) return nullptr;
    HMODULE used = sheet.pages[0].hInstance;
    auto texts = [](HMODULE m) {
      std::wstring all;
      for (UINT id : {IDS_PAPER_TITLE, IDS_OPTIONS_TITLE, IDS_ABOUT_TITLE, IDS_UNIT, IDS_LEGAL_NOTICE})
        all += LoadText(m, id) + L"|";
      return all;
    };
    int count = 0;
    for (const wchar_t* candidate : printhost::kLanguageModules) {
      HMODULE m = LoadLibraryExW((printhost::DriverDirectory() + L"\\3\\" + candidate).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
      if (m == nullptr) continue;
      if (texts(m) == texts(used)) {
        name = candidate;
        ++count;
      }
      FreeLibrary(m);
    }
    EXPECT_EQ(1, count) << "the plug-in's texts are those of one language module";
    if (!printhost::RunSuffix().empty()) {
      EXPECT_EQ(0, lstrcmpiW((L"lx220ui" + printhost::RunSuffix() + L".dll").c_str(), name.c_str()));
    }
    return used;
  }

  bool IsRussian() const { return lstrcmpiW(name_.c_str(), L"lx220uiru.dll") == 0; }

  HMODULE resources_ = nullptr;
  std::wstring name_;
};

TEST_F(ResourceModule, EveryTemplateOpensWithExactlyThePagesControls) {
  SCOPED_TRACE(Narrow(name_));
  for (const auto& [id, expected] : ExpectedTemplates()) {
    SCOPED_TRACE("template " + std::to_string(id));
    HWND dialog = CreateDialogParamW(resources_, MAKEINTRESOURCEW(id), nullptr, QuietProc, 0);
    ASSERT_NE(nullptr, dialog) << "CreateDialogParamW error " << GetLastError();
    EXPECT_EQ(Lowered(expected), Lowered(ChildrenOf(dialog)));
    DestroyWindow(dialog);
  }
}

TEST_F(ResourceModule, StringsLoadByIdAndOnlyTheRussianModuleLacksTheMetricPapers) {
  SCOPED_TRACE(Narrow(name_));
  RecordProperty("language_module", Narrow(name_));
  for (UINT id : {IDS_USE_PRINTER_SETTINGS, IDS_ABOUT_TITLE, IDS_PAPER_TITLE, IDS_OPTIONS_TITLE,
                  IDS_IMAGE_TITLE, IDS_PRINT_PARAMS_TITLE, IDS_UNIT, IDS_LEGAL_NOTICE, IDS_PAPER_4X6,
                  IDS_RESOLUTION_203}) {
    EXPECT_FALSE(LoadText(resources_, id).empty()) << "string " << id;
  }
  for (UINT id : {IDS_DRIVER_TYPE, IDS_PAPER_40X30, IDS_PAPER_50X30, IDS_PAPER_60X40, IDS_PAPER_75X60,
                  IDS_PAPER_80X60, IDS_PAPER_80X50}) {
    wchar_t buffer[40] = L"unchanged";
    int n = LoadStringW(resources_, id, buffer, 40);
    if (IsRussian()) {
      EXPECT_EQ(0, n) << "string " << id << " is in the Russian module";
    } else {
      EXPECT_GT(n, 0) << "string " << id;
    }
  }
  if (IsRussian()) {
    EXPECT_EQ(std::wstring(L"\u043C\u043C"), LoadText(resources_, IDS_UNIT));  // "мм"
    for (const auto& t : ExpectedTemplates()) {
      EXPECT_NE(nullptr, FindResourceExW(resources_, RT_DIALOG, MAKEINTRESOURCEW(t.first), 0x0419))
          << "template " << t.first << " in Russian";
    }
  }
}

// The sheets the core driver asks for work with whatever module was loaded:
// the printer sheet's About page comes from that module's About template and
// opens with its controls, and building the document sheet looks up every
// option's display text (the metric papers find none in the Russian module).
TEST_F(ResourceModule, SheetsWorkWithTheLoadedModule) {
  SCOPED_TRACE(Narrow(name_));
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  RealSheet real;
  OEMUIPSPARAM ps = {};
  ps.cbSize = sizeof ps;
  PROPSHEETUI_INFO info = printhost::InitSheetInfo(&real, AddRealPage, &ps);
  ASSERT_EQ(S_OK, plugin->DevicePropertySheets(&info, 0));
  ASSERT_EQ(1u, real.handles.size());
  EXPECT_EQ(resources_, real.pages[0].hInstance);
  EXPECT_EQ(LoadText(resources_, IDS_ABOUT_TITLE), real.titles[0]);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(real.handles[0]), info.Result);

  HWND sheet = OpenModelessSheet(real.handles);
  ASSERT_NE(nullptr, sheet);
  HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(Lowered(ExpectedControls(IDD_ABOUT_PAGE)), Lowered(ChildrenOf(page)));
  DestroyWindow(sheet);

  printhost::FakeCoreHelper core;  // lists the six metric papers under PaperSize
  ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&core));
  RealSheet document;
  std::vector<BYTE> publicPart(sizeof(DEVMODEW)), privatePart(148);
  OEMDMPARAM dm = {};
  dm.cbSize = sizeof dm;
  dm.pPublicDMOut = reinterpret_cast<DEVMODEW*>(publicPart.data());
  dm.pOEMDMOut = privatePart.data();
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &dm));
  ps.hOEMHeap = GetProcessHeap();
  ps.pPublicDM = dm.pPublicDMOut;
  ps.pOEMDM = privatePart.data();
  info.hComPropSheet = reinterpret_cast<HANDLE>(&document);
  EXPECT_EQ(S_OK, plugin->DocumentPropertySheets(&info, 0));
  EXPECT_EQ(11u, core.enumerated.size());
  ASSERT_EQ(5u, document.handles.size());
  EXPECT_EQ(LoadText(resources_, IDS_PRINT_PARAMS_TITLE), document.titles[3]);
  plugin->Release();
}

std::wstring TextOf(HWND control) {
  wchar_t text[64] = {};
  GetWindowTextW(control, text, 64);
  return text;
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

// A host that set a comma locale in msvcrt ("German") opens the document
// sheet: the offset field shows "12.50", focusing and leaving it leaves the
// text and the record's 12.5 as they were.
TEST_F(ResourceModule, ACommaLocaleInTheHostLeavesAFieldUnchanged) {
  if (!std::setlocale(LC_ALL, "German")) GTEST_SKIP() << "msvcrt has no German locale here";
  char probe[16] = {};
  std::snprintf(probe, sizeof probe, "%.2f", 12.5);
  if (std::strcmp(probe, "12,50") != 0) {
    std::setlocale(LC_ALL, "C");
    GTEST_SKIP() << "the locale gives " << probe;
  }
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  printhost::FakeCoreHelper core;
  ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&core));
  std::vector<BYTE> publicPart(sizeof(DEVMODEW)), privatePart(148);
  OEMDMPARAM dm = {};
  dm.cbSize = sizeof dm;
  dm.pPublicDMOut = reinterpret_cast<DEVMODEW*>(publicPart.data());
  dm.pOEMDMOut = privatePart.data();
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &dm));
  const float offset = 12.5f;
  std::memcpy(privatePart.data() + 0x48, &offset, sizeof offset);
  RealSheet document;
  OEMUIPSPARAM ps = {};
  ps.cbSize = sizeof ps;
  ps.hOEMHeap = GetProcessHeap();
  ps.pPublicDM = dm.pPublicDMOut;
  ps.pOEMDM = privatePart.data();
  PROPSHEETUI_INFO info = printhost::InitSheetInfo(&document, AddRealPage, &ps);
  ASSERT_EQ(S_OK, plugin->DocumentPropertySheets(&info, 0));
  ASSERT_EQ(5u, document.handles.size());

  HWND sheet = OpenModelessSheet(document.handles);
  ASSERT_NE(nullptr, sheet);
  SendMessageW(sheet, PSM_SETCURSEL, 3, 0);
  Pump();
  HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(nullptr, page);
  HWND field = GetDlgItem(page, IDC_OFFSET_X), other = GetDlgItem(page, IDC_OFFSET_Y);
  ASSERT_NE(nullptr, field);
  const std::wstring shown = TextOf(field);
  SetFocus(field);
  Pump();
  const std::wstring focused = TextOf(field);
  SetFocus(other);
  Pump();
  const std::wstring left = TextOf(field);
  float stored = 0;
  std::memcpy(&stored, privatePart.data() + 0x48, sizeof stored);
  DestroyWindow(sheet);
  std::setlocale(LC_ALL, "C");
  plugin->Release();
  EXPECT_EQ(shown.substr(0, 6), L"12.50 ");
  EXPECT_EQ(focused, L"12.50");
  EXPECT_EQ(left, shown);
  EXPECT_EQ(12.5f, stored);
}

}  // namespace
