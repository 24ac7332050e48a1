// The wizard sheet on a real Windows property sheet in wizard mode. The
// native sheet only shows the page it is told to: Back and Next are turned
// into ISheetEvents and answered "no move" (-1), Cancel, the close box and
// Esc into OnCancel; the page list and the moves live in the portable sheet.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "ui/sheet_view.h"
#include "ui/win32/win32_dialog.h"
#include "ui/win32/win32_page_host.h"

namespace lx {

class Win32SheetView : public ISheetView {
 public:
  // `resources`: the module holding the page templates and bitmaps.
  explicit Win32SheetView(HINSTANCE resources);
  ~Win32SheetView() override;

  void SetCaption(const std::u16string& caption) override;
  void AddPage(IPropertyPage& page) override;
  void RemovePage(IPropertyPage& page) override;
  void SetCurrentPage(IPropertyPage& page) override;
  void SetWizardButtons(uint32_t flags) override;
  IDialogView& Frame() override { return frame_; }
  void BringToFront() override;
  uintptr_t WindowHandle() const override { return reinterpret_cast<uintptr_t>(window_.load()); }
  int ShowMessageBox(const std::u16string& text, const std::u16string& caption, unsigned type) override;
  void PostSheetMessage(unsigned message) override;
  void DropQueuedInput() override;
  void EndWizard() override;
  void RunModal(ISheetEvents& events, IPropertyPage& firstPage) override;

  HWND window() const { return window_.load(); }
  // The page's window, or null before its first showing.
  HWND PageWindow(const IPropertyPage& page) const;

 private:
  struct PageSlot {
    std::unique_ptr<Win32PageHost> host;
    HPROPSHEETPAGE handle = nullptr;
  };
  PageSlot& SlotOf(IPropertyPage& page);
  HPROPSHEETPAGE CreateHandle(PageSlot& slot);
  void AttachSheet(HWND sheet);
  bool OnSheetNotify(UINT code, LRESULT& result);

  static int CALLBACK SheetCallback(HWND window, UINT message, LPARAM lParam);
  static LRESULT CALLBACK SheetSubclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                        UINT_PTR id, DWORD_PTR data);

  HINSTANCE resources_;
  // Read by workers that post to the sheet.
  std::atomic<HWND> window_{nullptr};
  std::u16string caption_;
  std::vector<IPropertyPage*> pages_;
  std::map<const IPropertyPage*, PageSlot> slots_;
  int startPage_ = 0;
  ISheetEvents* events_ = nullptr;
  Win32DialogView frame_;
  HBRUSH sheetBrush_ = nullptr;
  bool closing_ = false;
};

}  // namespace lx
