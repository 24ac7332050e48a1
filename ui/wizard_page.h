// What a wizard page answers to: the events the binding turns window
// messages into (WM_INITDIALOG, PSN_*, WM_COMMAND, WM_NOTIFY, WM_TIMER,
// WM_CTLCOLOR*, NM_CUSTOMDRAW).
#pragma once

#include <cstdint>

#include "ui/dialog_view.h"

namespace lx {

// Notification and command codes the pages use.
constexpr int kBnClicked = 0;
constexpr int kCbnSelChange = 1;
constexpr int kEnChange = 0x300;
constexpr int kNmClick = -2;
constexpr int kLvnItemChanged = -101;

// Answers of OnWizardNext / OnWizardBack (PSN_WIZNEXT / PSN_WIZBACK).
constexpr intptr_t kMoveDefault = 0;  // go to the neighbouring entry of the page list
constexpr intptr_t kStay = -1;        // no move by the wizard (the page moved itself, or refused)

enum class ControlKind {
  kStatic, kPicture, kButton, kCheckBox, kRadioButton, kEdit, kComboBox, kListView,
  kProgressBar, kTrackbar, kRichEdit, kLink, kOther
};

// How a control is painted; the binding answers WM_CTLCOLOR* with it.
struct ControlColors {
  uint32_t background = 0xFFFFFF;  // COLORREF
  uint32_t text = 0x000000;
  bool transparent = false;  // SetBkMode(TRANSPARENT)
};

class IWizardPage {
 public:
  virtual ~IWizardPage() = default;
  virtual int TemplateId() const = 0;
  // The page's window has been built from its template (first showing).
  virtual void OnInitDialog(IDialogView& view) = 0;
  virtual bool IsBuilt() const = 0;
  virtual void OnSetActive() = 0;
  virtual intptr_t OnWizardNext() { return kStay; }
  virtual intptr_t OnWizardBack() { return kStay; }
  virtual void OnCommand(int controlId, int code) {}
  virtual intptr_t OnNotify(int controlId, int code) { return 0; }
  virtual void OnTimer(unsigned timerId) {}
  virtual void OnMessage(unsigned message, uintptr_t wParam, intptr_t lParam) {}
  // The wizard is being closed (PSN_RESET, sent to every built page).
  virtual void OnReset() {}
  virtual ControlColors CtlColor(int controlId, ControlKind kind) const { return {}; }
  // NM_CUSTOMDRAW at item level: the text background of a list row.
  virtual uint32_t RowBackground(int listId, int row, bool selected) const { return 0xFFFFFF; }
};

}  // namespace lx
