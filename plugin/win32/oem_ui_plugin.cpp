#include "plugin/win32/oem_ui_plugin.h"

#include <prsht.h>
#include <winspool.h>

#include <new>
#include <vector>

#include "platform/win32/wide.h"
#include "plugin/core/frame_logic.h"
#include "plugin/core/model_table.h"
#include "plugin/core/option_table.h"
#include "plugin/capabilities/device_capabilities.h"
#include "plugin/papers/paper_lookup_adapter.h"
#include "plugin/papers/paper_printer_event.h"
#include "plugin/papers/win32/module_papers.h"
#include "plugin/resources/resource_ids.h"
#include "plugin/win32/module_bitmaps.h"
#include "plugin/win32/module_state.h"

namespace lx {

namespace {

HRESULT Finish(FrameResult r) {
  if (r.lastError != 0) ::SetLastError(r.lastError);
  return r.hr;
}


std::u16string LoadModuleString(unsigned id) {
  const wchar_t* text = nullptr;
  int n = ::LoadStringW(Module().resources, id, reinterpret_cast<LPWSTR>(&text), 0);
  return n > 0 && text != nullptr ? U(text, static_cast<size_t>(n)) : std::u16string();
}

// The printer's driver name decides the model class each time the document
// pages are built.
void RefineModelClass(HANDLE printer) {
  DWORD needed = 0;
  ::GetPrinterW(printer, 2, nullptr, 0, &needed);
  if (needed == 0) return;
  std::vector<BYTE> buffer(needed);
  if (!::GetPrinterW(printer, 2, buffer.data(), needed, &needed)) return;
  const auto* info = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
  if (info->pDriverName == nullptr) return;
  std::u16string driver = U(info->pDriverName).substr(0, 31);
  TraceW(driver);
  Module().modelClass = ApplyModelTable(driver, Module().modelClass);
}

UINT CALLBACK AboutPageCallback(HWND, UINT, LPPROPSHEETPAGEW) { return 1; }

// The printer sheet's About page. Its content (driver texts, support link,
// help) is filled by the About page itself; the frame only adds it.
INT_PTR CALLBACK AboutPageProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG ? TRUE : FALSE;
}

}  // namespace

OemUiPlugin::OemUiPlugin() { ::InterlockedIncrement(&Module().liveObjects); }

OemUiPlugin::~OemUiPlugin() {
  if (core_ != nullptr) core_->Release();
  ::InterlockedDecrement(&Module().liveObjects);
}

HRESULT OemUiPlugin::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  // Only the second version of the interface: the core driver then calls
  // HideStandardUI and DocumentEvent, which the pages rely on.
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPrintOemUI2)) {
    *out = static_cast<IPrintOemUI2*>(this);
    AddRef();
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

ULONG OemUiPlugin::AddRef() { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }

ULONG OemUiPlugin::Release() {
  LONG left = ::InterlockedDecrement(&refs_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT OemUiPlugin::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
  return Finish(AnswerGetInfo(mode, buffer, size, needed));
}

HRESULT OemUiPlugin::DevMode(DWORD mode, POEMDMPARAM param) {
  HANDLE printer = param != nullptr ? param->hPrinter : nullptr;
  // The module's paper store; the printer's name is read only when the
  // merge needs a store that does not exist yet.
  PaperStoreLookup papers(ModulePapers(), [printer] { return PrinterNameOfHandle(printer); });
  return Finish(AnswerDevMode(mode, param, &papers));
}

HRESULT OemUiPlugin::PublishDriverInterface(IUnknown* core) {
  if (core_ != nullptr) return S_OK;
  if (core == nullptr) return E_FAIL;
  IPrintCoreHelper* helper = nullptr;
  HRESULT hr = core->QueryInterface(IID_IPrintCoreHelper, reinterpret_cast<void**>(&helper));
  if (FAILED(hr) || helper == nullptr) {
    core_ = nullptr;
    return E_FAIL;
  }
  core_ = helper;
  coreFeatures_.reset(new (std::nothrow) CoreHelperFeatures(core_));
  return hr;
}

HRESULT OemUiPlugin::CommonUIProp(DWORD, PVOID) { return S_OK; }

HRESULT OemUiPlugin::DocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  auto addPages = [this](PROPSHEETUI_INFO& sheet) -> PageAddOutcome {
    if (core_ == nullptr || coreFeatures_ == nullptr) return {S_OK, false, 0};
    auto* param = reinterpret_cast<OEMUIPSPARAM*>(sheet.lParamInit);
    if (param != nullptr) RefineModelClass(param->hPrinter);
    ReadFeatures(features_, coreFeatures_.get(), ModuleOptionTable(LoadModuleString));
    FillDocumentPageBitmaps();
    // The document pages add themselves here once they exist; until then the
    // sheet shows none of ours.
    return {S_OK, false, 0};
  };
  return Finish(AnswerPropertySheets(info, lParam, addPages));
}

HRESULT OemUiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  auto addPages = [](PROPSHEETUI_INFO& sheet) -> PageAddOutcome {
    auto* param = reinterpret_cast<OEMUIPSPARAM*>(sheet.lParamInit);
    if (sheet.pfnComPropSheet == nullptr) return {S_OK, false, 0};
    std::u16string title = LoadModuleString(IDS_ABOUT_TITLE);
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_USETITLE | PSP_USECALLBACK;
    page.hInstance = Module().resources;
    page.pszTemplate = MAKEINTRESOURCEW(IDD_ABOUT_PAGE);
    page.pszTitle = W(title);
    page.pfnDlgProc = AboutPageProc;
    page.pfnCallback = AboutPageCallback;
    page.lParam = reinterpret_cast<LPARAM>(param != nullptr ? param->hPrinter : nullptr);
    if (Module().activationContext != INVALID_HANDLE_VALUE) {
      page.dwFlags |= PSP_USEFUSIONCONTEXT;
      page.hActCtx = Module().activationContext;
    }
    LONG_PTR added = sheet.pfnComPropSheet(sheet.hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW,
                                           reinterpret_cast<LPARAM>(&page), 0);
    if (added <= 0) return {S_OK, false, 0};
    return {S_OK, true, added};
  };
  return Finish(AnswerPropertySheets(info, lParam, addPages));
}

HRESULT OemUiPlugin::DevQueryPrintEx(PVOID, PVOID, PDEVMODEW, PVOID) { return E_NOTIMPL; }

HRESULT OemUiPlugin::DeviceCapabilities(PVOID, HANDLE, PWSTR deviceName, WORD capability, PVOID output,
                                        PDEVMODEW, PVOID, DWORD, DWORD* result) {
  static_assert(sizeof(DWORD) == sizeof(uint32_t), "capability result width");
  return AnswerDeviceCapabilities(ModulePapers(), reinterpret_cast<const char16_t*>(deviceName), capability,
                                  output, reinterpret_cast<uint32_t*>(result));
}

HRESULT OemUiPlugin::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }

HRESULT OemUiPlugin::PrinterEvent(PWSTR printerName, INT event, DWORD, LPARAM) {
  // The core driver always does its own handling of the event as well.
  PaperPrinterEvent(ModulePapers(), U(printerName), event);
  return E_NOTIMPL;
}

HRESULT OemUiPlugin::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }

HRESULT OemUiPlugin::QueryColorProfile(HANDLE, PVOID, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*, FLONG*) {
  return E_NOTIMPL;
}

HRESULT OemUiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) { return E_NOTIMPL; }

HRESULT OemUiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) { return E_NOTIMPL; }

HRESULT OemUiPlugin::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) { return E_NOTIMPL; }

HRESULT OemUiPlugin::HideStandardUI(DWORD mode) { return AnswerHideStandardUI(mode); }

HRESULT OemUiPlugin::DocumentEvent(HANDLE, HDC, INT event, ULONG, PVOID, ULONG cbOut, PVOID out,
                                   PINT result) {
  return AnswerDocumentEvent(event, cbOut, out, result);
}

}  // namespace lx
