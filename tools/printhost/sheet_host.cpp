// The print host as a program that shows the plug-in's pages in a real
// property sheet, for a test in another process to drive as a user would:
//   printhost_sheet --sheet=document|printer --printer=<name> --out=<file>
// It loads lx220ui.dll from the driver directory as the core driver does,
// builds the sheet through DocumentPropertySheets or DevicePropertySheets
// and runs it modally. Once the sheet is closed it writes <file>: the public
// DEVMODE (dmSize bytes), the plug-in's 148 bytes, then one text line each
// for the pages added, every sheet result and each feature's option.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "plugin/oem/oem_com.h"
#include "tools/printhost/driver_folder.h"
#include "tools/printhost/fake_core_helper.h"
#include "tools/printhost/host_sheet.h"

namespace {

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
const GUID kClsid = {0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
constexpr size_t kCorePart = 0x2E0;  // the core driver's own private part
constexpr const char* kFeatures[] = {"Orientation",   "ImageryType",        "LabelType",      "OutputRate",
                                     "PaperSize",     "ImageMirror",        "PrinterLanuage", "ImageNegative",
                                     "PrinterPaperOffset", "PrinterSetting", "OutputDensity"};

std::wstring Argument(const wchar_t* name) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring prefix = std::wstring(L"--") + name + L"=", value;
  for (int i = 1; argv != nullptr && i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg.rfind(prefix, 0) == 0) value = arg.substr(prefix.size());
  }
  LocalFree(argv);
  return value;
}

int Fail(const char* what) {
  std::fprintf(stderr, "printhost_sheet: %s (error %lu)\n", what, GetLastError());
  return 2;
}

}  // namespace

int wmain() {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&controls);
  const std::wstring sheetKind = Argument(L"sheet"), printerName = Argument(L"printer"), out = Argument(L"out");
  if (out.empty() || printerName.empty()) return Fail("usage: --sheet= --printer= --out=");

  HMODULE module = LoadLibraryW((printhost::DriverDirectory() + L"\\3\\lx220ui.dll").c_str());
  if (module == nullptr) return Fail("cannot load lx220ui.dll");
  auto getClassObject =
      reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  IPrintOemUI2* plugin = nullptr;
  if (getClassObject == nullptr || FAILED(getClassObject(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) ||
      FAILED(factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin)))) {
    return Fail("no plug-in object");
  }
  factory->Release();
  printhost::FakeCoreHelper core;
  plugin->PublishDriverInterface(&core);

  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(printerName.c_str()), &printer, nullptr)) return Fail("cannot open the printer");

  // The DEVMODE as Unidrv lays it out, with the plug-in's defaults.
  std::vector<BYTE> devmode(sizeof(DEVMODEW) + kCorePart + 148);
  auto* pub = reinterpret_cast<DEVMODEW*>(devmode.data());
  BYTE* own = devmode.data() + sizeof(DEVMODEW) + kCorePart;
  pub->dmSize = sizeof(DEVMODEW);
  pub->dmDriverExtra = static_cast<WORD>(kCorePart + 148);
  lstrcpynW(pub->dmDeviceName, printerName.c_str(), CCHDEVICENAME);
  OEMDMPARAM dm = {};
  dm.cbSize = sizeof dm;
  dm.hPrinter = printer;
  dm.pPublicDMOut = pub;
  dm.pOEMDMOut = own;
  plugin->DevMode(OEMDM_DEFAULT, &dm);

  printhost::HostSheet sheet;
  OEMUIPSPARAM param = {};
  param.cbSize = sizeof param;
  param.hPrinter = printer;
  param.hOEMHeap = HeapCreate(0, 0, 0);
  param.pPublicDM = pub;
  param.pOEMDM = own;
  PROPSHEETUI_INFO info = {};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = sheet.handle();
  info.pfnComPropSheet = printhost::HostSheet::Function;
  info.lParamInit = reinterpret_cast<LPARAM>(&param);
  HRESULT built = sheetKind == L"printer" ? plugin->DevicePropertySheets(&info, 0)
                                          : plugin->DocumentPropertySheets(&info, 0);
  if (FAILED(built)) return Fail("the plug-in built no sheet");
  const size_t pages = sheet.pages.size();
  std::vector<std::wstring> titles = sheet.titles;
  INT_PTR shown = sheet.Show(sheetKind == L"printer" ? L"Printer properties" : L"Printing preferences");

  FILE* file = _wfopen(out.c_str(), L"wb");
  if (file == nullptr) return Fail("cannot write the result");
  std::fwrite(pub, 1, sizeof(DEVMODEW), file);
  std::fwrite(own, 1, 148, file);
  std::fprintf(file, "\nshown=%d\npages=%u\n", static_cast<int>(shown), static_cast<unsigned>(pages));
  for (const std::wstring& title : titles) std::fprintf(file, "title=%ls\n", title.c_str());
  for (LPARAM result : sheet.results) std::fprintf(file, "result=%ld\n", static_cast<long>(result));
  for (const char* feature : kFeatures) {
    PCSTR option = nullptr;
    if (SUCCEEDED(core.GetOption(nullptr, 0, feature, &option)) && option) std::fprintf(file, "%s=%s\n", feature, option);
  }
  std::fclose(file);

  info.Reason = PROPSHEETUI_REASON_DESTROY;
  plugin->DocumentPropertySheets(&info, 0);
  plugin->Release();
  ClosePrinter(printer);
  return 0;
}
