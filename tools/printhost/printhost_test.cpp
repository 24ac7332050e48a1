// Plays the Unidrv core driver for the real lx220ui.dll: loads it from the
// printer-driver directory, asks for its class objects and talks to the
// plug-in object through IPrintOemUI2 as the core driver does.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <thread>
#include <vector>

#include "plugin/oem/oem_com.h"
#include "plugin/resources/resource_ids.h"
#include "plugin/tests/expected_default_devmode.h"
#include "tools/printhost/driver_folder.h"
#include "tools/printhost/fake_core_helper.h"
#include "tools/printhost/plugin_fixture.h"

namespace {

using printhost::kClsid1;
using printhost::kClsid2;
using printhost::PrintHost;

TEST_F(PrintHost, BothClassIdentifiersServeThePlugin) {
  for (const GUID* clsid : {&kClsid1, &kClsid2}) {
    IPrintOemUI2* plugin = Create(*clsid);
    ASSERT_NE(nullptr, plugin);
    IUnknown* unknown = nullptr;
    EXPECT_EQ(S_OK, plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    unknown->Release();
    EXPECT_EQ(0u, plugin->Release());
  }
  void* out = reinterpret_cast<void*>(1);
  const GUID other = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
  EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, getClassObject_(other, IID_IClassFactory, &out));
  EXPECT_EQ(nullptr, out);
  EXPECT_EQ(E_POINTER, getClassObject_(kClsid1, IID_IClassFactory, nullptr));
}

TEST_F(PrintHost, OnlyTheSecondInterfaceVersionIsAnswered) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(S_OK, getClassObject_(kClsid2, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, factory->CreateInstance(nullptr, IID_IPrintOemUI, &out));
  EXPECT_EQ(nullptr, out);
  printhost::FakeCoreHelper outer;  // any non-null outer object asks for aggregation
  EXPECT_EQ(CLASS_E_NOAGGREGATION, factory->CreateInstance(&outer, IID_IPrintOemUI2, &out));
  factory->Release();

  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(E_NOINTERFACE, plugin->QueryInterface(IID_IPrintOemUI, &out));
  EXPECT_EQ(nullptr, out);
  plugin->Release();
}

TEST_F(PrintHost, GetInfoAnswersAsTheCoreDriverExpects) {
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  DWORD value = 0, needed = 0;
  EXPECT_EQ(S_OK, plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, &needed));
  EXPECT_EQ(0x515A4C31u, value);
  EXPECT_EQ(S_OK, plugin->GetInfo(OEMGI_GETVERSION, &value, 4, &needed));
  EXPECT_EQ(1u, value);
  EXPECT_EQ(S_OK, plugin->GetInfo(OEMGI_GETREQUESTEDHELPERINTERFACES, &value, 4, &needed));
  EXPECT_EQ(static_cast<DWORD>(OEMPUBLISH_IPRINTCOREHELPER), value);

  EXPECT_EQ(4u, needed);

  // Modes 2 and 4 and a missing needed-size pointer are bad arguments.
  for (DWORD mode : {DWORD(OEMGI_GETINTERFACEVERSION), DWORD(OEMGI_GETPUBLISHERINFO), DWORD(6)}) {
    SetLastError(0);
    value = 0xAAAAAAAA;
    EXPECT_EQ(E_FAIL, plugin->GetInfo(mode, &value, 4, &needed)) << mode;
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError()) << mode;
    EXPECT_EQ(0xAAAAAAAAu, value) << mode;
  }
  SetLastError(0);
  EXPECT_EQ(E_FAIL, plugin->GetInfo(OEMGI_GETSIGNATURE, &value, 4, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  // A buffer of 3 bytes, or none, is too small; the needed size says 4.
  needed = 0;
  EXPECT_EQ(E_FAIL, plugin->GetInfo(OEMGI_GETVERSION, &value, 3, &needed));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(4u, needed);
  needed = 0;
  SetLastError(0);
  EXPECT_EQ(E_FAIL, plugin->GetInfo(OEMGI_GETSIGNATURE, nullptr, 4, &needed));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER), GetLastError());
  EXPECT_EQ(4u, needed);
  plugin->Release();
}

// Calls a method by its slot in the published vtable, independent of our
// own declaration of the interface.
template <typename Fn>
Fn Slot(IUnknown* object, int index) {
  return reinterpret_cast<Fn>((*reinterpret_cast<void***>(object))[index]);
}

TEST_F(PrintHost, MethodsSitInThePublishedSlots) {
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  DWORD value = 0, needed = 0;
  auto getInfo = Slot<HRESULT(STDMETHODCALLTYPE*)(void*, DWORD, PVOID, DWORD, PDWORD)>(plugin, 3);
  EXPECT_EQ(S_OK, getInfo(plugin, OEMGI_GETSIGNATURE, &value, 4, &needed));
  EXPECT_EQ(0x515A4C31u, value);
  OEMDMPARAM param = {};
  param.cbSize = sizeof param;
  auto devMode = Slot<HRESULT(STDMETHODCALLTYPE*)(void*, DWORD, POEMDMPARAM)>(plugin, 4);
  EXPECT_EQ(S_OK, devMode(plugin, OEMDM_SIZE, &param));
  EXPECT_EQ(148u, param.cbBufSize);
  auto commonUiProp = Slot<HRESULT(STDMETHODCALLTYPE*)(void*, DWORD, PVOID)>(plugin, 6);
  EXPECT_EQ(S_OK, commonUiProp(plugin, 1, nullptr));
  auto devQueryPrintEx = Slot<HRESULT(STDMETHODCALLTYPE*)(void*, PVOID, PVOID, PVOID, PVOID)>(plugin, 9);
  EXPECT_EQ(E_NOTIMPL, devQueryPrintEx(plugin, nullptr, nullptr, nullptr, nullptr));
  auto hide = Slot<HRESULT(STDMETHODCALLTYPE*)(void*, DWORD)>(plugin, 18);
  EXPECT_EQ(S_OK, hide(plugin, OEMCUIP_DOCPROP));
  EXPECT_EQ(S_OK, hide(plugin, OEMCUIP_PRNPROP));
  EXPECT_EQ(E_NOTIMPL, hide(plugin, 3));
  auto docEvent = Slot<HRESULT(STDMETHODCALLTYPE*)(void*, HANDLE, HDC, INT, ULONG, PVOID, ULONG,
                                                   PVOID, PINT)>(plugin, 19);
  std::vector<BYTE> buffer(sizeof(DOCEVENT_FILTER) + 16 * sizeof(DWORD));
  auto* filter = reinterpret_cast<DOCEVENT_FILTER*>(buffer.data());
  filter->cbSize = static_cast<UINT>(buffer.size());
  filter->cElementsAllocated = 16;
  INT result = 0;
  EXPECT_EQ(S_FALSE, docEvent(plugin, nullptr, nullptr, DOCUMENTEVENT_QUERYFILTER, 0, nullptr,
                              static_cast<ULONG>(buffer.size()), filter, &result));
  EXPECT_EQ(DOCUMENTEVENT_SUCCESS, result);
  const DWORD expected[] = {7, 3, 4, 5, 5, 6, 7, 8};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(expected[i], filter->aDocEventCall[i]);
  EXPECT_EQ(S_OK, docEvent(plugin, nullptr, nullptr, 2, 0, nullptr, 0, nullptr, &result));
  plugin->Release();
}

TEST_F(PrintHost, PublishDriverInterfaceKeepsTheFirstHelper) {
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  printhost::FakeCoreHelper withoutHelper;
  withoutHelper.offersHelper = false;
  EXPECT_EQ(E_FAIL, plugin->PublishDriverInterface(&withoutHelper));

  printhost::FakeCoreHelper first, second;
  EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&first));
  EXPECT_EQ(2u, first.refs);  // the plug-in holds one reference
  EXPECT_EQ(S_OK, plugin->PublishDriverInterface(&second));
  EXPECT_EQ(0, second.helperQueries);
  plugin->Release();
  EXPECT_EQ(1u, first.refs);  // released with the object
}

// A DEVMODE as Unidrv lays it out: the public 220 bytes, the core driver's
// private part, then the plug-in's 148 bytes at the end.
struct UnidrvDevmode {
  static constexpr size_t kCorePart = 0x2E0;
  std::vector<BYTE> bytes = std::vector<BYTE>(sizeof(DEVMODEW) + kCorePart + 148);
  UnidrvDevmode() {
    pub()->dmSize = sizeof(DEVMODEW);
    pub()->dmDriverExtra = static_cast<WORD>(kCorePart + 148);
    lstrcpynW(pub()->dmDeviceName, L"LX-220 Label Printer", CCHDEVICENAME);
  }
  DEVMODEW* pub() { return reinterpret_cast<DEVMODEW*>(bytes.data()); }
  BYTE* plugin() { return bytes.data() + sizeof(DEVMODEW) + kCorePart; }
};

TEST_F(PrintHost, DevModeSequenceOnUnidrvLayout) {
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  OEMDMPARAM param = {};
  param.cbSize = sizeof param;
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_SIZE, &param));
  ASSERT_EQ(148u, param.cbBufSize);

  UnidrvDevmode defaults;
  param.pPublicDMOut = defaults.pub();
  param.pOEMDMOut = defaults.plugin();
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &param));
  auto expected = lx::testing::ExpectedDefaultPrivateDevmode();
  EXPECT_EQ(0, std::memcmp(defaults.plugin(), expected.data(), expected.size()));
  EXPECT_EQ(DMORIENT_PORTRAIT, defaults.pub()->dmOrientation);
  EXPECT_NE(0u, defaults.pub()->dmFields & DM_ORIENTATION);
  EXPECT_EQ(220, defaults.pub()->dmSize);
  EXPECT_EQ(148, defaults.pub()->dmDriverExtra);
  // The private part alone, as the core driver may ask for it.
  std::vector<BYTE> privateOnly(148, 0);
  OEMDMPARAM bare = {};
  bare.cbSize = sizeof bare;
  bare.pOEMDMOut = privateOnly.data();
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &bare));
  EXPECT_EQ(0, std::memcmp(privateOnly.data(), expected.data(), expected.size()));
  SetLastError(0);
  EXPECT_EQ(E_FAIL, plugin->DevMode(OEMDM_SIZE, nullptr));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());

  // An application's DEVMODE with five copies and a post-print action of 3.
  UnidrvDevmode in = defaults, out = defaults;
  in.pub()->dmSize = sizeof(DEVMODEW);
  in.pub()->dmDriverExtra = static_cast<WORD>(UnidrvDevmode::kCorePart + 148);
  in.pub()->dmFields = DM_COPIES | DM_ORIENTATION;
  in.pub()->dmCopies = 5;
  in.pub()->dmOrientation = 3;
  int32_t cut = 3;
  std::memcpy(in.bytes.data() + in.bytes.size() - 12, &cut, 4);
  param = {};
  param.cbSize = sizeof param;
  param.pPublicDMIn = in.pub();
  param.pPublicDMOut = out.pub();
  param.pOEMDMIn = in.plugin();
  param.pOEMDMOut = out.plugin();
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_MERGE, &param));
  EXPECT_EQ(5, out.pub()->dmCopies);
  EXPECT_EQ(DMORIENT_PORTRAIT, out.pub()->dmOrientation);
  int32_t postAction = 0;
  std::memcpy(&postAction, out.bytes.data() + out.bytes.size() - 12, 4);
  EXPECT_EQ(3, postAction);

  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_CONVERT, &param));
  std::memcpy(&postAction, out.bytes.data() + out.bytes.size() - 12, 4);
  EXPECT_EQ(3, postAction);
  SetLastError(0);
  EXPECT_EQ(E_FAIL, plugin->DevMode(5, &param));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  plugin->Release();
}

// The core driver asks for a count first and then passes a buffer of
// exactly that many entries; the fixed answers are whole DWORDs.
TEST_F(PrintHost, DeviceCapabilitiesCountThenFillAsTheCoreDriverAsks) {
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  wchar_t device[] = L"LX-220 Label Printer";
  DWORD count = 0xFFFF0000u;
  ASSERT_EQ(S_OK, plugin->DeviceCapabilities(nullptr, nullptr, device, DC_PAPERS, nullptr, nullptr, nullptr, 0, &count));
  const DWORD n = count & 0xFFFF;
  ASSERT_GT(n, 0u);
  EXPECT_EQ(0xFFFF0000u, count & 0xFFFF0000u) << "the high word is the caller's";

  std::vector<WORD> numbers(n + 1, 0xBEEF);
  DWORD filled = 0;
  ASSERT_EQ(S_OK, plugin->DeviceCapabilities(nullptr, nullptr, device, DC_PAPERS, numbers.data(), nullptr, nullptr, 0,
                                             &filled));
  EXPECT_EQ(n, filled & 0xFFFF);
  EXPECT_EQ(0xBEEF, numbers[n]) << "written past the counted entries";
  std::vector<POINT> sizes(n + 1, POINT{-7, -7});
  ASSERT_EQ(S_OK, plugin->DeviceCapabilities(nullptr, nullptr, device, DC_PAPERSIZE, sizes.data(), nullptr, nullptr, 0,
                                             &filled));
  for (DWORD i = 0; i < n; ++i) EXPECT_TRUE(sizes[i].x > 0 && sizes[i].y > 0) << i;
  EXPECT_EQ(-7, sizes[n].x);
  std::vector<wchar_t> names(n * 64 + 1, L'#');
  ASSERT_EQ(S_OK, plugin->DeviceCapabilities(nullptr, nullptr, device, DC_PAPERNAMES, names.data(), nullptr, nullptr,
                                             0, &filled));
  for (DWORD i = 0; i < n; ++i) EXPECT_NE(L'\0', names[i * 64]) << i;
  EXPECT_EQ(L'#', names[n * 64]);

  DWORD extent = 0;
  ASSERT_EQ(S_OK, plugin->DeviceCapabilities(nullptr, nullptr, device, DC_MAXEXTENT, nullptr, nullptr, nullptr, 0,
                                             &extent));
  EXPECT_EQ((10000u << 16) | 10000u, extent);
  EXPECT_EQ(E_NOTIMPL, plugin->DeviceCapabilities(nullptr, nullptr, device, DC_BINS, nullptr, nullptr, nullptr, 0,
                                                  &extent));
  plugin->Release();
}

LONG_PTR CALLBACK RecordPage(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
  auto* seen = reinterpret_cast<std::vector<PROPSHEETPAGEW>*>(sheet);
  if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 0;
  seen->push_back(*reinterpret_cast<PROPSHEETPAGEW*>(lParam1));
  return 42;
}

TEST_F(PrintHost, SheetsAddTheAboutPageAndReadFeatures) {
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  std::vector<PROPSHEETPAGEW> pages;
  OEMUIPSPARAM ps = {};
  ps.cbSize = sizeof ps;
  PROPSHEETUI_INFO info = printhost::InitSheetInfo(&pages, RecordPage, &ps);
  ASSERT_EQ(S_OK, plugin->DevicePropertySheets(&info, 0));
  ASSERT_EQ(1u, pages.size());
  EXPECT_EQ(IDD_ABOUT_PAGE, static_cast<int>(reinterpret_cast<ULONG_PTR>(pages[0].pszTemplate)));
  EXPECT_NE(0u, pages[0].dwFlags & PSP_USETITLE);
  EXPECT_NE(0u, pages[0].dwFlags & PSP_USECALLBACK);
  // The page runs in the module's own activation context (Common Controls 6).
  EXPECT_NE(0u, pages[0].dwFlags & PSP_USEFUSIONCONTEXT);
  EXPECT_NE(nullptr, pages[0].hActCtx);
  EXPECT_EQ(42u, info.Result);

  PROPSHEETUI_INFO_HEADER header = {};
  info.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
  ASSERT_EQ(S_OK, plugin->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header)));
  ASSERT_NE(nullptr, header.pTitle);
  EXPECT_STREQ(L"KVUI Page", header.pTitle);

  // With the core helper published, building the document sheet reads the
  // eleven features once, on the sheet's current settings, and adds the five
  // pages in order, each with help.
  printhost::FakeCoreHelper core;
  ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&core));
  UnidrvDevmode devmode;
  OEMDMPARAM dm = {};
  dm.cbSize = sizeof dm;
  dm.pPublicDMOut = devmode.pub();
  dm.pOEMDMOut = devmode.plugin();
  ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &dm));
  ps.hOEMHeap = GetProcessHeap();
  ps.pPublicDM = devmode.pub();
  ps.pOEMDM = devmode.plugin();
  info.Reason = PROPSHEETUI_REASON_INIT;
  pages.clear();
  ASSERT_EQ(S_OK, plugin->DocumentPropertySheets(&info, 0));
  ASSERT_EQ(S_OK, plugin->DocumentPropertySheets(&info, 0));
  const std::vector<std::string> features = {
      "Orientation", "ImageryType",    "LabelType",     "OutputRate",
      "PaperSize",   "ImageMirror",    "PrinterLanuage", "ImageNegative",
      "PrinterPaperOffset", "PrinterSetting", "OutputDensity"};
  EXPECT_EQ(features, core.enumerated);
  EXPECT_FALSE(core.sawDevmode);
  ASSERT_EQ(10u, pages.size());
  const int templates[] = {IDD_PAPER_PAGE, IDD_OPTIONS_PAGE, IDD_IMAGE_PAGE, IDD_PRINT_PARAMS_PAGE, IDD_ABOUT_PAGE};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(templates[i], static_cast<int>(reinterpret_cast<ULONG_PTR>(pages[i].pszTemplate)));
    EXPECT_NE(0u, pages[i].dwFlags & PSP_HASHELP);
    EXPECT_NE(0u, pages[i].dwFlags & PSP_USETITLE);
    EXPECT_NE(nullptr, pages[i].pszTitle);
  }
  // Without the core driver's heap there is no context and no page.
  ps.hOEMHeap = nullptr;
  pages.clear();
  EXPECT_EQ(E_OUTOFMEMORY, plugin->DocumentPropertySheets(&info, 0));
  EXPECT_TRUE(pages.empty());
  SetLastError(0);
  info.Version = 0x0200;
  EXPECT_EQ(E_FAIL, plugin->DocumentPropertySheets(&info, 0));
  EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError());
  plugin->Release();
}

// Three printers in one process, sheets built one after another: a class-0
// driver, a class-2 driver ("LX-223T "), and a driver no pattern names,
// which takes the configuration's Type (0) rather than the class the
// previous sheet found. Each sheet's Print parameters page stores its own
// modelClassValue.
TEST_F(PrintHost, SheetsOfPrintersOfDifferentClassesInOneProcessKeepTheirOwnClass) {
  struct Printer {
    const wchar_t* driver;
    const wchar_t* name;
    int32_t modelClassValue;
  };
  const Printer printers[] = {{L"LX-220 Class Host", L"LX Class Zero", 85},
                              {L"LX-223T Class Host", L"LX Class Two", 112},
                              {L"Class Host Unnamed", L"LX Class Unnamed", 85}};
  std::vector<HANDLE> handles;
  for (const Printer& p : printers) {
    HANDLE h = static_cast<HANDLE>(printhost::AddStubPrinter(L"lxclasshoststub.dll", p.driver, p.name));
    ASSERT_NE(nullptr, h) << GetLastError();
    handles.push_back(h);
  }
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  printhost::FakeCoreHelper core;
  ASSERT_EQ(S_OK, plugin->PublishDriverInterface(&core));
  std::vector<UnidrvDevmode> devmodes(3);
  for (int round = 0; round < 2; ++round)
    for (size_t i : {size_t{1}, size_t{2}, size_t{0}, size_t{2}}) {
      OEMDMPARAM dm = {};
      dm.cbSize = sizeof dm;
      dm.hPrinter = handles[i];
      dm.pPublicDMOut = devmodes[i].pub();
      dm.pOEMDMOut = devmodes[i].plugin();
      ASSERT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &dm));
      std::vector<PROPSHEETPAGEW> pages;
      OEMUIPSPARAM ps = {};
      ps.cbSize = sizeof ps;
      ps.hPrinter = handles[i];
      ps.hOEMHeap = GetProcessHeap();
      ps.pPublicDM = devmodes[i].pub();
      ps.pOEMDM = devmodes[i].plugin();
      PROPSHEETUI_INFO info = printhost::InitSheetInfo(&pages, RecordPage, &ps);
      ASSERT_EQ(S_OK, plugin->DocumentPropertySheets(&info, 0));
      ASSERT_EQ(5u, pages.size());
      int32_t value = 0;
      std::memcpy(&value, devmodes[i].plugin() + 0x6C, sizeof value);
      EXPECT_EQ(printers[i].modelClassValue, value) << i;
    }
  plugin->Release();
  for (HANDLE h : handles) {
    DeletePrinter(h);
    ClosePrinter(h);
  }
}

TEST_F(PrintHost, CanUnloadFollowsObjectsAndLocks) {
  EXPECT_EQ(S_OK, canUnloadNow_());
  IPrintOemUI2* plugin = Create();
  ASSERT_NE(nullptr, plugin);
  EXPECT_EQ(S_FALSE, canUnloadNow_());
  plugin->AddRef();
  plugin->Release();
  EXPECT_EQ(S_FALSE, canUnloadNow_());
  plugin->Release();
  EXPECT_EQ(S_OK, canUnloadNow_());

  IClassFactory* factory = nullptr;
  ASSERT_EQ(S_OK, getClassObject_(kClsid1, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
  // A class factory held keeps the module, as a lock does.
  EXPECT_EQ(S_FALSE, canUnloadNow_());
  factory->LockServer(TRUE);
  EXPECT_EQ(S_FALSE, canUnloadNow_());
  factory->LockServer(FALSE);
  EXPECT_EQ(S_FALSE, canUnloadNow_());
  factory->Release();
  EXPECT_EQ(S_OK, canUnloadNow_());
}

TEST_F(PrintHost, ModuleCarriesItsManifestAndVersion) {
  HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(2), MAKEINTRESOURCEW(24));
  ASSERT_NE(nullptr, found);
  const char* text = static_cast<const char*>(LockResource(LoadResource(module_, found)));
  std::string manifest(text, SizeofResource(module_, found));
  EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
  EXPECT_NE(std::string::npos, manifest.find("6595b64144ccf1df"));
  EXPECT_NE(std::string::npos, manifest.find("level=\"asInvoker\" uiAccess=\"false\""));

  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(module_, path, MAX_PATH);
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, info.data()));
  wchar_t* name = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\StringFileInfo\\040904B0\\OriginalFilename",
                             reinterpret_cast<void**>(&name), &length));
  EXPECT_STREQ(L"lx220ui.dll", name);
}

TEST(PrintHostAttach, MissingResourceModulesRefuseTheLoad) {
  // The plug-in under another base name finds no modules of that name.
  std::wstring error;
  const std::wstring folder = printhost::DriverDirectory() + L"\\3";
  const std::wstring copy = folder + L"\\phostnomodsui.dll";
  ASSERT_TRUE(CopyFileW((printhost::ProgramFolder() + L"\\lx220ui.dll").c_str(), copy.c_str(), FALSE));
  HMODULE module = LoadLibraryW(copy.c_str());
  EXPECT_EQ(nullptr, module);
  if (module != nullptr) FreeLibrary(module);
  DeleteFileW(copy.c_str());
}

// A copy of the plug-in under another base name in the driver folder, with
// those of its modules that `files` names ("enus", "bmp"), and its objects.
struct PluginCopy {
  std::wstring folder = printhost::DriverDirectory() + L"\\3";
  std::wstring base;
  std::vector<std::wstring> made;
  HMODULE module = nullptr;

  PluginCopy(const wchar_t* baseName, std::initializer_list<const wchar_t*> files) : base(baseName) {
    const std::wstring program = printhost::ProgramFolder();
    Copy(program + L"\\lx220ui.dll", base + L".dll");
    for (const wchar_t* part : files) Copy(program + L"\\lx220ui" + part + L".dll", base + part + L".dll");
  }
  ~PluginCopy() {
    if (module != nullptr) FreeLibrary(module);
    for (const std::wstring& path : made) DeleteFileW(path.c_str());
  }
  void Copy(const std::wstring& from, const std::wstring& name) {
    made.push_back(folder + L"\\" + name);
    EXPECT_TRUE(CopyFileW(from.c_str(), made.back().c_str(), FALSE));
  }
  bool Load() {
    module = LoadLibraryW((folder + L"\\" + base + L".dll").c_str());
    return module != nullptr;
  }
  // Whether `part`'s module is mapped as code in this process.
  bool Mapped(const wchar_t* part) const {
    return GetModuleHandleW((folder + L"\\" + base + part + L".dll").c_str()) != nullptr;
  }
  IPrintOemUI2* Create() {
    auto get = reinterpret_cast<printhost::GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    if (get == nullptr || get(kClsid1, IID_IClassFactory, reinterpret_cast<void**>(&factory)) != S_OK) return nullptr;
    IPrintOemUI2* plugin = nullptr;
    factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin));
    factory->Release();
    return plugin;
  }
};

// The printer sheet's one page: what the language and bitmap modules are
// first needed for.
HRESULT AddPrinterSheet(IPrintOemUI2* plugin, std::vector<PROPSHEETPAGEW>& pages) {
  OEMUIPSPARAM ps = {};
  ps.cbSize = sizeof ps;
  PROPSHEETUI_INFO info = printhost::InitSheetInfo(&pages, RecordPage, &ps);
  return plugin->DevicePropertySheets(&info, 0);
}

// Attach loads nothing: the modules come with the first answer that needs
// them, and a module that is missing then fails that answer, not the load.
TEST(PrintHostAttach, ModulesLoadAtTheFirstSheetNotAtAttach) {
  {
    PluginCopy copy(L"phostlzui", {L"enus", L"bmp"});
    ASSERT_TRUE(copy.Load()) << GetLastError();
    EXPECT_FALSE(copy.Mapped(L"bmp"));
    IPrintOemUI2* plugin = copy.Create();
    ASSERT_NE(nullptr, plugin);
    OEMDMPARAM param = {};
    param.cbSize = sizeof param;
    std::vector<BYTE> privateOnly(148, 0);
    param.pOEMDMOut = privateOnly.data();
    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_DEFAULT, &param));
    EXPECT_FALSE(copy.Mapped(L"bmp"));  // DEVMODE work needs no module
    std::vector<PROPSHEETPAGEW> pages;
    EXPECT_EQ(S_OK, AddPrinterSheet(plugin, pages));
    ASSERT_EQ(1u, pages.size());
    EXPECT_TRUE(copy.Mapped(L"bmp"));
    // The language module is mapped as an image resource, never as code.
    EXPECT_FALSE(copy.Mapped(L"enus"));
    EXPECT_NE(nullptr, FindResourceW(pages[0].hInstance, pages[0].pszTemplate, MAKEINTRESOURCEW(5)));
    EXPECT_EQ(0u, plugin->Release());
  }
  {
    PluginCopy copy(L"phostnolangui", {L"bmp"});
    ASSERT_TRUE(copy.Load()) << GetLastError();
    IPrintOemUI2* plugin = copy.Create();
    ASSERT_NE(nullptr, plugin);
    OEMDMPARAM param = {};
    param.cbSize = sizeof param;
    EXPECT_EQ(S_OK, plugin->DevMode(OEMDM_SIZE, &param));
    std::vector<PROPSHEETPAGEW> pages;
    for (int i = 0; i < 2; ++i) {  // and the second time alike
      EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), AddPrinterSheet(plugin, pages));
    }
    EXPECT_TRUE(pages.empty());
    EXPECT_EQ(0u, plugin->Release());
  }
}

// The first answers of a fresh module, asked by many threads at once: each
// gets its whole answer, and the modules are loaded once for all of them.
TEST(PrintHostAttach, FirstAnswersFromManyThreadsAtOnce) {
  PluginCopy copy(L"phostthui", {L"enus", L"bmp"});
  ASSERT_TRUE(copy.Load()) << GetLastError();
  constexpr int kThreads = 8;
  struct Seen {
    HRESULT devMode = E_FAIL, sheet = E_FAIL, caps = E_FAIL;
    std::vector<BYTE> privateOut = std::vector<BYTE>(148, 0);
    std::vector<PROPSHEETPAGEW> pages;
    DWORD papers = 0;
  };
  std::vector<Seen> seen(kThreads);
  std::vector<IPrintOemUI2*> plugins;
  for (int i = 0; i < kThreads; ++i) plugins.push_back(copy.Create());
  for (IPrintOemUI2* plugin : plugins) ASSERT_NE(nullptr, plugin);
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      WaitForSingleObject(go, INFINITE);
      Seen& mine = seen[i];
      OEMDMPARAM param = {};
      param.cbSize = sizeof param;
      param.pOEMDMOut = mine.privateOut.data();
      wchar_t device[] = L"LX-220 Label Printer";
      // Half start with the sheet, half with the DEVMODE.
      if (i % 2) mine.sheet = AddPrinterSheet(plugins[i], mine.pages);
      mine.devMode = plugins[i]->DevMode(OEMDM_DEFAULT, &param);
      mine.caps = plugins[i]->DeviceCapabilities(nullptr, nullptr, device, DC_PAPERS, nullptr, nullptr, nullptr, 0,
                                                 &mine.papers);
      if (!(i % 2)) mine.sheet = AddPrinterSheet(plugins[i], mine.pages);
    });
  }
  SetEvent(go);
  for (std::thread& t : threads) t.join();
  CloseHandle(go);
  auto expected = lx::testing::ExpectedDefaultPrivateDevmode();
  for (int i = 0; i < kThreads; ++i) {
    EXPECT_EQ(S_OK, seen[i].devMode) << i;
    EXPECT_EQ(0, std::memcmp(seen[i].privateOut.data(), expected.data(), expected.size())) << i;
    EXPECT_EQ(S_OK, seen[i].caps) << i;
    EXPECT_EQ(11u, seen[i].papers & 0xFFFF) << i;
    EXPECT_EQ(S_OK, seen[i].sheet) << i;
    ASSERT_EQ(1u, seen[i].pages.size()) << i;
    EXPECT_EQ(seen[0].pages[0].hInstance, seen[i].pages[0].hInstance) << i;
    EXPECT_EQ(seen[0].pages[0].hActCtx, seen[i].pages[0].hActCtx) << i;
  }
  for (IPrintOemUI2* plugin : plugins) EXPECT_EQ(0u, plugin->Release());
}

TEST(PrintHostAttach, SuffixWithoutItsModuleFallsBackToEnglish) {
  const std::wstring folder = printhost::DriverDirectory() + L"\\3";
  const std::wstring program = printhost::ProgramFolder();
  ASSERT_TRUE(CopyFileW((program + L"\\lx220ui.dll").c_str(), (folder + L"\\phostfbui.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((program + L"\\lx220uienus.dll").c_str(),
                        (folder + L"\\phostfbuienus.dll").c_str(), FALSE));
  ASSERT_TRUE(CopyFileW((program + L"\\lx220uibmp.dll").c_str(),
                        (folder + L"\\phostfbuibmp.dll").c_str(), FALSE));
  const char ini[] = "[DRIVER_TYPE]\r\nDrvierName=PrintHostTest\r\nModelName=Fallback\r\n";
  HANDLE file = CreateFileW((folder + L"\\phostfb.ini").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, file);
  DWORD written = 0;
  WriteFile(file, ini, sizeof ini - 1, &written, nullptr);
  CloseHandle(file);
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\PrintHostTest\\Fallback",
                                           0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr));
  const wchar_t suffix[] = L"jaJP";  // no module of that name exists
  RegSetValueExW(key, L"Suffix", 0, REG_SZ, reinterpret_cast<const BYTE*>(suffix), sizeof suffix);
  RegCloseKey(key);

  HMODULE module = LoadLibraryW((folder + L"\\phostfbui.dll").c_str());
  EXPECT_NE(nullptr, module) << GetLastError();
  if (module != nullptr) {
    // The English module stands in when the sheet first needs one.
    auto get = reinterpret_cast<printhost::GetClassObjectFn>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, get(kClsid1, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    IPrintOemUI2* plugin = nullptr;
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin)));
    factory->Release();
    std::vector<PROPSHEETPAGEW> pages;
    EXPECT_EQ(S_OK, AddPrinterSheet(plugin, pages));
    EXPECT_EQ(1u, pages.size());
    plugin->Release();
    FreeLibrary(module);
  }
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\PrintHostTest\\Fallback");
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\PrintHostTest");
  for (const wchar_t* name : {L"phostfbui.dll", L"phostfbuienus.dll", L"phostfbuibmp.dll", L"phostfb.ini"}) {
    DeleteFileW((folder + L"\\" + name).c_str());
  }
}

}  // namespace
