// The wizard sheet's window: its page list as the window system holds it,
// its own buttons, and the message queue the workers post to. The page list
// logic lives in the portable sheet; this only shows what it is told.
#pragma once

#include <cstdint>
#include <string>

#include "ui/dialog_view.h"
#include "ui/property_page.h"

namespace lx {

// The sheet's own controls (ids in its frame).
constexpr int kIdCancel = 2;
constexpr int kIdHelp = 9;
constexpr int kIdWizBack = 0x3023;
constexpr int kIdWizNext = 0x3024;
constexpr int kIdWizFinish = 0x3025;

// PSM_SETWIZBUTTONS flags.
constexpr uint32_t kPswizbBack = 0x1;
constexpr uint32_t kPswizbNext = 0x2;
constexpr uint32_t kPswizbFinish = 0x4;
constexpr uint32_t kPswizbDisabledFinish = 0x8;

// What the sheet answers to; the binding calls it on the UI thread.
class ISheetEvents {
 public:
  virtual ~ISheetEvents() = default;
  virtual void OnInitDialog() = 0;
  virtual void OnWizardNext() = 0;
  virtual void OnWizardBack() = 0;
  // Cancel, the close box or Esc.
  virtual void OnCancel() = 0;
  virtual void OnSheetMessage(unsigned message, uintptr_t wParam, intptr_t lParam) = 0;
  virtual ControlColors CtlColor(int controlId, ControlKind kind) const = 0;
};

class ISheetView {
 public:
  virtual ~ISheetView() = default;
  virtual void SetCaption(const std::u16string& caption) = 0;
  // PSM_ADDPAGE / PSM_REMOVEPAGE.
  virtual void AddPage(IPropertyPage& page) = 0;
  virtual void RemovePage(IPropertyPage& page) = 0;
  // PSM_SETCURSEL: builds the page's window on its first showing (OnInitDialog),
  // then activates it (OnSetActive).
  virtual void SetCurrentPage(IPropertyPage& page) = 0;
  // PSM_SETWIZBUTTONS.
  virtual void SetWizardButtons(uint32_t flags) = 0;
  // The sheet's own buttons by id (kIdWizBack, kIdWizNext, kIdCancel, kIdHelp).
  virtual IDialogView& Frame() = 0;
  // Topmost and at once not topmost again: brings the window to the front.
  virtual void BringToFront() = 0;
  // The window's handle, for system dialogs it owns (0 before it exists).
  virtual uintptr_t WindowHandle() const = 0;
  // Message box owned by the sheet.
  virtual int ShowMessageBox(const std::u16string& text, const std::u16string& caption,
                         unsigned type) = 0;
  // PostMessageW to the sheet; arrives as ISheetEvents::OnSheetMessage. Safe from any thread.
  virtual void PostSheetMessage(unsigned message) = 0;
  // PeekMessageW with PM_REMOVE over the keyboard and mouse messages (client
  // and non-client) queued for the UI thread: drops what the user did while
  // the thread was busy, which would otherwise reach whatever page is shown
  // once it is free again.
  virtual void DropQueuedInput() = 0;
  // Ends the modal run.
  virtual void EndWizard() = 0;
  // Shows the sheet modally (PropertySheet) and returns when it has closed.
  virtual void RunModal(ISheetEvents& events, IPropertyPage& firstPage) = 0;
};

}  // namespace lx
