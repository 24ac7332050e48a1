// The real lx220ui.dll under Wine with a printer in Wine's spooler: the
// core driver's paper queries, the DEVMODE merge and the printer events all
// reach the module's paper store.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <string>
#include <vector>

#include "plugin/oem/oem_com.h"
#include "tools/printhost/driver_folder.h"

namespace {

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
const GUID kClsid = {0xabce80d7, 0x9f46, 0x11d1, {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
constexpr wchar_t kPrinter[] = L"LX Paper Host Printer";
constexpr wchar_t kDriver[] = L"LX Paper Host Driver";

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using DevCapsFn = HRESULT(STDMETHODCALLTYPE*)(void*, PVOID, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID,
                                              DWORD, DWORD*);
using PrinterEventFn = HRESULT(STDMETHODCALLTYPE*)(void*, PWSTR, INT, DWORD, LPARAM);
using DevModeFn = HRESULT(STDMETHODCALLTYPE*)(void*, DWORD, POEMDMPARAM);

template <typename Fn>
Fn Slot(IUnknown* object, int index) {
  return reinterpret_cast<Fn>((*reinterpret_cast<void***>(object))[index]);
}

std::wstring SharedPaperFile() {
  wchar_t folder[MAX_PATH] = {};
  DWORD n = GetEnvironmentVariableW(L"ProgramData", folder, MAX_PATH);
  return std::wstring(folder, n) + L"\\ZORVIKA\\LX-220\\lx220uip.ini";
}

// A printer whose driver file is a stand-in: printer data needs no driver code.
bool AddWinePrinter() {
  HANDLE printer = printhost::AddStubPrinter(L"lxpaperhoststub.dll", kDriver, kPrinter);
  if (printer) ClosePrinter(printer);
  return printer != nullptr;
}

void DeleteWinePrinter() {
  PRINTER_DEFAULTSW defaults{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (OpenPrinterW(const_cast<LPWSTR>(kPrinter), &printer, &defaults)) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
}

class PluginPapers : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    std::wstring error;
    ASSERT_TRUE(printhost::InstallIntoDriverFolder(
        {L"lx220ui.dll", L"lx220.ini", L"lx220uienus.dll", L"lx220uibmp.dll"}, error))
        << std::string(error.begin(), error.end());
    DeleteFileW(SharedPaperFile().c_str());
    DeleteWinePrinter();
    ASSERT_TRUE(AddWinePrinter()) << GetLastError();
    module_ = LoadLibraryW((printhost::DriverDirectory() + L"\\3\\lx220ui.dll").c_str());
    ASSERT_NE(nullptr, module_) << GetLastError();
  }
  static void TearDownTestSuite() {
    DeleteWinePrinter();
    if (module_) FreeLibrary(module_);
  }

  void SetUp() override {
    ASSERT_NE(nullptr, module_);
    auto get = reinterpret_cast<GetClassObjectFn>(reinterpret_cast<void*>(GetProcAddress(module_, "DllGetClassObject")));
    ASSERT_NE(nullptr, get);
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, get(kClsid, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void**>(&plugin_)));
    factory->Release();
  }
  void TearDown() override {
    if (plugin_) plugin_->Release();
  }

  HRESULT Caps(WORD code, void* out, DWORD* result) {
    return Slot<DevCapsFn>(plugin_, 10)(plugin_, nullptr, nullptr, const_cast<LPWSTR>(kPrinter), code, out,
                                        nullptr, nullptr, 0, result);
  }

  static HMODULE module_;
  IPrintOemUI2* plugin_ = nullptr;
};

HMODULE PluginPapers::module_ = nullptr;

TEST_F(PluginPapers, PaperQueriesAnswerFromTheStore) {
  DWORD result = 0x77770000;
  ASSERT_EQ(S_OK, Caps(DC_PAPERS, nullptr, &result));
  EXPECT_EQ(result, 0x7777000Bu);

  WORD numbers[11] = {};
  ASSERT_EQ(S_OK, Caps(DC_PAPERS, numbers, &result));
  EXPECT_EQ(numbers[0], 256);
  EXPECT_EQ(numbers[4], 122);  // a fresh store keeps the creation order

  POINT sizes[11] = {};
  ASSERT_EQ(S_OK, Caps(DC_PAPERSIZE, sizes, &result));
  EXPECT_EQ(sizes[4].x, 762);
  EXPECT_EQ(sizes[4].y, 1016);

  std::vector<wchar_t> names(11 * 64, L'#');
  ASSERT_EQ(S_OK, Caps(DC_PAPERNAMES, names.data(), &result));
  EXPECT_STREQ(names.data() + 64, L"2_x_4");

  ASSERT_EQ(S_OK, Caps(DC_MINEXTENT, nullptr, &result));
  EXPECT_EQ(result, 36u * 65536 + 300);
  result = 42;
  EXPECT_EQ(E_NOTIMPL, Caps(DC_BINS, nullptr, &result));
  EXPECT_EQ(result, 42u);
}

TEST_F(PluginPapers, MergeTakesTheSizeOfAStoredPaper) {
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter), &printer, nullptr));
  auto devMode = Slot<DevModeFn>(plugin_, 4);
  std::vector<BYTE> privIn(148), privOut(148);
  OEMDMPARAM param = {};
  param.cbSize = sizeof param;
  param.hPrinter = printer;
  param.pOEMDMOut = privIn.data();
  ASSERT_EQ(S_OK, devMode(plugin_, OEMDM_DEFAULT, &param));
  DEVMODEW in = {}, out = {};
  in.dmSize = out.dmSize = sizeof(DEVMODEW);
  in.dmFields = DM_PAPERSIZE;
  in.dmPaperSize = 122;
  param.pPublicDMIn = &in;
  param.pPublicDMOut = &out;
  param.pOEMDMIn = privIn.data();
  param.pOEMDMOut = privOut.data();
  ASSERT_EQ(S_OK, devMode(plugin_, OEMDM_MERGE, &param));
  EXPECT_EQ(out.dmPaperWidth, 762);
  EXPECT_EQ(out.dmPaperLength, 1016);
  EXPECT_STREQ(out.dmFormName, L"3_x_4");
  ClosePrinter(printer);
}

TEST_F(PluginPapers, PrinterEventsSaveTheListAndEmptyTheSharedFile) {
  auto event = Slot<PrinterEventFn>(plugin_, 12);
  EXPECT_EQ(E_NOTIMPL, event(plugin_, const_cast<LPWSTR>(kPrinter), 3 /*INITIALIZE*/, 0, 0));
  HANDLE printer = nullptr;
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(kPrinter), &printer, nullptr));
  DWORD type = 0, size = 0, needed = 0;
  EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS),
            GetPrinterDataW(printer, const_cast<LPWSTR>(L"PapersDataSize"), &type,
                            reinterpret_cast<BYTE*>(&size), 4, &needed));
  EXPECT_EQ(size, 1364u);
  ClosePrinter(printer);

  const std::wstring file = SharedPaperFile();
  ASSERT_TRUE(WritePrivateProfileStringW(kPrinter, L"PapersDataSize", L"0", file.c_str()));
  EXPECT_EQ(E_NOTIMPL, event(plugin_, const_cast<LPWSTR>(kPrinter), 4 /*DELETE*/, 0, 0));
  // The file stays, empty, with the permissions that let every user save.
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  ASSERT_TRUE(GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data));
  EXPECT_EQ(data.nFileSizeLow, 0u);
}

}  // namespace
