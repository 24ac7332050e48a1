// The print host's hold on the real lx220ui.dll: loaded once per run from the
// printer-driver directory, as the core driver loads it, with the language
// suffix of the run in the registry value the plug-in reads.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "plugin/oem/oem_com.h"

namespace printhost {

// {ABCE80D7-9F46-11D1-882A-00C04FB961EC}
inline constexpr GUID kClsid1 = {0xabce80d7, 0x9f46, 0x11d1,
                                 {0x88, 0x2a, 0x00, 0xc0, 0x4f, 0xb9, 0x61, 0xec}};
// {91723892-45D2-48E2-9EC9-562379DAF992}
inline constexpr GUID kClsid2 = {0x91723892, 0x45d2, 0x48e2,
                                 {0x9e, 0xc9, 0x56, 0x23, 0x79, 0xda, 0xf9, 0x92}};

using GetClassObjectFn = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, LPVOID*);
using CanUnloadNowFn = HRESULT(STDAPICALLTYPE*)();

// "--suffix=ru" on the command line: the run writes that suffix where the
// installer would (HKLM "Software\Label Printer\LX-220", value "Suffix")
// before the plug-in loads, and puts back what was there afterwards. Empty
// when the run leaves the registry alone.
const std::wstring& RunSuffix();

// The language resource modules the print host installs beside the plug-in.
inline constexpr const wchar_t* kLanguageModules[] = {L"lx220uienus.dll", L"lx220uiru.dll",
                                                       L"lx220uizhcn.dll", L"lx220uija.dll"};

// The PROPSHEETUI_REASON_INIT call the core driver makes for a sheet: the
// callback gets `sheet` as hComPropSheet, the plug-in `ps` as lParamInit.
inline PROPSHEETUI_INFO InitSheetInfo(void* sheet, PFNCOMPROPSHEET callback, OEMUIPSPARAM* ps) {
  PROPSHEETUI_INFO info = {};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = reinterpret_cast<HANDLE>(sheet);
  info.pfnComPropSheet = callback;
  info.lParamInit = reinterpret_cast<LPARAM>(ps);
  return info;
}

class PrintHost : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;

  IPrintOemUI2* Create(const GUID& clsid = kClsid1);

  static HMODULE module_;
  static GetClassObjectFn getClassObject_;
  static CanUnloadNowFn canUnloadNow_;
};

}  // namespace printhost
