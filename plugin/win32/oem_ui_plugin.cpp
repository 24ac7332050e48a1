#include "plugin/win32/oem_ui_plugin.h"

#include <memory>
#include <new>

#include "platform/profile.h"
#include "platform/spooler.h"
#include "platform/win32/wide.h"
#include "plugin/core/about_info.h"
#include "plugin/core/exception_barrier.h"
#include "plugin/core/frame_logic.h"
#include "plugin/core/naming.h"
#include "plugin/capabilities/device_capabilities.h"
#include "plugin/pages/about_page.h"
#include "plugin/pages/document_pages.h"
#include "plugin/papers/paper_lookup_adapter.h"
#include "plugin/papers/paper_printer_event.h"
#include "plugin/win32/module_context.h"
#include "plugin/win32/oem_heap.h"
#include "plugin/win32/sheet_pages.h"
#include "plugin/win32/win32_page_environment.h"

namespace lx {

namespace {

HRESULT Finish(FrameResult r) {
  if (r.lastError != 0) ::SetLastError(r.lastError);
  return r.hr;
}

// A sheet whose language or bitmap module did not load shows no pages.
const HRESULT kModulesMissing = HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);

PrinterHandle HandleOf(HANDLE printer) { return reinterpret_cast<PrinterHandle>(printer); }

// The printer's name (PRINTER_INFO_2); empty when the handle answers nothing.
std::u16string PrinterNameOf(ISpooler& spooler, HANDLE printer) {
  PrinterInfo2 info;
  if (printer == nullptr || !spooler.GetInfo2(HandleOf(printer), info)) return u"";
  return info.printerName;
}

// What the document pages need of the loaded module.
PageModule PageModuleOf(ModuleContext& module) {
  PageModule facts;
  facts.platform = &module.platform();
  facts.papers = &module.Papers();
  facts.options = &module.Options();
  facts.text = [&module](unsigned id) { return module.ResourceText(id); };
  facts.unitText = module.unitText();
  facts.driverDirectory = module.platform().host->PrinterDriverDirectory().value_or(u"");
  facts.helpFileName = HelpFileName(module.plan().baseName, module.uiLanguage());
  facts.configPath = module.plan().configPath;
  facts.uiLanguage = module.uiLanguage();
  facts.configModelClass = module.plan().modelClass;
  return facts;
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
  if (IsEqualIID(iid, __uuidof(IUnknown)) || IsEqualIID(iid, IID_IPrintOemUI2)) {
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

// Methods that only return a constant need no barrier: nothing in them throws.

HRESULT OemUiPlugin::GetInfo(DWORD mode, PVOID buffer, DWORD size, PDWORD needed) {
  return Barrier(module_.platform(), u"GetInfo", [&] { return Finish(AnswerGetInfo(mode, buffer, size, needed)); });
}

HRESULT OemUiPlugin::DevMode(DWORD mode, POEMDMPARAM param) {
  return Barrier(module_.platform(), u"DevMode", [&] { return AnswerDevModeOfModule(mode, param); });
}

HRESULT OemUiPlugin::AnswerDevModeOfModule(DWORD mode, POEMDMPARAM param) {
  HANDLE printer = param != nullptr ? param->hPrinter : nullptr;
  // The printer's paper store; its name is read only when the merge first
  // looks a paper up.
  ISpooler& spooler = *module_.platform().spooler;
  PaperStoreLookup papers(module_.Papers(), [&spooler, printer] { return PrinterNameOf(spooler, printer); });
  return Finish(AnswerDevMode(mode, param, &papers));
}

HRESULT OemUiPlugin::PublishDriverInterface(IUnknown* core) {
  return Barrier(module_.platform(), u"PublishDriverInterface", [&] { return KeepCoreInterface(core); });
}

HRESULT OemUiPlugin::KeepCoreInterface(IUnknown* core) {
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
  return Barrier(module_.platform(), u"DocumentPropertySheets", [&] { return AddDocumentPages(info, lParam); });
}

HRESULT OemUiPlugin::AddDocumentPages(PPROPSHEETUI_INFO info, LPARAM lParam) {
  auto addPages = [this](PROPSHEETUI_INFO& sheet) -> PageAddOutcome {
    if (!module_.LoadModules()) return {kModulesMissing, false, 0};
    auto* param = reinterpret_cast<OEMUIPSPARAM*>(sheet.lParamInit);
    if (core_ == nullptr || coreFeatures_ == nullptr || param == nullptr || param->pOEMDM == nullptr ||
        param->pPublicDM == nullptr) {
      return {S_OK, false, 0};
    }
    // One environment per sheet; each page keeps it until the sheet lets go.
    std::shared_ptr<Win32PageEnvironment> environment(new (std::nothrow) Win32PageEnvironment(
        module_.pageModules(), sheet.pfnComPropSheet, sheet.hComPropSheet));
    if (environment == nullptr) return {E_OUTOFMEMORY, false, 0};
    DocumentSheetInput input;
    input.printer = HandleOf(param->hPrinter);
    input.publicDm = param->pPublicDM;
    input.live = static_cast<PrivateDevmode*>(param->pOEMDM);
    input.features = &features_;
    input.core = coreFeatures_.get();
    input.env = environment.get();
    input.module = PageModuleOf(module_);
    input.heap = OemHeap(param->hOEMHeap);
    DocumentPagesResult result =
        BuildDocumentPages(input, [&](std::unique_ptr<IPropertyPage> page, unsigned titleId) -> intptr_t {
          return AddSheetPage(sheet, std::move(page), module_.resources(), module_.PageTitleText(titleId),
                              module_.activationContext(), PSP_HASHELP, environment);
        });
    if (FAILED(result.hr)) return {result.hr, false, 0};
    return {S_OK, result.allAdded && result.added > 0, result.lastResult};
  };
  return Finish(AnswerPropertySheets(info, lParam, addPages));
}

HRESULT OemUiPlugin::DevicePropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  return Barrier(module_.platform(), u"DevicePropertySheets", [&] { return AddPrinterPages(info, lParam); });
}

HRESULT OemUiPlugin::AddPrinterPages(PPROPSHEETUI_INFO info, LPARAM lParam) {
  auto addPages = [this](PROPSHEETUI_INFO& sheet) -> PageAddOutcome {
    if (sheet.pfnComPropSheet == nullptr) return {S_OK, false, 0};
    if (!module_.LoadModules()) return {kModulesMissing, false, 0};
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
  return Barrier(module_.platform(), u"DeviceCapabilities", [&] {
    return AnswerDeviceCapabilities(module_.Papers(), reinterpret_cast<const char16_t*>(deviceName), capability,
                                    output, reinterpret_cast<uint32_t*>(result));
  });
}

HRESULT OemUiPlugin::UpgradePrinter(DWORD, PBYTE) { return E_NOTIMPL; }

HRESULT OemUiPlugin::PrinterEvent(PWSTR printerName, INT event, DWORD, LPARAM) {
  // The core driver always does its own handling of the event as well.
  return Barrier(module_.platform(), u"PrinterEvent", [&] {
    PaperPrinterEvent(module_.Papers(), U(printerName), event);
    return E_NOTIMPL;
  });
}

HRESULT OemUiPlugin::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }

HRESULT OemUiPlugin::QueryColorProfile(HANDLE, PVOID, PDEVMODEW, PVOID, ULONG, VOID*, ULONG*, FLONG*) {
  return E_NOTIMPL;
}

HRESULT OemUiPlugin::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) { return E_NOTIMPL; }

HRESULT OemUiPlugin::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) { return E_NOTIMPL; }

HRESULT OemUiPlugin::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) { return E_NOTIMPL; }

HRESULT OemUiPlugin::HideStandardUI(DWORD mode) {
  return Barrier(module_.platform(), u"HideStandardUI", [&] { return AnswerHideStandardUI(mode); });
}

HRESULT OemUiPlugin::DocumentEvent(HANDLE, HDC, INT event, ULONG, PVOID, ULONG cbOut, PVOID out,
                                   PINT result) {
  return Barrier(module_.platform(), u"DocumentEvent", [&] { return AnswerDocumentEvent(event, cbOut, out, result); });
}

}  // namespace lx
