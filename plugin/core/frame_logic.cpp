#include "plugin/core/frame_logic.h"

#include <cstdint>
#include <cstring>

#include "plugin/core/merge.h"
#include "plugin/core/private_devmode.h"

namespace lx {

const WCHAR kSheetTitle[10] = {'K', 'V', 'U', 'I', ' ', 'P', 'a', 'g', 'e', 0};

std::u16string PageTitle(const std::u16string& loaded) { return loaded.substr(0, kPageTitleChars - 1); }

FrameResult AnswerGetInfo(DWORD mode, PVOID buffer, DWORD size, DWORD* needed) {
  if (needed == nullptr || (mode != OEMGI_GETSIGNATURE && mode != OEMGI_GETVERSION &&
                            mode != OEMGI_GETREQUESTEDHELPERINTERFACES)) {
    return {E_FAIL, ERROR_INVALID_PARAMETER};
  }
  *needed = sizeof(DWORD);
  if (buffer == nullptr || size < sizeof(DWORD)) return {E_FAIL, ERROR_INSUFFICIENT_BUFFER};
  DWORD value = 0;
  switch (mode) {
    case OEMGI_GETSIGNATURE: value = kPluginSignature; break;
    case OEMGI_GETVERSION: value = kPrivateDevmodeVersion; break;
    default: value = OEMPUBLISH_IPRINTCOREHELPER; break;
  }
  std::memcpy(buffer, &value, sizeof value);
  return {S_OK, 0};
}

size_t PrivateInputAvailable(const DEVMODEW* publicIn, const void* privateIn) {
  if (privateIn == nullptr) return 0;
  if (publicIn != nullptr) {
    const auto begin = reinterpret_cast<uintptr_t>(publicIn);
    const auto end = begin + publicIn->dmSize + publicIn->dmDriverExtra;
    const auto at = reinterpret_cast<uintptr_t>(privateIn);
    if (at >= begin && at < end) return end - at;
    if (at == end) return 0;
  }
  return kPrivateDevmodeSize;
}

FrameResult AnswerDevMode(DWORD mode, OEMDMPARAM* param, IPaperLookup* papers) {
  if (param == nullptr || mode < OEMDM_SIZE || mode > OEMDM_MERGE) {
    return {E_FAIL, ERROR_INVALID_PARAMETER};
  }
  switch (mode) {
    case OEMDM_SIZE:
      param->cbBufSize = kPrivateDevmodeSize;
      break;
    case OEMDM_DEFAULT: {
      if (param->pOEMDMOut == nullptr) return {E_FAIL, ERROR_INVALID_PARAMETER};
      DefaultPrivateDevmode(*static_cast<PrivateDevmode*>(param->pOEMDMOut));
      if (DEVMODEW* pub = param->pPublicDMOut) {
        pub->dmFields |= DM_ORIENTATION;
        pub->dmOrientation = DMORIENT_PORTRAIT;
        pub->dmSize = sizeof(DEVMODEW);
        pub->dmDriverExtra = kPrivateDevmodeSize;
      }
      break;
    }
    case OEMDM_CONVERT:
      if (param->pOEMDMOut == nullptr) return {E_FAIL, ERROR_INVALID_PARAMETER};
      ConvertPrivateDevmode(param->pOEMDMIn,
                            PrivateInputAvailable(param->pPublicDMIn, param->pOEMDMIn),
                            *static_cast<PrivateDevmode*>(param->pOEMDMOut));
      break;
    case OEMDM_MERGE:
      MergeDevmode(param->pPublicDMIn, param->pPublicDMOut, param->pOEMDMIn,
                   PrivateInputAvailable(param->pPublicDMIn, param->pOEMDMIn),
                   static_cast<PrivateDevmode*>(param->pOEMDMOut), papers);
      break;
  }
  return {S_OK, 0};
}

HRESULT AnswerHideStandardUI(DWORD mode) {
  return (mode == OEMCUIP_DOCPROP || mode == OEMCUIP_PRNPROP) ? S_OK : E_NOTIMPL;
}

FrameResult AnswerPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam, const AddPages& addPages) {
  if (info == nullptr || info->Version != PROPSHEETUI_INFO_VERSION) {
    return {E_FAIL, ERROR_INVALID_PARAMETER};
  }
  switch (info->Reason) {
    case PROPSHEETUI_REASON_INIT: {
      PageAddOutcome outcome = addPages ? addPages(*info) : PageAddOutcome{};
      if (FAILED(outcome.hr)) return {outcome.hr, 0};
      if (outcome.setResult) info->Result = static_cast<ULONG_PTR>(outcome.result);
      break;
    }
    case PROPSHEETUI_REASON_GET_INFO_HEADER: {
      auto* header = reinterpret_cast<PROPSHEETUI_INFO_HEADER*>(lParam);
      if (header != nullptr) header->pTitle = const_cast<WCHAR*>(kSheetTitle);
      info->Result = 1;
      break;
    }
    case PROPSHEETUI_REASON_SET_RESULT: {
      auto* set = reinterpret_cast<SETRESULT_INFO*>(lParam);
      if (set != nullptr) info->Result = static_cast<ULONG_PTR>(set->Result);
      break;
    }
    case PROPSHEETUI_REASON_GET_ICON:  // reason 4: the sheet gets no icon of ours
      info->Result = 0;
      break;
    default:  // DESTROY and reasons this plug-in does not know
      info->Result = 1;
      break;
  }
  return {S_OK, 0};
}

HRESULT AnswerDocumentEvent(int event, ULONG cbOut, PVOID out, int* result) {
  if (result != nullptr) *result = DOCUMENTEVENT_SUCCESS;
  if (event == DOCUMENTEVENT_QUERYFILTER && out != nullptr &&
      cbOut >= offsetof(DOCEVENT_FILTER, aDocEventCall)) {
    auto* filter = static_cast<DOCEVENT_FILTER*>(out);
    // Only as many calls as the spooler allocated and the buffer holds.
    size_t room = (cbOut - offsetof(DOCEVENT_FILTER, aDocEventCall)) / sizeof(DWORD);
    if (room > filter->cElementsAllocated) room = filter->cElementsAllocated;
    const size_t count = sizeof kDocEventFilter / sizeof kDocEventFilter[0];
    for (size_t i = 0; i < count && i < room; ++i) filter->aDocEventCall[i] = kDocEventFilter[i];
  }
  switch (event) {
    case 1: case 5: case 6: case 7: case 13: case 14:
      return S_FALSE;
    default:
      return S_OK;
  }
}

}  // namespace lx
