// Structures and constants of the Unidrv OEM UI plug-in interface (prcomoem.h
// and printoem.h of the Windows Driver Kit), which MinGW-w64 does not ship.
// One declaration for Windows and host builds; layouts are checked below.
#pragma once

#include <cstddef>
#include <cstdint>

#include "plugin/oem/win_types.h"

typedef struct _OEM_DMEXTRAHEADER {
  DWORD dwSize;
  DWORD dwSignature;
  DWORD dwVersion;
} OEM_DMEXTRAHEADER, *POEM_DMEXTRAHEADER;

typedef struct _OEMDMPARAM {
  DWORD cbSize;
  PVOID pdriverobj;
  HANDLE hPrinter;
  HANDLE hModule;
  PDEVMODEW pPublicDMIn;
  PDEVMODEW pPublicDMOut;
  PVOID pOEMDMIn;
  PVOID pOEMDMOut;
  DWORD cbBufSize;
} OEMDMPARAM, *POEMDMPARAM;

typedef struct _OEMUIPSPARAM {
  DWORD cbSize;
  PVOID poemuiobj;
  HANDLE hPrinter;
  LPWSTR pPrinterName;
  HANDLE hModule;
  HANDLE hOEMHeap;
  PDEVMODEW pPublicDM;
  PVOID pOEMDM;
  DWORD dwFlags;
  PVOID pOemEntry;
} OEMUIPSPARAM, *POEMUIPSPARAM;

typedef struct _PRINT_FEATURE_OPTION {
  PCSTR pszFeature;
  PCSTR pszOption;
} PRINT_FEATURE_OPTION, *PPRINT_FEATURE_OPTION;

// IPrintOemUI::GetInfo modes.
#define OEMGI_GETSIGNATURE 1
#define OEMGI_GETINTERFACEVERSION 2
#define OEMGI_GETVERSION 3
#define OEMGI_GETPUBLISHERINFO 4
#define OEMGI_GETREQUESTEDHELPERINTERFACES 5
#define OEMPUBLISH_IPRINTCOREHELPER 0x00000001

// IPrintOemUI::DevMode modes.
#define OEMDM_SIZE 1
#define OEMDM_DEFAULT 2
#define OEMDM_CONVERT 3
#define OEMDM_MERGE 4

// IPrintOemUI2::HideStandardUI modes.
#define OEMCUIP_DOCPROP 1
#define OEMCUIP_PRNPROP 2

// IPrintCoreHelper::SetOptions results.
#define SETOPTIONS_RESULT_NO_CONFLICT 0
#define SETOPTIONS_RESULT_CONFLICT_RESOLVED 1
#define SETOPTIONS_RESULT_CONFLICT_REMAINED 2

#ifndef PROPSHEETUI_INFO_VERSION
#define PROPSHEETUI_INFO_VERSION 0x0100
#endif

// The core driver hands these structures across the module boundary, so
// their layout must be Windows' on both word sizes.
static_assert(sizeof(DEVMODEW) == 220, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmSize) == 68, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmFields) == 72, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmOrientation) == 76, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmCopies) == 86, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmColor) == 92, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmCollate) == 100, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmFormName) == 102, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmLogPixels) == 166, "DEVMODEW layout");
static_assert(offsetof(DEVMODEW, dmPanningHeight) == 216, "DEVMODEW layout");
static_assert(sizeof(OEM_DMEXTRAHEADER) == 12, "OEM_DMEXTRAHEADER layout");
static_assert(sizeof(DOCEVENT_FILTER) == 20, "DOCEVENT_FILTER layout");
static_assert(offsetof(DOCEVENT_FILTER, aDocEventCall) == 16, "DOCEVENT_FILTER layout");

#if __SIZEOF_POINTER__ == 8
static_assert(sizeof(OEMDMPARAM) == 72, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, hPrinter) == 16, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, pPublicDMIn) == 32, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, pOEMDMOut) == 56, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, cbBufSize) == 64, "OEMDMPARAM layout");
static_assert(sizeof(OEMUIPSPARAM) == 80, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, hOEMHeap) == 40, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, pOEMDM) == 56, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, dwFlags) == 64, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, pOemEntry) == 72, "OEMUIPSPARAM layout");
static_assert(sizeof(PRINT_FEATURE_OPTION) == 16, "PRINT_FEATURE_OPTION layout");
static_assert(sizeof(PROPSHEETUI_INFO) == 48, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, lParamInit) == 24, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, Result) == 40, "PROPSHEETUI_INFO layout");
static_assert(sizeof(PROPSHEETUI_INFO_HEADER) == 40, "PROPSHEETUI_INFO_HEADER layout");
static_assert(offsetof(PROPSHEETUI_INFO_HEADER, pTitle) == 8, "PROPSHEETUI_INFO_HEADER layout");
static_assert(sizeof(SETRESULT_INFO) == 24, "SETRESULT_INFO layout");
static_assert(offsetof(SETRESULT_INFO, Result) == 16, "SETRESULT_INFO layout");
#else
static_assert(sizeof(OEMDMPARAM) == 36, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, hPrinter) == 8, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, pPublicDMIn) == 16, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, pOEMDMOut) == 28, "OEMDMPARAM layout");
static_assert(offsetof(OEMDMPARAM, cbBufSize) == 32, "OEMDMPARAM layout");
static_assert(sizeof(OEMUIPSPARAM) == 40, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, hOEMHeap) == 20, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, pOEMDM) == 28, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, dwFlags) == 32, "OEMUIPSPARAM layout");
static_assert(offsetof(OEMUIPSPARAM, pOemEntry) == 36, "OEMUIPSPARAM layout");
static_assert(sizeof(PRINT_FEATURE_OPTION) == 8, "PRINT_FEATURE_OPTION layout");
static_assert(sizeof(PROPSHEETUI_INFO) == 28, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, lParamInit) == 16, "PROPSHEETUI_INFO layout");
static_assert(offsetof(PROPSHEETUI_INFO, Result) == 24, "PROPSHEETUI_INFO layout");
static_assert(sizeof(PROPSHEETUI_INFO_HEADER) == 20, "PROPSHEETUI_INFO_HEADER layout");
static_assert(offsetof(PROPSHEETUI_INFO_HEADER, pTitle) == 4, "PROPSHEETUI_INFO_HEADER layout");
static_assert(sizeof(SETRESULT_INFO) == 12, "SETRESULT_INFO layout");
static_assert(offsetof(SETRESULT_INFO, Result) == 8, "SETRESULT_INFO layout");
#endif
