// The page environment on the real calls, one per property sheet: message
// boxes, the modal paper dialog, HtmlHelpW, ShellExecuteW, the pictures of
// the bitmap module painted into their controls, and the sheet's result
// through pfnComPropSheet.
#pragma once

#include <windows.h>

#include <memory>
#include <utility>
#include <vector>

#include "plugin/oem/oem_com.h"
// The environment's method, not the ANSI/wide switch of windows.h.
#undef MessageBox
#include "plugin/pages/page_environment.h"

namespace lx {

// What an environment takes from the loaded module.
struct PageModules {
  HMODULE resources = nullptr;  // dialog templates
  HMODULE bitmaps = nullptr;    // pictures
  HANDLE activationContext = INVALID_HANDLE_VALUE;
};

class Win32PageEnvironment : public IPageEnvironment {
 public:
  // `sheetFunction` may be null (no sheet result can be given then).
  Win32PageEnvironment(const PageModules& modules, PFNCOMPROPSHEET sheetFunction, HANDLE sheet);
  ~Win32PageEnvironment() override;
  Win32PageEnvironment(const Win32PageEnvironment&) = delete;
  Win32PageEnvironment& operator=(const Win32PageEnvironment&) = delete;

  int MessageBox(IDialogView& owner, const std::u16string& text, const std::u16string& caption,
                 unsigned type) override;
  intptr_t RunModal(IDialogView& owner, IPropertyPage& dialog) override;
  void EndModal(IDialogView& view, intptr_t result) override;
  bool ShowHelp(const std::u16string& file, unsigned context) override;
  bool Open(const std::u16string& target) override;
  bool ShowPicture(IDialogView& page, int controlId, int number, bool monochrome) override;
  void ReleasePictures(IDialogView& page) override;
  intptr_t SetSheetResult(intptr_t result) override;

  // The pictures one page holds now, for tests of the binding.
  size_t PictureCount(IDialogView& page) const;

  struct PagePictures;

 private:
  PageModules modules_;
  PFNCOMPROPSHEET sheetFunction_;
  HANDLE sheet_;
  // By page; a sheet has a handful of pages.
  std::vector<std::pair<IDialogView*, std::unique_ptr<PagePictures>>> pictures_;
  PagePictures* Find(IDialogView& page) const;
};

// The window behind a view of the Win32 binding; null for any other view.
HWND WindowOfView(IDialogView& view);

}  // namespace lx
