// What the document pages and the About pages need beyond their own window:
// messages, the modal paper dialog, help, the support address, pictures from
// the bitmap module and the sheet's result. One per property sheet; the DLL
// binds it to the real calls, host tests to an in-memory double.
#pragma once

#include <cstdint>
#include <string>

#include "ui/dialog_view.h"
#include "ui/property_page.h"

// windows.h maps MessageBox to MessageBoxW; here it is a method.
#undef MessageBox

namespace lx {

// pfnComPropSheet's answers to CPSFUNC_SET_RESULT.
inline constexpr intptr_t kSheetResultFailed = -1;

class IPageEnvironment {
 public:
  virtual ~IPageEnvironment() = default;
  // MessageBoxW owned by the window of `owner`.
  virtual int MessageBox(IDialogView& owner, const std::u16string& text, const std::u16string& caption,
                         unsigned type) = 0;
  // DialogBoxParamW of dialog.TemplateId() from the resource module, modal over
  // `owner`, driven by `dialog` (its events arrive as for a page); answers what
  // the dialog ended with, -1 when it could not be made.
  virtual intptr_t RunModal(IDialogView& owner, IPropertyPage& dialog) = 0;
  // EndDialog of the modal dialog shown in `view`.
  virtual void EndModal(IDialogView& view, intptr_t result) = 0;
  // HtmlHelpW(GetDesktopWindow(), file, HH_HELP_CONTEXT, context); hhctrl.ocx
  // is loaded on the first call. False when it cannot be loaded.
  virtual bool ShowHelp(const std::u16string& file, unsigned context) = 0;
  // ShellExecuteW with the verb "open".
  virtual bool Open(const std::u16string& target) = 0;
  // Bitmap `number` of the bitmap module drawn stretched over the whole client
  // area of the control (StretchBlt, SRCCOPY), from one memory device context
  // per bitmap number that lives until ReleasePictures. `monochrome`: loaded
  // as a monochrome DIB section (LoadImageW), afresh each time. False when the
  // bitmap does not exist (the control keeps what it showed).
  virtual bool ShowPicture(IDialogView& page, int controlId, int number, bool monochrome) = 0;
  // The page's window is going: its device contexts and bitmaps are released.
  virtual void ReleasePictures(IDialogView& page) = 0;
  // pfnComPropSheet(CPSFUNC_SET_RESULT, no page, result); kSheetResultFailed
  // when the sheet refuses.
  virtual intptr_t SetSheetResult(intptr_t result) = 0;
};

}  // namespace lx
