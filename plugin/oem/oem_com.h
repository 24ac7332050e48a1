// The COM interfaces between the Unidrv core driver and its UI plug-ins
// (prcomoem.h), in the vtable order of the published header, with their
// interface identifiers. Windows only.
#pragma once

#ifndef _WIN32
#error "COM interfaces exist only in Windows builds"
#endif

#include <objbase.h>
#include <unknwn.h>
#include <winspool.h>

// winspool.h maps these names to its W functions; here they are methods.
#undef DocumentEvent
#undef DeviceCapabilities

#include "plugin/oem/oem_types.h"

// {C6A7A9D0-774C-11D1-947F-00A0C90640B8}
inline constexpr GUID IID_IPrintOemUI = {0xc6a7a9d0, 0x774c, 0x11d1,
                                         {0x94, 0x7f, 0x00, 0xa0, 0xc9, 0x06, 0x40, 0xb8}};
// {292515F9-B54B-489B-9275-BAB56821395E}
inline constexpr GUID IID_IPrintOemUI2 = {0x292515f9, 0xb54b, 0x489b,
                                          {0x92, 0x75, 0xba, 0xb5, 0x68, 0x21, 0x39, 0x5e}};
// {A89EC53E-3905-49C6-9C1A-C0A88117FDB6}
inline constexpr GUID IID_IPrintCoreHelper = {0xa89ec53e, 0x3905, 0x49c6,
                                              {0x9c, 0x1a, 0xc0, 0xa8, 0x81, 0x17, 0xfd, 0xb6}};

// Base of IPrintOemUI: the two methods every OEM plug-in kind shares.
struct IPrintOemCommon : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize,
                                            PDWORD pcbNeeded) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) = 0;
};

struct IPrintOemUI : public IPrintOemCommon {
  virtual HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* pIUnknown) = 0;
  virtual HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD dwMode, PVOID pOemCUIPParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                           LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo,
                                                         LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DevQueryPrintEx(PVOID poemuiobj, PVOID pDQPInfo,
                                                    PDEVMODEW pPublicDM, PVOID pOEMDM) = 0;
  virtual HRESULT STDMETHODCALLTYPE DeviceCapabilities(PVOID poemuiobj, HANDLE hPrinter,
                                                       PWSTR pDeviceName, WORD wCapability,
                                                       PVOID pOutput, PDEVMODEW pPublicDM,
                                                       PVOID pOEMDM, DWORD dwOld,
                                                       DWORD* dwResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR pPrinterName, INT iDriverEvent,
                                                 DWORD dwFlags, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE DriverEvent(DWORD dwDriverEvent, DWORD dwLevel,
                                                LPBYTE pDriverInfo, LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE hPrinter, PVOID poemuiobj,
                                                      PDEVMODEW pPublicDM, PVOID pOEMDM,
                                                      ULONG ulQueryMode, VOID* pvProfileData,
                                                      ULONG* pcbProfileData,
                                                      FLONG* pflProfileData) = 0;
  virtual HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND hWnd, UINT usMsg, WPARAM wParam,
                                                         LPARAM lParam) = 0;
  virtual HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE hPrinter, HANDLE hHeap,
                                                        PWSTR pwstrCartridges) = 0;
};

struct IPrintOemUI2 : public IPrintOemUI {
  virtual HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE hPrinter, PDEVMODEW pDevmode,
                                                       DWORD dwLevel,
                                                       LPBYTE lpAttributeInfo) = 0;
  virtual HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD dwMode) = 0;
  virtual HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc,
                                                  ULONG cbIn, PVOID pvIn, ULONG cbOut,
                                                  PVOID pvOut, PINT piResult) = 0;
};

struct IPrintCoreHelper : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetOption(const DEVMODEW* pDevmode, DWORD cbSize,
                                              PCSTR pszFeatureRequested, PCSTR* ppszOption) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOptions(DEVMODEW* pDevmode, DWORD cbSize,
                                               BOOL bResolveConflicts,
                                               const PRINT_FEATURE_OPTION* pFOPairs,
                                               DWORD cPairs, DWORD* pcPairsWritten,
                                               DWORD* pdwResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumConstrainedOptions(const DEVMODEW* pDevmode,
                                                           DWORD cbSize,
                                                           PCSTR pszFeatureKeyword,
                                                           PCSTR** pConstrainedOptionList,
                                                           DWORD* pdwNumOptions) = 0;
  virtual HRESULT STDMETHODCALLTYPE WhyConstrained(const DEVMODEW* pDevmode, DWORD cbSize,
                                                   PCSTR pszFeatureKeyword,
                                                   PCSTR pszOptionKeyword,
                                                   const PRINT_FEATURE_OPTION** ppFOConstraints,
                                                   DWORD* pdwNumOptions) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumFeatures(PCSTR** pFeatureList,
                                                 DWORD* pdwNumFeatures) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumOptions(PCSTR pszFeatureKeyword, PCSTR** pOptionList,
                                                DWORD* pdwNumOptions) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFontSubstitution(PCWSTR pszTrueTypeFontName,
                                                        PCWSTR* ppszDevFontName) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetFontSubstitution(PCWSTR pszTrueTypeFontName,
                                                        PCWSTR pszDevFontName) = 0;
  virtual HRESULT STDMETHODCALLTYPE CreateInstanceOfMSXMLObject(REFCLSID rclsid,
                                                                LPUNKNOWN pUnkOuter,
                                                                DWORD dwClsContext, REFIID riid,
                                                                LPVOID* ppv) = 0;
};
