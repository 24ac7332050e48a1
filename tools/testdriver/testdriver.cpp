// Printer-driver configuration module for tests under Wine. Wine's spooler
// loads the configuration file of a printer's driver when a printer is added
// and whenever its document settings are asked for (DocumentPropertiesW); it
// calls DrvDocumentPropertySheets without checking that the export exists.
// This module answers with a DEVMODE of the label driver's size and shows no
// user interface.
#include <windows.h>
#include <winspool.h>
#include <compstui.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tools/testdriver/devmode_defaults.h"

namespace {

// Not declared by MinGW-w64's winddiui.h; layouts from the public DDI reference.
struct DocumentPropertyHeader {
  WORD cbSize;
  WORD Reserved;
  HANDLE hPrinter;
  LPWSTR pszPrinterName;
  PDEVMODEW pdmIn;
  PDEVMODEW pdmOut;
  DWORD cbOut;
  DWORD fMode;
};
static_assert(sizeof(void*) == 4 ? sizeof(DocumentPropertyHeader) == 28
                                 : sizeof(DocumentPropertyHeader) == 48,
              "DOCUMENTPROPERTYHEADER layout");

void Trace(const wchar_t* fmt, ...) {
  wchar_t line[512];
  va_list args;
  va_start(args, fmt);
  _vsnwprintf(line, 511, fmt, args);
  va_end(args);
  line[511] = 0;
  OutputDebugStringW(line);
}

// Re-entry guard: reading the printer's stored settings must not come back here.
thread_local bool g_readingStored = false;

// The printer's stored default DEVMODE when it is one of ours, so that settings
// written with SetPrinterW are what DocumentPropertiesW answers afterwards.
bool ReadStoredDevmode(HANDLE printer, LPWSTR name, DEVMODEW* out) {
  if (g_readingStored) return false;
  g_readingStored = true;
  bool found = false;
  HANDLE own = nullptr;
  if (!printer && name && OpenPrinterW(name, &own, nullptr)) printer = own;
  if (printer) {
    DWORD needed = 0;
    GetPrinterW(printer, 2, nullptr, 0, &needed);
    if (needed) {
      std::vector<BYTE> buf(needed);
      if (GetPrinterW(printer, 2, buf.data(), needed, &needed)) {
        auto* info = reinterpret_cast<PRINTER_INFO_2W*>(buf.data());
        if (lxtestdrv::IsOwnDevmode(info->pDevMode)) {
          std::memcpy(out, info->pDevMode, lxtestdrv::kTotalSize);
          found = true;
        }
      }
    }
  }
  if (own) ClosePrinter(own);
  g_readingStored = false;
  return found;
}

}  // namespace

extern "C" {

LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  if (info) {
    // A property-sheet request: this driver has no pages.
    Trace(L"lxtestdrv: DrvDocumentPropertySheets with sheet info, reason %d", (int)info->Reason);
    SetLastError(ERROR_NOT_SUPPORTED);
    return ERR_CPSUI_GETLASTERROR;
  }
  auto* dph = reinterpret_cast<DocumentPropertyHeader*>(lParam);
  if (!dph) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERR_CPSUI_GETLASTERROR;
  }
  Trace(L"lxtestdrv: DrvDocumentPropertySheets printer \"%ls\" fMode 0x%lx cbOut %lu in %p out %p",
        dph->pszPrinterName ? dph->pszPrinterName : L"", (unsigned long)dph->fMode,
        (unsigned long)dph->cbOut, (void*)dph->pdmIn, (void*)dph->pdmOut);
  if (dph->fMode == 0 || !dph->pdmOut) {
    dph->cbOut = lxtestdrv::kTotalSize;
    return lxtestdrv::kTotalSize;
  }
  if (dph->cbOut && dph->cbOut < lxtestdrv::kTotalSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return ERR_CPSUI_GETLASTERROR;
  }
  std::vector<BYTE> work(lxtestdrv::kTotalSize);
  auto* dm = reinterpret_cast<DEVMODEW*>(work.data());
  if (!ReadStoredDevmode(dph->hPrinter, dph->pszPrinterName, dm))
    lxtestdrv::FillDefaultDevmode(dm, dph->pszPrinterName);
  if ((dph->fMode & DM_IN_BUFFER) && dph->pdmIn) lxtestdrv::MergeDevmode(dm, dph->pdmIn);
  if (dph->fMode & (DM_OUT_BUFFER | DM_COPY)) std::memcpy(dph->pdmOut, dm, lxtestdrv::kTotalSize);
  return CPSUI_OK;
}

LONG WINAPI DrvDevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  Trace(L"lxtestdrv: DrvDevicePropertySheets");
  SetLastError(ERROR_NOT_SUPPORTED);
  return ERR_CPSUI_GETLASTERROR;
}

DWORD WINAPI DrvDeviceCapabilities(HANDLE printer, PWSTR deviceName, WORD capability,
                                   PVOID output, PDEVMODEW devmode) {
  Trace(L"lxtestdrv: DrvDeviceCapabilities %u", (unsigned)capability);
  switch (capability) {
    case DC_SIZE: return sizeof(DEVMODEW);
    case DC_EXTRA: return lxtestdrv::kPrivateSize;
    case DC_VERSION: return DM_SPECVERSION;
    case DC_DRIVER: return 0x0100;
    case DC_FIELDS: return DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_PRINTQUALITY | DM_YRESOLUTION;
    case DC_COPIES: return 999;
    case DC_ORIENTATION: return 90;
    case DC_PAPERS:
    case DC_PAPERNAMES:
    case DC_PAPERSIZE:
    case DC_BINS:
    case DC_BINNAMES:
    case DC_ENUMRESOLUTIONS:
      return 0;  // No lists: an empty answer, nothing written.
    default:
      return GDI_ERROR;
  }
}

BOOL WINAPI DrvConvertDevMode(LPWSTR printerName, PDEVMODEW in, PDEVMODEW out, PLONG needed,
                              DWORD mode) {
  Trace(L"lxtestdrv: DrvConvertDevMode mode %lu", (unsigned long)mode);
  SetLastError(ERROR_NOT_SUPPORTED);
  return FALSE;
}

BOOL WINAPI DrvPrinterEvent(LPWSTR printerName, INT event, DWORD flags, LPARAM lParam) {
  Trace(L"lxtestdrv: DrvPrinterEvent \"%ls\" %d", printerName ? printerName : L"", event);
  return TRUE;
}

BOOL WINAPI DrvDriverEvent(DWORD event, DWORD level, LPBYTE driverInfo, LPARAM lParam) {
  Trace(L"lxtestdrv: DrvDriverEvent %lu", (unsigned long)event);
  return TRUE;
}

BOOL WINAPI DevQueryPrintEx(PVOID info) {
  return TRUE;
}

}  // extern "C"
