// The language resource module as the loaded plug-in uses it: the module the
// plug-in's attach chose (by the run's suffix) serves all six templates with
// exactly the pages' controls, its strings load by id, and a module without
// the metric paper names (the Russian one) still gives working sheets.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "plugin/oem/oem_com.h"
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
      {101, {{1071, kStatic}, {1023, kCombo},  {1016, kButton}, {1018, kButton}, {1020, kButton},
             {1029, kButton}, {1031, kButton}, {1033, kButton}, {1035, kButton}, {1038, kButton},
             {1039, kButton}, {-1, kButton},   {1072, kButton}, {1036, kStatic}, {1073, kButton},
             {1074, kButton}}},
      {102, {{1041, kButton}, {1042, kButton}, {1007, kEdit}, {1100, kStatic}, {1005, kEdit},
             {1099, kStatic}, {1118, kButton}, {1106, kEdit}, {1097, kStatic}, {1117, kButton}}},
      {105, {{1051, kButton}, {1087, kStatic}, {1088, kStatic}, {1052, kTrackbar}, {1089, kButton},
             {1066, kStatic}, {1053, kTrackbar}, {1067, kStatic}, {1071, kButton}, {1021, kCombo},
             {1104, kStatic}}},
      {107, {{1062, kButton}, {1070, kButton}, {1090, kStatic}, {1091, kStatic}, {1092, kStatic},
             {1093, kStatic}, {1103, kStatic}}},
      {108, {{1108, kButton}, {1116, kStatic}, {1110, kButton}, {1111, kButton}, {1112, kButton},
             {1120, kButton}, {1114, kStatic}, {1121, kEdit}, {1107, kButton}}},
      {153, {{1081, kStatic}, {1027, kCombo},  {1082, kStatic}, {1054, kCombo},  {1084, kButton},
             {1075, kStatic}, {1047, kEdit},   {1076, kStatic}, {1048, kEdit},   {1094, kButton},
             {1133, kButton}, {1132, kButton}, {1105, kStatic}, {1106, kEdit},   {1110, kButton},
             {1131, kButton}, {1109, kStatic}, {1111, kEdit},   {1107, kStatic}, {1134, kStatic},
             {1135, kStatic}, {1055, kCombo},  {1056, kCombo},  {1136, kStatic}, {1112, kEdit}}},
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

class ResourceModule : public PrintHost {
 protected:
  void SetUp() override {
    PrintHost::SetUp();
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    resources_ = LoadedLanguageModule(name_);
    ASSERT_NE(nullptr, resources_) << "no language module of the plug-in is loaded";
  }

  // The language module the plug-in's attach loaded: the one the run's suffix
  // names, or, without a suffix, the one module of the plug-in in the process.
  static HMODULE LoadedLanguageModule(std::wstring& name) {
    if (!printhost::RunSuffix().empty()) {
      name = L"lx220ui" + printhost::RunSuffix() + L".dll";
      return GetModuleHandleW(name.c_str());
    }
    HMODULE found = nullptr;
    int count = 0;
    for (const wchar_t* candidate : printhost::kLanguageModules) {
      if (HMODULE m = GetModuleHandleW(candidate)) {
        found = m;
        name = candidate;
        ++count;
      }
    }
    EXPECT_EQ(1, count) << "the plug-in keeps one language module";
    return found;
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
  for (UINT id : {9u, 31u, 32u, 35u, 43u, 315u, 37u, 39u, 1003u, 709u}) {
    EXPECT_FALSE(LoadText(resources_, id).empty()) << "string " << id;
  }
  for (UINT id : {20u, 900u, 901u, 902u, 903u, 904u, 905u}) {
    wchar_t buffer[40] = L"unchanged";
    int n = LoadStringW(resources_, id, buffer, 40);
    if (IsRussian()) {
      EXPECT_EQ(0, n) << "string " << id << " is in the Russian module";
    } else {
      EXPECT_GT(n, 0) << "string " << id;
    }
  }
  if (IsRussian()) {
    EXPECT_EQ(std::wstring(L"\u043C\u043C"), LoadText(resources_, 37));  // "мм"
    for (const auto& t : ExpectedTemplates()) {
      EXPECT_NE(nullptr, FindResourceExW(resources_, RT_DIALOG, MAKEINTRESOURCEW(t.first), 0x0419))
          << "template " << t.first << " in Russian";
    }
  }
}

// The sheets the core driver asks for work with whatever module was loaded:
// the printer sheet's About page comes from template 107 of that module and
// opens with its controls, and building the document sheet looks up every
// option's display text (the metric papers find none in the Russian module).
TEST_F(ResourceModule, SheetsWorkWithTheLoadedModule) {
  SCOPED_TRACE(Narrow(name_));
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  RealSheet real;
  OEMUIPSPARAM ps = {};
  ps.cbSize = sizeof ps;
  PROPSHEETUI_INFO info = {};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = reinterpret_cast<HANDLE>(&real);
  info.pfnComPropSheet = AddRealPage;
  info.lParamInit = reinterpret_cast<LPARAM>(&ps);
  ASSERT_EQ(S_OK, plugin->DevicePropertySheets(&info, 0));
  ASSERT_EQ(1u, real.handles.size());
  EXPECT_EQ(resources_, real.pages[0].hInstance);
  EXPECT_EQ(LoadText(resources_, 31), real.titles[0]);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(real.handles[0]), info.Result);

  PROPSHEETHEADERW header = {};
  header.dwSize = sizeof header;
  header.dwFlags = PSH_MODELESS;
  header.pszCaption = L"Print host";
  header.nPages = 1;
  header.phpage = real.handles.data();
  auto sheet = reinterpret_cast<HWND>(PropertySheetW(&header));
  ASSERT_NE(nullptr, sheet);
  HWND page = reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
  ASSERT_NE(nullptr, page);
  EXPECT_EQ(Lowered(ExpectedControls(107)), Lowered(ChildrenOf(page)));
  DestroyWindow(sheet);

  printhost::FakeCoreHelper core;  // lists the six metric papers under PaperSize
  ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&core));
  RealSheet document;
  info.hComPropSheet = reinterpret_cast<HANDLE>(&document);
  EXPECT_EQ(S_OK, plugin->DocumentPropertySheets(&info, 0));
  EXPECT_EQ(11u, core.enumerated.size());
  plugin->Release();
}

}  // namespace
