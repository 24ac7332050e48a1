// What the plug-in object answers, apart from COM itself: GetInfo, DevMode,
// HideStandardUI, the property-sheet reasons and DocumentEvent. The Windows
// object forwards to these and sets the thread's last error they name.
#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "plugin/core/paper_lookup.h"
#include "plugin/oem/oem_types.h"

namespace lx {

struct FrameResult {
  HRESULT hr = S_OK;
  DWORD lastError = 0;  // 0: leave the last error alone
};

FrameResult AnswerGetInfo(DWORD mode, PVOID buffer, DWORD size, DWORD* needed);

// How many bytes of the private input can be read: bounded by the input
// DEVMODE (public part, dmSize + dmDriverExtra) when the private part lies
// inside it, else the record's own size.
size_t PrivateInputAvailable(const DEVMODEW* publicIn, const void* privateIn);

FrameResult AnswerDevMode(DWORD mode, OEMDMPARAM* param, IPaperLookup* papers);

HRESULT AnswerHideStandardUI(DWORD mode);

// The pages of reason INIT. `setResult` false: an addition failed and the
// method answers S_OK without a result.
struct PageAddOutcome {
  HRESULT hr = S_OK;
  bool setResult = true;
  LONG_PTR result = 0;
};
using AddPages = std::function<PageAddOutcome(PROPSHEETUI_INFO& info)>;

// The title the core driver shows for the plug-in's sheet.
extern const WCHAR kSheetTitle[10];

// Page titles are loaded into a buffer of 32 characters, terminator
// included: a longer translation shows its first 31, as LoadStringW cuts it.
inline constexpr size_t kPageTitleChars = 32;
std::u16string PageTitle(const std::u16string& loaded);

FrameResult AnswerPropertySheets(PROPSHEETUI_INFO* info, LPARAM lParam, const AddPages& addPages);

// The document events the plug-in asks the spooler for.
inline constexpr DWORD kDocEventFilter[] = {7, 3, 4, 5, 5, 6, 7, 8};

HRESULT AnswerDocumentEvent(int event, ULONG cbOut, PVOID out, int* result);

}  // namespace lx
