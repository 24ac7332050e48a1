// Windows benchmarks, run under Wine by scripts/bench.sh: plug-in attach
// against a trivial COM DLL, the paper capabilities through the real DLL,
// and installer start-up to its first visible page against a trivial
// wizard. Prints "name nanoseconds" lines; ratios are taken per round, so
// both sides of a ratio see the same machine load.
#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "plugin/oem/oem_com.h"
#include "tests/win/process_driver.h"
#include "tools/printhost/driver_folder.h"

namespace {

using Clock = std::chrono::steady_clock;
using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using DevCapsFn = HRESULT(STDMETHODCALLTYPE*)(void*, PVOID, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID,
                                              DWORD, DWORD*);

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
const GUID kClsid = {0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
constexpr wchar_t kPrinter[] = L"LX Bench Printer";
constexpr wchar_t kDriver[] = L"LX Bench Driver";

double Ns(Clock::duration d) { return std::chrono::duration<double, std::nano>(d).count(); }

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

void Report(const char* name, double ns) { std::printf("%s %.0f\n", name, ns); }

// Load, class object, instance, release, unload: what a process pays to
// reach the module once.
bool AttachOnce(const std::wstring& path, const GUID& clsid) {
  HMODULE m = LoadLibraryW(path.c_str());
  if (!m) return false;
  auto get = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(m, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  IUnknown* object = nullptr;
  bool ok = get && get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)) == S_OK &&
            factory->CreateInstance(nullptr, IID_IUnknown, reinterpret_cast<void**>(&object)) == S_OK;
  if (object) object->Release();
  if (factory) factory->Release();
  FreeLibrary(m);
  return ok;
}

// Median per-attach time of `fn` over kRounds rounds of kPerRound calls.
constexpr int kRounds = 9, kPerRound = 20;

template <typename Fn>
std::vector<double> Rounds(Fn fn) {
  std::vector<double> out;
  for (int r = 0; r < kRounds; ++r) {
    auto t0 = Clock::now();
    for (int i = 0; i < kPerRound; ++i)
      if (!fn()) return {};
    out.push_back(Ns(Clock::now() - t0) / kPerRound);
  }
  return out;
}

// Plug-in attach against the trivial COM DLL, and `other` (another build of
// the plug-in, when given) beside them, taken in the same rounds; `tag`
// names the figures.
void BenchAttach(const std::wstring& plugin, const std::wstring& trivial, const std::wstring& other,
                 const char* tag) {
  std::vector<double> own, base, ratio, alt, altRatio;
  for (int r = 0; r < kRounds; ++r) {
    auto t0 = Clock::now();
    for (int i = 0; i < kPerRound; ++i)
      if (!AttachOnce(plugin, kClsid)) return (void)std::printf("attach_failed 0\n");
    auto t1 = Clock::now();
    for (int i = 0; i < kPerRound; ++i)
      if (!AttachOnce(trivial, kClsid)) return (void)std::printf("attach_failed 0\n");
    auto t2 = Clock::now();
    own.push_back(Ns(t1 - t0) / kPerRound);
    base.push_back(Ns(t2 - t1) / kPerRound);
    ratio.push_back(own.back() / base.back());
    if (other.empty()) continue;
    for (int i = 0; i < kPerRound; ++i)
      if (!AttachOnce(other, kClsid)) return (void)std::printf("attach_failed 0\n");
    alt.push_back(Ns(Clock::now() - t2) / kPerRound);
    altRatio.push_back(alt.back() / base.back());
  }
  std::printf("attach%s_plugin %.0f\n", tag, Median(own));
  std::printf("attach%s_trivial %.0f\n", tag, Median(base));
  std::printf("attach%s_ratio %.3f\n", tag, Median(ratio));
  if (other.empty()) return;
  std::printf("attach%s_other %.0f\n", tag, Median(alt));
  std::printf("attach%s_other_ratio %.3f\n", tag, Median(altRatio));
}

// The first DevMode call of a freshly attached plug-in (a default private
// DEVMODE), and its first printer sheet: what attach no longer does is paid
// there, once per process. Beside the trivial DLL's attach in the same rounds.
void BenchFirstAnswers(const std::wstring& plugin, const std::wstring& trivial) {
  std::vector<double> devMode, sheet, base, devModeRatio, sheetRatio;
  struct Pages {
    static LONG_PTR CALLBACK Add(HANDLE, UINT function, LPARAM, LPARAM) {
      return function == CPSFUNC_ADD_PROPSHEETPAGEW ? 1 : 0;
    }
  };
  for (int r = 0; r < kRounds; ++r) {
    double d = 0, p = 0;
    for (int i = 0; i < kPerRound; ++i) {
      HMODULE m = LoadLibraryW(plugin.c_str());
      if (!m) return (void)std::printf("first_failed 0\n");
      auto get = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(m, "DllGetClassObject")));
      IClassFactory* factory = nullptr;
      IPrintOemUI2* object = nullptr;
      if (get(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)) == S_OK)
        factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&object));
      if (factory) factory->Release();
      if (!object) {
        FreeLibrary(m);
        return (void)std::printf("first_failed 0\n");
      }
      BYTE privateOut[148] = {};
      OEMDMPARAM param = {};
      param.cbSize = sizeof param;
      param.pOEMDMOut = privateOut;
      auto t0 = Clock::now();
      HRESULT hr = object->DevMode(OEMDM_DEFAULT, &param);
      auto t1 = Clock::now();
      OEMUIPSPARAM ps = {};
      ps.cbSize = sizeof ps;
      PROPSHEETUI_INFO info = {};
      info.cbSize = sizeof info;
      info.Version = PROPSHEETUI_INFO_VERSION;
      info.Reason = PROPSHEETUI_REASON_INIT;
      info.pfnComPropSheet = Pages::Add;
      info.lParamInit = reinterpret_cast<LPARAM>(&ps);
      auto t2 = Clock::now();
      HRESULT sheetHr = object->DevicePropertySheets(&info, 0);
      auto t3 = Clock::now();
      object->Release();
      FreeLibrary(m);
      if (hr != S_OK || sheetHr != S_OK) return (void)std::printf("first_failed 0\n");
      d += Ns(t1 - t0);
      p += Ns(t3 - t2);
    }
    auto t4 = Clock::now();
    for (int i = 0; i < kPerRound; ++i)
      if (!AttachOnce(trivial, kClsid)) return (void)std::printf("first_failed 0\n");
    base.push_back(Ns(Clock::now() - t4) / kPerRound);
    devMode.push_back(d / kPerRound);
    sheet.push_back(p / kPerRound);
    devModeRatio.push_back(devMode.back() / base.back());
    sheetRatio.push_back(sheet.back() / base.back());
  }
  Report("first_devmode", Median(devMode));
  std::printf("first_devmode_ratio %.3f\n", Median(devModeRatio));
  Report("first_sheet", Median(sheet));
  std::printf("first_sheet_ratio %.3f\n", Median(sheetRatio));
  Report("first_trivial", Median(base));
}

// Where the time of the first answers goes: the pieces the plug-in once
// made at attach and now makes on first use, each alone, and the attach again with the system DLLs it imports already
// loaded (as in a process that prints), beside `other` when given.
void BenchAttachParts(const std::wstring& plugin, const std::wstring& trivial, const std::wstring& other) {
  std::wstring folder = plugin.substr(0, plugin.find_last_of(L"\\"));
  auto loadFree = [](const std::wstring& path) {
    HMODULE m = LoadLibraryW(path.c_str());
    if (!m) return false;
    FreeLibrary(m);
    return true;
  };
  // The language module as the plug-in maps it: an image resource.
  Report("attach_part_language_module", Median(Rounds([&] {
           HMODULE m = LoadLibraryExW((folder + L"\\lx220uienus.dll").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_IMAGE_RESOURCE | LOAD_LIBRARY_AS_DATAFILE);
           if (!m) return false;
           FreeLibrary(m);
           return true;
         })));
  Report("attach_part_bitmap_module", Median(Rounds([&] { return loadFree(folder + L"\\lx220uibmp.dll"); })));
  // The plug-in's own activation context, as its attach makes it.
  auto pluginContext = [&] {
    ACTCTXW c = {};
    c.cbSize = sizeof c;
    c.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    c.lpSource = plugin.c_str();
    c.lpResourceName = MAKEINTRESOURCEW(2);
    return CreateActCtxW(&c);
  };
  Report("attach_part_activation_context", Median(Rounds([&] {
           HANDLE h = pluginContext();
           if (h == INVALID_HANDLE_VALUE) return false;
           ReleaseActCtx(h);
           return true;
         })));
  // comctl32 as the plug-in's manifest binds its import: version 6.
  Report("attach_part_load_comctl32_v6", Median(Rounds([&] {
           HANDLE h = pluginContext();
           if (h == INVALID_HANDLE_VALUE) return false;
           ULONG_PTR cookie = 0;
           bool ok = ActivateActCtx(h, &cookie) && loadFree(L"comctl32.dll");
           DeactivateActCtx(0, cookie);
           ReleaseActCtx(h);
           return ok;
         })));
  for (const wchar_t* dll : {L"comctl32.dll", L"shell32.dll", L"setupapi.dll", L"shlwapi.dll"}) {
    char name[64];
    std::snprintf(name, sizeof name, "attach_part_load_%ls", dll);
    Report(name, Median(Rounds([&] { return loadFree(dll); })));
  }
  std::vector<HMODULE> held;
  for (const wchar_t* dll : {L"comctl32.dll", L"shell32.dll", L"setupapi.dll", L"shlwapi.dll"})
    held.push_back(LoadLibraryW(dll));
  {  // and comctl32 as the plug-in binds it
    ACTCTXW c = {};
    c.cbSize = sizeof c;
    c.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    c.lpSource = plugin.c_str();
    c.lpResourceName = MAKEINTRESOURCEW(2);
    HANDLE h = CreateActCtxW(&c);
    ULONG_PTR cookie = 0;
    if (h != INVALID_HANDLE_VALUE && ActivateActCtx(h, &cookie)) {
      held.push_back(LoadLibraryW(L"comctl32.dll"));
      DeactivateActCtx(0, cookie);
    }
    if (h != INVALID_HANDLE_VALUE) ReleaseActCtx(h);
  }
  BenchAttach(plugin, trivial, other, "_held");
  for (HMODULE m : held)
    if (m) FreeLibrary(m);
}

// A printer whose driver file is a stand-in, holding `count` papers in its
// printer data; false when Wine's spooler refuses.
bool AddPrinterWithPapers(size_t count) {
  HANDLE printer = printhost::AddStubPrinter(L"lxbenchstub.dll", kDriver, kPrinter);
  if (!printer) return false;
  // 124-byte records: number, its copy, name at 0x14, width and height at 0x54.
  std::vector<BYTE> block(count * 124);
  for (size_t i = 0; i < count; ++i) {
    BYTE* r = &block[i * 124];
    int32_t number = static_cast<int32_t>(i == 0 ? 256 : 1000 + i);
    std::memcpy(r, &number, 4);
    wchar_t name[32] = {};
    swprintf(name, 32, i == 0 ? L"custom" : L"bench label %05u", static_cast<unsigned>(i));
    std::memcpy(r + 0x14, name, sizeof name);
    float w = 20.0f + (i % 900) * 0.1f, h = 10.0f + i / 900;
    std::memcpy(r + 0x54, &w, 4);
    std::memcpy(r + 0x58, &h, 4);
  }
  DWORD size = static_cast<DWORD>(block.size());
  bool ok = SetPrinterDataW(printer, const_cast<LPWSTR>(L"PapersDataSize"), REG_DWORD,
                            reinterpret_cast<BYTE*>(&size), 4) == ERROR_SUCCESS &&
            SetPrinterDataW(printer, const_cast<LPWSTR>(L"PapersData"), REG_BINARY, block.data(), size) ==
                ERROR_SUCCESS;
  ClosePrinter(printer);
  return ok;
}

void DeleteBenchPrinter() {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (OpenPrinterW(const_cast<LPWSTR>(kPrinter), &printer, &defaults)) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
}

// The three paper capabilities through a freshly loaded module, whose
// store opens for `printer`; beside a memcpy of the bytes each answer holds.
void BenchCapabilities(const std::wstring& plugin, const wchar_t* printer, const char* label) {
  HMODULE m = LoadLibraryW(plugin.c_str());
  if (!m) return;
  auto get = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(m, "DllGetClassObject")));
  IClassFactory* factory = nullptr;
  IUnknown* object = nullptr;
  if (get(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)) == S_OK)
    factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&object));
  if (object) {
    auto caps = reinterpret_cast<DevCapsFn>((*reinterpret_cast<void***>(object))[10]);
    DWORD count = 0;
    caps(object, nullptr, nullptr, const_cast<LPWSTR>(printer), 2, nullptr, nullptr, nullptr, 0, &count);
    count &= 0xFFFF;
    std::printf("caps_%s_count %lu\n", label, static_cast<unsigned long>(count));
    struct Query { WORD code; size_t entry; const char* name; };
    for (Query q : {Query{2, 2, "papers"}, Query{3, 8, "papersize"}, Query{16, 128, "papernames"}}) {
      std::vector<BYTE> out(count * q.entry + 1), from(count * q.entry + 1, 1);
      std::vector<double> call, floor;
      for (int r = 0; r < 3; ++r) {
        DWORD result = 0;
        auto t0 = Clock::now();
        caps(object, nullptr, nullptr, const_cast<LPWSTR>(printer), q.code, out.data(), nullptr, nullptr, 0, &result);
        auto t1 = Clock::now();
        for (int i = 0; i < 100; ++i) std::memcpy(out.data(), from.data(), count * q.entry);
        auto t2 = Clock::now();
        call.push_back(Ns(t1 - t0));
        floor.push_back(Ns(t2 - t1) / 100);
      }
      std::printf("caps_%s_%s %.0f\n", label, q.name, Median(call));
      std::printf("caps_%s_%s_floor %.0f\n", label, q.name, Median(floor));
    }
    object->Release();
  }
  if (factory) factory->Release();
  FreeLibrary(m);
}

// From CreateProcess to the program's first visible dialog window.
double StartToFirstPage(const std::wstring& exe, const std::wstring& folder) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring cmd = L"\"" + exe + L"\"";
  auto t0 = Clock::now();
  if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi)) return -1;
  double took = -1;
  for (int i = 0; i < 30000; ++i) {
    HWND w = lx::testing::FindProcessWindow(pi.dwProcessId, L"#32770");
    if (w && IsWindowVisible(w)) {
      took = Ns(Clock::now() - t0);
      break;
    }
    Sleep(1);
  }
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 10000);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return took;
}

void BenchStartUp(const std::wstring& installer, const std::wstring& wizard) {
  std::wstring folder = lx::testing::MakeTempFolder(L"lxbench");
  std::wstring exe = folder + L"\\" + installer.substr(installer.find_last_of(L"\\/") + 1);
  if (!CopyFileW(installer.c_str(), exe.c_str(), FALSE)) return;
  HANDLE h = CreateFileW((folder + L"\\cfgSetup.ini").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  const char config[] = "[Debug]\r\nOpenDebug=0\r\n";
  DWORD done = 0;
  WriteFile(h, config, sizeof config - 1, &done, nullptr);
  CloseHandle(h);
  StartToFirstPage(exe, folder);  // first runs pay for cold files
  StartToFirstPage(wizard, folder);
  std::vector<double> own, base, ratio;
  for (int r = 0; r < 7; ++r) {
    double a = StartToFirstPage(exe, folder), b = StartToFirstPage(wizard, folder);
    if (a < 0 || b < 0) {
      // Which program showed no page, and in which round.
      std::printf("startup_failed 0\nstartup_failed_round %d\nstartup_failed_installer %d\n", r, a < 0 ? 1 : 0);
      return;
    }
    own.push_back(a);
    base.push_back(b);
    ratio.push_back(a / b);
  }
  Report("startup_installer", Median(own));
  Report("startup_trivial", Median(base));
  std::printf("startup_ratio %.3f\n", Median(ratio));
}

}  // namespace

// Arguments: the installer to start, then optionally "--compare" and another
// build of the plug-in (in a folder of its own) to attach beside this one;
// the other files lie beside this program.
int wmain(int argc, wchar_t** argv) {
  std::wstring other;
  if (argc > 3 && std::wstring(argv[2]) == L"--compare") other = argv[3];
  std::wstring here = printhost::ProgramFolder();
  std::wstring error;
  if (!printhost::InstallIntoDriverFolder({L"lx220ui.dll", L"lx220.ini", L"lx220uienus.dll", L"lx220uibmp.dll"},
                                          error)) {
    std::fwprintf(stderr, L"driver folder: %ls\n", error.c_str());
    return 1;
  }
  std::wstring plugin = printhost::DriverDirectory() + L"\\3\\lx220ui.dll";
  if (!other.empty()) {
    // The plug-in refuses to load without its bitmap module beside it: the
    // other build gets a folder of its own with this one's.
    std::wstring folder = lx::testing::MakeTempFolder(L"lxbenchcmp");
    if (!CopyFileW(other.c_str(), (folder + L"\\lx220ui.dll").c_str(), FALSE) ||
        !CopyFileW((here + L"\\lx220uibmp.dll").c_str(), (folder + L"\\lx220uibmp.dll").c_str(), FALSE)) {
      std::fwprintf(stderr, L"cannot lay out %ls\n", other.c_str());
      return 1;
    }
    other = folder + L"\\lx220ui.dll";
  }
  BenchAttach(plugin, here + L"\\bench_trivial_com.dll", other, "");
  BenchFirstAnswers(plugin, here + L"\\bench_trivial_com.dll");
  BenchAttachParts(plugin, here + L"\\bench_trivial_com.dll", other);
  BenchCapabilities(plugin, L"LX Bench No Such Printer", "11");
  if (AddPrinterWithPapers(2049)) {
    BenchCapabilities(plugin, kPrinter, "2049");
    DeleteBenchPrinter();
  }
  if (argc > 1) BenchStartUp(argv[1], here + L"\\bench_trivial_wizard.exe");
  std::fflush(stdout);
  return 0;
}
