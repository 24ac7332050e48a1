#include "plugin/win32/oem_ui_plugin.h"

#include <memory>
#include <new>

#include "platform/profile.h"
#include "platform/spooler.h"
#include "platform/win32/wide.h"
#include "plugin/core/about_info.h"
#include "plugin/core/frame_logic.h"
#include "plugin/core/naming.h"
#include "plugin/core/model_table.h"
#include "plugin/core/option_table.h"
#include "plugin/capabilities/device_capabilities.h"
#include "plugin/pages/about_page.h"
#include "plugin/papers/paper_lookup_adapter.h"
#include "plugin/papers/paper_printer_event.h"
#include "plugin/win32/module_context.h"
#include "plugin/win32/sheet_pages.h"
#include "plugin/win32/win32_page_environment.h"

namespace lx {

namespace {

HRESULT Finish(FrameResult r) {
  if (r.lastError != 0) ::SetLastError(r.lastError);
  return r.hr;
}

PrinterHandle HandleOf(HANDLE printer) { return reinterpret_cast<PrinterHandle>(printer); }

// The printer's name (PRINTER_INFO_2); empty when the handle answers nothing.
std::u16string PrinterNameOf(ISpooler& spooler, HANDLE printer) {
  PrinterInfo2 info;
  if (printer == nullptr || !spooler.GetInfo2(HandleOf(printer), info)) return u"";
  return info.printerName;
}

// The printer's driver name decides the model class each time the document
// pages are built.
void RefineModelClass(ModuleContext& module, HANDLE printer) {
  PrinterInfo2 info;
  if (!module.platform().spooler->GetInfo2(HandleOf(printer), info) || info.driverName.empty()) return;
  std::u16string driver = info.driverName.substr(0, 31);
  module.Trace(driver);
  module.modelClass = ApplyModelTable(driver, module.modelClass);
}

// The printer sheet's About page with the configuration file's About keys
// as they are when the sheet opens.
std::unique_ptr<AboutPage> MakePrinterAboutPage(ModuleContext& module, PROPSHEETUI_INFO& sheet) {
  std::unique_ptr<IPageEnvironment> environment(new (std::nothrow) Win32PageEnvironment(
      module.pageModules(), sheet.pfnComPropSheet, sheet.hComPropSheet));
  if (environment == nullptr) return nullptr;
  const AttachPlan& plan = module.plan();
  AboutInfo info = ReadAboutInfo(*module.platform().profile, plan.configPath, module.uiLanguage());
  std::u16string help = plan.folder + u"\\" + HelpFileName(plan.baseName, module.uiLanguage());
  return std::unique_ptr<AboutPage>(new (std::nothrow) AboutPage(
      std::move(environment), [&module](unsigned id) { return module.ResourceText(id); }, std::move(info),
      module.uiLanguage(), std::move(help)));
}

}  // namespace

OemUiPlugin::OemUiPlugin(ModuleContext& module) : module_(module) {
  ::InterlockedIncrement(&module_.liveObjects);
}

OemUiPlugin::~OemUiPlugin() {
  if (core_ != nullptr) core_->Release();
  ::InterlockedDecrement(&module_.liveObjects);
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
  ISpooler& spooler = *module_.platform().spooler;
  PaperStoreLookup papers(module_.Papers(), [&spooler, printer] { return PrinterNameOf(spooler, printer); });
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
    if (param != nullptr) RefineModelClass(module_, param->hPrinter);
    ReadFeatures(features_, coreFeatures_.get(), module_.Options());
    if (BitmapCache* bitmaps = module_.Bitmaps()) bitmaps->FillForDocumentPages();
    // The document pages add themselves here once they exist; until then the
    // sheet shows none of ours.
    return {S_OK, false, 0};
  };
  return Finish(AnswerPropertySheets(info, lParam, addPages));
}

HRESULT OemUiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  auto addPages = [this](PROPSHEETUI_INFO& sheet) -> PageAddOutcome {
    if (sheet.pfnComPropSheet == nullptr) return {S_OK, false, 0};
    auto page = MakePrinterAboutPage(module_, sheet);
    if (page == nullptr) return {E_OUTOFMEMORY, false, 0};
    LONG_PTR added = AddSheetPage(sheet, std::move(page), module_.resources(),
                                  module_.PageTitleText(AboutPage::kTitleId), module_.activationContext());
    if (added <= 0) return {S_OK, false, 0};
    return {S_OK, true, added};
  };
  return Finish(AnswerPropertySheets(info, lParam, addPages));
}

HRESULT OemUiPlugin::DevQueryPrintEx(PVOID, PVOID, PDEVMODEW, PVOID) { return E_NOTIMPL; }

HRESULT OemUiPlugin::DeviceCapabilities(PVOID, HANDLE, PWSTR deviceName, WORD capability, PVOID output,
                                        PDEVMODEW, PVOID, DWORD, DWORD* result) {
  static_assert(sizeof(DWORD) == sizeof(uint32_t), "capability result width");
  return AnswerDeviceCapabilities(module_.Papers(), reinterpret_cast<const char16_t*>(deviceName), capability,
                                  output, reinterpret_cast<uint32_t*>(result));
}

HRESULT OemUiPlugin::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }

HRESULT OemUiPlugin::PrinterEvent(PWSTR printerName, INT event, DWORD, LPARAM) {
  // The core driver always does its own handling of the event as well.
  PaperPrinterEvent(module_.Papers(), U(printerName), event);
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
