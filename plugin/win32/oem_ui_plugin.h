// The plug-in object the core driver talks to through IPrintOemUI2.
#pragma once

#include <memory>

#include "plugin/core/features.h"
#include "plugin/oem/oem_com.h"
#include "plugin/win32/core_helper_features.h"

namespace lx {

class ModuleContext;

class OemUiPlugin final : public IPrintOemUI2 {
 public:
  explicit OemUiPlugin(ModuleContext& module);

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IPrintOemCommon
  HRESULT STDMETHODCALLTYPE GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) override;
  HRESULT STDMETHODCALLTYPE DevMode(DWORD mode, POEMDMPARAM param) override;
  // IPrintOemUI
  HRESULT STDMETHODCALLTYPE PublishDriverInterface(IUnknown* core) override;
  HRESULT STDMETHODCALLTYPE CommonUIProp(DWORD mode, PVOID param) override;
  HRESULT STDMETHODCALLTYPE DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE DevQueryPrintEx(PVOID, PVOID, PDEVMODEW, PVOID) override;
  HRESULT STDMETHODCALLTYPE DeviceCapabilities(PVOID, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID,
                                               DWORD, DWORD*) override;
  HRESULT STDMETHODCALLTYPE UpgradePrinter(DWORD, PBYTE) override;
  HRESULT STDMETHODCALLTYPE PrinterEvent(PWSTR printerName, INT event, DWORD flags,
                                         LPARAM lParam) override;
  HRESULT STDMETHODCALLTYPE DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override;
  HRESULT STDMETHODCALLTYPE QueryColorProfile(HANDLE, PVOID, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*,
                                              FLONG*) override;
  HRESULT STDMETHODCALLTYPE FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override;
  HRESULT STDMETHODCALLTYPE UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override;
  // IPrintOemUI2
  HRESULT STDMETHODCALLTYPE QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override;
  HRESULT STDMETHODCALLTYPE HideStandardUI(DWORD mode) override;
  HRESULT STDMETHODCALLTYPE DocumentEvent(HANDLE printer, HDC dc, INT event, ULONG cbIn, PVOID in,
                                          ULONG cbOut, PVOID out, PINT result) override;

 private:
  virtual ~OemUiPlugin();
  // The work of the methods of the same names, inside their barriers.
  HRESULT AnswerDevModeOfModule(DWORD mode, POEMDMPARAM param);
  HRESULT KeepCoreInterface(IUnknown* core);
  HRESULT AddDocumentPages(PPROPSHEETUI_INFO info, LPARAM lParam);
  HRESULT AddPrinterPages(PPROPSHEETUI_INFO info, LPARAM lParam);

  ModuleContext& module_;
  volatile LONG refs_ = 1;
  IPrintCoreHelper* core_ = nullptr;  // one reference, released with the object
  std::unique_ptr<CoreHelperFeatures> coreFeatures_;
  FeatureSet features_;
};

}  // namespace lx
